#include "Clock.h"
#include "HidBackend.h"
#include "HidCodec.h"
#include "Hid_Thread.h"
#include "HidapiBackend.h"
#include "TestSupport.h"
#include "TracingHidBackend.h"

#include <QBuffer>
#include <QMetaMethod>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>

namespace {

QByteArray hex(const std::uint8_t* data, std::size_t n)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(n)).toHex(' ');
}

// A transport that records every call and answers from a script: the
// firmware is not emulated here, only the wire is observed.
class ScriptedBackend final : public HidBackend
{
public:
    struct Call
    {
        QByteArray op;
        QByteArray bytes;
    };
    struct Handle final : HidHandle
    {
        QByteArray path;
    };

    std::vector<Call> calls;
    int failOpens = 0;      // the next N opens fail
    int failSets = 0;       // the next N feature reports sent fail
    int failWrites = 0;
    std::deque<QByteArray> inputReports; // delivered by reads, one each
    // The reply frame (bytes 1..8) to a request; default: zeros.
    std::function<HidCodec::Frame(const HidCodec::FeatureReport&)> respond;
    HidCodec::FeatureReport lastRequest{};
    int openHandles = 0;
    bool denied = false; // opens fail for lack of permission
    bool lastOpenDenied() const override { return denied; }

    std::vector<HidInterfaceInfo> enumerate(quint16, quint16) override { return {}; }
    HidHandle* open(const QByteArray& path, HidRole) override
    {
        calls.push_back({"open", path});
        if (failOpens > 0) {
            --failOpens;
            return nullptr;
        }
        ++openHandles;
        auto* h = new Handle;
        h->path = path;
        return h;
    }
    void close(HidHandle* h) override
    {
        calls.push_back({"close", {}});
        --openHandles;
        delete h;
    }
    int setNonBlocking(HidHandle*, bool) override { return 0; }
    int sendFeatureReport(HidHandle*, const std::uint8_t* data, std::size_t n) override
    {
        calls.push_back({"set_feature", hex(data, n)});
        if (n == 9)
            std::copy(data, data + 9, lastRequest.begin());
        if (failSets > 0) {
            --failSets;
            return -1;
        }
        return int(n);
    }
    int getFeatureReport(HidHandle*, std::uint8_t* data, std::size_t n) override
    {
        calls.push_back({"get_feature", {}});
        if (n < 9)
            return -1;
        const HidCodec::Frame reply = respond ? respond(lastRequest) : HidCodec::Frame{};
        data[0] = 0;
        std::copy(reply.begin(), reply.end(), data + 1);
        return 9;
    }
    int write(HidHandle*, const std::uint8_t* data, std::size_t n) override
    {
        calls.push_back({"write", hex(data, n)});
        if (failWrites > 0) {
            --failWrites;
            return -1;
        }
        return int(n);
    }
    int readTimeout(HidHandle*, std::uint8_t* data, std::size_t n, int) override
    {
        calls.push_back({"read", {}});
        if (inputReports.empty())
            return 0;
        const QByteArray r = inputReports.front().left(qsizetype(n));
        inputReports.pop_front();
        std::copy(r.begin(), r.end(), data);
        return int(r.size());
    }
    int read(HidHandle* h, std::uint8_t* data, std::size_t n) override { return readTimeout(h, data, n, -1); }

    QList<QByteArray> ops(const QByteArray& op) const
    {
        QList<QByteArray> result;
        for (const Call& c : calls)
            if (c.op == op)
                result << c.bytes;
        return result;
    }
};

using Command = std::function<void(Hid_Thread&)>;
using GetCommand = std::function<void(Hid_Thread&, uchar* refs)>;

std::vector<quint32> payloadSleeps(int reports)
{
    std::vector<quint32> s{64, 64};
    for (int i = 0; i < reports; ++i)
        s.push_back(120);
    s.insert(s.end(), {64, 64});
    return s;
}

QByteArray sequence(int n, int start = 1)
{
    QByteArray b;
    for (int i = 0; i < n; ++i)
        b.append(char((start + i) & 0xff));
    return b;
}

uchar* bytes(QByteArray& b)
{
    return reinterpret_cast<uchar*>(b.data());
}

} // namespace

Q_DECLARE_METATYPE(Command)
Q_DECLARE_METATYPE(GetCommand)
Q_DECLARE_METATYPE(std::vector<quint32>)

class TestHidLink : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void setCommands_data();
    void setCommands();
    void perIndexCommands_data();
    void perIndexCommands();
    void getCommands_data();
    void getCommands();
    void readProfile_data();
    void readProfile();
    void readProfileUnplugged();
    void silentDeviceEndsBulkRead();
    void busyLinkDropsCommand();
    void commandFromEventHandlerWhileLinkHeld();
    void failedOpenEmptiesPath();
    void failedWriteFreesLink();
    void scrambledExchange();
    void handshakeFailsWithoutExchange();
    void secrecyKeyKeepsLastCode();
    void reportLengthOutOfRange();
    void trace();
    void slotOrder();
    void permissionDeniedSaidOnce();

private:
    void setUpDevice(int reportLength = 32, bool isEncode = false, const QString& sCode = "582910");
    std::unique_ptr<ScriptedBackend> m_backend;
    std::unique_ptr<VirtualClock> m_clock;
    std::unique_ptr<Hid_Thread> m_hid;
};

void TestHidLink::init()
{
    secrecyKey = {};
    m_backend = std::make_unique<ScriptedBackend>();
    m_clock = std::make_unique<VirtualClock>();
    m_hid = std::make_unique<Hid_Thread>();
    m_hid->setBackend(m_backend.get());
    m_hid->setClock(m_clock.get());
    setUpDevice();
}

void TestHidLink::setUpDevice(int reportLength, bool isEncode, const QString& sCode)
{
    DeviceRecord r;
    r.type = 1;
    r.primaryPath = "cmd-path";
    r.secondaryPath = "evt-path";
    r.reportLength = reportLength;
    r.isEncode = isEncode;
    r.sCode = sCode;
    m_hid->deviceList = {r};
    m_hid->currentIndex = 0;
}

void TestHidLink::setCommands_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<int>("reportLength");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<std::vector<quint32>>("sleeps");

    const std::vector<quint32> settle{64, 64};
    const std::vector<quint32> after8{8};
    QTest::addRow("553 01H report rate") << Command([](Hid_Thread& h) { h.hid553_01H_SetReportRate(4); }) << 32
                                         << QByteArray("00 01 04 00 00 00 00 00 fa") << QByteArray() << settle;
    QTest::addRow("553 02H key matrix") << Command([](Hid_Thread& h) { h.hid553_02H_SetCurrentKeyMatrix(2); })
                                        << 32 << QByteArray("00 02 02 00 00 00 00 00 fb") << QByteArray() << settle;
    QTest::addRow("553 03H options") << Command([](Hid_Thread& h) { h.hid553_03H_SetKeyboardoption(1, 2, 3, 0x48); })
                                     << 32 << QByteArray("00 03 01 02 03 48 00 00 ae") << QByteArray() << after8;
    QTest::addRow("553 04H gun data") << Command([](Hid_Thread& h) { h.hid553_04H_SetGunData(1, 2, 3, 4); }) << 32
                                      << QByteArray("00 04 00 01 02 03 04 00 f1") << QByteArray() << after8;
    QTest::addRow("553 0BH current dpi") << Command([](Hid_Thread& h) { h.hid553_0BH_SetCurrentDPI(3); }) << 32
                                         << QByteArray("00 0b 03 00 00 00 00 00 f1") << QByteArray() << settle;
    QTest::addRow("553 0CH fixed colour") << Command([](Hid_Thread& h) {
        uchar rgb[3] = {0xff, 0x80, 0x01};
        h.hid553_0CH_SetFixLEDColor(rgb);
    }) << 32 << QByteArray("00 0c ff 80 01 00 00 00 73") << QByteArray() << settle;
    QTest::addRow("553 0DH effect") << Command([](Hid_Thread& h) { h.hid553_0DH_SetRGBLedEffect(5, 6, 7); }) << 32
                                    << QByteArray("00 0d 05 06 07 00 00 00 e0") << QByteArray() << settle;
    QTest::addRow("553 10H type 2") << Command([](Hid_Thread& h) {
        QByteArray c = sequence(36);
        h.hid553_10H_SetLED8StageColor(2, bytes(c));
    }) << 32 << QByteArray("00 10 02 04 00 00 00 00 e9") << sequence(4) << payloadSleeps(1);
    QTest::addRow("553 10H type 0") << Command([](Hid_Thread& h) {
        QByteArray c = sequence(36);
        h.hid553_10H_SetLED8StageColor(0, bytes(c));
    }) << 32 << QByteArray("00 10 00 24 00 00 00 00 cb") << sequence(36) << payloadSleeps(2);
    QTest::addRow("553 11H dpi set") << Command([](Hid_Thread& h) {
        QByteArray c = sequence(8, 0x10);
        h.hid553_11H_SetDPISet(3, bytes(c));
    }) << 32 << QByteArray("00 11 03 08 00 00 00 00 e3") << sequence(8, 0x10) << payloadSleeps(1);
    QTest::addRow("553 12H key matrix") << Command([](Hid_Thread& h) {
        QByteArray c = sequence(64);
        h.hid553_12H_SetKeyMatrix(bytes(c), 1);
    }) << 32 << QByteArray("00 12 01 40 08 00 00 00 a4") << sequence(64) << payloadSleeps(2);
    QTest::addRow("553 13H macro at 32") << Command([](Hid_Thread& h) {
        QByteArray c = sequence(128);
        h.hid553_13H_SetMacroKey(3, bytes(c));
    }) << 32 << QByteArray("00 13 03 80 00 00 00 00 69") << sequence(128) << payloadSleeps(4);
    QTest::addRow("553 13H macro at 64") << Command([](Hid_Thread& h) {
        QByteArray c = sequence(128);
        h.hid553_13H_SetMacroKey(12, bytes(c));
    }) << 64 << QByteArray("00 13 0c 80 00 00 00 00 60") << sequence(128) << payloadSleeps(2);
    QTest::addRow("560 01H options") << Command([](Hid_Thread& h) { h.hid560_01H_SetKeyboardoption(0x08, 0x01); })
                                     << 32 << QByteArray("00 01 08 01 00 00 00 00 f5") << QByteArray() << after8;
    QTest::addRow("560 02H profile") << Command([](Hid_Thread& h) { h.hid560_02H_SetCurrentProfile(1); }) << 32
                                     << QByteArray("00 02 01 00 00 00 00 00 fc") << QByteArray() << after8;
    QTest::addRow("560 0CH profile") << Command([](Hid_Thread& h) {
        QByteArray c = sequence(128, 0x40);
        h.hid560_0CH_setProfile(bytes(c), 2);
    }) << 32 << QByteArray("00 0c 02 80 00 00 00 00 71") << sequence(128, 0x40) << payloadSleeps(4);
    QTest::addRow("560 0DH key matrix") << Command([](Hid_Thread& h) {
        QByteArray c = sequence(64);
        h.hid560_0DH_SetKeyMatrix(bytes(c), 2);
    }) << 32 << QByteArray("00 0d 02 80 00 00 00 00 70") << sequence(64) + QByteArray(64, '\0')
       << payloadSleeps(4);
    QTest::addRow("560 0FH macro") << Command([](Hid_Thread& h) {
        QByteArray c = sequence(128, 7);
        h.hid560_0FH_SetMacroKey(1, bytes(c));
    }) << 32 << QByteArray("00 0f 01 80 00 00 00 00 6f") << sequence(128, 7) << payloadSleeps(4);
}

// Each set command: its 9-byte report, its payload cut into reports of
// reportLength + 1 bytes (zero after the payload), and its delays.
void TestHidLink::setCommands()
{
    QFETCH(Command, command);
    QFETCH(int, reportLength);
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, payload);
    QFETCH(std::vector<quint32>, sleeps);
    setUpDevice(reportLength);
    command(*m_hid);

    QCOMPARE(m_backend->ops("set_feature"), QList<QByteArray>{frame});
    const QList<QByteArray> writes = m_backend->ops("write");
    QByteArray carried;
    for (const QByteArray& w : writes) {
        const QByteArray report = QByteArray::fromHex(w);
        QCOMPARE(report.size(), reportLength + 1);
        QCOMPARE(report.at(0), '\0');
        carried += report.mid(1);
    }
    QCOMPARE(writes.size(), int((payload.size() + reportLength - 1) / reportLength));
    QCOMPARE(carried.left(payload.size()).toHex(' '), payload.toHex(' '));
    QVERIFY2(carried.mid(payload.size()).count('\0') == carried.size() - payload.size(), "padding is zero");
    QCOMPARE(m_clock->sleeps(), sleeps);
    QVERIFY(m_hid->hidReady);
    QCOMPARE(m_backend->openHandles, 0);
    QVERIFY(!m_hid->primaryHandle);
    // Every transport call is preceded by a fresh open of the interface.
    for (std::size_t i = 0; i < m_backend->calls.size(); ++i) {
        const QByteArray& op = m_backend->calls[i].op;
        if (op == "set_feature" || op == "write")
            QCOMPARE(m_backend->calls[i - 1].op, QByteArray("open"));
    }
}

void TestHidLink::perIndexCommands_data()
{
    QTest::addColumn<bool>("gun");
    QTest::addColumn<bool>("reportRate");
    QTest::addRow("report rate, no gun") << false << true;
    QTest::addRow("report rate, gun") << true << true;
    QTest::addRow("current dpi, no gun") << false << false;
    QTest::addRow("current dpi, gun") << true << false;
}

void TestHidLink::perIndexCommands()
{
    QFETCH(bool, gun);
    QFETCH(bool, reportRate);
    DeviceTraits traits;
    traits.commandSet = CommandSet::Set560;
    traits.isGun = gun;
    m_hid->setTraits(traits);
    m_backend->failSets = 1; // a failing exchange does not stop the sequence
    if (reportRate)
        m_hid->hid560_03H_SetReportRate(0x02);
    else
        m_hid->hid560_04H_SetCurrentDPI(0x05);
    QList<QByteArray> expected;
    const int count = gun ? 1 : 4;
    for (int i = 1; i <= count; ++i) {
        const auto r = HidCodec::request(reportRate ? 0x03 : 0x04, {uchar(i), uchar(reportRate ? 2 : 5)});
        expected << hex(r.data(), r.size());
    }
    QCOMPARE(m_backend->ops("set_feature"), expected);
    // The failed first frame has no settle pause; every later one has.
    QCOMPARE(m_clock->totalSleptMs(), 128 * (count - 1));
    QVERIFY(m_hid->hidReady);
}

void TestHidLink::getCommands_data()
{
    QTest::addColumn<GetCommand>("command");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("reply");   // bytes 1..8 the device answers
    QTest::addColumn<QByteArray>("results"); // the reference parameters afterwards

    QTest::addRow("553 83H options") << GetCommand([](Hid_Thread& h, uchar* b) {
        h.hid553_83H_GetKeyboardoption(b[0], b[1], b[2], b[3]);
    }) << QByteArray("00 83 00 00 00 00 00 00 7c") << QByteArray("8301020348000000") << QByteArray("01020348");
    QTest::addRow("553 8BH current dpi") << GetCommand([](Hid_Thread& h, uchar* b) {
        h.hid553_8BH_GetCurrentDPI(b[0]);
    }) << QByteArray("00 8b 00 00 00 00 00 00 74") << QByteArray("8b05000000000000") << QByteArray("05223344");
    QTest::addRow("560 81H options") << GetCommand([](Hid_Thread& h, uchar* b) {
        h.hid560_81H_GetKeyboardoption(b[0], b[1]);
    }) << QByteArray("00 81 00 00 00 00 00 00 7e") << QByteArray("8109ff0000000000") << QByteArray("09ff3344");
    QTest::addRow("560 82H profile") << GetCommand([](Hid_Thread& h, uchar* b) {
        h.hid560_82H_GetCurrentProfile(b[0]);
    }) << QByteArray("00 82 00 00 00 00 00 00 7d") << QByteArray("8203000000000000") << QByteArray("03223344");
    QTest::addRow("560 84H current dpi") << GetCommand([](Hid_Thread& h, uchar* b) {
        b[0] = 1;
        h.hid560_84H_GetCurrentDPI(b[0], b[1]);
    }) << QByteArray("00 84 01 00 00 00 00 00 7a") << QByteArray("8401060000000000") << QByteArray("01063344");
    QTest::addRow("553 00H echo") << GetCommand([](Hid_Thread& h, uchar* b) {
        h.hid553_00H_GetSecrecyCode(b[0], b[1], b[2], b[3]);
    }) << QByteArray("00 00 11 22 33 44 00 00 55") << QByteArray("0011223344000000") << QByteArray("11223344");
}

// Each get command: its request, one reply read, the reference parameters
// taken from their reply positions; no delays.
void TestHidLink::getCommands()
{
    QFETCH(GetCommand, command);
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, reply);
    QFETCH(QByteArray, results);
    const QByteArray answer = QByteArray::fromHex(reply);
    m_backend->respond = [answer](const HidCodec::FeatureReport&) {
        HidCodec::Frame f{};
        std::copy(answer.begin(), answer.end(), f.begin());
        return f;
    };
    uchar refs[4] = {0x11, 0x22, 0x33, 0x44};
    command(*m_hid, refs);
    QCOMPARE(m_backend->ops("set_feature"), QList<QByteArray>{frame});
    QCOMPARE(m_backend->ops("get_feature").size(), 1);
    QVERIFY(m_clock->sleeps().empty());
    QVERIFY(m_hid->hidReady);
    QCOMPARE(QByteArray(reinterpret_cast<char*>(refs), 4).toHex(), results);

    // Failed before the reply: the parameters keep their values, except the
    // 00H echo, whose reply area is cleared first.
    init();
    m_backend->failOpens = 1;
    uchar kept[4] = {0x11, 0x22, 0x33, 0x44};
    command(*m_hid, kept);
    const bool echo = QByteArray(QTest::currentDataTag()).contains("00H");
    const QByteArray before = QByteArray(QTest::currentDataTag()).contains("84H") ? "01223344" : "11223344";
    QCOMPARE(QByteArray(reinterpret_cast<char*>(kept), 4).toHex(), echo ? QByteArray("00000000") : before);
    QVERIFY(m_hid->hidReady);
}

void TestHidLink::readProfile_data()
{
    QTest::addColumn<int>("reportLength");
    QTest::addRow("at 32") << 32;
    QTest::addRow("at 64") << 64;
}

// 8CH: the frame, the reply report (not used), then 128 bytes as input
// reports of reportLength bytes each.
void TestHidLink::readProfile()
{
    QFETCH(int, reportLength);
    setUpDevice(reportLength);
    const QByteArray block = sequence(128, 0x80);
    for (int offset = 0; offset < 128; offset += reportLength)
        m_backend->inputReports.push_back(block.mid(offset, reportLength));
    QByteArray target(128, '\x5a');
    m_hid->hid560_8CH_readProfile(bytes(target), 3);
    QCOMPARE(m_backend->ops("set_feature"), QList<QByteArray>{"00 8c 03 00 00 00 00 00 70"});
    QCOMPARE(m_backend->ops("read").size(), 128 / reportLength);
    QCOMPARE(target.toHex(), block.toHex());
    QVERIFY(m_clock->sleeps().empty());
    QVERIFY(m_hid->hidReady);
}

void TestHidLink::readProfileUnplugged()
{
    m_backend->failOpens = 1;
    QByteArray target = sequence(128, 9);
    m_hid->hid560_8CH_readProfile(bytes(target), 0);
    QCOMPARE(target.toHex(), sequence(128, 9).toHex());
    QVERIFY(m_hid->deviceList.first().primaryPath.isEmpty());
    QVERIFY(m_hid->hidReady);
}

// A device that answers the frame but stops sending bulk data: the query ends
// after the bounded read instead of blocking the GUI thread, and the image
// keeps all of its old bytes (not the one report that came).
void TestHidLink::silentDeviceEndsBulkRead()
{
    m_backend->inputReports.push_back(sequence(32));
    QByteArray target(128, '\x01');
    m_hid->hid560_8CH_readProfile(bytes(target), 1);
    QCOMPARE(m_backend->ops("read").size(), 2); // one delivered, one timed out
    QCOMPARE(target, QByteArray(128, '\x01'));
    QVERIFY(m_hid->hidReady);
    QCOMPARE(m_backend->openHandles, 0);
}

void TestHidLink::busyLinkDropsCommand()
{
    MessageLog log;
    m_hid->hidReady = false;
    uchar dpi = 7;
    m_hid->hid553_8BH_GetCurrentDPI(dpi);
    m_hid->hid553_01H_SetReportRate(1);
    m_hid->hid560_8CH_readProfile(nullptr, 0); // not touched: dropped before
    QCOMPARE(dpi, uchar(7));
    QVERIFY(m_backend->calls.empty());
    QCOMPARE(log.count("cmd Failed 8BH"), 1);
    QCOMPARE(log.count("cmd Failed 01"), 1);
    QCOMPARE(log.count("cmd Failed 8c"), 1);
    QCOMPARE(m_clock->sleeps(), std::vector<quint32>(3 * 255, 8));
    QVERIFY(!m_hid->hidReady);
}

// A command entered from an event handler while another holds the link (the
// outer one processes events while it waits) gives up after 255 checks; the
// outer one then completes.
void TestHidLink::commandFromEventHandlerWhileLinkHeld()
{
    MessageLog log;
    bool innerRan = false;
    QTimer::singleShot(0, this, [&] {
        m_hid->hid553_0BH_SetCurrentDPI(2);
        innerRan = true;
    });
    QByteArray matrix = sequence(64);
    m_hid->hid553_12H_SetKeyMatrix(bytes(matrix), 1);
    QVERIFY(innerRan);
    QCOMPARE(log.count("cmd Failed 0B"), 1);
    QCOMPARE(m_backend->ops("set_feature"), QList<QByteArray>{"00 12 01 40 08 00 00 00 a4"});
    QCOMPARE(m_backend->ops("write").size(), 2);
    QCOMPARE(std::count(m_clock->sleeps().begin(), m_clock->sleeps().end(), 8u), 255);
    QVERIFY(m_hid->hidReady);
}

// After the command interface failed to open once, nothing reaches the
// transport until a device check fills the path again.
void TestHidLink::failedOpenEmptiesPath()
{
    m_backend->failOpens = 1;
    m_hid->hid553_01H_SetReportRate(1);
    QCOMPARE(m_backend->calls.size(), std::size_t(1));
    QVERIFY(m_hid->deviceList.first().primaryPath.isEmpty());
    QCOMPARE(m_hid->deviceList.first().secondaryPath, QStringLiteral("evt-path"));
    m_hid->hid553_0BH_SetCurrentDPI(1);
    uchar b[4] = {1, 2, 3, 4};
    m_hid->hid553_83H_GetKeyboardoption(b[0], b[1], b[2], b[3]);
    QByteArray macro = sequence(128);
    m_hid->hid553_13H_SetMacroKey(1, bytes(macro));
    QCOMPARE(m_backend->calls.size(), std::size_t(1));
    QVERIFY(m_clock->sleeps().empty());
    QVERIFY(m_hid->hidReady);
    // An index outside the list is no device either.
    m_hid->currentIndex = 5;
    m_hid->hid553_01H_SetReportRate(1);
    QCOMPARE(m_backend->calls.size(), std::size_t(1));
}

void TestHidLink::failedWriteFreesLink()
{
    m_backend->failWrites = 1;
    QByteArray macro = sequence(128);
    m_hid->hid553_13H_SetMacroKey(1, bytes(macro));
    // The frame and its pause, then the failed first report: no more reports,
    // no more pauses; the interface is closed and the link free.
    QCOMPARE(m_backend->ops("write").size(), 1);
    QCOMPARE(m_clock->sleeps(), (std::vector<quint32>{64, 64}));
    QCOMPARE(m_backend->openHandles, 0);
    QVERIFY(m_hid->hidReady);
    QCOMPARE(m_hid->deviceList.first().primaryPath, QStringLiteral("cmd-path"));
}

// With scrambling on, the 8 bytes after the report id are the scrambled
// frame (checksum included); a reply without bulk data is descrambled; the
// payload is sent as is.
void TestHidLink::scrambledExchange()
{
    setUpDevice(32, true, "abcdef");
    secrecyKey = *HidCodec::keyFromCode("abcdef");
    const HidCodec::ScrambleTable table{1, 2, 3, 4, 5, 6, 7, 8};
    m_hid->setScrambleTable(table);

    QByteArray dpi = sequence(8);
    m_hid->hid553_11H_SetDPISet(2, bytes(dpi));
    HidCodec::FeatureReport expected = HidCodec::request(0x11, {2, 8});
    HidCodec::scramble(expected.data() + 1, secrecyKey.data(), table);
    QCOMPARE(m_backend->ops("set_feature"), QList<QByteArray>{hex(expected.data(), 9)});
    QCOMPARE(QByteArray::fromHex(m_backend->ops("write").first()).mid(1, 8), dpi);

    m_backend->respond = [&](const HidCodec::FeatureReport&) {
        HidCodec::Frame f{0x83, 9, 8, 7, 6, 0, 0, 0};
        HidCodec::scramble(f.data(), secrecyKey.data(), table);
        return f;
    };
    uchar b[4] = {};
    m_hid->hid553_83H_GetKeyboardoption(b[0], b[1], b[2], b[3]);
    QCOMPARE(QByteArray(reinterpret_cast<char*>(b), 4).toHex(), QByteArray("09080706"));
}



// A handshake that did not exchange anything is a failed one.
void TestHidLink::handshakeFailsWithoutExchange()
{
    m_backend->respond = [](const HidCodec::FeatureReport& r) {
        return HidCodec::Frame{0, r[2], r[3], r[4], r[5], 0, 0, 0};
    };
    m_hid->hidReady = false;
    QVERIFY(!m_hid->chkDeviceIsEnCode(0));
    m_hid->hidReady = true;
    m_backend->failSets = 1;
    QVERIFY(!m_hid->chkDeviceIsEnCode(0));
    QVERIFY(!m_hid->chkDeviceIsEnCode(3)); // no such entry
    QCOMPARE(m_hid->currentIndex, 3);
    QVERIFY(m_hid->chkDeviceIsEnCode(0));
}

void TestHidLink::secrecyKeyKeepsLastCode()
{
    DeviceRecord a, b, odd;
    a.primaryPath = b.primaryPath = odd.primaryPath = "p";
    a.sCode = "aaaaaa";
    b.sCode = "bbbbbb";
    odd.sCode = "ccccc";
    m_hid->deviceList = {a, b, odd};
    m_hid->chkDeviceIsEnCode(0);
    QCOMPARE(secrecyKey, *HidCodec::keyFromCode("aaaaaa"));
    m_hid->chkDeviceIsEnCode(1);
    QCOMPARE(secrecyKey, *HidCodec::keyFromCode("bbbbbb"));
    m_hid->chkDeviceIsEnCode(2); // wrong length: the code in use stays
    QCOMPARE(secrecyKey, *HidCodec::keyFromCode("bbbbbb"));
    m_hid->currentIndex = 0; // a later exchange with the first entry still uses it
    QCOMPARE(secrecyKey[1], uchar('b'));
}

void TestHidLink::reportLengthOutOfRange()
{
    for (int bad : {0, -5, 100000}) {
        init();
        setUpDevice(bad);
        QByteArray macro = sequence(128);
        m_hid->hid553_13H_SetMacroKey(1, bytes(macro));
        const QList<QByteArray> writes = m_backend->ops("write");
        QCOMPARE(writes.size(), 4);
        QCOMPARE(QByteArray::fromHex(writes.first()).size(), 33);
    }
}

// The trace: one line per transport call with time, interface, operation
// and the exact bytes; on the real backend's code path too.
void TestHidLink::trace()
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    double now = 1523.44;
    TracingHidBackend tracing(*m_backend, &out, [&] { return now; });
    m_hid->setBackend(&tracing);
    QByteArray dpi = sequence(8);
    m_hid->hid553_11H_SetDPISet(3, bytes(dpi));
    const QList<QByteArray> lines = out.data().split('\n');
    const QByteArray report = "00 " + sequence(8).toHex(' ') + ' ' + QByteArray(24, '\0').toHex(' ');
    QCOMPARE(lines, (QList<QByteArray>{"1523.4 cmd open-ok", "1523.4 cmd close", "1523.4 cmd open-ok",
                                       "1523.4 cmd set_feature 00 11 03 08 00 00 00 00 e3", "1523.4 cmd close",
                                       "1523.4 cmd open-ok", "1523.4 cmd write " + report, "1523.4 cmd close",
                                       ""}));

    out.buffer().clear();
    out.seek(0);
    now = 2.06;
    m_backend->inputReports.push_back(QByteArray::fromHex("06070003"));
    std::uint8_t buf[33] = {};
    HidHandle* evt = tracing.open("evt-path", HidRole::Event);
    tracing.readTimeout(evt, buf, sizeof buf, 500);
    tracing.readTimeout(evt, buf, sizeof buf, 500);
    tracing.close(evt);
    m_backend->failOpens = 1;
    QVERIFY(!tracing.open("cmd-path", HidRole::Command));
    QCOMPARE(out.data(), QByteArray("2.1 evt open-ok\n2.1 evt read 06 07 00 03\n2.1 evt read-timeout\n"
                                    "2.1 evt close\n2.1 cmd open-fail\n"));

    // hidapi itself, on a path that does not exist.
    out.buffer().clear();
    out.seek(0);
    HidapiBackend hidapi;
    TracingHidBackend real(hidapi, &out, [] { return 0.04; });
    QVERIFY(!real.open("/dev/no-such-hidraw", HidRole::Command));
    QCOMPARE(out.data(), QByteArray("0.0 cmd open-fail\n"));
    m_hid->setBackend(m_backend.get());
}

// A node that exists but may not be opened is named once, with the hint
// where to look; an ordinary failed open says nothing.
void TestHidLink::permissionDeniedSaidOnce()
{
    MessageLog log;
    m_backend->failOpens = 1;
    m_hid->hid553_01H_SetReportRate(1);
    QVERIFY(log.lines().filter("permission denied").isEmpty());

    m_backend->denied = true;
    for (int i = 0; i < 3; ++i) {
        setUpDevice(); // a device check finds the node again
        m_backend->failOpens = 1;
        m_hid->hid553_01H_SetReportRate(1);
    }
    QCOMPARE(log.lines().filter("permission denied").size(), 1);
    QCOMPARE(log.lines().filter("permission denied").first(),
             QString::fromUtf8("cannot open cmd-path: permission denied \u2014 see README, udev rule"));
}

// The worker's slots keep their places in its meta-object.
void TestHidLink::slotOrder()
{
    QStringList names;
    const QMetaObject& mo = Hid_Thread::staticMetaObject;
    for (int i = mo.methodOffset(); i < mo.methodCount(); ++i)
        if (mo.method(i).methodType() == QMetaMethod::Slot && mo.method(i).access() == QMetaMethod::Public)
            names << QString::fromLatin1(mo.method(i).name());
    QCOMPARE(names, (QStringList{"hidCS", "chkDeviceIsEnCode", "USBDataEncryption", "USBDataDecipher",
                                 "hid553_00H_GetSecrecyCode", "hid553_83H_GetKeyboardoption",
                                 "hid560_81H_GetKeyboardoption", "hid560_82H_GetCurrentProfile",
                                 "hid560_84H_GetCurrentDPI", "hid553_8BH_GetCurrentDPI",
                                 "hid553_03H_SetKeyboardoption", "hid553_04H_SetGunData",
                                 "hid560_01H_SetKeyboardoption", "hid553_01H_SetReportRate",
                                 "hid560_03H_SetReportRate", "hid560_04H_SetCurrentDPI", "hid553_0BH_SetCurrentDPI",
                                 "hid553_12H_SetKeyMatrix", "hid560_0DH_SetKeyMatrix", "hid560_0CH_setProfile",
                                 "hid560_8CH_readProfile", "hid560_02H_SetCurrentProfile", "hid553_13H_SetMacroKey",
                                 "hid560_0FH_SetMacroKey", "hid553_11H_SetDPISet", "hid553_02H_SetCurrentKeyMatrix",
                                 "hid553_0DH_SetRGBLedEffect", "hid553_0CH_SetFixLEDColor",
                                 "hid553_10H_SetLED8StageColor"}));
    // No signals or other slots before them.
    QCOMPARE(mo.method(mo.methodOffset()).name(), QByteArray("hidCS"));
}

QTEST_GUILESS_MAIN(TestHidLink)
#include "tst_hidlink.moc"
