"""Assigning a function to a button, as a user would, on the virtual mouse.

Starts skarn-config under Xvfb with an accessibility bus, clicks mark 2 on the
mouse picture ("Button 2"), chooses "Middle Key" in the assignment dialog,
closes it, presses Save and expects the trace to hold key matrix 1 with
button 2 (entry 1) as a middle click: device bytes 01 00 f2 00. A screenshot
of the dialog goes to the artefact folder. The run ends with Quit from the
tray menu and expects exit code 0.

    e2e_assign.py SKARN_CONFIG ARTEFACT_FOLDER

Exit codes: 0 passed, 1 failed, 77 skipped (a tool or pyatspi is missing, or
the dialog offers no "Middle Key" yet).
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import skarn_e2e as e2e  # noqa: E402  pylint: disable=wrong-import-position

# The key matrix command of each command set: 553 12H, 560 0DH; the first
# argument is the matrix number. The 64 bytes follow as data writes.
SET_KEY_MATRIX = (0x12, 0x0D)
MIDDLE_CLICK = [0x01, 0x00, 0xF2, 0x00]



def sent_matrices(trace):
    """The key matrix 1 blocks the trace holds, oldest first."""
    return [body for _, body in trace.writes_after(lambda d: len(d) > 2 and d[1] in SET_KEY_MATRIX and d[2] == 1, 64)]


def scenario(desktop, executable, folder, artefacts):
    with e2e.Program(desktop, executable, folder) as program:
        save = program.wait_for("Save", e2e.roles("PUSH_BUTTON"), timeout=30, pick=e2e.lowest)
        before = len(sent_matrices(program.trace))
        program.press("Button 2", e2e.roles("PUSH_BUTTON"))
        try:
            middle = program.wait_for("Middle Key", e2e.roles("RADIO_BUTTON"), timeout=10)
        except e2e.Failure as failure:
            raise e2e.Skipped("the assignment dialog offers no \"Middle Key\" yet") from failure
        program.click(middle)
        desktop.screenshot(os.path.join(artefacts, "assignment-dialog.png"), program.window_box())
        # The dialog's close button sits below the top bar's.
        program.press("Close", e2e.roles("PUSH_BUTTON"), pick=e2e.lowest)
        program.click(save)

        def middle_sent():
            blocks = sent_matrices(program.trace)
            return len(blocks) > before and blocks[-1][4:8] == MIDDLE_CLICK

        if not e2e.wait_until(middle_sent, 15):
            blocks = sent_matrices(program.trace)
            raise e2e.Failure("no key matrix 1 with button 2 as a middle click (%s) after Save; last sent: %s\n%s" %
                              (MIDDLE_CLICK, blocks[-1] if blocks else None, program.trace.tail()))
        program.quit()


def run_all(desktop, executable, artefacts):
    scenario(desktop, executable, e2e.scratch_folder(artefacts, "run"), artefacts)


if __name__ == "__main__":
    sys.exit(e2e.run(sys.argv, __doc__, run_all))
