#include "InputCapture.h"

#include "WarningRequestChannel.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(skarnInput, "skarn.input")

InputCapture::InputCapture() = default;

InputCapture::~InputCapture()
{
    stop();
}

bool InputCapture::start()
{
    m_started = true;
    qCDebug(skarnInput) << "key and button capture is not available in this build";
    return false;
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
    Q_UNUSED(app);
    m_copyData = callback;
    m_copyDataUser = user;
    auto channel = std::make_unique<DBusWarningChannel>();
    channel->setHandler([this](quint32 tag, const QByteArray& data) {
        if (m_copyData)
            m_copyData(tag, data, m_copyDataUser);
    });
    if (channel->registerOnSessionBus())
        m_channel = std::move(channel);
}

void InputCapture::stop()
{
    m_started = false;
    m_channel.reset();
}
