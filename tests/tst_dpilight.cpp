#include "DpiCodes.h"
#include "Lighting.h"

#include <QTest>

using DpiCodes::Sensor;
using Lighting::Variant;

Q_DECLARE_METATYPE(Lighting::Variant)

class TestDpiLight : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void stageCode_data();
    void stageCode();
    void highDpiMask();
    void stageCount_data();
    void stageCount();
    void effect_data();
    void effect();
    void effectOn553();
};

void TestDpiLight::stageCode_data()
{
    QTest::addColumn<QString>("sensor");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("code");

    const QList<std::tuple<const char*, int, int>> rows{
        {"3360", 100, 0},    {"3360", 1600, 15},   {"3360", 12000, 119}, {"3360", 50, 0xFF},
        {"4090", 1600, 42},  {"unknown", 1600, 42}, {"", 1600, 42},      {"3360 ", 1600, 42},
        {"3050", 250, 0x01}, {"3050", 251, 0x02},  {"3050", 2000, 0x08}, {"3050", 2001, 0x45},
        {"3050", 4000, 0x48}, {"3050", 4001, 0},   {"3320", 250, 0x01},  {"3320", 3500, 0x0E},
        {"3320", 3501, 0x48}, {"3320", 4200, 0x49}, {"3320", 7000, 0x4E}, {"3320", 7001, 0},
        {"3389", 800, 16},   {"3389", 12799, 255}, {"3389", 12800, 0},   {"3389", 16000, 64},
        {"3327", 1600, 16},  {"3212", 2300, 0x3C}, {"3212", 2301, 0x5E}, {"3212", 3000, 0x67},
    };
    for (const auto& [sensor, dpi, code] : rows)
        QTest::addRow("%s at %d", sensor, dpi) << QString(sensor) << dpi << code;
}

void TestDpiLight::stageCode()
{
    QFETCH(QString, sensor);
    QFETCH(int, dpi);
    QFETCH(int, code);
    QCOMPARE(int(DpiCodes::stageCode(DpiCodes::sensorFromName(sensor), dpi)), code);
}

void TestDpiLight::highDpiMask()
{
    const DpiCodes::Values values{800, 12800, 16000, 12799, 0, 20000, 100, 12800};
    const DpiCodes::StageCodes s3389 = DpiCodes::stageCodes(Sensor::S3389, values);
    QCOMPARE(s3389.highDpiMask, 0xA6); // stages 2, 3, 6, 8
    QCOMPARE(s3389.codes, (DpiCodes::Codes{16, 0, 64, 255, 0, 144, 2, 0}));
    QCOMPARE(DpiCodes::stageCodes(Sensor::S3360, values).highDpiMask, 0);
}

void TestDpiLight::stageCount_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("enableMask");
    QTest::addColumn<int>("firstMarked"); // first stage sent as 0x80 (553)

    QTest::newRow("negative") << -1 << 0x00 << 0;
    QTest::newRow("none") << 0 << 0x00 << 0;
    QTest::newRow("one") << 1 << 0x01 << 1;
    QTest::newRow("four") << 4 << 0x0F << 4;
    QTest::newRow("eight") << 8 << 0xFF << 8;
    QTest::newRow("nine") << 9 << 0xFF << 8;
}

void TestDpiLight::stageCount()
{
    QFETCH(int, count);
    QFETCH(int, enableMask);
    QFETCH(int, firstMarked);
    QCOMPARE(int(DpiCodes::stageEnableMask(count)), enableMask);
    const DpiCodes::Codes codes{1, 2, 3, 4, 5, 6, 7, 8};
    const DpiCodes::Codes marked = DpiCodes::markDisabled(codes, count);
    for (int i = 0; i < 8; ++i)
        QCOMPARE(int(marked[std::size_t(i)]), i < firstMarked ? i + 1 : 0x80);
}

void TestDpiLight::effect_data()
{
    QTest::addColumn<Variant>("variant");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("brightness");
    QTest::addColumn<QList<int>>("triple");

    const Variant v1 = Variant::Colourful, v2 = Variant::Colourful571, v3 = Variant::Plain;
    QTest::newRow("1: vertical flipping") << v1 << 8 << 1 << 4 << QList<int>{8, 0xFF, 17};
    QTest::newRow("1: static, dark") << v1 << 0 << 2 << 0 << QList<int>{1, 0, 0};
    QTest::newRow("1: off") << v1 << 3 << 2 << 2 << QList<int>{0, 0, 0};
    QTest::newRow("1: wave") << v1 << 5 << 4 << 2 << QList<int>{5, 0x80, 1};
    QTest::newRow("1: spotlight, speed off the table") << v1 << 10 << 5 << 3 << QList<int>{10, 0xC0, 0};
    QTest::newRow("1: unknown") << v1 << 11 << 0 << 4 << QList<int>{0, 0, 0};
    QTest::newRow("2: group 9, second") << v2 << 21 << 1 << 2 << QList<int>{9, 80, 0x31};
    QTest::newRow("2: group 9, speed 5 wraps") << v2 << 20 << 5 << 0 << QList<int>{9, 10, 0xF0};
    QTest::newRow("2: effect 10") << v2 << 23 << 0 << 4 << QList<int>{10, 255, 4};
    QTest::newRow("2: speed as option1") << v2 << 5 << 3 << 1 << QList<int>{2, 3, 1};
    QTest::newRow("2: fixed option1 4") << v2 << 13 << 0 << 0 << QList<int>{6, 4, 1};
    QTest::newRow("2: brightness off the table") << v2 << 1 << 0 << 5 << QList<int>{1, 0, 0};
    QTest::newRow("2: page 0") << v2 << 0 << 2 << 2 << QList<int>{0, 0, 0};
    QTest::newRow("2: past the list") << v2 << 27 << 2 << 2 << QList<int>{0, 0, 0};
    QTest::newRow("3: static") << v3 << 0 << 0 << 4 << QList<int>{1, 10, 1};
    QTest::newRow("3: neon") << v3 << 2 << 0 << 0 << QList<int>{3, 0x1E, 1};
    QTest::newRow("3: effect 4") << v3 << 4 << 2 << 0 << QList<int>{2, 3, 3};
    QTest::newRow("3: off") << v3 << 3 << 2 << 2 << QList<int>{0, 0, 0};
}

void TestDpiLight::effect()
{
    QFETCH(Variant, variant);
    QFETCH(int, page);
    QFETCH(int, speed);
    QFETCH(int, brightness);
    QFETCH(QList<int>, triple);
    const Lighting::Effect e = Lighting::effectFor(variant, page, speed, brightness);
    QCOMPARE((QList<int>{e.effect, e.option1, e.option2}), triple);
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
