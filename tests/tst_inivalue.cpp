#include "IniValue.h"
#include "TestSupport.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// The value rules, on values as QSettings hands them out (strings, and string
// lists when the text held commas): rows of tests/data/inivalue.rows, and the
// same rules on a file read back.

namespace {

// A value written as in inivalue.rows.
QVariant valueOf(const QString& text)
{
    const auto items = [&text] { return text.mid(1, text.size() - 2).split(QStringLiteral(", "), Qt::SkipEmptyParts); };
    if (text == QLatin1String("invalid"))
        return QVariant();
    if (text.startsWith(QLatin1Char('"')))
        return text.mid(1, text.size() - 2);
    if (text.startsWith(QLatin1Char('[')))
        return items();
    if (text.startsWith(QLatin1Char('('))) {
        QVariantList list;
        for (const QString& item : items())
            list << item.toInt();
        return list;
    }
    if (text.startsWith(QLatin1String("int:")))
        return text.mid(4).toInt();
    if (text.startsWith(QLatin1String("bool:")))
        return text.mid(5) == QLatin1String("true");
    return text;
}

} // namespace

class TestIniValue : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rules_data() { addDataRows(QStringLiteral("inivalue.rows")); }
    void rules();
    void throughSettingsFile();
};

void TestIniValue::rules()
{
    FETCH_DATA_ROW(row);
    const QString rule = row.field(0);
    const QVariant value = valueOf(row.field(1));
    const QString result = row.field(2);
    if (rule == QLatin1String("boolean")) {
        QCOMPARE(IniValue::boolean(value), result == QLatin1String("true"));
    } else if (rule == QLatin1String("text")) {
        QCOMPARE(IniValue::text(value), valueOf(result).toString());
    } else if (rule == QLatin1String("list")) {
        QCOMPARE(IniValue::list(value), valueOf(result).toList());
    } else {
        QVERIFY2(rule == QLatin1String("hex16") || rule == QLatin1String("hex32") || rule == QLatin1String("decimal"),
                 qPrintable(rule));
        const auto number = [&](bool* ok) -> qint64 {
            if (rule == QLatin1String("hex16"))
                return IniValue::hex16(value, ok);
            if (rule == QLatin1String("hex32"))
                return IniValue::hex32(value, ok);
            return IniValue::decimal(value, ok);
        };
        const bool ok = row.field(3) == QLatin1String("ok");
        bool good = !ok;
        QCOMPARE(number(&good), result.toLongLong(nullptr, 0));
        QCOMPARE(good, ok);
        QCOMPARE(number(nullptr), result.toLongLong(nullptr, 0)); // without ok
    }
}

// The rules on values as they come back from a file, after a fresh read.
void TestIniValue::throughSettingsFile()
{
    QTemporaryDir dir;
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
