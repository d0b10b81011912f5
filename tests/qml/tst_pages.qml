import QtQuick
import QtTest
import modules.qml

// The device pages as the shell uses them: each page's functions, properties, signals, texts, size and frame; the key
// matrices and gun presets against the real view operations (a scratch copy of the shipped data).
TestCase {
    id: testCase
    name: "Pages"
    width: 1024; height: 640
    when: windowShown
    visible: true

    function init() {
        failOnWarning(/./)
        ui_View.setCurrentProfile(0)
    }
    function cleanup() { ui_View.resetProfile(0) } // the shipped profile for the next test

    Component { id: keyMatrixComponent; KeyMatrix {} }
    Component { id: keyAssigmentComponent; KeyAssigment {} }
    Component { id: dpiSettingComponent; DpiSetting {} }
    Component { id: systemSettingComponent; SystemSetting {} }
    Component { id: lightControlComponent; LightControl {} }
    Component { id: macroEditorComponent; MacroEditor {} }
    Component { id: gunControlComponent; GunControl {} }
    Component { id: profileComponent; Profile {} }

    // What the shell calls and reads; lang: the texts' array, its length and first entry; size: width, height.
    function test_contract_data() {
        return [
            { tag: "KeyMatrix", component: keyMatrixComponent, size: [232, 240], dialog: false,
              functions: ["init", "checkOneLeftKey", "save", "assign", "endEdits"],
              properties: ["keyCount", "isSave", "dirty", "selectKey", "modKeys", "modKeys_tmp", "slotPeriods"],
              signals: [], lang: ["keyMatrixLang", 3, "Key "] },
            { tag: "KeyAssigment", component: keyAssigmentComponent, size: [416, 404], dialog: true,
              functions: ["init", "keyCodeToString", "keyCodeStrProc", "detectKeyboard"],
              properties: ["keyCode0", "keyCode1", "keyCode2", "keyCode3", "keyString", "keyCode", "isFireInput",
                           "isComboInput", "selectKey", "isGun", "modKeys", "modKeys_tmp", "macroNames", "keyNames"],
              signals: ["closed", "macroEditorClicked", "assigned"], lang: ["keyAssigmentLang", 58, "Key "] },
            { tag: "DpiSetting", component: dpiSettingComponent, size: [232, 272], dialog: false,
              functions: ["init", "saveData", "dpiValueProc", "dpiSettingFocus"],
              properties: ["dpiCount", "currentDpiCount", "minDPI", "maxDPI", "sensorType", "dpiBase", "dpiValueArray",
                           "currentDPI", "isSave"],
              signals: [], lang: ["dpiSettingLang", 1, "DPI"] },
            { tag: "SystemSetting", component: systemSettingComponent, size: [416, 312], dialog: true,
              functions: ["init", "saveData", "systemSettingFocus"], properties: ["compareValue"],
              signals: ["closed"], lang: ["systemSettingLang", 8, "System Setting"] },
            { tag: "LightControl", component: lightControlComponent, size: [232, 264], dialog: false,
              functions: ["init", "save", "endEdits", "saveData", "lightControlFocus", "setColor", "setSliderPos",
                          "lightModel.closeMenu"],
              properties: ["isSave", "dirty", "isColorDisplay", "is571ColorBlock", "lightModel", "isColorful", "is55328",
                           "is571", "isPownOn", "dpiCount"],
              signals: ["closed"], lang: ["lightControlLang", 45, "Light"] },
            { tag: "MacroEditor", component: macroEditorComponent, size: [640, 448], dialog: true,
              functions: ["init", "sendMacro", "detectKeyboard", "detectInput", "macroEditorFocus", "recordCount"],
              properties: ["macroNameModel", "macroActionModel", "isInputting", "isInsertting", "keyCodeString",
                           "macroRecordCount", "macroNames"],
              signals: ["deleteMacro", "modifyMacroName", "modifyMacroData", "closed"],
              lang: ["macroEditorLang", 35, "Macro Editor"] },
            { tag: "GunControl", component: gunControlComponent, size: [640, 448], dialog: true,
              functions: ["init", "save", "endEdits", "resetData", "sendData", "saveData", "gunControlFocus", "close"],
              properties: ["gunNumberModel", "selectGun1", "selectGun2", "selectGun3", "isSave", "dirty", "slotPeriods"],
              signals: ["closed", "gunSlotsChanged"], lang: ["gunControlLang", 10, "Gun editor"] },
        ]
    }
    function test_contract(row) {
        var page = createTemporaryObject(row.component, testCase)
        verify(page !== null)
        var member = path => path.split(".").reduce((object, name) => object[name], page)
        row.functions.forEach(name => compare(typeof member(name), "function", name))
        row.properties.forEach(name => verify(name in page, name))
        row.signals.forEach(name => compare(typeof member(name + ".connect"), "function", name))
        // What every page has for the shell.
        ;["init", "save", "endEdits", "closed.connect", "dirtyChanged.connect"]
            .forEach(name => compare(typeof member(name), "function", name))
        compare(page[row.lang[0]].length, row.lang[1])
        compare(page[row.lang[0]][0], row.lang[2])
        compare([page.width, page.height], row.size)
        compare(page.visible, !row.dialog) // dialogs start hidden
        // The title shows the texts' entry; the shell replaces the texts.
        var texts = page[row.lang[0]].slice()
        texts[row.tag === "KeyMatrix" ? 1 : 0] = "Title of " + row.tag
        page[row.lang[0]] = texts
        // A dialog on the dialog frame draws on its frame's surface.
        var surface = page.opened !== undefined ? page.contentItem.parent : page
        verify(findStaticText(surface, text => text.startsWith("Title of " + row.tag)), "title")
    }

    function findStaticText(item, accepts) {
        if (item.Accessible && item.Accessible.role === Accessible.StaticText && accepts(String(item.Accessible.name)))
            return true
        for (var i = 0; i < item.children.length; ++i) {
            if (findStaticText(item.children[i], accepts))
                return true
        }
        return false
    }

    // A dialog holds the keyboard while it is open: the focus goes in, Tab and Shift+Tab stay inside, Escape or
    // the close button (by Space) hides it and says so, and the focus goes back to the control that opened it.
    function test_dialogKeyboard_data() {
        var rows = []
        for (const [tag, component] of [["SystemSetting", systemSettingComponent], ["Profile", profileComponent]])
            rows.push({ tag: tag + ", Escape", component, way: "Escape" }, { tag: tag + ", close button", component, way: "button" })
        return rows
    }
    function test_dialogKeyboard(row) {
        opener.forceActiveFocus()
        var page = createTemporaryObject(row.component, testCase)
        var closed = createTemporaryObject(spyComponent, testCase, { target: page, signalName: "closed" })
        page.visible = true
        var inside = item => item !== null && (item === page.contentItem.parent || inside(item.parent))
        verify(inside(testCase.Window.activeFocusItem), "focus in")
        for (var i = 0; i < 12; ++i) {
            keyClick(Qt.Key_Tab, i % 3 === 2 ? Qt.ShiftModifier : Qt.NoModifier)
            verify(inside(testCase.Window.activeFocusItem), "Tab " + i + " stays inside")
        }
        if (row.way === "Escape") {
            keyClick(Qt.Key_Escape)
        } else {
            var button = findChild(page.contentItem.parent, "closeButton")
            compare([button.Accessible.role, button.Accessible.name], [Accessible.Button, "Close"])
            button.forceActiveFocus()
            keyClick(Qt.Key_Space)
        }
        compare([page.visible, closed.count, opener.activeFocus], [false, 1, true])
    }
    Rectangle { id: opener; width: 10; height: 10; activeFocusOnTab: true }
    Component { id: spyComponent; SignalSpy {} }

    // The codes of a model's entries, [keyCode0..3] each.
    function codesOf(model) {
        var codes = []
        for (var i = 0; i < model.count; ++i) {
            var entry = model.get(i)
            codes.push([entry.keyCode0, entry.keyCode1, entry.keyCode2, entry.keyCode3])
        }
        return codes
    }
    function storedCodes(isRecovery) {
        var codes = []
        for (var j = 0; j < 16; ++j)
            codes.push(ui_View.getDataList("mouseKeyMatrix/" + j, isRecovery).map(Number))
        return codes
    }

    // Both matrices come from the profiles; a button stored without four numbers is kept as read (NaN where no
    // number). Only sending stores the matrix (whole, that button as read, a missing value as 0) and sends it.
    function test_keyMatrixInit_data() {
        return [["load", false, false], ["load and send", true, false], ["factory", false, true]]
            .map(([tag, send, recovery]) => ({ tag, send, recovery }))
    }
    function test_keyMatrixInit(row) {
        ui_View.setDataList("mouseKeyMatrix/3", [4, 1, 3, 0]) // a macro; the factory has a button there
        ui_View.setDataList("mouseKeyMatrix/9", ["2", "x", "4", "5"])
        ui_View.setDataList("mouseKeyMatrix/11", [])
        var profile = storedCodes(false).map(String), factory = storedCodes(true).map(String)
        profile[11] = "NaN,NaN,NaN,NaN"
        var keys = createTemporaryObject(keyMatrixComponent, testCase)
        keys.init(row.send, row.recovery)
        compare(codesOf(keys.modKeys).map(String), row.recovery ? factory : profile)
        compare(codesOf(keys.modKeys_tmp).map(String), factory)
        compare(ui_View.getDataList("mouseKeyMatrix/11", false).length, row.send ? 4 : 0)
        profile[11] = "0,0,0,0"
        if (row.send)
            compare(storedCodes(false).map(String), profile)
    }

    // Exactly one left click, and it is the selected button: the dialog may not open. Changes: [button, codes]. The
    // plain cases (one left click, two, another button) are opened through the shell in tst_KeyMatrixMouse.qml.
    function test_checkOneLeftKey_data() {
        return [["nothing selected", [], -1, false], ["no left click", [[0, [0, 0, 0xF1, 0]]], 0, false],
                ["left click moved", [[0, [0, 0, 0xF1, 0]], [3, [0, 0, 0xF0, 0]]], 3, true],
                ["fire with code F0 is no click", [[4, [1, 0, 0xF0, 0]]], 0, true]]
            .map(([tag, changes, selected, refused]) => ({ tag, changes, selected, refused }))
    }
    function test_checkOneLeftKey(row) {
        var keys = createTemporaryObject(keyMatrixComponent, testCase, { selectKey: row.selected })
        keys.init(false, false)
        row.changes.forEach(([button, codes]) => keys.modKeys.set(button, { keyCode0: codes[0], keyCode1: codes[1],
                                                                            keyCode2: codes[2], keyCode3: codes[3] }))
        compare(keys.checkOneLeftKey(), row.refused)
    }

    // Slots stored wrongly or not at all take their reset values (valid ones: tst_GunControl.qml). A preset missing
    // from the gun file keeps its built-in values.
    function test_gunInit_data() {
        return [{ tag: "out of range, not a number, missing", stored: "6, x", slots: [0, 1, 2] },
                { tag: "absent", stored: null, slots: [0, 1, 2] }]
    }
    function test_gunInit(row) {
        ui_View.setGlobalData("mouse/selectGun", row.stored === null ? undefined : row.stored.split(", "))
        ui_View.modifyGundata(0, ["5"])
        var guns = createTemporaryObject(gunControlComponent, testCase, { selectGun1: 4, selectGun2: 4, selectGun3: 4 })
        guns.init()
        compare([guns.selectGun1, guns.selectGun2, guns.selectGun3], row.slots)
        var m416 = guns.gunNumberModel.get(0)
        compare([m416.gunName, m416.gunKey, m416.gunPeriod, m416.gunX, m416.gunY, m416.gunTimes],
                ["M416", "L-Click", "10", "0", "10", "0"])
        compare([guns.gunNumberModel.get(5).gunName, guns.gunNumberModel.get(5).gunPeriod], ["Thomson", "10"])
        ui_View.setGlobalData("mouse/selectGun", ["0", "1", "2"])
    }

    // The factory reset: slots 1..3 on presets 0..2, whose compensation and period go to the gun file.
    function test_gunReset() {
        ui_View.setGlobalData("mouse/selectGun", ["4", "4", "4"])
        var guns = createTemporaryObject(gunControlComponent, testCase)
        guns.init()
        guns.resetData()
        compare([guns.selectGun1, guns.selectGun2, guns.selectGun3], [0, 1, 2])
        compare(ui_View.getGlobalData("mouse/selectGun").map(Number), [0, 1, 2])
        compare(ui_View.getGunData(0).map(String), ["M416", "L-Click", "9", "0", "5", "0"])
        compare(ui_View.getGunData(2).map(String), ["M16A4", "L-Click", "9", "0", "8", "0"])
        compare(ui_View.getGunData(3).map(String), ["SCAR-L", "L-Click", "10", "0", "10", "0"])
    }

    // The dialog's code text: eight hex digits of either case, anything else leaves the codes.
    function test_keyCodeStrProc_data() {
        return [["double click", "00F01E02", [0, 0xF0, 0x1E, 2]], ["lower case", "0300e900", [3, 0, 0xE9, 0]],
                ["not eight hex digits: unchanged", "0300E9G", [9, 9, 9, 9]]]
            .map(([tag, text, codes]) => ({ tag, text, codes }))
    }
    function test_keyCodeStrProc(row) {
        var dialog = createTemporaryObject(keyAssigmentComponent, testCase,
                                           { keyCode0: 9, keyCode1: 9, keyCode2: 9, keyCode3: 9, keyCode: row.text })
        dialog.keyCodeStrProc()
        compare([dialog.keyCode0, dialog.keyCode1, dialog.keyCode2, dialog.keyCode3], row.codes)
    }
}
