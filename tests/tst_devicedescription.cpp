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
    const DeviceRecord absent;
    QStringList words;
    const auto word = [&words](const char* name, bool differs, const QString& value) {
        if (differs)
            words << QLatin1String(name) + QLatin1Char('=') + value;
    };
    const auto id = [&word](const char* name, quint16 value, quint16 fallback) {
        word(name, value != fallback, QStringLiteral("%1").arg(value, value > 0xff ? 4 : 1, 16, QLatin1Char('0')));
    };
    word("type", r.type != absent.type, QString::number(r.type));
    id("vid", r.vid, absent.vid);
    id("pid", r.pid, absent.pid);
    id("usagePage", r.usagePage, absent.usagePage);
    id("usage", r.usage, absent.usage);
    id("usagePage2", r.usagePage2, absent.usagePage2);
    id("usage2", r.usage2, absent.usage2);
    word("reportLength", r.reportLength != absent.reportLength, QString::number(r.reportLength));
    word("isEncode", r.isEncode != absent.isEncode, r.isEncode ? QStringLiteral("true") : QStringLiteral("false"));
    word("sCode", r.sCode != absent.sCode, r.sCode);
    word("paths", !r.primaryPath.isEmpty() || !r.secondaryPath.isEmpty(), r.primaryPath + r.secondaryPath);
    return words.isEmpty() ? QStringLiteral("-") : words.join(QLatin1Char(' '));
}

} // namespace

class TestDeviceDescription : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void records_data();
    void records();
    void brokenFilesAreReported();
    void productNameAndAbsentFile();
};

void TestDeviceDescription::records_data()
{
    QTest::addColumn<DataRow>("row");
    const QList<DataRow> rows = readDataRows(QStringLiteral("devicedescription.rows"));
    if (rows.isEmpty())
        QTest::newRow("no rows") << DataRow{};
    for (const DataRow& row : rows)
        QTest::newRow(row.name().constData()) << row;
}

void TestDeviceDescription::records()
{
    QFETCH(DataRow, row);
    QVERIFY2(row.line > 0, "tests/data/devicedescription.rows is missing or empty");
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
