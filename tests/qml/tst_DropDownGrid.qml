import QtQuick
import QtTest
import "../../modules/qml/basic"

// The drop-down grid: its text, its size for any number of entries, choosing
// cells by mouse and key, and the cell colours.
TestCase {
    id: testCase
    name: "DropDownGrid"
    width: 500
    height: 300
    when: windowShown
    visible: true // a TestCase is hidden by default; its controls need clicks

    Component {
        id: gridComponent
        DropDownGrid {
            x: 20
            y: 20
        }
    }
    Component {
        id: modelComponent
        ListModel {}
    }

    SignalSpy { id: clickSpy; signalName: "btnClick" }

    function make(texts, props) {
        var model = createTemporaryObject(modelComponent, testCase)
        for (var text of texts)
            model.append({ textValue: text })
        var p = props || {}
        p.mdItems = model
        var grid = createTemporaryObject(gridComponent, testCase, p)
        verify(grid)
        clickSpy.clear()
        clickSpy.target = grid
        return grid
    }

    function open(grid) {
        mouseClick(grid, 20, 12)
        verify(grid.isDrop)
        tryCompare(findChild(grid, "dropArea"), "height", grid.gridHeight)
    }

    function cellCentre(grid, index) {
        return { x: grid.width * (index % 3) + grid.width / 2, y: 24 + 24 * Math.floor(index / 3) + 12 }
    }

    // Three columns of 24 px rows; a last row with fewer than three cells
    // still shows.
    function test_size_data() {
        return [
            { tag: "three entries", count: 3, height: 24 },
            { tag: "six entries", count: 6, height: 48 },
            { tag: "four entries, a partial last row", count: 4, height: 48 },
            { tag: "twenty entries, no negative animation time", count: 20, height: 168 },
        ]
    }
    function test_size(row) {
        var texts = []
        for (var i = 0; i < row.count; ++i)
            texts.push("Item " + i)
        var grid = make(texts)
        open(grid)
        compare(findChild(grid, "dropArea").height, row.height)
        compare(findChild(grid, "dropArea").width, grid.width * 3)
        var last = findChild(grid, "cell" + (row.count - 1))
        compare([last.width, last.height], [grid.width, 24])
        compare(clickSpy.count, 0, "clicks on the field do not signal")
    }

    function test_choose_data() {
        return [
            { tag: "a cell with text", cell: 4, chosen: 4, signals: 1, isDrop: false, text: "Wave" },
            { tag: "an empty cell does nothing", cell: 5, chosen: 1, signals: 0, isDrop: true, text: "Breath" },
            { tag: "the selected cell again", cell: 1, chosen: 1, signals: 1, isDrop: false, text: "Breath" },
        ]
    }
    function test_choose(row) {
        var grid = make(["Off", "Breath", "Neon", "Flash", "Wave", ""], { currentSelect: 1 })
        compare(grid.textValue, "Breath")
        open(grid)
        var at = cellCentre(grid, row.cell)
        mouseClick(grid, at.x, at.y)
        compare(grid.currentSelect, row.chosen)
        compare(grid.textValue, row.text)
        compare(clickSpy.count, row.signals)
        compare(grid.isDrop, row.isDrop)
        tryCompare(findChild(grid, "dropArea"), "height", row.isDrop ? 48 : 0)
    }

    function test_keys() {
        var grid = make(["Off", "Breath", "Neon"])
        grid.forceActiveFocus()
        keyClick(Qt.Key_Space)
        verify(grid.isDrop)
        tryCompare(findChild(grid, "dropArea"), "height", 24)
        keyClick(Qt.Key_Tab)
        keyClick(Qt.Key_Tab)
        verify(findChild(grid, "cell1").activeFocus)
        keyClick(Qt.Key_Return)
        compare(grid.currentSelect, 1)
        compare(clickSpy.count, 1)
        verify(!grid.isDrop)
    }

    function test_colours() {
        var grid = make(["Off", "Breath", "Neon"], { currentSelect: 2 })
        open(grid)
        var orange = Qt.color("#cf3e00"), plain = Qt.color("#1a1a1a")
        compare(findChild(grid, "cell2").color, orange)
        compare(findChild(grid, "cell0").color, plain)
        var at = cellCentre(grid, 0)
        mouseMove(grid, at.x, at.y)
        tryCompare(findChild(grid, "cell0"), "color", orange)
        compare(findChild(grid, "cell1").color, plain)
    }

    function test_textFollowsModel() {
        var grid = make(["Off", "Breath"], { currentSelect: 1 })
        grid.mdItems.setProperty(1, "textValue", "Breathing")
        compare(grid.textValue, "Breathing")
        grid.currentSelect = 0
        compare(grid.textValue, "Off")
        compare(grid.Accessible.name, "Off")
    }

    function test_clickWhileMoving() {
        var grid = make(["Off", "Breath", "Neon"])
        mouseClick(grid, 20, 12)
        mouseClick(grid, 20, 12)
        verify(grid.isDrop, "the second click came while the grid was opening")
        grid.closeMenu()
        verify(!grid.isDrop)
        tryCompare(findChild(grid, "dropArea"), "height", 0)
    }
}
