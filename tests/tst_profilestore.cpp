#include "FileChooser.h"
#include "IniValue.h"
#include "ProfileStore.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>

// The stores behind the pages' data operations and the profile files, in a
// temporary copy of the shipped data. What a file holds is checked on its
// text (settings objects of one process share a cache).
class TestProfileStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void defaults();
    void writesGoToCurrentProfileOnly();
    void listsKeepTheirMeaning();
    void currentProfileOutOfRange();
    void resetProfileCopiesFactory();
    void copyProfile_data();
    void copyProfile();
    void copyProfileToItselfChangesNothing();
    void loadProfile();
    void refusedImportKeepsProfile_data();
    void refusedImportKeepsProfile();
    void saveProfileHoldsUnsavedChange();
    void saveProfileCancelledOrOverExisting();
    void replacementKeepsTenStoresInOrder();

private:
    static QByteArray text(const QString& path);
    std::unique_ptr<TestDataFolder> m_data;
    std::unique_ptr<ProfileStore> m_store;
};

QByteArray TestProfileStore::text(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

void TestProfileStore::init()
{
    m_data = std::make_unique<TestDataFolder>();
    // Known profile files, independent of the shipped factory values.
    m_data->write("modules/setting/pD.bin", "[mouse]\nreportRate=3\ndpiCount=8\n");
    for (int n = 0; n < 10; ++n)
        m_data->write(ProfileStore::profilePath(n), "[mouse]\nreportRate=" + QByteArray::number(n % 4) +
                                                        "\nname=profile" + QByteArray::number(n) + "\n");
    m_store = std::make_unique<ProfileStore>();
}

void TestProfileStore::cleanup()
{
    m_store.reset();
    m_data.reset();
}

void TestProfileStore::defaults()
{
    QVERIFY(!m_store->getData("mouse/absent", false).isValid());
    QVERIFY(!m_store->getData("mouse/absent", true).isValid());
    QCOMPARE(m_store->getDataList("mouse/absent", false), QVariantList());
    QCOMPARE(m_store->getXYSensitive(0), QVariant(4));
    QCOMPARE(m_store->getXYSensitive(1), QVariant(4));
    QCOMPARE(m_store->getSelectGun(2), QVariant(QString()));
    QVERIFY(!m_store->getGlobalData("mouse/absent").isValid());
    QCOMPARE(m_store->getGlobalData("mouse/keyCount").toInt(), 8);
    // Opening created nothing.
    QVERIFY(!QFile::exists(m_data->filePath("modules/setting/p11.bin")));
}

void TestProfileStore::writesGoToCurrentProfileOnly()
{
    m_store->currentProfile = 3;
    m_store->setData("mouse/reportRate", 1);
    m_store->setXYSensitive(1, 7);
    m_store->setSelectGun(0, "AK");
    QCOMPARE(m_store->getData("mouse/reportRate", false).toInt(), 1);
    QCOMPARE(m_store->getData("mouse/reportRate", true).toInt(), 3); // the factory store is never written
    QCOMPARE(m_store->getXYSensitive(1).toInt(), 7);
    QCOMPARE(m_store->getSelectGun(0).toString(), QStringLiteral("AK"));
    m_store->profile(3)->sync();
    QVERIFY(text(m_data->filePath("modules/setting/p4.bin")).contains("reportRate=1"));
    QVERIFY(text(m_data->filePath("modules/setting/p4.bin")).contains("[XYSensitive]\n1=7"));
    QVERIFY(text(m_data->filePath("modules/setting/p1.bin")).contains("reportRate=0"));
    QCOMPARE(text(m_data->filePath("modules/setting/pD.bin")), QByteArray("[mouse]\nreportRate=3\ndpiCount=8\n"));
    m_store->currentProfile = 0;
    QCOMPARE(m_store->getXYSensitive(1).toInt(), 4);
}

// Eight ints come back after a re-read as eight texts that convert to the
// same ints; a one-element list is stored so that it does not read back as
// a list (the old meaning: empty).
void TestProfileStore::listsKeepTheirMeaning()
{
    const QVariantList dpi{500, 1000, 1500, 2000, 3000, 4000, 5000, 6000};
    m_store->setDataList("mouse/dpiValueArray", dpi);
    m_store->profile(0)->sync();
    QVERIFY(text(m_data->filePath("modules/setting/p1.bin"))
                .contains("dpiValueArray=500, 1000, 1500, 2000, 3000, 4000, 5000, 6000"));
    m_store.reset();
    m_store = std::make_unique<ProfileStore>();
    const QVariantList back = m_store->getDataList("mouse/dpiValueArray", false);
    QCOMPARE(back.size(), 8);
    for (qsizetype i = 0; i < back.size(); ++i) {
        QCOMPARE(back.at(i).metaType().id(), QMetaType::QString);
        QCOMPARE(back.at(i).toInt(), dpi.at(i).toInt());
    }
    // A plain string value is not a list of its characters.
    QCOMPARE(m_store->getDataList("mouse/name", false), QVariantList());
}

// A current profile outside 0..9 makes the data operations do nothing.
void TestProfileStore::currentProfileOutOfRange()
{
    MessageLog log;
    for (int bad : {-1, 10, 1000}) {
        m_store->currentProfile = bad;
        m_store->setData("mouse/reportRate", 2);
        m_store->setDataList("mouse/x", {1, 2});
        m_store->setXYSensitive(0, 1);
        QVERIFY(!m_store->getData("mouse/reportRate", false).isValid());
        QCOMPARE(m_store->getDataList("mouse/x", false), QVariantList());
        QCOMPARE(m_store->getXYSensitive(0), QVariant(4));
        QCOMPARE(m_store->getSelectGun(0), QVariant(QString()));
        QCOMPARE(m_store->getData("mouse/reportRate", true).toInt(), 3); // the factory store still reads
    }
    QVERIFY(log.lines().filter("is not 0..9").size() >= 3);
    for (int n = 0; n < 10; ++n)
        QVERIFY(!text(m_data->filePath(ProfileStore::profilePath(n))).contains("XYSensitive"));
}

void TestProfileStore::resetProfileCopiesFactory()
{
    m_store->currentProfile = 2;
    m_store->setData("mouse/extra", 5);
    m_store->resetProfile(2);
    QCOMPARE(text(m_data->filePath("modules/setting/p3.bin")), text(m_data->filePath("modules/setting/pD.bin")));
    QCOMPARE(m_store->getData("mouse/reportRate", false).toInt(), 3);
    QVERIFY(!m_store->getData("mouse/extra", false).isValid());
    QVERIFY(!m_store->getData("mouse/name", false).isValid());
}

void TestProfileStore::copyProfile_data()
{
    QTest::addColumn<int>("destination");
    QTest::addColumn<int>("source");
    QTest::addRow("1 <- 3") << 1 << 3;
    QTest::addRow("3 <- 1") << 3 << 1;
    QTest::addRow("9 <- 0") << 9 << 0;
}

void TestProfileStore::copyProfile()
{
    QFETCH(int, destination);
    QFETCH(int, source);
    const QByteArray before = text(m_data->filePath(ProfileStore::profilePath(source)));
    m_store->copyProfile(destination, source);
    QCOMPARE(text(m_data->filePath(ProfileStore::profilePath(destination))), before);
    QCOMPARE(text(m_data->filePath(ProfileStore::profilePath(source))), before);
    m_store->currentProfile = destination;
    QCOMPARE(m_store->getData("mouse/name", false).toString(), QStringLiteral("profile%1").arg(source));
}

void TestProfileStore::copyProfileToItselfChangesNothing()
{
    const QByteArray before = text(m_data->filePath("modules/setting/p2.bin"));
    m_store->copyProfile(1, 1);
    QCOMPARE(text(m_data->filePath("modules/setting/p2.bin")), before);
    m_store->copyProfile(1, 42); // no such source
    m_store->copyProfile(42, 1); // no such destination
    QCOMPARE(text(m_data->filePath("modules/setting/p2.bin")), before);
}

void TestProfileStore::loadProfile()
{
    FixedFileChooser cancel;
    const QByteArray before = text(m_data->filePath("modules/setting/p6.bin"));
    QVERIFY(!m_store->loadProfile(5, cancel));
    QCOMPARE(text(m_data->filePath("modules/setting/p6.bin")), before);

    m_data->write("export/mine.pf", "[mouse]\nreportRate=2\nname=imported\n");
    FixedFileChooser chosen(m_data->filePath("export/mine.pf"));
    QVERIFY(m_store->loadProfile(5, chosen));
    QCOMPARE(text(m_data->filePath("modules/setting/p6.bin")), text(m_data->filePath("export/mine.pf")));
    m_store->currentProfile = 5;
    QCOMPARE(m_store->getData("mouse/name", false).toString(), QStringLiteral("imported"));
}

void TestProfileStore::refusedImportKeepsProfile_data()
{
    QTest::addColumn<QByteArray>("content"); // "<absent>" for no file, "<folder>" for a folder
    QTest::addRow("missing file") << QByteArray("<absent>");
    QTest::addRow("a folder") << QByteArray("<folder>");
    QTest::addRow("empty file") << QByteArray();
    QTest::addRow("no mouse group") << QByteArray("[macro]\nmacroName=a, b\n");
    QTest::addRow("not INI text") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    QByteArray large("[mouse]\nreportRate=1\npad=");
    large.append(QByteArray(ProfileStore::maxImportBytes - large.size() + 1, 'x'));
    QTest::addRow("larger than 1 MiB") << large;
}

// A file that cannot be read, or is no profile, keeps the profile and its
// store, and the import answers false.
void TestProfileStore::refusedImportKeepsProfile()
{
    QFETCH(QByteArray, content);
    const QString chosenPath = m_data->filePath("export/chosen.pf");
    if (content == "<folder>")
        QVERIFY(QDir().mkpath(chosenPath));
    else if (content != "<absent>")
        m_data->write("export/chosen.pf", content);
    m_store->currentProfile = 4;
    QVERIFY(m_store->setData("mouse/pending", 1));
    const QByteArray before = text(m_data->filePath("modules/setting/p5.bin"));
    FixedFileChooser chosen(chosenPath);
    MessageLog log;
    QVERIFY(!m_store->loadProfile(4, chosen));
    QVERIFY(!log.lines().isEmpty());
    QCOMPARE(text(m_data->filePath("modules/setting/p5.bin")), before);
    QCOMPARE(m_store->getData("mouse/name", false).toString(), QStringLiteral("profile4"));
    QCOMPARE(m_store->getData("mouse/pending", false).toInt(), 1);
}

void TestProfileStore::saveProfileHoldsUnsavedChange()
{
    m_store->currentProfile = 1;
    m_store->setData("mouse/reportRate", 3); // not yet written by the store
    FixedFileChooser chosen(m_data->filePath("out.pf"));
    m_store->saveProfile(1, chosen);
    const QByteArray exported = text(m_data->filePath("out.pf"));
    QVERIFY2(exported.contains("reportRate=3"), exported.constData());
    QCOMPARE(exported, text(m_data->filePath("modules/setting/p2.bin")));
}

void TestProfileStore::saveProfileCancelledOrOverExisting()
{
    FixedFileChooser cancel;
    m_store->saveProfile(0, cancel);
    QCOMPARE(QDir(m_data->path()).entryList(QDir::Files), QStringList());
    m_data->write("out.pf", QByteArray(5000, 'x'));
    FixedFileChooser chosen(m_data->filePath("out.pf"));
    m_store->saveProfile(0, chosen);
    QCOMPARE(text(m_data->filePath("out.pf")), text(m_data->filePath("modules/setting/p1.bin")));
}

void TestProfileStore::replacementKeepsTenStoresInOrder()
{
    m_store->resetProfile(0);
    m_store->copyProfile(9, 4);
    m_store->resetProfile(-1);
    m_store->resetProfile(10);
    for (int n = 0; n < 10; ++n) {
        QVERIFY(m_store->profile(n));
        QCOMPARE(QFileInfo(m_store->profile(n)->fileName()).fileName(), QStringLiteral("p%1.bin").arg(n + 1));
    }
    QVERIFY(!m_store->profile(10));
}

QTEST_GUILESS_MAIN(TestProfileStore)
#include "tst_profilestore.moc"
