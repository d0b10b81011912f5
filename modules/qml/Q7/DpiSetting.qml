pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The DPI panel of the main window's right side: how many of the mouse's
// eight DPI stages are on (the stage-count list), and each stage's DPI on a
// vertical slider with its value beneath, which can also be typed. The
// mouse's active stage is drawn orange. Edits only change the page and mark
// it unsaved; the profile and the mouse get the values from saveData, which
// the shell runs on Save, and init(true, ...) after a profile change or a
// factory reset.
Item {
    id: root

    // A panel never closes; every page has the signal.
    signal closed

    property var dpiSettingLang: ["DPI"]

    property int dpiCount: 4
    property int currentDpiCount: 4
    property int minDPI: 200
    property int maxDPI: 6000
    property string sensorType: "3360"
    property int dpiBase: 50
    // The eight stages' values as shown, always whole steps within the range.
    property var dpiValueArray: [500, 1000, 1500, 2000, 3000, 4000, 5000, 6000]
    // The mouse's active stage, 0-based; the shell sets it.
    property int currentDPI: 0
    // Changes Save would store.
    property bool dirty: false
    property alias isSave: root.dirty

    // The range the sliders work in: the sensor's, or the built-in one while
    // the properties hold none (a maximum at or below the minimum, a step of 0).
    readonly property var range: DpiRules.sensorRange(root.minDPI, root.maxDPI, root.dpiBase, DpiRules.defaultRange)
    // The eight stage sliders, filled in as they are made.
    property var sliders: []
    // Set while init ends a typing in progress, which it gives up: the page
    // is about to show other values.
    property bool isLoading: false


    // Loads the profile's stages (with isRecovery the factory profile's
    // values only) and, with isSendData, stores and sends them. A profile that
    // offers no usable stage count (1..8) leaves the page's values as they
    // were, and sends nothing.
    function init(isSendData, isRecovery) {
        root.isLoading = true
        root.dpiSettingFocus()
        root.isLoading = false
        if (!isRecovery) {
            var stored = Program.view.getData("mouse/dpiCount", isRecovery)
            var offered = DpiRules.offeredStages(stored)
            if (!offered.usable) {
                root.debug("mouse/dpiCount [" + stored + "] is not 1..8; the page is left as it was")
                // What the page keeps is what Save sends: the list and the
                // knobs show it too, even when no profile has been read yet.
                root.fillStageList()
                root.placeKnobs()
                return
            }
            root.dpiCount = offered.count
            var enabled = DpiRules.enabledStages(Program.view.getData("mouse/currentDpiCount", isRecovery), root.dpiCount,
                                              root.currentDpiCount)
            if (enabled.fault !== "")
                root.debug(enabled.fault)
            root.currentDpiCount = enabled.count
            var sensor = DpiRules.sensorRange(Program.view.getGlobalData("mouse/minDPI"), Program.view.getGlobalData("mouse/maxDPI"),
                                           Program.view.getGlobalData("mouse/dpiBase"), root.range)
            sensor.faults.forEach(root.debug)
            root.minDPI = sensor.min
            root.maxDPI = sensor.max
            root.dpiBase = sensor.base
            var sensorType = Program.view.getGlobalData("mouse/sensorType")
            if (sensorType !== undefined && sensorType !== null)
                root.sensorType = String(sensorType)
        }
        var stages = DpiRules.stageValues(Program.view.getDataList("mouse/dpiValueArray", isRecovery), root.range,
                                       root.dpiValueArray)
        stages.faults.forEach(root.debug)
        root.dpiValueArray = stages.values
        if (!isRecovery)
            root.fillStageList()
        root.placeKnobs()
        if (isSendData)
            root.saveData(true)
    }

    // Stores all eight values (the hidden stages' too) and the stage count,
    // and with isSendData sends them to the mouse.
    function saveData(isSendData) {
        var stages = DpiRules.stageValues(root.dpiValueArray, root.range, [])
        stages.faults.forEach(root.debug)
        var values = stages.values
        Program.view.setDataList("mouse/dpiValueArray", values)
        Program.view.setData("mouse/currentDpiCount", root.currentDpiCount)
        if (isSendData)
            Program.view.mouseSetDpi(root.currentDpiCount, root.sensorType, values)
    }


    // Stage index's value for its knob at position; isSendData: the knob has
    // come to rest, which is a change to save.
    function dpiValueProc(index, position, isSendData) {
        if (index < 0 || index >= DpiRules.stageCount)
            return
        root.setStageValue(index, DpiRules.valueOfPosition(position, root.range))
        if (isSendData)
            root.isSave = true
    }

    // Closes the stage-count list and ends typing (which takes the typed
    // value); the shell calls it when the user presses elsewhere and before
    // it saves.
    function endEdits() {
        stageList.closeMenu()
        if (stageRow.activeFocus)
            stageRow.focus = false
    }

    function dpiSettingFocus() {
        root.endEdits()
    }

    // The values stored and sent, as the shell's Save does.
    function save() {
        root.saveData(true)
    }

    function debug(text) {
        console.debug("DpiSetting: " + text)
    }

    function setStageValue(index, value) {
        var values = root.dpiValueArray.slice()
        values[index] = value
        root.dpiValueArray = values
    }

    function placeKnobs() {
        for (var i = 0; i < DpiRules.stageCount; ++i)
            root.sliderOf(i).setValue(DpiRules.positionOfValue(root.dpiValueArray[i], root.range))
    }

    function sliderOf(index) {
        return root.sliders[index]
    }

    // A new list each time: the compiled code may hand out copies of a list
    // property, which an item set in place would not reach.
    function addSlider(index, slider) {
        var sliders = root.sliders.slice()
        sliders[index] = slider
        root.sliders = sliders
    }

    // The list offers 1..dpiCount, with the enabled count chosen.
    function fillStageList() {
        while (stageModel.count > root.dpiCount)
            stageModel.remove(stageModel.count - 1)
        while (stageModel.count < root.dpiCount)
            stageModel.append({ textValue: String(stageModel.count + 1) })
        stageList.currentSelect = root.currentDpiCount - 1
    }

    function chooseCount(index) {
        root.currentDpiCount = index + 1
        root.isSave = true
    }

    // An arrow or Page key on stage index's slider: count steps of dpiBase.
    function stepStage(index, count) {
        root.takeValue(index, DpiRules.stepValue(root.dpiValueArray[index], count, root.range))
    }

    // A value typed under stage index's slider, on a whole step within the
    // range; false when it holds no digits (the field shows its value again).
    function typeStage(index, text) {
        var value = DpiRules.typedValue(text, root.range)
        if (value === null)
            return false
        root.takeValue(index, value)
        return true
    }

    function takeValue(index, value) {
        root.sliderOf(index).setValue(DpiRules.positionOfValue(value, root.range))
        if (value === root.dpiValueArray[index])
            return
        root.setStageValue(index, value)
        root.isSave = true
    }

    width: 232
    height: 272

    ListModel {
        id: stageModel
        ListElement { textValue: "1" }
        ListElement { textValue: "2" }
        ListElement { textValue: "3" }
        ListElement { textValue: "4" }
        ListElement { textValue: "5" }
        ListElement { textValue: "6" }
        ListElement { textValue: "7" }
        ListElement { textValue: "8" }
    }

    PageFrame {
        id: frame
        anchors.fill: parent
        titleHeight: 32
        title: root.dpiSettingLang[0]
    }

    // The stages, their sliders and values; the focus scope lets the panel
    // end typing in any of them at once.
    FocusScope {
        id: stageRow
        anchors.fill: parent

        Repeater {
            id: stages
            model: DpiRules.stageCount
            delegate: Item {
                id: column

                required property int index
                // A value that is no number (the property set from outside) shows as 0.
                readonly property int value: Number(root.dpiValueArray[column.index]) || 0
                // The shown stages share the panel's width; fewer stand further apart.
                readonly property real pitch: Math.min(52, 216 / root.currentDpiCount)
                // Five digits still fit the narrow columns of eight stages: a
                // digit is about 0.62 of the font's pixel size wide.
                readonly property int digits: Math.max(4, String(root.range.max).length)
                readonly property int fontSize: Math.max(8, Math.min(Skin.fontNormalSize,
                                                                     Math.floor(column.pitch / (0.62 * column.digits))))

                objectName: "stage" + column.index
                x: (root.width - column.pitch * root.currentDpiCount) / 2 + column.pitch * column.index
                y: frame.titleHeight + 16
                width: column.pitch
                height: slider.height + 28
                visible: column.index < root.currentDpiCount

                Component.onCompleted: root.addSlider(column.index, slider)

                DpiSlider {
                    id: slider
                    objectName: "slider"
                    x: (column.width - slider.width) / 2
                    active: column.index === root.currentDPI
                    accessibleName: root.dpiSettingLang[0] + " stage " + (column.index + 1)
                    value: column.value
                    minimumValue: root.range.min
                    maximumValue: root.range.max
                    stepSize: root.range.base
                    onBtnClick: stageList.closeMenu()
                    onValueChange: position => root.dpiValueProc(column.index, position, false)
                    onValueChangeDelay: position => root.dpiValueProc(column.index, position, true)
                    onStepRequested: count => root.stepStage(column.index, count)
                }

                // The value, which can be typed: digits only, taken on Enter or
                // when the field loses the focus; Escape gives up the typing.
                TextInput {
                    id: valueInput
                    objectName: "value"

                    // The field follows the value again once typing ends.
                    function settle(take) {
                        if (take && !root.isLoading && valueInput.text !== String(column.value))
                            root.typeStage(column.index, valueInput.text)
                        valueInput.text = Qt.binding(() => String(column.value))
                    }

                    y: slider.height + 8
                    width: column.width
                    height: 20
                    horizontalAlignment: TextInput.AlignHCenter
                    verticalAlignment: TextInput.AlignVCenter
                    text: String(column.value)
                    maximumLength: 5
                    clip: true
                    selectByMouse: true
                    activeFocusOnTab: true
                    color: slider.active ? Skin.colorOrange : Skin.fontColor
                    selectionColor: Skin.colorOrange
                    font.family: Skin.fontFamily
                    font.pixelSize: column.fontSize
                    validator: RegularExpressionValidator {
                        regularExpression: /[0-9]{0,5}/
                    }

                    Accessible.role: Accessible.EditableText
                    Accessible.name: slider.accessibleName + " value"
                    Accessible.focusable: true

                    Keys.onReturnPressed: valueInput.focus = false
                    Keys.onEnterPressed: valueInput.focus = false
                    Keys.onEscapePressed: {
                        valueInput.settle(false)
                        valueInput.focus = false
                    }
                    onActiveFocusChanged: {
                        if (valueInput.activeFocus)
                            stageList.closeMenu()
                        else
                            valueInput.settle(true)
                    }

                    Rectangle {
                        anchors.fill: parent
                        z: -1
                        color: "transparent"
                        border.width: 1
                        border.color: valueInput.activeFocus ? Skin.colorOrange : "transparent"
                    }
                }
            }
        }
    }

    // The reset picture: the factory profile's values, to be saved.
    IconButton {
        id: resetButton
        objectName: "dpiReset"
        x: stageList.x - resetButton.width - 12
        y: (frame.titleHeight - resetButton.height) / 2
        image: "reset"
        accessibleName: "Reset"
        onClicked: {
            root.init(false, true)
            root.dirty = true
        }
    }

    // The stage count, at the title bar's right end; its list drops over the
    // sliders.
    DropDownList {
        id: stageList
        objectName: "stageList"
        x: root.width - stageList.width - 12
        y: (frame.titleHeight - stageList.height) / 2
        z: 2
        width: 56
        height: 24
        mdItems: stageModel
        currentSelect: 3
        onValueChange: index => root.chooseCount(index)
    }
}
