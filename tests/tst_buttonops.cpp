#include "TestSupport.h"
#include "ViewRig.h"

#include <QRegularExpression>
#include <QTest>

#include <functional>
#include <memory>

// The button operations of the view against the virtual mouse: what goes over
// the wire, what the firmware holds afterwards, what the profile keeps.
namespace {

// The view rig with the family icType selects; profile, when given,
// replaces p1.bin. The mouse starts with current matrix and profile 3, so
// that a switch shows.
struct Rig : ViewRig
{
    explicit Rig(const QString& icType, bool isGun = true, const QByteArray& profile = {})
        : ViewRig(withKeys({{"icType", icType}, {"isGun", isGun ? "true" : "false"}}, profile))
    {
        VirtualMouse::State state = mouse->state();
        state.keyMatrix = state.profile = 3;
        mouse->setState(state);
    }

    // Command byte and first argument of every frame: "12 01, 02 01".
    QString frames() const
    {
        QStringList out;
        for (const QByteArray& f : mouse->receivedFrames())
            out << QString::fromLatin1(f.left(2).toHex(' '));
        return out.join(", ");
    }
};

// Page values from hex, one int per byte.
QVariantList values(const QByteArray& hex)
{
    QVariantList out;
    for (char b : QByteArray::fromHex(hex))
        out << int(uchar(b));
    return out;
}

// The shipped assignment: buttons 5 and 6 DPI+ and DPI-, 7 double click.
const QByteArray shippedPage = "0000f0000000f1000000f2000000f4000000f300050001000500020000f01e02"
                               "000000000000000000000000000000000000000000000000ff000100ff000200";

// "m:e=bytes" items: entry e of key matrix m (1..4) on the mouse is bytes.
void checkMatrices(const VirtualMouse::State& state, const QString& expected)
{
    for (const QString& item : expected.split(' ', Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(QRegularExpression("[:=]"));
        const auto& block = state.keyMatrices[parts[0].toUInt() - 1];
        const QByteArray actual(reinterpret_cast<const char*>(block.data()) + 4 * parts[1].toInt(), 4);
        QVERIFY2(actual.toHex() == parts[2].toLatin1(), qPrintable(item + " is " + actual.toHex()));
    }
}

using Call = std::function<void(ViewCore&)>;

} // namespace

Q_DECLARE_METATYPE(Call)

class Test_buttonops : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void save_data();
    void save();
    void commands_data();
    void commands();
    void keydefine_data();
    void keydefine();
    void withoutDevice();
};

void Test_buttonops::save_data()
{
    QTest::addColumn<QString>("icType");
    QTest::addColumn<bool>("isGun");
    QTest::addColumn<QVariantList>("src64");
    QTest::addColumn<bool>("isSendData");
    QTest::addColumn<QVariantList>("otherParam");
    QTest::addColumn<QString>("frames");
    QTest::addColumn<int>("current"); // 553 current matrix or 560 profile afterwards
    QTest::addColumn<QString>("matrices");
    QTest::addColumn<int>("mask"); // profile block 0 byte 2, -1 unchanged
    QTest::addColumn<bool>("logged");

    const QVariantList shipped = values(shippedPage);
    QVariantList gun = shipped;
    gun[4] = 8;
    gun[6] = 2;
    const QVariantList periods{10, "20", 30};
    const QString moved = "1:0=0100f000 1:6=07000100 1:7=07000200 1:8=0c000000 1:9=0d000000 1:14=04000100 ";
    const QString slots560 = "0c 00, 0d 01, 0d 02, 0d 03, 0d 04, 02 01";
    const QString gunSlots = "2:0=0b000a00 3:0=0b011400 4:0=0b021e00 ";
    auto row = [](const char* name, const char* icType, bool isGun, const QVariantList& src64, bool isSendData,
                  const QVariantList& otherParam) -> QTestData& {
        return QTest::newRow(name) << QString(icType) << isGun << src64 << isSendData << otherParam;
    };
    row("553", "553", true, shipped, true, periods) << "12 01" << 3 << moved + "1:5=08000300" << -1 << false;
    row("unknown family is 553", "", true, shipped, true, periods) << "12 01" << 3 << moved + "1:5=08000300" << -1
                                                                    << false;
    row("560", "560", true, shipped, true, periods) << "0d 01" << 3 << moved + "1:5=0f000300" << -1 << false;
    row("553 two guns", "553", true, gun, true, periods)
        << "12 01, 12 02, 12 03, 12 04, 02 01" << 1
        << gunSlots + moved + "1:1=08000101 2:1=08000102 3:1=08000100 4:1=08000100 4:5=08000300 4:7=07000200" << -1
        << false;
    row("560 two guns", "560", true, gun, true, periods)
        << slots560 << 1 << gunSlots + moved + "1:1=08000100 2:1=08000300 3:1=08000000 4:1=08000000 4:5=0f000300"
        << 0x0F << false;
    // The gun flag only shapes the pages; a gun entry is sent the same way.
    row("560 two guns, no gun flag", "560", false, gun, true, periods) << slots560 << 1 << gunSlots << 0x0F << false;
    row("553 two guns without periods", "553", true, gun, true, {"x"})
        << "12 01, 12 02, 12 03, 12 04, 02 01" << 1 << "2:0=0b000000 3:0=0b010000 4:0=0b020000" << -1 << true;

    row("not sent", "560", true, gun, false, periods) << "" << 3 << "" << -1 << false;
    QVariantList text = shipped;
    text[12] = "abc";
    text[13] = 300;
    text[14] = "241";
    text[19] = -1;
    row("texts, big and negative values", "553", true, text, true, {})
        << "12 01" << 3 << "1:3=012cf100 1:4=0100f3ff" << -1 << true;
    row("short list", "553", true, shipped.mid(0, 15), true, {})
        << "12 01" << 3 << "1:3=0100f400 1:4=01000000 1:15=01000000" << -1 << true;
    row("long list", "553", true, QVariantList(shipped) << 8 << 0 << 2 << 0, true, {})
        << "12 01" << 3 << "1:15=04000200" << -1 << true;
}

void Test_buttonops::save()
{
    QFETCH(QString, icType);
    QFETCH(bool, isGun);
    QFETCH(QVariantList, src64);
    QFETCH(bool, isSendData);
    QFETCH(QVariantList, otherParam);
    QFETCH(QString, frames);
    QFETCH(int, current);
    QFETCH(QString, matrices);
    QFETCH(int, mask);
    QFETCH(bool, logged);

    Rig rig(icType, isGun);
    if (icType == "560")
        rig.view().mouseReadProfile(0); // image 0 as the device holds it
    const VirtualMouse::State before = rig.mouse->state();
    rig.mouse->clearReceived();
    MessageLog log;
    rig.view().mouseSetKeyMatrix(src64, isSendData, otherParam);

    QCOMPARE(rig.frames(), frames);
    QCOMPARE(rig.mouse->protocolErrors(), 0);
    const VirtualMouse::State after = rig.mouse->state();
    checkMatrices(after, matrices);
    QCOMPARE(int(icType == "560" ? after.profile : after.keyMatrix), current);
    for (int m = 1; m < 4 && current == 3; ++m)
        QCOMPARE(after.keyMatrices[m], before.keyMatrices[m]);
    auto image0 = before.profiles[0];
    if (mask >= 0)
        image0[2] = uchar(mask);
    QCOMPARE(after.profiles[0], image0);
    for (int i = 0; i < 16; ++i) {
        QVariantList entry = src64.mid(4 * i, 4);
        while (entry.size() < 4)
            entry << 0;
        QCOMPARE(rig.view().store().getDataList(QString("mouseKeyMatrix/%1").arg(i), false), entry);
    }
    QCOMPARE(!log.lines().filter("mouseSetKeyMatrix").isEmpty(), logged);
}

void Test_buttonops::commands_data()
{
    QTest::addColumn<QString>("icType");
    QTest::addColumn<QByteArray>("profile"); // p1.bin, empty: the shipped one
    QTest::addColumn<Call>("call");
    QTest::addColumn<QString>("frames");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("matrices");

    auto toMatrix = [](int n) { return Call([n](ViewCore& v) { v.mouseSwitchKeyMatrix(n); }); };
    QTest::newRow("560 switch to 1") << "560" << QByteArray() << toMatrix(1) << "02 01" << 1 << "";
    QTest::newRow("560 switch to 4") << "560" << QByteArray() << toMatrix(4) << "02 04" << 4 << "";
    QTest::newRow("553 switch to 1") << "553" << QByteArray() << toMatrix(1) << "02 00" << 0 << "";
    QTest::newRow("553 switch to 4") << "553" << QByteArray() << toMatrix(4) << "02 03" << 3 << "";
    QTest::newRow("553 switch to 0") << "553" << QByteArray() << toMatrix(0) << "" << 3 << "";
    QTest::newRow("560 switch to 5") << "560" << QByteArray() << toMatrix(5) << "" << 3 << "";
    QTest::newRow("553 switch to 257") << "553" << QByteArray() << toMatrix(257) << "" << 3 << "";

    const Call reset = [](ViewCore& v) { v.mouseResetKeyMatrix(); };
    const QString firmware = "2:0=0100f000 2:4=0100f300 3:5=08000300 3:7=07000200 4:8=0c000000 4:15=04000200";
    QTest::newRow("553 reset") << "553" << QByteArray() << reset << "12 02, 12 03, 12 04" << 3 << firmware;
    QTest::newRow("560 reset") << "560" << QByteArray() << reset << "0d 02, 0d 03, 0d 04" << 3 << firmware;
    QTest::newRow("reset with short, missing and bad entries")
        << "553" << QByteArray("[mouseFwKeyMatrix]\n0=1, 0, 240\n2=x, 1, 2, 3\n3=1, 2, 3, 4, 5\n") << reset
        << "12 02, 12 03, 12 04" << 3 << "2:0=0100f000 2:1=00000000 2:2=00010203 3:3=01020304 4:15=00000000";
    QTest::newRow("reset without firmware matrix") << "560" << QByteArray("[mouse]\nreportRate=3\n") << reset << ""
                                                   << 3 << "";
}

void Test_buttonops::commands()
{
    QFETCH(QString, icType);
    QFETCH(QByteArray, profile);
    QFETCH(Call, call);
    QFETCH(QString, frames);
    QFETCH(int, current);
    QFETCH(QString, matrices);

    Rig rig(icType, true, profile);
    const VirtualMouse::State before = rig.mouse->state();
    call(rig.view());
    QCOMPARE(rig.frames(), frames);
    QCOMPARE(rig.mouse->protocolErrors(), 0);
    const VirtualMouse::State after = rig.mouse->state();
    QCOMPARE(int(icType == "560" ? after.profile : after.keyMatrix), current);
    QCOMPARE(after.keyMatrices[0], before.keyMatrices[0]);
    checkMatrices(after, matrices);
}

void Test_buttonops::keydefine_data()
{
    QTest::addColumn<QVariant>("index");
    QTest::addColumn<bool>("isRecovery");
    QTest::addColumn<QVariantList>("expected");

    const QVariantList macro{"4", "1", "3", "0"};
    QTest::newRow("current") << QVariant(3) << false << macro;
    QTest::newRow("factory") << QVariant(3) << true << QVariantList{"0", "0", "244", "0"};
    QTest::newRow("index as text") << QVariant("3") << false << macro;
    QTest::newRow("index as double") << QVariant(3.0) << false << macro;
    QTest::newRow("short entry") << QVariant(5) << false << QVariantList{"5", "0", 0, 0};
    QTest::newRow("absent key") << QVariant(12) << false << QVariantList{};
    QTest::newRow("index 16") << QVariant(16) << true << QVariantList{};
    QTest::newRow("index -1") << QVariant(-1) << false << QVariantList{};
    QTest::newRow("index not a number") << QVariant("../3") << false << QVariantList{};
    QTest::newRow("undefined index") << QVariant() << true << QVariantList{};
}

void Test_buttonops::keydefine()
{
    QFETCH(QVariant, index);
    QFETCH(bool, isRecovery);
    QFETCH(QVariantList, expected);

    Rig rig("553", true, "[mouseKeyMatrix]\n3=4, 1, 3, 0\n5=5, 0\n");
    QCOMPARE(rig.view().mouseGetKeydefine(index, isRecovery), expected);
}

void Test_buttonops::withoutDevice()
{
    Rig rig("560");
    rig.view().hid = nullptr;
    QVariantList page = values(shippedPage);
    page[6] = 3;
    page[4] = 8;
    rig.view().mouseSetKeyMatrix(page, true, {1, 2, 3});
    rig.view().mouseResetKeyMatrix();
    rig.view().mouseSwitchKeyMatrix(2);
    QCOMPARE(rig.frames(), QString());
    QCOMPARE(rig.view().profileImages[0][2], uchar(0x1F));
    QCOMPARE(rig.view().mouseGetKeydefine(1, false), page.mid(4, 4));
}

QTEST_GUILESS_MAIN(Test_buttonops)
#include "tst_buttonops.moc"
