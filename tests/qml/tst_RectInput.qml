import QtQuick
import QtTest
import modules.qml

// The shared number field: what a user can type, what the field shows once
// the input ends, and its signals around it.
TestCase {
    id: testCase
    name: "RectInput"
    width: 300
    height: 100
    when: windowShown
    visible: true // a TestCase is hidden by default; its controls need clicks

    // Any warning (a binding gone wrong, an animation refusing a value) fails the test.
    function init() { failOnWarning(/./) }

    Component { id: inputComponent; RectInput { x: 40; y: 40 } }

    // Comes before the field in the Tab order.
    TextInput { id: elsewhere; x: 200; width: 50; height: 20; activeFocusOnTab: true }

    // The input starts with Tab (or a click) and ends by moving back with
    // Shift+Tab, or with end: a key or a call.
    function test_input_data() {
        var closeSelected = field => {
            field.txtInput.selectAll()
            field.closeFocus()
        }
        return [
            { tag: "left empty shows 0", typed: "", shown: "0" },
            { tag: "left empty with Return", typed: "", end: Qt.Key_Return, shown: "0" },
            { tag: "in range, with Enter", typed: "42", end: Qt.Key_Enter, shown: "42" },
            { tag: "above the maximum is cut to it", typed: "300", shown: "255" },
            { tag: "letters are refused", typed: "7a", shown: "7" },
            { tag: "a minus sign is refused", typed: "-5", shown: "5" },
            { tag: "four characters at most", typed: "12345", shown: "1234", maxValue: 9999 },
            { tag: "started with a click", click: true, typed: "8", shown: "8" },
            { tag: "closeFocus ends it and clears the selection", typed: "12", end: closeSelected, shown: "12" },
        ]
    }
    function test_input(row) {
        var field = createTemporaryObject(inputComponent, testCase, { maxValue: row.maxValue ?? 255 })
        var log = []
        field.inputSignal.connect(() => log.push("start"))
        field.endInputSignal.connect(() => log.push("end " + field.textValue))
        field.closeFocus() // without the focus: nothing
        if (row.click) {
            mouseClick(field, field.width / 2, field.height / 2)
        } else {
            elsewhere.forceActiveFocus()
            keyClick(Qt.Key_Tab)
        }
        verify(field.txtInput.activeFocus, "the input starts")
        field.txtInput.selectAll()
        keyClick(Qt.Key_Backspace)
        for (var c of row.typed)
            keyClick(c)
        compare(log, ["start"])
        if (typeof row.end === "function")
            row.end(field)
        else
            keyClick(row.end ?? Qt.Key_Backtab)
        verify(!field.txtInput.activeFocus, "the input ends")
        compare(field.txtInput.selectedText, "")
        // The page reads the settled text when the end is signalled.
        compare(log, ["start", "end " + row.shown])
        compare(field.textValue, row.shown)
    }
}
