import QtQuick
import QtTest
import modules.qml

// The drop-down list: opening and closing, clicks ignored while it moves, choosing a row by a click or by keys.
TestCase {
    id: testCase
    name: "DropDownList"
    width: 300; height: 400
    when: windowShown
    visible: true // a TestCase is hidden by default; its controls need clicks

    function init() { failOnWarning(/./) } // any warning (a negative animation time, say) fails the test

    Component { id: listComponent; DropDownList { x: 20; y: 20; currentSelect: 1; mdItems: ListModel {} } }

    // A list of count entries "Entry i"; log: "click" per btnClick, [index, the list's height] per valueChange.
    property var log: []
    function make(count) {
        var drop = createTemporaryObject(listComponent, testCase), log = testCase.log = []
        for (var i = 0; i < count; ++i)
            drop.mdItems.append({ textValue: "Entry " + i })
        drop.btnClick.connect(() => log.push("click"))
        drop.valueChange.connect(i => log.push([i, findChild(drop, "dropArea").height]))
        return drop
    }

    // 24 px a row, 240 at most (maxRows 10), a scroll bar beyond that; 40 rows would give a negative animation time.
    function test_toggle_data() {
        return [["click opens", 4, "click", true], ["second click closes", 4, "click wait click", false],
                ["click while opening: ignored", 4, "click click", true], ["closeMenu", 4, "click wait close", false],
                ["click while closing: ignored", 4, "click wait click click", false], ["no entries", 0, "click", true],
                ["Tab, Space opens", 4, "tab Space", true], ["Return, Escape", 4, "tab Return wait Escape", false],
                ["10 entries", 10, "click", true], ["11 entries", 11, "click", true], ["40 entries", 40, "click", true],
                ["8 rows at most, 8 entries", 8, "click", true, 8], ["8 rows at most, 9 entries", 9, "click", true, 8]]
            .map(([tag, count, steps, open, rows = 10]) => ({ tag, count, steps: steps.split(" "), open, rows }))
    }
    function test_toggle(row) {
        var drop = make(row.count), area = findChild(drop, "dropArea"), full = 24 * Math.min(row.rows, row.count)
        drop.maxRows = row.rows
        var wait = () => tryCompare(area, "height", drop.isDrop ? full : 0), bar = findChild(drop, "scrollBar")
        var acts = { click: () => mouseClick(drop, 20, 12), close: drop.closeMenu, wait,
                     tab: () => { testCase.forceActiveFocus(); keyClick(Qt.Key_Tab); verify(drop.activeFocus, "Tab") } }
        row.steps.forEach(s => s in acts ? acts[s]() : keyClick(Qt["Key_" + s])) // the rest are keys
        compare(drop.isDrop, row.open)
        compare(testCase.log, row.steps.filter(s => ["click", "Space", "Return"].includes(s)).map(() => "click"))
        wait()
        compare([area.visible, bar.visible], [full > 0, row.count > row.rows].map(v => v && row.open))
    }

    // A chosen row is selected, closes the list and is reported once it has closed. Steps: a row to click, or keys.
    function test_choose_data() {
        return [["click a row", 5, "3", 3], ["the selection", 5, "1", 1], ["Down twice", 5, "Down Down Return", 3],
                ["Up stops at the top", 5, "Up Up Return", 0], ["Down stops at the end", 3, "Down Down Down Return", 2],
                ["closing: no choice", 5, "3 1", 3], ["Down scrolls 40 rows", 40, "Down ".repeat(30) + "Return", 31]]
            .map(([tag, count, steps, index]) => ({ tag, count, steps: steps.split(" "), index }))
    }
    function test_choose(row) {
        var drop = make(row.count), list = findChild(drop, "list")
        drop.forceActiveFocus()
        keyClick(Qt.Key_Space)
        tryCompare(findChild(drop, "dropArea"), "height", Math.min(240, 24 * row.count))
        row.steps.forEach(s => isNaN(s) ? keyClick(Qt["Key_" + s]) : mouseClick(drop, 55, 36 + 24 * s))
        compare([drop.currentSelect, drop.textValue, drop.isDrop], [row.index, "Entry " + row.index, false])
        verify(list.contentY >= 24 * (row.index + 1) - 240 && list.contentY <= 24 * row.index, "row in view")
        tryCompare(testCase, "log", ["click", [row.index, 0]])
    }
}
