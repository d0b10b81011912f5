import QtQuick
import QtTest
import modules.qml

// The profile dialog against the real view: the stored name list and the
// profile files on disk after each action. Entries are written "name+slot"
// as the name list stores them.
TestCase {
    id: testCase
    name: "Profile"
    width: 1024; height: 640
    when: windowShown
    visible: true

    function init() { failOnWarning(/./) }

    Component { id: pageComponent; Profile { x: 300; y: 200 } }
    SignalSpy { id: closedSpy; signalName: "closed" }

    // The page over a stored list, initialised as at start with the active slot profileNo.
    function make(stored, profileNo) {
        ui_View.updataNameList(2, stored)
        var page = createTemporaryObject(pageComponent, testCase, { profileNo: profileNo || 0 })
        page.visible = true
        page.init()
        waitForItemPolished(findChild(page.controlsItem, "list")) // its controls are built when it opens
        return page
    }
    function shown(page) { return page.profileModel.entries().map(e => e.textValue + e.profileNo).join(" ") }
    function stored() { return ui_View.getNameList(2).join(" ") }
    function file(n) { return testFiles.read(testFiles.scratchPath("modules/setting/p" + (n + 1) + ".bin")) }
    // A profile's report rate (3 from the factory); set changes it first.
    function rate(n, set) {
        ui_View.setCurrentProfile(n)
        if (set !== undefined)
            ui_View.setData("mouse/reportRate", set)
        return Number(ui_View.getData("mouse/reportRate", false))
    }
    function row(page, i) { return findChild(page.controlsItem, "row" + i) }
    // What the line under the list says: the index of its text, 0 for the hint.
    function notice(page) { return page.noticeIndex }

    // Entry 0 always shows "Standard" and is stored so; never more than six entries, nor two on one slot; the
    // active entry has the profile number as its slot, else (a list of an earlier version) as its position, else
    // it is the first. The page's number becomes the active entry's slot.
    function test_init_data() {
        return [["as shipped", ["Standard0", "loaderfiller"], 0, "Standard0", 0, "Standard0 loaderfiller"],
                ["first renamed", ["Mine0", "b1", "c2"], 2, "Standard0 b1 c2", 2, "Standard0 b1 c2"],
                ["empty", [], 0, "Standard0", 0, "Standard0 loaderfiller"],
                ["malformed", ["x", "y9", "", "c2", "d4"], 4, "Standard2 d4", 1, "Standard2 d4"],
                ["eight entries", ["a0", "b1", "c2", "d3", "e4", "f5", "g0", "h1"], 5, "Standard0 b1 c2 d3 e4 f5", 5,
                 "Standard0 b1 c2 d3 e4 f5"],
                ["a slot twice", ["a0", "b1", "c1", "d2"], 2, "Standard0 b1 d2", 2, "Standard0 b1 d2"],
                ["one name and the filler", ["a3"], 3, "Standard3", 0, "Standard3 loaderfiller"],
                ["a position, stored by an earlier version", ["a0", "b2", "c4"], 1, "Standard0 b2 c4", 1,
                 "Standard0 b2 c4"],
                ["number past the list", ["a0", "b1"], 7, "Standard0 b1", 0, "Standard0 b1"],
                ["negative number", ["a0", "b1"], -1, "Standard0 b1", 0, "Standard0 b1"]]
            .map(([tag, list, no, entries, current, after]) => ({ tag, list, no, entries, current, after }))
    }
    function test_init(row) {
        var page = make(row.list, row.no)
        compare([shown(page), page.currentIndex, page.activePosition, stored(), page.profileNo],
                [row.entries, row.current, row.current, row.after, page.profileModel.slotAt(row.current)])
    }

    // New appends "profile_k" up to six entries and starts its profile from the factory one; a full list gains
    // nothing (its reset goes to slot 6, no entry's profile) and says so.
    function test_newUpToSix() {
        var page = make(["Standard0"]), button = findChild(page.controlsItem, "newButton")
        for (var n = 1; n <= 6; ++n)
            rate(n, 0)
        for (n = 1; n <= 6; ++n) {
            mouseClick(button)
            compare(page.currentIndex, Math.min(n, 5))
            compare(rate(n), 3, "profile " + n)
        }
        compare(notice(page), 12)
        compare(stored(), "Standard0 profile_01 profile_12 profile_23 profile_34 profile_45")
        compare(file(1), testFiles.read(testFiles.scratchPath("modules/setting/pD.bin")))
    }

    // New resets only its own free slot, never the profile of an entry, also after a deletion.
    function test_newKeepsProfilesInUse_data() {
        return [["after a deletion", ["Standard0", "b2"], "Standard0 b2 profile_01", [1, 2], [3, 0]],
                ["full", ["Standard0", "a1", "b2", "c3", "d4", "e5"], "Standard0 a1 b2 c3 d4 e5", [5], [0]]]
            .map(([tag, list, after, dirty, rates]) => ({ tag, list, after, dirty, rates }))
    }
    function test_newKeepsProfilesInUse(data) {
        var page = make(data.list)
        data.dirty.forEach(n => rate(n, 0))
        mouseClick(findChild(page.controlsItem, "newButton"))
        compare([stored(), data.dirty.map(n => rate(n))], [data.after, data.rates])
    }

    // Delete (context menu, first row) takes neither the first entry nor the active one, and says why; the
    // profile files stay, and the active entry stays active where it now stands.
    function test_delete_data() {
        return [["first entry", 0, "Standard0 a1 b2 c3", 2, 13], ["active entry", 2, "Standard0 a1 b2 c3", 2, 14],
                ["before the active one", 1, "Standard0 b2 c3", 1, 0], ["the last", 3, "Standard0 a1 b2", 2, 0]]
            .map(([tag, position, after, active, text]) => ({ tag, position, after, active, text }))
    }
    function test_delete(data) {
        var page = make(["Standard0", "a1", "b2", "c3"], 2), files = [0, 1, 2, 3].map(file)
        mouseClick(row(page, data.position), 40, 13, Qt.RightButton)
        var menu = findChild(page.controlsItem, "contextMenu")
        verify(menu.visible)
        mouseClick(findChild(page.controlsItem, "menuRow0"))
        compare([menu.visible, shown(page), stored(), page.activePosition, page.profileNo, notice(page)],
                [false, data.after, data.after, data.active, 2, data.text])
        compare([0, 1, 2, 3].map(file), files)
    }

    // Rename by double-click (or the page's doubleClick on the current row), typing and Enter; a name another
    // entry bears or an empty one is refused. A press elsewhere in the page ends editing as Enter does.
    function test_rename_data() {
        var kept = "Standard0 a1 b2"
        return [["new name", 1, "zed", "Return", "Standard0 zed1 b2"], ["duplicate", 1, "b", "Return", kept, 15],
                ["empty", 2, "", "Return", kept, 20], ["same name", 1, "a", "Return", kept],
                ["Escape keeps the name", 2, "q", "Escape", kept],
                ["press elsewhere", 2, "x2", "press", "Standard0 a1 x22"],
                ["doubleClick signal", 1, "m", "signal", "Standard0 m1 b2"]]
            .map(([tag, position, text, end, after, refusal]) => ({ tag, position, text, end, after,
                                                                    refusal: refusal || 0 }))
    }
    function test_rename(data) {
        var page = make(["Standard0", "a1", "b2"])
        mouseClick(row(page, data.position), 40, 13)
        if (data.end === "signal")
            page.doubleClick()
        else
            mouseDoubleClickSequence(row(page, data.position), 40, 13)
        var editor = findChild(page.controlsItem, "nameEditor")
        verify(editor && editor.activeFocus)
        compare(editor.selectedText, page.profileModel.entries()[data.position].textValue)
        keyClick(Qt.Key_Delete)
        data.text.split("").forEach(c => keyClick(c))
        if (data.end === "press")
            mouseClick(page.contentItem, 5, 150)
        else
            keyClick(data.end === "Escape" ? Qt.Key_Escape : Qt.Key_Return)
        compare([page.editingIndex, shown(page), stored(), notice(page)],
                [-1, data.after, data.after, data.refusal])
    }

    // Import appends an entry whose profile becomes the chosen file; cancelled, or with a full list, nothing
    // changes. Export copies the entry's profile under the chosen name, replacing a file there.
    function test_importExport() {
        var page = make(["Standard0", "a1"]), out = testFiles.scratchPath("out.pf")
        rate(1, 2)
        testFiles.savePath = out
        mouseClick(row(page, 1), 40, 13, Qt.RightButton)
        mouseClick(findChild(page.controlsItem, "menuRow1"))
        compare([testFiles.read(out), notice(page)], [file(1), 17])
        verify(testFiles.read(out).indexOf("reportRate=2") >= 0)

        testFiles.openPath = ""
        mouseClick(findChild(page.controlsItem, "importButton"))
        compare([shown(page), stored(), page.currentIndex, notice(page)],
                ["Standard0 a1", "Standard0 a1", 1, 0])

        // After a deletion the new entry's slot is the free one, not its position.
        page = make(["Standard0", "a2"])
        testFiles.openPath = out
        rate(1, 0)
        mouseClick(findChild(page.controlsItem, "importButton"))
        compare([shown(page), stored(), page.currentIndex, notice(page)],
                ["Standard0 a2 profile_01", "Standard0 a2 profile_01", 2, 16])
        compare(file(1), testFiles.read(out))
        compare(rate(1), 2)

        page = make(["Standard0", "a1", "b2", "c3", "d4", "e5"])
        var files = [0, 1, 2, 3, 4, 5].map(file)
        mouseClick(findChild(page.controlsItem, "importButton"))
        compare([stored(), [0, 1, 2, 3, 4, 5].map(file), notice(page)],
                ["Standard0 a1 b2 c3 d4 e5", files, 12])

        rate(1, 1)
        page = make(["Standard0", "a2", "b1"])
        page.currentIndex = 2
        page.menuCommand(1)
        compare(testFiles.read(out), file(1))
    }

    // Dragging the background moves the dialog, kept whole inside the window.
    function test_drag_data() {
        return [["inside", 50, -40, 350, 160], ["past the left and top", -900, -900, 0, 0],
                ["past the right and bottom", 900, 900, 1024 - 415, 640 - 288]]
            .map(([tag, dx, dy, x, y]) => ({ tag, dx, dy, x, y }))
    }
    function test_drag(data) {
        var page = make(["Standard0"])
        mousePress(page.contentItem, 5, 150)
        mouseMove(page.contentItem, 5 + data.dx, 150 + data.dy, -1, Qt.LeftButton)
        mouseRelease(page.contentItem, 5 + data.dx, 150 + data.dy)
        compare([page.x, page.y], [data.x, data.y])
    }

    // The close image hides the page and asks the shell to hide the mask; an open rename is committed.
    function test_close() {
        var page = make(["Standard0", "a1"])
        closedSpy.target = page
        page.startRename(1)
        keyClick("z")
        mouseClick(findChild(page.controlsItem, "closeButton"))
        compare([page.visible, closedSpy.count, stored()], [false, 1, "Standard0 z1"])
    }
}
