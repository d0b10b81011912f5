import QtQuick
import QtTest
import "../../modules/qml/common/Shell.js" as Shell

// The frame's rules: report-rate codes and positions, keeping a box in the window, reading global keys and texts.
TestCase {
    name: "Shell"

    function test_reportRate_data() {
        return [["125 Hz", 0, 0, 8], ["250 Hz as text", "1", 1, 4], ["500 Hz", 2, 2, 2], ["1000 Hz", "3", 3, 1],
                ["absent", "", 0, 8], ["not a number", "fast", 3, 1], ["past the list", 7, 3, 1],
                ["negative", "-1", 3, 1], ["fraction", 1.5, 3, 1]]
            .map(([tag, stored, index, code]) => ({ tag, stored, index, code }))
    }
    function test_reportRate(row) {
        compare([Shell.reportRateIndex(row.stored), Shell.reportRateCode(row.index)], [row.index, row.code])
        compare([Shell.reportRateCode(-1), Shell.reportRateCode(undefined)], [1, 1])
    }

    // The factory-reset box (427 x 102) in the 1024 x 640 window.
    function test_clamp_data() {
        return [["inside", 300, 427, 1024, 300], ["past the left", -20, 427, 1024, 0],
                ["past the right", 700, 427, 1024, 597], ["past the bottom", 600, 102, 640, 538]]
            .map(([tag, x, size, window, got]) => ({ tag, x, size, window, got }))
    }
    function test_clamp(row) {
        compare(Shell.clampToWindow(row.x, row.size, row.window), row.got)
    }

    // Global keys as the settings file gives them; absent or unreadable ones keep the declared default.
    function test_globalValues_data() {
        return [["flag true", Shell.flag("true", false), true], ["flag 0", Shell.flag("0", true), false],
                ["flag TRUE", Shell.flag(" TRUE", false), true], ["flag absent", Shell.flag(undefined, true), true],
                ["flag unreadable", Shell.flag("yes", false), false], ["number", Shell.integer("3", 0, 0, 5), 3],
                ["number past the range", Shell.integer("9", 0, 0, 5), 0],
                ["number negative", Shell.integer(-1, 0, 0, 5), 0], ["number empty", Shell.integer("", 8, 0, 16), 8],
                ["number text", Shell.integer("x", 8, 0, 16), 8], ["text absent", Shell.text(undefined, "553"), "553"],
                ["text", Shell.text(560, "553"), "560"]].map(([tag, got, want]) => ({ tag, got, want }))
    }
    function test_globalValues(row) {
        compare(row.got, row.want)
    }

    // Loaded texts replace the built-in ones position by position.
    function test_mergeTexts_data() {
        return [["loaded", ["x", "y", "z"], ["x", "y", "z"]], ["shorter", ["x"], ["x", "b", "c"]],
                ["missing", [], ["a", "b", "c"]], ["longer", ["x", "y", "z", "w"], ["x", "y", "z"]],
                ["not a list", undefined, ["a", "b", "c"]]].map(([tag, loaded, want]) => ({ tag, loaded, want }))
    }
    function test_mergeTexts(row) {
        compare(Shell.mergeTexts(["a", "b", "c"], row.loaded), row.want)
    }
}
