pragma ComponentBehavior: Bound
import QtQuick
import "SystemRules.js" as SystemRules

// The system settings dialog's rules (SystemRules.js) as an object the page
// holds, so that the page reaches them through a type its linter knows.
QtObject {
    readonly property int oneScreen: SystemRules.oneScreen
    readonly property int defaultMouseRate: SystemRules.defaultMouseRate
    readonly property int defaultDoubleRate: SystemRules.defaultDoubleRate

    function stepOf(position, compare) {
        return SystemRules.stepOf(position, compare)
    }
    function storedPosition(stored, fallback) {
        return SystemRules.storedPosition(stored, fallback)
    }
    function storedLines(stored) {
        return SystemRules.storedLines(stored)
    }
    function isOneScreen(lines) {
        return SystemRules.isOneScreen(lines)
    }
    function typedRows(text) {
        return SystemRules.typedRows(text)
    }
}
