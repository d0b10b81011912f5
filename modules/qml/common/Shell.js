.pragma library

// Rules of the main window's frame: the report-rate box, the editor box and
// the dialogs that can be dragged inside the window.

// The rate code the mouse takes for a position of the report-rate list
// ("125Hz", "250Hz", "500Hz", "1000Hz"): 8, 4, 2, and 1 for any other.
function reportRateCode(index) {
    return [8, 4, 2][index] || 1
}

// The list position for a stored report rate (a number, or its text after a
// restart), taken as a number: an absent value (empty text) is 0. A value
// that is no position of the list shows as the last one, whose code (1) is
// also what such a value sends.
function reportRateIndex(stored) {
    var index = Number(stored)
    return Number.isInteger(index) && index >= 0 && index <= 3 ? index : 3
}

// The editor box holds the gun editor's entry only on a gun mouse.
function editorBoxHeight(isGun) {
    return isGun ? 100 : 76
}

// Where a dragged dialog of size may sit inside a window of windowSize,
// along one axis: between 0 and the window size minus its size.
function clampToWindow(position, size, windowSize) {
    return Math.max(0, Math.min(windowSize - size, position))
}

// A flag of the global file ("true"/"false", or 1/0) as a boolean; an absent
// or unreadable value keeps the declared default.
function flag(stored, fallback) {
    if (stored === true || stored === false)
        return stored
    var text = String(stored).trim().toLowerCase()
    if (text === "true" || text === "1")
        return true
    if (text === "false" || text === "0")
        return false
    return fallback
}

// A text of the global file; absent keeps the declared default.
function text(stored, fallback) {
    return stored === undefined || stored === null ? fallback : String(stored)
}

// A whole number of the global file within min..max; anything else keeps the
// default.
function integer(stored, fallback, min, max) {
    if (stored === undefined || stored === null || String(stored).trim() === "")
        return fallback
    var n = Number(stored)
    return Number.isInteger(n) && n >= min && n <= max ? n : fallback
}

// The texts of a language group over the built-in ones: a loaded text
// replaces the built-in one at its index, and built-in texts past the end of
// a shorter (or missing) group stay.
function mergeTexts(builtIn, loaded) {
    var texts = builtIn.slice()
    if (!Array.isArray(loaded) && !(loaded && typeof loaded.length === "number"))
        return texts
    for (var i = 0; i < loaded.length && i < texts.length; ++i)
        texts[i] = String(loaded[i])
    return texts
}
