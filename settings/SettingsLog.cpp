#include "SettingsLog.h"

Q_LOGGING_CATEGORY(skarnSettings, "skarn.settings")
