import QtQuick
import QtTest
import "../../modules/qml/basic/ProfileList.js" as ProfileList

// The profile list's rules: stored form, new names and slots, deleting and
// renaming.
TestCase {
    name: "ProfileList"

    function entries(text) {
        return text.split(" ").filter(Boolean).map(function (item) {
            return { textValue: item.slice(0, -1), profileNo: Number(item.slice(-1)) }
        })
    }

    function test_parse_data() {
        return [
            { tag: "one name and the filler", stored: ["Standard0", "loaderfiller"], shown: "Standard0" },
            { tag: "two names", stored: ["a0", "b1"], shown: "a0 b1" },
            { tag: "filler not second of two", stored: ["a0", "loaderfiller", "b1"], shown: "a0 b1" },
            { tag: "empty list", stored: [], shown: "Standard0" },
            { tag: "not a list", stored: undefined, shown: "Standard0" },
            { tag: "no slot digit", stored: ["a", "b7", "c2"], shown: "c2" },
            { tag: "more than six", stored: ["a0", "b1", "c2", "d3", "e4", "f5", "g0"], shown: "a0 b1 c2 d3 e4 f5" },
            { tag: "empty name", stored: ["3"], shown: "3" },
        ]
    }
    function test_parse(row) {
        var got = ProfileList.parseStored(row.stored, "Standard")
        compare(ProfileList.storedForm(got).join(" "), row.shown)
    }

    function test_new_data() {
        return [
            { tag: "empty slots and names", list: "Standard0", name: "profile_0", slot: 1, add: true },
            { tag: "lowest free number", list: "Standard0 profile_02 profile_21", name: "profile_1", slot: 3, add: true },
            { tag: "a name with the number inside does not count", list: "Standard0 xprofile_01", name: "profile_0", slot: 2, add: true },
            { tag: "six entries", list: "a0 b1 c2 d3 e4 f5", name: "profile_0", slot: 6, add: false },
        ]
    }
    function test_new(row) {
        var list = entries(row.list)
        compare(ProfileList.newName(list), row.name)
        compare(ProfileList.freeSlot(list), row.slot)
        compare(ProfileList.canAdd(list), row.add)
    }

    function test_newNameAllTaken() {
        var list = []
        for (var k = 0; k < 12; ++k)
            list.push({ textValue: "profile_" + k, profileNo: 0 })
        compare(ProfileList.newName(list), "profile_12")
    }

    function test_rules() {
        var list = entries("Standard0 b1 c2")
        compare(ProfileList.positionOf(list, 2), 2)
        compare(ProfileList.positionOf(list, 5), 0)
        compare(ProfileList.positionOf(list, -1), 0)
        compare(ProfileList.canDelete(0, 1, 3), false)
        compare(ProfileList.canDelete(1, 1, 3), false)
        compare(ProfileList.canDelete(2, 1, 3), true)
        compare(ProfileList.canDelete(3, 1, 3), false)
        compare(ProfileList.canRename(list, 1, "c"), false)
        compare(ProfileList.canRename(list, 1, "b"), true)
        compare(ProfileList.canRename(list, 1, "new name"), true)
        compare(ProfileList.canRename(list, 1, ""), false)
    }
}
