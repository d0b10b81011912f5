#include "TestSupport.h"
#include "VirtualHidBackend.h"
#include "VirtualMouse.h"

#include <QSignalSpy>
#include <QTest>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

// The firmware seen directly through the backend, as a host would drive it
// step by step; the scripts are in tests/data/virtualmouse.rows.
namespace {

const QString deviceCode = QStringLiteral("582910");

// One host talking to one mouse through the backend, both interfaces open.
// mouse: the family, then optionally the report length, "scrambled", and the
// host's own code= or table= when they differ from the mouse's.
struct Rig
{
    explicit Rig(const QString& mouse)
        : owner(std::make_unique<VirtualMouse>(record(mouse), commandSetOf(mouse.section(' ', 0, 0))))
        , backend({owner.get()}, clock)
        , cmd(backend.open(owner->commandPath(), HidRole::Command))
        , evt(backend.open(owner->eventPath(), HidRole::Event))
    {
        for (const QString& word : mouse.split(' ')) {
            if (word.startsWith("code="))
                hostKey = *HidCodec::keyFromCode(word.mid(5));
            if (word.startsWith("table="))
                hostTable = *HidCodec::parseScrambleTable(word.mid(6));
        }
        for (int i = 0; i < payload.size(); ++i)
            payload[i] = char((i * 11 + 2) | 1); // never 0, so that a lost byte shows
    }
    ~Rig()
    {
        backend.close(cmd);
        backend.close(evt);
    }
    static DeviceRecord record(const QString& mouse)
    {
        DeviceRecord r;
        r.reportLength = mouse.section(' ', 1, 1).toInt() > 0 ? mouse.section(' ', 1, 1).toInt() : 32;
        r.isEncode = mouse.contains("scrambled");
        r.sCode = deviceCode;
        return r;
    }

    // Runs one step and gives its result (see the header of virtualmouse.rows).
    QString step(const QString& text)
    {
        const QStringList w = text.split(' ', Qt::SkipEmptyParts);
        const QString op = w.value(0);
        std::uint8_t buffer[64] = {};
        if (op == "frame" || op == "report") {
            QByteArray report = hexBytes(w.mid(1).join(' '));
            if (op == "frame") {
                report = ('\0' + report).leftJustified(8, '\0');
                report += char(HidCodec::checksum(reinterpret_cast<const std::uint8_t*>(report.constData()) + 1));
            }
            auto* p = reinterpret_cast<std::uint8_t*>(report.data());
            if (mouse().record().isEncode && report.size() == 9)
                HidCodec::scramble(p + 1, hostKey.data(), hostTable);
            return QString::number(backend.sendFeatureReport(cmd, p, std::size_t(report.size())));
        }
        if (op == "write") {
            const int n = w.value(1).toInt();
            QByteArray report = ('\0' + payload.mid(sent, n)).leftJustified(mouse().reportLength() + 1, '\0');
            sent += n;
            for (const QString& change : w.mid(2)) {
                if (change.startsWith("size="))
                    report.resize(change.mid(5).toInt());
                else // atK=HH
                    report[change.section('=', 0, 0).mid(2).toInt()] = hexBytes(change.section('=', 1)).at(0);
            }
            return QString::number(backend.write(cmd, reinterpret_cast<const std::uint8_t*>(report.constData()),
                                                 std::size_t(report.size())));
        }
        if (op == "get") {
            HidCodec::FeatureReport r{};
            if (backend.getFeatureReport(cmd, r.data(), r.size()) != 9)
                return "-1";
            if (mouse().record().isEncode)
                HidCodec::descramble(r.data() + 1, hostKey.data(), hostTable);
            return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(r.data() + 1), 8).toHex(' '));
        }
        if (op == "read")
            return QString::number(backend.read(cmd, buffer, 33));
        if (op == "readt")
            return QString::number(backend.readTimeout(cmd, buffer, 33, 50));
        if (op == "open") {
            const HidRole role = w.value(1) == "evt" ? HidRole::Event : HidRole::Command;
            HidHandle* h = backend.open(role == HidRole::Event ? mouse().eventPath() : mouse().commandPath(), role);
            backend.close(h);
            return QString::number(h != nullptr);
        }
        if (op == "fail") {
            const QHash<QString, std::function<void(VirtualMouse&, int)>> faults{
                {"opens-cmd", [](VirtualMouse& m, int n) { m.failNextOpens(HidRole::Command, n); }},
                {"opens-evt", [](VirtualMouse& m, int n) { m.failNextOpens(HidRole::Event, n); }},
                {"writes", &VirtualMouse::failNextWrites},
                {"sets", &VirtualMouse::failNextSetFeatures},
                {"gets", &VirtualMouse::failNextGetFeatures},
                {"short", &VirtualMouse::shortenNextReads},
                {"late", &VirtualMouse::delayNextReads}};
            if (!faults.contains(w.value(1)))
                return "no such fault";
            faults.value(w.value(1))(mouse(), w.value(2).toInt());
            return {};
        }
        if (op == "macro") {
            const VirtualMouse::Block128 macro = mouse().state().macros.at(w.value(1).toInt() - 1);
            return QString::number(QByteArray(reinterpret_cast<const char*>(macro.data()), 128) ==
                                   payload.mid(w.value(2).toInt(), 128));
        }
        if (op == "dpi") { // count, current stage: 560 keeps it in index 1's slot, 553 in its own field
            VirtualMouse::State s = mouse().state();
            const bool is560 = mouse().commandSet() == CommandSet::Set560;
            s.dpiCount = std::uint8_t(w.value(1).toInt());
            (is560 ? s.dpiStages[0] : s.dpiStage) = std::uint8_t(w.value(2).toInt());
            (is560 ? s.dpiStage : s.dpiStages[0]) = 3; // the other field would give another answer
            mouse().setState(s);
            return {};
        }
        if (op == "press")
            return QString::number(w.size() > 1 ? mouse().pressDpiButton(w.value(1).toInt())
                                                : mouse().pressDpiButton());
        if (op == "evt") {
            const int n = backend.readTimeout(evt, buffer, 8, 0);
            return n < 0 ? "-1" : QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(buffer), n).toHex(' '));
        }
        if (op == "frames")
            return QString::number(mouse().receivedFrames().size());
        if (op == "slept")
            return QString::number(clock.totalSleptMs());
        return "no such step";
    }

    VirtualMouse& mouse() { return *owner; }

    VirtualClock clock;
    std::unique_ptr<VirtualMouse> owner;
    VirtualHidBackend backend;
    HidHandle* cmd;
    HidHandle* evt;
    HidCodec::SecrecyKey hostKey = *HidCodec::keyFromCode(deviceCode);
    HidCodec::ScrambleTable hostTable = HidCodec::defaultScrambleTable;
    QByteArray payload = QByteArray(512, '\0');
    qsizetype sent = 0;
};

// A read of the event interface on another thread, as the listener does it.
std::future<int> readEventAsync(Rig& rig, std::uint8_t* report)
{
    auto read =
        std::async(std::launch::async, [&rig, report] { return rig.backend.readTimeout(rig.evt, report, 8, -1); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20)); // let it block first
    return read;
}

} // namespace

class TestVirtualMouse : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void scripts_data() { addDataRows("virtualmouse.rows", "script"); }
    void scripts();
    void unplugAndDestructionWakeBlockedRead();
};

// Each step's result, where the row gives one after "="; then the protocol
// error the mouse counted, with nothing else of its state changed.
void TestVirtualMouse::scripts()
{
    FETCH_DATA_ROW(row);
    QVERIFY(row.fields.size() == 4);
    Rig rig(row.field(1));
    const QJsonObject before = rig.mouse().stateJson();
    for (const QString& step : row.field(2).split(';')) {
        const QString result = rig.step(step.section(" = ", 0, 0));
        if (step.contains(" = "))
            QCOMPARE(result, step.section(" = ", 1).trimmed());
        else
            QVERIFY2(!result.startsWith("no such"), qPrintable(step));
    }
    if (row.field(3) == "none") {
        QCOMPARE(rig.mouse().protocolErrorMessages(), QStringList());
        return;
    }
    const QStringList errors = rig.mouse().protocolErrorMessages();
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors[0].startsWith(row.field(3)), qPrintable(errors[0]));
    const QJsonObject after = rig.mouse().stateJson();
    for (const QString& key : after.keys())
        QVERIFY2(key == "protocolErrors" || key == "commandCount" || after.value(key) == before.value(key),
                 qPrintable(key));
    rig.mouse().clearProtocolErrors();
    QCOMPARE(rig.mouse().protocolErrors(), 0);
}

void TestVirtualMouse::unplugAndDestructionWakeBlockedRead()
{
    Rig rig(QStringLiteral("560"));
    QSignalSpy spy(&rig.mouse(), &VirtualMouse::pluggedChanged);
    std::uint8_t buffer[33] = {};
    auto read = readEventAsync(rig, buffer);
    rig.mouse().unplug();
    QCOMPARE(read.get(), -1);

    QVERIFY(rig.backend.enumerate(0, 0).empty());
    QCOMPARE(rig.backend.open(rig.mouse().commandPath(), HidRole::Command), nullptr);
    QVERIFY(rig.backend.lastOpenError().contains(QLatin1String("unplugged")));
    for (const char* step : {"frame 82", "get", "write 8", "readt"})
        QCOMPARE(rig.step(step), "-1");
    QCOMPARE(rig.step("press 2"), "0");

    // Plugged in again: old handles stay dead, new ones work, settings survive.
    rig.mouse().plug();
    QCOMPARE(rig.backend.enumerate(0, 0).size(), 2u);
    QCOMPARE(rig.step("frame 82"), "-1");
    rig.backend.close(rig.cmd);
    rig.backend.close(rig.evt);
    rig.cmd = rig.backend.open(rig.mouse().commandPath(), HidRole::Command);
    rig.evt = rig.backend.open(rig.mouse().eventPath(), HidRole::Event);
    QCOMPARE(rig.step("frame 02 04"), "9");
    QCOMPARE(rig.mouse().state().profile, 4);
    QCOMPARE(rig.mouse().protocolErrors(), 0);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(QList<bool>({spy[0][0].toBool(), spy[1][0].toBool()}), QList<bool>({false, true}));

    // A mouse destroyed under a blocked read wakes it; its handles fail but stay safe to close.
    read = readEventAsync(rig, buffer);
    rig.owner.reset();
    QCOMPARE(read.get(), -1);
    QCOMPARE(rig.backend.sendFeatureReport(rig.cmd, buffer, 9), -1);
    QVERIFY(rig.backend.enumerate(0, 0).empty());
}

QTEST_GUILESS_MAIN(TestVirtualMouse)
#include "tst_virtualmouse.moc"
