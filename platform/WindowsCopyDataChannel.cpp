#include "WindowsCopyDataChannel.h"

#include <QCoreApplication>

#include <windows.h>

WindowsCopyDataChannel::WindowsCopyDataChannel(QCoreApplication* app, QObject* parent)
    : WarningRequestChannel(parent)
    , m_app(app)
{
    if (m_app)
        m_app->installNativeEventFilter(this);
}

WindowsCopyDataChannel::~WindowsCopyDataChannel()
{
    if (m_app)
        m_app->removeNativeEventFilter(this);
}

bool WindowsCopyDataChannel::nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result)
{
    if (eventType != "windows_generic_MSG" || !message)
        return false;
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message != WM_COPYDATA)
        return false;
    const auto* block = reinterpret_cast<const COPYDATASTRUCT*>(msg->lParam);
    if (block) {
        // Exactly the bytes the sender counted: nothing past cbData is read.
        const QByteArray data = block->lpData && block->cbData > 0
                                    ? QByteArray(static_cast<const char*>(block->lpData), qsizetype(block->cbData))
                                    : QByteArray();
        deliver(quint32(block->dwData), data);
    }
    if (result)
        *result = 1;
    return true;
}
