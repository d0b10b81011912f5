#include "NameList.h"

#include "IniValue.h"

#include <QSettings>

namespace NameList {

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
    QSettings settings(path, QSettings::IniFormat);
    if (names.size() == 1)
        names.append(filler);
    const QString key = keyOf(type);
    if (key.isEmpty())
        return true;
    if (names.isEmpty())
        settings.remove(key);
    else
        settings.setValue(key, names);
    return true;
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
