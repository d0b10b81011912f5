#include "VirtualHidBackend.h"
#include "VirtualMouse.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTest>

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <thread>

namespace {

const QString deviceCode = QStringLiteral("582910");

DeviceRecord mouseRecord(int reportLength = 32, bool isEncode = false)
{
    DeviceRecord r;
    r.type = 1;
    r.vid = 0x1a2c;
    r.pid = 0x4c5e;
    r.usagePage = 0xff00;
    r.usage = 0x01;
    r.usagePage2 = 0xff01;
    r.usage2 = 0x02;
    r.reportLength = reportLength;
    r.isEncode = isEncode;
    r.sCode = deviceCode;
    return r;
}

QByteArray request(std::uint8_t command, std::initializer_list<std::uint8_t> arguments = {})
{
    const HidCodec::FeatureReport r = HidCodec::request(command, arguments);
    return QByteArray(reinterpret_cast<const char*>(r.data()), qsizetype(r.size()));
}

QByteArray pattern(int size, int seed)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((seed + i * 11) | 1); // never 0, so a lost byte shows
    return bytes;
}

// The keys whose values differ, except the command counter.
QStringList differingKeys(const QJsonObject& a, const QJsonObject& b)
{
    QStringList keys;
    for (const QString& key : a.keys() + b.keys()) {
        if (key != QLatin1String("commandCount") && a.value(key) != b.value(key) && !keys.contains(key))
            keys.append(key);
    }
    return keys;
}

// One host talking to one mouse through the backend, both interfaces open.
struct Rig
{
    VirtualClock clock;
    std::unique_ptr<VirtualMouse> owner;
    VirtualMouse& mouse;
    VirtualHidBackend backend;
    HidHandle* cmd;
    HidHandle* evt;
    HidCodec::SecrecyKey hostKey = *HidCodec::keyFromCode(deviceCode);
    HidCodec::ScrambleTable hostTable = HidCodec::defaultScrambleTable;

    // config: the family, then optionally the report length and "scrambled", e.g. "560 64 scrambled".
    explicit Rig(const QString& config)
        : owner(std::make_unique<VirtualMouse>(
              mouseRecord(config.section(' ', 1, 1).toInt() > 0 ? config.section(' ', 1, 1).toInt() : 32,
                          config.contains(QLatin1String("scrambled"))),
              config.section(' ', 0, 0)))
        , mouse(*owner)
        , backend({&mouse}, clock)
        , cmd(backend.open(mouse.commandPath(), HidRole::Command))
        , evt(backend.open(mouse.eventPath(), HidRole::Event))
    {
    }
    ~Rig()
    {
        backend.close(cmd);
        backend.close(evt);
    }

    // Scrambles bytes 1..8 of a 9-byte report with the host's key when the mouse expects it.
    int send(QByteArray report, HidHandle* handle = nullptr)
    {
        auto* p = reinterpret_cast<std::uint8_t*>(report.data());
        if (mouse.record().isEncode && report.size() == 9)
            HidCodec::scramble(p + 1, hostKey.data(), hostTable);
        return backend.sendFeatureReport(handle ? handle : cmd, p, std::size_t(report.size()));
    }
    int writeRaw(const QByteArray& report)
    {
        return backend.write(cmd, reinterpret_cast<const std::uint8_t*>(report.constData()),
                             std::size_t(report.size()));
    }
    QByteArray outputReport(const QByteArray& chunk) const
    {
        return QByteArray(mouse.reportLength() + 1, '\0').replace(1, chunk.size(), chunk);
    }
    // The first `reports` output reports of payload (all when -1).
    void sendPayload(const QByteArray& payload, int reports = -1)
    {
        int offset = 0;
        for (int size : HidCodec::chunkSizes(int(payload.size()), mouse.reportLength())) {
            if (reports-- == 0)
                return;
            QCOMPARE(writeRaw(outputReport(payload.mid(offset, size))), mouse.reportLength() + 1);
            offset += size;
        }
    }
    // The reply frame, descrambled with the host's key; empty when the read failed.
    QByteArray reply()
    {
        HidCodec::FeatureReport r{};
        if (backend.getFeatureReport(cmd, r.data(), r.size()) != 9)
            return {};
        if (mouse.record().isEncode)
            HidCodec::descramble(r.data() + 1, hostKey.data(), hostTable);
        return QByteArray(reinterpret_cast<const char*>(r.data() + 1), 8);
    }
    // An event read on another thread, as the listener does it.
    std::future<int> readEventAsync(std::uint8_t* report, int timeoutMs)
    {
        auto read = std::async(std::launch::async,
                               [=, this] { return backend.readTimeout(evt, report, 8, timeoutMs); });
        std::this_thread::sleep_for(std::chrono::milliseconds(20)); // let it block first
        return read;
    }
};

using Step = std::function<void(Rig&)>;
using Inject = std::function<void(VirtualMouse&, int)>;
using Attempt = std::function<bool(Rig&)>;

} // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(Inject)
Q_DECLARE_METATYPE(Attempt)

class TestVirtualMouse : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void strictness_data();
    void strictness();
    void unplugAndDestructionWakeBlockedRead();
    void nextDpiStage_data();
    void nextDpiStage();
    void injectedFaults_data();
    void injectedFaults();
};


void TestVirtualMouse::strictness_data()
{
    QTest::addColumn<QString>("config");
    QTest::addColumn<Step>("step");
    QTest::addColumn<QString>("message");

    // A frame, then the first `reports` output reports of its payload (all by default).
    const auto frameThen = [](const QByteArray& frame, const QByteArray& payload = {}, int reports = -1) {
        return Step([=](Rig& r) {
            QCOMPARE(r.send(frame), 9);
            r.sendPayload(payload, reports);
        });
    };
    // The device descrambles with its own key: a host with another one gets an answer it cannot use.
    const auto otherKey = [](const QString& code, const QString& table) {
        return Step([=](Rig& r) {
            r.hostKey = *HidCodec::keyFromCode(code);
            r.hostTable = *HidCodec::parseScrambleTable(table);
            r.send(request(0x00, {0x31, 0x41, 0x59, 0x26}));
            const QByteArray got = r.reply();
            QCOMPARE(got.size(), 8);
            QVERIFY(!got.startsWith(QByteArray::fromHex("0031415926")));
        });
    };
    const QByteArray p128 = pattern(128, 2);
    QByteArray badSum = request(0x01, {4});
    badSum[8] = char(badSum[8] + 1);

    QTest::addRow("host has another code") << "553 32 scrambled" << otherKey("582911", "5a3c96e10f78a5c3")
                                           << "checksum mismatch in";
    QTest::addRow("host has another table") << "560 32 scrambled" << otherKey(deviceCode, "5a3c96e10f78a5c4")
                                            << "checksum mismatch in";
    QTest::addRow("wrong checksum") << "553" << frameThen(badSum) << "checksum mismatch in 01H frame";
    QTest::addRow("wrong length byte, payload follows")
        << "553" << frameThen(request(0x12, {1, 0x20, 0x08}), pattern(32, 1))
        << "12H frame has length byte 0x20 (expected 0x40)";
    QTest::addRow("10H type 2 with the long length") << "553" << frameThen(request(0x10, {2, 0x24}), pattern(36, 1))
                                                     << "10H frame has length byte 0x24 (expected 0x04)";
    QTest::addRow("short output report") << "553" << Step([p128](Rig& r) {
        r.send(request(0x13, {1, 0x80}));
        r.writeRaw(QByteArray(20, '\0'));
        r.sendPayload(p128.mid(32), 3);
    }) << "output report of 20 bytes in the 13H payload (expected 33)";
    QTest::addRow("missing payload report") << "553" << Step([p128, frameThen](Rig& r) {
        frameThen(request(0x13, {1, 0x80}), p128, 3)(r);
        r.send(request(0x8B));
    }) << "13H payload incomplete (3 of 4 reports)";
    QTest::addRow("stray output report") << "553" << Step([](Rig& r) { r.writeRaw(r.outputReport(pattern(32, 1))); })
                                         << "output report while no payload is expected";
    QTest::addRow("non-zero padding") << "553" << Step([](Rig& r) {
        r.send(request(0x10, {1, 0x24}));
        r.sendPayload(pattern(36, 4), 1);
        r.writeRaw(r.outputReport(pattern(4, 8)).replace(20, 1, "\x01"));
    }) << "non-zero padding after the end of the 10H payload";
    QTest::addRow("report id 1 in a payload") << "553" << Step([](Rig& r) {
        r.send(request(0x11, {4, 8}));
        r.writeRaw(r.outputReport(pattern(8, 1)).replace(0, 1, "\x01"));
    }) << "output report with report id 1 in the 11H payload";
    QTest::addRow("560 command on 553, then its reply") << "553" << Step([](Rig& r) {
        r.send(request(0x8C, {0}));
        QCOMPARE(r.reply(), QByteArray(8, '\0')); // an empty reply, no second error
    }) << "unknown command 8CH for family 553";
    QTest::addRow("553 command on 560") << "560" << frameThen(request(0x13, {1, 0x80}), p128)
                                        << "unknown command 13H for family 560";
    QTest::addRow("macro id 13") << "553" << frameThen(request(0x13, {13, 0x80}), p128)
                                 << "13H macro id 13 out of range 1..12";
    QTest::addRow("0DH key matrix with a non-zero tail") << "560" << frameThen(request(0x0D, {1, 0x80}), p128)
                                                         << "0DH payload has non-zero bytes after the 64-byte";
    QTest::addRow("feature report of 8 bytes")
        << "553" << Step([](Rig& r) { QCOMPARE(r.send(request(0x01, {4}).left(8)), -1); })
        << "feature report of 8 bytes (expected 9)";
    QTest::addRow("get_feature without a get") << "553" << Step([](Rig& r) { QCOMPARE(r.reply(), QByteArray()); })
                                               << "get_feature without a preceding get command";
    QTest::addRow("second get_feature after one get") << "560" << Step([](Rig& r) {
        r.send(request(0x82));
        QCOMPARE(r.reply().size(), 8);
        QCOMPARE(r.reply(), QByteArray());
    }) << "get_feature without a preceding get command";
    QTest::addRow("blocking read with nothing queued") << "560" << Step([](Rig& r) {
        std::uint8_t buffer[33];
        QCOMPARE(r.backend.read(r.cmd, buffer, sizeof buffer), -1);
    }) << "blocking read on the command interface";
}

void TestVirtualMouse::strictness()
{
    QFETCH(QString, config);
    QFETCH(Step, step);
    QFETCH(QString, message);

    Rig rig(config);
    const QJsonObject before = rig.mouse.stateJson();
    step(rig);
    const QStringList errors = rig.mouse.protocolErrorMessages();
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors[0].startsWith(message), qPrintable(errors[0]));
    QCOMPARE(differingKeys(rig.mouse.stateJson(), before), QStringList{"protocolErrors"});
    rig.mouse.clearProtocolErrors();
    QCOMPARE(rig.mouse.protocolErrors(), 0);
}


void TestVirtualMouse::unplugAndDestructionWakeBlockedRead()
{
    Rig rig(QStringLiteral("560"));
    QSignalSpy spy(&rig.mouse, &VirtualMouse::pluggedChanged);
    std::uint8_t buffer[33] = {};
    auto read = rig.readEventAsync(buffer, -1);
    rig.mouse.unplug();
    QCOMPARE(read.get(), -1);

    QVERIFY(rig.backend.enumerate(0, 0).empty());
    QCOMPARE(rig.backend.open(rig.mouse.commandPath(), HidRole::Command), nullptr);
    QVERIFY(rig.backend.lastOpenError().contains(QLatin1String("unplugged")));
    QCOMPARE(rig.send(request(0x82)), -1);
    QCOMPARE(rig.backend.getFeatureReport(rig.cmd, buffer, 9), -1);
    QCOMPARE(rig.backend.write(rig.cmd, buffer, sizeof buffer), -1);
    QCOMPARE(rig.backend.readTimeout(rig.cmd, buffer, sizeof buffer, 50), -1);
    QVERIFY(!rig.mouse.pressDpiButton(2));

    // Plugged in again: old handles stay dead, new ones work, settings survive.
    rig.mouse.plug();
    QCOMPARE(rig.backend.enumerate(0, 0).size(), 2u);
    QCOMPARE(rig.send(request(0x82)), -1);
    rig.backend.close(rig.cmd);
    rig.backend.close(rig.evt);
    rig.cmd = rig.backend.open(rig.mouse.commandPath(), HidRole::Command);
    rig.evt = rig.backend.open(rig.mouse.eventPath(), HidRole::Event);
    QCOMPARE(rig.send(request(0x02, {4})), 9);
    QCOMPARE(rig.mouse.state().profile, 4);
    QCOMPARE(rig.mouse.protocolErrors(), 0);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(QList<bool>({spy[0][0].toBool(), spy[1][0].toBool()}), QList<bool>({false, true}));

    // A mouse destroyed under a blocked read wakes it; its handles fail but stay safe to close.
    read = rig.readEventAsync(buffer, -1);
    rig.owner.reset();
    QCOMPARE(read.get(), -1);
    QCOMPARE(rig.backend.sendFeatureReport(rig.cmd, buffer, 9), -1);
    QVERIFY(rig.backend.enumerate(0, 0).empty());
}

// The DPI button without a stage: the next stage of the count, wrapping to 1;
// 560 keeps its current stage in index 1's slot, 553 in its own field.
void TestVirtualMouse::nextDpiStage_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("expected");
    QTest::addRow("553: next") << "553" << 4 << 2 << 3;
    QTest::addRow("553: last wraps") << "553" << 4 << 4 << 1;
    QTest::addRow("553: beyond the count") << "553" << 3 << 7 << 1;
    QTest::addRow("553: no stage yet") << "553" << 4 << 0 << 1;
    QTest::addRow("553: count 0 is 1") << "553" << 0 << 1 << 1;
    QTest::addRow("553: count above 8 is 8") << "553" << 12 << 8 << 1;
    QTest::addRow("560: next") << "560" << 5 << 1 << 2;
    QTest::addRow("560: last wraps") << "560" << 5 << 5 << 1;
}

void TestVirtualMouse::nextDpiStage()
{
    QFETCH(QString, family);
    QFETCH(int, count);
    QFETCH(int, current);
    QFETCH(int, expected);
    Rig rig(family);
    VirtualMouse::State s = rig.mouse.state();
    s.dpiCount = std::uint8_t(count);
    // The other family's field holds a stage that would give another answer.
    s.dpiStage = std::uint8_t(family == QLatin1String("560") ? 3 : current);
    s.dpiStages[0] = std::uint8_t(family == QLatin1String("560") ? current : 3);
    rig.mouse.setState(s);

    QVERIFY(rig.mouse.pressDpiButton());
    const VirtualMouse::State after = rig.mouse.state();
    QCOMPARE(int(family == QLatin1String("560") ? after.dpiStages[0] : after.dpiStage), expected);
    std::uint8_t report[8] = {};
    QCOMPARE(rig.backend.readTimeout(rig.evt, report, sizeof report, 0), 4);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(report), 4), QByteArray("\x06\x07\x00", 3) + char(expected));
}

void TestVirtualMouse::injectedFaults_data()
{
    QTest::addColumn<Step>("setup");
    QTest::addColumn<Inject>("inject");
    QTest::addColumn<Attempt>("attempt");
    QTest::addColumn<int>("successes");
    QTest::addColumn<int>("sleptMs");
    QTest::addColumn<Step>("check");

    const auto openOf = [](HidRole role) {
        return Attempt([role](Rig& r) {
            HidHandle* h = r.backend.open(role == HidRole::Event ? r.mouse.eventPath() : r.mouse.commandPath(), role);
            r.backend.close(h);
            return h != nullptr;
        });
    };
    const Step none = [](Rig&) {};
    const Step queueProfile = [](Rig& r) {
        r.send(request(0x8C, {0}));
        r.reply();
    };
    const Attempt readReport = [](Rig& r) {
        std::uint8_t buffer[33];
        return r.backend.readTimeout(r.cmd, buffer, sizeof buffer, 50) == 32;
    };
    const Step macroArrived = [](Rig& r) {
        QVERIFY(!r.mouse.payloadPending());
        const VirtualMouse::State state = r.mouse.state();
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(state.macros[0].data()), 128), pattern(32, 1).repeated(4));
    };

    QTest::addRow("open command interface")
        << none << Inject([](VirtualMouse& m, int n) { m.failNextOpens(HidRole::Command, n); })
        << openOf(HidRole::Command) << 2 << 0 << none;
    QTest::addRow("open event interface")
        << none << Inject([](VirtualMouse& m, int n) { m.failNextOpens(HidRole::Event, n); })
        << openOf(HidRole::Event) << 2 << 0 << none;
    // Four more reports complete the macro only if the failed ones never arrived.
    QTest::addRow("write") << Step([](Rig& r) { r.send(request(0x0F, {1, 0x80})); })
                           << Inject([](VirtualMouse& m, int n) { m.failNextWrites(n); })
                           << Attempt([](Rig& r) { return r.writeRaw(r.outputReport(pattern(32, 1))) == 33; })
                           << 4 << 0 << macroArrived;
    QTest::addRow("set feature") << none << Inject([](VirtualMouse& m, int n) { m.failNextSetFeatures(n); })
                                 << Attempt([](Rig& r) { return r.send(request(0x01, {1, 2})) == 9; }) << 2 << 0
                                 << Step([](Rig& r) { QCOMPARE(r.mouse.receivedFrames().size(), 2); });
    // A failed get_feature keeps the reply for the retry.
    QTest::addRow("get feature") << Step([](Rig& r) { r.send(request(0x82)); })
                                 << Inject([](VirtualMouse& m, int n) { m.failNextGetFeatures(n); })
                                 << Attempt([](Rig& r) { return r.reply().size() == 8; }) << 1 << 0 << none;
    QTest::addRow("short read") << queueProfile << Inject([](VirtualMouse& m, int n) { m.shortenNextReads(n); })
                                << readReport << 2 << 0 << none;
    QTest::addRow("late read") << queueProfile << Inject([](VirtualMouse& m, int n) { m.delayNextReads(n); })
                               << readReport << 4 << 100 << none;
}

void TestVirtualMouse::injectedFaults()
{
    QFETCH(Step, setup);
    QFETCH(Inject, inject);
    QFETCH(Attempt, attempt);
    QFETCH(int, successes);
    QFETCH(int, sleptMs);
    QFETCH(Step, check);

    Rig rig(QStringLiteral("560"));
    setup(rig);
    inject(rig.mouse, 2);
    for (int i = 0; i < 2 + successes; ++i)
        QVERIFY2(attempt(rig) == (i >= 2), qPrintable(QStringLiteral("attempt %1").arg(i + 1)));
    QCOMPARE(rig.clock.totalSleptMs(), sleptMs);
    check(rig);
    QCOMPARE(rig.mouse.protocolErrorMessages(), QStringList());
}

QTEST_GUILESS_MAIN(TestVirtualMouse)
#include "tst_virtualmouse.moc"
