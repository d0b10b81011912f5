pragma ComponentBehavior: Bound
import QtQuick
import "basic"
import "common/Shell.js" as Shell
import "Q7"

// The window's whole surface: the frame (title bar, left panel with the
// button list, editor box, report rate and system setting; right panel with
// DPI and lighting; top bar; bottom bar; the mouse picture), the dialogs over
// a dimming mask, and the functions the program calls by name.
//
// The program's objects (the view, the controller, the device status, the
// window) come through the Program singleton; they may arrive after this
// root is created, so they are used only inside functions, handlers and
// bindings that follow them.
Item {
    id: mainIten
    width: 1024
    height: 640
    visible: false

    property var mainLang: ["Editor", "Macro Editor", "Gun Editor", "Report Rate", "Config", "Reset",
        "Reset factory setting", "Cancel", "OK", "System setting", "Save", "", "", "", "", "Mouse connected",
        "No mouse connected", "Not saved: %1 could not be written (is the disk full?)", "Dismiss", "Data folder: %1"]
    property string language: "ChineseSimplified"
    property string url: "https://talvorn.example/support"
    property bool isColorful: false
    property bool isGun: true
    property string icType: "553"
    property bool is55328: false
    property bool is571: false
    property bool isPownOn: false
    property int skin_No: Skin.skin_No
    property string fontFamily: Skin.fontFamily
    property int fontNormalSize: Skin.fontNormalSize
    property int fontMiddleSize: Skin.fontMiddleSize
    property int fontMaxSize: Skin.fontMaxSize
    property int fontMinSize: Skin.fontMinSize
    property color fontColor: Skin.fontColor
    property color colorGray0: Skin.colorGray0
    property color colorGray1: Skin.colorGray1
    property color colorGray2: Skin.colorGray2
    property color colorGray3: Skin.colorGray3
    property color colorBlue: Skin.colorBlue
    property color colorOrange: Skin.colorOrange
    property color colorBlack: Skin.colorBlack

    // Ours, beside the written ones: what the frame shows about the mouse and
    // the data (fed by deviceStatus from the first run() on), and whether a
    // page has changes Save would write.
    property bool mouseConnected: false
    property string unsavedFile: ""
    readonly property bool hasUnsaved: keyMatrixMain.isSave || dpiSettingMain.isSave || lightControlMain.isSave
                                       || mainIten.reportRateUnsaved
    // The report rate chosen last could not be stored: Save stores it.
    property bool reportRateUnsaved: false
    // Changes were saved in the profile while no mouse was connected: the
    // profile goes to the mouse when it is back.
    property bool sendWhenConnected: false
    // A finished action said next to Save, as an index of the profile page's
    // texts; 0 for none.
    property int shellNotice: 0
    property Item focusBeforeDialog: null
    // Changes on their way to the mouse: the program's writer sends them
    // while the window goes on drawing.
    property bool mouseWriting: false
    // A busy action (Save, a profile change, a factory reset) keeps the busy
    // shield up until what it queued has reached the mouse.
    property bool busyHeld: false
    property Item focusBeforeBusy: null
    // Macros edited while buttons use them: sent once the edits settle or
    // the editor closes, not after every edit.
    property list<string> editedMacros: []
    onMouseWritingChanged: {
        if (!mainIten.mouseWriting)
            mainIten.busyHeld = false
    }

    signal msg_KB(bool isDown, int usbCode)
    signal msg_MS(bool isDown, int buttonCode, int x, int y)

    // A key pressed anywhere reaches the page that waits for one: the
    // assignment dialog's fire or combination box, the macro editor while it
    // records or inserts.
    onMsg_KB: function (isDown, usbCode) {
        if (keyAssigmentMain.isFireInput)
            keyAssigmentMain.detectKeyboard(isDown, usbCode, 0)
        else if (keyAssigmentMain.isComboInput)
            keyAssigmentMain.detectKeyboard(isDown, usbCode, 1)
        if (macroEditorMain.isInputting)
            macroEditorMain.detectKeyboard(isDown, usbCode)
        else if (macroEditorMain.isInsertting)
            macroEditorMain.detectInput(isDown, usbCode)
    }


    function initUI() {
        mainIten.setProtectUI(1000)
        mainIten.visible = true
        if (!mainIten.isPownOn) {
            // The kind of mouse, as the program read it once; a host without
            // a status object keeps the declared defaults.
            var hasStatus = Program.status !== null
            if (hasStatus) {
                var traits = Program.status.traits
                mainIten.isColorful = traits.isColorful
                mainIten.icType = traits.icType
                mainIten.is55328 = traits.is55328
                mainIten.is571 = traits.is571
                mainIten.isGun = traits.isGun
            }
            mouseMain.keyCount = Shell.integer(Program.view.getGlobalData("mouse/keyCount"), mouseMain.keyCount, 0, 16)
            mainIten.language = Shell.text(Program.view.getGlobalData("common/language"), mainIten.language)
            mainIten.url = Shell.text(Program.view.getGlobalData("common/url"), mainIten.url)
            askMenu.entries = [mainIten.url, askMenu.entries[1]]

            if (hasStatus)
                Program.status.pagesStarted()

            mainIten.loadLanguage()

            // The page knows the active profile before it fills its list, so
            // that the entry of that profile becomes its current one. A
            // number no entry has (a list of an earlier version, an edited
            // file) becomes that of the entry chosen, so that the top bar
            // names the profile that is loaded.
            var stored = Shell.integer(Program.view.getGlobalData("mouse/profileNo"), 0, 0, 5)
            profileMain.profileNo = stored
            profileMain.init()
            var profileNo = profileMain.profileNo
            if (profileNo !== stored)
                Program.view.setGlobalData("mouse/profileNo", profileNo)
            upItem.profileList.currentSelect = profileMain.activePosition
            upItem.profileList.closeMenu()
            console.debug("profileNo", profileNo)
            Program.view.setCurrentProfile(profileNo)
            // The report rate of the profile just made current.
            reportRate.init(false)

            macroEditorMain.init()
            gunControlMain.init()
            keyAssigmentMain.init()
            keyMatrixMain.init(false, false)
            dpiSettingMain.init(false, false)
            lightControlMain.init(false, false)
            systemSettingMain.init(false, false)
            mainIten.isPownOn = true
        } else if (mainIten.sendWhenConnected && mainIten.deviceConnected()) {
            // The mouse is back after changes were saved without it: it gets
            // the active profile, as when the profile is chosen.
            mainIten.sendWhenConnected = false
            mainIten.controlUIEnable(false)
            mainIten.sendProfilePages()
            mainIten.controlUIEnable(true)
        }
        mainIten.showDeviceStage(Program.view.mouseGetCurrentDPI())
    }

    // What the device checks found last; without a status object (a test rig
    // with none) a mouse counts as there.
    function deviceConnected() {
        return Program.status === null || Program.status.connected
    }

    function run() {
        // The frame follows the device status from now on (it exists only
        // after this root is created; the test rig may have none).
        if (Program.status === null)
            return
        mainIten.mouseConnected = Qt.binding(function () { return Program.status.connected })
        mainIten.mouseWriting = Qt.binding(function () { return Program.status.writing })
        mainIten.unsavedFile = Qt.binding(function () { return Program.status.unsavedFile })
    }

    function detectKeyboard(isDown, usbCode) {
        mainIten.msg_KB(isDown, usbCode)
    }

    function detectMouse(isDown, buttonCode, x, y) {
        mainIten.msg_MS(isDown, buttonCode, x, y)
    }

    function setProtectUI(interval) {
        protectUIItem.setBusy(true)
        Program.view.setEnabled(false)
        protectTimer.interval = Math.max(0, Number(interval) || 0)
        protectTimer.restart()
    }

    function setCurrentDPI(dpiValue) {
        if (dpiValue !== 0)
            mainIten.showDeviceStage(dpiValue)
    }

    // The stage the mouse reports (1..8) on the DPI page (0-based). A stage
    // the mouse cannot have (0 when it did not answer) leaves the page as it is.
    function showDeviceStage(stage) {
        var n = Number(stage)
        if (Number.isInteger(n) && n >= 1 && n <= 8)
            dpiSettingMain.currentDPI = n - 1
    }

    function mainFocus() {
        mainIten.shellNotice = 0
        keyMatrixMain.refusedRow = -1
        reportRate.list.closeMenu()
        dpiSettingMain.dpiSettingFocus()
        upItem.profileList.closeMenu()
        askMenu.visible = false
        lightControlMain.lightControlFocus()
    }

    function controlUIEnable(isEnable) {
        if (isEnable)
            mainIten.busyHeld = mainIten.mouseWriting
        protectUIItem.setBusy(!isEnable)
        Program.view.setEnabled(isEnable)
    }

    // The question-mark menu's entries: 0 the web page, 1 the data folder.
    function askMenuCmd(cmd) {
        if (cmd === 0)
            Qt.openUrlExternally(mainIten.url)
        else if (cmd === 1)
            Qt.openUrlExternally(Qt.url("file://" + Program.view.dataFolder()))
    }

    // Each group of the language file over the built-in texts of its page.
    function loadLanguage() {
        var lang = mainIten.language
        mainIten.mainLang = Shell.mergeTexts(mainIten.mainLang, Program.view.getLangStrings("main", lang))
        keyMatrixMain.keyMatrixLang = Shell.mergeTexts(keyMatrixMain.keyMatrixLang, Program.view.getLangStrings("keyMatrix", lang))
        keyAssigmentMain.keyAssigmentLang = Shell.mergeTexts(keyAssigmentMain.keyAssigmentLang,
                                                              Program.view.getLangStrings("keyAssigment", lang))
        dpiSettingMain.dpiSettingLang = Shell.mergeTexts(dpiSettingMain.dpiSettingLang, Program.view.getLangStrings("dpiSetting", lang))
        lightControlMain.lightControlLang = Shell.mergeTexts(lightControlMain.lightControlLang,
                                                              Program.view.getLangStrings("lightControl", lang))
        macroEditorMain.macroEditorLang = Shell.mergeTexts(macroEditorMain.macroEditorLang, Program.view.getLangStrings("macroEditor", lang))
        systemSettingMain.systemSettingLang = Shell.mergeTexts(systemSettingMain.systemSettingLang,
                                                                Program.view.getLangStrings("systemSetting", lang))
        gunControlMain.gunControlLang = Shell.mergeTexts(gunControlMain.gunControlLang, Program.view.getLangStrings("gunControl", lang))
        profileMain.profileLang = Shell.mergeTexts(profileMain.profileLang, Program.view.getLangStrings("profile", lang))
        _KeyCodeString.setKeyNames(Program.view.getLangStrings("keyCode", lang))
        Program.view.getLangStrings("other", lang)
    }

    // The report rate of the current profile, shown; sent too when asked.
    function reportRateInit(isSendData) {
        var index = Shell.reportRateIndex(Program.view.getData("mouse/reportRate", false))
        mainIten.reportRateUnsaved = false
        reportRate.list.currentSelect = index
        if (isSendData)
            Program.view.mouseSetReportRate(Shell.reportRateCode(index))
    }

    function reportRateChosen(index) {
        mainIten.reportRateUnsaved = !mainIten.stored(() => Program.view.setData("mouse/reportRate", index))
        Program.view.mouseSetReportRate(Shell.reportRateCode(index))
        mainIten.noteSent()
    }

    // Runs save and tells whether everything it wrote reached the disk: a
    // write that did not is reported on deviceStatus (and shown in the
    // unsaved line).
    function stored(save) {
        var failures = () => Program.status === null ? 0
                                                                                         : Program.status.saveFailures
        var before = failures()
        save()
        return failures() === before
    }

    // A change kept in the profile but sent to no mouse is sent when one is
    // back.
    function noteSent() {
        if (!mainIten.deviceConnected())
            mainIten.sendWhenConnected = true
    }

    // The pages that hold the profile's values, reloaded from it and sent:
    // after a profile change and after a factory reset.
    function sendProfilePages() {
        keyMatrixMain.init(true, false)
        reportRate.init(true)
        dpiSettingMain.init(true, false)
        lightControlMain.init(true, false)
        systemSettingMain.init(true, false)
        if (mainIten.isGun) {
            Program.view.mouseSwitchKeyMatrix(1)
            Program.view.mouseResetKeyMatrix()
        }
    }

    // The entry at position of the top bar's list becomes the active
    // profile; its slot digit names the file and is what is stored.
    function changeProfile(position) {
        var number = profileMain.profileModel.slotAt(position)
        if (number < 0 || number === profileMain.profileNo)
            return
        mainIten.controlUIEnable(false)
        mainIten.shellNotice = 0
        profileMain.profileNo = number
        Program.view.setGlobalData("mouse/profileNo", number)
        Program.view.setCurrentProfile(number)
        mainIten.sendProfilePages()
        mainIten.sendWhenConnected = false
        mainIten.noteSent()
        mainIten.controlUIEnable(true)
    }

    // Each page with changes writes them to the profile and sends them. A
    // page whose changes did not reach the disk stays unsaved (Save stays
    // red and writes them again), whatever reached the mouse.
    function save() {
        mainIten.mainFocus()
        var keys = keyMatrixMain.isSave
        var dpi = dpiSettingMain.isSave
        var light = lightControlMain.isSave
        var rate = mainIten.reportRateUnsaved
        if (keys || dpi || light)
            mainIten.controlUIEnable(false)
        if (keys) {
            keyMatrixMain.isSave = false
            keyMatrixMain.isSave = !mainIten.stored(() => keyMatrixMain.modKeys.saveData()) // qmllint disable type
        }
        if (dpi) {
            dpiSettingMain.isSave = false
            dpiSettingMain.isSave = !mainIten.stored(() => dpiSettingMain.saveData(true))
        }
        if (light) {
            lightControlMain.isSave = false
            lightControlMain.isSave = !mainIten.stored(() => lightControlMain.saveData(true, 0))
        }
        if (rate) {
            var index = reportRate.list.currentSelect
            mainIten.reportRateUnsaved = !mainIten.stored(() => Program.view.setData("mouse/reportRate", index))
        }
        if (keys || dpi || light)
            mainIten.noteSent()
        mainIten.controlUIEnable(true)
    }

    function factoryReset() {
        // The box goes first, so that the focus is back on the control that
        // opened it when the busy shield ends.
        mainIten.closeDialog(resetBox)
        mainIten.controlUIEnable(false)
        keyMatrixMain.isSave = false
        dpiSettingMain.isSave = false
        lightControlMain.isSave = false
        Program.view.resetProfile(profileMain.profileNo)
        mainIten.sendProfilePages()
        Program.view.mouseSetCurrentDPI(3)
        dpiSettingMain.currentDPI = 2
        gunControlMain.resetData()
        mainIten.sendWhenConnected = false
        mainIten.noteSent()
        mainIten.shellNotice = 18
        mainIten.controlUIEnable(true)
    }

    // The macro assigned to an entry of the button list: an entry of class 4
    // names its macro through the profile's mouseMacroKey/<slot>.
    function macroOf(entry) {
        if (Number(entry.keyCode0) !== 4)
            return undefined
        return Shell.text(Program.view.getData("mouseMacroKey/" + entry.keyCode2, false), "")
    }

    function deleteMacro(macroName) {
        var keys = keyMatrixMain.modKeys
        for (var i = 0; i < keys.count; ++i) {
            if (mainIten.macroOf(keys.get(i)) !== macroName)
                continue
            var factory = keyMatrixMain.modKeys_tmp.get(i)
            keys.set(i, { keyCode0: factory.keyCode0, keyCode1: factory.keyCode1, keyCode2: factory.keyCode2,
                          keyCode3: factory.keyCode3, keyText: factory.keyText })
        }
        keys.saveData() // qmllint disable type
        Program.view.deleteMacroUpdateProfile(macroName)
    }

    // The buttons deleteMacro would reset: those of the open profile's
    // matrix assigned to the macro.
    function macroUseCount(macroName) {
        var keys = keyMatrixMain.modKeys
        var count = 0
        for (var i = 0; i < keys.count; ++i) {
            if (mainIten.macroOf(keys.get(i)) === macroName)
                ++count
        }
        return count
    }

    function modifyMacroName(oldMacroName, newMacroName) {
        var keys = keyMatrixMain.modKeys
        for (var i = 0; i < keys.count; ++i) {
            var entry = keys.get(i)
            if (mainIten.macroOf(entry) !== oldMacroName)
                continue
            Program.view.setData("mouseMacroKey/" + entry.keyCode2, newMacroName)
            keys.setProperty(i, "keyText", newMacroName)
        }
        mainIten.editedMacros = Array.from(mainIten.editedMacros, name => name === oldMacroName ? newMacroName : name)
        Program.view.modifyMacroNameUpdateProfile(oldMacroName, newMacroName)
    }

    function modifyMacroData(macroName) {
        if (!mainIten.editedMacros.includes(macroName))
            mainIten.editedMacros = mainIten.editedMacros.concat([macroName])
        macroSendTimer.restart()
    }

    // Each edited macro goes to the buttons that use it, once.
    function sendEditedMacros() {
        macroSendTimer.stop()
        // A copy: the list read from the property follows it.
        var names = mainIten.editedMacros.slice()
        mainIten.editedMacros = []
        var keys = keyMatrixMain.modKeys
        for (var i = 0; i < keys.count; ++i) {
            var name = mainIten.macroOf(keys.get(i))
            if (name !== undefined && names.includes(name))
                Program.view.sendStoredMacro(name, i)
        }
    }

    // The button-assignment dialog for button index, unless it is the last
    // left click.
    function show(index) {
        mouseMain.selectKey = index
        if (keyMatrixMain.checkOneLeftKey()) {
            mouseMain.selectKey = -1
            keyMatrixMain.refusedRow = index
            return
        }
        mainIten.mainFocus()
        var entry = keyMatrixMain.modKeys.get(index)
        keyAssigmentMain.keyString = entry.keyText
        // A stored row kept as read may hold no number (NaN): the dialog
        // shows 0 for it, not what NaN becomes as an int.
        const code = value => Number.isFinite(Number(value)) ? Number(value) : 0
        keyAssigmentMain.keyCode0 = code(entry.keyCode0)
        keyAssigmentMain.keyCode1 = code(entry.keyCode1)
        keyAssigmentMain.keyCode2 = code(entry.keyCode2)
        keyAssigmentMain.keyCode3 = code(entry.keyCode3)
        mainIten.openDialog(keyAssigmentMain)
    }

    // A dialog takes the focus; closing the last one gives it back to the
    // control of the frame that opened the first.
    function openDialog(dialog) {
        if (!mainMask.visible)
            mainIten.focusBeforeDialog = mainIten.Window.activeFocusItem
        mainMask.visible = true
        dialog.x = (mainIten.width - dialog.width) / 2
        dialog.y = (mainIten.height - dialog.height) / 2
        dialog.visible = true
        dialog.forceActiveFocus()
    }

    function closeDialog(dialog) {
        dialog.visible = false
        mainMask.visible = false
        if (mainIten.focusBeforeDialog)
            mainIten.focusBeforeDialog.forceActiveFocus()
    }

    // Window dragging: the pointer's offset from where it was pressed moves
    // the window. Under Wayland a window cannot place itself; the compositor
    // moves it instead.
    function dragPressed(area, mouse) {
        area.pressedAt = Qt.point(mouse.x, mouse.y)
        if (Program.window !== null && !Program.window.placesItself)
            Program.window.startSystemMove()
    }

    function dragMoved(area, mouse) {
        if (!area.pressed)
            return
        Program.ctl.onXChanged(mouse.x - area.pressedAt.x)
        Program.ctl.onYChanged(mouse.y - area.pressedAt.y)
    }


    Timer {
        id: macroSendTimer
        objectName: "macroSendTimer"
        interval: 600
        onTriggered: mainIten.sendEditedMacros()
    }

    Timer {
        id: protectTimer
        interval: 1000
        onTriggered: {
            Program.view.setEnabled(true)
            protectUIItem.setBusy(false)
            if (powerOn.visible) {
                powerOn.visible = false
                // Never shown again: its pixels go.
                powerOn.source = ""
                envItem.visible = true
                leftPanel.visible = true
                bottomBar.visible = true
                rightPanel.visible = true
                upItem.visible = true
                mouseMain.visible = true
            }
        }
    }

    MouseArea {
        id: dragArea
        objectName: "dragArea"
        anchors.fill: parent
        property point pressedAt
        onPressed: function (mouse) {
            mainIten.dragPressed(dragArea, mouse)
            mainIten.mainFocus()
        }
        onPositionChanged: function (mouse) { mainIten.dragMoved(dragArea, mouse) }
    }

    Image {
        id: powerOn
        objectName: "powerOn"
        anchors.centerIn: parent
        source: Skin.image("powerOn")
        sourceSize.width: 320
        sourceSize.height: 200
        Accessible.role: Accessible.Graphic
        Accessible.name: "Starting"
    }

    Item {
        id: envItem
        objectName: "envItem"
        anchors.fill: parent
        visible: false

        Rectangle {
            anchors.fill: parent
            radius: 10
            color: Skin.colorBackground
            border.color: mainIten.colorGray1
        }

        Rectangle {
            id: titleBar
            x: 1
            y: 1
            width: parent.width - 2
            height: 48
            radius: 10
            color: Skin.colorTitle

            Rectangle {
                anchors { left: parent.left; right: parent.right; bottom: parent.bottom }
                height: 2
                gradient: Gradient {
                    orientation: Gradient.Horizontal
                    GradientStop { position: 0.0; color: mainIten.colorOrange }
                    GradientStop { position: 0.6; color: Qt.darker(mainIten.colorOrange, 1.6) }
                    GradientStop { position: 1.0; color: "transparent" }
                }
            }
        }

        Image {
            id: logo
            x: 36
            y: 12
            source: Skin.image("logo")
            sourceSize.width: 150
            sourceSize.height: 28
            Accessible.role: Accessible.Graphic
            Accessible.name: "Skarn"
        }

        // Whether a mouse is connected, beside the logo.
        Row {
            objectName: "connectionSign"
            x: 232
            y: 18
            spacing: 8
            Rectangle {
                anchors.verticalCenter: parent.verticalCenter
                width: 8
                height: 8
                radius: 4
                color: mainIten.mouseConnected ? "#3fb950" : mainIten.colorGray2
            }
            Label {
                text: mainIten.mainLang[mainIten.mouseConnected ? 15 : 16]
                color: mainIten.colorGray3
            }
        }
    }

    Mouse {
        id: mouseMain
        objectName: "mouseMain"
        anchors.fill: parent
        visible: false
        onMarkClicked: function (index) { mainIten.show(index) }
        onMarkEntered: function (index) { mouseMain.selectKey = index }
        onMarkExited: function (index) {
            if (!keyAssigmentMain.visible)
                mouseMain.selectKey = -1
        }
    }

    Column {
        id: leftPanel
        objectName: "leftPanel"
        x: 24
        y: 88
        spacing: 8
        visible: false

        KeyMatrix {
            id: keyMatrixMain
            objectName: "keyMatrixMain"
            keyCount: mouseMain.keyCount
            selectKey: mouseMain.selectKey
            gunPage: gunControlMain // qmllint disable type
            keyAssigment: keyAssigmentMain // qmllint disable type
            onKeyClicked: function (index) { mainIten.show(index) }
            onKeyEntered: function (index) { mouseMain.selectKey = index }
            onKeyExited: function (index) {
                if (!keyAssigmentMain.visible)
                    mouseMain.selectKey = -1
            }
        }

        Rectangle {
            id: editorBox
            objectName: "editorBox"
            width: 232
            height: Shell.editorBoxHeight(mainIten.isGun)
            radius: 4
            color: mainIten.colorGray0
            border.color: mainIten.colorGray1

            Label {
                x: 8
                y: 4
                height: 20
                text: mainIten.mainLang[0]
                font.pixelSize: mainIten.fontMiddleSize
            }
            Column {
                x: 8
                y: 28
                spacing: 4
                MenuEntry {
                    objectName: "macroEditorEntry"
                    textValue: mainIten.mainLang[1]
                    onClicked: {
                        mainIten.mainFocus()
                        mainIten.openDialog(macroEditorMain)
                    }
                }
                Rectangle {
                    visible: mainIten.isGun
                    width: 216
                    height: 1
                    color: mainIten.colorGray1
                }
                MenuEntry {
                    objectName: "gunEditorEntry"
                    visible: mainIten.isGun
                    textValue: mainIten.mainLang[2]
                    onClicked: {
                        mainIten.mainFocus()
                        mainIten.openDialog(gunControlMain)
                    }
                }
            }
        }

        Rectangle {
            id: reportRate
            objectName: "reportRate"
            property alias list: rateList
            // Above the system-setting button, which the open list covers.
            z: 1
            width: 232
            height: 42
            radius: 4
            color: mainIten.colorGray0
            border.color: mainIten.colorGray1

            function init(isSendData) {
                mainIten.reportRateInit(isSendData)
            }

            Label {
                x: 8
                anchors.verticalCenter: parent.verticalCenter
                width: 96
                text: mainIten.mainLang[3]
            }
            DropDownList {
                id: rateList
                objectName: "reportRateList"
                x: parent.width - width - 9
                y: 9
                width: 120
                height: 24
                mdItems: ListModel {
                    ListElement { textValue: "125Hz" }
                    ListElement { textValue: "250Hz" }
                    ListElement { textValue: "500Hz" }
                    ListElement { textValue: "1000Hz" }
                }
                onValueChange: function (index) { mainIten.reportRateChosen(index) }
                onBtnClick: {
                    dpiSettingMain.dpiSettingFocus()
                    upItem.profileList.closeMenu()
                    lightControlMain.lightControlFocus()
                }
            }
        }

        MenuEntry {
            id: systemSettingButton
            objectName: "systemSettingButton"
            width: 232
            color: hovered ? mainIten.colorOrange : mainIten.colorBlue
            textValue: mainIten.mainLang[9]
            onClicked: {
                mainIten.mainFocus()
                mainIten.openDialog(systemSettingMain)
            }
        }
    }

    Column {
        id: rightPanel
        objectName: "rightPanel"
        x: 768
        y: 56
        spacing: 8
        visible: false

        DpiSetting {
            id: dpiSettingMain
            objectName: "dpiSettingMain"
            // Its stage list opens over the lighting panel.
            z: 1
        }
        LightControl {
            id: lightControlMain
            objectName: "lightControlMain"
            isColorful: mainIten.isColorful
            is55328: mainIten.is55328
            is571: mainIten.is571
            isPownOn: mainIten.isPownOn
            dpiCount: dpiSettingMain.dpiCount
        }
    }

    // A line over the bottom bar when a change could not be written to disk.
    Rectangle {
        id: unsavedLine
        objectName: "unsavedLine"
        x: 24
        y: 604
        // Wide enough for the text, up to the bottom bar's buttons.
        width: Math.min(bottomBar.x - 8 - unsavedLine.x, Math.max(560, unsavedText.implicitWidth + 40))
        height: 28
        radius: 4
        visible: mainIten.unsavedFile !== "" && envItem.visible
        color: "#3a1212"
        border.color: "#ff3030"

        Label {
            id: unsavedText
            x: 10
            width: parent.width - 40
            height: parent.height
            text: mainIten.mainLang[17].arg(mainIten.unsavedFile)
        }
        MenuEntry {
            x: parent.width - 26
            y: 4
            width: 20
            height: 20
            textMargin: 4
            textValue: "×"
            Accessible.name: mainIten.mainLang[18]
            onClicked: Program.status.clearUnsavedFile()
        }
    }

    // Next to Save: whether the mouse gets what is saved, and the last
    // finished action of the frame.
    Label {
        id: saveNote
        objectName: "saveNote"
        anchors { right: bottomBar.left; rightMargin: 16; verticalCenter: bottomBar.verticalCenter }
        width: Math.min(implicitWidth, bottomBar.x - 40)
        visible: bottomBar.visible && !unsavedLine.visible && text !== ""
        color: mainIten.mouseConnected ? mainIten.colorGray3 : mainIten.colorOrange
        text: !mainIten.mouseConnected ? (mainIten.sendWhenConnected ? profileMain.profileLang[21]
                                                                     : mainIten.mainLang[16])
                                       : mainIten.shellNotice > 0 ? profileMain.profileLang[mainIten.shellNotice] : ""
        Accessible.role: Accessible.AlertMessage
    }

    Row {
        id: bottomBar
        objectName: "bottomBar"
        anchors { right: parent.right; rightMargin: 24; bottom: parent.bottom; bottomMargin: 8 }
        spacing: 16
        visible: false

        TextButton {
            objectName: "configButton"
            textValue: mainIten.mainLang[4]
            onClicked: {
                mainIten.mainFocus()
                mainIten.openDialog(profileMain)
            }
        }
        TextButton {
            objectName: "resetButton"
            textValue: mainIten.mainLang[5]
            onClicked: {
                mainIten.mainFocus()
                var position = profileMain.activePosition
                resetBox.profileName = position < profileMain.profileModel.count
                        ? profileMain.profileModel.get(position).textValue : ""
                mainIten.openDialog(resetBox)
            }
        }
        TextButton {
            objectName: "saveButton"
            textValue: mainIten.mainLang[10]
            // Red while a page has unsaved changes, under the pointer too.
            normalColor: mainIten.hasUnsaved ? "#ff3030" : mainIten.colorBlue
            hoverColor: mainIten.hasUnsaved ? "#ff3030" : mainIten.colorOrange
            onClicked: mainIten.save()
        }
    }

    Menu_Up {
        id: upItem
        objectName: "upItem"
        x: 920
        y: 16
        visible: false
        profileModel: profileMain.profileModel
        minimizeName: mainIten.mainLang[13] !== "" ? mainIten.mainLang[13] : "Minimise"
        closeName: mainIten.mainLang[14] !== "" ? mainIten.mainLang[14] : "Close"
        onHelpClicked: askMenu.visible = !askMenu.visible
        onMinimizeClicked: Program.ctl.onMinimize()
        onCloseClicked: Program.ctl.onClose()
        // The window's own buttons stay usable under the busy shield; the
        // profile list waits with the pages.
        z: busyShield.visible ? busyShield.z + 1 : 0
        profilesLocked: busyShield.visible
        onProfileChosen: function (index) { profileMain.changeProfile(index) }
    }

    Rectangle {
        id: mainMask
        objectName: "mainMask"
        anchors.fill: parent
        color: "#90000000"
        visible: false

        MouseArea {
            id: maskArea
            anchors.fill: parent
            // The frame behind the mask takes no hover either.
            hoverEnabled: true
            property point pressedAt
            onPressed: function (mouse) {
                mainIten.dragPressed(maskArea, mouse)
                if (macroEditorMain.visible)
                    macroEditorMain.macroEditorFocus()
                if (profileMain.visible)
                    profileMain.profileFocus()
                if (gunControlMain.visible)
                    gunControlMain.gunControlFocus()
                if (lightControlMain.visible)
                    lightControlMain.lightControlFocus()
                if (systemSettingMain.visible)
                    systemSettingMain.systemSettingFocus()
            }
            onPositionChanged: function (mouse) { mainIten.dragMoved(maskArea, mouse) }
            onWheel: function (wheel) { wheel.accepted = true }
        }
    }

    MacroEditor {
        id: macroEditorMain
        objectName: "macroEditorMain"
        visible: false
        keyCodeString: _KeyCodeString // qmllint disable type
        useCount: macroName => mainIten.macroUseCount(macroName)
        onClosed: {
            mainIten.sendEditedMacros()
            mainIten.closeDialog(macroEditorMain)
            // The assignment dialog that opened the editor comes back with
            // its choice still pending.
            if (keyAssigmentMain.editorClosed())
                mainMask.visible = true
        }
        onDeleteMacro: function (macroName) { mainIten.deleteMacro(macroName) }
        onModifyMacroName: function (oldMacroName, newMacroName) { mainIten.modifyMacroName(oldMacroName, newMacroName) }
        onModifyMacroData: function (macroName) { mainIten.modifyMacroData(macroName) }
    }

    GunControl {
        id: gunControlMain
        objectName: "gunControlMain"
        visible: false
        onClosed: mainIten.closeDialog(gunControlMain)
        // The slots went to the mouse: the key matrix carries their periods.
        onGunSlotsChanged: keyMatrixMain.sendMatrix()
    }

    SystemSetting {
        id: systemSettingMain
        objectName: "systemSettingMain"
        visible: false
        onClosed: mainIten.closeDialog(systemSettingMain)
    }

    KeyAssigment {
        id: keyAssigmentMain
        objectName: "keyAssigmentMain"
        visible: false
        selectKey: mouseMain.selectKey
        isGun: mainIten.isGun
        keyMatrix: keyMatrixMain
        macroEditor: macroEditorMain
        keyCodeString: _KeyCodeString // qmllint disable type
        onClosed: {
            mainIten.closeDialog(keyAssigmentMain)
            mouseMain.selectKey = -1
        }
        onMacroEditorClicked: mainIten.openDialog(macroEditorMain)
    }

    Profile {
        id: profileMain
        objectName: "profileMain"
        visible: false
        // The top bar names the active entry, also when one before it went.
        onActivePositionChanged: upItem.profileList.currentSelect = profileMain.activePosition
        onChangeProfile: function (tmpProfileNo) { mainIten.changeProfile(tmpProfileNo) }
        onClosed: {
            mainIten.closeDialog(profileMain)
            upItem.profileList.closeMenu()
        }
    }

    // The factory-reset confirmation, draggable inside the window. It names
    // the profile it resets and says that the gun presets, which all
    // profiles share, go back too; it grows when a language needs more
    // lines.
    Rectangle {
        id: resetBox
        objectName: "resetBox"
        width: 427
        height: Math.max(102, resetText.y + resetText.height + 45)
        // The active profile's name, taken when the box opens.
        property string profileName: ""
        visible: false
        color: mainIten.colorGray0
        border.color: mainIten.colorGray1
        radius: 4

        Accessible.role: Accessible.Dialog
        Accessible.name: mainIten.mainLang[5]
        Keys.onEscapePressed: mainIten.closeDialog(resetBox)
        // Opened, the keyboard is on Cancel, and Tab goes between the two
        // buttons only: nothing behind the mask takes a key.
        onActiveFocusChanged: {
            if (resetBox.activeFocus)
                resetCancel.forceActiveFocus()
        }

        MouseArea {
            anchors.fill: parent
            drag.target: resetBox
            drag.minimumX: 0
            drag.maximumX: mainIten.width - resetBox.width
            drag.minimumY: 0
            drag.maximumY: mainIten.height - resetBox.height
        }
        Rectangle {
            width: parent.width
            height: 30
            radius: 4
            color: mainIten.colorGray1
            Label {
                x: 12
                height: parent.height
                text: mainIten.mainLang[5]
                font.pixelSize: mainIten.fontMiddleSize
            }
        }
        Label {
            id: resetText
            objectName: "resetText"
            x: 16
            y: 38
            width: parent.width - 32
            wrapMode: Text.Wrap
            text: mainIten.mainLang[6] + "\n" + profileMain.profileLang[22].replace("%1", resetBox.profileName)
        }
        TextButton {
            id: resetOk
            objectName: "resetOk"
            x: parent.width - width - 12
            y: parent.height - height - 10
            width: 88
            height: 25
            textValue: mainIten.mainLang[8]
            KeyNavigation.tab: resetCancel
            KeyNavigation.backtab: resetCancel
            onClicked: mainIten.factoryReset()
        }
        TextButton {
            id: resetCancel
            objectName: "resetCancel"
            KeyNavigation.tab: resetOk
            KeyNavigation.backtab: resetOk
            x: resetOk.x - width - 7
            y: resetOk.y
            width: 88
            height: 25
            normalColor: mainIten.colorGray1
            textValue: mainIten.mainLang[7]
            onClicked: mainIten.closeDialog(resetBox)
        }
    }

    // The question-mark menu: the maker's web page (opens in the browser),
    // the version, and the data folder (opens in the file manager). As wide
    // as its longest text, growing to the left.
    Rectangle {
        id: askMenu
        objectName: "askMenu"
        // The web page and the version shown when the language has none.
        property var entries: [mainIten.url, "version:2.2"]
        anchors { right: parent.right; rightMargin: 300 }
        y: 30
        z: 2
        width: Math.min(mainIten.width - 300 - 16, Math.max(200, askColumn.textWidth + 2))
        height: askColumn.implicitHeight + 2
        visible: false
        color: mainIten.colorGray0
        border.color: mainIten.colorGray1

        function open(cmd) {
            mainIten.askMenuCmd(cmd)
            askMenu.visible = false
        }

        Column {
            id: askColumn
            x: 1
            y: 1
            MenuEntry {
                id: urlEntry
                objectName: "urlEntry"
                width: askMenu.width - 2
                textValue: askMenu.entries[0]
                onClicked: askMenu.open(0)
            }
            // Information, not a button: no hover, no focus.
            Label {
                id: versionEntry
                objectName: "versionEntry"
                x: 8
                width: askMenu.width - 18
                height: 24
                text: mainIten.mainLang[12] !== "" ? mainIten.mainLang[12] : askMenu.entries[1]
                color: mainIten.colorGray3
            }
            MenuEntry {
                id: folderEntry
                objectName: "folderEntry"
                width: askMenu.width - 2
                textValue: askMenu.visible ? mainIten.mainLang[19].arg(Program.view.dataFolder()) : ""
                onClicked: askMenu.open(1)
            }
            // The column's width: the widest text with its margins.
            readonly property real textWidth: Math.max(urlEntry.textWidth, versionEntry.implicitWidth + 16,
                                                       folderEntry.textWidth)
        }
    }

    // The busy shield: the pages wait under it while the indicator shows; the
    // window still moves, and its title strip keeps the window's buttons.
    MouseArea {
        id: busyShield
        objectName: "busyShield"
        y: 48
        width: parent.width
        height: parent.height - 48
        z: 98
        visible: protectUIItem.visible
        hoverEnabled: true
        acceptedButtons: Qt.AllButtons
        property point pressedAt
        onPressed: function (mouse) { mainIten.dragPressed(busyShield, mouse) }
        onPositionChanged: function (mouse) { mainIten.dragMoved(busyShield, mouse) }
        onWheel: function (wheel) { wheel.accepted = true }
        // The keyboard waits too; it goes back where it was afterwards.
        Keys.onPressed: function (event) { event.accepted = true }
        onVisibleChanged: {
            if (busyShield.visible) {
                mainIten.focusBeforeBusy = mainIten.Window.activeFocusItem
                busyShield.forceActiveFocus()
            } else if (mainIten.focusBeforeBusy && busyShield.activeFocus) {
                mainIten.focusBeforeBusy.forceActiveFocus()
            }
        }
    }

    BusyIndicator {
        id: protectUIItem
        objectName: "protectUIItem"
        anchors.centerIn: parent
        z: 99
        held: mainIten.busyHeld
        textValue: mainIten.mainLang[11] !== "" ? mainIten.mainLang[11] : "LOADING ......"
    }

    KeyCodeString {
        id: _KeyCodeString
    }

    // An entry of the editor box and the question-mark menu: a text that
    // turns orange under the pointer.
    component MenuEntry: Rectangle {
        id: entry
        property string textValue: ""
        readonly property bool hovered: entryArea.containsMouse
        property int textMargin: 8
        // What the text needs with its margins.
        readonly property real textWidth: entryLabel.implicitWidth + 2 * entry.textMargin
        signal clicked

        width: 216
        height: 24
        radius: 2
        color: entry.hovered || entry.activeFocus ? Skin.colorOrange : "transparent"
        activeFocusOnTab: true

        Accessible.role: Accessible.Button
        Accessible.name: entry.textValue
        Accessible.focusable: true
        Accessible.onPressAction: entry.clicked()
        Keys.onSpacePressed: entry.clicked()
        Keys.onReturnPressed: entry.clicked()
        Keys.onEnterPressed: entry.clicked()

        Label {
            id: entryLabel
            x: entry.textMargin
            width: parent.width - 2 * entry.textMargin
            height: parent.height
            text: entry.textValue
            Accessible.ignored: true
        }
        MouseArea {
            id: entryArea
            anchors.fill: parent
            hoverEnabled: true
            cursorShape: Qt.PointingHandCursor
            onClicked: entry.clicked()
        }
    }
}
