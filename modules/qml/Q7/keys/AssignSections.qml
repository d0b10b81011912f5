pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The assignment dialog's nine sections in a scrolling area with its scroll
// bar, and the back image of the title bar. They show the choice the dialog
// holds and report what the user picks; the dialog decides. Placed over the
// whole dialog, so that the controls keep the dialog's coordinates.
Item {
    id: part

    required property list<string> texts
    // The choice being edited: its four codes and its text.
    required property list<int> choice
    required property string keyString
    required property bool isGun
    required property bool isFireInput
    required property bool isComboInput
    required property string fireText
    required property string comboText
    required property string rateText
    required property int fireRate
    required property int fireTimes
    required property int macroMode
    required property ListModel mediaModel
    required property ListModel windowsModel
    required property ListModel shortcutModel
    required property ListModel macroModel
    required property int titleHeight
    required property int contentHeight
    required property int visibleHeight

    // An option with its codes and text.
    signal chosen(int code0, int code1, int code2, int code3, string text)
    signal fireClicked
    signal ratePicked(int rate)
    signal timesEntered(string text)
    signal endnessTicked(bool ticked)
    signal comboClicked
    signal comboConfirmed
    signal comboCancelled
    signal macroPicked(int index)
    signal macroModePicked(int mode)
    signal macroEditorClicked
    signal backClicked

    function pick(codes, text) {
        part.chosen(codes[0], codes[1], codes[2], codes[3], text)
    }

    function pickOption(options, index) {
        if (index >= 0 && index < options.length)
            part.pick(options[index].codes, String(part.texts[options[index].lang]))
    }

    function isChoice(codes) {
        return part.choice.length === 4 && KeyCodes.sameCodes(Array.from(part.choice), codes)
    }

    function optionIndex(options) {
        for (var i = 0; i < options.length; ++i) {
            if (part.isChoice(options[i].codes))
                return i
        }
        return -1
    }

    // The controls that keep what they show as the choice has it; the rest
    // follow it by binding. fromTop scrolls back to the first section.
    function show(fromTop) {
        // A stored rate beyond the slider's reach puts the knob at its end.
        var knob = rateSlider.sliderControl
        var position = KeyCodes.positionOfRate(part.fireRate)
        knob.setValue(Math.min(knob.maximumValue, Math.max(knob.minimumValue, position)))
        part.showTimes()
        mediaGrid.currentSelect = part.optionIndex(KeyCodes.mediaOptions)
        windowsGrid.currentSelect = part.optionIndex(KeyCodes.windowsOptions)
        shortcutGrid.currentSelect = part.optionIndex(KeyCodes.shortcutOptions)
        var isMacro = part.choice[0] === 4
        var shown = -1
        for (var i = 0; isMacro && i < part.macroModel.count; ++i) {
            if (part.macroModel.get(i).textValue === part.keyString) {
                shown = i
                break
            }
        }
        macroList.currentSelect = shown
        // A macro whose file is gone still shows the name it is stored under.
        macroList.textValue = isMacro ? part.keyString : ""
        if (fromTop)
            flick.contentY = 0
    }

    function showTimes() {
        timesInput.textValue = String(part.fireTimes)
        endness.isSelect = part.fireTimes === 0
    }

    // An endless fire unticked: the box stays ticked and Times takes the
    // focus for a count.
    function askTimes() {
        endness.isSelect = true
        timesInput.txtInput.forceActiveFocus()
        timesInput.txtInput.selectAll()
    }

    function closeMenus() {
        rateSlider.closeMenu()
        mediaGrid.closeMenu()
        macroList.closeMenu()
        windowsGrid.closeMenu()
        shortcutGrid.closeMenu()
    }

    // A count being typed is taken as it stands.
    function endTyping() {
        timesInput.closeFocus()
    }

    function focusEditorButton() {
        macroEditorButton.forceActiveFocus()
    }

    // Keeps the control with the keyboard focus in the visible part.
    function showFocused(item) {
        var inside = item
        while (inside && inside !== content)
            inside = inside.parent
        if (inside && part.visible)
            part.reveal(item, item.height)
    }

    // Scrolls so that height pixels from item's top are in view: a control,
    // or a drop-down with what it drops.
    function reveal(item, height) {
        var top = item.mapToItem(content, 0, 0).y
        if (top < flick.contentY)
            part.scrollTo(top - 8)
        else if (top + height > flick.contentY + flick.height)
            part.scrollTo(top + height - flick.height + 8)
    }

    function scrollTo(y) {
        flick.contentY = Math.max(0, Math.min(part.contentHeight - part.visibleHeight, y))
    }

    // Page Up/Down, Home and End scroll the sections.
    Keys.onPressed: event => {
        if (event.key === Qt.Key_PageDown)
            part.scrollTo(flick.contentY + part.visibleHeight - 40)
        else if (event.key === Qt.Key_PageUp)
            part.scrollTo(flick.contentY - part.visibleHeight + 40)
        else if (event.key === Qt.Key_Home)
            part.scrollTo(0)
        else if (event.key === Qt.Key_End)
            part.scrollTo(part.contentHeight)
        else
            return
        event.accepted = true
    }

    Connections {
        target: part.Window.window
        function onActiveFocusItemChanged() {
            var window = part.Window.window
            if (window && window.activeFocusItem)
                part.showFocused(window.activeFocusItem)
        }
    }

    ImageButton {
        objectName: "backButton"
        x: part.width - 64
        y: (part.titleHeight - 16) / 2
        picture: "back"
        accessibleName: "Reset"
        onClicked: part.backClicked()
    }

    Flickable {
        id: flick
        objectName: "sections"
        x: 1
        y: part.titleHeight + 2
        width: part.width - 16
        height: part.visibleHeight
        contentWidth: flick.width
        contentHeight: part.contentHeight
        boundsBehavior: Flickable.StopAtBounds
        clip: true

        Item {
            id: content
            width: flick.width
            height: part.contentHeight

            // 1. Mouse Function, with the hidden seventh option.
            SectionTitle {
                y: 4
                text: part.texts[1]
            }
            OptionRadios {
                x: 24
                y: 32
                options: KeyCodes.mouseOptions
                texts: part.texts
                choice: part.choice
                namePrefix: "mouseOption"
                onPicked: index => part.pickOption(KeyCodes.mouseOptions, index)
            }
            RadioButton {
                id: hiddenOption
                objectName: "hiddenOption"
                visible: false
                textValue: part.texts[KeyCodes.hiddenOption.lang]
                onBtnClick: {
                    part.pick(KeyCodes.hiddenOption.codes, hiddenOption.textValue)
                    hiddenOption.isSelect = false
                }
            }

            // 2. Fire Function: key, rate and count.
            SectionTitle {
                y: 84
                text: part.texts[8]
            }
            Label {
                id: keyLabel
                x: 24
                y: 112
                height: 24
                text: part.texts[9]
            }
            CaptureBox {
                id: fireBox
                objectName: "fireBox"
                x: keyLabel.x + keyLabel.implicitWidth + 8
                y: 112
                width: Math.max(110, fireBox.textWidth + 12)
                text: part.fireText
                waiting: part.isFireInput
                onClicked: part.fireClicked()
            }
            Label {
                id: rateLabel
                x: fireBox.x + fireBox.width + 12
                y: 112
                height: 24
                text: part.texts[11]
            }
            DropDownSlider {
                id: rateSlider
                objectName: "rateSlider"
                x: Math.max(268, rateLabel.x + rateLabel.implicitWidth + 8)
                y: 112
                z: rateSlider.isDrop ? 10 : 0
                onIsDropChanged: {
                    if (rateSlider.isDrop)
                        part.reveal(rateSlider, rateSlider.height + 24)
                }
                width: 120
                textValue: part.rateText
                onValueChange: position => part.ratePicked(KeyCodes.rateOfPosition(position))
            }
            Label {
                id: timesLabel
                x: 24
                y: 144
                height: 24
                text: part.texts[12]
            }
            Rectangle {
                x: timesInput.x - 1
                y: 145
                width: 50
                height: 22
                color: "transparent"
                border.width: 1
                border.color: Skin.colorGray1
            }
            RectInput {
                id: timesInput
                objectName: "timesInput"
                x: Math.max(96, timesLabel.x + timesLabel.implicitWidth + 8)
                y: 146
                maxValue: KeyCodes.timesMax
                accessibleName: part.texts[12]
                onEndInputSignal: part.timesEntered(timesInput.textValue)
            }
            CheckBox {
                id: endness
                objectName: "endness"
                x: timesInput.x + 64
                y: 144
                height: 24
                textValue: part.texts[13]
                onIsSelectChanged: part.endnessTicked(endness.isSelect)
            }

            // 3. Group Function: modifiers and up to two keys.
            SectionTitle {
                y: 180
                text: part.texts[14]
            }
            CaptureBox {
                id: comboBox
                objectName: "comboBox"
                x: 24
                y: 208
                width: 280
                text: part.comboText
                waiting: part.isComboInput
                onClicked: part.comboClicked()
            }
            ImageButton {
                objectName: "comboConfirm"
                x: 316
                y: 212
                picture: "check"
                accessibleName: "OK"
                onClicked: part.comboConfirmed()
            }
            ImageButton {
                objectName: "comboCancel"
                x: 344
                y: 212
                picture: "dlgClose"
                accessibleName: "Cancel"
                onClicked: part.comboCancelled()
            }

            // 4. Media Function.
            SectionTitle {
                y: 244
                text: part.texts[15]
            }
            DropDownGrid {
                id: mediaGrid
                objectName: "mediaGrid"
                x: 24
                y: 272
                z: mediaGrid.isDrop ? 10 : 0
                onIsDropChanged: {
                    if (mediaGrid.isDrop)
                        part.reveal(mediaGrid, mediaGrid.height + mediaGrid.gridHeight)
                }
                mdItems: part.mediaModel
                onBtnClick: part.pickOption(KeyCodes.mediaOptions, mediaGrid.currentSelect)
            }

            // 5. Macro Function: a macro of the editor's list and its repeat mode.
            SectionTitle {
                y: 308
                text: part.texts[16]
            }
            DropDownList {
                id: macroList
                objectName: "macroList"
                x: 24
                y: 336
                z: macroList.isDrop ? 10 : 0
                onIsDropChanged: {
                    if (macroList.isDrop)
                        part.reveal(macroList, macroList.height + macroList.listHeight)
                }
                width: 180
                mdItems: part.macroModel
                onValueChange: index => part.macroPicked(index)
            }
            TextButton {
                id: macroEditorButton
                objectName: "macroEditorButton"
                x: 220
                y: 336
                width: 120
                textValue: part.texts[17]
                onClicked: part.macroEditorClicked()
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
                        textValue: part.texts[KeyCodes.macroModeLang[modeRadio.index]]
                        isSelect: part.macroMode === modeRadio.index
                        onBtnClick: {
                            part.macroModePicked(modeRadio.index)
                            modeRadio.isSelect = Qt.binding(() => part.macroMode === modeRadio.index)
                        }
                    }
                }
            }

            // 6. DPI Function.
            SectionTitle {
                y: 444
                text: part.texts[21]
            }
            OptionRadios {
                x: 24
                y: 472
                options: KeyCodes.dpiOptions
                texts: part.texts
                choice: part.choice
                namePrefix: "dpiOption"
                onPicked: index => part.pickOption(KeyCodes.dpiOptions, index)
            }

            // 7. Windows Function.
            SectionTitle {
                y: 528
                text: part.texts[25]
            }
            DropDownGrid {
                id: windowsGrid
                objectName: "windowsGrid"
                x: 24
                y: 556
                z: windowsGrid.isDrop ? 10 : 0
                onIsDropChanged: {
                    if (windowsGrid.isDrop)
                        part.reveal(windowsGrid, windowsGrid.height + windowsGrid.gridHeight)
                }
                mdItems: part.windowsModel
                onBtnClick: part.pickOption(KeyCodes.windowsOptions, windowsGrid.currentSelect)
            }

            // 8. Shortcut Function.
            SectionTitle {
                y: 592
                text: part.texts[26]
            }
            DropDownGrid {
                id: shortcutGrid
                objectName: "shortcutGrid"
                x: 24
                y: 620
                z: shortcutGrid.isDrop ? 10 : 0
                onIsDropChanged: {
                    if (shortcutGrid.isDrop)
                        part.reveal(shortcutGrid, shortcutGrid.height + shortcutGrid.gridHeight)
                }
                mdItems: part.shortcutModel
                onBtnClick: part.pickOption(KeyCodes.shortcutOptions, shortcutGrid.currentSelect)
            }

            // 9. Gun Function, for mice with gun modes.
            Item {
                objectName: "gunSection"
                y: 656
                width: content.width
                height: 60
                visible: part.isGun

                SectionTitle {
                    text: part.texts[52]
                }
                OptionRadios {
                    x: 24
                    y: 28
                    columns: KeyCodes.gunOptions.length
                    options: KeyCodes.gunOptions
                    texts: part.texts
                    choice: part.choice
                    namePrefix: "gunOption"
                    onPicked: index => part.pickOption(KeyCodes.gunOptions, index)
                }
            }
        }
    }

    SectionScrollBar {
        objectName: "scrollBar"
        x: part.width - 12
        y: flick.y
        flick: flick
        onScrollTo: contentY => part.scrollTo(contentY)
    }

    // A section's heading.
    component SectionTitle: Label {
        x: 12
        height: 24
        color: Skin.colorOrange
    }
}
