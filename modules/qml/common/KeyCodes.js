.pragma library

// The functions the button-assignment dialog offers, in page form (keyCode0 the
// class, keyCode1..3 its parameters), and the text shown for an entry. Each
// option names its text by its position in the dialog's language array.

// Mouse Function: Left, Middle, Right, Forward, Back and Double Fire. The
// hidden option stands apart: it goes to the mouse as a function of its own,
// not as a left click, so it must not be shown as one.
var mouseOptions = [
    { lang: 2, codes: [0, 0, 0xF0, 0] },
    { lang: 3, codes: [0, 0, 0xF2, 0] },
    { lang: 4, codes: [0, 0, 0xF1, 0] },
    { lang: 5, codes: [0, 0, 0xF4, 0] },
    { lang: 6, codes: [0, 0, 0xF3, 0] },
    { lang: 7, codes: [0, 0xF0, 0x1E, 0x02] },
]
var hiddenOption = { lang: 57, codes: [0, 0xF0, 0xF0, 0xF0] }

var mediaOptions = [
    { lang: 27, codes: [3, 0, 0x83, 0x01] },
    { lang: 28, codes: [3, 0, 0xB5, 0] },
    { lang: 29, codes: [3, 0, 0xB6, 0] },
    { lang: 30, codes: [3, 0, 0xB7, 0] },
    { lang: 31, codes: [3, 0, 0xE2, 0] },
    { lang: 32, codes: [3, 0, 0xCD, 0] },
    { lang: 33, codes: [3, 0, 0xE9, 0] },
    { lang: 34, codes: [3, 0, 0xEA, 0] },
]

var dpiOptions = [
    { lang: 22, codes: [5, 0, 1, 0] },
    { lang: 23, codes: [5, 0, 2, 0] },
    { lang: 24, codes: [5, 0, 3, 0] },
    { lang: 56, codes: [5, 0, 4, 0] },
]

var windowsOptions = [
    { lang: 35, codes: [6, 0, 0x94, 0x01] },
    { lang: 36, codes: [6, 0, 0x23, 0x02] },
    { lang: 37, codes: [6, 0, 0x21, 0x02] },
    { lang: 38, codes: [6, 0x04, 0x2C, 0x1B] },
    { lang: 39, codes: [6, 0x04, 0x2C, 0x11] },
    { lang: 40, codes: [6, 0, 0xE3, 0x07] },
    { lang: 41, codes: [6, 0, 0xE3, 0x15] },
]

var shortcutOptions = [
    { lang: 42, codes: [7, 0, 0xE0, 0x11] },
    { lang: 43, codes: [7, 0, 0xE0, 0x1B] },
    { lang: 44, codes: [7, 0, 0xE0, 0x06] },
    { lang: 45, codes: [7, 0, 0xE0, 0x19] },
    { lang: 46, codes: [7, 0, 0xE0, 0x16] },
    { lang: 47, codes: [7, 0, 0xE0, 0x13] },
    { lang: 48, codes: [7, 0, 0xE0, 0x09] },
    { lang: 49, codes: [7, 0, 0xE0, 0x1C] },
    { lang: 50, codes: [7, 0, 0xE0, 0x1D] },
    { lang: 51, codes: [7, 0, 0xE0, 0x04] },
]

var gunOptions = [
    { lang: 53, codes: [8, 0, 1, 0] },
    { lang: 54, codes: [8, 0, 2, 0] },
    { lang: 55, codes: [8, 0, 3, 0] },
]

// The macro's repeat modes, by keyCode1: once, until any button, until release.
var macroModeLang = [18, 19, 20]

// The fire function's rate in milliseconds and its count (0 = endless).
var rateMin = 1
var rateMax = 255
var defaultRate = 10
var timesMax = 255

// The modifier keys' usages 0xE0..0xE7 are bits 0..7 of keyCode1.
var firstModifier = 0xE0
var lastModifier = 0xE7

function isModifier(usage) {
    return usage >= firstModifier && usage <= lastModifier
}

function modifierBit(usage) {
    return isModifier(usage) ? 1 << (usage - firstModifier) : 0
}

// A code as a byte: a whole number 0..255 (or a text of one), else null.
function byteOf(value) {
    if (value === undefined || value === null || typeof value === "boolean")
        return null
    var text = String(value).trim()
    var n = Number(text)
    return text !== "" && Number.isInteger(n) && n >= 0 && n <= 255 ? n : null
}

// The four codes as bytes, or null when any of them is not one.
function entryOf(code0, code1, code2, code3) {
    var codes = [byteOf(code0), byteOf(code1), byteOf(code2), byteOf(code3)]
    return codes.indexOf(null) >= 0 ? null : codes
}

function sameCodes(a, b) {
    return a[0] === b[0] && a[1] === b[1] && a[2] === b[2] && a[3] === b[3]
}

function findOption(options, codes, matches) {
    for (var i = 0; i < options.length; ++i) {
        if (matches(options[i].codes, codes))
            return options[i]
    }
    return null
}

// The option among every section's lists whose four codes are these, or null.
function optionOf(codes) {
    var lists = [mouseOptions, [hiddenOption], mediaOptions, dpiOptions, windowsOptions, shortcutOptions, gunOptions]
    for (var l = 0; l < lists.length; ++l) {
        var option = findOption(lists[l], codes, sameCodes)
        if (option)
            return option
    }
    return null
}

// The names of a combination: the modifiers of bits in bit order, then the
// two keys when not 0. Null when a key has no name.
function comboNames(keyName, bits, key1, key2) {
    var names = []
    for (var bit = 0; bit < 8; ++bit) {
        if (bits & (1 << bit))
            names.push(keyName(firstModifier + bit))
    }
    var keys = [key1, key2]
    for (var k = 0; k < keys.length; ++k) {
        if (keys[k] !== 0)
            names.push(keyName(keys[k]))
    }
    for (var n = 0; n < names.length; ++n) {
        if (!names[n])
            return null
    }
    return names
}

// The text shown for a page-form entry. lang is the dialog's language array,
// keyName(usage) a key's name ("" if none) and macroName(slot) the name
// stored for a macro slot. An entry that is not four bytes, of an unknown
// class, or with codes no option of its class has, shows "": the entry itself
// stays as it is.
function keyCodeToString(lang, keyName, macroName, code0, code1, code2, code3) {
    var codes = entryOf(code0, code1, code2, code3)
    if (!codes)
        return ""
    var text = function (option) {
        return option && lang[option.lang] !== undefined ? String(lang[option.lang]) : ""
    }
    switch (codes[0]) {
    case 0:
        return text(findOption(mouseOptions.concat([hiddenOption]), codes, sameCodes))
    case 1:
        return codes[1] === 0 ? "" : String(keyName(codes[1]) || "")
    case 2: {
        var names = comboNames(keyName, codes[1], codes[2], codes[3])
        return names ? names.join("+") : ""
    }
    case 3:
        return text(findOption(mediaOptions, codes, (a, b) => a[2] === b[2] && a[3] === b[3]))
    case 4: {
        var name = macroName(codes[2])
        return name === undefined || name === null ? "" : String(name)
    }
    case 5:
        return text(findOption(dpiOptions, codes, (a, b) => a[2] === b[2]))
    case 6:
        return text(findOption(windowsOptions, codes, (a, b) => a[2] === b[2] && a[3] === b[3]))
    case 7:
        return text(findOption(shortcutOptions, codes, (a, b) => a[2] === b[2] && a[3] === b[3]))
    case 8:
        return text(findOption(gunOptions, codes, (a, b) => a[2] === b[2]))
    default:
        return ""
    }
}

// The fire rate for a position of the rate slider's knob, and its text.
function rateOfPosition(position) {
    var rate = Math.trunc(Number(position)) + 1
    return isFinite(rate) ? Math.max(rateMin, Math.min(rateMax, rate)) : defaultRate
}

function positionOfRate(rate) {
    return Math.max(rateMin, Math.min(rateMax, rate)) - 1
}

function rateText(rate) {
    return rate + "MS"
}

// A typed or stored count as a whole number 0..255; anything else is 0.
function clampTimes(value) {
    var n = Math.trunc(Number(String(value).trim()))
    return isFinite(n) && String(value).trim() !== "" ? Math.max(0, Math.min(timesMax, n)) : 0
}

// A combination being entered: {bits, key1, key2}. A key press adds a
// modifier's bit or fills the first free key; a third key, or a key already
// in it (a held key repeats), changes nothing. Returns the new combination.
function comboAdd(combo, usage) {
    var next = { bits: combo.bits, key1: combo.key1, key2: combo.key2 }
    if (isModifier(usage))
        next.bits |= modifierBit(usage)
    else if (usage === combo.key1 || usage === combo.key2)
        return next
    else if (combo.key1 === 0)
        next.key1 = usage
    else if (combo.key2 === 0)
        next.key2 = usage
    return next
}

function comboIsEmpty(combo) {
    return combo.bits === 0 && combo.key1 === 0 && combo.key2 === 0
}

// The text a combination box shows while keys are entered.
function comboText(keyName, combo) {
    var names = comboNames(keyName, combo.bits, combo.key1, combo.key2)
    return names ? names.join(" + ") : ""
}

// A key the fire function or a combination may take: a keyboard usage that
// has a name (the mouse buttons' codes 0xF0.. are not keyboard keys).
function isKeyboardKey(keyName, usage) {
    var code = byteOf(usage)
    return code !== null && code > 0 && code < 0xF0 && String(keyName(code) || "") !== ""
}
