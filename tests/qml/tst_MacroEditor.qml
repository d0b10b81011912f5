import QtQuick
import QtTest
import modules.qml

// The macro editor against the real view: the macro files, the stored name
// list and, through the shell, the mouse's macro slots after each action.
// Steps are written as words: "+A" KeyPress A, "-A" KeyRelease A, "M+MS-L" /
// "M-MS-L" a button, "50" a Delay of 50 ms; a stored macro is its action
// strings followed by the repeat count. Recording is driven as the shell
// drives it (detectKeyboard) and the 10 ms counter through recordTick.
TestCase {
    id: testCase
    name: "MacroEditor"
    width: 1024; height: 640
    when: windowShown
    visible: true

    Component { id: editorComponent; MacroEditor {} }
    Component { id: spyComponent; SignalSpy {} }

    function init() {
        failOnWarning(/./)
        testFiles.openPath = ""
        testFiles.savePath = ""
    }
    function cleanup() {
        for (var n = 0; n <= 100; ++n)
            ui_View.deleteMacroIni("Macro_" + n)
        for (const name of ["Two", "Other", "Renamed", "Stray", "M1"])
            ui_View.deleteMacroIni(name)
        ui_View.updataNameList(0, [])
    }

    // An editor over macros {name: stored} (in that order), shown and initialised as at start.
    function make(macros) {
        for (const name in macros) {
            ui_View.createMacroIni(name, 0)
            var stored = macros[name]
            ui_View.saveMacroIni(name, stored.slice(0, -1), stored[stored.length - 1])
        }
        ui_View.updataNameList(0, Object.keys(macros))
        var editor = createTemporaryObject(editorComponent, testCase, { visible: true, x: 192, y: 96 })
        editor.init()
        return editor
    }
    function steps(text) {
        return text.split(" ").filter(Boolean).map(word => {
            var key = /^(M?)([+-])(.+)$/.exec(word)
            return key ? String((key[1] ? 3 : 1) + (key[2] === "-" ? 1 : 0)) + "," + key[3] : "0," + word
        })
    }
    function shown(editor) {
        var words = []
        for (var i = 0; i < editor.macroActionModel.count; ++i) {
            var s = editor.macroActionModel.get(i)
            words.push(s.type === 0 ? s.info : (s.type >= 3 ? "M" : "") + (s.type % 2 ? "+" : "-") + s.info)
        }
        return words.join(" ")
    }
    // An item of the dialog: its controls are found from its content, the frame's from the dialog.
    function find(editor, name) {
        return findChild(editor.contentItem, name) ?? findChild(editor.background, name) ?? findChild(editor, name)
    }
    function names(editor) { return editor.macroNameModel.names().join(" ") }
    function stored(name) { return ui_View.loadMacroIni(name).join(" ") }
    // A list's row once the list has laid it out.
    function entry(editor, what, i) {
        var item = null
        tryVerify(() => (item = find(editor, what + i)) !== null, 2000, what + i)
        return item
    }
    function select(editor, i) { mouseClick(entry(editor, "name", i), 40, 13) }
    function menuEntry(editor, menu, i) {
        var m = find(editor, menu)
        verify(m.visible, menu)
        return findChild(m, "menuRow" + i)
    }
    function stepMenu(editor, step, choice) {
        if (step >= 0)
            mouseClick(entry(editor, "step", step), 100, 13, Qt.RightButton)
        else
            mouseClick(find(editor, "stepList").parent, 200, 320, Qt.RightButton)
        mouseClick(menuEntry(editor, "actionMenu", choice))
    }
    function note(editor) { return editor.noteText }
    function type(text) {
        for (const c of text)
            keyClick(c)
    }

    // Selecting shows every element but the last as a step (a Delay as its milliseconds and " ms") and the last
    // in Times; what cannot be read shows as it is, or 0.
    function test_select() {
        var editor = make({ "Macro_0": ["1,A", "0,120", "2,A", "3"], "Two": ["1,B", "0,x", "9,odd", "2,NoKey", "abc"] })
        compare([names(editor), editor.currentMacro, shown(editor)], ["Macro_0 Two", -1, ""])
        select(editor, 0)
        compare([shown(editor), find(editor, "timesField").textValue], ["+A 120 -A", "3"])
        compare(entry(editor, "step", 1).Accessible.name, "2 Delay 120 ms")
        select(editor, 1)
        compare([shown(editor), find(editor, "timesField").textValue], ["+B 0 +9,odd -NoKey", "0"])
        compare(stored("Two"), "1,B 0,x 9,odd 2,NoKey abc") // nothing is written by looking
    }

    // A file with a huge total, unknown names, a non-numeric delay and no repeat imports and shows; a macro
    // listed without a file shows no steps and keeps Times.
    function test_badFiles() {
        var editor = make({ "Macro_0": ["1,A", "5"] })
        select(editor, 0)
        testFiles.openPath = Qt.resolvedUrl("../data/macroeditor-bad.mc").toString().replace("file://", "")
        editor.importMacro()
        compare([names(editor), editor.currentMacro], ["Macro_1 Macro_0", 0])
        compare(editor.macroActionModel.count, 4096)
        compare(shown(editor).split(" ").slice(0, 4).join(" "), "+NoSuchKey 0 -A 0")
        compare(find(editor, "timesField").textValue, "0")
        ui_View.updataNameList(0, ["Macro_1", "Macro_0", "Stray"])
        editor.init()
        select(editor, 0)
        select(editor, 2)
        compare([shown(editor), find(editor, "timesField").textValue], ["", "0"])
        stepMenu(editor, -1, 1) // Insert Delay: the file is missing
        verify(note(editor).startsWith("Not saved"), note(editor))
        compare(testFiles.exists(testFiles.scratchPath("modules/macro/Stray.bin")), false)
    }

    // Recording with "Delay": the wait is a step, a key pressed to stop is not recorded. (Without "Delay":
    // test_recordKeys.)
    function test_record_data() {
        return [["A down, 120 ms, A up", [[1, 4, 0], [0, 4, 12]], "1,A 0,120 2,A 1"],
                ["a key held when stopping", [[1, 4, 0], [0, 4, 2], [1, 0xE1, 5]], "1,A 0,20 2,A 1"]]
            .map(([tag, events, file]) => ({ tag, events, file }))
    }
    function test_record(row) {
        var editor = make({ "Macro_0": ["1,Z", "2,Z", "1"] })
        select(editor, 0)
        mouseClick(find(editor, "delayBox"))
        var button = find(editor, "recordButton")
        mouseClick(button)
        verify(editor.isInputting)
        compare([button.Accessible.name, shown(editor), stored("Macro_0")], ["Stop Record", "", "1,Z 2,Z 1"])
        for (const [down, code, ticks] of row.events) {
            editor.recordTick(ticks)
            editor.detectKeyboard(!!down, code)
        }
        compare(stored("Macro_0"), "1,Z 2,Z 1") // the file keeps its steps until the recording stops
        mouseClick(button)
        compare([editor.isInputting, button.Accessible.name, stored("Macro_0")], [false, "Start Record", row.file])
    }

    // Without a selected macro nothing records; the record button starts on a key's release and then keeps the
    // focus and takes every key; closing stops and saves.
    function test_recordKeys() {
        var editor = make({ "Macro_0": ["1,Z", "2,Z", "1"] })
        var button = find(editor, "recordButton")
        mouseClick(button)
        verify(!editor.isInputting && note(editor) !== "")
        select(editor, 0)
        button.forceActiveFocus()
        keyPress(Qt.Key_Space)
        verify(!editor.isInputting)
        keyRelease(Qt.Key_Space)
        verify(editor.isInputting && button.activeFocus)
        editor.detectKeyboard(false, 0x2C) // the release of the starting key
        for (const key of [Qt.Key_Space, Qt.Key_Tab, Qt.Key_Escape])
            keyClick(key)
        mouseClick(find(editor, "dragArea"), 320, 60) // a press on the background
        verify(editor.isInputting && button.activeFocus && editor.visible)
        editor.detectKeyboard(true, 0x2B)
        editor.detectKeyboard(false, 0x2B)
        find(editor, "closeButton").forceActiveFocus()
        mouseClick(find(editor, "closeButton"))
        compare([editor.visible, editor.isInputting, stored("Macro_0")], [false, false, "1,Tab 2,Tab 1"])
    }

    // The 10 ms timer counts on its own (the one real-time check).
    function test_recordTimer() {
        var editor = make({ "Macro_0": ["1"] })
        select(editor, 0)
        editor.startRecording()
        tryVerify(() => editor.macroRecordCount >= 3, 2000)
        editor.stopRecording()
    }

    // Inserts from the action menu: a delay before the current step, a click after it (appended after the last),
    // a key before it; Delete removes the current step. Each is saved at once and announced.
    function test_insert_data() {
        return [["left click mid-list", 1, 3, "", "+A -A M+MS-L M-MS-L +B -B"],
                ["right click on an empty spot", -1, 5, "", "+A -A +B -B M+MS-R M-MS-R"],
                ["delay before the current", 2, 1, "", "+A -A 50 +B -B"],
                ["key before the current", 2, 2, "C", "+A -A +C -C +B -B"],
                ["key dialog without a key", 2, 2, "", "+A -A +B -B"], ["delete", 0, 0, "", "-A +B -B"]]
            .map(([tag, step, entry, key, after]) => ({ tag, step, entry, key, after }))
    }
    function test_insert(row) {
        var editor = make({ "Macro_0": steps("+A -A +B -B").concat(["2"]) })
        var saved = createTemporaryObject(spyComponent, testCase, { target: editor, signalName: "modifyMacroData" })
        select(editor, 0)
        stepMenu(editor, row.step, row.entry)
        if (row.entry === 2) {
            verify(editor.isInsertting && find(editor, "insertDialog").visible)
            if (row.key) {
                editor.detectInput(true, 0xF0) // no button
                editor.detectInput(true, 6)
                editor.detectInput(false, 6)
            }
            compare(find(editor, "insertKeyBox").text, row.key)
            mouseClick(find(editor, "insertOk"))
            verify(!editor.isInsertting)
        }
        compare(shown(editor), row.after)
        compare(stored("Macro_0"), steps(row.after).concat(["2"]).join(" "))
        compare(saved.count, row.after === "+A -A +B -B" ? 0 : 1)
    }

    // A macro as long as it may get takes no insert but can lose steps.
    function test_full() {
        var full = Array.from({ length: 61 }, (_, i) => i % 2 ? "-A" : "+A").join(" ")
        var editor = make({ "Macro_0": steps(full).concat(["1"]) })
        select(editor, 0)
        compare(editor.recordCount(), 126)
        for (const choice of [1, 2, 3]) {
            stepMenu(editor, 0, choice)
            compare([editor.macroActionModel.count, editor.isInsertting], [61, false])
            verify(note(editor).startsWith("The macro is full"))
        }
        stepMenu(editor, 0, 0)
        compare(editor.macroActionModel.count, 60)
    }

    // Double-click a Delay to edit it: a whole number 0..65535 is taken, anything else keeps the old value; a
    // press elsewhere commits like Enter, Escape cancels. Other steps are not edited. Times is saved when its
    // input ends: empty becomes 0, at most four digits. Rows: the text, how it ends, the file after.
    function test_edit_data() {
        return [["delay not a number", "delay", "x", "Return", "1,A 0,120 2,A 1"],
                ["delay, press elsewhere", "delay", "33", "press", "1,A 0,33 2,A 1"],
                ["delay, Escape", "delay", "33", "Escape", "1,A 0,120 2,A 1"],
                ["times empty", "times", "", "Return", "1,A 0,120 2,A 0"],
                ["times of five digits", "times", "99999", "Return", "1,A 0,120 2,A 9999"]]
            .map(([tag, field, text, end, file]) => ({ tag, field, text, end, file }))
    }
    function test_edit(row) {
        var editor = make({ "Macro_0": ["1,A", "0,120", "2,A", "1"] })
        select(editor, 0)
        var times = find(editor, "timesField")
        if (row.field === "times") {
            mouseClick(times)
            keyClick(Qt.Key_A, Qt.ControlModifier)
        } else {
            mouseDoubleClickSequence(entry(editor, "step", 0), 100, 13)
            compare(find(editor, "delayEditor"), null)
            mouseDoubleClickSequence(entry(editor, "step", 1), 100, 13)
            verify(find(editor, "delayEditor") !== null)
        }
        keyClick(Qt.Key_Delete)
        type(row.text)
        if (row.end === "press")
            mouseClick(find(editor, "dragArea"), 320, 60)
        else
            keyClick(row.end === "Escape" ? Qt.Key_Escape : Qt.Key_Return)
        var file = row.file.split(" ")
        compare([editor.editingStep, shown(editor), times.textValue, stored("Macro_0")],
                [-1, "+A " + file[1].slice(2) + " -A", file[3], row.file])
    }

    // New appends "Macro_n" (the first free n), selects it and stores the list; Delete, once confirmed, removes
    // the selected one and its file and selects the next.
    function test_newAndDelete() {
        var editor = make({ "Macro_1": ["1,A", "2,A", "1"], "Two": ["1"] })
        var deleted = createTemporaryObject(spyComponent, testCase, { target: editor, signalName: "deleteMacro" })
        mouseClick(find(editor, "newButton"))
        mouseClick(find(editor, "newButton"))
        compare([names(editor), editor.currentMacro, shown(editor)], ["Macro_1 Two Macro_0 Macro_2", 3, ""])
        compare(ui_View.getNameList(0).join(" "), "Macro_1 Two Macro_0 Macro_2")
        compare(stored("Macro_2"), "1")
        compare(editor.macroNames, ["Macro_1", "Two", "Macro_0", "Macro_2"])
        select(editor, 0)
        mouseClick(find(editor, "deleteButton"))
        compare(deleted.count, 0)
        mouseClick(find(editor, "confirmOk"))
        compare([deleted.count, deleted.signalArguments[0][0]], [1, "Macro_1"])
        compare([names(editor), editor.currentMacro, stored("Macro_1")], ["Two Macro_0 Macro_2", 0, ""])
        mouseClick(entry(editor, "name", 2), 40, 13, Qt.RightButton)
        mouseClick(menuEntry(editor, "nameMenu", 0))
        mouseClick(find(editor, "confirmOk"))
        compare([names(editor), editor.currentMacro], ["Two Macro_0", 1])
        compare(ui_View.getNameList(0).join(" "), "Two Macro_0")
    }

    // Delete asks first, in the page's language, naming the macro and how many buttons of the open profile it is
    // on (a button with another macro does not count); Cancel, Escape or a press beside the question change
    // nothing - no file, no frame to the mouse -, OK or Enter delete it and reset those buttons. The focus goes
    // into the question and back to the list.
    function test_deleteAsks_data() {
        var en = 'Delete the macro "M1"?', fr = "Supprimer la macro\u00a0«\u00a0M1\u00a0»\u00a0?", zh = "删除宏“M1”？"
        return [["none, Escape", "English", [], "Escape", en],
                ["one, Cancel", "English", [5], "Cancel", en + " It is assigned to 1 button."],
                ["two, OK", "English", [3, 5], "OK", en + " It is assigned to 2 buttons."],
                ["French none, beside", "French", [], "beside", fr],
                ["French one, Enter", "French", [5], "Return", fr + " Elle est attribuée à 1\u00a0bouton."],
                ["French two, Cancel", "French", [3, 5], "Cancel", fr + " Elle est attribuée à 2\u00a0boutons."],
                ["Chinese one, OK", "ChineseSimplified", [5], "OK", zh + "它已分配给 1 个按键。"],
                ["Chinese three, Escape", "ChineseSimplified", [2, 3, 5], "Escape", zh + "它已分配给 3 个按键。"]]
            .map(([tag, language, buttons, answer, text]) => ({ tag, language, buttons, answer, text }))
    }
    function test_deleteAsks(row) {
        ui_View.createMacroIni("M1", 0)
        ui_View.saveMacroIni("M1", ["1,A", "2,A"], 1)
        ui_View.createMacroIni("Two", 0)
        ui_View.updataNameList(0, ["M1", "Two"])
        var root = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), testCase)
        root.initUI()
        root.setProtectUI(0)
        tryVerify(() => !findChild(root, "busyShield").visible) // the lock ends
        root.language = row.language
        root.loadLanguage()
        var keys = findChild(root, "keyMatrixMain"), editor = findChild(root, "macroEditorMain")
        for (const slot of row.buttons.concat([6])) {
            keys.modKeys.set(slot, { keyCode0: 4, keyCode1: 0, keyCode2: slot, keyCode3: 0, keyText: "M1" })
            ui_View.setData("mouseMacroKey/" + slot, slot === 6 ? "Two" : "M1")
        }
        var profile = testFiles.read(testFiles.scratchPath("modules/setting/p1.bin"))
        root.openDialog(editor)
        select(editor, 0)
        testRig.clearFrames()
        keyClick(Qt.Key_Delete)
        var question = find(editor, "deleteQuestion")
        verify(question.visible && findChild(question, "confirmOk").activeFocus)
        compare([findChild(question, "confirmText").text, question.contentItem.Accessible.name],
                [row.text, editor.macroEditorLang[30]])
        if (row.answer === "OK" || row.answer === "Cancel")
            mouseClick(findChild(question, row.answer === "OK" ? "confirmOk" : "confirmCancel"))
        else if (row.answer === "beside")
            mouseClick(editor.contentItem, 10, 10)
        else
            keyClick(row.answer === "Escape" ? Qt.Key_Escape : Qt.Key_Return)
        verify(!question.visible && find(editor, "nameList").activeFocus)
        var deleted = row.answer === "OK" || row.answer === "Return"
        compare([names(editor), stored("M1") === "", keys.modKeys.get(5).keyCode0 === 4, testRig.frames().length > 0],
                [deleted ? "Two" : "M1 Two", deleted, !deleted && row.buttons.length > 0, deleted])
        if (!deleted)
            compare(testFiles.read(testFiles.scratchPath("modules/setting/p1.bin")), profile)
        ui_View.resetProfile(0)
    }

    // With 100 macros New and Import add nothing and make no file.
    function test_hundred() {
        ui_View.updataNameList(0, Array.from({ length: 100 }, (_, n) => (n === 42 ? "Two" : "Macro_" + n)))
        var editor = createTemporaryObject(editorComponent, testCase, { visible: true })
        editor.init()
        testFiles.openPath = Qt.resolvedUrl("../data/macroeditor-bad.mc").toString().replace("file://", "")
        mouseClick(find(editor, "newButton"))
        editor.nameCommand(1)
        compare(editor.macroNameModel.count, 100)
        verify(note(editor).indexOf("100") >= 0, note(editor))
        compare(testFiles.exists(testFiles.scratchPath("modules/macro/Macro_42.bin")), false)
        compare(ui_View.getNameList(0).length, 100)
    }

    // Import puts the chosen file before the selected entry under the next free name; a cancelled or failed
    // import leaves the list as it was and says so. (Export: test_keyboard.)
    function test_import() {
        var editor = make({ "Macro_0": ["1,A", "0,80", "2,A", "4"], "Two": ["1"] })
        select(editor, 1)
        editor.nameCommand(1) // cancelled
        compare([names(editor), editor.currentMacro, note(editor)], ["Macro_0 Two", 1, "Nothing imported"])
        compare(testFiles.exists(testFiles.scratchPath("modules/macro/Macro_1.bin")), false)
        testFiles.openPath = testFiles.scratchPath("modules/macro/Macro_0.bin")
        mouseClick(entry(editor, "name", 1), 40, 13, Qt.RightButton)
        mouseClick(menuEntry(editor, "nameMenu", 1))
        compare([names(editor), editor.currentMacro, shown(editor), note(editor)],
                ["Macro_0 Macro_1 Two", 1, "+A 80 -A", ""])
        compare(ui_View.getNameList(0).join(" "), "Macro_0 Macro_1 Two")

        testFiles.openPath = testFiles.scratchPath("no such file.mc")
        editor.importMacro()
        compare([names(editor), note(editor)], ["Macro_0 Macro_1 Two", "Nothing imported"])
    }

    // Rename by double-click: taken when the library renames the file; the same name is no change; a name
    // another entry or another file bears, or one the library refuses changes nothing and says so.
    function test_rename_data() {
        return [["new name", "Renamed", "Renamed Two", "", true], ["same name", "Macro_0", "Macro_0 Two", "", false],
                ["another entry's", "Two", "Macro_0 Two", "Not renamed: Two is taken", false],
                ["a file's not listed", "Other", "Macro_0 Two", "Not renamed: Other is taken", false],
                ["refused by the library", "a/b", "Macro_0 Two", "Not renamed: a/b cannot name a macro file", false]]
            .map(([tag, text, after, line, renamed]) => ({ tag, text, after, line, renamed }))
    }
    function test_rename(row) {
        ui_View.createMacroIni("Other", 0)
        var editor = make({ "Macro_0": ["1,A", "2,A", "1"], "Two": ["1"] })
        var signals = createTemporaryObject(spyComponent, testCase, { target: editor, signalName: "modifyMacroName" })
        editor.modifyMacroName.connect((oldName, newName) => ui_View.modifyMacroNameUpdateProfile(oldName, newName))
        mouseDoubleClickSequence(entry(editor, "name", 0), 40, 13)
        verify(find(editor, "nameEditor") !== null)
        keyClick(Qt.Key_Delete)
        type(row.text)
        keyClick(Qt.Key_Return)
        compare([names(editor), note(editor)], [row.after, row.line])
        compare(ui_View.getNameList(0).join(" "), row.after)
        compare(stored(row.renamed ? row.text : "Macro_0"), "1,A 2,A 1")
        compare(signals.count, row.renamed ? 1 : row.text === "a/b" ? 2 : 0)
    }

    // Through the shell: a recorded macro assigned to button 5 goes to the mouse when the editor closes; the click
    // that stops the recording is not recorded.
    function test_shell() {
        var root = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), testCase)
        root.initUI()
        root.setProtectUI(0)
        tryCompare(findChild(root, "busyShield"), "visible", false)
        ui_View.updataNameList(0, [])
        var editor = findChild(root, "macroEditorMain")
        editor.init()
        var keys = findChild(root, "keyMatrixMain")
        keys.modKeys.set(5, { keyCode0: 4, keyCode1: 0, keyCode2: 5, keyCode3: 0, keyText: "Macro_0" })
        ui_View.setData("mouseMacroKey/5", "Macro_0")
        root.openDialog(editor)
        mouseClick(find(editor, "newButton"))
        mouseClick(find(editor, "delayBox"))
        var button = find(editor, "recordButton")
        mouseClick(button)
        root.detectKeyboard(true, 4)
        editor.recordTick(5)
        root.detectKeyboard(true, 4)
        root.detectMouse(true, 0xF0, 300, 400)
        root.detectKeyboard(false, 4)
        editor.recordTick(30)
        root.detectMouse(true, 0xF0, 300, 400)
        testRig.clearFrames()
        mouseClick(button)
        root.detectMouse(false, 0xF0, 300, 400)
        compare(stored("Macro_0"), "1,A 0,50 2,A 1")
        // Sent when the editor closes (or the edits settle).
        mouseClick(find(editor, "closeButton"))
        verify(!editor.visible && !findChild(root, "mainMask").visible)
        verify(testRig.frames().length > 0, "the macro went to the mouse")
        ui_View.resetProfile(0)
    }

    // Open, the editor holds the keyboard: the focus goes into it, Tab and Shift+Tab stay inside, Escape closes it
    // (or cancels the insert-key dialog over it, adding nothing) and the focus goes back to where it was.
    function test_keyboardHeld_data() {
        return [["focus in on open", "", [], true], ["Tab", "", Array(12).fill(Qt.Key_Tab), true],
                ["Shift+Tab", "", Array(12).fill(Qt.Key_Backtab), true], ["Escape closes", "", [Qt.Key_Escape], false],
                ["Escape cancels the insert", "insert", [Qt.Key_Tab, Qt.Key_Escape], false]]
            .map(([tag, open, keys, stays]) => ({ tag, open, keys, stays }))
    }
    function test_keyboardHeld(row) {
        var opener = createTemporaryObject(openerComponent, testCase)
        opener.forceActiveFocus()
        var editor = make({ "Macro_0": ["1,A", "2,A", "1"] })
        editor.visible = false
        editor.visible = true
        var closed = createTemporaryObject(spyComponent, testCase, { target: editor, signalName: "closed" })
        var held = editor
        if (row.open === "insert") {
            select(editor, 0)
            stepMenu(editor, 0, 2)
            editor.detectInput(true, 6)
            held = find(editor, "insertDialog")
        }
        const inside = item => item === held.contentItem.parent || (!!item && inside(item.parent))
        verify(inside(testCase.Window.activeFocusItem), "focus in")
        for (const key of row.keys) {
            keyClick(key)
            verify(!held.visible || inside(testCase.Window.activeFocusItem), "focus kept inside")
        }
        var closes = held === editor && !row.stays
        compare([held.visible, editor.visible, closed.count, opener.activeFocus], [row.stays, !closes, +closes, closes])
        compare([editor.isInsertting, stored("Macro_0")], [false, "1,A 2,A 1"])
    }
    Component { id: openerComponent; Rectangle { width: 10; height: 10; activeFocusOnTab: true } }

    // Keyboard: the name list moves with the arrows, Menu opens the context menu, whose entries the arrows and
    // Enter choose (Export copies the selected macro's file).
    function test_keyboard() {
        var editor = make({ "Macro_0": ["1,A", "2,A", "1"], "Two": ["1,B", "2,B", "1"] })
        select(editor, 0)
        keyClick(Qt.Key_Down)
        compare([editor.currentMacro, shown(editor)], [1, "+B -B"])
        keyClick(Qt.Key_Menu)
        verify(find(editor, "nameMenu").visible)
        keyClick(Qt.Key_Down)
        keyClick(Qt.Key_Down)
        testFiles.savePath = testFiles.scratchPath("key.mc")
        keyClick(Qt.Key_Return)
        compare(testFiles.read(testFiles.savePath), testFiles.read(testFiles.scratchPath("modules/macro/Two.bin")))
    }
}
