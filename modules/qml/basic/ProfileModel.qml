pragma ComponentBehavior: Bound
import QtQuick
import "ProfileList.js" as ProfileList

// The user's named profiles as a list model ({textValue, profileNo}), with
// the operations that keep the profile name list and the profile files in
// step with it. The profile dialog and the top bar's list show it.
//
// A profile file is designated by the entry's list position, as the shell
// does when the top bar chooses one; the slot digit stored with each name
// finds the active entry at start.
ListModel {
    id: model

    function entries() {
        return ProfileList.fromModel(model)
    }

    function store() {
        ui_View.updataNameList(2, ProfileList.storedForm(model.entries())) // qmllint disable unqualified
    }

    // Fills the model from the stored name list, at most six entries, the
    // first named firstName whatever was stored, and stores it back. Returns
    // the position of the entry with the slot digit profileNo, 0 when none.
    function load(firstName, profileNo) {
        var stored = ui_View.getNameList(2) // qmllint disable unqualified
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

    // A new entry starts from the factory profile. Its file is that of its
    // position: after a deletion the free slot digit can be the position of
    // an entry still in use, whose settings must not be reset. A full list
    // gains nothing and resets no entry's profile (only slot 6, which no
    // entry uses). Returns the new position or -1.
    function newProfile() {
        var slot = ProfileList.freeSlot(model.entries())
        var position = model.appendEntry()
        if (position >= 0)
            ui_View.resetProfile(position) // qmllint disable unqualified
        else if (slot >= model.count)
            ui_View.resetProfile(slot) // qmllint disable unqualified
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
        if (ui_View.loadProfile(position)) // qmllint disable unqualified
            return position
        model.remove(position)
        model.store()
        return -1
    }

    function exportProfile(position) {
        if (position >= 0 && position < model.count)
            ui_View.saveProfile(position) // qmllint disable unqualified
    }

    // Neither the first entry nor the one chosen in the top bar goes; the
    // profile's file stays.
    function deleteAt(position, chosenPosition) {
        if (!ProfileList.canDelete(position, chosenPosition, model.count))
            return false
        model.remove(position)
        model.store()
        return true
    }

    // A name is taken when it is not empty and no other entry bears it.
    function rename(position, text) {
        if (position < 0 || position >= model.count || model.get(position).textValue === text)
            return false
        if (!ProfileList.canRename(model.entries(), position, text))
            return false
        model.setProperty(position, "textValue", text)
        model.store()
        return true
    }
}
