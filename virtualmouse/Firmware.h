#pragma once

#include "VirtualMouse.h"

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstring>
#include <optional>

// One command set's firmware as a table of functions over the mouse's state:
// which frames it takes, what they change and what it answers. The core
// (VirtualMouse) keeps the link, the state, the reassembly of payloads, the
// secrecy handshake and the faults, and calls these with its mutex held.
struct Firmware
{
    using Frame = HidCodec::Frame;
    using State = VirtualMouse::State;

    struct FrameKind
    {
        bool get = false;
        int payloadLength = 0;
    };

    // What the frame is, or nothing with why set; nothing with why left
    // empty is a command this set does not know.
    std::optional<FrameKind> (*check)(const Frame& frame, QString& why);
    // A set command without payload.
    void (*apply)(State& state, const Frame& frame);
    // A set command's whole payload; false with why when it is refused.
    bool (*applyPayload)(State& state, const Frame& frame, const QByteArray& payload, QString& why);
    // The reply to a get command (reply[0] is already the command byte, the
    // checksum is added by the core) and the block that follows it as bulk
    // input reports (left empty when none does).
    void (*reply)(const State& state, const Frame& frame, Frame& reply, QByteArray& bulk);
    // The stage field the DPI button steps.
    std::uint8_t& (*currentStage)(State& state);
};

const Firmware& firmware553();
const Firmware& firmware560();

// What the tables share.
namespace FirmwareText {

inline QString commandName(std::uint8_t command)
{
    return QStringLiteral("%1H").arg(command, 2, 16, QLatin1Char('0')).toUpper();
}

inline QString hex(int value)
{
    return QStringLiteral("0x%1").arg(value, 2, 16, QLatin1Char('0'));
}

} // namespace FirmwareText

namespace FirmwareCheck {

inline bool inRange(std::uint8_t value, int low, int high)
{
    return value >= low && value <= high;
}

template <std::size_t N>
void copyBytes(std::array<std::uint8_t, N>& to, const QByteArray& from)
{
    std::memcpy(to.data(), from.constData(), std::min(N, std::size_t(from.size())));
}

// The checks of one frame, each writing why on failure.
struct Checker
{
    const HidCodec::Frame& f; // f[0] is the command byte; f[k] is byte k + 1 of the feature report
    QString& why;

    std::optional<Firmware::FrameKind> fail(const QString& text) const
    {
        why = FirmwareText::commandName(f[0]) + QLatin1Char(' ') + text;
        return std::nullopt;
    }
    bool needRange(int at, int low, int high, const char* what) const
    {
        if (inRange(f[std::size_t(at)], low, high))
            return true;
        why = QStringLiteral("%1 %2 %3 out of range %4..%5")
                  .arg(FirmwareText::commandName(f[0]), QLatin1String(what))
                  .arg(f[std::size_t(at)])
                  .arg(low)
                  .arg(high);
        return false;
    }
    // A payload command whose length byte (byte 3) must be expected.
    std::optional<Firmware::FrameKind> payload(int expected) const
    {
        if (f[2] != expected)
            return fail(QStringLiteral("frame has length byte %1 (expected %2)")
                            .arg(FirmwareText::hex(f[2]), FirmwareText::hex(expected)));
        return Firmware::FrameKind{false, expected};
    }
    static constexpr Firmware::FrameKind set{false, 0};
    static constexpr Firmware::FrameKind get{true, 0};
};

} // namespace FirmwareCheck
