#pragma once

#include "FileChooser.h"

class QWidget;

// Qt's standard file dialogs, with the view as parent.
class DialogFileChooser final : public FileChooser
{
public:
    explicit DialogFileChooser(QWidget* parent)
        : m_parent(parent)
    {
    }
    QString openFileName(const QString& caption, const QString& folder, const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& folder, const QString& filter) override;

private:
    QWidget* m_parent;
};
