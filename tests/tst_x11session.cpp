#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// The real program on a real X server (the Xvfb display tools/dev starts),
// driven with synthetic pointer input: the QML's title bar drags the
// frameless window, its close button hides it, and a second start does not
// bring it back while no mouse is connected.
class TestX11Session : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void dragCloseAndSecondStart();

private:
    QString xdotool(const QStringList& args, bool* ok = nullptr);
    QProcess* launch();
    QPoint windowPosition(const QString& id);
    bool isViewable(const QString& id);

    QTemporaryDir m_root;
    QString m_exe;
    QList<QProcess*> m_processes;
};

void TestX11Session::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X server: run through tools/dev test");
    QVERIFY(m_root.isValid());
    const QString folder = m_root.filePath("app");
    QVERIFY(QDir().mkpath(folder));
    m_exe = folder + "/skarn-config";
    QVERIFY(QFile::copy(QStringLiteral(SKARN_CONFIG_EXE), m_exe));
    QFile::setPermissions(m_exe, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(copyTree(sourceModulesPath(), folder + "/modules", {QStringLiteral("qml/")}));
    QVERIFY(QDir().mkpath(m_root.filePath("runtime")));
    QFile::setPermissions(m_root.filePath("runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void TestX11Session::cleanupTestCase()
{
    for (QProcess* p : m_processes) {
        p->kill();
        p->waitForFinished(5000);
        delete p;
    }
}

QString TestX11Session::xdotool(const QStringList& args, bool* ok)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    const bool finished = p.waitForFinished(10000);
    if (ok)
        *ok = finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

QProcess* TestX11Session::launch()
{
    auto* p = new QProcess;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("XDG_RUNTIME_DIR", m_root.filePath("runtime"));
    env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + m_root.filePath("no-bus"));
    p->setProcessEnvironment(env);
    p->setProcessChannelMode(QProcess::MergedChannels);
    p->start(m_exe, {});
    m_processes << p;
    return p;
}

QPoint TestX11Session::windowPosition(const QString& id)
{
    const QString text = xdotool({"getwindowgeometry", id});
    const QRegularExpressionMatch m = QRegularExpression(R"(Position: (-?\d+),(-?\d+))").match(text);
    return m.hasMatch() ? QPoint(m.captured(1).toInt(), m.captured(2).toInt()) : QPoint(-9999, -9999);
}

bool TestX11Session::isViewable(const QString& id)
{
    return xdotool({"search", "--onlyvisible", "--name", "TALVORN SKARN MOUSE R410"}).split('\n').contains(id);
}

void TestX11Session::dragCloseAndSecondStart()
{
    QProcess* first = launch();
    QByteArray output;
    QVERIFY2(QTest::qWaitFor([&] {
                 output += first->readAll();
                 return output.contains("first frame rendered");
             }, 20000),
             output.constData());

    QString id;
    QVERIFY(QTest::qWaitFor([&] {
        id = xdotool({"search", "--onlyvisible", "--name", "TALVORN SKARN MOUSE R410"}).section('\n', 0, 0);
        return !id.isEmpty();
    }, 10000));
    const QPoint start = windowPosition(id);
    QVERIFY(start.x() > -9999);
    // initUI() shields the page from input for its first 1000 ms.
    QTest::qWait(1300);

    // Drag the title bar by (60, 40) in small steps, as a hand would.
    const QPoint grab = start + QPoint(300, 20);
    xdotool({"mousemove", QString::number(grab.x()), QString::number(grab.y())});
    QTest::qWait(100);
    xdotool({"mousedown", "1"});
    for (int i = 1; i <= 4; ++i) {
        QTest::qWait(60);
        xdotool({"mousemove", QString::number(grab.x() + 15 * i), QString::number(grab.y() + 10 * i)});
    }
    QTest::qWait(100);
    xdotool({"mouseup", "1"});
    QTRY_COMPARE_WITH_TIMEOUT(windowPosition(id), start + QPoint(60, 40), 5000);

    // The close button (top right of the frame) hides the window; the
    // program keeps running in the tray.
    const QPoint moved = windowPosition(id);
    xdotool({"mousemove", QString::number(moved.x() + 1024 - 12 - 14), QString::number(moved.y() + 22)});
    QTest::qWait(100);
    xdotool({"click", "1"});
    QTRY_VERIFY_WITH_TIMEOUT(!isViewable(id), 5000);
    QCOMPARE(first->state(), QProcess::Running);

    // Without a connected mouse a second start does not bring it back.
    QProcess* second = launch();
    QVERIFY(second->waitForFinished(15000));
    QCOMPARE(second->exitCode(), 1);
    QVERIFY(QTest::qWaitFor([&] {
        output += first->readAll();
        return output.contains("message from a second start");
    }, 5000));
    QTest::qWait(300);
    QVERIFY(!isViewable(id));
}

QTEST_GUILESS_MAIN(TestX11Session)
#include "tst_x11session.moc"
