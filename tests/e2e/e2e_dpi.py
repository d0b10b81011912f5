"""The DPI panel, used as a user would, on the virtual mouse.

Starts skarn-config under Xvfb with an accessibility bus, chooses 2 stages,
clicks the knob of "DPI stage 2" (1000) and moves it with the keys Page Up,
Up, Up (1600), presses Save, quits from the tray menu and expects the last
DPI command (553: 11H, stage count 2) to carry the codes of the values the
profile holds (sensor 3360: DPI / 100 - 1; stages past the count 0x80). A
screenshot goes to the artefact folder.

    e2e_dpi.py SKARN_CONFIG ARTEFACT_FOLDER

Exit codes: 0 passed, 1 failed, 77 skipped (a tool or pyatspi is missing).
"""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import skarn_e2e as e2e  # noqa: E402  pylint: disable=wrong-import-position

SET_DPI = 0x11
STAGE_COUNT = 2
EXPECTED_VALUES = [500, 1600, 1500, 2000, 3000, 4000, 5000, 6000]
# A knob (12 pixels) at position p sits p pixels above its slider's bottom
# end; 1000 on 200..6000 is position 25.
KNOB, STAGE2_POSITION = 12, 25


def sent_dpi_tables(trace):
    """(stage count, eight codes) of each DPI command the trace holds, oldest
    first: the count is the command's first argument, the codes its payload."""
    return [(frame[2], codes) for frame, codes in trace.writes_after(lambda d: len(d) > 2 and d[1] == SET_DPI, 8)]


def stored_stages(program):
    """The profile's currentDpiCount and dpiValueArray as the program left them."""
    path = os.path.join(os.path.dirname(program.executable), "modules", "setting", "p1.bin")
    with open(path, encoding="utf-8", errors="replace") as f:
        text = f.read()
    count = re.search(r"^currentDpiCount=(.*)$", text, re.M)
    values = re.search(r"^dpiValueArray=(.*)$", text, re.M)
    if not count or not values:
        raise e2e.Failure("p1.bin holds no currentDpiCount or dpiValueArray:\n" + text)
    return int(count.group(1)), [int(v) for v in values.group(1).split(",")]


def codes_3360(values, count):
    return [v // 100 - 1 if i < count else 0x80 for i, v in enumerate(values)]


def focus_window(desktop, program):
    """Gives the program's window the keyboard (there is no window manager)."""
    ids = desktop.run(["xdotool", "search", "--onlyvisible", "--pid", str(program.process.pid)]).stdout.split()
    for window in ids:
        desktop.run(["xdotool", "windowfocus", "--sync", window.decode()])


def press_keys(desktop, *keys):
    result = desktop.run(["xdotool", "key", "--delay", "100"] + list(keys))
    if result.returncode != 0:
        raise e2e.Failure("xdotool could not press keys: " + result.stderr.decode(errors="replace"))


def scenario(desktop, executable, folder, artefacts):
    with e2e.Program(desktop, executable, folder) as program:
        save = program.wait_for("Save", e2e.roles("PUSH_BUTTON"), timeout=30, pick=e2e.lowest)
        before = len(sent_dpi_tables(program.trace))

        program.press("4", e2e.roles("COMBO_BOX"))
        program.press(str(STAGE_COUNT), e2e.roles("LIST_ITEM"))
        program.wait_for(str(STAGE_COUNT), e2e.roles("COMBO_BOX"))

        x, y, w, h = e2e.extents(program.wait_for("DPI stage 2", e2e.roles("SLIDER")))
        focus_window(desktop, program)
        # A click on the knob itself takes the focus without moving it.
        desktop.click(x + w // 2, y + h - STAGE2_POSITION - KNOB // 2)
        press_keys(desktop, "Page_Up", "Up", "Up")
        field = program.wait_for("DPI stage 2 value", e2e.roles("ENTRY", "TEXT"))
        if not e2e.wait_until(lambda: field.queryText().getText(0, -1) == str(EXPECTED_VALUES[1]), 10):
            raise e2e.Failure("stage 2 shows %r after the keys, not %d" %
                              (field.queryText().getText(0, -1), EXPECTED_VALUES[1]))
        desktop.screenshot(os.path.join(artefacts, "dpi-panel.png"), program.window_box())
        program.click(save)

        if not e2e.wait_until(lambda: len(sent_dpi_tables(program.trace)) > before, 15):
            raise e2e.Failure("no DPI command after Save:\n" + program.trace.tail())
        program.quit()

        count, values = stored_stages(program)
        if (count, values) != (STAGE_COUNT, EXPECTED_VALUES):
            raise e2e.Failure("the profile holds %d stages %s, not %d %s" %
                              (count, values, STAGE_COUNT, EXPECTED_VALUES))
        sent = sent_dpi_tables(program.trace)[-1]
        if sent != (count, codes_3360(values, count)):
            raise e2e.Failure("the DPI command carries %s, not the stored values' codes %s" %
                              (sent, (count, codes_3360(values, count))))
        print("trace:", program.trace.path)


def run_all(desktop, executable, artefacts):
    scenario(desktop, executable, e2e.scratch_folder(artefacts, "run"), artefacts)


if __name__ == "__main__":
    sys.exit(e2e.run(sys.argv, __doc__, run_all))
