import QtQuick
import QtTest
import modules.qml

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

    // Kinds of mouse by isColorful, is55328, is571.
    readonly property var mice: ({ plain: [0, 0, 0], colorful: [1, 0, 0], m55328: [0, 1, 0], m571: [1, 0, 1] })

    // A mouse of that kind with the page as the shell has it after start-up.
    function open(kind, dpiCount) {
        var flags = {}, keys = {}
        for (const [i, name] of ["isColorful", "is55328", "is571"].entries())
            keys[name] = String(flags[name] = !!mice[kind][i])
        testRig.restart(keys)
        var page = createTemporaryObject(pageComponent, testCase, Object.assign({ dpiCount: dpiCount || 3 }, flags))
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

    // Chooses an effect as a user does, through the list.
    function choose(page, index) {
        var list = page.lightModel
        list.forceActiveFocus()
        keyClick(Qt.Key_Space)
        tryCompare(list, "isDrop", true)
        for (var n = index - list.currentSelect; n !== 0; n -= Math.sign(n))
            keyClick(n > 0 ? Qt.Key_Down : Qt.Key_Up)
        keyClick(Qt.Key_Return)
        tryCompare(list, "isDrop", false)
        tryCompare(list, "currentSelect", index)
        tryCompare(list, "pendingChoice", -1) // reported once the list has closed
        verify(page.isSave)
    }
    function edit(input, text) {
        input.forceActiveFocus()
        input.selectAll()
        keyClick(Qt.Key_Delete)
        for (const c of text)
            keyClick(c)
    }
    function steps(page) {
        return [page.lightModel.currentSelect, child(page, "rateSlider").segmentValue,
                child(page, "lightnessSlider").segmentValue]
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
        return [...Array(12).keys()].map(i => child(page, "colorBlock" + i).visible ? "1" : "0").join("")
    }

    // Loading takes the profile's effect, steps and colours, and sends only
    // when asked. The step sliders move one step a key and ask for Save.
    function test_load() {
        var page = open("colorful")
        ui_View.setDataList("mouse/lightValue", [5, 2, 3])
        ui_View.setDataList("mouse/colorValue", [1, 2, 3].concat(new Array(33).fill(9)))
        page.init(false, false)
        // effect 5 shows both sliders and masks the colours
        compare([steps(page), shown(page), fields(page), commands()],
                [[5, 2, 3], [true, true, true, 264], ["1", "2", "3", "#010203"], []])
        page.init(true, false)
        compare(commands(), ["0d", "10", "10"])
        child(page, "rateSlider").forceActiveFocus()
        keyClick(Qt.Key_Right)
        compare([child(page, "rateSlider").segmentValue, page.isSave], [3, true])
        child(page, "lightnessSlider").forceActiveFocus()
        keyClick(Qt.Key_Left)
        page.saveData(false, 1)
        compare(stored("mouse/lightValue"), [5, 3, 2])
    }

    // Choosing on a plain mouse from Breath 1/2: the steps each choice sets
    // (-1 keeps), the page's height, masked colours deaf to clicks; nothing
    // goes to the mouse until Save.
    function test_choose_data() {
        return [
            { tag: "Static: brightness 4", effect: 0, steps: [1, 4], shown: [false, true, false, 224] },
            { tag: "Neon: speed 0, masked", effect: 2, steps: [0, 2], shown: [true, false, true, 224] },
            { tag: "OFF: brightness 0", effect: 3, steps: [1, 0], shown: [false, false, true, 176] },
        ]
    }
    function test_choose(row) {
        var page = open("plain")
        ui_View.setDataList("mouse/lightValue", [1, 1, 2])
        page.init(false, false)
        choose(page, row.effect)
        compare([steps(page).slice(1), shown(page), page.isColorDisplay], [row.steps, row.shown, !row.shown[2]])
        var selected = child(page, "colorBlockRow").selectColorBlock
        mouseClick(child(page, "colorBlock2"))
        compare(child(page, "colorBlockRow").selectColorBlock, row.shown[2] ? selected : 2)
        compare(commands(), [])
        page.saveData(true, 0)
        compare([stored("mouse/lightValue"), commands()], [[row.effect].concat(row.steps), ["0d", "10", "10"]])
    }

    // A plain mouse shows one block per DPI stage; one with colour effects
    // the first eight.
    function test_blocks() {
        compare(blocksShown(open("plain", 5)), "111110000000")
        compare(blocksShown(open("colorful", 1)), "111111110000")
    }

    // Colour 8 of a mouse with is55328 is off unless the effect is 4.
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
        compare([stored("mouse/colorValue").slice(21, 24), commands()], [row.eighth, row.commands])
        compare(page.blockColors[7], "#102030") // the page keeps it for effect 4 later
    }

    // Back shows the factory values and asks for Save; the mouse and the
    // profile stay as they were until then.
    function test_back() {
        var page = open("colorful")
        ui_View.setDataList("mouse/lightValue", [6, 3, 1])
        ui_View.setDataList("mouse/colorValue", new Array(36).fill(7))
        page.init(false, false)
        mouseClick(child(page, "backBtn"))
        compare([steps(page), page.blockColors[0], page.isSave], [[1, 0, 4], "#ff0000", true])
        compare([page.lightModel.mdItems.count, commands(), stored("mouse/lightValue")], [11, [], [6, 3, 1]])
        page.saveData(true, 0)
        compare([stored("mouse/lightValue"), stored("mouse/colorValue"), commands()],
                [[1, 0, 4], ui_View.getDataList("mouse/colorValue", true).map(Number), ["0d", "10", "10"]])
    }

    // Typed R, G, B and hex move the slider, colour the block and stay in
    // step with each other.
    function test_entry_data() {
        return [
            { tag: "R G B", field: "RGB", text: ["0", "255", "0"], want: ["0", "255", "0", "#00ff00"], slider: 66 },
            { tag: "R emptied", field: "R", text: "", want: ["0", "0", "0", "#000000"], slider: 0 },
            { tag: "hex", field: "Hex", text: "#0000ff", want: ["0", "0", "255", "#0000ff"], slider: 132 },
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
        compare([fields(page), page.blockColors[0], child(page, "slider0").x, page.isSave, commands()],
                [row.want, row.want[3], 16 + row.slider + 1 - 9, !row.unchanged, []])
        page.saveData(true, 2)
        compare(stored("mouse/colorValue").slice(0, 3), row.want.slice(0, 3).map(Number))
    }

    // Dragging a slider colours the block as it goes; Save is asked for on
    // release. The keys move it a pixel, or ten.
    function test_dragAndKeys() {
        var page = open("colorful")
        var slider = child(page, "slider0")
        var at = slider.mapToItem(page, 9, 10)
        mousePress(page, at.x, at.y)
        mouseMove(page, at.x + 33, at.y)
        mouseMove(page, at.x + 66, at.y)
        compare([page.blockColors[0], page.isSave], ["#00ff00", false])
        mouseRelease(page, at.x + 66, at.y)
        verify(page.isSave)
        slider.forceActiveFocus()
        keyClick(Qt.Key_PageUp)
        compare(slider.x, 8 + 76)
        keyClick(Qt.Key_End)
        compare([slider.x, page.blockColors[0]], [206, "#ffffff"])
        keyClick(Qt.Key_Home)
        compare([slider.x, page.blockColors[0], fields(page), commands()],
                [8, "#ff0000", ["255", "0", "0", "#ff0000"], []])
    }

    // With is571 a single-colour effect shows slider S and the fixed colour,
    // which only this mouse is sent.
    function test_single571() {
        var page = open("m571")
        compare(page.lightModel.mdItems.count, 27)
        ui_View.setDataList("mouse/fixColor", [0, 0, 255])
        page.init(false, false)
        choose(page, 4)
        compare([steps(page), child(page, "sliderSingle").visible, blocksShown(page), fields(page)],
                [[4, 4, 4], true, "000000000000", ["0", "0", "255", "#0000ff"]])
        edit(child(page, "settingColorHex"), "#00ff00")
        page.lightControlFocus()
        compare(page.blockColors[0], "#ff0000")
        choose(page, 2)
        compare([blocksShown(page), fields(page)], ["111111111111", ["255", "0", "0", "#ff0000"]])
        page.saveData(true, 0)
        compare([stored("mouse/fixColor"), commands()], [[0, 255, 0], ["0d", "10", "0c"]])
    }

    // What the profile holds that is no usable value shows as the built-in
    // value; nothing that is no number is shown, stored or sent.
    function test_badStored_data() {
        return [
            ["no numbers", ["x", "y", "z"], ["a", "b"], ["c"], [1, 0, 4], "#ff0000", "#ff0000"],
            ["short", ["2"], ["1", "2"], ["0", "9"], [2, 0, 4], "#010200", "#000900"],
            ["effect past the list, long", ["99", "1", "1", "5"], new Array(40).fill("3"), ["1", "2", "3", "4"],
             [1, 1, 1], "#030303", "#010203"],
        ].map(([tag, light, colors, fix, want, first, fix0]) => ({ tag, light, colors, fix, want, first, fix0 }))
    }
    function test_badStored(row) {
        var page = open("plain")
        ui_View.setDataList("mouse/lightValue", row.light)
        ui_View.setDataList("mouse/colorValue", row.colors)
        ui_View.setDataList("mouse/fixColor", row.fix)
        page.init(true, false)
        compare([steps(page), page.blockColors[0], page.fixColor, stored("mouse/lightValue"), commands()],
                [row.want, row.first, row.fix0, row.want, ["0d", "10", "10"]])
        var colours = ui_View.getDataList("mouse/colorValue", false)
        compare([colours.length, ui_View.getDataList("mouse/fixColor", false).length], [36, 3])
        verify(colours.every(c => String(c) !== "" && isFinite(Number(c))), String(colours))
        verify(fields(page).every(t => t !== "" && t.indexOf("NaN") < 0 && t.indexOf("undefined") < 0))
    }

    // Every control a user reaches is named for assistive technology. A
    // block chosen by key shows its slider and its colour in the fields.
    function test_accessible() {
        var page = open("plain")
        var roles = [["lightModel", Accessible.ComboBox], ["rateSlider", Accessible.Slider],
                     ["lightnessSlider", Accessible.Slider], ["colorBlock0", Accessible.RadioButton],
                     ["slider0", Accessible.Slider], ["settingColorHex", Accessible.EditableText]]
        roles.forEach(([name, role]) => {
            var item = child(page, name)
            compare(item.Accessible.role, role, name)
            verify(item.Accessible.name !== "", name)
            verify(item.activeFocusOnTab, name)
        })
        child(page, "colorBlock2").forceActiveFocus()
        keyClick(Qt.Key_Space)
        compare(child(page, "colorBlockRow").selectColorBlock, 2)
        verify(child(page, "slider2").visible && !child(page, "slider0").visible)
        compare([fields(page), page.isSave], [["0", "0", "255", "#0000ff"], false])
        compare(child(page, "slider2").x, 16 + 132 + 1 - 9) // blue: start of segment 4
    }
}
