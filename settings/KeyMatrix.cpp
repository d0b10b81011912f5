#include "KeyMatrix.h"
