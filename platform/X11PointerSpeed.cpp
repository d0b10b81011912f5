#include "X11PointerSpeed.h"

#include "PlatformLog.h"

#include <QtGlobal>

#ifdef Q_OS_WIN

int X11PointerSpeed::apply(double)
{
    return -1;
}

#else

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

#include <memory>

namespace {

struct DisplayCloser
{
    void operator()(Display* display) const { XCloseDisplay(display); }
};

int protocolErrors = 0;

int countError(Display*, XErrorEvent*)
{
    ++protocolErrors;
    return 0;
}

bool hasProperty(Display* display, int device, Atom property)
{
    int count = 0;
    Atom* properties = XIListProperties(display, device, &count);
    bool found = false;
    for (int i = 0; i < count && !found; ++i)
        found = properties[i] == property;
    if (properties)
        XFree(properties);
    return found;
}

} // namespace

int X11PointerSpeed::apply(double acceleration)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return -1;
    const std::unique_ptr<Display, DisplayCloser> owned(XOpenDisplay(nullptr));
    if (!owned)
        return -1;
    Display* display = owned.get();
    // A server that goes away mid-call must not end the process (Xlib's
    // default); the display is dropped with the call.
    bool lost = false;
    XSetIOErrorExitHandler(
        display, [](Display*, void* flag) { *static_cast<bool*>(flag) = true; }, &lost);

    int opcode = 0, event = 0, error = 0, major = 2, minor = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success)
        return 0;
    // Only ask for atoms that exist: without the libinput driver there is
    // nothing to set.
    const Atom speed = XInternAtom(display, "libinput Accel Speed", True);
    const Atom floatType = XInternAtom(display, "FLOAT", True);
    const Atom tapping = XInternAtom(display, "libinput Tapping Enabled", True);
    if (speed == None || floatType == None)
        return 0;

    protocolErrors = 0;
    XErrorHandler previous = XSetErrorHandler(countError);
    int count = 0;
    int changed = 0;
    XIDeviceInfo* devices = XIQueryDevice(display, XIAllDevices, &count);
    for (int i = 0; i < count && !lost; ++i) {
        const XIDeviceInfo& device = devices[i];
        if (device.use != XISlavePointer || !hasProperty(display, device.deviceid, speed))
            continue;
        // A touchpad keeps its own speed, as in Plasma's settings.
        if (tapping != None && hasProperty(display, device.deviceid, tapping))
            continue;
        float value = float(acceleration);
        XIChangeProperty(display, device.deviceid, speed, floatType, 32, PropModeReplace,
                         reinterpret_cast<unsigned char*>(&value), 1);
        ++changed;
    }
    if (devices)
        XIFreeDeviceInfo(devices);
    if (!lost)
        XSync(display, False);
    XSetErrorHandler(previous);
    if (protocolErrors > 0)
        qCDebug(skarnPlatform) << "pointer settings:" << protocolErrors << "pointing devices refused the speed";
    return lost ? -1 : changed;
}

#endif
