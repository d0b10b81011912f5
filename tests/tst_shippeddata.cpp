#include "DeviceCommands.h"
#include "KeyMatrix.h"
#include "LanguageStrings.h"
#include "MacroCodec.h"
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

// The key names built into the key-code list of the pages (its library).
QStringList builtInKeyNames()
{
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import QtQml\nimport \"" SKARN_SOURCE_DIR "/modules/qml/common/KeyCodes.js\" as KeyCodes\n"
                      "QtObject { readonly property var builtInNames: KeyCodes.builtInKeyNames }",
                      QUrl::fromLocalFile(QStringLiteral(SKARN_SOURCE_DIR "/tests/keynames.qml")));
    std::unique_ptr<QObject> object(component.create());
    if (!object)
        qWarning() << component.errors();
    return object ? object->property("builtInNames").toStringList() : QStringList();
}

QStringList texts(const QSettings& s, const QString& group, qsizetype count)
{
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

private:
    void keyNames(const QSettings& s, bool builtInNames);
    void buttons(const QSettings& s);
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
    const auto sorted = [](QStringList list) {
        list.sort();
        return list;
    };
    QVERIFY2(QFileInfo::exists(file), qPrintable(file));
    if (rule == QLatin1String("files") || rule == QLatin1String("same")) {
        if (rule == QLatin1String("files"))
            QCOMPARE(QDir(file).entryList(QDir::Files, QDir::Name), wanted);
        else
            QCOMPARE(contents(file), contents(shipped(want)));
        return;
    }
    QSettings s(file, QSettings::IniFormat);
    QCOMPARE(s.status(), QSettings::NoError);
    if (rule == QLatin1String("key names"))
        return keyNames(s, want == QLatin1String("built-in"));
    if (rule == QLatin1String("buttons"))
        return buttons(s);
    if (rule == QLatin1String("tray texts")) {
        QCOMPARE(LanguageStrings::frenchDpiTexts, texts(s, key, 8));
        return;
    }
    if (rule == QLatin1String("keys") || rule == QLatin1String("section")) {
        s.beginGroup(key);
        if (rule == QLatin1String("keys")) {
            QCOMPARE(sorted(s.childGroups() + s.childKeys()), wanted);
            return;
        }
        QStringList expected{QStringLiteral("total")};
        for (int i = 0; i < want.toInt(); ++i) {
            expected << QString::number(i);
            const QVariant entry = s.value(expected.last());
            QVERIFY2(entry.metaType().id() == QMetaType::QString && !entry.toString().trimmed().isEmpty(),
                     qPrintable(QStringLiteral("entry %1 is empty or a list").arg(i)));
        }
        QCOMPARE(s.value(QStringLiteral("total")), QVariant(want));
        QCOMPARE(sorted(s.childKeys()), sorted(expected));
        return;
    }
    const QVariant v = s.value(key);
    const bool one = rule == QLatin1String("text") || rule == QLatin1String("int");
    QVERIFY2(QStringList({"text", "list", "int", "ints"}).contains(rule), qPrintable("unknown rule " + rule));
    QVERIFY2(v.metaType().id() == (one ? QMetaType::QString : QMetaType::QStringList), "not one text, or not a list");
    const QStringList items = one ? QStringList{v.toString()} : v.toStringList();
    if (rule == QLatin1String("text") || rule == QLatin1String("list")) {
        if (want == QLatin1String("*"))
            QVERIFY(!v.toString().trimmed().isEmpty());
        else
            QCOMPARE(items, one ? QStringList{want} : wanted);
        return;
    }
    // "N x lo..hi [step S]", or one range per item.
    const QStringList parts = want.split(QLatin1Char(' '));
    const QStringList ranges = parts.value(1) == QLatin1String("x") ? QStringList(parts[0].toInt(), parts[2]) : wanted;
    const int step = parts.value(3) == QLatin1String("step") ? parts.value(4).toInt() : 1;
    QCOMPARE(items.size(), ranges.size());
    for (qsizetype i = 0; i < items.size(); ++i)
        QVERIFY2(inRange(items[i], ranges[i]) && items[i].toInt() % step == 0, qPrintable(items[i]));
}

// Names are looked up by exact text and the first match wins, so a
// translation must give two keys the same name exactly where the built-in
// key-code list does; single-character legends and function keys stay as
// printed on the keys.
void TestShippedData::keyNames(const QSettings& s, bool builtInNames)
{
    const QStringList builtIn = builtInKeyNames();
    QCOMPARE(builtIn.size(), 133);
    QCOMPARE(MacroCodec::builtInKeyNames(), builtIn); // the macro encoder's copy
    const QStringList names = texts(s, QStringLiteral("keyCode"), 133);
    if (builtInNames)
        QCOMPARE(names, builtIn);
    QList<qsizetype> firstMatch, builtInFirstMatch;
    for (qsizetype i = 0; i < names.size(); ++i) {
        firstMatch << names.indexOf(names[i]);
        builtInFirstMatch << builtIn.indexOf(builtIn[i]);
        const QString& english = builtIn[i];
        if (english.size() == 1 ||
            (english.startsWith(QLatin1Char('F')) && english.size() <= 3 && english.mid(1).toInt() > 0))
            QCOMPARE(names[i], english);
    }
    // The same first match as the list's for every entry is the same pattern of equal names.
    QCOMPARE(firstMatch, builtInFirstMatch);
}

// What ties the keys of a profile together: the enabled DPI stages, and the
// button matrices (sixteen entries of four bytes in the page's form and in the
// firmware's).
void TestShippedData::buttons(const QSettings& s)
{
    const QSettings global(shipped(QStringLiteral("setting/apConfig.bin")), QSettings::IniFormat);
    QVERIFY2(s.value(QStringLiteral("mouse/currentDpiCount")).toInt() <=
                 s.value(QStringLiteral("mouse/dpiCount")).toInt(),
             "more stages enabled than offered");
    KeyMatrix::Matrix page{}, firmware{};
    for (auto [group, matrix] : {std::pair{"mouseKeyMatrix", &page}, std::pair{"mouseFwKeyMatrix", &firmware}}) {
        for (std::size_t i = 0; i < 16; ++i) {
            const QStringList items = s.value(QStringLiteral("%1/%2").arg(group).arg(i)).toStringList();
            for (std::size_t k = 0; k < 4; ++k) {
                QVERIFY2(items.size() == 4 && inRange(items[k], QStringLiteral("0..255")),
                         qPrintable(QStringLiteral("%1/%2 is not four bytes").arg(group).arg(i)));
                (*matrix)[i][k] = std::uint8_t(items[k].toInt());
            }
        }
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

    // The firmware form is what a save of the buttons sends as matrix 1.
    const auto words = [](const KeyMatrix::Matrix& m) {
        QStringList all;
        for (const KeyMatrix::Entry& e : m)
            all << QByteArray(reinterpret_cast<const char*>(e.data()), 4).toHex(' ');
        return all;
    };
    const QString commandSet = global.value(QStringLiteral("mouse/icType")).toString();
    QCOMPARE(words(firmware),
             words(KeyMatrix::transfer(page, DeviceCommands::keyMatrixForm(commandSetOf(commandSet)), {}).matrices[0]));
}

QTEST_GUILESS_MAIN(TestShippedData)
#include "tst_shippeddata.moc"
