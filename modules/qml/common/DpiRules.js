.pragma library
.import "Numbers.js" as Numbers

.import "../basic/SliderMath.js" as SliderMath

// Rules of the DPI panel: the sensor's range, the stage sliders' knob
// positions and the DPI values they stand for, typed and stepped values, the
// stage counts, and the stored lists made safe to show, store and send.
//
// A range is { min, max, base }: the sensor's lowest and highest DPI and its
// step. Each stage slider is 176 pixels long with the 12-pixel knob, so its
// knob runs over positions 3 (min, at the bottom) to 161 (max, at the top).

var stageCount = 8
var sliderLength = 176
var knobWidth = 12
var firstPosition = SliderMath.knobMin(knobWidth)
var lastPosition = SliderMath.knobMax(sliderLength, knobWidth)
var span = lastPosition - firstPosition

// The range the page starts with, and keeps when the global file's is unusable.
var defaultRange = { min: 200, max: 6000, base: 50 }

// A whole number from a stored or typed value; null for anything else.
function integer(value) {
    return Numbers.integer(value, null)
}

var clamp = Numbers.clamp

// The sensor's range from the global file's minDPI, maxDPI and dpiBase. A
// pair that is not two positive numbers with max above min, or a step that
// is not a positive number, keeps the fallback's (the page's current ones),
// so no value is ever divided by zero or placed out of the slider: {min, max,
// base, faults}, faults being what was refused, in words.
function sensorRange(min, max, base, fallback) {
    var keep = fallback || defaultRange
    var range = { min: keep.min, max: keep.max, base: keep.base, faults: [] }
    var low = integer(min), high = integer(max), step = integer(base)
    if (low === null || high === null || low < 1 || high <= low)
        range.faults.push("minDPI " + min + " and maxDPI " + max + " are no range; " + keep.min + ".." + keep.max
                          + " kept")
    else {
        range.min = low
        range.max = high
    }
    if (step === null || step < 1)
        range.faults.push("dpiBase " + base + " is no step; " + keep.base + " kept")
    else
        range.base = step
    return range
}

// The value a knob at position stands for: the range's share at that
// position, cut down to a whole step. The knob's ends are the range's ends; a
// knob placed one pixel past the top by ratio (see positionOfValue) or a range
// whose ends are no whole steps still gives a value inside the range.
function valueOfPosition(position, range) {
    var raw = (position - firstPosition) * (range.max - range.min) / span + range.min
    return clamp(Math.trunc(raw / range.base) * range.base, range.min, range.max)
}

// The share of the range up to value, 0..1.
function ratioOf(value, range) {
    return range.max > range.min ? clamp((value - range.min) / (range.max - range.min), 0, 1) : 0
}

// Where the knob goes for value: the integer part of 158 times its share,
// plus 4, as a slider places itself from a ratio.
function positionOfValue(value, range) {
    return SliderMath.ratioPosition(sliderLength, knobWidth, ratioOf(value, range))
}

// value on the nearest whole step within the range, or on an end of the range
// when that is nearer (a range whose ends are no whole steps).
function snap(value, range) {
    var stepped = clamp(Math.round(value / range.base) * range.base, range.min, range.max)
    var nearest = stepped
    for (var end of [range.min, range.max]) {
        if (Math.abs(end - value) < Math.abs(nearest - value))
            nearest = end
    }
    return nearest
}

// A typed value: digits only; null when there are none (the field then shows
// its value again).
function typedValue(text, range) {
    var digits = String(text === undefined || text === null ? "" : text).trim()
    if (!/^[0-9]+$/.test(digits))
        return null
    return snap(Number(digits), range)
}

// count steps up (or down, when negative) from value: a value between two
// steps first goes to the next one in that direction.
function stepValue(value, count, range) {
    var from = count >= 0 ? Math.floor(value / range.base) : Math.ceil(value / range.base)
    return clamp((from + count) * range.base, range.min, range.max)
}

// The stages a profile offers (mouse/dpiCount): usable only as a whole number
// 1..8. Anything else leaves the page as it was: {usable, count}.
function offeredStages(stored) {
    var n = integer(stored)
    return { usable: n !== null && n >= 1 && n <= stageCount, count: n }
}

// The stages enabled (mouse/currentDpiCount) within 1..offered; one that is
// no number keeps current, itself kept within 1..offered: {count, fault},
// fault saying in words what was refused or changed ("" for none).
function enabledStages(stored, offered, current) {
    var n = integer(stored)
    var count = clamp(n === null ? current : n, 1, offered)
    var fault = n === count ? "" : "currentDpiCount [" + stored + "] is not 1.." + offered + "; " + count + " taken"
    return { count: count, fault: fault }
}

// The eight stage values of a stored list, each on a whole step within the
// range. An item that is missing or no number keeps the value the page shows
// for that stage (previous); items past the eighth are not read. {values,
// faults}, faults being what was refused or changed, in words.
function stageValues(list, range, previous) {
    var items = Array.isArray(list) || (list && typeof list.length === "number") ? list : []
    var values = [], faults = []
    if (items.length !== stageCount)
        faults.push("dpiValueArray has " + items.length + " values, not " + stageCount)
    for (var i = 0; i < stageCount; ++i) {
        var n = i < items.length ? integer(items[i]) : null
        var kept = integer(previous && previous[i])
        var value = snap(n !== null ? n : kept !== null ? kept : range.min, range)
        if (i < items.length && n === null)
            faults.push("stage " + (i + 1) + " value [" + items[i] + "] is no number; " + value + " kept")
        else if (n !== null && n !== value)
            faults.push("stage " + (i + 1) + " value " + n + " is no step of " + range.min + ".." + range.max + " by "
                        + range.base + "; shown as " + value)
        values.push(value)
    }
    return { values: values, faults: faults }
}
