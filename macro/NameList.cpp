#include "NameList.h"

#include "IniValue.h"
#include "SafeFile.h"

#include <QLoggingCategory>
#include <QSettings>

namespace NameList {

namespace {
Q_LOGGING_CATEGORY(skarnNames, "skarn.macro")
}

QString keyOf(uint type)
{
    switch (type) {
    case 0:
        return QStringLiteral("macro/macroName");
    case 1:
        return QStringLiteral("gun/gunName");
    case 2:
        return QStringLiteral("profile/profileName");
    case 3:
        return QStringLiteral("gun/selectGun");
    default:
        return QString();
    }
}

bool update(const QString& path, uint type, QStringList names)
{
    if (names.size() == 1)
        names.append(filler);
    const QString key = keyOf(type);
    if (key.isEmpty()) {
        qCDebug(skarnNames) << "updataNameList: no list of type" << type << "- nothing stored";
        return false;
    }
    // The store is changed only when the file can take it (see SafeFile).
    if (!SafeFile::hasRoomFor(path, SafeFile::textEstimate(key, names)))
        return false;
    QSettings settings(path, QSettings::IniFormat);
    if (names.isEmpty())
        settings.remove(key);
    else
        settings.setValue(key, names);
    return SafeFile::writeBack(settings);
}

QVariantList get(const QString& path, uint type)
{
    const QString key = keyOf(type);
    if (key.isEmpty())
        return {};
    QSettings settings(path, QSettings::IniFormat);
    return IniValue::list(settings.value(key, 0));
}

} // namespace NameList
