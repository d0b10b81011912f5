"""The main window, used as a user would, on the virtual mouse.

Starts skarn-config under Xvfb with an accessibility bus, waits for the frame,
chooses 125 Hz in the report-rate list and expects the report-rate command
with rate code 8 on the wire, then resets the profile to the factory values
(Reset, OK) and expects the commands to end by setting the current DPI stage
to 3. Screenshots of the frame at scale 1 and 2 go to the artefact folder.
Each run ends with Quit from the tray menu and expects exit code 0; the data
files then hold every value as text.

    e2e_shell.py SKARN_CONFIG ARTEFACT_FOLDER

Exit codes: 0 passed, 1 failed, 77 skipped (a tool or pyatspi is missing).
"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import skarn_e2e as e2e  # noqa: E402  pylint: disable=wrong-import-position

# Command set 553 (the shipped mouse): 01H sets the report rate, 0BH the
# current DPI stage, 04H a gun slot; 83H reads the keyboard option.
SET_REPORT_RATE = 0x01
SET_CURRENT_DPI = 0x0B
SET_GUN_DATA = 0x04
GET_KEYBOARD_OPTION = 0x83

RATE_ENTRIES = ("125Hz", "250Hz", "500Hz", "1000Hz")


def wait_for_frames(program, what, frames_match, timeout=15):
    """Waits until frames_match(frames sent so far) holds; fails with the trace's end."""
    if not e2e.wait_until(lambda: frames_match(program.trace.sent_frames()), timeout, 0.1):
        raise e2e.Failure("the trace shows no %s within %d s; it ends:\n%s" % (what, timeout, program.trace.tail()))


def command_of(frame):
    """The command byte of a frame as the trace shows it (after the report id)."""
    return int(frame.split()[1], 16)


def wait_for_quiet_trace(program, quiet=1.5, timeout=30):
    """Waits until the program has sent nothing for quiet seconds."""
    seen = {"count": -1, "since": 0.0}

    def quiet_long_enough():
        count, now = len(program.trace.sent_frames()), time.monotonic()
        if count != seen["count"]:
            seen.update(count=count, since=now)
        return now - seen["since"] >= quiet

    if not e2e.wait_until(quiet_long_enough, timeout, 0.1):
        raise e2e.Failure("the program kept sending for %d s; the trace ends:\n%s" % (timeout, program.trace.tail()))


def wait_for_frame_shown(program):
    # The bottom bar shows once the start-up shield is gone.
    program.wait_for("Save", e2e.roles("PUSH_BUTTON"), timeout=30, pick=e2e.lowest)


def choose_report_rate(program, entry):
    program.click(program.wait_for(RATE_ENTRIES, e2e.roles("COMBO_BOX")))
    program.press(entry, e2e.roles("LIST_ITEM", "MENU_ITEM"))
    # The closed field shows the choice.
    program.wait_for(entry, e2e.roles("COMBO_BOX"))


def screenshot(desktop, program, path, size):
    """Keeps a screenshot of the frame; fails unless it has the window's size
    on the screen and shows a picture rather than one or two flat colours."""
    image = desktop.screenshot(path, program.window_box())
    print("screenshot:", image.path)
    if (image.width, image.height) != size or image.colours() < 8:
        raise e2e.Failure("the screenshot %s is %dx%d with %d colours; expected %dx%d with a picture" %
                          (image.path, image.width, image.height, image.colours(), size[0], size[1]))


def scenario(desktop, executable, folder, artefacts):
    with e2e.Program(desktop, executable, folder) as program:
        wait_for_frame_shown(program)
        screenshot(desktop, program, os.path.join(artefacts, "frame-scale1.png"), (1024, 640))

        before = len(program.trace.sent_frames())
        choose_report_rate(program, "125Hz")
        rate = e2e.frame(SET_REPORT_RATE, 8)
        wait_for_frames(program, "report-rate command with code 8 (%s)" % rate,
                        lambda frames: rate in frames[before:])

        # The factory reset sends the profile's values and then sets DPI
        # stage 3; the gun page's reset still sends the gun slots after it
        # (each after reading the keyboard option).
        before = len(program.trace.sent_frames())
        # The bottom bar's Reset, not a page's image button of that name.
        program.press("Reset", e2e.roles("PUSH_BUTTON"), pick=e2e.lowest)
        program.press("OK", e2e.roles("PUSH_BUTTON"))
        stage3 = e2e.frame(SET_CURRENT_DPI, 3)

        def reset_done(frames):
            frames = frames[before:]
            dpi = [i for i, f in enumerate(frames) if command_of(f) == SET_CURRENT_DPI]
            return dpi and frames[dpi[-1]] == stage3 and \
                all(command_of(f) in (SET_GUN_DATA, GET_KEYBOARD_OPTION) for f in frames[dpi[-1] + 1:])

        wait_for_frames(program, "reset ending with the current-DPI command for stage 3 (%s)" % stage3, reset_done, 30)
        wait_for_quiet_trace(program)
        if not reset_done(program.trace.sent_frames()):
            raise e2e.Failure("after the reset's current-DPI command for stage 3 came more than the gun slots:\n" +
                              program.trace.tail())
        print("trace:", program.trace.path)
        program.quit()
        unreadable = program.values_in_binary_form()
        if unreadable:
            raise e2e.Failure("the data files hold values the settings could not write as text:\n" +
                              "\n".join(unreadable))


def scaled_screenshot(desktop, executable, folder, artefacts):
    with e2e.Program(desktop, executable, folder, {"QT_SCALE_FACTOR": "2"}) as program:
        wait_for_frame_shown(program)
        screenshot(desktop, program, os.path.join(artefacts, "frame-scale2.png"), (2048, 1280))
        program.quit()


def run_all(desktop, executable, artefacts):
    scenario(desktop, executable, e2e.scratch_folder(artefacts, "scale1"), artefacts)
    scaled_screenshot(desktop, executable, e2e.scratch_folder(artefacts, "scale2"), artefacts)


if __name__ == "__main__":
    sys.exit(e2e.run(sys.argv, __doc__, run_all))
