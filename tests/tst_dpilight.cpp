#include "DpiCodes.h"
#include "Lighting.h"
#include "TestSupport.h"

#include <QTest>

#include <array>

using DpiCodes::Sensor;
using Lighting::Variant;

// DPI stage codes and lighting effects; the long tables are rows of
// tests/data/dpilight.rows.

namespace {

// The rows of one table of dpilight.rows; none at all is one failing row.
void addRows(const char* table)
{
    QTest::addColumn<DataRow>("row");
    QList<DataRow> rows = readDataRows(QStringLiteral("dpilight.rows"));
    rows.removeIf([table](const DataRow& row) { return row.field(0) != QLatin1String(table); });
    for (const DataRow& row : rows)
        QTest::addRow("%s:%d", qPrintable(row.field(1)), row.line) << row;
    if (rows.isEmpty())
        QTest::newRow("no rows") << DataRow{};
}

} // namespace

class TestDpiLight : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void stageCode_data() { addRows("stage"); }
    void stageCode();
    void highDpiMask();
    void stageCount_data() { addRows("count"); }
    void stageCount();
    void effect_data() { addRows("effect"); }
    void effect();
    void effectOn553();
};

void TestDpiLight::stageCode()
{
    QFETCH(DataRow, row);
    QVERIFY2(row.line > 0, "tests/data/dpilight.rows is missing or has no such table");
    const Sensor sensor = DpiCodes::sensorFromName(row.field(1).remove(QLatin1Char('"')));
    QCOMPARE(int(DpiCodes::stageCode(sensor, row.field(2).toInt())), row.field(3).toInt(nullptr, 16));
}

void TestDpiLight::highDpiMask()
{
    const DpiCodes::Values values{800, 12800, 16000, 12799, 0, 20000, 100, 12800};
    const DpiCodes::StageCodes s3389 = DpiCodes::stageCodes(Sensor::S3389, values);
    QCOMPARE(s3389.highDpiMask, 0xA6); // stages 2, 3, 6, 8
    QCOMPARE(s3389.codes, (DpiCodes::Codes{16, 0, 64, 255, 0, 144, 2, 0}));
    QCOMPARE(DpiCodes::stageCodes(Sensor::S3360, values).highDpiMask, 0);
}

void TestDpiLight::stageCount()
{
    QFETCH(DataRow, row);
    QVERIFY2(row.line > 0, "tests/data/dpilight.rows is missing or has no such table");
    const int count = row.field(1).toInt(), firstMarked = row.field(3).toInt();
    QCOMPARE(int(DpiCodes::stageEnableMask(count)), row.field(2).toInt(nullptr, 16));
    const DpiCodes::Codes marked = DpiCodes::markDisabled(DpiCodes::Codes{1, 2, 3, 4, 5, 6, 7, 8}, count);
    for (int i = 0; i < 8; ++i)
        QCOMPARE(int(marked[std::size_t(i)]), i < firstMarked ? i + 1 : 0x80);
}

void TestDpiLight::effect()
{
    QFETCH(DataRow, row);
    QVERIFY2(row.line > 0, "tests/data/dpilight.rows is missing or has no such table");
    const qsizetype v = QStringList{"colourful", "colourful571", "plain"}.indexOf(row.field(2));
    QVERIFY2(v >= 0, "unknown variant");
    const Variant variant = std::array{Variant::Colourful, Variant::Colourful571, Variant::Plain}[std::size_t(v)];
    const Lighting::Effect e =
        Lighting::effectFor(variant, row.field(3).toInt(), row.field(4).toInt(), row.field(5).toInt());
    QList<int> sent;
    for (const QString& value : row.field(6).split(QStringLiteral(", ")))
        sent << value.toInt(nullptr, 0);
    QCOMPARE((QList<int>{e.effect, e.option1, e.option2}), sent);
}

void TestDpiLight::effectOn553()
{
    const Lighting::Effect m3{2, 3, 3};
    QCOMPARE(Lighting::effectFor553(Variant::Plain, m3, false), (Lighting::Effect{2, 3, 2}));
    QCOMPARE(Lighting::effectFor553(Variant::Plain, m3, true), m3);
    QCOMPARE(Lighting::effectFor553(Variant::Colourful, m3, false), m3);
    QCOMPARE(Lighting::variantOf(false, true), Variant::Plain);
}

QTEST_GUILESS_MAIN(TestDpiLight)
#include "tst_dpilight.moc"
