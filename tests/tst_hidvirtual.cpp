#include "TestSupport.h"
#include "ViewRig.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QTest>

// The worker and the virtual mouse beyond single commands (those are
// tst_hidlink's rows): the secrecy handshake, the report lengths a device
// description may give, and the event listener.
namespace {

// The view rig on a mouse of family and identity device, the worker's entry
// saying host.
ViewRigOptions link(const QString& family, const DeviceRecord& device, const DeviceRecord& host,
                    const HidCodec::ScrambleTable& deviceTable = HidCodec::defaultScrambleTable)
{
    ViewRigOptions o;
    o.family = family;
    o.device = device;
    o.entry = host;
    o.deviceTable = deviceTable;
    return o;
}

} // namespace


class TestHidVirtual : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { secrecyKey = *HidCodec::keyFromCode(QStringLiteral("582910")); }
    void handshake_data();
    void handshake();
    void reportLengthBoundaries_data();
    void reportLengthBoundaries();
    void listenerKeepsInterfaceOpen();
};

void TestHidVirtual::handshake_data()
{
    QTest::addColumn<DataRow>("row");
    const QList<DataRow> rows = readDataRows(QStringLiteral("hidvirtual.rows"));
    if (rows.isEmpty())
        QTest::newRow("no rows") << DataRow{};
    for (const DataRow& row : rows)
        QTest::newRow(row.name().constData()) << row;
}

// The handshake runs command set 553's echo on every device; with scrambling
// it passes only when both sides use the same code and table.
void TestHidVirtual::handshake()
{
    QFETCH(DataRow, row);
    QVERIFY2(row.fields.size() == 6, "tests/data/hidvirtual.rows is missing, empty or has a short row");
    const bool isEncode = row.field(1) == "scrambled";
    const QString fault = row.field(4);
    const HidCodec::ScrambleTable other{9, 8, 7, 6, 5, 4, 3, 2};
    ViewRig rig(link(row.field(0), testMouseRecord(isEncode), testMouseRecord(isEncode, row.field(2)),
                     row.field(3) == "other" ? other : HidCodec::defaultScrambleTable));
    Hid_Thread& hid = rig.hid();
    hid.hidReady = fault != "busy";
    if (fault == "setfail")
        rig.mouse->failNextSetFeatures(1);
    if (fault == "getfail")
        rig.mouse->failNextGetFeatures(1);
    if (fault == "unplug")
        rig.mouse->unplug();
    const int index = fault == "index" ? 3 : 0;

    QCOMPARE(hid.chkDeviceIsEnCode(index), row.field(5) == "yes");
    QCOMPARE(hid.currentIndex, index);
    QCOMPARE(hid.hidReady, fault != "busy");
    if (index != 0)
        QCOMPARE(rig.trace.data(), QByteArray());
    rig.mouse->plug();
    hid.hidReady = true;
    if (!fault.isEmpty())
        QCOMPARE(hid.chkDeviceIsEnCode(0), fault != "unplug");
}

void TestHidVirtual::reportLengthBoundaries_data()
{
    QTest::addColumn<int>("reportLength");
    QTest::addColumn<int>("onWire"); // bytes per output report, report id included
    // Out of range is the default, 32.
    for (const auto& [length, onWire] : {std::pair{-5, 33},
                                         {0, 33},
                                         {1, 2},
                                         {2, 3},
                                         {127, 128},
                                         {128, 129},
                                         {129, 130},
                                         {4095, 4096},
                                         {4096, 4097},
                                         {4097, 33},
                                         {100000, 33}})
        QTest::addRow("%d", length) << length << onWire;
}

// The worker and the virtual mouse take the same report lengths from a
// description: a profile written and read back at any of them arrives whole,
// without a protocol error.
void TestHidVirtual::reportLengthBoundaries()
{
    QFETCH(int, reportLength);
    QFETCH(int, onWire);
    const DeviceRecord device = testMouseRecord(false, "582910", reportLength);
    ViewRig rig(link("560", device, device));
    QByteArray image(128, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char(i * 5 + 3);
    rig.hid().hid560_0CH_setProfile(reinterpret_cast<uchar*>(image.data()), 3);
    const QList<QByteArray> reports = rig.mouse->receivedOutputReports();
    QVERIFY(!reports.isEmpty());
    QCOMPARE(reports.first().size(), onWire);
    QByteArray back(128, '\0');
    rig.hid().hid560_8CH_readProfile(reinterpret_cast<uchar*>(back.data()), 3);
    QCOMPARE(back.toHex(), image.toHex());
    QCOMPARE(rig.mouse->protocolErrorMessages(), QStringList());
}

// The listener holds one open event interface while the mouse is idle, takes
// every press of a burst that comes with no pause (none falls between two
// reads), and still notices an unplug within one read. Real time.
void TestHidVirtual::listenerKeepsInterfaceOpen()
{
    ViewRig rig(link("553", testMouseRecord(), testMouseRecord()));
    Hid_Thread& hid = rig.hid();
    QList<int> stages;
    int gone = 0;
    hid.setListenerSink({[&](int stage) { stages.append(stage); }, [&] { ++gone; }});
    const auto stop = qScopeGuard([&] {
        hid.stopListener();
        hid.listenerFuture.waitForFinished();
    });
    hid.startListener(0);
    QVERIFY(hid.hidListenerRunning);
    QTest::qWait(Hid_Thread::listenerReadTimeoutMs * 5 / 2); // idle for two and a half reads

    QList<int> pressed;
    for (int i = 0; i < 40; ++i) {
        const int stage = i % 8 + 1;
        QVERIFY2(rig.mouse->pressDpiButton(stage), qPrintable(QString::number(i)));
        pressed.append(stage);
    }
    QTRY_COMPARE_WITH_TIMEOUT(stages.size(), pressed.size(), 3000);
    QCOMPARE(stages, pressed);

    QElapsedTimer t;
    t.start();
    rig.mouse->unplug();
    QTRY_COMPARE_WITH_TIMEOUT(gone, 1, 2000);
    QVERIFY2(t.elapsed() < Hid_Thread::listenerReadTimeoutMs + 200, qPrintable(QString::number(t.elapsed())));
    QVERIFY(!hid.hidListenerRunning);
    QVERIFY(hid.deviceList.first().secondaryPath.isEmpty());
    // Read once the loop is over: one open for all of it, and the reopen
    // after the read error, which failed.
    hid.listenerFuture.waitForFinished();
    QCOMPARE(rig.trace.data().count(" evt open-ok"), 1);
    QCOMPARE(rig.trace.data().count(" evt open-fail"), 1);
}

QTEST_GUILESS_MAIN(TestHidVirtual)
#include "tst_hidvirtual.moc"
