import QtQuick
import QtTest
import modules.qml
import "../../modules/qml/common/KeyCodes.js" as KeyCodes

// The assignment dialog's code tables and the text shown for an entry: every
// option of every section, combinations, and entries no option has.
TestCase {
    name: "KeyCodes"

    KeyCodeString { id: keyNames }

    // The dialog's built-in texts by position, which tell every option apart.
    readonly property var lang: KeyCodes.englishTexts

    function text(codes) {
        return KeyCodes.keyCodeToString(lang, keyNames.keycodeTostr, slot => slot === 5 ? "Macro_5" : "",
                                        codes[0], codes[1], codes[2], codes[3])
    }

    // Options of every section, with their codes and text (the dialog's own choices are in tst_KeyAssigment.qml).
    function test_options_data() {
        return [["Left", [0, 0, 0xF0, 0], "Left Key"], ["Back", [0, 0, 0xF3, 0], "Back Key"],
                ["Double Fire", [0, 0xF0, 0x1E, 2], "Double Fire"], ["Previous", [3, 0, 0xB6, 0], "Privous"],
                ["Volume-", [3, 0, 0xEA, 0], "Volumn-"], ["DPI loop", [5, 0, 3, 0], "DPI LOOP"],
                ["My PC", [6, 0, 0x94, 1], "My PC"], ["Min", [6, 4, 0x2C, 0x11], "Min"],
                ["Desktop", [6, 0, 0xE3, 7], "Desktop"], ["Undo", [7, 0, 0xE0, 0x1D], "Undo"],
                ["Three Gun", [8, 0, 3, 0], "Three Gun"]].map(([tag, codes, want]) => ({ tag, codes, want }))
    }
    function test_options(row) {
        compare(text(row.codes), row.want)
        var option = KeyCodes.optionOf(row.codes)
        verify(option !== null, "not among the sections' options")
        compare(lang[option.lang], row.want)
    }

    // Fire keys, combinations (modifier bits in bit order), macros, stored texts; then entries no option has,
    // which show nothing.
    function test_text_data() {
        return [
            ["fire: key A, 10 ms, endless", [1, 0x04, 10, 0], "A"], ["fire: F12", [1, 0x45, 33, 2], "F12"],
            ["fire: texts from the file", ["1", " 4", "10", "0"], "A"],
            ["combo: Left Ctrl + Left Shift", [2, 0x03, 0, 0], "LCtrl+LShift"],
            ["combo: every modifier in bit order", [2, 0xFF, 0, 0],
             "LCtrl+LShift+LAlt+LWin+RCtrl+RShift+RAlt+RWin"],
            ["combo: right Win then a key", [2, 0x80, 0x06, 0], "RWin+C"],
            ["combo: two keys without modifier", [2, 0, 0x1E, 0x1F], "1+2"],
            ["combo: Alt + Tab + Enter", [2, 0x04, 0x2B, 0x28], "LAlt+Tab+Enter"],
            ["combo: only the second key", [2, 0x01, 0, 0x04], "LCtrl+A"],
            ["macro: the stored name", [4, 1, 5, 0], "Macro_5"], ["macro: no stored name", [4, 0, 3, 0], ""],
            ["fire: no key", [1, 0, 10, 0], ""], ["fire: an unknown key", [1, 0x01, 10, 0], ""],
            ["combo: empty", [2, 0, 0, 0], ""], ["combo: an unknown key", [2, 0x01, 0x03, 0], ""],
            ["mouse: unknown button", [0, 0, 0xF5, 0], ""], ["media: unknown usage", [3, 0, 0x01, 0], ""],
            ["mouse: double fire with another count", [0, 0xF0, 0x1E, 3], ""],
            ["DPI: 0", [5, 0, 0, 0], ""], ["DPI: 5", [5, 0, 5, 0], ""],
            ["Windows: unknown", [6, 0, 0x94, 0x02], ""], ["shortcut: without 0xE0", [7, 0, 0, 0x11], ""],
            ["gun: 4", [8, 0, 4, 0], ""],
            ["fixed entry", [0xFF, 0, 1, 0], ""], ["class 9", [9, 0, 1, 0], ""],
            ["short row", [1, 4, 10, undefined], ""], ["empty row", [undefined, undefined, undefined, undefined], ""],
            ["not numbers", ["x", "0", "0xF0", "0"], ""], ["blank text", ["", 0, 0xF0, 0], ""],
            ["negative", [0, 0, -16, 0], ""], ["above a byte", [0, 0, 0x1F0, 0], ""],
            ["fraction", [5, 0, 1.5, 0], ""], ["true is no number", [true, 0, 0xF0, 0], ""],
        ].map(([tag, codes, want]) => ({ tag, codes, want }))
    }
    function test_text(row) {
        compare(text(row.codes), row.want)
    }

    // Keys pressed one after another while a combination is entered (a third key: tst_KeyAssigment.qml).
    function test_combo_data() {
        return [
            ["Left Ctrl, Left Shift", [0xE0, 0xE1], [3, 0, 0], "LCtrl + LShift"],
            ["modifier twice", [0xE4, 0xE4], [0x10, 0, 0], "RCtrl"],
            ["modifiers still count after two keys", [0x04, 0x05, 0xE7], [0x80, 0x04, 0x05], "RWin + A + B"],
            ["a held key repeats", [0x04, 0x04, 0x05], [0, 0x04, 0x05], "A + B"],
            ["names in bit order", [0x04, 0xE2, 0xE0], [5, 0x04, 0], "LCtrl + LAlt + A"],
        ].map(([tag, keys, want, shown]) => ({ tag, keys, want, shown }))
    }
    function test_combo(row) {
        var combo = { bits: 0, key1: 0, key2: 0 }
        verify(KeyCodes.comboIsEmpty(combo))
        for (const usage of row.keys)
            combo = KeyCodes.comboAdd(combo, usage)
        compare([combo.bits, combo.key1, combo.key2], row.want)
        compare(KeyCodes.comboText(keyNames.keycodeTostr, combo), row.shown)
    }

    // The fire function's rate slider, count and keys.
    function test_fire_data() {
        return [
            ["rate: knob at 9 is 10 ms", KeyCodes.rateOfPosition(9), 10], ["rate: 0", KeyCodes.rateOfPosition(0), 1],
            ["rate: between pixels", KeyCodes.rateOfPosition(32.7), 33],
            ["rate: never above a byte", KeyCodes.rateOfPosition(400), 255],
            ["rate: round trip", KeyCodes.rateOfPosition(KeyCodes.positionOfRate(77)), 77],
            ["times: typed 256", KeyCodes.clampTimes("256"), 255], ["times: empty", KeyCodes.clampTimes(""), 0],
            ["times: words", KeyCodes.clampTimes("x"), 0], ["times: 7", KeyCodes.clampTimes(" 7"), 7],
            ["key: right Win", KeyCodes.isKeyboardKey(keyNames.keycodeTostr, 0xE7), true],
            ["key: a mouse button", KeyCodes.isKeyboardKey(keyNames.keycodeTostr, 0xF0), false],
            ["key: no name", KeyCodes.isKeyboardKey(keyNames.keycodeTostr, 0x01), false],
            ["key: 0", KeyCodes.isKeyboardKey(keyNames.keycodeTostr, 0), false],
        ].map(([tag, got, want]) => ({ tag, got, want }))
    }
    function test_fire(row) {
        compare(row.got, row.want)
    }
}
