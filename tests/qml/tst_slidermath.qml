import QtQuick
import QtTest
import "../../modules/qml/basic/SliderMath.js" as SliderMath

// Knob range, ratio placement and step snapping of the pages' sliders.
TestCase {
    name: "SliderMath"

    function test_range_data() {
        return [
            { tag: "176 px", w: 176, min: 3, max: 161 },
            { tag: "94 px, inside a 110 px drop-down slider", w: 94, min: 3, max: 79 },
        ]
    }
    function test_range(row) {
        compare(SliderMath.clickTarget(-50, row.w, 12, 10, false).position, row.min)
        compare(SliderMath.clickTarget(1000, row.w, 12, 10, false).position, row.max)
        compare(SliderMath.dragPosition(50, 100, -400, row.w, 12), row.min)
        compare(SliderMath.dragPosition(50, 100, 400, row.w, 12), row.max)
    }

    function test_ratio_data() {
        return [
            { tag: "0", ratio: 0, position: 4 },
            { tag: "1, one past the drag range", ratio: 1, position: 162 },
            { tag: "half", ratio: 0.5, position: 83 },
            { tag: "integer part", ratio: 0.999, position: 161 },
        ]
    }
    function test_ratio(row) {
        compare(SliderMath.ratioPosition(176, 12, row.ratio), row.position)
    }

    // 176 px, 10 steps of 15.8 px from 3: step 3 at 50.4, step 10 at 161.
    function test_snap_data() {
        return [
            { tag: "release on a step", how: "release", x: 50.4, index: 3 },
            { tag: "release one pixel past it snaps back", how: "release", x: 51.4, index: 3 },
            { tag: "release further on goes on", how: "release", x: 51.5, index: 4 },
            { tag: "release at the left end", how: "release", x: 3, index: 0 },
            { tag: "release at the right end", how: "release", x: 161, index: 10 },
            { tag: "click centres the knob on a step", how: "click", x: 56.4, index: 3 },
            { tag: "click just past a step goes on", how: "click", x: 56.5, index: 4 },
            { tag: "click beyond the track", how: "click", x: 400, index: 10 },
        ]
    }
    function test_snap(row) {
        var got = row.how === "click" ? SliderMath.clickTarget(row.x, 176, 12, 10, true)
                                      : SliderMath.releaseSnap(row.x, 176, 12, 10)
        compare(got.index, row.index)
        fuzzyCompare(got.position, 3 + 15.8 * row.index, 1e-9)
    }

    function test_noSteps() {
        compare(SliderMath.clickTarget(40, 176, 12, 0, true).position, 3)
        compare(SliderMath.clickTarget(40, 176, 12, 10, false).index, -1)
    }

    // 176 px, 10 steps: keys move by whole pixels or whole steps, within the range.
    function test_keys_data() {
        return [
            { tag: "a pixel right", x: 50, count: 1, position: 51, index: -1 },
            { tag: "from between pixels", x: 50.4, count: -1, position: 49, index: -1 },
            { tag: "a page left stops at the left end", x: 8, count: -10, position: 3, index: -1 },
            { tag: "a pixel right stops at the right end", x: 161, count: 1, position: 161, index: -1 },
            { tag: "a step right", isScale: true, index: 5, count: 1, position: 97.8 },
            { tag: "steps stop at the last", isScale: true, index: 9, count: 3, position: 161 },
            { tag: "steps stop at the first", isScale: true, index: 1, count: -3, position: 3 },
        ]
    }
    function test_keys(row) {
        var got = SliderMath.keyTarget(row.x || 0, row.index, 176, 12, 10, !!row.isScale, row.count)
        fuzzyCompare(got.position, row.position, 1e-9)
        if (row.isScale)
            compare(got.index, Math.round((row.position - 3) / 15.8))
    }

    function test_pageSize_data() {
        return [
            { tag: "pixels", segment: 10, isScale: false, size: 10 },
            { tag: "ten steps", segment: 10, isScale: true, size: 3 },
            { tag: "few steps still move two", segment: 4, isScale: true, size: 2 },
        ]
    }
    function test_pageSize(row) {
        compare(SliderMath.pageSize(row.segment, row.isScale), row.size)
    }
}
