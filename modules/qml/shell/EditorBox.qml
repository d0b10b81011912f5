pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The editor box of the left panel: its title and the entries that open the
// macro editor and, on a mouse with gun functions, the gun editor.
Rectangle {
    id: root

    property bool isGun: true
    property string title: ""
    property string macroText: ""
    property string gunText: ""

    signal macroEditorClicked
    signal gunEditorClicked

    width: 232
    height: Shell.editorBoxHeight(root.isGun)
    radius: 4
    color: Skin.colorGray0
    border.color: Skin.colorGray1

    Label {
        x: 8
        y: 4
        height: 20
        text: root.title
        font.pixelSize: Skin.fontMiddleSize
    }
    Column {
        x: 8
        y: 28
        spacing: 4
        MenuEntry {
            objectName: "macroEditorEntry"
            textValue: root.macroText
            onClicked: root.macroEditorClicked()
        }
        Rectangle {
            visible: root.isGun
            width: 216
            height: 1
            color: Skin.colorGray1
        }
        MenuEntry {
            objectName: "gunEditorEntry"
            visible: root.isGun
            textValue: root.gunText
            onClicked: root.gunEditorClicked()
        }
    }
}
