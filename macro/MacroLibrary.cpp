#include "MacroLibrary.h"
