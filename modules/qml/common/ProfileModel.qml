pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The user's named profiles as a list model ({textValue, profileNo}), with
// the operations that keep the profile name list and the profile files in
// step with it. The profile dialog and the top bar's list show it.
//
// An entry's slot digit names its profile file, wherever the entry stands in
// the list: positions move when an entry is deleted, slot digits never do, so
// a name always shows its own settings. The operations take positions (what
// the lists show) and pass slot digits to the view.
ListModel {
    id: model

    function entries() {
        return ProfileList.fromModel(model)
    }

    function store() {
        Program.view.updataNameList(2, ProfileList.storedForm(model.entries()))
    }

    // The slot digit of the entry at position, -1 when there is none.
    function slotAt(position) {
        return position >= 0 && position < model.count ? model.get(position).profileNo : -1
    }

    function positionOfSlot(slot) {
        return ProfileList.positionOf(model.entries(), slot)
    }

    // Fills the model from the stored name list, at most six entries, the
    // first named firstName whatever was stored, and stores it back. Returns
    // the position of the active entry: the one with the slot digit
    // profileNo (see ProfileList.positionOf for lists of earlier versions).
    function load(firstName, profileNo) {
        var stored = Program.view.getNameList(2)
        var list = ProfileList.parseStored(stored, firstName)
        list[0].textValue = firstName
        model.clear()
        list.forEach(e => model.append(e))
        model.store()
        return ProfileList.positionOf(list, profileNo)
    }

    // Appends an entry with the next free name and slot digit and stores the
    // list; its position, or -1 when the list is full.
    function appendEntry() {
        var list = model.entries()
        if (!ProfileList.canAdd(list))
            return -1
        model.append({ textValue: ProfileList.newName(list), profileNo: ProfileList.freeSlot(list) })
        model.store()
        return model.count - 1
    }

    // A new entry starts from the factory profile: its slot is one no entry
    // uses. A full list gains nothing and resets slot 6, which no entry uses.
    // Returns the new position or -1.
    function newProfile() {
        var slot = ProfileList.freeSlot(model.entries())
        var position = model.appendEntry()
        Program.view.resetProfile(slot)
        return position
    }

    // A new entry filled from a file the user chooses; its position, or -1.
    // A full list imports nothing (the file would replace a profile in use),
    // and a cancelled choice takes the new entry back, so that no entry
    // shows a profile nobody imported.
    function importProfile() {
        var position = model.appendEntry()
        if (position < 0)
            return -1
        if (Program.view.loadProfile(model.slotAt(position)))
            return position
        model.remove(position)
        model.store()
        return -1
    }

    function exportProfile(position) {
        if (position >= 0 && position < model.count)
            Program.view.saveProfile(model.slotAt(position))
    }

    // Neither the first entry nor the one chosen in the top bar goes; the
    // profile's file stays. Returns why not (ProfileList.deleteRefusal), 0
    // when deleted.
    function deleteAt(position, chosenPosition) {
        var refusal = ProfileList.deleteRefusal(position, chosenPosition, model.count)
        if (refusal !== 0)
            return refusal
        model.remove(position)
        model.store()
        return 0
    }

    // A name is taken when it is not empty and no other entry bears it.
    // Returns why not (ProfileList.renameRefusal), 0 when taken or unchanged.
    function rename(position, text) {
        if (position < 0 || position >= model.count || model.get(position).textValue === text)
            return 0
        var refusal = ProfileList.renameRefusal(model.entries(), position, text)
        if (refusal !== 0)
            return refusal
        model.setProperty(position, "textValue", text)
        model.store()
        return 0
    }
}
