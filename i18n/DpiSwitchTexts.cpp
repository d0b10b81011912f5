#include "DpiSwitchTexts.h"

std::array<QString, 8> dpiSwitchTexts = {
    QStringLiteral("DPI Switch to"), QStringLiteral("DPI Switch to"), QStringLiteral("DPI Switch to"),
    QStringLiteral("DPI Switch to"), QStringLiteral("DPI Switch to"), QStringLiteral("DPI Switch to"),
    QStringLiteral("DPI Switch to"), QStringLiteral("DPI Switch to"),
};
