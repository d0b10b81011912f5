pragma ComponentBehavior: Bound
import QtQuick
// The linter finds basic/ through the module and calls this import unused;
// a page loaded from its folder needs it.
import "../basic" // qmllint disable unused-imports

// The lighting panel of the main window's right side: effect, speed,
// brightness and colours. For now it holds its texts and flags, and the
// effect list the shell closes (empty and hidden); the controls and their
// loading and saving come with the page.
Item {
    id: root

    property bool isSave: false
    property bool isColorDisplay: true
    property bool is571ColorBlock: false
    // Entries 15 to 44 (the effects of some variants) come from the language
    // file only.
    property var lightControlLang: ["Light", "Static", "Breath", "Neon", "OFF", "Speed", "Color", "Brightness",
        "Twinkling", "Wave", "Gliding", "Finger Moving", "Vertical Flipping", "YO-YO", "Spotlight",
        "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
        "", "", "", "", "", "", "", "", "", "", "", "", "", ""]
    property alias lightModel: effectList

    // Loads the profile's lighting into the controls, and sends it with
    // isSendData; filled in with the controls.
    function init(isSendData, isRecovery) {
    }

    // Stores the controls' lighting (isStep 0 all, 1 effect, 2 colours) and
    // sends it with isSendData; filled in with the controls.
    function saveData(isSendData, isStep) {
    }

    // Gives a colour block its colour; filled in with the blocks.
    function setColor(colorBlockIndex, colorValue) {
    }

    function lightControlFocus() {
        effectList.closeMenu()
    }

    // 264 with the speed and brightness controls shown, 224 with one of
    // them, 176 with neither: the effect decides once the controls exist.
    width: 232
    height: 264

    PageFrame {
        id: frame
        anchors.fill: parent
        titleHeight: 32
        title: root.lightControlLang[0]
    }

    DropDownList {
        id: effectList
        x: 74
        y: frame.titleHeight + 8
        width: 150
        visible: false
    }
}
