import QtQuick
import QtTest
import modules.qml

// The shared check box and radio button: where a click counts, selection and
// signal in their order, keys reached with Tab, and the gap between the parts.
TestCase {
    id: testCase
    name: "CheckBoxRadioButton"
    width: 300
    height: 100
    when: windowShown
    visible: true // a TestCase is hidden by default; its controls need clicks

    // Any warning (a binding gone wrong, an animation refusing a value) fails the test.
    function init() { failOnWarning(/./) }

    Component { id: checkComponent; CheckBox { x: 40; y: 40; textValue: "Angle snapping"; index: 4 } }
    Component { id: radioComponent; RadioButton { x: 40; y: 40; textValue: "Breathing"; index: 4 } }

    function make(kind, props) {
        var control = createTemporaryObject(kind === "check" ? checkComponent : radioComponent, testCase, props)
        verify(control)
        return control
    }

    // A click at x = at(width), dy below the middle, or a key. A check box
    // toggles (its click area reaches 6 px beyond it); a radio button is
    // selected and stays so.
    function test_act_data() {
        return [
            { tag: "check: on the box", kind: "check", at: w => w - 6 },
            { tag: "check: on the box, unselects", kind: "check", at: w => w - 6, from: true },
            { tag: "check: on the text", kind: "check", at: w => 10 },
            { tag: "check: 5 px right of it", kind: "check", at: w => w + 5 },
            { tag: "check: 5 px below it", kind: "check", at: w => w - 6, dy: 11 },
            { tag: "check: 8 px right of it is outside", kind: "check", at: w => w + 8, ignored: true },
            { tag: "check: 8 px above it is outside", kind: "check", at: w => w - 6, dy: -14, ignored: true },
            { tag: "check: space", kind: "check", key: Qt.Key_Space },
            { tag: "check: return unselects", kind: "check", key: Qt.Key_Return, from: true },
            { tag: "radio: on the mark", kind: "radio", at: w => 5 },
            { tag: "radio: on the text", kind: "radio", at: w => w - 10 },
            { tag: "radio: on the mark when selected", kind: "radio", at: w => 5, from: true },
            { tag: "radio: 3 px right of it is outside", kind: "radio", at: w => w + 3, ignored: true },
            { tag: "radio: enter", kind: "radio", key: Qt.Key_Enter },
            { tag: "radio: return when selected", kind: "radio", key: Qt.Key_Return, from: true },
            { tag: "check: disabled, Tab passes it", kind: "check", key: Qt.Key_Space, off: true, ignored: true },
            { tag: "radio: disabled, a click does nothing", kind: "radio", at: w => 5, off: true, ignored: true },
        ]
    }
    function test_act(row) {
        var control = make(row.kind, { isSelect: !!row.from, enabled: !row.off })
        var signalled = []
        control.btnClick.connect(index => signalled.push([index, control.isSelect]))
        if (row.key) {
            testCase.forceActiveFocus()
            keyClick(Qt.Key_Tab)
            compare(control.activeFocus, !row.off, "Tab reaches an enabled control")
            keyClick(row.key)
        } else {
            mouseClick(control, row.at(control.width), control.height / 2 + (row.dy ?? 0))
        }
        var check = row.kind === "check"
        var selected = row.ignored ? !!row.from : check ? !row.from : true
        compare(control.isSelect, selected)
        // The check box signals before it toggles, the radio button once it is selected.
        compare(signalled, row.ignored ? [] : [[4, check ? !!row.from : true]])
        compare(findChild(control, check ? "check" : "dot").visible, selected)
        compare([control.Accessible.role, control.Accessible.name, control.Accessible.checked],
                [check ? Accessible.CheckBox : Accessible.RadioButton, control.textValue, selected])
    }

    // The second part sits gapValue px right of the first; the width takes in both.
    function test_gap_data() {
        return [
            { tag: "check box", kind: "check", parts: ["label", "box"] },
            { tag: "radio button", kind: "radio", parts: ["mark", "label"] },
        ]
    }
    function test_gap(row) {
        var control = make(row.kind, { gapValue: 20 })
        var first = findChild(control, row.parts[0]), second = findChild(control, row.parts[1])
        compare(second.x, first.x + first.width + 20)
        compare(control.implicitWidth, second.x + second.width)
    }
}
