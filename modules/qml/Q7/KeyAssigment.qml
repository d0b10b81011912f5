pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The dialog in which one button's function is chosen: nine sections in a
// scrolling area (keys/AssignSections.qml, built when the dialog first
// opens), each choice setting the four page-form codes and the text at once.
// Closing hands a changed choice to the shell (assigned), which puts it in
// the key matrix page (sending nothing until Save); a macro also goes to the
// mouse's slot of the button at once, as the matrix will point there.
//
// The choice, the texts and the lists live here, so that the shell may set
// and read them while the dialog is closed; the sections only show them.
DialogFrame {
    id: root

    property var keyAssigmentLang: KeyCodes.englishTexts.slice()

    // The choice being edited, in page form, and its text.
    property int keyCode0: 0
    property int keyCode1: 0
    property int keyCode2: 0
    property int keyCode3: 0
    property string keyString: ""
    // The four codes as eight hexadecimal digits, keyCode0 first.
    property string keyCode: ""
    // True while the dialog waits for a key for a fire or a combination.
    property bool isFireInput: false
    property bool isComboInput: false
    // The button being assigned (the mouse picture's selectKey), -1 for none.
    property int selectKey: -1
    // The Gun Function section is offered only for mice with gun modes.
    property bool isGun: false

    // What the shell passes: the key matrix page's working and factory
    // matrices, the macro editor's names and the key names.
    property ListModel modKeys: null
    property ListModel modKeys_tmp: null
    property list<string> macroNames: []
    property list<string> keyNames: KeyCodes.builtInKeyNames

    // The fire function's rate (ms), its text and count as the section shows them.
    property int fireRate: KeyCodes.defaultRate
    property string rateText: "10ms"
    property int fireTimes: 0
    // The macro section's repeat mode, 0..2.
    property int macroMode: 0
    // The combination being entered: modifier bits and two keys.
    property var combo: ({ bits: 0, key1: 0, key2: 0 })
    // What the fire and combination boxes show.
    property string fireText: root.keyAssigmentLang[10]
    property string comboText: root.keyAssigmentLang[10]
    // True while the dialog is hidden behind the macro editor it opened.
    property bool awaitsEditor: false
    // A choice goes into the matrix at closing: the dialog holds nothing Save stores.
    readonly property bool dirty: false

    // The option lists of the drop-downs, their texts from the language array.
    readonly property ListModel mediaModel: ListModel {}
    readonly property ListModel windowsModel: ListModel {}
    readonly property ListModel shortcutModel: ListModel {}
    readonly property ListModel macroModel: ListModel {}

    readonly property int sectionsHeight: 830
    readonly property int visibleHeight: 360
    // The sections, once built.
    readonly property AssignSections sections: sectionsLoader.item as AssignSections

    // The dialog has hidden itself; the shell hides its mask.
    signal closed
    // The Macro Editor button: the dialog has stepped aside with its choice
    // pending and the shell opens the editor; editorClosed() brings it back.
    signal macroEditorClicked
    // Closing took a changed choice for button index.
    signal assigned(int index, int code0, int code1, int code2, int code3, string text)

    // The sections, the first time the dialog opens: they follow the choice
    // and report the user's picks here.
    function build() {
        if (sectionsLoader.item)
            return
        sectionsLoader.setSource(Qt.resolvedUrl("keys/AssignSections.qml"), {
            texts: Qt.binding(() => root.keyAssigmentLang),
            choice: Qt.binding(() => [root.keyCode0, root.keyCode1, root.keyCode2, root.keyCode3]),
            keyString: Qt.binding(() => root.keyString),
            isGun: Qt.binding(() => root.isGun),
            isFireInput: Qt.binding(() => root.isFireInput),
            isComboInput: Qt.binding(() => root.isComboInput),
            fireText: Qt.binding(() => root.fireText),
            comboText: Qt.binding(() => root.comboText),
            rateText: Qt.binding(() => root.rateText),
            fireRate: Qt.binding(() => root.fireRate),
            fireTimes: Qt.binding(() => root.fireTimes),
            macroMode: Qt.binding(() => root.macroMode),
            mediaModel: root.mediaModel,
            windowsModel: root.windowsModel,
            shortcutModel: root.shortcutModel,
            macroModel: root.macroModel,
            titleHeight: root.titleHeight,
            contentHeight: root.sectionsHeight,
            visibleHeight: root.visibleHeight
        })
        var part = root.sections
        if (!part)
            return
        part.chosen.connect(root.choose)
        part.fireClicked.connect(root.startFire)
        part.ratePicked.connect(root.setRate)
        part.timesEntered.connect(root.setTimes)
        part.endnessTicked.connect(root.endnessToggled)
        part.comboClicked.connect(root.startCombo)
        part.comboConfirmed.connect(root.confirmCombo)
        part.comboCancelled.connect(root.cancelCombo)
        part.macroPicked.connect(root.chooseMacro)
        part.macroModePicked.connect(root.setMacroMode)
        part.macroEditorClicked.connect(root.openMacroEditor)
        part.backClicked.connect(root.restoreFactory)
    }

    // Gives the drop-down grids their texts from the language array.
    function init() {
        root.fillTexts(root.mediaModel, KeyCodes.mediaOptions)
        root.fillTexts(root.windowsModel, KeyCodes.windowsOptions)
        root.fillTexts(root.shortcutModel, KeyCodes.shortcutOptions)
    }

    // The dialog stores nothing of its own.
    function save() {
    }

    function endEdits() {
        root.closeMenus()
        if (root.sections)
            root.sections.endTyping()
    }

    function fillTexts(model, options) {
        model.clear()
        for (var i = 0; i < options.length; ++i)
            model.append({ textValue: String(root.keyAssigmentLang[options[i].lang]) })
    }

    function keyName(usage) {
        return KeyCodes.keyNameOf(root.keyNames, usage)
    }

    function macroName(slot) {
        var name = Program.view.getData("mouseMacroKey/" + slot, false)
        return name === undefined || name === null ? "" : String(name)
    }

    // The text shown for a page-form entry; "" for one no section offers.
    function keyCodeToString(code0, code1, code2, code3) {
        return KeyCodes.keyCodeToString(root.keyAssigmentLang, root.keyName, root.macroName, code0, code1, code2,
                                        code3)
    }

    // Splits keyCode into the four codes. A text that is not eight
    // hexadecimal digits leaves them as they are.
    function keyCodeStrProc() {
        if (!/^[0-9A-Fa-f]{8}$/.test(root.keyCode))
            return
        root.keyCode0 = parseInt(root.keyCode.substring(0, 2), 16)
        root.keyCode1 = parseInt(root.keyCode.substring(2, 4), 16)
        root.keyCode2 = parseInt(root.keyCode.substring(4, 6), 16)
        root.keyCode3 = parseInt(root.keyCode.substring(6, 8), 16)
    }

    // A choice of any section: the four codes and the text together. A key
    // still awaited for another section is no longer wanted, and the other
    // sections no longer show a choice of their own.
    function choose(code0, code1, code2, code3, text) {
        root.isFireInput = false
        root.isComboInput = false
        root.keyCode0 = code0
        root.keyCode1 = code1
        root.keyCode2 = code2
        root.keyCode3 = code3
        root.keyString = text
        root.showSections(false)
    }

    // Fire Function: the box waits for a key; rate and count change a fire
    // already chosen.
    function startFire() {
        root.closeMenus()
        root.isComboInput = false
        root.isFireInput = true
    }

    function setRate(rate) {
        root.fireRate = rate
        root.rateText = KeyCodes.rateText(rate)
        if (root.keyCode0 === 1)
            root.keyCode2 = rate
    }

    function setTimes(value) {
        root.fireTimes = KeyCodes.clampTimes(value)
        if (root.sections)
            root.sections.showTimes()
        if (root.keyCode0 === 1)
            root.keyCode3 = root.fireTimes
    }

    // The box mirrors Times: ticking it makes the fire endless; unticking an
    // endless fire asks for a count, so the box stays ticked and Times takes
    // the focus.
    function endnessToggled(ticked) {
        if (ticked && root.fireTimes !== 0)
            root.setTimes(0)
        else if (!ticked && root.fireTimes === 0 && root.sections)
            root.sections.askTimes()
    }

    // Group Function: the box collects keys until the confirm image takes
    // them or the cancel image drops them.
    function startCombo() {
        root.closeMenus()
        root.isFireInput = false
        root.combo = { bits: 0, key1: 0, key2: 0 }
        root.comboText = ""
        root.isComboInput = true
    }

    function confirmCombo() {
        var combo = root.combo
        root.isComboInput = false
        if (KeyCodes.comboIsEmpty(combo)) {
            root.comboText = root.keyAssigmentLang[10]
            return
        }
        root.choose(2, combo.bits, combo.key1, combo.key2, root.keyCodeToString(2, combo.bits, combo.key1, combo.key2))
        root.comboText = KeyCodes.comboText(root.keyName, combo)
    }

    function cancelCombo() {
        root.isComboInput = false
        root.showCombo()
    }

    function showCombo() {
        var current = { bits: root.keyCode1, key1: root.keyCode2, key2: root.keyCode3 }
        var text = root.keyCode0 === 2 ? KeyCodes.comboText(root.keyName, current) : ""
        root.comboText = text !== "" ? text : root.keyAssigmentLang[10]
    }

    // A key for the fire (inputType 0) or the combination (1) being entered.
    // Only presses count, and only keyboard keys with a name; the box shows
    // the key's name at once.
    function detectKeyboard(isDown, usbCode, inputType) {
        var usage = Number(usbCode)
        if (!isDown || !KeyCodes.isKeyboardKey(root.keyName, usage))
            return
        if (inputType === 0 && root.isFireInput) {
            var name = root.keyName(usage)
            root.choose(1, usage, root.fireRate, root.fireTimes, name)
            root.fireText = name
        } else if (inputType === 1 && root.isComboInput) {
            root.combo = KeyCodes.comboAdd(root.combo, usage)
            root.comboText = KeyCodes.comboText(root.keyName, root.combo)
        }
    }

    // Macro Function: a macro runs from the slot of the button it is on.
    function chooseMacro(index) {
        if (index < 0 || index >= root.macroModel.count || root.selectKey < 0)
            return
        root.choose(4, root.macroMode, root.selectKey, 0, root.macroModel.get(index).textValue)
    }

    function setMacroMode(mode) {
        root.macroMode = mode
        if (root.keyCode0 === 4)
            root.keyCode1 = mode
    }

    // The dialog steps aside for the editor without taking its choice: only
    // the close image does that.
    function openMacroEditor() {
        root.closeMenus()
        root.isFireInput = false
        root.isComboInput = false
        root.awaitsEditor = true
        root.visible = false
        root.macroEditorClicked()
    }

    // A macro chosen before the editor opened, renamed there, stays chosen
    // under its new name (the shell passes the editor's renames).
    function macroRenamed(oldMacroName, newMacroName) {
        if (root.awaitsEditor && root.keyCode0 === 4 && root.keyString === oldMacroName)
            root.keyString = newMacroName
    }

    // The editor has closed: the dialog comes back, the choice as it was
    // left. A macro chosen meanwhile deleted in the editor is no choice any
    // more: the button's entry (which the deletion may have reset) is shown
    // instead. False when the dialog did not open the editor.
    function editorClosed() {
        if (!root.awaitsEditor)
            return false
        root.awaitsEditor = false
        var entry = root.entryOf(root.modKeys)
        if (root.keyCode0 === 4 && root.macroNames.indexOf(root.keyString) < 0 && entry) {
            root.keyCode0 = KeyCodes.codeOrZero(entry.keyCode0)
            root.keyCode1 = KeyCodes.codeOrZero(entry.keyCode1)
            root.keyCode2 = KeyCodes.codeOrZero(entry.keyCode2)
            root.keyCode3 = KeyCodes.codeOrZero(entry.keyCode3)
            root.keyString = entry.keyText
        }
        root.visible = true
        if (root.sections)
            root.sections.focusEditorButton()
        return true
    }

    function closeMenus() {
        if (root.sections)
            root.sections.closeMenus()
    }

    // The sections as the choice being edited has them; called when the
    // dialog opens and when the back image restores the factory entry.
    function showChoice() {
        root.closeMenus()
        root.isFireInput = false
        root.isComboInput = false
        root.macroModel.clear()
        for (var i = 0; i < root.macroNames.length; ++i)
            root.macroModel.append({ textValue: String(root.macroNames[i]) })
        root.showSections(true)
    }

    // Every section shows the choice being edited if it is one of its own,
    // and nothing chosen otherwise: no key, rate, count or combination of an
    // earlier choice, no option of a grid or the macro list selected.
    function showSections(fromTop) {
        var isFire = root.keyCode0 === 1
        root.fireText = isFire && root.keyName(root.keyCode1) !== "" ? root.keyName(root.keyCode1)
                                                                     : root.keyAssigmentLang[10]
        root.fireRate = isFire ? Math.max(KeyCodes.rateMin, Math.min(KeyCodes.rateMax, root.keyCode2))
                               : KeyCodes.defaultRate
        root.rateText = isFire ? KeyCodes.rateText(root.fireRate) : "10ms"
        root.fireTimes = isFire ? KeyCodes.clampTimes(root.keyCode3) : 0
        root.showCombo()
        var isMacro = root.keyCode0 === 4
        root.macroMode = isMacro && root.keyCode1 >= 0 && root.keyCode1 <= 2 ? root.keyCode1 : 0
        if (root.sections)
            root.sections.show(fromTop)
    }

    // The entry of the button being assigned in model, or null.
    function entryOf(model) {
        return model && root.selectKey >= 0 && root.selectKey < model.count ? model.get(root.selectKey) : null
    }

    // A stored row kept as read holds NaN where it had no number; the dialog
    // shows such a code as 0, and an untouched row is no change (no option
    // has all four codes 0).
    function differs(entry) {
        return KeyCodes.codeOrZero(entry.keyCode0) !== root.keyCode0
                || KeyCodes.codeOrZero(entry.keyCode1) !== root.keyCode1
                || KeyCodes.codeOrZero(entry.keyCode2) !== root.keyCode2
                || KeyCodes.codeOrZero(entry.keyCode3) !== root.keyCode3
    }

    // The macro chosen goes to the button's slot of the mouse, and its name
    // is kept for that slot in the profile.
    function sendMacro(slot, name) {
        Program.view.sendStoredMacro(name, slot)
        Program.view.setData("mouseMacroKey/" + slot, name)
    }

    // Hands a changed choice to the working matrix: a change of any code, or
    // another macro name for a button that keeps its macro class.
    function takeChoice() {
        var entry = root.entryOf(root.modKeys)
        if (!entry)
            return
        var bothMacros = root.keyCode0 === 4 && Number(entry.keyCode0) === 4
        var storedName = bothMacros ? root.macroName(root.keyCode2) : ""
        if (!root.differs(entry) && !(bothMacros && storedName !== root.keyString))
            return
        root.assigned(root.selectKey, root.keyCode0, root.keyCode1, root.keyCode2, root.keyCode3, root.keyString)
        if (root.keyCode0 === 4)
            root.sendMacro(root.keyCode2, root.keyString)
    }

    function close() {
        root.closeMenus()
        root.isFireInput = false
        root.isComboInput = false
        root.visible = false
        root.takeChoice()
        root.closed()
    }

    // The back image: the button's factory entry, into the dialog and the
    // working matrix. A factory macro goes to the mouse's slot as well, as the
    // slot may hold another macro by now.
    function restoreFactory() {
        var factory = root.entryOf(root.modKeys_tmp)
        if (!factory || (factory.keyText === root.keyString && !root.differs(factory)))
            return
        var code0 = KeyCodes.codeOrZero(factory.keyCode0)
        var code2 = KeyCodes.codeOrZero(factory.keyCode2)
        root.choose(code0, KeyCodes.codeOrZero(factory.keyCode1), code2, KeyCodes.codeOrZero(factory.keyCode3),
                    factory.keyText)
        root.assigned(root.selectKey, root.keyCode0, root.keyCode1, root.keyCode2, root.keyCode3, factory.keyText)
        if (code0 === 4)
            root.sendMacro(code2, factory.keyText)
        root.showChoice()
    }

    width: 416
    height: 404
    visible: false
    title: root.keyAssigmentLang[0] + (root.selectKey + 1) + " : " + root.keyString

    onCloseClicked: root.close()
    onBackgroundPressed: root.endEdits()
    onAboutToShow: {
        root.build()
        root.showChoice()
    }
    onKeyAssigmentLangChanged: root.init()
    Component.onCompleted: root.init()

    // Built by build(): Qt 6.4's Loader refuses this file's inline components.
    Loader {
        id: sectionsLoader
        width: root.width
        height: root.height
    }
}
