pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The profile dialog: the user's named profiles, with New, Import, and a
// context menu to delete or export one; a double-click renames. Its model is
// also the top bar's profile list, so a position here is a position there.
// Its state lives here; its controls are built when it first opens.
DialogFrame {
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
    property int currentIndex: 0
    // The entry whose name is being edited, -1 when none.
    property int editingIndex: -1
    property string editText: ""
    // The context menu: shown, and where.
    property bool menuShown: false
    property point menuAt
    // Nothing waits to be stored: every change is stored at once.
    readonly property bool dirty: false

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
        root.menuShown = false
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
    function endEdits() {
        root.noticeIndex = 0
        root.commitRename()
        root.menuShown = false
    }

    function profileFocus() {
        root.endEdits()
    }

    // At a point of the dialog, kept inside it (the menu is 100 x 48).
    function openMenu(x, y) {
        root.menuAt = Qt.point(Math.max(0, Math.min(root.width - 100, x)), Math.max(0, Math.min(root.height - 48, y)))
        root.menuShown = true
    }

    function closeDialog() {
        root.endEdits()
        root.visible = false
        root.closed()
    }

    function close() {
        root.closeDialog()
    }

    // The profile list's pages store at once: nothing to save.
    function save() {
    }

    width: 415
    height: 288
    visible: false
    title: root.profileLang[0]
    titleHeight: 31
    titleColor: Skin.colorGray1
    accentLine: false
    titleX: 16
    titleSize: Skin.fontMiddleSize
    closable: false
    controls: bodyComponent

    onDoubleClick: root.startRename(root.currentIndex)
    onProfileNoChanged: root.refreshActive()
    onVisibleChanged: root.noticeIndex = 0
    onCloseClicked: root.closeDialog()
    onBackgroundPressed: root.endEdits()

    // The view reports a written export; a cancelled one says nothing.
    // (The status object is given to the pages after they are made.)
    Connections {
        id: statusLink
        target: null
        function onProfileExported() {
            root.noticeIndex = 17
        }
    }

    Component {
        id: bodyComponent

    Item {
        id: bodyItem
        anchors.fill: parent
        // The keyboard starts on the list.
        Component.onCompleted: root.firstControl = list

        // The close image, drawn as a cross.
        Item {
            id: closeButton
            objectName: "closeButton"
            x: root.width - 1 - 10 - closeButton.width
            y: 1 + (30 - closeButton.height) / 2
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
                    color: closeArea.containsMouse || closeButton.activeFocus ? Skin.colorOrange : Skin.fontColor
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

    // The list area: rows of 27 pixels, the current and the hovered one in
    // the accent colour.
    Rectangle {
        x: 15
        y: 44
        width: 384
        height: 180
        color: "transparent"
        border.width: 1
        border.color: Skin.colorGray1

        ListView {
            id: list
            objectName: "list"
            width: parent.width
            height: Math.min(180, 27 * list.count)
            clip: true
            interactive: false
            model: root.profileModel
            currentIndex: root.currentIndex
            onCurrentIndexChanged: root.currentIndex = list.currentIndex
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
                color: row.lit ? Skin.colorOrange : "transparent"

                Accessible.role: Accessible.ListItem
                Accessible.name: row.textValue
                Accessible.selectable: true
                Accessible.selected: row.index === list.currentIndex
                Accessible.onPressAction: root.currentIndex = row.index

                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    acceptedButtons: Qt.LeftButton | Qt.RightButton
                    onPressed: mouse => {
                        if (!row.editing)
                            root.profileFocus()
                        root.currentIndex = row.index
                        if (mouse.button === Qt.RightButton) {
                            var at = rowArea.mapToItem(bodyItem, mouse.x, mouse.y)
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
                    color: Skin.fontColor
                    font.family: Skin.fontFamily
                    font.pixelSize: Skin.fontNormalSize
                }

                // Marks the entry chosen in the top bar, when the language
                // names it.
                Text {
                    anchors.right: parent.right
                    anchors.rightMargin: 12
                    anchors.verticalCenter: parent.verticalCenter
                    visible: row.index === root.activePosition && !row.editing
                    text: root.profileLang[19]
                    color: row.lit ? Skin.fontColor : Skin.colorGray2
                    font.family: Skin.fontFamily
                    font.pixelSize: Skin.fontNormalSize
                }

                // The name field, shown while the row is renamed, with the
                // whole name selected.
                Rectangle {
                    anchors.fill: parent
                    anchors.margins: 3
                    visible: row.editing
                    color: Skin.colorGray0
                    border.width: 1
                    border.color: Skin.fontColor

                    TextInput {
                        id: editor
                        objectName: row.editing ? "nameEditor" : ""
                        anchors.fill: parent
                        anchors.leftMargin: 9
                        verticalAlignment: TextInput.AlignVCenter
                        clip: true
                        enabled: row.editing
                        color: Skin.fontColor
                        selectionColor: Skin.colorBlue
                        selectedTextColor: Skin.fontColor
                        selectByMouse: true
                        font.family: Skin.fontFamily
                        font.pixelSize: Skin.fontNormalSize

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
        color: root.noticeIndex > 0 ? Skin.colorOrange : Skin.colorGray2
        font.family: Skin.fontFamily
        font.pixelSize: Skin.fontNormalSize
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
        color: buttonArea.containsMouse ? Skin.colorOrange : Skin.colorBlue
        border.width: button.activeFocus ? 1 : 0
        border.color: Skin.fontColor

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
            color: Skin.fontColor
            font.family: Skin.fontFamily
            font.pixelSize: Skin.fontNormalSize
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
        x: root.menuAt.x
        y: root.menuAt.y
        width: 100
        height: 48
        visible: root.menuShown
        color: Skin.colorGray0
        border.width: 1
        border.color: Skin.colorGray1

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
                    color: menuArea.containsMouse ? Skin.colorOrange : "transparent"

                    Accessible.role: Accessible.MenuItem
                    Accessible.name: menuRow.modelData
                    Accessible.onPressAction: root.menuCommand(menuRow.index)

                    Text {
                        anchors.centerIn: parent
                        text: menuRow.modelData
                        color: Skin.fontColor
                        font.family: Skin.fontFamily
                        font.pixelSize: Skin.fontNormalSize
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
    }
}
