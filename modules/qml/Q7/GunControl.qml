pragma ComponentBehavior: Bound
import QtQuick
import "../basic"
import "../common"
import "../common/Shell.js" as Shell

// The gun editor dialog: which of the six gun presets goes into each of the
// mouse's three gun slots, and the shown preset's values: its vertical
// compensation (the red dot on the target, or the Y field), its fire period
// and its shot count. Every edit is stored at once; the mouse gets the slots,
// and the key matrix that carries their periods, when the dialog closes.
Item {
    id: root

    property var gunControlLang: ["Gun editor", "Gun", "Select gun", "Cursor Adjust", "X Axis", "Y axis", "Fire adjust",
        "Rate", "Times", "Endness"]

    // The preset in each gun slot, 0..5; stored together as mouse/selectGun.
    property int selectGun1: 0
    property int selectGun2: 1
    property int selectGun3: 2
    property bool isSave: false

    // The six presets, values as text; replaced from the gun file by init().
    property ListModel gunNumberModel: ListModel {}
    readonly property var builtInNames: ["M416", "AKM", "M16A4", "SCAR-L", "UNP9", "Thomson"]

    // A stored record's elements 0..5, in this order.
    readonly property var recordFields: ["gunName", "gunKey", "gunPeriod", "gunX", "gunY", "gunTimes"]

    // The key matrix page, whose matrix carries the slots' fire periods; set
    // by the shell. Untyped: that page names this one's type.
    property var keyMatrix: null

    // The slot being edited (0..2) and the preset shown (0..5).
    property int currentSlot: 0
    property int currentGun: 0
    property int windowWidth: 1024
    property int windowHeight: 640

    // The dialog has hidden itself; the shell hides its mask.
    signal closed

    // Reads the presets from the gun file and the slots' presets. A record
    // that is missing or short keeps the built-in values of what it lacks, so
    // every preset has all its fields; a slot whose stored preset is not one
    // of the six takes its reset value (slot k: preset k - 1). Slot 1 is then
    // the one shown.
    function init() {
        root.setSlotTexts()
        for (var i = 0; i < root.gunNumberModel.count; ++i) {
            var record = Program.view.getGunData(i)
            for (var f = 0; f < root.recordFields.length; ++f) {
                if (record && record[f] !== undefined && record[f] !== null)
                    root.gunNumberModel.setProperty(i, root.recordFields[f], String(record[f]))
            }
        }
        var stored = Program.view.getGlobalData("mouse/selectGun")
        var slots = Array.isArray(stored) ? stored : String(stored === undefined ? "" : stored).split(",")
        root.selectGun1 = root.presetOf(slots[0], 0)
        root.selectGun2 = root.presetOf(slots[1], 1)
        root.selectGun3 = root.presetOf(slots[2], 2)
        root.showSlot(0)
    }

    function presetOf(value, fallback) {
        var text = String(value === undefined || value === null ? "" : value).trim()
        var n = Number(text)
        return text !== "" && Number.isInteger(n) && n >= 0 && n < root.gunNumberModel.count ? n : fallback
    }

    // The factory reset: slots 1..3 take presets 0..2, which get their
    // factory compensation and period; each is saved and each slot sent.
    function resetData() {
        root.selectGun1 = 0
        root.selectGun2 = 1
        root.selectGun3 = 2
        Program.view.setGlobalData("mouse/selectGun", [0, 1, 2])
        var factoryY = ["5", "7", "8"]
        for (var i = 0; i < factoryY.length; ++i) {
            root.gunNumberModel.setProperty(i, "gunY", factoryY[i])
            root.gunNumberModel.setProperty(i, "gunPeriod", "9")
            root.saveData(i)
        }
        for (var slot = 0; slot < 3; ++slot)
            root.sendData(slot)
        root.showSlot(0)
    }

    // Sends gun slot 0..2 with its preset's times, X and Y. The mouse takes
    // a byte each: a value out of its range is sent clamped into it, and one
    // that is no number (a hand-edited gun file) as 0, said on the debug
    // output.
    function sendData(slot) {
        var gun = root.gunNumberModel.get(root.slotPresets()[slot])
        if (!gun)
            return
        var fields = [gun.gunTimes, gun.gunX, gun.gunY]
        for (var f = 0; f < fields.length; ++f) {
            if (GunRules.integer(fields[f], null) === null)
                console.debug("GunControl: gun slot " + (slot + 1) + " " + ["times", "X", "Y"][f] + " is [" + fields[f]
                              + "], sent as 0")
        }
        var values = [GunRules.clampTimes(gun.gunTimes), GunRules.clampY(gun.gunX), GunRules.clampY(gun.gunY)]
        Program.view.mouseSendGundata(slot + 1, values)
    }

    // Stores preset index in the gun file.
    function saveData(index) {
        var gun = root.gunNumberModel.get(index)
        if (!gun)
            return
        var record = [gun.gunName, gun.gunKey, gun.gunPeriod, gun.gunX, gun.gunY, gun.gunTimes]
        Program.view.mouseSaveGundata(index, record)
    }

    function slotPresets() {
        return [root.selectGun1, root.selectGun2, root.selectGun3]
    }

    // The slot selector's entries: text 1 followed by the slot's number.
    function setSlotTexts() {
        for (var k = 0; k < slotModel.count; ++k)
            slotModel.setProperty(k, "textValue", root.gunControlLang[1] + " " + (k + 1))
    }

    // The slot selector chose slot: its preset is shown. A slot choice alone
    // counts as a change, so closing sends all three slots.
    function chooseSlot(slot) {
        root.gunControlFocus()
        root.showSlot(slot)
        root.isSave = true
    }

    function showSlot(slot) {
        root.currentSlot = slot
        slotSelector.currentSelect = slot
        root.showPreset(root.slotPresets()[slot])
    }

    // A preset picked from the list goes into the slot being edited. A value
    // still being typed belongs to the preset shown until then.
    function assignPreset(index) {
        if (index < 0 || index >= root.gunNumberModel.count)
            return
        root.gunControlFocus()
        if (root.currentSlot === 0)
            root.selectGun1 = index
        else if (root.currentSlot === 1)
            root.selectGun2 = index
        else
            root.selectGun3 = index
        Program.view.setGlobalData("mouse/selectGun", root.slotPresets())
        root.isSave = true
        root.showPreset(index)
    }

    // The preset's values in the fields, the dot, the rate slider and the
    // Endness box. The X field always shows 0: X changes only in the file.
    function showPreset(index) {
        var gun = root.gunNumberModel.get(index)
        if (!gun)
            return
        root.currentGun = index
        yInput.textValue = String(GunRules.clampY(gun.gunY))
        dot.y = GunRules.dotOf(gun.gunY)
        rateSlider.textValue = GunRules.rateText(GunRules.integer(gun.gunPeriod, 10))
        rateSlider.sliderControl.setValue(GunRules.ratePosition(gun.gunPeriod))
        timesInput.textValue = String(GunRules.clampTimes(gun.gunTimes))
        endness.isSelect = GunRules.isEndless(gun.gunTimes)
    }

    // Sets a field of the shown preset and stores it; a value it already has
    // is no change.
    function setField(field, value) {
        var gun = root.gunNumberModel.get(root.currentGun)
        if (!gun || gun[field] === String(value))
            return
        root.gunNumberModel.setProperty(root.currentGun, field, String(value))
        root.saveData(root.currentGun)
        root.isSave = true
    }

    function setY(y) {
        var value = GunRules.clampY(y)
        yInput.textValue = String(value)
        dot.y = GunRules.dotOf(value)
        root.setField("gunY", value)
    }

    function setTimes(times) {
        var value = GunRules.clampTimes(times)
        timesInput.textValue = String(value)
        root.setField("gunTimes", value)
        endness.isSelect = GunRules.isEndless(value)
    }

    // The rate field's text after a move of its slider; the number in front
    // of "MS" is the period.
    function setPeriodFromText(text) {
        var period = GunRules.periodOfText(text)
        if (period >= 0)
            root.setField("gunPeriod", period)
    }

    // The box mirrors Times. Ticking it makes the preset endless; unticking
    // an endless preset asks for a count: the box stays ticked and the Times
    // field takes the focus.
    function endnessToggled() {
        var endless = GunRules.isEndless(timesInput.textValue)
        if (endness.isSelect && !endless) {
            root.setTimes(0)
        } else if (!endness.isSelect && endless) {
            endness.isSelect = true
            timesInput.txtInput.forceActiveFocus()
            timesInput.txtInput.selectAll()
        }
    }

    // Closes the open drop-downs and ends typing, which commits the field.
    function gunControlFocus() {
        slotSelector.closeMenu()
        rateSlider.closeMenu()
        yInput.closeFocus()
        timesInput.closeFocus()
    }

    // After a change the mouse gets the three slots, and the key matrix again
    // for the periods it carries.
    function close() {
        root.gunControlFocus()
        root.visible = false
        root.closed()
        if (!root.isSave)
            return
        root.isSave = false
        for (var slot = 0; slot < 3; ++slot)
            root.sendData(slot)
        if (root.keyMatrix && root.keyMatrix.modKeys)
            root.keyMatrix.modKeys.saveData()
    }

    x: (1024 - root.width) / 2
    y: (640 - root.height) / 2
    width: 640
    height: 448
    visible: false

    onGunControlLangChanged: root.setSlotTexts()

    Component.onCompleted: {
        for (var i = 0; i < root.builtInNames.length; ++i) {
            root.gunNumberModel.append({ gunName: root.builtInNames[i], gunImage: String(Skin.image("gun" + i)),
                                         gunKey: "L-Click", gunPeriod: "10", gunX: "0", gunY: "10", gunTimes: "0" })
        }
        for (var k = 0; k < 3; ++k)
            slotModel.append({ textValue: "" })
        root.setSlotTexts()
        root.showSlot(0)
    }

    Accessible.role: Accessible.Dialog
    Accessible.name: root.gunControlLang[0]
    Keys.onEscapePressed: root.close()

    ListModel {
        id: slotModel
    }

    // The background: a press closes the drop-downs and ends typing, a drag
    // moves the dialog, kept whole inside the window.
    MouseArea {
        id: dragArea
        objectName: "dragArea"
        anchors.fill: parent
        property point pressedAt

        onPressed: mouse => {
            root.gunControlFocus()
            dragArea.pressedAt = Qt.point(mouse.x, mouse.y)
        }
        onPositionChanged: mouse => {
            root.x = Shell.clampToWindow(root.x + mouse.x - dragArea.pressedAt.x, root.width, root.windowWidth)
            root.y = Shell.clampToWindow(root.y + mouse.y - dragArea.pressedAt.y, root.height, root.windowHeight)
        }
    }

    PageFrame {
        id: frame
        anchors.fill: parent
        title: root.gunControlLang[0]
        closable: true
        onCloseClicked: root.close()
    }

    // The left column: the slot being edited, and the six presets.
    Label {
        id: slotLabel
        x: 16
        y: 52
        height: 24
        text: root.gunControlLang[2]
    }

    DropDownList {
        id: slotSelector
        objectName: "slotSelector"
        x: Math.max(112, slotLabel.x + slotLabel.implicitWidth + 8)
        y: 52
        z: 2
        width: 232 - slotSelector.x
        mdItems: slotModel
        onValueChange: index => root.chooseSlot(index)
    }

    Rectangle {
        x: 16
        y: 84
        width: 216
        height: 58 * root.gunNumberModel.count
        color: "transparent"
        border.width: 1
        border.color: frame.colorGray1

        Accessible.role: Accessible.List
        Accessible.name: root.gunControlLang[2]

        Item {
            anchors.fill: parent

            Repeater {
                model: root.gunNumberModel

                Rectangle {
                    id: presetRow

                    required property int index
                    required property string gunName
                    required property string gunImage
                    readonly property bool current: presetRow.index === root.currentGun
                    // The slots that hold this preset, as their numbers.
                    readonly property string slotMarks: GunRules.slotMarks([root.selectGun1, root.selectGun2, root.selectGun3],
                                                                        presetRow.index)

                    objectName: "preset" + presetRow.index
                    y: 58 * presetRow.index
                    width: 216
                    height: 58
                    color: presetRow.current ? frame.colorOrange : presetArea.containsMouse ? frame.colorGray1
                                                                                             : "transparent"
                    border.width: presetRow.activeFocus ? 1 : 0
                    border.color: frame.fontColor
                    activeFocusOnTab: true

                    Accessible.role: Accessible.ListItem
                    Accessible.name: presetRow.gunName
                    Accessible.selectable: true
                    Accessible.selected: presetRow.current
                    Accessible.focusable: true
                    Accessible.onPressAction: root.assignPreset(presetRow.index)
                    Keys.onSpacePressed: root.assignPreset(presetRow.index)
                    Keys.onReturnPressed: root.assignPreset(presetRow.index)
                    Keys.onEnterPressed: root.assignPreset(presetRow.index)

                    Image {
                        x: 8
                        y: 9
                        width: 120
                        height: 40
                        sourceSize.width: 120
                        sourceSize.height: 40
                        source: presetRow.gunImage
                    }
                    Label {
                        x: 134
                        width: 62
                        height: presetRow.height
                        text: presetRow.gunName
                    }
                    Label {
                        x: 198
                        width: 16
                        height: presetRow.height
                        font.pixelSize: frame.fontNormalSize - 2
                        text: presetRow.slotMarks
                        visible: presetRow.slotMarks !== ""
                    }
                    MouseArea {
                        id: presetArea
                        anchors.fill: parent
                        hoverEnabled: true
                        cursorShape: Qt.PointingHandCursor
                        onClicked: root.assignPreset(presetRow.index)
                    }
                }
            }
        }
    }

    Rectangle {
        x: 248
        y: 52
        width: 1
        height: 380
        color: frame.colorGray1
    }

    // The right column, top: the compensation, as the red dot on the target
    // and as the Y field.
    Label {
        x: 264
        y: 48
        width: 200
        height: 24
        text: root.gunControlLang[3]
    }

    // The dot's run (y 89..183 in this dialog) is the target's vertical line.
    Image {
        id: target
        objectName: "target"
        x: 276
        y: 80
        width: 120
        height: 116
        sourceSize.width: 120
        sourceSize.height: 116
        source: Skin.image("target")

        // A click on the target puts the dot's middle there.
        MouseArea {
            anchors.fill: parent
            onClicked: mouse => {
                root.gunControlFocus()
                root.setY(GunRules.yOfDot(target.y + mouse.y - dot.height / 2))
            }
        }
    }

    // The red dot: dragged up and down, or moved with the arrow keys (Page
    // Up/Down by eight, Home and End to the ends); its y is in the dialog.
    Rectangle {
        id: dot
        objectName: "dot"

        // Read by assistive technology through the slider role.
        readonly property int value: GunRules.yOfDot(dot.y)
        readonly property int minimumValue: 0
        readonly property int maximumValue: GunRules.yMax
        readonly property int stepSize: 1

        x: target.x + target.width / 2 - dot.width / 2
        y: GunRules.dotTop
        width: 12
        height: 12
        radius: 6
        color: "#e01818"
        border.width: dot.activeFocus ? 2 : 1
        border.color: dot.activeFocus ? frame.fontColor : "#600000"
        activeFocusOnTab: true

        Accessible.role: Accessible.Slider
        Accessible.name: root.gunControlLang[5]
        Accessible.focusable: true


        Keys.onPressed: event => {
            var moves = {}
            moves[Qt.Key_Up] = -1
            moves[Qt.Key_Left] = -1
            moves[Qt.Key_Down] = 1
            moves[Qt.Key_Right] = 1
            moves[Qt.Key_PageUp] = -8
            moves[Qt.Key_PageDown] = 8
            moves[Qt.Key_Home] = -GunRules.yMax
            moves[Qt.Key_End] = GunRules.yMax
            if (moves[event.key] === undefined)
                return
            root.setY(dot.value + moves[event.key])
            event.accepted = true
        }

        // A drag moves the dot by the pointer's offset from the press, within
        // its run; the Y field follows, and the release stores the value.
        MouseArea {
            id: dotArea
            property real dotAtPress: 0
            property real pointerAtPress: 0

            anchors.fill: parent
            anchors.margins: -4
            cursorShape: Qt.SizeVerCursor
            onPressed: mouse => {
                root.gunControlFocus()
                dotArea.dotAtPress = dot.y
                dotArea.pointerAtPress = dotArea.mapToItem(root, 0, mouse.y).y
            }
            onPositionChanged: mouse => {
                var pointer = dotArea.mapToItem(root, 0, mouse.y).y
                dot.y = Math.max(GunRules.dotTop, Math.min(GunRules.dotBottom, dotArea.dotAtPress + pointer
                                                        - dotArea.pointerAtPress))
                yInput.textValue = String(dot.value)
            }
            onReleased: root.setY(dot.value)
            onCanceled: root.setY(dot.value)
        }
    }

    Label {
        x: 424
        y: 96
        width: 88
        height: 24
        text: root.gunControlLang[4]
    }
    Rectangle {
        x: 519
        y: 97
        width: 50
        height: 22
        color: "transparent"
        border.width: 1
        border.color: frame.colorGray1
    }
    RectInput {
        id: xInput
        objectName: "xInput"
        x: 520
        y: 98
        maxValue: 64
        enabled: false
        opacity: 0.5
        accessibleName: root.gunControlLang[4]
    }

    Label {
        x: 424
        y: 136
        width: 88
        height: 24
        text: root.gunControlLang[5]
    }
    Rectangle {
        x: 519
        y: 137
        width: 50
        height: 22
        color: "transparent"
        border.width: 1
        border.color: frame.colorGray1
    }
    RectInput {
        id: yInput
        objectName: "yInput"
        x: 520
        y: 138
        maxValue: 64
        accessibleName: root.gunControlLang[5]
        onEndInputSignal: root.setY(yInput.textValue)
    }

    // The right column, bottom: fire period and shot count.
    Label {
        x: 264
        y: 216
        width: 200
        height: 24
        text: root.gunControlLang[6]
    }
    Rectangle {
        x: 264
        y: 242
        width: 360
        height: 1
        color: frame.colorGray1
    }

    Label {
        id: rateLabel
        x: 280
        y: 256
        height: 24
        text: root.gunControlLang[7]
    }
    DropDownSlider {
        id: rateSlider
        objectName: "rateSlider"
        x: timesInput.x
        y: 256
        z: 2
        width: GunRules.rateSliderWidth + 16
        onValueChange: position => rateSlider.textValue = GunRules.rateText(GunRules.periodOfPosition(position))
    }
    Connections {
        target: rateSlider.sliderControl
        function onValueChangeDelay() {
            root.setPeriodFromText(rateSlider.textValue)
        }
    }

    Label {
        id: timesLabel
        x: 280
        y: 312
        height: 24
        text: root.gunControlLang[8]
    }
    Rectangle {
        x: timesInput.x - 1
        y: 313
        width: 50
        height: 22
        color: "transparent"
        border.width: 1
        border.color: frame.colorGray1
    }
    RectInput {
        id: timesInput
        objectName: "timesInput"
        // The fields of the fire box line up after the wider label.
        x: Math.max(376, 280 + Math.max(rateLabel.implicitWidth, timesLabel.implicitWidth) + 8)
        y: 314
        maxValue: GunRules.timesMax
        accessibleName: root.gunControlLang[8]
        onEndInputSignal: root.setTimes(timesInput.textValue)
    }

    CheckBox {
        id: endness
        objectName: "endness"
        x: timesInput.x + 72
        y: 312
        height: 24
        textValue: root.gunControlLang[9]
        onIsSelectChanged: root.endnessToggled()
    }
}
