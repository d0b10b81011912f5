#include "DpiCodes.h"

#include <algorithm>

namespace DpiCodes {

namespace {

struct Step
{
    int atMost;
    std::uint8_t code;
};

// "3050": steps of 250 up to 2000, then of 500 up to 4000.
// clang-format off
constexpr std::array<Step, 12> table3050{{{250, 0x01}, {500, 0x02}, {750, 0x03}, {1000, 0x04},
                                          {1250, 0x05}, {1500, 0x06}, {1750, 0x07}, {2000, 0x08},
                                          {2500, 0x45}, {3000, 0x46}, {3500, 0x47}, {4000, 0x48}}};
// clang-format on

// "3320": steps of 250 up to 3500 (0x01..0x0E), then of 500 up to 7000 (0x48..0x4E).
constexpr std::array<Step, 21> table3320 = [] {
    std::array<Step, 21> t{};
    for (int i = 0; i < 14; ++i)
        t[std::size_t(i)] = {250 * (i + 1), std::uint8_t(0x01 + i)};
    for (int i = 0; i < 7; ++i)
        t[std::size_t(14 + i)] = {4000 + 500 * i, std::uint8_t(0x48 + i)};
    return t;
}();

template <std::size_t N>
std::uint8_t fromTable(const std::array<Step, N>& table, int dpi)
{
    for (const Step& s : table) {
        if (dpi <= s.atMost)
            return s.code;
    }
    return 0;
}

constexpr int highDpiFrom = 12800;

} // namespace

Sensor sensorFromName(const QString& name)
{
    static const std::array<std::pair<const char*, Sensor>, 7> names{{{"4090", Sensor::S4090},
                                                                      {"3360", Sensor::S3360},
                                                                      {"3050", Sensor::S3050},
                                                                      {"3389", Sensor::S3389},
                                                                      {"3320", Sensor::S3320},
                                                                      {"3327", Sensor::S3327},
                                                                      {"3212", Sensor::S3212}}};
    for (const auto& [text, sensor] : names) {
        if (name == QLatin1String(text))
            return sensor;
    }
    return Sensor::S4090;
}

std::uint8_t stageCode(Sensor sensor, int dpi)
{
    switch (sensor) {
    case Sensor::S4090:
        return std::uint8_t(dpi / 38);
    case Sensor::S3360:
        return std::uint8_t(dpi / 100 - 1);
    case Sensor::S3050:
        return fromTable(table3050, dpi);
    case Sensor::S3389:
        return std::uint8_t(dpi / 50);
    case Sensor::S3320:
        return fromTable(table3320, dpi);
    case Sensor::S3327:
        return std::uint8_t(dpi / 100);
    case Sensor::S3212:
        return dpi > 2300 ? std::uint8_t((dpi / 76) | 0x40) : std::uint8_t(dpi / 38);
    }
    return 0;
}

bool isHighDpi(Sensor sensor, int dpi)
{
    return sensor == Sensor::S3389 && dpi >= highDpiFrom;
}

StageCodes stageCodes(Sensor sensor, const Values& values)
{
    StageCodes result;
    for (std::size_t i = 0; i < values.size(); ++i) {
        result.codes[i] = stageCode(sensor, values[i]);
        if (isHighDpi(sensor, values[i]))
            result.highDpiMask = std::uint8_t(result.highDpiMask | (1u << i));
    }
    return result;
}

Codes markDisabled(const Codes& codes, int count)
{
    Codes result = codes;
    for (int i = std::max(count, 0); i < stageCount; ++i)
        result[std::size_t(i)] = 0x80;
    return result;
}

std::uint8_t stageEnableMask(int count)
{
    const int n = std::clamp(count, 0, stageCount);
    return std::uint8_t((1u << n) - 1);
}

void writeToImages(ProfileImages& images, Sensor sensor, const StageCodes& stages, int count)
{
    const std::uint8_t mask = stageEnableMask(count);
    for (std::size_t n = 1; n <= 4; ++n) {
        ProfileImage& image = images[n];
        std::copy(stages.codes.begin(), stages.codes.end(), image.begin() + 84);
        std::copy(stages.codes.begin(), stages.codes.end(), image.begin() + 92);
        image[100] = mask;
        if (sensor == Sensor::S3389) {
            image[82] = stages.highDpiMask;
            image[83] = stages.highDpiMask;
        }
    }
}

} // namespace DpiCodes
