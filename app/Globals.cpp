#include "Globals.h"

bool deviceConnected = false;
