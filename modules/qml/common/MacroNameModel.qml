pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The user's macro names in display order, entries with textValue, with the
// rules of the list: the stored form, the next free name, what may be added
// or renamed.
ListModel {
    id: model

    readonly property int maxMacros: MacroSteps.maxMacros

    function names() {
        return MacroSteps.namesOf(model)
    }

    // Fills the model from a stored name list (getNameList(0)).
    function load(stored) {
        model.clear()
        MacroSteps.namesFromStored(stored).forEach(name => model.append({ textValue: name }))
    }

    function newName() {
        return MacroSteps.newName(model.names())
    }

    function canAdd() {
        return MacroSteps.canAdd(model.names())
    }

    function nameAt(position) {
        return position >= 0 && position < model.count ? model.get(position).textValue : ""
    }

    // See MacroSteps.renameRefusal.
    function renameRefusal(position, text) {
        return MacroSteps.renameRefusal(model.names(), position, text)
    }

    // Where an imported entry goes: before the current one, else at the end.
    function importAt(current) {
        return MacroSteps.importAt(current, model.count)
    }

    // Removes the entry; the position current afterwards (-1 when none is left).
    function removeEntry(position) {
        model.remove(position)
        return MacroSteps.afterDelete(position, model.count)
    }
}
