#pragma once

#include "ViewCore.h"

#include <QQuickWidget>
#include <QSet>
#include <QVariant>

// The QML host: loads the pages, which see the device session's ViewCore as
// ui_View (the operations are declared there only). The view gives the core
// what needs the QML or a widget: the calls into the root object, the file
// dialogs and ui_View's setEnabled, which locks this widget's input.
//
// Calls into the QML root go by function name; a function the root does not
// have is skipped, and said once. When a root has loaded, the view checks the
// functions the program calls (initUI, run, setProtectUI, setCurrentDPI,
// detectKeyboard, detectMouse) and names each one missing or taking another
// number of arguments: such a root loads and runs, but the calls do nothing.
// GUI thread only.
class myQQuickView : public QQuickWidget
{
    Q_OBJECT
public:
    // core must outlive the view.
    explicit myQQuickView(ViewCore& core, QWidget* parent = nullptr);
    ~myQQuickView() override;

    ViewCore& core() { return m_core; }
    const ViewCore& core() const { return m_core; }

    // Calls the QML root's function name with args. Queued calls run on a
    // later event-loop pass, direct ones now. False when there is no root or
    // it has no function of that name taking that many arguments (said once
    // per name).
    bool callRoot(const char* name, const QVariantList& args, Qt::ConnectionType type);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void onStatusChanged(QQuickWidget::Status status);
    void checkRootFunctions();
    // A warning that the root lacks name, unless one was given for it since
    // the root loaded.
    void reportMissing(const QByteArray& name, const QString& what);

    ViewCore& m_core;
    std::unique_ptr<FileChooser> m_dialogs;
    QMetaObject::Connection m_firstFrame;
    QSet<QByteArray> m_reportedMissing;
};
