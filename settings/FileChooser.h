#pragma once

#include <QString>

// Where the profile and macro operations ask the user for a file. The tray
// program shows Qt's file dialogs; tests and the command line give a fixed
// answer. An empty result means the user cancelled.
class FileChooser
{
public:
    virtual ~FileChooser() = default;
    virtual QString openFileName(const QString& caption, const QString& folder, const QString& filter) = 0;
    virtual QString saveFileName(const QString& caption, const QString& folder, const QString& filter) = 0;
};

// Always answers with the same path (empty: always cancel), and keeps the
// folder (or suggested file) the last question started in.
class FixedFileChooser final : public FileChooser
{
public:
    explicit FixedFileChooser(QString path = QString())
        : m_path(std::move(path))
    {
    }
    void setPath(const QString& path) { m_path = path; }
    QString lastFolder() const { return m_lastFolder; }
    QString openFileName(const QString&, const QString& folder, const QString&) override { return answer(folder); }
    QString saveFileName(const QString&, const QString& folder, const QString&) override { return answer(folder); }

private:
    QString answer(const QString& folder)
    {
        m_lastFolder = folder;
        return m_path;
    }
    QString m_path;
    QString m_lastFolder;
};
