import QtQuick
import QtTest
import "../../modules/qml/common/DpiRules.js" as DpiRules

// The DPI panel's rules: knob positions and the values they stand for, the
// sensor's range from the global file, typed and stepped values, the stage
// counts, and stored value lists made safe.
TestCase {
    name: "DpiRules"

    readonly property var shipped: ({ min: 200, max: 6000, base: 50 })

    // Cases the page's test already goes through (the shipped knob ends, an
    // empty field, the offered and enabled counts it loads) are left to it.
    function test_rules_data() {
        var s = shipped
        var wide = { min: 100, max: 16000, base: 100 } // wider than the slider has pixels
        var offStep = { min: 250, max: 4000, base: 100 } // its lower end is no whole step
        var range = (min, max, base) => {
            var r = DpiRules.sensorRange(min, max, base, { min: 400, max: 8000, base: 100 })
            return [r.min, r.max, r.base, r.faults.length]
        }
        var enabled = (stored, offered, current) => {
            var e = DpiRules.enabledStages(stored, offered, current)
            return [e.count, e.fault !== ""]
        }
        return [
            ["knob at the bottom (3) is the minimum", DpiRules.valueOfPosition(3, s), 200],
            ["knob at the top (161) is the maximum", DpiRules.valueOfPosition(161, s), 6000],
            ["between steps: cut down", DpiRules.valueOfPosition(43, s), 1650],
            ["a fractional knob of a drag", DpiRules.valueOfPosition(42.3, s), 1600],
            ["wide: the maximum by ratio stays 16000, not 16100",
             DpiRules.valueOfPosition(DpiRules.positionOfValue(16000, wide), wide), 16000],
            ["off-step: the bottom is the minimum, not the step below", DpiRules.valueOfPosition(3, offStep), 250],
            ["no range (max = min): ratio 0", DpiRules.positionOfValue(500, { min: 500, max: 500, base: 50 }), 4],

            ["range: dpiBase 0 keeps the step", range("200", "6000", "0"), [200, 6000, 100, 1]],
            ["range: max equal to min keeps the pair", range("800", "800", "50"), [400, 8000, 50, 1]],
            ["range: absent keys", range(undefined, undefined, undefined), [400, 8000, 100, 2]],
            ["range: words, minimum 0", range("0", "6000", "fine"), [400, 8000, 100, 2]],

            ["typed: under half a step rounds down", DpiRules.typedValue("1624", s), 1600],
            ["typed: 0 is the minimum", DpiRules.typedValue("0", s), 200],
            ["typed: words", DpiRules.typedValue("12a", s), null],
            ["typed: a sign", DpiRules.typedValue("-400", s), null],
            ["typed: off-step range, the minimum is nearer", DpiRules.typedValue("260", offStep), 250],

            ["step: page down", DpiRules.stepValue(1600, -10, s), 1100],
            ["step: page up near the top", DpiRules.stepValue(5900, 10, s), 6000],
            ["step: down at the bottom", DpiRules.stepValue(200, -1, s), 200],
            ["step: off-step minimum, up to the next step", DpiRules.stepValue(250, 1, offStep), 300],
            ["step: off-step, down to the minimum", DpiRules.stepValue(300, -1, offStep), 250],

            ["offered: absent", DpiRules.offeredStages(undefined).usable, false],
            ["enabled: 0 is 1", enabled("0", 4, 4), [1, true]],
            ["enabled: words keep the current count", enabled("x", 4, 2), [2, true]],
        ].map(([tag, got, want]) => ({ tag, got, want }))
    }
    function test_rules(row) {
        compare(row.got, row.want)
    }

    // Every value of the shipped sensor and of a 100..12000 one, placed by ratio, reads back as itself.
    function test_roundTrip() {
        for (const r of [shipped, { min: 100, max: 12000, base: 100 }]) {
            for (var v = r.min; v <= r.max; v += r.base)
                compare(DpiRules.valueOfPosition(DpiRules.positionOfValue(v, r), r), v, String(v))
        }
    }

    // The stored list: eight values, each a whole step in the range; what is missing or no number keeps the value
    // shown before. faults: how many debug lines.
    function test_stageValues_data() {
        var before = [500, 1000, 1500, 2000, 3000, 4000, 5000, 6000]
        return [
            { tag: "long: the first eight", list: [300, 400, 500, 600, 700, 800, 900, 1000, 1100, 1200],
              values: [300, 400, 500, 600, 700, 800, 900, 1000], faults: 1 },
            { tag: "no numbers: kept", list: ["abc", "", "1600", " ", "NaN", "1e3x", "2000", "3000"],
              values: [500, 1000, 1600, 2000, 3000, 4000, 2000, 3000], faults: 5 },
            { tag: "out of range, off step", list: ["50", "7000", "1625", "1600", "1600", "1600", "1600", "1600"],
              values: [200, 6000, 1650, 1600, 1600, 1600, 1600, 1600], faults: 3 },
            { tag: "absent list", list: undefined, values: before, faults: 1 },
            { tag: "absent, nothing shown before", list: [], previous: [], values: new Array(8).fill(200), faults: 1 },
        ].map(row => Object.assign(row, { previous: row.previous || before }))
    }
    function test_stageValues(row) {
        var result = DpiRules.stageValues(row.list, shipped, row.previous)
        compare(result.values, row.values)
        compare(result.faults.length, row.faults, result.faults.join("; "))
    }
}
