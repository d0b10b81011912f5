#include "KeyMatrix.h"
#include "TestSupport.h"

#include <QQmlComponent>
#include <QQmlEngine>

#include <QFile>
#include <QSet>
#include <QSettings>
#include <QTest>

#include <array>
#include <memory>

// The data files shipped in the source tree's modules/ folder, read the way
// the program reads them (QSettings, IniFormat): the language files, the
// factory profile and the ten profiles, and the name list.

namespace {

struct SectionSize
{
    const char* name;
    int total;
};

// Every text group the pages load, with the length of the page array it
// replaces.
// clang-format off
constexpr SectionSize kSections[] = {
    {"main", 15},         {"keyMatrix", 2},      {"keyAssigment", 58}, {"dpiSetting", 1},
    {"lightControl", 45}, {"macroEditor", 20},   {"systemSetting", 8}, {"gunControl", 10},
    {"profile", 20},      {"keyCode", 133},      {"other", 8},
};
// clang-format on

const char* const kLanguages[] = {"English", "French", "ChineseSimplified"};

const QStringList kProfileFiles = {
    QStringLiteral("pD.bin"), QStringLiteral("p1.bin"), QStringLiteral("p2.bin"),  QStringLiteral("p3.bin"),
    QStringLiteral("p4.bin"), QStringLiteral("p5.bin"), QStringLiteral("p6.bin"),  QStringLiteral("p7.bin"),
    QStringLiteral("p8.bin"), QStringLiteral("p9.bin"), QStringLiteral("p10.bin"),
};

QString languageFile(const QString& language)
{
    return sourceModulesPath() + QStringLiteral("/i18n/") + language + QStringLiteral(".ini");
}

QString settingFile(const QString& name)
{
    return sourceModulesPath() + QStringLiteral("/setting/") + name;
}

bool isText(const QVariant& v)
{
    return v.metaType().id() == QMetaType::QString;
}

// A single number as the file holds it: text, not a list, a whole decimal.
bool readInt(const QSettings& s, const QString& key, int* out)
{
    const QVariant v = s.value(key);
    if (!isText(v))
        return false;
    bool ok = false;
    *out = v.toString().toInt(&ok);
    return ok;
}

// A list of numbers: the value must have been read as a list of texts, each
// a whole decimal.
bool readIntList(const QSettings& s, const QString& key, QList<int>* out)
{
    const QVariant v = s.value(key);
    if (v.metaType().id() != QMetaType::QStringList)
        return false;
    out->clear();
    for (const QString& item : v.toStringList()) {
        bool ok = false;
        out->append(item.toInt(&ok));
        if (!ok)
            return false;
    }
    return true;
}

using Entry = std::array<int, 4>;
using Matrix = std::array<Entry, 16>;

bool readMatrix(const QSettings& s, const QString& group, Matrix* out, QString* why)
{
    for (int i = 0; i < 16; ++i) {
        const QString key = group + QLatin1Char('/') + QString::number(i);
        QList<int> values;
        if (!readIntList(s, key, &values)) {
            *why = key + QStringLiteral(" is missing or not a list of numbers");
            return false;
        }
        if (values.size() != 4) {
            *why = key + QStringLiteral(" has %1 values").arg(values.size());
            return false;
        }
        for (int k = 0; k < 4; ++k) {
            if (values[k] < 0 || values[k] > 255) {
                *why = key + QStringLiteral(" holds %1, not a byte").arg(values[k]);
                return false;
            }
            (*out)[i][k] = values[k];
        }
    }
    return true;
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

QString entryText(const Entry& e)
{
    return QStringLiteral("%1, %2, %3, %4").arg(e[0]).arg(e[1]).arg(e[2]).arg(e[3]);
}

// Number of entries of the lighting page's effect list for the device flags.
int effectCount(bool colorful, bool variant55328, bool variant571)
{
    return 4 + (colorful ? 7 : 0) + (variant55328 ? 1 : 0) + (variant571 ? 16 : 0);
}

bool globalFlag(const QSettings& s, const QString& key)
{
    const QString text = s.value(key).toString().trimmed().toLower();
    return !(text.isEmpty() || text == QLatin1String("0") || text == QLatin1String("false"));
}

} // namespace

class TestShippedData : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void languageSection_data();
    void languageSection();
    void languageGroups_data();
    void languageGroups();
    void englishKeyNames_data();
    void englishKeyNames();
    void translatedKeyNames_data();
    void translatedKeyNames();
    void frenchTrayTexts_data();
    void frenchTrayTexts();
    void profileValues_data();
    void profileValues();
    void profileKeyMatrices_data();
    void profileKeyMatrices();
    void nameList();
};

void TestShippedData::languageSection_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("section");
    QTest::addColumn<int>("total");

    for (const char* language : kLanguages) {
        for (const SectionSize& s : kSections)
            QTest::addRow("%s/%s", language, s.name)
                << QString::fromLatin1(language) << QString::fromLatin1(s.name) << s.total;
    }
}

void TestShippedData::languageSection()
{
    QFETCH(QString, language);
    QFETCH(QString, section);
    QFETCH(int, total);

    const QString path = languageFile(language);
    QVERIFY2(QFile::exists(path), qPrintable(path));
    QSettings s(path, QSettings::IniFormat);
    QCOMPARE(s.status(), QSettings::NoError);

    int stored = -1;
    QVERIFY2(readInt(s, section + QStringLiteral("/total"), &stored), "total is not a number");
    QCOMPARE(stored, total);

    // Exactly total and the entries 0..total-1: a misspelt or surplus key
    // would be a text that no page ever shows.
    s.beginGroup(section);
    QStringList expectedKeys{QStringLiteral("total")};
    for (int i = 0; i < total; ++i)
        expectedKeys << QString::number(i);
    QStringList keys = s.childKeys();
    keys.sort();
    expectedKeys.sort();
    QCOMPARE(keys, expectedKeys);

    for (int i = 0; i < total; ++i) {
        const QVariant v = s.value(QString::number(i));
        // An unquoted comma makes QSettings hand out a list, which the
        // program turns into an empty text.
        QVERIFY2(isText(v), qPrintable(QStringLiteral("entry %1 was read as a list").arg(i)));
        QVERIFY2(!v.toString().trimmed().isEmpty(), qPrintable(QStringLiteral("entry %1 is empty").arg(i)));
    }
    s.endGroup();
}

void TestShippedData::languageGroups_data()
{
    QTest::addColumn<QString>("language");
    for (const char* language : kLanguages)
        QTest::addRow("%s", language) << QString::fromLatin1(language);
}

void TestShippedData::languageGroups()
{
    QFETCH(QString, language);
    QSettings s(languageFile(language), QSettings::IniFormat);
    QCOMPARE(s.status(), QSettings::NoError);

    QStringList expected;
    for (const SectionSize& section : kSections)
        expected << QString::fromLatin1(section.name);
    QStringList groups = s.childGroups();
    groups.sort();
    expected.sort();
    QCOMPARE(groups, expected);
    QVERIFY2(s.childKeys().isEmpty(), "keys outside any section");
}

void TestShippedData::englishKeyNames_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    const QStringList names = builtInKeyNames();
    QCOMPARE(names.size(), 133);
    for (int i = 0; i < names.size(); ++i)
        QTest::addRow("%d: %s", i, qPrintable(names.at(i))) << i << names.at(i);
}

// English.ini names the keys exactly as the built-in key-code list does.
void TestShippedData::englishKeyNames()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QSettings s(languageFile(QStringLiteral("English")), QSettings::IniFormat);
    const QVariant v = s.value(QStringLiteral("keyCode/%1").arg(index));
    QVERIFY(isText(v));
    QCOMPARE(v.toString(), name);
}

void TestShippedData::translatedKeyNames_data()
{
    QTest::addColumn<QString>("language");
    QTest::addRow("French") << QStringLiteral("French");
    QTest::addRow("ChineseSimplified") << QStringLiteral("ChineseSimplified");
}

// Names are looked up by exact text and the first match wins, so a
// translation must give two keys the same name exactly where the key-code
// list does; and single-character legends and function keys stay as printed
// on the keys.
void TestShippedData::translatedKeyNames()
{
    QFETCH(QString, language);
    QSettings s(languageFile(language), QSettings::IniFormat);
    QStringList names;
    const QStringList builtIn = builtInKeyNames();
    for (int i = 0; i < builtIn.size(); ++i)
        names << s.value(QStringLiteral("keyCode/%1").arg(i)).toString();

    for (int i = 0; i < names.size(); ++i) {
        const QString english = builtIn.at(i);
        for (int j = i + 1; j < names.size(); ++j) {
            const bool sameEnglish = english == builtIn.at(j);
            QVERIFY2(
                (names[i] == names[j]) == sameEnglish,
                qPrintable(QStringLiteral("entries %1 (%2) and %3 (%4)").arg(i).arg(names[i]).arg(j).arg(names[j])));
        }
        const bool legend = english.size() == 1 ||
                            (english.startsWith(QLatin1Char('F')) && english.size() <= 3 && english.mid(1).toInt() > 0);
        if (legend)
            QCOMPARE(names[i], english);
    }
}

void TestShippedData::frenchTrayTexts_data()
{
    QTest::addColumn<int>("stage");
    QTest::addColumn<QString>("text");
    QTest::addRow("1") << 1 << QStringLiteral("passage DPI au premier étage");
    QTest::addRow("2") << 2 << QStringLiteral("DPI passe au deuxième étage");
    QTest::addRow("3") << 3 << QStringLiteral("DPI passe au troisième étage");
    QTest::addRow("4") << 4 << QStringLiteral("DPI passe au quatrième étage");
    QTest::addRow("5") << 5 << QStringLiteral("DPI passe au cinquième étage");
    QTest::addRow("6") << 6 << QStringLiteral("DPI passe au sixième étage");
    QTest::addRow("7") << 7 << QStringLiteral("DPI passe au septième étage");
    QTest::addRow("8") << 8 << QStringLiteral("DPI passe au huitième étage");
}

// With French the program uses its own texts whatever the file says; the file
// must agree so that both sources show the same thing.
void TestShippedData::frenchTrayTexts()
{
    QFETCH(int, stage);
    QFETCH(QString, text);
    QSettings s(languageFile(QStringLiteral("French")), QSettings::IniFormat);
    QCOMPARE(s.value(QStringLiteral("other/%1").arg(stage - 1)).toString(), text);
}

void TestShippedData::profileValues_data()
{
    QTest::addColumn<QString>("file");
    for (const QString& file : kProfileFiles)
        QTest::addRow("%s", qPrintable(file)) << file;
}

void TestShippedData::profileValues()
{
    QFETCH(QString, file);

    QSettings global(settingFile(QStringLiteral("apConfig.bin")), QSettings::IniFormat);
    int minDpi = 0, maxDpi = 0, dpiBase = 0;
    QVERIFY(readInt(global, QStringLiteral("mouse/minDPI"), &minDpi));
    QVERIFY(readInt(global, QStringLiteral("mouse/maxDPI"), &maxDpi));
    QVERIFY(readInt(global, QStringLiteral("mouse/dpiBase"), &dpiBase));
    QVERIFY(dpiBase > 0 && minDpi < maxDpi);
    const int effects = effectCount(globalFlag(global, QStringLiteral("mouse/isColorful")),
                                    globalFlag(global, QStringLiteral("mouse/is55328")),
                                    globalFlag(global, QStringLiteral("mouse/is571")));

    const QString path = settingFile(file);
    QVERIFY2(QFile::exists(path), qPrintable(path));
    QSettings s(path, QSettings::IniFormat);
    QCOMPARE(s.status(), QSettings::NoError);

    QStringList groups = s.childGroups();
    groups.sort();
    QCOMPARE(groups, (QStringList{QStringLiteral("mouse"), QStringLiteral("mouseFwKeyMatrix"),
                                  QStringLiteral("mouseKeyMatrix")}));

    int value = -1;
    QVERIFY(readInt(s, QStringLiteral("mouse/reportRate"), &value));
    QVERIFY2(value >= 0 && value <= 3, "report rate index outside 125..1000 Hz");

    int dpiCount = 0, currentDpiCount = 0;
    QVERIFY(readInt(s, QStringLiteral("mouse/dpiCount"), &dpiCount));
    QVERIFY(readInt(s, QStringLiteral("mouse/currentDpiCount"), &currentDpiCount));
    QVERIFY2(dpiCount >= 1 && dpiCount <= 8, "the DPI page offers 1..8 stages");
    QVERIFY2(currentDpiCount >= 1 && currentDpiCount <= dpiCount, "more stages enabled than offered");

    QList<int> list;
    QVERIFY(readIntList(s, QStringLiteral("mouse/dpiValueArray"), &list));
    QCOMPARE(list.size(), 8);
    for (int dpi : list) {
        QVERIFY2(dpi >= minDpi && dpi <= maxDpi,
                 qPrintable(QStringLiteral("%1 DPI outside the sensor's range").arg(dpi)));
        QVERIFY2((dpi - minDpi) % dpiBase == 0 && dpi % dpiBase == 0,
                 qPrintable(QStringLiteral("%1 DPI off the DPI step").arg(dpi)));
    }

    QVERIFY(readIntList(s, QStringLiteral("mouse/lightValue"), &list));
    QCOMPARE(list.size(), 3);
    QVERIFY2(list[0] >= 0 && list[0] < effects, "effect not in this mouse's effect list");
    QVERIFY2(list[1] >= 0 && list[1] <= 4, "speed step outside 0..4");
    QVERIFY2(list[2] >= 0 && list[2] <= 4, "brightness step outside 0..4");

    QVERIFY(readIntList(s, QStringLiteral("mouse/colorValue"), &list));
    QCOMPARE(list.size(), 36);
    for (int c : list)
        QVERIFY2(c >= 0 && c <= 255, "colour component outside 0..255");

    QVERIFY(readIntList(s, QStringLiteral("mouse/fixColor"), &list));
    QCOMPARE(list.size(), 3);
    for (int c : list)
        QVERIFY2(c >= 0 && c <= 255, "colour component outside 0..255");

    // slider positions of the 352-pixel system sliders
    QVERIFY(readInt(s, QStringLiteral("mouse/mouseRate"), &value));
    QVERIFY2(value >= 3 && value <= 337, "cursor speed knob off the slider");
    QVERIFY(readInt(s, QStringLiteral("mouse/doubleRate"), &value));
    QVERIFY2(value >= 3 && value <= 337, "double-click knob off the slider");
    // typed lines 1..100, or one screen
    QVERIFY(readInt(s, QStringLiteral("mouse/scrollRate"), &value));
    QVERIFY2((value >= 1 && value <= 100) || value == 1000, "scroll lines the page cannot show");
}

void TestShippedData::profileKeyMatrices_data()
{
    profileValues_data();
}

void TestShippedData::profileKeyMatrices()
{
    QFETCH(QString, file);

    QSettings global(settingFile(QStringLiteral("apConfig.bin")), QSettings::IniFormat);
    const bool commandSet560 = global.value(QStringLiteral("mouse/icType")).toString() == QLatin1String("560");

    QSettings s(settingFile(file), QSettings::IniFormat);
    QCOMPARE(s.status(), QSettings::NoError);
    for (const QString& group : {QStringLiteral("mouseKeyMatrix"), QStringLiteral("mouseFwKeyMatrix")}) {
        s.beginGroup(group);
        QCOMPARE(s.childKeys().size(), 16);
        s.endGroup();
    }

    Matrix page{}, firmware{};
    QString why;
    QVERIFY2(readMatrix(s, QStringLiteral("mouseKeyMatrix"), &page, &why), qPrintable(why));
    QVERIFY2(readMatrix(s, QStringLiteral("mouseFwKeyMatrix"), &firmware, &why), qPrintable(why));

    bool leftClickReachesDevice = false;
    for (int i = 0; i < 16; ++i) {
        const Entry& e = page[i];
        const bool knownClass = (e[0] >= 0 && e[0] <= 8) || e[0] == 0xFF;
        QVERIFY2(knownClass, qPrintable(QStringLiteral("button %1: class %2").arg(i).arg(e[0])));
        // the firmware matrix below is the plain translation only without guns
        QVERIFY2(e[0] != 8, qPrintable(QStringLiteral("button %1: gun entry").arg(i)));
        if (e[0] == 4) {
            QCOMPARE(e[2], i); // the macro slot is the button index
            const QString name = s.value(QStringLiteral("mouseMacroKey/%1").arg(i)).toString();
            QVERIFY2(!name.isEmpty(), qPrintable(QStringLiteral("button %1: macro without name").arg(i)));
        }
        // buttons 7, 8 and 9 are replaced by fixed entries on the way out
        if (e == Entry{0, 0, 0xF0, 0} && (i < 7 || i > 9))
            leftClickReachesDevice = true;
    }
    QVERIFY2(leftClickReachesDevice, "no left click that reaches the mouse");

    KeyMatrix::Matrix pageBytes{};
    for (int i = 0; i < 16; ++i)
        for (int k = 0; k < 4; ++k)
            pageBytes[std::size_t(i)][std::size_t(k)] = std::uint8_t(page[i][k]);
    // What a save of these buttons sends as matrix 1 (no gun entry).
    const KeyMatrix::Matrix device =
        KeyMatrix::transfer(pageBytes, commandSet560 ? KeyMatrix::CommandSet::Set560 : KeyMatrix::CommandSet::Set553,
                            KeyMatrix::Periods{})
            .matrices[0];
    Matrix expected{};
    for (int i = 0; i < 16; ++i)
        for (int k = 0; k < 4; ++k)
            expected[i][k] = device[std::size_t(i)][std::size_t(k)];
    for (int i = 0; i < 16; ++i) {
        QVERIFY2(firmware[i] == expected[i], qPrintable(QStringLiteral("mouseFwKeyMatrix/%1 is %2, the buttons give %3")
                                                            .arg(i)
                                                            .arg(entryText(firmware[i]), entryText(expected[i]))));
    }
}

void TestShippedData::nameList()
{
    QSettings s(settingFile(QStringLiteral("name.bin")), QSettings::IniFormat);
    QCOMPARE(s.status(), QSettings::NoError);
    const QVariant v = s.value(QStringLiteral("profile/profileName"));
    QCOMPARE(v.metaType().id(), int(QMetaType::QStringList));
    QCOMPARE(v.toStringList(), (QStringList{QStringLiteral("Standard0"), QStringLiteral("loaderfiller")}));
    QVERIFY(!s.contains(QStringLiteral("macro/macroName")));
    QCOMPARE(s.childGroups(), QStringList{QStringLiteral("profile")});
}

QTEST_GUILESS_MAIN(TestShippedData)
#include "tst_shippeddata.moc"
