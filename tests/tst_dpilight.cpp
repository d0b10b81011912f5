#include "DpiCodes.h"
#include "Lighting.h"
#include "TestSupport.h"

#include <QTest>

// DPI stage codes and lighting effects, on the rows of tests/data/dpilight.rows.
// What command set 553 sends of an effect on each kind of device is checked
// through the view in tst_dpilightops.

namespace {

QList<int> numbers(const QString& text, int base)
{
    QList<int> list;
    for (const QString& n : text.split(QStringLiteral(", ")))
        list << n.toInt(nullptr, base);
    return list;
}

} // namespace

class TestDpiLight : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rows_data() { addDataRows(QStringLiteral("dpilight.rows")); }
    void rows();
};

void TestDpiLight::rows()
{
    FETCH_DATA_ROW(row);
    const QString table = row.field(0);
    const DpiCodes::Sensor sensor = DpiCodes::sensorFromName(row.field(1).remove(QLatin1Char('"')));
    if (table == QLatin1String("stage")) {
        QCOMPARE(int(DpiCodes::stageCode(sensor, row.field(2).toInt())), row.field(3).toInt(nullptr, 16));
    } else if (table == QLatin1String("stages")) {
        const QList<int> values = numbers(row.field(2), 10);
        QCOMPARE(values.size(), DpiCodes::stageCount);
        DpiCodes::Values array{};
        std::copy(values.begin(), values.end(), array.begin());
        const DpiCodes::StageCodes s = DpiCodes::stageCodes(sensor, array);
        for (std::size_t i = 0; i < array.size(); ++i)
            QCOMPARE(s.codes[i], DpiCodes::stageCode(sensor, array[i]));
        QCOMPARE(int(s.highDpiMask), row.field(3).toInt(nullptr, 16));
    } else if (table == QLatin1String("count")) {
        const int count = row.field(1).toInt(), firstMarked = row.field(3).toInt();
        QCOMPARE(int(DpiCodes::stageEnableMask(count)), row.field(2).toInt(nullptr, 16));
        const DpiCodes::Codes marked = DpiCodes::markDisabled(DpiCodes::Codes{1, 2, 3, 4, 5, 6, 7, 8}, count);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(int(marked[std::size_t(i)]), i < firstMarked ? i + 1 : 0x80);
    } else {
        QCOMPARE(table, QStringLiteral("effect"));
        const QString flags = row.field(2);
        const Lighting::Variant variant =
            Lighting::variantOf(flags.contains(QLatin1String("colourful")), flags.contains(QLatin1String("571")));
        const Lighting::Effect e =
            Lighting::effectFor(variant, row.field(3).toInt(), row.field(4).toInt(), row.field(5).toInt());
        QCOMPARE((QList<int>{e.effect, e.option1, e.option2}), numbers(row.field(6), 0));
    }
}

QTEST_GUILESS_MAIN(TestDpiLight)
#include "tst_dpilight.moc"
