import QtQuick
import QtTest
import "../../modules/qml/basic"

// The shared radio button: select before signal, stays selected, keys, layout.
TestCase {
    id: testCase
    name: "RadioButton"
    width: 300
    height: 100
    when: windowShown
    visible: true // a TestCase is hidden by default; its controls need clicks

    Component {
        id: radioComponent
        RadioButton {
            x: 40
            y: 40
            textValue: "Breathing"
            index: 2
        }
    }

    SignalSpy { id: clickSpy; signalName: "btnClick" }

    function make(props) {
        var radio = createTemporaryObject(radioComponent, testCase, props || {})
        verify(radio)
        clickSpy.clear()
        clickSpy.target = radio
        return radio
    }

    // A click or a key selects and reports; a selected button stays selected.
    function test_act_data() {
        return [
            { tag: "click on the mark", how: "mouse", x: 5, selected: false },
            { tag: "click on the text", how: "mouse", x: 40, selected: false },
            { tag: "click when selected", how: "mouse", x: 5, selected: true },
            { tag: "space", how: Qt.Key_Space, selected: false },
            { tag: "return when selected", how: Qt.Key_Return, selected: true },
        ]
    }
    function test_act(row) {
        var radio = make({ isSelect: row.selected })
        var selectedWhenSignalled = []
        radio.btnClick.connect(() => selectedWhenSignalled.push(radio.isSelect))
        if (row.how === "mouse") {
            mouseClick(radio, row.x, radio.height / 2)
        } else {
            radio.forceActiveFocus()
            keyClick(row.how)
        }
        compare(radio.isSelect, true)
        compare(clickSpy.count, 1)
        compare(clickSpy.signalArguments[0][0], 2)
        compare(selectedWhenSignalled, [true], "selected before the signal")
    }

    function test_outside() {
        var radio = make()
        mouseClick(radio, radio.width + 3, radio.height / 2)
        compare(radio.isSelect, false)
        compare(clickSpy.count, 0)
    }

    function test_layout_data() {
        return [
            { tag: "default gap", gapValue: 16 },
            { tag: "narrow gap", gapValue: 4 },
        ]
    }
    function test_layout(row) {
        var radio = make({ gapValue: row.gapValue })
        var mark = findChild(radio, "mark"), dot = findChild(radio, "dot"), label = findChild(radio, "label")
        compare([mark.width, mark.height, mark.radius], [10, 10, 4])
        compare([dot.width, dot.height], [6, 6])
        compare(label.x, 10 + row.gapValue)
        compare(dot.visible, false)
        radio.isSelect = true
        compare(dot.visible, true)
        compare(radio.Accessible.role, Accessible.RadioButton)
        compare(radio.Accessible.name, "Breathing")
        verify(radio.activeFocusOnTab)
    }
}
