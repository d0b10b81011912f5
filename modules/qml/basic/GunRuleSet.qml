pragma ComponentBehavior: Bound
import QtQuick
import "GunRules.js" as GunRules

// The gun editor's rules (GunRules.js) as an object the page holds, so that
// the page reaches them through a type its linter knows.
QtObject {
    readonly property int dotTop: GunRules.dotTop
    readonly property int dotBottom: GunRules.dotBottom
    readonly property int yMax: GunRules.yMax
    readonly property int timesMax: GunRules.timesMax
    readonly property int rateSliderWidth: GunRules.rateSliderWidth

    function integer(text, fallback) {
        return GunRules.integer(text, fallback)
    }
    function clampY(text) {
        return GunRules.clampY(text)
    }
    function clampTimes(text) {
        return GunRules.clampTimes(text)
    }
    function dotOf(y) {
        return GunRules.dotOf(y)
    }
    function yOfDot(dotY) {
        return GunRules.yOfDot(dotY)
    }
    function periodOfPosition(position) {
        return GunRules.periodOfPosition(position)
    }
    function rateText(period) {
        return GunRules.rateText(period)
    }
    function periodOfText(text) {
        return GunRules.periodOfText(text)
    }
    function ratePosition(period) {
        return GunRules.ratePosition(period)
    }
    function isEndless(times) {
        return GunRules.isEndless(times)
    }
    function slotMarks(presets, index) {
        return GunRules.slotMarks(presets, index)
    }
}
