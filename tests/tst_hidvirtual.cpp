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
    void handshake_data() { addDataRows("hidvirtual.rows", "handshake"); }
    void handshake();
    void reportLengthBoundaries_data() { addDataRows("hidvirtual.rows", "length"); }
    void reportLengthBoundaries();
    void listenerKeepsInterfaceOpen();
};

// The handshake runs command set 553's echo on every device; with scrambling
// it passes only when both sides use the same code and table.
void TestHidVirtual::handshake()
{
    FETCH_DATA_ROW(row);
    QVERIFY(row.fields.size() == 7);
    const bool isEncode = row.field(2) == "scrambled";
    const QString fault = row.field(5);
    const HidCodec::ScrambleTable other{9, 8, 7, 6, 5, 4, 3, 2};
    ViewRig rig(link(row.field(1), testMouseRecord(isEncode), testMouseRecord(isEncode, row.field(3)),
                     row.field(4) == "other" ? other : HidCodec::defaultScrambleTable));
    Hid_Thread& hid = rig.hid();
    hid.hidReady = fault != "busy";
    if (fault == "setfail")
        rig.mouse->failNextSetFeatures(1);
    if (fault == "getfail")
        rig.mouse->failNextGetFeatures(1);
    if (fault == "unplug")
        rig.mouse->unplug();
    const int index = fault == "index" ? 3 : 0;

    QCOMPARE(hid.chkDeviceIsEnCode(index), row.field(6) == "yes");
    QCOMPARE(hid.currentIndex, index);
    QCOMPARE(hid.hidReady, fault != "busy");
    if (index != 0)
        QCOMPARE(rig.trace.data(), QByteArray());
    rig.mouse->plug();
    hid.hidReady = true;
    if (!fault.isEmpty())
        QCOMPARE(hid.chkDeviceIsEnCode(0), fault != "unplug");
}

// The worker and the virtual mouse take the same report lengths from a
// description: a profile written and read back at any of them arrives whole,
// without a protocol error.
void TestHidVirtual::reportLengthBoundaries()
{
    FETCH_DATA_ROW(row);
    const DeviceRecord device = testMouseRecord(false, "582910", row.field(1).toInt());
    ViewRig rig(link("560", device, device));
    QByteArray image(128, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char(i * 5 + 3);
    rig.hid().hid560_0CH_setProfile(reinterpret_cast<uchar*>(image.data()), 3);
    const QList<QByteArray> reports = rig.mouse->receivedOutputReports();
    QVERIFY(!reports.isEmpty());
    QCOMPARE(reports.first().size(), row.field(2).toInt());
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
