// GDBus declares struct members named "signals", which Qt defines: GIO first.
#include <gio/gio.h>

#include "PointerSettings.h"
#include "TestSupport.h"
#include "ViewRig.h"

#include <QTest>

#include <memory>

// The pointer-setting operations (arithmetic and failure lines with the fake,
// GNOME's settings through GSettings' memory backend), the gun slot transfer
// through the virtual mouse, and the view's gun file operations.
namespace {

// The three operations, and the line each writes when it was not applied.
enum { Speed, DoubleClick, Lines };
const char* const failures[] = {"setCursorSpeed Failed", "setDoubleClickSpeed Failed", "setVerticalScrollLines Failed"};

void apply(ViewCore& view, int op, uint step)
{
    if (op == Speed)
        view.mouseSetCursorSpeed(step);
    else if (op == DoubleClick)
        view.mouseSetDoubleClickSpeed(step);
    else
        view.mouseSetVerticalScrollLines(step);
}

struct GObjectUnref
{
    void operator()(gpointer object) const { g_object_unref(object); }
};

// One gun slot transfer and what it leaves behind.
struct GunCase
{
    QString family;
    QString icType;
    bool isGun;
    int option3; // third keyboard-option byte of the mouse
    int slot;
    QVariantList values;
    QStringList frames; // command byte and arguments, hex
    const char* result; // 553: the mouse's gun data; 560: image bytes 65, 78..81 (hex)
    int image = -1;     // 560: the profile image sent
};

} // namespace

Q_DECLARE_METATYPE(GunCase)

class TestPointer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Before any GSettings use: nothing reaches the desktop of the machine.
    void initTestCase() { qputenv("GSETTINGS_BACKEND", "memory"); }
    void init() { secrecyKey = {}; }
    void cleanup() { PointerSettings::setDefault(nullptr); }
    void arithmetic_data();
    void arithmetic();
    void gnomeSettings_data();
    void gnomeSettings();
    void sendGundata_data();
    void sendGundata();
    void gunFileOperations();
};

void TestPointer::arithmetic_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<uint>("step");
    QTest::addColumn<uint>("value");
    QTest::addColumn<bool>("applied");

    QTest::addRow("speed step 0") << int(Speed) << 0u << 1u << true;
    QTest::addRow("speed step 10") << int(Speed) << 10u << 20u << true;
    QTest::addRow("speed product wraps to 0") << int(Speed) << 0x80000000u << 1u << true;
    QTest::addRow("speed not applied") << int(Speed) << 5u << 10u << false;
    QTest::addRow("double-click step 0") << int(DoubleClick) << 0u << 900u << true;
    QTest::addRow("double-click step 10") << int(DoubleClick) << 10u << 200u << true;
    QTest::addRow("double-click step 13 wraps") << int(DoubleClick) << 13u << 0xFFFFFFF6u << true;
    QTest::addRow("double-click not applied") << int(DoubleClick) << 3u << 690u << false;
    QTest::addRow("one screen of lines") << int(Lines) << 1000u << 1000u << true;
    QTest::addRow("lines not applied") << int(Lines) << 3u << 3u << false;
}

void TestPointer::arithmetic()
{
    QFETCH(int, op);
    QFETCH(uint, step);
    QFETCH(uint, value);
    QFETCH(bool, applied);

    TestDataFolder folder;
    ViewCore view;
    FakePointerSettings fake;
    fake.speedResult = fake.doubleClickResult = fake.wheelLinesResult = applied;
    PointerSettings::setDefault(&fake);
    MessageLog log;
    apply(view, op, step);

    const std::optional<quint32> given[] = {fake.speed, fake.doubleClickTime, fake.wheelLines};
    QCOMPARE(given[op], std::optional<quint32>(value));
    QCOMPARE(log.lines(), applied ? QStringList() : QStringList{failures[op]});
}

void TestPointer::gnomeSettings_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<uint>("step");
    QTest::addColumn<double>("value"); // what the key holds afterwards
    QTest::addColumn<bool>("applied");

    QTest::addRow("slowest") << int(Speed) << 0u << -0.9 << true;
    QTest::addRow("fastest") << int(Speed) << 10u << 1.0 << true;
    QTest::addRow("beyond fastest is clamped") << int(Speed) << 40u << 1.0 << true;
    QTest::addRow("900 ms") << int(DoubleClick) << 0u << 900.0 << true;
    QTest::addRow("200 ms") << int(DoubleClick) << 10u << 200.0 << true;
    QTest::addRow("wrapped time is refused") << int(DoubleClick) << 13u << 400.0 << false;
    QTest::addRow("no wheel lines key") << int(Lines) << 3u << 0.0 << false;
}

void TestPointer::gnomeSettings()
{
    QFETCH(int, op);
    QFETCH(uint, step);
    QFETCH(double, value);
    QFETCH(bool, applied);

    if (!GSettingsPointerSettings::schemaInstalled())
        QSKIP("GNOME's mouse settings schema is not installed");
    const std::unique_ptr<GSettings, GObjectUnref> settings(g_settings_new(GSettingsPointerSettings::schemaId));
    g_settings_reset(settings.get(), "speed");
    g_settings_reset(settings.get(), "double-click");

    TestDataFolder folder;
    ViewCore view;
    MessageLog log;
    apply(view, op, step);
    QCOMPARE(log.count(failures[op]), applied ? 0 : 1);
    if (op == Speed)
        QCOMPARE(g_settings_get_double(settings.get(), "speed"), value);
    if (op == DoubleClick)
        QCOMPARE(g_settings_get_int(settings.get(), "double-click"), int(value));
}

void TestPointer::sendGundata_data()
{
    QTest::addColumn<GunCase>("c");

    const QVariantList v = {5, 3, 10};
    const QString get = QStringLiteral("83000000000000");
    auto row = [](const char* name, GunCase c) { QTest::addRow("%s", name) << c; };
    row("553 slot 1", {"553", "553", true, 0, 1, v, {get, "040005030a0000"}, "05030a00"});
    row("553 inverted Y, slot 3", {"553", "553", true, 1, 3, v, {get, "04000503f60200"}, "0503f602"});
    row("empty icType is 553", {"553", "", true, 0, 2, {"255", "64", "64"}, {get, "0400ff40400100"}, "ff404001"});
    row("553 low 8 bits, no numbers", {"553", "553", true, 0, 1, {300, -1, "x"}, {get, "04002cff000000"}, "2cff0000"});
    row("560 slot 1", {"560", "560", true, 0, 1, v, {"0c028000000000"}, "fbf005030a", 2});
    row("560 slot 3, short list", {"560", "560", true, 0, 3, {7}, {"0c048000000000"}, "fbf0070000", 4});
    row("553 not a gun mouse", {"553", "553", false, 0, 1, v, {}, ""});
    row("553 slot 0", {"553", "553", true, 0, 0, v, {}, ""});
    row("560 slot 4", {"560", "560", true, 0, 4, v, {}, ""});
}

void TestPointer::sendGundata()
{
    QFETCH(GunCase, c);
    ViewRigOptions options;
    options.mouseKeys = {{"icType", c.icType}, {"isGun", c.isGun ? "true" : "false"}};
    options.family = c.family;
    ViewRig rig(options);
    VirtualMouse::State before = rig.mouse->state();
    before.keyboardOption = {0, 0, std::uint8_t(c.option3), 0};
    rig.mouse->setState(before);
    for (auto& img : rig.view().profileImages)
        img.fill(0xFF);

    rig.view().mouseSendGundata(c.slot, c.values);

    QStringList sent;
    for (const QByteArray& frame : rig.mouse->receivedFrames())
        sent << QString::fromLatin1(frame.left(7).toHex());
    QCOMPARE(sent, c.frames);
    QVERIFY2(rig.mouse->protocolErrors() == 0, qPrintable(rig.mouse->protocolErrorMessages().join("; ")));
    const VirtualMouse::State after = rig.mouse->state();
    const QByteArray result = QByteArray::fromHex(c.result);
    const bool gunSent = c.family == "553" && !result.isEmpty();
    QCOMPARE(after.gunDataWrites, gunSent ? 1 : 0);
    if (gunSent)
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(after.gunData.data()), 4), result);
    for (int n = 0; n < 5; ++n) {
        const auto& img = rig.view().profileImages[std::size_t(n)];
        if (n == c.image) {
            const char got[] = {char(img[65]), char(img[78]), char(img[79]), char(img[80]), char(img[81])};
            QCOMPARE(QByteArray(got, 5), result);
            QCOMPARE(int(std::count(img.begin(), img.end(), uchar(0xFF))), 128 - 5);
            QCOMPARE(after.profiles[std::size_t(n)], img);
        } else {
            QVERIFY(std::all_of(img.begin(), img.end(), [](uchar b) { return b == 0xFF; }));
            QCOMPARE(after.profiles[std::size_t(n)], before.profiles[std::size_t(n)]);
        }
    }
}

void TestPointer::gunFileOperations()
{
    TestDataFolder folder;
    ViewCore view;
    QCOMPARE(view.getGunData(1).value(0).toString(), QStringLiteral("AKM"));
    view.mouseSaveGundata(2, {"G", "K", 9, 0, 5, 0});
    QCOMPARE(view.getGunData(2).value(0).toString(), QStringLiteral("G"));
    view.modifyGundata(1, {"new", "K", 9, 0, 5, 0, "2"});
    QCOMPARE(view.getGunDataKey(), (QStringList{"0", "1", "3", "4", "5", "new"}));
    view.modifyGundata(0, {"new"});
    QCOMPARE(view.getGunData("new"), QVariantList());
}

QTEST_GUILESS_MAIN(TestPointer)
#include "tst_pointer.moc"
