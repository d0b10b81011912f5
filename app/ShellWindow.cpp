#include "ShellWindow.h"

#include <QGuiApplication>
#include <QWindow>

ShellWindow::ShellWindow(QWidget* window, QObject* parent)
    : QObject(parent)
    , m_window(window)
    , m_placesItself(!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
{
}

bool ShellWindow::startSystemMove()
{
    QWindow* handle = m_window ? m_window->windowHandle() : nullptr;
    return handle && handle->startSystemMove();
}
