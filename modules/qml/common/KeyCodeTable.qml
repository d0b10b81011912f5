pragma ComponentBehavior: Bound
import QtQuick
import "KeyCodes.js" as KeyCodes

// The assignment dialog's code tables and rules (KeyCodes.js) as an object the
// dialog holds, so that the dialog reaches them through a type its linter
// knows.
QtObject {
    readonly property var mouseOptions: KeyCodes.mouseOptions
    readonly property var hiddenOption: KeyCodes.hiddenOption
    readonly property var mediaOptions: KeyCodes.mediaOptions
    readonly property var dpiOptions: KeyCodes.dpiOptions
    readonly property var windowsOptions: KeyCodes.windowsOptions
    readonly property var shortcutOptions: KeyCodes.shortcutOptions
    readonly property var gunOptions: KeyCodes.gunOptions
    readonly property var macroModeLang: KeyCodes.macroModeLang
    readonly property int rateMin: KeyCodes.rateMin
    readonly property int rateMax: KeyCodes.rateMax
    readonly property int defaultRate: KeyCodes.defaultRate
    readonly property int timesMax: KeyCodes.timesMax

    function keyCodeToString(lang, keyName, macroName, code0, code1, code2, code3) {
        return KeyCodes.keyCodeToString(lang, keyName, macroName, code0, code1, code2, code3)
    }
    function rateOfPosition(position) {
        return KeyCodes.rateOfPosition(position)
    }
    function positionOfRate(rate) {
        return KeyCodes.positionOfRate(rate)
    }
    function rateText(rate) {
        return KeyCodes.rateText(rate)
    }
    function clampTimes(value) {
        return KeyCodes.clampTimes(value)
    }
    function comboAdd(combo, usage) {
        return KeyCodes.comboAdd(combo, usage)
    }
    function comboIsEmpty(combo) {
        return KeyCodes.comboIsEmpty(combo)
    }
    function comboText(keyName, combo) {
        return KeyCodes.comboText(keyName, combo)
    }
    function isKeyboardKey(keyName, usage) {
        return KeyCodes.isKeyboardKey(keyName, usage)
    }
}
