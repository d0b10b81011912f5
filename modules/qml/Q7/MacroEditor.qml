pragma ComponentBehavior: Bound
import QtQuick
import modules.qml
// The linter finds basic/ through the module and calls this import unused;
// a page loaded from its folder needs it.

// The macro editor dialog: the user's macros on the left, the steps of the
// selected one on the right, recorded from the keyboard or edited by hand.
// Every change is saved to the macro's file at once and announced with
// modifyMacroData, after which the shell sends the macro to the buttons that
// use it. The rules live in MacroNameModel and MacroStepModel.
//
// The dialog's controls (macro/MacroEditorBody.qml) are built the first time
// it opens; what the shell and the button-assignment dialog use while it is
// closed (the names, the models, sendMacro, the signals) and the state the
// controls show live here. Functions that reach a control do nothing to it
// while none is built.
//
// While recording, every key is part of the macro: the keyboard focus stays
// on the record button, which takes every key (Escape too), and the
// recording stops by a click (clicks are never recorded) or a screen
// reader's press action. The insert-key dialog likewise takes every key but
// Escape as the key to insert.
MacroEditorBase {
    id: root
    // The controls, once the dialog has been opened; null before.
    readonly property MacroEditorBody body: bodyLoader.item as MacroEditorBody

    signal deleteMacro(string macroName)
    signal modifyMacroName(string oldMacroName, string newMacroName)
    signal modifyMacroData(string macroName)

    // Reads the macro names; nothing is selected yet. Nothing is sent: a
    // macro goes to the mouse with the buttons that use it.
    function init(isSendData, isRecovery) {
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
        root.timesText = times
        root.storedTimes = times
    }

    // Saves the steps and the Times field to the selected macro's file and
    // announces it; a file that cannot be written is said so.
    function autoSave() {
        if (root.currentMacro < 0)
            return
        var name = root.currentName()
        var times = root.timesText
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
        root.endEdits()
    }

    // Ends open edits (a rename, a delay, the Times field) and closes the
    // menus, the insert-key dialog and the delete question.
    function endEdits() {
        root.commitRename()
        root.commitDelay()
        root.body?.timesField.closeFocus()
        root.openMenu = ""
        root.cancelInsertKey()
        root.body?.deleteQuestion.reject()
    }
    function macroEditorFocus() { root.endEdits() }

    // Every change is stored when it is made: Save has nothing left to do.
    function save() {
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
        root.body?.recordButton.forceActiveFocus()
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
        if (!root.macroActionModel.record(isDown, usbCode, root.macroRecordCount, root.recordDelays, name))
            return
        root.macroRecordCount = 0
        root.body?.stepList.positionViewAtEnd()
    }

    // Editing steps

    // The action menu's entries: 0 delete, 1 insert a delay, 2 insert a key,
    // 3, 4, 5 insert a left, middle, right click.
    function actionCommand(cmd) {
        root.beginAction()
        root.body?.stepList.forceActiveFocus()
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

    // The Times field's input ended with text.
    function timesEdited(text) {
        root.timesText = text
        if (text !== root.storedTimes)
            root.autoSave()
    }

    // Macro names

    // The name menu's entries: 0 delete, 1 import, 2 export.
    function nameCommand(cmd) {
        root.body?.nameList.forceActiveFocus()
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
        var question = root.body?.deleteQuestion
        if (root.currentMacro < 0 || !question)
            return
        var name = root.currentName()
        var uses = Number(root.useCount(name)) || 0
        var text = root.macroEditorLang[uses === 0 ? 31 : uses === 1 ? 32 : 33]
        root.deletingName = name
        // One pass, so that a name holding "%2" or "$&" shows as it is.
        question.text = text.replace(/%([12])/g, (mark, n) => n === "1" ? name : String(uses))
        question.open()
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


    // The name menu ("name") or the action menu ("action") at a point of the
    // dialog, kept inside it.
    function showMenu(which, x, y) {
        var size = which === "name" ? Qt.size(80, 24 * 3 + 2) : Qt.size(150, 24 * 6 + 2)
        root.menuAt = Qt.point(Math.max(0, Math.min(root.width - size.width, x)),
                               Math.max(0, Math.min(root.height - size.height, y)))
        root.openMenu = which
    }

    function namePressed(position, button, at) {
        if (root.editingName === position && button === Qt.LeftButton)
            return
        root.beginAction()
        if (position >= 0) {
            if (position !== root.currentMacro)
                root.select(position)
            root.body?.nameList.forceActiveFocus()
        }
        if (button === Qt.RightButton)
            root.showMenu("name", at.x, at.y)
    }

    function stepPressed(position, button, at) {
        if (root.editingStep === position && button === Qt.LeftButton)
            return
        root.beginAction()
        if (position >= 0) {
            root.currentStep = position
            root.body?.stepList.forceActiveFocus()
        }
        if (button === Qt.RightButton && root.currentMacro >= 0)
            root.showMenu("action", at.x, at.y)
    }


    // Closing, by the close image, Escape or the shell, stops and saves a
    // running recording and ends the edits; the shell hides its mask (and
    // the button page's macro list) on closed.
    onAboutToShow: {
        if (!bodyLoader.item)
            bodyLoader.setSource(Qt.resolvedUrl("macro/MacroEditorBody.qml"), { editor: root })
    }
    onAboutToHide: {
        root.stopRecording()
        root.endEdits()
    }
    onCloseClicked: root.close()
    onBackgroundPressed: root.endEdits()

    onNameRowPressed: (position, button, at) => root.namePressed(position, button, at)
    onStepRowPressed: (position, button, at) => root.stepPressed(position, button, at)
    onMacroStepped: position => {
        root.beginAction()
        root.select(position)
    }
    onStepMoved: position => {
        root.endEdits()
        root.currentStep = position
    }
    onRenameAsked: position => root.startRename(position)
    onRenameEnded: root.commitRename()
    onDelayEditAsked: position => root.startDelayEdit(position)
    onDelayEnded: root.commitDelay()
    onNewAsked: root.newMacro()
    onDeleteAsked: root.deleteCurrentMacro()
    onDeleteAccepted: root.deleteConfirmed()
    onNameChosen: command => root.nameCommand(command)
    onActionChosen: command => root.actionCommand(command)
    onRecordToggled: root.isInputting ? root.stopRecording() : root.startRecording()
    onTimesStarted: {
        root.noteText = ""
        root.stopRecording()
    }
    onTimesEnded: text => root.timesEdited(text)
    onInsertConfirmed: root.confirmInsertKey()
    onMenuAsked: (which, x, y) => root.showMenu(which, x, y)

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

    // Empty until the dialog first opens; kept afterwards.
    Loader {
        id: bodyLoader
        anchors.fill: parent
    }
}
