#pragma once

#include <QString>
#include <QVariantList>

#include <array>
#include <cstdint>
#include <optional>

// The key matrix: sixteen button entries of four bytes. The pages and the
// profile files hold it in page form (byte 0 the function class, bytes 1..3
// its parameters); the mouse takes it in device form, with some entries moved
// and the positions the user cannot change filled in. When a button carries a
// gun function, three further matrices for the gun modes are derived from it.
// Pure functions, no I/O.
namespace KeyMatrix {

inline constexpr int entryCount = 16;
inline constexpr int valueCount = 4 * entryCount;

using Entry = std::array<std::uint8_t, 4>;
using Matrix = std::array<Entry, entryCount>;
// A matrix as it travels: entry i at bytes 4i..4i+3.
using Block = std::array<std::uint8_t, valueCount>;
// The fire periods of the guns in slots 1, 2 and 3.
using Periods = std::array<std::uint8_t, 3>;

// What differs between command sets in the device form; each command set's
// frame table holds its own.
struct DeviceForm
{
    // What the page's sniper DPI function becomes.
    Entry sniper{};
    // The type byte position 5 is sent with; nothing keeps fixed entry 5's.
    std::optional<std::uint8_t> entry5Type;
    // Gun entries of matrices 1..4: bytes 1 and 2 become 0 and 1 when
    // countMoves, and byte gunByte takes gunValues[count - 1][k] in matrix k
    // + 1 for a gun count of 1..3.
    bool countMoves = false;
    std::uint8_t gunByte = 2;
    std::array<std::array<std::uint8_t, 4>, 3> gunValues{};
    // Profile image 0 carries the gun mask.
    bool imageMask = false;
};

// The four values of entry index of a flat list (positions 4 * index ..
// 4 * index + 3), as they are; positions past the end give the int 0.
QVariantList entryValues(const QVariantList& values, int index);

// The gun periods: the first three values with toUInt, low 8 bits; missing
// ones are 0. *ok is false when fewer than three are given or one is not a
// number.
Periods periodsFromValues(const QVariantList& values, bool* ok = nullptr);

Block toBlock(const Matrix& matrix);

// The page-form assignment the program ships (the factory profile's): the
// entry a button falls back to when neither its profile nor the factory
// profile holds a usable one.
extern const Matrix shippedPage;

// A stored page-form entry, checked: four whole numbers, each a byte, in the
// range its class allows (a mouse function names a button, a macro one of
// the twelve slots and a play mode 0..2, a DPI function 1..4, a gun 1..3
// guns, a fixed entry 1 or 2; classes 1, 2, 3, 6 and 7 take any bytes).
// Nothing for anything else; *fault then says why, for a debug line.
std::optional<Entry> pageEntry(const QVariantList& values, QString* fault = nullptr);

// A stored device-form entry (the firmware matrix), checked: four whole
// numbers 0..255.
std::optional<Entry> deviceEntry(const QVariantList& values, QString* fault = nullptr);

// True when a page-form entry sends the left click.
bool isLeftClick(const Entry& page);

// True when a page-form matrix sends a left click from some button (the
// page's buttons 7, 8 and 9 are never sent, so theirs does not count).
bool sendsLeftClick(const Matrix& page);

// One entry from page form to device form (function type and parameters),
// before any entry is moved.
Entry toDeviceEntry(const Entry& page, const DeviceForm& form);

// The whole matrix in device form: every entry translated, the page's buttons
// 5 and 6 moved to positions 6 and 7, and the fixed entries put at positions 5,
// 8 and 9 (so the page's buttons 7, 8 and 9 are never sent). Position 5 gets
// form.entry5Type only when sent.
Matrix toDevice(const Matrix& page, const DeviceForm& form);

// True when an entry of a device-form matrix is a gun function.
bool hasGunEntry(const Matrix& device);

// Gun mask of profile image 0 (command set 560) for a gun function with 1, 2
// or 3 guns; nothing for any other count.
std::optional<std::uint8_t> gunMask(std::uint8_t guns);

// Everything one save sends.
struct Transfer
{
    // Without a gun entry only matrix 1 is sent. With one, matrices 1..4 are
    // sent and matrix 1 is made the current one.
    bool gun = false;
    std::array<Matrix, 4> matrices{}; // matrices 1..4
    // With form.imageMask, gun path: the new byte 2 of profile image 0 (the
    // image is sent first either way); nothing leaves the byte as it is.
    std::optional<std::uint8_t> imageMask;
};

// The device matrices for a page-form matrix. periods fill entry 0 of the gun
// matrices; they are used only on the gun path.
Transfer transfer(const Matrix& page, const DeviceForm& form, const Periods& periods);

} // namespace KeyMatrix
