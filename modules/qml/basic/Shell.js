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
