import QtQuick
import QtTest
import "../../modules/qml/basic"
import "../../modules/qml/basic/MacroCodec.js" as Codec

// The macro payload encoder and the key-name table it looks names up in. The
// encoder's cases are rows of tests/data/macrocodec.rows, read through
// XMLHttpRequest (tst_qml runs with QML_XHR_ALLOW_FILE_READ=1).
TestCase {
    name: "MacroCodec"

    KeyCodeString { id: keys }

    function lookup(name) { return keys.strTokeycode(name) }

    // The actions a row writes (see the data file).
    function actions(text) {
        if (text.startsWith("stored "))
            return Codec.actionsFromStrings(text.split(" ").slice(1))
        text = text.replace(/\(([^)]*)\)x(\d+)/g, function (all, group, n) { return Array(Number(n)).fill(group).join(" ") })
        return text.split(" ").filter(Boolean).map(function (word) {
            var key = /^(M?)([+-])(.+)$/.exec(word), typed = /^([^:]+):(.*)$/.exec(word)
            if (key)
                return { type: (key[1] ? 3 : 1) + (key[2] === "-" ? 1 : 0), info: key[3] }
            return typed ? { type: isNaN(typed[1]) ? typed[1] : Number(typed[1]), info: typed[2] } : { type: 0, info: word }
        })
    }

    // A missing file or one without rows gives one failing row.
    function test_encode_data() {
        var xhr = new XMLHttpRequest()
        xhr.open("GET", Qt.resolvedUrl("../data/macrocodec.rows"), false)
        xhr.send()
        var rows = xhr.responseText.split("\n").filter(function (line) { return /^(encode|overLong) *\|/.test(line) })
        return rows.length ? rows.map(function (line) {
            var fields = line.split("|").map(function (field) { return field.trim() })
            return { tag: fields[0] + ": " + fields[1], fields: fields }
        }) : [{ tag: "no rows in tests/data/macrocodec.rows", fields: [] }]
    }

    function test_encode(data) {
        verify(data.fields.length > 0, data.tag)
        var list = actions(data.fields[3]), repeat = data.fields[2]
        var bytes = Codec.deCode(list, isNaN(repeat) ? repeat : Number(repeat), lookup)
        if (data.fields[0] === "encode") {
            var expected = data.fields[4].split(" ").filter(Boolean).map(function (hex) { return parseInt(hex, 16) })
            compare(bytes, expected)
            compare(Codec.recordCount(list), expected.length)
        } else {
            compare(bytes.length, Number(data.fields[4]))
            compare(Codec.recordCount(list), Number(data.fields[5]))
            if (bytes.length > 2)
                compare(bytes.slice(-4), [0x81, 4, 0, 0])
        }
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
