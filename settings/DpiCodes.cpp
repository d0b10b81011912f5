#include "DpiCodes.h"
