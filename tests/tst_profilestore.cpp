#include "DataPaths.h"
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
    void cleanup()
    {
        m_store.reset();
        m_data.reset();
    }
    void defaultsAndProfileOutOfRange();
    void writesGoToCurrentProfileOnly();
    void replace_data();
    void replace();
    void loadProfile_data() { addDataRows(QStringLiteral("profilestore.rows")); }
    void loadProfile();
    void saveProfile();
    void exportFile_data();
    void exportFile();

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

// Writes go to the current profile's file at once, and never to the factory
// profile; a list is written as one text of items.
void TestProfileStore::writesGoToCurrentProfileOnly()
{
    m_store->currentProfile = 3;
    QVERIFY(m_store->setData("mouse/reportRate", 1));
    QVERIFY(m_store->setDataList("mouse/dpiValueArray", {500, 1000, 6000}));
    QVERIFY(m_store->setXYSensitive(1, 7));
    QVERIFY(m_store->setSelectGun(0, "AK"));
    QCOMPARE(m_store->getData("mouse/reportRate", false).toInt(), 1);
    QCOMPARE(m_store->getXYSensitive(1).toInt(), 7);
    QCOMPARE(m_store->getSelectGun(0).toString(), QStringLiteral("AK"));
    QCOMPARE(profileText(3), QByteArray("[XYSensitive]\n1=7\n\n[mouse]\ndpiValueArray=500, 1000, 6000\nname=profile3\n"
                                        "reportRate=1\n\n[selectGun]\n0=AK\n"));
    QCOMPARE(profileText(0), QByteArray("[mouse]\nreportRate=0\nname=profile0\n"));
    QCOMPARE(text("modules/setting/pD.bin"), QByteArray("[mouse]\nreportRate=3\ndpiCount=8\n"));
    m_store->currentProfile = 0;
    QCOMPARE(m_store->getXYSensitive(1).toInt(), 4);
}

void TestProfileStore::replace_data()
{
    QTest::addColumn<int>("destination");
    QTest::addColumn<int>("source"); // -1: a reset from the factory profile
    QTest::addColumn<bool>("replaced");
    QTest::addRow("reset") << 2 << -1 << true;
    QTest::addRow("reset of no profile") << -1 << -1 << false;
    QTest::addRow("reset of profile 10") << 10 << -1 << false;
    QTest::addRow("copy 1 <- 3") << 1 << 3 << true;
    QTest::addRow("copy 9 <- 0") << 9 << 0 << true;
    QTest::addRow("copy onto itself") << 1 << 1 << true;
    QTest::addRow("copy of no such source") << 1 << 42 << false;
    QTest::addRow("copy to no such destination") << 42 << 1 << false;
}

// A reset copies the factory file over the profile, a copy another profile's:
// the file and the store, and nothing else. A bad number changes nothing, and
// the ten stores stay in order.
void TestProfileStore::replace()
{
    QFETCH(int, destination);
    QFETCH(int, source);
    QFETCH(bool, replaced);
    const bool reset = source < 0;
    QList<QByteArray> expected;
    for (int n = 0; n < ProfileStore::profileCount; ++n) {
        const bool replacedHere = replaced && n == destination;
        expected << (replacedHere ? (reset ? text("modules/setting/pD.bin") : profileText(source)) : profileText(n));
    }
    QCOMPARE(reset ? m_store->resetProfile(destination) : m_store->copyProfile(destination, source), replaced);
    for (int n = 0; n < ProfileStore::profileCount; ++n) {
        QCOMPARE(profileText(n), expected.at(n));
        QCOMPARE(QFileInfo(m_store->profile(n)->fileName()).fileName(), QStringLiteral("p%1.bin").arg(n + 1));
    }
    QVERIFY(!m_store->profile(10));
    if (replaced) {
        m_store->currentProfile = destination;
        QCOMPARE(m_store->getData("mouse/reportRate", false).toInt(), reset ? 3 : source % 4);
        QCOMPARE(m_store->getData("mouse/name", false).toString(),
                 reset ? "" : QStringLiteral("profile%1").arg(source));
    }
}

// An imported file replaces the profile's file and store. A file that cannot
// be read, or is no profile, is reported and keeps the profile, its store and
// an unsaved change.
void TestProfileStore::loadProfile()
{
    FETCH_DATA_ROW(row);
    const bool imported = row.field(2) == QLatin1String("imported");
    QByteArray content = row.field(1).replace(QStringLiteral("\\n"), QStringLiteral("\n")).toUtf8();
    if (content.startsWith("hex:"))
        content = hexBytes(row.field(1).mid(4));
    if (content == "<large>") // one byte over the limit
        content = ("[mouse]\nreportRate=1\npad=" + QByteArray(ProfileStore::maxImportBytes, 'x'))
                      .left(ProfileStore::maxImportBytes + 1);
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
// there, and a cancel writes nothing. It suggests the name the profile list
// gives the profile's slot digit, else p<n+1>; an import starts in the folder.
void TestProfileStore::saveProfile()
{
    m_data->write(DataPath::nameList, "[profile]\nprofileName=Stan/dard0, Game1, 2, loaderfiller\n");
    FixedFileChooser cancel;
    const QString folder = ExportFile::startFolder();
    for (const auto& [profile, suggested] : {std::pair{0, "Stan_dard.pf"}, {1, "Game.pf"}, {2, "p3.pf"}}) {
        QVERIFY(m_store->saveProfile(profile, cancel));
        QCOMPARE(cancel.lastFolder(), QDir(folder).filePath(suggested));
    }
    QVERIFY(!m_store->loadProfile(0, cancel));
    QCOMPARE(cancel.lastFolder(), folder);
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

void TestProfileStore::exportFile_data()
{
    QTest::addColumn<QString>("desktop"); // below a scratch folder; Desktop exists there, home is the fallback
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("suggested"); // below the scratch folder
    const auto row = [](const char* tag, const QString& desktop, const QString& name, const QString& suggested) {
        QTest::addRow("%s", tag) << desktop << name << suggested;
    };
    row("desktop exists", "Desktop", "Standard", "Desktop/Standard.pf");
    row("desktop missing", "Missing", "Standard", "home/Standard.pf");
    row("no desktop", "", "Standard", "home/Standard.pf");
    row("separators", "Desktop", "a/b\\c", "Desktop/a_b_c.pf");
    row("empty", "Desktop", "", "Desktop/p1.pf");
    row("spaces only", "Desktop", "   ", "Desktop/p1.pf");
    row("dot dot", "Desktop", "..", "Desktop/p1.pf");
    row("leading dot", "Desktop", " .x ", "Desktop/x.pf");
    row("control characters", "Desktop", "a\nb\tc", "Desktop/a_b_c.pf");
    row("bidi override, line separator", "Desktop", QStringLiteral("a\u202Eb\u2028c"), "Desktop/a_b_c.pf");
    row("lone surrogate", "Desktop", QString(QChar(0xD800)) + "x", "Desktop/_x.pf");
    row("unicode kept", "Desktop", QStringLiteral("配置 1 😀"), QStringLiteral("Desktop/配置 1 😀.pf"));
    row("255 bytes at most", "Desktop", QStringLiteral("é").repeated(300),
        "Desktop/" + QStringLiteral("é").repeated(126) + ".pf");
    row("no half characters", "Desktop", QStringLiteral("😀").repeated(100),
        "Desktop/" + QStringLiteral("😀").repeated(63) + ".pf");
}

// Where the dialogs start, and the file an export suggests.
void TestProfileStore::exportFile()
{
    QFETCH(QString, desktop);
    QFETCH(QString, name);
    QFETCH(QString, suggested);
    QVERIFY(QDir(m_data->path()).mkpath("Desktop"));
    const QString folder =
        ExportFile::startFolder(desktop.isEmpty() ? QString() : m_data->filePath(desktop), m_data->filePath("home"));
    QCOMPARE(ExportFile::suggestedPath(folder, name, "p1", ".pf"), m_data->filePath(suggested));
}

QTEST_GUILESS_MAIN(TestProfileStore)
#include "tst_profilestore.moc"
