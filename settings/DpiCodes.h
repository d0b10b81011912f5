#pragma once

#include <QString>

#include <array>
#include <cstdint>

// DPI stages in device terms: the one-byte stage code each sensor model takes
// for a DPI value, and the bytes around it (disabled-stage marks of command
// set 553, the stage-enable and high-DPI masks of command set 560). Pure; no
// I/O. Stage i + 1 is position i of every array here.
namespace DpiCodes {

inline constexpr int stageCount = 8;

using Values = std::array<int, stageCount>;
using Codes = std::array<std::uint8_t, stageCount>;
using ProfileImage = std::array<std::uint8_t, 128>;
using ProfileImages = std::array<ProfileImage, 5>;

// The sensor models with their own rule; every other name is taken as S4090.
enum class Sensor { S4090, S3360, S3050, S3389, S3320, S3327, S3212 };

// Exact, case-sensitive match of "4090", "3360", "3050", "3389", "3320",
// "3327" or "3212"; anything else gives S4090.
Sensor sensorFromName(const QString& name);

// The stage code of one DPI value: the sensor's rule, cut to the low 8 bits.
// Table sensors ("3050", "3320") give 0 above their last threshold.
std::uint8_t stageCode(Sensor sensor, int dpi);

// True when the value sets its stage's bit in the high-DPI mask (sensor
// "3389" at 12800 and above; never for other sensors).
bool isHighDpi(Sensor sensor, int dpi);

struct StageCodes
{
    Codes codes{};
    std::uint8_t highDpiMask = 0; // bit i for stage i + 1; "3389" only
};
StageCodes stageCodes(Sensor sensor, const Values& values);

// Command set 553: the codes with every stage from count on replaced by 0x80
// (all of them for a count of 0 or less, none for 8 or more).
Codes markDisabled(const Codes& codes, int count);

// Command set 560: bits 0..count - 1 (0 for a count of 0 or less, 0xFF for 8
// or more).
std::uint8_t stageEnableMask(int count);

// Command set 560: the stages into profile images 1..4 - bytes 84..91 and
// again 92..99 the codes, byte 100 the stage-enable mask of count, and for
// sensor "3389" bytes 82 and 83 the high-DPI mask. Other bytes stay.
void writeToImages(ProfileImages& images, Sensor sensor, const StageCodes& stages, int count);

} // namespace DpiCodes
