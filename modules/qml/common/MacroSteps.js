.pragma library

// The macro editor's rules: names of new macros, the steps as the editor
// shows them and as the macro file stores them, where an inserted step goes,
// what a typed delay or repeat count becomes, and how key events turn into
// recorded steps.
//
// A step is {type, info}: type 0 Delay (info: milliseconds as text),
// 1 KeyPress, 2 KeyRelease, 3 MousePress, 4 MouseRelease (info: the key's
// name). A stored string whose type is none of these is kept as a step of
// type unknownType whose info is the whole string, so that saving writes it
// back unchanged.

// The step types are the macro file's, as the encoder (ui_View.macroLength,
// ui_View.sendStoredMacro) reads them.
var Delay = 0
var KeyPress = 1
var KeyRelease = 2
var MousePress = 3
var MouseRelease = 4
var unknownType = -1

var maxMacros = 100
// The editor adds no step once the encoded macro is this long.
var lengthLimit = 126
var maxDelay = 65535
var maxTimesDigits = 4
var insertedDelay = "50"
// The first mouse-button code: these record as MousePress/MouseRelease.
var firstButtonCode = 0xF0
var filler = "loaderfiller"

// The names of a stored name list: a one-name list carries the filler as its
// second element, which is no macro.
function namesFromStored(stored) {
    var names = []
    for (var i = 0; stored && i < stored.length; ++i)
        names.push(String(stored[i]))
    if (names.length === 2 && names[1] === filler)
        names.pop()
    return names
}

// The names of a list model with the role textValue.
function namesOf(model) {
    var names = []
    for (var i = 0; i < model.count; ++i)
        names.push(model.get(i).textValue)
    return names
}

// The steps of a list model with the roles type and info.
function stepsOf(model) {
    var steps = []
    for (var i = 0; i < model.count; ++i) {
        var step = model.get(i)
        steps.push({ type: step.type, info: step.info })
    }
    return steps
}

// "Macro_" and the lowest n in 0..99 that no entry bears; 100 when all are.
function newName(names) {
    var n = 0
    while (n < maxMacros && names.indexOf("Macro_" + n) >= 0)
        ++n
    return "Macro_" + n
}

function canAdd(names) {
    return names.length < maxMacros
}

// Why a rename of entry position to text is not taken: "same" (no change),
// "empty", "taken" (another entry bears it), "filler" (the name list's
// filler, which reading would drop); "" when it may go ahead.
function renameRefusal(names, position, text) {
    if (names[position] === text)
        return "same"
    if (text.length === 0)
        return "empty"
    if (text === filler)
        return "filler"
    for (var i = 0; i < names.length; ++i) {
        if (i !== position && names[i] === text)
            return "taken"
    }
    return ""
}

// The entry current after deleting position from a list that now has count
// entries: the one that took its place, else the new last; -1 when empty.
function afterDelete(position, count) {
    return position < count ? position : count - 1
}

function isWholeNumber(text) {
    return /^[0-9]+$/.test(text)
}

// A step from a stored action string: the type from the first character, the
// information from the third on. A Delay whose information is no whole
// number shows and counts as 0.
function stepFromString(text) {
    text = String(text)
    var type = /^[0-4]$/.test(text.charAt(0)) ? Number(text.charAt(0)) : unknownType
    if (type === unknownType)
        return { type: type, info: text }
    var info = text.substring(2)
    if (type === Delay && !isWholeNumber(info))
        info = "0"
    return { type: type, info: info }
}

function stepToString(step) {
    return step.type === unknownType ? step.info : step.type + "," + step.info
}

// The steps and the Times text of what loadMacroIni returns: every element
// but the last is a step, the last the repeat count. Null for an empty
// result (no file): the page then keeps its Times field.
function fromStored(stored) {
    if (!stored || stored.length === 0)
        return null
    var steps = []
    for (var i = 0; i < stored.length - 1; ++i)
        steps.push(stepFromString(stored[i]))
    return { steps: steps, times: timesText(stored[stored.length - 1]) }
}

// The Times field's text for a stored repeat count: whole numbers as they
// are, up to the field's four digits; anything else 0.
function timesText(stored) {
    var text = String(stored === undefined || stored === null ? "" : stored).trim()
    if (!isWholeNumber(text))
        return "0"
    var n = Number(text)
    return String(Math.min(n, Math.pow(10, maxTimesDigits) - 1))
}

// The repeat count saved for the Times field's text (empty or not a number:
// 0).
function timesValue(text) {
    return isWholeNumber(String(text)) ? Number(text) : 0
}

// What the step list shows as a step's information.
function shownInfo(type, info) {
    return type === Delay ? info + " ms" : info
}

// How a step reads to a screen reader: "3 Key press A", "4 Delay 50 ms".
function spokenStep(number, type, info) {
    var words = ["Delay", "Key press", "Key release", "Button press", "Button release"]
    return number + " " + (type >= Delay && type <= MouseRelease ? words[type] : "Step") + " " + shownInfo(type, info)
}

// A typed delay: a whole number of milliseconds 0..65535 (surrounding
// spaces and leading zeros allowed), as text; anything else gives old back.
function parseDelay(text, old) {
    var trimmed = String(text).trim()
    if (!isWholeNumber(trimmed) || Number(trimmed) > maxDelay)
        return old
    return String(Number(trimmed))
}

function hasCurrent(current, count) {
    return current >= 0 && current < count
}

// Where Insert Delay puts its step: before the current step; at the end when
// there is none.
function delayInsertAt(current, count) {
    return hasCurrent(current, count) ? current : count
}

// Where the insert-key dialog puts its press: before the current step, or at
// the end when the current step is the last one or there is none.
function keyInsertAt(current, count) {
    return hasCurrent(current, count - 1) ? current : count
}

// Where an inserted click puts its press: right after the current step, or at
// the end when the current step is the last one or there is none.
function clickInsertAt(current, count) {
    return hasCurrent(current, count - 1) ? current + 1 : count
}

// Where Import puts its entry: before the current entry; at the end when
// there is none.
function importAt(current, count) {
    return hasCurrent(current, count) ? current : count
}

// A recording: the key codes held since it started, each with the position
// of its press step.
function newRecording() {
    return { held: {} }
}

// The steps a key event adds to a recording of steps, ticks (10 ms) after the
// last recorded one: a Delay (only with withDelay, and not before the first
// step) and the press or release named name. A press of a key already held
// (auto-repeat) and a release of a key that went down before the recording
// started add nothing, and so does any event once the macro is lengthLimit
// long (encodedLength(steps) gives that length).
function recordedSteps(recording, steps, encodedLength, isDown, code, ticks, withDelay, name) {
    var held = recording.held.hasOwnProperty(code)
    if (isDown === held || encodedLength(steps) >= lengthLimit)
        return []
    var added = []
    if (steps.length > 0 && withDelay)
        added.push({ type: Delay, info: String(Math.max(0, Math.round(ticks)) * 10) })
    var button = code >= firstButtonCode
    added.push({ type: isDown ? (button ? MousePress : KeyPress) : (button ? MouseRelease : KeyRelease), info: name })
    if (isDown)
        recording.held[code] = steps.length + added.length - 1
    else
        delete recording.held[code]
    return added
}

// The steps of a recording once it stops, without half steps. The keys still
// held whose presses end the recording (nothing but Delays and such presses
// follow them) lose those presses and the Delays among them: a key pressed to
// stop is no part of the macro. A key held across later steps (a modifier
// still down when stopping) is released at the end, the last pressed first.
function finishedSteps(recording, steps) {
    var heldAt = {}
    for (var code in recording.held)
        heldAt[recording.held[code]] = true
    recording.held = {}
    var cut = steps.length
    while (cut > 0 && (steps[cut - 1].type === Delay || heldAt[cut - 1]))
        --cut
    var result = steps.slice(0, cut)
    for (var i = cut - 1; i >= 0; --i) {
        if (heldAt[i])
            result.push({ type: steps[i].type === MousePress ? MouseRelease : KeyRelease, info: steps[i].info })
    }
    return result
}
