import QtQuick

// A QML root for the window's own tests: it has the six functions the
// program calls by name and records each call, in order, in `calls`, so a
// test sees what arrived and when without the pages' effects.
Item {
    id: root
    width: 1024
    height: 640
    visible: false

    property var calls: []
    property int currentDpiStage: 0

    function record(entry) {
        calls = calls.concat([entry])
    }
    function initUI() {
        record("initUI")
        visible = true
    }
    function run() {
        record("run")
    }
    function detectKeyboard(isDown, usbCode) {
        record("detectKeyboard(" + isDown + "," + usbCode + ")")
    }
    function detectMouse(isDown, buttonCode, x, y) {
        record("detectMouse(" + isDown + "," + buttonCode + "," + x + "," + y + ")")
    }
    function setProtectUI(interval) {
        record("setProtectUI(" + interval + ")")
    }
    function setCurrentDPI(dpiValue) {
        record("setCurrentDPI(" + dpiValue + ")")
        if (dpiValue !== 0)
            currentDpiStage = dpiValue
    }
}
