#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

#include <functional>

class QWindow;

// What the pages may ask of the frameless window beyond the written moves:
// under Wayland a window cannot place itself, so a press on the frame hands
// the move to the compositor. The pages see it as "shellWindow". GUI thread
// only.
class ShellWindow : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The program gives its window as shellWindow.")
    // False where the window system places windows itself (Wayland): the
    // written onXChanged/onYChanged moves have no effect there.
    Q_PROPERTY(bool placesItself READ placesItself CONSTANT)
public:
    // window gives the window's handle when asked (nullptr while it has none,
    // or once it is gone).
    explicit ShellWindow(std::function<QWindow*()> window, QObject* parent = nullptr);

    bool placesItself() const { return m_placesItself; }
    // Starts the compositor's interactive move of the window; true when the
    // window system took it.
    Q_INVOKABLE bool startSystemMove();

private:
    std::function<QWindow*()> m_window;
    bool m_placesItself;
};
