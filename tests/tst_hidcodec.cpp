#include "Commands553.h"
#include "Commands560.h"
#include "HidCodec.h"
#include "TestSupport.h"

#include <QRandomGenerator>
#include <QTest>

// The codec's tables are in tests/data/hidcodec.rows, each row's first field
// naming its table.
namespace {

template <typename Bytes>
QByteArray hexOf(const Bytes& b)
{
    return QByteArray(reinterpret_cast<const char*>(b.data()), qsizetype(b.size())).toHex(' ');
}

template <std::size_t N>
std::array<std::uint8_t, N> arrayOf(const QByteArray& bytes)
{
    std::array<std::uint8_t, N> a{};
    std::copy_n(bytes.begin(), std::min<qsizetype>(bytes.size(), N), a.begin());
    return a;
}

HidCodec::Frame randomFrame(QRandomGenerator& r)
{
    HidCodec::Frame f;
    for (auto& b : f)
        b = std::uint8_t(r.bounded(256));
    return f;
}

} // namespace

class TestHidCodec : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void frame_data() { addDataRows("hidcodec.rows", "frame"); }
    void frame();
    void requestWithFewerArguments();
    void keyFromCode_data() { addDataRows("hidcodec.rows", "key"); }
    void keyFromCode();
    void scrambleTable_data() { addDataRows("hidcodec.rows", "table"); }
    void scrambleTable();
    void scrambleKnownVector_data() { addDataRows("hidcodec.rows", "scramble"); }
    void scrambleKnownVector();
    void randomFrames();
    void chunks_data() { addDataRows("hidcodec.rows", "chunks"); }
    void chunks();
    void commandRows();
};

// Each row's command with its arguments and zeros up to eight of them.
void TestHidCodec::frame()
{
    FETCH_DATA_ROW(row);
    QVERIFY(row.fields.size() == 3);
    const auto c = arrayOf<9>(hexBytes(row.field(1)));
    const QByteArray expected = hexBytes(row.field(2));
    QCOMPARE(hexOf(HidCodec::request(c[0], {c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8]})), expected.toHex(' '));
    QCOMPARE(int(HidCodec::checksum(reinterpret_cast<const std::uint8_t*>(expected.constData()) + 1)),
             int(std::uint8_t(expected.at(8))));
}

// Fewer arguments than six: the bytes after them are 0.
void TestHidCodec::requestWithFewerArguments()
{
    QCOMPARE(hexOf(HidCodec::request(0x11, {0x03, 0x08})), QByteArray("00 11 03 08 00 00 00 00 e3"));
    QCOMPARE(hexOf(HidCodec::request(0x83)), QByteArray("00 83 00 00 00 00 00 00 7c"));
}

void TestHidCodec::keyFromCode()
{
    FETCH_DATA_ROW(row);
    QVERIFY(row.fields.size() == 3);
    const HidCodec::SecrecyKey previous{9, 9, 9, 9, 9, 9, 9, 9};
    const auto key = HidCodec::keyFromCode(row.field(1), previous);
    QCOMPARE(key.has_value(), row.field(2) != QLatin1String("none"));
    if (key)
        QCOMPARE(hexOf(*key), ("09 " + hexBytes(row.field(2)).toHex(' ') + " 09"));
}

void TestHidCodec::scrambleTable()
{
    FETCH_DATA_ROW(row);
    QVERIFY(row.fields.size() == 3 && row.field(1).startsWith(QLatin1Char('"')));
    const QString text =
        row.field(1).mid(1, row.field(1).size() - 2).replace(QLatin1String("\\t"), QLatin1String("\t"));
    const auto table = HidCodec::parseScrambleTable(text);
    QCOMPARE(table.has_value(), row.field(2) != QLatin1String("none"));
    if (table)
        QCOMPARE(hexOf(*table), hexBytes(row.field(2)).toHex(' '));
}

void TestHidCodec::scrambleKnownVector()
{
    FETCH_DATA_ROW(row);
    QVERIFY(row.fields.size() == 5);
    // A code, or the whole key in hex.
    const auto key = row.field(2).size() == 6 ? HidCodec::keyFromCode(row.field(2))
                                              : std::optional(arrayOf<8>(hexBytes(row.field(2))));
    const auto table = HidCodec::parseScrambleTable(row.field(3));
    QVERIFY(key && table);
    HidCodec::Frame f = arrayOf<8>(hexBytes(row.field(1)));
    HidCodec::scramble(f.data(), key->data(), *table);
    QCOMPARE(hexOf(f), hexBytes(row.field(4)).toHex(' '));
    HidCodec::descramble(f.data(), key->data(), *table);
    QCOMPARE(hexOf(f), hexBytes(row.field(1)).toHex(' '));
}

// Descrambling undoes scrambling, for any frame, key and table (the worked
// vectors show what scrambling makes of a frame).
void TestHidCodec::randomFrames()
{
    QRandomGenerator r(12345);
    for (int round = 0; round < 5000; ++round) {
        const HidCodec::Frame original = randomFrame(r);
        const HidCodec::SecrecyKey key = randomFrame(r);
        const HidCodec::ScrambleTable table = round % 3 == 0 ? HidCodec::defaultScrambleTable : randomFrame(r);
        HidCodec::Frame f = original;
        HidCodec::scramble(f.data(), key.data(), table);
        HidCodec::descramble(f.data(), key.data(), table);
        QCOMPARE(f, original);
    }
}

void TestHidCodec::chunks()
{
    FETCH_DATA_ROW(row);
    QVERIFY(row.fields.size() == 4);
    std::vector<int> expected;
    for (const QString& size : row.field(3).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        expected.push_back(size.toInt());
    QCOMPARE(HidCodec::chunkSizes(row.field(1).toInt(), row.field(2).toInt()), expected);
}

// The rows of both command sets (their frames, payloads, pacing, replies and
// busy lines are tst_hidlink's rows): a value the caller does not give reads
// as 0, never as the placeholder the row holds; the eight-colour command
// takes its short row for type 2 only.
void TestHidCodec::commandRows()
{
    const auto check = [](auto rows) {
        for (const auto& named : rows) {
            const CommandRow& row = *named.row;
            const HidCodec::FeatureReport bare = CommandRows::frameOf(row, {});
            for (std::size_t i = 0; i < row.arguments.count; ++i)
                QCOMPARE(int(bare[2 + i]), std::max(0, int(row.arguments.bytes[i])));
        }
    };
    check(Commands553::rows());
    check(Commands560::rows());
    QCOMPARE(&Commands553::led8StageColorRow(2), &Commands553::setLed8StageColorType2);
    for (int type : {0, 1, 3, 255})
        QCOMPARE(&Commands553::led8StageColorRow(std::uint8_t(type)), &Commands553::setLed8StageColor);
}

QTEST_APPLESS_MAIN(TestHidCodec)
#include "tst_hidcodec.moc"
