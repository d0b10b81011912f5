#include "ProgramRig.h"

#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>

// The real program on a real X server (the Xvfb display tools/dev starts),
// driven with synthetic pointer input: the QML's title bar drags the
// frameless window, its close button hides it (a notification-area host runs
// on a private session bus), and a second start does not bring it back while
// no mouse is connected.
class TestX11Session : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void dragCloseAndSecondStart();
};

namespace {

QString xdotool(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    p.waitForFinished(10000);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

QStringList visibleWindows()
{
    return xdotool({"search", "--onlyvisible", "--name", "TALVORN SKARN MOUSE R410"}).split('\n', Qt::SkipEmptyParts);
}

QPoint windowPosition(const QString& id)
{
    const QString text = xdotool({"getwindowgeometry", id});
    const QRegularExpressionMatch m = QRegularExpression(R"(Position: (-?\d+),(-?\d+))").match(text);
    return m.hasMatch() ? QPoint(m.captured(1).toInt(), m.captured(2).toInt()) : QPoint(-9999, -9999);
}

} // namespace

void TestX11Session::dragCloseAndSecondStart()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X server: run through tools/dev test");
    QTemporaryDir root;
    const QString exe = installProgram(root.filePath("app"));
    QVERIFY(!exe.isEmpty());
    QProcessEnvironment env = programEnvironment(root.filePath("runtime"), "xcb");
    // Without a notification area the close button would end the program.
    QProcess bus;
    bus.start("dbus-daemon", {"--session", "--nofork", "--nopidfile", "--print-address=1"});
    if (!QTest::qWaitFor([&] { return bus.canReadLine(); }, 10000))
        QSKIP("needs dbus-daemon");
    env.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromLatin1(bus.readLine().trimmed()));
    QProcess host;
    host.setProcessEnvironment(env);
    host.start("/usr/bin/python3", {SKARN_SOURCE_DIR "/tests/e2e/tray_host.py"});
    if (!QTest::qWaitFor([&] { return host.canReadLine(); }, 10000) || host.readLine().trimmed() != "ready")
        QSKIP("the tray host did not start (needs python3-gi)");
    const auto stop = qScopeGuard([&] {
        host.kill();
        host.waitForFinished(5000);
        bus.kill();
        bus.waitForFinished(5000);
    });
    Program first(env, exe);
    QVERIFY(first.waitFor("first frame rendered", 20000));
    QString id;
    QVERIFY(QTest::qWaitFor([&] { return !(id = visibleWindows().value(0)).isEmpty(); }, 10000));
    const QPoint start = windowPosition(id);
    QVERIFY(start.x() > -9999);
    // initUI() shields the page from input for its first 1000 ms.
    QTest::qWait(1300);

    // Drag the title bar by (60, 40) in small steps, as a hand would.
    const QPoint grab = start + QPoint(300, 20);
    QString drag = QStringLiteral("mousemove %1 %2 sleep 0.1 mousedown 1").arg(grab.x()).arg(grab.y());
    for (int i = 1; i <= 4; ++i)
        drag += QStringLiteral(" sleep 0.06 mousemove %1 %2").arg(grab.x() + 15 * i).arg(grab.y() + 10 * i);
    xdotool((drag + " sleep 0.1 mouseup 1").split(' '));
    QTRY_COMPARE_WITH_TIMEOUT(windowPosition(id), start + QPoint(60, 40), 5000);

    // The close button (top right of the frame) hides the window; the
    // program keeps running in the tray.
    const QPoint close = start + QPoint(60 + 1024 - 12 - 14, 40 + 22);
    xdotool(QStringLiteral("mousemove %1 %2 sleep 0.1 click 1").arg(close.x()).arg(close.y()).split(' '));
    QTRY_VERIFY_WITH_TIMEOUT(!visibleWindows().contains(id), 5000);
    QVERIFY(first.running());

    // Without a connected mouse a second start does not bring it back.
    QVERIFY(handsOver(first, env, exe));
    QTest::qWait(300);
    QVERIFY(!visibleWindows().contains(id));
}

QTEST_GUILESS_MAIN(TestX11Session)
#include "tst_x11session.moc"
