.pragma library

// The arithmetic of the pages' horizontal sliders. A slider reports the pixel
// position of its knob, not a value of its own; each page maps that position
// to its own range. w is the slider's width and k the knob's width (12 for
// the skin's knob); the knob runs from k/4 to w - k - k/4, and with segment
// steps, step i sits at k/4 + i * (range / segment).

function knobMin(k) {
    return k / 4
}

function knobMax(w, k) {
    return w - k - k / 4
}

function stepWidth(w, k, segment) {
    return segment > 0 ? (knobMax(w, k) - knobMin(k)) / segment : 0
}

function stepPosition(w, k, segment, i) {
    return knobMin(k) + stepWidth(w, k, segment) * i
}

function clamp(x, w, k) {
    return Math.max(knobMin(k), Math.min(knobMax(w, k), x))
}

// setRatioValue: ratio 0 is one pixel right of the left end and ratio 1 one
// pixel beyond the right end, as the pages expect.
function ratioPosition(w, k, ratio) {
    return Math.trunc((knobMax(w, k) - knobMin(k)) * ratio) + knobMin(k) + 1
}

// The first step in 0..segment-1 whose position (plus slack) reaches x, else
// the last step: {index, position}.
function snap(x, w, k, segment, slack) {
    var i = 0
    while (i < segment && stepPosition(w, k, segment, i) + slack < x)
        ++i
    return { index: i, position: stepPosition(w, k, segment, i) }
}

// A click at pointer x on the track: the knob centres under the pointer,
// within its range, and with steps on goes to the first step at or past it.
function clickTarget(x, w, k, segment, isScale) {
    var target = clamp(x - k / 2, w, k)
    return isScale ? snap(target, w, k, segment, 0) : { index: -1, position: target }
}

// A drag: the knob follows the pointer's offset from where it was pressed.
function dragPosition(knobAtPress, pointerAtPress, pointer, w, k) {
    return clamp(knobAtPress + pointer - pointerAtPress, w, k)
}

// A release after a drag with steps on: a knob up to one pixel past a step
// snaps back to it.
function releaseSnap(x, w, k, segment) {
    return snap(x, w, k, segment, 1)
}

// How far Page Up/Down move: several steps with steps on, ten pixels without.
function pageSize(segment, isScale) {
    return isScale ? Math.max(2, Math.round(segment / 4)) : 10
}

// A key press moving the knob count steps (with steps on, from step index) or
// count whole pixels (from x), never past either end: {index, position}.
function keyTarget(x, index, w, k, segment, isScale, count) {
    if (isScale) {
        var i = Math.max(0, Math.min(segment, index + count))
        return { index: i, position: stepPosition(w, k, segment, i) }
    }
    return { index: -1, position: clamp(Math.round(x) + count, w, k) }
}
