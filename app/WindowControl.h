#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

// What the pages ask of the window they sit in (the QML's ui_Ctl): minimise,
// close, and the moves of a drag, each relative to the last. The program's
// Ui_Controler does it on the main window; a test host may record the calls
// instead. An interface of its own so that the QML sees one type whichever
// of the two it gets. GUI thread only.
class WindowControl : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The program gives its window control as ui_Ctl.")
public:
    using QObject::QObject;

public Q_SLOTS:
    virtual void onMinimize() = 0;
    virtual void onClose() = 0;
    virtual void onXChanged(int x) = 0;
    virtual void onYChanged(int y) = 0;
};
