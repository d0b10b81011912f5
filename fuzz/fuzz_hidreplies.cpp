// Device replies to the HID worker. A scripted transport answers every call
// from the input: one byte chooses the outcome (an error, nothing, a short
// transfer or a full one) and the reply bytes follow. The worker runs every
// command that reads a reply, on both a plain and a scrambled entry, with
// its delays on a virtual clock.

#include "Clock.h"
#include "FuzzSupport.h"
#include "HidBackend.h"
#include "Hid_Thread.h"
#include "VirtualMouse.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

class ScriptedHandle final : public HidHandle
{
};

class ScriptedBackend final : public HidBackend
{
public:
    ScriptedBackend(const uint8_t* data, size_t size, size_t outputLength)
        : m_data(data)
        , m_size(size)
        , m_outputLength(outputLength)
    {
    }

    std::vector<HidInterfaceInfo> enumerate(quint16, quint16) override { return {}; }
    HidHandle* open(const QByteArray&, HidRole) override
    {
        if (next() == 0xff) // an unplug
            return nullptr;
        ++m_open;
        return new ScriptedHandle;
    }
    void close(HidHandle* handle) override
    {
        FUZZ_CHECK(handle && m_open > 0);
        --m_open;
        delete handle;
    }
    int setNonBlocking(HidHandle*, bool) override { return 0; }
    int sendFeatureReport(HidHandle*, const std::uint8_t*, std::size_t length) override
    {
        FUZZ_CHECK(length == 9);
        return outcome(int(length));
    }
    int getFeatureReport(HidHandle*, std::uint8_t* data, std::size_t length) override
    {
        FUZZ_CHECK(length == 9);
        return fill(data, length);
    }
    int write(HidHandle*, const std::uint8_t*, std::size_t length) override
    {
        FUZZ_CHECK(length == m_outputLength);
        return outcome(int(length));
    }
    int readTimeout(HidHandle*, std::uint8_t* data, std::size_t length, int) override { return fill(data, length); }
    int read(HidHandle*, std::uint8_t* data, std::size_t length) override { return fill(data, length); }

    int openHandles() const { return m_open; }

private:
    uint8_t next() { return m_at < m_size ? m_data[m_at++] : 0; }

    // 0..3 of the low bits: error, nothing, part of the length, all of it.
    int outcome(int length)
    {
        switch (next() & 3) {
        case 0:
            return -1;
        case 1:
            return 0;
        case 2:
            return length > 1 ? 1 + next() % (length - 1) : length;
        default:
            return length;
        }
    }

    int fill(std::uint8_t* data, std::size_t length)
    {
        const int n = outcome(int(length));
        for (int i = 0; i < n; ++i)
            data[i] = next();
        return n;
    }

    const uint8_t* m_data;
    size_t m_size;
    size_t m_outputLength;
    size_t m_at = 0;
    int m_open = 0;
};

// The shipped mouse's entry, on the scripted transport's paths.
DeviceRecord entry(bool isEncode, int reportLength)
{
    DeviceRecord r = VirtualMouse::shippedEntry();
    r.isEncode = isEncode;
    r.sCode = QStringLiteral("582910");
    r.reportLength = reportLength;
    r.primaryPath = QStringLiteral("scripted:cmd");
    r.secondaryPath = QStringLiteral("scripted:event");
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    // The first byte picks the entry: scrambled or not, and a report length
    // in and out of range. Output reports carry the report id and a whole
    // report of the length the link uses.
    const int lengths[] = {32, 64, 8, 1, 0, 300, 4097};
    const int reportLength = lengths[(data[0] >> 1) % std::size(lengths)];
    ScriptedBackend backend(data + 1, size - 1, size_t(HidCodec::usableReportLength(reportLength)) + 1);
    VirtualClock clock;
    Hid_Thread hid;
    hid.setBackend(&backend);
    hid.setClock(&clock);
    hid.deviceList = {entry(data[0] & 1, reportLength)};
    hid.currentIndex = 0;

    hid.chkDeviceIsEnCode(0);
    uchar b1 = 1, b2 = 2, b3 = 3, b4 = 4;
    hid.hid553_00H_GetSecrecyCode(b1, b2, b3, b4);
    hid.hid553_83H_GetKeyboardoption(b1, b2, b3, b4);
    hid.hid560_81H_GetKeyboardoption(b1, b2);
    hid.hid560_82H_GetCurrentProfile(b1);
    hid.hid560_84H_GetCurrentDPI(b1, b2);
    hid.hid553_8BH_GetCurrentDPI(b1);
    for (uchar block = 0; block < 6; ++block) {
        std::array<uchar, 128> profile;
        profile.fill(0xa5);
        hid.deviceList[0].primaryPath = QStringLiteral("scripted:cmd");
        hid.hid560_8CH_readProfile(profile.data(), block);
        // A read that failed (its entry's path is emptied) leaves every old
        // byte; it never mixes new bytes with old ones.
        if (hid.deviceList[0].primaryPath.isEmpty())
            FUZZ_CHECK(std::all_of(profile.begin(), profile.end(), [](uchar b) { return b == 0xa5; }));
    }
    std::array<uchar, 128> payload{};
    hid.deviceList[0].primaryPath = QStringLiteral("scripted:cmd");
    hid.hid560_0CH_setProfile(payload.data(), 1);
    hid.hid553_13H_SetMacroKey(0, payload.data());
    FUZZ_CHECK(hid.hidReady);
    FUZZ_CHECK(backend.openHandles() == 0);
    return 0;
}
