import QtQuick
import QtTest

// The runner hands every test file the real view operations (ui_View, with
// the HID worker as hid) over a scratch copy of the shipped data, and the QML
// module in the resources: what page tests build on.
// The tests run once the window shows, not while the file loads: warnings
// raised during loading reach the runner only when loading ends.
TestCase {
    name: "UiView"
    when: windowShown

    function test_globalData_data() {
        return [
            { tag: "command set", key: "mouse/icType", value: "553" },
            { tag: "product name", key: "common/name", value: "TALVORN SKARN MOUSE R410" },
            { tag: "absent key", key: "mouse/noSuchKey", value: undefined },
        ]
    }
    function test_globalData(row) {
        compare(ui_View.getGlobalData(row.key), row.value)
    }

    // A write to a profile reads back, and the factory profile keeps its
    // value.
    function test_profileWriteReadsBack() {
        ui_View.setCurrentProfile(2)
        compare(Number(ui_View.getData("mouse/reportRate", false)), 3)
        ui_View.setData("mouse/reportRate", 1)
        compare(Number(ui_View.getData("mouse/reportRate", false)), 1)
        compare(Number(ui_View.getData("mouse/reportRate", true)), 3)
        ui_View.setCurrentProfile(0)
        compare(Number(ui_View.getData("mouse/reportRate", false)), 3)
    }

    function test_hidWorker() {
        verify(hid !== null && hid !== undefined)
    }
}
