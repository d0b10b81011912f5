// Wall-clock cost of HID exchanges against the virtual mouse with the real
// clock, compared with the fixed delays the link must keep. The virtual mouse
// answers at once, so anything above the delays is our own overhead (sleep
// overshoot, framing, scrambling, the backend).
//
// Usage: bench_hid_timing [repetitions]   (default 5)

#include "Clock.h"
#include "DeviceSession.h"
#include "VirtualHidBackend.h"
#include "VirtualMouse.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// The shipped mouse with scrambled frames.
DeviceRecord mouse(bool isEncode)
{
    DeviceRecord r = VirtualMouse::shippedEntry();
    r.isEncode = isEncode;
    return r;
}

struct Case
{
    const char* name;
    double mandatedMs;
    std::function<void(Hid_Thread&)> run;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    VirtualMouse device(mouse(true), CommandSet::Set553);
    VirtualHidBackend backend({&device});
    DeviceSession session;
    session.setTransport(&backend);
    DeviceRecord entry = mouse(true);
    entry.primaryPath = QString::fromLatin1(device.commandPath());
    entry.secondaryPath = QString::fromLatin1(device.eventPath());
    session.useDevice(entry);
    Hid_Thread& hid = session.hid();

    uchar block[128];
    for (int i = 0; i < 128; ++i)
        block[i] = uchar(i);
    // The handshake comes first: it loads the secrecy key the scrambled frames need.
    const std::vector<Case> cases{
        {"handshake (chkDeviceIsEnCode, scrambled)", 0,
         [](Hid_Thread& h) {
             if (!h.chkDeviceIsEnCode(0))
                 std::fprintf(stderr, "handshake failed\n");
         }},
        {"hid553_13H_SetMacroKey (128 B at 32)", 4 * 120 + 2 * 128,
         [&](Hid_Thread& h) { h.hid553_13H_SetMacroKey(1, block); }},
        {"hid553_11H_SetDPISet (8 B at 32)", 120 + 2 * 128, [&](Hid_Thread& h) { h.hid553_11H_SetDPISet(4, block); }},
        {"hid553_01H_SetReportRate", 128, [](Hid_Thread& h) { h.hid553_01H_SetReportRate(1); }},
    };

    std::printf("%-44s %10s %10s %10s %8s\n", "exchange", "mandated", "median", "max", "ratio");
    for (const Case& c : cases) {
        std::vector<double> times;
        for (int i = 0; i < repetitions; ++i) {
            QElapsedTimer t;
            t.start();
            c.run(hid);
            times.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        std::sort(times.begin(), times.end());
        const double median = times[times.size() / 2];
        if (c.mandatedMs > 0)
            std::printf("%-44s %8.1f ms %7.3f ms %7.3f ms %8.4f\n", c.name, c.mandatedMs, median, times.back(),
                        median / c.mandatedMs);
        else
            std::printf("%-44s %8.1f ms %7.3f ms %7.3f ms %8s\n", c.name, c.mandatedMs, median, times.back(), "-");
    }
    if (device.protocolErrors() != 0) {
        std::fprintf(stderr, "protocol errors: %d\n", device.protocolErrors());
        return 1;
    }
    return 0;
}
