import QtQuick
import QtTest
import modules.qml

// The top bar's buttons and profile list, and the busy indicator.
TestCase {
    id: testCase
    name: "MenuUpBusy"
    width: 1024; height: 640
    when: windowShown
    visible: true

    function init() { failOnWarning(/./) }

    ListModel { id: names; ListElement { textValue: "Standard" } ListElement { textValue: "a" } ListElement { textValue: "b" } }
    Component { id: barComponent; Menu_Up { x: 920; y: 16; profileModel: names } }
    Component { id: busyComponent; BusyIndicator { anchors.centerIn: parent } }

    property var log: []
    function make() {
        var bar = createTemporaryObject(barComponent, testCase), log = testCase.log = []
        bar.helpClicked.connect(() => log.push("help"))
        bar.minimizeClicked.connect(() => log.push("minimize"))
        bar.closeClicked.connect(() => log.push("close"))
        bar.profileChosen.connect(i => log.push(i))
        return bar
    }

    // Each button reports a click, Space and Enter; the list sits 16 pixels left of the buttons, 144 × 24.
    function test_buttons_data() {
        return [["help", "helpButton", 0], ["minimize", "minimizeButton", 32], ["close", "closeButton", 64]]
            .map(([tag, object, x]) => ({ tag, object, x }))
    }
    function test_buttons(data) {
        var bar = make(), button = findChild(bar, data.object), list = bar.profileList
        compare([button.x, list.x, list.width, list.height], [data.x, -160, 144, 24])
        mouseClick(button)
        button.forceActiveFocus()
        keyClick(Qt.Key_Space)
        keyClick(Qt.Key_Return)
        compare(testCase.log, [data.tag, data.tag, data.tag])
    }

    // Choosing an entry of the list reports its position once the list has closed; the field shows it.
    function test_profileChosen() {
        var bar = make(), list = bar.profileList
        mouseClick(list, 20, 12)
        tryCompare(findChild(list, "dropArea"), "height", 72)
        mouseClick(findChild(list, "row2"))
        tryCompare(testCase, "log", [2])
        compare(list.textValue, "b")
        names.setProperty(2, "textValue", "renamed")
        compare(list.textValue, "renamed")
    }

    // Shown and pulsing only while busy, and not while its parent hides it.
    function test_busy() {
        var busy = createTemporaryObject(busyComponent, testCase), label = findChild(busy, "label")
        compare([busy.visible, busy.pulsing], [false, false])
        busy.setBusy(true)
        compare([busy.visible, busy.pulsing], [true, true])
        tryVerify(() => label.opacity < 0.6, 1000)
        testCase.visible = false
        compare(busy.pulsing, false)
        testCase.visible = true
        compare(busy.pulsing, true)
        busy.setBusy(false)
        compare([busy.visible, busy.pulsing], [false, false])
    }
}
