import QtQuick
import QtTest
import "../../modules/qml/basic"

// The drop-down slider: opening and closing, ignored clicks while animating,
// the inner slider's size and the signals passed on from it.
TestCase {
    id: testCase
    name: "DropDownSlider"
    width: 300
    height: 200
    when: windowShown
    visible: true // a TestCase is hidden by default; its controls need clicks

    Component {
        id: dropComponent
        DropDownSlider {
            x: 40
            y: 40
            textValue: "800"
        }
    }

    SignalSpy { id: clickSpy; signalName: "btnClick" }
    SignalSpy { id: changeSpy; signalName: "valueChange" }
    SignalSpy { id: dragSpy; signalName: "dragSignal" }

    function make(props) {
        var drop = createTemporaryObject(dropComponent, testCase, props || {})
        verify(drop)
        for (var spy of [clickSpy, changeSpy, dragSpy]) {
            spy.clear()
            spy.target = drop
        }
        return drop
    }

    function open(drop) {
        mouseClick(drop, 20, 12)
        tryCompare(findChild(drop, "strip"), "height", 24)
    }

    // Each row clicks the field or calls closeMenu, waiting for the animation
    // or not; the click during an animation changes nothing but still signals.
    function test_toggle_data() {
        return [
            { tag: "click opens", steps: ["click"], isDrop: true, clicks: 1 },
            { tag: "second click closes", steps: ["click", "wait", "click"], isDrop: false, clicks: 2 },
            { tag: "click while opening is ignored", steps: ["click", "click"], isDrop: true, clicks: 2 },
            { tag: "closeMenu closes", steps: ["click", "wait", "close"], isDrop: false, clicks: 1 },
            { tag: "closeMenu when closed", steps: ["close"], isDrop: false, clicks: 0 },
            { tag: "space opens", steps: ["space"], isDrop: true, clicks: 1 },
        ]
    }
    function test_toggle(row) {
        var drop = make()
        var strip = findChild(drop, "strip")
        for (var step of row.steps) {
            if (step === "click")
                mouseClick(drop, 20, 12)
            else if (step === "close")
                drop.closeMenu()
            else if (step === "space") {
                drop.forceActiveFocus()
                keyClick(Qt.Key_Space)
            } else
                tryCompare(strip, "height", drop.isDrop ? 24 : 0)
        }
        compare(drop.isDrop, row.isDrop)
        compare(clickSpy.count, row.clicks)
        tryCompare(strip, "height", row.isDrop ? 24 : 0)
        compare(strip.visible, row.isDrop)
        compare(findChild(drop, "arrow").rotation, row.isDrop ? 180 : 0)
    }

    // The slider is 16 px narrower than the field: 94 px in a 110 px field
    // reports 3 to 79.
    function test_innerSlider() {
        var drop = make()
        open(drop)
        var slider = drop.sliderControl
        compare(slider.width, 94)
        compare(slider.x, 8)
        mouseClick(slider, -3, 3)
        tryCompare(changeSpy, "count", 1)
        compare(changeSpy.signalArguments[0][0], 3)
        mouseClick(slider, 96, 3)
        tryCompare(changeSpy, "count", 2)
        compare(changeSpy.signalArguments[1][0], 79)
        compare(clickSpy.count, 1, "only clicks on the field signal btnClick")
        mouseDrag(slider, 85, 3, -20, 0)
        compare(dragSpy.count, 2)
        compare([dragSpy.signalArguments[0][0], dragSpy.signalArguments[1][0]], [true, false])
        compare(slider.position, 59)
    }

    function test_setValue_data() {
        return [
            { tag: "0", ratio: 0, position: 4 },
            { tag: "1", ratio: 1, position: 80 },
        ]
    }
    function test_setValue(row) {
        var drop = make()
        drop.setValue(row.ratio)
        compare(changeSpy.count, 1)
        compare(changeSpy.signalArguments[0][0], row.position)
        compare(drop.sliderControl.position, row.position)
    }
}
