"""Recording a macro, as a user would, on the virtual mouse.

Starts skarn-config under Xvfb with an accessibility bus, opens the macro
editor, makes a new macro, starts recording, types "a" with xdotool (the
program watches the whole display through XInput 2), stops the recording with
a click, and expects the macro's file to hold exactly the two steps: the press
and the release of A (the stopping click is not recorded). A screenshot of the
editor goes to the artefact folder. The run ends with Quit from the tray menu
and expects exit code 0.

    e2e_macro.py SKARN_CONFIG ARTEFACT_FOLDER

Exit codes: 0 passed, 1 failed, 77 skipped (a tool or pyatspi is missing).
"""

import configparser
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import skarn_e2e as e2e  # noqa: E402  pylint: disable=wrong-import-position


def macro_file(program, name):
    """The macro's file in the program's data folder, beside its executable."""
    return os.path.join(os.path.dirname(program.executable), "modules", "macro", name + ".bin")


def stored_steps(path):
    """The action strings of a macro file, in order; None while it is missing
    or does not read as a whole. The settings write a text with a comma in
    quotes."""
    parser = configparser.ConfigParser(interpolation=None)
    try:
        with open(path, encoding="utf-8") as f:
            parser.read_file(f)
        total = int(parser.get("config", "total"))
        values = [parser.get("macro", str(i)) for i in range(total)]
        return [v[1:-1] if len(v) >= 2 and v[0] == v[-1] == '"' else v for v in values]
    except (OSError, configparser.Error, ValueError):
        return None


def scenario(desktop, executable, folder, artefacts):
    with e2e.Program(desktop, executable, folder) as program:
        program.wait_for("Save", e2e.roles("PUSH_BUTTON"), timeout=30, pick=e2e.lowest)
        program.press("Macro Editor", e2e.roles("PUSH_BUTTON"))
        program.press("New", e2e.roles("PUSH_BUTTON"))
        program.wait_for("Macro_0", e2e.roles("LIST_ITEM"))
        path = macro_file(program, "Macro_0")
        if stored_steps(path) != []:
            raise e2e.Failure("the new macro's file %s holds %r, not an empty macro" % (path, stored_steps(path)))

        program.press("Start Record", e2e.roles("PUSH_BUTTON"))
        stop = program.wait_for("Stop Record", e2e.roles("PUSH_BUTTON"))
        result = desktop.run(["xdotool", "key", "a"])
        if result.returncode != 0:
            raise e2e.Failure("xdotool could not type: " + result.stderr.decode(errors="replace"))
        # Both steps show before the recording is stopped.
        program.wait_for("2 Key release A", e2e.roles("LIST_ITEM"))
        desktop.screenshot(os.path.join(artefacts, "macro-editor.png"), program.window_box())
        program.click(stop)
        program.wait_for("Start Record", e2e.roles("PUSH_BUTTON"))

        steps = e2e.wait_until(lambda: stored_steps(path) == ["1,A", "2,A"], 10)
        if not steps:
            raise e2e.Failure("the macro's file %s holds %r, not the press and release of A" %
                              (path, stored_steps(path)))
        program.quit()


def run_all(desktop, executable, artefacts):
    scenario(desktop, executable, e2e.scratch_folder(artefacts, "run"), artefacts)


if __name__ == "__main__":
    sys.exit(e2e.run(sys.argv, __doc__, run_all))
