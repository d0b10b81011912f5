// The firmware of command set 560.

#include "Firmware.h"

using FirmwareCheck::Checker;
using FirmwareCheck::copyBytes;
using FirmwareCheck::inRange;
using Frame = HidCodec::Frame;
using State = VirtualMouse::State;

namespace {

std::optional<Firmware::FrameKind> check(const Frame& f, QString& why)
{
    const Checker c{f, why};
    const auto set = std::optional(Checker::set);
    switch (f[0]) {
    case 0x01:
        return set;
    case 0x02:
        return c.needRange(1, 0, 4, "profile") ? set : std::nullopt;
    case 0x03:
        return c.needRange(1, 1, 4, "index") ? set : std::nullopt;
    case 0x04:
        return c.needRange(1, 1, 4, "index") && c.needRange(2, 0, 8, "stage") ? set : std::nullopt;
    case 0x0C:
        return c.needRange(1, 0, 4, "profile") ? c.payload(0x80) : std::nullopt;
    case 0x0D:
        return c.needRange(1, 1, 4, "matrix") ? c.payload(0x80) : std::nullopt;
    case 0x0F:
        return c.needRange(1, 1, 12, "macro id") ? c.payload(0x80) : std::nullopt;
    case 0x81:
    case 0x82:
    case 0x84:
        return Checker::get;
    case 0x8C:
        return c.needRange(1, 0, 4, "profile") ? std::optional(Checker::get) : std::nullopt;
    }
    return std::nullopt;
}

void apply(State& s, const Frame& f)
{
    switch (f[0]) {
    case 0x01:
        std::copy_n(f.begin() + 1, 2, s.keyboardOption.begin());
        break;
    case 0x02:
        s.profile = f[1];
        break;
    case 0x03:
        s.reportRates[f[1] - 1u] = f[2];
        break;
    case 0x04:
        s.dpiStages[f[1] - 1u] = f[2];
        break;
    }
}

bool applyPayload(State& s, const Frame& f, const QByteArray& payload, QString& why)
{
    // check has bounded every index used here.
    switch (f[0]) {
    case 0x0C:
        copyBytes(s.profiles[f[1]], payload);
        break;
    case 0x0D:
        if (std::any_of(payload.begin() + 64, payload.end(), [](char b) { return b != 0; })) {
            why = QStringLiteral("0DH payload has non-zero bytes after the 64-byte key matrix");
            return false;
        }
        copyBytes(s.keyMatrices[f[1] - 1u], payload);
        break;
    case 0x0F:
        copyBytes(s.macros[f[1] - 1u], payload);
        break;
    }
    return true;
}

void reply(const State& s, const Frame& f, Frame& r, QByteArray& bulk)
{
    switch (f[0]) {
    case 0x81:
        r[1] = s.keyboardOption[0];
        r[2] = s.keyboardOption[1];
        break;
    case 0x82:
        r[1] = s.profile;
        break;
    case 0x84:
        r[1] = f[1];
        r[2] = s.dpiStages[inRange(f[1], 1, 4) ? f[1] - 1u : 0u];
        break;
    case 0x8C: {
        r[1] = f[1];
        const VirtualMouse::Block128& block = s.profiles[f[1]];
        bulk = QByteArray(reinterpret_cast<const char*>(block.data()), qsizetype(block.size()));
        break;
    }
    }
}

std::uint8_t& currentStage(State& s)
{
    return s.dpiStages[0];
}

} // namespace

const Firmware& firmware560()
{
    static constexpr Firmware table{check, apply, applyPayload, reply, currentStage};
    return table;
}
