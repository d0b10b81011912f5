.pragma library

// The macro payload the mouse plays, built from the editor's action list.
//
// An action is {type, info}: type 0 Delay (info: milliseconds), 1 KeyPress,
// 2 KeyRelease, 3 MousePress, 4 MouseRelease (info: the key's name). The
// payload is a list of byte values:
//   repeat high, repeat low,
//   one pair (D, K) per key or button action, in play order, where K is the
//   key code and D the wait after the action in 10 ms units (1..126), with
//   bit 7 set for a release; D = 0 announces a long wait in two extension
//   pairs (0x00, mode) (count high, count low): mode 1 counts 20 ms (waits of
//   127..99,999 units), mode 2 50 ms (100,000..299,999), mode 3 100 ms
//   (300,000..599,999), the count rounded down;
//   the end pair (0x00, 0x00).
// Delays before the first action and after the last are not encoded; the
// last action waits 10 ms. Without any action the payload is the two repeat
// bytes alone.
//
// Choices where the pages leave it open:
// - Waits that are not whole 10 ms units: the milliseconds of the delays
//   between two actions are added up first and the sum is rounded once to the
//   nearest unit, halves up (55 ms plays as 60 ms, 54 ms as 50 ms, five
//   delays of 5 ms as 30 ms). Rounding each entry on its own would let the
//   error grow with the number of entries, and rounding down would play a
//   typed 59 ms as 50 ms.
// - Waits of 600,000 units (6000 s) or more have no mode of their own; they
//   are clamped to 599,999 units (mode 3, count 59,999: 5999.9 s). Splitting
//   such a wait would need extra action pairs, which the device would play
//   as key events of their own, and the payload would no longer have the
//   length recordCount gives; a wait of over 100 minutes losing its excess
//   is the smaller surprise.
// - The repeat count is a 16-bit number: a value that is not a number counts
//   as 0, fractions are dropped and it is clamped to 0..65535.
// - Entries of an unknown type are skipped.
//
// The device takes at most 128 bytes. A list that encodes longer is cut
// after the last action at which every key and button it pressed has been
// released again and the cut payload, closed with the end pair, still fits;
// so the mouse never receives a press without its release. Without such a
// point the payload holds no action. recordCount counts the whole list, cut
// or not, since the editor limits the list by it.

var Delay = 0
var KeyPress = 1
var KeyRelease = 2
var MousePress = 3
var MouseRelease = 4

var payloadLimit = 128
var longWait = 127        // units from which a wait needs the extension
var longestWait = 599999  // units

function isAction(type) {
    return type >= KeyPress && type <= MouseRelease
}

function isRelease(type) {
    return type === KeyRelease || type === MouseRelease
}

function delayMs(info) {
    var ms = Number(info)
    if (!isFinite(ms) || ms < 0) {
        console.log("MacroCodec: delay " + info + " is not a number of milliseconds - taken as 0")
        return 0
    }
    return ms
}

// The actions in play order, each with the wait that follows it in 10 ms
// units (0 after the last one).
function steps(actions) {
    var result = []
    var pendingMs = 0
    for (var i = 0; actions && i < actions.length; ++i) {
        var action = actions[i]
        var type = action ? parseInt(String(action.type), 10) : NaN
        if (type === Delay) {
            if (result.length > 0)
                pendingMs += delayMs(action.info)
        } else if (isAction(type)) {
            if (result.length > 0)
                result[result.length - 1].wait = Math.min(Math.round(pendingMs / 10), longestWait)
            var info = action.info === undefined || action.info === null ? "" : String(action.info)
            result.push({ release: isRelease(type), info: info, wait: 0 })
            pendingMs = 0
        } else {
            console.log("MacroCodec: action type " + (action ? action.type : action) + " skipped")
        }
    }
    return result
}

function pairLength(step, isLast) {
    return isLast || step.wait < longWait ? 2 : 6
}

function lengthOf(list, count) {
    if (count === 0)
        return 2
    var length = 4
    for (var i = 0; i < count; ++i)
        length += pairLength(list[i], i === count - 1)
    return length
}

function appendPair(bytes, step, code, isLast) {
    var releaseBit = step.release ? 0x80 : 0
    if (isLast) {
        bytes.push(0x01 | releaseBit, code)
    } else if (step.wait < longWait) {
        bytes.push((step.wait === 0 ? 1 : step.wait) | releaseBit, code)
    } else {
        var mode = step.wait < 100000 ? 1 : step.wait < 300000 ? 2 : 3
        var count = Math.floor(step.wait / [0, 2, 5, 10][mode])
        bytes.push(releaseBit, code, 0x00, mode, (count >> 8) & 0xff, count & 0xff)
    }
}

// How many actions of the list go out: all when they fit, else the longest
// run from the start that fits and leaves nothing pressed.
function fittingCount(list, codes) {
    if (lengthOf(list, list.length) <= payloadLimit)
        return list.length
    var held = {}
    var heldCount = 0
    var best = 0
    for (var k = 1; k <= list.length && lengthOf(list, k) <= payloadLimit; ++k) {
        var code = codes[k - 1]
        if (!list[k - 1].release && !held[code]) {
            held[code] = true
            ++heldCount
        } else if (list[k - 1].release && held[code]) {
            delete held[code]
            --heldCount
        }
        if (heldCount === 0)
            best = k
    }
    console.log("MacroCodec: " + list.length + " actions do not fit in " + payloadLimit + " bytes - the first "
                + best + " are sent")
    return best
}

function repeatCount(repeat) {
    var r = Math.floor(Number(repeat))
    if (!isFinite(r))
        return 0
    return Math.max(0, Math.min(r, 0xffff))
}

// The payload of actions played repeat times, as byte values (at most 128).
// strTokeycode(name) gives a key name's code (0 for an unknown name).
function deCode(actions, repeat, strTokeycode) {
    var r = repeatCount(repeat)
    var bytes = [(r >> 8) & 0xff, r & 0xff]
    var list = steps(actions)
    var codes = []
    for (var i = 0; i < list.length; ++i) {
        var code = typeof strTokeycode === "function" ? Number(strTokeycode(list[i].info)) : 0
        codes.push(isFinite(code) ? code & 0xff : 0)
    }
    var count = fittingCount(list, codes)
    if (count === 0)
        return bytes
    for (var j = 0; j < count; ++j)
        appendPair(bytes, list[j], codes[j], j === count - 1)
    bytes.push(0x00, 0x00)
    return bytes
}

// The encoded length of the whole list, repeat bytes and end pair included:
// 4 + 2 per action + 4 per wait of 127 units or more between two actions;
// 2 without any action.
function recordCount(actions) {
    var list = steps(actions)
    return lengthOf(list, list.length)
}

// The actions of a stored macro as loadMacroIni returns it: every string but
// the last (the repeat count), type from the first character, information
// from the third on.
function actionsFromStrings(strings) {
    var result = []
    for (var i = 0; strings && i < strings.length - 1; ++i) {
        var text = String(strings[i])
        result.push({ type: Number(text.charAt(0)), info: text.substring(2) })
    }
    return result
}
