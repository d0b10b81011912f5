import QtQuick
import QtTest
import "../../modules/qml/common/GunRules.js" as GunRules

// The gun editor's rules: the red dot and the compensation, the rate slider
// and its text, the clamps of typed or stored values, and the Endness box.
TestCase {
    name: "GunRules"

    // Stored and typed values (texts from the file, words, blanks, out of range), the dot's run from y 89
    // (compensation 0) to 183 (64), and the rate field's text and period.
    function test_values_data() {
        var R = GunRules
        return [["Y: undefined (absent gun file)", R.clampY(undefined), 0], ["Y: words", R.clampY("high"), 0],
                ["Y: negative", R.clampY("-3"), 0], ["Y: text with spaces", R.clampY(" 12 "), 12],
                ["Y: past the top", R.clampY("65"), 64], ["Y: a fraction is its integer part", R.clampY("7.9"), 7],
                ["times: 256", R.clampTimes(256), 255], ["times: empty", R.clampTimes(""), 0],
                ["times: number and words", R.clampTimes("3x"), 0],
                ["integer: fallback kept for words", R.integer("x", null), null],
                ["integer: 0 is a number", R.integer("0", null), 0],
                ["dot past the top clamps", R.dotOf(100), 183], ["dot of no number is 0", R.dotOf("x"), 89],
                ["dragged above the run", R.yOfDot(40), 0], ["dragged below the run", R.yOfDot(300), 64],
                ["just short of step 1", R.yOfDot(90.4), 0], ["just short of the bottom", R.yOfDot(182.9), 63],
                ["text of knob 3 (left end)", R.rateText(R.periodOfPosition(3)), "4MS"],
                ["text of a knob between pixels", R.rateText(R.periodOfPosition(9.7)), "10MS"],
                ["one digit", R.periodOfText("9MS"), 9], ["three digits", R.periodOfText("100MS"), 100],
                ["with a space", R.periodOfText("9 MS"), 9], ["no number", R.periodOfText("MS"), -1],
                ["ratio below 5 stops at 0", R.rateRatio(1), 0], ["ratio past 91 stops at 1", R.rateRatio(200), 1],
                ["ratio of words is that of 10", R.rateRatio("fast"), 5 / 86],
                ["position past 91", R.ratePosition(500), 90],
                ["slot periods: words, none, a number before text", R.slotPeriods(["12", "x", "7ms"], [0, 1, 4, 2]),
                 [12, 10, 10, 7]]]
            .map(([tag, got, want]) => ({ tag, got, want }))
    }
    function test_values(row) {
        compare(row.got, row.want)
    }

    // Every compensation placed as a dot, and every period placed on the rate slider, reads back as itself (a
    // plain ratio placement misses some periods by one).
    function test_roundTrip() {
        for (var y = 0; y <= 64; ++y)
            compare(GunRules.yOfDot(GunRules.dotOf(y)), y, "Y " + y)
        for (var p = 5; p <= 91; ++p)
            compare(GunRules.rateText(GunRules.periodOfPosition(GunRules.ratePosition(p))), p + "MS", "period " + p)
    }

    // The slots that hold a preset, as the list marks them; Endness for the stored times.
    function test_marksAndEndless() {
        compare([[0, 1, 2], [0, 1, 2], [3, 1, 3]].map((presets, i) => GunRules.slotMarks(presets, [4, 1, 3][i])),
                ["", "2", "1 3"])
        compare(["0", 0, "1", "", "x"].map(GunRules.isEndless), [true, true, false, true, true])
    }
}
