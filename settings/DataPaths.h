#pragma once

#include <QString>

// Every data file and folder the program reads or writes, relative to the
// working directory: the data folder that DataFolder.h chooses (the
// executable's folder, or the user's copy of the installed data), or
// skarnctl's --data folder. A layout that moves files within it changes only
// this file. The QML itself
// is carried in the resources and is not listed here.
namespace DataPath {

// The device description and global settings, and the factory copy that
// resetApconfig() restores it from.
inline const QString apConfig = QStringLiteral("./modules/setting/apConfig.bin");
inline const QString apConfigFactory = QStringLiteral("./modules/setting/apConfigD.bin");

// The factory profile and the ten profile files p1.bin..p10.bin.
inline const QString factoryProfile = QStringLiteral("./modules/setting/pD.bin");
inline QString profile(int index)
{
    return QStringLiteral("./modules/setting/p%1.bin").arg(index + 1);
}

// The name lists, the macro files' folder and the gun presets.
inline const QString nameList = QStringLiteral("./modules/setting/name.bin");
inline const QString macroFolder = QStringLiteral("./modules/macro");
inline const QString gunData = QStringLiteral("./modules/gun/gunData.bin");

// The language files, one "<language>.ini" each; the caller checks that the
// language is a name and not a path.
inline QString languageFile(const QString& language)
{
    return QStringLiteral("./modules/i18n/") + language + QStringLiteral(".ini");
}

// The tray icon.
inline const QString logo = QStringLiteral("./modules/img/logo.ico");

} // namespace DataPath
