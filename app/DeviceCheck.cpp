#include "DeviceCheck.h"

#include "AppLog.h"
#include "DataPaths.h"
#include "DeviceCommands.h"
#include "DeviceDescription.h"
#include "HidBackend.h"
#include "Hid_Thread.h"
#include "ViewCore.h"

#include <QSettings>

namespace DeviceCheck {

bool run(Hid_Thread& hid, ViewCore& view, const std::function<void()>& announce)
{
    QSettings settings(DataPath::apConfig, QSettings::IniFormat);
    DeviceList list = DeviceDescription::readDeviceRecords(settings);
    hid.setScrambleTable(DeviceDescription::readScrambleTable(settings).value_or(HidCodec::defaultScrambleTable));
    qCDebug(skarnApp) << "device entries:" << list.size();

    HidBackend* backend = hid.backend();
    for (DeviceRecord& record : list) {
        record.primaryPath.clear();
        record.secondaryPath.clear();
        for (const HidInterfaceInfo& info : backend->enumerate(record.vid, record.pid)) {
            if (info.usagePage == record.usagePage && info.usage == record.usage)
                record.primaryPath = QString::fromLatin1(info.path);
            if (info.usagePage == record.usagePage2 && info.usage == record.usage2)
                record.secondaryPath = QString::fromLatin1(info.path);
        }
    }
    hid.deviceList = list;

    for (qsizetype j = 0; j < hid.deviceList.size(); ++j) {
        if (hid.deviceList.at(j).primaryPath.isEmpty())
            continue;
        if (!hid.chkDeviceIsEnCode(int(j)))
            continue;
        qDebug("Device Connect");
        view.clearHidBusy();
        if (announce)
            announce();
        hid.startListener(uint(hid.currentIndex));
        if (view.device)
            view.device->afterConnect();
        return true;
    }

    qDebug("Device DisConnect");
    return false;
}

} // namespace DeviceCheck
