pragma ComponentBehavior: Bound
import QtQuick
import "LightRules.js" as LightRules

// The lighting panel's rules (LightRules.js) as an object the page holds, so
// that the page reaches them through a type its linter knows.
QtObject {
    readonly property int barWidth: LightRules.barWidth
    readonly property int sliderWidth: LightRules.sliderWidth
    readonly property var builtInColors: LightRules.builtInColors
    readonly property string builtInFixColor: LightRules.builtInFixColor

    function percentText(step) {
        return LightRules.percentTexts[step] || ""
    }
    function colorText(r, g, b) {
        return LightRules.colorText(r, g, b)
    }
    function parseHex(text) {
        return LightRules.parseHex(text)
    }
    function rgbOf(text) {
        return LightRules.rgbOf(text)
    }
    function fieldValue(text) {
        return LightRules.fieldValue(text)
    }
    function sliderX(color, barX, w) {
        return LightRules.sliderX(color, barX, w)
    }
    function colorAtSlider(x, barX, w) {
        return LightRules.colorAtSlider(x, barX, w)
    }
    function slideRange(barX, w) {
        return [LightRules.sliderMin(barX), LightRules.sliderMax(barX, w)]
    }
    function effectNames(texts, isColorful, is55328, is571) {
        return LightRules.effectNames(texts, isColorful, is55328, is571)
    }
    function visibility(index, is571, is55328) {
        return LightRules.visibility(index, is571, is55328)
    }
    function pageHeight(speedShown, brightnessShown) {
        return LightRules.pageHeight(speedShown, brightnessShown)
    }
    function blockShown(i, flags) {
        return LightRules.blockShown(i, flags)
    }
    function colorsToSave(values, is55328, effect) {
        return LightRules.colorsToSave(values, is55328, effect)
    }
    function cleanLight(stored, effectCount) {
        return LightRules.cleanLight(stored, effectCount)
    }
    function cleanColors(stored) {
        return LightRules.cleanColors(stored)
    }
    function cleanFixColor(stored) {
        return LightRules.cleanFixColor(stored)
    }
}
