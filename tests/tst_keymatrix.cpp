#include "KeyMatrix.h"

#include <QRegularExpression>
#include <QTest>

using namespace KeyMatrix;

// Entries and matrices are written as hex: an entry "08000101", a page
// "1=08000200 7=00f01e02" (unlisted buttons 00000000), expected bytes
// "2:0=0b000a00" (matrix 2, entry 0).
namespace {

Entry entry(const QByteArray& hex)
{
    const QByteArray b = QByteArray::fromHex(hex);
    Entry e{};
    for (int k = 0; k < 4 && k < b.size(); ++k)
        e[std::size_t(k)] = std::uint8_t(b[k]);
    return e;
}

Matrix page(const QString& text)
{
    Matrix m{};
    for (const QString& item : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(QLatin1Char('='));
        m[parts[0].toUInt()] = entry(parts[1].toLatin1());
    }
    return m;
}

} // namespace

class Test_keymatrix : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void entry_data();
    void entry();
    void transfer_data();
    void transfer();
};

void Test_keymatrix::entry_data()
{
    QTest::addColumn<QString>("set");
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QByteArray>("device");

    for (const char* set : {"553", "560"}) {
        auto row = [set](const char* name, const char* from, const char* to) {
            QTest::addRow("%s %s", name, set) << QString(set) << QByteArray(from) << QByteArray(to);
        };
        row("left", "0000f000", "0100f000");
        row("double click", "00f01e02", "0af01e02");
        row("hidden option", "00f0f0f0", "0b000000");
        row("fire 33 ms twice", "01042102", "0a042102");
        row("combination", "02032122", "00032122");
        row("media player", "03008301", "03008301");
        row("macro slot 3", "04010300", "09010400");
        row("macro slot 255 wraps", "0400ff00", "09000000");
        row("dpi loop", "05000300", "07000300");
        row("my computer", "06009401", "03009401");
        row("home", "06002302", "03002302");
        row("search", "06002102", "03002102");
        row("maximise", "06042c1b", "00042c1b");
        row("run", "0600e315", "0000e315");
        row("combination like search", "02002102", "00002102");
        row("shortcut copy", "0700e006", "0000e006");
        row("gun", "08000200", "08000200");
        row("fixed", "ff000100", "04000100");
        row("unknown class", "42010203", "42010203");
    }
    QTest::addRow("sniper 560") << QString("560") << QByteArray("05000400") << QByteArray("0b000101");
    QTest::addRow("sniper 553") << QString("553") << QByteArray("05000400") << QByteArray("07000401");
    QTest::addRow("sniper, empty family is 553") << QString() << QByteArray("05000400") << QByteArray("07000401");
    // Only "560" exactly as written selects 560.
    for (const char* family : {" 560", "560 ", "5600", "0560", "560x"})
        QTest::addRow("sniper, family '%s' is 553", family)
            << QString(family) << QByteArray("05000400") << QByteArray("07000401");
}

void Test_keymatrix::entry()
{
    QFETCH(QString, set);
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, device);
    QCOMPARE(toDeviceEntry(::entry(page), commandSetOf(set)), ::entry(device));
}

void Test_keymatrix::transfer_data()
{
    QTest::addColumn<QString>("set");
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("gun");
    QTest::addColumn<int>("mask"); // -1: image 0 unchanged
    QTest::addColumn<QString>("expected");

    const QString buttons = "0=0000f000 5=05000100 6=05000200 7=00f01e02 8=05000300 9=0000f100 ";
    const QString fixed560 = "1:5=0f000300 1:6=07000100 1:7=07000200 1:8=0c000000 1:9=0d000000";
    QTest::newRow("560 plain") << "560" << buttons << false << -1 << "1:0=0100f000 " + fixed560;
    QTest::newRow("553 plain") << "553" << buttons << false << -1 << "1:0=0100f000 1:5=08000300 1:6=07000100";

    // Periods are 10, 20, 30 (0a, 14, 1e).
    const QString gunSlots = " 2:0=0b000a00 3:0=0b011400 4:0=0b021e00";
    QTest::newRow("560 two guns on button 1")
        << "560" << "1=08000200" << true << 0x0F
        << "1:1=08000100 2:1=08000300 3:1=08000000 4:1=08000000 1:0=01000000 1:5=0f000300 4:5=0f000300" + gunSlots;
    QTest::newRow("553 two guns on button 1")
        << "553" << "1=08000200" << true << -1
        << "1:1=08000101 2:1=08000102 3:1=08000100 4:1=08000100 1:5=08000300 4:5=08000300" + gunSlots;
    QTest::newRow("553 three guns, byte 1 cleared")
        << "553" << "2=08050307" << true << -1 << "1:2=08000101 2:2=08000102 3:2=08000103 4:2=08000100";
    QTest::newRow("560 one gun") << "560" << "3=08070109" << true << 0x07
                                 << "1:3=08070109 2:3=08070009 3:3=08070009 4:3=08070009";
    QTest::newRow("560 the last gun entry decides the mask")
        << "560" << "2=08000300 10=08000100" << true << 0x07
        << "1:2=08000100 2:2=08000300 3:2=08000300 4:2=08000000 1:10=08000100 2:10=08000000";
    QTest::newRow("560 an odd gun count changes nothing")
        << "560" << "1=08000500" << true << -1 << "1:1=08000500 2:1=08000500 4:1=08000500" + gunSlots;
    QTest::newRow("553 an odd gun count keeps byte 3")
        << "553" << "1=08060509" << true << -1 << "1:1=08000109 2:1=08000109 4:1=08000109";
    QTest::newRow("560 gun on button 0 stays in matrix 1 only")
        << "560" << "0=08000300" << true << 0x1F << "1:0=08000100" + gunSlots;
    QTest::newRow("gun on button 5 moves to 6") << "560" << "5=08000200" << true << 0x0F
                                                << "1:5=0f000300 1:6=08000100 2:6=08000300";
    QTest::newRow("gun on button 6 moves to 7") << "553" << "6=08000100" << true << -1 << "1:7=08000101";
    for (const char* set : {"553", "560"})
        for (int button : {7, 8, 9})
            QTest::addRow("%s gun on button %d is overwritten", set, button)
                << set << QString("%1=08000200").arg(button) << false << -1 << "1:8=0c000000 1:9=0d000000";
}

void Test_keymatrix::transfer()
{
    QFETCH(QString, set);
    QFETCH(QString, page);
    QFETCH(bool, gun);
    QFETCH(int, mask);
    QFETCH(QString, expected);

    const Transfer t = KeyMatrix::transfer(::page(page), commandSetOf(set), Periods{10, 20, 30});
    QCOMPARE(t.gun, gun);
    QCOMPARE(t.imageMask.has_value() ? int(*t.imageMask) : -1, mask);
    for (const QString& item : expected.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(QRegularExpression("[:=]"));
        const Entry actual = t.matrices[parts[0].toUInt() - 1][parts[1].toUInt()];
        QVERIFY2(actual == ::entry(parts[2].toLatin1()),
                 qPrintable(item + " is " + QByteArray(reinterpret_cast<const char*>(actual.data()), 4).toHex()));
    }
}

QTEST_GUILESS_MAIN(Test_keymatrix)
#include "tst_keymatrix.moc"
