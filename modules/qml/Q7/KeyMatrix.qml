pragma ComponentBehavior: Bound
import QtQuick

// The button list of the main window's left panel, and the two key matrices
// the button pages work on: modKeys, the profile's assignment as the user
// edits it, and modKeys_tmp, the factory assignment the reset actions copy
// from. An entry is in page form (keyCode0 the function class, keyCode1..3 its
// parameters) with the text shown for it. Nothing reaches the mouse until
// modKeys.saveData(): the Save button, a profile change or a factory reset.
Item {
    id: root

    property var keyMatrixLang: ["Key ", "Key Function"]
    property int keyCount: 8
    property bool isSave: false
    // The selected button (the mouse picture's selectKey), -1 for none.
    property int selectKey: -1
    // The pages this one reads: the gun slots' fire periods go out with the
    // matrix; the assignment dialog names each entry.
    property GunControl gunPage: null
    property KeyAssigment keyAssigment: null

    // A row was clicked (the shell opens the assignment dialog for it), or
    // the pointer entered or left it (the shell marks it on the picture).
    signal keyClicked(int index)
    signal keyEntered(int index)
    signal keyExited(int index)

    // Page form of each button until the profile is read.
    readonly property var builtInKeys: [[0, 0, 0xF0, 0], [0, 0, 0xF1, 0], [0, 0, 0xF2, 0], [0, 0, 0xF4, 0],
        [0, 0, 0xF3, 0], [5, 0, 1, 0], [5, 0, 2, 0], [0, 0xF0, 0x1E, 0x02], [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0],
        [0, 0, 0, 0], [0, 0, 0, 0], [0, 0, 0, 0], [0xFF, 0, 1, 0], [0xFF, 0, 2, 0]]
    // The gun presets' own fire period, for a slot whose period is unknown.
    readonly property int defaultGunPeriod: 10
    readonly property int visibleRows: Math.max(0, Math.min(root.keyCount, 14))

    property ListModel modKeys: ListModel {
        // Stores the matrix in the profile and sends it to the mouse.
        function saveData() {
            root.sendMatrix()
        }
        function checkOneLeftKey() {
            return root.checkOneLeftKey()
        }
    }
    property ListModel modKeys_tmp: ListModel {}

    // Loads both matrices: modKeys from the current profile, or the factory
    // profile when isRecovery; modKeys_tmp always from the factory profile.
    // With isSendData the matrix then goes to the mouse.
    function init(isSendData, isRecovery) {
        for (var j = 0; j < 16; ++j) {
            root.load(root.modKeys, j, ui_View.mouseGetKeydefine(j, isRecovery)) // qmllint disable unqualified
            root.load(root.modKeys_tmp, j, ui_View.mouseGetKeydefine(j, true)) // qmllint disable unqualified
        }
        if (isSendData)
            root.modKeys.saveData()
    }

    // Entry j from its stored form. A stored entry without four numbers
    // (missing, short, or not numbers) would reach the profile and the mouse
    // as garbage: the button keeps its built-in assignment instead.
    function load(model, j, stored) {
        var codes = []
        for (var k = 0; stored && k < 4 && k < stored.length; ++k) {
            var text = String(stored[k]).trim()
            var n = Number(text)
            if (text !== "" && Number.isInteger(n))
                codes.push(n)
        }
        if (codes.length < 4) {
            console.log("KeyMatrix: button " + j + " is stored as [" + stored + "] - its built-in assignment is used")
            codes = root.builtInKeys[j]
        }
        var shown = root.keyAssigment ? root.keyAssigment.keyCodeToString(codes[0], codes[1], codes[2], codes[3]) : ""
        model.set(j, { keyCode0: codes[0], keyCode1: codes[1], keyCode2: codes[2], keyCode3: codes[3], keyText: shown })
    }

    // The 64 values of modKeys and the fire periods of the guns in slots
    // 1..3, to the profile and the mouse.
    function sendMatrix() {
        var src64 = []
        for (var i = 0; i < root.modKeys.count; ++i) {
            var entry = root.modKeys.get(i)
            src64[4 * i] = entry.keyCode0
            src64[4 * i + 1] = entry.keyCode1
            src64[4 * i + 2] = entry.keyCode2
            src64[4 * i + 3] = entry.keyCode3
        }
        ui_View.mouseSetKeyMatrix(src64, true, root.gunPeriods()) // qmllint disable unqualified
    }

    function gunPeriods() {
        var page = root.gunPage
        var slots = page ? [page.selectGun1, page.selectGun2, page.selectGun3] : [0, 1, 2]
        var periods = []
        for (var s = 0; s < slots.length; ++s) {
            var gun = page ? page.gunNumberModel.get(slots[s]) : null
            var period = gun ? parseInt(gun.gunPeriod, 10) : NaN
            periods[s] = isNaN(period) ? root.defaultGunPeriod : period
        }
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
            var entry = { keyCode0: codes[0], keyCode1: codes[1], keyCode2: codes[2], keyCode3: codes[3], keyText: "" }
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
                    color: frame.colorOrange
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
                    color: frame.fontColor
                    font.family: frame.fontFamily
                    font.pixelSize: frame.fontNormalSize
                }
                Text {
                    anchors.right: parent.right
                    anchors.rightMargin: 8
                    height: row.height
                    verticalAlignment: Text.AlignVCenter
                    text: row.keyText
                    color: frame.fontColor
                    font.family: frame.fontFamily
                    font.pixelSize: frame.fontNormalSize
                }
            }
        }
    }
}
