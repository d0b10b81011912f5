// Gun presets and the desktop's pointer settings.

#include "ViewCore.h"

#include "AppLog.h"

void ViewCore::mouseSaveGundata(QVariant index, QVariantList src6)
{
    Q_UNUSED(index);
    Q_UNUSED(src6);
    notImplemented("mouseSaveGundata");
}

void ViewCore::mouseSendGundata(int gunIndex, QVariantList src6)
{
    Q_UNUSED(gunIndex);
    Q_UNUSED(src6);
    notImplemented("mouseSendGundata");
}

void ViewCore::modifyGundata(QVariant modifyType, QVariantList src6)
{
    Q_UNUSED(modifyType);
    Q_UNUSED(src6);
    notImplemented("modifyGundata");
}

QVariantList ViewCore::getGunData(QVariant name)
{
    Q_UNUSED(name);
    notImplemented("getGunData");
    return {};
}

QStringList ViewCore::getGunDataKey()
{
    notImplemented("getGunDataKey");
    return {};
}

void ViewCore::mouseSetCursorSpeed(uint cursorSpeed)
{
    Q_UNUSED(cursorSpeed);
    notImplemented("mouseSetCursorSpeed");
}

void ViewCore::mouseSetVerticalScrollLines(uint lines)
{
    Q_UNUSED(lines);
    notImplemented("mouseSetVerticalScrollLines");
}

void ViewCore::mouseSetDoubleClickSpeed(uint speed)
{
    Q_UNUSED(speed);
    notImplemented("mouseSetDoubleClickSpeed");
}
