#pragma once

#include "CommandSet.h"

#include <QMetaType>
#include <QString>

// What the global file says about the connected mouse, read once when the view
// core starts and handed to the HID worker, the device check, the command
// set's unit and the pages (deviceStatus.traits). Defaults are those of
// absent keys.
struct DeviceTraits
{
    Q_GADGET
    Q_PROPERTY(bool isGun MEMBER isGun CONSTANT)
    Q_PROPERTY(bool isColorful MEMBER isColorful CONSTANT)
    Q_PROPERTY(bool is55328 MEMBER is55328 CONSTANT)
    Q_PROPERTY(bool is571 MEMBER is571 CONSTANT)
    // The command set as mouse/icType names it.
    Q_PROPERTY(QString icType READ icType CONSTANT)
public:
    CommandSet commandSet = CommandSet::Set553;
    bool isGun = false;
    bool isColorful = false;
    bool is55328 = false;
    bool is571 = false;

    QString icType() const { return commandSet == CommandSet::Set560 ? QStringLiteral("560") : QStringLiteral("553"); }

    friend bool operator==(const DeviceTraits&, const DeviceTraits&) = default;
};
