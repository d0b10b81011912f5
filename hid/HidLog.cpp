#include "HidLog.h"

Q_LOGGING_CATEGORY(skarnHid, "skarn.hid")
