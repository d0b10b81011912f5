pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The buttons' macros as the macro editor changes them: a deleted macro's
// buttons go back to their factory assignment, a renamed one's follow the
// name, and an edited macro goes to the buttons that use it once the edits
// have settled for a moment (or the editor closes), not after every edit.
QtObject {
    id: use

    // The profile's button matrix and the factory one.
    required property ListModel keys
    required property ListModel factoryKeys
    // Macros edited while buttons use them, waiting to be sent.
    property list<string> edited: []
    readonly property Timer settle: Timer {
        objectName: "macroSendTimer"
        interval: 600
        onTriggered: use.sendEdited()
    }

    // The matrix changed by a delete: it goes to the profile and the mouse.
    signal keysReset

    // The macro assigned to an entry of the button list: an entry of class 4
    // names its macro through the profile's mouseMacroKey/<slot>.
    function macroOf(entry) {
        if (Number(entry.keyCode0) !== 4)
            return undefined
        return Shell.text(Program.view.getData("mouseMacroKey/" + entry.keyCode2, false), "")
    }

    function deleteMacro(macroName) {
        for (var i = 0; i < use.keys.count; ++i) {
            if (use.macroOf(use.keys.get(i)) !== macroName)
                continue
            var factory = use.factoryKeys.get(i)
            use.keys.set(i, { keyCode0: factory.keyCode0, keyCode1: factory.keyCode1, keyCode2: factory.keyCode2,
                              keyCode3: factory.keyCode3, keyText: factory.keyText })
        }
        use.keysReset()
        Program.view.deleteMacroUpdateProfile(macroName)
    }

    // The buttons deleteMacro would reset: those of the open profile's
    // matrix assigned to the macro.
    function useCount(macroName) {
        var count = 0
        for (var i = 0; i < use.keys.count; ++i) {
            if (use.macroOf(use.keys.get(i)) === macroName)
                ++count
        }
        return count
    }

    function rename(oldMacroName, newMacroName) {
        for (var i = 0; i < use.keys.count; ++i) {
            var entry = use.keys.get(i)
            if (use.macroOf(entry) !== oldMacroName)
                continue
            Program.view.setData("mouseMacroKey/" + entry.keyCode2, newMacroName)
            use.keys.setProperty(i, "keyText", newMacroName)
        }
        use.edited = Array.from(use.edited, name => name === oldMacroName ? newMacroName : name)
        Program.view.modifyMacroNameUpdateProfile(oldMacroName, newMacroName)
    }

    function changed(macroName) {
        if (!use.edited.includes(macroName))
            use.edited = use.edited.concat([macroName])
        use.settle.restart()
    }

    // Each edited macro goes to the buttons that use it, once.
    function sendEdited() {
        use.settle.stop()
        // A copy: the list read from the property follows it.
        var names = use.edited.slice()
        use.edited = []
        for (var i = 0; i < use.keys.count; ++i) {
            var name = use.macroOf(use.keys.get(i))
            if (name !== undefined && names.includes(name))
                Program.view.sendStoredMacro(name, i)
        }
    }
}
