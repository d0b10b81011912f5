import QtQuick
import QtTest
import "../../modules/qml/basic/Shell.js" as Shell

// The frame's rules: report-rate codes and positions, editor box, dragging.
TestCase {
    name: "Shell"

    function test_reportRate_data() {
        return [
            { tag: "125 Hz", stored: 0, index: 0, code: 8 },
            { tag: "250 Hz as text", stored: "1", index: 1, code: 4 },
            { tag: "500 Hz", stored: 2, index: 2, code: 2 },
            { tag: "1000 Hz", stored: "3", index: 3, code: 1 },
            { tag: "absent", stored: "", index: 0, code: 8 },
            { tag: "not a number", stored: "fast", index: 3, code: 1 },
            { tag: "past the list", stored: 7, index: 3, code: 1 },
            { tag: "negative", stored: "-1", index: 3, code: 1 },
            { tag: "fraction", stored: 1.5, index: 3, code: 1 },
        ]
    }
    function test_reportRate(row) {
        compare(Shell.reportRateIndex(row.stored), row.index)
        compare(Shell.reportRateCode(row.index), row.code)
    }

    function test_codeOfAnyOtherIndex() {
        compare(Shell.reportRateCode(-1), 1)
        compare(Shell.reportRateCode(undefined), 1)
    }

    function test_editorBox() {
        compare(Shell.editorBoxHeight(true), 100)
        compare(Shell.editorBoxHeight(false), 76)
    }

    // The factory-reset box (427 x 102) in the 1024 x 640 window.
    function test_clamp_data() {
        return [
            { tag: "inside", x: 300, size: 427, window: 1024, got: 300 },
            { tag: "past the left", x: -20, size: 427, window: 1024, got: 0 },
            { tag: "past the right", x: 700, size: 427, window: 1024, got: 597 },
            { tag: "past the bottom", x: 600, size: 102, window: 640, got: 538 },
        ]
    }
    function test_clamp(row) {
        compare(Shell.clampToWindow(row.x, row.size, row.window), row.got)
    }

    // Global keys as the settings file gives them; absent or unreadable ones
    // keep the declared default.
    function test_globalValues_data() {
        return [
            { tag: "flag true", got: Shell.flag("true", false), want: true },
            { tag: "flag 0", got: Shell.flag("0", true), want: false },
            { tag: "flag TRUE", got: Shell.flag(" TRUE", false), want: true },
            { tag: "flag absent", got: Shell.flag(undefined, true), want: true },
            { tag: "flag unreadable", got: Shell.flag("yes", false), want: false },
            { tag: "number", got: Shell.integer("3", 0, 0, 5), want: 3 },
            { tag: "number past the range", got: Shell.integer("9", 0, 0, 5), want: 0 },
            { tag: "number negative", got: Shell.integer(-1, 0, 0, 5), want: 0 },
            { tag: "number empty", got: Shell.integer("", 8, 0, 16), want: 8 },
            { tag: "number text", got: Shell.integer("x", 8, 0, 16), want: 8 },
            { tag: "text absent", got: Shell.text(undefined, "553"), want: "553" },
            { tag: "text", got: Shell.text(560, "553"), want: "560" },
        ]
    }
    function test_globalValues(row) {
        compare(row.got, row.want)
    }

    function test_mergeTexts_data() {
        return [
            { tag: "loaded", loaded: ["x", "y", "z"], want: ["x", "y", "z"] },
            { tag: "shorter", loaded: ["x"], want: ["x", "b", "c"] },
            { tag: "missing", loaded: [], want: ["a", "b", "c"] },
            { tag: "longer", loaded: ["x", "y", "z", "w"], want: ["x", "y", "z"] },
            { tag: "not a list", loaded: undefined, want: ["a", "b", "c"] },
        ]
    }
    function test_mergeTexts(row) {
        compare(Shell.mergeTexts(["a", "b", "c"], row.loaded), row.want)
    }
}
