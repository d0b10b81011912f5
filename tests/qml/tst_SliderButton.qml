import QtQuick
import QtTest
import modules.qml

// The shared slider's wiring: where clicks, drags, keys and the placement operations leave the knob, and the
// signals they send, in order; one row per kind of action (the arithmetic and its edges are in tst_slidermath.qml).
// 176 px and 10 steps put step i at 3 + 15.8 i.
TestCase {
    id: testCase
    name: "SliderButton"
    width: 400
    height: 100
    when: windowShown
    visible: true // a TestCase is hidden by default; its controls need clicks

    // Any warning (a binding gone wrong, an animation refusing a value) fails the test.
    function init() { failOnWarning(/./) }

    Component { id: sliderComponent; SliderButton { x: 20; y: 40 } }

    function click(x) {
        return s => mouseClick(s, x, 3)
    }
    // Presses the knob placed at from and moves the pointer by dx.
    function drag(from, dx) {
        return s => {
            s.setValue(from)
            mouseDrag(s, from + 6, 3, dx, 0)
        }
    }
    // Reaches the slider with Tab from the knob at from (a step with steps on).
    function key(k, from) {
        return s => {
            s.isScale ? s.setIndexValue(from, false) : s.setValue(from)
            testCase.forceActiveFocus()
            keyClick(Qt.Key_Tab)
            verify(s.activeFocus, "Tab reaches the slider")
            keyClick(k)
        }
    }

    // signals lists what the slider sends; valueChange and valueChangeDelay carry the final position, and a run of
    // valueChange while dragging counts as one.
    function test_act_data() {
        var moved = "click change delay", dragged = "click drag change delay drop", snapped = "click drag delay drop"
        return [
            { tag: "click left of the track", act: click(-3), position: 3, signals: moved },
            { tag: "94 px: click right of the track", width: 94, act: click(96), position: 79, signals: moved },
            { tag: "steps: click goes to the first step at or past it", isScale: true, act: click(60), index: 4,
              signals: moved },
            { tag: "drag past the right end", act: drag(3, 500), position: 161, signals: dragged },
            { tag: "steps: release one pixel past a step snaps back", isScale: true, act: drag(3, 80), index: 5,
              signals: snapped },
            { tag: "setRatioValue(1), one past the drag range", act: s => s.setRatioValue(1), position: 162,
              signals: "change" },
            { tag: "setIndexValue with the signal", act: s => s.setIndexValue(5, true), index: 5, signals: "change" },
            { tag: "setIndexValue without", act: s => s.setIndexValue(10, false), index: 10, signals: "" },
            { tag: "setValue is silent", act: s => s.setValue(100), position: 100, signals: "" },
            { tag: "right: a pixel", act: key(Qt.Key_Right, 50), position: 51, signals: moved },
            { tag: "page up: ten pixels", act: key(Qt.Key_PageUp, 50), position: 60, signals: moved },
            { tag: "home: the left end", act: key(Qt.Key_Home, 50), position: 3, signals: moved },
            { tag: "steps: right, a step", isScale: true, act: key(Qt.Key_Right, 5), index: 6, signals: moved },
            { tag: "steps: end, the last step", isScale: true, act: key(Qt.Key_End, 5), index: 10, signals: moved },
        ]
    }
    function test_act(row) {
        var s = createTemporaryObject(sliderComponent, testCase, { width: row.width ?? 176, isScale: !!row.isScale })
        var log = []
        s.btnClick.connect(() => log.push("click"))
        s.dragSignal.connect(isDrag => log.push(isDrag ? "drag" : "drop"))
        s.valueChange.connect(v => log.push("change " + v))
        s.valueChangeDelay.connect(v => log.push("delay " + v))
        row.act(s)
        var position = row.index === undefined ? row.position : 3 + 15.8 * row.index
        var expected = row.signals.split(" ").filter(n => n !== "")
        expected = expected.map(n => n === "change" || n === "delay" ? n + " " + Math.trunc(position) : n)
        var seen = () => log.filter((e, i) => !(e.startsWith("change") && (log[i + 1] ?? "").startsWith("change")))
        tryVerify(() => seen().length >= expected.length, 1000, "the signals arrive")
        compare(seen(), expected)
        fuzzyCompare(s.knobPosition, position, 1e-9)
        if (row.index !== undefined)
            compare(s.segmentValue, row.index)
    }
}
