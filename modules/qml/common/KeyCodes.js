.pragma library

// The key codes with their names, the functions the button pages offer in
// page form (keyCode0 the class, keyCode1..3 its parameters), and the text
// shown for an entry. Each option names its text by its position in the
// assignment dialog's language array.

// The dialog's texts as built in, by position; the language file replaces them.
var englishTexts = ["Key ", "Mouse Function", "Left Key", "Middle Key", "Right Key", "Forward Key", "Back Key",
    "Double Fire", "Fire Function", "Key Value", "Click Input", "Rate", "Times", "Endness", "Group Function",
    "Media Function", "Macro Function", "Macro Editor", "Macro runs one-time after pressing the button",
    "Macro runs endless loop until any button is pressed", "Macro runs endless loop until button is released",
    "DPI Function", "DPI+", "DPI-", "DPI LOOP", "Windows Function", "Shortcut Function", "Player", "Next", "Privous",
    "Stop", "Mute", "Play/Pause", "Volumn+", "Volumn-", "My PC", "Index", "Search", "Max", "Min", "Desktop", "Run",
    "New", "Cut", "Copy", "Paste", "Save", "Print", "Find", "Redo", "Undo", "Select All", "Gun Function", "One Gun",
    "Two Gun", "Three Gun", "Sniper Key", "Click"]

// The key codes of macros, key matrices and pages: keyboard usages
// 0x04..0xE7 and the mouse buttons 0xF0..0xF4 (left, right, middle, fourth,
// fifth), with their built-in names at the same positions. Names need not be
// unique ("\" is 0x31 and 0x32, "Intl2" 0x88 and 0x89): a lookup by name gives
// the first position that bears it.
var keyCodes = [
    0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11, 0x12, 0x13,
    0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C, 0x1D, 0x1E, 0x1F, 0x20, 0x21, 0x22, 0x23,
    0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F, 0x30, 0x31, 0x32, 0x33,
    0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F, 0x40, 0x41, 0x42, 0x43,
    0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F, 0x50, 0x51, 0x52, 0x53,
    0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F, 0x60, 0x61, 0x62, 0x63,
    0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x6F, 0x70, 0x71, 0x72, 0x73,
    0x85, 0x87, 0x88, 0x89, 0x8A, 0x8B, 0x90, 0x91,
    0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7,
    0xF0, 0xF1, 0xF2, 0xF3, 0xF4
]

var builtInKeyNames = [
    "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O", "P",
    "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z", "1", "2", "3", "4", "5", "6",
    "7", "8", "9", "0", "Enter", "Esc", "Back", "Tab", "Space", "-", "=", "[", "]", "\\", "\\", ";",
    "'", "`", ",", ".", "/", "Caps", "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10",
    "F11", "F12", "Prt", "Scr", "Pau", "Ins", "Hom", "Pgu", "Del", "End", "PgD", "►", "◄", "▼", "▲", "Num",
    "KP/", "KP*", "KP-", "KP+", "KPEnter", "KP1", "KP2", "KP3", "KP4", "KP5", "KP6", "KP7", "KP8", "KP9",
    "KP0", "KP.",
    "Eur2", "App", "Power", "KP=", "F13", "F14", "F15", "F16", "F17", "F18", "F19", "F20", "F21", "F22",
    "F23", "F24",
    "Keypad", "Intl1", "Intl2", "Intl2", "Intl4", "Intl5", "Lang1", "Lang2",
    "LCtrl", "LShift", "LAlt", "LWin", "RCtrl", "RShift", "RAlt", "RWin",
    "MS-L", "MS-R", "MS-M", "MS-B4", "MS-B5"
]

// The name at the first position whose code equals code, from names (the
// shown names, in the order of keyCodes); "" if none.
function keyNameOf(names, code) {
    var at = keyCodes.indexOf(Number(code))
    return at >= 0 && names && at < names.length ? String(names[at]) : ""
}

// The code of the first position whose name is exactly name; 0 if none.
function codeOfName(names, name) {
    var at = names ? Array.from(names).indexOf(name) : -1
    return at >= 0 && at < keyCodes.length ? keyCodes[at] : 0
}

// The names of a language's keyCode section, in the order of keyCodes, an
// empty entry keeping its built-in name; null for a list of another length,
// which would shift every name onto the wrong key.
function keyNamesFrom(names) {
    if (!names || names.length !== keyCodes.length)
        return null
    return builtInKeyNames.map(function (builtIn, i) {
        var name = names[i] === undefined || names[i] === null ? "" : String(names[i])
        return name === "" ? builtIn : name
    })
}

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

// A stored code as the dialog shows it: a row kept as read holds NaN (or a
// text) where it had no number, shown as 0.
function codeOrZero(value) {
    var n = Number(value)
    return Number.isFinite(n) ? n : 0
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

// The four values Save writes for a matrix entry: its codes, or, for an entry
// still as it was read without four whole numbers (storedRow, the values read
// as JSON), those values (a missing one as an empty text, so that the view
// sees the entry is broken and sends the button's factory entry instead). A
// code that is no whole number, with nothing kept, is written as 0.
function storedValues(codes, storedRow) {
    if (codes.every(Number.isInteger) || !storedRow)
        return codes.map(c => Number.isInteger(c) ? c : 0)
    var kept = JSON.parse(storedRow)
    return [0, 1, 2, 3].map(k => k < kept.length ? kept[k] : "")
}

// The values Save writes for the entries (keyCode0..3, storedRow) of a
// matrix model (count, get(i)), four each in entry order.
function matrixValues(model) {
    var values = []
    for (var i = 0; i < model.count; ++i) {
        var e = model.get(i)
        values = values.concat(storedValues([e.keyCode0, e.keyCode1, e.keyCode2, e.keyCode3], e.storedRow))
    }
    return values
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
