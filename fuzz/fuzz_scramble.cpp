// The scramble-table text and the frame scrambling. The input starts with
// 8 frame bytes, 6 key characters and 8 table bytes; scrambling with them
// and descrambling gives the frame back. The whole input is also parsed as
// a table text, and a parsed table reads the same from its canonical text.

#include "FuzzSupport.h"
#include "HidCodec.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto table = HidCodec::parseScrambleTable(text)) {
        QString canonical;
        for (uint8_t byte : *table)
            canonical += QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0'));
        const auto again = HidCodec::parseScrambleTable(canonical);
        FUZZ_CHECK(again && *again == *table);
    }
    if (size < 22)
        return 0;
    HidCodec::Frame frame;
    std::memcpy(frame.data(), data, 8);
    const QString code = QString::fromLatin1(reinterpret_cast<const char*>(data + 8), 6);
    HidCodec::ScrambleTable table;
    std::memcpy(table.data(), data + 14, 8);
    const auto key = HidCodec::keyFromCode(code);
    FUZZ_CHECK(key.has_value());
    HidCodec::Frame scrambled = frame;
    HidCodec::scramble(scrambled.data(), key->data(), table);
    HidCodec::descramble(scrambled.data(), key->data(), table);
    FUZZ_CHECK(scrambled == frame);
    return 0;
}
