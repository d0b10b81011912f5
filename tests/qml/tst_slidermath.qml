import QtQuick
import QtTest
import "../../modules/qml/basic/SliderMath.js" as SliderMath

// Knob range, ratio placement, step snapping and key moves of the pages'
// sliders, all with the 12 px knob. With 176 px and 10 steps, step i sits at
// 3 + 15.8 i.
TestCase {
    name: "SliderMath"

    // Knob positions without steps: clicks, drags and keys stop at the ends of
    // the knob range; ratio 1 lands one pixel past it.
    function test_position_data() {
        var click = (x, w) => SliderMath.clickTarget(x, w, 12, 10, false).position
        var drag = (pointer, w) => SliderMath.dragPosition(50, 100, pointer, w, 12)
        var ratio = r => SliderMath.ratioPosition(176, 12, r)
        var key = (x, count) => SliderMath.keyTarget(x, -1, 176, 12, 10, false, count).position
        return [
            { tag: "176 px: click left of the track", got: click(-50, 176), want: 3 },
            { tag: "176 px: drag past the right end", got: drag(400, 176), want: 161 },
            { tag: "94 px: click right of the track", got: click(1000, 94), want: 79 },
            { tag: "94 px: drag past the left end", got: drag(-400, 94), want: 3 },
            { tag: "ratio 0", got: ratio(0), want: 4 },
            { tag: "ratio 1, one past the drag range", got: ratio(1), want: 162 },
            { tag: "ratio: integer part", got: ratio(0.999), want: 161 },
            { tag: "key: a pixel right", got: key(50, 1), want: 51 },
            { tag: "key: from between pixels", got: key(50.4, -1), want: 49 },
            { tag: "key: a page left stops at the left end", got: key(8, -10), want: 3 },
            { tag: "key: a pixel right stops at the right end", got: key(161, 1), want: 161 },
            { tag: "page: ten pixels without steps", got: SliderMath.pageSize(10, false), want: 10 },
            { tag: "page: ten steps", got: SliderMath.pageSize(10, true), want: 3 },
            { tag: "page: few steps still move two", got: SliderMath.pageSize(4, true), want: 2 },
        ]
    }
    function test_position(row) {
        compare(row.got, row.want)
    }

    // With steps: a click centres the knob and goes to the first step at or
    // past it; a release up to one pixel past a step snaps back to it; keys
    // move whole steps.
    function test_step_data() {
        var click = x => SliderMath.clickTarget(x, 176, 12, 10, true)
        var release = x => SliderMath.releaseSnap(x, 176, 12, 10)
        var key = (index, count) => SliderMath.keyTarget(0, index, 176, 12, 10, true, count)
        return [
            { tag: "release on a step", got: release(50.4), index: 3 },
            { tag: "release one pixel past it snaps back", got: release(51.4), index: 3 },
            { tag: "release further on goes on", got: release(51.5), index: 4 },
            { tag: "release at the left end", got: release(3), index: 0 },
            { tag: "release at the right end", got: release(161), index: 10 },
            { tag: "click centres the knob on a step", got: click(56.4), index: 3 },
            { tag: "click just past a step goes on", got: click(56.5), index: 4 },
            { tag: "click beyond the track", got: click(400), index: 10 },
            { tag: "click without steps: the left end", got: SliderMath.clickTarget(40, 176, 12, 0, true), index: 0 },
            { tag: "key: a step right", got: key(5, 1), index: 6 },
            { tag: "key: steps stop at the last", got: key(9, 3), index: 10 },
            { tag: "key: steps stop at the first", got: key(1, -3), index: 0 },
        ]
    }
    function test_step(row) {
        compare(row.got.index, row.index)
        fuzzyCompare(row.got.position, 3 + 15.8 * row.index, 1e-9)
    }
}
