import QtQuick
import QtTest
import "../../modules/qml/Q7"

// The gun editor against the real view: what the gun file and the global
// file hold after each edit, and the frames the virtual mouse (command set
// 553) receives when the dialog closes: per slot a read of the keyboard
// options (8300) and the gun data "0400 times X Y slot", then the key matrix
// (1201) that carries the periods.
TestCase {
    id: testCase
    name: "GunControl"
    width: 1024; height: 640
    when: windowShown
    visible: true

    function init() {
        failOnWarning(/./)
        ui_View.setCurrentProfile(0)
        ui_View.setGlobalData("mouse/selectGun", ["0", "1", "2"])
        for (var i = 0; i < 6; ++i)
            ui_View.mouseSaveGundata(i, [["M416", "AKM", "M16A4", "SCAR-L", "UNP9", "Thomson"][i], "L-Click", "10", "0",
                                         "10", "0"])
        testRig.clearFrames()
    }

    Component { id: pageComponent; GunControl {} }
    Component { id: keysComponent; KeyMatrix {} }

    // The dialog as the shell has it: initialised, with the key matrix page, shown.
    function open() {
        var keys = createTemporaryObject(keysComponent, testCase)
        keys.init(false, false)
        var page = createTemporaryObject(pageComponent, testCase, { keyMatrix: keys })
        keys.gunPage = page
        page.init()
        page.visible = true
        page.forceActiveFocus()
        testRig.clearFrames()
        return page
    }
    function child(page, name) {
        var item = findChild(page, name)
        verify(item !== null, "no item " + name)
        return item
    }
    function stored(index) { return ui_View.getGunData(index).map(String) }
    function selected() { return ui_View.getGlobalData("mouse/selectGun").map(Number) }
    // Command byte and first argument of each frame; the gun data frames whole, up to the slot byte.
    function sent() {
        return testRig.frames().map(f => f.startsWith("04") ? f.slice(0, 12) : f.slice(0, 4))
    }
    // The shipped mouse's third keyboard-option byte is set: Y goes out negated.
    function gunFrame(times, x, y, slot) {
        return "0400" + [times, x, -y & 0xFF, slot].map(v => (v < 16 ? "0" : "") + v.toString(16)).join("")
    }
    function type(text) {
        for (const c of text)
            keyClick(c)
    }
    function close(page) { mouseClick(child(page, "closeButton")) }
    function shown(page) {
        return { y: child(page, "yInput").textValue, dot: child(page, "dot").y, rate: child(page, "rateSlider").textValue,
                 times: child(page, "timesInput").textValue, endless: child(page, "endness").isSelect }
    }
    function chooseSlot(page, slot) {
        var selector = child(page, "slotSelector")
        mouseClick(selector)
        tryCompare(findChild(selector, "dropArea"), "height", 72)
        mouseClick(findChild(selector, "row" + slot))
        tryCompare(selector, "currentSelect", slot)
        tryVerify(() => !findChild(selector, "dropArea").visible)
    }

    // Nothing changed: closing sends nothing.
    function test_closeUnchanged() {
        var page = open()
        close(page)
        compare([page.visible, sent()], [false, []])
    }

    // The slot selector alone is a change: closing sends all three slots, then the key matrix.
    function test_slotChangeAlone() {
        var page = open()
        chooseSlot(page, 1)
        verify(page.isSave)
        compare(page.currentGun, 1)
        close(page)
        compare(sent(), ["8300", gunFrame(0, 0, 10, 0), "8300", gunFrame(0, 0, 10, 1), "8300", gunFrame(0, 0, 10, 2),
                         "1201"])
        verify(!page.isSave)
        close(page)
        compare(sent().length, 7, "a second close sends nothing more")
    }

    // One preset in two slots: both slots send its values; the choice is stored.
    function test_samePresetTwice() {
        var page = open()
        ui_View.mouseSaveGundata(3, ["SCAR-L", "L-Click", "12", "0", "20", "7"])
        page.init()
        mouseClick(child(page, "preset3"))
        compare([page.selectGun1, page.selectGun2, page.selectGun3], [3, 1, 2])
        chooseSlot(page, 1)
        compare([page.selectGun1, page.selectGun2, page.selectGun3, page.currentSlot], [3, 1, 2, 1])
        var row = child(page, "preset3")
        row.forceActiveFocus()
        keyClick(Qt.Key_Space)
        compare([page.selectGun1, page.selectGun2, page.selectGun3], [3, 3, 2])
        compare(selected(), [3, 3, 2])
        compare(shown(page).y, "20")
        close(page)
        var frames = sent()
        compare(frames.slice(0, 4), ["8300", gunFrame(7, 0, 20, 0), "8300", gunFrame(7, 0, 20, 1)])
        // The key matrix carries the slots' periods: 12, 12 and the third preset's 10.
        compare(page.keyMatrix.gunPeriods(), [12, 12, 10])
    }

    // The red dot dragged to the top is Y 0, to the bottom 64; the preset is stored on release.
    function test_dotDrag_data() {
        return [{ tag: "to the top", dy: -300, y: 0, dot: 89 },
                { tag: "to the bottom", dy: 300, y: 64, dot: 183 },
                { tag: "47 pixels down from 0: 32", dy: 47, y: 32, dot: 136, from: 0 },
                { tag: "16 pixels down from 0: 10.9, its integer part", dy: 16, y: 10, dot: 89 + 94 * 10 / 64, from: 0 }]
    }
    function test_dotDrag(row) {
        var page = open()
        if (row.from !== undefined)
            page.setY(row.from)
        var dot = child(page, "dot")
        var x = dot.x + 6, y = dot.y + 6
        mousePress(page, x, y)
        for (var step = 1; step <= 4; ++step)
            mouseMove(page, x, y + row.dy * step / 4)
        compare(child(page, "yInput").textValue, String(row.y), "the field follows the drag")
        mouseRelease(page, x, y + row.dy)
        compare([shown(page).y, dot.y], [String(row.y), row.dot])
        compare(stored(0)[4], String(row.y))
        verify(page.isSave)
    }

    // The dot as a slider: arrows move one step, Page keys eight, Home and End to the ends.
    function test_dotKeys_data() {
        return [[Qt.Key_Down, "11"], [Qt.Key_Up, "9"], [Qt.Key_Right, "11"], [Qt.Key_PageDown, "18"],
                [Qt.Key_PageUp, "2"], [Qt.Key_Home, "0"], [Qt.Key_End, "64"]]
            .map(([key, y]) => ({ tag: "key " + key.toString(16), key, y }))
    }
    function test_dotKeys(row) {
        var page = open()
        var dot = child(page, "dot")
        dot.forceActiveFocus()
        keyClick(row.key)
        compare([shown(page).y, dot.value, stored(0)[4]], [row.y, Number(row.y), row.y])
        compare(dot.y, 89 + 94 * Number(row.y) / 64)
    }

    // Typed values are committed when the field loses the focus, clamped to the field's range.
    function test_typed_data() {
        return [
            { tag: "Y", field: "yInput", text: "33", shown: "33", index: 4 },
            { tag: "Y above 64", field: "yInput", text: "70", shown: "64", index: 4 },
            { tag: "Y emptied", field: "yInput", text: "", shown: "0", index: 4 },
            { tag: "times", field: "timesInput", text: "12", shown: "12", index: 5, endless: false },
            { tag: "times above 255", field: "timesInput", text: "300", shown: "255", index: 5, endless: false },
            { tag: "times emptied", field: "timesInput", text: "", shown: "0", index: 5, endless: true },
        ]
    }
    function test_typed(row) {
        var page = open()
        var input = child(page, row.field).txtInput
        var before = stored(0)[row.index]
        input.forceActiveFocus()
        input.selectAll()
        keyClick(Qt.Key_Delete)
        if (row.text !== "")
            type(row.text)
        compare(stored(0)[row.index], before, "nothing stored while typing")
        keyClick(Qt.Key_Tab)
        compare(child(page, row.field).textValue, row.shown)
        compare(stored(0)[row.index], row.shown)
        if (row.endless !== undefined)
            compare(shown(page).endless, row.endless)
        if (row.field === "yInput")
            compare(child(page, "dot").y, 89 + 94 * Number(row.shown) / 64)
    }

    // Closing while typing commits the value before the slots go out.
    function test_closeWhileTyping() {
        var page = open()
        var input = child(page, "yInput").txtInput
        input.forceActiveFocus()
        input.selectAll()
        type("25")
        close(page)
        compare(stored(0)[4], "25")
        compare(sent().slice(0, 2), ["8300", gunFrame(0, 0, 25, 0)])
    }

    // A value being typed belongs to the preset shown while it was typed, also when another preset or slot is
    // chosen before the field loses the focus.
    function test_typedThenChosen_data() {
        return [{ tag: "preset clicked", slot: false }, { tag: "slot chosen", slot: true }]
    }
    function test_typedThenChosen(row) {
        var page = open()
        var input = child(page, "yInput").txtInput
        input.forceActiveFocus()
        input.selectAll()
        type("30")
        if (row.slot)
            chooseSlot(page, 2)
        else
            mouseClick(child(page, "preset2"))
        compare([stored(0)[4], stored(2)[4], shown(page).y], ["30", "10", "10"])
    }

    // A command set 560 mouse gets each slot in its profile image (2..4), then the key matrix.
    function test_closeOn560() {
        testRig.restart({ icType: "560" })
        var page = open()
        chooseSlot(page, 1)
        close(page)
        compare(testRig.frames().map(f => f.slice(0, 4)), ["0c02", "0c03", "0c04", "0d01"])
        testRig.restart({})
    }

    // The rate slider: its text is the knob position + 1 "MS"; the period is stored when the move ends.
    function test_rate() {
        var page = open()
        var rate = child(page, "rateSlider")
        compare(rate.textValue, "10MS")
        compare(rate.sliderControl.position, 9)
        mouseClick(rate)
        tryCompare(findChild(rate, "strip"), "height", 24)
        rate.sliderControl.forceActiveFocus()
        keyClick(Qt.Key_Right)
        compare([rate.textValue, stored(0)[2]], ["11MS", "11"])
        keyClick(Qt.Key_End)
        compare([rate.textValue, stored(0)[2]], ["90MS", "90"])
        // A drag shows the period as it goes and stores it on release.
        var slider = rate.sliderControl
        mouseDrag(slider, slider.position + 6, 3, -200, 0)
        compare([rate.textValue, stored(0)[2]], ["4MS", "4"])
        verify(page.isSave)
        close(page)
        compare(page.keyMatrix.gunPeriods(), [4, 10, 10])
        compare(sent().pop(), "1201")
    }

    // A stored period shows as itself, also where a plain ratio placement would land a pixel short.
    function test_ratePlacement_data() {
        return [["5", "5MS", 4], ["28", "28MS", 27], ["67", "67MS", 66], ["91", "91MS", 90], ["200", "200MS", 90],
                ["fast", "10MS", 9]].map(([period, text, knob]) => ({ tag: period, period, text, knob }))
    }
    function test_ratePlacement(row) {
        ui_View.mouseSaveGundata(0, ["M416", "L-Click", row.period, "0", "10", "0"])
        var page = open()
        var rate = child(page, "rateSlider")
        compare([rate.textValue, rate.sliderControl.position], [row.text, row.knob])
    }

    // Endness mirrors Times: ticking it stores 0; unticking an endless preset leaves it ticked and asks for a count.
    function test_endness() {
        ui_View.mouseSaveGundata(0, ["M416", "L-Click", "10", "0", "10", "5"])
        var page = open()
        var box = child(page, "endness")
        compare([shown(page).times, box.isSelect], ["5", false])
        mouseClick(box)
        compare([shown(page).times, box.isSelect, stored(0)[5]], ["0", true, "0"])
        mouseClick(box)
        compare([shown(page).times, box.isSelect], ["0", true])
        verify(child(page, "timesInput").txtInput.activeFocus)
        type("3")
        keyClick(Qt.Key_Return)
        compare([shown(page).times, box.isSelect, stored(0)[5]], ["3", false, "3"])
        box.forceActiveFocus()
        keyClick(Qt.Key_Space)
        compare([shown(page).times, stored(0)[5]], ["0", "0"])
    }

    // Choosing a slot shows its preset; the slot texts follow the language.
    function test_slotsShowTheirPresets() {
        ui_View.setGlobalData("mouse/selectGun", ["4", "1", "5"])
        ui_View.mouseSaveGundata(5, ["Thomson", "L-Click", "33", "0", "40", "9"])
        var page = open()
        compare(page.currentGun, 4)
        chooseSlot(page, 2)
        compare(page.currentGun, 5)
        compare(JSON.stringify(shown(page)), JSON.stringify({ y: "40", dot: 89 + 94 * 40 / 64, rate: "33MS", times: "9", endless: false }))
        var texts = page.gunControlLang.slice()
        texts[1] = "Fusil"
        page.gunControlLang = texts
        compare(child(page, "slotSelector").textValue, "Fusil 3")
        compare(child(page, "preset5").Accessible.name, "Thomson")
        verify(child(page, "preset5").Accessible.selected)
    }

    // Without a gun file: built-in values, edits stored nowhere, and closing sends the values shown.
    function test_absentGunFile() {
        var path = testFiles.scratchPath("modules/gun/gunData.bin")
        verify(testFiles.remove(path))
        var page = open()
        compare(JSON.stringify(shown(page)), JSON.stringify({ y: "10", dot: 89 + 94 * 10 / 64, rate: "10MS", times: "0", endless: true }))
        child(page, "dot").forceActiveFocus()
        keyClick(Qt.Key_Down)
        verify(!testFiles.exists(path))
        close(page)
        compare(sent(), ["8300", gunFrame(0, 0, 11, 0), "8300", gunFrame(0, 0, 10, 1), "8300", gunFrame(0, 0, 10, 2),
                         "1201"])
        testRig.restart({})
    }

    // A hand-edited file: values that are no numbers go out as 0, values out of range clamped into it.
    function test_badStoredValues() {
        ui_View.mouseSaveGundata(0, ["M416", "L-Click", "x", "99", "-4", "many"])
        ui_View.mouseSaveGundata(1, ["AKM", "L-Click", "10", "3", "70", "999"])
        var page = open()
        compare(JSON.stringify(shown(page)), JSON.stringify({ y: "0", dot: 89, rate: "10MS", times: "0", endless: true }))
        page.isSave = true
        close(page)
        compare(sent().slice(0, 4), ["8300", gunFrame(0, 64, 0, 0), "8300", gunFrame(255, 3, 64, 1)])
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
        compare(sent(), ["8300", gunFrame(0, 0, 10, 0), "8300", gunFrame(0, 0, 10, 1), "8300", gunFrame(0, 0, 10, 2),
                         "1201"])
        compare(selected(), [4, 1, 2])
    }

    // Every control is reached with Tab and has a name; the X field is shown but takes no input.
    function test_keyboardAndNames() {
        var page = open()
        var names = [], items = []
        var item = page
        for (var i = 0; i < 20; ++i) {
            item = item.nextItemInFocusChain(true)
            if (!inside(item, page) || items.indexOf(item) >= 0)
                break
            verify(item.Accessible.name !== "", "unnamed item " + item)
            items.push(item)
            names.push(item.Accessible.name)
        }
        compare(names, ["Close", "Gun 1", "M416", "AKM", "M16A4", "SCAR-L", "UNP9", "Thomson", "Y axis", "Y axis",
                        "10MS", "Times", "Endness"])
        var x = child(page, "xInput")
        compare([x.enabled, x.textValue, x.txtInput.Accessible.name], [false, "0", "X Axis"])
        compare(child(page, "dot").Accessible.role, Accessible.Slider)
    }

    function inside(item, page) {
        for (; item; item = item.parent) {
            if (item === page)
                return true
        }
        return false
    }

    // The dialog moves with its background and stays inside the window.
    function test_drag() {
        var page = open()
        mouseDrag(page, 300, 20, -900, 900)
        compare([page.x, page.y], [0, 640 - 448])
    }
}
