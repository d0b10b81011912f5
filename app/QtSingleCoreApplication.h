#pragma once

#include <QApplication>

#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

// A QApplication that allows one running instance per user and executable.
//
// The identity is the user and the canonical path of the executable (or the
// given id). The first instance holds a lock file and listens on a local
// socket, both in instanceFolder(); a later instance finds the lock taken and
// can hand the first a text with sendMessage(). A lock left by a crashed
// instance is detected as stale (its process is gone) and taken over,
// together with the socket file it left. Without a private folder the program
// runs without the single-instance check (with a debug line) rather than not
// at all.
class QtSingleCoreApplication : public QApplication
{
    Q_OBJECT
public:
    QtSingleCoreApplication(int& argc, char** argv, const QString& appId = QString());
    ~QtSingleCoreApplication() override;

    // True when another process holds the identity.
    bool isRunning() const;

    // Sends text to the running instance and waits up to timeoutMs for it to
    // be received. False when no instance answered in time.
    bool sendMessage(const QString& message, int timeoutMs = 5000);

    // The identity in use (for diagnostics and tests).
    QString id() const { return m_id; }

    // The folder for the lock and the socket, one that no other user can
    // write to: XDG_RUNTIME_DIR when it is a folder of ours that group and
    // others cannot write; else <temp>/skarn-config-<uid>, made with mode
    // 0700; when that name is another user's, or not a private folder of
    // ours, <cache>/skarn-config-runtime-<uid> (XDG_CACHE_HOME or ~/.cache).
    // Empty when none of them is usable.
    static QString instanceFolder();

Q_SIGNALS:
    void messageReceived(const QString& message);

private:
    void becomePrimary();
    void readConnection(QLocalSocket* socket, QByteArray& buffer);

    QString m_id;
    QString m_socketName;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
    bool m_running = false;
};
