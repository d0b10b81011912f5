pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T
import modules.qml

// The busy shield: the pages and the dialogs wait under it while its
// indicator shows; the window still moves, and the title strip above it
// keeps the window's buttons. The keyboard waits too; it goes back where it
// was afterwards.
T.Popup {
    id: layer

    property alias indicator: protectUIItem
    // The item that had the focus when the shield came up.
    property Item focusBefore: null
    // Where the window's focus is now (the shell tells).
    property Item windowFocus: null

    // The UI lock: busy for interval ms (the program asks at start-up and
    // after a device change), then lockEnded.
    signal lockEnded

    function lock(interval) {
        protectUIItem.setBusy(true)
        lockTimer.interval = Math.max(0, Number(interval) || 0)
        lockTimer.restart()
    }

    padding: 0
    z: 100
    closePolicy: T.Popup.NoAutoClose
    focus: true
    visible: protectUIItem.isBusy || protectUIItem.held
    onAboutToShow: layer.focusBefore = layer.windowFocus
    onClosed: {
        var back = layer.focusBefore
        layer.focusBefore = null
        if (back && back.visible)
            back.forceActiveFocus()
    }

    WindowDragArea {
        objectName: "busyShield"
        anchors.fill: parent
        focus: true
        hoverEnabled: true
        acceptedButtons: Qt.AllButtons
        onWheel: function (wheel) { wheel.accepted = true }
        Keys.onPressed: function (event) { event.accepted = true }
    }

    Timer {
        id: lockTimer
        interval: 1000
        onTriggered: {
            protectUIItem.setBusy(false)
            layer.lockEnded()
        }
    }

    BusyIndicator {
        id: protectUIItem
        objectName: "protectUIItem"
        x: (layer.width - width) / 2
        y: (layer.height + layer.y - height) / 2 - layer.y
    }
}
