import QtQuick
import QtTest
import "../../modules/qml/basic/GunRules.js" as GunRules

// The gun editor's rules: the red dot and the compensation, the rate slider
// and its text, the clamps of typed or stored values, and the Endness box.
TestCase {
    name: "GunRules"

    // Stored and typed values: texts from the file, words, blanks, out of range.
    function test_clamp_data() {
        return [
            ["Y: undefined (absent gun file)", GunRules.clampY(undefined), 0],
            ["Y: words", GunRules.clampY("high"), 0],
            ["Y: negative", GunRules.clampY("-3"), 0],
            ["Y: text with spaces", GunRules.clampY(" 12 "), 12],
            ["Y: past the top", GunRules.clampY("65"), 64],
            ["Y: a fraction is its integer part", GunRules.clampY("7.9"), 7],
            ["times: 256", GunRules.clampTimes(256), 255],
            ["times: empty", GunRules.clampTimes(""), 0],
            ["times: number and words", GunRules.clampTimes("3x"), 0],
            ["integer: fallback kept for words", GunRules.integer("x", null), null],
            ["integer: 0 is a number", GunRules.integer("0", null), 0],
        ].map(([tag, got, want]) => ({ tag, got, want }))
    }
    function test_clamp(row) {
        compare(row.got, row.want)
    }

    // The dot runs from y 89 (compensation 0) to 183 (64); any y outside
    // stops at the ends; between steps the integer part counts.
    function test_dot_data() {
        return [
            ["top", GunRules.dotOf("0"), 89],
            ["bottom", GunRules.dotOf("64"), 183],
            ["past the top clamps", GunRules.dotOf(100), 183],
            ["not a number is 0", GunRules.dotOf("x"), 89],
            ["dragged above the run", GunRules.yOfDot(40), 0],
            ["dragged below the run", GunRules.yOfDot(300), 64],
            ["just short of step 1", GunRules.yOfDot(90.4), 0],
            ["two pixels down", GunRules.yOfDot(91), 1],
            ["just short of the bottom", GunRules.yOfDot(182.9), 63],
        ].map(([tag, got, want]) => ({ tag, got, want }))
    }
    function test_dot(row) {
        compare(row.got, row.want)
    }

    // Every compensation placed as a dot reads back as itself.
    function test_dotRoundTrip() {
        for (var y = 0; y <= 64; ++y)
            compare(GunRules.yOfDot(GunRules.dotOf(y)), y, "Y " + y)
    }

    // The rate field's text and the period it stands for; the slider's
    // position for a period.
    function test_rate_data() {
        return [
            ["text of knob 3 (left end)", GunRules.rateText(GunRules.periodOfPosition(3)), "4MS"],
            ["text of a knob between pixels", GunRules.rateText(GunRules.periodOfPosition(9.7)), "10MS"],
            ["one digit", GunRules.periodOfText("9MS"), 9],
            ["two digits", GunRules.periodOfText("10MS"), 10],
            ["three digits", GunRules.periodOfText("100MS"), 100],
            ["with a space", GunRules.periodOfText("9 MS"), 9],
            ["no number", GunRules.periodOfText("MS"), -1],
            ["ratio of 5", GunRules.rateRatio("5"), 0],
            ["ratio below 5 stops at 0", GunRules.rateRatio(1), 0],
            ["ratio past 91 stops at 1", GunRules.rateRatio(200), 1],
            ["ratio of words is that of 10", GunRules.rateRatio("fast"), 5 / 86],
            ["position of 91, one past the drag range", GunRules.ratePosition(91), 90],
            ["position past 91", GunRules.ratePosition(500), 90],
        ].map(([tag, got, want]) => ({ tag, got, want }))
    }
    function test_rate(row) {
        compare(row.got, row.want)
    }

    // A period placed on the slider shows as itself, for every period the
    // slider can stand for (a plain ratio placement misses some by one).
    function test_rateRoundTrip() {
        for (var p = 5; p <= 91; ++p)
            compare(GunRules.rateText(GunRules.periodOfPosition(GunRules.ratePosition(p))), p + "MS", "period " + p)
    }

    // The slots that hold a preset, as the list marks them.
    function test_slotMarks_data() {
        return [["none", [0, 1, 2], 4, ""], ["one", [0, 1, 2], 1, "2"], ["two", [3, 1, 3], 3, "1 3"]]
            .map(([tag, presets, index, want]) => ({ tag, presets, index, want }))
    }
    function test_slotMarks(row) {
        compare(GunRules.slotMarks(row.presets, row.index), row.want)
    }

    function test_endless_data() {
        return [["0", "0", true], ["number 0", 0, true], ["1", "1", false], ["255", "255", false],
                ["empty counts as 0", "", true], ["words count as 0", "x", true]]
            .map(([tag, times, want]) => ({ tag, times, want }))
    }
    function test_endless(row) {
        compare(GunRules.isEndless(row.times), row.want)
    }
}
