import QtQuick
import QtTest

// The window's shell from the resources, as the program loads it, on the real
// view operations and the virtual mouse: start-up, the UI lock, Save, profile
// change, factory reset, report rate, macro bookkeeping, window dragging. Frames are
// checked by their command byte and first argument ("0b03": current DPI 3).
TestCase {
    id: testCase
    name: "Main"
    width: 1024
    height: 640
    when: windowShown
    visible: true

    function init() {
        failOnWarning(/./)
        ui_Ctl.clear()
    }

    // A shell after the first initUI, with its lock over and the frame shown.
    function startShell() {
        var component = Qt.createComponent("qrc:/modules/qml/main.qml")
        compare(component.status, Component.Ready, component.errorString())
        var root = createTemporaryObject(component, testCase)
        root.initUI()
        root.setProtectUI(0) // the lock ends at once
        tryCompare(child(root, "envItem"), "visible", true)
        testRig.clearFrames()
        return root
    }

    function child(root, name) {
        var item = findChild(root, name)
        verify(item !== null, "no item " + name)
        return item
    }
    // Command byte and first argument of each frame since the last clear.
    function commands() { return testRig.frames().map(f => f.slice(0, 4)) }

    function test_startup() {
        testRig.clearFrames()
        var component = Qt.createComponent("qrc:/modules/qml/main.qml")
        var root = createTemporaryObject(component, testCase)
        verify(!root.visible)
        root.initUI()
        verify(root.visible)
        // Nothing is sent at start: only the current stage is read; the UI is locked until the lock ends.
        compare(commands(), ["8b00"])
        compare([child(root, "powerOn").visible, child(root, "protectUIItem").visible, child(root, "envItem").visible],
                [true, true, false])
        tryCompare(child(root, "envItem"), "visible", true, 2000)
        compare([child(root, "powerOn").visible, child(root, "protectUIItem").visible], [false, false])
        // A later initUI locks again and reads the stage only.
        testRig.clearFrames()
        root.initUI()
        compare(commands(), ["8b00"])
    }

    // A 560 mouse on another profile is put back on profile 1 at start.
    function test_startup560() {
        testRig.restart({ icType: "560" })
        testRig.setMouseProfile(2)
        testRig.clearFrames()
        var root = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), testCase)
        root.initUI()
        compare(commands().slice(0, 2), ["8200", "0201"])
        compare(testRig.mouseState().profile, 1)
        testRig.restart({})
    }

    function test_badGlobals_data() {
        return [["profile number past the list", "mouse/profileNo", 9, "English"],
                ["missing language file", "common/language", "Klingon", "Klingon"]]
            .map(([tag, key, value, language]) => ({ tag, key, value, language }))
    }
    function test_badGlobals(row) {
        ui_View.setGlobalData(row.key, row.value)
        var root = startShell()
        compare(root.language, row.language)
        compare(root.mainLang[4], "Config") // built-in or English, the same text
        compare([child(root, "upItem").profileList.currentSelect, child(root, "profileMain").profileNo], [0, 0])
        ui_View.setGlobalData("mouse/profileNo", 0)
        ui_View.setGlobalData("common/language", "English")
    }

    // The mouse reports stages from 1; a 0 is no stage and leaves the page as it was.
    function test_setCurrentDPI() {
        var root = startShell()
        root.setCurrentDPI(4)
        root.setCurrentDPI(0)
        compare(child(root, "dpiSettingMain").currentDPI, 3)
    }

    function test_saveSendsOnlyWhatChanged() {
        var root = startShell()
        var save = child(root, "saveButton"), keys = child(root, "keyMatrixMain")
        mouseClick(save)
        compare(commands(), [])
        keys.isSave = true
        mouseClick(save)
        verify(!keys.isSave)
        verify(commands().length > 0 && commands().every(c => c.startsWith("12")), commands())
        verify(!child(root, "protectUIItem").visible)
    }

    // A change that did not reach the disk stays unsaved, a report rate too: Save stays red and writes them once
    // the disk takes them.
    function test_saveKeptUntilStored() {
        var root = startShell(), dpi = child(root, "dpiSettingMain")
        verify(testRig.breakSettingsFolder(true))
        dpi.setStageValue(0, 800)
        dpi.isSave = true
        child(root, "reportRateList").currentSelect = 1
        root.reportRateChosen(1)
        mouseClick(child(root, "saveButton"))
        compare([dpi.isSave, root.reportRateUnsaved, root.hasUnsaved], [true, true, true])
        verify(testRig.breakSettingsFolder(false))
        mouseClick(child(root, "saveButton"))
        compare([root.hasUnsaved, Number(ui_View.getDataList("mouse/dpiValueArray", false)[0]),
                 Number(ui_View.getData("mouse/reportRate", false))], [false, 800, 1])
        testRig.restart({})
    }

    function test_reportRate_data() {
        // The other codes: tst_shell.qml.
        return [{ tag: "125Hz", index: 0, code: "0108" }, { tag: "1000Hz", index: 3, code: "0101" }]
    }
    function test_reportRate(row) {
        var root = startShell()
        var list = child(root, "reportRateList")
        mouseClick(list, 60, 12)
        tryCompare(child(list, "dropArea"), "height", 4 * 24) // open: clicks while it moves are ignored
        mouseClick(list, 60, 24 + 24 * row.index + 12)
        tryVerify(() => commands().length === 1, 2000)
        compare(commands(), [row.code])
        compare(Number(ui_View.getData("mouse/reportRate", false)), row.index)
    }

    function test_profileChange() {
        ui_View.updataNameList(2, ["Standard0", "profile_01"])
        var root = startShell()
        var profile = child(root, "profileMain")
        profile.changeProfile(0) // the current one
        profile.changeProfile(2) // no entry
        compare(commands(), [])
        profile.changeProfile(1)
        compare(profile.profileNo, 1)
        compare(Number(ui_View.getGlobalData("mouse/profileNo")), 1)
        // Key matrix, report rate, DPI stages (four), the lighting (effect,
        // then the colours, which this mouse takes twice), then the gun
        // mouse's switch to matrix 1 and its gun matrices; the lock is over.
        compare(commands(), ["1201", "0101", "1104", "0d03", "1000", "1000", "0200", "1202", "1203", "1204"])
        verify(!child(root, "protectUIItem").visible)
        testRig.restart({})
    }

    // Profiles are their entries' slot digits, wherever the entries stand: deleting one keeps every name on its
    // own settings, the top bar on the active entry, and a restart on the profile it names. A list of an earlier
    // version, whose stored number was a position, keeps its profiles too.
    function test_profilesAfterDeletion_data() {
        return [["delete before the active entry", ["Standard0", "a1", "b2", "c3"], 0, 3, 1, "c", 2],
                ["a list of an earlier version", ["Standard0", "fast2", "slow4"], 1, -1, -1, "fast", 1]]
            .map(([tag, list, stored, choose, remove, active, position]) => ({ tag, list, stored, choose, remove,
                                                                               active, position }))
    }
    function test_profilesAfterDeletion(row) {
        ui_View.updataNameList(2, row.list)
        ui_View.setGlobalData("mouse/profileNo", row.stored)
        for (var n = 0; n < 6; ++n) {
            ui_View.setCurrentProfile(n)
            ui_View.setData("mouse/reportRate", n % 4)
        }
        var root = startShell(), profile = child(root, "profileMain"), top = child(root, "upItem").profileList
        if (row.choose >= 0)
            profile.changeProfile(row.choose)
        if (row.remove >= 0) {
            profile.currentIndex = row.remove
            profile.menuCommand(0)
        }
        var slot = profile.profileModel.slotAt(row.position), rate = child(root, "reportRateList")
        compare([top.currentSelect, top.textValue, profile.activePosition, profile.profileNo, rate.currentSelect,
                 Number(ui_View.getGlobalData("mouse/profileNo"))], [row.position, row.active, row.position, slot,
                                                                     slot % 4, slot])
        root = startShell()
        top = child(root, "upItem").profileList
        compare([top.textValue, child(root, "reportRateList").currentSelect], [row.active, slot % 4])
        child(root, "profileMain").profileModel.rename(row.position, "renamed") // the top bar follows a rename
        compare(top.textValue, "renamed")
        testRig.restart({})
    }

    // Saved without a mouse: the change stays in the profile, the note beside Save says where it went, and the
    // mouse gets the profile when it is back (as a profile change sends it); back with nothing pending, it gets
    // nothing.
    function test_saveWithoutMouse() {
        var root = startShell(), note = child(root, "saveNote")
        root.run()
        testRig.setConnected(false)
        compare([note.visible, note.text], [true, "No mouse connected"])
        child(root, "dpiSettingMain").isSave = true
        mouseClick(child(root, "saveButton"))
        compare([commands(), note.text], [[], child(root, "profileMain").profileLang[21]])
        testRig.setConnected(true)
        root.initUI()
        compare(commands(), ["1201", "0101", "1104", "0d03", "1000", "1000", "0200", "1202", "1203", "1204", "8b00"])
        verify(!note.visible)
        testRig.setConnected(false)
        testRig.setConnected(true)
        root.initUI()
        compare(commands(), ["8b00"])
    }

    // A click on the only left click is refused with a note beside its row, gone at the next press.
    function test_onlyLeftClick() {
        var root = startShell(), keys = child(root, "keyMatrixMain"), note = child(keys, "refusal")
        root.show(0)
        compare([note.visible, child(root, "keyAssigmentMain").visible, child(note, "refusalText").text],
                [true, false, keys.keyMatrixLang[2]])
        root.mainFocus()
        verify(!note.visible)
    }

    function test_factoryReset() {
        var root = startShell()
        root.run()
        ui_View.setData("mouse/reportRate", 1)
        var box = child(root, "resetBox"), button = child(root, "resetButton")
        button.forceActiveFocus()
        mouseClick(button)
        verify(box.visible && child(root, "mainMask").visible)
        // It names the profile it resets.
        verify(child(root, "resetText").text.indexOf("\"Standard\"") > 0, child(root, "resetText").text)
        // The keyboard starts on Cancel and Tab stays between the two buttons.
        var focused = () => ["resetCancel", "resetOk"].map(name => child(root, name).activeFocus)
        compare(focused(), [true, false])
        keyClick(Qt.Key_Tab)
        compare(focused(), [false, true])
        keyClick(Qt.Key_Tab)
        compare(focused(), [true, false])
        keyClick(Qt.Key_Escape) // as Cancel
        compare([box.visible, child(root, "mainMask").visible, commands(), button.activeFocus],
                [false, false, [], true])

        mouseClick(child(root, "resetButton"))
        child(root, "dpiSettingMain").isSave = true
        mouseClick(child(root, "resetOk"))
        verify(!box.visible && !child(root, "mainMask").visible && button.activeFocus)
        // The profile's pages, the stage, then the gun slots as the gun page
        // resets them.
        var sent = commands()
        var stage = sent.indexOf("0b03")
        verify(stage > 0, sent)
        compare(sent.slice(stage + 1), ["8300", "0400", "8300", "0400", "8300", "0400"])
        compare([child(root, "dpiSettingMain").currentDPI, child(root, "dpiSettingMain").isSave], [2, false])
        compare([Number(ui_View.getData("mouse/reportRate", false)), testRig.mouseState().dpiStage], [3, 3])
        compare(child(root, "saveNote").text, child(root, "profileMain").profileLang[18])
    }

    function test_windowDrag() {
        var root = startShell()
        var area = child(root, "dragArea")
        mousePress(area, 500, 20)
        mouseMove(area, 530, 30)
        mouseMove(area, 540, 25)
        mouseRelease(area, 540, 25)
        compare(ui_Ctl.calls, ["x30", "y10", "x40", "y5"])
    }

    function test_topBar() {
        var root = startShell()
        var up = child(root, "upItem")
        up.minimizeClicked()
        up.closeClicked()
        compare(ui_Ctl.calls, ["minimize", "close"])
        up.helpClicked()
        verify(child(root, "askMenu").visible)
        // The version is information, not a button; the last entry names the data folder.
        var version = child(root, "versionEntry")
        compare([version.text, version.Accessible.role === Accessible.StaticText, version.activeFocusOnTab],
                ["version:2.2", true, false])
        verify(child(root, "folderEntry").textValue.endsWith(" " + ui_View.dataFolder()))
        root.mainFocus()
        verify(!child(root, "askMenu").visible)
    }

    // The macro editor's renames and deletions reach the buttons that use
    // the macro, and only those.
    function test_macroBookkeeping() {
        var root = startShell()
        var keys = child(root, "keyMatrixMain")
        keys.modKeys.set(5, { keyCode0: 4, keyCode1: 0, keyCode2: 5, keyCode3: 0, keyText: "M1" })
        ui_View.setData("mouseMacroKey/5", "M1")
        var editor = child(root, "macroEditorMain")

        editor.modifyMacroName("M1", "M2")
        compare(keys.modKeys.get(5).keyText, "M2")
        compare(ui_View.getData("mouseMacroKey/5", false), "M2")
        compare(commands(), [])

        editor.modifyMacroName("other", "M3")
        compare(keys.modKeys.get(5).keyText, "M2")
        editor.deleteMacro("M2")
        var factory = keys.modKeys_tmp.get(5)
        compare([keys.modKeys.get(5).keyCode0, keys.modKeys.get(5).keyText], [factory.keyCode0, factory.keyText])
        verify(commands().some(c => c.startsWith("12")), commands())
    }

    // An edited macro goes to the buttons that use it once the edits settle or the editor closes, not per edit.
    function test_macroSendsSettle_data() { return [{ tag: "settled" }, { tag: "editor closed" }] }
    function test_macroSendsSettle(row) {
        var root = startShell()
        var keys = child(root, "keyMatrixMain"), editor = child(root, "macroEditorMain")
        for (const i of [3, 5]) {
            keys.modKeys.set(i, { keyCode0: 4, keyCode1: 0, keyCode2: i, keyCode3: 0, keyText: "M1" })
            ui_View.setData("mouseMacroKey/" + i, "M1")
        }
        editor.modifyMacroData("M1")
        editor.modifyMacroName("M1", "M2")
        editor.modifyMacroData("M2")
        compare(commands(), [])
        verify(child(root, "macroSendTimer").running)
        row.tag === "settled" ? child(root, "macroSendTimer").triggered() : editor.closed()
        compare(commands(), ["1304", "1306"])
        verify(!child(root, "macroSendTimer").running)
    }

    // While changes go to the mouse after a busy action, the shield holds the pages and the keyboard, not the
    // window's buttons or its move; the focus comes back when the mouse has them. Writing alone holds nothing.
    function test_busyShield_data() { return [{ tag: "after a busy action", busy: true }, { tag: "a send alone", busy: false }] }
    function test_busyShield(row) {
        var root = startShell()
        root.run()
        var shield = child(root, "busyShield"), save = child(root, "saveButton")
        save.forceActiveFocus()
        testRig.setWriting(true)
        if (row.busy) {
            root.controlUIEnable(false)
            root.controlUIEnable(true)
        }
        compare([shield.visible, child(root, "protectUIItem").visible], [row.busy, row.busy])
        compare(child(root, "profileList").enabled, !row.busy)
        compare(save.activeFocus, !row.busy)
        keyClick(Qt.Key_Tab)
        compare(shield.activeFocus, row.busy)
        var minimise = child(root, "minimizeButton")
        mouseClick(minimise)
        compare(ui_Ctl.calls, ["minimize"])
        testRig.setWriting(false)
        compare([shield.visible, child(root, "protectUIItem").visible], [false, false])
        if (row.busy)
            verify(save.activeFocus)
    }

    // The frame says whether a mouse is connected and when a change did not
    // reach the disk, from run() on; the line goes when dismissed.
    function test_statusInFrame() {
        var root = startShell()
        var line = child(root, "unsavedLine")
        root.run()
        compare(root.mouseConnected, deviceStatus.connected)
        verify(!line.visible)
        testRig.reportUnsaved("modules/setting/p1.bin")
        verify(line.visible)
        mouseClick(line, line.width - 16, 14)
        verify(!line.visible)
        compare(deviceStatus.unsavedFile, "")
    }

    // Every page and dialog in each shipped language: no visible text elided, over another, out of its own box, its
    // parent or a clipping ancestor; in French and Chinese none of several words as the English run shows it.
    property var englishTexts: ({})
    function test_textsFit_data() { return ["English", "French", "ChineseSimplified"].map(tag => ({ tag })) }
    function test_textsFit(row) {
        ui_View.setGlobalData("common/language", row.tag)
        var root = startShell(), faults = []
        root.unsavedFile = "modules/setting/p1.bin"
        child(root, "macroEditorMain").startRecording() // no macro chosen: its note shows
        for (const name of ["frame", "askMenu", "resetBox", "profileMain", "keyAssigmentMain", "macroEditorMain",
                            "gunControlMain", "systemSettingMain"]) {
            const dialog = name === "frame" ? root : child(root, name)
            // A dialog draws on its frame's surface.
            const page = dialog.opened !== undefined ? dialog.contentItem.parent : dialog
            root.mainFocus()
            name === "askMenu" ? child(root, "upItem").helpClicked() : dialog !== root && root.openDialog(dialog)
            var texts = [], english = testCase.englishTexts[name] || []
            collectTexts(page, texts)
            texts.forEach((t, i) => {
                t.fault = t.fault || (inside(t.rect, sceneRect(page), true) ? "" : "runs out of the page")
                if (!t.fault && row.tag !== "English" && english.includes(t.text)
                        && /[A-Za-z]{2} [A-Za-z]{2}/.test(t.text))
                    t.fault = "left in English"
                var over = texts.slice(i + 1).find(u => overlaps(t.rect, u.rect))
                if (t.fault || over)
                    faults.push(name + ": \"" + t.text + "\" " + (t.fault || "over \"" + over.text + "\""))
            })
            if (row.tag === "English")
                testCase.englishTexts[name] = texts.map(t => t.text)
            if (dialog !== root)
                root.closeDialog(dialog)
        }
        ui_View.setGlobalData("common/language", "English")
        verify(faults.length === 0, "\n" + faults.join("\n"))
    }
    // The visible texts under item: text, painted rectangle in the scene, and the first fault found.
    function collectTexts(item, texts) {
        if (!item.visible || item.opacity === 0)
            return
        if (item.truncated !== undefined && item.text !== "") {
            const h = item.effectiveHorizontalAlignment, v = item.verticalAlignment
            var x = (item.width - item.contentWidth) * (h === Text.AlignRight ? 1 : h === Text.AlignHCenter ? 0.5 : 0)
            var y = (item.height - item.contentHeight) * (v === Text.AlignBottom ? 1 : v === Text.AlignVCenter ? 0.5 : 0)
            var t = { text: item.text, rect: sceneRect(item, x, y, item.contentWidth, item.contentHeight) }
            t.fault = item.truncated ? "is cut" : !inside(t.rect, sceneRect(item), true) ? "runs out of its box" : ""
            for (var p = item.parent; p && !t.fault; p = p.parent) {
                var box = sceneRect(p)
                if (p === item.parent && p.width > 0 && !inside(t.rect, box, true))
                    t.fault = "runs out of " + (p.objectName || "its parent")
                else if (p.clip && !inside(t.rect, box, false))
                    t.fault = "is clipped by " + (p.objectName || "its parent")
                else if (p.clip && !overlaps(t.rect, box))
                    return // scrolled out of view, or in a closed list
            }
            texts.push(t)
        }
        for (var i = 0; i < item.children.length; ++i)
            collectTexts(item.children[i], texts)
    }
    function sceneRect(item, x = 0, y = 0, width = item.width, height = item.height) {
        var at = item.mapToItem(null, x, y)
        return { x: at.x, y: at.y, width, height }
    }
    // Within a pixel, across only or both ways; overlapping by more than a pixel.
    function inside(r, box, vertically) {
        return r.x >= box.x - 1 && r.x + r.width <= box.x + box.width + 1
            && (!vertically || (r.y >= box.y - 1 && r.y + r.height <= box.y + box.height + 1))
    }
    function overlaps(a, b) {
        return a.x + a.width > b.x + 1 && b.x + b.width > a.x + 1 && a.y + a.height > b.y + 1 && b.y + b.height > a.y + 1
    }
}
