#pragma once

#include "Clock.h"
#include "DeviceRecord.h"
#include "Hid_Thread.h"
#include "VirtualHidBackend.h"
#include "VirtualMouse.h"

// What the suites that drive the worker against the virtual mouse share.

// The shipped mouse: command interface ff00/ff00, event interface ff01/ff01.
inline DeviceRecord testMouseRecord(bool isEncode = false, const QString& sCode = QStringLiteral("582910"),
                                    int reportLength = 32)
{
    DeviceRecord r;
    r.type = 1;
    r.vid = 0x04d9;
    r.pid = 0xa1ee;
    r.usagePage = r.usage = 0xff00;
    r.usagePage2 = r.usage2 = 0xff01;
    r.reportLength = reportLength;
    r.isEncode = isEncode;
    r.sCode = sCode;
    return r;
}

// Points the worker at the mouse through the backend, as the device check
// would: entry (with the mouse's interface paths) as the only device, made
// current, every delay on the virtual clock.
inline void wireWorker(Hid_Thread& hid, VirtualHidBackend& backend, const VirtualMouse& mouse, VirtualClock& clock,
                       DeviceRecord entry)
{
    hid.setBackend(&backend);
    hid.setClock(&clock);
    entry.primaryPath = QString::fromLatin1(mouse.commandPath());
    entry.secondaryPath = QString::fromLatin1(mouse.eventPath());
    hid.deviceList = {entry};
    hid.currentIndex = 0;
}
