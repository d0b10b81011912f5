// Gun presets and the desktop's pointer settings.

#include "ViewCore.h"

#include "AppLog.h"
#include "DeviceCommands.h"
#include "GunData.h"
#include "PointerSettings.h"

void ViewCore::mouseSaveGundata(QVariant index, QVariantList src6)
{
    GunData::store(GunData::defaultPath, index.toString(), src6);
}

void ViewCore::mouseSendGundata(int gunIndex, QVariantList src6)
{
    if (!traits.isGun)
        return;
    // Slot 1..3 selects profile image 2..4 or device slot byte 0..2; anything
    // else would address an image that does not exist.
    if (!GunData::isSlot(gunIndex)) {
        qCDebug(skarnApp) << "mouseSendGundata: no gun slot" << gunIndex;
        return;
    }
    send(QStringLiteral("gun %1").arg(gunIndex),
         [gunIndex, values = GunData::slotValues(src6)](DeviceCommands& d) { d.sendGunData(gunIndex, values); });
}

void ViewCore::modifyGundata(QVariant modifyType, QVariantList src6)
{
    GunData::modify(GunData::defaultPath, modifyType, src6);
}

QVariantList ViewCore::getGunData(QVariant name)
{
    return GunData::read(GunData::defaultPath, name.toString());
}

QStringList ViewCore::getGunDataKey()
{
    return GunData::keys(GunData::defaultPath);
}

void ViewCore::mouseSetCursorSpeed(uint cursorSpeed)
{
    if (!PointerSettings::current().setSpeed(PointerSettings::speedOfStep(cursorSpeed)))
        qDebug("setCursorSpeed Failed");
}

void ViewCore::mouseSetVerticalScrollLines(uint lines)
{
    if (!PointerSettings::current().setWheelScrollLines(lines))
        qDebug("setVerticalScrollLines Failed");
}

void ViewCore::mouseSetDoubleClickSpeed(uint speed)
{
    if (!PointerSettings::current().setDoubleClickTime(PointerSettings::doubleClickTimeOfStep(speed)))
        qDebug("setDoubleClickSpeed Failed");
}
