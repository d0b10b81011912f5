#include "ShellWindow.h"

#include <QGuiApplication>
#include <QWindow>

ShellWindow::ShellWindow(std::function<QWindow*()> window, QObject* parent)
    : QObject(parent)
    , m_window(std::move(window))
    , m_placesItself(!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
{
}

bool ShellWindow::startSystemMove()
{
    QWindow* handle = m_window ? m_window() : nullptr;
    return handle && handle->startSystemMove();
}
