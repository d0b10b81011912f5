#pragma once

#include "WindowControl.h"

#include <QPointer>
#include <QUrl>

class QWidget;
class Widget;
class myQQuickView;

// The object the QML sees as ui_Ctl. It builds the view inside the main
// window and lets the QML move, minimise and hide the frameless window and
// show the busy indicator. GUI thread only.
class Ui_Controler : public WindowControl
{
    Q_OBJECT
public:
    explicit Ui_Controler(QObject* parent = nullptr);
    ~Ui_Controler() override;

    // Styles the window, creates the view with the window as parent, loads the
    // QML, publishes ui_View, hid and ui_Ctl, sizes the window to the QML root
    // and sets the title from common/name.
    void setup(Widget* window);

    myQQuickView* view() const { return m_view; }

    // The QML root that windows set up from now on load, main.qml from the
    // resources unless changed: the window's own tests load a root that
    // records the calls it gets.
    static void setRootSource(const QUrl& source);

public Q_SLOTS:
    void onMinimize() override;
    void onClose() override;
    void onXChanged(int x) override;
    void onYChanged(int y) override;
    void setBusy(int busyTime);
    void setBusy();

private:
    QPointer<QWidget> m_window;
    QPointer<myQQuickView> m_view;
};
