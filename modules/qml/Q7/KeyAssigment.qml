pragma ComponentBehavior: Bound
import QtQuick

// The dialog in which one button's function is chosen. For now it holds the
// choice being edited and the dialog's texts; the sections offering the
// functions come with the page.
Item {
    id: root

    property var keyAssigmentLang: ["Key ", "Mouse Function", "Left Key", "Middle Key", "Right Key", "Forward Key",
        "Back Key", "Double Fire", "Fire Function", "Key Value", "Click Input", "Rate", "Times", "Endness",
        "Group Function", "Media Function", "Macro Function", "Macro Editor",
        "Macro runs one-time after pressing the button", "Macro runs endless loop until any button is pressed",
        "Macro runs endless loop until button is released", "DPI Function", "DPI+", "DPI-", "DPI LOOP",
        "Windows Function", "Shortcut Function", "Player", "Next", "Privous", "Stop", "Mute", "Play/Pause", "Volumn+",
        "Volumn-", "My PC", "Index", "Search", "Max", "Min", "Desktop", "Run", "New", "Cut", "Copy", "Paste", "Save",
        "Print", "Find", "Redo", "Undo", "Select All", "Gun Function", "One Gun", "Two Gun", "Three Gun", "Sniper Key",
        "Click"]

    // The choice being edited, in page form, and its text.
    property int keyCode0: 0
    property int keyCode1: 0
    property int keyCode2: 0
    property int keyCode3: 0
    property string keyString: ""
    // The four codes as eight hexadecimal digits, keyCode0 first.
    property string keyCode: ""
    // True while the dialog waits for a key for a fire or a combination.
    property bool isFireInput: false
    property bool isComboInput: false
    // The button being assigned (the mouse picture's selectKey), -1 for none.
    property int selectKey: -1

    // The dialog has hidden itself; the shell hides its mask.
    signal closed

    // Gives the function lists their texts; the lists come with the page.
    function init() {
    }

    // The text shown for an entry; the function tables come with the page.
    function keyCodeToString(code0, code1, code2, code3) {
        return ""
    }

    // Splits keyCode into the four codes. A text that is not eight
    // hexadecimal digits leaves them as they are.
    function keyCodeStrProc() {
        if (!/^[0-9A-Fa-f]{8}$/.test(root.keyCode))
            return
        root.keyCode0 = parseInt(root.keyCode.substring(0, 2), 16)
        root.keyCode1 = parseInt(root.keyCode.substring(2, 4), 16)
        root.keyCode2 = parseInt(root.keyCode.substring(4, 6), 16)
        root.keyCode3 = parseInt(root.keyCode.substring(6, 8), 16)
    }

    // A key for the fire (inputType 0) or the combination (1) being entered;
    // the page fills it in with those sections.
    function detectKeyboard(isDown, usbCode, inputType) {
    }

    // Taking the choice into the key matrix comes with the sections that
    // make one.
    function close() {
        root.visible = false
        root.closed()
    }

    x: (1024 - root.width) / 2
    y: (640 - root.height) / 2
    width: 416
    height: 404
    visible: false

    Accessible.role: Accessible.Dialog
    Accessible.name: frame.title

    PageFrame {
        id: frame
        anchors.fill: parent
        title: root.keyAssigmentLang[0] + (root.selectKey + 1) + " : " + root.keyString
        closable: true
        onCloseClicked: root.close()
    }
}
