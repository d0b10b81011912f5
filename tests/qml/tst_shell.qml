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
}
