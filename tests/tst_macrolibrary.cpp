#include "FileChooser.h"
#include "MacroLibrary.h"
#include "ProfileStore.h"
#include "TestSupport.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>

using namespace MacroLibrary;

// The macro files and the profile references to them, in a temporary copy of
// the shipped data (the working directory). What a file holds is checked on
// its text, since settings objects of one process share a cache; an absent
// file reads as an empty text. The long tables are rows of
// tests/data/macrolibrary.rows.

namespace {

// A text of macrolibrary.rows: \uXXXX escapes, "\n" line breaks, "T * N" for T N times.
QString textOf(QString text)
{
    static const QRegularExpression escape(QStringLiteral("\\\\u([0-9A-F]{4})"));
    for (QRegularExpressionMatch m; (m = escape.match(text)).hasMatch();)
        text.replace(m.capturedStart(), m.capturedLength(), QChar(m.captured(1).toUShort(nullptr, 16)));
    const QStringList repeated = text.replace(QStringLiteral("\\n"), QStringLiteral("\n")).split(QStringLiteral(" * "));
    return repeated.size() == 2 ? repeated[0].repeated(repeated[1].toInt()) : text;
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
    void rows_data() { addDataRows(QStringLiteral("macrolibrary.rows")); }
    void rows();
    void deleteResetsButtons();

private:
    void names(const QString& name, const QString& kind);
    void importExport(const DataRow& row);
    void rename(const QString& newName, bool oldExists, bool renamed);
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

void TestMacroLibrary::rows()
{
    FETCH_DATA_ROW(row);
    if (row.field(0) == QLatin1String("name"))
        return names(textOf(row.field(2)), row.field(3));
    if (row.field(0) == QLatin1String("files"))
        return importExport(row);
    if (row.field(0) == QLatin1String("rename"))
        return rename(row.field(2), row.field(3) == QLatin1String("there"), row.field(4) == QLatin1String("moved"));
    QCOMPARE(row.field(0), QStringLiteral("load"));
    write("modules/macro/m.bin", textOf(row.field(2)).toUtf8());
    QStringList expected;
    for (const QString& item : row.field(3).split(QStringLiteral("; "))) {
        const QStringList repeated = item.split(QStringLiteral(" x "));
        expected += repeated.size() == 2 ? QStringList(repeated[0].toInt(), repeated[1]) : QStringList{item};
    }
    QCOMPARE(loadMacroIni(defaultFolder, "m"), expected);
}

// Every operation on a macro file refuses a name that is no plain file name
// and leaves every file as it was.
void TestMacroLibrary::names(const QString& name, const QString& kind)
{
    const bool valid = kind == QLatin1String("valid"), readOnly = kind == QLatin1String("read only");
    QVERIFY(createMacroIni(defaultFolder, "other", 0));
    write("in.mc", "[config]\ntotal=0\nrepeat=4\n");
    if (readOnly)
        write("modules/macro/" + name + ".bin", "[config]\ntotal=0\nrepeat=4\n");
    FixedFileChooser chooser(m_data->filePath("in.mc"));
    ProfileStore store;
    const QStringList before = allFiles();
    MessageLog log;

    QCOMPARE(importMacroFile(defaultFolder, name, chooser), valid);
    QCOMPARE(loadMacroIni(defaultFolder, name), valid || readOnly ? QStringList{"4"} : QStringList());
    QCOMPARE(createMacroIni(defaultFolder, name, 0), valid);
    QCOMPARE(saveMacroIni(defaultFolder, name, {"1,A"}, 2), valid);
    const QStringList saved = valid ? QStringList{"1,A", "2"} : readOnly ? QStringList{"4"} : QStringList();
    QCOMPARE(loadMacroIni(defaultFolder, name), saved);
    if (readOnly) { // nothing written; renamed away, it is an ordinary macro again
        QCOMPARE(allFiles(), before);
        QVERIFY(modifyMacroNameUpdateProfile(defaultFolder, name, "short", stores(store)));
    }
    QCOMPARE(deleteMacroIni(defaultFolder, readOnly ? "short" : name), valid || readOnly);
    QCOMPARE(modifyMacroNameUpdateProfile(defaultFolder, "other", name, stores(store)), valid);
    if (!valid && !readOnly)
        QCOMPARE(allFiles(), before);
    if (!valid)
        QCOMPARE(log.lines().filter("refused macro name").size(), readOnly ? 4 : 7);
}

// The file moves first; only then do p1..p6 follow it, and p7..p10 never.
void TestMacroLibrary::rename(const QString& newName, bool oldExists, bool renamed)
{
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
    // In p2 button 3's slot has no name and rows 8 and 9 are malformed; p8 is
    // beyond p1..p6, which follow macros.
    const QMap<int, QByteArray> before{
        {0, "[mouseKeyMatrix]\n1=4, 0, 1, 0\n\n[mouseMacroKey]\n1=N\n"},
        {1, "[mouseKeyMatrix]\n3=4, 0, 3, 0\n8=4, 0\n9=4\n\n[mouseMacroKey]\n8=M\n9=M\n"},
        {2, "[mouseKeyMatrix]\n2=4, 0, 2, 0\n5=4, 1, 5, 0\n7=4, 0, 7, 0\n\n[mouseMacroKey]\n2=M\n5=M\n7=N\n"},
        {7, "[mouseKeyMatrix]\n2=4, 0, 2, 0\n\n[mouseMacroKey]\n2=M\n"}};
    for (auto it = before.begin(); it != before.end(); ++it)
        write(ProfileStore::profilePath(it.key()), it.value());
    {
        ProfileStore store;
        deleteMacroUpdateProfile(QString(), stores(store), store.factory());
        deleteMacroUpdateProfile("M", stores(store), store.factory());
    }
    for (auto it = before.begin(); it != before.end(); ++it) {
        QCOMPARE(text(ProfileStore::profilePath(it.key())),
                 it.key() != 2 ? it.value()
                               : QByteArray("[mouseKeyMatrix]\n2=0, 0, 242, 0\n5=0, 0, 245, 0\n7=4, 0, 7, 0\n\n"
                                            "[mouseMacroKey]\n2=M\n5=M\n7=N\n"));
    }
}

void TestMacroLibrary::importExport(const DataRow& row)
{
    const QMap<QString, QByteArray> texts{
        {"-", {}}, {"m", "[config]\ntotal=0\nrepeat=1\n"}, {"f", "[config]\ntotal=1\nrepeat=3\n[macro]\n0=\"1,B\"\n"}};
    const auto file = [&](int i) { return texts.value(row.field(i), "<not a file of the table>"); };
    if (!file(4).isEmpty())
        write("modules/macro/Macro_1.bin", file(4));
    if (!file(5).isEmpty())
        write("x.mc", file(5));
    FixedFileChooser chooser(row.field(3) == QLatin1String("cancel") ? QString() : m_data->filePath("x.mc"));
    // An import starts in the desktop (or home) folder, an export suggests the macro's name there.
    const QString folder = ExportFile::startFolder();
    if (row.field(2) == QLatin1String("import")) {
        QCOMPARE(importMacroFile(defaultFolder, "Macro_1", chooser), row.field(6) == QLatin1String("true"));
        QCOMPARE(chooser.lastFolder(), folder);
    } else {
        exportMacroFile(defaultFolder, "Macro_1", chooser);
        QCOMPARE(chooser.lastFolder(), QDir(folder).filePath("Macro_1.mc"));
    }
    QCOMPARE(macroText("Macro_1"), file(7));
    QCOMPARE(text("x.mc"), file(8));
    // No temporary copy is left behind.
    QCOMPARE(QDir("modules/macro").entryList(QDir::Files).size(), file(7).isEmpty() ? 0 : 1);
}

QTEST_GUILESS_MAIN(TestMacroLibrary)
#include "tst_macrolibrary.moc"
