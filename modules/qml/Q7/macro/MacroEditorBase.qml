pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// What the macro editor shows and the requests its controls make: the
// editor (MacroEditor.qml) holds the rules and handles the requests, the
// controls (MacroEditorBody.qml) show these properties and emit the
// requests. Both are typed on this dialog, so neither needs the other's file.
DialogFrame {
    id: root

    property var macroEditorLang: ["Macro Editor", "Macro Name", "New", "Delete", "Action", "Stop Record", "Times",
        "OK", "Start Record", "Delay", "Delete", "Import", "Export", "Insert Delay", "Insert Key", "Insert Left Key",
        "Insert Middle Key", "Insert Right Key", "", "", "The macro is full: no step can be added",
        "Not saved: the file of %1 could not be written", "Choose or create a macro to record",
        "There are %1 macros already", "Not created: the file of %1 could not be written", "Nothing imported",
        "Not renamed: a name is needed", "Not renamed: %1 is taken", "Not renamed: %1 is reserved",
        "Not renamed: %1 cannot name a macro file",
        "Delete Macro", "Delete the macro \"%1\"?",
        "Delete the macro \"%1\"? It is assigned to %2 button.",
        "Delete the macro \"%1\"? It is assigned to %2 buttons.", "Cancel"]
    readonly property MacroNameModel macroNameModel: MacroNameModel {}
    readonly property MacroStepModel macroActionModel: MacroStepModel {}
    property bool isInputting: false
    property bool isInsertting: false
    // The key names macros are stored with; the shell hands over its own.
    property KeyCodeString keyCodeString: KeyCodeString {}
    // The selected macro's and the current step's positions, -1 for none.
    property int currentMacro: -1
    property int currentStep: -1
    // Ticks of 10 ms since the last recorded key.
    property int macroRecordCount: 0
    // The names the button-assignment page's macro list offers, refreshed
    // with every change of the list.
    property list<string> macroNames: []
    // A short line about the last action that did not happen; "" for none.
    property string noteText: ""
    // The name or delay being edited (-1 for none) and the text typed.
    property int editingName: -1
    property int editingStep: -1
    property string editText: ""
    // What the insert-key dialog shows.
    property string insertKeyName: ""
    // How many buttons of the open profile a macro is assigned to, asked
    // before deleting it; the shell counts them in its key matrix.
    property var useCount: macroName => 0
    // The macro the delete question is about.
    property string deletingName: ""
    // The Times field's text (the selected macro's repeat count) and the
    // "Delay" check box (record the waits between keys).
    property string timesText: "1"
    property bool recordDelays: false
    // The context menu shown ("name", "action", "" for none) and where.
    property string openMenu: ""
    property point menuAt
    // Every change is stored at once: nothing waits for Save.
    readonly property bool dirty: false

    // The Times text last loaded or saved; when the timer last ticked.
    property string storedTimes: "1"
    property double lastTickAt: 0

    // The requests of the controls, named after what the user did.
    signal nameRowPressed(int position, int button, point at)
    signal stepRowPressed(int position, int button, point at)
    signal macroStepped(int position)
    signal stepMoved(int position)
    signal renameAsked(int position)
    signal renameEnded
    signal delayEditAsked(int position)
    signal delayEnded
    signal newAsked
    signal deleteAsked
    signal deleteAccepted
    signal nameChosen(int command)
    signal actionChosen(int command)
    signal recordToggled
    signal timesStarted
    signal timesEnded(string text)
    signal insertConfirmed
    // The name menu ("name") or the action menu ("action") at a point.
    signal menuAsked(string which, real x, real y)

    function cancelInsertKey() {
        root.isInsertting = false
        root.insertKeyName = ""
    }

    width: 640
    height: 448
    visible: false
    title: root.macroEditorLang[0]
}
