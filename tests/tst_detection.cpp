#include "Device560.h"
#include "DeviceChangeNotifier.h"
#include "DpiSwitchTexts.h"
#include "Globals.h"
#include "TestSupport.h"
#include "Ui_Controler.h"
#include "ViewRig.h"
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

// apConfig.bin with entries in file order and the given [mouse] group; count,
// when given, is the deviceCount it claims.
QByteArray configWith(const QList<DeviceRecord>& entries, const QByteArray& mouseGroup, int count = -1)
{
    QByteArray ini =
        "[common]\ndeviceCount=" + QByteArray::number(count < 0 ? entries.size() : count) + "\nname=Test\n";
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
    void entryOrder_data() { addDataRows("detection-entries.rows"); }
    void entryOrder();
    void connectionFrames_data() { addDataRows("detection-connect.rows"); }
    void connectionFrames();
    void dpiEvents_data() { addDataRows("detection-dpi.rows"); }
    void dpiEvents();
    void unplugAndReplug_data();
    void unplugAndReplug();
    void virtualMouseMenu();

private:
    // apConfig.bin as given, a virtual mouse of family for each device (paths
    // prefixed "0:", "1:", ...; a plug or unplug is a device change) and the
    // window on them.
    void makeWindow(const QByteArray& config, const QList<DeviceRecord>& devices,
                    CommandSet family = CommandSet::Set553);
    void recordBalloons()
    {
        m_window->setBalloonPresenter([this](const QString& title, const QString& text, int ms) {
            m_balloons << QStringLiteral("%1|%2|%3").arg(title, text).arg(ms);
        });
    }
    QStringList rootCalls() const { return m_window->view()->rootObject()->property("calls").toStringList(); }
    QStringList uiCalls() const { return rootCalls().filter(QRegularExpression("^(initUI|run)$")); }
    VirtualMouse* mouse(std::size_t i = 0) const { return m_mice.at(i).get(); }

    std::unique_ptr<TestDataFolder> m_data;
    VirtualClock m_clock;
    std::vector<std::unique_ptr<VirtualMouse>> m_mice;
    std::unique_ptr<VirtualHidBackend> m_backend;
    std::unique_ptr<Widget> m_window;
    FakeDeviceChangeNotifier* m_notifier = nullptr;
    QStringList m_balloons; // "title|text|ms"
};

void TestDetection::init()
{
    // The window's own tests watch the calls arrive at a recording root.
    Ui_Controler::setRootSource(QUrl::fromLocalFile(QStringLiteral(SKARN_SOURCE_DIR "/tests/host/RecordingRoot.qml")));
    m_data = std::make_unique<TestDataFolder>();
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

void TestDetection::makeWindow(const QByteArray& config, const QList<DeviceRecord>& devices, CommandSet family)
{
    m_data->write("modules/setting/apConfig.bin", config);
    m_backend = std::make_unique<VirtualHidBackend>(m_clock);
    for (const DeviceRecord& device : devices) {
        m_mice.push_back(std::make_unique<VirtualMouse>(device, family));
        m_mice.back()->setPathPrefix(QByteArray::number(qsizetype(m_mice.size()) - 1) + ':');
        m_backend->addMouse(*m_mice.back());
    }
    m_window = std::make_unique<Widget>();
    m_window->session.hid().setBackend(m_backend.get());
    m_window->session.hid().setClock(&m_clock);
    auto notifier = std::make_unique<FakeDeviceChangeNotifier>();
    m_notifier = notifier.get();
    m_window->setDeviceChangeNotifier(std::move(notifier));
    recordBalloons();
    for (const auto& mouse : m_mice)
        connect(mouse.get(), &VirtualMouse::pluggedChanged, m_notifier, &FakeDeviceChangeNotifier::emitChange);
}

// Without a device the check ends disconnected, whatever an earlier one
// found; the QML sees initUI() and then run(), only after the check has
// returned. Plugging in is a burst of device changes: one check, one interval
// after the last of them, which connects and runs the pair again.
void TestDetection::startWithoutDeviceThenPlugIn()
{
    makeWindow(configWith({testMouseRecord()}, "icType=553\n"), {testMouseRecord()});
    m_window->showNormal();
    mouse()->unplug();
    MessageLog log;
    m_window->session.status().setConnected(true);
    m_window->checkDevice();
    QCOMPARE(rootCalls(), QStringList());
    QVERIFY(!m_window->session.status().connected());
    QCOMPARE(log.count("Device DisConnect"), 1);
    QTRY_VERIFY(rootCalls().contains("run"));
    QCOMPARE(uiCalls(), (QStringList{"initUI", "run"}));
    QVERIFY(m_window->view()->rootObject()->isVisible());
    QVERIFY(m_balloons.isEmpty());

    QElapsedTimer clock;
    clock.start();
    mouse()->plug();
    QTest::qWait(300);
    m_notifier->emitChange();
    QTest::qWait(300);
    const qint64 last = clock.elapsed();
    m_notifier->emitChange();
    QTRY_COMPARE_WITH_TIMEOUT(log.count("Device Connect"), 1, 4000);
    const qint64 delay = clock.elapsed() - last;
    QVERIFY2(delay >= Widget::checkIntervalMs - 5 && delay <= Widget::checkIntervalMs + 300,
             qPrintable(QString::number(delay)));
    QVERIFY(m_window->session.status().connected());
    QCOMPARE(m_balloons, QStringList{"Info|Detect Device|10000"});
    QVERIFY(m_window->view()->isEnabled());
    QCOMPARE(m_window->session.hid().deviceList.size(), 1); // replaced, not added to
    QTRY_COMPARE(uiCalls(), (QStringList{"initUI", "run", "initUI", "run"}));
    QTest::qWait(200);
    QCOMPARE(log.count("Device Connect"), 1);
    QCOMPARE(mouse()->protocolErrors(), 0);
}

// The first entry in file order that has a command interface and answers the
// handshake wins; later ones are not tried.
void TestDetection::entryOrder()
{
    ROW_FIELDS(f, 5);
    const int deviceCount = f[3].toInt(), winner = f[4].toInt();
    DeviceRecord keyboard = testMouseRecord(f[1] == "true", f[2]);
    keyboard.type = 0;
    keyboard.pid = 0x1111;
    DeviceRecord keyboardDevice = keyboard;
    keyboardDevice.sCode = "582910"; // what the keyboard's firmware uses
    makeWindow(configWith({keyboard, testMouseRecord()}, "icType=553\n", deviceCount),
               {keyboardDevice, testMouseRecord()});
    MessageLog log;
    m_window->checkDevice();
    QVERIFY(m_window->session.status().connected());
    QCOMPARE(m_window->session.hid().deviceList.size(), deviceCount);
    QCOMPARE(m_window->session.hid().currentIndex, winner);
    QCOMPARE(log.count("Device Connect"), 1);
    // The loser was tried only when it came first; a later entry is never touched.
    if (winner == 0)
        QCOMPARE(mouse(1)->receivedFrames().size(), 0);
    else
        QCOMPARE(mouse(0)->receivedFrames().size(), 1); // its failed handshake
    for (int i = 2; i < deviceCount; ++i)
        QVERIFY(m_window->session.hid().deviceList.at(i).primaryPath.isEmpty());
}

// What a connection sends and what it leaves on the mouse and in the view.
void TestDetection::connectionFrames()
{
    ROW_FIELDS(f, 5);
    const QByteArray commands = hexBytes(f[3]);
    makeWindow(configWith({testMouseRecord()}, f[2].replace("\\n", "\n").toUtf8()), {testMouseRecord()},
               commandSetOf(f[1]));
    VirtualMouse::State s = mouse()->state();
    s.keyboardOption = {0x21, 0x02, 0x03, 0x05};
    mouse()->setState(s);
    m_window->checkDevice();
    QVERIFY(m_window->session.status().connected());

    QByteArray sent;
    for (const QByteArray& frame : mouse()->receivedFrames())
        sent += frame.at(0);
    QCOMPARE(sent.toHex(), commands.toHex());
    const VirtualMouse::State after = mouse()->state();
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(after.keyboardOption.data()), 4).toHex(), f[4].toLatin1());
    auto* unit = dynamic_cast<Device560*>(&m_window->session.device());
    for (std::size_t n = 0; n < 5; ++n)
        QCOMPARE(unit && unit->images()[n] == after.profiles[n], int(n) < commands.count('\x8c'));
    QCOMPARE(mouse()->protocolErrors(), 0);
}

void TestDetection::dpiEvents()
{
    ROW_FIELDS(f, 4);
    makeWindow(configWith({testMouseRecord()}, "icType=553\n"), {testMouseRecord()});
    m_window->checkDevice();
    QVERIFY(m_window->session.status().connected() && m_window->session.hid().hidListenerRunning);
    QTRY_VERIFY(rootCalls().contains("run"));
    m_balloons.clear();
    // The listener holds its interface from the connection on: both reports
    // find it, right after each other. The valid one after marks the end:
    // effects arrive in order.
    QVERIFY(mouse()->sendEventReport(hexBytes(f[1])));
    QVERIFY(mouse()->sendEventReport(QByteArray::fromHex("06070002")));
    QTRY_VERIFY2_WITH_TIMEOUT(rootCalls().contains("setCurrentDPI(2)"), qPrintable(rootCalls().join(' ')), 3000);
    // What the report does (nothing for an empty field), then what the marker does.
    const auto then = [](const QString& first, const QString& last) {
        return first.isEmpty() ? QStringList{last} : QStringList{first, last};
    };
    QCOMPARE(rootCalls().filter("setCurrentDPI"), then(f[2], "setCurrentDPI(2)"));
    QCOMPARE(m_balloons, then(f[3].isEmpty() ? "" : "Info|" + f[3] + " |10000", "Info|S2 |10000"));
}

void TestDetection::unplugAndReplug_data()
{
    QTest::addColumn<bool>("eventInterface");
    QTest::addRow("listening") << true;
    QTest::addRow("no event interface") << false;
}

// Unplugging ends the listener at once and disables the view; an entry
// without an event interface is connected but gets no listener, and the
// unplug starts a check that finds nothing. Either way the next device change
// starts a check that finds the mouse again.
void TestDetection::unplugAndReplug()
{
    QFETCH(bool, eventInterface);
    QByteArray config = configWith({testMouseRecord()}, "icType=553\n");
    if (!eventInterface)
        config.replace("usage2=ff01", "usage2=ff02");
    makeWindow(config, {testMouseRecord()});
    MessageLog log;
    m_window->checkDevice();
    const DeviceStatus& status = m_window->session.status();
    QVERIFY(status.connected());
    Hid_Thread& hid = m_window->session.hid();
    QCOMPARE(hid.hidListenerRunning, eventInterface);
    QCOMPARE(hid.deviceList.first().secondaryPath.isEmpty(), !eventInterface);

    QElapsedTimer t;
    t.start();
    mouse()->unplug();
    if (eventInterface) {
        QTRY_VERIFY_WITH_TIMEOUT(!hid.hidListenerRunning, 1500);
        QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
        QTRY_COMPARE(log.count("Device removed"), 1);
        QTRY_VERIFY(!m_window->view()->isEnabled());
        QVERIFY(hid.deviceList.first().secondaryPath.isEmpty());
        QVERIFY(!status.connected()); // the listener's word is enough
    } else {
        QVERIFY(m_window->checkTimer.isActive());
        QTRY_COMPARE_WITH_TIMEOUT(log.count("Device DisConnect"), 1, 4000);
    }
    QTRY_VERIFY(!status.connected()); // the frame's sign goes off either way
    mouse()->plug();
    QVERIFY(m_window->checkTimer.isActive());
    QTRY_COMPARE_WITH_TIMEOUT(log.count("Device Connect"), 2, 4000);
    QCOMPARE(hid.hidListenerRunning, eventInterface);
    QTRY_VERIFY(m_window->view()->isEnabled());
    QVERIFY(status.connected());
    QCOMPARE(mouse()->protocolErrors(), 0);
}

// The demo's tray submenu drives the virtual mouse that the real device
// check finds through apConfig.bin. Quit from the tray menu while the
// listener runs: the flag is cleared, the event loop returns 0 and the
// listener ends at once.
void TestDetection::virtualMouseMenu()
{
    m_window = std::make_unique<Widget>();
    recordBalloons();
    auto mode = VirtualMouseMode::create(m_window.get());
    QVERIFY(mode);
    mode->attach();
    m_window->session.hid().setBackend(mode->backend());
    m_window->session.hid().setClock(&m_clock);
    QMenu* menu = m_window->trayIcon->contextMenu(); // the submenu first, Quit last
    QVERIFY(!mode->plugAction()->isEnabled());

    m_window->checkDevice();
    QVERIFY(m_window->session.status().connected());
    QTRY_VERIFY(rootCalls().contains("run"));
    mode->pressAction()->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!rootCalls().filter("setCurrentDPI(").isEmpty(), 3000);

    MessageLog log;
    mode->unplugAction()->trigger();
    QVERIFY(mode->plugAction()->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(log.count("Device removed"), 1, 1500);
    // The listener logs the removal before it clears its flag; a device
    // change before that is ignored.
    QTRY_VERIFY(!m_window->session.hid().hidListenerRunning);
    mode->plugAction()->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(log.count("Device Connect"), 1, 4000);
    QCOMPARE(mode->mouse()->protocolErrors(), 0);
    QTRY_VERIFY(m_window->session.hid().hidListenerRunning);
    QTimer::singleShot(0, m_window.get(), [menu] { menu->actions().last()->trigger(); });
    QCOMPARE(qApp->exec(), 0);
    QVERIFY(!m_window->session.hid().hidListenerRunning);
    QElapsedTimer t;
    t.start();
    m_window->session.hid().waitForListener();
    QVERIFY(t.elapsed() < 1000);
    m_window.reset(); // the mode is the window's child
    mode.release();
}

QTEST_MAIN(TestDetection)
#include "tst_detection.moc"
