#include "DeviceDescription.h"
#include "TestSupport.h"

#include <QSettings>
#include <QTest>

Q_DECLARE_METATYPE(DeviceRecord)

namespace {

DeviceRecord record(qint32 type, quint16 vid, quint16 pid, quint16 up, quint16 u, quint16 up2, quint16 u2,
                    qint32 reportLength = 32, bool isEncode = false,
                    const QString& sCode = QStringLiteral("582910"))
{
    DeviceRecord r;
    r.type = type;
    r.vid = vid;
    r.pid = pid;
    r.usagePage = up;
    r.usage = u;
    r.usagePage2 = up2;
    r.usage2 = u2;
    r.reportLength = reportLength;
    r.isEncode = isEncode;
    r.sCode = sCode;
    return r;
}

const DeviceRecord defaults{};

} // namespace

class TestDeviceDescription : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void records_data();
    void records();
    void absentFile();
    void hugeDeviceCount();
    void malformedValuesAreReported();
    void productName();
    void shippedFiles();
};

void TestDeviceDescription::records_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QList<DeviceRecord>>("expected");

    QTest::addRow("empty file") << QByteArray() << QList<DeviceRecord>{};
    QTest::addRow("no deviceCount") << QByteArray("[0]\ntype=1\nvid=04d9\n") << QList<DeviceRecord>{};
    QTest::addRow("deviceCount malformed") << QByteArray("[common]\ndeviceCount=one\n[0]\ntype=1\n")
                                          << QList<DeviceRecord>{};
    QTest::addRow("deviceCount negative") << QByteArray("[common]\ndeviceCount=-3\n") << QList<DeviceRecord>{};
    QTest::addRow("group without keys") << QByteArray("[common]\ndeviceCount=1\n[0]\n")
                                       << QList<DeviceRecord>{defaults};
    QTest::addRow("count beyond groups")
        << QByteArray("[common]\ndeviceCount=3\n[0]\ntype=1\nvid=04d9\npid=a1ee\n")
        << QList<DeviceRecord>{record(1, 0x04d9, 0xa1ee, 0, 0, 0, 0), defaults, defaults};
    QTest::addRow("full entry")
        << QByteArray("[common]\ndeviceCount=1\n[0]\ntype=1\nvid=04d9\npid=a1ee\nusagePage=ff00\n"
                      "usage=ff00\nusagePage2=ff01\nusage2=ff01\nreportLength=64\nisEncode=true\nsCode=123456\n")
        << QList<DeviceRecord>{record(1, 0x04d9, 0xa1ee, 0xff00, 0xff00, 0xff01, 0xff01, 64, true,
                                      QStringLiteral("123456"))};
    QTest::addRow("malformed hex and decimal")
        << QByteArray("[common]\ndeviceCount=1\n[0]\ntype=mouse\nvid=04g9\npid=\nusagePage=0xff00\n"
                      "usage=ff 00\nreportLength=32 bytes\n")
        << QList<DeviceRecord>{record(0, 0, 0, 0xff00, 0, 0, 0, 0)};
    QTest::addRow("ids wider than 16 bits")
        << QByteArray("[common]\ndeviceCount=1\n[0]\nvid=104d9\npid=fffea1ee\nusagePage=1ff00\nusage2=abcdef01\n")
        << QList<DeviceRecord>{record(-1, 0x04d9, 0xa1ee, 0xff00, 0, 0, 0xef01)};
    QTest::addRow("keyboard then mouse")
        << QByteArray("[common]\ndeviceCount=2\n[0]\ntype=0\nvid=1\npid=2\n[1]\ntype=1\nvid=3\npid=4\n")
        << QList<DeviceRecord>{record(0, 1, 2, 0, 0, 0, 0), record(1, 3, 4, 0, 0, 0, 0)};
    QTest::addRow("groups out of order and sparse")
        << QByteArray("[common]\ndeviceCount=2\n[1]\nvid=3\n[5]\nvid=9\n")
        << QList<DeviceRecord>{defaults, record(-1, 3, 0, 0, 0, 0, 0)};
    const QList<QPair<const char*, bool>> booleans{
        {"", false}, {"0", false}, {"false", false}, {"FALSE", false}, {"False", false},
        {"true", true}, {"TRUE", true}, {"1", true}, {"2", true}, {"yes", true}, {"no", true}};
    for (const auto& [text, value] : booleans) {
        QTest::addRow("isEncode=%s", text)
            << (QByteArray("[common]\ndeviceCount=1\n[0]\nisEncode=") + text + '\n')
            << QList<DeviceRecord>{record(-1, 0, 0, 0, 0, 0, 0, 32, value)};
    }
    QTest::addRow("sCode five characters")
        << QByteArray("[common]\ndeviceCount=1\n[0]\nsCode=12345\n")
        << QList<DeviceRecord>{record(-1, 0, 0, 0, 0, 0, 0, 32, false, QStringLiteral("12345"))};
    QTest::addRow("sCode seven characters")
        << QByteArray("[common]\ndeviceCount=1\n[0]\nsCode=1234567\n")
        << QList<DeviceRecord>{record(-1, 0, 0, 0, 0, 0, 0, 32, false, QStringLiteral("1234567"))};
    QTest::addRow("sCode empty")
        << QByteArray("[common]\ndeviceCount=1\n[0]\nsCode=\n")
        << QList<DeviceRecord>{record(-1, 0, 0, 0, 0, 0, 0, 32, false, QString())};
    QTest::addRow("sCode with a comma stays one text")
        << QByteArray("[common]\ndeviceCount=1\n[0]\nsCode=\"12,456\"\n")
        << QList<DeviceRecord>{record(-1, 0, 0, 0, 0, 0, 0, 32, false, QStringLiteral("12,456"))};
}

void TestDeviceDescription::records()
{
    QFETCH(QByteArray, ini);
    QFETCH(QList<DeviceRecord>, expected);
    TestDataFolder data;
    data.write("modules/setting/apConfig.bin", ini);
    const DeviceList list = DeviceDescription::readDeviceRecords(QStringLiteral("./modules/setting/apConfig.bin"));
    QCOMPARE(list.size(), expected.size());
    for (qsizetype i = 0; i < list.size(); ++i) {
        const DeviceRecord& got = list.at(i);
        const DeviceRecord& want = expected.at(i);
        QCOMPARE(got.type, want.type);
        QCOMPARE(got.vid, want.vid);
        QCOMPARE(got.pid, want.pid);
        QCOMPARE(got.usagePage, want.usagePage);
        QCOMPARE(got.usage, want.usage);
        QCOMPARE(got.usagePage2, want.usagePage2);
        QCOMPARE(got.usage2, want.usage2);
        QCOMPARE(got.reportLength, want.reportLength);
        QCOMPARE(got.isEncode, want.isEncode);
        QCOMPARE(got.sCode, want.sCode);
        QVERIFY(got.primaryPath.isEmpty());
        QVERIFY(got.secondaryPath.isEmpty());
    }
}

void TestDeviceDescription::absentFile()
{
    TestDataFolder data;
    QVERIFY(QFile::remove(data.filePath("modules/setting/apConfig.bin")));
    QVERIFY(DeviceDescription::readDeviceRecords(QStringLiteral("./modules/setting/apConfig.bin")).isEmpty());
    QCOMPARE(DeviceDescription::readProductName(QStringLiteral("./modules/setting/apConfig.bin")), QString());
    // Reading creates nothing.
    QVERIFY(!QFile::exists(data.filePath("modules/setting/apConfig.bin")));
}

void TestDeviceDescription::hugeDeviceCount()
{
    TestDataFolder data;
    data.write("modules/setting/apConfig.bin", "[common]\ndeviceCount=2147483647\n[0]\nvid=1\n");
    MessageLog log;
    const DeviceList list = DeviceDescription::readDeviceRecords(QStringLiteral("./modules/setting/apConfig.bin"));
    QCOMPARE(list.size(), DeviceDescription::maxDeviceEntries);
    QCOMPARE(list.first().vid, quint16(1));
    QVERIFY(log.lines().join('\n').contains("deviceCount"));
}

void TestDeviceDescription::malformedValuesAreReported()
{
    TestDataFolder data;
    data.write("modules/setting/apConfig.bin", "[common]\ndeviceCount=2\n[0]\nvid=zz\nsCode=1\n");
    MessageLog log;
    DeviceDescription::readDeviceRecords(QStringLiteral("./modules/setting/apConfig.bin"));
    const QString all = log.lines().join('\n');
    QVERIFY2(all.contains("0/vid"), qPrintable(all));
    QVERIFY2(all.contains("sCode"), qPrintable(all));
    QVERIFY2(all.contains("no device entry \"1\""), qPrintable(all));
}

void TestDeviceDescription::productName()
{
    TestDataFolder data;
    data.write("modules/setting/apConfig.bin", "[common]\nname=Skarn, R410\n");
    QCOMPARE(DeviceDescription::readProductName(QStringLiteral("./modules/setting/apConfig.bin")),
             QStringLiteral("Skarn, R410"));
}

// The installation data: one mouse entry and a complete mouse group; the
// factory copy says the same.
void TestDeviceDescription::shippedFiles()
{
    const QString current = sourceModulesPath() + "/setting/apConfig.bin";
    const QString factory = sourceModulesPath() + "/setting/apConfigD.bin";
    for (const QString& path : {current, factory}) {
        const DeviceList list = DeviceDescription::readDeviceRecords(path);
        QCOMPARE(list.size(), 1);
        const DeviceRecord& r = list.first();
        QCOMPARE(r.type, 1);
        QCOMPARE(r.vid, quint16(0x04d9));
        QCOMPARE(r.pid, quint16(0xa1ee));
        QCOMPARE(r.usagePage, quint16(0xff00));
        QCOMPARE(r.usage, quint16(0xff00));
        QCOMPARE(r.usagePage2, quint16(0xff01));
        QCOMPARE(r.usage2, quint16(0xff01));
        QCOMPARE(r.reportLength, 32);
        QCOMPARE(r.isEncode, false);
        QSettings s(path, QSettings::IniFormat);
        QCOMPARE(s.value("common/language").toString(), QStringLiteral("English"));
        QVERIFY(!s.value("common/name").toString().isEmpty());
        QCOMPARE(s.value("mouse/icType").toString(), QStringLiteral("553"));
        QCOMPARE(s.value("mouse/keyCount").toInt(), 8);
        QCOMPARE(s.value("mouse/minDPI").toInt(), 200);
        QCOMPARE(s.value("mouse/maxDPI").toInt(), 6000);
        QCOMPARE(s.value("mouse/dpiBase").toInt(), 50);
        QCOMPARE(s.value("mouse/sensorType").toString(), QStringLiteral("3360"));
        QVERIFY(s.contains("mouse/isGun"));
        QVERIFY(s.contains("mouse/isColorful"));
        QCOMPARE(s.value("mouse/profileNo").toInt(), 0);
        QCOMPARE(s.value("mouse/selectGun").toStringList(), (QStringList{"0", "1", "2"}));
    }
    QFile a(current), b(factory);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    QCOMPARE(a.readAll(), b.readAll());
}

QTEST_GUILESS_MAIN(TestDeviceDescription)
#include "tst_devicedescription.moc"
