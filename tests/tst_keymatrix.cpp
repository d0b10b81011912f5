#include "DeviceCommands.h"
#include "KeyMatrix.h"
#include "TestSupport.h"

#include <QRegularExpression>
#include <QTest>

using namespace KeyMatrix;

// The translation of button entries and the matrices a save sends, on the
// rows of tests/data/keymatrix.rows.

namespace {

QString hexOf(const Entry& e)
{
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(e.data()), 4).toHex());
}

Entry entry(const QString& hex)
{
    const QByteArray b = hexBytes(hex);
    Entry e{};
    std::copy_n(b.constData(), std::min<qsizetype>(b.size(), 4), e.begin());
    return e;
}

Matrix page(const QString& text)
{
    Matrix m{};
    for (const QString& item : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(QLatin1Char('='));
        m[parts[0].toUInt()] = entry(parts[1]);
    }
    return m;
}

} // namespace

class Test_keymatrix : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void rows_data() { addDataRows(QStringLiteral("keymatrix.rows")); }
    void rows();
};

void Test_keymatrix::rows()
{
    FETCH_DATA_ROW(row);
    if (row.field(0) == QLatin1String("entry")) {
        for (QString set : row.field(2).split(QLatin1Char('/'))) {
            set.remove(QLatin1Char('"'));
            QCOMPARE(hexOf(toDeviceEntry(::entry(row.field(3)), DeviceCommands::keyMatrixForm(commandSetOf(set)))),
                     row.field(4));
        }
        return;
    }
    QCOMPARE(row.field(0), QStringLiteral("transfer"));
    const Transfer t = KeyMatrix::transfer(
        page(row.field(3)), DeviceCommands::keyMatrixForm(commandSetOf(row.field(2))), Periods{10, 20, 30});
    QCOMPARE(t.gun, row.field(4) == QLatin1String("yes"));
    QCOMPARE(t.imageMask.has_value() ? int(*t.imageMask) : -1,
             row.field(5) == QLatin1String("-") ? -1 : row.field(5).toInt(nullptr, 16));
    for (const QString& item : row.field(6).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(QRegularExpression("[:=]"));
        const QString actual = hexOf(t.matrices[parts[0].toUInt() - 1][parts[1].toUInt()]);
        QCOMPARE(parts[0] + ':' + parts[1] + '=' + actual, item);
    }
}

QTEST_GUILESS_MAIN(Test_keymatrix)
#include "tst_keymatrix.moc"
