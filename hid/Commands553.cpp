#include "Commands553.h"

#include <array>

namespace Commands553 {

std::span<const NamedRow> rows()
{
    static constexpr std::array<NamedRow, 15> all{{
        {"getSecrecyCode", &getSecrecyCode},
        {"getKeyboardOption", &getKeyboardOption},
        {"getCurrentDpi", &getCurrentDpi},
        {"setKeyboardOption", &setKeyboardOption},
        {"setGunData", &setGunData},
        {"setReportRate", &setReportRate},
        {"setCurrentDpi", &setCurrentDpi},
        {"setKeyMatrix", &setKeyMatrix},
        {"setMacroKey", &setMacroKey},
        {"setDpiSet", &setDpiSet},
        {"setCurrentKeyMatrix", &setCurrentKeyMatrix},
        {"setRgbLedEffect", &setRgbLedEffect},
        {"setFixLedColor", &setFixLedColor},
        {"setLed8StageColor", &setLed8StageColor},
        {"setLed8StageColorType2", &setLed8StageColorType2},
    }};
    return all;
}

} // namespace Commands553
