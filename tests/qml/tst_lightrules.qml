import QtQuick
import QtTest
import "../../modules/qml/basic/LightRules.js" as LightRules

// The lighting panel's rules: the hue bar both ways, colour texts and typed
// values, the effect lists per mouse, both visibility tables, the colour
// blocks shown, the colour-8 rule of saving, and stored lists that are short,
// long or no numbers.
TestCase {
    name: "LightRules"

    readonly property int w: 200
    readonly property real d: 33
    readonly property real v: 33 / 256

    // Positions along a 200-wide bar: 33 pixels per segment.
    function test_colorProc_data() {
        return [
            ["start is red", 0, "#ff0000"],
            ["half way to yellow", 16, "#ff7b00"],
            ["segment 1 starts yellow", 33, "#ffff00"],
            ["segment 2 starts green", 66, "#00ff00"],
            ["cyan", 99, "#00ffff"],
            ["blue", 132, "#0000ff"],
            ["magenta", 165, "#ff00ff"],
            ["last pixel of magenta", 197, "#ff0008"],
            ["white at the end", 198, "#ffffff"],
            ["past the end", 250, "#ffffff"],
            ["before the start", -1, "#ff0000"],
        ].map(([tag, p, want]) => ({ tag, p, want }))
    }
    function test_colorProc(row) {
        compare(LightRules.colorProc(row.p, w), row.want)
    }

    function test_colorProcNarrowBar() {
        compare(LightRules.colorProc(3, 7), "#ff0000") // no segment width: no division by zero
    }

    // The tests run in their written order; colours outside the hue ring are 0.
    function test_initPos_data() {
        return [
            ["red", "#ff0000", 0],
            ["green: third test, end of segment 2", "#00ff00", d + 255 * v],
            ["yellow: first test", "#ffff00", 255 * v],
            ["cyan: second test", "#00ffff", 3 * d],
            ["blue: second test", "#0000ff", 3 * d + 255 * v],
            ["magenta: fourth test", "#ff00ff", 4 * d + 255 * v],
            ["green-cyan: fifth test", "#00ff80", 2 * d + 128 * v],
            ["magenta-red: sixth test", "#ff0080", 5 * d + 127 * v],
            ["white at the bar's end", "#ffffff", w - 2],
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

    function test_sliderRange() {
        compare([LightRules.sliderMin(16), LightRules.sliderMax(16, w)], [8, 206])
        // The slider's ends point at the bar's first position and its end.
        compare([LightRules.colorAtSlider(8, 16, w), LightRules.colorAtSlider(206, 16, w)], ["#ff0000", "#ffffff"])
    }

    function test_text_data() {
        return [
            ["hex with #", LightRules.parseHex("#00ff00"), [0, 255, 0]],
            ["upper case, no #", LightRules.parseHex("00FF0A"), [0, 255, 10]],
            ["spaces around", LightRules.parseHex(" #123456 "), [0x12, 0x34, 0x56]],
            ["three digits", LightRules.parseHex("#0f0"), null],
            ["not hex", LightRules.parseHex("#00ff0g"), null],
            ["undefined", LightRules.parseHex(undefined), null],
            ["colour text: lower case, two digits", LightRules.colorText(255, 0, 15), "#ff000f"],
            ["colour text: clamped and cut", LightRules.colorText(300, -5, 7.9), "#ff0007"],
            ["no colour is black", LightRules.rgbOf("x"), [0, 0, 0]],
            ["field: empty", LightRules.fieldValue(""), 0],
            ["field: negative", LightRules.fieldValue("-3"), 0],
            ["field: words", LightRules.fieldValue("abc"), 0],
            ["field: past 255", LightRules.fieldValue("999"), 255],
            ["field: spaces", LightRules.fieldValue(" 7 "), 7],
        ].map(([tag, got, want]) => ({ tag, got, want }))
    }
    function test_text(row) {
        compare(row.got, row.want)
    }

    // The page's texts with the language file's effect names in 15..42.
    function texts() {
        var t = ["Light", "Static", "Breath", "Neon", "OFF", "Speed", "Color", "Brightness", "Twinkling", "Wave",
                 "Gliding", "Finger Moving", "Vertical Flipping", "YO-YO", "Spotlight"]
        for (var i = 15; i < 45; ++i)
            t.push("e" + i)
        return t
    }
    function test_effectNames_data() {
        var colorful = ["Static", "Breath", "Neon", "OFF", "Twinkling", "Wave", "Gliding", "Finger Moving",
                        "Vertical Flipping", "YO-YO", "Spotlight"]
        var long571 = []
        for (var i = 16; i <= 42; ++i)
            long571.push("e" + i)
        return [
            ["plain", false, false, false, ["Static", "Breath", "Neon", "OFF"]],
            ["isColorful", true, false, false, colorful],
            ["is55328", false, true, false, ["Static", "Breath", "Neon", "OFF", "e15"]],
            ["isColorful and is55328", true, true, false, colorful.concat(["e15"])],
            ["is571 with isColorful: 27", true, false, true, long571],
            ["is571 alone: four replaced", false, false, true, ["e16", "e17", "e18", "e19"].concat(long571.slice(11))],
        ].map(([tag, isColorful, is55328, is571, want]) => ({ tag, isColorful, is55328, is571, want }))
    }
    function test_effectNames(row) {
        compare(LightRules.effectNames(texts(), row.isColorful, row.is55328, row.is571), row.want)
    }

    function test_effectNamesShortTexts() {
        compare(LightRules.effectNames(["Light", "Static"], false, true, false), ["Static", "", "", "", ""])
    }

    // With is571: speed, brightness, colours; choosing sets both steps to 4.
    function test_visibility571_data() {
        var rows = [
            [0, false, false, "masked"], [1, false, true, "single"], [2, false, true, "blocks"],
            [3, false, true, "blocks"], [4, true, false, "single"], [5, true, false, "blocks"],
            [6, true, false, "blocks"], [7, true, true, "masked"], [8, true, true, "masked"],
            [9, false, true, "single"], [10, false, true, "blocks"], [11, false, true, "blocks"],
            [12, false, false, "single"], [13, false, false, "blocks"], [14, false, false, "blocks"],
            [15, false, false, "single"], [16, false, false, "blocks"], [17, false, false, "blocks"],
            [18, false, true, "single"], [19, false, true, "blocks"], [20, true, true, "single"],
            [21, true, true, "blocks"], [22, true, true, "blocks"], [23, true, true, "masked"],
            [24, false, true, "single"], [25, false, true, "blocks"], [26, false, true, "blocks"],
            [27, false, false, "masked"], // past the list: the mouse turns the light off
        ]
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

    // Without is571: speed, brightness, colour area, steps set on choosing (-1 kept).
    function test_visibilityPlain_data() {
        var rows = [
            ["0", 0, false, false, true, "shown", -1, 4],
            ["1", 1, false, true, false, "shown", 0, -1],
            ["2", 2, false, true, false, "masked", 0, -1],
            ["3", 3, false, false, false, "masked", -1, 0],
            ["4 with is55328", 4, true, true, false, "shown", 0, -1],
            ["4 otherwise", 4, false, false, true, "shown", -1, 4],
            ["5", 5, false, true, true, "masked", 0, 4],
            ["6", 6, false, false, false, "masked", 0, 4],
            ["7", 7, false, false, true, "masked", -1, 4],
            ["8", 8, false, true, true, "masked", 0, 4],
            ["9", 9, false, true, true, "masked", 0, 4],
            ["10", 10, false, true, true, "masked", 0, 4],
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

    function test_pageHeight() {
        compare([LightRules.pageHeight(true, true), LightRules.pageHeight(true, false), LightRules.pageHeight(false, true),
                 LightRules.pageHeight(false, false)], [264, 224, 224, 176])
    }

    // Which of the twelve blocks show, for each kind of mouse.
    function test_blockShown_data() {
        var shown = (flags) => {
            var out = []
            for (var i = 0; i < 12; ++i)
                out.push(LightRules.blockShown(i, flags) ? 1 : 0)
            return out.join("")
        }
        var base = { is571: false, is55328: false, isColorful: false, dpiCount: 3, is571ColorBlock: false, effect: 0 }
        var flags = (change) => Object.assign({}, base, change)
        return [
            ["plain, three stages", shown(base), "111000000000"],
            ["plain, no stage", shown(flags({ dpiCount: 0 })), "000000000000"],
            ["plain, eight stages", shown(flags({ dpiCount: 8 })), "111111110000"],
            ["isColorful, one stage: the first eight", shown(flags({ isColorful: true, dpiCount: 1 })), "111111110000"],
            ["is55328, effect 2: the first only", shown(flags({ is55328: true })), "100000000000"],
            ["is55328, effect 4: one to seven", shown(flags({ is55328: true, effect: 4 })), "111111100000"],
            ["is55328, no stage, effect 4", shown(flags({ is55328: true, effect: 4, dpiCount: 0 })), "011111100000"],
            ["is571, twelve blocks", shown(flags({ is571: true, is571ColorBlock: true })), "111111111111"],
            ["is571, single colour", shown(flags({ is571: true, isColorful: true, dpiCount: 8 })), "000000000000"],
        ].map(([tag, got, want]) => ({ tag, got, want }))
    }
    function test_blockShown(row) {
        compare(row.got, row.want)
    }

    function test_colorsToSave_data() {
        var values = []
        for (var i = 0; i < 36; ++i)
            values.push(i + 1)
        var eighth = (list) => list.slice(21, 24)
        return [
            ["is55328, effect 2: colour 8 off", eighth(LightRules.colorsToSave(values, true, 2)), [0, 0, 0]],
            ["is55328, effect 4: kept", eighth(LightRules.colorsToSave(values, true, 4)), [22, 23, 24]],
            ["other mice: kept", eighth(LightRules.colorsToSave(values, false, 2)), [22, 23, 24]],
            ["the rest untouched", LightRules.colorsToSave(values, true, 2).filter((x, i) => i < 21 || i > 23).length, 33],
            ["the page's list unchanged", (LightRules.colorsToSave(values, true, 2), eighth(values)), [22, 23, 24]],
        ].map(([tag, got, want]) => ({ tag, got, want }))
    }
    function test_colorsToSave(row) {
        compare(row.got, row.want)
    }

    // Stored lists as the profile may hold them.
    function test_cleanLight_data() {
        return [
            ["as stored, texts", ["2", "3", "1"], 11, [2, 3, 1], 0],
            ["short", ["2"], 11, [2, 0, 4], 1],
            ["absent", undefined, 11, [1, 0, 4], 1],
            ["no numbers", ["x", "y", ""], 11, [1, 0, 4], 3],
            ["long", [3, 1, 2, 9], 11, [3, 1, 2], 1],
            ["effect past the list", [40, 1, 1], 4, [1, 1, 1], 1],
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
        var full = []
        for (var i = 0; i < 36; ++i)
            full.push(String(i * 7))
        var longer = full.concat(["1", "2", "3", "4"])
        var broken = full.slice()
        broken[4] = "green"
        broken[5] = "NaN"
        return [
            ["full", full, "#00070e", LightRules.colorText(231, 238, 245), 0],
            ["long: the first 36", longer, "#00070e", LightRules.colorText(231, 238, 245), 1],
            ["short: the rest built in", ["1", "2", "3"], "#010203", "#ff00ff", 1],
            ["absent: all built in", [], "#ff0000", "#ff00ff", 1],
            ["no numbers: built-in values", broken, "#00070e", LightRules.colorText(231, 238, 245), 2],
        ].map(([tag, stored, first, last, faults]) => ({ tag, stored, first, last, faults }))
    }
    function test_cleanColors(row) {
        var got = LightRules.cleanColors(row.stored)
        compare(got.colors.length, 12)
        compare([got.colors[0], got.colors[11]], [row.first, row.last])
        compare(got.faults.length, row.faults, got.faults.join("; "))
        verify(got.colors.every(c => /^#[0-9a-f]{6}$/.test(c)))
    }

    function test_cleanFixColor_data() {
        return [
            ["stored", ["0", "128", "255"], "#0080ff", 0],
            ["short", ["1", "2"], "#010200", 1],
            ["no numbers", ["x", "y", "z"], "#ff0000", 3],
            ["out of range", [300, -1, 5], "#ff0005", 2],
        ].map(([tag, stored, want, faults]) => ({ tag, stored, want, faults }))
    }
    function test_cleanFixColor(row) {
        var got = LightRules.cleanFixColor(row.stored)
        compare(got.color, row.want)
        compare(got.faults.length, row.faults, got.faults.join("; "))
    }
}
