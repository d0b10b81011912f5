#include "Commands553.h"
#include "Commands560.h"
#include "HidCodec.h"
#include "TestSupport.h"

#include <QRandomGenerator>
#include <QTest>

// The codec's tables are in tests/data/hidcodec.rows, each row's first field
// naming its table; one runner checks them all.
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
    void rows_data() { addDataRows("hidcodec.rows"); }
    void rows();
    void requestWithFewerArguments();
    void randomFrames();
    void commandRows();
};

// A row's result, as the text of its last field: hex bytes, the chunk sizes,
// or "none" when there is none.
void TestHidCodec::rows()
{
    FETCH_DATA_ROW(row);
    const QString table = row.field(0);
    std::optional<QByteArray> result;
    if (table == "frame") { // the command with its arguments and zeros up to eight of them
        const auto c = arrayOf<9>(hexBytes(row.field(1)));
        result = hexOf(HidCodec::request(c[0], {c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8]}));
    } else if (table == "key") { // bytes 1..6; 0 and 7 stay as they were
        if (const auto key = HidCodec::keyFromCode(row.field(1), {9, 9, 9, 9, 9, 9, 9, 9}); key) {
            QVERIFY(key->front() == 9 && key->back() == 9);
            result = hexOf(*key).mid(3, 17);
        }
    } else if (table == "table") { // quoted, \t a tab
        const QString text = row.field(1).mid(1, row.field(1).size() - 2).replace("\\t", "\t");
        if (const auto parsed = HidCodec::parseScrambleTable(text); parsed)
            result = hexOf(*parsed);
    } else if (table == "scramble") { // a code or the whole key in hex; descrambled it is the frame again
        const auto key = row.field(2).size() == 6 ? HidCodec::keyFromCode(row.field(2))
                                                  : std::optional(arrayOf<8>(hexBytes(row.field(2))));
        const auto parsed = HidCodec::parseScrambleTable(row.field(3));
        QVERIFY(key && parsed);
        HidCodec::Frame f = arrayOf<8>(hexBytes(row.field(1)));
        HidCodec::scramble(f.data(), key->data(), *parsed);
        result = hexOf(f);
        HidCodec::descramble(f.data(), key->data(), *parsed);
        QCOMPARE(hexOf(f), hexBytes(row.field(1)).toHex(' '));
    } else if (table == "chunks") {
        result = QByteArray();
        for (const int size : HidCodec::chunkSizes(row.field(1).toInt(), row.field(2).toInt()))
            *result += QByteArray::number(size) + ' ';
        result = result->trimmed();
    } else {
        QFAIL("no such table");
    }
    QCOMPARE(QString::fromLatin1(result.value_or("none")), row.fields.last());
}

// Fewer arguments than six: the bytes after them are 0.
void TestHidCodec::requestWithFewerArguments()
{
    QCOMPARE(hexOf(HidCodec::request(0x11, {0x03, 0x08})), QByteArray("00 11 03 08 00 00 00 00 e3"));
    QCOMPARE(hexOf(HidCodec::request(0x83)), QByteArray("00 83 00 00 00 00 00 00 7c"));
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
