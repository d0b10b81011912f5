pragma ComponentBehavior: Bound
import QtQuick
import "../basic"
import "../common"

// The dialog in which one button's function is chosen: nine sections in a
// scrolling area, each choice setting the four page-form codes and the text
// at once. Closing takes a changed choice into the key matrix page (which
// sends nothing until Save); a macro also goes to the mouse's slot of the
// button at once, as the matrix will point there.
Item {
    id: root

    property var keyAssigmentLang: ["Key ", "Mouse Function", "Left Key", "Middle Key", "Right Key", "Forward Key",
        "Back Key", "Double Fire", "Fire Function", "Key Value", "Click Input", "Rate", "Times", "Endness",
        "Group Function", "Media Function", "Macro Function", "Macro Editor",
        "Macro runs one-time after pressing the button", "Macro runs endless loop until any button is pressed",
        "Macro runs endless loop until button is released", "DPI Function", "DPI+", "DPI-", "DPI LOOP",
        "Windows Function", "Shortcut Function", "Player", "Next", "Privous", "Stop", "Mute", "Play/Pause", "Volumn+",
        "Volumn-", "My PC", "Index", "Search", "Max", "Min", "Desktop", "Run", "New", "Cut", "Copy", "Paste", "Save",
        "Print", "Find", "Redo", "Undo", "Select All", "Gun Function", "One Gun", "Two Gun", "Three Gun", "Sniper Key",
        "Click"]

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

    // The pages this one works with, set by the shell: the key matrix page
    // (modKeys, modKeys_tmp, isSave), the macro editor (macroNames)
    // and the key names.
    property var keyMatrix: null
    property var macroEditor: null
    property KeyCodeString keyCodeString: KeyCodeString {}
    // The options of every section and the rules of the fire and
    // combination inputs.
    readonly property KeyCodeTable table: KeyCodeTable {}

    // The fire function's rate (ms) and count as the section shows them.
    property int fireRate: root.table.defaultRate
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

    readonly property int contentHeight: 830
    readonly property int visibleHeight: 360

    // The dialog has hidden itself; the shell hides its mask.
    signal closed
    // The Macro Editor button: the dialog has stepped aside with its choice
    // pending and the shell opens the editor; editorClosed() brings it back.
    signal macroEditorClicked

    // Gives the drop-down grids their texts from the language array.
    function init() {
        root.fillTexts(mediaModel, root.table.mediaOptions)
        root.fillTexts(windowsModel, root.table.windowsOptions)
        root.fillTexts(shortcutModel, root.table.shortcutOptions)
    }

    function fillTexts(model, options) {
        model.clear()
        for (var i = 0; i < options.length; ++i)
            model.append({ textValue: String(root.keyAssigmentLang[options[i].lang]) })
    }

    function keyName(usage) {
        return root.keyCodeString ? root.keyCodeString.keycodeTostr(usage) : ""
    }

    function macroName(slot) {
        var name = Program.view.getData("mouseMacroKey/" + slot, false)
        return name === undefined || name === null ? "" : String(name)
    }

    // The text shown for a page-form entry; "" for one no section offers.
    function keyCodeToString(code0, code1, code2, code3) {
        return root.table.keyCodeToString(root.keyAssigmentLang, root.keyName, root.macroName, code0, code1, code2,
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

    function isChoice(codes) {
        return root.keyCode0 === codes[0] && root.keyCode1 === codes[1] && root.keyCode2 === codes[2]
                && root.keyCode3 === codes[3]
    }

    // A choice of any section: the four codes and the text together. A key
    // still awaited for another section is no longer wanted, and the other
    // sections no longer show a choice of their own.
    function choose(codes, text) {
        root.isFireInput = false
        root.isComboInput = false
        root.keyCode0 = codes[0]
        root.keyCode1 = codes[1]
        root.keyCode2 = codes[2]
        root.keyCode3 = codes[3]
        root.keyString = text
        root.showSections()
    }

    function optionIndex(options) {
        for (var i = 0; i < options.length; ++i) {
            if (root.isChoice(options[i].codes))
                return i
        }
        return -1
    }

    function chooseOption(options, index) {
        if (index >= 0 && index < options.length)
            root.choose(options[index].codes, String(root.keyAssigmentLang[options[index].lang]))
    }

    // Fire Function: the box waits for a key; rate and count change a fire
    // already chosen.
    function startFire() {
        root.closeMenus()
        root.isComboInput = false
        root.isFireInput = true
        fireBox.forceActiveFocus()
    }

    function setRate(rate) {
        root.fireRate = rate
        rateSlider.textValue = root.table.rateText(rate)
        if (root.keyCode0 === 1)
            root.keyCode2 = rate
    }

    function setTimes(value) {
        root.fireTimes = root.table.clampTimes(value)
        timesInput.textValue = String(root.fireTimes)
        endness.isSelect = root.fireTimes === 0
        if (root.keyCode0 === 1)
            root.keyCode3 = root.fireTimes
    }

    // The box mirrors Times: ticking it makes the fire endless; unticking an
    // endless fire asks for a count, so the box stays ticked and Times takes
    // the focus.
    function endnessToggled() {
        if (endness.isSelect && root.fireTimes !== 0) {
            root.setTimes(0)
        } else if (!endness.isSelect && root.fireTimes === 0) {
            endness.isSelect = true
            timesInput.txtInput.forceActiveFocus()
            timesInput.txtInput.selectAll()
        }
    }

    // Group Function: the box collects keys until the confirm image takes
    // them or the cancel image drops them.
    function startCombo() {
        root.closeMenus()
        root.isFireInput = false
        root.combo = { bits: 0, key1: 0, key2: 0 }
        root.comboText = ""
        root.isComboInput = true
        comboBox.forceActiveFocus()
    }

    function confirmCombo() {
        var combo = root.combo
        root.isComboInput = false
        if (root.table.comboIsEmpty(combo)) {
            root.comboText = root.keyAssigmentLang[10]
            return
        }
        var codes = [2, combo.bits, combo.key1, combo.key2]
        root.choose(codes, root.keyCodeToString(codes[0], codes[1], codes[2], codes[3]))
        root.comboText = root.table.comboText(root.keyName, combo)
    }

    function cancelCombo() {
        root.isComboInput = false
        root.showCombo()
    }

    function showCombo() {
        var current = { bits: root.keyCode1, key1: root.keyCode2, key2: root.keyCode3 }
        var text = root.keyCode0 === 2 ? root.table.comboText(root.keyName, current) : ""
        root.comboText = text !== "" ? text : root.keyAssigmentLang[10]
    }

    // A key for the fire (inputType 0) or the combination (1) being entered.
    // Only presses count, and only keyboard keys with a name; the box shows
    // the key's name at once.
    function detectKeyboard(isDown, usbCode, inputType) {
        var usage = Number(usbCode)
        if (!isDown || !root.table.isKeyboardKey(root.keyName, usage))
            return
        if (inputType === 0 && root.isFireInput) {
            var name = root.keyName(usage)
            root.choose([1, usage, root.fireRate, root.fireTimes], name)
            root.fireText = name
        } else if (inputType === 1 && root.isComboInput) {
            root.combo = root.table.comboAdd(root.combo, usage)
            root.comboText = root.table.comboText(root.keyName, root.combo)
        }
    }

    // Macro Function: a macro runs from the slot of the button it is on.
    function chooseMacro(index) {
        if (index < 0 || index >= macroModel.count || root.selectKey < 0)
            return
        root.choose([4, root.macroMode, root.selectKey, 0], macroModel.get(index).textValue)
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

    // The editor has closed: the dialog comes back, the choice as it was
    // left. A macro chosen meanwhile deleted in the editor is no choice any
    // more: the button's entry (which the deletion may have reset) is shown
    // instead. False when the dialog did not open the editor.
    function editorClosed() {
        if (!root.awaitsEditor)
            return false
        root.awaitsEditor = false
        var names = root.macroEditor && root.macroEditor.macroNames ? root.macroEditor.macroNames : []
        var entry = root.entryOf("modKeys")
        if (root.keyCode0 === 4 && names.indexOf(root.keyString) < 0 && entry) {
            const code = value => Number.isFinite(Number(value)) ? Number(value) : 0
            root.keyCode0 = code(entry.keyCode0)
            root.keyCode1 = code(entry.keyCode1)
            root.keyCode2 = code(entry.keyCode2)
            root.keyCode3 = code(entry.keyCode3)
            root.keyString = entry.keyText
        }
        root.visible = true
        macroEditorButton.forceActiveFocus()
        return true
    }

    function closeMenus() {
        rateSlider.closeMenu()
        mediaGrid.closeMenu()
        macroList.closeMenu()
        windowsGrid.closeMenu()
        shortcutGrid.closeMenu()
    }

    // The sections as the choice being edited has them; called when the
    // dialog opens and when the back image restores the factory entry.
    function showChoice() {
        root.closeMenus()
        root.isFireInput = false
        root.isComboInput = false
        var names = root.macroEditor && root.macroEditor.macroNames ? root.macroEditor.macroNames : []
        macroModel.clear()
        for (var i = 0; i < names.length; ++i)
            macroModel.append({ textValue: String(names[i]) })
        root.showSections()
        flick.contentY = 0
    }

    // Every section shows the choice being edited if it is one of its own,
    // and nothing chosen otherwise: no key, rate, count or combination of an
    // earlier choice, no option of a grid or the macro list selected.
    function showSections() {
        var isFire = root.keyCode0 === 1
        root.fireText = isFire && root.keyName(root.keyCode1) !== "" ? root.keyName(root.keyCode1)
                                                                     : root.keyAssigmentLang[10]
        root.fireRate = isFire ? Math.max(root.table.rateMin, Math.min(root.table.rateMax, root.keyCode2))
                               : root.table.defaultRate
        rateSlider.textValue = isFire ? root.table.rateText(root.fireRate) : "10ms"
        // A stored rate beyond the slider's reach puts the knob at its end.
        var knob = rateSlider.sliderControl
        var position = root.table.positionOfRate(root.fireRate)
        knob.setValue(Math.min(knob.maximumValue, Math.max(knob.minimumValue, position)))
        root.fireTimes = isFire ? root.table.clampTimes(root.keyCode3) : 0
        timesInput.textValue = String(root.fireTimes)
        endness.isSelect = root.fireTimes === 0
        root.showCombo()
        mediaGrid.currentSelect = root.optionIndex(root.table.mediaOptions)
        windowsGrid.currentSelect = root.optionIndex(root.table.windowsOptions)
        shortcutGrid.currentSelect = root.optionIndex(root.table.shortcutOptions)
        var isMacro = root.keyCode0 === 4
        root.macroMode = isMacro && root.keyCode1 >= 0 && root.keyCode1 <= 2 ? root.keyCode1 : 0
        var shown = -1
        for (var i = 0; isMacro && i < macroModel.count; ++i) {
            if (macroModel.get(i).textValue === root.keyString) {
                shown = i
                break
            }
        }
        macroList.currentSelect = shown
        // A macro whose file is gone still shows the name it is stored under.
        macroList.textValue = isMacro ? root.keyString : ""
    }

    function entryOf(model) {
        var keys = root.keyMatrix ? root.keyMatrix[model] : null
        return keys && root.selectKey >= 0 && root.selectKey < keys.count ? keys.get(root.selectKey) : null
    }

    // A stored row kept as read holds NaN where it had no number; the dialog
    // shows such a code as 0, and an untouched row is no change (no option
    // has all four codes 0).
    function differs(entry) {
        const same = (stored, shown) => (Number.isFinite(Number(stored)) ? Number(stored) : 0) === shown
        return !same(entry.keyCode0, root.keyCode0) || !same(entry.keyCode1, root.keyCode1)
                || !same(entry.keyCode2, root.keyCode2) || !same(entry.keyCode3, root.keyCode3)
    }

    // The macro chosen goes to the button's slot of the mouse, and its name
    // is kept for that slot in the profile.
    function sendMacro(slot, name) {
        Program.view.sendStoredMacro(name, slot)
        Program.view.setData("mouseMacroKey/" + slot, name)
    }

    // Takes a changed choice into the working matrix: a change of any code,
    // or another macro name for a button that keeps its macro class.
    function takeChoice() {
        var entry = root.entryOf("modKeys")
        if (!entry)
            return
        var bothMacros = root.keyCode0 === 4 && Number(entry.keyCode0) === 4
        var storedName = bothMacros ? root.macroName(root.keyCode2) : ""
        if (!root.differs(entry) && !(bothMacros && storedName !== root.keyString))
            return
        root.keyMatrix.modKeys.set(root.selectKey, { keyCode0: root.keyCode0, keyCode1: root.keyCode1,
                                        keyCode2: root.keyCode2, keyCode3: root.keyCode3, keyText: root.keyString })
        root.keyMatrix.isSave = true
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
        var factory = root.entryOf("modKeys_tmp")
        if (!factory || (factory.keyText === root.keyString && !root.differs(factory)))
            return
        var codes = [Number(factory.keyCode0), Number(factory.keyCode1), Number(factory.keyCode2),
                     Number(factory.keyCode3)]
        root.choose(codes, factory.keyText)
        root.keyMatrix.modKeys.set(root.selectKey, { keyCode0: codes[0], keyCode1: codes[1], keyCode2: codes[2],
                                        keyCode3: codes[3], keyText: factory.keyText })
        root.keyMatrix.isSave = true
        if (codes[0] === 4)
            root.sendMacro(codes[2], factory.keyText)
        root.showChoice()
    }

    // Keeps the control with the keyboard focus in the visible part.
    function showFocused(item) {
        var inside = item
        while (inside && inside !== content)
            inside = inside.parent
        if (inside && root.visible)
            root.reveal(item, item.height)
    }

    // Scrolls so that height pixels from item's top are in view: a control,
    // or a drop-down with what it drops.
    function reveal(item, height) {
        var top = item.mapToItem(content, 0, 0).y
        if (top < flick.contentY)
            root.scrollTo(top - 8)
        else if (top + height > flick.contentY + flick.height)
            root.scrollTo(top + height - flick.height + 8)
    }

    function scrollTo(y) {
        flick.contentY = Math.max(0, Math.min(root.contentHeight - root.visibleHeight, y))
    }

    x: (1024 - root.width) / 2
    y: (640 - root.height) / 2
    width: 416
    height: 404
    visible: false

    Accessible.role: Accessible.Dialog
    Accessible.name: frame.title

    onVisibleChanged: {
        if (root.visible)
            root.showChoice()
    }
    onKeyAssigmentLangChanged: root.init()
    Component.onCompleted: root.init()

    // Page Up/Down, Home and End scroll the sections.
    Keys.onPressed: event => {
        if (event.key === Qt.Key_PageDown)
            root.scrollTo(flick.contentY + root.visibleHeight - 40)
        else if (event.key === Qt.Key_PageUp)
            root.scrollTo(flick.contentY - root.visibleHeight + 40)
        else if (event.key === Qt.Key_Home)
            root.scrollTo(0)
        else if (event.key === Qt.Key_End)
            root.scrollTo(root.contentHeight)
        else
            return
        event.accepted = true
    }

    // A macro chosen before the editor opened, renamed there, stays chosen
    // under its new name.
    Connections {
        target: root.macroEditor
        enabled: root.awaitsEditor
        function onModifyMacroName(oldMacroName: string, newMacroName: string) {
            if (root.keyCode0 === 4 && root.keyString === oldMacroName)
                root.keyString = newMacroName
        }
    }

    Connections {
        target: root.Window.window
        function onActiveFocusItemChanged() {
            var window = root.Window.window
            if (window && window.activeFocusItem)
                root.showFocused(window.activeFocusItem)
        }
    }

    PageFrame {
        id: frame
        anchors.fill: parent
        title: root.keyAssigmentLang[0] + (root.selectKey + 1) + " : " + root.keyString
        closable: true
        onCloseClicked: root.close()
    }

    // The title bar drags the dialog within the window.
    MouseArea {
        objectName: "dragArea"
        width: root.width - 80
        height: frame.titleHeight
        drag.target: root
        drag.minimumX: 0
        drag.minimumY: 0
        drag.maximumX: Math.max(0, (root.parent ? root.parent.width : 1024) - root.width)
        drag.maximumY: Math.max(0, (root.parent ? root.parent.height : 640) - root.height)
    }

    ImageButton {
        objectName: "backButton"
        x: root.width - 64
        y: (frame.titleHeight - 16) / 2
        picture: "back"
        accessibleName: "Reset"
        onClicked: root.restoreFactory()
    }

    Flickable {
        id: flick
        objectName: "sections"
        x: 1
        y: frame.titleHeight + 2
        width: root.width - 16
        height: root.visibleHeight
        contentWidth: flick.width
        contentHeight: root.contentHeight
        boundsBehavior: Flickable.StopAtBounds
        clip: true

        Item {
            id: content
            width: flick.width
            height: root.contentHeight

            // 1. Mouse Function, with the hidden seventh option.
            SectionTitle {
                y: 4
                text: root.keyAssigmentLang[1]
            }
            Grid {
                x: 24
                y: 32
                columns: 3
                rowSpacing: 4
                columnSpacing: 16

                Repeater {
                    model: root.table.mouseOptions

                    RadioButton {
                        id: mouseRadio
                        required property var modelData
                        required property int index
                        objectName: "mouseOption" + mouseRadio.index
                        width: Math.max(96, mouseRadio.implicitWidth)
                        height: 20
                        textValue: root.keyAssigmentLang[mouseRadio.modelData.lang]
                        isSelect: root.isChoice(mouseRadio.modelData.codes)
                        onBtnClick: {
                            root.choose(mouseRadio.modelData.codes, mouseRadio.textValue)
                            mouseRadio.isSelect = Qt.binding(() => root.isChoice(mouseRadio.modelData.codes))
                        }
                    }
                }
            }
            RadioButton {
                id: hiddenOption
                objectName: "hiddenOption"
                visible: false
                textValue: root.keyAssigmentLang[root.table.hiddenOption.lang]
                onBtnClick: {
                    root.choose(root.table.hiddenOption.codes, hiddenOption.textValue)
                    hiddenOption.isSelect = false
                }
            }

            // 2. Fire Function: key, rate and count.
            SectionTitle {
                y: 84
                text: root.keyAssigmentLang[8]
            }
            Label {
                id: keyLabel
                x: 24
                y: 112
                height: 24
                text: root.keyAssigmentLang[9]
            }
            CaptureBox {
                id: fireBox
                objectName: "fireBox"
                x: keyLabel.x + keyLabel.implicitWidth + 8
                y: 112
                width: Math.max(110, fireBox.textWidth + 12)
                text: root.fireText
                waiting: root.isFireInput
                onClicked: root.startFire()
            }
            Label {
                id: rateLabel
                x: fireBox.x + fireBox.width + 12
                y: 112
                height: 24
                text: root.keyAssigmentLang[11]
            }
            DropDownSlider {
                id: rateSlider
                objectName: "rateSlider"
                x: Math.max(268, rateLabel.x + rateLabel.implicitWidth + 8)
                y: 112
                z: rateSlider.isDrop ? 10 : 0
                onIsDropChanged: {
                    if (rateSlider.isDrop)
                        root.reveal(rateSlider, rateSlider.height + 24)
                }
                width: 120
                textValue: "10ms"
                onValueChange: position => root.setRate(root.table.rateOfPosition(position))
            }
            Label {
                id: timesLabel
                x: 24
                y: 144
                height: 24
                text: root.keyAssigmentLang[12]
            }
            Rectangle {
                x: timesInput.x - 1
                y: 145
                width: 50
                height: 22
                color: "transparent"
                border.width: 1
                border.color: frame.colorGray1
            }
            RectInput {
                id: timesInput
                objectName: "timesInput"
                x: Math.max(96, timesLabel.x + timesLabel.implicitWidth + 8)
                y: 146
                maxValue: root.table.timesMax
                accessibleName: root.keyAssigmentLang[12]
                onEndInputSignal: root.setTimes(timesInput.textValue)
            }
            CheckBox {
                id: endness
                objectName: "endness"
                x: timesInput.x + 64
                y: 144
                height: 24
                textValue: root.keyAssigmentLang[13]
                onIsSelectChanged: root.endnessToggled()
            }

            // 3. Group Function: modifiers and up to two keys.
            SectionTitle {
                y: 180
                text: root.keyAssigmentLang[14]
            }
            CaptureBox {
                id: comboBox
                objectName: "comboBox"
                x: 24
                y: 208
                width: 280
                text: root.comboText
                waiting: root.isComboInput
                onClicked: root.startCombo()
            }
            ImageButton {
                objectName: "comboConfirm"
                x: 316
                y: 212
                picture: "check"
                accessibleName: "OK"
                onClicked: root.confirmCombo()
            }
            ImageButton {
                objectName: "comboCancel"
                x: 344
                y: 212
                picture: "dlgClose"
                accessibleName: "Cancel"
                onClicked: root.cancelCombo()
            }

            // 4. Media Function.
            SectionTitle {
                y: 244
                text: root.keyAssigmentLang[15]
            }
            DropDownGrid {
                id: mediaGrid
                objectName: "mediaGrid"
                x: 24
                y: 272
                z: mediaGrid.isDrop ? 10 : 0
                onIsDropChanged: {
                    if (mediaGrid.isDrop)
                        root.reveal(mediaGrid, mediaGrid.height + mediaGrid.gridHeight)
                }
                mdItems: ListModel {
                    id: mediaModel
                }
                onBtnClick: root.chooseOption(root.table.mediaOptions, mediaGrid.currentSelect)
            }

            // 5. Macro Function: a macro of the editor's list and its repeat mode.
            SectionTitle {
                y: 308
                text: root.keyAssigmentLang[16]
            }
            DropDownList {
                id: macroList
                objectName: "macroList"
                x: 24
                y: 336
                z: macroList.isDrop ? 10 : 0
                onIsDropChanged: {
                    if (macroList.isDrop)
                        root.reveal(macroList, macroList.height + macroList.listHeight)
                }
                width: 180
                mdItems: ListModel {
                    id: macroModel
                }
                onValueChange: index => root.chooseMacro(index)
            }
            TextButton {
                id: macroEditorButton
                objectName: "macroEditorButton"
                x: 220
                y: 336
                width: 120
                textValue: root.keyAssigmentLang[17]
                onClicked: root.openMacroEditor()
            }
            Column {
                x: 24
                y: 368
                spacing: 2

                Repeater {
                    model: 3

                    RadioButton {
                        id: modeRadio
                        required property int index
                        objectName: "macroMode" + modeRadio.index
                        // Two lines where a language needs them.
                        width: Math.min(modeRadio.implicitWidth, content.width - 32)
                        height: Math.max(20, modeRadio.implicitHeight)
                        gapValue: 8
                        textValue: root.keyAssigmentLang[root.table.macroModeLang[modeRadio.index]]
                        isSelect: root.macroMode === modeRadio.index
                        onBtnClick: {
                            root.setMacroMode(modeRadio.index)
                            modeRadio.isSelect = Qt.binding(() => root.macroMode === modeRadio.index)
                        }
                    }
                }
            }

            // 6. DPI Function.
            SectionTitle {
                y: 444
                text: root.keyAssigmentLang[21]
            }
            Grid {
                x: 24
                y: 472
                columns: 3
                rowSpacing: 4
                columnSpacing: 16

                Repeater {
                    model: root.table.dpiOptions

                    RadioButton {
                        id: dpiRadio
                        required property var modelData
                        required property int index
                        objectName: "dpiOption" + dpiRadio.index
                        width: Math.max(96, dpiRadio.implicitWidth)
                        height: 20
                        textValue: root.keyAssigmentLang[dpiRadio.modelData.lang]
                        isSelect: root.isChoice(dpiRadio.modelData.codes)
                        onBtnClick: {
                            root.choose(dpiRadio.modelData.codes, dpiRadio.textValue)
                            dpiRadio.isSelect = Qt.binding(() => root.isChoice(dpiRadio.modelData.codes))
                        }
                    }
                }
            }

            // 7. Windows Function.
            SectionTitle {
                y: 528
                text: root.keyAssigmentLang[25]
            }
            DropDownGrid {
                id: windowsGrid
                objectName: "windowsGrid"
                x: 24
                y: 556
                z: windowsGrid.isDrop ? 10 : 0
                onIsDropChanged: {
                    if (windowsGrid.isDrop)
                        root.reveal(windowsGrid, windowsGrid.height + windowsGrid.gridHeight)
                }
                mdItems: ListModel {
                    id: windowsModel
                }
                onBtnClick: root.chooseOption(root.table.windowsOptions, windowsGrid.currentSelect)
            }

            // 8. Shortcut Function.
            SectionTitle {
                y: 592
                text: root.keyAssigmentLang[26]
            }
            DropDownGrid {
                id: shortcutGrid
                objectName: "shortcutGrid"
                x: 24
                y: 620
                z: shortcutGrid.isDrop ? 10 : 0
                onIsDropChanged: {
                    if (shortcutGrid.isDrop)
                        root.reveal(shortcutGrid, shortcutGrid.height + shortcutGrid.gridHeight)
                }
                mdItems: ListModel {
                    id: shortcutModel
                }
                onBtnClick: root.chooseOption(root.table.shortcutOptions, shortcutGrid.currentSelect)
            }

            // 9. Gun Function, for mice with gun modes.
            Item {
                objectName: "gunSection"
                y: 656
                width: content.width
                height: 60
                visible: root.isGun

                SectionTitle {
                    text: root.keyAssigmentLang[52]
                }
                Row {
                    x: 24
                    y: 28
                    spacing: 16

                    Repeater {
                        model: root.table.gunOptions

                        RadioButton {
                            id: gunRadio
                            required property var modelData
                            required property int index
                            objectName: "gunOption" + gunRadio.index
                            width: Math.max(96, gunRadio.implicitWidth)
                            height: 20
                            textValue: root.keyAssigmentLang[gunRadio.modelData.lang]
                            isSelect: root.isChoice(gunRadio.modelData.codes)
                            onBtnClick: {
                                root.choose(gunRadio.modelData.codes, gunRadio.textValue)
                                gunRadio.isSelect = Qt.binding(() => root.isChoice(gunRadio.modelData.codes))
                            }
                        }
                    }
                }
            }
        }
    }

    // The scroll bar: the handle follows the sections; pressing or dragging
    // on the track scrolls them to that place.
    Rectangle {
        id: scrollBar
        objectName: "scrollBar"
        x: root.width - 12
        y: flick.y
        width: 6
        height: root.visibleHeight
        radius: 3
        color: frame.colorGray1

        Accessible.role: Accessible.ScrollBar
        Accessible.name: "Scroll"

        function dragTo(y) {
            var range = root.contentHeight - root.visibleHeight
            var ratio = (y - handle.height / 2) / (scrollBar.height - handle.height)
            root.scrollTo(ratio * range)
        }

        Rectangle {
            id: handle
            objectName: "scrollHandle"
            width: parent.width
            height: scrollBar.height * root.visibleHeight / root.contentHeight
            y: flick.contentY / (root.contentHeight - root.visibleHeight) * (scrollBar.height - handle.height)
            radius: 3
            color: frame.colorOrange
        }
        MouseArea {
            anchors.fill: parent
            anchors.margins: -3
            onPressed: mouse => scrollBar.dragTo(mouse.y)
            onPositionChanged: mouse => scrollBar.dragTo(mouse.y)
        }
    }

    // A section's heading.
    component SectionTitle: Label {
        x: 12
        height: 24
        color: Skin.colorOrange
    }

    // A box that waits for a key after a click, with an orange border while
    // it waits. While waiting it takes every key itself: the key is the
    // input, not a command to the dialog.
    component CaptureBox: Rectangle {
        id: box
        property string text: ""
        property bool waiting: false
        readonly property real textWidth: boxLabel.implicitWidth
        signal clicked

        height: 24
        color: Skin.colorGray0
        border.width: 1
        border.color: box.waiting || box.activeFocus ? Skin.colorOrange : Skin.colorGray1
        activeFocusOnTab: true

        Accessible.role: Accessible.Button
        Accessible.name: box.text
        Accessible.focusable: true
        Accessible.onPressAction: box.clicked()
        Keys.onPressed: event => {
            if (box.waiting) {
                event.accepted = true
            } else if (event.key === Qt.Key_Space || event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
                event.accepted = true
                box.clicked()
            }
        }

        Label {
            id: boxLabel
            anchors.fill: parent
            anchors.margins: 4
            horizontalAlignment: Text.AlignHCenter
            text: box.text
            Accessible.ignored: true
        }
        MouseArea {
            anchors.fill: parent
            cursorShape: Qt.PointingHandCursor
            onClicked: box.clicked()
        }
    }

    // One of the skin's pictures as a button, lit under the pointer or with
    // the focus.
    component ImageButton: Image {
        id: button
        property string picture: ""
        property string accessibleName: ""
        readonly property bool lit: buttonArea.containsMouse || button.activeFocus
        signal clicked

        width: 16
        height: 16
        sourceSize.width: 16
        sourceSize.height: 16
        source: Skin.image(button.picture + (button.lit && button.picture !== "check" ? "_hover" : ""))
        activeFocusOnTab: true
        opacity: button.lit || button.picture !== "check" ? 1 : 0.8

        Accessible.role: Accessible.Button
        Accessible.name: button.accessibleName
        Accessible.focusable: true
        Accessible.onPressAction: button.clicked()
        Keys.onSpacePressed: button.clicked()
        Keys.onReturnPressed: button.clicked()
        Keys.onEnterPressed: button.clicked()

        MouseArea {
            id: buttonArea
            anchors.fill: parent
            hoverEnabled: true
            cursorShape: Qt.PointingHandCursor
            onClicked: button.clicked()
        }
    }
}
