.pragma library

// The rules of the profile list: how its entries are stored, which name and
// slot a new entry gets, what may be deleted or renamed. An entry is
// {textValue, profileNo}: the shown name and the slot digit d (0..5) that
// names its profile file p<d+1>.bin, whatever the entry's position in the
// list. Stored, an entry is its name followed by its slot digit.

var maxEntries = 6
var filler = "loaderfiller"

// The entries of a stored list (the profile name list). A one-name list is
// stored with the filler as its second element, which is not an entry. An
// element that does not end in a slot digit 0..5 is not an entry either, nor
// is one whose digit an earlier entry already has (two names on one file
// would show each other's settings), and entries past six are dropped. The
// first entry always exists.
function parseStored(stored, firstName) {
    var items = Array.isArray(stored) ? stored.slice() : []
    if (items.length === 2 && items[1] === filler)
        items.pop()
    var entries = []
    for (var i = 0; i < items.length && entries.length < maxEntries; ++i) {
        var text = String(items[i])
        var digit = text.slice(-1)
        if (text.length < 1 || digit < "0" || digit > "5" || entries.some(e => e.profileNo === Number(digit)))
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

// The position of the entry with the slot digit profileNo. Earlier versions
// stored the active entry's position instead; a number that is no entry's
// slot but is a position is taken as such. Otherwise the first entry.
function positionOf(entries, profileNo) {
    for (var i = 0; i < entries.length; ++i) {
        if (entries[i].profileNo === profileNo)
            return i
    }
    return Number.isInteger(profileNo) && profileNo >= 0 && profileNo < entries.length ? profileNo : 0
}

// Why an entry cannot be deleted, as the index of the profile page's text:
// 13 the first entry, 14 the one chosen in the top bar; 0 when it can go.
function deleteRefusal(position, chosenPosition, count) {
    if (position <= 0 || position >= count)
        return 13
    return position === chosenPosition ? 14 : 0
}

// Why a new name is not taken, as the index of the profile page's text: 20
// an empty name, 15 a name another entry bears; 0 when it is taken.
function renameRefusal(entries, position, text) {
    if (text.length === 0)
        return 20
    return entries.some((e, i) => i !== position && e.textValue === text) ? 15 : 0
}
