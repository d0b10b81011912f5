pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The mask under the dialogs: it dims the frame and holds it while a dialog
// is open; a press on it moves the window (and says pressedHere). The
// dialogs open centred over it; when the last one closes, the focus goes
// back to the control of the frame that opened the first.
Rectangle {
    id: mask

    property Item focusBefore: null

    signal pressedHere

    function open(dialog) {
        if (!mask.visible)
            mask.focusBefore = mask.Window.activeFocusItem
        mask.visible = true
        dialog.x = (mask.width - dialog.width) / 2
        dialog.y = (mask.height - dialog.height) / 2
        dialog.visible = true
    }

    function close(dialog) {
        dialog.visible = false
        mask.visible = false
        if (mask.focusBefore)
            mask.focusBefore.forceActiveFocus()
    }

    color: "#90000000"
    visible: false

    WindowDragArea {
        anchors.fill: parent
        // The frame behind the mask takes no hover either.
        hoverEnabled: true
        onWheel: function (wheel) { wheel.accepted = true }
        onPressedHere: mask.pressedHere()
    }
}
