import QtQuick
import QtTest
import "../../modules/qml/Q7"

// The system settings dialog against the real view: what the current profile
// holds after each change, and the pointer settings the view applied (speed
// 1..20, double-click time in ms, wheel lines), read from the test rig.
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
    function child(page, name) {
        var item = findChild(page, name)
        verify(item !== null, "no item " + name)
        return item
    }
    function stored() {
        return ["mouse/mouseRate", "mouse/doubleRate", "mouse/scrollRate"].map(key => String(ui_View.getData(key,
                                                                                                            false)))
    }
    function shown(page) {
        return [child(page, "mouseRate").position, child(page, "doubleRate").position,
                child(page, "rowsButton").isSelect, child(page, "screenButton").isSelect,
                child(page, "rowsInput").textValue]
    }
    function setProfile(mouseRate, doubleRate, scrollRate) {
        ui_View.setData("mouse/mouseRate", mouseRate)
        ui_View.setData("mouse/doubleRate", doubleRate)
        ui_View.setData("mouse/scrollRate", scrollRate)
    }
    function edit(page, text) {
        var input = child(page, "rowsInput").txtInput
        input.forceActiveFocus()
        input.selectAll()
        keyClick(Qt.Key_Delete)
        for (const c of text)
            keyClick(c)
    }

    // A knob comes to rest (dragged, clicked, moved by a key): its position is stored with the other two settings,
    // and only its own setting is applied, as the step its position falls in (speed 1 for step 0, else twice the
    // step; double-click time 900 ms less 70 a step). The shipped profile has the speed knob at 170 (step 5) and
    // the double-click knob at 188 (step 6).
    function test_slider_data() {
        var drag = dx => slider => mouseDrag(findChild(slider, "track"), slider.position + 6, 3, dx, 0)
        var key = k => slider => {
            slider.forceActiveFocus()
            keyClick(k)
        }
        return [
            ["speed dragged to the left end", "mouseRate", drag(-400), 3, 0],
            ["speed dragged to the right end", "mouseRate", drag(400), 337, 10],
            ["speed dragged to 36", "mouseRate", drag(-134), 36, 1],
            ["speed dragged to 37", "mouseRate", drag(-133), 37, 2],
            ["speed clicked at the left end", "mouseRate", slider => mouseClick(findChild(slider, "track"), 0, 3), 3, 0],
            ["speed Right", "mouseRate", key(Qt.Key_Right), 172, 6],
            ["speed Left", "mouseRate", key(Qt.Key_Left), 104, 4],
            ["speed Page Up", "mouseRate", key(Qt.Key_PageUp), 305, 10],
            ["speed Page Down", "mouseRate", key(Qt.Key_PageDown), 3, 0],
            ["speed Home", "mouseRate", key(Qt.Key_Home), 3, 0],
            ["double-click dragged to the left end", "doubleRate", drag(-400), 3, 0],
            ["double-click dragged to the right end", "doubleRate", drag(400), 337, 10],
            ["double-click End", "doubleRate", key(Qt.Key_End), 305, 10],
            ["double-click Down", "doubleRate", key(Qt.Key_Down), 138, 5],
        ].map(([tag, slider, act, position, step]) => ({ tag, slider, act, position, step }))
    }
    function test_slider(row) {
        var page = open()
        var slider = child(page, row.slider)
        row.act(slider)
        tryVerify(() => Object.keys(testRig.pointerSettings()).length > 0) // a click moves the knob for a moment
        var speed = row.slider === "mouseRate"
        compare(testRig.pointerSettings(), speed ? { speed: row.step === 0 ? 1 : 2 * row.step }
                                                 : { doubleClickTime: 900 - 70 * row.step })
        compare([slider.position, slider.xPosition, slider.value], [row.position, row.position, row.step])
        var want = ["170", "188", "3"]
        want[speed ? 0 : 1] = String(row.position)
        compare(stored(), want)
    }

    // Nothing is stored or applied while a knob is dragged, only when it is let go.
    function test_nothingWhileDragging() {
        var page = open()
        var track = findChild(child(page, "mouseRate"), "track")
        mousePress(track, 170 + 6, 3)
        mouseMove(track, 40, 3)
        compare([testRig.pointerSettings(), stored()[0], track.position], [{}, "170", 34])
        mouseRelease(track, 40, 3)
        compare([testRig.pointerSettings(), stored()[0]], [{ speed: 2 }, "34"])
    }

    // What the profile holds is shown; loading with isSendData stores it back and applies all three. Values that are
    // no number or out of range show, store and apply as sane ones.
    function test_init_data() {
        return [
            { tag: "one screen", profile: ["3", "337", "1000"], shown: [3, 337, false, true, "3"],
              applied: { speed: 1, doubleClickTime: 200, wheelLines: 1000 }, stored: ["3", "337", "1000"] },
            { tag: "three rows", profile: ["40", "70", "3"], shown: [40, 70, true, false, "3"],
              applied: { speed: 4, doubleClickTime: 690, wheelLines: 3 }, stored: ["40", "70", "3"] },
            { tag: "100 rows", profile: ["4", "36", "100"], shown: [4, 36, true, false, "100"],
              applied: { speed: 2, doubleClickTime: 830, wheelLines: 100 }, stored: ["4", "36", "100"] },
            { tag: "above 100 is one screen", profile: ["170", "188", "101"], shown: [170, 188, false, true, "3"],
              applied: { speed: 10, doubleClickTime: 480, wheelLines: 1000 }, stored: ["170", "188", "1000"] },
            { tag: "words: the shipped values", profile: ["fast", "", "many"], shown: [170, 188, true, false, "3"],
              applied: { speed: 10, doubleClickTime: 480, wheelLines: 3 }, stored: ["170", "188", "3"] },
            { tag: "out of range: kept inside", profile: ["999", "-5", "0"], shown: [337, 3, true, false, "1"],
              applied: { speed: 20, doubleClickTime: 900, wheelLines: 1 }, stored: ["337", "3", "1"] },
        ]
    }
    function test_init(row) {
        setProfile(row.profile[0], row.profile[1], row.profile[2])
        var page = createTemporaryObject(pageComponent, testCase)
        page.init(false, false)
        compare(shown(page), row.shown)
        compare([testRig.pointerSettings(), stored()], [{}, row.profile])
        page.init(true, false)
        compare(shown(page), row.shown)
        compare([testRig.pointerSettings(), stored()], [row.applied, row.stored])
    }

    // The reset picture loads the factory settings, stores them into the current profile and applies all three.
    function test_reset_data() {
        return [{ tag: "click" }, { tag: "Space", key: Qt.Key_Space }, { tag: "Return", key: Qt.Key_Return }]
    }
    function test_reset(row) {
        setProfile(3, 337, 1000)
        var page = open()
        var reset = child(page, "resetButton")
        compare([reset.Accessible.role, reset.Accessible.name], [Accessible.Button, "Reset"])
        if (row.key) {
            reset.forceActiveFocus()
            keyClick(row.key)
        } else {
            mouseClick(reset)
        }
        compare(shown(page), [170, 188, true, false, "3"])
        compare(testRig.pointerSettings(), { speed: 10, doubleClickTime: 480, wheelLines: 3 })
        compare(stored(), ["170", "188", "3"])
    }

    // Leaving the rows input stores and applies its rows, 1..100; an empty or smaller entry becomes 1.
    function test_rowsInput_data() {
        var tab = page => keyClick(Qt.Key_Tab)
        return [
            { tag: "typed, Tab", text: "12", end: tab, rows: 12 },
            { tag: "typed, Return", text: "45", end: page => keyClick(Qt.Key_Return), rows: 45 },
            { tag: "emptied becomes 1", text: "", end: tab, rows: 1 },
            { tag: "0 becomes 1", text: "0", end: tab, rows: 1 },
            { tag: "000 becomes 1", text: "000", end: tab, rows: 1 },
            { tag: "above 100 is cut to 100", text: "250", end: tab, rows: 100 },
            { tag: "three characters at most", text: "1234", end: tab, rows: 100 },
            { tag: "a press on the background", text: "7", end: page => mouseClick(page, 200, 300), rows: 7 },
            { tag: "a press on a slider's knob", text: "8", end: page => mousePress(knob(page), 170 + 6, 3), rows: 8,
              release: true },
            { tag: "closing the dialog", text: "9", end: page => page.close(), rows: 9 },
            { tag: "the shell's focus call", text: "0", end: page => page.systemSettingFocus(), rows: 1 },
        ]
    }
    function test_rowsInput(row) {
        var page = open()
        edit(page, row.text)
        compare(testRig.pointerSettings(), {}, "nothing while typing")
        row.end(page)
        var input = child(page, "rowsInput")
        verify(!input.txtInput.activeFocus)
        compare(input.textValue, String(row.rows))
        compare([testRig.pointerSettings(), stored()], [{ wheelLines: row.rows }, ["170", "188", String(row.rows)]])
        if (row.release)
            mouseRelease(knob(page), 170 + 6, 3)
    }
    function knob(page) { return findChild(child(page, "mouseRate"), "track") }

    // Choosing either button stores and applies it; a number being typed belongs to the choice made.
    function test_scrollChoice() {
        var page = open()
        var rows = child(page, "rowsButton"), screen = child(page, "screenButton")
        mouseClick(screen)
        compare([rows.isSelect, screen.isSelect], [false, true])
        compare([testRig.pointerSettings(), stored()[2]], [{ wheelLines: 1000 }, "1000"])
        rows.forceActiveFocus()
        keyClick(Qt.Key_Space)
        compare([rows.isSelect, screen.isSelect], [true, false])
        compare([testRig.pointerSettings(), stored()[2]], [{ wheelLines: 3 }, "3"])
        edit(page, "")
        mouseClick(screen)
        compare([testRig.pointerSettings(), stored()[2], child(page, "rowsInput").textValue],
                [{ wheelLines: 1000 }, "1000", "1"])
        mouseClick(rows)
        compare([testRig.pointerSettings(), stored()[2]], [{ wheelLines: 1 }, "1"])
    }

    // The dialog moves with its background and stays inside the window.
    function test_drag_data() {
        return [{ tag: "to the lower left", dx: -900, dy: 900, at: [0, 640 - 312] },
                { tag: "to the upper right", dx: 900, dy: -900, at: [1024 - 416, 0] },
                { tag: "a little", dx: 10, dy: 20, at: [304 + 10, 164 + 20] }]
    }
    function test_drag(row) {
        var page = open()
        compare([page.x, page.y], [304, 164])
        // In the window's coordinates: the dialog moves under the pointer.
        var x = 304 + 200, y = 164 + 20
        mousePress(testCase, x, y)
        for (var step = 1; step <= 4; ++step)
            mouseMove(testCase, x + row.dx * step / 4, y + row.dy * step / 4)
        mouseRelease(testCase, x + row.dx, y + row.dy)
        compare([page.x, page.y], row.at)
    }

    // Escape closes the dialog, from the dialog or from the rows input (which is committed first).
    function test_escape() {
        var page = open()
        var closed = createTemporaryObject(spyComponent, testCase, { target: page, signalName: "closed" })
        keyClick(Qt.Key_Escape)
        compare([page.visible, closed.count], [false, 1])
        page.visible = true
        edit(page, "5")
        keyClick(Qt.Key_Escape)
        compare([page.visible, closed.count, stored()[2]], [false, 2, "5"])
    }
    Component { id: spyComponent; SignalSpy {} }

    // Every control is reached with Tab and has a name; the sliders tell their step; the texts follow the language.
    function test_keyboardAndNames() {
        var page = open()
        var inside = item => item && (item === page || inside(item.parent))
        var items = []
        for (var item = page.nextItemInFocusChain(true); inside(item) && items.indexOf(item) < 0;
             item = item.nextItemInFocusChain(true))
            items.push(item)
        compare(items.map(i => i.Accessible.name), ["Close", "Reset", "Mouse Speed", "Double Click Speed",
                                                    "Number of Rows", "Number of Rows", "Scroll one Screen"])
        var speed = child(page, "mouseRate")
        compare([speed.Accessible.role, speed.value, speed.minimumValue, speed.maximumValue], [Accessible.Slider, 5, 0,
                                                                                              10])
        var texts = page.systemSettingLang.slice()
        texts[3] = "Lent"
        page.systemSettingLang = texts
        verify(findChild(speed, "slowText").text === "Lent")
    }

    // Through the shell: the button opens the dialog over the mask, Escape closes both; a profile change applies
    // the new profile's settings.
    function test_fromShell() {
        var root = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), testCase)
        root.initUI()
        root.setProtectUI(0)
        tryCompare(findChild(root, "envItem"), "visible", true)
        compare(testRig.pointerSettings(), {}, "the start applies nothing")
        var page = child(root, "systemSettingMain")
        mouseClick(child(root, "systemSettingButton"))
        verify(page.visible && child(root, "mainMask").visible)
        keyClick(Qt.Key_Escape)
        verify(!page.visible && !child(root, "mainMask").visible)
        ui_View.setCurrentProfile(1)
        setProfile(337, 3, 1000)
        ui_View.setCurrentProfile(0)
        root.changeProfile(1)
        compare(testRig.pointerSettings(), { speed: 20, doubleClickTime: 900, wheelLines: 1000 })
        compare(shown(page), [337, 3, false, true, "3"])
        ui_View.resetProfile(1)
        ui_View.setGlobalData("mouse/profileNo", 0)
    }
}
