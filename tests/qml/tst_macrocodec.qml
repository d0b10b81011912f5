import QtQuick
import QtTest
import modules.qml

// The key-name table macros and pages look names up in.
TestCase {
    name: "KeyNames"

    KeyCodeString { id: keys }

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
