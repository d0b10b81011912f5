#pragma once

#include <QObject>

// Where a capture backend delivers what it sees, already translated to key
// and button codes (see KeyTables.h). Called on the GUI thread.
class InputEventSink
{
public:
    // A key went down or up. Repeats and duplicates are allowed: the receiver
    // filters them.
    virtual void keyEvent(quint8 keyCode, bool pressed) = 0;
    // The left, right or middle button went down or up at screen position
    // (x, y). Every press and release, unfiltered.
    virtual void buttonEvent(quint8 buttonCode, bool pressed, quint32 x, quint32 y) = 0;

protected:
    ~InputEventSink() = default;
};

// One source of key and button events (the X server, the program's own
// windows, the Windows hooks). It captures from construction until it is
// destroyed and never blocks or alters the events it sees. The sink must
// outlive it, and must not destroy it from inside a delivery.
class InputCaptureBackend : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~InputCaptureBackend() override = default;

    // A short name for the debug output ("X11 raw input", ...).
    virtual QString name() const = 0;
};
