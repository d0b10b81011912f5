#include "DpiSwitchTexts.h"
#include "LanguageStrings.h"
#include "NameList.h"
#include "TestSupport.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

// Name lists (with their filler) and language sections (with the DPI tray
// texts they set), on files in a temporary folder; the tables are rows of
// tests/data/namesandtexts.rows.

namespace {

QStringList listOf(const QString& text)
{
    return text.split(QStringLiteral("; "), Qt::SkipEmptyParts);
}

} // namespace

class TestNamesAndTexts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_data = std::make_unique<TestDataFolder>(); }
    // Every test starts from the built-in tray texts.
    void cleanup()
    {
        m_data.reset();
        dpiSwitchTexts.fill(QStringLiteral("DPI Switch to"));
    }
    void rows_data() { addDataRows(QStringLiteral("namesandtexts.rows")); }
    void rows();
    void nameListFileText();
    void languageSection();

private:
    std::unique_ptr<TestDataFolder> m_data;
};

void TestNamesAndTexts::rows()
{
    FETCH_DATA_ROW(row);
    if (row.field(0) == QLatin1String("names")) {
        const uint type = row.field(2).toUInt();
        const QString path = m_data->filePath("modules/setting/name.bin");
        NameList::update(path, 0, {"old", "list"});
        QCOMPARE(NameList::update(path, type, listOf(row.field(3))), !NameList::keyOf(type).isEmpty());
        QStringList got;
        for (const QVariant& v : NameList::get(path, type))
            got << v.toString();
        QCOMPARE(got, listOf(row.field(4)));
        return;
    }
    QCOMPARE(row.field(0), QStringLiteral("dpi"));
    const QString language = row.field(2), other = row.field(3).replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    m_data->write("modules/i18n/" + language + ".ini", other.isEmpty() ? QByteArray() : "[other]\n" + other.toUtf8());
    LanguageStrings::load("main", language);
    QCOMPARE(dpiSwitchTexts[0], QStringLiteral("DPI Switch to"));
    LanguageStrings::load("other", language);
    QStringList expected = listOf(row.field(4));
    if (expected == QStringList{"french"})
        expected = LanguageStrings::frenchDpiTexts;
    expected.replaceInStrings(QRegularExpression("^-$"), QStringLiteral("DPI Switch to"));
    QCOMPARE(QStringList(dpiSwitchTexts.begin(), dpiSwitchTexts.end()), expected);
}

void TestNamesAndTexts::nameListFileText()
{
    const QString path = m_data->filePath("modules/setting/fresh.bin");
    QVERIFY(NameList::update(path, 0, {"Macro_0"}));
    NameList::update(path, 2, {"Standard0"});
    NameList::update(path, 2, {});
    QCOMPARE(m_data->read("modules/setting/fresh.bin"), QByteArray("[macro]\nmacroName=Macro_0, loaderfiller\n"));
    QCOMPARE(NameList::get(m_data->filePath("absent.bin"), 0), QVariantList());
}

void TestNamesAndTexts::languageSection()
{
    m_data->write("modules/i18n/Test.ini", QString::fromUtf8("[main]\ntotal=3\n0=Première\n2=\"a, b\"\n"
                                                             "[broken]\ntotal=2\n0=x, y\n1=ok\n"
                                                             "[huge]\ntotal=2000000000\n0=a\n"
                                                             "[none]\ntotal=12\n[tail]\ntotal=9\n1=\n"
                                                             "[long]\ntotal=1\n0=%1\n")
                                               .arg(QString(LanguageStrings::maxTextLength - 1, 'a') + "\U0001F600b")
                                               .toUtf8());
    m_data->write("modules/i18n/Big.ini", "[main]\ntotal=1\n0=big\n" + QByteArray(LanguageStrings::maxFileSize, '#'));
    MessageLog log;
    QCOMPARE(LanguageStrings::load("main", "Test"), (QStringList{QString::fromUtf8("Première"), "", "a, b"}));
    QCOMPARE(LanguageStrings::load("broken", "Test"), (QStringList{"x, y", "ok"}));
    // Entries after the last one present keep the pages' built-in texts; a
    // present empty one stays empty.
    QCOMPARE(LanguageStrings::load("none", "Test"), QStringList());
    QCOMPARE(LanguageStrings::load("tail", "Test"), (QStringList{"", ""}));
    // A text is cut before a split character; a file too big is not read.
    QCOMPARE(LanguageStrings::load("long", "Test"), QStringList{QString(LanguageStrings::maxTextLength - 1, 'a')});
    QCOMPARE(LanguageStrings::load("main", "Big"), QStringList());
    QVERIFY(!log.lines().filter("not read").isEmpty());
    QCOMPARE(LanguageStrings::load("absent", "Test"), QStringList());
    QCOMPARE(LanguageStrings::load("main", "NoSuchLanguage"), QStringList());
    // A huge total is cut, and says so.
    QCOMPARE(LanguageStrings::load("huge", "Test"), QStringList{"a"});
    QVERIFY(!log.lines().filter("is cut to").isEmpty());
}

QTEST_GUILESS_MAIN(TestNamesAndTexts)
#include "tst_namesandtexts.moc"
