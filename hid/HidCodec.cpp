#include "HidCodec.h"

#include <algorithm>

namespace HidCodec {

namespace {

std::uint8_t nibbleSwap(std::uint8_t x)
{
    return std::uint8_t((x << 4) | (x >> 4));
}

void exchangePairs(std::uint8_t* b)
{
    std::swap(b[0], b[5]);
    std::swap(b[1], b[4]);
    std::swap(b[2], b[7]);
    std::swap(b[3], b[6]);
}

} // namespace

std::uint8_t checksum(const std::uint8_t* cmd)
{
    unsigned sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += cmd[i];
    return std::uint8_t(~sum);
}

FeatureReport request(std::uint8_t command, std::initializer_list<std::uint8_t> arguments)
{
    FeatureReport report{};
    report[1] = command;
    std::size_t i = 2;
    for (std::uint8_t a : arguments) {
        if (i > 7)
            break;
        report[i++] = a;
    }
    report[8] = checksum(report.data() + 1);
    return report;
}

void scramble(std::uint8_t* b, const std::uint8_t* key, const ScrambleTable& table)
{
    exchangePairs(b);
    for (int i = 1; i <= 6; ++i)
        b[i] ^= key[i];
    const std::uint8_t first = b[0];
    for (int i = 0; i < 7; ++i)
        b[i] = std::uint8_t((b[i] << 3) | (b[i + 1] >> 5));
    b[7] = std::uint8_t((b[7] << 3) | (first >> 5));
    for (int i = 0; i < 8; ++i)
        b[i] = std::uint8_t(b[i] + nibbleSwap(table[std::size_t(i)]));
}

void descramble(std::uint8_t* b, const std::uint8_t* key, const ScrambleTable& table)
{
    for (int i = 0; i < 8; ++i)
        b[i] = std::uint8_t(b[i] - nibbleSwap(table[std::size_t(i)]));
    const std::uint8_t last = b[7];
    for (int i = 7; i >= 1; --i)
        b[i] = std::uint8_t((b[i] >> 3) | (b[i - 1] << 5));
    b[0] = std::uint8_t((b[0] >> 3) | (last << 5));
    for (int i = 1; i <= 6; ++i)
        b[i] ^= key[i];
    exchangePairs(b);
}

std::optional<SecrecyKey> keyFromCode(const QString& code, const SecrecyKey& previous)
{
    if (code.size() != 6)
        return std::nullopt;
    SecrecyKey key = previous;
    for (int i = 0; i < 6; ++i) {
        const char16_t c = code.at(i).unicode();
        key[std::size_t(i) + 1] = c <= 0xff ? std::uint8_t(c) : 0;
    }
    return key;
}

std::optional<ScrambleTable> parseScrambleTable(const QString& text)
{
    ScrambleTable table{};
    int digits = 0;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == ' ') {
            // A blank splitting a byte ("5 a") is a typing error, not a layout.
            if (digits % 2 != 0)
                return std::nullopt;
            continue;
        }
        int v = -1;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        if (v < 0 || digits == 16)
            return std::nullopt;
        const std::size_t at = std::size_t(digits / 2);
        table[at] = std::uint8_t((table[at] << 4) | v);
        ++digits;
    }
    if (digits != 16)
        return std::nullopt;
    return table;
}

std::vector<int> chunkSizes(int payloadLength, int reportLength)
{
    std::vector<int> sizes;
    if (payloadLength <= 0 || reportLength <= 0)
        return sizes;
    const int chunk = std::min(payloadLength, reportLength);
    for (int offset = 0; offset < payloadLength; offset += chunk)
        sizes.push_back(std::min(chunk, payloadLength - offset));
    return sizes;
}

} // namespace HidCodec
