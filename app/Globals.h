#pragma once

#include <QString>

// True after the last device check opened a device; written only by the
// device check, read by the main window before it restores itself. GUI thread.
extern bool deviceConnected;

// Data files, relative to the working directory (the executable's folder).
namespace DataPath {
inline const QString apConfig = QStringLiteral("./modules/setting/apConfig.bin");
inline const QString apConfigFactory = QStringLiteral("./modules/setting/apConfigD.bin");
inline const QString logo = QStringLiteral("./modules/img/logo.ico");
} // namespace DataPath
