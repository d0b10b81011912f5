#pragma once

#include "InputCaptureBackend.h"
#include "KeyStateFilter.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <memory>

class QCoreApplication;
class WarningRequestChannel;

// System-wide keyboard and mouse capture, plus the channel through which other
// programs ask for a warning box. One object lives for the whole run, created
// by start-up on the stack of main().
//
// Keys are reported as key codes (see KeyTables.h), by position whatever the
// keyboard layout, once per change: a held key gives one press however often
// it repeats, and a release is reported only for a key reported down. The
// left, right and middle buttons are reported on every press and release with
// the pointer's screen position; other buttons and the wheel are not. Events
// are observed, never blocked or altered.
//
// Callbacks run on the GUI thread, from the event loop. Each registration
// pairs a function with an opaque user pointer (start-up passes the main
// window). A callback must not call start() or stop().
class InputCapture final : private InputEventSink
{
public:
    using KeyboardCallback = void (*)(quint8 keyCode, bool pressed, void* user);
    using MouseCallback = void (*)(quint32 buttonCode, bool pressed, quint32 x, quint32 y, void* user);
    using CopyDataCallback = void (*)(quint32 tag, const QByteArray& data, void* user);

    InputCapture();
    ~InputCapture();
    InputCapture(const InputCapture&) = delete;
    InputCapture& operator=(const InputCapture&) = delete;

    // Starts capturing, with every key up. Windows: the low-level hooks. Linux:
    // XInput raw events of the whole X display when one can be reached (not
    // under a Wayland session); otherwise only the events of the program's own
    // windows (needs a QGuiApplication). True when a source runs; false, with
    // a debug line, when none does and the program runs without key
    // detection. A second call starts afresh. GUI thread only.
    bool start();

    // Replace an earlier registration; a null callback reports nothing.
    void setKeyboardCallback(KeyboardCallback callback, void* user);
    void setMouseCallback(MouseCallback callback, void* user);

    // Registers the warning-request handler and opens the channel that feeds
    // it (the session bus on Linux). A channel that cannot be opened is
    // reported on the debug output and otherwise ignored.
    void setCopyDataCallback(QCoreApplication* app, CopyDataCallback callback, void* user);

    // Stops capturing and closes the warning channel. Safe to call twice.
    void stop();

    bool isStarted() const { return m_started; }
    // The source in use ("X11 raw input", ...), empty when none runs.
    QString backendName() const;

private:
    void keyEvent(quint8 keyCode, bool pressed) override;
    void buttonEvent(quint8 buttonCode, bool pressed, quint32 x, quint32 y) override;
    std::unique_ptr<InputCaptureBackend> createBackend();

    bool m_started = false;
    KeyboardCallback m_keyboard = nullptr;
    void* m_keyboardUser = nullptr;
    MouseCallback m_mouse = nullptr;
    void* m_mouseUser = nullptr;
    CopyDataCallback m_copyData = nullptr;
    void* m_copyDataUser = nullptr;
    KeyStateFilter m_keyState;
    std::unique_ptr<InputCaptureBackend> m_backend;
    std::unique_ptr<WarningRequestChannel> m_channel;
};
