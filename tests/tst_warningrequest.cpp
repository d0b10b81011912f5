#include "InputCapture.h"
#include "TestSupport.h"
#include "WarningRequest.h"
#include "WarningRequestChannel.h"
#include "Widget.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QProcess>
#include <QTest>

#include <optional>

// Requests from other programs to show a warning box: the rule that decides
// what is shown, and the session-bus path end to end.
class TestWarningRequest : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void text_data();
    void text();
    void neverReadsPastCount();
    void windowShowsWithTitle();
    void sessionBusEndToEnd();

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
    QTest::addRow("utf-8") << 0x250Fu << QByteArray("Gr\xc3\xbc\xc3\x9f" "e") << 7 << true
                           << QString::fromUtf8("Gr\xc3\xbc\xc3\x9f" "e");
    QTest::addRow("bad utf-8") << 0x250Fu << QByteArray("a\xff" "b") << 3 << false << QString();
    QTest::addRow("cut utf-8") << 0x250Fu << QByteArray("a\xc3") << 2 << false << QString();
    QTest::addRow("negative count") << 0x250Fu << abc << -1 << false << QString();
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

void TestWarningRequest::windowShowsWithTitle()
{
    TestDataFolder data;
    Widget window;
    QList<QPair<QString, QString>> shown;
    window.setWarningPresenter([&](const QString& caption, const QString& text) { shown.append({caption, text}); });
    window.handleWarningRequest(0x250F, QByteArray("abc\0", 4));
    window.handleWarningRequest(0x250F, QByteArray("abc", 3));
    window.handleWarningRequest(0x1234, QByteArray("abc", 3));
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().first, window.windowTitle());
    QCOMPARE(shown.first().first, QStringLiteral("TALVORN SKARN MOUSE R410"));
    QCOMPARE(shown.first().second, QStringLiteral("abc"));
}

// Another program calls ShowWarning on the session bus; the main window's
// handler sees the tag and exactly the bytes sent.
void TestWarningRequest::sessionBusEndToEnd()
{
    TestDataFolder data;
    Widget window;
    QList<QString> shown;
    window.setWarningPresenter([&](const QString&, const QString& text) { shown.append(text); });

    InputCapture capture;
    capture.setCopyDataCallback(
        qApp, [](quint32 tag, const QByteArray& bytes, void* user) {
            static_cast<Widget*>(user)->handleWarningRequest(tag, bytes);
        },
        &window);

    QDBusConnection client =
        QDBusConnection::connectToBus(QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS")),
                                      QStringLiteral("tst_client"));
    QVERIFY(client.isConnected());

    auto send = [&](uint tag, const QByteArray& bytes) -> bool {
        QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.talvorn.SkarnConfig"),
                                                           QStringLiteral("/"),
                                                           QStringLiteral("org.talvorn.SkarnConfig"),
                                                           QStringLiteral("ShowWarning"));
        call << tag << bytes;
        QDBusPendingCall pending = client.asyncCall(call, 5000);
        QDBusPendingCallWatcher watcher(pending);
        if (!QTest::qWaitFor([&] { return watcher.isFinished(); }, 5000))
            return false;
        return !watcher.isError();
    };

    QVERIFY(send(0x250F, QByteArray("Hello from the bus")));
    QTRY_COMPARE(shown.size(), 1);
    QCOMPARE(shown.first(), QStringLiteral("Hello from the bus"));

    // With the terminating zero counted: nothing is shown.
    QVERIFY(send(0x250F, QByteArray("abc\0", 4)));
    QVERIFY(send(0x9999, QByteArray("abc")));
    // A large block of junk is answered and swallowed.
    QVERIFY(send(0x250F, QByteArray(1 << 20, '\xff')));
    QVERIFY(send(0x250F, QByteArray("last")));
    QTRY_COMPARE(shown.size(), 2);
    QCOMPARE(shown.last(), QStringLiteral("last"));

    capture.stop();
    QVERIFY(!send(0x250F, QByteArray("after stop")));
    QTest::qWait(50);
    QCOMPARE(shown.size(), 2);
    QDBusConnection::disconnectFromBus(QStringLiteral("tst_client"));
}

QTEST_MAIN(TestWarningRequest)
#include "tst_warningrequest.moc"
