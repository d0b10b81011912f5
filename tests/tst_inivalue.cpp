#include "IniValue.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// The value rules, on values as QSettings hands them out (strings, and string
// lists when the text held commas).
class TestIniValue : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void hex16_data();
    void hex16();
    void hex32_data();
    void hex32();
    void decimal_data();
    void decimal();
    void boolean_data();
    void boolean();
    void text();
    void list();
    void throughSettingsFile();
};

void TestIniValue::hex16_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<uint>("expected");
    QTest::addColumn<bool>("ok");

    // malformed first
    QTest::addRow("empty") << QVariant(QString()) << 0u << false;
    QTest::addRow("invalid variant") << QVariant() << 0u << false;
    QTest::addRow("not hex") << QVariant(QStringLiteral("zz")) << 0u << false;
    QTest::addRow("trailing junk") << QVariant(QStringLiteral("04d9x")) << 0u << false;
    QTest::addRow("only prefix") << QVariant(QStringLiteral("0x")) << 0u << false;
    QTest::addRow("negative") << QVariant(QStringLiteral("-1")) << 0u << false;
    QTest::addRow("inner blank") << QVariant(QStringLiteral("04 d9")) << 0u << false;
    QTest::addRow("list") << QVariant(QStringList{QStringLiteral("04d9"), QStringLiteral("1")}) << 0u << false;
    // well formed
    QTest::addRow("vid") << QVariant(QStringLiteral("04d9")) << 0x04d9u << true;
    QTest::addRow("upper case") << QVariant(QStringLiteral("FF00")) << 0xff00u << true;
    QTest::addRow("prefix") << QVariant(QStringLiteral("0xA1EE")) << 0xa1eeu << true;
    QTest::addRow("blanks around") << QVariant(QStringLiteral(" ff01 ")) << 0xff01u << true;
    QTest::addRow("zero") << QVariant(QStringLiteral("0")) << 0u << true;
    QTest::addRow("max") << QVariant(QStringLiteral("ffff")) << 0xffffu << true;
    // wider than 16 bits: the low 16 bits survive, whatever the length
    QTest::addRow("17 bits") << QVariant(QStringLiteral("1ffff")) << 0xffffu << true;
    QTest::addRow("32 bits") << QVariant(QStringLiteral("123404d9")) << 0x04d9u << true;
    QTest::addRow("64 bits") << QVariant(QStringLiteral("ffffffffffff1234")) << 0x1234u << true;
    // a number (not from a file) is taken by its decimal text: 18 reads as 0x18
    QTest::addRow("number") << QVariant(18) << 0x18u << true;
}

void TestIniValue::hex16()
{
    QFETCH(QVariant, value);
    QFETCH(uint, expected);
    QFETCH(bool, ok);
    bool good = !ok;
    const quint16 result = IniValue::hex16(value, &good);
    QCOMPARE(uint(result), expected);
    QCOMPARE(good, ok);
    QCOMPARE(uint(IniValue::hex16(value)), expected); // without ok
}

void TestIniValue::hex32_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("ok");

    QTest::addRow("empty") << QString() << 0 << false;
    QTest::addRow("junk") << QStringLiteral("g1") << 0 << false;
    QTest::addRow("too wide") << QStringLiteral("100000000") << 0 << false;
    QTest::addRow("far too wide") << QStringLiteral("fffffffffffffffffff") << 0 << false;
    QTest::addRow("mouse") << QStringLiteral("1") << 1 << true;
    QTest::addRow("keyboard") << QStringLiteral("0") << 0 << true;
    QTest::addRow("minus one") << QStringLiteral("-1") << -1 << true;
    QTest::addRow("hex") << QStringLiteral("1f") << 31 << true;
    QTest::addRow("max") << QStringLiteral("7fffffff") << 0x7fffffff << true;
    QTest::addRow("beyond max") << QStringLiteral("80000000") << 0 << false;
    QTest::addRow("min") << QStringLiteral("-80000000") << int(0x80000000) << true;
}

void TestIniValue::hex32()
{
    QFETCH(QString, value);
    QFETCH(int, expected);
    QFETCH(bool, ok);
    bool good = !ok;
    QCOMPARE(IniValue::hex32(value, &good), expected);
    QCOMPARE(good, ok);
}

void TestIniValue::decimal_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("ok");

    QTest::addRow("empty") << QVariant(QString()) << 0 << false;
    QTest::addRow("junk") << QVariant(QStringLiteral("32px")) << 0 << false;
    QTest::addRow("hex text") << QVariant(QStringLiteral("0x20")) << 0 << false;
    QTest::addRow("fraction") << QVariant(QStringLiteral("3.5")) << 0 << false;
    QTest::addRow("overflow") << QVariant(QStringLiteral("99999999999")) << 0 << false;
    QTest::addRow("list") << QVariant(QStringList{QStringLiteral("1"), QStringLiteral("2")}) << 0 << false;
    QTest::addRow("plain") << QVariant(QStringLiteral("32")) << 32 << true;
    QTest::addRow("negative") << QVariant(QStringLiteral("-1")) << -1 << true;
    QTest::addRow("plus") << QVariant(QStringLiteral("+64")) << 64 << true;
    QTest::addRow("blanks") << QVariant(QStringLiteral(" 8 ")) << 8 << true;
    QTest::addRow("int variant") << QVariant(6000) << 6000 << true;
}

void TestIniValue::decimal()
{
    QFETCH(QVariant, value);
    QFETCH(int, expected);
    QFETCH(bool, ok);
    bool good = !ok;
    QCOMPARE(IniValue::decimal(value, &good), expected);
    QCOMPARE(good, ok);
}

void TestIniValue::boolean_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("expected");

    QTest::addRow("invalid") << QVariant() << false;
    QTest::addRow("empty") << QVariant(QString()) << false;
    QTest::addRow("0") << QVariant(QStringLiteral("0")) << false;
    QTest::addRow("false") << QVariant(QStringLiteral("false")) << false;
    QTest::addRow("FALSE") << QVariant(QStringLiteral("FALSE")) << false;
    QTest::addRow("False") << QVariant(QStringLiteral("False")) << false;
    QTest::addRow("fAlSe") << QVariant(QStringLiteral("fAlSe")) << false;
    QTest::addRow("true") << QVariant(QStringLiteral("true")) << true;
    QTest::addRow("TRUE") << QVariant(QStringLiteral("TRUE")) << true;
    QTest::addRow("1") << QVariant(QStringLiteral("1")) << true;
    QTest::addRow("00") << QVariant(QStringLiteral("00")) << true;
    QTest::addRow("no") << QVariant(QStringLiteral("no")) << true;
    QTest::addRow("off") << QVariant(QStringLiteral("off")) << true;
    QTest::addRow("falsey") << QVariant(QStringLiteral("falsey")) << true;
    QTest::addRow("bool false") << QVariant(false) << false;
    QTest::addRow("bool true") << QVariant(true) << true;
}

void TestIniValue::boolean()
{
    QFETCH(QVariant, value);
    QFETCH(bool, expected);
    QCOMPARE(IniValue::boolean(value), expected);
}

void TestIniValue::text()
{
    QCOMPARE(IniValue::text(QVariant()), QString());
    QCOMPARE(IniValue::text(QStringLiteral("abc")), QStringLiteral("abc"));
    // A text with a comma comes back from QSettings as a list.
    QCOMPARE(IniValue::text(QStringList{QStringLiteral("a"), QStringLiteral("b")}), QStringLiteral("a, b"));
    QCOMPARE(IniValue::text(QVariantList{1, 2}), QStringLiteral("1, 2"));
    QCOMPARE(IniValue::text(42), QStringLiteral("42"));
}

void TestIniValue::list()
{
    QCOMPARE(IniValue::list(QVariant()), QVariantList());
    // A one-element list is stored as the plain string: the old meaning is an
    // empty list, never a list of characters.
    QCOMPARE(IniValue::list(QStringLiteral("012")), QVariantList());
    QCOMPARE(IniValue::list(QStringList{QStringLiteral("0"), QStringLiteral("1")}),
             (QVariantList{QStringLiteral("0"), QStringLiteral("1")}));
    QCOMPARE(IniValue::list(QVariantList{1, 2, 3}), (QVariantList{1, 2, 3}));
    QCOMPARE(IniValue::list(7), QVariantList());
}

// The rules on values as they come back from a file, after a fresh read.
void TestIniValue::throughSettingsFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("v.ini"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[g]\nhex=ff00\nlist=0, 1, 2\none=5\nname=a, b\nyes=True\nno=false\nempty=\n");
    }
    QSettings s(path, QSettings::IniFormat);
    QCOMPARE(IniValue::hex16(s.value("g/hex")), quint16(0xff00));
    QCOMPARE(IniValue::list(s.value("g/list")).size(), 3);
    QCOMPARE(IniValue::list(s.value("g/one")), QVariantList());
    QCOMPARE(IniValue::text(s.value("g/name")), QStringLiteral("a, b"));
    QCOMPARE(IniValue::boolean(s.value("g/yes")), true);
    QCOMPARE(IniValue::boolean(s.value("g/no")), false);
    QCOMPARE(IniValue::boolean(s.value("g/empty")), false);
}

QTEST_GUILESS_MAIN(TestIniValue)
#include "tst_inivalue.moc"
