pragma ComponentBehavior: Bound
import QtQuick

// The gun editor dialog: which of the six gun presets goes into each of the
// mouse's three gun slots, and the presets' values. For now it holds the
// presets and the slot choice with their storage and transfer; the preset
// list, the target picture and the adjusting controls come with the page.
Item {
    id: root

    property var gunControlLang: ["Gun editor", "Gun", "Select gun", "Cursor Adjust", "X Axis", "Y axis", "Fire adjust",
        "Rate", "Times", "Endness"]

    // The preset in each gun slot, 0..5; stored together as mouse/selectGun.
    property int selectGun1: 0
    property int selectGun2: 1
    property int selectGun3: 2
    property bool isSave: false

    // The six presets, values as text; replaced from the gun file by init().
    property ListModel gunNumberModel: ListModel {}
    readonly property var builtInNames: ["M416", "AKM", "M16A4", "SCAR-L", "UNP9", "Thomson"]

    // A stored record's elements 0..5, in this order.
    readonly property var recordFields: ["gunName", "gunKey", "gunPeriod", "gunX", "gunY", "gunTimes"]

    // The dialog has hidden itself; the shell hides its mask.
    signal closed

    // Reads the presets from the gun file and the slots' presets. A record
    // that is missing or short keeps the built-in values of what it lacks, so
    // every preset has all its fields; a slot whose stored preset is not one
    // of the six takes its reset value (slot k: preset k - 1).
    function init() {
        for (var i = 0; i < root.gunNumberModel.count; ++i) {
            var record = ui_View.getGunData(i) // qmllint disable unqualified
            for (var f = 0; f < root.recordFields.length; ++f) {
                if (record && record[f] !== undefined && record[f] !== null)
                    root.gunNumberModel.setProperty(i, root.recordFields[f], String(record[f]))
            }
        }
        var stored = ui_View.getGlobalData("mouse/selectGun") // qmllint disable unqualified
        var slots = Array.isArray(stored) ? stored : String(stored === undefined ? "" : stored).split(",")
        root.selectGun1 = root.presetOf(slots[0], 0)
        root.selectGun2 = root.presetOf(slots[1], 1)
        root.selectGun3 = root.presetOf(slots[2], 2)
    }

    function presetOf(value, fallback) {
        var text = String(value === undefined || value === null ? "" : value).trim()
        var n = Number(text)
        return text !== "" && Number.isInteger(n) && n >= 0 && n < root.gunNumberModel.count ? n : fallback
    }

    function number(text) {
        var n = parseInt(text, 10)
        return isNaN(n) ? 0 : n
    }

    // The factory reset: slots 1..3 take presets 0..2, which get their
    // factory compensation and period; each is saved and each slot sent.
    function resetData() {
        root.selectGun1 = 0
        root.selectGun2 = 1
        root.selectGun3 = 2
        ui_View.setGlobalData("mouse/selectGun", [0, 1, 2]) // qmllint disable unqualified
        var factoryY = ["5", "7", "8"]
        for (var i = 0; i < factoryY.length; ++i) {
            root.gunNumberModel.setProperty(i, "gunY", factoryY[i])
            root.gunNumberModel.setProperty(i, "gunPeriod", "9")
            root.saveData(i)
        }
        for (var slot = 0; slot < 3; ++slot)
            root.sendData(slot)
    }

    // Sends gun slot 0..2 with its preset's times, X and Y.
    function sendData(slot) {
        var gun = root.gunNumberModel.get([root.selectGun1, root.selectGun2, root.selectGun3][slot])
        if (!gun)
            return
        var values = [root.number(gun.gunTimes), root.number(gun.gunX), root.number(gun.gunY)]
        ui_View.mouseSendGundata(slot + 1, values) // qmllint disable unqualified
    }

    // Stores preset index in the gun file.
    function saveData(index) {
        var gun = root.gunNumberModel.get(index)
        if (!gun)
            return
        var record = [gun.gunName, gun.gunKey, gun.gunPeriod, gun.gunX, gun.gunY, gun.gunTimes]
        ui_View.mouseSaveGundata(index, record) // qmllint disable unqualified
    }

    // Closes the page's open drop-downs; it has none yet.
    function gunControlFocus() {
    }

    // Sending the slots and the key matrix after a change comes with the
    // controls that make changes.
    function close() {
        root.gunControlFocus()
        root.visible = false
        root.closed()
    }

    x: (1024 - root.width) / 2
    y: (640 - root.height) / 2
    width: 640
    height: 448
    visible: false

    Component.onCompleted: {
        for (var i = 0; i < root.builtInNames.length; ++i) {
            root.gunNumberModel.append({ gunName: root.builtInNames[i], gunImage: "", gunKey: "L-Click",
                                         gunPeriod: "10", gunX: "0", gunY: "10", gunTimes: "0" })
        }
    }

    Accessible.role: Accessible.Dialog
    Accessible.name: root.gunControlLang[0]

    PageFrame {
        anchors.fill: parent
        title: root.gunControlLang[0]
        closable: true
        onCloseClicked: root.close()
    }
}
