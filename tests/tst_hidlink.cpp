#include "TestSupport.h"
#include "TracingHidBackend.h"
#include "ViewRig.h"

#include <QElapsedTimer>
#include <QMetaMethod>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <future>

// The worker against the virtual mouse, seen in the trace. Each row of
// tests/data/hidlink.rows is one command slot called with its values, the
// transfers it makes, when, and what it reads back or leaves in the firmware.
// Beyond single commands: the secrecy handshake, the report lengths a device
// description may give (tests/data/hidlink-device.rows), and the event listener.
namespace {

const QString hostCode = QStringLiteral("Xq7!zz");
const HidCodec::ScrambleTable otherTable{0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef};

// The block a row passes: n bytes 01 02 03 ...
QByteArray pattern(int n)
{
    QByteArray b;
    for (int i = 1; i <= n; ++i)
        b.append(char(i));
    return b;
}

// A slot and what it is called with: its byte values in order (reference
// parameters are filled by get commands) and, for a pointer parameter, the block.
struct Call
{
    QByteArray name, values, block;

    explicit Call(const QString& text)
        : name(text.section(' ', 0, 0).toLatin1())
    {
        for (const QString& w : text.split(' ', Qt::SkipEmptyParts).mid(1))
            (w.startsWith('*') ? block : values) += w.startsWith('*') ? pattern(w.mid(1).toInt()) : hexBytes(w);
    }
};

// Calls the slot through the worker's meta-object: byte and reference
// parameters take values in order, a pointer parameter takes block. False
// when there is no such slot or the count of values is not its own.
bool invoke(Hid_Thread& hid, const QByteArray& name, QByteArray& values, QByteArray& block)
{
    const QMetaObject& mo = Hid_Thread::staticMetaObject;
    for (int i = mo.methodOffset(); i < mo.methodCount(); ++i) {
        if (mo.method(i).name() != name)
            continue;
        uchar* blockData = reinterpret_cast<uchar*>(block.data());
        std::vector<void*> args{nullptr};
        qsizetype next = 0;
        for (const QByteArray& type : mo.method(i).parameterTypes())
            args.push_back(type.endsWith('*') ? static_cast<void*>(&blockData) : values.data() + next++);
        if (next != values.size())
            return false;
        QMetaObject::metacall(&hid, QMetaObject::InvokeMetaMethod, i, args.data());
        return true;
    }
    return false;
}

// A trace as the rows write it: no opens and closes, the virtual ms as a
// whole number, no interface (all are the command interface's), a read by
// its length ("*32").
QStringList transfers(const QByteArray& trace)
{
    QStringList result;
    for (const QString& line : QString::fromLatin1(trace).split('\n', Qt::SkipEmptyParts)) {
        QStringList w = line.split(' ');
        if (w[2] == "open-ok" || w[2] == "close")
            continue;
        if (w[2] == "read")
            w = w.mid(0, 3) << QStringLiteral("*%1").arg(w.size() - 3);
        w[0] = QString::number(qRound(w[0].toDouble()));
        w.removeAt(1);
        result << w.join(' ');
    }
    return result;
}

// A row's transfers with "*N" after a write or error spelled out: report id
// 0, the next N bytes of block, zeros up to the report length. Scrambled,
// the feature reports are as the wire carries them.
QStringList expectedTransfers(const QString& column, const QByteArray& block, int reportLength, bool scrambled)
{
    QStringList result;
    qsizetype offset = 0;
    for (const QString& item : column.split(';', Qt::SkipEmptyParts)) {
        QStringList w = item.trimmed().split(' ');
        QByteArray bytes = hexBytes(w.mid(2).join(' '));
        if (w.value(2).startsWith('*') && w[1] != "read") {
            bytes = ('\0' + block.mid(offset, w[2].mid(1).toInt())).leftJustified(reportLength + 1, '\0');
            offset += w[2].mid(1).toInt();
        } else if (scrambled && w[1].endsWith("_feature")) {
            HidCodec::scramble(reinterpret_cast<std::uint8_t*>(bytes.data()) + 1, secrecyKey.data(), otherTable);
        } else {
            bytes.clear();
        }
        result << (bytes.isEmpty() ? w.join(' ') : w.mid(0, 2).join(' ') + ' ' + QString::fromLatin1(bytes.toHex(' ')));
    }
    return result;
}

// The mouse's state field ("macros.2", "reportRate") as bytes.
QByteArray stateBytes(const QJsonObject& state, const QString& key)
{
    QJsonValue v = state.value(key.section('.', 0, 0));
    if (key.contains('.'))
        v = v.toArray().at(key.section('.', 1).toInt());
    if (!v.isArray())
        return QByteArray(1, char(v.toInt()));
    QByteArray bytes;
    for (const QJsonValue& b : v.toArray())
        bytes.append(char(b.toInt()));
    return bytes;
}

} // namespace

class TestHidLink : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { secrecyKey = {}; }
    void commands_data();
    void commands();
    void queueSupersedes_data();
    void queueSupersedes();
    void writerSendsInOrder_data();
    void writerSendsInOrder();
    void traceTime();
    void handshake_data() { addDataRows("hidlink-device.rows", "handshake"); }
    void handshake();
    void reportLengthBoundaries_data() { addDataRows("hidlink-device.rows", "length"); }
    void reportLengthBoundaries();
    void listenerKeepsInterfaceOpen();
    void cleanupTestCase() { m_silentRigs.clear(); }

private:
    std::map<QString, std::unique_ptr<ViewRig>> m_silentRigs;
};

void TestHidLink::commands_data()
{
    QTest::addColumn<DataRow>("row");
    // How a row runs: plain, as written; on a scrambling mouse with another code
    // and table; with the link held by another command; unplugged.
    QTest::addColumn<QString>("variant");
    const QList<DataRow> rows = readDataRows(QStringLiteral("hidlink.rows"));
    if (rows.isEmpty())
        QTest::newRow("no rows") << DataRow{} << QString();
    for (const DataRow& row : rows) {
        // Rows with an injected fault show that fault only.
        const bool fault = row.field(0).split(' ').size() > 2 && !row.field(0).endsWith("gun");
        for (const QString variant : {"plain", "scrambled", "busy", "unplugged"})
            if (variant == "plain" || !fault)
                QTest::addRow("%s:%d %s", qPrintable(row.field(1).section(' ', 0, 0)), row.line, qPrintable(variant))
                    << row << variant;
    }
}

// Every transfer goes out on a freshly opened command interface that is
// closed again; the link is free afterwards and the firmware saw no protocol
// error. A row with a fault is then called again and must succeed: its mouse
// state column holds after that second call. Busy, nothing goes out and the
// slot's busy line is written once, after 255 checks of 8 ms. Unplugged,
// the failed open empties the path and nothing reaches the mouse again until
// a device check (values as passed, or as the last column says).
void TestHidLink::commands()
{
    QFETCH(DataRow, row);
    QFETCH(QString, variant);
    QVERIFY2(row.fields.size() >= 5, "tests/data/hidlink.rows is missing, empty or has a short row");
    const QStringList mouse = row.field(0).split(' ');
    const QString fault = mouse.value(2) == "gun" ? QString() : mouse.value(2);
    ViewRigOptions options;
    options.family = commandSetOf(mouse.value(0));
    options.mouseKeys = {{"isGun", mouse.contains("gun") ? "true" : "false"}};
    options.device = testMouseRecord(variant == "scrambled", hostCode, mouse.value(1).toInt());
    options.deviceTable = otherTable;
    // Busy and unplugged, nothing reaches the mouse: those rows share one rig
    // per family, with the device entry made anew.
    const bool silent = variant == "busy" || variant == "unplugged";
    std::unique_ptr<ViewRig> own;
    std::unique_ptr<ViewRig>& holder = silent ? m_silentRigs[mouse.value(0)] : own;
    if (!holder)
        holder = std::make_unique<ViewRig>(options);
    ViewRig& rig = *holder;
    Hid_Thread& hid = rig.hid();
    hid.setScrambleTable(otherTable);
    secrecyKey = *HidCodec::keyFromCode(hostCode);
    const qint64 start = rig.clock.nowMs();
    if (silent) {
        rig.trace.buffer().clear();
        rig.trace.seek(0);
        rig.mouse->plug();
        DeviceRecord entry = options.device;
        entry.primaryPath = QString::fromLatin1(rig.mouse->commandPath());
        entry.secondaryPath = QString::fromLatin1(rig.mouse->eventPath());
        rig.session->useDevice(entry);
    }

    const QString kind = fault.section('@', 0, 0);
    if (kind == "setfail")
        rig.mouse->failNextSetFeatures(1);
    if (kind == "writefail")
        rig.mouse->failNextWrites(1);
    const QStringList readFaults{"short", "late", "unplug"}; // in ReadFault's order
    if (readFaults.contains(kind))
        rig.mouse->faultReadAfter(fault.section('@', 1).toInt(), VirtualMouse::ReadFault(readFaults.indexOf(kind)));
    hid.hidReady = variant != "busy";
    if (variant == "unplugged")
        rig.mouse->unplug();

    const Call call(row.field(1));
    QByteArray values = call.values, block = call.block;
    MessageLog log;
    QVERIFY2(invoke(hid, call.name, values, block), "no such slot, or not its count of values");

    if (silent) {
        const bool own = variant == "unplugged" && row.fields.size() > 7;
        QCOMPARE(values.toHex(' '), (own ? hexBytes(row.field(7)) : call.values).toHex(' '));
        QCOMPARE(block, call.block);
    }
    if (variant == "busy") {
        QCOMPARE(rig.trace.data(), QByteArray());
        QCOMPARE(log.lines().filter("cmd Failed"), QStringList{row.field(6)});
        QCOMPARE(rig.clock.nowMs() - start, 255 * 8);
        return;
    }
    if (variant == "unplugged") {
        QVERIFY(hid.deviceList.first().primaryPath.isEmpty());
        QVERIFY(!hid.deviceList.first().secondaryPath.isEmpty());
        QVERIFY(log.lines().filter("permission denied").isEmpty());
        rig.mouse->plug();
        QVERIFY(invoke(hid, call.name, values, block));
        QCOMPARE(rig.trace.data().count('\n'), 1);
        QVERIFY(rig.trace.data().endsWith(" cmd open-fail\n"));
        QVERIFY(hid.hidReady);
        return;
    }

    const int reportLength = HidCodec::usableReportLength(mouse.value(1).toInt());
    QCOMPARE(transfers(rig.trace.data()),
             expectedTransfers(row.field(2), call.block, reportLength, variant == "scrambled"));
    const QList<QByteArray> lines = rig.trace.data().split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray op = lines[i].split(' ').value(2);
        if (op == "set_feature" || op == "get_feature" || op == "write" || op.startsWith("read"))
            QVERIFY2(lines.value(i - 1).endsWith(" open-ok"), lines[i].constData());
    }
    QCOMPARE(rig.trace.data().count(" open-ok"), rig.trace.data().count(" close"));
    QCOMPARE(rig.clock.nowMs(), row.field(3).toLongLong());
    if (!row.field(4).isEmpty()) {
        QCOMPARE(values.toHex(' '), hexBytes(QString(row.field(4)).remove('*')).toHex(' '));
        if (row.field(4).contains('*'))
            QCOMPARE(block.toHex(' '), call.block.toHex(' '));
    }
    QVERIFY(hid.hidReady);
    QCOMPARE(hid.deviceList.first().primaryPath.isEmpty(), fault.startsWith("unplug"));
    QVERIFY2(rig.mouse->protocolErrors() == 0, qPrintable(rig.mouse->protocolErrorMessages().join("; ")));

    if (!fault.isEmpty()) {
        values = call.values;
        QVERIFY(invoke(hid, call.name, values, block));
    }
    const QJsonObject state = rig.mouse->stateJson();
    for (const QString& item : row.field(5).split(',', Qt::SkipEmptyParts)) {
        const QString value = item.section('=', 1).trimmed();
        QCOMPARE(stateBytes(state, item.section('=', 0, 0).trimmed()).toHex(' '),
                 (value == "block" ? block : hexBytes(value)).toHex(' '));
    }
}

// The writer's queue: an operation with a key supersedes a waiting one with
// the same key posted after the last one without ("-"), and goes last.
void TestHidLink::queueSupersedes_data()
{
    QTest::addColumn<QString>("posted");
    QTest::addColumn<QString>("waiting");
    QTest::newRow("the same in a row") << "a,a,a"
                                       << "a";
    QTest::newRow("the last state goes last") << "a,b,a"
                                              << "b,a";
    QTest::newRow("a read in between") << "a,-,a"
                                       << "a,-,a";
    QTest::newRow("only after the last read") << "a,-,b,a,b"
                                              << "a,-,a,b";
    QTest::newRow("two of each") << "a,b,c,a,b"
                                 << "c,a,b";
    QTest::newRow("reads stay") << "-,-"
                                << "-,-";
}

void TestHidLink::queueSupersedes()
{
    QFETCH(QString, posted);
    QFETCH(QString, waiting);
    CommandQueue queue;
    int superseded = 0;
    for (const QString& key : posted.split(','))
        superseded += queue.push({key == "-" ? QString() : key, [] {}});
    QCOMPARE(queue.keys().join(','), waiting);
    QCOMPARE(superseded, posted.count(',') - waiting.count(','));
}

namespace {

using ViewOperation = std::function<void(ViewRig&)>;

// What the view sends in a row: a DPI table superseded by a later one,
// lighting, a macro, the current stage; and two faults.
const QMap<QString, ViewOperation>& viewOperations()
{
    static const QMap<QString, ViewOperation> operations{
        {"dpiA",
         [](ViewRig& r) {
             r.view().mouseSetDpi(4, "3327", {400, 800, 1600, 3200, 0, 0, 0, 0});
         }},
        {"dpiB",
         [](ViewRig& r) {
             r.view().mouseSetDpi(3, "3327", {500, 1000, 2000, 0, 0, 0, 0, 0});
         }},
        {"effect", [](ViewRig& r) { r.view().mouseSetRGBEffect(1, 2, 3); }},
        {"macro",
         [](ViewRig& r) {
             r.view().mouseSendMacroData({1, 2, 3, 4, 5}, 0);
         }},
        {"stage", [](ViewRig& r) { r.view().mouseSetCurrentDPI(2); }},
        {"unplug", [](ViewRig& r) { r.hid().post({}, [&r] { r.mouse->unplug(); }); }},
        {"failWrite", [](ViewRig& r) { r.hid().post({}, [&r] { r.mouse->failNextWrites(1); }); }},
    };
    return operations;
}

// The rig after operations, run by the writer thread (held until all are
// posted) or at once on this thread. A last "quit" ends the session instead
// of waiting for the writer, as quitting the program does.
std::unique_ptr<ViewRig> runOperations(const QString& icType, const QString& operations, bool writer)
{
    auto rig = std::make_unique<ViewRig>(ViewRig::MouseKeys{{"icType", icType}});
    std::promise<void> gate;
    if (writer) {
        rig->hid().startWriter();
        rig->hid().post({}, [opened = gate.get_future().share()] { opened.wait(); });
        if (!rig->session->status().writing())
            return nullptr;
    }
    QStringList names = operations.split(',');
    const bool quit = names.last() == "quit";
    if (quit)
        names.removeLast();
    for (const QString& name : names)
        viewOperations()[name](*rig);
    gate.set_value();
    if (quit)
        rig->session.reset();
    else
        rig->hid().call([] {});
    return rig;
}

} // namespace

// The writer sends exactly what the same operations send at once, less what
// a later one superseded; the mouse ends up the same and the busy state ends.
// A mouse gone drops what waits, with a line; a block broken off is said;
// quitting sends what waits.
void TestHidLink::writerSendsInOrder_data()
{
    QTest::addColumn<QString>("icType");
    QTest::addColumn<QString>("posted");
    QTest::addColumn<QString>("sent"); // what the same sends at once
    QTest::addColumn<QString>("line");
    for (const char* icType : {"553", "560"}) {
        QTest::addRow("%s, superseded", icType) << icType << "dpiA,effect,macro,dpiB,stage"
                                                << "effect,macro,dpiB,stage"
                                                << "";
        QTest::addRow("%s, unplugged between", icType) << icType << "dpiA,unplug,effect,macro,stage"
                                                       << "dpiA,unplug,effect"
                                                       << "no mouse to send to: 2 queued operations dropped";
    }
    QTest::addRow("560, quit while sending") << "560"
                                             << "dpiA,effect,macro,quit"
                                             << "dpiA,effect,macro"
                                             << "";
    QTest::addRow("553, a write fails") << "553"
                                        << "failWrite,macro,stage"
                                        << "failWrite,macro,stage"
                                        << "command 13: block broken off after 0 of 4 output reports";
}

void TestHidLink::writerSendsInOrder()
{
    QFETCH(QString, icType);
    QFETCH(QString, posted);
    QFETCH(QString, sent);
    QFETCH(QString, line);
    MessageLog log;
    const std::unique_ptr<ViewRig> threaded = runOperations(icType, posted, true);
    QVERIFY(threaded);
    QVERIFY(!threaded->session || !threaded->session->status().writing());
    QVERIFY(line.isEmpty() || log.count(line) == 1);
    const std::unique_ptr<ViewRig> direct = runOperations(icType, sent, false);
    QCOMPARE(transfers(threaded->trace.data()), transfers(direct->trace.data()));
    QCOMPARE(threaded->mouse->stateJson(), direct->mouse->stateJson());
    // A block broken off is the one error the mouse may see.
    QCOMPARE(threaded->mouse->protocolErrors(), posted.contains("failWrite") ? 1 : 0);
}

// The trace's time column: virtual milliseconds, one decimal.
void TestHidLink::traceTime()
{
    const std::uint8_t report[] = {6, 7, 0, 3};
    QCOMPARE(TracingHidBackend::formatLine(2.06, HidRole::Event, "read", report, 4), "2.1 evt read 06 07 00 03");
    QCOMPARE(TracingHidBackend::formatLine(1523.44, HidRole::Command, "open-fail", nullptr, 0), "1523.4 cmd open-fail");
}

// The handshake runs command set 553's echo on every device; with scrambling
// it passes only when both sides use the same code and table.
void TestHidLink::handshake()
{
    FETCH_DATA_ROW(row);
    QVERIFY(row.fields.size() == 7);
    const bool isEncode = row.field(2) == "scrambled";
    const QString fault = row.field(5);
    ViewRigOptions options;
    options.family = commandSetOf(row.field(1));
    options.device = testMouseRecord(isEncode);
    options.entry = testMouseRecord(isEncode, row.field(3));
    options.deviceTable = row.field(4) == "other" ? otherTable : HidCodec::defaultScrambleTable;
    ViewRig rig(options);
    secrecyKey = *HidCodec::keyFromCode(QStringLiteral("582910"));
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
void TestHidLink::reportLengthBoundaries()
{
    FETCH_DATA_ROW(row);
    ViewRigOptions options;
    options.family = CommandSet::Set560;
    options.device = testMouseRecord(false, "582910", row.field(1).toInt());
    ViewRig rig(options);
    QByteArray image = pattern(128);
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
void TestHidLink::listenerKeepsInterfaceOpen()
{
    ViewRig rig; // the shipped data's command set, 553
    Hid_Thread& hid = rig.hid();
    QList<int> stages;
    int gone = 0;
    hid.setListenerSink({[&](int stage) { stages.append(stage); }, [&] { ++gone; }});
    const auto stop = qScopeGuard([&] {
        hid.stopListener();
        hid.waitForListener();
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
    hid.waitForListener();
    QCOMPARE(rig.trace.data().count(" evt open-ok"), 1);
    QCOMPARE(rig.trace.data().count(" evt open-fail"), 1);
}

QTEST_GUILESS_MAIN(TestHidLink)
#include "tst_hidlink.moc"
