#include "KdePointerSettings.h"
#include "ProgramRig.h"
#include "TestSupport.h"
#include "ViewCore.h"
#include "X11PointerSpeed.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

// KDE Plasma's pointer settings: the edit of a KConfig file that keeps
// everything else, and the three settings written into a scratch config
// folder, with the failure lines the view writes when one is not applied.
class TestKdePointer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanup() { PointerSettings::setDefault(nullptr); }
    void withEntry_data();
    void withEntry();
    void isKde();
    void settingsInConfigFolder_data();
    void settingsInConfigFolder();
    void liveSpeedOnX11();
};

void TestKdePointer::withEntry_data()
{
    using B = QByteArray;
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after"); // "locked" for none
    // Every row sets K=250 in [KDE]; an empty file and a
    // locked file are rows of settingsInConfigFolder.
    QTest::addRow("group added") << B("# c\n[G]\nC=B\n") << B("# c\n[G]\nC=B\n\n[KDE]\nK=250\n");
    QTest::addRow("end of its group") << B("[KDE]\nS=0\n\n[I]\nT=b\n") << B("[KDE]\nS=0\nK=250\n\n[I]\nT=b\n");
    QTest::addRow("in place") << B("[KDE]\nA=1\nK=400\nB=2\n") << B("[KDE]\nA=1\nK=250\nB=2\n");
    QTest::addRow("spaces, odd value") << B("[KDE]\n  K = fast\n") << B("[KDE]\nK=250\n");
    QTest::addRow("expanded entry") << B("[KDE]\nK[$e]=$X\n") << B("[KDE]\nK=250\n");
    QTest::addRow("language entry kept") << B("[KDE]\nK[de]=1\n") << B("[KDE]\nK[de]=1\nK=250\n");
    QTest::addRow("other groups' key kept")
        << B("[KDE][Sub]\nK=1\n[M]\nK=2\n") << B("[KDE][Sub]\nK=1\n[M]\nK=2\n\n[KDE]\nK=250\n");
    QTest::addRow("group twice") << B("[KDE]\nK=1\n[X]\n[KDE]\nK=2\n") << B("[KDE]\nK=250\n[X]\n[KDE]\nK=250\n");
    QTest::addRow("no last line end") << B("[KDE]\nA=1") << B("[KDE]\nA=1\nK=250\n");
    QTest::addRow("carriage returns") << B("[KDE]\r\nA=1\r\n") << B("[KDE]\r\nA=1\r\nK=250\n");
    QTest::addRow("locked entry") << B("[KDE]\nK[$i]=400\n") << B("locked");
    QTest::addRow("locked group") << B("[KDE][$i]\nA=1\n") << B("locked");
}

void TestKdePointer::withEntry()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    const std::optional<QByteArray> result = KdePointerSettings::withEntry(before, "[KDE]", "K", "250");
    QCOMPARE(result.value_or("locked"), after);
}

void TestKdePointer::isKde()
{
    for (const auto& [desktop, kde] : {std::pair<QByteArray, bool>{"KDE", true},
                                       {"ubuntu:KDE", true},
                                       {"ubuntu:GNOME", false},
                                       {"", false},
                                       {"NotKDEReally", false}})
        QVERIFY2(KdePointerSettings::isKde(desktop) == kde, desktop.constData());
}

// op: the view's operation (speed, double-click, lines) with its step;
// session: x11 or wayland; file: what the config folder holds before
// ("dir" for a folder of the file's name, which cannot be read); expected:
// the file's text afterwards (unchanged when not applied) and whether the
// view wrote its failure line.
void TestKdePointer::settingsInConfigFolder_data()
{
    QTest::addColumn<QString>("op");
    QTest::addColumn<uint>("step");
    QTest::addColumn<QString>("session");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<bool>("applied");
    using B = QByteArray;
    const B locked("[$i]\n");
    QTest::addRow("speed 0 on X11") << "speed" << 0u << "x11" << B("[K]\nN=0\n")
                                    << B("[K]\nN=0\n\n[Mouse]\nXLbInptPointerAcceleration=-0.9\n") << true;
    QTest::addRow("speed 10 replaces") << "speed" << 10u << "x11" << B("[Mouse]\nXLbInptPointerAcceleration=0\nc=2\n")
                                       << B("[Mouse]\nXLbInptPointerAcceleration=1\nc=2\n") << true;
    QTest::addRow("speed 5, no file") << "speed" << 5u << "x11" << B() << B("[Mouse]\nXLbInptPointerAcceleration=0\n")
                                      << true;
    QTest::addRow("speed on Wayland") << "speed" << 5u << "wayland" << B() << B() << false;
    QTest::addRow("double-click 0") << "double-click" << 0u << "wayland" << B("[G]\nx=1\n")
                                    << B("[G]\nx=1\n\n[KDE]\nDoubleClickInterval=900\n") << true;
    QTest::addRow("double-click 10") << "double-click" << 10u << "x11" << B("[KDE]\nDoubleClickInterval=400\n")
                                     << B("[KDE]\nDoubleClickInterval=200\n") << true;
    QTest::addRow("wheel lines") << "lines" << 7u << "x11" << B() << B("[KDE]\nWheelScrollLines=7\n") << true;
    QTest::addRow("wheel one screen") << "lines" << 1000u << "x11" << B("[KDE]\nWheelScrollLines=3\n")
                                      << B("[KDE]\nWheelScrollLines=3\n") << false;
    QTest::addRow("locked file") << "double-click" << 3u << "x11" << locked << locked << false;
    QTest::addRow("unreadable file") << "lines" << 3u << "x11" << B("dir") << B("dir") << false;
}

void TestKdePointer::settingsInConfigFolder()
{
    QFETCH(QString, op);
    QFETCH(uint, step);
    QFETCH(QString, session);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(bool, applied);
    TestDataFolder data;
    QTemporaryDir config;
    // Made by the first write when nothing is in it yet.
    const QString home = config.filePath("kde");
    const QString file = home + (op == "speed" ? "/kcminputrc" : "/kdeglobals");
    const auto put = [&](const QByteArray& text) {
        if (text == "dir") {
            QVERIFY(QDir().mkpath(file));
        } else if (!text.isEmpty()) {
            QVERIFY(QDir().mkpath(home));
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(text);
        }
    };
    put(before);
    QList<KdePointerSettings::Change> announced;
    QList<double> live;
    KdePointerSettings kde(
        home, session == "wayland", [&announced](KdePointerSettings::Change c) { announced << c; },
        [&live](double acceleration) {
            live << acceleration;
            return 1;
        });
    PointerSettings::setDefault(&kde);
    ViewCore view;
    MessageLog log;
    if (op == "speed")
        view.mouseSetCursorSpeed(step);
    else if (op == "double-click")
        view.mouseSetDoubleClickSpeed(step);
    else
        view.mouseSetVerticalScrollLines(step);

    const QString failure = op == "speed"          ? "setCursorSpeed Failed"
                            : op == "double-click" ? "setDoubleClickSpeed Failed"
                                                   : "setVerticalScrollLines Failed";
    QCOMPARE(log.count(failure), applied ? 0 : 1);
    QCOMPARE(announced.size(), applied ? 1 : 0);
    if (applied)
        QCOMPARE(announced.first(),
                 op == "speed" ? KdePointerSettings::Change::Speed : KdePointerSettings::Change::Globals);
    // The running session gets the speed that was stored.
    const QByteArray stored = after.mid(after.indexOf("XLbInptPointerAcceleration=") + 27).split('\n').value(0);
    QCOMPARE(live, op == "speed" && applied ? QList<double>{stored.toDouble()} : QList<double>{});
    if (after == "dir") {
        QVERIFY(QFileInfo(file).isDir());
        return;
    }
    QFile f(file);
    QCOMPARE(f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(), after);
    // Nothing else appears in the folder (no temporary files left).
    const QStringList entries = QDir(home).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    QVERIFY2(entries.size() <= 1, qPrintable(entries.join(' ')));
}

// The speed set on the X server's pointing devices: none without a server;
// on a server, the pointers that have libinput's speed property get the
// value and the others (and touchpads) are left alone. Xvfb's devices have
// no libinput driver, so the test gives its pointer the property first.
void TestKdePointer::liveSpeedOnX11()
{
    const QByteArray display = qgetenv("DISPLAY");
    const auto restore = qScopeGuard([&] { qputenv("DISPLAY", display); });
    qunsetenv("DISPLAY");
    QCOMPARE(X11PointerSpeed::apply(0.5), -1);
    qputenv("DISPLAY", ":9999");
    QCOMPARE(X11PointerSpeed::apply(0.5), -1);
    if (!XServer::available())
        QSKIP("needs Xvfb");
    XServer server;
    QVERIFY(!server.display.isEmpty());
    qputenv("DISPLAY", server.display.toLatin1());
    QCOMPARE(X11PointerSpeed::apply(0.5), 0);

    // Under load a connection right after the first one is at times refused.
    Display* x = nullptr;
    QVERIFY(
        QTest::qWaitFor([&] { return (x = XOpenDisplay(server.display.toLatin1().constData())) != nullptr; }, 5000));
    const auto close = qScopeGuard([x] { XCloseDisplay(x); });
    int major = 2, minor = 0;
    QCOMPARE(XIQueryVersion(x, &major, &minor), Success);
    int count = 0;
    XIDeviceInfo* devices = XIQueryDevice(x, XIAllDevices, &count);
    int pointer = -1;
    for (int i = 0; i < count; ++i) {
        if (devices[i].use == XISlavePointer && pointer < 0)
            pointer = devices[i].deviceid;
    }
    XIFreeDeviceInfo(devices);
    QVERIFY(pointer >= 0);
    const Atom speed = XInternAtom(x, "libinput Accel Speed", False);
    const Atom floatType = XInternAtom(x, "FLOAT", False);
    float zero = 0;
    XIChangeProperty(x, pointer, speed, floatType, 32, PropModeReplace, reinterpret_cast<unsigned char*>(&zero), 1);
    XSync(x, False);

    QCOMPARE(X11PointerSpeed::apply(-0.25), 1);
    Atom type = None;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    QCOMPARE(XIGetProperty(x, pointer, speed, 0, 1, False, floatType, &type, &format, &items, &after, &data), Success);
    QVERIFY(data && items == 1 && format == 32);
    float value = 0;
    std::memcpy(&value, data, sizeof value);
    XFree(data);
    QCOMPARE(value, -0.25f);
}

QTEST_GUILESS_MAIN(TestKdePointer)
#include "tst_kdepointer.moc"
