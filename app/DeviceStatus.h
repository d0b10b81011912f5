#pragma once

#include "DeviceTraits.h"

#include <QObject>
#include <QString>

#include <functional>

// What the window's frame shows about the mouse and the data: the kind of
// mouse (its traits, read once), whether one is connected (the one record of
// it: device checks and the listener's "device gone" set it), and the last
// file a change could not be saved to. The device session owns and feeds it;
// the pages see it as "deviceStatus", so the view operations' meta-object
// stays as it is. GUI thread only.
class DeviceStatus : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool connected READ connected NOTIFY connectedChanged)
    Q_PROPERTY(QString unsavedFile READ unsavedFile NOTIFY unsavedFileChanged)
    // How many changes could not be saved so far: a page compares it around
    // its save to know whether the file holds the change.
    Q_PROPERTY(int saveFailures READ saveFailures NOTIFY unsavedFileChanged)
    Q_PROPERTY(DeviceTraits traits READ traits CONSTANT)
    // Changes are queued for the mouse or being sent: the pages show their
    // busy shield until they are out.
    Q_PROPERTY(bool writing READ writing NOTIFY writingChanged)
public:
    using QObject::QObject;

    DeviceTraits traits() const { return m_traits; }
    // Set by the session before the pages see the object.
    void setTraits(const DeviceTraits& traits) { m_traits = traits; }
    void setPagesStartedHandler(std::function<void()> handler) { m_pagesStarted = std::move(handler); }
    // The pages call it once, from their first initUI: the mouse gets what
    // its command set needs at start.
    Q_INVOKABLE void pagesStarted()
    {
        if (m_pagesStarted)
            m_pagesStarted();
    }

    bool connected() const { return m_connected; }
    void setConnected(bool connected)
    {
        if (connected == m_connected)
            return;
        m_connected = connected;
        Q_EMIT connectedChanged();
    }

    bool writing() const { return m_writing; }
    void setWriting(bool writing)
    {
        if (writing == m_writing)
            return;
        m_writing = writing;
        Q_EMIT writingChanged();
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
    void writingChanged();
    void unsavedFileChanged();
    // A profile was written to a file the user chose (a cancelled export
    // says nothing): the profile page says so.
    void profileExported(const QString& file);

private:
    DeviceTraits m_traits;
    std::function<void()> m_pagesStarted;
    bool m_connected = false;
    bool m_writing = false;
    QString m_unsavedFile;
    int m_saveFailures = 0;
};
