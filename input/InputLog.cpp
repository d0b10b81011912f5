#include "InputLog.h"

Q_LOGGING_CATEGORY(skarnInput, "skarn.input")
