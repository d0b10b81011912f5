#pragma once

#include <QEvent>

// The event the main window posts to itself after initUI() has been queued, so
// that the QML's run() follows it. Type 1000 (QEvent::User), value 2177.
class UserEvent : public QEvent
{
public:
    static constexpr QEvent::Type eventType = QEvent::Type(1000);
    static constexpr qint32 runUiValue = 2177;

    explicit UserEvent(qint32 value)
        : QEvent(eventType)
        , value(value)
    {
    }

    qint32 value;
};
