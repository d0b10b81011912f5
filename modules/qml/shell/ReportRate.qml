pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The report-rate box: the rate of the current profile in a list of four.
// Choosing one is the shell's to store and send (chosen); dirty while the
// rate chosen last could not be stored, which Save stores again.
Rectangle {
    id: root

    property alias list: rateList
    property string title: ""
    property bool dirty: false

    signal chosen(int index)
    // A box never closes; every page has the signal.
    signal closed
    // A click on the list's field: the other lists close.
    signal listClicked

    // The rate of the current profile, shown; sent too when asked.
    function init(isSendData) {
        var index = Shell.reportRateIndex(Program.view.getData("mouse/reportRate", false))
        root.dirty = false
        rateList.currentSelect = index
        if (isSendData)
            Program.view.mouseSetReportRate(Shell.reportRateCode(index))
    }

    // The rate shown, stored in the profile.
    function save() {
        Program.view.setData("mouse/reportRate", rateList.currentSelect)
    }

    function endEdits() {
        rateList.closeMenu()
    }

    // Above the system-setting button, which the open list covers.
    z: 1
    width: 232
    height: 42
    radius: 4
    color: Skin.colorGray0
    border.color: Skin.colorGray1

    Label {
        x: 8
        anchors.verticalCenter: parent.verticalCenter
        width: 96
        text: root.title
    }
    DropDownList {
        id: rateList
        objectName: "reportRateList"
        x: parent.width - width - 9
        y: 9
        width: 120
        height: 24
        mdItems: ListModel {
            ListElement { textValue: "125Hz" }
            ListElement { textValue: "250Hz" }
            ListElement { textValue: "500Hz" }
            ListElement { textValue: "1000Hz" }
        }
        onValueChange: function (index) { root.chosen(index) }
        onBtnClick: root.listClicked()
    }
}
