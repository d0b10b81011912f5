#pragma once

#include <QString>

#include <array>

// The tray texts shown when the mouse reports DPI stage 1 to 8 (index 0 to 7).
// Every entry is "DPI Switch to" until the language strings replace them.
// Written and read on the GUI thread only.
extern std::array<QString, 8> dpiSwitchTexts;
