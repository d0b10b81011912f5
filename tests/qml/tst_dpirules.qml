import QtQuick
import QtTest
import "../../modules/qml/basic/DpiRules.js" as DpiRules

// The DPI panel's rules: knob positions and the values they stand for, the
// sensor's range from the global file, typed and stepped values, the stage
// counts, and stored value lists made safe.
TestCase {
    name: "DpiRules"

    readonly property var shipped: ({ min: 200, max: 6000, base: 50 })
    // A sensor whose range is wider than the slider has pixels.
    readonly property var wide: ({ min: 100, max: 16000, base: 100 })
    // A range whose lower end is no whole step.
    readonly property var offStep: ({ min: 250, max: 4000, base: 100 })

    function test_position_data() {
        var s = shipped
        return [
            ["knob at the bottom (3) is the minimum", DpiRules.valueOfPosition(3, s), 200],
            ["knob at the top (161) is the maximum", DpiRules.valueOfPosition(161, s), 6000],
            ["1600 places the knob at 42", DpiRules.positionOfValue(1600, s), 42],
            ["and 42 shows 1600 again", DpiRules.valueOfPosition(42, s), 1600],
            ["the minimum by ratio: 4", DpiRules.positionOfValue(200, s), 4],
            ["the maximum by ratio: 162, past the drag range", DpiRules.positionOfValue(6000, s), 162],
            ["162 is still the maximum", DpiRules.valueOfPosition(162, s), 6000],
            ["a value between steps is cut down", DpiRules.valueOfPosition(43, s), 1650],
            ["a fractional knob of a drag", DpiRules.valueOfPosition(42.3, s), 1600],
            ["a value outside the range places at an end", DpiRules.positionOfValue(9000, s), 162],
            ["wide: the maximum by ratio stays the maximum, not 16100",
             DpiRules.valueOfPosition(DpiRules.positionOfValue(16000, wide), wide), 16000],
            ["wide: the bottom is the minimum", DpiRules.valueOfPosition(3, wide), 100],
            ["off-step: the bottom is the minimum, not the step below", DpiRules.valueOfPosition(3, offStep), 250],
            ["no range (max = min): ratio 0", DpiRules.positionOfValue(500, { min: 500, max: 500, base: 50 }), 4],
        ].map(([tag, got, want]) => ({ tag, got, want }))
    }
    function test_position(row) {
        compare(row.got, row.want)
    }

    // Every value the shipped and a 100..12000 sensor offer, placed by ratio,
    // reads back as itself.
    function test_roundTrip_data() {
        return [{ tag: "200..6000 by 50", range: shipped }, { tag: "100..12000 by 100", range: { min: 100, max: 12000,
                                                                                              base: 100 } }]
    }
    function test_roundTrip(row) {
        for (var v = row.range.min; v <= row.range.max; v += row.range.base)
            compare(DpiRules.valueOfPosition(DpiRules.positionOfValue(v, row.range), row.range), v, String(v))
    }

    // The global file's minDPI, maxDPI and dpiBase; fallback: the page's current ones.
    function test_sensorRange_data() {
        var now = { min: 400, max: 8000, base: 100 }
        return [
            ["texts of the file", ["200", "6000", "50"], [200, 6000, 50, 0]],
            ["max equal to min: the pair kept", ["800", "800", "50"], [400, 8000, 50, 1]],
            ["max below min: the pair kept", ["6000", "200", "50"], [400, 8000, 50, 1]],
            ["dpiBase 0: the step kept", ["200", "6000", "0"], [200, 6000, 100, 1]],
            ["dpiBase negative", ["200", "6000", "-50"], [200, 6000, 100, 1]],
            ["absent keys", [undefined, undefined, undefined], [400, 8000, 100, 2]],
            ["words", ["low", "6000", "fine"], [400, 8000, 100, 2]],
            ["minimum 0 is no sensor's", ["0", "6000", "50"], [400, 8000, 50, 1]],
            ["spaces around", [" 100 ", "12000 ", "100"], [100, 12000, 100, 0]],
        ].map(([tag, stored, want]) => {
            var r = DpiRules.sensorRange(stored[0], stored[1], stored[2], now)
            return { tag, got: [r.min, r.max, r.base, r.faults.length], want }
        })
    }
    function test_sensorRange(row) {
        compare(row.got, row.want)
    }

    // A value typed under a slider: digits only, on the nearest whole step within the range.
    function test_typed_data() {
        var s = shipped
        return [
            ["exact", DpiRules.typedValue("1600", s), 1600],
            ["half a step rounds up", DpiRules.typedValue("1625", s), 1650],
            ["just under half a step rounds down", DpiRules.typedValue("1624", s), 1600],
            ["above the maximum", DpiRules.typedValue("99999", s), 6000],
            ["0 is the minimum", DpiRules.typedValue("0", s), 200],
            ["leading zeros", DpiRules.typedValue("0800", s), 800],
            ["empty: nothing taken", DpiRules.typedValue("", s), null],
            ["words", DpiRules.typedValue("12a", s), null],
            ["a sign", DpiRules.typedValue("-400", s), null],
            ["off-step range: near the minimum", DpiRules.typedValue("260", offStep), 250],
        ].map(([tag, got, want]) => ({ tag, got, want }))
    }
    function test_typed(row) {
        compare(row.got, row.want)
    }

    // Arrow keys move one dpiBase, Page keys ten, never past the ends.
    function test_step_data() {
        var s = shipped
        return [
            ["up", DpiRules.stepValue(1600, 1, s), 1650],
            ["down", DpiRules.stepValue(1600, -1, s), 1550],
            ["page up", DpiRules.stepValue(1600, 10, s), 2100],
            ["page up near the top", DpiRules.stepValue(5900, 10, s), 6000],
            ["down at the bottom", DpiRules.stepValue(200, -1, s), 200],
            ["end", DpiRules.stepValue(200, 100000, s), 6000],
            ["off-step minimum, up: the next step", DpiRules.stepValue(250, 1, offStep), 300],
            ["off-step, down to the minimum", DpiRules.stepValue(300, -1, offStep), 250],
        ].map(([tag, got, want]) => ({ tag, got, want }))
    }
    function test_step(row) {
        compare(row.got, row.want)
    }

    // mouse/dpiCount: usable only as 1..8; mouse/currentDpiCount: within 1..offered.
    function test_counts_data() {
        var offered = stored => DpiRules.offeredStages(stored).usable
        var enabled = (stored, of, current) => {
            var e = DpiRules.enabledStages(stored, of, current)
            return [e.count, e.fault !== ""]
        }
        return [
            ["8 stages offered", offered("8"), true],
            ["9 stages offered: above 8", offered("9"), false],
            ["1 stage offered", offered(1), true],
            ["0 stages offered", offered("0"), false],
            ["absent", offered(undefined), false],
            ["words", offered("four"), false],
            ["3 of 4 enabled", enabled("3", 4, 4), [3, false]],
            ["0 enabled: 1", enabled("0", 4, 4), [1, true]],
            ["6 enabled of 4 offered: 4", enabled("6", 4, 2), [4, true]],
            ["words: the current count kept", enabled("x", 4, 2), [2, true]],
            ["absent, current above the offer: the offer", enabled(undefined, 4, 8), [4, true]],
        ].map(([tag, got, want]) => ({ tag, got, want }))
    }
    function test_counts(row) {
        compare(row.got, row.want)
    }

    // The stored list: eight values shown, each a whole step in the range; what is missing or no number keeps the
    // value shown before. faults: how many debug lines.
    function test_stageValues_data() {
        var before = [500, 1000, 1500, 2000, 3000, 4000, 5000, 6000]
        return [
            { tag: "eight texts", list: ["400", "800", "1200", "1600", "2400", "3200", "4800", "6000"],
              values: [400, 800, 1200, 1600, 2400, 3200, 4800, 6000], faults: 0 },
            { tag: "short: the rest kept", list: ["400", "800", "1200"],
              values: [400, 800, 1200, 2000, 3000, 4000, 5000, 6000], faults: 1 },
            { tag: "long: the first eight", list: [1, 2, 3, 4, 5, 6, 7, 8, 9, 10].map(n => 100 * n + 200),
              values: [300, 400, 500, 600, 700, 800, 900, 1000], faults: 1 },
            { tag: "no numbers: kept", list: ["abc", "", "1600", " ", "NaN", "1e3x", "2000", "3000"],
              values: [500, 1000, 1600, 2000, 3000, 4000, 2000, 3000], faults: 5 },
            { tag: "out of range and off step", list: ["50", "7000", "1625", "1600", "1600", "1600", "1600", "1600"],
              values: [200, 6000, 1650, 1600, 1600, 1600, 1600, 1600], faults: 3 },
            { tag: "absent list", list: undefined, values: before, faults: 1 },
            { tag: "absent list, nothing shown before", list: [], previous: [], values: [200, 200, 200, 200, 200, 200,
                                                                                   200, 200], faults: 1 },
        ]
    }
    function test_stageValues(row) {
        var result = DpiRules.stageValues(row.list, shipped, row.previous || [500, 1000, 1500, 2000, 3000, 4000, 5000,
                                                                             6000])
        compare(result.values, row.values)
        compare(result.faults.length, row.faults, result.faults.join("; "))
        verify(result.values.every(v => Number.isInteger(v)))
    }
}
