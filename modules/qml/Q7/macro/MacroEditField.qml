pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// A field over a row while its name or delay is edited, starting from the
// editor's editText with the whole text selected; Enter commits, Escape
// cancels. What is typed goes to the editor's editText.
Rectangle {
    id: field

    required property MacroEditorBase editor
    property bool active: false
    property alias validator: fieldInput.validator
    property string accessibleName: ""
    signal committed
    signal cancelled

    x: 4
    y: 3
    width: parent.width - 8
    height: parent.height - 6
    visible: field.active
    color: Skin.colorGray0
    border.width: 1
    border.color: Skin.fontColor

    onActiveChanged: {
        if (!field.active)
            return
        fieldInput.text = field.editor.editText
        fieldInput.selectAll()
        fieldInput.forceActiveFocus()
    }

    TextInput {
        id: fieldInput
        anchors.fill: parent
        anchors.leftMargin: 8
        verticalAlignment: TextInput.AlignVCenter
        clip: true
        enabled: field.active
        color: Skin.fontColor
        selectionColor: Skin.colorBlue
        selectedTextColor: Skin.fontColor
        selectByMouse: true
        font.family: Skin.fontFamily
        font.pixelSize: Skin.fontNormalSize

        Accessible.role: Accessible.EditableText
        Accessible.name: field.accessibleName

        onTextEdited: field.editor.editText = fieldInput.text
        Keys.onReturnPressed: field.committed()
        Keys.onEnterPressed: field.committed()
        Keys.onEscapePressed: field.cancelled()
    }
}
