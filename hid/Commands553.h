#pragma once

#include "CommandRow.h"
#include "KeyMatrix.h"

#include <span>

// Command set 553: one row per firmware command. value(n) is the n-th value
// the worker's slot passes on.
namespace Commands553 {

using Row = CommandRow;
using enum CommandRow::Kind;
constexpr std::int16_t v0 = CommandRow::value(0), v1 = CommandRow::value(1), v2 = CommandRow::value(2),
                       v3 = CommandRow::value(3);

// Kind, command byte, argument bytes, payload length, settle, pause after, reply values,
// keep on failure, busy line.
// clang-format off
// The challenge goes out in the request; the device sends it back when the
// secrecy key matches.
inline constexpr Row getSecrecyCode{   Get, 0x00, {v0, v1, v2, v3}, 0, false, false, 4, false, "cmd Failed 00"};
inline constexpr Row getKeyboardOption{Get, 0x83, {},               0, false, false, 4, true,  "cmd Failed 83"};
inline constexpr Row getCurrentDpi{    Get, 0x8B, {},               0, false, false, 1, true,  "cmd Failed 8BH"};

inline constexpr Row setKeyboardOption{Set, 0x03, {v0, v1, v2, v3},    0, false, true, 0, false, "cmd Failed 03"};
inline constexpr Row setGunData{       Set, 0x04, {0, v0, v1, v2, v3}, 0, false, true, 0, false, "cmd Failed 04"};

inline constexpr Row setReportRate{         Set, 0x01, {v0},             0,   true, false, 0, false, "cmd Failed 01"};
inline constexpr Row setCurrentDpi{         Set, 0x0B, {v0},             0,   true, false, 0, false, "cmd Failed 0B"};
inline constexpr Row setKeyMatrix{          Set, 0x12, {v0, 0x40, 0x08}, 64,  true, false, 0, false, "cmd Failed 12"};
inline constexpr Row setMacroKey{           Set, 0x13, {v0, 0x80},       128, true, false, 0, false, "cmd Failed 13"};
inline constexpr Row setDpiSet{             Set, 0x11, {v0, 0x08},       8,   true, false, 0, false, "cmd Failed 11"};
inline constexpr Row setCurrentKeyMatrix{   Set, 0x02, {v0},             0,   true, false, 0, false, "cmd Failed 02"};
inline constexpr Row setRgbLedEffect{       Set, 0x0D, {v0, v1, v2},     0,   true, false, 0, false, "cmd Failed 0D"};
inline constexpr Row setFixLedColor{        Set, 0x0C, {v0, v1, v2},     0,   true, false, 0, false, "cmd Failed 0C"};
// The eight-colour command carries 36 colour bytes; type 2 carries only 4.
inline constexpr Row setLed8StageColor{     Set, 0x10, {v0, 36},         36,  true, false, 0, false, "cmd Failed 10"};
inline constexpr Row setLed8StageColorType2{Set, 0x10, {v0, 4},          4,   true, false, 0, false, "cmd Failed 10"};
// clang-format on

// The eight-colour row for type.
constexpr const CommandRow& led8StageColorRow(std::uint8_t type)
{
    return type == 2 ? setLed8StageColorType2 : setLed8StageColor;
}

// The keyboard option with the bits that make the device send DPI event
// reports (0x48 in the fourth byte).
constexpr std::uint8_t listenerOptionBits = 0x48;

// The key matrix as this set takes it: the sniper function as held DPI
// function 4, position 5 typed 08H, and a gun entry's count moved to byte 3
// (1, 2 or 3 guns: one value per matrix 1..4).
inline constexpr KeyMatrix::DeviceForm keyMatrixForm{
    .sniper = {0x07, 0x00, 0x04, 0x01},
    .entry5Type = 0x08,
    .countMoves = true,
    .gunByte = 3,
    .gunValues = {{{1, 0, 0, 0}, {1, 2, 0, 0}, {1, 2, 3, 0}}},
    .imageMask = false,
};

struct NamedRow
{
    const char* name;
    const CommandRow* row;
};
// Every row of the set, for tests and tools.
std::span<const NamedRow> rows();

} // namespace Commands553
