import QtQuick
import QtTest
import "../../modules/qml/Q7"

// The lighting panel against the real view and the virtual mouse (command set
// 553): what the profile and the mouse hold after choosing effects, picking
// and typing colours, the back button and Save, for each kind of mouse. The
// mouse's frames: 0d effect, 10 colour table, 0c single colour.
TestCase {
    id: testCase
    name: "LightControl"
    width: 1024; height: 640
    when: windowShown
    visible: true

    function init() {
        failOnWarning(/./)
    }

    Component { id: pageComponent; LightControl {} }

    readonly property var mice: ({
        plain: { isColorful: false, is55328: false, is571: false },
        colorful: { isColorful: true, is55328: false, is571: false },
        m55328: { isColorful: false, is55328: true, is571: false },
        m571: { isColorful: true, is55328: false, is571: true },
    })

    // A mouse of that kind with the page as the shell has it after start-up.
    function open(kind, dpiCount) {
        var flags = mice[kind]
        var keys = {}
        for (const name in flags)
            keys[name] = flags[name] ? "true" : "false"
        testRig.restart(keys)
        var props = Object.assign({ dpiCount: dpiCount === undefined ? 3 : dpiCount }, flags)
        var page = createTemporaryObject(pageComponent, testCase, props)
        page.init(false, false)
        testRig.clearFrames()
        return page
    }
    function child(page, name) {
        var item = findChild(page, name)
        verify(item !== null, "no item " + name)
        return item
    }
    function commands() { return testRig.frames().map(f => f.slice(0, 2)) }
    function stored(key) { return ui_View.getDataList(key, false).map(Number) }
    function mouse(field) { return testRig.mouseState()[field] }

    // Chooses an effect as a user does, through the list.
    function choose(page, index) {
        var list = page.lightModel
        list.forceActiveFocus()
        keyClick(Qt.Key_Space)
        tryCompare(list, "isDrop", true)
        for (var i = 0; i < index - list.currentSelect; ++i)
            keyClick(Qt.Key_Down)
        for (var j = 0; j < list.currentSelect - index; ++j)
            keyClick(Qt.Key_Up)
        keyClick(Qt.Key_Return)
        tryCompare(list, "isDrop", false)
        tryCompare(list, "currentSelect", index)
        tryCompare(list, "pendingChoice", -1) // reported once the list has closed
        verify(page.isSave)
    }
    function type(text) {
        for (const c of text)
            keyClick(c)
    }
    function edit(input, text) {
        input.forceActiveFocus()
        input.selectAll()
        keyClick(Qt.Key_Delete)
        type(text)
    }
    function fields(page) {
        return ["settingColorR", "settingColorG", "settingColorB"].map(n => child(page, n).textValue)
            .concat([child(page, "settingColorHex").text])
    }
    function shown(page) {
        return [child(page, "rateContainer").visible, child(page, "lightnessContainer").visible,
                child(page, "colorMask").visible, page.height]
    }
    function blocksShown(page) {
        var out = ""
        for (var i = 0; i < 12; ++i)
            out += child(page, "colorBlock" + i).visible ? "1" : "0"
        return out
    }

    // Loading takes the profile's effect, steps and colours, and sends only
    // when asked.
    function test_load() {
        var page = open("colorful")
        ui_View.setDataList("mouse/lightValue", [5, 2, 3])
        ui_View.setDataList("mouse/colorValue", [1, 2, 3].concat(new Array(33).fill(9)))
        page.init(false, false)
        compare([page.lightModel.currentSelect, child(page, "rateSlider").segmentValue,
                 child(page, "lightnessSlider").segmentValue], [5, 2, 3])
        compare([child(page, "rateLabel").text, child(page, "lightnessLabel").text], ["50%", "75%"])
        compare(shown(page), [true, true, true, 264]) // effect 5 shows both, masks the colours
        compare(fields(page), ["1", "2", "3", "#010203"])
        compare(page.lightModel.mdItems.count, 11)
        compare(commands(), [])
        page.init(true, false)
        compare(commands(), ["0d", "10", "10"])
        compare(mouse("ledEffect"), [5, 0xC0, 5])
    }

    // Choosing OFF on a plain mouse: no sliders, colours masked and deaf,
    // brightness step 0; nothing goes to the mouse until Save.
    function test_plainOff() {
        var page = open("plain")
        choose(page, 3)
        compare(shown(page), [false, false, true, 176])
        compare(page.isColorDisplay, false)
        compare(child(page, "lightnessSlider").segmentValue, 0)
        var selected = child(page, "colorBlockRow").selectColorBlock
        mouseClick(child(page, "colorBlock2"))
        compare(child(page, "colorBlockRow").selectColorBlock, selected)
        compare(commands(), [])
        page.saveData(true, 0)
        compare(stored("mouse/lightValue"), [3, 0, 0])
        compare(commands(), ["0d", "10", "10"])
        compare(mouse("ledEffect"), [0, 0, 2])
    }

    // The steps each choice sets on a plain mouse, and the page's height.
    function test_choose_data() {
        return [
            { tag: "Static: brightness 4", effect: 0, steps: [1, 4], shown: [false, true, false, 224] },
            { tag: "Breath: speed 0", effect: 1, steps: [0, 2], shown: [true, false, false, 224] },
            { tag: "Neon: speed 0, masked", effect: 2, steps: [0, 2], shown: [true, false, true, 224] },
        ]
    }
    function test_choose(row) {
        var page = open("plain")
        ui_View.setDataList("mouse/lightValue", [3, 1, 2])
        page.init(false, false)
        choose(page, row.effect)
        compare([child(page, "rateSlider").segmentValue, child(page, "lightnessSlider").segmentValue], row.steps)
        compare(shown(page), row.shown)
    }

    // A plain mouse shows one block per DPI stage; one with colour effects
    // the first eight.
    function test_blocks_data() {
        return [
            { tag: "plain, three stages", kind: "plain", dpiCount: 3, want: "111000000000" },
            { tag: "plain, five stages", kind: "plain", dpiCount: 5, want: "111110000000" },
            { tag: "isColorful, one stage", kind: "colorful", dpiCount: 1, want: "111111110000" },
        ]
    }
    function test_blocks(row) {
        var page = open(row.kind, row.dpiCount)
        compare(blocksShown(page), row.want)
        page.saveData(false, 2)
        compare(stored("mouse/colorValue").length, 36)
    }

    // A block chosen shows its slider and its colour in the fields.
    function test_selectBlock() {
        var page = open("plain")
        mouseClick(child(page, "colorBlock2"))
        compare(child(page, "colorBlockRow").selectColorBlock, 2)
        verify(child(page, "slider2").visible && !child(page, "slider0").visible)
        compare(fields(page), ["0", "0", "255", "#0000ff"])
        compare(child(page, "slider2").x, 16 + 132 + 1 - 9) // blue: start of segment 4
        verify(!page.isSave)
    }

    // Colour 8 of a mouse with is55328 is off unless the effect is 4, and
    // the mouse then takes the first colour as its single colour.
    function test_colour8_data() {
        return [
            { tag: "effect 2: off", effect: 2, eighth: [0, 0, 0], commands: ["0d", "0c"] },
            { tag: "effect 4: kept", effect: 4, eighth: [16, 32, 48], commands: ["0d", "10"] },
        ]
    }
    function test_colour8(row) {
        var page = open("m55328")
        compare(page.lightModel.mdItems.count, 5)
        page.setColor(7, "#102030")
        choose(page, row.effect)
        compare(blocksShown(page), row.effect === 4 ? "111111100000" : "100000000000")
        page.saveData(true, 0)
        compare(stored("mouse/colorValue").slice(21, 24), row.eighth)
        compare(commands(), row.commands)
        if (row.effect === 4)
            compare(mouse("colourTable").slice(21, 24), row.eighth)
        else
            compare(mouse("fixedColour"), [255, 0, 0])
        compare(page.blockColors[7], "#102030") // the page keeps it for effect 4 later
    }

    // Back shows the factory values and asks for Save; the mouse and the
    // profile stay as they were until then.
    function test_back() {
        var page = open("colorful")
        ui_View.setDataList("mouse/lightValue", [6, 3, 1])
        ui_View.setDataList("mouse/colorValue", new Array(36).fill(7))
        page.init(false, false)
        var back = child(page, "backBtn")
        compare([back.Accessible.role, back.Accessible.name], [Accessible.Button, "Back"])
        mouseClick(back)
        compare([page.lightModel.currentSelect, child(page, "rateSlider").segmentValue,
                 child(page, "lightnessSlider").segmentValue], [1, 0, 4])
        compare(page.blockColors[0], "#ff0000")
        verify(page.isSave)
        compare(page.lightModel.mdItems.count, 11)
        compare(commands(), [])
        compare(stored("mouse/lightValue"), [6, 3, 1])
        page.saveData(true, 0)
        compare(stored("mouse/lightValue"), [1, 0, 4])
        compare(stored("mouse/colorValue"), ui_View.getDataList("mouse/colorValue", true).map(Number))
        compare(commands(), ["0d", "10", "10"])
    }

    // Typed R, G, B and hex move the slider, colour the block and stay in
    // step with each other.
    function test_entry_data() {
        return [
            { tag: "R G B", field: "RGB", text: ["0", "255", "0"], want: ["0", "255", "0", "#00ff00"], slider: 66 },
            { tag: "R emptied", field: "R", text: "", want: ["0", "0", "0", "#000000"], slider: 0 },
            { tag: "hex", field: "Hex", text: "#0000ff", want: ["0", "0", "255", "#0000ff"], slider: 132 },
            { tag: "hex upper case, no #", field: "Hex", text: "FFFF00", want: ["255", "255", "0", "#ffff00"],
              slider: 33 },
            // An unfinished hex is no colour: leaving shows the colour again.
            { tag: "hex unfinished", field: "Hex", text: "#12", want: ["255", "0", "0", "#ff0000"], slider: 0,
              unchanged: true },
        ]
    }
    function test_entry(row) {
        var page = open("colorful")
        if (row.field === "RGB") {
            ["R", "G", "B"].forEach((name, i) => edit(child(page, "settingColor" + name).txtInput, row.text[i]))
        } else {
            var item = child(page, "settingColor" + row.field)
            edit(row.field === "Hex" ? item : item.txtInput, row.text)
        }
        page.lightControlFocus()
        compare(fields(page), row.want)
        compare(page.blockColors[0], row.want[3])
        compare(child(page, "slider0").x, 16 + row.slider + 1 - 9)
        compare(page.isSave, !row.unchanged)
        compare(commands(), [])
        page.saveData(true, 2)
        compare(mouse("colourTable").slice(0, 3), row.want.slice(0, 3).map(Number))
    }

    // Dragging a slider colours the block as it goes; Save is asked for on
    // release. The keys move it a pixel, or ten.
    function test_dragAndKeys() {
        var page = open("colorful")
        var slider = child(page, "slider0")
        compare(slider.x, 8)
        var at = slider.mapToItem(page, 9, 10)
        mousePress(page, at.x, at.y)
        mouseMove(page, at.x + 33, at.y)
        mouseMove(page, at.x + 66, at.y)
        compare(page.blockColors[0], "#00ff00")
        verify(!page.isSave)
        mouseRelease(page, at.x + 66, at.y)
        verify(page.isSave)
        slider.forceActiveFocus()
        keyClick(Qt.Key_PageUp)
        compare(slider.x, 8 + 76)
        keyClick(Qt.Key_End)
        compare([slider.x, page.blockColors[0]], [206, "#ffffff"])
        keyClick(Qt.Key_Home)
        compare([slider.x, page.blockColors[0]], [8, "#ff0000"])
        compare(fields(page), ["255", "0", "0", "#ff0000"])
        compare(commands(), [])
    }

    // The step sliders move one step a key and ask for Save.
    function test_stepKeys() {
        var page = open("colorful")
        ui_View.setDataList("mouse/lightValue", [5, 1, 1])
        page.init(false, false)
        var rate = child(page, "rateSlider")
        rate.forceActiveFocus()
        keyClick(Qt.Key_Right)
        compare([rate.segmentValue, child(page, "rateLabel").text, page.isSave], [2, "50%", true])
        child(page, "lightnessSlider").forceActiveFocus()
        keyClick(Qt.Key_Left)
        compare(child(page, "lightnessLabel").text, "0%")
        page.saveData(false, 1)
        compare(stored("mouse/lightValue"), [5, 2, 0])
    }

    // With is571 a single-colour effect shows slider S and the fixed colour,
    // which only this mouse is sent.
    function test_single571() {
        var page = open("m571")
        compare(page.lightModel.mdItems.count, 27)
        ui_View.setDataList("mouse/fixColor", [0, 0, 255])
        page.init(false, false)
        choose(page, 4)
        compare([page.is571ColorBlock, child(page, "colorBlockRow").selectColorBlock], [false, -1])
        compare([child(page, "rateSlider").segmentValue, child(page, "lightnessSlider").segmentValue], [4, 4])
        verify(child(page, "sliderSingle").visible)
        compare(blocksShown(page), "000000000000")
        compare(fields(page), ["0", "0", "255", "#0000ff"])
        edit(child(page, "settingColorHex"), "#00ff00")
        page.lightControlFocus()
        compare(page.blockColors[0], "#ff0000")
        choose(page, 2)
        compare(blocksShown(page), "111111111111")
        compare(fields(page), ["255", "0", "0", "#ff0000"])
        page.saveData(true, 0)
        compare(stored("mouse/fixColor"), [0, 255, 0])
        compare(commands(), ["0d", "10", "0c"])
        compare(mouse("fixedColour"), [0, 255, 0])
    }

    // What the profile holds that is no usable value shows as the built-in
    // value; nothing that is no number is shown, stored or sent.
    function test_badStored_data() {
        return [
            { tag: "no numbers", light: ["x", "y", "z"], colors: ["a", "b"], fix: ["c"], want: [1, 0, 4],
              first: "#ff0000", fix0: "#ff0000" },
            { tag: "short", light: ["2"], colors: ["1", "2"], fix: ["0", "9"], want: [2, 0, 4], first: "#010200",
              fix0: "#000900" },
            { tag: "effect past the list, long", light: ["99", "1", "1", "5"], colors: new Array(40).fill("3"),
              fix: ["1", "2", "3", "4"], want: [1, 1, 1], first: "#030303", fix0: "#010203" },
        ]
    }
    function test_badStored(row) {
        var page = open("plain")
        ui_View.setDataList("mouse/lightValue", row.light)
        ui_View.setDataList("mouse/colorValue", row.colors)
        ui_View.setDataList("mouse/fixColor", row.fix)
        page.init(true, false)
        compare([page.lightModel.currentSelect, child(page, "rateSlider").segmentValue,
                 child(page, "lightnessSlider").segmentValue], row.want)
        compare([page.blockColors[0], page.fixColor], [row.first, row.fix0])
        compare(stored("mouse/lightValue"), row.want)
        var colours = ui_View.getDataList("mouse/colorValue", false)
        compare(colours.length, 36)
        verify(colours.every(c => String(c) !== "" && isFinite(Number(c))), String(colours))
        compare(ui_View.getDataList("mouse/fixColor", false).length, 3)
        verify(fields(page).every(t => t !== "" && t.indexOf("NaN") < 0 && t.indexOf("undefined") < 0))
        compare(commands(), ["0d", "10", "10"])
    }

    // Every control a user reaches is named for assistive technology.
    function test_accessible() {
        var page = open("colorful")
        var roles = [["lightModel", Accessible.ComboBox], ["rateSlider", Accessible.Slider],
                     ["lightnessSlider", Accessible.Slider], ["colorBlock0", Accessible.RadioButton],
                     ["slider0", Accessible.Slider], ["settingColorHex", Accessible.EditableText]]
        roles.forEach(([name, role]) => {
            var item = child(page, name)
            compare(item.Accessible.role, role, name)
            verify(item.Accessible.name !== "", name)
            verify(item.activeFocusOnTab, name)
        })
        compare(child(page, "rateSlider").Accessible.name, "Speed")
        compare(child(page, "colorBlock0").Accessible.name, "Color 1")
        child(page, "colorBlock1").forceActiveFocus()
        keyClick(Qt.Key_Space)
        compare(child(page, "colorBlockRow").selectColorBlock, 1)
    }
}
