pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The insert-key dialog, 240 x 80 over the editor, open while the editor's
// isInsertting is set: its box shows the name of the last key pressed, OK
// inserts that key's press and release. Every key but Escape is a key to
// insert, so none moves the focus or acts here: Escape and the close image
// cancel, OK takes a click or a screen reader's press.
DialogFrame {
    id: dialog

    required property MacroEditorBase editor

    objectName: "insertDialog"
    width: 240
    height: 80
    titleHeight: 32
    title: dialog.editor.macroEditorLang[14]
    firstControl: keyBox
    visible: dialog.editor.isInsertting

    // Centred on the editor each time it opens.
    onAboutToShow: {
        dialog.x = (dialog.windowWidth - dialog.width) / 2
        dialog.y = (dialog.windowHeight - dialog.height) / 2
    }
    onCloseClicked: dialog.editor.cancelInsertKey()
    onBackgroundPressed: keyBox.forceActiveFocus()

    Rectangle {
        id: keyBox
        objectName: "insertKeyBox"
        readonly property string text: dialog.editor.insertKeyName
        x: 12
        y: 42
        width: 144
        height: 28
        color: "transparent"
        border.width: keyBox.activeFocus ? 2 : 1
        border.color: Skin.colorOrange
        activeFocusOnTab: true

        Accessible.role: Accessible.StaticText
        Accessible.name: keyBox.text
        Accessible.focusable: true

        Keys.onPressed: event => event.accepted = event.key !== Qt.Key_Escape
        Keys.onReleased: event => event.accepted = true

        Label {
            anchors.centerIn: parent
            text: keyBox.text
            Accessible.ignored: true
        }
    }

    TextButton {
        objectName: "insertOk"
        x: 168
        y: 44
        width: 60
        height: 24
        activeFocusOnTab: false
        textValue: dialog.editor.macroEditorLang[7]
        onClicked: dialog.editor.insertConfirmed()
    }
}
