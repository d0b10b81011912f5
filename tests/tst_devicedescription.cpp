#include "DeviceDescription.h"
#include "TestSupport.h"

#include <QTest>

// The reading of apConfig.bin, on files written into a temporary folder. The
// shipped file itself is checked by tst_shippeddata.

namespace {

const QString configPath = QStringLiteral("./modules/setting/apConfig.bin");

// The fields of a record that differ from an absent entry's, as "name=value"
// words (ids in hex); "-" when none do.
QString differences(const DeviceRecord& r)
{
    const auto words = [](const DeviceRecord& d) {
        const auto id = [](quint16 v) { return QStringLiteral("%1").arg(v, v > 0xff ? 4 : 1, 16, QLatin1Char('0')); };
        return QStringList() << "type=" + QString::number(d.type) << "vid=" + id(d.vid) << "pid=" + id(d.pid)
                             << "usagePage=" + id(d.usagePage) << "usage=" + id(d.usage)
                             << "usagePage2=" + id(d.usagePage2) << "usage2=" + id(d.usage2)
                             << "reportLength=" + QString::number(d.reportLength)
                             << QStringLiteral("isEncode=") + (d.isEncode ? "true" : "false") << "sCode=" + d.sCode
                             << "paths=" + d.primaryPath + d.secondaryPath;
    };
    const QStringList absent = words(DeviceRecord{}), all = words(r);
    QStringList differing;
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (all[i] != absent[i])
            differing << all[i];
    }
    return differing.isEmpty() ? QStringLiteral("-") : differing.join(QLatin1Char(' '));
}

} // namespace

class TestDeviceDescription : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void records_data() { addDataRows(QStringLiteral("devicedescription.rows")); }
    void records();
    void brokenFilesAreReported();
    void productNameAndAbsentFile();
};

void TestDeviceDescription::records()
{
    FETCH_DATA_ROW(row);
    TestDataFolder data;
    data.write(configPath, row.field(1).replace(QStringLiteral("\\n"), QStringLiteral("\n")).toUtf8());
    QStringList got, expected;
    for (const DeviceRecord& r : DeviceDescription::readDeviceRecords(configPath))
        got << differences(r);
    for (const QString& entry : row.field(2).split(QLatin1Char(';'), Qt::SkipEmptyParts))
        expected << entry.trimmed();
    QCOMPARE(got, expected);
}

// A huge count is cut, and malformed values and missing groups are named.
void TestDeviceDescription::brokenFilesAreReported()
{
    TestDataFolder data;
    MessageLog log;
    data.write("huge.bin", "[common]\ndeviceCount=2147483647\n[0]\nvid=1\n");
    const DeviceList list = DeviceDescription::readDeviceRecords(QStringLiteral("huge.bin"));
    QCOMPARE(list.size(), DeviceDescription::maxDeviceEntries);
    QCOMPARE(list.first().vid, quint16(1));
    data.write("malformed.bin", "[common]\ndeviceCount=2\n[0]\nvid=zz\nsCode=1\n");
    DeviceDescription::readDeviceRecords(QStringLiteral("malformed.bin"));
    const QString all = log.lines().join('\n');
    for (const char* named : {"deviceCount", "0/vid", "sCode", "no device entry \"1\""})
        QVERIFY2(all.contains(QLatin1String(named)), qPrintable(all));
}

void TestDeviceDescription::productNameAndAbsentFile()
{
    TestDataFolder data;
    data.write(configPath, "[common]\nname=Skarn, R410\n");
    QCOMPARE(DeviceDescription::readProductName(configPath), QStringLiteral("Skarn, R410"));
    QVERIFY(QFile::remove(data.filePath(configPath)));
    QVERIFY(DeviceDescription::readDeviceRecords(configPath).isEmpty());
    QCOMPARE(DeviceDescription::readProductName(configPath), QString());
    QVERIFY2(!QFile::exists(data.filePath(configPath)), "reading created the file");
}

QTEST_GUILESS_MAIN(TestDeviceDescription)
#include "tst_devicedescription.moc"
