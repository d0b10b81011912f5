#include "InputCapture.h"
#include "ProgramRig.h"
#include "TestSupport.h"
#include "WarningRequest.h"
#include "Widget.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QMessageBox>
#include <QPointer>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <algorithm>

#include <unistd.h>

// Requests from other programs to show a warning box: the rule that decides
// what is shown, the box, and the session-bus path end to end.
class TestWarningRequest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void text_data() { addDataRows("warningrequest-text.rows"); }
    void text();
    void elided_data() { addDataRows("warningrequest-elided.rows"); }
    void elided();
    void boxesFromTheBus();
    void floodKeepsTheProgramAnswering();

private:
    QProcess m_bus;
};

namespace {

QDBusMessage warningCall(uint tag, const QByteArray& bytes)
{
    const QString name = QStringLiteral("org.talvorn.SkarnConfig");
    QDBusMessage call = QDBusMessage::createMethodCall(name, QStringLiteral("/"), name, QStringLiteral("ShowWarning"));
    call << tag << bytes;
    return call;
}

// Sends ShowWarning and waits for the answer; false for an error or none.
bool send(QDBusConnection& client, uint tag, const QByteArray& bytes)
{
    QDBusPendingCall pending = client.asyncCall(warningCall(tag, bytes), 5000);
    return QTest::qWaitFor([&] { return pending.isFinished(); }, 5000) && !pending.isError();
}

QDBusConnection busClient(const QString& name)
{
    return QDBusConnection::connectToBus(QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS")), name);
}

// Whether this is a sanitizer build (the compilers define these).
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool sanitized = true;
#else
constexpr bool sanitized = false;
#endif

qint64 residentKiB(qint64 pid)
{
    QFile statm(QStringLiteral("/proc/%1/statm").arg(pid));
    return statm.open(QIODevice::ReadOnly)
               ? statm.readAll().split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE) / 1024
               : -1;
}

} // namespace

// A private session bus for this test alone, so nothing reaches the user's.
void TestWarningRequest::initTestCase()
{
    m_bus.start(QStringLiteral("dbus-daemon"),
                {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    QVERIFY2(m_bus.waitForStarted(5000), "dbus-daemon is needed (tools/dev deps)");
    QVERIFY(m_bus.waitForReadyRead(5000));
    const QByteArray address = m_bus.readLine().trimmed();
    QVERIFY(!address.isEmpty());
    qputenv("DBUS_SESSION_BUS_ADDRESS", address);
}

void TestWarningRequest::cleanupTestCase()
{
    m_bus.kill();
    m_bus.waitForFinished(5000);
}

// Each block is a copy that ends exactly at its size, with no zero after it
// (the sanitizer build checks the bounds).
void TestWarningRequest::text()
{
    FETCH_DATA_ROW(row);
    const QString blockText = row.field(2);
    const QByteArray block =
        blockText.startsWith("x*") ? QByteArray(blockText.mid(2).toInt(), 'x') : hexBytes(blockText);
    const std::unique_ptr<char[]> copy(blockText == "null" ? nullptr : new char[size_t(block.size())]);
    std::copy(block.begin(), block.end(), copy.get());
    const int count = row.field(3).toInt();
    const std::optional<QString> result = WarningRequest::text(row.field(1).toUInt(nullptr, 16), copy.get(), count);
    QCOMPARE(result.has_value(), row.field(4) == "yes");
    if (result)
        QCOMPARE(*result, QString::fromUtf8(block.left(count)));
}

void TestWarningRequest::elided()
{
    FETCH_DATA_ROW(row);
    const int maxBytes = row.field(2).toInt();
    const QString result = WarningRequest::elided(row.field(1), maxBytes);
    QCOMPARE(result, row.field(3));
    QVERIFY(result.toUtf8().size() <= maxBytes);
}

// Another program calls ShowWarning on the session bus; the main window's
// handler sees the tag and exactly the bytes sent. The box is opened without
// an event loop of its own; while it is shown further requests are dropped;
// once it is closed the next one shows.
void TestWarningRequest::boxesFromTheBus()
{
    TestDataFolder data;
    Widget window;
    InputCapture capture;
    capture.setCopyDataCallback(
        qApp,
        [](quint32 tag, const QByteArray& bytes, void* user) {
            static_cast<Widget*>(user)->handleWarningRequest(tag, bytes);
        },
        &window);
    QDBusConnection client = busClient("tst_client");
    auto disconnect = qScopeGuard([] { QDBusConnection::disconnectFromBus(QStringLiteral("tst_client")); });
    QVERIFY(client.isConnected());

    // A large block of junk is answered and not shown (which blocks are
    // shown is the text rows).
    QVERIFY(send(client, 0x250F, QByteArray(1 << 20, '\xff')));
    QTest::qWait(20);
    QVERIFY(!window.warningBox());

    QVERIFY(send(client, 0x250F, QByteArray("<b>first</b>")));
    QTRY_VERIFY(window.warningBox());
    QPointer<QMessageBox> box = window.warningBox();
    QCOMPARE(box->text(), QStringLiteral("<b>first</b>"));
    QCOMPARE(box->textFormat(), Qt::PlainText); // never markup
    for (int i = 0; i < 100; ++i)
        QVERIFY(send(client, 0x250F, QByteArray("second")));
    QTest::qWait(20);
    QCOMPARE(box->text(), QStringLiteral("<b>first</b>"));
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.begin(), windows.end(), [](QWidget* w) { return qobject_cast<QMessageBox*>(w); }),
             1);
    box->button(QMessageBox::Ok)->click();
    QVERIFY(!window.warningBox());
    QTRY_VERIFY(!box); // deleted once closed

    // At most 4 KiB of text is shown.
    QVERIFY(send(client, 0x250F, QByteArray(10000, 'y')));
    QTRY_VERIFY(window.warningBox());
    QCOMPARE(window.warningBox()->text(), QString(4093, 'y') + QChar(0x2026));
    window.warningBox()->button(QMessageBox::Ok)->click();

    capture.stop();
    QVERIFY(!send(client, 0x250F, QByteArray("after stop")));
    QTest::qWait(50);
    QVERIFY(!window.warningBox());
}

// The real program on an X server and the private bus, flooded with requests
// while a box is shown: every call is answered, a second start still gets its
// answer, and the program's memory stays where it was.
void TestWarningRequest::floodKeepsTheProgramAnswering()
{
    if (!XServer::available())
        QSKIP("needs Xvfb");
    XServer server;
    QVERIFY(!server.display.isEmpty());
    QTemporaryDir root;
    const QString exe = installProgram(root.filePath("app"));
    QVERIFY(!exe.isEmpty());
    QProcessEnvironment env = programEnvironment(root.filePath("runtime"), "xcb");
    env.insert("DISPLAY", server.display);
    Program program(env, exe);
    QVERIFY(program.waitFor("Device DisConnect", 30000));

    QDBusConnection client = busClient("tst_flood");
    auto disconnect = qScopeGuard([] { QDBusConnection::disconnectFromBus(QStringLiteral("tst_flood")); });
    QTRY_VERIFY_WITH_TIMEOUT(client.interface()->isServiceRegistered(QStringLiteral("org.talvorn.SkarnConfig")), 10000);

    auto floodWithSecondStart = [&] {
        QList<QDBusPendingCall> calls;
        for (int i = 0; i < 2000; ++i)
            calls.append(client.asyncCall(warningCall(0x250F, QByteArray(2000, 'a' + char(i % 26))), 30000));
        const bool handedOver = handsOver(program, env, exe);
        const auto finished = [](const QDBusPendingCall& c) { return c.isFinished(); };
        const bool answered = QTest::qWaitFor([&] { return std::all_of(calls.begin(), calls.end(), finished); }, 60000);
        QTest::qWait(300);
        return handedOver && answered &&
               std::none_of(calls.begin(), calls.end(), [](const QDBusPendingCall& c) { return c.isError(); });
    };
    // The first round takes the program's buffers to their working size;
    // what a round leaves behind shows in the next.
    QVERIFY(floodWithSecondStart());
    const qint64 before = residentKiB(program.process.processId());
    QVERIFY(before > 0);
    QVERIFY(floodWithSecondStart());
    const qint64 after = residentKiB(program.process.processId());
    QVERIFY(program.running());
    qInfo("resident memory: %lld KiB before, %lld KiB after a flood", before, after);
    // The sanitizers keep freed memory in quarantine, so there resident size
    // says nothing about what the program holds.
    if (!sanitized)
        QVERIFY2(after - before < 4 * 1024,
                 qPrintable(QStringLiteral("resident memory grew from %1 to %2 KiB").arg(before).arg(after)));
    // Still answering afterwards.
    QVERIFY(handsOver(program, env, exe));
}

QTEST_MAIN(TestWarningRequest)
#include "tst_warningrequest.moc"
