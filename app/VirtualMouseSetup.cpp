#include "VirtualMouseSetup.h"

#include "AppLog.h"
#include "DeviceDescription.h"
#include "Globals.h"
#include "IniValue.h"
#include "VirtualMouse.h"

#include <QSettings>

#include <algorithm>

namespace VirtualMouseSetup {

std::unique_ptr<VirtualMouse> fromConfig()
{
    QSettings settings(DataPath::apConfig, QSettings::IniFormat);
    const DeviceList entries = DeviceDescription::readDeviceRecords(settings);
    const auto mouseEntry =
        std::find_if(entries.begin(), entries.end(), [](const DeviceRecord& r) { return r.type == 1; });
    if (mouseEntry == entries.end()) {
        qCDebug(skarnApp) << "virtual mouse: apConfig.bin has no mouse entry (type 1)";
        return nullptr;
    }
    const CommandSet set = commandSetOf(IniValue::text(settings.value(QStringLiteral("mouse/icType"))));
    const auto table = DeviceDescription::readScrambleTable(settings).value_or(HidCodec::defaultScrambleTable);
    auto mouse = std::make_unique<VirtualMouse>(*mouseEntry, set, table);
    qCDebug(skarnApp).noquote() << QStringLiteral("virtual mouse %1:%2, command set %3")
                                       .arg(mouseEntry->vid, 4, 16, QLatin1Char('0'))
                                       .arg(mouseEntry->pid, 4, 16, QLatin1Char('0'))
                                       .arg(mouse->family());
    return mouse;
}

} // namespace VirtualMouseSetup
