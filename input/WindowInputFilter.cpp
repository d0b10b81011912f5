#include "WindowInputFilter.h"

#include "KeyTables.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>

namespace {

quint8 buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return KeyTables::mouseLeft;
    case Qt::RightButton:
        return KeyTables::mouseRight;
    case Qt::MiddleButton:
        return KeyTables::mouseMiddle;
    default:
        return KeyTables::noKey;
    }
}

quint32 clampCoordinate(qreal value)
{
    // NaN and negative values (a window partly off screen) give 0.
    return value > 0 ? quint32(std::min(std::floor(value), qreal(0xFFFFFFFFu))) : 0;
}

} // namespace

WindowInputFilter::WindowInputFilter(InputEventSink& sink)
    : m_sink(sink)
{
    QCoreApplication::instance()->installEventFilter(this);
}

WindowInputFilter::~WindowInputFilter()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

QString WindowInputFilter::name() const
{
    return QStringLiteral("own windows only");
}

bool WindowInputFilter::eventFilter(QObject* watched, QEvent* event)
{
    // The window system's event reaches a QWindow spontaneously; the copies
    // that the window hands on to widgets and to Qt Quick's own window would
    // report the same press again.
    if (!event->spontaneous() || !watched->isWindowType())
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (key->isAutoRepeat())
            break;
        if (const quint8 code = KeyTables::keyCodeForXKeycode(key->nativeScanCode()))
            m_sink.keyEvent(code, event->type() == QEvent::KeyPress);
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        // A double click arrives as MouseButtonDblClick after its second
        // press and is left out, like the double-click messages of the hooks.
        const auto* mouse = static_cast<const QMouseEvent*>(event);
        if (const quint8 code = buttonCode(mouse->button())) {
            const QPointF at = mouse->globalPosition();
            m_sink.buttonEvent(code, event->type() == QEvent::MouseButtonPress, clampCoordinate(at.x()),
                               clampCoordinate(at.y()));
        }
        break;
    }
    default:
        break;
    }
    return false;
}
