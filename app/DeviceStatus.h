#pragma once

#include <QObject>
#include <QString>

// What the window's frame shows about the mouse and the data: whether a
// mouse is connected, and the last file a change could not be saved to. The
// device session feeds it (device checks, the listener's "device gone", the
// view core's saveFailed); the pages see it as "deviceStatus", so the view
// operations' meta-object stays as it is. GUI thread only.
class DeviceStatus : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool connected READ connected NOTIFY connectedChanged)
    Q_PROPERTY(QString unsavedFile READ unsavedFile NOTIFY unsavedFileChanged)
    // How many changes could not be saved so far: a page compares it around
    // its save to know whether the file holds the change.
    Q_PROPERTY(int saveFailures READ saveFailures NOTIFY unsavedFileChanged)
public:
    using QObject::QObject;

    bool connected() const { return m_connected; }
    void setConnected(bool connected)
    {
        if (connected == m_connected)
            return;
        m_connected = connected;
        Q_EMIT connectedChanged();
    }

    QString unsavedFile() const { return m_unsavedFile; }
    void setUnsavedFile(const QString& file)
    {
        if (file == m_unsavedFile)
            return;
        m_unsavedFile = file;
        Q_EMIT unsavedFileChanged();
    }
    int saveFailures() const { return m_saveFailures; }
    void noteSaveFailed(const QString& file)
    {
        ++m_saveFailures;
        if (file == m_unsavedFile)
            Q_EMIT unsavedFileChanged();
        setUnsavedFile(file);
    }

    // The pages clear the line once the user has seen it.
    Q_INVOKABLE void clearUnsavedFile() { setUnsavedFile(QString()); }

Q_SIGNALS:
    void connectedChanged();
    void unsavedFileChanged();
    // A profile was written to a file the user chose (a cancelled export
    // says nothing): the profile page says so.
    void profileExported(const QString& file);

private:
    bool m_connected = false;
    QString m_unsavedFile;
    int m_saveFailures = 0;
};
