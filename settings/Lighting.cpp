#include "Lighting.h"
