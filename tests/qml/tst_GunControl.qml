import QtQuick
import QtTest
import modules.qml

// The gun editor against the real view: what the gun file and the global
// file hold after each edit, the slot periods the key matrix reads, and the
// commands the virtual mouse (command set 553) receives when the dialog
// closes: per slot a read of the keyboard options (8300) and the gun data
// (0400); the shell is then told to send the key matrix.
TestCase {
    id: testCase
    name: "GunControl"
    width: 1024; height: 640
    when: windowShown
    visible: true

    property SignalSpy spy: null
    readonly property var names: ["M416", "AKM", "M16A4", "SCAR-L", "UNP9", "Thomson"]

    function init() {
        failOnWarning(/./)
        ui_View.setGlobalData("mouse/selectGun", ["0", "1", "2"])
        for (var i = 0; i < 6; ++i)
            ui_View.mouseSaveGundata(i, [testCase.names[i], "L-Click", "10", "0", "10", "0"])
    }

    Component { id: pageComponent; GunControl {} }
    Component { id: spyComponent; SignalSpy { signalName: "gunSlotsChanged" } }
    Rectangle { id: opener; objectName: "opener"; width: 10; height: 10; activeFocusOnTab: true }

    // The dialog as the shell has it: initialised, opened from a control of the window.
    function open() {
        var page = createTemporaryObject(pageComponent, testCase)
        testCase.spy = createTemporaryObject(spyComponent, testCase, { target: page })
        page.init()
        opener.forceActiveFocus()
        page.visible = true
        tryVerify(() => page.opened)
        testRig.clearFrames()
        return page
    }
    function child(page, name) {
        var item = findChild(page.contentItem?.parent ?? page, name) // a dialog's item holds its frame and controls
        verify(item !== null, "no item " + name)
        return item
    }
    function stored(index) { return ui_View.getGunData(index).map(String) }
    // Command byte and first argument of each frame.
    function sent() { return testRig.frames().map(f => f.slice(0, 4)) }
    readonly property var allSlots: ["8300", "0400", "8300", "0400", "8300", "0400"]
    function type(text) {
        for (const c of text)
            keyClick(c)
    }
    function edit(page, field, text) {
        var input = child(page, field).txtInput
        input.forceActiveFocus()
        input.selectAll()
        keyClick(Qt.Key_Delete)
        type(text)
    }
    function close(page) { mouseClick(child(page, "closeButton")) }
    function shown(page) {
        return [child(page, "yInput").textValue, child(page, "dot").y, child(page, "rateSlider").textValue,
                child(page, "timesInput").textValue, child(page, "endness").isSelect]
    }
    function chooseSlot(page, slot) {
        var selector = child(page, "slotSelector")
        mouseClick(selector)
        tryCompare(findChild(selector, "dropArea"), "height", 72)
        mouseClick(findChild(selector, "row" + slot))
        tryVerify(() => !findChild(selector, "dropArea").visible)
    }
    function dotAt(y) { return 89 + 94 * y / 64 }

    // What closing sends: nothing without a change; after one (the slot choice alone is one), all three slots, then
    // the word for the key matrix, once (a command set 560 mouse gets each slot in its profile image 2..4).
    function test_close_data() {
        var path = testFiles.scratchPath("modules/gun/gunData.bin")
        return [
            { tag: "nothing changed", act: page => {}, frames: [] },
            { tag: "while typing: the value first", act: page => edit(page, "yInput", "25"), frames: allSlots,
              after: () => compare(stored(0)[4], "25") },
            { tag: "no gun file: built-in values, stored nowhere",
              before: () => verify(testFiles.remove(path)),
              act: page => {
                  compare(shown(page), ["10", dotAt(10), "10MS", "0", true])
                  child(page, "dot").forceActiveFocus()
                  keyClick(Qt.Key_Down)
                  verify(!testFiles.exists(path))
              },
              frames: allSlots, restart: true },
            { tag: "stored values no number are 0, out of range clamped",
              before: () => {
                  ui_View.mouseSaveGundata(0, ["M416", "L-Click", "x", "99", "-4", "many"])
                  ui_View.mouseSaveGundata(1, ["AKM", "L-Click", "10", "3", "70", "999"])
              },
              act: page => {
                  compare(shown(page), ["0", 89, "10MS", "0", true])
                  page.isSave = true
              },
              frames: allSlots },
            { tag: "command set 560: each slot in its profile image, then the key matrix",
              before: () => testRig.restart({ icType: "560" }), act: page => chooseSlot(page, 1),
              frames: ["0c02", "0c03", "0c04"], restart: true },
        ]
    }
    function test_close(row) {
        if (row.before)
            row.before()
        var page = open()
        row.act(page)
        close(page)
        compare([page.visible, page.isSave, sent(), spy.count], [false, false, row.frames, row.frames.length ? 1 : 0])
        if (row.after)
            row.after()
        page.close()
        compare([sent().length, spy.count], [row.frames.length, row.frames.length ? 1 : 0], "a second close sends nothing")
        if (row.restart)
            testRig.restart({})
    }

    // One preset in two slots: both send its values, and both periods are its period.
    function test_samePresetTwice() {
        ui_View.mouseSaveGundata(3, ["SCAR-L", "L-Click", "12", "0", "20", "7"])
        var page = open()
        mouseClick(child(page, "preset3"))
        chooseSlot(page, 1)
        child(page, "preset3").forceActiveFocus()
        keyClick(Qt.Key_Space)
        compare([page.selectGun1, page.selectGun2, page.selectGun3], [3, 3, 2])
        compare(ui_View.getGlobalData("mouse/selectGun").map(Number), [3, 3, 2])
        compare(page.slotPeriods, [12, 12, 10])
        close(page)
        var frames = testRig.frames()
        compare(frames[1].slice(0, 10), frames[3].slice(0, 10)) // all but the slot byte
    }

    // The red dot: dragged to the top is Y 0, to the bottom 64, between them the integer part; as a slider, arrows
    // move one step, Page keys eight, Home and End to the ends. The preset is stored on release or key.
    function test_dot_data() {
        return [["dragged to the top", undefined, -300, 0, 0], ["dragged 47 px down from 0", 0, 47, 0, 32],
                ["dragged 16 px down from 0 (10.9)", 0, 16, 0, 10],
                ["Page Down", undefined, 0, Qt.Key_PageDown, 18], ["Page Up past the top", 3, 0, Qt.Key_PageUp, 0],
                ["End", undefined, 0, Qt.Key_End, 64]].map(([tag, from, dy, key, y]) => ({ tag, from, dy, key, y }))
    }
    function test_dot(row) {
        var page = open()
        if (row.from !== undefined)
            page.setY(row.from)
        var dot = child(page, "dot")
        if (row.key) {
            dot.forceActiveFocus()
            keyClick(row.key)
        } else {
            var x = dot.x + 6, y = dot.y + 6
            var area = page.contentItem
            mousePress(area, x, y)
            for (var step = 1; step <= 4; ++step)
                mouseMove(area, x, y + row.dy * step / 4)
            compare(child(page, "yInput").textValue, String(row.y), "the field follows the drag")
            mouseRelease(area, x, y + row.dy)
        }
        compare([child(page, "yInput").textValue, dot.y, dot.value, stored(0)[4]],
                [String(row.y), dotAt(row.y), row.y, String(row.y)])
        verify(page.isSave)
    }

    // A typed value is stored when the field loses the focus, clamped to its range, for the preset shown while it
    // was typed (also when another preset or slot is chosen first).
    function test_typed_data() {
        return [["Y above 64", "yInput", "70", "64"], ["Y emptied", "yInput", "", "0"],
                ["Y, then another preset", "yInput", "30", "30", "preset"],
                ["Y, then another slot", "yInput", "30", "30", "slot"],
                ["times above 255", "timesInput", "300", "255"], ["times emptied", "timesInput", "", "0"]]
            .map(([tag, field, text, shown, then]) => ({ tag, field, text, shown, then }))
    }
    function test_typed(row) {
        var page = open()
        var index = row.field === "yInput" ? 4 : 5
        var before = stored(0)[index]
        edit(page, row.field, row.text)
        compare(stored(0)[index], before, "nothing stored while typing")
        if (row.then === "preset")
            mouseClick(child(page, "preset2"))
        else if (row.then === "slot")
            chooseSlot(page, 2)
        else
            keyClick(Qt.Key_Tab)
        compare(stored(0)[index], row.shown)
        if (row.then)
            return compare([stored(2)[4], child(page, "yInput").textValue], ["10", "10"])
        compare(child(page, row.field).textValue, row.shown)
        if (row.field === "timesInput")
            compare(child(page, "endness").isSelect, row.shown === "0")
        else
            compare(child(page, "dot").y, dotAt(Number(row.shown)))
    }

    // The rate slider: a stored period shows as itself (28 too, which a plain ratio placement lands a pixel short);
    // the text is the knob position + 1 "MS"; the period is stored when a key or drag ends.
    function test_rate() {
        ui_View.mouseSaveGundata(0, ["M416", "L-Click", "28", "0", "10", "0"])
        var page = open()
        var rate = child(page, "rateSlider"), slider = rate.sliderControl
        compare([rate.textValue, slider.knobPosition], ["28MS", 27])
        mouseClick(rate)
        tryCompare(findChild(rate, "strip"), "height", 24)
        slider.forceActiveFocus()
        keyClick(Qt.Key_End)
        compare([rate.textValue, stored(0)[2]], ["90MS", "90"])
        mouseDrag(slider, slider.knobPosition + 6, 3, -200, 0)
        compare([rate.textValue, stored(0)[2]], ["4MS", "4"])
        compare(page.slotPeriods, [4, 10, 10])
    }

    // Endness mirrors Times: ticking it stores 0; unticking an endless preset leaves it ticked and asks for a count.
    function test_endness() {
        ui_View.mouseSaveGundata(0, ["M416", "L-Click", "10", "0", "10", "5"])
        var page = open()
        var box = child(page, "endness"), times = child(page, "timesInput")
        compare([times.textValue, box.isSelect], ["5", false])
        mouseClick(box)
        compare([times.textValue, box.isSelect, stored(0)[5]], ["0", true, "0"])
        mouseClick(box)
        compare([times.textValue, box.isSelect, times.txtInput.activeFocus], ["0", true, true])
        type("3")
        keyClick(Qt.Key_Return)
        compare([times.textValue, box.isSelect, stored(0)[5]], ["3", false, "3"])
        box.forceActiveFocus()
        keyClick(Qt.Key_Space)
        compare([times.textValue, stored(0)[5]], ["0", "0"])
    }

    // Choosing a slot shows its preset.
    function test_slotsShowTheirPresets() {
        ui_View.setGlobalData("mouse/selectGun", ["4", "1", "5"])
        ui_View.mouseSaveGundata(5, ["Thomson", "L-Click", "33", "0", "40", "9"])
        var page = open()
        compare(page.currentGun, 4)
        chooseSlot(page, 2)
        compare(page.currentGun, 5)
        compare(shown(page), ["40", dotAt(40), "33MS", "9", false])
        verify(child(page, "preset5").Accessible.selected)
    }

    // Through the shell: the gun entry opens the dialog over the mask; closing after a change sends the slots
    // and the shell's key matrix.
    function test_fromShell() {
        var root = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), testCase)
        root.initUI()
        root.setProtectUI(0)
        tryCompare(findChild(root, "envItem"), "visible", true)
        var page = child(root, "gunControlMain")
        mouseClick(child(root, "gunEditorEntry"))
        verify(page.visible && child(root, "mainMask").visible)
        testRig.clearFrames()
        mouseClick(child(page, "preset4"))
        close(page)
        verify(!page.visible && !child(root, "mainMask").visible)
        compare(sent(), allSlots.concat(["1201"])) // then the shell's key matrix
        compare(ui_View.getGlobalData("mouse/selectGun").map(Number), [4, 1, 2])
    }

    // Opened, the dialog's first control has the focus; Tab and Shift+Tab go round its controls, each named, and
    // never leave it. Escape closes it as the close image does and gives the focus back. X takes no input.
    function test_keyboardAndNames() {
        var page = open()
        var names = []
        for (var n = 0; n < 15; ++n) {
            names.push(testCase.Window.activeFocusItem.Accessible.name)
            keyClick(Qt.Key_Tab, n < 13 ? Qt.NoModifier : Qt.ShiftModifier)
        }
        compare(names, ["Gun 1", "M416", "AKM", "M16A4", "SCAR-L", "UNP9", "Thomson", "Y axis", "Y axis", "10MS", "Times",
                        "Endness", "Close", "Gun 1", "Close"])
        compare([child(page, "xInput").enabled, child(page, "xInput").textValue], [false, "0"])
        keyClick(Qt.Key_Escape)
        compare([page.visible, opener.activeFocus, sent()], [false, true, []])
    }

    // The dialog moves with its background and stays inside the window.
    function test_drag() {
        var page = open()
        mouseDrag(page.contentItem, 300, 20, -900, 900)
        compare([page.x, page.y], [0, 640 - 448])
    }
}
