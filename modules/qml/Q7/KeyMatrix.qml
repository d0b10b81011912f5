pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The button list of the main window's left panel, and the two key matrices
// the button pages work on: modKeys, the profile's assignment as the user
// edits it, and modKeys_tmp, the factory assignment the reset actions copy
// from. An entry is in page form (keyCode0 the function class, keyCode1..3 its
// parameters) with the text shown for it. Nothing reaches the mouse until
// save(): the Save button, a profile change or a factory reset.
Item {
    id: root

    property var keyMatrixLang: ["Key ", "Key Function", ""]
    // The row whose click was refused (the only left click), -1 for none: a
    // note beside it says why.
    property int refusedRow: -1
    property int keyCount: 8
    // True while the working matrix holds changes Save would store.
    property bool dirty: false
    property alias isSave: root.dirty
    // The selected button (the mouse picture's selectKey), -1 for none.
    property int selectKey: -1
    // What the shell passes: the fire periods of the gun slots 1..3, which go
    // out with the matrix; the assignment dialog's texts and the key names,
    // which name each entry.
    property list<int> slotPeriods: [root.defaultGunPeriod, root.defaultGunPeriod, root.defaultGunPeriod]
    property list<string> optionTexts: KeyCodes.englishTexts
    property list<string> keyNames: KeyCodes.builtInKeyNames

    // A row was clicked (the shell opens the assignment dialog for it), or
    // the pointer entered or left it (the shell marks it on the picture).
    signal keyClicked(int index)
    signal keyEntered(int index)
    signal keyExited(int index)
    // Panels never close; declared for the pages' common protocol.
    signal closed

    // Page form of each button until the profile is read.
    readonly property var builtInKeys: [[0, 0, 0xF0, 0], [0, 0, 0xF1, 0], [0, 0, 0xF2, 0], [0, 0, 0xF4, 0],
        [0, 0, 0xF3, 0], [5, 0, 1, 0], [5, 0, 2, 0], [0, 0xF0, 0x1E, 0x02], [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0],
        [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0], [0xFF, 0, 1, 0], [0xFF, 0, 2, 0]]
    // The gun presets' own fire period, for a slot whose period is unknown.
    readonly property int defaultGunPeriod: 10
    readonly property int visibleRows: Math.max(0, Math.min(root.keyCount, 14))

    property ListModel modKeys: ListModel {}
    property ListModel modKeys_tmp: ListModel {}

    // Stores the matrix in the profile and sends it to the mouse.
    function save() {
        root.sendMatrix()
    }

    // The refusal note goes; the list has no field or menu of its own.
    function endEdits() {
        root.refusedRow = -1
    }

    // Button index gets a function chosen in the assignment dialog; it waits
    // for Save. An index beyond the matrix changes nothing.
    function assign(index, code0, code1, code2, code3, text) {
        if (index < 0 || index >= root.modKeys.count) {
            console.log("KeyMatrix: no button " + index + " to assign")
            return
        }
        root.modKeys.set(index, { keyCode0: code0, keyCode1: code1, keyCode2: code2, keyCode3: code3, keyText: text })
        root.dirty = true
    }

    // The text shown for a page-form entry; "" for one no section offers.
    function keyCodeToString(code0, code1, code2, code3) {
        return KeyCodes.keyCodeToString(root.optionTexts, usage => KeyCodes.keyNameOf(root.keyNames, usage),
                                        slot => Program.view.getData("mouseMacroKey/" + slot, false),
                                        code0, code1, code2, code3)
    }

    // Puts the factory assignment of all sixteen buttons into the working
    // matrix, codes and texts. A factory macro button gets its macro again,
    // to the mouse and under the profile's name for its slot, because the
    // slot may since hold another macro. The matrix itself waits for Save.
    function resetToFactory() {
        for (var i = 0; i < root.modKeys_tmp.count && i < root.modKeys.count; ++i) {
            var factory = root.modKeys_tmp.get(i)
            root.modKeys.set(i, { keyCode0: factory.keyCode0, keyCode1: factory.keyCode1, keyCode2: factory.keyCode2,
                                  keyCode3: factory.keyCode3, keyText: factory.keyText,
                                  storedRow: factory.storedRow })
            if (factory.keyCode0 !== 4)
                continue
            Program.view.sendStoredMacro(factory.keyText, factory.keyCode2)
            Program.view.setData("mouseMacroKey/" + factory.keyCode2, factory.keyText)
        }
        root.dirty = true
    }

    // Loads both matrices: modKeys from the current profile, or the factory
    // profile when isRecovery; modKeys_tmp always from the factory profile.
    // With isSendData the matrix then goes to the mouse.
    function init(isSendData, isRecovery) {
        for (var j = 0; j < 16; ++j) {
            root.load(root.modKeys, j, Program.view.mouseGetKeydefine(j, isRecovery))
            root.load(root.modKeys_tmp, j, Program.view.mouseGetKeydefine(j, true))
            // A broken entry goes to the mouse as the factory one: the list
            // names what the button does.
            if (root.modKeys.get(j).storedRow !== "")
                root.modKeys.setProperty(j, "keyText", root.modKeys_tmp.get(j).keyText)
        }
        if (isSendData)
            root.sendMatrix()
    }

    // Entry j from its stored form, each value through Number(). A stored
    // entry that is not four whole numbers (missing, short, text) is not
    // repaired: its codes hold NaN where a value is missing or no number, so
    // it names no function (init shows the factory entry's text, which is
    // what the mouse gets for it), and storedRow keeps the values
    // as read, which Save writes back unchanged while no function has been
    // chosen for the button.
    function load(model, j, stored) {
        var values = stored ? Array.from(stored) : []
        var codes = [0, 1, 2, 3].map(function (k) {
            var text = k < values.length ? String(values[k]).trim() : ""
            return text === "" ? NaN : Number(text)
        })
        var whole = values.length === 4 && codes.every(Number.isInteger)
        if (!whole)
            console.log("KeyMatrix: button " + j + " is stored as [" + values + "] - kept as it is, sent as the factory entry")
        var shown = whole ? root.keyCodeToString(codes[0], codes[1], codes[2], codes[3]) : ""
        model.set(j, { keyCode0: codes[0], keyCode1: codes[1], keyCode2: codes[2], keyCode3: codes[3], keyText: shown,
                       storedRow: whole ? "" : JSON.stringify(values) })
    }

    // The 64 values of modKeys (KeyCodes.matrixValues) and the fire periods
    // of the guns in slots 1..3, to the profile and the mouse.
    function sendMatrix() {
        Program.view.mouseSetKeyMatrix(KeyCodes.matrixValues(root.modKeys), true, root.gunPeriods())
    }

    // The three slots' periods as the gun page gives them; a slot it gives
    // none for has the presets' own.
    function gunPeriods() {
        var periods = []
        for (var s = 0; s < 3; ++s)
            periods[s] = s < root.slotPeriods.length ? root.slotPeriods[s] : root.defaultGunPeriod
        return periods
    }

    // True when exactly one button is a left click and it is the selected
    // one: the last left click may not be given away.
    function checkOneLeftKey() {
        var leftKey = -1
        for (var i = 0; i < root.modKeys.count; ++i) {
            var entry = root.modKeys.get(i)
            if (entry.keyCode0 === 0 && entry.keyCode2 === 0xF0) {
                if (leftKey >= 0)
                    return false
                leftKey = i
            }
        }
        return leftKey >= 0 && leftKey === root.selectKey
    }

    width: 232
    height: frame.titleHeight + 16 + 24 * root.visibleRows

    Component.onCompleted: {
        for (var j = 0; j < root.builtInKeys.length; ++j) {
            var codes = root.builtInKeys[j]
            var entry = { keyCode0: codes[0], keyCode1: codes[1], keyCode2: codes[2], keyCode3: codes[3], keyText: "",
                          storedRow: "" }
            root.modKeys.append(entry)
            root.modKeys_tmp.append(entry)
        }
    }

    PageFrame {
        id: frame
        anchors.fill: parent
        titleHeight: 32
        title: root.keyMatrixLang[1]
    }

    // The reset picture at the title bar's right end: the factory assignment.
    IconButton {
        id: resetButton
        objectName: "listReset"
        anchors.right: parent.right
        anchors.rightMargin: 12
        y: (frame.titleHeight - resetButton.height) / 2
        image: "reset"
        accessibleName: "Reset"
        onClicked: root.resetToFactory()
    }

    // Why the click on refusedRow did nothing, beside the row.
    Rectangle {
        id: refusal
        objectName: "refusal"
        x: root.width + 8
        y: frame.titleHeight + 8 + 24 * Math.max(0, root.refusedRow) - 4
        z: 2
        width: refusalText.implicitWidth + 20
        height: refusalText.implicitHeight + 12
        radius: 4
        visible: root.refusedRow >= 0
        color: Skin.colorGray1
        border.color: Skin.colorOrange

        Label {
            id: refusalText
            objectName: "refusalText"
            x: 10
            y: 6
            text: root.keyMatrixLang[2]
            Accessible.role: Accessible.AlertMessage
        }
    }

    // One row per button below keyCount: its label and its function.
    Column {
        x: 8
        y: frame.titleHeight + 8

        Repeater {
            model: root.modKeys

            Item {
                id: row

                required property int index
                required property string keyText
                readonly property string label: root.keyMatrixLang[0] + " " + (row.index + 1)

                objectName: "row" + row.index
                width: 216
                height: 24
                visible: row.index < root.visibleRows
                activeFocusOnTab: visible

                Accessible.role: Accessible.Button
                Accessible.name: row.keyText === "" ? row.label : row.label + " " + row.keyText
                Accessible.focusable: true
                Accessible.onPressAction: root.keyClicked(row.index)
                Keys.onSpacePressed: root.keyClicked(row.index)
                Keys.onReturnPressed: root.keyClicked(row.index)
                Keys.onEnterPressed: root.keyClicked(row.index)

                Rectangle {
                    anchors.fill: parent
                    radius: 2
                    color: Skin.colorOrange
                    visible: row.index === root.selectKey || rowArea.containsMouse || row.activeFocus
                }
                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    cursorShape: Qt.PointingHandCursor
                    onClicked: root.keyClicked(row.index)
                    onEntered: root.keyEntered(row.index)
                    onExited: root.keyExited(row.index)
                }

                Text {
                    x: 8
                    height: row.height
                    verticalAlignment: Text.AlignVCenter
                    text: row.label
                    color: Skin.fontColor
                    font.family: Skin.fontFamily
                    font.pixelSize: Skin.fontNormalSize
                }
                Text {
                    anchors.right: parent.right
                    anchors.rightMargin: 8
                    height: row.height
                    verticalAlignment: Text.AlignVCenter
                    text: row.keyText
                    color: Skin.fontColor
                    font.family: Skin.fontFamily
                    font.pixelSize: Skin.fontNormalSize
                }
            }
        }
    }
}
