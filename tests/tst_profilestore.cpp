#include "FileChooser.h"
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
    void defaultsAndProfileOutOfRange();
    void writesGoToCurrentProfileOnly();
    void listsKeepTheirMeaning();
    void resetProfile();
    void copyProfile_data();
    void copyProfile();
    void loadProfile_data();
    void loadProfile();
    void saveProfile();

private:
    QByteArray text(const QString& relative) const { return m_data->read(relative); }
    QByteArray profileText(int n) const { return text(ProfileStore::profilePath(n)); }
    std::unique_ptr<TestDataFolder> m_data;
    std::unique_ptr<ProfileStore> m_store;
};

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

// Absent keys read as their defaults. A current profile outside 0..9 makes
// the data operations do nothing (and say so): they read the defaults too,
// while the factory store still reads.
void TestProfileStore::defaultsAndProfileOutOfRange()
{
    MessageLog log;
    for (int current : {0, -1, 10, 1000}) {
        m_store->currentProfile = current;
        if (current != 0) {
            m_store->setData("mouse/reportRate", 2);
            m_store->setDataList("mouse/x", {1, 2});
            m_store->setXYSensitive(0, 1);
            QVERIFY(!m_store->getData("mouse/reportRate", false).isValid());
        }
        QVERIFY(!m_store->getData("mouse/absent", false).isValid());
        QVERIFY(!m_store->getData("mouse/absent", true).isValid());
        QCOMPARE(m_store->getDataList("mouse/x", false), QVariantList());
        QCOMPARE(m_store->getXYSensitive(0), QVariant(4));
        QCOMPARE(m_store->getSelectGun(2), QVariant(QString()));
        QCOMPARE(m_store->getData("mouse/reportRate", true).toInt(), 3);
    }
    QVERIFY(log.lines().filter("is not 0..9").size() >= 3);
    QVERIFY(!m_store->getGlobalData("mouse/absent").isValid());
    QCOMPARE(m_store->getGlobalData("mouse/keyCount").toInt(), 8);
    for (int n = 0; n < 10; ++n)
        QVERIFY(!profileText(n).contains("XYSensitive"));
    QVERIFY2(!QFile::exists(m_data->filePath("modules/setting/p11.bin")), "opening created a file");
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
    QVERIFY(text("modules/setting/p4.bin").contains("reportRate=1"));
    QVERIFY(text("modules/setting/p4.bin").contains("[XYSensitive]\n1=7"));
    QVERIFY(text("modules/setting/p1.bin").contains("reportRate=0"));
    QCOMPARE(text("modules/setting/pD.bin"), QByteArray("[mouse]\nreportRate=3\ndpiCount=8\n"));
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
    QVERIFY(text("modules/setting/p1.bin").contains("dpiValueArray=500, 1000, 1500, 2000, 3000, 4000, 5000, 6000"));
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

// A reset copies the factory file over the profile, store and all; a bad
// number changes nothing; replacements keep the ten stores in order.
void TestProfileStore::resetProfile()
{
    m_store->currentProfile = 2;
    m_store->setData("mouse/extra", 5);
    m_store->resetProfile(2);
    QCOMPARE(profileText(2), text("modules/setting/pD.bin"));
    QCOMPARE(m_store->getData("mouse/reportRate", false).toInt(), 3);
    QVERIFY(!m_store->getData("mouse/extra", false).isValid());
    QVERIFY(!m_store->getData("mouse/name", false).isValid());
    m_store->copyProfile(9, 4);
    QList<QByteArray> before;
    for (int n = 0; n < ProfileStore::profileCount; ++n)
        before << profileText(n);
    QVERIFY(!m_store->resetProfile(-1));
    QVERIFY(!m_store->resetProfile(10));
    for (int n = 0; n < ProfileStore::profileCount; ++n) {
        QCOMPARE(profileText(n), before.at(n));
        QCOMPARE(QFileInfo(m_store->profile(n)->fileName()).fileName(), QStringLiteral("p%1.bin").arg(n + 1));
    }
    QVERIFY(!m_store->profile(10));
}

void TestProfileStore::copyProfile_data()
{
    QTest::addColumn<int>("destination");
    QTest::addColumn<int>("source");
    QTest::addColumn<bool>("copied");
    QTest::addRow("1 <- 3") << 1 << 3 << true;
    QTest::addRow("3 <- 1") << 3 << 1 << true;
    QTest::addRow("9 <- 0") << 9 << 0 << true;
    QTest::addRow("onto itself") << 1 << 1 << false;
    QTest::addRow("no such source") << 1 << 42 << false;
    QTest::addRow("no such destination") << 42 << 1 << false;
}

// The destination's file and store become the source's; every other file
// stays as it was.
void TestProfileStore::copyProfile()
{
    QFETCH(int, destination);
    QFETCH(int, source);
    QFETCH(bool, copied);
    QList<QByteArray> expected;
    for (int n = 0; n < ProfileStore::profileCount; ++n)
        expected << profileText(copied && n == destination ? source : n);
    m_store->copyProfile(destination, source);
    for (int n = 0; n < ProfileStore::profileCount; ++n)
        QCOMPARE(profileText(n), expected.at(n));
    if (copied) {
        m_store->currentProfile = destination;
        QCOMPARE(m_store->getData("mouse/name", false).toString(), QStringLiteral("profile%1").arg(source));
    }
}

void TestProfileStore::loadProfile_data()
{
    QTest::addColumn<QByteArray>("content"); // "<absent>": no file, "<folder>": a folder, "<cancel>": none chosen
    QTest::addColumn<bool>("imported");
    QTest::addRow("a profile") << QByteArray("[mouse]\nreportRate=2\nname=imported\n") << true;
    QTest::addRow("cancelled") << QByteArray("<cancel>") << false;
    QTest::addRow("missing file") << QByteArray("<absent>") << false;
    QTest::addRow("a folder") << QByteArray("<folder>") << false;
    QTest::addRow("empty file") << QByteArray() << false;
    QTest::addRow("no mouse group") << QByteArray("[macro]\nmacroName=a, b\n") << false;
    QTest::addRow("not INI text") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << false;
    QByteArray large("[mouse]\nreportRate=1\npad=");
    large.append(QByteArray(ProfileStore::maxImportBytes - large.size() + 1, 'x'));
    QTest::addRow("larger than 1 MiB") << large << false;
}

// An imported file replaces the profile's file and store. A file that cannot
// be read, or is no profile, is reported and keeps the profile, its store and
// an unsaved change.
void TestProfileStore::loadProfile()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, imported);
    const QString chosenPath = m_data->filePath("export/chosen.pf");
    if (content == "<folder>")
        QVERIFY(QDir().mkpath(chosenPath));
    else if (!content.startsWith('<'))
        m_data->write("export/chosen.pf", content);
    m_store->currentProfile = 4;
    QVERIFY(m_store->setData("mouse/pending", 1));
    const QByteArray before = profileText(4);
    FixedFileChooser chosen(content == "<cancel>" ? QString() : chosenPath);
    MessageLog log;
    QCOMPARE(m_store->loadProfile(4, chosen), imported);
    QCOMPARE(profileText(4), imported ? content : before);
    QCOMPARE(m_store->getData("mouse/name", false).toString(), imported ? "imported" : "profile4");
    QCOMPARE(m_store->getData("mouse/pending", false).isValid(), !imported);
    if (!imported && content != "<cancel>")
        QVERIFY(!log.lines().isEmpty());
}

// The export holds the store's unsaved change, overwrites a file that was
// there, and a cancel writes nothing.
void TestProfileStore::saveProfile()
{
    FixedFileChooser cancel;
    QVERIFY(m_store->saveProfile(0, cancel));
    QCOMPARE(QDir(m_data->path()).entryList(QDir::Files), QStringList());
    m_store->currentProfile = 1;
    m_store->setData("mouse/reportRate", 3); // not yet written by the store
    m_data->write("out.pf", QByteArray(5000, 'x'));
    FixedFileChooser chosen(m_data->filePath("out.pf"));
    QVERIFY(m_store->saveProfile(1, chosen));
    const QByteArray exported = text("out.pf");
    QVERIFY2(exported.contains("reportRate=3"), exported.constData());
    QCOMPARE(exported, profileText(1));
}

QTEST_GUILESS_MAIN(TestProfileStore)
#include "tst_profilestore.moc"
