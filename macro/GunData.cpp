#include "GunData.h"
