#pragma once

// The data paths (DataPath::) for the files that include this header.
#include "DataPaths.h"

// True after the last device check opened a device; written only by the
// device check, read by the main window before it restores itself. GUI thread.
extern bool deviceConnected;
