#include "DeviceCommands.h"

#include "Commands553.h"
#include "Commands560.h"
#include "Device553.h"
#include "Device560.h"
#include "HidLog.h"

// The one place that knows which unit serves which command set.
std::unique_ptr<DeviceCommands> DeviceCommands::make(Hid_Thread& hid, const DeviceTraits& traits)
{
    switch (traits.commandSet) {
    case CommandSet::Set560:
        return std::make_unique<Device560>(hid, traits);
    case CommandSet::Set553:
        break;
    }
    return std::make_unique<Device553>(hid, traits);
}

const KeyMatrix::DeviceForm& DeviceCommands::keyMatrixForm(CommandSet set)
{
    return set == CommandSet::Set560 ? Commands560::keyMatrixForm : Commands553::keyMatrixForm;
}

void DeviceCommands::refuse(const char* operation, const char* set)
{
    qCDebug(skarnHid).noquote() << operation << "is not sent: command set" << set << "has no such command";
}
