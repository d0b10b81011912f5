#pragma once

// The data paths (DataPath::) for the files that include this header.
#include "DataPaths.h"
