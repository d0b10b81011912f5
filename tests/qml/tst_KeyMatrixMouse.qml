import QtQuick
import QtTest

// The mouse picture's marks and the button list in the shell, on the real view operations and the virtual mouse
// (command set 553): which clicks open the assignment dialog, how hover links a mark and its row, how many of each
// show, what the list's reset sends, and that a stored entry the page cannot read is kept as it was.
TestCase {
    id: testCase
    name: "KeyMatrixMouse"
    width: 1024
    height: 640
    when: windowShown
    visible: true

    function init() {
        failOnWarning(/./)
        ui_View.setCurrentProfile(0)
    }
    function cleanup() { ui_View.resetProfile(0) }

    function startShell() {
        var root = createTemporaryObject(Qt.createComponent("qrc:/modules/qml/main.qml"), testCase)
        root.initUI()
        root.setProtectUI(0)
        tryCompare(child(root, "envItem"), "visible", true)
        testRig.clearFrames()
        return root
    }
    function child(item, name) {
        var found = findChild(item, name)
        verify(found !== null, "no item " + name)
        return found
    }
    function commands() { return testRig.frames().map(f => f.slice(0, 4)) }
    function setEntry(keys, i, codes, text) {
        keys.modKeys.set(i, { keyCode0: codes[0], keyCode1: codes[1], keyCode2: codes[2], keyCode3: codes[3],
                              keyText: text || "" })
    }
    function entries(model) {
        var out = []
        for (var i = 0; i < model.count; ++i) {
            var e = model.get(i)
            out.push([e.keyCode0, e.keyCode1, e.keyCode2, e.keyCode3, e.keyText])
        }
        return out
    }
    // The picture's mark or the list's row of button i, as clicked or pressed with Space.
    function activate(root, via, i) {
        var item = child(root, (via === "list" ? "row" : "mark") + i)
        if (via === "key") {
            item.forceActiveFocus()
            keyClick(Qt.Key_Space)
        } else {
            mouseClick(item)
        }
    }

    // The last left click cannot be given away from either place; with a second one both open the dialog.
    function test_open_data() {
        var rows = []
        for (const via of ["mark", "list", "key"]) {
            rows.push({ tag: via + ": the one left click", via, second: false, button: 0, opens: false },
                      { tag: via + ": two left clicks", via, second: true, button: 0, opens: true },
                      { tag: via + ": another button", via, second: false, button: 1, opens: true })
        }
        return rows
    }
    function test_open(row) {
        var root = startShell(), keys = child(root, "keyMatrixMain"), dialog = child(root, "keyAssigmentMain")
        if (row.second)
            setEntry(keys, 3, [0, 0, 0xF0, 0])
        activate(root, row.via, row.button)
        compare([dialog.visible, child(root, "mainMask").visible], [row.opens, row.opens])
        compare(child(root, "mouseMain").selectKey, row.opens ? row.button : -1)
        if (row.opens) {
            compare([dialog.keyCode0, dialog.keyCode2], [keys.modKeys.get(row.button).keyCode0,
                                                         keys.modKeys.get(row.button).keyCode2])
            dialog.close()
            compare([dialog.visible, child(root, "mouseMain").selectKey], [false, -1])
        }
        compare(commands(), [])
    }

    // Hovering a mark or a row selects the button, which lights both; leaving clears it unless the dialog is open.
    function test_hover_data() {
        return [{ tag: "mark", from: "mark" }, { tag: "row", from: "row" }]
    }
    function test_hover(row) {
        var root = startShell()
        var mouse = child(root, "mouseMain"), keys = child(root, "keyMatrixMain")
        var item = child(root, row.from + "2")
        mouseMove(item)
        compare([mouse.selectKey, keys.selectKey, child(root, "mark2").lit], [2, 2, true])
        mouseMove(root, 700, 600)
        compare([mouse.selectKey, child(root, "mark2").lit], [-1, false])

        mouseMove(item)
        mouseClick(item)
        verify(child(root, "keyAssigmentMain").visible)
        mouseMove(root, 700, 600)
        compare(mouse.selectKey, 2, "kept while the dialog is open")
    }

    // keyCount: the marks drawn are at most eight, the rows at most fourteen; none below 0.
    function test_keyCount_data() {
        return [["below 0", -3, 0, 0], ["5", 5, 5, 5], ["9", 9, 8, 9], ["above 14", 20, 8, 14]]
            .map(([tag, count, marks, rows]) => ({ tag, count, marks, rows }))
    }
    function test_keyCount(row) {
        var root = startShell()
        child(root, "mouseMain").keyCount = row.count
        var shown = (name, n) => [...Array(n).keys()].filter(i => child(root, name + i).visible).length
        compare([shown("mark", 8), shown("row", 16)], [row.marks, row.rows])
        compare(child(root, "keyMatrixMain").height, 32 + 16 + 24 * row.rows)
    }

    // The list's reset: all sixteen factory entries (codes and texts), the macros of factory macro buttons sent and
    // named again, isSave set, and the key matrix only with Save.
    function test_reset_data() {
        return [{ tag: "no factory macro", macro: false }, { tag: "factory macro on button 3", macro: true }]
    }
    function test_reset(row) {
        var root = startShell(), keys = child(root, "keyMatrixMain")
        if (row.macro) {
            ui_View.createMacroIni("Burst", 0)
            ui_View.saveMacroIni("Burst", ["1,A", "0,50", "2,A"], 0)
            keys.modKeys_tmp.set(3, { keyCode0: 4, keyCode1: 1, keyCode2: 3, keyCode3: 0, keyText: "Burst" })
            ui_View.setData("mouseMacroKey/3", "Other")
        }
        setEntry(keys, 0, [0, 0, 0xF2, 0], "changed")
        setEntry(keys, 12, [3, 0, 0xE9, 0], "changed")
        var factory = entries(keys.modKeys_tmp)
        mouseClick(child(root, "listReset"))
        compare([entries(keys.modKeys), keys.modKeys.count, keys.isSave, commands().length > 0],
                [factory, 16, true, row.macro], "only a factory macro goes to the mouse")
        if (row.macro) {
            compare(ui_View.getData("mouseMacroKey/3", false), "Burst")
            ui_View.deleteMacroIni("Burst")
        }

        mouseClick(child(root, "saveButton"))
        compare(ui_View.getDataList("mouseKeyMatrix/0", false).map(Number), factory[0].slice(0, 4), "button 1")
    }

    // A stored entry that is not four whole numbers shows the factory entry's text, one of no known class no
    // text; both go back to the profile as they were read (a missing value as an empty text). Opening the dialog on
    // it is quiet. What the mouse gets for them is the button operation rows' to check.
    function test_keptRows() {
        ui_View.setDataList("mouseKeyMatrix/4", ["2", "x", "4", "5"])
        ui_View.setDataList("mouseKeyMatrix/5", [])
        ui_View.setDataList("mouseKeyMatrix/6", [9, 0, 0, 0])
        var root = startShell()
        var keys = child(root, "keyMatrixMain")
        compare([4, 5, 6].map(i => keys.modKeys.get(i).keyText), [keys.modKeys_tmp.get(4).keyText,
                                                                   keys.modKeys_tmp.get(5).keyText, ""])
        verify(isNaN(keys.modKeys.get(4).keyCode1))
        compare(ui_View.getDataList("mouseKeyMatrix/5", false), [], "nothing written on load")
        verify(keys.checkOneLeftKey() === false)

        root.show(4)
        var dialog = child(root, "keyAssigmentMain")
        verify(dialog.visible)
        dialog.close()
        verify(!keys.isSave, "an untouched kept row is no change")
        keys.isSave = true
        mouseClick(child(root, "saveButton"))
        compare(ui_View.getDataList("mouseKeyMatrix/4", false).map(String), ["2", "x", "4", "5"])
        compare(ui_View.getDataList("mouseKeyMatrix/5", false).map(String), ["", "", "", ""])
        compare(ui_View.getDataList("mouseKeyMatrix/6", false).map(Number), [9, 0, 0, 0])
    }
}
