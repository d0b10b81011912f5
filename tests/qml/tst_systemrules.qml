import QtQuick
import QtTest
import "../../modules/qml/common/SystemRules.js" as SystemRules

// The system settings dialog's rules: the steps of its speed sliders, where
// the keys move a knob, the wheel's rows as typed, and values read back from
// a profile.
TestCase {
    name: "SystemRules"

    // The ends of the knob's run, step bounds, between pixels and what lies beyond the run.
    function test_stepOf_data() {
        return [["knob's left end", 3, 0], ["step 1 low", 4, 1], ["step 1 high", 36, 1], ["step 2 low", 37, 2],
                ["step 10 low", 305, 10], ["step 9 high", 304, 9], ["knob's right end", 337, 10],
                ["between pixels", 36.9, 1], ["left of the run", -5, 0],
                ["past the last bound is the last step, not the first", 338, 10], ["far past", 1000, 10]]
            .map(([tag, position, step]) => ({ tag, position, step }))
    }
    function test_stepOf(row) {
        compare(SystemRules.stepOf(row.position), row.step)
    }

    // Keys move by steps, to the lowest position of the step reached, and stop at the ends.
    function test_keyPosition_data() {
        return [["left from inside step 2 goes to step 1", 50, -1, 4], ["left at the left end stays", 3, -1, 3],
                ["right at the right end stays in step 10", 337, 1, 305], ["ten left from step 5", 150, -10, 3]]
            .map(([tag, position, count, want]) => ({ tag, position, count, want }))
    }
    function test_keyPosition(row) {
        compare(SystemRules.keyPosition(row.position, row.count), row.want)
    }

    // Stored knob positions and wheel settings: texts after a restart, words, blanks, out of range; a wheel
    // setting above 100 is one screen, what is no number the shipped 3 rows.
    function test_stored_data() {
        var pos = SystemRules.storedPosition, lines = SystemRules.storedLines
        return [["position absent", pos(undefined, 170), 170, "not a number"],
                ["position a fraction", pos("170.5", 170), 170, "not a number"],
                ["position below the run", pos("0", 170), 3, "out of range"],
                ["position past the run", pos("500", 170), 337, "out of range"],
                ["position with spaces", pos(" 42 ", 170), 42, ""], ["position number", pos(337, 170), 337, ""],
                ["lines absent", lines(undefined), 3, "not a number"], ["lines zero", lines("0"), 1, "out of range"],
                ["lines hundred", lines("100"), 100, ""], ["lines one screen", lines("1000"), 1000, ""],
                ["lines above 100 are one screen", lines(101), 1000, ""]]
            .map(([tag, got, value, problem]) => ({ tag, got, value, problem }))
    }
    function test_stored(row) {
        compare(row.got, { value: row.value, problem: row.problem })
    }

    // The rows input when it ends (a leading zero is not octal); one screen is only 1000.
    function test_typedRows() {
        compare(["07", "ab", "999"].map(SystemRules.typedRows), [7, 1, 100])
        compare([100, 1000].map(SystemRules.isOneScreen), [false, true])
    }
}
