import QtQuick
import QtTest
import "../../modules/qml/basic"

// The shared check box: where a click counts, signal before toggle, keys, layout.
TestCase {
    id: testCase
    name: "CheckBox"
    width: 300
    height: 100
    when: windowShown
    visible: true // a TestCase is hidden by default; its controls need clicks

    Component {
        id: boxComponent
        CheckBox {
            x: 40
            y: 40
            textValue: "Angle snapping"
            index: 4
        }
    }

    SignalSpy { id: clickSpy; signalName: "btnClick" }

    function make(props) {
        var box = createTemporaryObject(boxComponent, testCase, props || {})
        verify(box)
        clickSpy.clear()
        clickSpy.target = box
        return box
    }

    // Offsets from the control's right edge (x) and vertical centre (y).
    function test_click_data() {
        return [
            { tag: "on the box", dx: -6, dy: 0, toggles: true },
            { tag: "on the text", dx: -40, dy: 0, toggles: true },
            { tag: "5 px right of it", dx: 5, dy: 0, toggles: true },
            { tag: "5 px below it", dx: -6, dy: 11, toggles: true },
            { tag: "8 px right of it", dx: 8, dy: 0, toggles: false },
            { tag: "8 px above it", dx: -6, dy: -14, toggles: false },
        ]
    }
    function test_click(row) {
        var box = make()
        var selectedWhenSignalled = []
        box.btnClick.connect(() => selectedWhenSignalled.push(box.isSelect))
        mouseClick(box, box.width + row.dx, box.height / 2 + row.dy)
        compare(box.isSelect, row.toggles)
        compare(clickSpy.count, row.toggles ? 1 : 0)
        if (row.toggles) {
            compare(clickSpy.signalArguments[0][0], 4)
            compare(selectedWhenSignalled, [false], "the signal comes before the toggle")
        }
    }

    function test_keys_data() {
        return [
            { tag: "space", key: Qt.Key_Space },
            { tag: "return", key: Qt.Key_Return },
            { tag: "enter", key: Qt.Key_Enter },
        ]
    }
    function test_keys(row) {
        var box = make({ isSelect: true })
        box.forceActiveFocus()
        keyClick(row.key)
        compare(box.isSelect, false)
        keyClick(row.key)
        compare(box.isSelect, true)
        compare(clickSpy.count, 2)
    }

    // The box sits gapValue pixels right of the text and is 12 x 12.
    function test_layout_data() {
        return [
            { tag: "default gap", gapValue: 8 },
            { tag: "wider gap", gapValue: 20 },
        ]
    }
    function test_layout(row) {
        var box = make({ gapValue: row.gapValue })
        var label = findChild(box, "label"), mark = findChild(box, "box")
        compare(mark.x, label.width + row.gapValue)
        compare(mark.width, 12)
        compare(mark.height, 12)
        compare(box.implicitWidth, label.width + row.gapValue + 12)
        compare(findChild(box, "check").visible, false)
        box.isSelect = true
        compare(findChild(box, "check").visible, true)
        compare(box.Accessible.role, Accessible.CheckBox)
        compare(box.Accessible.name, "Angle snapping")
        verify(box.activeFocusOnTab)
    }
}
