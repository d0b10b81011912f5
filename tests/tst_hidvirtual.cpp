#include "TestSupport.h"
#include "ViewRig.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QTest>

#include <atomic>
#include <functional>

// The worker against the virtual mouse: both sides of the wire agree, and the
// firmware counts no protocol error for anything the worker sends.
namespace {

QByteArray pattern(int n, int seed)
{
    QByteArray b;
    for (int i = 0; i < n; ++i)
        b.append(char((seed * 31 + i * 5 + 3) & 0xff));
    return b;
}

template <std::size_t N> QByteArray block(const std::array<std::uint8_t, N>& a)
{
    return QByteArray(reinterpret_cast<const char*>(a.data()), qsizetype(N));
}

uchar* bytes(QByteArray& b)
{
    return reinterpret_cast<uchar*>(b.data());
}

// The view rig on a mouse of family and identity device, the worker's entry
// saying host; without the gun flag, so that every per-index command goes out.
struct Link : ViewRig
{
    Link(const QString& family, const DeviceRecord& device, const DeviceRecord& host,
         const HidCodec::ScrambleTable& deviceTable = HidCodec::defaultScrambleTable)
        : ViewRig(options(family, device, host, deviceTable))
        , hid(session->hid())
    {
    }

    static ViewRigOptions options(const QString& family, const DeviceRecord& device, const DeviceRecord& host,
                                  const HidCodec::ScrambleTable& deviceTable)
    {
        ViewRigOptions o;
        o.mouseKeys = {{"isGun", "false"}};
        o.family = family;
        o.device = device;
        o.entry = host;
        o.deviceTable = deviceTable;
        return o;
    }

    Hid_Thread& hid;
};

// Counts the opens of the event interface; everything else goes through.
class CountingBackend final : public HidBackend
{
public:
    explicit CountingBackend(HidBackend& inner) : m_inner(inner) {}
    std::atomic<int> eventOpens{0};

    std::vector<HidInterfaceInfo> enumerate(quint16 v, quint16 p) override { return m_inner.enumerate(v, p); }
    HidHandle* open(const QByteArray& path, HidRole role) override
    {
        if (role == HidRole::Event)
            ++eventOpens;
        return m_inner.open(path, role);
    }
    void close(HidHandle* h) override { m_inner.close(h); }
    int setNonBlocking(HidHandle* h, bool on) override { return m_inner.setNonBlocking(h, on); }
    int sendFeatureReport(HidHandle* h, const std::uint8_t* d, std::size_t n) override
    {
        return m_inner.sendFeatureReport(h, d, n);
    }
    int getFeatureReport(HidHandle* h, std::uint8_t* d, std::size_t n) override
    {
        return m_inner.getFeatureReport(h, d, n);
    }
    int write(HidHandle* h, const std::uint8_t* d, std::size_t n) override { return m_inner.write(h, d, n); }
    int readTimeout(HidHandle* h, std::uint8_t* d, std::size_t n, int ms) override
    {
        return m_inner.readTimeout(h, d, n, ms);
    }
    int read(HidHandle* h, std::uint8_t* d, std::size_t n) override { return m_inner.read(h, d, n); }

private:
    HidBackend& m_inner;
};

using Step = std::function<void(Hid_Thread&)>;
using Check = std::function<bool(const VirtualMouse::State&)>;

} // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(Check)
Q_DECLARE_METATYPE(VirtualMouse::ReadFault)

class TestHidVirtual : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { secrecyKey = {}; }
    void setCommands_data();
    void setCommands();
    void getCommands553();
    void getCommands560();
    void handshake_data();
    void handshake();
    void unpluggedDevice();
    void profileReadFaults_data();
    void profileReadFaults();
    void reportLengthBoundaries_data();
    void reportLengthBoundaries();
    void listenerKeepsInterfaceOpen();
};

void TestHidVirtual::setCommands_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("isEncode");
    QTest::addColumn<int>("reportLength");
    QTest::addColumn<Step>("step");
    QTest::addColumn<Check>("check");

    for (bool encode : {false, true}) {
        for (int rl : {32, 64}) {
            const QByteArray tag = QByteArray(encode ? "scrambled" : "plain") + " at " + QByteArray::number(rl);
            auto row = [&](const char* name, const char* family, Step step, Check check) {
                QTest::addRow("%s %s, %s", family, name, tag.constData())
                    << QString(family) << encode << rl << step << check;
            };
            row(
                "report rate", "553", [](Hid_Thread& h) { h.hid553_01H_SetReportRate(3); },
                [](const VirtualMouse::State& s) { return s.reportRate == 3; });
            row(
                "key matrix", "553",
                [](Hid_Thread& h) {
                    QByteArray m = pattern(64, 1);
                    h.hid553_12H_SetKeyMatrix(bytes(m), 2);
                    h.hid553_02H_SetCurrentKeyMatrix(2);
                },
                [](const VirtualMouse::State& s) {
                    return block(s.keyMatrices[1]) == pattern(64, 1) && s.keyMatrix == 2;
                });
            row(
                "macro", "553",
                [](Hid_Thread& h) {
                    QByteArray m = pattern(128, 2);
                    h.hid553_13H_SetMacroKey(12, bytes(m));
                },
                [](const VirtualMouse::State& s) { return block(s.macros[11]) == pattern(128, 2); });
            row(
                "dpi", "553",
                [](Hid_Thread& h) {
                    QByteArray codes = pattern(8, 3);
                    h.hid553_11H_SetDPISet(5, bytes(codes));
                    h.hid553_0BH_SetCurrentDPI(4);
                },
                [](const VirtualMouse::State& s) {
                    return block(s.dpiTable) == pattern(8, 3) && s.dpiCount == 5 && s.dpiStage == 4;
                });
            row(
                "lighting", "553",
                [](Hid_Thread& h) {
                    QByteArray colours = pattern(36, 4);
                    h.hid553_10H_SetLED8StageColor(1, bytes(colours));
                    h.hid553_0DH_SetRGBLedEffect(2, 3, 4);
                    uchar rgb[3] = {10, 20, 30};
                    h.hid553_0CH_SetFixLEDColor(rgb);
                },
                [](const VirtualMouse::State& s) {
                    return block(s.colourTable) == pattern(36, 4) &&
                           s.ledEffect == std::array<std::uint8_t, 3>{2, 3, 4} &&
                           s.fixedColour == std::array<std::uint8_t, 3>{10, 20, 30};
                });
            row(
                "options and gun", "553",
                [](Hid_Thread& h) {
                    h.hid553_03H_SetKeyboardoption(1, 2, 3, 0x48);
                    h.hid553_04H_SetGunData(5, 6, 7, 8);
                },
                [](const VirtualMouse::State& s) {
                    return s.keyboardOption == VirtualMouse::Bytes4{1, 2, 3, 0x48} &&
                           s.gunData == VirtualMouse::Bytes4{5, 6, 7, 8};
                });
            row(
                "profile", "560",
                [](Hid_Thread& h) {
                    QByteArray p = pattern(128, 5);
                    h.hid560_0CH_setProfile(bytes(p), 3);
                    h.hid560_02H_SetCurrentProfile(3);
                },
                [](const VirtualMouse::State& s) { return block(s.profiles[3]) == pattern(128, 5) && s.profile == 3; });
            row(
                "key matrix", "560",
                [](Hid_Thread& h) {
                    QByteArray m = pattern(64, 6);
                    h.hid560_0DH_SetKeyMatrix(bytes(m), 4);
                },
                [](const VirtualMouse::State& s) { return block(s.keyMatrices[3]) == pattern(64, 6); });
            row(
                "macro", "560",
                [](Hid_Thread& h) {
                    QByteArray m = pattern(128, 7);
                    h.hid560_0FH_SetMacroKey(1, bytes(m));
                },
                [](const VirtualMouse::State& s) { return block(s.macros[0]) == pattern(128, 7); });
            row(
                "per index", "560",
                [](Hid_Thread& h) {
                    h.hid560_03H_SetReportRate(2);
                    h.hid560_04H_SetCurrentDPI(6);
                    h.hid560_01H_SetKeyboardoption(0x08, 0x01);
                },
                [](const VirtualMouse::State& s) {
                    return s.reportRates == VirtualMouse::Bytes4{2, 2, 2, 2} &&
                           s.dpiStages == VirtualMouse::Bytes4{6, 6, 6, 6} && s.keyboardOption[0] == 0x08 &&
                           s.keyboardOption[1] == 0x01;
                });
        }
    }
}

void TestHidVirtual::setCommands()
{
    QFETCH(QString, family);
    QFETCH(bool, isEncode);
    QFETCH(int, reportLength);
    QFETCH(Step, step);
    QFETCH(Check, check);
    const DeviceRecord device = testMouseRecord(isEncode, "Xq7!zz", reportLength);
    Link link(family, device, device);
    secrecyKey = *HidCodec::keyFromCode("Xq7!zz");
    step(link.hid);
    QVERIFY2(link.mouse->protocolErrors() == 0, qPrintable(link.mouse->protocolErrorMessages().join("; ")));
    QVERIFY(check(link.mouse->state()));
    QVERIFY(link.hid.hidReady);
    QVERIFY(!link.mouse->payloadPending());
}

void TestHidVirtual::getCommands553()
{
    const DeviceRecord device = testMouseRecord(true);
    Link link("553", device, device);
    secrecyKey = *HidCodec::keyFromCode("582910");
    VirtualMouse::State s = link.mouse->state();
    s.keyboardOption = {0x11, 0x22, 0x33, 0x04};
    s.dpiStage = 5;
    link.mouse->setState(s);
    uchar b[4] = {};
    link.hid.hid553_83H_GetKeyboardoption(b[0], b[1], b[2], b[3]);
    QCOMPARE(QByteArray(reinterpret_cast<char*>(b), 4).toHex(), QByteArray("11223304"));
    uchar dpi = 0;
    link.hid.hid553_8BH_GetCurrentDPI(dpi);
    QCOMPARE(dpi, uchar(5));
    QCOMPARE(link.mouse->protocolErrors(), 0);
}

void TestHidVirtual::getCommands560()
{
    const DeviceRecord device = testMouseRecord(false, "582910", 32);
    Link link("560", device, device);
    VirtualMouse::State s = link.mouse->state();
    s.keyboardOption = {0x40, 0x01, 0, 0};
    s.profile = 2;
    s.dpiStages = {3, 1, 1, 1};
    link.mouse->setState(s);
    uchar b1 = 0, b2 = 0;
    link.hid.hid560_81H_GetKeyboardoption(b1, b2);
    QCOMPARE(b1, uchar(0x40));
    QCOMPARE(b2, uchar(0x01));
    uchar profile = 9;
    link.hid.hid560_82H_GetCurrentProfile(profile);
    QCOMPARE(profile, uchar(2));
    uchar index = 1, stage = 0;
    link.hid.hid560_84H_GetCurrentDPI(index, stage);
    QCOMPARE(index, uchar(1));
    QCOMPARE(stage, uchar(3));
    for (uchar n = 0; n < 5; ++n) {
        QByteArray image(128, '\0');
        link.hid.hid560_8CH_readProfile(bytes(image), n);
        QCOMPARE(image.toHex(), block(s.profiles[n]).toHex());
    }
    QCOMPARE(link.mouse->protocolErrors(), 0);
}

void TestHidVirtual::handshake_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("isEncode");
    QTest::addColumn<QString>("hostCode");
    QTest::addColumn<bool>("sameTable");
    QTest::addColumn<bool>("accepted");
    for (const char* family : {"553", "560"}) {
        QTest::addRow("%s plain", family) << QString(family) << false << "582910" << true << true;
        QTest::addRow("%s scrambled", family) << QString(family) << true << "582910" << true << true;
        QTest::addRow("%s wrong code", family) << QString(family) << true << "682910" << true << false;
        QTest::addRow("%s wrong table", family) << QString(family) << true << "582910" << false << false;
    }
}

// The handshake runs command set 553's echo on every device; with scrambling
// it passes only when both sides use the same code and table.
void TestHidVirtual::handshake()
{
    QFETCH(QString, family);
    QFETCH(bool, isEncode);
    QFETCH(QString, hostCode);
    QFETCH(bool, sameTable);
    QFETCH(bool, accepted);
    const HidCodec::ScrambleTable other{9, 8, 7, 6, 5, 4, 3, 2};
    Link link(family, testMouseRecord(isEncode, "582910"), testMouseRecord(isEncode, hostCode),
              sameTable ? HidCodec::defaultScrambleTable : other);
    QCOMPARE(link.hid.chkDeviceIsEnCode(0), accepted);
    QVERIFY(link.hid.hidReady);
}

void TestHidVirtual::unpluggedDevice()
{
    const DeviceRecord device = testMouseRecord();
    Link link("560", device, device);
    link.mouse->unplug();
    QByteArray image = pattern(128, 9);
    link.hid.hid560_8CH_readProfile(bytes(image), 0);
    QCOMPARE(image, pattern(128, 9));
    QVERIFY(link.hid.deviceList.first().primaryPath.isEmpty());
    QVERIFY(!link.hid.chkDeviceIsEnCode(0));
    link.mouse->plug();
    // The path stays empty until a device check finds the interface again.
    QVERIFY(!link.hid.chkDeviceIsEnCode(0));
}

void TestHidVirtual::profileReadFaults_data()
{
    QTest::addColumn<VirtualMouse::ReadFault>("fault");
    QTest::addColumn<int>("report"); // which of the four input reports meets it
    QTest::addColumn<bool>("gone");
    const struct
    {
        const char* name;
        VirtualMouse::ReadFault fault;
        bool gone;
    } kinds[] = {{"short", VirtualMouse::ReadFault::Short, false},
                 {"timeout", VirtualMouse::ReadFault::Late, false},
                 {"unplugged", VirtualMouse::ReadFault::Unplug, true}};
    for (const auto& k : kinds)
        for (int report = 0; report < 4; ++report)
            QTest::addRow("%s at report %d", k.name, report + 1) << k.fault << report << k.gone;
}

// A profile read that fails at any of its input reports fails as a whole: the
// image keeps every old byte. A device that went away empties the path; after
// a short or late report the next read works and gives the whole block.
void TestHidVirtual::profileReadFaults()
{
    QFETCH(VirtualMouse::ReadFault, fault);
    QFETCH(int, report);
    QFETCH(bool, gone);
    const DeviceRecord device = testMouseRecord();
    Link link("560", device, device);
    const VirtualMouse::State s = link.mouse->state();
    link.mouse->faultReadAfter(report, fault);
    QByteArray image = pattern(128, 9);
    link.hid.hid560_8CH_readProfile(bytes(image), 2);
    QCOMPARE(image.toHex(), pattern(128, 9).toHex());
    QVERIFY(link.hid.hidReady);
    QCOMPARE(link.hid.deviceList.first().primaryPath.isEmpty(), gone);
    if (!gone) {
        link.hid.hid560_8CH_readProfile(bytes(image), 2);
        QCOMPARE(image.toHex(), block(s.profiles[2]).toHex());
    }
    QCOMPARE(link.mouse->protocolErrors(), 0);
}

void TestHidVirtual::reportLengthBoundaries_data()
{
    QTest::addColumn<int>("reportLength");
    QTest::addColumn<int>("onWire"); // bytes per output report, report id included
    for (int length : {-1, 0, 1, 2, 127, 128, 129, HidCodec::maxReportLength - 1, HidCodec::maxReportLength,
                       HidCodec::maxReportLength + 1, 1 << 30})
        QTest::addRow("%d", length) << length << HidCodec::usableReportLength(length) + 1;
}

// The worker and the virtual mouse take the same report lengths from a
// description (and the same default for the others): a profile written and
// read back at any of them arrives whole, without a protocol error.
void TestHidVirtual::reportLengthBoundaries()
{
    QFETCH(int, reportLength);
    QFETCH(int, onWire);
    const DeviceRecord device = testMouseRecord(false, "582910", reportLength);
    Link link("560", device, device);
    QByteArray image = pattern(128, 4);
    link.hid.hid560_0CH_setProfile(bytes(image), 3);
    const QList<QByteArray> reports = link.mouse->receivedOutputReports();
    QVERIFY(!reports.isEmpty());
    QCOMPARE(reports.first().size(), onWire);
    QCOMPARE(block(link.mouse->state().profiles[3]).toHex(), image.toHex());
    QByteArray back(128, '\0');
    link.hid.hid560_8CH_readProfile(bytes(back), 3);
    QCOMPARE(back.toHex(), image.toHex());
    QCOMPARE(link.mouse->protocolErrorMessages(), QStringList());
}

// The listener holds one open event interface while the mouse is idle, takes
// every press of a burst that comes with no pause (none falls between two
// reads), and still notices an unplug within one read.
void TestHidVirtual::listenerKeepsInterfaceOpen()
{
    const DeviceRecord device = testMouseRecord();
    Link link("553", device, device);
    CountingBackend counting(*link.backend);
    link.hid.setBackend(&counting);
    QList<int> stages;
    int gone = 0;
    link.hid.setListenerSink({[&](int stage) { stages.append(stage); }, [&] { ++gone; }});
    const auto stop = qScopeGuard([&] {
        link.hid.stopListener();
        link.hid.listenerFuture.waitForFinished();
        link.hid.setBackend(link.backend.get());
    });
    link.hid.startListener(0);
    QVERIFY(link.hid.hidListenerRunning);

    // Two and a half read timeouts of idling: no reopen.
    QTest::qWait(Hid_Thread::listenerReadTimeoutMs * 5 / 2);
    QCOMPARE(counting.eventOpens.load(), 1);

    QList<int> pressed;
    for (int i = 0; i < 40; ++i) {
        const int stage = i % 8 + 1;
        QVERIFY2(link.mouse->pressDpiButton(stage), qPrintable(QString::number(i)));
        pressed.append(stage);
    }
    QTRY_COMPARE_WITH_TIMEOUT(stages.size(), pressed.size(), 3000);
    QCOMPARE(stages, pressed);
    QCOMPARE(counting.eventOpens.load(), 1);

    QElapsedTimer t;
    t.start();
    link.mouse->unplug();
    QTRY_COMPARE_WITH_TIMEOUT(gone, 1, 2000);
    QVERIFY2(t.elapsed() < Hid_Thread::listenerReadTimeoutMs + 200, qPrintable(QString::number(t.elapsed())));
    QVERIFY(!link.hid.hidListenerRunning);
    QVERIFY(link.hid.deviceList.first().secondaryPath.isEmpty());
    QCOMPARE(counting.eventOpens.load(), 2); // the reopen after the read error, which failed
}

QTEST_GUILESS_MAIN(TestHidVirtual)
#include "tst_hidvirtual.moc"
