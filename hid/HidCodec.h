#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The pure parts of the HID link: command frames, their checksum, and the
// scrambling of frames for devices that use it. No I/O here.
namespace HidCodec {

// The 8 bytes after the report id: command byte, six argument bytes, checksum.
using Frame = std::array<std::uint8_t, 8>;
// A whole feature report: report id 0, then the frame.
using FeatureReport = std::array<std::uint8_t, 9>;
static_assert(sizeof(FeatureReport) == 9, "feature reports are 9 bytes on the wire");

// The constant the scrambling shares with the firmware, T[0] first.
using ScrambleTable = std::array<std::uint8_t, 8>;
// The secrecy key: bytes 1..6 hold the six characters of a device's code;
// bytes 0 and 7 are never used.
using SecrecyKey = std::array<std::uint8_t, 8>;

inline constexpr ScrambleTable defaultScrambleTable{0x5A, 0x3C, 0x96, 0xE1, 0x0F, 0x78, 0xA5, 0xC3};

// Ones' complement of the sum of cmd[0..6], low 8 bits.
std::uint8_t checksum(const std::uint8_t* cmd);

// A request: report id 0, the command byte, up to six argument bytes (missing
// ones 0) and the checksum over bytes 1..7.
FeatureReport request(std::uint8_t command, std::initializer_list<std::uint8_t> arguments = {});

// In-place scrambling of frame[0..7] with key[1..6] and the table, and its
// exact inverse.
void scramble(std::uint8_t* frame, const std::uint8_t* key, const ScrambleTable& table);
void descramble(std::uint8_t* frame, const std::uint8_t* key, const ScrambleTable& table);

// The key for a six-character code (Latin-1; other characters give 0), or
// nothing when the code is not exactly six characters.
std::optional<SecrecyKey> keyFromCode(const QString& code, const SecrecyKey& previous = {});

// "5a3c96e10f78a5c3" (16 hex digits, T[0] first, blanks allowed between
// bytes and around the digits, never inside a byte) as a table; nothing for
// any other text.
std::optional<ScrambleTable> parseScrambleTable(const QString& text);

// Report lengths (bytes per output or input report, without the report id)
// that the link accepts from a device description: 1..maxReportLength, the
// largest report hidraw delivers. Anything else is taken as
// defaultReportLength. The worker and the virtual mouse both use this rule, so
// that they cut payloads alike.
inline constexpr int maxReportLength = 4096;
inline constexpr int defaultReportLength = 32;
constexpr bool isUsableReportLength(int reportLength)
{
    return reportLength >= 1 && reportLength <= maxReportLength;
}
constexpr int usableReportLength(int reportLength)
{
    return isUsableReportLength(reportLength) ? reportLength : defaultReportLength;
}

// How a payload of payloadLength bytes is cut for reports of reportLength
// bytes: chunks of min(payloadLength, reportLength), the last one holding what
// is left (36 at 32 gives 32 and 4). Each report still has reportLength + 1
// bytes on the wire; the bytes after a chunk are 0.
std::vector<int> chunkSizes(int payloadLength, int reportLength);

} // namespace HidCodec
