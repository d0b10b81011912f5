#include "DpiSwitchTexts.h"
#include "LanguageStrings.h"
#include "NameList.h"
#include "TestSupport.h"

#include <QFile>
#include <QTest>

// Name lists (with their filler) and language sections (with the DPI tray
// texts they set), on files in a temporary folder.
class TestNamesAndTexts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void nameLists_data();
    void nameLists();
    void nameListFileText();
    void languageSection();
    void dpiTexts_data();
    void dpiTexts();
    void hugeTotalIsCut();

private:
    std::unique_ptr<TestDataFolder> m_data;
};

void TestNamesAndTexts::init()
{
    m_data = std::make_unique<TestDataFolder>();
    dpiSwitchTexts.fill(QStringLiteral("DPI Switch to"));
}

void TestNamesAndTexts::cleanup()
{
    m_data.reset();
    dpiSwitchTexts.fill(QStringLiteral("DPI Switch to"));
}

void TestNamesAndTexts::nameLists_data()
{
    QTest::addColumn<uint>("type");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("read");
    QTest::addRow("one macro gets the filler")
        << 0u << QStringList{"Macro_0"} << QStringList{"Macro_0", "loaderfiller"};
    QTest::addRow("two names as they are") << 0u << QStringList{"a", "b"} << QStringList{"a", "b"};
    QTest::addRow("names with commas") << 1u << QStringList{"x, y", "z"} << QStringList{"x, y", "z"};
    QTest::addRow("profiles") << 2u << QStringList{"Standard0", "Game1", "Work2"}
                              << QStringList{"Standard0", "Game1", "Work2"};
    QTest::addRow("type 3") << 3u << QStringList{"q"} << QStringList{"q", "loaderfiller"};
    QTest::addRow("empty removes") << 0u << QStringList{} << QStringList{};
    QTest::addRow("unknown type stores nothing") << 7u << QStringList{"a", "b"} << QStringList{};
}

void TestNamesAndTexts::nameLists()
{
    QFETCH(uint, type);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, read);
    const QString path = m_data->filePath("modules/setting/name.bin");
    NameList::update(path, 0, {"old", "list"});
    QCOMPARE(NameList::update(path, type, stored), !NameList::keyOf(type).isEmpty());
    QStringList got;
    for (const QVariant& v : NameList::get(path, type))
        got << v.toString();
    QCOMPARE(got, read);
}

void TestNamesAndTexts::nameListFileText()
{
    const QString path = m_data->filePath("modules/setting/fresh.bin");
    QVERIFY(NameList::update(path, 0, {"Macro_0"}));
    NameList::update(path, 2, {"Standard0"});
    NameList::update(path, 2, {});
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("[macro]\nmacroName=Macro_0, loaderfiller\n"));
    QCOMPARE(NameList::get(m_data->filePath("absent.bin"), 0), QVariantList());
}

void TestNamesAndTexts::languageSection()
{
    m_data->write("modules/i18n/Test.ini", QString::fromUtf8("[main]\ntotal=3\n0=Première\n2=\"a, b\"\n"
                                                             "[broken]\ntotal=2\n0=x, y\n1=ok\n")
                                               .toUtf8());
    QCOMPARE(LanguageStrings::load("main", "Test"), (QStringList{QString::fromUtf8("Première"), "", "a, b"}));
    QCOMPARE(LanguageStrings::load("broken", "Test"), (QStringList{"x, y", "ok"}));
    QCOMPARE(LanguageStrings::load("absent", "Test"), QStringList());
    QCOMPARE(LanguageStrings::load("main", "NoSuchLanguage"), QStringList());
    QCOMPARE(dpiSwitchTexts[0], QStringLiteral("DPI Switch to"));
}

void TestNamesAndTexts::dpiTexts_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QByteArray>("other");
    QTest::addColumn<QStringList>("texts");
    const QString unchanged = QStringLiteral("DPI Switch to");
    QTest::addRow("from the file") << "Test" << QByteArray("total=8\n0=s1\n1=s2\n2=s3\n3=s4\n4=s5\n5=s6\n6=s7\n7=s8\n")
                                   << QStringList{"s1", "s2", "s3", "s4", "s5", "s6", "s7", "s8"};
    QTest::addRow("fewer than eight") << "Test" << QByteArray("total=2\n0=s1\n1=s2\n")
                                      << QStringList{"s1",      "s2",      unchanged, unchanged,
                                                     unchanged, unchanged, unchanged, unchanged};
    QTest::addRow("French, whatever the file")
        << "French" << QByteArray("total=8\n0=file\n") << LanguageStrings::frenchDpiTexts;
    QTest::addRow("French without a file section") << "French" << QByteArray() << LanguageStrings::frenchDpiTexts;
    // A code that is a path reads nothing, even where the path names a file.
    const QByteArray eight("total=8\n0=s1\n1=s2\n2=s3\n3=s4\n4=s5\n5=s6\n6=s7\n7=s8\n");
    const QStringList none(8, unchanged);
    QTest::addRow("code with a slash") << "sub/Test" << eight << none;
    QTest::addRow("code up the tree") << "../i18n/Test" << eight << none;
    QTest::addRow("code with a backslash") << "a\\b" << eight << none;
    QTest::addRow("hidden code") << ".Test" << eight << none;
}

void TestNamesAndTexts::dpiTexts()
{
    QFETCH(QString, language);
    QFETCH(QByteArray, other);
    QFETCH(QStringList, texts);
    m_data->write("modules/i18n/" + language + ".ini", other.isEmpty() ? QByteArray() : "[other]\n" + other);
    LanguageStrings::load("main", language);
    QCOMPARE(dpiSwitchTexts[0], QStringLiteral("DPI Switch to"));
    LanguageStrings::load("other", language);
    QStringList got(dpiSwitchTexts.begin(), dpiSwitchTexts.end());
    QCOMPARE(got, texts);
    QCOMPARE(LanguageStrings::frenchDpiTexts.at(1), QString::fromUtf8("DPI passe au deuxième étage"));
}

void TestNamesAndTexts::hugeTotalIsCut()
{
    m_data->write("modules/i18n/Test.ini", "[main]\ntotal=2000000000\n0=a\n");
    MessageLog log;
    const QStringList texts = LanguageStrings::load("main", "Test");
    QCOMPARE(texts.size(), LanguageStrings::maxTotal);
    QCOMPARE(texts.first(), QStringLiteral("a"));
    QVERIFY(!log.lines().filter("is cut to").isEmpty());
}

QTEST_GUILESS_MAIN(TestNamesAndTexts)
#include "tst_namesandtexts.moc"
