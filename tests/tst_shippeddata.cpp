#include "TestSupport.h"

#include <QFile>
#include <QSet>
#include <QSettings>
#include <QTest>

#include <array>

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

struct KeyName
{
    int code;
    const char* name;
};

// The key-code list in its order; the keyCode section must name these keys
// in the same order (the pages pair the names with the codes by position).
// clang-format off
constexpr KeyName kKeyNames[] = {
    {0x04, "A"}, {0x05, "B"}, {0x06, "C"}, {0x07, "D"}, {0x08, "E"}, {0x09, "F"},
    {0x0A, "G"}, {0x0B, "H"}, {0x0C, "I"}, {0x0D, "J"}, {0x0E, "K"}, {0x0F, "L"},
    {0x10, "M"}, {0x11, "N"}, {0x12, "O"}, {0x13, "P"}, {0x14, "Q"}, {0x15, "R"},
    {0x16, "S"}, {0x17, "T"}, {0x18, "U"}, {0x19, "V"}, {0x1A, "W"}, {0x1B, "X"},
    {0x1C, "Y"}, {0x1D, "Z"}, {0x1E, "1"}, {0x1F, "2"}, {0x20, "3"}, {0x21, "4"},
    {0x22, "5"}, {0x23, "6"}, {0x24, "7"}, {0x25, "8"}, {0x26, "9"}, {0x27, "0"},
    {0x28, "Enter"}, {0x29, "Esc"}, {0x2A, "Back"}, {0x2B, "Tab"}, {0x2C, "Space"},
    {0x2D, "-"}, {0x2E, "="}, {0x2F, "["}, {0x30, "]"}, {0x31, "\\"}, {0x32, "\\"},
    {0x33, ";"}, {0x34, "'"}, {0x35, "`"}, {0x36, ","}, {0x37, "."}, {0x38, "/"},
    {0x39, "Caps"}, {0x3A, "F1"}, {0x3B, "F2"}, {0x3C, "F3"}, {0x3D, "F4"}, {0x3E, "F5"},
    {0x3F, "F6"}, {0x40, "F7"}, {0x41, "F8"}, {0x42, "F9"}, {0x43, "F10"}, {0x44, "F11"},
    {0x45, "F12"}, {0x46, "Prt"}, {0x47, "Scr"}, {0x48, "Pau"}, {0x49, "Ins"}, {0x4A, "Hom"},
    {0x4B, "Pgu"}, {0x4C, "Del"}, {0x4D, "End"}, {0x4E, "PgD"}, {0x4F, "►"}, {0x50, "◄"},
    {0x51, "▼"}, {0x52, "▲"}, {0x53, "Num"}, {0x54, "KP/"}, {0x55, "KP*"}, {0x56, "KP-"},
    {0x57, "KP+"}, {0x58, "KPEnter"}, {0x59, "KP1"}, {0x5A, "KP2"}, {0x5B, "KP3"},
    {0x5C, "KP4"}, {0x5D, "KP5"}, {0x5E, "KP6"}, {0x5F, "KP7"}, {0x60, "KP8"},
    {0x61, "KP9"}, {0x62, "KP0"}, {0x63, "KP."}, {0x64, "Eur2"}, {0x65, "App"},
    {0x66, "Power"}, {0x67, "KP="}, {0x68, "F13"}, {0x69, "F14"}, {0x6A, "F15"},
    {0x6B, "F16"}, {0x6C, "F17"}, {0x6D, "F18"}, {0x6E, "F19"}, {0x6F, "F20"},
    {0x70, "F21"}, {0x71, "F22"}, {0x72, "F23"}, {0x73, "F24"}, {0x85, "Keypad"},
    {0x87, "Intl1"}, {0x88, "Intl2"}, {0x89, "Intl2"}, {0x8A, "Intl4"}, {0x8B, "Intl5"},
    {0x90, "Lang1"}, {0x91, "Lang2"}, {0xE0, "LCtrl"}, {0xE1, "LShift"}, {0xE2, "LAlt"},
    {0xE3, "LWin"}, {0xE4, "RCtrl"}, {0xE5, "RShift"}, {0xE6, "RAlt"}, {0xE7, "RWin"},
    {0xF0, "MS-L"}, {0xF1, "MS-R"}, {0xF2, "MS-M"}, {0xF3, "MS-B4"}, {0xF4, "MS-B5"},
};
// clang-format on
static_assert(std::size(kKeyNames) == 133);

const QStringList kProfileFiles = {
    QStringLiteral("pD.bin"), QStringLiteral("p1.bin"),  QStringLiteral("p2.bin"),
    QStringLiteral("p3.bin"), QStringLiteral("p4.bin"),  QStringLiteral("p5.bin"),
    QStringLiteral("p6.bin"), QStringLiteral("p7.bin"),  QStringLiteral("p8.bin"),
    QStringLiteral("p9.bin"), QStringLiteral("p10.bin"),
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

// What the button translation sends as key matrix 1 for a page matrix that
// holds no gun entry: the firmware matrix of a factory profile must be this,
// since it is sent unchanged as the gun matrices when a profile is activated.
Matrix deviceForm(const Matrix& page, bool commandSet560)
{
    Matrix m = page;
    for (Entry& e : m) {
        switch (e[0]) {
        case 0x00:
            if (e[2] == 0x1E && e[3] == 0x02)
                e[0] = 0x0A;
            else if (e[2] == 0xF0 && e[3] == 0xF0)
                e = {0x0B, 0, 0, 0};
            else
                e[0] = 0x01;
            break;
        case 0x01:
            e[0] = 0x0A;
            break;
        case 0x02:
        case 0x07:
            e[0] = 0x00;
            break;
        case 0x06: {
            const bool consumer =
                ((e[2] == 0x21 || e[2] == 0x23) && e[3] == 0x02) || (e[2] == 0x94 && e[3] == 0x01);
            e[0] = consumer ? 0x03 : 0x00;
            break;
        }
        case 0x04:
            e[0] = 0x09;
            e[2] = (e[2] + 1) & 0xFF;
            break;
        case 0x05:
            if (e[2] == 4)
                e = commandSet560 ? Entry{0x0B, 0, 1, 1} : Entry{0x07, 0, 4, 1};
            else
                e[0] = 0x07;
            break;
        case 0xFF:
            e[0] = 0x04;
            break;
        default:
            break;
        }
    }
    m[7] = m[6];
    m[6] = m[5];
    m[5] = {commandSet560 ? 0x0F : 0x08, 0, 3, 0};
    m[8] = {0x0C, 0, 0, 0};
    m[9] = {0x0D, 0, 0, 0};
    return m;
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
    void trayTextsTellStagesApart_data();
    void trayTextsTellStagesApart();
    void edgeCharacters_data();
    void edgeCharacters();
    void profileValues_data();
    void profileValues();
    void profileKeyMatrices_data();
    void profileKeyMatrices();
    void factoryResetStageIsEnabled();
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
        QVERIFY2(!v.toString().trimmed().isEmpty(),
                 qPrintable(QStringLiteral("entry %1 is empty").arg(i)));
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
    int index = 0;
    for (const KeyName& k : kKeyNames) {
        QTest::addRow("%d: 0x%02X", index, k.code) << index << QString::fromUtf8(k.name);
        ++index;
    }
}

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
    for (int i = 0; i < int(std::size(kKeyNames)); ++i)
        names << s.value(QStringLiteral("keyCode/%1").arg(i)).toString();

    for (int i = 0; i < names.size(); ++i) {
        const QString english = QString::fromUtf8(kKeyNames[i].name);
        for (int j = i + 1; j < names.size(); ++j) {
            const bool sameEnglish = english == QString::fromUtf8(kKeyNames[j].name);
            QVERIFY2((names[i] == names[j]) == sameEnglish,
                     qPrintable(QStringLiteral("entries %1 (%2) and %3 (%4)")
                                    .arg(i)
                                    .arg(names[i])
                                    .arg(j)
                                    .arg(names[j])));
        }
        const bool legend =
            english.size() == 1 || (english.startsWith(QLatin1Char('F')) && english.size() <= 3 &&
                                    english.mid(1).toInt() > 0);
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

void TestShippedData::trayTextsTellStagesApart_data()
{
    languageGroups_data();
}

void TestShippedData::trayTextsTellStagesApart()
{
    QFETCH(QString, language);
    QSettings s(languageFile(language), QSettings::IniFormat);
    QSet<QString> texts;
    for (int i = 0; i < 8; ++i)
        texts.insert(s.value(QStringLiteral("other/%1").arg(i)).toString());
    QCOMPARE(texts.size(), 8);
}

void TestShippedData::edgeCharacters_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");

    // trailing blanks: the page appends the button number
    QTest::addRow("English label")
        << QStringLiteral("English") << QStringLiteral("keyMatrix/0") << QStringLiteral("Key ");
    QTest::addRow("English title")
        << QStringLiteral("English") << QStringLiteral("keyAssigment/0") << QStringLiteral("Key ");
    QTest::addRow("French label") << QStringLiteral("French") << QStringLiteral("keyMatrix/0")
                                  << QStringLiteral("Touche ");
    QTest::addRow("Chinese label") << QStringLiteral("ChineseSimplified")
                                   << QStringLiteral("keyMatrix/0") << QStringLiteral("按键 ");
    // commas inside a text
    QTest::addRow("French comma") << QStringLiteral("French") << QStringLiteral("lightControl/33")
                                  << QStringLiteral("Ondulation, couleurs en boucle");
    QTest::addRow("French comma key")
        << QStringLiteral("French") << QStringLiteral("keyCode/50") << QStringLiteral(",");
    // characters beyond Latin-1 arrive intact
    QTest::addRow("Chinese wide comma")
        << QStringLiteral("ChineseSimplified") << QStringLiteral("keyAssigment/19")
        << QStringLiteral("宏循环执行，直到按下任意按键");
    QTest::addRow("Chinese arrow") << QStringLiteral("ChineseSimplified")
                                   << QStringLiteral("keyCode/75") << QStringLiteral("►");
    QTest::addRow("Chinese backslash") << QStringLiteral("ChineseSimplified")
                                       << QStringLiteral("keyCode/46") << QStringLiteral("\\");
}

void TestShippedData::edgeCharacters()
{
    QFETCH(QString, language);
    QFETCH(QString, key);
    QFETCH(QString, text);
    QSettings s(languageFile(language), QSettings::IniFormat);
    const QVariant v = s.value(key);
    QVERIFY(isText(v));
    QCOMPARE(v.toString(), text);
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
    QVERIFY2(currentDpiCount >= 1 && currentDpiCount <= dpiCount,
             "more stages enabled than offered");

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
    const bool commandSet560 =
        global.value(QStringLiteral("mouse/icType")).toString() == QLatin1String("560");

    QSettings s(settingFile(file), QSettings::IniFormat);
    QCOMPARE(s.status(), QSettings::NoError);
    for (const QString& group :
         {QStringLiteral("mouseKeyMatrix"), QStringLiteral("mouseFwKeyMatrix")}) {
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
            QVERIFY2(!name.isEmpty(),
                     qPrintable(QStringLiteral("button %1: macro without name").arg(i)));
        }
        // buttons 7, 8 and 9 are replaced by fixed entries on the way out
        if (e == Entry{0, 0, 0xF0, 0} && (i < 7 || i > 9))
            leftClickReachesDevice = true;
    }
    QVERIFY2(leftClickReachesDevice, "no left click that reaches the mouse");

    const Matrix expected = deviceForm(page, commandSet560);
    for (int i = 0; i < 16; ++i) {
        QVERIFY2(firmware[i] == expected[i],
                 qPrintable(QStringLiteral("mouseFwKeyMatrix/%1 is %2, the buttons give %3")
                                .arg(i)
                                .arg(entryText(firmware[i]), entryText(expected[i]))));
    }
}

// The factory reset makes the restored profile's stage 3 the active one.
void TestShippedData::factoryResetStageIsEnabled()
{
    QSettings s(settingFile(QStringLiteral("pD.bin")), QSettings::IniFormat);
    int enabled = 0;
    QVERIFY(readInt(s, QStringLiteral("mouse/currentDpiCount"), &enabled));
    QVERIFY2(enabled >= 3, "stage 3 is not enabled in the factory profile");
}

void TestShippedData::nameList()
{
    QSettings s(settingFile(QStringLiteral("name.bin")), QSettings::IniFormat);
    QCOMPARE(s.status(), QSettings::NoError);
    const QVariant v = s.value(QStringLiteral("profile/profileName"));
    QCOMPARE(v.metaType().id(), int(QMetaType::QStringList));
    QCOMPARE(v.toStringList(),
             (QStringList{QStringLiteral("Standard0"), QStringLiteral("loaderfiller")}));
    QVERIFY(!s.contains(QStringLiteral("macro/macroName")));
    QCOMPARE(s.childGroups(), QStringList{QStringLiteral("profile")});
}

QTEST_GUILESS_MAIN(TestShippedData)
#include "tst_shippeddata.moc"
