// The device side of a profile change, against the virtual mouse with the
// real clock: the key matrix with a gun entry, the report rate, the DPI
// stages, the lighting effect and the gun-matrix reset, for each command set.
// The delays the link must keep are first summed on a virtual clock (same
// sequence, same frames); the real run is then compared with that sum.
//
// Usage: bench_profile_change [repetitions] [--hid-trace FILE]
//   repetitions       real runs per command set (default 3)
//   --hid-trace FILE  writes the virtual-clock run of each command set (553,
//                     then 560) to FILE, one line per transfer; the time
//                     column is the virtual clock's, so the file is the same
//                     on every run

#include "Clock.h"
#include "DeviceSession.h"
#include "ProfileChange.h"
#include "VirtualHidBackend.h"
#include "VirtualMouse.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

void writeFile(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(text);
}

double runOnce(const QString& family, Clock& clock, int* frames, QIODevice* trace = nullptr)
{
    VirtualMouse device(VirtualMouse::shippedEntry(), commandSetOf(family));
    VirtualHidBackend backend({&device}, clock);
    DeviceSession session;
    session.setClock(&clock);
    session.setTransport(&backend, trace);
    DeviceRecord entry = VirtualMouse::shippedEntry();
    entry.primaryPath = QString::fromLatin1(device.commandPath());
    entry.secondaryPath = QString::fromLatin1(device.eventPath());
    session.useDevice(entry);
    // Written by the writer thread, as in the tray program; the time is until
    // the mouse has it all.
    session.hid().startWriter();
    QElapsedTimer t;
    t.start();
    applyProfileChange(session.view());
    session.hid().call([] {});
    const double ms = double(t.nsecsElapsed()) / 1e6;
    if (device.protocolErrors() != 0)
        std::fprintf(stderr, "%s: %d protocol errors: %s\n", qPrintable(family), device.protocolErrors(),
                     qPrintable(device.protocolErrorMessages().join(QStringLiteral("; "))));
    *frames = int(device.receivedFrames().size());
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int repetitions = 3;
    QString tracePath;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--hid-trace") == 0) {
            if (i + 1 == argc) {
                std::fprintf(stderr, "--hid-trace needs a file\n");
                return 2;
            }
            tracePath = QFileInfo(QString::fromLocal8Bit(argv[++i])).absoluteFilePath();
        } else {
            repetitions = std::max(1, atoi(argv[i]));
        }
    }
    QFile trace(tracePath);
    if (!tracePath.isEmpty() && !trace.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(tracePath), qPrintable(trace.errorString()));
        return 2;
    }
    QTemporaryDir data;
    // The shipped profiles and apConfig.bin, with the gun flag on.
    const QString modules = QCoreApplication::applicationDirPath() + QStringLiteral("/modules");
    QDir().mkpath(data.filePath(QStringLiteral("modules/setting")));
    for (const QString& name : QDir(modules + QStringLiteral("/setting")).entryList(QDir::Files))
        QFile::copy(modules + QStringLiteral("/setting/") + name,
                    data.filePath(QStringLiteral("modules/setting/") + name));
    QDir::setCurrent(data.path());

    std::printf("%-8s %8s %12s %12s %8s\n", "family", "frames", "mandated", "measured", "ratio");
    for (const QString& family : {QStringLiteral("553"), QStringLiteral("560")}) {
        QFile config(QStringLiteral("modules/setting/apConfig.bin"));
        QByteArray text;
        if (config.open(QIODevice::ReadOnly))
            text = config.readAll();
        config.close();
        text.replace("icType=553", "icType=" + family.toLatin1()).replace("icType=560", "icType=" + family.toLatin1());
        writeFile(QStringLiteral("modules/setting/apConfig.bin"), text);

        VirtualClock virtualClock;
        int frames = 0;
        runOnce(family, virtualClock, &frames, trace.isOpen() ? &trace : nullptr);
        const double mandated = double(virtualClock.totalSleptMs());
        std::vector<double> times;
        for (int i = 0; i < repetitions; ++i)
            times.push_back(runOnce(family, Clock::system(), &frames));
        std::sort(times.begin(), times.end());
        const double median = times[times.size() / 2];
        std::printf("%-8s %8d %9.1f ms %9.1f ms %8.4f\n", qPrintable(family), frames, mandated, median,
                    median / mandated);
    }
    return 0;
}
