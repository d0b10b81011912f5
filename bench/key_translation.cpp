// Cost of the per-event key path, from the physical key to the decision to
// report: X keycode -> evdev -> key code -> key state filter on Linux, and
// scan code and flags -> virtual key -> key code -> filter as the Windows hook
// does it. The capture runs this for every key event of the desktop, so it
// must stay far below a microsecond.
//
// Usage: bench_key_translation [million events]   (default 20)

#include "KeyStateFilter.h"
#include "KeyTables.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Event
{
    quint32 key;
    quint32 flags;
    bool pressed;
};

// Each key of a US keyboard pressed twice (the second an auto-repeat) and
// released, plus some keys the tables do not know.
std::vector<Event> linuxEvents()
{
    std::vector<Event> events;
    for (quint32 keycode = 8; keycode < 256; ++keycode)
        for (bool pressed : {true, true, false})
            events.push_back({keycode, 0, pressed});
    return events;
}

std::vector<Event> windowsEvents()
{
    std::vector<Event> events;
    for (quint32 scanCode = 0; scanCode < 0x80; ++scanCode)
        for (quint32 flags : {0u, quint32(KeyTables::extendedFlag)})
            for (bool pressed : {true, true, false})
                events.push_back({scanCode, flags, pressed});
    return events;
}

template <typename Translate>
double nanosecondsPerEvent(const std::vector<Event>& events, long long total, Translate translate)
{
    KeyStateFilter filter;
    unsigned reported = 0;
    QElapsedTimer timer;
    timer.start();
    long long done = 0;
    while (done < total) {
        for (const Event& e : events) {
            const quint8 code = translate(e);
            reported += filter.accept(code, e.pressed) ? code : 0;
        }
        done += qint64(events.size());
    }
    const qint64 ns = timer.nsecsElapsed();
    // Keeps the loop from being optimised away.
    if (reported == 0xFFFFFFFFu)
        std::puts("");
    return double(ns) / double(done);
}

} // namespace

int main(int argc, char** argv)
{
    const long long total = (argc > 1 ? std::max(1, atoi(argv[1])) : 20) * 1000000LL;
    const double xPath =
        nanosecondsPerEvent(linuxEvents(), total, [](const Event& e) { return KeyTables::keyCodeForXKeycode(e.key); });
    const double windowsPath = nanosecondsPerEvent(
        windowsEvents(), total, [](const Event& e) { return KeyTables::windowsKeyCode(e.key, e.flags); });
    std::printf("X keycode -> key code -> filter:  %6.2f ns per event\n", xPath);
    std::printf("scan code -> key code -> filter:  %6.2f ns per event\n", windowsPath);
    std::printf("budget: 100 ns per event\n");
    return xPath < 100 && windowsPath < 100 ? 0 : 1;
}
