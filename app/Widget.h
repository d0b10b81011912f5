#pragma once

#include "DeviceSession.h"

#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class DeviceChangeNotifier;
class QMessageBox;
class Ui_Controler;
class myQQuickView;

// The program's only top-level window: a frameless, translucent host for the
// QML view, living in the notification area. It owns everything that lives for
// the whole run: the device-check timer, the device session (transport, HID
// worker, the view core the pages call, device check), the controller (which
// holds the view) and the tray icon with its menu.
//
// GUI thread only.
class Widget : public QWidget
{
    Q_OBJECT
public:
    // Shows a tray balloon (title, text, milliseconds); replaceable for tests.
    using BalloonPresenter = std::function<void(const QString& title, const QString& text, int ms)>;

    explicit Widget(QWidget* parent = nullptr);
    ~Widget() override;

    // Members in the order they are declared (and built).
    QTimer checkTimer; // 2048 ms single shot, runs checkDevice()
    DeviceSession session;
    Ui_Controler* controller = nullptr; // no parent; deleted later by the destructor
    QSystemTrayIcon* trayIcon = nullptr;

    static constexpr int checkIntervalMs = 2048;

    myQQuickView* view() const;

    // Queues the QML root's initUI() and then posts the UserEvent that queues
    // its run(), so the QML sees initUI() before run(), both after the caller
    // has returned.
    void startUi();

    // Replaces the source of device-change events (the udev monitor by
    // default). Each event restarts checkTimer while no listener runs.
    void setDeviceChangeNotifier(std::unique_ptr<DeviceChangeNotifier> notifier);
    DeviceChangeNotifier* deviceChangeNotifier() const { return m_notifier.get(); }

    // A warning request from another program: shows the warning box when the
    // request is well formed (see WarningRequest::text), else nothing. The box
    // is opened and this returns at once (no nested event loop). One box at a
    // time: a request that arrives while one is shown is dropped with a debug
    // line. The text is shown as plain text, elided to
    // WarningRequest::maxShownBytes.
    void handleWarningRequest(quint32 tag, const QByteArray& data);
    // The warning box while it is shown, else null.
    QMessageBox* warningBox() const;
    void setBalloonPresenter(BalloonPresenter presenter) { m_presentBalloon = std::move(presenter); }

    // Whether the desktop has a notification area to show the tray icon in
    // (QSystemTrayIcon::isSystemTrayAvailable(), asked at every call: a panel
    // may come and go). Without one (GNOME without an extension) a hidden
    // window could be neither brought back nor quit, so the window's close
    // button ends the program as the tray's Quit does, and a start with
    // --hidden shows the window.
    bool trayAvailable() const;
    // Replaces the question for every window (tests); an empty function
    // restores the desktop's answer.
    using TrayCheck = std::function<bool()>;
    static void setTrayCheck(TrayCheck check);
    // The close button of the QML: hides the window when there is a tray to
    // bring it back from, else ends the program (exitSYS).
    void closeFromUi();

public Q_SLOTS:
    void trayIconActivated(QSystemTrayIcon::ActivationReason reason);
    void checkDevice();
    void exitSYS();
    void receiveMessage(const QString& message);

protected:
    void customEvent(QEvent* event) override;

private:
    void buildTrayIcon();
    // A DPI event from the listener: the page's stage and the tray balloon.
    void showDpiStage(int stage);
    void onDeviceChanged();
    // The restore command: brings the hidden or minimised window back. Posted,
    // so that it runs after the caller (a tray click, a socket read) returned.
    void postRestore();

    std::unique_ptr<DeviceChangeNotifier> m_notifier;
    void showBalloon(const QString& title, const QString& text, int ms);

    QPointer<QMessageBox> m_warningBox;
    int m_droppedWarnings = 0; // while m_warningBox is shown
    BalloonPresenter m_presentBalloon;
};
