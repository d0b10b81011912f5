#include "TestSupport.h"
#include "ViewRig.h"

#include <QTest>

#include <functional>
#include <memory>

// The DPI, lighting, report-rate and option operations of the view against
// the virtual mouse: the frames each sends, what the firmware keeps, and no
// protocol error on either family.
namespace {

using State = VirtualMouse::State;
using Block = VirtualMouse::Block128;

struct Device
{
    const char* family = "553";
    bool isColorful = false;
    bool isGun = false;
    bool is55328 = false;
    bool is571 = false;
};

// The view rig with the flags device names; the view holds the mouse's
// profile blocks as read at detection.
struct Rig : ViewRig
{
    explicit Rig(const Device& d)
        : ViewRig(MouseKeys{{"icType", d.family},
                            {"isColorful", flag(d.isColorful)},
                            {"isGun", flag(d.isGun)},
                            {"is55328", flag(d.is55328)},
                            {"is571", flag(d.is571)}})
    {
        for (std::size_t n = 0; n < 5; ++n)
            view().profileImages[n] = mouse->state().profiles[n];
    }

    static QString flag(bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); }

    // The received frames, each cut to the length of its expected prefix.
    QStringList frames(const QStringList& expected) const
    {
        QStringList hex;
        const QList<QByteArray> received = mouse->receivedFrames();
        for (qsizetype i = 0; i < received.size(); ++i)
            hex << QString::fromLatin1(received[i].toHex()).left(i < expected.size() ? expected[i].size() : 16);
        return hex;
    }
};

// True when only the blocks in which (by profile number) changed, and in
// them only the positions at, which hold values.
bool blocksChanged(const State& before, const State& after, const QList<int>& which, const QList<int>& at,
                   const QList<int>& values)
{
    for (std::size_t n = 0; n < 5; ++n) {
        for (int i = 0; i < 128; ++i) {
            const qsizetype k = which.contains(int(n)) ? at.indexOf(i) : -1;
            const int expected = k >= 0 ? values.value(k) : before.profiles[n][std::size_t(i)];
            if (after.profiles[n][std::size_t(i)] != expected)
                return false;
        }
    }
    return true;
}

QList<int> range(int from, int to)
{
    QList<int> r;
    for (int i = from; i <= to; ++i)
        r << i;
    return r;
}

QVariantList numbers(int from, int count)
{
    QVariantList list;
    for (int i = 0; i < count; ++i)
        list << from + i;
    return list;
}

template <std::size_t N>
QList<int> ints(const std::array<std::uint8_t, N>& a)
{
    return QList<int>(a.begin(), a.end());
}

using Op = std::function<QVariant(ViewCore&)>;
using Check = std::function<bool(const State& before, const State& after, const ViewCore& view)>;

const QVariantList dpi8{500, 1000, 1500, 2000, 3000, 4000, 5000, 6000}; // "3360": 4, 9, 14, 19, 29, 39, 49, 59
const QList<int> codes8{4, 9, 14, 19, 29, 39, 49, 59};
const QList<int> dpiBlock = codes8 + codes8 + QList<int>{0x0F};

} // namespace

Q_DECLARE_METATYPE(Device)
Q_DECLARE_METATYPE(Op)
Q_DECLARE_METATYPE(Check)

class TestDpiLightOps : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void operations_data();
    void operations();
    void noDevice_data();
    void noDevice();
};

void TestDpiLightOps::operations_data()
{
    QTest::addColumn<Device>("device");
    QTest::addColumn<Op>("op");
    QTest::addColumn<QStringList>("frames"); // hex prefixes, in order
    QTest::addColumn<QVariant>("result");    // invalid: not checked
    QTest::addColumn<Check>("check");

    const Device d553, d560{"560"}, gun560{"560", false, true}, colourful553{"553", true};
    const Device v2553{"553", true, false, false, true}, p55328{"553", false, false, true};
    const auto row = [](const char* name, Device d, Op op, QStringList frames, Check check, QVariant result = {}) {
        QTest::newRow(name) << d << op << frames << result << check;
    };
    const auto act = [](std::function<void(ViewCore&)> f) -> Op {
        return [f](ViewCore& v) {
            f(v);
            return QVariant();
        };
    };
    const auto same = [](auto& b, auto& a, auto&) { return a == b; };
    QVariantList colours = numbers(1, 36);
    QVariantList eighthBlack = colours;
    eighthBlack[21] = eighthBlack[22] = eighthBlack[23] = 0;

    // DPI
    row("553 dpi, 4 stages", d553, act([](ViewCore& v) { v.mouseSetDpi(4, "3360", dpi8); }),
        {"110408"}, [](auto&, auto& a, auto&) {
            return a.dpiCount == 4 && ints(a.dpiTable) == codes8.mid(0, 4) + QList<int>(4, 0x80);
        });
    row("560 dpi, no gun", d560, act([](ViewCore& v) { v.mouseSetDpi(4, "3360", dpi8); }),
        {"0c0180"}, [](auto& b, auto& a, auto& v) {
            return blocksChanged(b, a, {1}, range(84, 100), dpiBlock) && v.profileImages[4][100] == 0x0F;
        });
    row("560 dpi, gun, 3389", gun560,
        act([](ViewCore& v) { v.mouseSetDpi(3, "3389", {800, 12800, 16000, 0, 0, 0, 0, 0}); }),
        {"0c0180", "0c0280", "0c0380", "0c0480"}, [](auto& b, auto& a, auto&) {
            const QList<int> codes{16, 0, 64, 0, 0, 0, 0, 0};
            return blocksChanged(b, a, {1, 2, 3, 4}, range(82, 100), QList<int>{6, 6} + codes + codes + QList<int>{7});
        });
    row("553 set stage", d553, act([](ViewCore& v) { v.mouseSetCurrentDPI(3); }), {"0b03"},
        [](auto&, auto& a, auto&) { return a.dpiStage == 3; });
    row("560 set stage, no gun", d560, act([](ViewCore& v) { v.mouseSetCurrentDPI(3); }),
        {"040103", "040203", "040303", "040403"},
        [](auto&, auto& a, auto&) { return ints(a.dpiStages) == QList<int>(4, 3); });
    row("560 set stage, gun", gun560, act([](ViewCore& v) { v.mouseSetCurrentDPI(3); }),
        {"040103"}, [](auto&, auto& a, auto&) { return ints(a.dpiStages) == QList<int>{3, 3, 4, 5}; });
    row("553 stage 9 is not sent", d553, act([](ViewCore& v) { v.mouseSetCurrentDPI(9); }), {}, same);
    row("553 get stage", d553, [](ViewCore& v) { return v.mouseGetCurrentDPI(); }, {"8b"}, same, 2);
    row("560 get stage", d560, [](ViewCore& v) { return v.mouseGetCurrentDPI(); }, {"8401"}, same, 2);

    // Lighting
    row("553 colourful effect", colourful553, act([](ViewCore& v) { v.mouseSetRGBEffect(8, 1, 4); }),
        {"0d08ff11"}, [](auto&, auto& a, auto&) { return ints(a.ledEffect) == QList<int>{8, 0xFF, 17}; });
    row("553 571 effect", v2553, act([](ViewCore& v) { v.mouseSetRGBEffect(21, 1, 2); }),
        {"0d095031"}, [](auto&, auto& a, auto&) { return ints(a.ledEffect) == QList<int>{9, 80, 0x31}; });
    row("553 plain effect", d553, act([](ViewCore& v) { v.mouseSetRGBEffect(4, 2, 0); }),
        {"0d020302"}, [](auto&, auto& a, auto&) { return ints(a.ledEffect) == QList<int>{2, 3, 2}; });
    row("553 plain 55328 effect", p55328, act([](ViewCore& v) { v.mouseSetRGBEffect(4, 2, 0); }),
        {"0d020303"}, [](auto&, auto& a, auto&) { return ints(a.ledEffect) == QList<int>{2, 3, 3}; });
    row("560 plain effect, no gun", d560, act([](ViewCore& v) { v.mouseSetRGBEffect(4, 2, 0); }),
        {"0c0180"}, [](auto& b, auto& a, auto&) { return blocksChanged(b, a, {1}, range(71, 73), {2, 3, 3}); });
    row("560 plain effect, gun", gun560, act([](ViewCore& v) { v.mouseSetRGBEffect(4, 2, 0); }),
        {"0c0180", "0c0280", "0c0380", "0c0480"},
        [](auto& b, auto& a, auto&) { return blocksChanged(b, a, {1, 2, 3, 4}, range(71, 73), {2, 3, 2}); });
    row("560 colourful effect", Device{"560", true}, act([](ViewCore& v) { v.mouseSetRGBEffect(8, 1, 4); }),
        {"0c0180"}, [](auto& b, auto& a, auto&) { return blocksChanged(b, a, {1}, range(71, 73), {8, 0xFF, 17}); });
    row("553 plain colours, twice", d553, act([=](ViewCore& v) { v.mouseSetRGBColor(1, colours); }),
        {"100124", "100124"},
        [](auto&, auto& a, auto&) { return a.colourType == 1 && ints(a.colourTable) == range(1, 36); });
    row("553 55328, eighth colour black", p55328,
        act([=](ViewCore& v) { v.mouseSetRGBColor(0, eighthBlack); }), {"0c010203"},
        [](auto& b, auto& a, auto&) {
            return ints(a.fixedColour) == QList<int>{1, 2, 3} && a.colourTable == b.colourTable;
        });
    row("553 55328, eighth colour lit", p55328, act([=](ViewCore& v) { v.mouseSetRGBColor(1, colours); }),
        {"100024"}, [](auto&, auto& a, auto&) { return a.colourType == 0; });
    row("553 571 colours", v2553, act([=](ViewCore& v) { v.mouseSetRGBColor(1, colours); }),
        {"100024"}, [](auto&, auto& a, auto&) { return a.colourType == 0 && ints(a.colourTable) == range(1, 36); });
    row("560 colourful colours", Device{"560", true}, act([=](ViewCore& v) { v.mouseSetRGBColor(0, colours); }),
        {"0c0080"}, [](auto& b, auto& a, auto&) { return blocksChanged(b, a, {0}, range(24, 47), range(1, 24)); });
    row("560 plain colours", d560, act([=](ViewCore& v) { v.mouseSetRGBColor(1, colours); }),
        {"0c0180"}, [](auto& b, auto& a, auto&) { return blocksChanged(b, a, {1}, range(104, 127), range(1, 24)); });
    row("553 fixed colour", d553, act([](ViewCore& v) { v.mouseSetFixColor({10, 20, 300}); }),
        {"0c0a142c"}, [](auto&, auto& a, auto&) { return ints(a.fixedColour) == QList<int>{10, 20, 44}; });
    row("560 fixed colour is not sent", d560, act([](ViewCore& v) { v.mouseSetFixColor({10, 20, 30}); }),
        {}, same);

    // Report rate and keyboard option
    row("553 report rate", d553, act([](ViewCore& v) { v.mouseSetReportRate(8); }), {"0108"},
        [](auto&, auto& a, auto&) { return a.reportRate == 8; });
    row("560 report rate", d560, act([](ViewCore& v) { v.mouseSetReportRate(8); }),
        {"030108", "030208", "030308", "030408"},
        [](auto&, auto& a, auto&) { return ints(a.reportRates) == QList<int>(4, 8); });
    row("553 keyboard option", d553, act([](ViewCore& v) { v.mouseSetKeyboardoption(5, 6, 7, 8); }),
        {"0305060708"}, [](auto&, auto& a, auto&) { return ints(a.keyboardOption) == QList<int>{5, 6, 7, 8}; });
    row("553 read keyboard option", d553, [](ViewCore& v) { return QVariant(v.GetKeyboardoption()); }, {"83"}, same,
        QVariantList{1, 2, 3, 4});
    row("560 keyboard option is not sent", d560, [](ViewCore& v) {
        v.mouseSetKeyboardoption(1, 8, 0, 0);
        return QVariant(v.GetKeyboardoption());
    }, {}, same, QVariantList{0, 0, 0, 0});

    // Input the pages never send
    row("553 dpi: short list, text, count 12", d553,
        act([](ViewCore& v) { v.mouseSetDpi(12, "4090", {1600, "fast", 3800}); }), {"110808"},
        [](auto&, auto& a, auto&) { return ints(a.dpiTable) == QList<int>{42, 0, 100, 0, 0, 0, 0, 0}; });
    row("553 dpi: long list, count -3", d553,
        act([](ViewCore& v) { v.mouseSetDpi(-3, "4090", numbers(38, 12)); }), {"110008"},
        [](auto&, auto& a, auto&) { return ints(a.dpiTable) == QList<int>(8, 0x80); });
    row("560 dpi: count 0", d560, act([](ViewCore& v) { v.mouseSetDpi(0, "3360", dpi8); }),
        {"0c0180"}, [](auto& b, auto& a, auto&) {
            return blocksChanged(b, a, {1}, range(84, 100), codes8 + codes8 + QList<int>{0});
        });
    row("553 colours: 60 values", d553, act([](ViewCore& v) { v.mouseSetRGBColor(0, numbers(1, 60)); }),
        {"100024", "100024"},
        [](auto&, auto& a, auto&) { return ints(a.colourTable) == range(1, 36); });
    row("553 colours: one colour", d553, act([](ViewCore& v) { v.mouseSetRGBColor(0, {7, 8, 9}); }),
        {"100024", "100024"},
        [](auto&, auto& a, auto&) { return ints(a.colourTable) == QList<int>{7, 8, 9} + QList<int>(33, 0); });
}

void TestDpiLightOps::operations()
{
    QFETCH(Device, device);
    QFETCH(Op, op);
    QFETCH(QStringList, frames);
    QFETCH(QVariant, result);
    QFETCH(Check, check);

    Rig rig(device);
    const State before = rig.mouse->state();
    const QVariant got = op(rig.view());

    QCOMPARE(rig.frames(frames), frames);
    QCOMPARE(rig.mouse->protocolErrorMessages(), QStringList());
    if (result.isValid())
        QCOMPARE(got, result);
    QVERIFY(check(before, rig.mouse->state(), rig.view()));
}

void TestDpiLightOps::noDevice_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("withWorker"); // a worker whose device is gone, or none
    for (const char* family : {"553", "560"}) {
        QTest::addRow("%s, no worker", family) << QString(family) << false;
        QTest::addRow("%s, unplugged", family) << QString(family) << true;
    }
}

void TestDpiLightOps::noDevice()
{
    QFETCH(QString, family);
    QFETCH(bool, withWorker);
    const QByteArray f = family.toLatin1();
    Rig rig(Device{f.constData(), true, true});
    rig.mouse->unplug();
    if (!withWorker)
        rig.view().hid = nullptr;
    ViewCore& v = rig.view();

    QCOMPARE(v.GetKeyboardoption(), (QVariantList{0, 0, 0, 0}));
    QCOMPARE(v.mouseGetCurrentDPI(), QVariant(0));
    v.mouseSetDpi(4, "3360", dpi8);
    v.mouseSetCurrentDPI(2);
    v.mouseSetRGBEffect(8, 1, 4);
    v.mouseSetRGBColor(0, numbers(1, 36));
    v.mouseSetFixColor({1, 2, 3});
    v.mouseSetReportRate(8);
    v.mouseSetKeyboardoption(1, 2, 3, 4);
    QVERIFY(rig.mouse->receivedFrames().isEmpty());
    QCOMPARE(rig.mouse->protocolErrors(), 0);
}

QTEST_GUILESS_MAIN(TestDpiLightOps)
#include "tst_dpilightops.moc"
