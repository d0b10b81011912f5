#pragma once

#include "CommandRow.h"
#include "KeyMatrix.h"

#include <span>

// Command set 560: one row per firmware command. value(n) is the n-th value
// the worker's slot passes on.
namespace Commands560 {

using Row = CommandRow;
using enum CommandRow::Kind;
constexpr std::int16_t v0 = CommandRow::value(0), v1 = CommandRow::value(1);

// Kind, command byte, argument bytes, payload length, settle, pause after, reply values,
// keep on failure, busy line.
// clang-format off
inline constexpr Row getKeyboardOption{Get,  0x81, {},   0,   false, false, 2, true,  "cmd Failed 81"};
inline constexpr Row getCurrentProfile{Get,  0x82, {},   0,   false, false, 1, true,  "cmd Failed 82"};
inline constexpr Row getCurrentDpi{    Get,  0x84, {v0}, 0,   false, false, 2, true,  "cmd Failed 84"};
inline constexpr Row readProfile{      Read, 0x8C, {v0}, 128, false, false, 0, false, "cmd Failed 8c"};

inline constexpr Row setKeyboardOption{Set,      0x01, {v0, v1},   0,   false, true,  0, false, "cmd Failed 01"};
// Per index: value 0 is the index (1..4), value 1 the setting.
inline constexpr Row setReportRate{    PerIndex, 0x03, {v0, v1},   0,   true,  false, 0, false, "cmd Failed 03"};
inline constexpr Row setCurrentDpi{    PerIndex, 0x04, {v0, v1},   0,   true,  false, 0, false, "cmd Failed 04"};
// The 64 bytes of a key matrix travel in a 128-byte payload, the rest 0.
inline constexpr Row setKeyMatrix{     Set,      0x0D, {v0, 0x80}, 128, true,  false, 0, false, "cmd Failed 0D"};
inline constexpr Row setProfile{       Set,      0x0C, {v0, 0x80}, 128, true,  false, 0, false, "cmd Failed 0C"};
inline constexpr Row setCurrentProfile{Set,      0x02, {v0},       0,   false, true,  0, false, "cmd Failed 02"};
inline constexpr Row setMacroKey{      Set,      0x0F, {v0, 0x80}, 128, true,  false, 0, false, "cmd Failed 0F"};
// clang-format on

// The keyboard option with the bit that makes the device send DPI event
// reports (0x08 in the first byte).
constexpr std::uint8_t listenerOptionBits = 0x08;

// The key matrix as this set takes it: the sniper function as extended
// function 0, 1, 1, the gun count in byte 2 (one value per matrix 1..4), and
// the gun mask in profile image 0.
inline constexpr KeyMatrix::DeviceForm keyMatrixForm{
    .sniper = {0x0B, 0x00, 0x01, 0x01},
    .entry5Type = std::nullopt,
    .countMoves = false,
    .gunByte = 2,
    .gunValues = {{{1, 0, 0, 0}, {1, 3, 0, 0}, {1, 3, 3, 0}}},
    .imageMask = true,
};

struct NamedRow
{
    const char* name;
    const CommandRow* row;
};
// Every row of the set, for tests and tools.
std::span<const NamedRow> rows();

} // namespace Commands560
