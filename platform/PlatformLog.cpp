#include "PlatformLog.h"

Q_LOGGING_CATEGORY(skarnPlatform, "skarn.platform")
