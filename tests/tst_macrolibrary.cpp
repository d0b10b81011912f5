#include "FileChooser.h"
#include "MacroLibrary.h"
#include "ProfileStore.h"
#include "TestSupport.h"

#include <QDirIterator>
#include <QSettings>
#include <QTest>

using namespace MacroLibrary;

// The macro files and the profile references to them, in a temporary copy of
// the shipped data (the working directory). What a file holds is checked on
// its text, since settings objects of one process share a cache; an absent
// file reads as an empty text. The long tables are rows of
// tests/data/macrolibrary.rows.

namespace {

// The rows of one table of macrolibrary.rows; none at all is one failing row.
void addRows(const char* table)
{
    QTest::addColumn<DataRow>("row");
    QList<DataRow> rows = readDataRows(QStringLiteral("macrolibrary.rows"));
    rows.removeIf([table](const DataRow& row) { return row.field(0) != QLatin1String(table); });
    for (const DataRow& row : rows)
        QTest::addRow("%s:%d", qPrintable(row.field(1)), row.line) << row;
    if (rows.isEmpty())
        QTest::newRow("no rows") << DataRow{};
}

QStringList allFiles()
{
    QStringList all;
    for (QDirIterator it(".", QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        all << it.next();
    all.sort();
    return all;
}

QList<QSettings*> stores(const ProfileStore& store)
{
    QList<QSettings*> all;
    for (int n = 0; n < ProfileStore::profileCount; ++n)
        all << store.profile(n);
    return all;
}

} // namespace

class TestMacroLibrary : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_data = std::make_unique<TestDataFolder>(); }
    void cleanup() { m_data.reset(); }
    void createSaveLoad();
    void load_data() { addRows("load"); }
    void load();
    void names_data();
    void names();
    void rename_data();
    void rename();
    void deleteResetsButtons();
    void importExport_data() { addRows("files"); }
    void importExport();

private:
    QByteArray macroText(const QString& name) const { return m_data->read("modules/macro/" + name + ".bin"); }
    QByteArray text(const QString& relative) const { return m_data->read(relative); }
    void write(const QString& relative, const QByteArray& content) const { m_data->write(relative, content); }
    std::unique_ptr<TestDataFolder> m_data;
};

void TestMacroLibrary::createSaveLoad()
{
    QVERIFY(!saveMacroIni(defaultFolder, "Macro_0", {"1,A"}, 1));
    QVERIFY(!QFileInfo::exists("modules/macro/Macro_0.bin"));

    QVERIFY(createMacroIni(defaultFolder, "Macro_0", 0));
    QCOMPARE(macroText("Macro_0"), QByteArray("[config]\ndid=-1\nindex=0\nrepeat=1\ntotal=0\n"));
    QCOMPARE(loadMacroIni(defaultFolder, "Macro_0"), QStringList{"1"});

    QVERIFY(saveMacroIni(defaultFolder, "Macro_0", {"1,A", "0,50", "2,A"}, 7));
    QCOMPARE(macroText("Macro_0"), QByteArray("[config]\ndid=-1\nindex=0\nrepeat=7\ntotal=3\n\n"
                                              "[macro]\n0=\"1,A\"\n1=\"0,50\"\n2=\"2,A\"\n"));
    QCOMPARE(loadMacroIni(defaultFolder, "Macro_0"), (QStringList{"1,A", "0,50", "2,A", "7"}));

    // Creating again resets the count but leaves the old entries in the file.
    QVERIFY(createMacroIni(defaultFolder, "Macro_0", 3));
    QVERIFY(macroText("Macro_0").contains("index=3\nrepeat=1\ntotal=0\n\n[macro]\n0=\"1,A\""));
    QCOMPARE(loadMacroIni(defaultFolder, "Macro_0"), QStringList{"1"});

    QVERIFY(saveMacroIni(defaultFolder, "Macro_0", {}, QVariant()));
    QCOMPARE(macroText("Macro_0"), QByteArray("[config]\ndid=-1\nindex=3\nrepeat=0\ntotal=0\n"));
}

void TestMacroLibrary::load()
{
    QFETCH(DataRow, row);
    QVERIFY2(row.line > 0, "tests/data/macrolibrary.rows is missing or has no such table");
    write("modules/macro/m.bin", row.field(2).replace(QStringLiteral("\\n"), QStringLiteral("\n")).toUtf8());
    QStringList expected;
    for (const QString& item : row.field(3).split(QStringLiteral("; "))) {
        const QStringList repeated = item.split(QStringLiteral(" x "));
        expected += repeated.size() == 2 ? QStringList(repeated[0].toInt(), repeated[1]) : QStringList{item};
    }
    QCOMPARE(loadMacroIni(defaultFolder, "m"), expected);
}

void TestMacroLibrary::names_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("valid");
    QTest::addRow("empty") << QString() << false;
    QTest::addRow("slash") << "a/b" << false;
    QTest::addRow("backslash") << "a\\b" << false;
    QTest::addRow("control") << "a\tb" << false;
    QTest::addRow("up the tree") << "../setting/p1" << false;
    QTest::addRow("right-to-left override") << QString::fromUtf8("ab\u202Egpj") << false;
    QTest::addRow("isolate") << QString::fromUtf8("a\u2066b") << false;
    QTest::addRow("line separator") << QString::fromUtf8("a\u2028b") << false;
    QTest::addRow("paragraph separator") << QString::fromUtf8("a\u2029b") << false;
    QTest::addRow("lone surrogate") << QString(QChar(0xD800)) << false;
    QTest::addRow("one byte too long") << QString(maxNameBytes + 1, 'x') << false;
    // Few characters, but three bytes each.
    QTest::addRow("too long in bytes") << QString::fromUtf8("\u20AC").repeated(maxNameBytes / 3 + 1) << false;
    QTest::addRow("longest") << QString(maxNameBytes, 'x') << true;
    QTest::addRow("dots users type") << "Wait..." << true;
    QTest::addRow("dot dot inside") << "Burst..2" << true;
    QTest::addRow("leading dot") << ".hidden" << true;
    QTest::addRow("only dots") << ".." << true;
    QTest::addRow("comma and accents") << "Tir, rapide é" << true;
}

// Every operation on a macro file refuses a name that is no plain file name
// and leaves every file as it was.
void TestMacroLibrary::names()
{
    QFETCH(QString, name);
    QFETCH(bool, valid);
    QVERIFY(createMacroIni(defaultFolder, "other", 0));
    write("in.mc", "[config]\ntotal=0\nrepeat=4\n");
    FixedFileChooser chooser(m_data->filePath("in.mc"));
    ProfileStore store;
    const QStringList before = allFiles();
    MessageLog log;

    QCOMPARE(importMacroFile(defaultFolder, name, chooser), valid);
    QCOMPARE(loadMacroIni(defaultFolder, name), valid ? QStringList{"4"} : QStringList());
    QCOMPARE(createMacroIni(defaultFolder, name, 0), valid);
    QCOMPARE(saveMacroIni(defaultFolder, name, {"1,A"}, 2), valid);
    QCOMPARE(loadMacroIni(defaultFolder, name), valid ? (QStringList{"1,A", "2"}) : QStringList());
    QCOMPARE(deleteMacroIni(defaultFolder, name), valid);
    QCOMPARE(modifyMacroNameUpdateProfile(defaultFolder, "other", name, stores(store)), valid);
    if (!valid) {
        QCOMPARE(allFiles(), before);
        QCOMPARE(log.lines().filter("refused macro name").size(), 7);
    }
}

void TestMacroLibrary::rename_data()
{
    QTest::addColumn<QString>("newName");
    QTest::addColumn<bool>("oldExists");
    QTest::addColumn<bool>("renamed");
    QTest::addRow("renamed") << "fresh" << true << true;
    QTest::addRow("target exists") << "taken" << true << false;
    QTest::addRow("same name") << "old" << true << false;
    QTest::addRow("no old file") << "fresh" << false << false;
    QTest::addRow("refused new name") << "a/b" << true << false;
}

// The file moves first; only then do p1..p6 follow it, and p7..p10 never.
void TestMacroLibrary::rename()
{
    QFETCH(QString, newName);
    QFETCH(bool, oldExists);
    QFETCH(bool, renamed);
    const QByteArray oldText = oldExists ? "[config]\ntotal=0\nrepeat=5\n" : "";
    if (oldExists)
        write("modules/macro/old.bin", oldText);
    write("modules/macro/taken.bin", "[config]\ntotal=0\nrepeat=9\n");
    auto profile = [](int n, const char* name) {
        return "[mouseMacroKey]\n0=" + QByteArray(name) + "\n1=other\n2=" + name + "\nn=" + QByteArray::number(n) +
               "\n";
    };
    for (int n = 0; n < ProfileStore::profileCount; ++n)
        write(ProfileStore::profilePath(n), profile(n, "old"));
    {
        ProfileStore store;
        QCOMPARE(modifyMacroNameUpdateProfile(defaultFolder, "old", newName, stores(store)), renamed);
    }
    QCOMPARE(macroText("taken"), QByteArray("[config]\ntotal=0\nrepeat=9\n"));
    QCOMPARE(macroText("old"), renamed ? QByteArray() : oldText);
    if (renamed)
        QCOMPARE(macroText(newName), oldText);
    for (int n = 0; n < ProfileStore::profileCount; ++n)
        QCOMPARE(text(ProfileStore::profilePath(n)), profile(n, renamed && n < 6 ? "fresh" : "old"));
}

void TestMacroLibrary::deleteResetsButtons()
{
    QByteArray factory = "[mouseKeyMatrix]\n";
    for (int k = 0; k < 16; ++k)
        factory += QByteArray::number(k) + "=0, 0, " + QByteArray::number(240 + k) + ", 0\n";
    write("modules/setting/pD.bin", factory);
    const QByteArray p1 = "[mouseKeyMatrix]\n1=4, 0, 1, 0\n\n[mouseMacroKey]\n1=N\n";
    // Button 3's slot has no name; rows 8 and 9 are malformed.
    const QByteArray p2 = "[mouseKeyMatrix]\n3=4, 0, 3, 0\n8=4, 0\n9=4\n\n[mouseMacroKey]\n8=M\n9=M\n";
    const QByteArray p3 = "[mouseKeyMatrix]\n2=4, 0, 2, 0\n5=4, 1, 5, 0\n7=4, 0, 7, 0\n\n"
                          "[mouseMacroKey]\n2=M\n5=M\n7=N\n";
    const QByteArray p8 = "[mouseKeyMatrix]\n2=4, 0, 2, 0\n\n[mouseMacroKey]\n2=M\n";
    write(ProfileStore::profilePath(0), p1);
    write(ProfileStore::profilePath(1), p2);
    write(ProfileStore::profilePath(2), p3);
    write(ProfileStore::profilePath(7), p8);
    {
        ProfileStore store;
        deleteMacroUpdateProfile(QString(), stores(store), store.factory());
        deleteMacroUpdateProfile("M", stores(store), store.factory());
    }
    QCOMPARE(text(ProfileStore::profilePath(2)), QByteArray("[mouseKeyMatrix]\n2=0, 0, 242, 0\n5=0, 0, 245, 0\n"
                                                            "7=4, 0, 7, 0\n\n[mouseMacroKey]\n2=M\n5=M\n7=N\n"));
    QCOMPARE(text(ProfileStore::profilePath(0)), p1);
    QCOMPARE(text(ProfileStore::profilePath(1)), p2);
    QCOMPARE(text(ProfileStore::profilePath(7)), p8);
}

void TestMacroLibrary::importExport()
{
    QFETCH(DataRow, row);
    QVERIFY2(row.line > 0, "tests/data/macrolibrary.rows is missing or has no such table");
    const QMap<QString, QByteArray> texts{
        {"-", {}}, {"m", "[config]\ntotal=0\nrepeat=1\n"}, {"f", "[config]\ntotal=1\nrepeat=3\n[macro]\n0=\"1,B\"\n"}};
    const auto file = [&](int i) { return texts.value(row.field(i), "<not a file of the table>"); };
    if (!file(4).isEmpty())
        write("modules/macro/Macro_1.bin", file(4));
    if (!file(5).isEmpty())
        write("x.mc", file(5));
    FixedFileChooser chooser(row.field(3) == QLatin1String("cancel") ? QString() : m_data->filePath("x.mc"));
    if (row.field(2) == QLatin1String("import"))
        QCOMPARE(importMacroFile(defaultFolder, "Macro_1", chooser), row.field(6) == QLatin1String("true"));
    else
        exportMacroFile(defaultFolder, "Macro_1", chooser);
    QCOMPARE(macroText("Macro_1"), file(7));
    QCOMPARE(text("x.mc"), file(8));
    // No temporary copy is left behind.
    QCOMPARE(QDir("modules/macro").entryList(QDir::Files).size(), file(7).isEmpty() ? 0 : 1);
}

QTEST_GUILESS_MAIN(TestMacroLibrary)
#include "tst_macrolibrary.moc"
