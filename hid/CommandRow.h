#pragma once

#include "HidCodec.h"

#include <array>
#include <cstdint>
#include <initializer_list>

// One firmware command as a row of its command set's table: what goes into
// the request, what follows it and how the exchange is paced. Rows are plain
// constants, so a test can read them and build their frames without I/O.
struct CommandRow
{
    enum class Kind : std::uint8_t {
        Set,      // request, then payloadLength bytes written in report-sized chunks
        Get,      // request, one feature reply; replyValues bytes taken from reply byte 2 on
        PerIndex, // the request for indexes 1..4 in turn (only 1 on a gun mouse), one claim
        Read,     // request, then payloadLength bytes read in report-sized chunks
    };

    // The argument bytes after the command byte: fixed values 0..255, or the
    // caller's n-th value written as value(n).
    struct Arguments
    {
        std::array<std::int16_t, 6> bytes{};
        std::uint8_t count = 0;

        constexpr Arguments() = default;
        constexpr Arguments(std::initializer_list<std::int16_t> list)
        {
            for (std::int16_t b : list) {
                if (count < bytes.size())
                    bytes[count++] = b;
            }
        }
    };
    static constexpr std::int16_t value(int n) { return std::int16_t(-1 - n); }

    Kind kind = Kind::Set;
    std::uint8_t command = 0;
    Arguments arguments;
    int payloadLength = 0;      // Set and Read: bytes after the request
    bool settle = false;        // 128 ms after the request and after the payload
    bool pauseAfter = false;    // 8 ms after the exchange
    int replyValues = 0;        // Get: values taken from the reply
    bool keepOnFailure = false; // Get: a failed exchange leaves the values as they were
    const char* busyLine = "";  // written when the link cannot be claimed
};

namespace CommandRows {

// The request of row with the caller's values in place of value(n) (a value
// not given reads as 0): report id 0, command byte, argument bytes, checksum.
HidCodec::FeatureReport frameOf(const CommandRow& row, std::initializer_list<std::uint8_t> values);

} // namespace CommandRows
