#include "InputCapture.h"

#include "InputLog.h"
#include "WarningRequestChannel.h"
#ifdef Q_OS_WIN
#include "WindowsCopyDataChannel.h"
#endif

#include <QGuiApplication>

#ifdef Q_OS_WIN
#include "WindowsHookBackend.h"
#else
#include "WindowInputFilter.h"
#include "X11InputBackend.h"
#endif

InputCapture::InputCapture() = default;

InputCapture::~InputCapture()
{
    stop();
}

bool InputCapture::start()
{
    m_backend.reset();
    m_keyState.reset();
    m_started = true;
    m_backend = createBackend();
    if (!m_backend) {
        qCDebug(skarnInput) << "keys and buttons are not captured";
        return false;
    }
    qCDebug(skarnInput).noquote() << "capturing keys and buttons through" << m_backend->name();
    return true;
}

std::unique_ptr<InputCaptureBackend> InputCapture::createBackend()
{
    InputEventSink& sink = *this;
#ifdef Q_OS_WIN
    return WindowsHookBackend::create(sink);
#else
    const bool gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    // Under Wayland an X server, if any, is Xwayland, which sees input only
    // while one of its own clients has the focus: our window is not one.
    const bool wayland = gui && QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    if (!wayland) {
        if (auto x11 = X11InputBackend::create(sink))
            return x11;
    }
    if (gui)
        return std::make_unique<WindowInputFilter>(sink);
    return nullptr;
#endif
}

QString InputCapture::backendName() const
{
    return m_backend ? m_backend->name() : QString();
}

void InputCapture::keyEvent(quint8 keyCode, bool pressed)
{
    if (m_keyState.accept(keyCode, pressed) && m_keyboard)
        m_keyboard(keyCode, pressed, m_keyboardUser);
}

void InputCapture::buttonEvent(quint8 buttonCode, bool pressed, quint32 x, quint32 y)
{
    if (m_mouse)
        m_mouse(buttonCode, pressed, x, y, m_mouseUser);
}

void InputCapture::setKeyboardCallback(KeyboardCallback callback, void* user)
{
    m_keyboard = callback;
    m_keyboardUser = user;
}

void InputCapture::setMouseCallback(MouseCallback callback, void* user)
{
    m_mouse = callback;
    m_mouseUser = user;
}

void InputCapture::setCopyDataCallback(QCoreApplication* app, CopyDataCallback callback, void* user)
{
    m_copyData = callback;
    m_copyDataUser = user;
    auto handler = [this](quint32 tag, const QByteArray& data) {
        if (m_copyData)
            m_copyData(tag, data, m_copyDataUser);
    };
#ifdef Q_OS_WIN
    // WM_COPYDATA through the application-wide native event filter.
    auto channel = std::make_unique<WindowsCopyDataChannel>(app);
    channel->setHandler(handler);
    m_channel = std::move(channel);
#else
    Q_UNUSED(app);
    auto channel = std::make_unique<DBusWarningChannel>();
    channel->setHandler(handler);
    if (channel->registerOnSessionBus())
        m_channel = std::move(channel);
#endif
}

void InputCapture::stop()
{
    m_started = false;
    m_backend.reset();
    m_channel.reset();
}
