import QtQuick
import QtTest
import "../../modules/qml/basic"

// The shared slider: knob range, placement operations, clicks, drags, keys.
TestCase {
    id: testCase
    name: "SliderButton"
    width: 400
    height: 100
    when: windowShown
    visible: true // a TestCase is hidden by default; its controls need clicks

    Component {
        id: sliderComponent
        SliderButton {
            x: 20
            y: 40
        }
    }

    SignalSpy { id: changeSpy; signalName: "valueChange" }
    SignalSpy { id: delaySpy; signalName: "valueChangeDelay" }
    SignalSpy { id: clickSpy; signalName: "btnClick" }
    SignalSpy { id: dragSpy; signalName: "dragSignal" }

    function make(props) {
        var slider = createTemporaryObject(sliderComponent, testCase, props)
        verify(slider)
        for (var spy of [changeSpy, delaySpy, clickSpy, dragSpy]) {
            spy.clear()
            spy.target = slider
        }
        return slider
    }

    // Clicks beyond either end and drags beyond either end stop at the knob range.
    function test_range_data() {
        return [
            { tag: "176 px", width: 176, min: 3, max: 161 },
            { tag: "94 px, inside a 110 px drop-down slider", width: 94, min: 3, max: 79 },
        ]
    }
    function test_range(row) {
        var slider = make({ width: row.width })
        mouseClick(slider, -3, 3)
        tryCompare(delaySpy, "count", 1)
        compare(changeSpy.signalArguments[0][0], row.min)
        mouseClick(slider, row.width + 2, 3)
        tryCompare(delaySpy, "count", 2)
        compare(delaySpy.signalArguments[1][0], row.max)
        compare(slider.position, row.max)
        mouseDrag(slider, row.max + 6, 3, -500, 0)
        compare(slider.position, row.min)
        mouseDrag(slider, row.min + 6, 3, 500, 0)
        compare(slider.position, row.max)
        compare(delaySpy.signalArguments[3][0], row.max)
    }

    function test_operations_data() {
        return [
            { tag: "ratio 0", call: s => s.setRatioValue(0), position: 4, signals: 1 },
            { tag: "ratio 1, one past the drag range", call: s => s.setRatioValue(1), position: 162, signals: 1 },
            { tag: "ratio half", call: s => s.setRatioValue(0.5), position: 83, signals: 1 },
            { tag: "index 5 with signal", call: s => s.setIndexValue(5, true), position: 82, index: 5, signals: 1 },
            { tag: "index 10 without", call: s => s.setIndexValue(10, false), position: 161, index: 10, signals: 0 },
            { tag: "setValue is silent", call: s => s.setValue(100), position: 100, signals: 0 },
        ]
    }
    function test_operations(row) {
        var slider = make({ width: 176 })
        row.call(slider)
        compare(slider.position, row.position)
        compare(changeSpy.count, row.signals)
        if (row.signals)
            compare(changeSpy.signalArguments[0][0], row.position)
        if (row.index !== undefined)
            compare(slider.segmentValue, row.index)
        compare(delaySpy.count, 0)
    }

    // 176 px and 10 steps: step i at 3 + 15.8 i (step 5 at 82, step 6 at 97.8).
    function test_release_data() {
        return [
            { tag: "on a step", dx: 79, index: 5 },
            { tag: "one pixel past a step snaps back", dx: 80, index: 5 },
            { tag: "two pixels past goes on", dx: 81, index: 6 },
            { tag: "beyond the right end", dx: 400, index: 10 },
            { tag: "left end", dx: -30, index: 0 },
        ]
    }
    function test_release(row) {
        var slider = make({ width: 176, isScale: true })
        mouseDrag(slider, 9, 3, row.dx, 0)
        compare(slider.segmentValue, row.index)
        fuzzyCompare(slider.position, 3 + 15.8 * row.index, 1e-9)
        compare(changeSpy.count, 0, "no valueChange while dragging with steps")
        compare(delaySpy.count, 1)
        compare(delaySpy.signalArguments[0][0], Math.trunc(slider.position))
    }

    function test_dragSignals() {
        var slider = make({ width: 176 })
        var order = []
        var record = name => () => order.push(name)
        slider.btnClick.connect(record("click"))
        slider.dragSignal.connect(isDrag => order.push(isDrag ? "drag" : "drop"))
        slider.valueChangeDelay.connect(record("delay"))
        mouseDrag(slider, 9, 3, 50, 0)
        compare(order, ["click", "drag", "delay", "drop"])
        compare(slider.position, 53)
        verify(changeSpy.count >= 1)
        compare(changeSpy.signalArguments[changeSpy.count - 1][0], 53)
    }

    function test_click_data() {
        return [
            { tag: "centres the knob", x: 60, isScale: false, position: 54 },
            { tag: "snaps to the first step at or past it", x: 60, isScale: true, position: 3 + 15.8 * 4, index: 4 },
            { tag: "on a step's centre", x: 88, isScale: true, position: 82, index: 5 },
        ]
    }
    function test_click(row) {
        var slider = make({ width: 176, isScale: row.isScale })
        mouseClick(slider, row.x, 3)
        compare(clickSpy.count, 1)
        if (row.index !== undefined)
            compare(slider.segmentValue, row.index)
        tryCompare(delaySpy, "count", 1)
        fuzzyCompare(slider.position, row.position, 1e-9)
        compare(changeSpy.count, 1)
        compare(changeSpy.signalArguments[0][0], Math.trunc(row.position))
        compare(delaySpy.signalArguments[0][0], Math.trunc(row.position))
    }

    function test_keys_data() {
        return [
            { tag: "right, one pixel", key: Qt.Key_Right, start: 50, position: 51 },
            { tag: "left, one pixel", key: Qt.Key_Left, start: 50, position: 49 },
            { tag: "page up, ten pixels", key: Qt.Key_PageUp, start: 50, position: 60 },
            { tag: "page down stops at the left end", key: Qt.Key_PageDown, start: 5, position: 3 },
            { tag: "right stops at the right end", key: Qt.Key_Right, start: 161, position: 161 },
            { tag: "right, one step", key: Qt.Key_Right, isScale: true, index: 5, position: 97.8 },
            { tag: "page down, several steps", key: Qt.Key_PageDown, isScale: true, index: 5, position: 3 + 15.8 * 2 },
            { tag: "right stops at the last step", key: Qt.Key_Right, isScale: true, index: 10, position: 161 },
        ]
    }
    function test_keys(row) {
        var slider = make({ width: 176, isScale: !!row.isScale })
        if (row.isScale)
            slider.setIndexValue(row.index, false)
        else
            slider.setValue(row.start)
        slider.forceActiveFocus()
        keyClick(row.key)
        fuzzyCompare(slider.position, row.position, 1e-9)
        compare(clickSpy.count, 1)
        compare(changeSpy.count, 1)
        compare(delaySpy.count, 1)
        compare(delaySpy.signalArguments[0][0], Math.trunc(row.position))
    }

    // Tab reaches the slider, and the keys then act on it.
    function test_tab() {
        var slider = make({ width: 176 })
        slider.setValue(50)
        testCase.forceActiveFocus()
        keyClick(Qt.Key_Tab)
        verify(slider.activeFocus)
        keyClick(Qt.Key_Right)
        compare(slider.position, 51)
        compare(slider.Accessible.role, Accessible.Slider)
    }
}
