#pragma once

#include "InputCaptureBackend.h"

#include <QByteArray>

#include <memory>

struct _XDisplay;
class QSocketNotifier;

// Every key and button event of an X display, whichever window has the focus:
// XInput 2 raw events of all master devices, selected on the root window of a
// connection of its own and read through a QSocketNotifier on the GUI thread.
// Nothing is grabbed, so the events reach their windows unchanged, and they
// arrive also while the program's window is hidden.
//
// Keys are delivered by position: the X keycode is the evdev code + 8, which
// KeyTables turns into a key code whatever the keyboard layout. Buttons 1, 2
// and 3 are delivered with the pointer's position on the root window, queried
// when the event is read; the wheel and the other buttons are not.
class X11InputBackend final : public InputCaptureBackend
{
    Q_OBJECT
public:
    // Connects to displayName (DISPLAY when empty). Null, with a debug line,
    // when there is no X server or it lacks XInput 2. sink must outlive the
    // backend. GUI thread only.
    static std::unique_ptr<X11InputBackend> create(InputEventSink& sink, const QByteArray& displayName = {});
    ~X11InputBackend() override;

    QString name() const override;

    // False once the connection to the X server broke; nothing more arrives
    // then, and the program goes on without capture.
    bool isConnected() const { return m_display != nullptr; }

private:
    struct DisplayCloser
    {
        void operator()(_XDisplay* display) const;
    };
    using DisplayHandle = std::unique_ptr<_XDisplay, DisplayCloser>;

    X11InputBackend(InputEventSink& sink, DisplayHandle display, int xiOpcode);
    void readEvents();
    void dispatch(int type, quint32 detail);
    void dropConnection();

    InputEventSink& m_sink;
    DisplayHandle m_display;
    int m_xiOpcode = 0;
    bool m_ioError = false;
    QSocketNotifier* m_notifier = nullptr;
};
