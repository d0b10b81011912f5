import QtQuick
import QtTest
import "../../modules/qml/common/ProfileList.js" as ProfileList

// The profile list's rules not reached through the profile dialog (tst_Profile.qml): odd stored forms and new names.
TestCase {
    name: "ProfileList"

    function entries(text) {
        return text.split(" ").filter(Boolean).map(item => ({ textValue: item.slice(0, -1),
                                                              profileNo: Number(item.slice(-1)) }))
    }

    function test_parse_data() {
        return [["filler not second of two", ["a0", "loaderfiller", "b1"], "a0 b1"],
                ["not a list", undefined, "Standard0"], ["empty name", ["3"], "3"]]
            .map(([tag, stored, shown]) => ({ tag, stored, shown }))
    }
    function test_parse(row) {
        compare(ProfileList.storedForm(ProfileList.parseStored(row.stored, "Standard")).join(" "), row.shown)
    }

    function test_new_data() {
        return [["lowest free number", "Standard0 profile_02 profile_21", "profile_1", 3, true],
                ["a name with the number inside does not count", "Standard0 xprofile_01", "profile_0", 2, true],
                ["six entries", "a0 b1 c2 d3 e4 f5", "profile_0", 6, false],
                ["all twelve names taken", [...Array(12).keys()].map(k => "profile_" + k + "0").join(" "), "profile_12",
                 1, false]]
            .map(([tag, list, name, slot, add]) => ({ tag, list, name, slot, add }))
    }
    function test_new(row) {
        var list = entries(row.list)
        compare([ProfileList.newName(list), ProfileList.freeSlot(list), ProfileList.canAdd(list)],
                [row.name, row.slot, row.add])
    }
}
