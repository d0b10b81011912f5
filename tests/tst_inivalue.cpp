#include "IniValue.h"
#include "TestSupport.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// The value rules, on values as QSettings hands them out (strings, and string
// lists when the text held commas), and on values read back from a file: rows
// of tests/data/inivalue.rows.

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
    if (text.startsWith(QLatin1String("file:"))) {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("v.ini")));
        if (!file.open(QIODevice::WriteOnly) || file.write("[g]\nk=" + text.mid(5).toUtf8() + "\n") < 0)
            return QStringLiteral("<not written>");
        file.close();
        return QSettings(file.fileName(), QSettings::IniFormat).value(QStringLiteral("g/k"));
    }
    return text;
}

} // namespace

class TestIniValue : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rules_data() { addDataRows(QStringLiteral("inivalue.rows")); }
    void rules();
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
        QVERIFY2(QStringList({"hex16", "hex32", "decimal"}).contains(rule), qPrintable(rule));
        const auto number = [&](bool* ok) -> qint64 {
            return rule == QLatin1String("hex16")   ? IniValue::hex16(value, ok)
                   : rule == QLatin1String("hex32") ? IniValue::hex32(value, ok)
                                                    : IniValue::decimal(value, ok);
        };
        const bool ok = row.field(3) == QLatin1String("ok");
        bool good = !ok;
        QCOMPARE(number(&good), result.toLongLong(nullptr, 0));
        QCOMPARE(good, ok);
        QCOMPARE(number(nullptr), result.toLongLong(nullptr, 0)); // without ok
    }
}

QTEST_GUILESS_MAIN(TestIniValue)
#include "tst_inivalue.moc"
