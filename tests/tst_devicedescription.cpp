#include "DeviceDescription.h"
#include "TestSupport.h"

#include <QTest>

// The reading of apConfig.bin, on files written into a temporary folder. The
// shipped file itself is checked by tst_shippeddata.
Q_DECLARE_METATYPE(DataRow)

namespace {

const QString configPath = QStringLiteral("./modules/setting/apConfig.bin");

// Every field of a record as "name=value" words, ids in hex.
QStringList fieldsOf(const DeviceRecord& r)
{
    const auto hex = [](quint16 v) {
        return QString::number(v, 16).rightJustified(v > 0xff ? 4 : 1, QLatin1Char('0'));
    };
    return {QStringLiteral("type=%1").arg(r.type),
            QStringLiteral("vid=") + hex(r.vid),
            QStringLiteral("pid=") + hex(r.pid),
            QStringLiteral("usagePage=") + hex(r.usagePage),
            QStringLiteral("usage=") + hex(r.usage),
            QStringLiteral("usagePage2=") + hex(r.usagePage2),
            QStringLiteral("usage2=") + hex(r.usage2),
            QStringLiteral("reportLength=%1").arg(r.reportLength),
            QStringLiteral("isEncode=%1").arg(r.isEncode ? QStringLiteral("true") : QStringLiteral("false")),
            QStringLiteral("sCode=") + r.sCode,
            QStringLiteral("primaryPath=") + r.primaryPath,
            QStringLiteral("secondaryPath=") + r.secondaryPath};
}

// An absent entry's fields with the row's "name=value" words put in.
QStringList expectedFields(const QString& overrides)
{
    QStringList fields = fieldsOf(DeviceRecord{});
    for (const QString& word : overrides.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (word == QLatin1String("-"))
            continue;
        const QString name = word.section(QLatin1Char('='), 0, 0) + QLatin1Char('=');
        for (QString& field : fields) {
            if (field.startsWith(name))
                field = word;
        }
    }
    return fields;
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
    QList<QStringList> got, expected;
    for (const DeviceRecord& r : DeviceDescription::readDeviceRecords(configPath))
        got << fieldsOf(r);
    if (!row.field(2).isEmpty()) {
        for (const QString& entry : row.field(2).split(QLatin1Char(';')))
            expected << expectedFields(entry);
    }
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
