pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The factory-reset confirmation, draggable inside the window. It names the
// profile it resets and says that the gun presets, which all profiles share,
// go back too; it grows when a language needs more lines. Opened, the
// keyboard is on Cancel.
DialogFrame {
    id: resetBox

    // The active profile's name, taken when the box opens.
    property string profileName: ""
    // The question, with %1 for the profile's name.
    property string text: ""
    property string okText: "OK"
    property string cancelText: "Cancel"

    signal confirmed
    signal cancelled

    width: 427
    height: Math.max(102, resetText.y + resetText.height + 45)
    radius: 4
    titleHeight: 30
    titleColor: Skin.colorGray1
    accentLine: false
    titleX: 12
    titleSize: Skin.fontMiddleSize
    closable: false
    firstControl: resetCancel
    onCloseClicked: resetBox.cancelled()

    Label {
        id: resetText
        objectName: "resetText"
        x: 16
        y: 38
        width: resetBox.width - 32
        wrapMode: Text.Wrap
        text: resetBox.text.replace("%1", resetBox.profileName)
    }
    TextButton {
        id: resetOk
        objectName: "resetOk"
        x: resetBox.width - width - 12
        y: resetBox.height - height - 10
        width: 88
        height: 25
        textValue: resetBox.okText
        onClicked: resetBox.confirmed()
    }
    TextButton {
        id: resetCancel
        objectName: "resetCancel"
        x: resetOk.x - width - 7
        y: resetOk.y
        width: 88
        height: 25
        normalColor: Skin.colorGray1
        textValue: resetBox.cancelText
        onClicked: resetBox.cancelled()
    }
}
