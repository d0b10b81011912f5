#include "Commands553.h"
#include "Commands560.h"
#include "HidCodec.h"

#include <QRandomGenerator>
#include <QTest>

#include <cstring>

using HidCodec::Frame;

Q_DECLARE_METATYPE(std::vector<int>)

namespace {

QByteArray hex(const std::uint8_t* data, std::size_t n)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(n)).toHex(' ');
}

HidCodec::ScrambleTable randomTable(QRandomGenerator& r)
{
    HidCodec::ScrambleTable t;
    for (auto& b : t)
        b = std::uint8_t(r.bounded(256));
    return t;
}

} // namespace

class TestHidCodec : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void checksum_data();
    void checksum();
    void request();
    void descrambleUndoesScramble();
    void zeroKeyAndTableIsExchangeAndRotation();
    void keyBytesZeroAndSevenUnused();
    void scrambleKnownVector();
    void keyFromCode_data();
    void keyFromCode();
    void scrambleTable_data();
    void scrambleTable();
    void chunks_data();
    void chunks();
    void commandRows_data();
    void commandRows();
    void everyRowChecked();
};

void TestHidCodec::checksum_data()
{
    QTest::addColumn<QByteArray>("cmd");
    QTest::addColumn<int>("expected");
    QTest::addRow("01 02") << QByteArray::fromHex("01020000000000") << 0xFC;
    QTest::addRow("all zero") << QByteArray(7, '\0') << 0xFF;
    QTest::addRow("0D key matrix") << QByteArray::fromHex("0d028000000000") << 0x70;
    QTest::addRow("12 key matrix") << QByteArray::fromHex("12014008000000") << 0xA4;
    QTest::addRow("04 gun data") << QByteArray::fromHex("04000102030400") << 0xF1;
    QTest::addRow("02 profile 1") << QByteArray::fromHex("02010000000000") << 0xFC;
    QTest::addRow("sum wraps") << QByteArray::fromHex("ffffffffffffff") << 0x06;
    QTest::addRow("sum 0x100") << QByteArray::fromHex("80800000000000") << 0xFF;
}

void TestHidCodec::checksum()
{
    QFETCH(QByteArray, cmd);
    QFETCH(int, expected);
    QCOMPARE(int(HidCodec::checksum(reinterpret_cast<const std::uint8_t*>(cmd.constData()))), expected);
}

void TestHidCodec::request()
{
    const auto r = HidCodec::request(0x11, {0x03, 0x08});
    QCOMPARE(hex(r.data(), r.size()), QByteArray("00 11 03 08 00 00 00 00 e3"));
    const auto none = HidCodec::request(0x83);
    QCOMPARE(hex(none.data(), none.size()), QByteArray("00 83 00 00 00 00 00 00 7c"));
    // More than six arguments: the extra ones are dropped, the checksum stays in byte 8.
    const auto many = HidCodec::request(0x01, {1, 2, 3, 4, 5, 6, 7, 8});
    QCOMPARE(hex(many.data(), many.size()), QByteArray("00 01 01 02 03 04 05 06 e9"));
}

void TestHidCodec::descrambleUndoesScramble()
{
    QRandomGenerator r(12345);
    for (int round = 0; round < 5000; ++round) {
        Frame original;
        for (auto& b : original)
            b = std::uint8_t(r.bounded(256));
        HidCodec::SecrecyKey key;
        for (auto& b : key)
            b = std::uint8_t(r.bounded(256));
        const auto table = round % 3 == 0 ? HidCodec::defaultScrambleTable : randomTable(r);
        Frame f = original;
        HidCodec::scramble(f.data(), key.data(), table);
        HidCodec::descramble(f.data(), key.data(), table);
        QCOMPARE(f, original);
    }
}

// With nothing to mix in, the scrambling is the four pair exchanges and a
// 3-bit left rotation of the 64-bit number b[0]..b[7].
void TestHidCodec::zeroKeyAndTableIsExchangeAndRotation()
{
    QRandomGenerator r(7);
    const HidCodec::SecrecyKey zeroKey{};
    const HidCodec::ScrambleTable zeroTable{};
    for (int round = 0; round < 500; ++round) {
        Frame f;
        for (auto& b : f)
            b = std::uint8_t(r.bounded(256));
        Frame swapped = f;
        std::swap(swapped[0], swapped[5]);
        std::swap(swapped[1], swapped[4]);
        std::swap(swapped[2], swapped[7]);
        std::swap(swapped[3], swapped[6]);
        quint64 v = 0;
        for (auto b : swapped)
            v = (v << 8) | b;
        v = (v << 3) | (v >> 61);
        Frame expected;
        for (int i = 7; i >= 0; --i) {
            expected[std::size_t(i)] = std::uint8_t(v & 0xff);
            v >>= 8;
        }
        HidCodec::scramble(f.data(), zeroKey.data(), zeroTable);
        QCOMPARE(f, expected);
    }
}

void TestHidCodec::keyBytesZeroAndSevenUnused()
{
    const Frame plain{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77};
    HidCodec::SecrecyKey key{0, '5', '8', '2', '9', '1', '0', 0};
    Frame reference = plain;
    HidCodec::scramble(reference.data(), key.data(), HidCodec::defaultScrambleTable);
    for (int v : {1, 0x7f, 0xff}) {
        key[0] = std::uint8_t(v);
        key[7] = std::uint8_t(255 - v);
        Frame f = plain;
        HidCodec::scramble(f.data(), key.data(), HidCodec::defaultScrambleTable);
        QCOMPARE(f, reference);
    }
    // Every other key byte matters.
    for (int i = 1; i <= 6; ++i) {
        HidCodec::SecrecyKey other{0, '5', '8', '2', '9', '1', '0', 0};
        other[std::size_t(i)] ^= 0x01;
        Frame f = plain;
        HidCodec::scramble(f.data(), other.data(), HidCodec::defaultScrambleTable);
        QVERIFY(f != reference);
    }
}

// Worked by hand: frame 00 11 22 33 44 55 66 77, code "582910", the default table.
void TestHidCodec::scrambleKnownVector()
{
    Frame f{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77};
    const auto key = HidCodec::keyFromCode(QStringLiteral("582910"));
    QVERIFY(key);
    // Exchanges: 55 44 77 66 11 00 33 22. XOR 1..6 with 35 38 32 39 31 30:
    // 55 71 4f 54 28 31 03 22. Rotate left 3: ab 8a 7a a1 41 88 19 12.
    // Add the nibble-swapped table a5 c3 69 1e f0 87 5a 3c: 50 4d e3 bf 31 0f 73 4e.
    HidCodec::scramble(f.data(), key->data(), HidCodec::defaultScrambleTable);
    QCOMPARE(hex(f.data(), f.size()), QByteArray("50 4d e3 bf 31 0f 73 4e"));
}

void TestHidCodec::keyFromCode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QByteArray>("key");
    QTest::addRow("default code") << "582910" << true << QByteArray::fromHex("0035383239313000");
    QTest::addRow("letters") << "AbC-z~" << true << QByteArray::fromHex("004162432d7a7e00");
    QTest::addRow("latin-1") << QString::fromUtf8("\xc3\xa9"
                                                  "12345")
                             << true << QByteArray::fromHex("00e9313233343500");
    QTest::addRow("no 8-bit code") << QString::fromUtf8("\xe2\x82\xac"
                                                        "12345")
                                   << true << QByteArray::fromHex("0000313233343500");
    QTest::addRow("five") << "12345" << false << QByteArray();
    QTest::addRow("seven") << "1234567" << false << QByteArray();
    QTest::addRow("empty") << "" << false << QByteArray();
}

void TestHidCodec::keyFromCode()
{
    QFETCH(QString, code);
    QFETCH(bool, valid);
    QFETCH(QByteArray, key);
    const HidCodec::SecrecyKey previous{9, 9, 9, 9, 9, 9, 9, 9};
    const auto result = HidCodec::keyFromCode(code, previous);
    QCOMPARE(result.has_value(), valid);
    if (!valid)
        return;
    QByteArray got(reinterpret_cast<const char*>(result->data()), 8);
    // Bytes 0 and 7 are left as they were.
    key[0] = 9;
    key[7] = 9;
    QCOMPARE(got.toHex(), key.toHex());
}

void TestHidCodec::scrambleTable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("table");
    QTest::addRow("plain") << "5a3c96e10f78a5c3" << QByteArray::fromHex("5a3c96e10f78a5c3");
    QTest::addRow("upper, spaced") << "01 23 45 67 89 AB CD EF" << QByteArray::fromHex("0123456789abcdef");
    QTest::addRow("blanks around and doubled") << "  5a  3c 96e10f78a5c3 " << QByteArray::fromHex("5a3c96e10f78a5c3");
    QTest::addRow("blank inside the first byte") << "5 a3c96e10f78a5c3" << QByteArray();
    QTest::addRow("blank inside the last byte") << "5a3c96e10f78a5c 3" << QByteArray();
    QTest::addRow("blank inside, spaced") << "5a 3c 9 6e1 0f 78 a5 c3" << QByteArray();
    QTest::addRow("tab") << "5a3c96e1\t0f78a5c3" << QByteArray();
    QTest::addRow("too short") << "5a3c96e10f78a5" << QByteArray();
    QTest::addRow("too long") << "5a3c96e10f78a5c300" << QByteArray();
    QTest::addRow("not hex") << "5a3c96e10f78a5cg" << QByteArray();
    QTest::addRow("sign") << "+a3c96e10f78a5c3" << QByteArray();
    QTest::addRow("empty") << "" << QByteArray();
}

void TestHidCodec::scrambleTable()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, table);
    const auto result = HidCodec::parseScrambleTable(text);
    QCOMPARE(result.has_value(), !table.isEmpty());
    if (result)
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(result->data()), 8), table);
}

void TestHidCodec::chunks_data()
{
    QTest::addColumn<int>("payload");
    QTest::addColumn<int>("reportLength");
    QTest::addColumn<std::vector<int>>("expected");
    QTest::addRow("8 at 32") << 8 << 32 << std::vector<int>{8};
    QTest::addRow("128 at 32") << 128 << 32 << std::vector<int>{32, 32, 32, 32};
    QTest::addRow("128 at 64") << 128 << 64 << std::vector<int>{64, 64};
    QTest::addRow("36 at 32") << 36 << 32 << std::vector<int>{32, 4};
    QTest::addRow("64 at 32") << 64 << 32 << std::vector<int>{32, 32};
    QTest::addRow("4 at 32") << 4 << 32 << std::vector<int>{4};
    QTest::addRow("none") << 0 << 32 << std::vector<int>{};
    QTest::addRow("no report length") << 8 << 0 << std::vector<int>{};
}

void TestHidCodec::chunks()
{
    QFETCH(int, payload);
    QFETCH(int, reportLength);
    QFETCH(std::vector<int>, expected);
    QCOMPARE(HidCodec::chunkSizes(payload, reportLength), expected);
}

// Every row of both command sets, built with the values a1 b2 c3 d4: the
// request bytes (command byte first), what follows and how it is paced.
// "s" settle, "p" 8 ms after, "i" per index, "g" get, "r" read.
struct RowCase
{
    const char* set;
    const char* name;
    const char* request;
    int payload;
    const char* flags;
    int replyValues;
    const char* busyLine;
};

constexpr RowCase rowCases[] = {
    {"553", "getSecrecyCode", "00 a1 b2 c3 d4", 0, "g", 4, "cmd Failed 00"},
    {"553", "getKeyboardOption", "83", 0, "g", 4, "cmd Failed 83"},
    {"553", "getCurrentDpi", "8b", 0, "g", 1, "cmd Failed 8BH"},
    {"553", "setKeyboardOption", "03 a1 b2 c3 d4", 0, "p", 0, "cmd Failed 03"},
    {"553", "setGunData", "04 00 a1 b2 c3 d4", 0, "p", 0, "cmd Failed 04"},
    {"553", "setReportRate", "01 a1", 0, "s", 0, "cmd Failed 01"},
    {"553", "setCurrentDpi", "0b a1", 0, "s", 0, "cmd Failed 0B"},
    {"553", "setKeyMatrix", "12 a1 40 08", 64, "s", 0, "cmd Failed 12"},
    {"553", "setMacroKey", "13 a1 80", 128, "s", 0, "cmd Failed 13"},
    {"553", "setDpiSet", "11 a1 08", 8, "s", 0, "cmd Failed 11"},
    {"553", "setCurrentKeyMatrix", "02 a1", 0, "s", 0, "cmd Failed 02"},
    {"553", "setRgbLedEffect", "0d a1 b2 c3", 0, "s", 0, "cmd Failed 0D"},
    {"553", "setFixLedColor", "0c a1 b2 c3", 0, "s", 0, "cmd Failed 0C"},
    {"553", "setLed8StageColor", "10 a1 24", 36, "s", 0, "cmd Failed 10"},
    {"553", "setLed8StageColorType2", "10 a1 04", 4, "s", 0, "cmd Failed 10"},
    {"560", "getKeyboardOption", "81", 0, "g", 2, "cmd Failed 81"},
    {"560", "getCurrentProfile", "82", 0, "g", 1, "cmd Failed 82"},
    {"560", "getCurrentDpi", "84 a1", 0, "g", 2, "cmd Failed 84"},
    {"560", "readProfile", "8c a1", 128, "r", 0, "cmd Failed 8c"},
    {"560", "setKeyboardOption", "01 a1 b2", 0, "p", 0, "cmd Failed 01"},
    {"560", "setReportRate", "03 a1 b2", 0, "is", 0, "cmd Failed 03"},
    {"560", "setCurrentDpi", "04 a1 b2", 0, "is", 0, "cmd Failed 04"},
    {"560", "setKeyMatrix", "0d a1 80", 128, "s", 0, "cmd Failed 0D"},
    {"560", "setProfile", "0c a1 80", 128, "s", 0, "cmd Failed 0C"},
    {"560", "setCurrentProfile", "02 a1", 0, "p", 0, "cmd Failed 02"},
    {"560", "setMacroKey", "0f a1 80", 128, "s", 0, "cmd Failed 0F"},
};

const CommandRow* findRow(const QByteArray& set, const QByteArray& name)
{
    const auto find = [&](auto rows) -> const CommandRow* {
        for (const auto& r : rows) {
            if (name == r.name)
                return r.row;
        }
        return nullptr;
    };
    return set == "560" ? find(Commands560::rows()) : find(Commands553::rows());
}

void TestHidCodec::commandRows_data()
{
    QTest::addColumn<int>("at");
    for (int i = 0; i < int(std::size(rowCases)); ++i)
        QTest::addRow("%s %s", rowCases[i].set, rowCases[i].name) << i;
}

void TestHidCodec::commandRows()
{
    QFETCH(int, at);
    const RowCase& c = rowCases[at];
    const CommandRow* row = findRow(c.set, c.name);
    QVERIFY(row);

    const QByteArray request = QByteArray::fromHex(c.request);
    std::initializer_list<std::uint8_t> values{0xA1, 0xB2, 0xC3, 0xD4};
    const HidCodec::FeatureReport frame = CommandRows::frameOf(*row, values);
    HidCodec::FeatureReport expected{};
    std::memcpy(expected.data() + 1, request.constData(), std::size_t(request.size()));
    expected[8] = HidCodec::checksum(expected.data() + 1);
    QCOMPARE(hex(frame.data(), frame.size()), hex(expected.data(), expected.size()));

    const QByteArray flags(c.flags);
    const CommandRow::Kind kind = flags.contains('g')   ? CommandRow::Kind::Get
                                  : flags.contains('r') ? CommandRow::Kind::Read
                                  : flags.contains('i') ? CommandRow::Kind::PerIndex
                                                        : CommandRow::Kind::Set;
    QCOMPARE(int(row->kind), int(kind));
    QCOMPARE(row->payloadLength, c.payload);
    QCOMPARE(row->settle, flags.contains('s'));
    QCOMPARE(row->pauseAfter, flags.contains('p'));
    QCOMPARE(row->replyValues, c.replyValues);
    QCOMPARE(QByteArray(row->busyLine), QByteArray(c.busyLine));
    // Values not given read as 0, never as whatever the row holds.
    if (request.size() > 1 && flags != "g") {
        const HidCodec::FeatureReport bare = CommandRows::frameOf(*row, {});
        for (int i = 1; i < request.size(); ++i) {
            if (uchar(request.at(i)) >= 0xA1)
                QCOMPARE(int(bare[std::size_t(i) + 1]), 0);
        }
    }
}

void TestHidCodec::everyRowChecked()
{
    QCOMPARE(Commands553::rows().size() + Commands560::rows().size(), std::size(rowCases));
    QCOMPARE(&Commands553::led8StageColorRow(2), &Commands553::setLed8StageColorType2);
    for (int type : {0, 1, 3, 255})
        QCOMPARE(&Commands553::led8StageColorRow(std::uint8_t(type)), &Commands553::setLed8StageColor);
}

QTEST_APPLESS_MAIN(TestHidCodec)
#include "tst_hidcodec.moc"
