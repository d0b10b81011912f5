.pragma library

// Numbers as the pages read them from stored or typed texts.

// A whole number from a stored or typed value (a number, or its text): a
// fraction counts as its integer part, as the stored texts are read with
// parseInt. Anything else (absent, empty, words, "12abc", an object) is
// fallback.
function integer(value, fallback) {
    if (value === undefined || value === null || typeof value === "object")
        return fallback
    var text = String(value).trim()
    var n = Number(text)
    return text !== "" && isFinite(n) ? Math.trunc(n) : fallback
}

function clamp(value, low, high) {
    return Math.max(low, Math.min(high, value))
}
