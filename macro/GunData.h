#pragma once

#include "DataPaths.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <array>
#include <cstdint>

// The gun preset file gunData.bin: every preset is one list under group
// "gunData", keyed by its identifier (the page uses its position 0..5). A
// preset as the page saves it is name, trigger label, fire period, X, Y and
// shots per press; values are stored as passed (texts or numbers) and come
// back as texts after a re-read.
//
// The file ships with the program and is never created here: with no file
// every write does nothing and every read is empty. Each call opens the file,
// acts and closes it. GUI thread only.
//
// Lists from the pages are read at fixed positions: a missing element reads as
// 0 (an empty text for the name and the trigger label), extra ones are
// ignored, and an element that is neither a text nor a number takes the
// missing element's value; each of these writes a debug line.
namespace GunData {

inline const QString& defaultPath = DataPath::gunData;

// Elements of a preset as the page saves it.
inline constexpr int presetSize = 6;
// Element of a rename request that holds the old identifier.
inline constexpr int renameOldIdPosition = 6;

enum ModifyType { Delete = 0, Rename = 1 };

// Whether id can name one preset: not empty and without '/' or '\', which
// the settings library reads as group separators (an identifier made of
// separators alone would address the whole group).
bool isIdentifier(const QString& id);

// The preset stored under id as a list (texts after a re-read); empty for an
// absent file, key or invalid identifier, and for a value that is not a list.
QVariantList read(const QString& path, const QString& id);

// Every identifier in the file (the keys of group gunData); empty without file.
QStringList keys(const QString& path);

// Replaces the entry id with the first six elements of src6. True when the
// entry was written: false without file or with an invalid identifier.
bool store(const QString& path, const QString& id, const QVariantList& src6);

// modifyType Delete removes the entry src[0]. Rename removes the entry src[6]
// (the old identifier), then stores src[1..5] (trigger label, period, X, Y,
// shots: five elements, the identifier is the key) under src[0]. A rename
// without its old identifier, an invalid identifier, a type that is not an
// integer and any other type change nothing. True when the file was changed.
bool modify(const QString& path, const QVariant& modifyType, const QVariantList& src);

// The three values of a device gun slot.
struct SlotValues
{
    std::uint8_t times = 0; // shots per press, 0 = endless
    std::uint8_t x = 0;
    std::uint8_t y = 0;
};

// Device gun slots are numbered 1..3.
inline constexpr int slotCount = 3;
bool isSlot(int slot);

// (times, X, Y) from a page list, each converted to an integer and cut to its
// low 8 bits; a missing element or one that is not an integer reads as 0
// (with a debug line), extra ones are ignored.
SlotValues slotValues(const QVariantList& values);

// Bytes of a command set 560 profile image that carry the gun being sent:
// 78 = 0xF0, 79..81 = times, X, Y, and bit 2 of byte 65 cleared.
void writeSlot(std::array<std::uint8_t, 128>& image, const SlotValues& values);

// Y as command set 553 sends it: negated (as a byte) when the third
// keyboard-option byte is not zero.
std::uint8_t deviceY(std::uint8_t y, std::uint8_t optionByte3);

} // namespace GunData
