#include "QtSingleCoreApplication.h"

#include "AppLog.h"
#include "SafeFile.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#include <memory>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Wire form of a message: a 32-bit big-endian byte count, then UTF-8 text.
// The receiver answers with one byte once it has the whole message.
constexpr char ackByte = 'A';
constexpr quint32 maxMessageBytes = 1 << 20;

// XDG_RUNTIME_DIR as the session sets it up: a folder of ours that no one else
// can write to.
bool usableRuntimeDirectory(const QByteArray& path)
{
    struct stat st = {};
    if (!path.startsWith('/') || ::stat(path.constData(), &st) != 0)
        return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// A folder that only we can reach: created with mode 0700 when it is not there
// yet; an existing one is used only when it is a real folder (not a link) of
// ours with no access for anyone else. Another user may have made the name
// first in a shared folder such as /tmp, and what they could place inside
// must not be trusted.
bool privateFolder(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), S_IRWXU) == 0) {
        ::chmod(native.constData(), S_IRWXU); // whatever the umask took away
    } else if (errno != EEXIST) {
        qCDebug(skarnApp) << "cannot create" << path << "-" << std::strerror(errno);
        return false;
    }
    struct stat st = {};
    if (::lstat(native.constData(), &st) != 0)
        return false;
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid() || (st.st_mode & (S_IRWXG | S_IRWXO)) != 0 ||
        (st.st_mode & S_IRWXU) != S_IRWXU) {
        qCDebug(skarnApp) << "not using" << path << "for the instance lock: owner" << st.st_uid << "mode" << Qt::oct
                          << (st.st_mode & 07777) << Qt::dec;
        return false;
    }
    return true;
}

} // namespace

QString QtSingleCoreApplication::instanceFolder()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (usableRuntimeDirectory(runtime))
        return QFile::decodeName(runtime);
    // Never the shared temporary folder itself: anyone can make files there,
    // including our lock and socket names.
    const QString uid = QString::number(::getuid());
    const QString temp = QDir::tempPath() + QStringLiteral("/skarn-config-") + uid;
    if (privateFolder(temp))
        return temp;
    // Someone else holds that name: our cache folder, which only we can write.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!cache.isEmpty() && QDir().mkpath(cache)) {
        const QString folder = cache + QStringLiteral("/skarn-config-runtime-") + uid;
        if (privateFolder(folder))
            return folder;
    }
    return QString();
}

QtSingleCoreApplication::QtSingleCoreApplication(int& argc, char** argv, const QString& appId)
    : QApplication(argc, argv)
{
    QString identity = appId;
    if (identity.isEmpty()) {
        const QString exe = QFileInfo(applicationFilePath()).canonicalFilePath();
        identity = exe.isEmpty() ? applicationFilePath() : exe;
    }
    identity += QLatin1Char('@') + QString::number(getuid());
    const QByteArray hash = QCryptographicHash::hash(identity.toUtf8(), QCryptographicHash::Sha1).toHex().left(20);
    m_id = identity;

    const QString folder = instanceFolder();
    if (folder.isEmpty()) {
        // Better to run twice than not at all.
        qCDebug(skarnApp) << "no private folder for the instance lock - running without single-instance check";
        return;
    }
    const QString base = folder + QStringLiteral("/skarn-config-") + QString::fromLatin1(hash);
    m_socketName = base + QStringLiteral(".socket");
    m_lock = std::make_unique<QLockFile>(base + QStringLiteral(".lock"));
    // Only a lock whose process is gone counts as stale; a live holder keeps it
    // however long it runs.
    m_lock->setStaleLockTime(0);
    // A copy killed while it made the lock leaves it empty, which would keep
    // every later start out.
    SafeFile::removeAbandonedLock(m_lock->fileName());
    if (m_lock->tryLock(0)) {
        becomePrimary();
    } else if (m_lock->error() == QLockFile::LockFailedError) {
        m_running = true;
    } else {
        // The lock cannot be made at all (a full or read-only folder): run
        // without single-instance protection rather than refusing to start.
        qCDebug(skarnApp) << "cannot create the instance lock" << base + QStringLiteral(".lock")
                          << "- running without single-instance check";
    }
}

QtSingleCoreApplication::~QtSingleCoreApplication()
{
    if (m_server) {
        m_server->close();
        delete m_server;
        m_server = nullptr;
    }
    m_lock.reset(); // unlocks
}

bool QtSingleCoreApplication::isRunning() const
{
    return m_running;
}

void QtSingleCoreApplication::becomePrimary()
{
    m_server = new QLocalServer;
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket file still there was left by a crashed
    // instance.
    QLocalServer::removeServer(m_socketName);
    if (!m_server->listen(m_socketName)) {
        qCDebug(skarnApp) << "cannot listen on" << m_socketName << "-" << m_server->errorString();
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            // Each connection collects its bytes until the whole message is in.
            auto buffer = std::make_shared<QByteArray>();
            connect(socket, &QLocalSocket::readyRead, this,
                    [this, socket, buffer] { readConnection(socket, *buffer); });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            if (socket->bytesAvailable() > 0)
                readConnection(socket, *buffer);
        }
    });
}

void QtSingleCoreApplication::readConnection(QLocalSocket* socket, QByteArray& buffer)
{
    buffer += socket->readAll();
    if (buffer.size() < 4)
        return;
    QDataStream in(buffer);
    quint32 length = 0;
    in >> length;
    if (length > maxMessageBytes) {
        qCDebug(skarnApp) << "instance message of" << length << "bytes refused";
        buffer.clear();
        socket->abort();
        return;
    }
    if (quint32(buffer.size()) < 4 + length)
        return;
    const QString message = QString::fromUtf8(buffer.constData() + 4, length);
    buffer.clear();
    socket->write(&ackByte, 1);
    socket->flush();
    Q_EMIT messageReceived(message);
}

bool QtSingleCoreApplication::sendMessage(const QString& message, int timeoutMs)
{
    if (!m_running)
        return false;
    QDeadlineTimer deadline(timeoutMs);
    const QByteArray text = message.toUtf8();
    QByteArray frame;
    {
        QDataStream out(&frame, QIODevice::WriteOnly);
        out << quint32(text.size());
    }
    frame += text;

    // There is an inherent race with a primary that has taken the lock but is
    // not listening yet: keep retrying the connection until the deadline.
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(m_socketName);
        if (socket.waitForConnected(int(qMax<qint64>(1, qMin<qint64>(deadline.remainingTime(), 200)))))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    socket.write(frame);
    if (!socket.waitForBytesWritten(int(qMax<qint64>(1, deadline.remainingTime()))))
        return false;
    while (socket.bytesAvailable() < 1) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
            return false;
    }
    socket.disconnectFromServer();
    return true;
}
