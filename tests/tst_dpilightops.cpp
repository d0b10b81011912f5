#include "TestSupport.h"
#include "ViewRig.h"

#include <QTest>

// The DPI, lighting, report-rate and option operations of the view against
// the virtual mouse: the frames each sends, what the firmware keeps, and no
// protocol error on either family.
namespace {

// The rig for "FAMILY [colourful] [gun] [55328] [571]"; the view holds the
// mouse's profile blocks as read at detection.
std::unique_ptr<ViewRig> rigFor(const QString& device)
{
    const QStringList words = device.split(' ', Qt::SkipEmptyParts);
    ViewRig::MouseKeys keys{{"icType", words.value(0)}};
    for (const auto& [word, key] :
         {std::pair{"colourful", "isColorful"}, {"gun", "isGun"}, {"55328", "is55328"}, {"571", "is571"}})
        keys.append({QString(key), QString(words.contains(word) ? "true" : "false")});
    auto rig = std::make_unique<ViewRig>(keys);
    if (DpiCodes::ProfileImages* images = rig->images())
        for (std::size_t n = 0; n < 5; ++n)
            (*images)[n] = rig->mouse->state().profiles[n];
    return rig;
}

// One call as a row writes it: the operation's short name and its arguments.
QVariant call(ViewCore& v, const QString& text)
{
    const QStringList a = text.split(' ', Qt::SkipEmptyParts);
    const auto n = [&](int i) { return a.value(i).toInt(); };
    const QString op = a.value(0);
    if (op == "dpi")
        v.mouseSetDpi(n(1), a.value(2), rowValues(a.value(3)));
    else if (op == "stage")
        v.mouseSetCurrentDPI(uchar(n(1)));
    else if (op == "getstage")
        return v.mouseGetCurrentDPI();
    else if (op == "effect")
        v.mouseSetRGBEffect(uchar(n(1)), uchar(n(2)), uchar(n(3)));
    else if (op == "colours")
        v.mouseSetRGBColor(uchar(n(1)), rowValues(a.value(2)));
    else if (op == "fixed")
        v.mouseSetFixColor(rowValues(a.value(1)));
    else if (op == "rate")
        v.mouseSetReportRate(uchar(n(1)));
    else if (op == "option")
        v.mouseSetKeyboardoption(uchar(n(1)), uchar(n(2)), uchar(n(3)), uchar(n(4)));
    else if (op == "getoption")
        return v.GetKeyboardoption();
    else if (op == "profile")
        v.mouseSetProfile(uint(n(1)));
    else if (op == "readprofile")
        v.mouseReadProfile(uint(n(1)));
    else if (op == "getprofile")
        return v.mouseReadCurrentProfile();
    else
        qWarning("no such call: %s", qPrintable(text));
    return {};
}

} // namespace

class TestDpiLightOps : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void operations_data() { addDataRows("dpilightops.rows"); }
    void operations();
    void noDevice_data();
    void noDevice();
};

void TestDpiLightOps::operations()
{
    ROW_FIELDS(f, 7);
    const std::unique_ptr<ViewRig> rig = rigFor(f[1]);
    const QJsonObject before = rig->mouse->stateJson();
    QVariant result;
    for (const QString& c : f[2].split(';'))
        result = call(rig->view(), c);

    QCOMPARE(receivedFrames(*rig->mouse, f[3]), f[3]);
    if (!f[4].isEmpty())
        QCOMPARE(result, f[4].contains(',') ? QVariant(rowValues(f[4])) : QVariant(f[4].toInt()));
    const QString difference = stateDifference(changedState(before, f[5]), rig->mouse->stateJson());
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    for (const QString& item : f[6].split(' ', Qt::SkipEmptyParts)) {
        QVERIFY(rig->images());
        const auto& image = (*rig->images())[std::size_t(item.section('@', 0, 0).toInt())];
        const int at = item.section('@', 1).section('=', 0, 0).toInt();
        const QVariantList values = rowValues(item.section('=', 1));
        for (qsizetype i = 0; i < values.size(); ++i)
            QCOMPARE(int(image[std::size_t(at + i)]), values[i].toInt());
    }
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

// Without a device the reads give zeros and nothing reaches the mouse.
void TestDpiLightOps::noDevice()
{
    QFETCH(QString, family);
    QFETCH(bool, withWorker);
    const std::unique_ptr<ViewRig> rig = rigFor(family + " colourful gun");
    rig->mouse->unplug();
    if (!withWorker)
        rig->view().device = nullptr;
    QCOMPARE(call(rig->view(), "getoption"), QVariant(QVariantList{0, 0, 0, 0}));
    QCOMPARE(call(rig->view(), "getstage"), QVariant(0));
    for (const char* c : {"dpi 4 3360 500,1000", "stage 2", "effect 8 1 4", "colours 0 1..36", "fixed 1,2,3", "rate 8",
                          "option 1 2 3 4"})
        call(rig->view(), c);
    QVERIFY(rig->mouse->receivedFrames().isEmpty());
    QCOMPARE(rig->mouse->protocolErrors(), 0);
}

QTEST_GUILESS_MAIN(TestDpiLightOps)
#include "tst_dpilightops.moc"
