import QtQuick
import QtTest
import modules.qml

// The drop-down slider and grid: opening and closing, clicks ignored while they move, the slider inside, and choosing
// the grid's cells.
TestCase {
    id: testCase
    name: "DropDownSliderGrid"
    width: 500
    height: 300
    when: windowShown
    visible: true // a TestCase is hidden by default; its controls need clicks

    function init() { failOnWarning(/./) } // a binding gone wrong or an animation refusing a value fails the test

    Component { id: sliderComponent; DropDownSlider { x: 20; y: 20; textValue: "800" } }
    Component { id: gridComponent; DropDownGrid { x: 20; y: 20 } }
    Component { id: modelComponent; ListModel {} }

    // A grid of count entries (texts, or "Entry i"), or a slider; clicks counts its btnClick.
    property int clicks: 0
    function make(kind, count, texts, props) {
        var p = props || {}
        if (kind === "grid") {
            p.mdItems = createTemporaryObject(modelComponent, testCase)
            for (var i = 0; i < count; ++i)
                p.mdItems.append({ textValue: texts ? texts[i] : "Entry " + i })
        }
        var drop = createTemporaryObject(kind === "grid" ? gridComponent : sliderComponent, testCase, p)
        testCase.clicks = 0
        drop.btnClick.connect(() => ++testCase.clicks)
        return drop
    }
    function part(drop) { return findChild(drop, "strip") ?? findChild(drop, "dropArea") }

    // Clicks on the field, or Space after Tab, open and close the dropped part to its full height: whole rows for the
    // grid, whose animation time would be negative with 20 entries. Only the slider's field signals btnClick.
    function test_toggle_data() {
        var rows = []
        for (var [kind, count, height] of [["slider", 0, 24], ["grid", 4, 48]]) {
            var row = (tag, steps, isDrop) => rows.push({ tag: kind + ": " + tag, kind, count, height, steps, isDrop })
            row("click opens", ["click"], true)
            row("second click closes", ["click", "wait", "click"], false)
            row("click while opening is ignored", ["click", "click"], true)
            row("click while closing is ignored", ["click", "wait", "click", "click"], false)
            row("closeMenu closes", ["click", "wait", "close"], false)
            row("space after Tab opens", ["tab", "space"], true)
        }
        for (var [count, height] of [[3, 24], [20, 168]])
            rows.push({ tag: "grid of " + count, kind: "grid", count, height, steps: ["click"], isDrop: true })
        return rows
    }
    function test_toggle(row) {
        var drop = make(row.kind, row.count)
        var acts = { click: () => mouseClick(drop, 20, 12), close: drop.closeMenu, space: () => keyClick(Qt.Key_Space),
                     tab: () => { testCase.forceActiveFocus(); keyClick(Qt.Key_Tab); verify(drop.activeFocus, "Tab") },
                     wait: () => tryCompare(part(drop), "height", drop.isDrop ? row.height : 0) }
        row.steps.forEach(step => acts[step]())
        compare(drop.isDrop, row.isDrop)
        var fieldClicks = row.steps.filter(s => s === "click" || s === "space").length
        compare(testCase.clicks, row.kind === "slider" ? fieldClicks : 0, "btnClick")
        tryCompare(part(drop), "height", row.isDrop ? row.height : 0)
        compare([part(drop).visible, findChild(drop, "arrow").rotation], [row.isDrop, row.isDrop ? 180 : 0])
    }

    // The slider is 16 px narrower than the field: 94 px in a 110 px field reports 3 to 79; its positions and drags
    // are passed on, its clicks not.
    function test_innerSlider() {
        var drop = make("slider"), slider = drop.sliderControl, log = []
        drop.valueChange.connect(v => log.push("change " + v))
        drop.dragSignal.connect(isDrag => log.push(isDrag ? "drag" : "drop"))
        drop.setValue(1)
        mouseClick(drop, 20, 12)
        tryCompare(part(drop), "height", 24)
        mouseClick(slider, -3, 3)
        tryVerify(() => log.length === 2)
        mouseClick(slider, 96, 3)
        tryVerify(() => log.length === 3)
        mouseDrag(slider, 85, 3, -20, 0)
        var ends = [...log.slice(0, 4), ...log.slice(-2)]
        compare(ends, ["change 80", "change 3", "change 79", "drag", "change 59", "drop"])
        compare(testCase.clicks, 1, "only clicks on the field signal btnClick")
    }

    // A cell chosen by a click, or by Tab and Return, selects it, closes the grid and signals, unless its text is
    // empty.
    function test_choose_data() {
        return [["a cell with text", 4, true, "Wave"], ["an empty cell does nothing", 5, false, "Breath"],
                ["the selected cell again", 1, true, "Breath"], ["Tab and Return", 2, true, "Neon", true]]
            .map(([tag, cell, taken, text, key]) => ({ tag, cell, taken, text, key }))
    }
    function test_choose(row) {
        var grid = make("grid", 6, ["Off", "Breath", "Neon", "Flash", "Wave", ""], { currentSelect: 1 })
        mouseClick(grid, 20, 12)
        tryCompare(part(grid), "height", 48)
        if (row.key) {
            grid.forceActiveFocus()
            for (var i = 0; i <= row.cell; ++i)
                keyClick(Qt.Key_Tab)
            verify(findChild(grid, "cell" + row.cell).activeFocus, "Tab reaches the cell")
            keyClick(Qt.Key_Return)
        } else {
            mouseClick(grid, 110 * (row.cell % 3) + 55, 36 + 24 * Math.floor(row.cell / 3))
        }
        compare([grid.currentSelect, grid.textValue], [row.taken ? row.cell : 1, row.text])
        compare([testCase.clicks, grid.isDrop], [row.taken ? 1 : 0, !row.taken])
        tryCompare(part(grid), "height", row.taken ? 0 : 48)
    }

    // The field's text follows the selection and the model.
    function test_text() {
        var grid = make("grid", 3, ["Off", "Breath", "Neon"], { currentSelect: 2 })
        grid.mdItems.setProperty(2, "textValue", "Neon light")
        compare(grid.textValue, "Neon light")
        grid.currentSelect = 0
        compare([grid.textValue, grid.Accessible.name], ["Off", "Off"])
    }
}
