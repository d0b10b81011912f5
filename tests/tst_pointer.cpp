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

// The three operations as the rows name them, and the line each writes when
// it was not applied.
const QStringList names{"speed", "double-click", "lines"};
void (ViewCore::*const operations[])(uint) = {&ViewCore::mouseSetCursorSpeed, &ViewCore::mouseSetDoubleClickSpeed,
                                              &ViewCore::mouseSetVerticalScrollLines};
const char* const failures[] = {"setCursorSpeed Failed", "setDoubleClickSpeed Failed", "setVerticalScrollLines Failed"};

struct GObjectUnref
{
    void operator()(gpointer object) const { g_object_unref(object); }
};

} // namespace

class TestPointer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Before any GSettings use: nothing reaches the desktop of the machine.
    void initTestCase() { qputenv("GSETTINGS_BACKEND", "memory"); }
    void init() { secrecyKey = {}; }
    void cleanup() { PointerSettings::setDefault(nullptr); }
    void pointerSettings_data() { addDataRows("pointer-settings.rows"); }
    void pointerSettings();
    void sendGundata_data() { addDataRows("pointer.rows"); }
    void sendGundata();
    void gunFileOperations();
};

void TestPointer::pointerSettings()
{
    ROW_FIELDS(f, 6);
    const int op = int(names.indexOf(f[1]));
    const uint step = f[2].toUInt();
    QVERIFY(op >= 0);
    TestDataFolder folder;
    ViewCore view;
    for (const bool applied : {true, false}) {
        FakePointerSettings fake;
        fake.speedResult = fake.doubleClickResult = fake.wheelLinesResult = applied;
        PointerSettings::setDefault(&fake);
        MessageLog log;
        (view.*operations[op])(step);
        const std::optional<quint32> given[] = {fake.speed, fake.doubleClickTime, fake.wheelLines};
        QCOMPARE(given[op], std::optional<quint32>(f[3].toUInt()));
        QCOMPARE(log.lines(), applied ? QStringList() : QStringList{failures[op]});
    }
    PointerSettings::setDefault(nullptr);

    if (!GSettingsPointerSettings::schemaInstalled())
        QSKIP("GNOME's mouse settings schema is not installed");
    const std::unique_ptr<GSettings, GObjectUnref> settings(g_settings_new(GSettingsPointerSettings::schemaId));
    g_settings_reset(settings.get(), "speed");
    g_settings_reset(settings.get(), "double-click");
    MessageLog log;
    (view.*operations[op])(step);
    QCOMPARE(log.count(failures[op]), f[5] == "true" ? 0 : 1);
    if (f[1] == "speed")
        QCOMPARE(g_settings_get_double(settings.get(), "speed"), f[4].toDouble());
    if (f[1] == "double-click")
        QCOMPARE(g_settings_get_int(settings.get(), "double-click"), f[4].toInt());
}

void TestPointer::sendGundata()
{
    ROW_FIELDS(f, 9);
    ViewRigOptions options;
    options.mouseKeys = {{"icType", f[2]}, {"isGun", f[3]}};
    options.family = commandSetOf(f[1]);
    ViewRig rig(options);
    VirtualMouse::State state = rig.mouse->state();
    state.keyboardOption = {0, 0, std::uint8_t(f[4].toInt()), 0};
    rig.mouse->setState(state);
    DpiCodes::ProfileImages* images = rig.images();
    if (images)
        for (auto& img : *images)
            img.fill(0xFF);
    const QJsonObject before = rig.mouse->stateJson();

    rig.view().mouseSendGundata(f[5].toInt(), rowValues(f[6]));

    QCOMPARE(receivedFrames(*rig.mouse, f[7]), f[7]);
    const QString difference = stateDifference(changedState(before, f[8]), rig.mouse->stateJson());
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    // The image sent is the unit's, which keeps it; the others are untouched.
    if (!images)
        return;
    VirtualMouse::Block128 untouched;
    untouched.fill(0xFF);
    const VirtualMouse::State after = rig.mouse->state();
    for (std::size_t n = 0; n < 5; ++n)
        QCOMPARE((*images)[n], after.profiles[n] != state.profiles[n] ? after.profiles[n] : untouched);
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
