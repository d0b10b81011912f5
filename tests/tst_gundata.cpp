#include "GunData.h"
#include "TestSupport.h"

#include <QFile>
#include <QSettings>
#include <QTest>

// The gun preset file, on a copy of the shipped data (whose presets the
// shipped-data lint checks).
namespace {

const QString gunFile = QStringLiteral("modules/gun/gunData.bin");

// The entry as a fresh reader of the file sees it: through a copy, since
// readers of one file in one process share a cache that keeps written types.
QStringList stored(const QString& id)
{
    static int copies = 0;
    const QString copy = QStringLiteral("copy%1.bin").arg(++copies);
    if (!QFile::copy(gunFile, copy))
        return {QStringLiteral("<no file>")};
    return QSettings(copy, QSettings::IniFormat).value(QStringLiteral("gunData/") + id).toStringList();
}

// A value of gundata.rows: a number, a text ("..." keeps blanks), or <none>,
// <list> and <map> for elements that are no values.
QVariant valueOf(const QString& item)
{
    bool isNumber = false;
    const int n = item.toInt(&isNumber);
    if (isNumber)
        return n;
    const QMap<QString, QVariant> nonValues{
        {"<none>", QVariant()}, {"<list>", QVariantList{1, 2}}, {"<map>", QVariantMap{{"a", 1}}}};
    if (nonValues.contains(item))
        return nonValues.value(item);
    return item.startsWith(QLatin1Char('"')) ? item.mid(1, item.size() - 2) : item;
}

// Items "; " apart; an empty field is no items.
QStringList items(const QString& text)
{
    return text.isEmpty() ? QStringList() : text.split(QStringLiteral("; "));
}

} // namespace

class TestGunData : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_folder = std::make_unique<TestDataFolder>(); }
    void cleanup() { m_folder.reset(); }
    void absentFile();
    void rows_data() { addDataRows(QStringLiteral("gundata.rows")); }
    void rows();

private:
    std::unique_ptr<TestDataFolder> m_folder;
};

void TestGunData::absentFile()
{
    QVERIFY(QFile::remove(gunFile));
    QCOMPARE(GunData::read(gunFile, "0"), QVariantList());
    QCOMPARE(GunData::keys(gunFile), QStringList());
    QVERIFY(!GunData::store(gunFile, "0", {"M416", "L-Click", 10, 0, 10, 0}));
    QVERIFY(!GunData::modify(gunFile, 1, {"new", "a", 1, 2, 3, 4, "0"}));
    QVERIFY(!QFile::exists(gunFile));
}

// A store replaces the whole entry with six values; a modify renames an entry
// (type 1, the old identifier last) or deletes one (type 0). What is refused
// leaves the file as it was.
void TestGunData::rows()
{
    FETCH_DATA_ROW(row);
    QVariantList src;
    for (const QString& item : items(row.field(3)))
        src << valueOf(item);
    const QStringList expected = items(row.field(4));
    const QByteArray before = m_folder->read(gunFile);
    if (row.field(0) == QLatin1String("store")) {
        const QString id = valueOf(row.field(2)).toString();
        QCOMPARE(GunData::store(gunFile, id, src), !expected.isEmpty());
        if (!expected.isEmpty()) {
            QCOMPARE(stored(id), expected);
            QCOMPARE(GunData::read(gunFile, id).size(), 6);
            QCOMPARE(stored("0"), (QStringList{"M416", "L-Click", "10", "0", "10", "0"}));
        }
    } else {
        QCOMPARE(row.field(0), QStringLiteral("modify"));
        QCOMPARE(GunData::modify(gunFile, valueOf(row.field(2)), src), !expected.isEmpty());
        if (!expected.isEmpty())
            QCOMPARE(GunData::keys(gunFile), expected);
        if (!row.field(5).isEmpty())
            QCOMPARE(stored(src.at(0).toString()), items(row.field(5)));
    }
    if (expected.isEmpty())
        QCOMPARE(m_folder->read(gunFile), before);
}

QTEST_GUILESS_MAIN(TestGunData)
#include "tst_gundata.moc"
