pragma ComponentBehavior: Bound
import QtQml
import modules.qml

// The key codes of macros, key matrices and pages with their display names:
// two parallel lists of 133 entries (the table and its lookups are
// KeyCodes.js), the names as the language file gives them.
QtObject {
    id: keyCodeString

    readonly property list<int> keyCode: KeyCodes.keyCodes
    readonly property list<string> builtInNames: KeyCodes.builtInKeyNames

    // The names shown; the language strings replace them through setKeyNames.
    property list<string> keyCodeStr: KeyCodes.builtInKeyNames

    // The name of the first position whose code equals code; "" if none.
    function keycodeTostr(code) {
        return KeyCodes.keyNameOf(keyCodeString.keyCodeStr, code)
    }

    // The code of the first position whose name is exactly name; 0 if none.
    function strTokeycode(name) {
        return KeyCodes.codeOfName(keyCodeString.keyCodeStr, name)
    }

    // Takes the names of a language's keyCode section, in the order above. A
    // list of another length is not used and the built-in names stay; an
    // empty entry keeps its built-in name. False when the list was not used.
    function setKeyNames(names) {
        var replaced = KeyCodes.keyNamesFrom(names)
        if (replaced === null) {
            console.log("KeyCodeString: " + (names ? names.length : 0) + " key names instead of "
                        + KeyCodes.keyCodes.length + " - the built-in names stay")
            keyCodeString.keyCodeStr = KeyCodes.builtInKeyNames
            return false
        }
        keyCodeString.keyCodeStr = replaced
        return true
    }
}
