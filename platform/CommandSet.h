#pragma once

#include <QString>

// The two firmware command sets the mouse may speak. The choice is made once,
// from the mouse/icType text of apConfig.bin, and handed to whoever needs it.
enum class CommandSet { Set553, Set560 };

// "560" (exactly as written) selects command set 560; anything else, an empty
// or absent value included, selects 553.
inline CommandSet commandSetOf(const QString& icType)
{
    return icType == QLatin1String("560") ? CommandSet::Set560 : CommandSet::Set553;
}
