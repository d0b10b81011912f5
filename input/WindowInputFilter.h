#pragma once

#include "InputCaptureBackend.h"

// Capture without an X server of our own (Wayland, or no DISPLAY): an event
// filter on the application that sees the key and button events of the
// program's own windows only, while one of them has the focus or the pointer.
//
// Keys are taken by their native scan code, which on xcb and on Wayland is
// the XKB keycode (evdev code + 8), so they are identified by position as with
// X11InputBackend; events without one (offscreen, synthetic) are ignored, as
// are Qt's auto-repeats. Each event is taken once, where the window system
// delivers it to a window. Buttons are reported with the event's global
// position, which on Wayland is relative to the window's own surface.
class WindowInputFilter final : public InputCaptureBackend
{
    Q_OBJECT
public:
    // Installs the filter on qApp, which must be a QGuiApplication; removes it
    // on destruction. sink must outlive the filter. GUI thread only.
    explicit WindowInputFilter(InputEventSink& sink);
    ~WindowInputFilter() override;

    QString name() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    InputEventSink& m_sink;
};
