// The firmware of command set 553.

#include "Firmware.h"

using FirmwareCheck::Checker;
using FirmwareCheck::copyBytes;
using Frame = HidCodec::Frame;
using State = VirtualMouse::State;

namespace {

std::optional<Firmware::FrameKind> check(const Frame& f, QString& why)
{
    const Checker c{f, why};
    const auto set = std::optional(Checker::set);
    switch (f[0]) {
    case 0x01:
    case 0x03:
    case 0x0C:
    case 0x0D:
        return set;
    case 0x02:
        // The host numbers matrices from 0 when it switches them and from 1
        // on the gun path; both address the four matrices.
        return c.needRange(1, 0, 4, "matrix number") ? set : std::nullopt;
    case 0x04:
        if (f[1] != 0)
            return c.fail(QStringLiteral("byte 2 is %1 (expected 0)").arg(FirmwareText::hex(f[1])));
        return set;
    case 0x0B:
        // Stage 0 is the host's "none"; it is taken as is.
        return c.needRange(1, 0, 8, "stage") ? set : std::nullopt;
    case 0x10:
        return c.payload(f[1] == 2 ? 4 : 0x24);
    case 0x11:
        return c.needRange(1, 0, 8, "stage count") ? c.payload(8) : std::nullopt;
    case 0x12:
        if (!c.needRange(1, 1, 4, "matrix"))
            return std::nullopt;
        if (f[3] != 0x08)
            return c.fail(QStringLiteral("byte 4 is %1 (expected 0x08)").arg(FirmwareText::hex(f[3])));
        return c.payload(0x40);
    case 0x13:
        return c.needRange(1, 1, 12, "macro id") ? c.payload(0x80) : std::nullopt;
    case 0x83:
    case 0x8B:
        return Checker::get;
    }
    return std::nullopt;
}

void apply(State& s, const Frame& f)
{
    switch (f[0]) {
    case 0x01:
        s.reportRate = f[1];
        break;
    case 0x02:
        s.keyMatrix = f[1];
        break;
    case 0x03:
        std::copy_n(f.begin() + 1, 4, s.keyboardOption.begin());
        break;
    case 0x04:
        std::copy_n(f.begin() + 2, 4, s.gunData.begin());
        ++s.gunDataWrites;
        break;
    case 0x0B:
        s.dpiStage = f[1];
        break;
    case 0x0C:
        std::copy_n(f.begin() + 1, 3, s.fixedColour.begin());
        break;
    case 0x0D:
        std::copy_n(f.begin() + 1, 3, s.ledEffect.begin());
        break;
    }
}

bool applyPayload(State& s, const Frame& f, const QByteArray& payload, QString&)
{
    // check has bounded every index used here.
    switch (f[0]) {
    case 0x10: // a short (type 2) table overwrites the start of the colour table
        s.colourType = f[1];
        std::memcpy(s.colourTable.data(), payload.constData(), std::size_t(payload.size()));
        break;
    case 0x11:
        s.dpiCount = f[1];
        copyBytes(s.dpiTable, payload);
        break;
    case 0x12:
        copyBytes(s.keyMatrices[f[1] - 1u], payload);
        break;
    case 0x13:
        copyBytes(s.macros[f[1] - 1u], payload);
        break;
    }
    return true;
}

void reply(const State& s, const Frame& f, Frame& r, QByteArray&)
{
    switch (f[0]) {
    case 0x83:
        std::copy(s.keyboardOption.begin(), s.keyboardOption.end(), r.begin() + 1);
        break;
    case 0x8B:
        r[1] = s.dpiStage;
        break;
    }
}

std::uint8_t& currentStage(State& s)
{
    return s.dpiStage;
}

} // namespace

const Firmware& firmware553()
{
    static constexpr Firmware table{check, apply, applyPayload, reply, currentStage};
    return table;
}
