#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <memory>

class QCoreApplication;
class WarningRequestChannel;

// System-wide keyboard and mouse capture, plus the channel through which other
// programs ask for a warning box. One object lives for the whole run, created
// by start-up on the stack of main().
//
// Callbacks run on the GUI thread. Each registration pairs a function with an
// opaque user pointer (start-up passes the main window).
class InputCapture
{
public:
    using KeyboardCallback = void (*)(quint8 keyCode, bool pressed, void* user);
    using MouseCallback = void (*)(quint32 buttonCode, bool pressed, quint32 x, quint32 y, void* user);
    using CopyDataCallback = void (*)(quint32 tag, const QByteArray& data, void* user);

    InputCapture();
    ~InputCapture();
    InputCapture(const InputCapture&) = delete;
    InputCapture& operator=(const InputCapture&) = delete;

    // Builds the key tables and starts capturing. Capture itself is not
    // available yet: this records the start and returns false, and the
    // program runs without key detection.
    bool start();

    void setKeyboardCallback(KeyboardCallback callback, void* user);
    void setMouseCallback(MouseCallback callback, void* user);

    // Registers the warning-request handler and opens the channel that feeds
    // it (the session bus on Linux). A channel that cannot be opened is
    // reported on the debug output and otherwise ignored.
    void setCopyDataCallback(QCoreApplication* app, CopyDataCallback callback, void* user);

    // Stops capturing and closes the warning channel. Safe to call twice.
    void stop();

    bool isStarted() const { return m_started; }

private:
    bool m_started = false;
    KeyboardCallback m_keyboard = nullptr;
    void* m_keyboardUser = nullptr;
    MouseCallback m_mouse = nullptr;
    void* m_mouseUser = nullptr;
    CopyDataCallback m_copyData = nullptr;
    void* m_copyDataUser = nullptr;
    std::unique_ptr<WarningRequestChannel> m_channel;
};
