pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The gun editor dialog: which of the six gun presets goes into each of the
// mouse's three gun slots, and the shown preset's values: its vertical
// compensation (the red dot on the target, or the Y field), its fire period
// and its shot count. Every edit is stored at once; the mouse gets the slots,
// and the key matrix that carries their periods, when the dialog closes.
//
// The presets, the slots and their periods live here, so the shell and the
// key matrix read them while the dialog is closed; the controls are built
// the first time it opens.
DialogFrame {
    id: root

    property var gunControlLang: ["Gun editor", "Gun", "Select gun", "Cursor Adjust", "X Axis", "Y axis", "Fire adjust",
        "Rate", "Times", "Endness"]

    // The preset in each gun slot, 0..5; stored together as mouse/selectGun.
    property int selectGun1: 0
    property int selectGun2: 1
    property int selectGun3: 2
    // The slots still have to reach the mouse: set by any change, cleared
    // when they are sent.
    property bool dirty: false
    property alias isSave: root.dirty

    // The six presets, values as text; replaced from the gun file by init().
    property ListModel gunNumberModel: ListModel {}
    readonly property list<string> builtInNames: ["M416", "AKM", "M16A4", "SCAR-L", "UNP9", "Thomson"]

    // A stored record's elements 0..5, in this order.
    readonly property list<string> recordFields: ["gunName", "gunKey", "gunPeriod", "gunX", "gunY", "gunTimes"]

    // The fire periods of the presets in slots 1..3, which the key matrix
    // carries; they follow every slot choice and period edit.
    readonly property list<int> slotPeriods: GunRules.slotPeriods(root.presetPeriods,
                                                                  [root.selectGun1, root.selectGun2, root.selectGun3])
    // Each preset's stored period, kept in step with the model.
    property list<string> presetPeriods: []

    // The slot being edited (0..2) and the preset shown (0..5).
    property int currentSlot: 0
    property int currentGun: 0

    // The controls, built when the dialog first opens.
    property bool built: false
    readonly property GunPresetColumn presetColumn: presetLoader.item as GunPresetColumn
    readonly property GunValues values: valuesLoader.item as GunValues

    // The slots were sent: the key matrix, which carries their periods, is
    // to be sent after them.
    signal gunSlotsChanged

    // Reads the presets from the gun file and the slots' presets. A record
    // that is missing or short keeps the built-in values of what it lacks, so
    // every preset has all its fields; a slot whose stored preset is not one
    // of the six takes its reset value (slot k: preset k - 1). Slot 1 is then
    // the one shown. Called with the page protocol's arguments or none; it
    // neither sends nor reads the factory profile.
    function init() {
        root.setSlotTexts()
        for (var i = 0; i < root.gunNumberModel.count; ++i) {
            var record = Program.view.getGunData(i)
            for (var f = 0; f < root.recordFields.length; ++f) {
                if (record && record[f] !== undefined && record[f] !== null)
                    root.gunNumberModel.setProperty(i, root.recordFields[f], String(record[f]))
            }
        }
        var stored = Program.view.getGlobalData("mouse/selectGun")
        var slots = Array.isArray(stored) ? stored : String(stored === undefined ? "" : stored).split(",")
        root.selectGun1 = root.presetOf(slots[0], 0)
        root.selectGun2 = root.presetOf(slots[1], 1)
        root.selectGun3 = root.presetOf(slots[2], 2)
        root.showSlot(0)
    }

    function presetOf(value, fallback) {
        var text = String(value === undefined || value === null ? "" : value).trim()
        var n = Number(text)
        return text !== "" && Number.isInteger(n) && n >= 0 && n < root.gunNumberModel.count ? n : fallback
    }

    // The factory reset: slots 1..3 take presets 0..2, which get their
    // factory compensation and period; each is saved and each slot sent.
    function resetData() {
        root.selectGun1 = 0
        root.selectGun2 = 1
        root.selectGun3 = 2
        Program.view.setGlobalData("mouse/selectGun", [0, 1, 2])
        var factoryY = ["5", "7", "8"]
        for (var i = 0; i < factoryY.length; ++i) {
            root.gunNumberModel.setProperty(i, "gunY", factoryY[i])
            root.gunNumberModel.setProperty(i, "gunPeriod", "9")
            root.saveData(i)
        }
        for (var slot = 0; slot < 3; ++slot)
            root.sendData(slot)
        root.showSlot(0)
    }

    // Sends gun slot 0..2 with its preset's times, X and Y. The mouse takes
    // a byte each: a value out of its range is sent clamped into it, and one
    // that is no number (a hand-edited gun file) as 0, said on the debug
    // output.
    function sendData(slot) {
        var gun = root.gunNumberModel.get(root.slotPresets()[slot])
        if (!gun)
            return
        var fields = [gun.gunTimes, gun.gunX, gun.gunY]
        for (var f = 0; f < fields.length; ++f) {
            if (GunRules.integer(fields[f], null) === null)
                console.debug("GunControl: gun slot " + (slot + 1) + " " + ["times", "X", "Y"][f] + " is [" + fields[f]
                              + "], sent as 0")
        }
        var values = [GunRules.clampTimes(gun.gunTimes), GunRules.clampY(gun.gunX), GunRules.clampY(gun.gunY)]
        Program.view.mouseSendGundata(slot + 1, values)
    }

    // Stores preset index in the gun file.
    function saveData(index) {
        var gun = root.gunNumberModel.get(index)
        if (!gun)
            return
        var record = [gun.gunName, gun.gunKey, gun.gunPeriod, gun.gunX, gun.gunY, gun.gunTimes]
        Program.view.mouseSaveGundata(index, record)
    }

    // The edits are in the gun file already: the mouse gets the three slots,
    // then the shell the word to send the key matrix with their periods.
    function save() {
        root.dirty = false
        for (var slot = 0; slot < 3; ++slot)
            root.sendData(slot)
        root.gunSlotsChanged()
    }

    function slotPresets() {
        return [root.selectGun1, root.selectGun2, root.selectGun3]
    }

    function updatePeriods() {
        var model = root.gunNumberModel
        root.presetPeriods = Array.from({ length: model.count }, (_, i) => model.get(i).gunPeriod)
    }

    // The slot selector's entries: text 1 followed by the slot's number.
    function setSlotTexts() {
        for (var k = 0; k < slotModel.count; ++k)
            slotModel.setProperty(k, "textValue", root.gunControlLang[1] + " " + (k + 1))
    }

    // The slot selector chose slot: its preset is shown. A slot choice alone
    // counts as a change, so closing sends all three slots.
    function chooseSlot(slot) {
        root.endEdits()
        root.showSlot(slot)
        root.dirty = true
    }

    function showSlot(slot) {
        root.currentSlot = slot
        root.showPreset(root.slotPresets()[slot])
    }

    // A preset picked from the list goes into the slot being edited. A value
    // still being typed belongs to the preset shown until then.
    function assignPreset(index) {
        if (index < 0 || index >= root.gunNumberModel.count)
            return
        root.endEdits()
        if (root.currentSlot === 0)
            root.selectGun1 = index
        else if (root.currentSlot === 1)
            root.selectGun2 = index
        else
            root.selectGun3 = index
        Program.view.setGlobalData("mouse/selectGun", root.slotPresets())
        root.dirty = true
        root.showPreset(index)
    }

    // The preset's values in the controls, once they are built.
    function showPreset(index) {
        var gun = root.gunNumberModel.get(index)
        if (!gun)
            return
        root.currentGun = index
        if (root.values)
            root.values.show(gun.gunY, gun.gunPeriod, gun.gunTimes)
    }

    // Sets a field of the shown preset and stores it; a value it already has
    // is no change.
    function setField(field, value) {
        var gun = root.gunNumberModel.get(root.currentGun)
        if (!gun || gun[field] === String(value))
            return
        root.gunNumberModel.setProperty(root.currentGun, field, String(value))
        root.saveData(root.currentGun)
        root.dirty = true
    }

    function setY(y) {
        var value = GunRules.clampY(y)
        if (root.values)
            root.values.showY(value)
        root.setField("gunY", value)
    }

    function setTimes(times) {
        var value = GunRules.clampTimes(times)
        if (root.values)
            root.values.showTimes(value)
        root.setField("gunTimes", value)
    }

    // The rate field's text after a move of its slider; the number in front
    // of "MS" is the period.
    function setPeriodFromText(text) {
        var period = GunRules.periodOfText(text)
        if (period >= 0)
            root.setField("gunPeriod", period)
    }

    // The controls, once: the presets with their slot selector, and the shown
    // preset's values.
    function build() {
        if (root.built)
            return
        root.built = true
        presetLoader.setSource(Qt.resolvedUrl("gun/GunPresetColumn.qml"), {
            texts: Qt.binding(() => root.gunControlLang),
            presets: root.gunNumberModel,
            slotEntries: slotModel,
            slotPresets: Qt.binding(() => [root.selectGun1, root.selectGun2, root.selectGun3]),
            currentSlot: Qt.binding(() => root.currentSlot),
            currentGun: Qt.binding(() => root.currentGun)
        })
        valuesLoader.setSource(Qt.resolvedUrl("gun/GunValues.qml"), { texts: Qt.binding(() => root.gunControlLang) })
    }

    // Closes the open drop-downs and ends typing, which commits the field.
    function endEdits() {
        if (root.presetColumn)
            root.presetColumn.endEdits()
        if (root.values)
            root.values.endEdits()
    }
    function gunControlFocus() { root.endEdits() }

    // After a change the mouse gets the three slots, and the key matrix again
    // for the periods it carries.
    function close() {
        root.endEdits()
        root.visible = false
        if (root.dirty)
            root.save()
    }

    x: (1024 - root.width) / 2
    y: (640 - root.height) / 2
    width: 640
    height: 448
    title: root.gunControlLang[0]

    onGunControlLangChanged: root.setSlotTexts()
    onCloseClicked: root.close()
    onBackgroundPressed: root.endEdits()
    onAboutToShow: root.build()

    Component.onCompleted: {
        for (var i = 0; i < root.builtInNames.length; ++i) {
            root.gunNumberModel.append({ gunName: root.builtInNames[i], gunImage: String(Skin.image("gun" + i)),
                                         gunKey: "L-Click", gunPeriod: "10", gunX: "0", gunY: "10", gunTimes: "0" })
        }
        for (var k = 0; k < 3; ++k)
            slotModel.append({ textValue: "" })
        root.setSlotTexts()
        root.updatePeriods()
        root.showSlot(0)
    }

    // The periods follow the presets, however they change.
    Connections {
        target: root.gunNumberModel
        function onDataChanged() { root.updatePeriods() }
        function onCountChanged() { root.updatePeriods() }
    }

    ListModel {
        id: slotModel
    }

    // Built by build(): Qt 6.4's Loader refuses this file's inline components.
    Loader {
        id: presetLoader
    }
    Loader {
        id: valuesLoader
        onLoaded: root.showPreset(root.currentGun)
    }
    Connections {
        target: root.presetColumn
        function onSlotChosen(slot) { root.chooseSlot(slot) }
        function onPresetChosen(index) { root.assignPreset(index) }
    }
    Connections {
        target: root.values
        function onFieldsLeft() { root.endEdits() }
        function onYChosen(y) { root.setY(y) }
        function onTimesChosen(times) { root.setTimes(times) }
        function onRateChosen(text) { root.setPeriodFromText(text) }
    }
}
