pragma ComponentBehavior: Bound
import QtQuick
import modules.qml
// The linter finds basic/ through the module and calls this import unused;
// a page loaded from its folder needs it.

// The lighting panel of the main window's right side: the effect, its speed
// and brightness steps, the colour blocks (one per DPI stage, or twelve on
// some mice) and, on one mouse, a single fixed colour. Colours are picked on
// a hue bar or typed as R, G, B or "#rrggbb". Everything stays on the page
// until Save, a profile change or a factory reset sends it.
Item {
    id: root

    // The page holds changes Save would store and send.
    property bool dirty: false
    property alias isSave: root.dirty
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

    // Which step controls the effect uses, the selected block (-1: the
    // single colour), the blocks' colours and the single colour, and each
    // colour slider's x (0..11 the blocks', 12 the single).
    property bool speedShown: true
    property bool brightnessShown: true
    property int selectColorBlock: 0
    property list<string> blockColors: LightRules.builtInColors
    property string fixColor: LightRules.builtInFixColor
    property list<int> sliderXs: root.slidersFor(LightRules.builtInColors, LightRules.builtInFixColor)
    readonly property int visibleSlider: root.selectColorBlock < 0 ? 12 : root.selectColorBlock
    // While the back button loads the factory values the list stays as built.
    property bool backActive: false
    property bool effectsBuilt: false

    // A panel is never closed; the page protocol names the signal.
    signal closed

    // Each slider's x for the blocks' colours and the single colour.
    function slidersFor(colors, fixColor) {
        var xs = colors.map(c => LightRules.sliderX(c, LightRules.barX, LightRules.barWidth))
        xs.push(LightRules.sliderX(fixColor, LightRules.barX, LightRules.barWidth))
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
        steps.setSteps(light.speed, light.brightness)
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
        var lightValue = [effectList.currentSelect, steps.speed, steps.brightness]
        var values = []
        Array.from(root.blockColors).forEach(c => values.push(...LightRules.rgbOf(c)))
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

    // What the shell's Save does for this page: everything stored and sent.
    function save() {
        root.saveData(true, 0)
    }

    // Gives block colorBlockIndex (0..11) the colour "#rrggbb"; anything
    // else is refused, said on the debug output.
    function setColor(colorBlockIndex, colorValue) {
        var rgb = LightRules.parseHex(colorValue)
        if (!Number.isInteger(colorBlockIndex) || colorBlockIndex < 0 || colorBlockIndex > 11 || rgb === null) {
            console.debug("LightControl: no colour block " + colorBlockIndex + " for [" + colorValue + "]")
            return
        }
        var colors = Array.from(root.blockColors)
        colors[colorBlockIndex] = LightRules.colorText(rgb[0], rgb[1], rgb[2])
        root.blockColors = colors
    }

    // Places the visible slider for a colour, shows the colour in the fields
    // and gives it to the selected block, or to the single colour.
    function setSliderPos(colorValue) {
        var color = LightRules.colorText(...LightRules.rgbOf(colorValue))
        root.moveSlider(root.visibleSlider, LightRules.sliderX(color, LightRules.barX, LightRules.barWidth))
        root.takeColor(color)
    }

    function takeColor(color) {
        colorArea.showFields(color)
        if (root.selectColorBlock < 0)
            root.fixColor = color
        else
            root.setColor(root.selectColorBlock, color)
    }

    function moveSlider(index, x) {
        var xs = Array.from(root.sliderXs)
        xs[index] = x
        root.sliderXs = xs
    }

    function selectedColor() {
        return root.selectColorBlock < 0 ? root.fixColor : root.blockColors[root.selectColorBlock]
    }

    // The selected colour's slider at its colour, and its values in the fields.
    function showSelected() {
        var color = root.selectedColor()
        root.moveSlider(root.visibleSlider, LightRules.sliderX(color, LightRules.barX, LightRules.barWidth))
        colorArea.showFields(color)
    }

    function selectBlock(index) {
        root.endEdits()
        root.selectColorBlock = index
        root.showSelected()
    }

    // The visible slider dragged or moved to x (kept on the bar): the colour
    // under it goes to the fields and the selected block.
    function slideTo(x) {
        var range = LightRules.slideRange(LightRules.barX, LightRules.barWidth)
        var kept = Math.max(range[0], Math.min(range[1], Math.round(x)))
        root.moveSlider(root.visibleSlider, kept)
        root.takeColor(LightRules.colorAtSlider(kept, LightRules.barX, LightRules.barWidth))
    }

    // R, G or B left: the three values make the colour. Only a change is
    // one that Save has to write.
    function commitFields() {
        var color = colorArea.typedColor()
        var changed = color !== root.selectedColor()
        root.setSliderPos(color)
        if (changed)
            root.dirty = true
    }

    // A complete "#rrggbb" commits like the R, G, B fields; anything else
    // shows the selected colour again once the field is left.
    function commitHex(text, isLeaving) {
        var rgb = LightRules.parseHex(text)
        if (rgb === null) {
            if (isLeaving)
                colorArea.showFields(root.selectedColor())
            return
        }
        var color = LightRules.colorText(rgb[0], rgb[1], rgb[2])
        if (color === root.selectedColor())
            return
        root.setSliderPos(color)
        root.dirty = true
    }

    // Which controls the effect uses; choosing it in the list also sets the
    // steps its table names.
    function applyEffect(index, isChoosing) {
        var v = LightRules.visibility(index, root.is571, root.is55328)
        root.speedShown = v.speed
        root.brightnessShown = v.brightness
        root.is571ColorBlock = v.is571ColorBlock
        root.selectColorBlock = v.selectColorBlock
        root.isColorDisplay = v.isColorDisplay
        if (isChoosing)
            steps.setSteps(v.speedStep, v.brightnessStep)
        root.showSelected()
    }

    function chooseEffect(index) {
        root.applyEffect(index, true)
        root.dirty = true
    }

    // The factory profile's lighting on the page; the mouse gets it on Save.
    function restoreFactory() {
        root.endEdits()
        root.backActive = true
        root.init(false, true)
        root.backActive = false
        root.dirty = true
    }

    // Closes the effect list and ends typing, which commits a field.
    function endEdits() {
        effectList.closeMenu()
        colorArea.endEdits()
    }
    function lightControlFocus() { root.endEdits() }

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
        onBtnClick: colorArea.endEdits()
    }

    // Back: the factory profile's lighting, shown until Save sends it.
    IconButton {
        id: backBtn
        objectName: "backBtn"
        x: 192
        y: frame.titleHeight + 12
        image: "back"
        accessibleName: "Back"
        onClicked: root.restoreFactory()
    }

    LightSteps {
        id: steps
        y: 72
        texts: root.lightControlLang
        speedShown: root.speedShown
        brightnessShown: root.brightnessShown
        onStepsChanged: root.dirty = true
        onPressed: root.endEdits()
    }

    LightColorArea {
        id: colorArea
        objectName: "colorArea"
        y: root.height - 104
        enabled: root.isColorDisplay
        texts: root.lightControlLang
        blockColors: root.blockColors
        sliderXs: root.sliderXs
        selectColorBlock: root.selectColorBlock
        visibleSlider: root.visibleSlider
        blockFlags: ({ is571: root.is571, is55328: root.is55328, isColorful: root.isColorful, dpiCount: root.dpiCount,
                       is571ColorBlock: root.is571ColorBlock, effect: effectList.currentSelect })
        onPressed: root.endEdits()
        onBlockChosen: index => root.selectBlock(index)
        onSlid: to => root.slideTo(to)
        onMoveEnded: root.dirty = true
        onFieldsLeft: root.commitFields()
        onHexEdited: (text, isLeaving) => root.commitHex(text, isLeaving)
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
