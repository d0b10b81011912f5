pragma ComponentBehavior: Bound
import QtQuick

// The DPI panel of the main window's right side: the sensor's range and the
// profile's DPI stages. For now it holds the panel's values with their
// initial settings; the stage sliders, the stage-count list and their
// loading and saving come with the page.
Item {
    id: root

    property var dpiSettingLang: ["DPI"]

    property int dpiCount: 4
    property int currentDpiCount: 4
    property int minDPI: 200
    property int maxDPI: 6000
    property string sensorType: "3360"
    property int dpiBase: 50
    property var dpiValueArray: [500, 1000, 1500, 2000, 3000, 4000, 5000, 6000]
    // The mouse's active stage, 0-based; the shell sets it.
    property int currentDPI: 0
    property bool isSave: false

    // Loads the stages into the sliders, and sends them with isSendData;
    // filled in with the sliders.
    function init(isSendData, isRecovery) {
    }

    // Stores the sliders' values and sends them with isSendData; filled in
    // with the sliders.
    function saveData(isSendData) {
    }

    // A slider's value for its knob position; filled in with the sliders.
    function dpiValueProc(index, position, isSendData) {
    }

    // Closes the stage-count list; the shell calls it when the user presses
    // elsewhere. The page fills it in with the list.
    function dpiSettingFocus() {
    }

    width: 232
    height: 272

    PageFrame {
        anchors.fill: parent
        titleHeight: 32
        title: root.dpiSettingLang[0]
    }
}
