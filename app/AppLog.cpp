#include "AppLog.h"

Q_LOGGING_CATEGORY(skarnApp, "skarn.app")
