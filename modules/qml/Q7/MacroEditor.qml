pragma ComponentBehavior: Bound
import QtQuick
// The linter finds basic/ through the module and calls this import unused;
// a page loaded from its folder needs it.
import "../basic"
import "../common"
import "../common/Shell.js" as Shell

// The macro editor dialog: the user's macros on the left, the steps of the
// selected one on the right, recorded from the keyboard or edited by hand.
// Every change is saved to the macro's file at once and announced with
// modifyMacroData, after which the shell sends the macro to the buttons that
// use it. The rules live in MacroNameModel and MacroStepModel.
//
// While recording, every key is part of the macro: the keyboard focus stays
// on the record button, which takes no key, and the recording stops by a
// click (clicks are never recorded) or a screen reader's press action. The
// insert-key dialog likewise takes every key as the key to insert.
Item {
    id: root

    property var macroEditorLang: ["Macro Editor", "Macro Name", "New", "Delete", "Action", "Stop Record", "Times",
        "OK", "Start Record", "Delay", "Delete", "Import", "Export", "Insert Delay", "Insert Key", "Insert Left Key",
        "Insert Middle Key", "Insert Right Key", "", "", "The macro is full: no step can be added",
        "Not saved: the file of %1 could not be written", "Choose or create a macro to record",
        "There are %1 macros already", "Not created: the file of %1 could not be written", "Nothing imported",
        "Not renamed: a name is needed", "Not renamed: %1 is taken", "Not renamed: %1 is reserved",
        "Not renamed: %1 cannot name a macro file",
        "Delete Macro", "Delete the macro \"%1\"?",
        "Delete the macro \"%1\"? It is assigned to %2 button.",
        "Delete the macro \"%1\"? It is assigned to %2 buttons.", "Cancel"]
    readonly property MacroNameModel macroNameModel: MacroNameModel {}
    readonly property MacroStepModel macroActionModel: MacroStepModel {}
    property bool isInputting: false
    property bool isInsertting: false
    // The key names macros are stored with; the shell hands over its own.
    property KeyCodeString keyCodeString: KeyCodeString {}
    // The selected macro's and the current step's positions, -1 for none.
    property int currentMacro: -1
    property int currentStep: -1
    // Ticks of 10 ms since the last recorded key.
    property int macroRecordCount: 0
    // The names the button-assignment page's macro list offers, refreshed
    // with every change of the list.
    property var macroNames: []
    // A short line about the last action that did not happen; "" for none.
    property string noteText: ""
    // The name or delay being edited (-1 for none) and the text typed.
    property int editingName: -1
    property int editingStep: -1
    property string editText: ""
    // What the insert-key dialog shows.
    property string insertKeyName: ""
    // How many buttons of the open profile a macro is assigned to, asked
    // before deleting it; the shell counts them in its key matrix.
    property var useCount: macroName => 0
    // The macro the delete question is about.
    property string deletingName: ""
    property int windowWidth: 1024
    property int windowHeight: 640

    // The Times text last loaded or saved; when the timer last ticked.
    property string storedTimes: "1"
    property double lastTickAt: 0

    // The skin's colours; a page may override them.
    property color colorGray0: Skin.colorGray0
    property color colorGray1: Skin.colorGray1
    property color colorGray2: Skin.colorGray2
    property color colorBlue: Skin.colorBlue
    property color colorOrange: Skin.colorOrange
    property color fontColor: Skin.fontColor

    signal deleteMacro(string macroName)
    signal modifyMacroName(string oldMacroName, string newMacroName)
    signal modifyMacroData(string macroName)
    // The dialog has hidden itself; the shell hides its mask.
    signal closed


    // Reads the macro names; nothing is selected yet.
    function init() {
        root.macroNameModel.load(Program.view.getNameList(0))
        root.select(-1)
        root.macroNames = root.macroNameModel.names()
    }

    // Sends the stored macro macroName to the mouse's macro slot index. It
    // plays as often as it is stored to: the Times field shows the macro
    // open in the editor, which need not be this one.
    function sendMacro(index, macroName) {
        Program.view.sendStoredMacro(macroName, index)
    }

    // The encoded length of the steps shown.
    function recordCount() {
        return root.macroActionModel.encodedLength()
    }

    // False, with a line saying so, when no step can be added: no macro is
    // selected or it is as long as it may get.
    function canGrow() {
        if (root.currentMacro < 0)
            return false
        if (!root.macroActionModel.isFull())
            return true
        root.noteText = root.macroEditorLang[20]
        return false
    }

    function currentName() {
        return root.macroNameModel.nameAt(root.currentMacro)
    }

    function storeNames() {
        var names = root.macroNameModel.names()
        Program.view.updataNameList(0, names)
        root.macroNames = names
    }

    // Shows macro position (none for -1) with its steps and repeat count. A
    // macro without a file shows no steps and leaves the Times field.
    function select(position) {
        root.currentMacro = position
        root.currentStep = -1
        var times = root.macroActionModel.load(position >= 0 ? Program.view.loadMacroIni(root.currentName()) : [])
        if (times === null)
            return
        timesField.textValue = times
        root.storedTimes = times
    }

    // Saves the steps and the Times field to the selected macro's file and
    // announces it; a file that cannot be written is said so.
    function autoSave() {
        if (root.currentMacro < 0)
            return
        var name = root.currentName()
        var times = timesField.textValue
        root.storedTimes = times
        if (!Program.view.saveMacroIni(name, root.macroActionModel.strings(), root.macroActionModel.repeatOf(times))) {
            root.noteText = root.macroEditorLang[21].arg(name)
            return
        }
        root.modifyMacroData(name)
    }

    // Before any action of the user: the recording stops, open edits end,
    // the menus close and the last line goes.
    function beginAction() {
        root.noteText = ""
        root.stopRecording()
        root.macroEditorFocus()
    }

    // Ends open edits (a rename, a delay, the Times field) and closes the
    // menus and the insert-key dialog.
    function macroEditorFocus() {
        root.commitRename()
        root.commitDelay()
        timesField.closeFocus()
        nameMenu.visible = false
        actionMenu.visible = false
        root.cancelInsertKey()
        deleteQuestion.reject()
    }

    // Recording

    function startRecording() {
        if (root.isInputting)
            return
        root.beginAction()
        if (root.currentMacro < 0) {
            root.noteText = root.macroEditorLang[22]
            return
        }
        root.macroActionModel.startRecording()
        root.currentStep = -1
        root.macroRecordCount = 0
        root.lastTickAt = Date.now()
        recordTimer.start()
        root.isInputting = true
        recordButton.forceActiveFocus()
    }

    // Stops a running recording, completes keys still held and saves.
    function stopRecording() {
        if (!root.isInputting)
            return
        recordTimer.stop()
        root.isInputting = false
        root.macroActionModel.finishRecording()
        root.autoSave()
    }

    function recordTick(ticks) {
        root.macroRecordCount += ticks
    }

    // A key while recording.
    function detectKeyboard(isDown, usbCode) {
        if (!root.isInputting || root.currentMacro < 0)
            return
        var name = root.keyCodeString ? root.keyCodeString.keycodeTostr(usbCode) : ""
        if (!root.macroActionModel.record(isDown, usbCode, root.macroRecordCount, delayBox.isSelect, name))
            return
        root.macroRecordCount = 0
        stepList.positionViewAtEnd()
    }

    // Editing steps

    // The action menu's entries: 0 delete, 1 insert a delay, 2 insert a key,
    // 3, 4, 5 insert a left, middle, right click.
    function actionCommand(cmd) {
        root.beginAction()
        stepList.forceActiveFocus()
        if (cmd === 0) {
            var before = root.macroActionModel.count
            root.currentStep = root.macroActionModel.removeStep(root.currentStep)
            if (root.macroActionModel.count !== before)
                root.autoSave()
        } else if (cmd === 2) {
            root.openInsertKey()
        } else if ((cmd === 1 || (cmd >= 3 && cmd <= 5)) && root.canGrow()) {
            var button = ["MS-L", "MS-M", "MS-R"][cmd - 3]
            root.currentStep = cmd === 1 ? root.macroActionModel.insertDelay(root.currentStep)
                                         : root.macroActionModel.insertClick(root.currentStep, button)
            root.autoSave()
        }
    }

    function openInsertKey() {
        if (!root.canGrow())
            return
        root.insertKeyName = ""
        root.isInsertting = true
        insertDialog.forceActiveFocus()
    }

    // A key for the insert-key dialog: the name of a keyboard key.
    function detectInput(isDown, usbCode) {
        if (root.isInsertting && usbCode < 0xF0)
            root.insertKeyName = root.keyCodeString ? root.keyCodeString.keycodeTostr(usbCode) : ""
    }

    // OK: the key's press and release are inserted; without a key nothing is.
    function confirmInsertKey() {
        var name = root.insertKeyName
        root.cancelInsertKey()
        if (name === "" || root.currentMacro < 0)
            return
        root.currentStep = root.macroActionModel.insertKey(root.currentStep, name)
        root.autoSave()
        stepList.forceActiveFocus()
    }

    function cancelInsertKey() {
        root.isInsertting = false
        root.insertKeyName = ""
    }

    function startDelayEdit(position) {
        if (root.isInputting || !root.macroActionModel.isDelay(position))
            return
        root.beginAction()
        root.currentStep = position
        root.editText = root.macroActionModel.get(position).info
        root.editingStep = position
    }

    function commitDelay() {
        var at = root.editingStep
        root.editingStep = -1
        if (root.macroActionModel.setDelay(at, root.editText))
            root.autoSave()
    }

    function timesEdited() {
        if (timesField.textValue !== root.storedTimes)
            root.autoSave()
    }

    // Macro names

    // The name menu's entries: 0 delete, 1 import, 2 export.
    function nameCommand(cmd) {
        nameList.forceActiveFocus()
        if (cmd === 0)
            root.deleteCurrentMacro()
        else if (cmd === 1)
            root.importMacro()
        else if (cmd === 2)
            root.exportMacro()
    }

    function canAddMacro() {
        if (root.macroNameModel.canAdd())
            return true
        root.noteText = root.macroEditorLang[23].arg(root.macroNameModel.maxMacros)
        return false
    }

    // A new empty macro with the next free name, appended and selected; a
    // file that cannot be made adds no entry.
    function newMacro() {
        root.beginAction()
        if (!root.canAddMacro())
            return
        var name = root.macroNameModel.newName()
        if (!Program.view.createMacroIni(name, 0)) {
            root.noteText = root.macroEditorLang[24].arg(name)
            return
        }
        root.macroNameModel.append({ textValue: name })
        root.select(root.macroNameModel.count - 1)
        root.storeNames()
    }

    // A macro from a file the user chooses, under the next free name, before
    // the selected entry. When no file comes of it (cancelled, refused, not
    // copied) the list stays as it was.
    function importMacro() {
        root.beginAction()
        if (!root.canAddMacro())
            return
        var name = root.macroNameModel.newName()
        if (!Program.view.loadMacroFile(name)) {
            root.noteText = root.macroEditorLang[25]
            return
        }
        var at = root.macroNameModel.importAt(root.currentMacro)
        root.macroNameModel.insert(at, { textValue: name })
        root.select(at)
        root.storeNames()
    }

    function exportMacro() {
        root.beginAction()
        if (root.currentMacro >= 0)
            Program.view.saveMacroFile(root.currentName())
    }

    // Delete asks first, naming the macro and how many buttons use it: the
    // shell resets those buttons and sends the matrix when it goes.
    function deleteCurrentMacro() {
        root.beginAction()
        if (root.currentMacro < 0)
            return
        var name = root.currentName()
        var uses = Number(root.useCount(name)) || 0
        var text = root.macroEditorLang[uses === 0 ? 31 : uses === 1 ? 32 : 33]
        root.deletingName = name
        // One pass, so that a name holding "%2" or "$&" shows as it is.
        deleteQuestion.text = text.replace(/%([12])/g, (mark, n) => n === "1" ? name : String(uses))
        deleteQuestion.open()
    }

    // OK to the delete question: the macro's file, its entry and its uses go.
    function deleteConfirmed() {
        var name = root.deletingName
        root.deletingName = ""
        if (root.currentMacro < 0 || root.currentName() !== name)
            return
        Program.view.deleteMacroIni(name)
        root.macroActionModel.clear()
        root.deleteMacro(name)
        root.select(root.macroNameModel.removeEntry(root.currentMacro))
        root.storeNames()
    }

    function startRename(position) {
        if (position < 0 || position >= root.macroNameModel.count)
            return
        root.beginAction()
        root.editText = root.macroNameModel.nameAt(position)
        root.editingName = position
    }

    // Takes the typed name when no other entry bears it, no macro file has it
    // and the library renames the file. The shell points the open profile's
    // buttons at the new name before the library renames; when the file
    // keeps its old name, they are pointed back and the entry keeps its name.
    function commitRename() {
        var at = root.editingName
        root.editingName = -1
        var text = root.editText
        var refusal = root.macroNameModel.renameRefusal(at, text)
        if (at < 0 || at >= root.macroNameModel.count || refusal === "same")
            return
        if (refusal === "" && Program.view.loadMacroIni(text).length > 0)
            refusal = "taken"
        if (refusal !== "") {
            root.noteText = refusal === "empty" ? root.macroEditorLang[26]
                                                : root.macroEditorLang[refusal === "taken" ? 27 : 28].arg(text)
            return
        }
        var old = root.macroNameModel.nameAt(at)
        root.modifyMacroName(old, text)
        if (Program.view.loadMacroIni(old).length > 0 || Program.view.loadMacroIni(text).length === 0) {
            root.modifyMacroName(text, old)
            root.noteText = root.macroEditorLang[29].arg(text)
            return
        }
        root.macroNameModel.setProperty(at, "textValue", text)
        root.storeNames()
    }


    // Stops and saves a running recording and ends edits; the shell hides
    // the mask (and the button page's macro list) on closed.
    function close() {
        root.stopRecording()
        root.macroEditorFocus()
        root.visible = false
        root.closed()
    }

    // A menu at a point of the dialog, kept inside it.
    function openMenu(menu, x, y) {
        menu.x = Shell.clampToWindow(x, menu.width, root.width)
        menu.y = Shell.clampToWindow(y, menu.height, root.height)
        menu.visible = true
        menu.forceActiveFocus()
    }

    function namePressed(position, button, at) {
        if (root.editingName === position && button === Qt.LeftButton)
            return
        root.beginAction()
        if (position >= 0) {
            if (position !== root.currentMacro)
                root.select(position)
            nameList.forceActiveFocus()
        }
        if (button === Qt.RightButton)
            root.openMenu(nameMenu, at.x, at.y)
    }

    function stepPressed(position, button, at) {
        if (root.editingStep === position && button === Qt.LeftButton)
            return
        root.beginAction()
        if (position >= 0) {
            root.currentStep = position
            stepList.forceActiveFocus()
        }
        if (button === Qt.RightButton && root.currentMacro >= 0)
            root.openMenu(actionMenu, at.x, at.y)
    }

    x: (root.windowWidth - root.width) / 2
    y: (root.windowHeight - root.height) / 2
    width: 640
    height: 448
    visible: false

    Accessible.role: Accessible.Dialog
    Accessible.name: root.macroEditorLang[0]
    Keys.onEscapePressed: root.close()

    Timer {
        id: recordTimer
        interval: 10
        repeat: true
        onTriggered: {
            var now = Date.now()
            var ticks = Math.floor((now - root.lastTickAt) / 10)
            if (ticks < 0)
                root.lastTickAt = now
            if (ticks <= 0)
                return
            root.lastTickAt += ticks * 10
            root.recordTick(ticks)
        }
    }

    // The background: a press ends edits and closes the menus, a drag moves
    // the dialog, kept whole inside the window.
    MouseArea {
        id: dragArea
        objectName: "dragArea"
        anchors.fill: parent
        property point pressedAt

        onPressed: mouse => {
            root.macroEditorFocus()
            // While recording the record button keeps the keys.
            if (root.isInputting)
                recordButton.forceActiveFocus()
            else
                root.forceActiveFocus()
            dragArea.pressedAt = Qt.point(mouse.x, mouse.y)
        }
        onPositionChanged: mouse => {
            root.x = Shell.clampToWindow(root.x + mouse.x - dragArea.pressedAt.x, root.width, root.windowWidth)
            root.y = Shell.clampToWindow(root.y + mouse.y - dragArea.pressedAt.y, root.height, root.windowHeight)
        }
    }

    PageFrame {
        anchors.fill: parent
        title: root.macroEditorLang[0]
        closable: true
        onCloseClicked: root.close()
    }

    // What did not happen, in the title bar.
    Label {
        objectName: "noteLine"
        x: 150
        width: 440
        height: 40
        horizontalAlignment: Text.AlignRight
        text: root.noteText
        color: root.colorOrange
        visible: root.noteText !== ""
    }

    Label {
        x: 16
        y: 48
        height: 20
        text: root.macroEditorLang[1]
    }

    Rectangle {
        x: 16
        y: 72
        width: 168
        height: 328
        color: "transparent"
        border.width: 1
        border.color: root.colorGray1

        // Below the entries: a right click offers Import on an empty list.
        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.LeftButton | Qt.RightButton
            onPressed: mouse => root.namePressed(-1, mouse.button, mapToItem(root, mouse.x, mouse.y))
        }

        ListView {
            id: nameList
            objectName: "nameList"
            width: parent.width
            height: Math.max(27, Math.min(328, 27 * nameList.count))
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            model: root.macroNameModel
            currentIndex: root.currentMacro
            highlightFollowsCurrentItem: false
            activeFocusOnTab: true

            Accessible.role: Accessible.List
            Accessible.name: root.macroEditorLang[1]

            function step(delta) {
                if (nameList.count === 0)
                    return
                var next = Math.max(0, Math.min(nameList.count - 1, root.currentMacro + delta))
                if (next !== root.currentMacro) {
                    root.beginAction()
                    root.select(next)
                }
                nameList.positionViewAtIndex(next, ListView.Contain)
            }

            Keys.onUpPressed: nameList.step(-1)
            Keys.onDownPressed: nameList.step(1)
            Keys.onReturnPressed: root.startRename(root.currentMacro)
            Keys.onEnterPressed: root.startRename(root.currentMacro)
            Keys.onDeletePressed: root.deleteCurrentMacro()
            Keys.onMenuPressed: root.openMenu(nameMenu, 60, 72 + 27 * Math.max(0, root.currentMacro + 1))

            delegate: Rectangle {
                id: nameRow

                required property int index
                required property string textValue
                readonly property bool editing: root.editingName === nameRow.index

                objectName: "name" + nameRow.index
                width: nameList.width
                height: 27
                color: nameRow.index === root.currentMacro || nameArea.containsMouse ? root.colorOrange : "transparent"

                Accessible.role: Accessible.ListItem
                Accessible.name: nameRow.textValue
                Accessible.selectable: true
                Accessible.selected: nameRow.index === root.currentMacro
                Accessible.onPressAction: root.namePressed(nameRow.index, Qt.LeftButton, Qt.point(0, 0))

                MouseArea {
                    id: nameArea
                    anchors.fill: parent
                    hoverEnabled: true
                    acceptedButtons: Qt.LeftButton | Qt.RightButton
                    onPressed: mouse => root.namePressed(nameRow.index, mouse.button,
                                                         nameArea.mapToItem(root, mouse.x, mouse.y))
                    onDoubleClicked: mouse => {
                        if (mouse.button === Qt.LeftButton)
                            root.startRename(nameRow.index)
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

                EditField {
                    active: nameRow.editing
                    objectName: nameRow.editing ? "nameEditor" : ""
                    accessibleName: root.macroEditorLang[1]
                    onCommitted: {
                        root.commitRename()
                        nameList.forceActiveFocus()
                    }
                    onCancelled: {
                        root.editingName = -1
                        nameList.forceActiveFocus()
                    }
                }
            }
        }
    }

    TextButton {
        id: newButton
        objectName: "newButton"
        x: 16
        y: 412
        width: Math.max(64, newButton.textWidth + 16)
        height: 24
        textValue: root.macroEditorLang[2]
        onClicked: root.newMacro()
    }

    TextButton {
        id: deleteButton
        objectName: "deleteButton"
        x: Math.max(120, newButton.x + newButton.width + 8)
        y: 412
        width: Math.max(64, deleteButton.textWidth + 16)
        height: 24
        textValue: root.macroEditorLang[3]
        onClicked: root.deleteCurrentMacro()
    }

    Label {
        x: 200
        y: 48
        height: 20
        text: root.macroEditorLang[4]
    }

    Rectangle {
        x: 200
        y: 72
        width: 424
        height: 328
        color: "transparent"
        border.width: 1
        border.color: root.colorGray1

        // Below the steps: a right click offers the inserts on an empty list
        // (or after the last step).
        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.LeftButton | Qt.RightButton
            onPressed: mouse => root.stepPressed(-1, mouse.button, mapToItem(root, mouse.x, mouse.y))
        }

        ListView {
            id: stepList
            objectName: "stepList"
            x: 1
            y: 1
            width: parent.width - 2
            // Only as tall as its rows: below them a right click reaches
            // the box.
            height: Math.min(parent.height - 2, 27 * stepList.count)
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            model: root.macroActionModel
            currentIndex: root.currentStep
            highlightFollowsCurrentItem: false
            activeFocusOnTab: true

            Accessible.role: Accessible.List
            Accessible.name: root.macroEditorLang[4]

            function step(delta) {
                if (stepList.count === 0)
                    return
                root.macroEditorFocus()
                root.currentStep = Math.max(0, Math.min(stepList.count - 1, root.currentStep + delta))
                stepList.positionViewAtIndex(root.currentStep, ListView.Contain)
            }

            Keys.onUpPressed: stepList.step(-1)
            Keys.onDownPressed: stepList.step(1)
            Keys.onReturnPressed: root.startDelayEdit(root.currentStep)
            Keys.onEnterPressed: root.startDelayEdit(root.currentStep)
            Keys.onDeletePressed: root.actionCommand(0)
            Keys.onMenuPressed: {
                if (root.currentMacro >= 0)
                    root.openMenu(actionMenu, 260, 72 + 27 * Math.max(0, root.currentStep + 1))
            }

            delegate: Rectangle {
                id: stepRow

                required property int index
                required property int type
                required property string info
                readonly property bool editing: root.editingStep === stepRow.index

                objectName: "step" + stepRow.index
                width: stepList.width
                height: 27
                color: stepRow.index === root.currentStep || stepArea.containsMouse ? root.colorOrange : "transparent"

                Accessible.role: Accessible.ListItem
                Accessible.name: root.macroActionModel.spokenStep(stepRow.index + 1, stepRow.type, stepRow.info)
                Accessible.selectable: true
                Accessible.selected: stepRow.index === root.currentStep
                Accessible.onPressAction: root.stepPressed(stepRow.index, Qt.LeftButton, Qt.point(0, 0))

                MouseArea {
                    id: stepArea
                    anchors.fill: parent
                    hoverEnabled: true
                    acceptedButtons: Qt.LeftButton | Qt.RightButton
                    onPressed: mouse => root.stepPressed(stepRow.index, mouse.button,
                                                         stepArea.mapToItem(root, mouse.x, mouse.y))
                    onDoubleClicked: mouse => {
                        if (mouse.button === Qt.LeftButton)
                            root.startDelayEdit(stepRow.index)
                    }
                }

                Label {
                    x: 8
                    width: 36
                    height: parent.height
                    horizontalAlignment: Text.AlignRight
                    text: String(stepRow.index + 1)
                    color: stepRow.index === root.currentStep ? root.fontColor : root.colorGray2
                    Accessible.ignored: true
                }

                Image {
                    id: stepIcon
                    x: 56
                    y: 5
                    width: 16
                    height: 16
                    sourceSize.width: 16
                    sourceSize.height: 16
                    readonly property string picture: root.macroActionModel.iconOf(stepRow.type)
                    visible: stepIcon.picture !== ""
                    source: stepIcon.visible ? Skin.image(stepIcon.picture) : ""
                }

                Label {
                    x: 88
                    width: parent.width - 96
                    height: parent.height
                    visible: !stepRow.editing
                    text: root.macroActionModel.shownInfo(stepRow.type, stepRow.info)
                    Accessible.ignored: true
                }

                EditField {
                    active: stepRow.editing
                    x: 84
                    width: 120
                    objectName: stepRow.editing ? "delayEditor" : ""
                    accessibleName: root.macroEditorLang[9] + " ms"
                    validator: IntValidator {
                        bottom: 0
                        top: root.macroActionModel.maxDelay
                    }
                    onCommitted: {
                        root.commitDelay()
                        stepList.forceActiveFocus()
                    }
                    onCancelled: {
                        root.editingStep = -1
                        stepList.forceActiveFocus()
                    }
                }
            }
        }
    }

    // Start Record / Stop Record, in the accent colour while recording. Keys
    // start it (on release, so that the starting key is not recorded) but
    // never stop it: while recording every key belongs to the macro.
    Rectangle {
        id: recordButton
        objectName: "recordButton"
        readonly property string textValue: root.isInputting ? root.macroEditorLang[5] : root.macroEditorLang[8]
        x: 200
        y: 412
        width: Math.max(120, recordLabel.implicitWidth + 24)
        height: 24
        radius: 3
        color: root.isInputting || recordArea.containsMouse ? root.colorOrange : root.colorBlue
        border.width: recordButton.activeFocus ? 1 : 0
        border.color: Skin.colorGray3
        activeFocusOnTab: true

        Accessible.role: Accessible.Button
        Accessible.name: recordButton.textValue
        Accessible.focusable: true
        Accessible.onPressAction: root.isInputting ? root.stopRecording() : root.startRecording()

        Keys.onPressed: event => event.accepted = root.isInputting
        Keys.onReleased: event => {
            if (root.isInputting) {
                event.accepted = true
            } else if (event.key === Qt.Key_Space || event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
                event.accepted = true
                root.startRecording()
            }
        }

        Label {
            id: recordLabel
            anchors.centerIn: parent
            text: recordButton.textValue
            Accessible.ignored: true
        }

        MouseArea {
            id: recordArea
            anchors.fill: parent
            hoverEnabled: true
            cursorShape: Qt.PointingHandCursor
            onClicked: root.isInputting ? root.stopRecording() : root.startRecording()
        }
    }

    Label {
        id: timesLabel
        x: Math.max(336, recordButton.x + recordButton.width + 12)
        y: 412
        height: 24
        text: root.macroEditorLang[6]
    }

    RectInput {
        id: timesField
        objectName: "timesField"
        x: Math.max(380, timesLabel.x + timesLabel.implicitWidth + 6)
        y: 414
        width: 48
        height: 20
        minValue: 1
        maxValue: 65535
        textValue: "1"
        border.width: 1
        border.color: timesField.txtInput.activeFocus ? root.colorOrange : root.colorGray1
        accessibleName: root.macroEditorLang[6]
        onInputSignal: {
            root.noteText = ""
            root.stopRecording()
        }
        onEndInputSignal: root.timesEdited()
    }

    CheckBox {
        id: delayBox
        objectName: "delayBox"
        x: timesField.x + timesField.width + 20
        y: 412
        height: 24
        textValue: root.macroEditorLang[9]
    }

    PopupMenu {
        id: nameMenu
        objectName: "nameMenu"
        width: 80
        entries: [root.macroEditorLang[10], root.macroEditorLang[11], root.macroEditorLang[12]]
        onChosen: index => root.nameCommand(index)
    }

    PopupMenu {
        id: actionMenu
        objectName: "actionMenu"
        width: 150
        entries: [root.macroEditorLang[10], root.macroEditorLang[13], root.macroEditorLang[14],
            root.macroEditorLang[15], root.macroEditorLang[16], root.macroEditorLang[17]]
        onChosen: index => root.actionCommand(index)
    }

    // The insert-key dialog over a dim mask: a press on the mask cancels it.
    Rectangle {
        objectName: "insertMask"
        anchors.fill: parent
        color: "#90000000"
        visible: root.isInsertting

        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.AllButtons
            hoverEnabled: true
            onPressed: root.cancelInsertKey()
            onWheel: wheel => wheel.accepted = true
        }

        Rectangle {
            id: insertDialog
            objectName: "insertDialog"
            anchors.centerIn: parent
            width: 240
            height: 80
            color: root.colorGray0
            border.width: 1
            border.color: root.colorGray1

            Accessible.role: Accessible.Dialog
            Accessible.name: root.macroEditorLang[14]

            // Every key is the key to insert: none moves the focus or acts.
            Keys.onPressed: event => event.accepted = true
            Keys.onReleased: event => event.accepted = true

            MouseArea {
                anchors.fill: parent
            }

            Label {
                x: 12
                y: 4
                height: 24
                text: root.macroEditorLang[14]
            }

            Rectangle {
                x: 12
                y: 36
                width: 144
                height: 28
                color: "transparent"
                border.width: 1
                border.color: root.colorOrange

                Label {
                    objectName: "insertKeyBox"
                    anchors.centerIn: parent
                    text: root.insertKeyName
                }
            }

            TextButton {
                objectName: "insertOk"
                x: 168
                y: 38
                width: 60
                height: 24
                activeFocusOnTab: false
                textValue: root.macroEditorLang[7]
                onClicked: root.confirmInsertKey()
            }
        }
    }

    ConfirmBox {
        id: deleteQuestion
        objectName: "deleteQuestion"
        title: root.macroEditorLang[30]
        okText: root.macroEditorLang[7]
        cancelText: root.macroEditorLang[34]
        onAccepted: root.deleteConfirmed()
        onRejected: root.deletingName = ""
    }

    // A field over a row while its name or delay is edited, with the whole
    // text selected; Enter commits, Escape cancels.
    component EditField: Rectangle {
        id: field

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
        color: root.colorGray0
        border.width: 1
        border.color: root.fontColor

        onActiveChanged: {
            if (!field.active)
                return
            fieldInput.text = root.editText
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
            color: root.fontColor
            selectionColor: root.colorBlue
            selectedTextColor: root.fontColor
            selectByMouse: true
            font.family: Skin.fontFamily
            font.pixelSize: Skin.fontNormalSize

            Accessible.role: Accessible.EditableText
            Accessible.name: field.accessibleName

            onTextEdited: root.editText = fieldInput.text
            Keys.onReturnPressed: field.committed()
            Keys.onEnterPressed: field.committed()
            Keys.onEscapePressed: field.cancelled()
        }
    }

    // A context menu: rows of 24 with the entries' texts; arrows move, Enter
    // chooses, Escape closes.
    component PopupMenu: Rectangle {
        id: menu

        property var entries: []
        property int highlighted: 0
        signal chosen(int index)

        height: 24 * menu.entries.length + 2
        visible: false
        z: 5
        color: root.colorGray0
        border.width: 1
        border.color: root.colorGray1

        Accessible.role: Accessible.PopupMenu

        onVisibleChanged: menu.highlighted = 0
        Keys.onUpPressed: menu.highlighted = Math.max(0, menu.highlighted - 1)
        Keys.onDownPressed: menu.highlighted = Math.min(menu.entries.length - 1, menu.highlighted + 1)
        Keys.onReturnPressed: menu.chosen(menu.highlighted)
        Keys.onEnterPressed: menu.chosen(menu.highlighted)
        Keys.onSpacePressed: menu.chosen(menu.highlighted)
        Keys.onEscapePressed: menu.visible = false

        Column {
            x: 1
            y: 1
            Repeater {
                model: menu.entries

                Rectangle {
                    id: menuRow

                    required property int index
                    required property string modelData

                    objectName: "menuRow" + menuRow.index
                    width: menu.width - 2
                    height: 24
                    color: menuArea.containsMouse || (menu.activeFocus && menu.highlighted === menuRow.index)
                           ? root.colorOrange : "transparent"

                    Accessible.role: Accessible.MenuItem
                    Accessible.name: menuRow.modelData
                    Accessible.onPressAction: menu.chosen(menuRow.index)

                    Label {
                        x: 8
                        width: parent.width - 16
                        height: parent.height
                        text: menuRow.modelData
                        Accessible.ignored: true
                    }

                    MouseArea {
                        id: menuArea
                        anchors.fill: parent
                        hoverEnabled: true
                        onClicked: menu.chosen(menuRow.index)
                    }
                }
            }
        }
    }
}
