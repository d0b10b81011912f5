#include "X11InputBackend.h"

#include "InputLog.h"
#include "KeyTables.h"

#include <QSocketNotifier>

#include <algorithm>
#include <mutex>
#include <vector>

// Xlib's macros (None, Bool, KeyPress, ...) clash with Qt's names: its headers
// come after every Qt header.
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>

namespace {

// Xlib's default reaction to a broken connection is to end the process. For
// our own connections the per-display exit handler turns that into "capture
// stops"; the process-wide handler only has to keep quiet for them and leaves
// every other connection to the handler that was there before.
std::mutex ownDisplaysLock;
std::vector<Display*> ownDisplays;
XIOErrorHandler previousIoErrorHandler = nullptr;
std::once_flag ioErrorHandlerInstalled;

int ioErrorHandler(Display* display)
{
    {
        const std::lock_guard<std::mutex> lock(ownDisplaysLock);
        if (std::find(ownDisplays.begin(), ownDisplays.end(), display) != ownDisplays.end())
            return 0;
    }
    return previousIoErrorHandler ? previousIoErrorHandler(display) : 0;
}

void adoptDisplay(Display* display)
{
    std::call_once(ioErrorHandlerInstalled, [] { previousIoErrorHandler = XSetIOErrorHandler(ioErrorHandler); });
    const std::lock_guard<std::mutex> lock(ownDisplaysLock);
    ownDisplays.push_back(display);
}

void releaseDisplay(Display* display)
{
    const std::lock_guard<std::mutex> lock(ownDisplaysLock);
    ownDisplays.erase(std::remove(ownDisplays.begin(), ownDisplays.end(), display), ownDisplays.end());
}

quint32 clampCoordinate(int value)
{
    return quint32(std::max(value, 0));
}

} // namespace

void X11InputBackend::DisplayCloser::operator()(_XDisplay* display) const
{
    XCloseDisplay(display);
    releaseDisplay(display);
}

std::unique_ptr<X11InputBackend> X11InputBackend::create(InputEventSink& sink, const QByteArray& displayName)
{
    DisplayHandle display(XOpenDisplay(displayName.isEmpty() ? nullptr : displayName.constData()));
    if (!display) {
        qCDebug(skarnInput) << "no X display" << (displayName.isEmpty() ? qgetenv("DISPLAY") : displayName);
        return nullptr;
    }
    adoptDisplay(display.get());

    int opcode = 0;
    int firstEvent = 0;
    int firstError = 0;
    if (!XQueryExtension(display.get(), "XInputExtension", &opcode, &firstEvent, &firstError)) {
        qCDebug(skarnInput) << "the X server has no XInput extension: keys and buttons are not captured";
        return nullptr;
    }
    // Raw events came with 2.0; since 2.1 they reach the root window even
    // while another client holds a grab.
    int major = 2;
    int minor = 2;
    if (XIQueryVersion(display.get(), &major, &minor) != Success || major < 2) {
        qCDebug(skarnInput) << "the X server has no XInput 2: keys and buttons are not captured";
        return nullptr;
    }

    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XISetMask(bits, XI_RawKeyRelease);
    XISetMask(bits, XI_RawButtonPress);
    XISetMask(bits, XI_RawButtonRelease);
    // Master devices only: each slave event is then seen once, through the
    // master it drives, instead of once per device.
    XIEventMask mask;
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = int(sizeof bits);
    mask.mask = bits;
    XISelectEvents(display.get(), DefaultRootWindow(display.get()), &mask, 1);
    XFlush(display.get());

    qCDebug(skarnInput).nospace() << "capturing keys and buttons of X display " << DisplayString(display.get())
                                  << " (XInput " << major << "." << minor << ")";
    return std::unique_ptr<X11InputBackend>(new X11InputBackend(sink, std::move(display), opcode));
}

X11InputBackend::X11InputBackend(InputEventSink& sink, DisplayHandle display, int xiOpcode)
    : m_sink(sink)
    , m_display(std::move(display))
    , m_xiOpcode(xiOpcode)
{
    XSetIOErrorExitHandler(
        m_display.get(), [](Display*, void* self) { static_cast<X11InputBackend*>(self)->m_ioError = true; }, this);
    m_notifier = new QSocketNotifier(ConnectionNumber(m_display.get()), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &X11InputBackend::readEvents);
    // Replies read while the selection was made may already hold events.
    QMetaObject::invokeMethod(this, &X11InputBackend::readEvents, Qt::QueuedConnection);
}

X11InputBackend::~X11InputBackend()
{
    delete m_notifier;
}

QString X11InputBackend::name() const
{
    return QStringLiteral("X11 raw input");
}

void X11InputBackend::readEvents()
{
    // XPending also reads the socket, and a pointer query below may pull
    // further events into Xlib's queue: drain until both are empty.
    while (m_display && !m_ioError && XPending(m_display.get()) > 0) {
        XEvent event;
        XNextEvent(m_display.get(), &event);
        XGenericEventCookie* cookie = &event.xcookie;
        if (cookie->type != GenericEvent || cookie->extension != m_xiOpcode || !XGetEventData(m_display.get(), cookie))
            continue;
        const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
        const int type = raw->evtype;
        const quint32 detail = quint32(std::max(raw->detail, 0));
        XFreeEventData(m_display.get(), cookie);
        dispatch(type, detail);
    }
    if (m_ioError && m_display)
        dropConnection();
}

void X11InputBackend::dispatch(int type, quint32 detail)
{
    switch (type) {
    case XI_RawKeyPress:
    case XI_RawKeyRelease:
        if (const quint8 code = KeyTables::keyCodeForXKeycode(detail))
            m_sink.keyEvent(code, type == XI_RawKeyPress);
        return;
    case XI_RawButtonPress:
    case XI_RawButtonRelease:
        break;
    default:
        return;
    }
    const quint8 button = KeyTables::buttonCodeForXButton(detail);
    if (!button)
        return;
    // Raw events carry no position: the pointer is where the button went
    // down or up unless it moved in the few microseconds since.
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int buttons = 0;
    XQueryPointer(m_display.get(), DefaultRootWindow(m_display.get()), &root, &child, &rootX, &rootY, &windowX,
                  &windowY, &buttons);
    if (m_ioError)
        return;
    m_sink.buttonEvent(button, type == XI_RawButtonPress, clampCoordinate(rootX), clampCoordinate(rootY));
}

void X11InputBackend::dropConnection()
{
    qCDebug(skarnInput) << "lost the connection to the X server: keys and buttons are no longer captured";
    delete m_notifier;
    m_notifier = nullptr;
    m_display.reset();
}
