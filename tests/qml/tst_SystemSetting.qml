import QtQuick
import QtTest
import modules.qml

// The system settings dialog against the real view: what the current profile
// holds after each change, and the pointer settings the view applied (speed
// 1..20, double-click time in ms, wheel lines), read from the test rig. The
// shipped profile holds 170 (step 5), 188 (step 6) and 3 rows.
TestCase {
    id: testCase
    name: "SystemSetting"
    width: 1024; height: 640
    when: windowShown
    visible: true

    function init() {
        failOnWarning(/./)
        ui_View.setCurrentProfile(0)
        testRig.clearPointerSettings()
    }
    function cleanup() { ui_View.resetProfile(0) } // the shipped profile for the next test

    Component { id: pageComponent; SystemSetting {} }

    // The dialog as the shell has it: loaded without applying, shown, with the focus.
    function open() {
        var page = createTemporaryObject(pageComponent, testCase)
        page.init(false, false)
        page.visible = true
        page.forceActiveFocus()
        compare(testRig.pointerSettings(), {}, "loading applies nothing")
        return page
    }
    function child(item, name) {
        var found = findChild(item, name)
        verify(found !== null, "no item " + name)
        return found
    }
    function stored() {
        return ["mouseRate", "doubleRate", "scrollRate"].map(key => String(ui_View.getData("mouse/" + key, false)))
    }
    function shown(page) {
        return [child(page, "mouseRate").position, child(page, "doubleRate").position,
                child(page, "screenButton").isSelect, child(page, "rowsInput").textValue]
    }
    function setProfile(values) {
        ["mouseRate", "doubleRate", "scrollRate"].forEach((key, i) => ui_View.setData("mouse/" + key, values[i]))
    }
    function edit(page, text) {
        var input = child(page, "rowsInput").txtInput
        input.forceActiveFocus()
        input.selectAll()
        keyClick(Qt.Key_Delete)
        for (const c of text)
            keyClick(c)
    }

    // A knob at rest (dragged, clicked, moved by a key) is stored with the other two settings, and only its own
    // setting is applied, as its step: speed 1 for step 0, else twice the step; 900 ms less 70 a step.
    function test_slider_data() {
        var drag = dx => slider => mouseDrag(child(slider, "track"), slider.position + 6, 3, dx, 0)
        var key = k => slider => {
            slider.forceActiveFocus()
            keyClick(k)
        }
        return [
            ["speed dragged to the left end", "mouseRate", drag(-400), 3, 0],
            ["speed dragged to 37", "mouseRate", drag(-133), 37, 2],
            ["speed clicked at the left end", "mouseRate", s => mouseClick(child(s, "track"), 0, 3), 3, 0],
            ["speed Right: next step's lowest", "mouseRate", key(Qt.Key_Right), 172, 6],
            ["speed Page Up: ten steps, stops at 10", "mouseRate", key(Qt.Key_PageUp), 305, 10],
            ["double-click dragged to the right end", "doubleRate", drag(400), 337, 10],
            ["double-click Down: step 5's lowest", "doubleRate", key(Qt.Key_Down), 138, 5],
        ].map(([tag, slider, act, position, step]) => ({ tag, slider, act, position, step }))
    }
    function test_slider(row) {
        var page = open()
        var slider = child(page, row.slider), speed = row.slider === "mouseRate"
        row.act(slider)
        tryVerify(() => Object.keys(testRig.pointerSettings()).length > 0) // a click moves the knob for a moment
        compare(testRig.pointerSettings(), speed ? { speed: row.step === 0 ? 1 : 2 * row.step }
                                                 : { doubleClickTime: 900 - 70 * row.step })
        compare([slider.position, slider.xPosition, slider.value], [row.position, row.position, row.step])
        compare(stored(), speed ? [String(row.position), "188", "3"] : ["170", String(row.position), "3"])
    }

    // Nothing is stored or applied while a knob is dragged, only when it is let go.
    function test_nothingWhileDragging() {
        var track = child(child(open(), "mouseRate"), "track")
        mousePress(track, 170 + 6, 3)
        mouseMove(track, 40, 3)
        compare([testRig.pointerSettings(), stored()[0], track.knobPosition], [{}, "170", 34])
        mouseRelease(track, 40, 3)
        compare([testRig.pointerSettings(), stored()[0]], [{ speed: 2 }, "34"])
    }

    // The profile's values are shown; loading with isSendData, or the reset picture (the factory settings, by a
    // click or Space), stores them back and applies all three. Values that are no number or out of range show,
    // store and apply as sane ones.
    function test_init_data() {
        var reset = ["3", "337", "1000"], factory = [[170, 188, false, "3"], [10, 480, 3], ["170", "188", "3"]]
        return [
            ["above 100 is one screen", ["4", "36", "101"], [4, 36, true, "3"], [2, 830, 1000], ["4", "36", "1000"]],
            ["words: the shipped values", ["fast", "", "many"]].concat(factory),
            ["out of range: kept inside", ["999", "-5", "0"], [337, 3, false, "1"], [20, 900, 1], ["337", "3", "1"]],
            ["reset by a click", reset].concat(factory, ["click"]),
            ["reset by Space", reset].concat(factory, [Qt.Key_Space]),
        ].map(([tag, profile, shown, applied, stored, reset]) => ({ tag, profile, shown, applied, stored, reset }))
    }
    function test_init(row) {
        setProfile(row.profile)
        var page = open(), button = child(page, "resetButton")
        if (!row.reset) {
            compare([shown(page), stored()], [row.shown, row.profile])
            page.init(true, false)
        } else if (row.reset === "click") {
            mouseClick(button)
        } else {
            button.forceActiveFocus()
            keyClick(row.reset)
        }
        compare([shown(page), stored()], [row.shown, row.stored])
        compare(testRig.pointerSettings(), { speed: row.applied[0], doubleClickTime: row.applied[1],
                                             wheelLines: row.applied[2] })
    }

    // Leaving the rows input, however it ends, stores and applies its rows: 1..100, empty or smaller is 1.
    function test_rowsInput_data() {
        var tab = page => keyClick(Qt.Key_Tab)
        return [
            ["typed, Return", "45", page => keyClick(Qt.Key_Return), 45],
            ["emptied becomes 1", "", tab, 1],
            ["above 100 is cut to 100; three characters at most", "1234", tab, 100],
            ["a press on the background", "7", page => mouseClick(page.contentItem, 200, 300), 7],
            ["a press on a slider's knob", "8", page => mousePress(knob(page), 170 + 6, 3), 8],
            ["Escape closes the dialog", "9", page => keyClick(Qt.Key_Escape), 9],
            ["the shell's focus call", "0", page => page.systemSettingFocus(), 1],
        ].map(([tag, text, end, rows]) => ({ tag, text, end, rows }))
    }
    function test_rowsInput(row) {
        var page = open()
        edit(page, row.text)
        compare(testRig.pointerSettings(), {}, "nothing while typing")
        row.end(page)
        var input = child(page, "rowsInput")
        compare([input.txtInput.activeFocus, input.textValue], [false, String(row.rows)])
        compare([testRig.pointerSettings(), stored()], [{ wheelLines: row.rows }, ["170", "188", String(row.rows)]])
        compare(page.visible, row.tag !== "Escape closes the dialog")
        if (row.tag === "a press on a slider's knob")
            mouseRelease(knob(page), 170 + 6, 3)
    }
    function knob(page) { return child(child(page, "mouseRate"), "track") }

    // Choosing either button stores and applies it; a number being typed belongs to the choice made.
    function test_scrollChoice() {
        var page = open()
        var rows = child(page, "rowsButton"), screen = child(page, "screenButton")
        mouseClick(screen)
        compare([rows.isSelect, testRig.pointerSettings(), stored()[2]], [false, { wheelLines: 1000 }, "1000"])
        rows.forceActiveFocus()
        keyClick(Qt.Key_Space)
        compare([screen.isSelect, testRig.pointerSettings(), stored()[2]], [false, { wheelLines: 3 }, "3"])
        edit(page, "")
        mouseClick(screen)
        compare([testRig.pointerSettings(), stored()[2], shown(page)[3]], [{ wheelLines: 1000 }, "1000", "1"])
    }

    // The dialog moves with its background and stays inside the window.
    function test_drag_data() {
        return [["to the lower left", -900, 900, [0, 640 - 312]], ["to the upper right", 900, -900, [1024 - 416, 0]],
                ["a little", 10, 20, [304 + 10, 164 + 20]]].map(([tag, dx, dy, at]) => ({ tag, dx, dy, at }))
    }
    function test_drag(row) {
        var page = open()
        var x = 304 + 200, y = 164 + 20 // in the window: the dialog moves under the pointer
        mousePress(testCase, x, y)
        for (var step = 1; step <= 4; ++step)
            mouseMove(testCase, x + row.dx * step / 4, y + row.dy * step / 4)
        mouseRelease(testCase, x + row.dx, y + row.dy)
        compare([page.x, page.y], row.at)
    }

    // Every control is reached with Tab and named; the sliders tell their step.
    function test_keyboardAndNames() {
        var page = open()
        var inside = item => item && (item === page.contentItem.parent || inside(item.parent))
        var items = []
        for (var item = child(page, "closeButton"); inside(item) && items.indexOf(item) < 0;
             item = item.nextItemInFocusChain(true))
            items.push(item)
        compare(items.map(i => i.Accessible.name), ["Close", "Reset", "Mouse Speed", "Double Click Speed",
                                                    "Number of Rows", "Number of Rows", "Scroll one Screen"])
        compare([items[2].value, items[2].minimumValue, items[2].maximumValue], [5, 0, 10])
    }

    // Through the shell: the button opens the dialog over the mask; a profile change applies the new profile's
    // settings.
    function test_fromShell() {
        ui_View.updataNameList(2, ["Standard0", "profile_01"])
        var root = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), testCase)
        root.initUI()
        root.setProtectUI(0)
        tryCompare(child(root, "envItem"), "visible", true)
        var page = child(root, "systemSettingMain")
        mouseClick(child(root, "systemSettingButton"))
        verify(page.visible && child(root, "mainMask").visible)
        mouseClick(child(page, "closeButton"))
        verify(!page.visible && !child(root, "mainMask").visible)
        compare(testRig.pointerSettings(), {}, "the start applies nothing")
        ui_View.setCurrentProfile(1)
        setProfile([337, 3, 1000])
        root.changeProfile(1)
        compare([shown(page), testRig.pointerSettings()], [[337, 3, true, "3"],
                                                           { speed: 20, doubleClickTime: 900, wheelLines: 1000 }])
        ui_View.resetProfile(1)
        ui_View.setGlobalData("mouse/profileNo", 0)
        ui_View.updataNameList(2, ["Standard0"])
    }
}
