pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

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

    property alias mainLang: actions.mainLang
    property alias language: actions.language
    property alias url: actions.url
    property alias isColorful: actions.isColorful
    property alias isGun: actions.isGun
    property alias icType: actions.icType
    property alias is55328: actions.is55328
    property alias is571: actions.is571
    property alias isPownOn: actions.isPownOn
    property int skin_No: Skin.skin_No
    // The frame shows once the first UI lock ends; the power-on image goes.
    property bool revealed: false
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
    readonly property bool hasUnsaved: actions.hasUnsaved
    // The report rate chosen last could not be stored: Save stores it.
    property alias reportRateUnsaved: reportRate.dirty
    // Changes were saved in the profile while no mouse was connected: the
    // profile goes to the mouse when it is back.
    property alias sendWhenConnected: actions.sendWhenConnected
    // A finished action said next to Save, as an index of the profile page's
    // texts; 0 for none.
    property alias shellNotice: actions.shellNotice
    // Changes on their way to the mouse: the program's writer sends them
    // while the window goes on drawing.
    property bool mouseWriting: false
    // A busy action (Save, a profile change, a factory reset) keeps the busy
    // shield up until what it queued has reached the mouse.
    property bool busyHeld: false
    onMouseWritingChanged: {
        if (!mainIten.mouseWriting)
            mainIten.busyHeld = false
    }

    signal msg_KB(bool isDown, int usbCode)
    signal msg_MS(bool isDown, int buttonCode, int x, int y)

    // A key pressed anywhere reaches the page that waits for one.
    onMsg_KB: function (isDown, usbCode) { actions.keyPressed(isDown, usbCode) }

    function initUI() {
        mainIten.setProtectUI(1000)
        mainIten.visible = true
        if (!mainIten.isPownOn)
            actions.start()
        else
            actions.sendWhenBack()
        mainIten.showDeviceStage(Program.view.mouseGetCurrentDPI())
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
        Program.view.setEnabled(false)
        busyLayer.lock(interval)
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
        busyLayer.indicator.setBusy(!isEnable)
        Program.view.setEnabled(isEnable)
    }

    // The question-mark menu's entries: 0 the web page, 1 the data folder.
    function askMenuCmd(cmd) {
        if (cmd === 0)
            Qt.openUrlExternally(mainIten.url)
        else if (cmd === 1)
            Qt.openUrlExternally(Qt.url("file://" + Program.view.dataFolder()))
    }

    // What the shell does (shell/Actions.qml).
    function loadLanguage() { actions.loadLanguage() }
    function reportRateChosen(index) { actions.reportRateChosen(index) }
    function changeProfile(position) { actions.changeProfile(position) }
    function save() { actions.save() }
    function factoryReset() { actions.factoryReset() }
    function show(index) { actions.show(index) }

    MacroUse {
        id: macroUse
        keys: keyMatrixMain.modKeys
        factoryKeys: keyMatrixMain.modKeys_tmp
        onKeysReset: keyMatrixMain.save()
    }

    Actions {
        id: actions
        keyMatrix: keyMatrixMain
        keyAssigment: keyAssigmentMain
        dpiSetting: dpiSettingMain
        lightControl: lightControlMain
        systemSetting: systemSettingMain
        macroEditor: macroEditorMain
        gunControl: gunControlMain
        profile: profileMain
        mouse: mouseMain
        reportRate: reportRate
        topBar: upItem
        askMenu: askMenu
        resetBox: resetBox
        keyNames: _KeyCodeString
        onLockRequested: function (isEnable) { mainIten.controlUIEnable(isEnable) }
        onFocusRequested: mainIten.mainFocus()
        onOpenRequested: function (dialog) { mainIten.openDialog(dialog) }
        onCloseRequested: function (dialog) { mainIten.closeDialog(dialog) }
    }

    // The dialogs open centred over the mask (shell/DialogMask.qml).
    function openDialog(dialog) { mainMask.open(dialog) }
    function closeDialog(dialog) { mainMask.close(dialog) }

    WindowDragArea {
        id: dragArea
        objectName: "dragArea"
        anchors.fill: parent
        onPressedHere: mainIten.mainFocus()
    }

    Image {
        id: powerOn
        objectName: "powerOn"
        anchors.centerIn: parent
        visible: !mainIten.revealed
        // Never shown again: its pixels go.
        source: mainIten.revealed ? "" : Skin.image("powerOn")
        sourceSize.width: 320
        sourceSize.height: 200
        Accessible.role: Accessible.Graphic
        Accessible.name: "Starting"
    }

    Backdrop {
        id: envItem
        objectName: "envItem"
        anchors.fill: parent
        visible: mainIten.revealed
        connected: mainIten.mouseConnected
        connectedText: mainIten.mainLang[15]
        disconnectedText: mainIten.mainLang[16]
    }

    Mouse {
        id: mouseMain
        objectName: "mouseMain"
        anchors.fill: parent
        visible: mainIten.revealed
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
        visible: mainIten.revealed

        KeyMatrix {
            id: keyMatrixMain
            objectName: "keyMatrixMain"
            keyCount: mouseMain.keyCount
            selectKey: mouseMain.selectKey
            optionTexts: keyAssigmentMain.keyAssigmentLang
            keyNames: _KeyCodeString.keyCodeStr
            slotPeriods: gunControlMain.slotPeriods
            onKeyClicked: function (index) { mainIten.show(index) }
            onKeyEntered: function (index) { mouseMain.selectKey = index }
            onKeyExited: function (index) {
                if (!keyAssigmentMain.visible)
                    mouseMain.selectKey = -1
            }
        }

        EditorBox {
            id: editorBox
            objectName: "editorBox"
            isGun: mainIten.isGun
            title: mainIten.mainLang[0]
            macroText: mainIten.mainLang[1]
            gunText: mainIten.mainLang[2]
            onMacroEditorClicked: {
                mainIten.mainFocus()
                mainIten.openDialog(macroEditorMain)
            }
            onGunEditorClicked: {
                mainIten.mainFocus()
                mainIten.openDialog(gunControlMain)
            }
        }

        ReportRate {
            id: reportRate
            objectName: "reportRate"
            title: mainIten.mainLang[3]
            onChosen: function (index) { mainIten.reportRateChosen(index) }
            onListClicked: {
                dpiSettingMain.dpiSettingFocus()
                upItem.profileList.closeMenu()
                lightControlMain.lightControlFocus()
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
        visible: mainIten.revealed

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

    BottomArea {
        id: bottomArea
        shown: mainIten.revealed
        anchors.fill: parent
        texts: mainIten.mainLang
        notices: profileMain.profileLang
        unsavedFile: mainIten.unsavedFile
        connected: mainIten.mouseConnected
        sendWhenConnected: mainIten.sendWhenConnected
        notice: mainIten.shellNotice
        hasUnsaved: mainIten.hasUnsaved
        onConfigClicked: {
            mainIten.mainFocus()
            mainIten.openDialog(profileMain)
        }
        onResetClicked: {
            mainIten.mainFocus()
            var position = profileMain.activePosition
            resetBox.profileName = position < profileMain.profileModel.count
                    ? profileMain.profileModel.get(position).textValue : ""
            mainIten.openDialog(resetBox)
        }
        onSaveClicked: mainIten.save()
    }

    Menu_Up {
        id: upItem
        objectName: "upItem"
        x: 920
        y: 16
        visible: mainIten.revealed
        profileModel: profileMain.profileModel
        minimizeName: mainIten.mainLang[13] !== "" ? mainIten.mainLang[13] : "Minimise"
        closeName: mainIten.mainLang[14] !== "" ? mainIten.mainLang[14] : "Close"
        onHelpClicked: askMenu.visible = !askMenu.visible
        onMinimizeClicked: Program.ctl.onMinimize()
        onCloseClicked: Program.ctl.onClose()
        // The window's own buttons stay usable beside the busy shield; the
        // profile list waits with the pages.
        profilesLocked: busyLayer.visible
        onProfileChosen: function (index) { profileMain.changeProfile(index) }
    }

    DialogMask {
        id: mainMask
        objectName: "mainMask"
        anchors.fill: parent
        // A press on the mask ends the edits of the open dialogs and of the
        // lighting panel.
        onPressedHere: {
            for (const page of [macroEditorMain, profileMain, gunControlMain, lightControlMain, systemSettingMain])
                if (page.visible)
                    page.endEdits()
        }
    }

    MacroEditor {
        id: macroEditorMain
        objectName: "macroEditorMain"
        visible: false
        keyCodeString: _KeyCodeString
        useCount: macroName => macroUse.useCount(macroName)
        onClosed: {
            macroUse.sendEdited()
            mainIten.closeDialog(macroEditorMain)
            // The assignment dialog that opened the editor comes back with
            // its choice still pending.
            if (keyAssigmentMain.editorClosed())
                mainMask.visible = true
        }
        onDeleteMacro: function (macroName) { macroUse.deleteMacro(macroName) }
        onModifyMacroName: function (oldMacroName, newMacroName) { macroUse.rename(oldMacroName, newMacroName) }
        onModifyMacroData: function (macroName) { macroUse.changed(macroName) }
    }

    GunControl {
        id: gunControlMain
        objectName: "gunControlMain"
        visible: false
        onClosed: mainIten.closeDialog(gunControlMain)
        // The slots went to the mouse: the key matrix carries their periods.
        onGunSlotsChanged: keyMatrixMain.save()
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
        modKeys: keyMatrixMain.modKeys
        modKeys_tmp: keyMatrixMain.modKeys_tmp
        macroNames: macroEditorMain.macroNames
        keyNames: _KeyCodeString.keyCodeStr
        onAssigned: function (index, code0, code1, code2, code3, text) {
            keyMatrixMain.assign(index, code0, code1, code2, code3, text)
        }
        onClosed: {
            mainIten.closeDialog(keyAssigmentMain)
            mouseMain.selectKey = -1
        }
        onMacroEditorClicked: mainIten.openDialog(macroEditorMain)

        Connections {
            target: macroEditorMain
            function onModifyMacroName(oldMacroName: string, newMacroName: string) {
                keyAssigmentMain.macroRenamed(oldMacroName, newMacroName)
            }
        }
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

    ResetBox {
        id: resetBox
        objectName: "resetBox"
        visible: false
        title: mainIten.mainLang[5]
        text: mainIten.mainLang[6] + "\n" + profileMain.profileLang[22]
        okText: mainIten.mainLang[8]
        cancelText: mainIten.mainLang[7]
        onConfirmed: mainIten.factoryReset()
        onCancelled: mainIten.closeDialog(resetBox)
    }

    AskMenu {
        id: askMenu
        objectName: "askMenu"
        entries: [mainIten.url, "version:2.2"]
        anchors { right: parent.right; rightMargin: 300 }
        y: 30
        z: 2
        maximumWidth: mainIten.width - 300 - 16
        versionText: mainIten.mainLang[12]
        folderText: mainIten.mainLang[19]
        onChosen: function (cmd) { mainIten.askMenuCmd(cmd) }
    }

    BusyLayer {
        id: busyLayer
        y: 48
        width: mainIten.width
        height: mainIten.height - 48
        windowFocus: mainIten.Window.activeFocusItem
        indicator.held: mainIten.busyHeld
        indicator.textValue: mainIten.mainLang[11] !== "" ? mainIten.mainLang[11] : "LOADING ......"
        onLockEnded: {
            Program.view.setEnabled(true)
            mainIten.revealed = true
        }
    }

    KeyCodeString {
        id: _KeyCodeString
    }
}
