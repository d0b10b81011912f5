.pragma library
.import "Numbers.js" as Numbers

// Rules of the lighting panel: the effect list each mouse offers, which of
// the speed, brightness and colour controls an effect uses, which colour
// blocks a mouse shows, the hue bar's mapping between positions and colours,
// colour texts, and the cleaning of stored lists. Colours are texts "#rrggbb".

// The hue bar: (barWidth - 2) / 6 = 33 pixels per segment, a whole number,
// so the six pure hues sit on whole pixels.
var barWidth = 200
// The bar's x in the colour area.
var barX = 16
// The colour sliders are 18 wide; a slider's middle points at its colour.
var sliderWidth = 18

// The blocks' colours before anything is read, and the single colour's.
var builtInColors = ["#ff0000", "#00ff00", "#0000ff", "#ff00ff", "#00ffff", "#ff7f00", "#6000ff", "#ffffff",
                     "#ff0000", "#00ff00", "#0000ff", "#ff00ff"]
var builtInFixColor = "#ff0000"
// Effect, speed step, brightness step when the profile holds nothing usable.
var builtInLight = [1, 0, 4]

var percentTexts = ["0%", "25%", "50%", "75%", "100%"]

// The text of a speed or brightness step; none for a step out of range.
function percentText(step) {
    return percentTexts[step] || ""
}

var clamp = Numbers.clamp

function hex2(n) {
    var text = clamp(Math.trunc(n), 0, 255).toString(16)
    return text.length < 2 ? "0" + text : text
}

// "#" and two lower-case hexadecimal digits per value.
function colorText(r, g, b) {
    return "#" + hex2(r) + hex2(g) + hex2(b)
}

// [r, g, b] of "#rrggbb" or "rrggbb" (any case, spaces around allowed), or
// null for anything else.
function parseHex(text) {
    var t = String(text === undefined || text === null ? "" : text).trim()
    var m = /^#?([0-9a-fA-F]{2})([0-9a-fA-F]{2})([0-9a-fA-F]{2})$/.exec(t)
    return m ? [parseInt(m[1], 16), parseInt(m[2], 16), parseInt(m[3], 16)] : null
}

// A colour's values; a text that is no colour counts as black, so nothing
// undefined ever reaches a field or the mouse.
function rgbOf(text) {
    return parseHex(text) || [0, 0, 0]
}

// A typed R, G or B field as a value: empty, negative or no number is 0, and
// more than 255 is 255.
function fieldValue(text) {
    var t = String(text === undefined || text === null ? "" : text).trim()
    var n = Number(t)
    return t === "" || !isFinite(n) ? 0 : clamp(Math.trunc(n), 0, 255)
}

// The colour at position p along the bar (0 at its left end), per segment of
// per pixels: red, yellow, green, cyan, blue, magenta, back towards red;
// white past the bar's end, and red before its start.
function colorProc(p, w) {
    var per = Math.trunc((w - 2) / 6)
    if (per <= 0)
        return "#ff0000"
    var k = Math.trunc(p / per)
    var s = Math.trunc((p - k * per) * 255 / per)
    switch (k) {
    case 0:
        return colorText(255, s, 0)
    case 1:
        return colorText(255 - s, 255, 0)
    case 2:
        return colorText(0, 255, s)
    case 3:
        return colorText(0, 255 - s, 255)
    case 4:
        return colorText(s, 0, 255)
    case 5:
        return colorText(255, 0, 255 - s)
    }
    return p > w - 3 ? "#ffffff" : "#ff0000"
}

// Where along the bar a colour lies: the reverse of colorProc for the
// colours it gives, 0 for the others, and the bar's end for white.
function initPos(color, w) {
    var c = rgbOf(color)
    var r = c[0], g = c[1], b = c[2]
    var d = (w - 2) / 6
    var v = d / 256
    if (r === 255 && g === 255 && b === 255)
        return w - 2
    if (r === 255 && b === 0)
        return v * g
    if (r === 0 && b === 255)
        return 3 * d + v * (255 - g)
    if (g === 255 && b === 0)
        return d + v * (255 - r)
    if (g === 0 && b === 255)
        return 4 * d + v * r
    if (r === 0 && g === 255)
        return 2 * d + v * b
    if (r === 255 && g === 0)
        return 5 * d + v * (255 - b)
    return 0
}

// A colour slider's x (the bar at barX) for a colour. The position is
// rounded, so each pure hue lands on the pixel where colorProc gives it back.
function sliderX(color, barX, w) {
    return Math.round(initPos(color, w)) + barX + 1 - sliderWidth / 2
}

// The colour under a slider at x, and the range a slider moves in.
function colorAtSlider(x, barX, w) {
    return colorProc(x + sliderWidth / 2 - barX - 1, w)
}
function sliderMin(barX) {
    return barX - 8
}
function sliderMax(barX, w) {
    return barX + w - 10
}

// The effect names a mouse offers, from the page's texts.
function effectNames(texts, isColorful, is55328, is571) {
    var t = i => String(texts[i] === undefined || texts[i] === null ? "" : texts[i])
    var names = [t(1), t(2), t(3), t(4)]
    if (isColorful) {
        for (var i = 8; i <= 14; ++i)
            names.push(t(i))
    }
    if (is55328)
        names.push(t(15))
    if (is571) {
        for (var j = 0; j <= 10 && j < names.length; ++j)
            names[j] = t(16 + j)
        for (var k = 27; k <= 42; ++k)
            names.push(t(k))
    }
    return names
}

// What an effect of the longer list shows: speed, brightness and colours
// ("masked", "single" for the one fixed colour, "blocks" for twelve).
// Choosing any of them sets both steps to 4. An index past the table shows
// as the first row, which the mouse also takes it for (light off).
var table571 = [
    [false, false, "masked"], [false, true, "single"], [false, true, "blocks"], [false, true, "blocks"],
    [true, false, "single"], [true, false, "blocks"], [true, false, "blocks"], [true, true, "masked"],
    [true, true, "masked"], [false, true, "single"], [false, true, "blocks"], [false, true, "blocks"],
    [false, false, "single"], [false, false, "blocks"], [false, false, "blocks"], [false, false, "single"],
    [false, false, "blocks"], [false, false, "blocks"], [false, true, "single"], [false, true, "blocks"],
    [true, true, "single"], [true, true, "blocks"], [true, true, "blocks"], [true, true, "masked"],
    [false, true, "single"], [false, true, "blocks"], [false, true, "blocks"]
]

// What an effect of the other lists shows, and the steps choosing it sets
// (-1: left as it is). An index past the table is what the mouse takes it
// for: light off, like "OFF" but without touching the steps.
var tablePlain = [
    [false, true, true, -1, 4], [true, false, true, 0, -1], [true, false, false, 0, -1], [false, false, false, -1, 0],
    [false, true, true, -1, 4], [true, true, false, 0, 4], [false, false, false, 0, 4], [false, true, false, -1, 4],
    [true, true, false, 0, 4], [true, true, false, 0, 4], [true, true, false, 0, 4]
]

// {speed, brightness, colours, speedStep, brightnessStep, selectColorBlock,
// is571ColorBlock, isColorDisplay} for an effect index.
function visibility(index, is571, is55328) {
    if (is571) {
        var row = table571[index] || table571[0]
        var blocks = row[2] !== "single"
        return { speed: row[0], brightness: row[1], colours: row[2], speedStep: 4, brightnessStep: 4,
                 selectColorBlock: blocks ? 0 : -1, is571ColorBlock: blocks, isColorDisplay: row[2] !== "masked" }
    }
    var plain = index === 4 && is55328 ? [true, false, true, 0, -1] : tablePlain[index]
    if (!plain)
        plain = [false, false, false, -1, -1]
    return { speed: plain[0], brightness: plain[1], colours: plain[2] ? "shown" : "masked", speedStep: plain[3],
             brightnessStep: plain[4], selectColorBlock: 0, is571ColorBlock: false, isColorDisplay: plain[2] }
}

// The page's height for the controls an effect shows.
function pageHeight(speedShown, brightnessShown) {
    return speedShown && brightnessShown ? 264 : speedShown || brightnessShown ? 224 : 176
}

// Whether colour block i (0..11) is shown. dpiCount is the DPI page's number
// of stages: without colour effects the colours are the stages' colours.
function blockShown(i, flags) {
    if (flags.is571)
        return flags.is571ColorBlock
    if (i > 7)
        return false
    if (flags.is55328) {
        if (i === 0)
            return flags.dpiCount > 0 || flags.isColorful
        return i <= 6 && flags.effect === 4
    }
    return flags.dpiCount > i || flags.isColorful
}

// The 36 colour values as saved and sent: with is55328, colour 8 is off
// (0, 0, 0) unless the effect is 4, which tells the mouse to show one colour.
function colorsToSave(values, is55328, effect) {
    var out = values.slice()
    if (is55328 && effect !== 4)
        out[21] = out[22] = out[23] = 0
    return out
}

// A stored list made usable: each element a whole number within low..high
// (a number outside is clamped, a fraction cut), anything else and anything
// missing the fallback's element, and no more elements than the fallback.
// {values, faults}: faults says what was mended, for the debug output.
function asList(stored) {
    return Array.isArray(stored) ? stored : stored && typeof stored.length === "number" ? Array.from(stored) : []
}

function cleanList(stored, fallback, low, high) {
    var list = asList(stored)
    var values = []
    var faults = []
    if (list.length !== fallback.length)
        faults.push(list.length + " values instead of " + fallback.length)
    for (var i = 0; i < fallback.length; ++i) {
        var text = i < list.length && list[i] !== null && list[i] !== undefined ? String(list[i]).trim() : ""
        var n = Number(text)
        if (text === "" || !isFinite(n)) {
            if (i < list.length)
                faults.push("value " + i + " [" + list[i] + "] is no number")
            values.push(fallback[i])
            continue
        }
        var kept = clamp(Math.trunc(n), low, high)
        if (kept !== n)
            faults.push("value " + i + " " + n + " taken as " + kept)
        values.push(kept)
    }
    return { values: values, faults: faults }
}

// "mouse/lightValue" for a list of effectCount effects: {effect, speed,
// brightness, faults}. An effect the list does not have is the built-in one.
function cleanLight(stored, effectCount) {
    var cleaned = cleanList(stored, builtInLight, 0, 4)
    var list = asList(stored)
    var effect = Number(String(list[0]).trim())
    var faults = cleaned.faults.filter(f => !f.startsWith("value 0 "))
    var index = builtInLight[0]
    if (Number.isInteger(effect) && effect >= 0 && effect < effectCount)
        index = effect
    else if (list.length > 0)
        faults.push("effect [" + list[0] + "] is not in the list of " + effectCount)
    if (index >= effectCount)
        index = 0
    return { effect: index, speed: cleaned.values[1], brightness: cleaned.values[2], faults: faults }
}

// "mouse/colorValue" as twelve colour texts, {colors, faults}.
function cleanColors(stored) {
    var fallback = []
    builtInColors.forEach(c => fallback.push(...rgbOf(c)))
    var cleaned = cleanList(stored, fallback, 0, 255)
    var colors = []
    for (var i = 0; i < 12; ++i)
        colors.push(colorText(cleaned.values[3 * i], cleaned.values[3 * i + 1], cleaned.values[3 * i + 2]))
    return { colors: colors, faults: cleaned.faults }
}

// "mouse/fixColor" as a colour text, {color, faults}.
function cleanFixColor(stored) {
    var cleaned = cleanList(stored, rgbOf(builtInFixColor), 0, 255)
    return { color: colorText(cleaned.values[0], cleaned.values[1], cleaned.values[2]), faults: cleaned.faults }
}

// The range the visible slider moves in over a bar at barX, w wide.
function slideRange(barX, w) {
    return [sliderMin(barX), sliderMax(barX, w)]
}
