#include "Widget.h"

#include "AppLog.h"
#include "DeviceChangeNotifier.h"
#include "DpiSwitchTexts.h"
#include "Globals.h"
#include "Ui_Controler.h"
#include "UserEvent.h"
#include "WarningRequest.h"
#include "myQQuickView.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QMessageBox>

namespace {

const char* const trayMenuStyleSheet =
    "QMenu { border: 1px solid rgb(100, 100, 100); background: rgb(68, 69, 73); } "
    "QMenu::item { height: 22px; padding: 0px 25px 0px 20px; } "
    "QMenu::item:enabled { color: rgb(225, 225, 225); } "
    "QMenu::item:!enabled { color: rgb(155, 155, 155); } "
    "QMenu::item:enabled:selected { color: rgb(230, 230, 230); background: rgba(255, 255, 255, 40); } "
    "QMenu::separator { height: 1px; background: rgb(100, 100, 100); } "
    "QMenu::indicator { width: 13px; height: 13px; } "
    "QMenu::icon { padding-left: 2px; padding-right: 2px; } ";

Widget::TrayCheck& trayCheck()
{
    static Widget::TrayCheck check;
    return check;
}

} // namespace

Widget::Widget(QWidget* parent)
    : QWidget(parent)
{
    session.setListenerSink({[this](int stage) { showDpiStage(stage); },
                             [this] {
                                 if (myQQuickView* v = view())
                                     v->setEnabled(false);
                             }});

    // The mouse is written on a thread of its own: the window keeps drawing.
    session.hid().startWriter();

    controller = new Ui_Controler;
    controller->setup(this);

    checkTimer.setInterval(checkIntervalMs);
    checkTimer.setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the debounce is one interval
    // after the last change.
    checkTimer.setTimerType(Qt::PreciseTimer);
    connect(&checkTimer, &QTimer::timeout, this, &Widget::checkDevice);

    buildTrayIcon();

    setDeviceChangeNotifier(DeviceChangeNotifier::createDefault());
}

Widget::~Widget()
{
    session.hid().stopListener();
    // The QML host goes before the session whose view core it shows.
    delete view();
    // The box has no parent; it does not outlive the window it speaks for.
    delete m_warningBox;
    // The event loop has ended; whoever destroys the window flushes deferred
    // deletions afterwards.
    controller->deleteLater();
}

myQQuickView* Widget::view() const
{
    return controller ? controller->view() : nullptr;
}

void Widget::buildTrayIcon()
{
    trayIcon = new QSystemTrayIcon(this);

    auto* quitAction = new QAction(tr("Quit (&Q)"), this);
    connect(quitAction, &QAction::triggered, this, &Widget::exitSYS);

    auto* menu = new QMenu(this);
    menu->addAction(quitAction);
    menu->setStyleSheet(QString::fromLatin1(trayMenuStyleSheet));

    trayIcon->setContextMenu(menu);
    trayIcon->setToolTip(QStringLiteral("TALVORN SKARN MOUSE R410"));
    // A missing file leaves the icon without an image.
    trayIcon->setIcon(QIcon(DataPath::logo));
    connect(trayIcon, &QSystemTrayIcon::activated, this, &Widget::trayIconActivated);
    trayIcon->setVisible(true);
}

void Widget::setDeviceChangeNotifier(std::unique_ptr<DeviceChangeNotifier> notifier)
{
    m_notifier = std::move(notifier);
    if (m_notifier)
        connect(m_notifier.get(), &DeviceChangeNotifier::changed, this, &Widget::onDeviceChanged);
}

void Widget::onDeviceChanged()
{
    // While a listener runs the device is known to be there; its end (device
    // gone) is what lets the next change start a check.
    if (!session.hid().hidListenerRunning)
        checkTimer.start();
}

void Widget::trayIconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::DoubleClick && session.status().connected())
        postRestore();
}

void Widget::checkDevice()
{
    const bool connected =
        session.check([this] { showBalloon(QStringLiteral("Info"), QStringLiteral("Detect Device"), 10000); });
    if (connected)
        view()->setEnabled(true);
    startUi();
}

void Widget::showDpiStage(int stage)
{
    if (myQQuickView* v = view())
        v->core().setCurrentDPI(stage);
    // Stage codes 1..7 name their own text; 0 and anything above 7 the eighth.
    const std::size_t k = stage >= 1 && stage <= 7 ? std::size_t(stage - 1) : 7;
    showBalloon(QStringLiteral("Info"), dpiSwitchTexts[k] + QLatin1Char(' '), 10000);
}

void Widget::showBalloon(const QString& title, const QString& text, int ms)
{
    if (m_presentBalloon)
        m_presentBalloon(title, text, ms);
    else
        trayIcon->showMessage(title, text, QSystemTrayIcon::Information, ms);
}

void Widget::exitSYS()
{
    session.hid().stopListener();
    QCoreApplication::exit(0);
}

bool Widget::trayAvailable() const
{
    return trayCheck() ? trayCheck()() : QSystemTrayIcon::isSystemTrayAvailable();
}

void Widget::setTrayCheck(TrayCheck check)
{
    trayCheck() = std::move(check);
}

void Widget::closeFromUi()
{
    if (trayAvailable()) {
        setVisible(false);
        return;
    }
    qCDebug(skarnApp) << "no notification area: the close button quits";
    exitSYS();
}

void Widget::receiveMessage(const QString& message)
{
    qCDebug(skarnApp) << "message from a second start:" << message;
    if (session.status().connected())
        postRestore();
}

void Widget::startUi()
{
    if (myQQuickView* v = view())
        v->core().initUI();
    QCoreApplication::postEvent(this, new UserEvent(UserEvent::runUiValue));
}

void Widget::customEvent(QEvent* event)
{
    if (event->type() != UserEvent::eventType)
        return;
    if (static_cast<UserEvent*>(event)->value == UserEvent::runUiValue) {
        if (myQQuickView* v = view())
            v->core().runUI();
    }
}

void Widget::postRestore()
{
    QMetaObject::invokeMethod(
        this,
        [this] {
            setVisible(true);
            showNormal();
            raise();
            activateWindow();
        },
        Qt::QueuedConnection);
}

void Widget::handleWarningRequest(quint32 tag, const QByteArray& data)
{
    const std::optional<QString> text = WarningRequest::text(tag, data);
    if (!text) {
        qCDebug(skarnApp) << "warning request ignored: tag" << Qt::hex << tag << Qt::dec << "with" << data.size()
                          << "bytes";
        return;
    }
    if (warningBox()) {
        // One line per shown box, not one per request: a flood must not
        // flood the log either.
        if (m_droppedWarnings++ == 0)
            qCDebug(skarnApp) << "warning request dropped: a warning box is already shown";
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(), WarningRequest::elided(*text), QMessageBox::Ok);
    // Another program's text is never read as markup.
    box->setTextFormat(Qt::PlainText);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Modal like before, but shown without an event loop of its own, so that
    // requests, device checks and a second start are still served while it
    // is open.
    box->setWindowModality(Qt::ApplicationModal);
    connect(box, &QDialog::finished, this, [this] {
        if (m_droppedWarnings > 1)
            qCDebug(skarnApp) << m_droppedWarnings << "warning requests were dropped while the box was shown";
        m_droppedWarnings = 0;
    });
    m_warningBox = box;
    box->show();
}

QMessageBox* Widget::warningBox() const
{
    return m_warningBox && m_warningBox->isVisible() ? m_warningBox.data() : nullptr;
}
