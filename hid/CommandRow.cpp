#include "CommandRow.h"

namespace CommandRows {

HidCodec::FeatureReport frameOf(const CommandRow& row, std::initializer_list<std::uint8_t> values)
{
    HidCodec::FeatureReport report{};
    report[1] = row.command;
    for (std::size_t i = 0; i < row.arguments.count; ++i) {
        const std::int16_t b = row.arguments.bytes[i];
        if (b >= 0) {
            report[2 + i] = std::uint8_t(b);
            continue;
        }
        const std::size_t n = std::size_t(-1 - b);
        report[2 + i] = n < values.size() ? *(values.begin() + n) : 0;
    }
    report[8] = HidCodec::checksum(report.data() + 1);
    return report;
}

} // namespace CommandRows
