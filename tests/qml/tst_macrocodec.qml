import QtQuick
import QtTest
import "../../modules/qml/basic"
import "../../modules/qml/basic/MacroCodec.js" as Codec

// The macro payload encoder and the key-name table it looks names up in.
TestCase {
    name: "MacroCodec"

    KeyCodeString { id: keys }

    function press(key) { return { type: 1, info: key } }
    function release(key) { return { type: 2, info: key } }
    function mousePress(key) { return { type: 3, info: key } }
    function mouseRelease(key) { return { type: 4, info: key } }
    function delay(ms) { return { type: 0, info: String(ms) } }
    // n taps of key, each press and release followed by a delay of ms when given.
    function taps(key, n, ms) {
        var tap = ms === undefined ? [press(key), release(key)] : [press(key), delay(ms), release(key), delay(ms)]
        var list = []
        for (var i = 0; i < n; ++i)
            list = list.concat(tap)
        return list
    }
    function lookup(name) { return keys.strTokeycode(name) }
    // Press A, wait ms, release A.
    function waitA(ms) { return [press("A"), delay(ms), release("A")] }

    function test_encode_data() {
        return [
            { tag: "delays only", actions: [delay(50), delay(100)], expected: [0, 1] },
            { tag: "no actions", actions: [], expected: [0, 1] },
            { tag: "leading and trailing delays", actions: [delay(500)].concat(waitA(50), [delay(900)]),
              expected: [0, 1, 5, 4, 0x81, 4, 0, 0] },
            { tag: "example: A, 50 ms", actions: waitA(50), expected: [0, 1, 5, 4, 0x81, 4, 0, 0] },
            { tag: "example: A, 2000 ms", actions: waitA(2000), expected: [0, 1, 0, 4, 0, 1, 0, 0x64, 0x81, 4, 0, 0] },
            { tag: "30 + 40 ms", actions: [press("A"), delay(30), delay(40), release("A")],
              expected: [0, 1, 7, 4, 0x81, 4, 0, 0] },
            { tag: "0 ms", actions: waitA(0), expected: [0, 1, 1, 4, 0x81, 4, 0, 0] },
            { tag: "1260 ms", actions: waitA(1260), expected: [0, 1, 126, 4, 0x81, 4, 0, 0] },
            { tag: "1270 ms", actions: waitA(1270), expected: [0, 1, 0, 4, 0, 1, 0, 0x3F, 0x81, 4, 0, 0] },
            { tag: "99,999 units: mode 1", actions: waitA(999990),
              expected: [0, 1, 0, 4, 0, 1, 0xC3, 0x4F, 0x81, 4, 0, 0] },
            { tag: "1,000,000 ms: mode 2", actions: waitA(1000000),
              expected: [0, 1, 0, 4, 0, 2, 0x4E, 0x20, 0x81, 4, 0, 0] },
            { tag: "300,000 units: mode 3", actions: waitA(3000000),
              expected: [0, 1, 0, 4, 0, 3, 0x75, 0x30, 0x81, 4, 0, 0] },
            { tag: "600,000 units clamp", actions: waitA(6000000),
              expected: [0, 1, 0, 4, 0, 3, 0xEA, 0x5F, 0x81, 4, 0, 0] },
            { tag: "55 ms rounds up", actions: waitA(55), expected: [0, 1, 6, 4, 0x81, 4, 0, 0] },
            { tag: "54 ms rounds down", actions: waitA(54), expected: [0, 1, 5, 4, 0x81, 4, 0, 0] },
            { tag: "small delays summed before rounding",
              actions: [press("A"), delay(5), delay(5), delay(5), delay(5), delay(5), release("A")],
              expected: [0, 1, 3, 4, 0x81, 4, 0, 0] },
            { tag: "1265 ms rounds into the extension", actions: waitA(1265),
              expected: [0, 1, 0, 4, 0, 1, 0, 0x3F, 0x81, 4, 0, 0] },
            { tag: "delay not a number", actions: waitA("soon"), expected: [0, 1, 1, 4, 0x81, 4, 0, 0] },
            { tag: "release bits, last pair 01",
              actions: [mousePress("MS-L"), delay(20), mouseRelease("MS-L"), delay(30), press("LShift")],
              expected: [0, 1, 2, 0xF0, 0x83, 0xF0, 0x01, 0xE1, 0, 0] },
            { tag: "unknown key name", actions: [press("Nope"), delay(10), release("Nope")],
              expected: [0, 1, 1, 0, 0x81, 0, 0, 0] },
            { tag: "unknown type skipped",
              actions: [{ type: 7, info: "B" }, press("A"), { type: "x", info: "B" }, release("A")],
              expected: [0, 1, 1, 4, 0x81, 4, 0, 0] },
            { tag: "stored strings", actions: Codec.actionsFromStrings(["1,,", "0,50", "2,,", "3"]),
              expected: [0, 1, 5, 0x36, 0x81, 0x36, 0, 0] },
            { tag: "repeat 9999", repeat: 9999, actions: taps("A", 1), expected: [0x27, 0x0F, 1, 4, 0x81, 4, 0, 0] },
            { tag: "repeat too large", repeat: 70000, actions: taps("A", 1), expected: [0xFF, 0xFF, 1, 4, 0x81, 4, 0, 0] },
            { tag: "repeat not a number", repeat: "x", actions: taps("A", 1), expected: [0, 0, 1, 4, 0x81, 4, 0, 0] }
        ]
    }

    function test_encode(data) {
        var repeat = data.repeat === undefined ? 1 : data.repeat
        compare(Codec.deCode(data.actions, repeat, lookup), data.expected)
        compare(Codec.recordCount(data.actions), data.expected.length)
    }

    // Over 128 bytes: cut where nothing is held, closed with the end pair.
    function test_overLong_data() {
        var chord = [press("LCtrl"), press("C"), release("C"), release("LCtrl")]
        return [
            { tag: "taps", actions: taps("A", 40), length: 128, count: 164 },
            { tag: "chord across the limit", actions: taps("A", 30).concat(chord), length: 124, count: 132 },
            { tag: "long waits", actions: taps("A", 11, 2000), length: 120, count: 132 },
            { tag: "held from the start", actions: [press("LShift")].concat(taps("A", 70), [release("LShift")]),
              length: 2, count: 288 }
        ]
    }

    function test_overLong(data) {
        var bytes = Codec.deCode(data.actions, 1, lookup)
        compare(bytes.length, data.length)
        compare(Codec.recordCount(data.actions), data.count)
        if (data.length > 2)
            compare(bytes.slice(-4), [0x81, 4, 0, 0])
    }

    function test_keyNames() {
        compare(keys.keyCode.length, 133)
        compare(keys.keyCodeStr.length, 133)
        for (var i = 1; i < keys.keyCode.length; ++i)
            verify(keys.keyCode[i] > keys.keyCode[i - 1], "codes in ascending order at " + i)
        for (var j = 0; j < keys.keyCode.length; ++j) {
            var code = keys.keyCode[j]
            var first = code === 0x32 ? 0x31 : code === 0x89 ? 0x88 : code
            compare(keys.strTokeycode(keys.keycodeTostr(code)), first, "round trip of " + code)
        }
        compare(keys.keycodeTostr(0x32), "\\")
        compare(keys.keycodeTostr(0x58), "KPEnter")
        compare(keys.keycodeTostr(0xF4), "MS-B5")
        compare(keys.strTokeycode("Intl2"), 0x88)
        compare(keys.strTokeycode("►"), 0x4F)
        compare(keys.strTokeycode("a"), 0)
        compare(keys.keycodeTostr(0), "")
    }

    function test_languageNames() {
        var names = keys.keyCode.map(function (code) { return "k" + code })
        names[1] = ""
        verify(keys.setKeyNames(names))
        compare(keys.strTokeycode("k4"), 4)
        compare(keys.keycodeTostr(5), "B")
        compare(keys.strTokeycode("A"), 0)
        verify(!keys.setKeyNames(names.slice(1)))
        compare(keys.strTokeycode("A"), 4)
        verify(!keys.setKeyNames([]))
        compare(keys.keycodeTostr(0xE1), "LShift")
    }
}
