#include "PointerSettings.h"
