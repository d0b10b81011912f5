pragma ComponentBehavior: Bound
import QtQuick

// The dialog for the system's pointer settings: cursor speed, double-click
// speed and wheel scrolling. For now it holds its texts and the slider
// positions that bound the eleven steps; the sliders, the scroll choice and
// their loading and saving come with the page.
Item {
    id: root

    property var systemSettingLang: ["System Setting", "Mouse Speed", "Double Click Speed", "Slow", "Fast",
        "Scroll Speed", "Number of Rows", "Scroll one Screen"]
    property var compareValue: [4, 37, 70, 104, 138, 172, 205, 239, 272, 305, 338]

    // The dialog has hidden itself; the shell hides its mask.
    signal closed

    // Loads the settings into the controls, and applies them with
    // isSendData; filled in with the controls.
    function init(isSendData, isRecovery) {
    }

    // Stores the controls' settings and applies them with isSendData (step
    // 0 all, 1 cursor speed, 2 double-click speed, 3 scrolling); filled in
    // with the controls.
    function saveData(isSendData, step) {
    }

    // Ends the page's open edits; it has none yet.
    function systemSettingFocus() {
    }

    function close() {
        root.systemSettingFocus()
        root.visible = false
        root.closed()
    }

    x: (1024 - root.width) / 2
    y: (640 - root.height) / 2
    width: 416
    height: 312
    visible: false

    Accessible.role: Accessible.Dialog
    Accessible.name: root.systemSettingLang[0]

    PageFrame {
        anchors.fill: parent
        title: root.systemSettingLang[0]
        closable: true
        onCloseClicked: root.close()
    }
}
