#include "Ui_Controler.h"

#include "DeviceDescription.h"
#include "Globals.h"
#include "ShellWindow.h"
#include "Widget.h"
#include "myQQuickView.h"

#include <QQmlContext>
#include <QQuickWindow>
#include <QSGRendererInterface>

namespace {
QUrl& rootSource()
{
    static QUrl source(QStringLiteral("qrc:/modules/qml/main.qml"));
    return source;
}
} // namespace

void Ui_Controler::setRootSource(const QUrl& source)
{
    rootSource() = source;
}

Ui_Controler::Ui_Controler(QObject* parent)
    : WindowControl(parent)
{
}

Ui_Controler::~Ui_Controler() = default;

void Ui_Controler::setup(Widget* window)
{
    if (window->objectName().isEmpty())
        window->setObjectName(QStringLiteral("Widget"));
    m_window = window;
    window->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    window->setWindowOpacity(1.0);
    window->setAttribute(Qt::WA_TranslucentBackground, true);
    // Only the window and the view are see-through: a style sheet without a
    // selector would also reach every dialog opened over the view (the file
    // dialogs), leaving them black and unreadable.
    window->setStyleSheet(
        QStringLiteral("QWidget#%1, QWidget#ui_View { background: transparent; }").arg(window->objectName()));

    // The software scene graph keeps a tray program small (tens of MB instead
    // of well over a hundred with a GL driver loaded); QT_QUICK_BACKEND still
    // lets a user choose another one.
    static bool graphicsChosen = false;
    if (!graphicsChosen && qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    graphicsChosen = true;

    m_view = new myQQuickView(window->session.view(), window);
    // The widget keeps the name it had when it was ui_View itself; the QML
    // sees its operations object under the same name.
    m_view->setObjectName(QStringLiteral("ui_View"));
    m_view->core().setObjectName(QStringLiteral("ui_View"));
    m_view->setSource(rootSource());

    QQmlContext* context = m_view->rootContext();
    context->setContextProperty(QStringLiteral("ui_View"), &m_view->core());
    context->setContextProperty(QStringLiteral("hid"), &window->session.hid());
    context->setContextProperty(QStringLiteral("ui_Ctl"), this);
    context->setContextProperty(QStringLiteral("deviceStatus"), &window->session.status());
    const QPointer<QWidget> shown(window);
    context->setContextProperty(QStringLiteral("shellWindow"),
                                new ShellWindow([shown] { return shown ? shown->windowHandle() : nullptr; }, this));

    window->resize(m_view->size());
    window->setWindowTitle(DeviceDescription::readProductName(DataPath::apConfig));
}

void Ui_Controler::onMinimize()
{
    if (m_window)
        m_window->showMinimized();
}

void Ui_Controler::onClose()
{
    // The main window decides: hidden in the tray, or ended when there is no
    // tray to come back from.
    if (auto* window = qobject_cast<Widget*>(m_window.data()))
        window->closeFromUi();
    else if (m_window)
        m_window->setVisible(false);
}

void Ui_Controler::onXChanged(int x)
{
    if (m_window)
        m_window->move(m_window->x() + x, m_window->y());
}

void Ui_Controler::onYChanged(int y)
{
    if (m_window)
        m_window->move(m_window->x(), m_window->y() + y);
}

void Ui_Controler::setBusy(int busyTime)
{
    if (m_view)
        m_view->core().setBusy(busyTime);
}

void Ui_Controler::setBusy()
{
    setBusy(0);
}
