pragma ComponentBehavior: Bound
import QtQuick
import "../basic"
import "../common"
import "../common/Shell.js" as Shell

// The dialog for the desktop's pointer settings: cursor speed, double-click
// speed and the rows the wheel scrolls. The profile keeps the two sliders'
// knob positions and the rows (1000 for one screen); each change is stored
// and applied at once, the speeds when a knob comes to rest, the wheel when a
// choice is made or the rows input is left.
Item {
    id: root

    property var systemSettingLang: ["System Setting", "Mouse Speed", "Double Click Speed", "Slow", "Fast",
        "Scroll Speed", "Number of Rows", "Scroll one Screen"]
    // The slider positions that bound the eleven steps.
    property var compareValue: [4, 37, 70, 104, 138, 172, 205, 239, 272, 305, 338]
    property int windowWidth: 1024
    property int windowHeight: 640

    // The dialog has hidden itself; the shell hides its mask.
    signal closed

    // Loads the current profile's settings (the factory profile's with
    // isRecovery) into the controls; with isSendData stores them into the
    // current profile and applies all three. A value that is no number or out
    // of its range is shown, stored and applied as a sane one, and said on
    // the debug output.
    function init(isSendData, isRecovery) {
        root.loadPosition(mouseRate, "mouse/mouseRate", isRecovery, SystemRules.defaultMouseRate)
        root.loadPosition(doubleRate, "mouse/doubleRate", isRecovery, SystemRules.defaultDoubleRate)
        var stored = Program.view.getData("mouse/scrollRate", isRecovery)
        var lines = SystemRules.storedLines(stored)
        if (lines.problem !== "")
            console.debug("SystemSetting: mouse/scrollRate [" + stored + "] is " + lines.problem + ", taken as "
                          + lines.value)
        var oneScreen = SystemRules.isOneScreen(lines.value)
        rowsButton.isSelect = !oneScreen
        screenButton.isSelect = oneScreen
        if (!oneScreen)
            rowsInput.textValue = String(lines.value)
        if (isSendData)
            root.saveData(true, 0)
    }

    function loadPosition(slider, key, isRecovery, fallback) {
        var stored = Program.view.getData(key, isRecovery)
        var position = SystemRules.storedPosition(stored, fallback)
        if (position.problem !== "")
            console.debug("SystemSetting: " + key + " [" + stored + "] is " + position.problem + ", taken as "
                          + position.value)
        slider.setPosition(position.value)
    }

    // Stores all three settings into the current profile; with isSendData
    // applies them: step 0 all three, 1 the cursor speed, 2 the double-click
    // speed, 3 the wheel.
    function saveData(isSendData, step) {
        var lines = root.scrollLines()
        Program.view.setData("mouse/mouseRate", mouseRate.xPosition)
        Program.view.setData("mouse/doubleRate", doubleRate.xPosition)
        Program.view.setData("mouse/scrollRate", lines)
        if (!isSendData)
            return
        var which = Number(step)
        if (which === 0 || which === 1)
            Program.view.mouseSetCursorSpeed(SystemRules.stepOf(mouseRate.xPosition, root.compareValue))
        if (which === 0 || which === 2)
            Program.view.mouseSetDoubleClickSpeed(SystemRules.stepOf(doubleRate.xPosition, root.compareValue))
        if (which === 0 || which === 3)
            Program.view.mouseSetVerticalScrollLines(lines)
    }

    // The rows typed (always 1..100, also while the input is being edited),
    // or one screen.
    function scrollLines() {
        return rowsButton.isSelect ? SystemRules.typedRows(rowsInput.textValue) : SystemRules.oneScreen
    }

    // A wheel choice is stored and applied; leaving the input, when it is
    // being edited, already does that with the new choice.
    function chooseScroll(oneScreen) {
        rowsButton.isSelect = !oneScreen
        screenButton.isSelect = oneScreen
        if (rowsInput.txtInput.activeFocus)
            rowsInput.closeFocus()
        else
            root.saveData(true, 3)
    }

    // The rows input ends: what is empty or below 1 becomes 1.
    function rowsEntered() {
        var rows = String(SystemRules.typedRows(rowsInput.textValue))
        if (rowsInput.textValue !== rows)
            rowsInput.textValue = rows
        root.saveData(true, 3)
    }

    // The factory settings, stored into the current profile and applied.
    function reset() {
        root.systemSettingFocus()
        root.init(true, true)
    }

    // Ends the rows input, which stores and applies it.
    function systemSettingFocus() {
        rowsInput.closeFocus()
    }

    function close() {
        root.systemSettingFocus()
        root.visible = false
        root.closed()
    }

    x: (1024 - root.width) / 2
    y: (640 - root.height) / 2
    width: 416
    height: 312
    visible: false

    Accessible.role: Accessible.Dialog
    Accessible.name: root.systemSettingLang[0]
    Keys.onEscapePressed: root.close()


    // The background: a press ends the input, a drag moves the dialog, kept
    // whole inside the window.
    MouseArea {
        id: dragArea
        objectName: "dragArea"
        anchors.fill: parent
        property point pressedAt

        onPressed: mouse => {
            root.systemSettingFocus()
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
        title: root.systemSettingLang[0]
        closable: true
        onCloseClicked: root.close()
    }

    // The reset picture, left of the close picture, lit under the pointer or
    // with the focus.
    Image {
        id: resetButton
        objectName: "resetButton"
        x: root.width - 64
        y: (frame.titleHeight - resetButton.height) / 2
        width: 16
        height: 16
        sourceSize.width: 16
        sourceSize.height: 16
        source: Skin.image(resetArea.containsMouse || resetButton.activeFocus ? "reset_hover" : "reset")
        activeFocusOnTab: true

        Accessible.role: Accessible.Button
        Accessible.name: "Reset"
        Accessible.focusable: true
        Accessible.onPressAction: root.reset()
        Keys.onSpacePressed: root.reset()
        Keys.onReturnPressed: root.reset()
        Keys.onEnterPressed: root.reset()

        MouseArea {
            id: resetArea
            anchors.fill: parent
            hoverEnabled: true
            onClicked: root.reset()
        }
    }

    Label {
        x: 32
        y: 52
        width: 352
        height: 24
        text: root.systemSettingLang[1]
    }
    SystemSlider {
        id: mouseRate
        objectName: "mouseRate"
        x: 32
        y: 80
        compareValue: root.compareValue
        accessibleName: root.systemSettingLang[1]
        slowText: root.systemSettingLang[3]
        fastText: root.systemSettingLang[4]
        onBtnClick: root.systemSettingFocus()
        onMoved: root.saveData(true, 1)
    }

    Label {
        x: 32
        y: 124
        width: 352
        height: 24
        text: root.systemSettingLang[2]
    }
    SystemSlider {
        id: doubleRate
        objectName: "doubleRate"
        x: 32
        y: 152
        compareValue: root.compareValue
        accessibleName: root.systemSettingLang[2]
        slowText: root.systemSettingLang[3]
        fastText: root.systemSettingLang[4]
        onBtnClick: root.systemSettingFocus()
        onMoved: root.saveData(true, 2)
    }

    Rectangle {
        x: 16
        y: 200
        width: root.width - 32
        height: 1
        color: frame.colorGray1
    }

    Label {
        x: 32
        y: 208
        width: 352
        height: 24
        text: root.systemSettingLang[5]
    }
    RadioButton {
        id: rowsButton
        objectName: "rowsButton"
        x: 40
        y: 242
        height: 20
        isSelect: true
        textValue: root.systemSettingLang[6]
        onBtnClick: root.chooseScroll(false)
    }
    Rectangle {
        x: rowsInput.x - 1
        y: rowsInput.y - 1
        width: rowsInput.width + 2
        height: rowsInput.height + 2
        color: "transparent"
        border.width: 1
        border.color: frame.colorGray1
    }
    RectInput {
        id: rowsInput
        objectName: "rowsInput"
        x: rowsButton.x + rowsButton.implicitWidth + 16
        y: 242
        minValue: 1
        maxValue: 100
        textValue: "3"
        txtInput.maximumLength: 3
        accessibleName: root.systemSettingLang[6]
        onEndInputSignal: root.rowsEntered()
    }
    RadioButton {
        id: screenButton
        objectName: "screenButton"
        x: 40
        y: 276
        height: 20
        textValue: root.systemSettingLang[7]
        onBtnClick: root.chooseScroll(true)
    }
}
