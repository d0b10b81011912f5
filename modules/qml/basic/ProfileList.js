.pragma library

// The rules of the profile list: how its entries are stored, which name and
// slot a new entry gets, what may be deleted or renamed. An entry is
// {textValue, profileNo}: the shown name and the slot digit 0..5 of its
// profile file. Stored, an entry is its name followed by its slot digit.

var maxEntries = 6
var filler = "loaderfiller"

// The entries of a stored list (the profile name list). A one-name list is
// stored with the filler as its second element, which is not an entry. An
// element that does not end in a slot digit 0..5 is not an entry either, and
// entries past six are dropped. The first entry always exists.
function parseStored(stored, firstName) {
    var items = Array.isArray(stored) ? stored.slice() : []
    if (items.length === 2 && items[1] === filler)
        items.pop()
    var entries = []
    for (var i = 0; i < items.length && entries.length < maxEntries; ++i) {
        var text = String(items[i])
        var digit = text.slice(-1)
        if (text.length < 1 || digit < "0" || digit > "5")
            continue
        entries.push({ textValue: text.slice(0, -1), profileNo: Number(digit) })
    }
    if (entries.length === 0)
        entries.push({ textValue: firstName, profileNo: 0 })
    return entries
}

// The entries of a list model with the roles textValue and profileNo.
function fromModel(model) {
    var entries = []
    for (var i = 0; i < model.count; ++i) {
        var e = model.get(i)
        entries.push({ textValue: e.textValue, profileNo: e.profileNo })
    }
    return entries
}

function storedForm(entries) {
    return entries.map(function (e) { return e.textValue + e.profileNo })
}

// "profile_" and the lowest number 0..11 that no entry bears as its whole
// name; 12 when all are taken.
function newName(entries) {
    var k = 0
    while (k < 12 && entries.some(function (e) { return e.textValue === "profile_" + k }))
        ++k
    return "profile_" + k
}

// The lowest slot digit no entry uses; 6 when all are used.
function freeSlot(entries) {
    var d = 0
    while (d < maxEntries && entries.some(function (e) { return e.profileNo === d }))
        ++d
    return d
}

function canAdd(entries) {
    return entries.length < maxEntries
}

// The position of the entry for the active profile; the first when none has
// its slot (also for a number outside 0..5).
function positionOf(entries, profileNo) {
    for (var i = 0; i < entries.length; ++i) {
        if (entries[i].profileNo === profileNo)
            return i
    }
    return 0
}

// Neither the first entry nor the one chosen in the top bar can go.
function canDelete(position, chosenPosition, count) {
    return position > 0 && position < count && position !== chosenPosition
}

// A new name is taken when it is not empty and no other entry bears it.
function canRename(entries, position, text) {
    if (text.length === 0)
        return false
    for (var i = 0; i < entries.length; ++i) {
        if (i !== position && entries[i].textValue === text)
            return false
    }
    return true
}
