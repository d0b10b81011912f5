#include "AppLog.h"
#include "DataFolder.h"
#include "InputCapture.h"
#include "QtSingleCoreApplication.h"
#include "VirtualMouseMode.h"
#include "Widget.h"
#include "myQQuickView.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>

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

// The file named by --hid-trace FILE (or --hid-trace=FILE), if any.
QString traceFileArgument(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (a == QLatin1String("--hid-trace") && i + 1 < arguments.size())
            return arguments.at(i + 1);
        if (a.startsWith(QLatin1String("--hid-trace=")))
            return a.mid(int(qstrlen("--hid-trace=")));
    }
    return QString();
}

} // namespace

int main(int argc, char** argv)
{
    QtSingleCoreApplication app(argc, argv);
    if (app.isRunning()) {
        // The running copy decides whether to show itself; whether it got the
        // message does not change our answer.
        if (!app.sendMessage(QString(), 5000))
            qCDebug(skarnApp) << "the running copy did not answer";
        return 1;
    }

    // A trace file named relative to where the user started us, not to the
    // folder we are about to move to.
    const QString traceFile = traceFileArgument(QCoreApplication::arguments());
    std::unique_ptr<QFile> trace;
    if (!traceFile.isEmpty()) {
        trace = std::make_unique<QFile>(QFileInfo(traceFile).absoluteFilePath());
        if (!trace->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
            qCWarning(skarnApp) << "cannot write the HID trace" << trace->fileName() << "-" << trace->errorString();
            trace.reset();
        }
    }

    // The data folder: the executable's own when modules/ is beside it,
    // else the user's seeded copy of the installed data.
    const QString exe = QCoreApplication::applicationFilePath();
    QDir::setCurrent(DataFolder::forExecutable(exe.left(exe.lastIndexOf(QLatin1Char('/')))));

    auto* window = new Widget;
    // Without the virtual mouse the session uses hidapi, initialised here on
    // the GUI thread before anything opens a device.
    HidBackend* device = nullptr;
    if (QCoreApplication::arguments().contains(QLatin1String("--virtual-mouse"))) {
        // Owned by the window; it outlives the HID worker's last use of it.
        if (VirtualMouseMode* mode = VirtualMouseMode::create(window).release()) {
            mode->attach();
            device = mode->backend();
        }
    }
    window->session.setTransport(device, trace.get());
    QObject::connect(&app, &QtSingleCoreApplication::messageReceived, window, &Widget::receiveMessage);

    InputCapture capture;
    capture.start();
    capture.setKeyboardCallback(forwardKey, window);
    capture.setMouseCallback(forwardButton, window);
    capture.setCopyDataCallback(&app, forwardWarningRequest, window);

    // --hidden (the login start) stays in the tray; without a tray there is
    // nothing to bring the window back from, so it is shown all the same.
    if (!QCoreApplication::arguments().contains(QLatin1String("--hidden")) || !window->trayAvailable())
        window->showNormal();
    else
        qCDebug(skarnApp) << "started hidden in the tray";
    window->checkDevice();

    const int result = app.exec();

    capture.stop();
    delete window;
    // The controller was handed to deferred deletion by the window; no event
    // loop runs any more to carry it out.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
