import QtQuick
import QtTest
import "../../modules/qml/basic/SystemRules.js" as SystemRules

// The system settings dialog's rules: the steps of its speed sliders, where
// the keys move a knob, the wheel's rows as typed, and values read back from
// a profile.
TestCase {
    name: "SystemRules"

    // Every step at both of its bounds; the ends of the knob's run; what lies
    // beyond it.
    function test_stepOf_data() {
        var rows = [["knob's left end", 3, 0], ["step 1 low", 4, 1], ["step 1 high", 36, 1]]
        var b = SystemRules.bounds
        for (var s = 2; s <= 10; ++s)
            rows.push(["step " + s + " low", b[s - 1], s], ["step " + s + " high", b[s] - 1, s])
        rows.push(["knob's right end", 337, 10], ["between pixels", 36.9, 1], ["left of the run", -5, 0],
                  ["past the last bound is the last step, not the first", 338, 10], ["far past", 1000, 10])
        return rows.map(([tag, position, step]) => ({ tag, position, step }))
    }
    function test_stepOf(row) {
        compare(SystemRules.stepOf(row.position), row.step)
    }

    // Keys move by steps, to the lowest position of the step reached, and stop at the ends.
    function test_keyPosition_data() {
        return [
            ["right from the left end", 3, 1, 4],
            ["right from inside step 2", 50, 1, 70],
            ["left from inside step 2 goes to step 1", 50, -1, 4],
            ["left at the left end stays", 3, -1, 3],
            ["right at the right end stays in step 10", 337, 1, 305],
            ["ten right from the left end", 3, 10, 305],
            ["ten left from step 5", 150, -10, 3],
        ].map(([tag, position, count, want]) => ({ tag, position, count, want }))
    }
    function test_keyPosition(row) {
        compare(SystemRules.keyPosition(row.position, row.count), row.want)
    }

    // Stored knob positions: texts after a restart, words, blanks, out of range.
    function test_storedPosition_data() {
        return [
            ["absent", undefined, 170, "not a number"],
            ["words", "fast", 170, "not a number"],
            ["a fraction", "170.5", 170, "not a number"],
            ["below the run", "0", 3, "out of range"],
            ["negative", -40, 3, "out of range"],
            ["past the run", "500", 337, "out of range"],
            ["text", "188", 188, ""],
            ["with spaces", " 42 ", 42, ""],
            ["number", 337, 337, ""],
        ].map(([tag, stored, value, problem]) => ({ tag, stored, value, problem }))
    }
    function test_storedPosition(row) {
        compare(SystemRules.storedPosition(row.stored, 170), { value: row.value, problem: row.problem })
    }

    // Stored wheel settings: above 100 is one screen; what is no number the shipped 3 rows.
    function test_storedLines_data() {
        return [
            ["absent", undefined, 3, "not a number"],
            ["words", "many", 3, "not a number"],
            ["zero", "0", 1, "out of range"],
            ["negative", "-2", 1, "out of range"],
            ["hundred", "100", 100, ""],
            ["one screen", "1000", 1000, ""],
            ["above 100 is one screen", 101, 1000, ""],
        ].map(([tag, stored, value, problem]) => ({ tag, stored, value, problem }))
    }
    function test_storedLines(row) {
        var lines = SystemRules.storedLines(row.stored)
        compare(lines, { value: row.value, problem: row.problem })
        compare(SystemRules.isOneScreen(lines.value), row.value === 1000)
    }

    // The rows input when it ends: 1..100, an empty or smaller entry is 1.
    function test_typedRows_data() {
        return [
            ["empty", "", 1],
            ["zero", "0", 1],
            ["leading zero", "07", 7],
            ["hundred", "100", 100],
            ["above", "999", 100],
            ["words", "ab", 1],
        ].map(([tag, text, rows]) => ({ tag, text, rows }))
    }
    function test_typedRows(row) {
        compare(SystemRules.typedRows(row.text), row.rows)
    }
}
