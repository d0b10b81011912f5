pragma ComponentBehavior: Bound
import QtQuick
// The linter finds basic/ through the module and calls this import unused;
// a page loaded from its folder needs it.
import "../basic"
import "../common"

// The lighting panel of the main window's right side: the effect, its speed
// and brightness steps, the colour blocks (one per DPI stage, or twelve on
// some mice) and, on one mouse, a single fixed colour. Colours are picked on
// a hue bar or typed as R, G, B or "#rrggbb". Everything stays on the page
// until Save, a profile change or a factory reset sends it.
Item {
    id: root

    property bool isSave: false
    property bool isColorDisplay: true
    property bool is571ColorBlock: false
    // Entries 15 to 44 (the effects of some variants) come from the language
    // file only.
    property var lightControlLang: ["Light", "Static", "Breath", "Neon", "OFF", "Speed", "Color", "Brightness",
        "Twinkling", "Wave", "Gliding", "Finger Moving", "Vertical Flipping", "YO-YO", "Spotlight",
        "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
        "", "", "", "", "", "", "", "", "", "", "", "", "", ""]
    property alias lightModel: effectList

    // The shell's flags and the DPI page's number of stages.
    property bool isColorful: false
    property bool is55328: false
    property bool is571: false
    property bool isPownOn: false
    property int dpiCount: 4

    // Which step controls the effect uses, the blocks' colours and the single
    // colour, and each colour slider's x (0..11 the blocks', 12 the single).
    property bool speedShown: true
    property bool brightnessShown: true
    property var blockColors: LightRules.builtInColors.slice()
    property string fixColor: LightRules.builtInFixColor
    property var sliderXs: root.slidersFor(LightRules.builtInColors, LightRules.builtInFixColor)
    readonly property int visibleSlider: colorBlockRow.selectColorBlock < 0 ? 12 : colorBlockRow.selectColorBlock
    // While the back button loads the factory values the list stays as built.
    property bool backActive: false
    property bool effectsBuilt: false

    // Each slider's x for the blocks' colours and the single colour.
    function slidersFor(colors, fixColor) {
        var xs = colors.map(c => LightRules.sliderX(c, colorBar.x, colorBar.width))
        xs.push(LightRules.sliderX(fixColor, colorBar.x, colorBar.width))
        return xs
    }

    // Loads the profile's lighting (the factory profile's with isRecovery)
    // into the controls, and sends it with isSendData. What the file holds
    // that is no usable value shows as the built-in value, said on the debug
    // output, so neither the page nor the mouse ever gets a non-number.
    function init(isSendData, isRecovery) {
        // The list is built once, on the start-up load; the back button and
        // later loads keep it. A page whose first load comes later (made
        // after start-up) builds it then, so the list is never empty.
        var startUp = !isSendData && !root.backActive && !root.isPownOn
        if ((startUp && !root.effectsBuilt) || effectModel.count === 0)
            root.buildEffects()
        var light = LightRules.cleanLight(Program.view.getDataList("mouse/lightValue", isRecovery),
                                     effectModel.count)
        root.report("mouse/lightValue", light.faults)
        effectList.currentSelect = light.effect
        rateSlider.setIndexValue(light.speed, false)
        lightnessSlider.setIndexValue(light.brightness, false)
        root.applyEffect(light.effect, false)

        var colors = LightRules.cleanColors(Program.view.getDataList("mouse/colorValue", isRecovery))
        root.report("mouse/colorValue", colors.faults)
        root.blockColors = colors.colors
        var fix = LightRules.cleanFixColor(Program.view.getDataList("mouse/fixColor", isRecovery))
        root.report("mouse/fixColor", fix.faults)
        root.fixColor = fix.color
        root.sliderXs = root.slidersFor(root.blockColors, root.fixColor)
        root.showSelected()
        if (isSendData)
            root.saveData(true, 0)
    }

    function report(key, faults) {
        if (faults.length > 0)
            console.debug("LightControl: " + key + ": " + faults.join("; "))
    }

    // The effects this mouse offers, once.
    function buildEffects() {
        effectModel.clear()
        var names = LightRules.effectNames(root.lightControlLang, root.isColorful, root.is55328, root.is571)
        for (var i = 0; i < names.length; ++i)
            effectModel.append({ textValue: names[i] })
        root.effectsBuilt = true
    }

    // Stores the page's lighting (isStep 0 all, 1 the effect, 2 the colours)
    // and sends it with isSendData.
    function saveData(isSendData, isStep) {
        var lightValue = [effectList.currentSelect, rateSlider.segmentValue, lightnessSlider.segmentValue]
        var values = []
        root.blockColors.forEach(c => values.push(...LightRules.rgbOf(c)))
        var colorValueArray = LightRules.colorsToSave(values, root.is55328, lightValue[0])
        var fixColorArray = LightRules.rgbOf(root.fixColor)
        if (isStep === 0 || isStep === 1)
            Program.view.setDataList("mouse/lightValue", lightValue)
        if (isStep === 0 || isStep === 2) {
            Program.view.setDataList("mouse/colorValue", colorValueArray)
            Program.view.setDataList("mouse/fixColor", fixColorArray)
        }
        if (!isSendData)
            return
        if (isStep === 0 || isStep === 1)
            Program.view.mouseSetRGBEffect(lightValue[0], lightValue[1], lightValue[2])
        if (isStep === 0 || isStep === 2) {
            Program.view.mouseSetRGBColor(root.isColorful ? 0 : 1, colorValueArray)
            if (root.is571)
                Program.view.mouseSetFixColor(fixColorArray)
        }
    }

    // Gives block colorBlockIndex (0..11) the colour "#rrggbb"; anything
    // else is refused, said on the debug output.
    function setColor(colorBlockIndex, colorValue) {
        var rgb = LightRules.parseHex(colorValue)
        if (!Number.isInteger(colorBlockIndex) || colorBlockIndex < 0 || colorBlockIndex > 11 || rgb === null) {
            console.debug("LightControl: no colour block " + colorBlockIndex + " for [" + colorValue + "]")
            return
        }
        var colors = root.blockColors.slice()
        colors[colorBlockIndex] = LightRules.colorText(rgb[0], rgb[1], rgb[2])
        root.blockColors = colors
    }

    // Places the visible slider for a colour, shows the colour in the fields
    // and gives it to the selected block, or to the single colour.
    function setSliderPos(colorValue) {
        var color = LightRules.colorText(...LightRules.rgbOf(colorValue))
        root.moveSlider(root.visibleSlider, LightRules.sliderX(color, colorBar.x, colorBar.width))
        root.takeColor(color)
    }

    function takeColor(color) {
        root.showFields(color)
        if (colorBlockRow.selectColorBlock < 0)
            root.fixColor = color
        else
            root.setColor(colorBlockRow.selectColorBlock, color)
    }

    function moveSlider(index, x) {
        var xs = root.sliderXs.slice()
        xs[index] = x
        root.sliderXs = xs
    }

    function selectedColor() {
        return colorBlockRow.selectColorBlock < 0 ? root.fixColor : root.blockColors[colorBlockRow.selectColorBlock]
    }

    // The selected colour's slider at its colour, and its values in the fields.
    function showSelected() {
        var color = root.selectedColor()
        root.moveSlider(root.visibleSlider, LightRules.sliderX(color, colorBar.x, colorBar.width))
        root.showFields(color)
    }

    function showFields(color) {
        var rgb = LightRules.rgbOf(color)
        settingColorR.textValue = String(rgb[0])
        settingColorG.textValue = String(rgb[1])
        settingColorB.textValue = String(rgb[2])
        if (hexInput.text !== color)
            hexInput.text = color
    }

    function selectBlock(index) {
        root.lightControlFocus()
        colorBlockRow.selectColorBlock = index
        root.showSelected()
    }

    // The visible slider dragged or moved to x (kept on the bar): the colour
    // under it goes to the fields and the selected block.
    function slideTo(x) {
        var range = LightRules.slideRange(colorBar.x, colorBar.width)
        var kept = Math.max(range[0], Math.min(range[1], Math.round(x)))
        root.moveSlider(root.visibleSlider, kept)
        root.takeColor(LightRules.colorAtSlider(kept, colorBar.x, colorBar.width))
    }

    // R, G or B left: the three values make the colour. Only a change is
    // one that Save has to write.
    function commitFields() {
        var color = LightRules.colorText(LightRules.fieldValue(settingColorR.textValue),
                                         LightRules.fieldValue(settingColorG.textValue),
                                         LightRules.fieldValue(settingColorB.textValue))
        var changed = color !== root.selectedColor()
        root.setSliderPos(color)
        if (changed)
            root.isSave = true
    }

    // A complete "#rrggbb" commits like the R, G, B fields; anything else
    // shows the selected colour again once the field is left.
    function commitHex(text, isLeaving) {
        var rgb = LightRules.parseHex(text)
        if (rgb === null) {
            if (isLeaving)
                root.showFields(root.selectedColor())
            return
        }
        var color = LightRules.colorText(rgb[0], rgb[1], rgb[2])
        if (color === root.selectedColor())
            return
        root.setSliderPos(color)
        root.isSave = true
    }

    // Which controls the effect uses; choosing it in the list also sets the
    // steps its table names.
    function applyEffect(index, isChoosing) {
        var v = LightRules.visibility(index, root.is571, root.is55328)
        root.speedShown = v.speed
        root.brightnessShown = v.brightness
        root.is571ColorBlock = v.is571ColorBlock
        colorBlockRow.selectColorBlock = v.selectColorBlock
        root.isColorDisplay = v.isColorDisplay
        if (isChoosing && v.speedStep >= 0)
            rateSlider.setIndexValue(v.speedStep, false)
        if (isChoosing && v.brightnessStep >= 0)
            lightnessSlider.setIndexValue(v.brightnessStep, false)
        root.showSelected()
    }

    function chooseEffect(index) {
        root.applyEffect(index, true)
        root.isSave = true
    }

    // The factory profile's lighting on the page; the mouse gets it on Save.
    function restoreFactory() {
        root.lightControlFocus()
        root.backActive = true
        root.init(false, true)
        root.backActive = false
        root.isSave = true
    }

    // Closes the effect list and ends typing, which commits a field.
    function lightControlFocus() {
        effectList.closeMenu()
        settingColorR.closeFocus()
        settingColorG.closeFocus()
        settingColorB.closeFocus()
        if (hexInput.activeFocus)
            hexInput.focus = false
    }

    width: 232
    height: LightRules.pageHeight(root.speedShown, root.brightnessShown)

    ListModel {
        id: effectModel
    }

    PageFrame {
        id: frame
        anchors.fill: parent
        titleHeight: 32
        title: root.lightControlLang[0]
    }

    DropDownList {
        id: effectList
        objectName: "lightModel"
        x: 16
        y: frame.titleHeight + 8
        // Its list opens over the controls below.
        z: 2
        width: 150
        // Eight rows end above the window's bottom bar.
        maxRows: 8
        currentSelect: 1
        mdItems: effectModel
        onValueChange: index => root.chooseEffect(index)
        onBtnClick: {
            settingColorR.closeFocus()
            settingColorG.closeFocus()
            settingColorB.closeFocus()
        }
    }

    // Back: the factory profile's lighting, shown until Save sends it.
    Image {
        id: backBtn
        objectName: "backBtn"
        x: 192
        y: frame.titleHeight + 12
        width: 16
        height: 16
        sourceSize.width: 16
        sourceSize.height: 16
        source: Skin.image(backArea.containsMouse || backBtn.activeFocus ? "back_hover" : "back")
        activeFocusOnTab: true

        Accessible.role: Accessible.Button
        Accessible.name: "Back"
        Accessible.focusable: true
        Accessible.onPressAction: root.restoreFactory()
        Keys.onSpacePressed: root.restoreFactory()
        Keys.onReturnPressed: root.restoreFactory()
        Keys.onEnterPressed: root.restoreFactory()

        MouseArea {
            id: backArea
            anchors.fill: parent
            hoverEnabled: true
            onClicked: root.restoreFactory()
        }
    }

    // The step controls, each with its percent; a hidden one leaves no gap.
    Column {
        y: 72
        spacing: 8

        Item {
            id: rateContainer
            objectName: "rateContainer"
            width: 232
            height: 36
            visible: root.speedShown

            Label {
                x: 16
                width: 70
                height: 24
                text: root.lightControlLang[5]
            }
            SliderButton {
                id: rateSlider
                objectName: "rateSlider"
                x: 88
                y: 9
                width: 88
                segment: 4
                isScale: true
                accessibleName: root.lightControlLang[5]
                onValueChangeDelay: root.isSave = true
                onBtnClick: root.lightControlFocus()
            }
            Label {
                objectName: "rateLabel"
                x: 184
                width: 36
                height: 24
                horizontalAlignment: Text.AlignRight
                text: LightRules.percentText(rateSlider.segmentValue)
            }
        }

        Item {
            id: lightnessContainer
            objectName: "lightnessContainer"
            width: 232
            height: 36
            visible: root.brightnessShown

            Label {
                x: 16
                width: 70
                height: 24
                text: root.lightControlLang[7]
            }
            SliderButton {
                id: lightnessSlider
                objectName: "lightnessSlider"
                x: 88
                y: 9
                width: 88
                segment: 4
                isScale: true
                accessibleName: root.lightControlLang[7]
                onValueChangeDelay: root.isSave = true
                onBtnClick: root.lightControlFocus()
            }
            Label {
                objectName: "lightnessLabel"
                x: 184
                width: 36
                height: 24
                horizontalAlignment: Text.AlignRight
                text: LightRules.percentText(lightnessSlider.segmentValue)
            }
        }
    }

    // The colour area: blocks, hue bar with its sliders, R/G/B and hex.
    // Masked, it takes neither the pointer nor the keyboard.
    Item {
        id: colorArea
        objectName: "colorArea"
        y: root.height - 104
        width: 232
        height: 104
        enabled: root.isColorDisplay

        // The label left, the blocks right-aligned: the label gets the room
        // the blocks leave.
        Label {
            x: 8
            y: 0
            width: Math.min(implicitWidth, colorBlockRow.x - 12)
            height: 19
            text: root.lightControlLang[6]
        }

        Row {
            id: colorBlockRow
            objectName: "colorBlockRow"

            property int selectColorBlock: 0

            x: colorArea.width - 8 - colorBlockRow.width
            y: 3
            spacing: 1

            Repeater {
                model: 12

                Rectangle {
                    id: block

                    required property int index
                    readonly property bool selected: block.index === colorBlockRow.selectColorBlock

                    function choose() {
                        root.selectBlock(block.index)
                    }

                    objectName: "colorBlock" + block.index
                    width: 13
                    height: 13
                    color: root.blockColors[block.index]
                    border.width: block.selected || block.activeFocus ? 1 : 0
                    border.color: block.activeFocus && !block.selected ? Skin.colorOrange : "#ffffff"
                    visible: LightRules.blockShown(block.index, {
                                                       is571: root.is571,
                                                       is55328: root.is55328,
                                                       isColorful: root.isColorful,
                                                       dpiCount: root.dpiCount,
                                                       is571ColorBlock: root.is571ColorBlock,
                                                       effect: effectList.currentSelect
                                                   })
                    activeFocusOnTab: true

                    Accessible.role: Accessible.RadioButton
                    Accessible.name: root.lightControlLang[6] + " " + (block.index + 1)
                    Accessible.checkable: true
                    Accessible.checked: block.selected
                    Accessible.focusable: true
                    Accessible.onPressAction: block.choose()
                    Keys.onSpacePressed: block.choose()
                    Keys.onReturnPressed: block.choose()
                    Keys.onEnterPressed: block.choose()

                    MouseArea {
                        anchors.fill: parent
                        onClicked: block.choose()
                    }
                }
            }
        }

        // The hue bar: a click puts the visible slider there.
        Rectangle {
            id: colorBar
            objectName: "colorBar"
            x: 16
            y: 26
            width: LightRules.barWidth
            height: 10
            border.width: 1
            border.color: Skin.colorGray1
            gradient: Gradient {
                orientation: Gradient.Horizontal
                GradientStop { position: 0; color: "#ff0000" }
                GradientStop { position: 1 / 6; color: "#ffff00" }
                GradientStop { position: 2 / 6; color: "#00ff00" }
                GradientStop { position: 3 / 6; color: "#00ffff" }
                GradientStop { position: 4 / 6; color: "#0000ff" }
                GradientStop { position: 5 / 6; color: "#ff00ff" }
                GradientStop { position: 0.99; color: "#ff0000" }
                GradientStop { position: 1; color: "#ffffff" }
            }

            MouseArea {
                anchors.fill: parent
                anchors.margins: -3
                onPressed: mouse => {
                    root.lightControlFocus()
                    root.slideTo(colorBar.x + mouse.x - 3 - LightRules.sliderWidth / 2)
                }
                onReleased: root.isSave = true
            }
        }

        // Sliders 1 to 12 for the blocks and S for the single colour; only
        // the selected colour's is shown. Dragged, or moved with the arrow
        // keys (Page Up/Down by ten, Home and End to the bar's ends).
        Repeater {
            model: 13

            Item {
                id: slider

                required property int index
                // Read by assistive technology through the slider role.
                readonly property int value: slider.x + LightRules.sliderWidth / 2 - colorBar.x - 1
                readonly property int minimumValue: -1
                readonly property int maximumValue: colorBar.width - 2
                readonly property int stepSize: 1

                function keyMove(count) {
                    root.slideTo(slider.x + count)
                    root.isSave = true
                }

                objectName: slider.index < 12 ? "slider" + slider.index : "sliderSingle"
                x: root.sliderXs[slider.index]
                y: 38
                width: LightRules.sliderWidth
                height: 20
                visible: slider.index === root.visibleSlider
                activeFocusOnTab: true

                Accessible.role: Accessible.Slider
                Accessible.name: root.lightControlLang[6] + " " + marker.text
                Accessible.focusable: true
                Keys.onPressed: event => {
                    var moves = {}
                    moves[Qt.Key_Left] = -1
                    moves[Qt.Key_Down] = -1
                    moves[Qt.Key_Right] = 1
                    moves[Qt.Key_Up] = 1
                    moves[Qt.Key_PageDown] = -10
                    moves[Qt.Key_PageUp] = 10
                    moves[Qt.Key_Home] = -colorBar.width
                    moves[Qt.Key_End] = colorBar.width
                    if (moves[event.key] === undefined)
                        return
                    slider.keyMove(moves[event.key])
                    event.accepted = true
                }

                // The pointer up to the bar, and the slider's number below it.
                Rectangle {
                    x: LightRules.sliderWidth / 2 - 1
                    width: 2
                    height: 5
                    color: Skin.fontColor
                }
                Rectangle {
                    y: 4
                    width: LightRules.sliderWidth
                    height: 16
                    radius: 3
                    color: Skin.colorGray1
                    border.width: 1
                    border.color: slider.activeFocus ? Skin.colorOrange : Skin.fontColor

                    Text {
                        id: marker
                        anchors.centerIn: parent
                        text: slider.index < 12 ? String(slider.index + 1) : "S"
                        color: Skin.fontColor
                        font.family: Skin.fontFamily
                        font.pixelSize: Skin.fontMinSize
                    }
                }

                MouseArea {
                    id: sliderArea
                    property real sliderAtPress: 0
                    property real pointerAtPress: 0

                    anchors.fill: parent
                    cursorShape: Qt.SizeHorCursor
                    onPressed: mouse => {
                        root.lightControlFocus()
                        sliderArea.sliderAtPress = slider.x
                        sliderArea.pointerAtPress = sliderArea.mapToItem(colorArea, mouse.x, 0).x
                    }
                    onPositionChanged: mouse => {
                        var pointer = sliderArea.mapToItem(colorArea, mouse.x, 0).x
                        root.slideTo(sliderArea.sliderAtPress + pointer - sliderArea.pointerAtPress)
                    }
                    onReleased: root.isSave = true
                    onCanceled: root.isSave = true
                }
            }
        }

        Repeater {
            model: ["R", "G", "B"]

            Label {
                id: fieldName
                required property int index
                required property string modelData
                x: 16 + 48 * fieldName.index
                y: 66
                width: 10
                height: 20
                text: fieldName.modelData
            }
        }
        RectInput {
            id: settingColorR
            objectName: "settingColorR"
            x: 26
            y: 66
            width: 34
            accessibleName: "R"
            onEndInputSignal: root.commitFields()
        }
        RectInput {
            id: settingColorG
            objectName: "settingColorG"
            x: 74
            y: 66
            width: 34
            accessibleName: "G"
            onEndInputSignal: root.commitFields()
        }
        RectInput {
            id: settingColorB
            objectName: "settingColorB"
            x: 122
            y: 66
            width: 34
            accessibleName: "B"
            onEndInputSignal: root.commitFields()
        }

        // "#rrggbb", in step with R, G and B.
        Rectangle {
            x: 160
            y: 66
            width: 58
            height: 20
            color: "transparent"
            border.width: 1
            border.color: hexInput.activeFocus ? Skin.colorOrange : Skin.colorGray1

            TextInput {
                id: hexInput
                objectName: "settingColorHex"
                anchors.fill: parent
                horizontalAlignment: TextInput.AlignHCenter
                verticalAlignment: TextInput.AlignVCenter
                text: LightRules.builtInColors[0]
                maximumLength: 7
                clip: true
                selectByMouse: true
                activeFocusOnTab: true
                color: Skin.fontColor
                selectionColor: Skin.colorOrange
                font.family: Skin.fontFamily
                font.pixelSize: Skin.fontNormalSize
                validator: RegularExpressionValidator {
                    regularExpression: /#?[0-9a-fA-F]{0,6}/
                }

                Accessible.role: Accessible.EditableText
                Accessible.name: "Hex"
                Accessible.focusable: true

                Keys.onReturnPressed: hexInput.focus = false
                Keys.onEnterPressed: hexInput.focus = false
                onTextEdited: root.commitHex(hexInput.text, false)
                onActiveFocusChanged: {
                    if (!hexInput.activeFocus)
                        root.commitHex(hexInput.text, true)
                }
            }
        }
    }

    // Over a colour area the effect does not use: dimmed, and deaf to the
    // pointer.
    Rectangle {
        id: colorMask
        objectName: "colorMask"
        x: 1
        y: colorArea.y
        width: 230
        height: 101
        color: "#b0000000"
        visible: !root.isColorDisplay

        MouseArea {
            anchors.fill: parent
            hoverEnabled: true
            acceptedButtons: Qt.AllButtons
            onWheel: wheel => wheel.accepted = true
        }
    }
}
