import QtQuick
import QtTest
import "../../modules/qml/basic"

// The shared number field: what it shows when the input ends, its signals,
// Enter, closeFocus and what it lets a user type.
TestCase {
    id: testCase
    name: "RectInput"
    width: 300
    height: 100
    when: windowShown
    visible: true // a TestCase is hidden by default; its controls need clicks

    Component {
        id: inputComponent
        RectInput {
            x: 40
            y: 40
        }
    }

    TextInput {
        id: elsewhere
        x: 200
        width: 50
        height: 20
    }

    SignalSpy { id: startSpy; signalName: "inputSignal" }
    SignalSpy { id: endSpy; signalName: "endInputSignal" }

    function make(props) {
        var field = createTemporaryObject(inputComponent, testCase, props || {})
        verify(field)
        for (var spy of [startSpy, endSpy]) {
            spy.clear()
            spy.target = field
        }
        return field
    }

    function type(field, text) {
        field.txtInput.forceActiveFocus()
        field.txtInput.selectAll()
        keyClick(Qt.Key_Backspace)
        for (var c of text)
            keyClick(c)
    }

    // What a user typed, and what the field shows once the focus moves on.
    function test_settle_data() {
        return [
            { tag: "left empty shows 0", typed: "", shown: "0" },
            { tag: "zero", typed: "0", shown: "0" },
            { tag: "in range", typed: "42", shown: "42" },
            { tag: "the maximum", typed: "255", shown: "255" },
            { tag: "above the maximum is cut to it", typed: "300", shown: "255" },
            { tag: "letters are refused", typed: "7a", shown: "7" },
            { tag: "a minus sign is refused", typed: "-5", shown: "5" },
            { tag: "four characters at most", typed: "12345", shown: "1234", maxValue: 9999 },
        ]
    }
    function test_settle(row) {
        var field = make(row.maxValue ? { maxValue: row.maxValue } : {})
        compare(field.textValue, "0")
        type(field, row.typed)
        compare(startSpy.count, 1)
        compare(endSpy.count, 0)
        elsewhere.forceActiveFocus()
        compare(field.textValue, row.shown)
        compare(endSpy.count, 1)
    }

    function test_enterEnds_data() {
        return [
            { tag: "return", key: Qt.Key_Return },
            { tag: "enter", key: Qt.Key_Enter },
        ]
    }
    function test_enterEnds(row) {
        var field = make()
        type(field, "")
        keyClick(row.key)
        verify(!field.txtInput.activeFocus)
        compare(field.textValue, "0")
        compare(endSpy.count, 1)
    }

    function test_closeFocus() {
        var field = make()
        field.closeFocus()
        compare(endSpy.count, 0, "nothing happens without the focus")
        type(field, "12")
        field.txtInput.selectAll()
        field.closeFocus()
        verify(!field.txtInput.activeFocus)
        compare(field.txtInput.selectedText, "")
        compare(field.textValue, "12")
        compare(endSpy.count, 1)
    }

    function test_clickStarts() {
        var field = make()
        mouseClick(field, field.width / 2, field.height / 2)
        verify(field.txtInput.activeFocus)
        compare(startSpy.count, 1)
    }
}
