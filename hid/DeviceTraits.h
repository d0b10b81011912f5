#pragma once

#include "CommandSet.h"

// What the global file says about the connected mouse, read once when the view
// core starts and handed to the HID worker and the device check. Defaults are
// those of absent keys.
struct DeviceTraits
{
    CommandSet commandSet = CommandSet::Set553;
    bool isGun = false;
    bool isColorful = false;
    bool is55328 = false;
    bool is571 = false;

    bool uses560() const { return commandSet == CommandSet::Set560; }

    friend bool operator==(const DeviceTraits&, const DeviceTraits&) = default;
};
