#include "Clock.h"
#include "DeviceChangeNotifier.h"
#include "DpiSwitchTexts.h"
#include "Globals.h"
#include "TestSupport.h"
#include "VirtualHidBackend.h"
#include "VirtualMouse.h"
#include "VirtualMouseMode.h"
#include "Widget.h"
#include "myQQuickView.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QQuickItem>
#include <QTest>

// Detection, connection and the DPI listener, end to end against the virtual
// mouse: the real device check, the real listener thread, the placeholder QML.
namespace {

struct Balloon
{
    QString title;
    QString text;
    int ms;
};

DeviceRecord entry(int type, quint16 pid, bool isEncode = false, const QString& sCode = "582910")
{
    DeviceRecord r;
    r.type = type;
    r.vid = 0x04d9;
    r.pid = pid;
    r.usagePage = r.usage = 0xff00;
    r.usagePage2 = r.usage2 = 0xff01;
    r.isEncode = isEncode;
    r.sCode = sCode;
    return r;
}

QByteArray configWith(const QList<DeviceRecord>& entries, const QByteArray& mouseGroup, int count = -1)
{
    QByteArray ini = "[common]\ndeviceCount=" + QByteArray::number(count < 0 ? entries.size() : count) +
                     "\nname=Test\n";
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const DeviceRecord& r = entries.at(i);
        ini += QStringLiteral("[%1]\ntype=%2\nvid=%3\npid=%4\nusagePage=ff00\nusage=ff00\nusagePage2=ff01\n"
                              "usage2=ff01\nreportLength=32\nisEncode=%5\nsCode=%6\n")
                   .arg(i)
                   .arg(r.type)
                   .arg(r.vid, 4, 16, QLatin1Char('0'))
                   .arg(r.pid, 4, 16, QLatin1Char('0'))
                   .arg(r.isEncode ? "true" : "false", r.sCode)
                   .toLatin1();
    }
    return ini + "[mouse]\n" + mouseGroup;
}

} // namespace

class TestDetection : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void startWithoutDeviceThenPlugIn();
    void entryOrder_data();
    void entryOrder();
    void connectionFrames_data();
    void connectionFrames();
    void dpiEvents_data();
    void dpiEvents();
    void unplugAndReplug();
    void noEventInterface();
    void quitWhileListening();
    void virtualMouseMenu();

private:
    // A window on the test folder's apConfig.bin with the given mice.
    void makeWindow(std::initializer_list<VirtualMouse*> mice);
    QStringList rootCalls() const { return m_window->view()->rootObject()->property("calls").toStringList(); }
    void connectMouse(const QString& family = "553", const QByteArray& mouseGroup = "icType=553\n");

    std::unique_ptr<TestDataFolder> m_data;
    VirtualClock m_clock;
    std::vector<std::unique_ptr<VirtualMouse>> m_mice;
    std::unique_ptr<VirtualHidBackend> m_backend;
    std::unique_ptr<Widget> m_window;
    FakeDeviceChangeNotifier* m_notifier = nullptr;
    QList<Balloon> m_balloons;
};

void TestDetection::init()
{
    m_data = std::make_unique<TestDataFolder>();
    deviceConnected = false;
    m_balloons.clear();
    for (int i = 0; i < 8; ++i)
        dpiSwitchTexts[std::size_t(i)] = QStringLiteral("S%1").arg(i + 1);
}

void TestDetection::cleanup()
{
    if (m_window)
        m_window->session.hid().stopListener();
    m_window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_backend.reset();
    m_mice.clear();
    m_data.reset();
    dpiSwitchTexts.fill(QStringLiteral("DPI Switch to"));
}

void TestDetection::makeWindow(std::initializer_list<VirtualMouse*> mice)
{
    m_backend = std::make_unique<VirtualHidBackend>(mice, m_clock);
    m_window = std::make_unique<Widget>();
    m_window->session.hid().setBackend(m_backend.get());
    m_window->session.hid().setClock(&m_clock);
    auto notifier = std::make_unique<FakeDeviceChangeNotifier>();
    m_notifier = notifier.get();
    m_window->setDeviceChangeNotifier(std::move(notifier));
    m_window->setBalloonPresenter([this](const QString& title, const QString& text, int ms) {
        m_balloons.append({title, text, ms});
    });
    for (VirtualMouse* mouse : mice)
        connect(mouse, &VirtualMouse::pluggedChanged, m_notifier, &FakeDeviceChangeNotifier::emitChange);
}

void TestDetection::connectMouse(const QString& family, const QByteArray& mouseGroup)
{
    const DeviceRecord mouse = entry(1, 0xa1ee);
    m_data->write("modules/setting/apConfig.bin", configWith({mouse}, mouseGroup));
    m_mice.push_back(std::make_unique<VirtualMouse>(mouse, family));
    makeWindow({m_mice.back().get()});
    m_window->checkDevice();
    QVERIFY(deviceConnected);
    QVERIFY(m_window->session.hid().hidListenerRunning);
}

void TestDetection::startWithoutDeviceThenPlugIn()
{
    const DeviceRecord mouse = entry(1, 0xa1ee);
    m_mice.push_back(std::make_unique<VirtualMouse>(mouse, "553"));
    VirtualMouse* vm = m_mice.back().get();
    vm->unplug();
    makeWindow({vm});
    MessageLog log;
    m_window->checkDevice();
    QVERIFY(!deviceConnected);
    QCOMPARE(log.count("Device DisConnect"), 1);
    QTRY_VERIFY(rootCalls().contains("run"));
    QVERIFY(rootCalls().indexOf("initUI") < rootCalls().indexOf("run"));
    QVERIFY(m_balloons.isEmpty());

    // Plugging in is a burst of device changes: one check, one interval after
    // the last of them.
    QElapsedTimer clock;
    clock.start();
    vm->plug();
    QTest::qWait(300);
    m_notifier->emitChange();
    QTest::qWait(300);
    const qint64 last = clock.elapsed();
    m_notifier->emitChange();
    QTRY_COMPARE_WITH_TIMEOUT(log.count("Device Connect"), 1, 4000);
    const qint64 delay = clock.elapsed() - last;
    QVERIFY2(delay >= Widget::checkIntervalMs - 5 && delay <= Widget::checkIntervalMs + 300,
             qPrintable(QString::number(delay)));
    QVERIFY(deviceConnected);
    QCOMPARE(m_balloons.size(), 1);
    QCOMPARE(m_balloons.first().title, QStringLiteral("Info"));
    QCOMPARE(m_balloons.first().text, QStringLiteral("Detect Device"));
    QCOMPARE(m_balloons.first().ms, 10000);
    QVERIFY(m_window->view()->isEnabled());
    QTRY_COMPARE(rootCalls().count("run"), 2);
    QTest::qWait(200);
    QCOMPARE(log.count("Device Connect"), 1);
    QCOMPARE(vm->protocolErrors(), 0);
}

void TestDetection::entryOrder_data()
{
    QTest::addColumn<bool>("keyboardScrambled");
    QTest::addColumn<QString>("keyboardCode"); // the code apConfig.bin gives the keyboard entry
    QTest::addColumn<int>("deviceCount");
    QTest::addColumn<int>("winner");
    QTest::addRow("keyboard first wins") << false << "582910" << 2 << 0;
    QTest::addRow("keyboard with wrong code is skipped") << true << "000000" << 2 << 1;
    QTest::addRow("keyboard with right code wins") << true << "582910" << 2 << 0;
    QTest::addRow("count beyond the groups") << true << "000000" << 5 << 1;
}

// The first entry in file order that has a command interface and answers the
// handshake wins; later ones are not tried.
void TestDetection::entryOrder()
{
    QFETCH(bool, keyboardScrambled);
    QFETCH(QString, keyboardCode);
    QFETCH(int, deviceCount);
    QFETCH(int, winner);
    const DeviceRecord keyboard = entry(0, 0x1111, keyboardScrambled, keyboardCode);
    const DeviceRecord mouse = entry(1, 0xa1ee);
    m_data->write("modules/setting/apConfig.bin", configWith({keyboard, mouse}, "icType=553\n", deviceCount));
    DeviceRecord keyboardDevice = keyboard;
    keyboardDevice.sCode = "582910"; // what the keyboard's firmware uses
    m_mice.push_back(std::make_unique<VirtualMouse>(keyboardDevice, "553"));
    m_mice.back()->setPathPrefix("kbd:");
    m_mice.push_back(std::make_unique<VirtualMouse>(mouse, "553"));
    m_mice.back()->setPathPrefix("mouse:");
    makeWindow({m_mice[0].get(), m_mice[1].get()});
    MessageLog log;
    m_window->checkDevice();
    QVERIFY(deviceConnected);
    QCOMPARE(m_window->session.hid().deviceList.size(), deviceCount);
    QCOMPARE(m_window->session.hid().currentIndex, winner);
    QCOMPARE(log.count("Device Connect"), 1);
    // The loser was tried only when it came first; a later entry is never touched.
    const int keyboardFrames = int(m_mice[0]->receivedFrames().size());
    const int mouseFrames = int(m_mice[1]->receivedFrames().size());
    if (winner == 0)
        QCOMPARE(mouseFrames, 0);
    else
        QCOMPARE(keyboardFrames, 1); // its failed handshake
    for (int i = 2; i < deviceCount; ++i)
        QVERIFY(m_window->session.hid().deviceList.at(i).primaryPath.isEmpty());
}

void TestDetection::connectionFrames_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QByteArray>("mouseGroup");
    QTest::addColumn<QByteArray>("commands"); // command bytes of the frames, in order
    QTest::addRow("553") << "553" << QByteArray("icType=553\nisGun=true\n") << QByteArray::fromHex("008303");
    QTest::addRow("560") << "560" << QByteArray("icType=560\nisGun=false\n")
                         << QByteArray::fromHex("0081018c8c");
    QTest::addRow("560 gun") << "560" << QByteArray("icType=560\nisGun=true\n")
                             << QByteArray::fromHex("0081018c8c8c8c8c");
}

// What a connection sends: the handshake, the listener bits of the keyboard
// option (553: 0x48 in the fourth byte; 560: 0x08 in the first), and for 560
// the profile blocks the view keeps.
void TestDetection::connectionFrames()
{
    QFETCH(QString, family);
    QFETCH(QByteArray, mouseGroup);
    QFETCH(QByteArray, commands);
    const DeviceRecord mouse = entry(1, 0xa1ee);
    m_data->write("modules/setting/apConfig.bin", configWith({mouse}, mouseGroup));
    m_mice.push_back(std::make_unique<VirtualMouse>(mouse, family));
    VirtualMouse* vm = m_mice.back().get();
    VirtualMouse::State s = vm->state();
    s.keyboardOption = {0x21, 0x02, 0x03, 0x05};
    vm->setState(s);
    makeWindow({vm});
    m_window->checkDevice();
    QVERIFY(deviceConnected);

    QByteArray sent;
    for (const QByteArray& f : vm->receivedFrames())
        sent += f.at(0);
    QCOMPARE(sent.toHex(), commands.toHex());
    const VirtualMouse::State after = vm->state();
    if (family == "553") {
        QCOMPARE(after.keyboardOption, (VirtualMouse::Bytes4{0x21, 0x02, 0x03, 0x4d}));
    } else {
        QCOMPARE(after.keyboardOption[0], std::uint8_t(0x29));
        QCOMPARE(after.keyboardOption[1], std::uint8_t(0x02));
        const int read = commands.count('\x8c');
        for (int n = 0; n < 5; ++n) {
            const auto& image = m_window->view()->core().profileImages[std::size_t(n)];
            QCOMPARE(image == after.profiles[std::size_t(n)], n < read);
        }
    }
    QCOMPARE(vm->protocolErrors(), 0);
}

void TestDetection::dpiEvents_data()
{
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<QString>("pageCall"); // empty: nothing happens
    QTest::addColumn<QString>("balloon");
    QTest::addRow("stage 3") << QByteArray::fromHex("06070003") << "setCurrentDPI(3)" << "S3 ";
    QTest::addRow("stage 1") << QByteArray::fromHex("06070001") << "setCurrentDPI(1)" << "S1 ";
    QTest::addRow("stage 7") << QByteArray::fromHex("06070007") << "setCurrentDPI(7)" << "S7 ";
    QTest::addRow("stage 8") << QByteArray::fromHex("06070008") << "setCurrentDPI(8)" << "S8 ";
    QTest::addRow("stage 0") << QByteArray::fromHex("06070000") << "setCurrentDPI(0)" << "S8 ";
    QTest::addRow("stage 9") << QByteArray::fromHex("06070009") << "setCurrentDPI(9)" << "S8 ";
    QTest::addRow("other report") << QByteArray::fromHex("06080002") << "" << "";
    QTest::addRow("three bytes") << QByteArray::fromHex("060700") << "" << "";
    // Read into four bytes, as hidraw does: a longer report is cut to them.
    QTest::addRow("five bytes") << QByteArray::fromHex("0607000501") << "setCurrentDPI(5)" << "S5 ";
}

void TestDetection::dpiEvents()
{
    QFETCH(QByteArray, report);
    QFETCH(QString, pageCall);
    QFETCH(QString, balloon);
    connectMouse();
    VirtualMouse* vm = m_mice.back().get();
    QTRY_VERIFY(rootCalls().contains("run"));
    m_balloons.clear();
    // The listener holds its interface from the connection on: both reports
    // find it, right after each other. The valid one after marks the end:
    // effects arrive in order.
    QVERIFY(vm->sendEventReport(report));
    const QByteArray marker = QByteArray::fromHex("06070002");
    QVERIFY(vm->sendEventReport(marker));
    QTRY_VERIFY2_WITH_TIMEOUT(rootCalls().contains("setCurrentDPI(2)"), qPrintable(rootCalls().join(' ')), 3000);
    QStringList dpiCalls = rootCalls().filter("setCurrentDPI");
    QStringList texts;
    for (const Balloon& b : m_balloons) {
        QCOMPARE(b.title, QStringLiteral("Info"));
        QCOMPARE(b.ms, 10000);
        texts << b.text;
    }
    if (pageCall.isEmpty()) {
        QCOMPARE(dpiCalls, QStringList{"setCurrentDPI(2)"});
        QCOMPARE(texts, QStringList{"S2 "});
    } else {
        QCOMPARE(dpiCalls, (QStringList{pageCall, "setCurrentDPI(2)"}));
        QCOMPARE(texts, (QStringList{balloon, "S2 "}));
    }
}

// Unplugging ends the listener and disables the view; the next device change
// starts a check that finds the mouse again.
void TestDetection::unplugAndReplug()
{
    connectMouse();
    VirtualMouse* vm = m_mice.back().get();
    MessageLog log;
    QElapsedTimer t;
    t.start();
    vm->unplug();
    QTRY_VERIFY_WITH_TIMEOUT(!m_window->session.hid().hidListenerRunning, 1500);
    QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
    QTRY_COMPARE(log.count("Device removed"), 1);
    QTRY_VERIFY(!m_window->view()->isEnabled());
    QVERIFY(m_window->session.hid().deviceList.first().secondaryPath.isEmpty());
    QVERIFY(deviceConnected); // until a check finds nothing

    vm->plug();
    QVERIFY(m_window->checkTimer.isActive());
    QTRY_COMPARE_WITH_TIMEOUT(log.count("Device Connect"), 1, 4000);
    QVERIFY(m_window->session.hid().hidListenerRunning);
    QTRY_VERIFY(m_window->view()->isEnabled());
    QCOMPARE(vm->protocolErrors(), 0);
}

// An entry without an event interface is connected but gets no listener, and
// the flag stays clear: after an unplug the next device change still starts a
// check, which finds the mouse again.
void TestDetection::noEventInterface()
{
    const DeviceRecord mouse = entry(1, 0xa1ee);
    m_data->write("modules/setting/apConfig.bin",
                  configWith({mouse}, "icType=553\n").replace("usage2=ff01", "usage2=ff02"));
    m_mice.push_back(std::make_unique<VirtualMouse>(mouse, "553"));
    VirtualMouse* vm = m_mice.back().get();
    makeWindow({vm});
    MessageLog log;
    m_window->checkDevice();
    QVERIFY(deviceConnected);
    QVERIFY(m_window->session.hid().deviceList.first().secondaryPath.isEmpty());
    QVERIFY(!m_window->session.hid().hidListenerRunning);

    vm->unplug();
    QVERIFY(m_window->checkTimer.isActive());
    QTRY_COMPARE_WITH_TIMEOUT(log.count("Device DisConnect"), 1, 4000);
    vm->plug();
    QVERIFY(m_window->checkTimer.isActive());
    QTRY_COMPARE_WITH_TIMEOUT(log.count("Device Connect"), 2, 4000);
    QCOMPARE(vm->protocolErrors(), 0);
}

void TestDetection::quitWhileListening()
{
    connectMouse();
    QTimer::singleShot(50, m_window.get(), [this] { m_window->trayIcon->contextMenu()->actions().last()->trigger(); });
    QCOMPARE(qApp->exec(), 0);
    QVERIFY(!m_window->session.hid().hidListenerRunning);
    QElapsedTimer t;
    t.start();
    m_window->session.hid().listenerFuture.waitForFinished();
    QVERIFY(t.elapsed() < 1000);
}

// The demo's tray submenu drives the virtual mouse that the real device
// check finds through apConfig.bin.
void TestDetection::virtualMouseMenu()
{
    m_window = std::make_unique<Widget>();
    m_window->setBalloonPresenter([this](const QString& title, const QString& text, int ms) {
        m_balloons.append({title, text, ms});
    });
    auto mode = VirtualMouseMode::create(m_window.get());
    QVERIFY(mode);
    mode->attach();
    m_window->session.hid().setBackend(mode->backend());
    m_window->session.hid().setClock(&m_clock);
    QMenu* menu = m_window->trayIcon->contextMenu();
    QCOMPARE(menu->actions().last()->text(), QStringLiteral("Quit (&Q)"));
    QCOMPARE(menu->actions().first()->text(), QStringLiteral("Virtual mouse"));
    QVERIFY(!mode->plugAction()->isEnabled());

    m_window->checkDevice();
    QVERIFY(deviceConnected);
    QCOMPARE(m_balloons.last().text, QStringLiteral("Detect Device"));
    QTRY_VERIFY(rootCalls().contains("run"));
    mode->pressAction()->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!rootCalls().filter("setCurrentDPI(").isEmpty(), 3000);
    const QString first = rootCalls().filter("setCurrentDPI(").last();
    mode->pressAction()->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(rootCalls().filter("setCurrentDPI(").size() == 2, 3000);
    QVERIFY(rootCalls().filter("setCurrentDPI(").last() != first);

    MessageLog log;
    mode->unplugAction()->trigger();
    QVERIFY(mode->plugAction()->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(log.count("Device removed"), 1, 1500);
    mode->plugAction()->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(log.count("Device Connect"), 1, 4000);
    QCOMPARE(mode->mouse()->protocolErrors(), 0);
    m_window->session.hid().stopListener();
    m_window->session.hid().listenerFuture.waitForFinished();
    m_window.reset(); // the mode is the window's child
    mode.release();
}

QTEST_MAIN(TestDetection)
#include "tst_detection.moc"
