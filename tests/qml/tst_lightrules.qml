import QtQuick
import QtTest
import "../../modules/qml/common/LightRules.js" as LightRules

// The lighting panel's rules: the hue bar both ways, colour texts and typed
// values, the effect lists per mouse, both visibility tables, the colour
// blocks shown, the colour-8 rule of saving, and stored lists that are short,
// long or no numbers.
TestCase {
    name: "LightRules"

    readonly property int w: 200
    readonly property real d: 33
    readonly property real v: 33 / 256

    // Positions along a 200-wide bar: 33 pixels per segment. Its start, green
    // at 66 and white at its end are in the page's test.
    function test_colorProc_data() {
        return [
            ["half way to yellow", 16, "#ff7b00"],
            ["last pixel of magenta", 197, "#ff0008"],
            ["past the end", 250, "#ffffff"],
            ["before the start", -1, "#ff0000"],
            ["no segment width: no division by zero", 3, "#ff0000", 7],
        ].map(([tag, p, want, width]) => ({ tag, p, want, width: width || w }))
    }
    function test_colorProc(row) {
        compare(LightRules.colorProc(row.p, row.width), row.want)
    }

    // Colours the bar itself gives are covered by the round trip below; these
    // are the ones between its segments and those outside the hue ring (0).
    function test_initPos_data() {
        return [
            ["green: third test, end of segment 2", "#00ff00", d + 255 * v],
            ["green-cyan: fifth test", "#00ff80", 2 * d + 128 * v],
            ["magenta-red: sixth test", "#ff0080", 5 * d + 127 * v],
            ["grey is no hue", "#808080", 0],
            ["not a colour", "blue", 0],
        ].map(([tag, color, want]) => ({ tag, color, want }))
    }
    function test_initPos(row) {
        fuzzyCompare(LightRules.initPos(row.color, w), row.want, 1e-9)
    }

    // A slider placed for any colour the bar gives lands where that colour
    // is, so it shows the colour again: green at 66 included.
    function test_roundTripEveryPosition() {
        for (var p = 0; p <= w - 2; ++p) {
            var color = LightRules.colorProc(p, w)
            compare(LightRules.sliderX(color, 16, w), p + 16 + 1 - 9, "position " + p + " " + color)
        }
    }

    function test_text_data() {
        return [
            ["upper case, no #", LightRules.parseHex("00FF0A"), [0, 255, 10]],
            ["spaces around", LightRules.parseHex(" #123456 "), [0x12, 0x34, 0x56]],
            ["three digits", LightRules.parseHex("#0f0"), null],
            ["not hex", LightRules.parseHex("#00ff0g"), null],
            ["undefined", LightRules.parseHex(undefined), null],
            ["colour text: clamped and cut", LightRules.colorText(300, -5, 7.9), "#ff0007"],
            ["no colour is black", LightRules.rgbOf("x"), [0, 0, 0]],
            ["field: negative", LightRules.fieldValue("-3"), 0],
            ["field: words", LightRules.fieldValue("abc"), 0],
            ["field: past 255", LightRules.fieldValue("999"), 255],
            ["field: spaces", LightRules.fieldValue(" 7 "), 7],
        ].map(([tag, got, want]) => ({ tag, got, want }))
    }
    function test_text(row) {
        compare(row.got, row.want)
    }

    // The order of each list is the effect number sent to the mouse. The
    // language file's effect names are at 15..42; the plain list is the
    // start of the others.
    function test_effectNames_data() {
        var extra = [...Array(30).keys()].map(i => "e" + (i + 15)), long571 = extra.slice(1, 28)
        var t = ["Light", "Static", "Breath", "Neon", "OFF", "Speed", "Color", "Brightness", "Twinkling", "Wave",
                 "Gliding", "Finger Moving", "Vertical Flipping", "YO-YO", "Spotlight"].concat(extra)
        var colorful = t.slice(1, 5).concat(t.slice(8, 15))
        return [
            ["isColorful and is55328", t, true, true, false, colorful.concat(["e15"])],
            ["is571 with isColorful: 27", t, true, false, true, long571],
            ["is571 alone: four replaced", t, false, false, true, extra.slice(1, 5).concat(long571.slice(11))],
            ["texts missing: empty names", ["Light", "Static"], false, true, false, ["Static", "", "", "", ""]],
        ].map(([tag, texts, isColorful, is55328, is571, want]) => ({ tag, texts, isColorful, is55328, is571, want }))
    }
    function test_effectNames(row) {
        compare(LightRules.effectNames(row.texts, row.isColorful, row.is55328, row.is571), row.want)
    }

    // With is571: speed, brightness, colours; choosing sets both steps to 4.
    // Effects 2 and 4 are in the page's test.
    function test_visibility571_data() {
        var rows = [[0, false, false, "masked"], [1, false, true, "single"], [7, true, true, "masked"],
                    [21, true, true, "blocks"], [27, false, false, "masked"]] // 27 past the list: light off
        return rows.map(([index, speed, brightness, colours]) => ({ tag: "effect " + index, index, speed, brightness,
                                                                      colours }))
    }
    function test_visibility571(row) {
        var got = LightRules.visibility(row.index, true, false)
        var single = row.colours === "single"
        compare([got.speed, got.brightness, got.colours], [row.speed, row.brightness, row.colours])
        compare([got.is571ColorBlock, got.selectColorBlock, got.isColorDisplay],
                [!single, single ? -1 : 0, row.colours !== "masked"])
        compare([got.speedStep, got.brightnessStep], [4, 4])
    }

    // Without is571: speed, brightness, colour area, steps set on choosing (-1
    // kept). Effects 0, 2, 3, 5 and 4 with is55328 are in the page's test.
    function test_visibilityPlain_data() {
        var rows = [
            ["4 otherwise", 4, false, false, true, "shown", -1, 4],
            ["6", 6, false, false, false, "masked", 0, 4],
            ["7", 7, false, false, true, "masked", -1, 4],
            ["11, is55328's extra after the colourful ones", 11, true, false, false, "masked", -1, -1],
            ["past the list", 40, false, false, false, "masked", -1, -1],
        ]
        return rows.map(([tag, index, is55328, speed, brightness, colours, speedStep, brightnessStep]) => ({
            tag, index, is55328, speed, brightness, colours, speedStep, brightnessStep }))
    }
    function test_visibilityPlain(row) {
        var got = LightRules.visibility(row.index, false, row.is55328)
        compare([got.speed, got.brightness, got.colours, got.speedStep, got.brightnessStep],
                [row.speed, row.brightness, row.colours, row.speedStep, row.brightnessStep])
        compare([got.selectColorBlock, got.is571ColorBlock, got.isColorDisplay], [0, false, row.colours === "shown"])
    }

    // Which of the twelve blocks show; the common cases are in the page's test.
    function test_blockShown_data() {
        var base = { is571: false, is55328: false, isColorful: false, dpiCount: 3, is571ColorBlock: false, effect: 0 }
        return [
            ["plain, no stage", { dpiCount: 0 }, "000000000000"],
            ["plain, eight stages", { dpiCount: 8 }, "111111110000"],
            ["is55328, no stage, effect 4", { is55328: true, effect: 4, dpiCount: 0 }, "011111100000"],
            ["is571, single colour", { is571: true, isColorful: true, dpiCount: 8 }, "000000000000"],
        ].map(([tag, change, want]) => ({ tag, flags: Object.assign({}, base, change), want }))
    }
    function test_blockShown(row) {
        var out = ""
        for (var i = 0; i < 12; ++i)
            out += LightRules.blockShown(i, row.flags) ? "1" : "0"
        compare(out, row.want)
    }

    // Colour 8 is cleared only for is55328 (the page's test covers effects 2
    // and 4); nothing else in the list changes.
    function test_colorsToSave() {
        var values = [...Array(36).keys()].map(i => i + 1)
        compare(LightRules.colorsToSave(values, false, 2), values)
        var saved = LightRules.colorsToSave(values, true, 2)
        compare(saved.slice(0, 21).concat(saved.slice(24)), values.slice(0, 21).concat(values.slice(24)))
    }

    // Stored lists as the profile may hold them; short and wordy ones are
    // also in the page's test.
    function test_cleanLight_data() {
        return [
            ["absent", undefined, 11, [1, 0, 4], 1],
            ["negative effect", [-1, 1, 1], 4, [1, 1, 1], 1],
            ["fractional effect", ["2.5", 1, 1], 4, [1, 1, 1], 1],
            ["steps out of range", [0, 7, -2], 4, [0, 4, 0], 2],
        ].map(([tag, stored, count, want, faults]) => ({ tag, stored, count, want, faults }))
    }
    function test_cleanLight(row) {
        var got = LightRules.cleanLight(row.stored, row.count)
        compare([got.effect, got.speed, got.brightness], row.want)
        compare(got.faults.length, row.faults, got.faults.join("; "))
    }

    function test_cleanColors_data() {
        var full = [...Array(36).keys()].map(i => String(i * 7)), broken = full.slice()
        broken.splice(4, 2, "green", "NaN")
        var last = LightRules.colorText(231, 238, 245)
        return [
            ["long: the first 36", full.concat(["1", "2", "3", "4"]), "#00070e", last, 1],
            ["short: the rest built in", ["1", "2", "3"], "#010203", "#ff00ff", 1],
            ["absent: all built in", [], "#ff0000", "#ff00ff", 1],
            ["no numbers: built-in values", broken, "#00070e", last, 2],
        ].map(([tag, stored, first, last, faults]) => ({ tag, stored, first, last, faults }))
    }
    function test_cleanColors(row) {
        var got = LightRules.cleanColors(row.stored)
        compare(got.colors.length, 12)
        compare([got.colors[0], got.colors[11]], [row.first, row.last])
        compare(got.faults.length, row.faults, got.faults.join("; "))
        verify(got.colors.every(c => /^#[0-9a-f]{6}$/.test(c)))
    }

    function test_cleanFixColor() {
        var got = LightRules.cleanFixColor([300, -1, 5])
        compare([got.color, got.faults.length], ["#ff0005", 2])
    }
}
