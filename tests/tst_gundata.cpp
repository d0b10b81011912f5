#include "GunData.h"
#include "TestSupport.h"

#include <QFile>
#include <QSettings>
#include <QTest>

// The gun preset file, on a copy of the shipped data (whose presets the
// shipped-data lint checks).
namespace {

const QString gunFile = QStringLiteral("modules/gun/gunData.bin");
const QStringList shippedKeys = {"0", "1", "2", "3", "4", "5"};

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

} // namespace

class TestGunData : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_folder = std::make_unique<TestDataFolder>(); }
    void cleanup() { m_folder.reset(); }
    void absentFile();
    void store_data();
    void store();
    void modify_data();
    void modify();

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

void TestGunData::store_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QVariantList>("src6");
    QTest::addColumn<QStringList>("expected"); // empty: the file is not touched

    const QVariantList full = {"G", "R-Click", 9, "1", 5, 3};
    QTest::addRow("replaces the whole entry") << "2" << full << QStringList{"G", "R-Click", "9", "1", "5", "3"};
    QTest::addRow("short list") << "2" << QVariantList{"G"} << QStringList{"G", "", "0", "0", "0", "0"};
    QTest::addRow("empty list") << "2" << QVariantList{} << QStringList{"", "", "0", "0", "0", "0"};
    QTest::addRow("long list") << "2" << (full + QVariantList{"old", 99})
                               << QStringList{"G", "R-Click", "9", "1", "5", "3"};
    QTest::addRow("separators in texts") << "2" << QVariantList{"a, b", "x/y", 1, 2, 3, 4}
                                         << QStringList{"a, b", "x/y", "1", "2", "3", "4"};
    QTest::addRow("elements that are no values")
        << "2" << QVariantList{QVariantList{1, 2}, QVariant(), QVariantMap{{"a", 1}}, 2, 3, 4}
        << QStringList{"", "", "0", "2", "3", "4"};
    QTest::addRow("empty identifier") << "" << full << QStringList{};
    QTest::addRow("group separator") << "/" << full << QStringList{};
    QTest::addRow("nested identifier") << "a\\b" << full << QStringList{};
}

void TestGunData::store()
{
    QFETCH(QString, id);
    QFETCH(QVariantList, src6);
    QFETCH(QStringList, expected);

    const QByteArray before = m_folder->read(gunFile);
    QCOMPARE(GunData::store(gunFile, id, src6), !expected.isEmpty());
    if (expected.isEmpty()) {
        QCOMPARE(m_folder->read(gunFile), before);
        return;
    }
    QCOMPARE(stored(id), expected);
    QCOMPARE(GunData::read(gunFile, id).size(), 6);
    QCOMPARE(stored("0"), (QStringList{"M416", "L-Click", "10", "0", "10", "0"}));
}

void TestGunData::modify_data()
{
    QTest::addColumn<QVariant>("type");
    QTest::addColumn<QVariantList>("src");
    QTest::addColumn<QStringList>("keys"); // empty: the file is not touched
    QTest::addColumn<QStringList>("renamed");

    const QVariantList rename = {"new", "K", 1, 2, 3, 4, "2"};
    const QStringList renamedKeys = {"0", "1", "3", "4", "5", "new"};
    const QStringList record = {"K", "1", "2", "3", "4"};
    const QStringList none;
    QTest::addRow("rename") << QVariant(1) << rename << renamedKeys << record;
    QTest::addRow("rename, type as text") << QVariant("1") << rename << renamedKeys << record;
    QTest::addRow("rename to itself") << QVariant(1) << QVariantList{"2", "K", 1, 2, 3, 4, "2"} << shippedKeys
                                      << record;
    QTest::addRow("rename without old identifier") << QVariant(1) << rename.mid(0, 6) << none << none;
    QTest::addRow("rename from empty identifier")
        << QVariant(1) << QVariantList{"n", "K", 1, 2, 3, 4, ""} << none << none;
    QTest::addRow("rename onto the group") << QVariant(1) << QVariantList{"/", "K", 1, 2, 3, 4, "2"} << none << none;
    QTest::addRow("delete") << QVariant(0) << QVariantList{"3"} << QStringList{"0", "1", "2", "4", "5"} << none;
    QTest::addRow("delete without identifier") << QVariant(0) << QVariantList{} << none << none;
    QTest::addRow("delete of the group") << QVariant(0) << QVariantList{"/"} << none << none;
    QTest::addRow("unknown type") << QVariant(2) << rename << none << none;
    QTest::addRow("type not a number") << QVariant("abc") << QVariantList{"3"} << none << none;
}

void TestGunData::modify()
{
    QFETCH(QVariant, type);
    QFETCH(QVariantList, src);
    QFETCH(QStringList, keys);
    QFETCH(QStringList, renamed);

    const QByteArray before = m_folder->read(gunFile);
    QCOMPARE(GunData::modify(gunFile, type, src), !keys.isEmpty());
    if (keys.isEmpty()) {
        QCOMPARE(m_folder->read(gunFile), before);
        return;
    }
    QCOMPARE(GunData::keys(gunFile), keys);
    if (!renamed.isEmpty())
        QCOMPARE(stored(src.at(0).toString()), renamed);
}

QTEST_GUILESS_MAIN(TestGunData)
#include "tst_gundata.moc"
