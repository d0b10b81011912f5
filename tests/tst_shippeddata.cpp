#include "KeyMatrix.h"
#include "LanguageStrings.h"
#include "TestSupport.h"

#include <QQmlComponent>
#include <QQmlEngine>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>

#include <memory>

// The data files shipped in the source tree's modules/ folder, read the way
// the program reads them (QSettings, IniFormat). Most checks are rows of
// tests/data/shippeddata.rows; what needs the program's own tables is below.


namespace {

QString shipped(const QString& relative)
{
    return sourceModulesPath() + QLatin1Char('/') + relative;
}

// The files a pattern names ("setting/p*.bin"); the path itself when nothing
// matches, so that a missing file or a folder is still checked.
QStringList filesOf(const QString& pattern)
{
    const QFileInfo info(shipped(pattern));
    QStringList files;
    for (const QString& name : QDir(info.path()).entryList({info.fileName()}, QDir::Files, QDir::Name))
        files << info.path() + QLatin1Char('/') + name;
    return files.isEmpty() ? QStringList{info.filePath()} : files;
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

// "lo..hi", a single number, or alternatives joined by " or ".
bool inRange(const QString& text, const QString& ranges)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    for (const QString& range : ranges.split(QStringLiteral(" or "))) {
        const QStringList ends = range.split(QStringLiteral(".."));
        if (ok && n >= ends.first().toInt() && n <= ends.last().toInt())
            return true;
    }
    return false;
}

// The key names built into the key-code list of the pages.
QStringList builtInKeyNames()
{
    QQmlEngine engine;
    QQmlComponent component(
        &engine, QUrl::fromLocalFile(QStringLiteral(SKARN_SOURCE_DIR "/modules/qml/basic/KeyCodeString.qml")));
    std::unique_ptr<QObject> object(component.create());
    if (!object)
        qWarning() << component.errors();
    return object ? object->property("builtInNames").toStringList() : QStringList();
}

QStringList texts(const QString& file, const QString& group, qsizetype count)
{
    const QSettings s(shipped(file), QSettings::IniFormat);
    QStringList all;
    for (qsizetype i = 0; i < count; ++i)
        all << s.value(group + QLatin1Char('/') + QString::number(i)).toString();
    return all;
}

} // namespace

class TestShippedData : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rows_data();
    void rows();
    void keyNames_data();
    void keyNames();
    void frenchTrayTexts();
    void profiles_data();
    void profiles();
};

void TestShippedData::rows_data()
{
    QTest::addColumn<DataRow>("row");
    QTest::addColumn<QString>("file");
    const QList<DataRow> rows = readDataRows(QStringLiteral("shippeddata.rows"));
    if (rows.isEmpty())
        QTest::newRow("no rows") << DataRow{} << QString();
    for (const DataRow& row : rows) {
        for (const QString& file : filesOf(row.field(0)))
            QTest::addRow("%s %s", row.name().constData(), qPrintable(QFileInfo(file).fileName())) << row << file;
    }
}

void TestShippedData::rows()
{
    QFETCH(DataRow, row);
    QFETCH(QString, file);
    QVERIFY2(row.line > 0, "tests/data/shippeddata.rows is missing or empty");
    const QString key = row.field(1), rule = row.field(2), want = row.field(3);
    const QStringList wanted = want.split(QStringLiteral(", "));
    QVERIFY2(QFileInfo::exists(file), qPrintable(file));
    if (rule == QLatin1String("files")) {
        QCOMPARE(QDir(file).entryList(QDir::Files, QDir::Name), wanted);
        return;
    }
    if (rule == QLatin1String("same")) {
        QCOMPARE(contents(file), contents(shipped(want)));
        return;
    }
    QSettings s(file, QSettings::IniFormat);
    QCOMPARE(s.status(), QSettings::NoError);
    const QVariant v = key.isEmpty() ? QVariant() : s.value(key);
    const bool isText = v.metaType().id() == QMetaType::QString;
    const bool isList = v.metaType().id() == QMetaType::QStringList;
    if (rule == QLatin1String("groups")) {
        QStringList groups = s.childGroups();
        groups.sort();
        QCOMPARE(groups, wanted);
        QVERIFY2(s.childKeys().isEmpty(), "keys outside any group");
    } else if (rule == QLatin1String("keys")) {
        s.beginGroup(key);
        QCOMPARE(s.childKeys(), wanted);
    } else if (rule == QLatin1String("text")) {
        QVERIFY2(isText, "not one text");
        if (want == QLatin1String("*"))
            QVERIFY(!v.toString().trimmed().isEmpty());
        else
            QCOMPARE(v.toString(), want);
    } else if (rule == QLatin1String("list")) {
        QVERIFY2(isList, "not a list");
        QCOMPARE(v.toStringList(), wanted);
    } else if (rule == QLatin1String("int")) {
        QVERIFY2(isText && inRange(v.toString(), want), qPrintable(v.toString()));
    } else if (rule == QLatin1String("ints")) {
        // "N x lo..hi [step S]", or one range per item.
        const QStringList parts = want.split(QLatin1Char(' '));
        const bool repeated = parts.value(1) == QLatin1String("x");
        const QStringList ranges = repeated ? QStringList(parts[0].toInt(), parts[2]) : wanted;
        const int step = parts.value(3) == QLatin1String("step") ? parts.value(4).toInt() : 1;
        const QStringList items = v.toStringList();
        QVERIFY2(isList, "not a list");
        QCOMPARE(items.size(), ranges.size());
        for (qsizetype i = 0; i < items.size(); ++i)
            QVERIFY2(inRange(items[i], ranges[i]) && items[i].toInt() % step == 0, qPrintable(items[i]));
    } else if (rule == QLatin1String("section")) {
        const int total = want.toInt();
        QCOMPARE(s.value(key + QStringLiteral("/total")), QVariant(want));
        s.beginGroup(key);
        QStringList expected{QStringLiteral("total")};
        for (int i = 0; i < total; ++i)
            expected << QString::number(i);
        QStringList keys = s.childKeys();
        keys.sort();
        expected.sort();
        QCOMPARE(keys, expected);
        for (int i = 0; i < total; ++i) {
            const QVariant entry = s.value(QString::number(i));
            QVERIFY2(entry.metaType().id() == QMetaType::QString && !entry.toString().trimmed().isEmpty(),
                     qPrintable(QStringLiteral("entry %1 is empty or a list").arg(i)));
        }
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown rule ") + rule));
    }
}

void TestShippedData::keyNames_data()
{
    QTest::addColumn<QString>("language");
    for (const char* language : {"English", "French", "ChineseSimplified"})
        QTest::newRow(language) << QString::fromLatin1(language);
}

// English names the keys exactly as the built-in key-code list does. Names
// are looked up by exact text and the first match wins, so a translation must
// give two keys the same name exactly where the list does; single-character
// legends and function keys stay as printed on the keys.
void TestShippedData::keyNames()
{
    QFETCH(QString, language);
    const QStringList builtIn = builtInKeyNames();
    QCOMPARE(builtIn.size(), 133);
    const QStringList names = texts(QStringLiteral("i18n/%1.ini").arg(language), QStringLiteral("keyCode"), 133);
    if (language == QLatin1String("English"))
        QCOMPARE(names, builtIn);
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString english = builtIn.at(i);
        // The same first match as the list's is the same pattern of equal names.
        QVERIFY2(names.indexOf(names[i]) == builtIn.indexOf(english),
                 qPrintable(QStringLiteral("entry %1 (%2) is named as entry %3")
                                .arg(i)
                                .arg(names[i])
                                .arg(names.indexOf(names[i]))));
        const bool legend = english.size() == 1 ||
                            (english.startsWith(QLatin1Char('F')) && english.size() <= 3 && english.mid(1).toInt() > 0);
        if (legend)
            QCOMPARE(names[i], english);
    }
}

// The program's own French tray texts are the file's (whose texts are rows).
void TestShippedData::frenchTrayTexts()
{
    QCOMPARE(LanguageStrings::frenchDpiTexts, texts(QStringLiteral("i18n/French.ini"), QStringLiteral("other"), 8));
}

void TestShippedData::profiles_data()
{
    QTest::addColumn<QString>("file");
    for (const QString& file : filesOf(QStringLiteral("setting/p*.bin")))
        QTest::newRow(qPrintable(QFileInfo(file).fileName())) << file;
}

// What ties the keys of a profile together: the enabled DPI stages, and the
// button matrices (sixteen entries of four bytes in the page's form, and the
// firmware form, which must be what a save of those buttons sends as matrix 1).
void TestShippedData::profiles()
{
    QFETCH(QString, file);
    const QSettings global(shipped(QStringLiteral("setting/apConfig.bin")), QSettings::IniFormat);
    QSettings s(file, QSettings::IniFormat);
    QVERIFY2(s.value(QStringLiteral("mouse/currentDpiCount")).toInt() <=
                 s.value(QStringLiteral("mouse/dpiCount")).toInt(),
             "more stages enabled than offered");
    KeyMatrix::Matrix page{}, firmware{};
    for (auto [group, matrix] : {std::pair{"mouseKeyMatrix", &page}, std::pair{"mouseFwKeyMatrix", &firmware}}) {
        s.beginGroup(QLatin1String(group));
        QCOMPARE(s.childKeys().size(), 16);
        for (int i = 0; i < 16; ++i) {
            const QStringList items = s.value(QString::number(i)).toStringList();
            QVERIFY2(items.size() == 4, qPrintable(QStringLiteral("%1/%2 is not four numbers").arg(group).arg(i)));
            for (int k = 0; k < 4; ++k) {
                QVERIFY2(inRange(items[k], QStringLiteral("0..255")),
                         qPrintable(QStringLiteral("%1/%2").arg(group).arg(i)));
                (*matrix)[std::size_t(i)][std::size_t(k)] = std::uint8_t(items[k].toInt());
            }
        }
        s.endGroup();
    }

    bool leftClickReachesDevice = false;
    for (int i = 0; i < 16; ++i) {
        const KeyMatrix::Entry& e = page[std::size_t(i)];
        // No gun entry (class 8): the firmware matrix is the plain translation only without guns.
        QVERIFY2(e[0] <= 7 || e[0] == 0xFF, qPrintable(QStringLiteral("button %1: class %2").arg(i).arg(e[0])));
        if (e[0] == 4) {
            QCOMPARE(int(e[2]), i); // the macro slot is the button index
            QVERIFY2(!s.value(QStringLiteral("mouseMacroKey/%1").arg(i)).toString().isEmpty(), "macro without name");
        }
        // buttons 7, 8 and 9 are replaced by fixed entries on the way out
        leftClickReachesDevice = leftClickReachesDevice || (e == KeyMatrix::Entry{0, 0, 0xF0, 0} && (i < 7 || i > 9));
    }
    QVERIFY2(leftClickReachesDevice, "no left click that reaches the mouse");

    const KeyMatrix::Matrix device =
        KeyMatrix::transfer(page, commandSetOf(global.value(QStringLiteral("mouse/icType")).toString()), {})
            .matrices[0];
    for (std::size_t i = 0; i < 16; ++i) {
        QVERIFY2(firmware[i] == device[i],
                 qPrintable(QStringLiteral("mouseFwKeyMatrix/%1 is not what the buttons give, %2")
                                .arg(i)
                                .arg(QByteArray(reinterpret_cast<const char*>(device[i].data()), 4).toHex(' '))));
    }
}

QTEST_GUILESS_MAIN(TestShippedData)
#include "tst_shippeddata.moc"
