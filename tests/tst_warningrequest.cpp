#include "InputCapture.h"
#include "TestSupport.h"
#include "WarningRequest.h"
#include "WarningRequestChannel.h"
#include "Widget.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <optional>

// Requests from other programs to show a warning box: the rule that decides
// what is shown, the box, and the session-bus path end to end.

namespace {

QDBusMessage warningCall(uint tag, const QByteArray& bytes)
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(QStringLiteral("org.talvorn.SkarnConfig"), QStringLiteral("/"),
                                       QStringLiteral("org.talvorn.SkarnConfig"), QStringLiteral("ShowWarning"));
    call << tag << bytes;
    return call;
}

} // namespace

class TestWarningRequest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void text_data();
    void text();
    void neverReadsPastCount();
    void elided_data();
    void elided();
    void oneBoxAtATime();
    void sessionBusEndToEnd();
    void floodKeepsTheProgramAnswering();

private:
    QProcess m_bus;
};

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

void TestWarningRequest::text_data()
{
    QTest::addColumn<uint>("tag");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("expected");

    const QByteArray abc("abc\0", 4);
    QTest::addRow("abc, count 3") << 0x250Fu << abc << 3 << true << QStringLiteral("abc");
    QTest::addRow("abc, count 4") << 0x250Fu << abc << 4 << false << QString();
    // The block is the first count bytes: what lies beyond is not part of it.
    QTest::addRow("abc, count 2") << 0x250Fu << abc << 2 << true << QStringLiteral("ab");
    QTest::addRow("other tag") << 0x2510u << abc << 3 << false << QString();
    QTest::addRow("tag 0") << 0u << abc << 3 << false << QString();
    QTest::addRow("no terminator") << 0x250Fu << QByteArray("abc") << 3 << true << QStringLiteral("abc");
    QTest::addRow("empty") << 0x250Fu << QByteArray() << 0 << true << QString();
    QTest::addRow("only zero, count 1") << 0x250Fu << QByteArray("\0", 1) << 1 << false << QString();
    QTest::addRow("zero inside") << 0x250Fu << QByteArray("ab\0cd", 5) << 5 << false << QString();
    QTest::addRow("utf-8") << 0x250Fu
                           << QByteArray("Gr\xc3\xbc\xc3\x9f"
                                         "e")
                           << 7 << true
                           << QString::fromUtf8("Gr\xc3\xbc\xc3\x9f"
                                                "e");
    QTest::addRow("bad utf-8") << 0x250Fu
                               << QByteArray("a\xff"
                                             "b")
                               << 3 << false << QString();
    QTest::addRow("cut utf-8") << 0x250Fu << QByteArray("a\xc3") << 2 << false << QString();
    QTest::addRow("negative count") << 0x250Fu << abc << -1 << false << QString();
    // Found by fuzzing: the text before the zero decodes to one replacement
    // character of three bytes, so the sizes agree while the bytes do not.
    QTest::addRow("bad utf-8 before a zero") << 0x250Fu << QByteArray("f\xc3" "a\0r", 5) << 5 << false << QString();
    QTest::addRow("encoded surrogate") << 0x250Fu << QByteArray("\xed\xa0\x80") << 3 << false << QString();
    QTest::addRow("overlong") << 0x250Fu << QByteArray("\xe0\x80\xaf") << 3 << false << QString();
    // The decoder drops a leading byte-order mark; the text is not the bytes.
    QTest::addRow("byte-order mark") << 0x250Fu
                                     << QByteArray("\xef\xbb\xbf"
                                                   "abc")
                                     << 6 << false << QString();
    QTest::addRow("replacement character itself")
        << 0x250Fu << QByteArray("\xef\xbf\xbd") << 3 << true << QString(QChar(0xFFFD));
    const qsizetype max = WarningRequest::maxRequestBytes;
    QTest::addRow("largest block") << 0x250Fu << QByteArray(max, 'a') << int(max) << true << QString(max, 'a');
    QTest::addRow("block too large") << 0x250Fu << QByteArray(max + 1, 'a') << int(max + 1) << false << QString();
}

void TestWarningRequest::text()
{
    QFETCH(uint, tag);
    QFETCH(QByteArray, data);
    QFETCH(int, count);
    QFETCH(bool, shown);
    QFETCH(QString, expected);
    const std::optional<QString> result = WarningRequest::text(tag, data.constData(), count);
    QCOMPARE(result.has_value(), shown);
    if (shown)
        QCOMPARE(*result, expected);
}

// The bytes after count are never looked at: a block that ends exactly at
// count, with no zero, is read safely (the sanitizer build checks the bounds).
void TestWarningRequest::neverReadsPastCount()
{
    for (int n = 0; n < 64; ++n) {
        std::unique_ptr<char[]> block(new char[size_t(n)]);
        memset(block.get(), 'x', size_t(n));
        const auto result = WarningRequest::text(WarningRequest::tag, block.get(), n);
        QVERIFY(result.has_value());
        QCOMPARE(result->size(), n);
    }
    QVERIFY(!WarningRequest::text(WarningRequest::tag, nullptr, 5).has_value());
    QVERIFY(WarningRequest::text(WarningRequest::tag, nullptr, 0).has_value());
}

void TestWarningRequest::elided_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<QString>("expected");
    const QString dots(QChar(0x2026));
    const QString u = QString::fromUtf8("\xc3\xbc");            // 2 bytes
    const QString face = QString::fromUtf8("\xf0\x9f\x98\x80"); // 4 bytes, two UTF-16 units
    QTest::addRow("empty") << QString() << 10 << QString();
    QTest::addRow("fits exactly") << QString(10, 'a') << 10 << QString(10, 'a');
    QTest::addRow("one byte over") << QString(11, 'a') << 10 << QString(7, 'a') + dots;
    QTest::addRow("two-byte characters") << u.repeated(6) << 10 << u.repeated(3) + dots;
    QTest::addRow("no half character") << QString("a") + u.repeated(6) << 10 << "a" + u.repeated(3) + dots;
    QTest::addRow("no half surrogate pair") << QString("aa") + face.repeated(3) << 10 << "aa" + face + dots;
}

void TestWarningRequest::elided()
{
    QFETCH(QString, text);
    QFETCH(int, maxBytes);
    QFETCH(QString, expected);
    const QString result = WarningRequest::elided(text, maxBytes);
    QCOMPARE(result, expected);
    QVERIFY(result.toUtf8().size() <= maxBytes);
}

// The box is opened without an event loop of its own; while it is shown
// further requests are dropped; once it is closed the next one shows.
void TestWarningRequest::oneBoxAtATime()
{
    TestDataFolder data;
    Widget window;
    QVERIFY(!window.warningBox());
    window.handleWarningRequest(0x250F, QByteArray("abc\0", 4));
    window.handleWarningRequest(0x1234, QByteArray("abc", 3));
    QVERIFY(!window.warningBox());

    window.handleWarningRequest(0x250F, QByteArray("<b>first</b>"));
    QPointer<QMessageBox> box = window.warningBox();
    QVERIFY(box);
    QCOMPARE(box->windowTitle(), QStringLiteral("TALVORN SKARN MOUSE R410"));
    QCOMPARE(box->text(), QStringLiteral("<b>first</b>"));
    QCOMPARE(box->textFormat(), Qt::PlainText); // never markup
    QCOMPARE(box->icon(), QMessageBox::Warning);
    QCOMPARE(box->standardButtons(), QMessageBox::Ok);

    for (int i = 0; i < 100; ++i)
        window.handleWarningRequest(0x250F, QByteArray("second"));
    QCOMPARE(window.warningBox(), box.data());
    QCOMPARE(box->text(), QStringLiteral("<b>first</b>"));
    int boxes = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        boxes += qobject_cast<QMessageBox*>(w) ? 1 : 0;
    QCOMPARE(boxes, 1);

    box->button(QMessageBox::Ok)->click();
    QVERIFY(!window.warningBox());
    QTRY_VERIFY(!box); // deleted once closed

    window.handleWarningRequest(0x250F, QByteArray(10000, 'y'));
    QVERIFY(window.warningBox());
    QCOMPARE(window.warningBox()->text(), QString(4093, 'y') + QChar(0x2026));
}

// Another program calls ShowWarning on the session bus; the main window's
// handler sees the tag and exactly the bytes sent.
void TestWarningRequest::sessionBusEndToEnd()
{
    TestDataFolder data;
    Widget window;
    auto shownText = [&] { return window.warningBox() ? window.warningBox()->text() : QString(); };
    auto closeBox = [&] {
        if (QMessageBox* box = window.warningBox())
            box->button(QMessageBox::Ok)->click();
    };

    InputCapture capture;
    capture.setCopyDataCallback(
        qApp,
        [](quint32 tag, const QByteArray& bytes, void* user) {
            static_cast<Widget*>(user)->handleWarningRequest(tag, bytes);
        },
        &window);

    QDBusConnection client = QDBusConnection::connectToBus(QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS")),
                                                           QStringLiteral("tst_client"));
    QVERIFY(client.isConnected());

    auto send = [&](uint tag, const QByteArray& bytes) -> bool {
        QDBusPendingCall pending = client.asyncCall(warningCall(tag, bytes), 5000);
        QDBusPendingCallWatcher watcher(pending);
        if (!QTest::qWaitFor([&] { return watcher.isFinished(); }, 5000))
            return false;
        return !watcher.isError();
    };

    QVERIFY(send(0x250F, QByteArray("Hello from the bus")));
    QTRY_COMPARE(shownText(), QStringLiteral("Hello from the bus"));
    closeBox();

    // With the terminating zero counted: nothing is shown.
    QVERIFY(send(0x250F, QByteArray("abc\0", 4)));
    QVERIFY(send(0x9999, QByteArray("abc")));
    // A large block of junk is answered and swallowed.
    QVERIFY(send(0x250F, QByteArray(1 << 20, '\xff')));
    QTest::qWait(20);
    QVERIFY(!window.warningBox());
    QVERIFY(send(0x250F, QByteArray("last")));
    QTRY_COMPARE(shownText(), QStringLiteral("last"));
    closeBox();

    capture.stop();
    QVERIFY(!send(0x250F, QByteArray("after stop")));
    QTest::qWait(50);
    QVERIFY(!window.warningBox());
    QDBusConnection::disconnectFromBus(QStringLiteral("tst_client"));
}

namespace {

qint64 residentKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

} // namespace

// The real program on an X server and the private bus, flooded with requests
// while a box is shown: every call is answered, a second start still gets its
// answer, and the program's memory stays where it was.
void TestWarningRequest::floodKeepsTheProgramAnswering()
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
        QSKIP("needs Xvfb");
    QProcess server;
    server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-nolisten", "tcp"});
    QTRY_VERIFY_WITH_TIMEOUT(server.canReadLine(), 10000);
    const QString display = ':' + QString::fromLatin1(server.readLine().trimmed());

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString exe = root.filePath("app/skarn-config");
    QVERIFY(QDir().mkpath(root.filePath("app")) && QDir().mkpath(root.filePath("runtime")));
    QVERIFY(QFile::copy(QStringLiteral(SKARN_CONFIG_EXE), exe));
    QFile::setPermissions(exe, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile::setPermissions(root.filePath("runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(copyTree(sourceModulesPath(), root.filePath("app/modules"), {QStringLiteral("qml/")}));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("DISPLAY", display);
    env.insert("XDG_RUNTIME_DIR", root.filePath("runtime"));
    auto launch = [&] {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::MergedChannels);
        p->start(exe, {});
        return p;
    };
    auto program = launch();
    QByteArray output;
    auto cleanUp = qScopeGuard([&] {
        program->kill();
        program->waitForFinished(5000);
        server.terminate();
        server.waitForFinished(5000);
    });
    QVERIFY(QTest::qWaitFor(
        [&] {
            output += program->readAll();
            return output.contains("Device DisConnect") || program->state() == QProcess::NotRunning;
        },
        30000));
    QVERIFY2(output.contains("Device DisConnect"), output.constData());

    QDBusConnection client = QDBusConnection::connectToBus(QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS")),
                                                           QStringLiteral("tst_flood"));
    auto disconnect = qScopeGuard([] { QDBusConnection::disconnectFromBus(QStringLiteral("tst_flood")); });
    QTRY_VERIFY_WITH_TIMEOUT(client.interface()->isServiceRegistered(QStringLiteral("org.talvorn.SkarnConfig")), 10000);

    auto sendAll = [&](int n) {
        QList<QDBusPendingCall> calls;
        for (int i = 0; i < n; ++i)
            calls.append(client.asyncCall(warningCall(0x250F, QByteArray(2000, 'a' + char(i % 26))), 30000));
        return calls;
    };
    auto allAnswered = [&](const QList<QDBusPendingCall>& calls) {
        if (!QTest::qWaitFor(
                [&] {
                    return std::all_of(calls.begin(), calls.end(),
                                       [](const QDBusPendingCall& c) { return c.isFinished(); });
                },
                60000))
            return false;
        return std::none_of(calls.begin(), calls.end(), [](const QDBusPendingCall& c) { return c.isError(); });
    };

    // A flood while a second start hands over: every call is answered and
    // the second start gets its answer.
    auto floodWithSecondStart = [&] {
        const QList<QDBusPendingCall> flood = sendAll(2000);
        auto second = launch();
        // Keep reading the program's output meanwhile, as a terminal would.
        QVERIFY(QTest::qWaitFor(
            [&] {
                output += program->readAll();
                return second->state() == QProcess::NotRunning;
            },
            30000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 1);
        const QByteArray secondOutput = second->readAll();
        QVERIFY2(!secondOutput.contains("did not answer"), secondOutput.constData());
        QVERIFY(allAnswered(flood));
        QTest::qWait(300);
    };
    // The first round takes the program's buffers to their working size;
    // what a round leaves behind shows in the next.
    floodWithSecondStart();
    if (QTest::currentTestFailed())
        return;
    const qint64 before = residentKiB(program->processId());
    QVERIFY(before > 0);
    floodWithSecondStart();
    if (QTest::currentTestFailed())
        return;
    const qint64 after = residentKiB(program->processId());
    output += program->readAll();
    QCOMPARE(program->state(), QProcess::Running);
    qInfo("resident memory: %lld KiB before, %lld KiB after a flood", before, after);
#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define SKARN_SANITIZED
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__) || defined(SKARN_SANITIZED)
    // The sanitizers keep freed memory in quarantine, so resident size says
    // nothing about what the program holds; the answers above still count.
    return;
#endif
    QVERIFY2(after - before < 4 * 1024,
             qPrintable(QStringLiteral("resident memory grew from %1 to %2 KiB").arg(before).arg(after)));
    QVERIFY2(output.count("message from a second start") == 2, output.constData());

    // Still answering afterwards.
    auto third = launch();
    QVERIFY(third->waitForFinished(30000));
    QCOMPARE(third->exitCode(), 1);
}

QTEST_MAIN(TestWarningRequest)
#include "tst_warningrequest.moc"
