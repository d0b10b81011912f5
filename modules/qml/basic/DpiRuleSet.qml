pragma ComponentBehavior: Bound
import QtQuick
import "DpiRules.js" as DpiRules

// The DPI panel's rules (DpiRules.js) as an object the page holds, so that
// the page reaches them through a type its linter knows.
QtObject {
    readonly property int stageCount: DpiRules.stageCount
    readonly property int sliderLength: DpiRules.sliderLength
    readonly property var defaultRange: DpiRules.defaultRange

    function sensorRange(min, max, base, fallback) {
        return DpiRules.sensorRange(min, max, base, fallback)
    }
    function valueOfPosition(position, range) {
        return DpiRules.valueOfPosition(position, range)
    }
    function positionOfValue(value, range) {
        return DpiRules.positionOfValue(value, range)
    }
    function typedValue(text, range) {
        return DpiRules.typedValue(text, range)
    }
    function stepValue(value, count, range) {
        return DpiRules.stepValue(value, count, range)
    }
    function offeredStages(stored) {
        return DpiRules.offeredStages(stored)
    }
    function enabledStages(stored, offered, current) {
        return DpiRules.enabledStages(stored, offered, current)
    }
    function stageValues(list, range, previous) {
        return DpiRules.stageValues(list, range, previous)
    }
}
