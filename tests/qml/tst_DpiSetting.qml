import QtQuick
import QtTest
import "../../modules/qml/Q7"

// The DPI panel against the real view on the shipped mouse (command set 553,
// sensor 3360: code = DPI / 100 - 1, disabled stages sent as 0x80): the
// stage count, the sliders moved by pointer and keys, typed values, the reset
// picture, bad stored data, and Save through the shell. Nothing reaches the
// mouse before a save.
TestCase {
    id: testCase
    name: "DpiSetting"
    width: 1024; height: 640
    when: windowShown
    visible: true

    readonly property var shipped: [500, 1000, 1500, 2000, 3000, 4000, 5000, 6000]

    function init() {
        failOnWarning(/./)
        ui_View.setCurrentProfile(0)
    }
    function cleanup() {
        ui_View.resetProfile(0)
        for (const [key, value] of [["minDPI", "200"], ["maxDPI", "6000"], ["dpiBase", "50"], ["sensorType", "3360"]])
            ui_View.setGlobalData("mouse/" + key, value)
    }

    Component { id: pageComponent; DpiSetting {} }

    // The page as the shell has it after start-up: loaded, nothing sent.
    function open() {
        var page = createTemporaryObject(pageComponent, testCase, { x: 768, y: 56 })
        page.init(false, false)
        testRig.clearFrames()
        return page
    }
    function child(item, name) {
        var found = findChild(item, name)
        verify(found !== null, "no item " + name)
        return found
    }
    function slider(page, stage) { return child(child(page, "stage" + stage), "slider") }
    function valueField(page, stage) { return child(child(page, "stage" + stage), "value") }
    function shownValues(page) {
        var values = []
        for (var i = 0; i < 8; ++i)
            values.push(Number(valueField(page, i).text))
        return values
    }
    function shownStages(page) {
        var shown = 0
        for (var i = 0; i < 8; ++i)
            shown += child(page, "stage" + i).visible ? 1 : 0
        return shown
    }
    function listEntries(page) {
        var model = child(page, "stageList").mdItems
        var entries = []
        for (var i = 0; i < model.count; ++i)
            entries.push(model.get(i).textValue)
        return entries
    }
    function chooseCount(page, count) {
        var list = child(page, "stageList")
        mouseClick(list)
        tryCompare(child(list, "dropArea"), "height", 24 * list.mdItems.count)
        mouseClick(child(list, "row" + (count - 1)))
        tryVerify(() => !child(list, "dropArea").visible)
    }
    function stored() { return ui_View.getDataList("mouse/dpiValueArray", false).map(Number) }
    // What the mouse holds: its stage count and the eight codes.
    function mouseTable() {
        var state = testRig.mouseState()
        return [state.dpiCount, state.dpiTable]
    }
    function codes(values, count) { return values.map((v, i) => i < count ? Math.trunc(v / 100) - 1 : 0x80) }
    function type(text) {
        for (const c of text)
            keyClick(c)
    }

    // Three stages and Save: the list offers the profile's four, three sliders show, all eight values and the count
    // are stored and mouseSetDpi(3, …) sends them.
    function test_threeStagesSaved() {
        var page = open()
        compare(listEntries(page), ["1", "2", "3", "4"])
        compare([page.currentDpiCount, shownStages(page), shownValues(page)], [4, 4, shipped])
        chooseCount(page, 3)
        compare([page.currentDpiCount, shownStages(page), page.isSave], [3, 3, true])
        compare(testRig.frames(), [], "nothing sent before a save")
        page.saveData(true)
        compare(stored(), shipped)
        compare(Number(ui_View.getData("mouse/currentDpiCount", false)), 3)
        compare(mouseTable(), [3, codes(shipped, 3)])
    }

    // A profile that offers no usable stage count leaves the page as it was: values, count, list, and nothing sent.
    function test_unusableCount_data() {
        return [{ tag: "9 stages", count: "9" }, { tag: "12 stages", count: "12" }, { tag: "0 stages", count: "0" },
                { tag: "words", count: "many" }]
    }
    function test_unusableCount(row) {
        var page = open()
        ui_View.setData("mouse/dpiCount", row.count)
        ui_View.setData("mouse/currentDpiCount", "9")
        ui_View.setDataList("mouse/dpiValueArray", [800, 800, 800, 800, 800, 800, 800, 800, 800])
        page.init(true, false)
        compare([page.dpiCount, page.currentDpiCount, shownStages(page), shownValues(page), listEntries(page)],
                [4, 4, 4, shipped, ["1", "2", "3", "4"]])
        compare([page.isSave, testRig.frames()], [false, []])
    }

    // The list follows the profile's offer both ways; a stored enabled count beyond it is cut to it.
    function test_offerChanges() {
        var page = open()
        ui_View.setData("mouse/dpiCount", 2)
        page.init(false, false)
        compare([listEntries(page), page.currentDpiCount, shownStages(page)], [["1", "2"], 2, 2])
        ui_View.setData("mouse/dpiCount", 8)
        ui_View.setData("mouse/currentDpiCount", 6)
        page.init(false, false)
        compare([listEntries(page), page.currentDpiCount, shownStages(page)],
                [["1", "2", "3", "4", "5", "6", "7", "8"], 6, 6])
        compare(child(page, "stageList").textValue, "6")
    }

    // Keys on the first stage's slider (500): one dpiBase per arrow, ten per Page key, never past the ends; the knob
    // goes where the value belongs, and only a change is one to save.
    function test_keys_data() {
        return [
            { tag: "Up", keys: [Qt.Key_Up], value: 550, position: 13 },
            { tag: "Right", keys: [Qt.Key_Right], value: 550, position: 13 },
            { tag: "Down", keys: [Qt.Key_Down], value: 450, position: 10 },
            { tag: "Page Up", keys: [Qt.Key_PageUp], value: 1000, position: 25 },
            { tag: "Page Down past the bottom", keys: [Qt.Key_PageDown], value: 200, position: 4 },
            { tag: "End", keys: [Qt.Key_End], value: 6000, position: 162 },
            { tag: "Home, then Down: no change", keys: [Qt.Key_Home, Qt.Key_Down], value: 200, position: 4 },
            { tag: "Up, then Down: back", keys: [Qt.Key_Up, Qt.Key_Down], value: 500, position: 12 },
        ]
    }
    function test_keys(row) {
        var page = open()
        var knob = slider(page, 0)
        knob.forceActiveFocus()
        row.keys.forEach(key => keyClick(key))
        compare([valueField(page, 0).text, knob.position, knob.value], [String(row.value), row.position, row.value])
        compare(page.dpiValueArray[0], row.value)
        compare(page.isSave, true)
        compare(testRig.frames(), [])
    }

    function test_keyWithoutChange() {
        var page = open()
        slider(page, 7).forceActiveFocus() // 6000, the top
        keyClick(Qt.Key_Up)
        compare([page.dpiValueArray[7], page.isSave], [6000, false])
    }

    // Typing under the second slider (1000): taken on Enter or on leaving, on a whole step within the range; the
    // knob follows. An empty field or Escape gives the value back.
    function test_typed_data() {
        return [
            { tag: "Enter", text: "1625", end: Qt.Key_Return, value: 1650, save: true },
            { tag: "leaving with Tab", text: "2400", end: Qt.Key_Tab, value: 2400, save: true },
            { tag: "above the sensor's maximum", text: "99999", end: Qt.Key_Return, value: 6000, save: true },
            { tag: "below its minimum", text: "10", end: Qt.Key_Enter, value: 200, save: true },
            { tag: "letters refused as typed: 12, the minimum", text: "12ab", end: Qt.Key_Return, value: 200, save: true },
            { tag: "empty", text: "", end: Qt.Key_Return, value: 1000, save: false },
            { tag: "Escape", text: "3000", end: Qt.Key_Escape, value: 1000, save: false },
            { tag: "the same value", text: "1000", end: Qt.Key_Return, value: 1000, save: false },
        ]
    }
    function test_typed(row) {
        var page = open()
        var field = valueField(page, 1)
        mouseClick(field)
        verify(field.activeFocus)
        field.selectAll()
        keyClick(Qt.Key_Delete)
        type(row.text)
        keyClick(row.end)
        verify(!field.activeFocus)
        compare([field.text, page.dpiValueArray[1], page.isSave], [String(row.value), row.value, row.save])
        compare(slider(page, 1).position, row.save ? 4 + Math.trunc(158 * (row.value - 200) / 5800) : 25)
        compare(testRig.frames(), [])
    }

    // A value being typed when Save is pressed is part of what is saved: the shell first ends the typing.
    function test_typingEndsOnFocus() {
        var page = open()
        var field = valueField(page, 2)
        mouseClick(field)
        field.selectAll()
        type("2200")
        page.dpiSettingFocus()
        compare([page.dpiValueArray[2], page.isSave, field.activeFocus], [2200, true, false])
    }

    // Dragging: the value follows the knob, nothing is stored or sent; the release marks the change.
    function test_drag() {
        var page = open()
        var track = slider(page, 3) // 2000: the knob at 53, its middle 117 from the slider's top
        compare(track.position, 53)
        mousePress(track, 8, 117)
        mouseMove(track, 8, 97)
        mouseMove(track, 8, 77) // 40 px up: position 93
        compare([track.position, valueField(page, 3).text, page.isSave], [93, "3500", false])
        mouseRelease(track, 8, 77)
        compare([page.dpiValueArray[3], page.isSave], [3500, true])
        compare([testRig.frames(), stored()], [[], shipped])
        page.saveData(true)
        compare(mouseTable()[1][3], 34)
    }

    // A click on the track moves the knob there; to the bottom end it is the minimum.
    function test_trackClick() {
        var page = open()
        var track = slider(page, 2)
        mouseClick(track, track.width / 2, track.height - 1)
        tryCompare(page, "isSave", true)
        compare([track.position, page.dpiValueArray[2]], [3, 200])
    }

    // The reset picture: the factory values, to be saved; the stage count stays and nothing is stored or sent.
    function test_reset() {
        ui_View.setDataList("mouse/dpiValueArray", [800, 900, 1000, 1100, 1200, 1300, 1400, 1500])
        ui_View.setData("mouse/currentDpiCount", 2)
        var page = open()
        compare([shownValues(page), page.currentDpiCount], [[800, 900, 1000, 1100, 1200, 1300, 1400, 1500], 2])
        var reset = child(page, "dpiReset")
        compare([reset.Accessible.role, reset.Accessible.name], [Accessible.Button, "Reset"])
        mouseClick(reset)
        compare([shownValues(page), page.currentDpiCount, page.isSave], [shipped, 2, true])
        compare([slider(page, 1).position, testRig.frames()], [4 + Math.trunc(158 * 800 / 5800), []])
        compare(stored(), [800, 900, 1000, 1100, 1200, 1300, 1400, 1500])
        page.isSave = false
        reset.forceActiveFocus()
        keyClick(Qt.Key_Space)
        verify(page.isSave)
    }

    // A profile change sends what the profile holds, made safe: a bad item keeps the value shown before, one out of
    // range is cut to the sensor's; no NaN in the file or on the wire.
    function test_profileSent_data() {
        return [
            { tag: "the shipped profile", list: shipped, shown: shipped },
            { tag: "short, words, out of range, off step", list: ["x", "7000", "1625"],
              shown: [500, 6000, 1650, 2000, 3000, 4000, 5000, 6000] },
            { tag: "empty", list: [], shown: shipped },
        ]
    }
    function test_profileSent(row) {
        var page = open()
        ui_View.setDataList("mouse/dpiValueArray", row.list)
        page.init(true, false)
        compare(shownValues(page), row.shown)
        compare(stored(), row.shown)
        compare(mouseTable(), [4, codes(row.shown, 4)])
        compare(page.isSave, false)
    }

    // The sensor's range from the global file: an unusable one keeps the page's, so the sliders never divide by zero.
    function test_sensorRange_data() {
        return [
            { tag: "100..12000 by 100", keys: ["100", "12000", "100"], range: [100, 12000, 100],
              positions: [9, 15, 22, 29, 42, 55, 69, 82] },
            { tag: "maxDPI equal to minDPI", keys: ["800", "800", "50"], range: [200, 6000, 50],
              positions: [12, 25, 39, 53, 80, 107, 134, 162] },
            { tag: "maxDPI below minDPI, dpiBase 0", keys: ["6000", "200", "0"], range: [200, 6000, 50],
              positions: [12, 25, 39, 53, 80, 107, 134, 162] },
        ]
    }
    function test_sensorRange(row) {
        ui_View.setGlobalData("mouse/minDPI", row.keys[0])
        ui_View.setGlobalData("mouse/maxDPI", row.keys[1])
        ui_View.setGlobalData("mouse/dpiBase", row.keys[2])
        var page = open()
        compare([page.minDPI, page.maxDPI, page.dpiBase], row.range)
        var positions = []
        for (var i = 0; i < 8; ++i)
            positions.push(slider(page, i).position)
        compare(positions, row.positions)
        compare(shownValues(page), shipped)
        var knob = slider(page, 0)
        knob.forceActiveFocus()
        keyClick(Qt.Key_Up)
        compare(page.dpiValueArray[0], 500 + row.range[2])
    }

    // The mouse's active stage is drawn orange at once, the others blue.
    function test_activeStage() {
        var page = open()
        page.currentDPI = 2
        var fill = stage => child(slider(page, stage), "fill").color
        compare([slider(page, 2).active, slider(page, 0).active], [true, false])
        compare([String(fill(2)), String(fill(0))], ["#cf3e00", "#09347f"])
        page.currentDPI = 0
        compare([String(fill(2)), String(fill(0))], ["#09347f", "#cf3e00"])
    }

    // Sliders and values as assistive technology sees them.
    function test_accessible() {
        var page = open()
        var knob = slider(page, 1)
        compare([knob.Accessible.role, knob.Accessible.name], [Accessible.Slider, "DPI stage 2"])
        compare([knob.value, knob.minimumValue, knob.maximumValue, knob.stepSize], [1000, 200, 6000, 50])
        compare([valueField(page, 1).Accessible.role, valueField(page, 1).Accessible.name],
                [Accessible.EditableText, "DPI stage 2 value"])
        compare(child(page, "stageList").Accessible.role, Accessible.ComboBox)
    }

    // Through the shell: three stages, a slider moved by a key, Save sends them; the mouse's DPI button shows on the
    // page; a profile change sends the other profile's stages.
    function test_shell() {
        var component = Qt.createComponent("qrc:/modules/qml/main.qml")
        compare(component.status, Component.Ready, component.errorString())
        var root = createTemporaryObject(component, testCase)
        root.initUI()
        root.setProtectUI(0)
        tryCompare(child(root, "envItem"), "visible", true)
        var page = child(root, "dpiSettingMain")
        testRig.clearFrames()
        chooseCount(page, 3)
        slider(page, 2).forceActiveFocus()
        keyClick(Qt.Key_PageUp)
        verify(root.hasUnsaved)
        mouseClick(child(root, "saveButton"))
        var values = [500, 1000, 2000, 2000, 3000, 4000, 5000, 6000]
        compare([page.isSave, stored(), mouseTable()], [false, values, [3, codes(values, 3)]])
        root.setCurrentDPI(2)
        verify(slider(page, 1).active)
        root.setCurrentDPI(0)
        verify(slider(page, 1).active)
    }
}
