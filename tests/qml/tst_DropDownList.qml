import QtQuick
import QtTest
import "../../modules/qml/basic"

// The drop-down list: opening and closing to at most ten rows, clicks ignored
// while it moves, and choosing a row by a click or by keys.
TestCase {
    id: testCase
    name: "DropDownList"
    width: 300
    height: 400
    when: windowShown
    visible: true // a TestCase is hidden by default; its controls need clicks

    // Any warning (a binding gone wrong, a negative animation time) fails the test.
    function init() { failOnWarning(/./) }

    Component { id: listComponent; DropDownList { x: 20; y: 20; currentSelect: 1 } }
    Component { id: modelComponent; ListModel {} }

    // A list of count entries "Entry i"; log holds "click" for btnClick and
    // [index, the list's height] for valueChange.
    property var log: []
    function make(count) {
        var model = createTemporaryObject(modelComponent, testCase)
        for (var i = 0; i < count; ++i)
            model.append({ textValue: "Entry " + i })
        var drop = createTemporaryObject(listComponent, testCase, { mdItems: model })
        testCase.log = []
        drop.btnClick.connect(() => testCase.log.push("click"))
        drop.valueChange.connect(i => testCase.log.push([i, findChild(drop, "dropArea").height]))
        return drop
    }

    // The list opens to 24 px a row, 240 at most, with a scroll bar beyond ten
    // rows; 40 rows would make the animation time negative.
    function test_toggle_data() {
        var rows = [], row = (tag, count, steps, isDrop) => rows.push({ tag, count, steps, isDrop })
        row("click opens", 4, ["click"], true)
        row("second click closes", 4, ["click", "wait", "click"], false)
        row("click while opening is ignored", 4, ["click", "click"], true)
        row("click while closing is ignored", 4, ["click", "wait", "click", "click"], false)
        row("closeMenu closes", 4, ["click", "wait", "close"], false)
        row("Space after Tab opens, Escape closes", 4, ["tab", "space", "wait", "escape"], false)
        row("Return opens", 4, ["tab", "return"], true)
        for (var count of [0, 10, 11, 40])
            row(count + " entries", count, ["click"], true)
        return rows
    }
    function test_toggle(row) {
        var drop = make(row.count), area = findChild(drop, "dropArea"), full = Math.min(240, 24 * row.count)
        var key = k => () => keyClick(k), wait = () => tryCompare(area, "height", drop.isDrop ? full : 0)
        var tab = () => { testCase.forceActiveFocus(); keyClick(Qt.Key_Tab); verify(drop.activeFocus, "Tab") }
        var acts = { click: () => mouseClick(drop, 20, 12), close: drop.closeMenu, tab, wait, space: key(Qt.Key_Space),
                     return: key(Qt.Key_Return), escape: key(Qt.Key_Escape) }
        for (var step of row.steps)
            acts[step]()
        compare(drop.isDrop, row.isDrop)
        compare(testCase.log, row.steps.filter(s => ["click", "space", "return"].includes(s)).map(() => "click"))
        wait()
        compare([area.visible, findChild(drop, "scrollBar").visible], [row.isDrop && row.count > 0, row.isDrop && row.count > 10])
    }

    // A chosen row is selected and closes the list; valueChange carries it once
    // the list has closed. Arrows stop at the ends and scroll a long list.
    function test_choose_data() {
        var down = n => Array(n).fill(Qt.Key_Down)
        return [
            { tag: "click on a row", count: 5, click: 3, index: 3 },
            { tag: "click on the selected row", count: 5, click: 1, index: 1 },
            { tag: "Down twice and Return", count: 5, keys: down(2), index: 3 },
            { tag: "Up stops at the first row", count: 5, keys: [Qt.Key_Up, Qt.Key_Up], index: 0 },
            { tag: "Down stops at the last row", count: 3, keys: down(3), index: 2 },
            { tag: "Down scrolls 20 rows", count: 20, keys: down(15), index: 16 },
            { tag: "Down scrolls 40 rows", count: 40, keys: down(30), index: 31 },
        ]
    }
    function test_choose(row) {
        var drop = make(row.count), list = findChild(drop, "list")
        drop.forceActiveFocus()
        keyClick(Qt.Key_Space)
        tryCompare(findChild(drop, "dropArea"), "height", Math.min(240, 24 * row.count))
        for (var key of row.keys ? row.keys.concat(Qt.Key_Return) : [])
            keyClick(key)
        if (!row.keys)
            mouseClick(drop, 55, 36 + 24 * row.click)
        compare([drop.currentSelect, drop.textValue, drop.isDrop], [row.index, "Entry " + row.index, false])
        verify(list.contentY >= 24 * (row.index + 1) - 240 && list.contentY <= 24 * row.index, "row in view")
        tryVerify(() => testCase.log.length === 2)
        compare(testCase.log, ["click", [row.index, 0]])
    }
}
