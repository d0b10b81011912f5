pragma ComponentBehavior: Bound
import QtQuick
// The linter finds basic/ through the module and calls this import unused;
// a page loaded from its folder needs it.
import "../basic" // qmllint disable unused-imports
import "../basic/MacroCodec.js" as MacroCodec

// The macro editor dialog. For now it holds the user's macro names (in the
// stored order) and sends a stored macro to the mouse; the lists, recording
// and editing come with the page.
Item {
    id: root

    property var macroEditorLang: ["Macro Editor", "Macro Name", "New", "Delete", "Action", "Stop Record", "Times",
        "OK", "Start Record", "Delay", "Delete", "Import", "Export", "Insert Delay", "Insert Key", "Insert Left Key",
        "Insert Middle Key", "Insert Right Key", "", ""]
    // The macro names, entries with textValue.
    property ListModel macroNameModel: ListModel {}
    property bool isInputting: false
    property bool isInsertting: false
    // The key names macros are stored with; the shell hands over its own.
    property KeyCodeString keyCodeString: KeyCodeString {}

    signal deleteMacro(string macroName)
    signal modifyMacroName(string oldMacroName, string newMacroName)
    signal modifyMacroData(string macroName)
    // The dialog has hidden itself; the shell hides its mask.
    signal closed

    // Reads the macro names. A stored list of one name carries the filler
    // "loaderfiller" as its second element, which is no macro.
    function init() {
        var names = ui_View.getNameList(0) // qmllint disable unqualified
        if (names.length === 2 && names[1] === "loaderfiller")
            names = [names[0]]
        root.macroNameModel.clear()
        for (var i = 0; i < names.length; ++i)
            root.macroNameModel.append({ textValue: String(names[i]) })
    }

    // Sends the stored macro macroName to the mouse's macro slot index. It
    // plays as often as it is stored to: the Times field shows the macro
    // open in the editor, which need not be this one.
    function sendMacro(index, macroName) {
        var stored = ui_View.loadMacroIni(macroName) // qmllint disable unqualified
        var repeat = stored.length > 0 ? stored[stored.length - 1] : 0
        var names = root.keyCodeString
        var payload = MacroCodec.deCode(MacroCodec.actionsFromStrings(stored), repeat, function (name) {
            return names ? names.strTokeycode(name) : 0
        })
        ui_View.mouseSendMacroData(payload, index) // qmllint disable unqualified
    }

    // A key while recording; filled in with the recording.
    function detectKeyboard(isDown, usbCode) {
    }

    // A key for the insert-key dialog; filled in with the dialog.
    function detectInput(isDown, usbCode) {
    }

    // Ends open edits and closes the menus; it has none yet.
    function macroEditorFocus() {
    }

    function close() {
        root.macroEditorFocus()
        root.visible = false
        root.closed()
    }

    x: (1024 - root.width) / 2
    y: (640 - root.height) / 2
    width: 640
    height: 448
    visible: false

    Accessible.role: Accessible.Dialog
    Accessible.name: root.macroEditorLang[0]

    PageFrame {
        anchors.fill: parent
        title: root.macroEditorLang[0]
        closable: true
        onCloseClicked: root.close()
    }
}
