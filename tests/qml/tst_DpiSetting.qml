import QtQuick
import QtTest
import modules.qml

// The DPI panel against the real view on the shipped mouse: the stage count,
// the sliders moved by pointer and keys, typed values, the reset picture, bad
// stored data, and Save through the shell. Nothing reaches the mouse before a
// save; what a send puts on the wire is the DPI operation rows' to check.
TestCase {
    id: testCase
    name: "DpiSetting"
    width: 1024; height: 640
    when: windowShown
    visible: true

    readonly property var shipped: [500, 1000, 1500, 2000, 3000, 4000, 5000, 6000]
    readonly property var stages: [0, 1, 2, 3, 4, 5, 6, 7]

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
    function shownValues(page) { return stages.map(i => Number(valueField(page, i).text)) }
    function shownStages(page) { return stages.filter(i => child(page, "stage" + i).visible).length }
    function listEntries(page) {
        var model = child(page, "stageList").mdItems
        return stages.slice(0, model.count).map(i => model.get(i).textValue)
    }
    function chooseCount(page, count) {
        var list = child(page, "stageList")
        mouseClick(list)
        tryCompare(child(list, "dropArea"), "height", 24 * list.mdItems.count)
        mouseClick(child(list, "row" + (count - 1)))
        tryVerify(() => !child(list, "dropArea").visible)
    }
    function stored() { return ui_View.getDataList("mouse/dpiValueArray", false).map(Number) }
    // The page's last send was mouseSetDpi(count, "3360", values): sending that again changes nothing the mouse holds.
    function sentAs(count, values) {
        var held = () => Object.assign(testRig.mouseState(), { commandCount: 0 })
        var before = held()
        ui_View.mouseSetDpi(count, "3360", values)
        compare(held(), before)
    }

    // A profile that offers no usable stage count leaves the page as it was: values, count, list, and nothing sent.
    // On a page that has read no profile yet, the list and the knobs show what Save would send.
    function test_unusableCount_data() {
        return [{ tag: "9 stages", count: "9" }, { tag: "0 stages", count: "0" }, { tag: "words", count: "many" },
                { tag: "words, first read", count: "x", first: true }]
    }
    function test_unusableCount(row) {
        var page = row.first ? createTemporaryObject(pageComponent, testCase, { x: 768, y: 56 }) : open()
        testRig.clearFrames()
        ui_View.setData("mouse/dpiCount", row.count)
        ui_View.setData("mouse/currentDpiCount", "9")
        ui_View.setDataList("mouse/dpiValueArray", [800, 800, 800, 800, 800, 800, 800, 800, 800])
        page.init(true, false)
        compare([page.dpiCount, page.currentDpiCount, shownStages(page), shownValues(page), listEntries(page),
                 page.isSave, testRig.frames()], [4, 4, 4, shipped, ["1", "2", "3", "4"], false, []])
        compare(stages.map(i => slider(page, i).knobPosition), [12, 25, 39, 53, 80, 107, 134, 162])
        page.saveData(true)
        sentAs(4, shipped)
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
        compare([listEntries(page), page.currentDpiCount, shownStages(page), child(page, "stageList").textValue],
                [["1", "2", "3", "4", "5", "6", "7", "8"], 6, 6, "6"])
    }

    // Keys on the first stage's slider (500): one dpiBase per arrow, ten per Page key, never past the ends; the knob
    // goes where the value belongs, and a key that changes nothing asks for no Save.
    function test_keys() {
        var page = open(), knob = slider(page, 0)
        var state = () => [valueField(page, 0).text, knob.knobPosition, knob.value, page.isSave, testRig.frames()]
        knob.forceActiveFocus()
        keyClick(Qt.Key_Up)
        compare(state(), ["550", 13, 550, true, []])
        keyClick(Qt.Key_PageDown) // ten steps down, held at the bottom
        compare(state(), ["200", 4, 200, true, []])
        keyClick(Qt.Key_End)
        page.isSave = false
        keyClick(Qt.Key_Up)
        compare(state(), ["6000", 162, 6000, false, []])
    }

    // Typing under the second slider (1000): taken on Enter or on leaving, on a whole step within the range; the
    // knob follows. An empty field or Escape gives the value back. A value being typed when Save is pressed is part of
    // what is saved (the shell first ends the typing); a profile loaded meanwhile gives the typing up.
    function test_typed_data() {
        var key = k => () => keyClick(k)
        return [
            { tag: "Enter", text: "1625", end: key(Qt.Key_Return), value: 1650, save: true },
            { tag: "leaving with Tab", text: "2400", end: key(Qt.Key_Tab), value: 2400, save: true },
            { tag: "above the maximum, keypad Enter", text: "99999", end: key(Qt.Key_Enter), value: 6000, save: true },
            { tag: "letters refused as typed: 12", text: "12ab", end: key(Qt.Key_Return), value: 200, save: true },
            { tag: "empty", text: "", end: key(Qt.Key_Return), value: 1000, save: false },
            { tag: "Escape", text: "3000", end: key(Qt.Key_Escape), value: 1000, save: false },
            { tag: "Save pressed", text: "2200", end: page => page.dpiSettingFocus(), value: 2200, save: true },
            { tag: "profile loaded", text: "2200", end: page => page.init(false, false), value: 1000, save: false },
        ]
    }
    function test_typed(row) {
        var page = open()
        var field = valueField(page, 1)
        mouseClick(field)
        field.selectAll()
        keyClick(Qt.Key_Delete)
        for (const c of row.text)
            keyClick(c)
        row.end(page)
        verify(!field.activeFocus)
        compare([field.text, page.dpiValueArray[1], page.isSave, testRig.frames()],
                [String(row.value), row.value, row.save, []])
        compare(slider(page, 1).knobPosition, row.save ? 4 + Math.trunc(158 * (row.value - 200) / 5800) : 25)
    }

    // Dragging: the value follows the knob, nothing is stored or sent; the release marks the change.
    function test_drag() {
        var page = open()
        var track = slider(page, 3) // 2000: the knob at 53, its middle 117 from the slider's top
        compare(track.knobPosition, 53)
        mousePress(track, 8, 117)
        mouseMove(track, 8, 97)
        mouseMove(track, 8, 77) // 40 px up: position 93
        compare([track.knobPosition, valueField(page, 3).text, page.isSave], [93, "3500", false])
        mouseRelease(track, 8, 77)
        compare([page.dpiValueArray[3], page.isSave, testRig.frames(), stored()], [3500, true, [], shipped])
        page.saveData(true)
        sentAs(4, [500, 1000, 1500, 3500, 3000, 4000, 5000, 6000])
    }

    // The reset picture: the factory values, to be saved; the stage count stays and nothing is stored or sent.
    function test_reset() {
        var mine = [800, 900, 1000, 1100, 1200, 1300, 1400, 1500]
        ui_View.setDataList("mouse/dpiValueArray", mine)
        ui_View.setData("mouse/currentDpiCount", 2)
        var page = open()
        mouseClick(child(page, "dpiReset"))
        compare([shownValues(page), page.currentDpiCount, page.isSave], [shipped, 2, true])
        compare([slider(page, 1).knobPosition, testRig.frames(), stored()], [25, [], mine])
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
        compare([shownValues(page), stored(), page.isSave], [row.shown, row.shown, false])
        sentAs(4, row.shown)
    }

    // The sensor's range from the global file: an unusable one keeps the page's, so the sliders never divide by zero.
    function test_sensorRange_data() {
        return [
            { tag: "100..12000 by 100", keys: ["100", "12000", "100"], range: [100, 12000, 100],
              positions: [9, 15, 22, 29, 42, 55, 69, 82] },
            { tag: "maxDPI below minDPI, dpiBase 0", keys: ["6000", "200", "0"], range: [200, 6000, 50],
              positions: [12, 25, 39, 53, 80, 107, 134, 162] },
        ]
    }
    function test_sensorRange(row) {
        ["minDPI", "maxDPI", "dpiBase"].forEach((key, i) => ui_View.setGlobalData("mouse/" + key, row.keys[i]))
        var page = open()
        compare([page.minDPI, page.maxDPI, page.dpiBase], row.range)
        compare([stages.map(i => slider(page, i).knobPosition), shownValues(page)], [row.positions, shipped])
    }

    // Through the shell: three stages, a slider moved by a key, Save stores all eight values and the count and
    // sends mouseSetDpi(3, …); the stage the mouse's DPI button chooses is drawn orange at once, the others blue.
    function test_shell() {
        var component = Qt.createComponent("qrc:/modules/qml/main.qml")
        compare(component.status, Component.Ready, component.errorString())
        var root = createTemporaryObject(component, testCase)
        root.initUI()
        root.setProtectUI(0)
        tryCompare(child(root, "envItem"), "visible", true)
        var page = child(root, "dpiSettingMain")
        testRig.clearFrames()
        compare([listEntries(page), shownStages(page)], [["1", "2", "3", "4"], 4])
        chooseCount(page, 3)
        slider(page, 2).forceActiveFocus()
        keyClick(Qt.Key_PageUp)
        compare([shownStages(page), root.hasUnsaved, testRig.frames()], [3, true, []])
        mouseClick(child(root, "saveButton"))
        var values = [500, 1000, 2000, 2000, 3000, 4000, 5000, 6000]
        compare([page.isSave, stored(), Number(ui_View.getData("mouse/currentDpiCount", false))], [false, values, 3])
        sentAs(3, values)
        var fills = () => stages.slice(0, 3).map(i => String(child(slider(page, i), "fill").color))
        root.setCurrentDPI(2)
        compare(fills(), ["#09347f", "#cf3e00", "#09347f"])
        root.setCurrentDPI(0) // no stage: the page stays
        compare(fills(), ["#09347f", "#cf3e00", "#09347f"])
    }
}
