#include "AppLog.h"
#include "InputCapture.h"
#include "QtSingleCoreApplication.h"
#include "Widget.h"
#include "myQQuickView.h"

#include <QDir>

namespace {

void forwardKey(quint8 keyCode, bool pressed, void* user)
{
    auto* window = static_cast<Widget*>(user);
    if (myQQuickView* view = window->view())
        view->callRoot("detectKeyboard", {pressed, int(keyCode)}, Qt::QueuedConnection);
}

void forwardButton(quint32 buttonCode, bool pressed, quint32 x, quint32 y, void* user)
{
    auto* window = static_cast<Widget*>(user);
    if (myQQuickView* view = window->view())
        view->callRoot("detectMouse", {pressed, buttonCode, x, y}, Qt::QueuedConnection);
}

void forwardWarningRequest(quint32 tag, const QByteArray& data, void* user)
{
    static_cast<Widget*>(user)->handleWarningRequest(tag, data);
}

} // namespace

int main(int argc, char** argv)
{
    QtSingleCoreApplication app(argc, argv);
    if (app.isRunning()) {
        // The running copy decides whether to show itself; whether it got the
        // message does not change our answer.
        app.sendMessage(QString(), 5000);
        return 1;
    }

    const QString exe = QCoreApplication::applicationFilePath();
    QDir::setCurrent(exe.left(exe.lastIndexOf(QLatin1Char('/'))));

    auto* window = new Widget;
    QObject::connect(&app, &QtSingleCoreApplication::messageReceived, window, &Widget::receiveMessage);

    InputCapture capture;
    capture.start();
    capture.setKeyboardCallback(forwardKey, window);
    capture.setMouseCallback(forwardButton, window);
    capture.setCopyDataCallback(&app, forwardWarningRequest, window);

    window->showNormal();
    window->checkDevice();

    const int result = app.exec();

    capture.stop();
    delete window;
    // The controller was handed to deferred deletion by the window; no event
    // loop runs any more to carry it out.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
