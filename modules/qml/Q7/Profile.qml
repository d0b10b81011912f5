pragma ComponentBehavior: Bound
import QtQuick
import "../basic"
import "../common"
import "../common/Shell.js" as Shell

// The profile dialog: the user's named profiles, with New, Import, and a
// context menu to delete or export one; a double-click renames. Its model is
// also the top bar's profile list, so a position here is a position there.
Rectangle {
    id: root

    property var profileLang: ["config", "New", "Import", "Delete", "Export", "Standard", "", "", "", "", "", "", "",
        "", "", "", "", "", "", "", "", "", ""]
    readonly property ProfileModel profileModel: ProfileModel {}
    // The slot digit of the active profile (its file is p<profileNo+1>.bin).
    property int profileNo: 0
    // The position of the active entry, the one the top bar shows: it cannot
    // be deleted. It moves when an entry before it goes.
    property int activePosition: 0
    // What the last action was refused for or did, as an index of
    // profileLang (12..18, 20); 0 shows the hint instead.
    property int noticeIndex: 0
    property alias currentIndex: list.currentIndex
    // The entry whose name is being edited, -1 when none.
    property int editingIndex: -1
    property string editText: ""
    property int windowWidth: 1024
    property int windowHeight: 640

    // The skin's colours and font; a page may override them.
    property color colorGray0: Skin.colorGray0
    property color colorGray1: Skin.colorGray1
    property color colorGray2: Skin.colorGray2
    property color colorBlue: Skin.colorBlue
    property color colorOrange: Skin.colorOrange
    property color fontColor: Skin.fontColor
    property string fontFamily: Skin.fontFamily
    property int fontNormalSize: Skin.fontNormalSize
    property int fontMiddleSize: Skin.fontMiddleSize

    signal changeProfile(int tmpProfileNo)
    signal doubleClick
    // The close image hid the dialog: the shell hides its mask and closes
    // the top bar's list.
    signal closed

    // The first entry bears the language's standard name, also when the
    // language file left it empty. profileNo becomes the slot of the entry
    // found for it (a list of an earlier version may name it by position).
    function init() {
        root.editingIndex = -1
        root.noticeIndex = 0
        if (Program.status !== null)
            statusLink.target = Program.status
        var position = root.profileModel.load(root.profileLang[5] || "Standard", root.profileNo)
        root.profileNo = root.profileModel.slotAt(position)
        root.activePosition = position
        root.currentIndex = position
    }

    function refreshActive() {
        root.activePosition = root.profileModel.positionOfSlot(root.profileNo)
    }

    function newProfile() {
        var position = root.profileModel.newProfile()
        if (position >= 0)
            root.currentIndex = position
        else
            root.noticeIndex = 12
    }

    function importProfile() {
        var position = root.profileModel.importProfile()
        if (position >= 0)
            root.currentIndex = position
        if (root.profileModel.count >= 6 && position < 0)
            root.noticeIndex = 12
        else if (position >= 0)
            root.noticeIndex = 16
    }

    // 0 delete and 1 export the current entry (the context menu: the one it
    // was opened on), 2 import.
    function menuCommand(cmd) {
        contextMenu.visible = false
        root.noticeIndex = 0
        if (cmd === 0) {
            root.noticeIndex = root.profileModel.deleteAt(root.currentIndex, root.activePosition)
            root.refreshActive()
        } else if (cmd === 1) {
            root.profileModel.exportProfile(root.currentIndex)
        } else if (cmd === 2) {
            root.importProfile()
        }
    }

    function startRename(index) {
        if (index < 0 || index >= root.profileModel.count)
            return
        root.commitRename()
        root.editText = root.profileModel.get(index).textValue
        root.editingIndex = index
    }

    function commitRename() {
        var index = root.editingIndex
        root.editingIndex = -1
        if (index >= 0)
            root.noticeIndex = root.profileModel.rename(index, root.editText)
    }

    // A press elsewhere: ends an edit (whose refusal then shows) and closes
    // the menu; an earlier notice goes.
    function profileFocus() {
        root.noticeIndex = 0
        root.commitRename()
        contextMenu.visible = false
    }

    // At a point of the dialog, kept inside it.
    function openMenu(x, y) {
        contextMenu.x = Math.max(0, Math.min(root.width - contextMenu.width, x))
        contextMenu.y = Math.max(0, Math.min(root.height - contextMenu.height, y))
        contextMenu.visible = true
    }

    function closeDialog() {
        root.profileFocus()
        root.visible = false
        root.closed()
    }

    width: 415
    height: 288
    visible: false
    color: root.colorGray0
    border.width: 1
    border.color: root.colorGray1

    onDoubleClick: root.startRename(root.currentIndex)
    onProfileNoChanged: root.refreshActive()
    onVisibleChanged: root.noticeIndex = 0
    Keys.onEscapePressed: root.closeDialog()

    // The view reports a written export; a cancelled one says nothing.
    // (The status object is given to the pages after they are made.)
    Connections {
        id: statusLink
        target: null
        function onProfileExported() {
            root.noticeIndex = 17
        }
    }

    // The background: a press ends editing and closes the menu, a drag
    // moves the dialog, kept whole inside the window.
    MouseArea {
        id: dragArea
        objectName: "dragArea"
        anchors.fill: parent
        property point pressedAt

        onPressed: mouse => {
            root.profileFocus()
            dragArea.pressedAt = Qt.point(mouse.x, mouse.y)
        }
        onPositionChanged: mouse => {
            root.x = Shell.clampToWindow(root.x + mouse.x - dragArea.pressedAt.x, root.width, root.windowWidth)
            root.y = Shell.clampToWindow(root.y + mouse.y - dragArea.pressedAt.y, root.height, root.windowHeight)
        }
    }

    // The title bar.
    Rectangle {
        x: 1
        y: 1
        width: root.width - 2
        height: 30
        color: root.colorGray1

        Text {
            anchors.left: parent.left
            anchors.leftMargin: 15
            anchors.verticalCenter: parent.verticalCenter
            text: root.profileLang[0]
            color: root.fontColor
            font.family: root.fontFamily
            font.pixelSize: root.fontMiddleSize
            Accessible.role: Accessible.StaticText
            Accessible.name: root.profileLang[0]
        }

        // The close image, drawn as a cross.
        Item {
            id: closeButton
            objectName: "closeButton"
            anchors.right: parent.right
            anchors.rightMargin: 10
            anchors.verticalCenter: parent.verticalCenter
            width: 16
            height: 16
            activeFocusOnTab: true

            Accessible.role: Accessible.Button
            Accessible.name: "Close"
            Accessible.focusable: true
            Accessible.onPressAction: root.closeDialog()
            Keys.onSpacePressed: root.closeDialog()
            Keys.onReturnPressed: root.closeDialog()
            Keys.onEnterPressed: root.closeDialog()

            Repeater {
                model: [45, -45]
                Rectangle {
                    id: stroke
                    required property int modelData
                    anchors.centerIn: parent
                    width: 14
                    height: 2
                    radius: 1
                    rotation: stroke.modelData
                    antialiasing: true
                    color: closeArea.containsMouse || closeButton.activeFocus ? root.colorOrange : root.fontColor
                }
            }

            MouseArea {
                id: closeArea
                anchors.fill: parent
                anchors.margins: -4
                hoverEnabled: true
                onClicked: root.closeDialog()
            }
        }
    }

    // The list area: rows of 27 pixels, the current and the hovered one in
    // the accent colour.
    Rectangle {
        x: 15
        y: 44
        width: 384
        height: 180
        color: "transparent"
        border.width: 1
        border.color: root.colorGray1

        ListView {
            id: list
            objectName: "list"
            width: parent.width
            height: Math.min(180, 27 * list.count)
            clip: true
            interactive: false
            model: root.profileModel
            activeFocusOnTab: true
            highlightFollowsCurrentItem: false

            Accessible.role: Accessible.List
            Accessible.name: root.profileLang[0]
            Keys.onReturnPressed: root.startRename(list.currentIndex)
            Keys.onEnterPressed: root.startRename(list.currentIndex)
            Keys.onDeletePressed: root.menuCommand(0)
            Keys.onMenuPressed: root.openMenu(list.x + 40, list.y + 27 * (list.currentIndex + 1))

            delegate: Rectangle {
                id: row

                required property int index
                required property string textValue
                readonly property bool editing: root.editingIndex === row.index
                readonly property bool lit: row.index === list.currentIndex || rowArea.containsMouse

                objectName: "row" + row.index
                width: list.width
                height: 27
                color: row.lit ? root.colorOrange : "transparent"

                Accessible.role: Accessible.ListItem
                Accessible.name: row.textValue
                Accessible.selectable: true
                Accessible.selected: row.index === list.currentIndex
                Accessible.onPressAction: list.currentIndex = row.index

                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    acceptedButtons: Qt.LeftButton | Qt.RightButton
                    onPressed: mouse => {
                        if (!row.editing)
                            root.profileFocus()
                        list.currentIndex = row.index
                        if (mouse.button === Qt.RightButton) {
                            var at = rowArea.mapToItem(root, mouse.x, mouse.y)
                            root.openMenu(at.x, at.y)
                        }
                    }
                    onDoubleClicked: mouse => {
                        if (mouse.button === Qt.LeftButton)
                            root.startRename(row.index)
                    }
                }

                Text {
                    anchors.left: parent.left
                    anchors.leftMargin: 12
                    anchors.verticalCenter: parent.verticalCenter
                    visible: !row.editing
                    text: row.textValue
                    color: root.fontColor
                    font.family: root.fontFamily
                    font.pixelSize: root.fontNormalSize
                }

                // Marks the entry chosen in the top bar, when the language
                // names it.
                Text {
                    anchors.right: parent.right
                    anchors.rightMargin: 12
                    anchors.verticalCenter: parent.verticalCenter
                    visible: row.index === root.activePosition && !row.editing
                    text: root.profileLang[19]
                    color: row.lit ? root.fontColor : root.colorGray2
                    font.family: root.fontFamily
                    font.pixelSize: root.fontNormalSize
                }

                // The name field, shown while the row is renamed, with the
                // whole name selected.
                Rectangle {
                    anchors.fill: parent
                    anchors.margins: 3
                    visible: row.editing
                    color: root.colorGray0
                    border.width: 1
                    border.color: root.fontColor

                    TextInput {
                        id: editor
                        objectName: row.editing ? "nameEditor" : ""
                        anchors.fill: parent
                        anchors.leftMargin: 9
                        verticalAlignment: TextInput.AlignVCenter
                        clip: true
                        enabled: row.editing
                        color: root.fontColor
                        selectionColor: root.colorBlue
                        selectedTextColor: root.fontColor
                        selectByMouse: true
                        font.family: root.fontFamily
                        font.pixelSize: root.fontNormalSize

                        Accessible.role: Accessible.EditableText
                        Accessible.name: row.textValue

                        onTextEdited: root.editText = editor.text
                        // Taken here: the field lets Enter on to the list,
                        // which would start renaming again.
                        Keys.onReturnPressed: root.commitRename()
                        Keys.onEnterPressed: root.commitRename()
                        Keys.onEscapePressed: root.editingIndex = -1
                    }
                }

                onEditingChanged: {
                    if (!row.editing)
                        return
                    editor.text = row.textValue
                    editor.selectAll()
                    editor.forceActiveFocus()
                }
            }
        }
    }

    // What the last action was refused for or did, in the accent colour;
    // otherwise a hint, when the language has one.
    Text {
        id: notice
        objectName: "notice"
        x: 15
        y: 230
        width: 384
        elide: Text.ElideRight
        text: root.noticeIndex > 0 ? root.profileLang[root.noticeIndex] : root.profileLang[11]
        color: root.noticeIndex > 0 ? root.colorOrange : root.colorGray2
        font.family: root.fontFamily
        font.pixelSize: root.fontNormalSize
        Accessible.role: root.noticeIndex > 0 ? Accessible.AlertMessage : Accessible.StaticText
        Accessible.name: notice.text
    }

    component PageButton: Rectangle {
        id: button

        property string textValue: ""
        signal clicked

        width: 96
        height: 24
        activeFocusOnTab: true
        color: buttonArea.containsMouse ? root.colorOrange : root.colorBlue
        border.width: button.activeFocus ? 1 : 0
        border.color: root.fontColor

        Accessible.role: Accessible.Button
        Accessible.name: button.textValue
        Accessible.focusable: true
        Accessible.onPressAction: button.clicked()
        Keys.onSpacePressed: button.clicked()
        Keys.onReturnPressed: button.clicked()
        Keys.onEnterPressed: button.clicked()

        Text {
            anchors.centerIn: parent
            text: button.textValue
            color: root.fontColor
            font.family: root.fontFamily
            font.pixelSize: root.fontNormalSize
        }

        MouseArea {
            id: buttonArea
            anchors.fill: parent
            hoverEnabled: true
            onClicked: button.clicked()
        }
    }

    Row {
        anchors.right: parent.right
        anchors.rightMargin: 16
        y: 252
        spacing: 8

        PageButton {
            objectName: "newButton"
            textValue: root.profileLang[1]
            onClicked: {
                root.profileFocus()
                root.newProfile()
            }
        }
        PageButton {
            objectName: "importButton"
            textValue: root.profileLang[2]
            onClicked: {
                root.profileFocus()
                root.menuCommand(2)
            }
        }
    }

    // The context menu: delete and export the entry it was opened on.
    Rectangle {
        id: contextMenu
        objectName: "contextMenu"
        width: 100
        height: 48
        visible: false
        color: root.colorGray0
        border.width: 1
        border.color: root.colorGray1

        Column {
            Repeater {
                model: [root.profileLang[3], root.profileLang[4]]

                Rectangle {
                    id: menuRow

                    required property int index
                    required property string modelData

                    objectName: "menuRow" + menuRow.index
                    width: 100
                    height: 24
                    color: menuArea.containsMouse ? root.colorOrange : "transparent"

                    Accessible.role: Accessible.MenuItem
                    Accessible.name: menuRow.modelData
                    Accessible.onPressAction: root.menuCommand(menuRow.index)

                    Text {
                        anchors.centerIn: parent
                        text: menuRow.modelData
                        color: root.fontColor
                        font.family: root.fontFamily
                        font.pixelSize: root.fontNormalSize
                    }

                    MouseArea {
                        id: menuArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: root.menuCommand(menuRow.index)
                    }
                }
            }
        }
    }
}
