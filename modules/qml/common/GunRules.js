.pragma library
.import "Numbers.js" as Numbers

// Rules of the gun editor: the red dot on the target and the vertical
// compensation it stands for, the fire-rate slider and its text, the shot
// count and the "Endness" box. Values from the gun file arrive as texts.

// The dot's y in the dialog runs from dotTop (compensation 0) to dotBottom
// (compensation yMax).
var dotTop = 89
var dotBottom = 183
var yMax = 64
var timesMax = 255

// The rate slider: its knob runs over 86 pixels (a 104-pixel slider with the
// 12-pixel knob, 3 to 89), and the fire periods 5..91 ms lie along it.
var rateSliderWidth = 104
var periodMin = 5
var periodSpan = 86

// A whole number from a stored or typed text; anything else (empty, words,
// undefined) is fallback.
function integer(text, fallback) {
    return Numbers.integer(text, fallback)
}

var clamp = Numbers.clamp

// A compensation (0..64) as typed or stored; out of range is clamped and
// what is no number is 0.
function clampY(text) {
    return clamp(integer(text, 0), 0, yMax)
}

// A shot count (0..255; 0 is endless), the same way.
function clampTimes(text) {
    return clamp(integer(text, 0), 0, timesMax)
}

// Where the dot sits for compensation y.
function dotOf(y) {
    return dotTop + (dotBottom - dotTop) * clampY(y) / yMax
}

// The compensation a dot at y stands for: the integer part of the dot's share
// of its run. Multiplying before dividing keeps every dotOf(y) exact, so the
// dot and the value always agree.
function yOfDot(dotY) {
    var d = clamp(dotY, dotTop, dotBottom) - dotTop
    return Math.floor(d * yMax / (dotBottom - dotTop))
}

// The period a slider knob position stands for, and the text the rate field
// shows for it ("10MS").
function periodOfPosition(position) {
    return Math.trunc(position) + 1
}

function rateText(period) {
    return String(period) + "MS"
}

// The number in front of "MS" ("10MS" and "9 MS" alike); -1 when the text
// starts with none.
function periodOfText(text) {
    var n = parseInt(String(text), 10)
    return isNaN(n) ? -1 : n
}

// Where a preset's period lies along the rate slider, 0..1; a period that is
// no number is the presets' own 10.
function rateRatio(period) {
    return clamp((integer(period, 10) - periodMin) / periodSpan, 0, 1)
}

// The knob position for a period: ratio placement (one pixel right of the
// knob's left end, as the sliders place a ratio), rounded so that period p
// always lands at p - 1 and reads back as p.
function ratePosition(period) {
    var k = 12
    var span = rateSliderWidth - k - k / 2
    return Math.round(span * rateRatio(period)) + k / 4 + 1
}

// The "Endness" box shows whether the preset fires until the button is let
// go: a shot count of 0.
function isEndless(times) {
    return clampTimes(times) === 0
}

// The slots (1..3) whose preset is index, as "1 3"; empty when none.
function slotMarks(presets, index) {
    var marks = []
    for (var s = 0; s < presets.length; ++s) {
        if (presets[s] === index)
            marks.push(String(s + 1))
    }
    return marks.join(" ")
}

// The fire periods of the presets in the three slots, in slot order, as the
// key matrix carries them: each preset's stored period read as a base-10
// number, 10 where a slot names no preset or the period is no number.
function slotPeriods(periods, slots) {
    return slots.map(function (preset) {
        var period = parseInt(periods[preset], 10)
        return isNaN(period) ? 10 : period
    })
}
