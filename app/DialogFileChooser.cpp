#include "DialogFileChooser.h"

#include <QFileDialog>

QString DialogFileChooser::openFileName(const QString& caption, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(m_parent, caption, folder, filter);
}

QString DialogFileChooser::saveFileName(const QString& caption, const QString& folder, const QString& filter)
{
    return QFileDialog::getSaveFileName(m_parent, caption, folder, filter);
}
