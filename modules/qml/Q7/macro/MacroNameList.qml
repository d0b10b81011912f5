pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The macro names in a box of 168 x 328, rows of 27, the list only as tall
// as its rows: a click selects, a double-click or Enter renames, Delete
// deletes, a right click or the Menu key opens the name menu.
Rectangle {
    id: box

    required property MacroEditorBase editor
    readonly property alias list: nameList

    width: 168
    height: 328
    color: "transparent"
    border.width: 1
    border.color: Skin.colorGray1

    // Below the entries: a right click offers Import on an empty list.
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        onPressed: mouse => box.editor.nameRowPressed(-1, mouse.button,
                                                   mapToItem(box.editor.contentItem, mouse.x, mouse.y))
    }

    ListView {
        id: nameList
        objectName: "nameList"
        width: parent.width
        height: Math.max(27, Math.min(328, 27 * nameList.count))
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        model: box.editor.macroNameModel
        currentIndex: box.editor.currentMacro
        highlightFollowsCurrentItem: false
        activeFocusOnTab: true

        Accessible.role: Accessible.List
        Accessible.name: box.editor.macroEditorLang[1]

        function step(delta) {
            if (nameList.count === 0)
                return
            var next = Math.max(0, Math.min(nameList.count - 1, box.editor.currentMacro + delta))
            if (next !== box.editor.currentMacro)
                box.editor.macroStepped(next)
            nameList.positionViewAtIndex(next, ListView.Contain)
        }

        Keys.onUpPressed: nameList.step(-1)
        Keys.onDownPressed: nameList.step(1)
        Keys.onReturnPressed: box.editor.renameAsked(box.editor.currentMacro)
        Keys.onEnterPressed: box.editor.renameAsked(box.editor.currentMacro)
        Keys.onDeletePressed: box.editor.deleteAsked()
        Keys.onMenuPressed: box.editor.menuAsked("name", 60, 72 + 27 * Math.max(0, box.editor.currentMacro + 1))

        delegate: Rectangle {
            id: nameRow

            required property int index
            required property string textValue
            readonly property bool editing: box.editor.editingName === nameRow.index

            objectName: "name" + nameRow.index
            width: nameList.width
            height: 27
            color: nameRow.index === box.editor.currentMacro || nameArea.containsMouse ? Skin.colorOrange
                                                                                        : "transparent"

            Accessible.role: Accessible.ListItem
            Accessible.name: nameRow.textValue
            Accessible.selectable: true
            Accessible.selected: nameRow.index === box.editor.currentMacro
            Accessible.onPressAction: box.editor.nameRowPressed(nameRow.index, Qt.LeftButton, Qt.point(0, 0))

            MouseArea {
                id: nameArea
                anchors.fill: parent
                hoverEnabled: true
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                onPressed: mouse => box.editor.nameRowPressed(nameRow.index, mouse.button,
                                                           nameArea.mapToItem(box.editor.contentItem, mouse.x, mouse.y))
                onDoubleClicked: mouse => {
                    if (mouse.button === Qt.LeftButton)
                        box.editor.renameAsked(nameRow.index)
                }
            }

            Label {
                x: 12
                width: parent.width - 24
                height: parent.height
                visible: !nameRow.editing
                text: nameRow.textValue
                Accessible.ignored: true
            }

            MacroEditField {
                editor: box.editor
                active: nameRow.editing
                objectName: nameRow.editing ? "nameEditor" : ""
                accessibleName: box.editor.macroEditorLang[1]
                onCommitted: {
                    box.editor.renameEnded()
                    nameList.forceActiveFocus()
                }
                onCancelled: {
                    box.editor.editingName = -1
                    nameList.forceActiveFocus()
                }
            }
        }
    }
}
