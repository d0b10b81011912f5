pragma ComponentBehavior: Bound
import QtQuick
import modules.qml

// The steps of one macro as the editor shows them, entries with type and info
// (see MacroSteps.js), with the edits the editor makes and the recording of
// key events. Positions are list positions; -1 names no step.
ListModel {
    id: model

    readonly property int maxDelay: MacroSteps.maxDelay
    // The keys held during a recording.
    property var recording: MacroSteps.newRecording()

    function list() {
        return MacroSteps.stepsOf(model)
    }

    function setList(steps) {
        model.clear()
        steps.forEach(step => model.append({ type: step.type, info: step.info }))
    }

    // Shows what loadMacroIni returned; the Times text of it, or null when it
    // is empty (no file), which leaves the model empty.
    function load(stored) {
        var loaded = MacroSteps.fromStored(stored)
        model.setList(loaded ? loaded.steps : [])
        return loaded ? loaded.times : null
    }

    // The action strings saveMacroIni stores.
    function strings() {
        return model.list().map(MacroSteps.stepToString)
    }

    // The repeat count saved for the Times field's text.
    function repeatOf(times) {
        return MacroSteps.timesValue(times)
    }

    // The encoded length of the steps (the editor's recordCount).
    function encodedLength() {
        return model.lengthOf(model.list())
    }

    // The encoded length of a list of steps, as the view's encoder counts it.
    function lengthOf(steps) {
        return Program.view.macroLength(steps)
    }

    function isFull() {
        return model.encodedLength() >= MacroSteps.lengthLimit
    }

    function isDelay(position) {
        return position >= 0 && position < model.count && model.get(position).type === MacroSteps.Delay
    }

    // The inserts below return the position of the step that becomes current.

    // A 50 ms Delay before the current step (at the end when none).
    function insertDelay(current) {
        var at = MacroSteps.delayInsertAt(current, model.count)
        model.insert(at, { type: MacroSteps.Delay, info: MacroSteps.insertedDelay })
        return at
    }

    function insertPair(at, pressType, name) {
        model.insert(at, { type: pressType, info: name })
        model.insert(at + 1, { type: pressType + 1, info: name })
    }

    // A click of button name ("MS-L") right after the current step, or at the
    // end; its release becomes current, so that further clicks follow it.
    function insertClick(current, name) {
        var at = MacroSteps.clickInsertAt(current, model.count)
        model.insertPair(at, MacroSteps.MousePress, name)
        return at + 1
    }

    // A key's press and release before the current step, which stays
    // current; appended when the current step is the last one or there is
    // none, the release then current.
    function insertKey(current, name) {
        var count = model.count
        var at = MacroSteps.keyInsertAt(current, count)
        model.insertPair(at, MacroSteps.KeyPress, name)
        return at === count ? at + 1 : current + 2
    }

    // Removes the step; the position current afterwards.
    function removeStep(position) {
        if (position < 0 || position >= model.count)
            return -1
        model.remove(position)
        return Math.min(position, model.count - 1)
    }

    // Sets a Delay to the typed text; false when the text is no delay (the
    // step keeps its value) or nothing changed.
    function setDelay(position, text) {
        if (!model.isDelay(position))
            return false
        var old = model.get(position).info
        var value = MacroSteps.parseDelay(text, old)
        if (value === old)
            return false
        model.setProperty(position, "info", value)
        return true
    }

    // A recording starts on an empty list with no key held.
    function startRecording() {
        model.clear()
        model.recording = MacroSteps.newRecording()
    }

    // A key event ticks of 10 ms after the last recorded one; true when it
    // added steps.
    function record(isDown, code, ticks, withDelay, name) {
        var added = MacroSteps.recordedSteps(model.recording, model.list(), model.lengthOf, isDown, code, ticks,
                                             withDelay, name)
        added.forEach(step => model.append(step))
        return added.length > 0
    }

    // Completes the keys still held when the recording stops.
    function finishRecording() {
        model.setList(MacroSteps.finishedSteps(model.recording, model.list()))
    }

    // The picture of a step's type, "" for an unknown type.
    function iconOf(type) {
        return ["macroDelay", "macroKeyDown", "macroKeyUp", "macroMouseDown", "macroMouseUp"][type] || ""
    }

    function shownInfo(type, info) {
        return MacroSteps.shownInfo(type, info)
    }

    function spokenStep(number, type, info) {
        return MacroSteps.spokenStep(number, type, info)
    }
}
