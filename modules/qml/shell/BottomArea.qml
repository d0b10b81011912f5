pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The bottom of the frame: the Config, Reset and Save buttons, next to Save
// whether the mouse gets what is saved and the last finished action, and
// over them a line when a change could not be written to disk.
Item {
    id: root

    // The shell's texts and the profile page's (the notices).
    property var texts: []
    property var notices: []
    property string unsavedFile: ""
    property bool connected: false
    property bool sendWhenConnected: false
    // The last finished action, as an index of the notices; 0 for none.
    property int notice: 0
    property bool hasUnsaved: false
    // Shown once the start-up lock ends.
    property bool shown: false

    signal configClicked
    signal resetClicked
    signal saveClicked

    // A line over the bottom bar when a change could not be written to disk.
    Rectangle {
        id: unsavedLine
        objectName: "unsavedLine"
        x: 24
        y: 604
        // Wide enough for the text, up to the bottom bar's buttons.
        width: Math.min(bottomBar.x - 8 - unsavedLine.x, Math.max(560, unsavedText.implicitWidth + 40))
        height: 28
        radius: 4
        visible: root.unsavedFile !== "" && root.shown
        color: "#3a1212"
        border.color: "#ff3030"

        Label {
            id: unsavedText
            x: 10
            width: parent.width - 40
            height: parent.height
            text: root.texts[17].arg(root.unsavedFile)
        }
        MenuEntry {
            x: parent.width - 26
            y: 4
            width: 20
            height: 20
            textMargin: 4
            textValue: "×"
            Accessible.name: root.texts[18]
            onClicked: Program.status.clearUnsavedFile()
        }
    }

    // Next to Save: whether the mouse gets what is saved, and the last
    // finished action of the frame.
    Label {
        id: saveNote
        objectName: "saveNote"
        anchors { right: bottomBar.left; rightMargin: 16; verticalCenter: bottomBar.verticalCenter }
        width: Math.min(implicitWidth, bottomBar.x - 40)
        visible: bottomBar.visible && !unsavedLine.visible && text !== ""
        color: root.connected ? Skin.colorGray3 : Skin.colorOrange
        text: !root.connected ? (root.sendWhenConnected ? root.notices[21]
                                                                     : root.texts[16])
                                       : root.notice > 0 ? root.notices[root.notice] : ""
        Accessible.role: Accessible.AlertMessage
    }

    Row {
        id: bottomBar
        objectName: "bottomBar"
        anchors { right: parent.right; rightMargin: 24; bottom: parent.bottom; bottomMargin: 8 }
        spacing: 16
        visible: root.shown

        TextButton {
            objectName: "configButton"
            textValue: root.texts[4]
            onClicked: root.configClicked()
        }
        TextButton {
            objectName: "resetButton"
            textValue: root.texts[5]
            onClicked: root.resetClicked()
        }
        TextButton {
            objectName: "saveButton"
            textValue: root.texts[10]
            // Red while a page has unsaved changes, under the pointer too.
            normalColor: root.hasUnsaved ? "#ff3030" : Skin.colorBlue
            hoverColor: root.hasUnsaved ? "#ff3030" : Skin.colorOrange
            onClicked: root.saveClicked()
        }
    }
}
