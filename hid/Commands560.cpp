#include "Commands560.h"

#include <array>

namespace Commands560 {

std::span<const NamedRow> rows()
{
    static constexpr std::array<NamedRow, 11> all{{
        {"getKeyboardOption", &getKeyboardOption},
        {"getCurrentProfile", &getCurrentProfile},
        {"getCurrentDpi", &getCurrentDpi},
        {"readProfile", &readProfile},
        {"setKeyboardOption", &setKeyboardOption},
        {"setReportRate", &setReportRate},
        {"setCurrentDpi", &setCurrentDpi},
        {"setKeyMatrix", &setKeyMatrix},
        {"setProfile", &setProfile},
        {"setCurrentProfile", &setCurrentProfile},
        {"setMacroKey", &setMacroKey},
    }};
    return all;
}

} // namespace Commands560
