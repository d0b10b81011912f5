"""The window's close button, and the start in the tray, on a desktop with a
notification area and on one without (GNOME without an extension).

With a tray host: Close hides the window and the program keeps running
until Quit in the tray menu (exit code 0); a start with --hidden shows no
window, and Quit still ends it. Without one (--no-tray): a start with
--hidden shows the window all the same, and Close ends the program with exit
code 0, as Quit would.

    e2e_close.py [--no-tray] SKARN_CONFIG ARTEFACT_FOLDER

Exit codes: 0 passed, 1 failed, 77 skipped (a tool or pyatspi is missing).
"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import skarn_e2e as e2e  # noqa: E402  pylint: disable=wrong-import-position


def highest(accessibles):
    """The one placed highest on the screen: the top bar's Close rather than
    a page's."""
    return min(accessibles, key=lambda acc: e2e.extents(acc)[1])


def visible_windows(desktop, program):
    ids = desktop.run(["xdotool", "search", "--onlyvisible", "--pid", str(program.process.pid)])
    return ids.stdout.decode().split()


def wait_for_frame(program):
    # The bottom bar shows once the start-up shield is gone.
    program.wait_for("Save", e2e.roles("PUSH_BUTTON"), timeout=30, pick=e2e.lowest)


def close(program):
    program.press("Close", e2e.roles("PUSH_BUTTON"), pick=highest)


def with_tray(desktop, executable, artefacts):
    with e2e.Program(desktop, executable, e2e.scratch_folder(artefacts, "close")) as program:
        wait_for_frame(program)
        close(program)
        if not e2e.wait_until(lambda: not visible_windows(desktop, program), 10):
            raise e2e.Failure("the window is still shown after Close:\n" + program.output())
        # Hidden, not ended.
        time.sleep(1)
        if program.process.poll() is not None:
            raise e2e.Failure("Close ended the program although a tray host runs:\n" + program.output())
        program.quit()

    with e2e.Program(desktop, executable, e2e.scratch_folder(artefacts, "hidden"), arguments=["--hidden"]) as program:
        if not e2e.wait_until(lambda: "started hidden in the tray" in program.output(), 30):
            raise e2e.Failure("the program did not start hidden:\n" + program.output())
        # The first device check has run by the time the loop turns; no
        # window has been shown meanwhile.
        time.sleep(2)
        if visible_windows(desktop, program):
            raise e2e.Failure("a start with --hidden shows a window:\n" + program.output())
        program.quit()


def without_tray(desktop, executable, artefacts):
    with e2e.Program(desktop, executable, e2e.scratch_folder(artefacts, "close"), arguments=["--hidden"]) as program:
        # Without a tray a hidden start could not be reached: shown anyway.
        wait_for_frame(program)
        close(program)
        try:
            code = program.process.wait(15)
        except Exception as error:  # pylint: disable=broad-except
            raise e2e.Failure("Close did not end the program without a tray:\n" + program.output()) from error
        if code != 0:
            raise e2e.Failure("Close ended the program with %d:\n%s" % (code, program.output()))


if __name__ == "__main__":
    arguments = [a for a in sys.argv if a != "--no-tray"]
    tray = len(arguments) == len(sys.argv)
    sys.exit(e2e.run(arguments, __doc__, with_tray if tray else without_tray, tray=tray))
