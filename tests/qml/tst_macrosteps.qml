import QtQuick
import QtTest
import "../../modules/qml/common/MacroSteps.js" as MacroSteps

// The macro editor's rules. Steps are written as words: "+A" KeyPress A,
// "-A" KeyRelease A, "M+MS-L"/"M-MS-L" a button, "50" a Delay of 50 ms.
TestCase {
    name: "MacroSteps"

    function words(list) {
        return list.map(s => s.type === 0 ? s.info : (s.type >= 3 ? "M" : "") + (s.type % 2 ? "+" : "-") + s.info)
                   .join(" ")
    }
    // The encoded length the view counts.
    function encodedLength(steps) { return ui_View.macroLength(steps) } // qmllint disable unqualified
    function macroNames(n) { return Array.from({ length: n }, (_, i) => "Macro_" + i) }

    function test_newName_data() {
        return [["lowest free", ["Macro_0", "Macro_2"], "Macro_1", true],
                ["other names do not count", ["macro_0", "Macro_00", "Macro_0 "], "Macro_0", true],
                ["99 taken", macroNames(99), "Macro_99", true], ["all 100 taken", macroNames(100), "Macro_100", false],
                ["100 entries with a gap", macroNames(101).filter(n => n !== "Macro_7"), "Macro_7", false]]
            .map(([tag, names, name, add]) => ({ tag, names, name, add }))
    }
    function test_newName(row) {
        compare([MacroSteps.newName(row.names), MacroSteps.canAdd(row.names)], [row.name, row.add])
    }

    // What loadMacroIni returns, as shown: steps (words) and Times. (Unknown names and types: the editor's
    // test_select.)
    function test_fromStored_data() {
        return [["missing entries read 0", ["1,A", "0", "0", "7"], "+A 0 0", "7"],
                ["non-numeric delays", ["0,abc", "0,-5", "0,1.5", "0,"], "0 0 0", "0"],
                ["repeat past four digits", ["12345"], "", "9999"]]
            .map(([tag, stored, shown, times]) => ({ tag, stored, shown, times }))
    }
    function test_fromStored(row) {
        var loaded = MacroSteps.fromStored(row.stored)
        compare([words(loaded.steps), loaded.times], [row.shown, row.times])
        compare(MacroSteps.fromStored([]), null)
    }

    // Saving writes back what was read, unknown types whole.
    function test_roundTrip() {
        var stored = ["1,A", "0,120", "2,A", "3,MS-L", "4,MS-L", "9,odd", "x", "1,a,b"]
        compare(stored.map(MacroSteps.stepFromString).map(MacroSteps.stepToString), stored)
        compare(MacroSteps.namesFromStored(["A", "loaderfiller"]), ["A"])
        compare(["", "0", "12", " 3", "x"].map(MacroSteps.timesValue), [0, 0, 12, 0, 0])
    }

    function test_parseDelay_data() {
        return [["zero", "0", "0"], ["largest", "65535", "65535"], ["too large", "65536", "old"],
                ["spaces, leading zeros", " 007 ", "7"], ["negative", "-1", "old"], ["fraction", "1.5", "old"],
                ["empty", "", "old"], ["letters", "12ms", "old"]]
            .map(([tag, text, value]) => ({ tag, text, value }))
    }
    function test_parseDelay(row) {
        compare(MacroSteps.parseDelay(row.text, "old"), row.value)
    }

    // Where inserts go in a list of count steps with current step current: [delay, key, click, import].
    function test_insertAt_data() {
        return [["empty list", -1, 0, [0, 0, 0, 0]], ["none current", -1, 4, [4, 4, 4, 4]],
                ["first of four", 0, 4, [0, 0, 1, 0]], ["last", 3, 4, [3, 4, 4, 3]],
                ["past the end", 9, 4, [4, 4, 4, 4]]]
            .map(([tag, current, count, at]) => ({ tag, current, count, at }))
    }
    function test_insertAt(row) {
        compare([MacroSteps.delayInsertAt(row.current, row.count), MacroSteps.keyInsertAt(row.current, row.count),
                 MacroSteps.clickInsertAt(row.current, row.count), MacroSteps.importAt(row.current, row.count)], row.at)
    }

    function test_rename_data() {
        return [["free", 0, "B", ""], ["empty", 1, "", "empty"], ["the filler", 1, "loaderfiller", "filler"],
                ["case differs", 0, "a", ""]]
            .map(([tag, position, text, refusal]) => ({ tag, position, text, refusal }))
    }
    function test_rename(row) {
        compare(MacroSteps.renameRefusal(["A", "X", "C"], row.position, row.text), row.refusal)
        compare([MacroSteps.afterDelete(1, 3), MacroSteps.afterDelete(2, 2), MacroSteps.afterDelete(0, 0)], [1, 1, -1])
    }

    // Events: [down, code, ticks]; the recorded steps, and the steps once the recording stops.
    function test_record_data() {
        return [["without Delay", false, [[1, 4, 5], [0, 4, 12]], "+A -A", "+A -A"],
                ["held key repeats", true, [[1, 4, 0], [1, 4, 3], [1, 4, 3], [0, 4, 4]], "+A 40 -A", "+A 40 -A"],
                ["release of a key held before the start", true, [[0, 0x2C, 2], [1, 5, 1], [0, 5, 2]], "+B 20 -B",
                 "+B 20 -B"],
                ["key pressed to stop", true, [[1, 4, 0], [0, 4, 3], [1, 0x28, 9]], "+A 30 -A 90 +Enter", "+A 30 -A"],
                ["only a press", true, [[1, 4, 7]], "+A", ""],
                ["held across and a stop key", true, [[1, 0xE0, 0], [1, 4, 2], [0, 4, 2], [1, 0x2C, 5]],
                 "+LCtrl 20 +A 20 -A 50 +Space", "+LCtrl 20 +A 20 -A -LCtrl"],
                ["two modifiers, last pressed released first", false,
                 [[1, 0xE0, 0], [1, 0xE1, 0], [1, 4, 0], [0, 4, 0]],
                 "+LCtrl +LShift +A -A", "+LCtrl +LShift +A -A -LShift -LCtrl"],
                ["mouse codes", false, [[1, 0xF0, 0], [0, 0xF0, 0]], "M+MS-L M-MS-L", "M+MS-L M-MS-L"]]
            .map(([tag, withDelay, events, recorded, finished]) => ({ tag, withDelay, events, recorded, finished }))
    }
    function test_record(row) {
        var names = { 4: "A", 5: "B", 0x28: "Enter", 0x2C: "Space", 0xE0: "LCtrl", 0xE1: "LShift", 0xF0: "MS-L" }
        var recording = MacroSteps.newRecording(), list = []
        for (const [down, code, ticks] of row.events)
            list = list.concat(MacroSteps.recordedSteps(recording, list, encodedLength, !!down, code, ticks,
                                                        row.withDelay, names[code]))
        compare(words(list), row.recorded)
        compare(words(MacroSteps.finishedSteps(recording, list)), row.finished)
        compare(recording.held, {})
    }

    // Once the encoded macro is 126 long no event is recorded; at 124 one still is.
    function test_recordLimit() {
        var list = [], recording = MacroSteps.newRecording(), count = encodedLength
        for (var i = 0; count(list) < 124; ++i)
            list = list.concat(MacroSteps.recordedSteps(recording, list, count, i % 2 === 0, 4, 0, false, "A"))
        compare(encodedLength(list), 124)
        var added = MacroSteps.recordedSteps(recording, list, encodedLength, true, 5, 1, true, "B")
        compare(words(added), "10 +B")
        list = list.concat(added)
        compare(MacroSteps.recordedSteps(recording, list, encodedLength, false, 5, 1, true, "B"), [])
        compare(MacroSteps.recordedSteps(recording, list, encodedLength, true, 6, 1, true, "C"), [])
    }
}
