pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// What the shell does for the program and its own buttons: the start-up of
// the pages, the texts, a profile change, Save, a factory reset, the report
// rate, opening the assignment dialog. The shell's written state lives here
// (the window's root names it by aliases); the frame's look stays there.
QtObject {
    id: shell

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
    // Changes were saved in the profile while no mouse was connected: the
    // profile goes to the mouse when it is back.
    property bool sendWhenConnected: false
    // A finished action said next to Save, as an index of the profile page's
    // texts; 0 for none.
    property int shellNotice: 0

    required property KeyMatrix keyMatrix
    required property KeyAssigment keyAssigment
    required property DpiSetting dpiSetting
    required property LightControl lightControl
    required property SystemSetting systemSetting
    required property MacroEditor macroEditor
    required property GunControl gunControl
    required property Profile profile
    required property Mouse mouse
    required property ReportRate reportRate
    required property Menu_Up topBar
    required property AskMenu askMenu
    required property ResetBox resetBox
    required property KeyCodeString keyNames

    readonly property bool hasUnsaved: shell.keyMatrix.dirty || shell.dpiSetting.dirty || shell.lightControl.dirty
                                       || shell.reportRate.dirty

    // The shell's own operations the actions use.
    signal lockRequested(bool isEnable)
    signal focusRequested
    signal openRequested(QtObject dialog)
    signal closeRequested(QtObject dialog)

    // The pages Save stores, in the order it stores them.
    function savedPages() {
        return [shell.keyMatrix, shell.dpiSetting, shell.lightControl]
    }

    // A key pressed anywhere reaches the page that waits for one: the
    // assignment dialog's fire or combination box, the macro editor while it
    // records or inserts.
    function keyPressed(isDown, usbCode) {
        if (shell.keyAssigment.isFireInput)
            shell.keyAssigment.detectKeyboard(isDown, usbCode, 0)
        else if (shell.keyAssigment.isComboInput)
            shell.keyAssigment.detectKeyboard(isDown, usbCode, 1)
        if (shell.macroEditor.isInputting)
            shell.macroEditor.detectKeyboard(isDown, usbCode)
        else if (shell.macroEditor.isInsertting)
            shell.macroEditor.detectInput(isDown, usbCode)
    }

    // The first start of the pages: the kind of mouse, the texts, the active
    // profile, then every page from the profile, nothing sent.
    function start() {
        // The kind of mouse, as the program read it once; a host without a
        // status object keeps the declared defaults.
        var hasStatus = Program.status !== null
        if (hasStatus) {
            var traits = Program.status.traits
            shell.isColorful = traits.isColorful
            shell.icType = traits.icType
            shell.is55328 = traits.is55328
            shell.is571 = traits.is571
            shell.isGun = traits.isGun
        }
        shell.mouse.keyCount = Shell.integer(Program.view.getGlobalData("mouse/keyCount"), shell.mouse.keyCount, 0, 16)
        shell.language = Shell.text(Program.view.getGlobalData("common/language"), shell.language)
        shell.url = Shell.text(Program.view.getGlobalData("common/url"), shell.url)
        shell.askMenu.entries = [shell.url, shell.askMenu.entries[1]]

        if (hasStatus)
            Program.status.pagesStarted()

        shell.loadLanguage()

        // The page knows the active profile before it fills its list, so that
        // the entry of that profile becomes its current one. A number no
        // entry has (a list of an earlier version, an edited file) becomes
        // that of the entry chosen, so that the top bar names the profile
        // that is loaded.
        var stored = Shell.integer(Program.view.getGlobalData("mouse/profileNo"), 0, 0, 5)
        shell.profile.profileNo = stored
        shell.profile.init()
        var profileNo = shell.profile.profileNo
        if (profileNo !== stored)
            Program.view.setGlobalData("mouse/profileNo", profileNo)
        shell.topBar.profileList.currentSelect = shell.profile.activePosition
        shell.topBar.profileList.closeMenu()
        console.debug("profileNo", profileNo)
        Program.view.setCurrentProfile(profileNo)
        // The report rate of the profile just made current.
        shell.reportRate.init(false)

        for (const page of [shell.macroEditor, shell.gunControl, shell.keyAssigment])
            page.init()
        for (const page of [shell.keyMatrix, shell.dpiSetting, shell.lightControl, shell.systemSetting])
            page.init(false, false)
        shell.isPownOn = true
    }

    // Each group of the language file over the built-in texts of its page
    // (the page's <group>Lang).
    function loadLanguage() {
        var lang = shell.language
        shell.mainLang = Shell.mergeTexts(shell.mainLang, Program.view.getLangStrings("main", lang))
        for (const [page, group] of [[shell.keyMatrix, "keyMatrix"], [shell.keyAssigment, "keyAssigment"],
                                     [shell.dpiSetting, "dpiSetting"], [shell.lightControl, "lightControl"],
                                     [shell.macroEditor, "macroEditor"], [shell.systemSetting, "systemSetting"],
                                     [shell.gunControl, "gunControl"], [shell.profile, "profile"]])
            page[group + "Lang"] = Shell.mergeTexts(page[group + "Lang"], Program.view.getLangStrings(group, lang))
        shell.keyNames.setKeyNames(Program.view.getLangStrings("keyCode", lang))
        Program.view.getLangStrings("other", lang)
    }

    // What the device checks found last; without a status object (a test rig
    // with none) a mouse counts as there.
    function deviceConnected() {
        return Program.status === null || Program.status.connected
    }

    // Runs save and tells whether everything it wrote reached the disk: a
    // write that did not is reported on the device status (and shown in the
    // unsaved line).
    function stored(save) {
        var failures = () => Program.status === null ? 0 : Program.status.saveFailures
        var before = failures()
        save()
        return failures() === before
    }

    // A change kept in the profile but sent to no mouse is sent when one is
    // back.
    function noteSent() {
        if (!shell.deviceConnected())
            shell.sendWhenConnected = true
    }

    // The mouse is back after changes were saved without it: it gets the
    // active profile, as when the profile is chosen.
    function sendWhenBack() {
        if (!shell.sendWhenConnected || !shell.deviceConnected())
            return
        shell.sendWhenConnected = false
        shell.lockRequested(false)
        shell.sendProfilePages()
        shell.lockRequested(true)
    }

    function reportRateChosen(index) {
        shell.reportRate.dirty = !shell.stored(() => Program.view.setData("mouse/reportRate", index))
        Program.view.mouseSetReportRate(Shell.reportRateCode(index))
        shell.noteSent()
    }

    // The pages that hold the profile's values, reloaded from it and sent:
    // after a profile change and after a factory reset.
    function sendProfilePages() {
        shell.keyMatrix.init(true, false)
        shell.reportRate.init(true)
        for (const page of [shell.dpiSetting, shell.lightControl, shell.systemSetting])
            page.init(true, false)
        if (shell.isGun) {
            Program.view.mouseSwitchKeyMatrix(1)
            Program.view.mouseResetKeyMatrix()
        }
    }

    // The entry at position of the top bar's list becomes the active
    // profile; its slot digit names the file and is what is stored.
    function changeProfile(position) {
        var number = shell.profile.profileModel.slotAt(position)
        if (number < 0 || number === shell.profile.profileNo)
            return
        shell.lockRequested(false)
        shell.shellNotice = 0
        shell.profile.profileNo = number
        Program.view.setGlobalData("mouse/profileNo", number)
        Program.view.setCurrentProfile(number)
        shell.sendProfilePages()
        shell.sendWhenConnected = false
        shell.noteSent()
        shell.lockRequested(true)
    }

    // Each page with changes writes them to the profile and sends them. A
    // page whose changes did not reach the disk stays unsaved (Save stays
    // red and writes them again), whatever reached the mouse.
    function save() {
        shell.focusRequested()
        var pages = shell.savedPages().filter(page => page.dirty)
        if (pages.length > 0)
            shell.lockRequested(false)
        for (const page of pages) {
            page.dirty = false
            page.dirty = !shell.stored(() => page.save())
        }
        if (shell.reportRate.dirty)
            shell.reportRate.dirty = !shell.stored(() => shell.reportRate.save())
        if (pages.length > 0)
            shell.noteSent()
        shell.lockRequested(true)
    }

    function factoryReset() {
        // The box goes first, so that the focus is back on the control that
        // opened it when the busy shield ends.
        shell.closeRequested(shell.resetBox)
        shell.lockRequested(false)
        for (const page of shell.savedPages())
            page.dirty = false
        Program.view.resetProfile(shell.profile.profileNo)
        shell.sendProfilePages()
        Program.view.mouseSetCurrentDPI(3)
        shell.dpiSetting.currentDPI = 2
        shell.gunControl.resetData()
        shell.sendWhenConnected = false
        shell.noteSent()
        shell.shellNotice = 18
        shell.lockRequested(true)
    }

    // The button-assignment dialog for button index, unless it is the last
    // left click.
    function show(index) {
        shell.mouse.selectKey = index
        if (shell.keyMatrix.checkOneLeftKey()) {
            shell.mouse.selectKey = -1
            shell.keyMatrix.refusedRow = index
            return
        }
        shell.focusRequested()
        var entry = shell.keyMatrix.modKeys.get(index)
        shell.keyAssigment.keyString = entry.keyText
        // A stored row kept as read may hold no number (NaN): the dialog
        // shows 0 for it, not what NaN becomes as an int.
        const code = value => Number.isFinite(Number(value)) ? Number(value) : 0
        shell.keyAssigment.keyCode0 = code(entry.keyCode0)
        shell.keyAssigment.keyCode1 = code(entry.keyCode1)
        shell.keyAssigment.keyCode2 = code(entry.keyCode2)
        shell.keyAssigment.keyCode3 = code(entry.keyCode3)
        shell.openRequested(shell.keyAssigment)
    }
}
