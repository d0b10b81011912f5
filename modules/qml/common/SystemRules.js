.pragma library

// Rules of the system settings dialog: the eleven steps of its two speed
// sliders, where the arrow keys move their knobs, the number of rows the
// wheel scrolls, and the values read back from a profile.
//
// The sliders are 352 pixels long; with the skin's 12-pixel knob they report
// positions 3..337. The bounds split that run into steps 0..10: position 3 is
// step 0, 4..36 step 1, 37..69 step 2, and so on up to 305..337, step 10.
var bounds = [4, 37, 70, 104, 138, 172, 205, 239, 272, 305, 338]
var sliderWidth = 352
var positionMin = 3
var positionMax = 337
var stepMax = 10

// The wheel scrolls 1..100 rows a notch, or one screen, which is stored as
// 1000; any stored value above 100 stands for one screen.
var rowsMin = 1
var rowsMax = 100
var oneScreen = 1000

// The values of the shipped factory profile, for a profile whose value is no
// number.
var defaultMouseRate = 170
var defaultDoubleRate = 188
var defaultScrollLines = 3

// The step of a knob position: the first bound above it. A position past the
// last bound is the last step, so a knob never wraps round to the slowest
// setting.
function stepOf(position, compare) {
    var b = compare || bounds
    for (var i = 0; i < b.length; ++i) {
        if (position < b[i])
            return i
    }
    return b.length - 1
}

// The lowest knob position of a step, 0..10; a step outside that range is
// taken as the nearest end.
function stepPosition(step, compare) {
    var b = compare || bounds
    var s = Math.max(0, Math.min(b.length - 1, step))
    return s === 0 ? positionMin : b[s - 1]
}

// Where an arrow or Page key puts a knob at position: count steps on (back
// when negative) from the step it is in, at that step's lowest position,
// never past either end.
function keyPosition(position, count, compare) {
    return stepPosition(stepOf(position, compare) + count, compare)
}

// A whole number from a stored or typed value; null for anything else
// (absent, empty, words, a fraction, not finite).
function integer(value) {
    var text = String(value === undefined || value === null ? "" : value).trim()
    if (!/^[+-]?\d+$/.test(text))
        return null
    return Number(text)
}

// A knob position read from a profile: {value, problem}. A whole number is
// kept inside the knob's run; anything else is fallback. problem says what
// was wrong ("" when the value is used as stored).
function storedPosition(stored, fallback) {
    var n = integer(stored)
    if (n === null)
        return { value: fallback, problem: "not a number" }
    if (n < positionMin || n > positionMax)
        return { value: Math.max(positionMin, Math.min(positionMax, n)), problem: "out of range" }
    return { value: n, problem: "" }
}

// The wheel setting read from a profile: {value, problem}. Above 100 is one
// screen (1000), below 1 is 1 row, and what is no whole number the shipped
// 3 rows.
function storedLines(stored) {
    var n = integer(stored)
    if (n === null)
        return { value: defaultScrollLines, problem: "not a number" }
    if (n > rowsMax)
        return { value: oneScreen, problem: "" }
    if (n < rowsMin)
        return { value: rowsMin, problem: "out of range" }
    return { value: n, problem: "" }
}

function isOneScreen(lines) {
    return lines > rowsMax
}

// The rows a typed text stands for when the input ends: empty, words or less
// than 1 is 1; more than 100 is 100.
function typedRows(text) {
    var n = integer(text)
    if (n === null || n < rowsMin)
        return rowsMin
    return Math.min(rowsMax, n)
}
