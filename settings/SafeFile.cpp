#include "SafeFile.h"

#include "SettingsLog.h"

#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryFile>

#include <algorithm>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SafeFile {

namespace {

// Room for the INI escaping, group headers and line ends around a change.
constexpr qint64 slackBytes = 4096;

// Writes bytes completely to a temporary file beside target and renames it
// over target. The bytes are flushed and checked before the rename: QSaveFile
// buffers small writes, so a full disk shows only at the flush, and its
// commit would still rename the empty temporary file over target.
bool writeAll(const QByteArray& bytes, const QString& target)
{
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly)) {
        qCDebug(skarnSettings) << "cannot write" << target << "-" << out.errorString()
                               << "- the file is kept as it was";
        return false;
    }
    if (out.write(bytes) != bytes.size() || !out.flush()) {
        qCDebug(skarnSettings) << "cannot write" << target << "-" << out.errorString()
                               << "- the file is kept as it was";
        // Removes the temporary file; target is not touched.
        out.cancelWriting();
        out.commit();
        return false;
    }
    if (!out.commit()) {
        qCDebug(skarnSettings) << "cannot write" << target << "-" << out.errorString()
                               << "- the file is kept as it was";
        return false;
    }
    return true;
}

} // namespace

bool replaceWithCopy(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        qCDebug(skarnSettings) << "cannot read" << source << "-" << in.errorString() << "-" << target
                               << "kept as it was";
        return false;
    }
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        qCDebug(skarnSettings) << "cannot read" << source << "-" << in.errorString() << "-" << target
                               << "kept as it was";
        return false;
    }
    const QFileInfo before(target);
    const bool existed = before.exists();
    const QDateTime oldTime = before.lastModified();
    const qint64 oldSize = before.size();

    if (!writeAll(bytes, target))
        return false;
    // QSettings skips re-reading a file whose size and time (in milliseconds)
    // are unchanged; a copy made within the same millisecond as the last write
    // would otherwise go unnoticed.
    const QFileInfo after(target);
    if (existed && after.size() == oldSize && after.lastModified() == oldTime) {
        QFile touched(target);
        if (touched.open(QIODevice::ReadWrite))
            touched.setFileTime(oldTime.addMSecs(1), QFileDevice::FileModificationTime);
    }
    return true;
}

bool hasRoomFor(const QString& path, qint64 addedBytes)
{
    const QFileInfo info(path);
    QDir folder = info.absoluteDir();
    const qint64 needed = (info.exists() ? info.size() : 0) + std::max<qint64>(addedBytes, 0) + slackBytes;
    QTemporaryFile probe(folder.filePath(QStringLiteral(".room-XXXXXX")));
    if (!probe.open()) {
        qCDebug(skarnSettings) << "cannot write in" << folder.path() << "-" << probe.errorString() << "-" << path
                               << "kept as it was";
        return false;
    }
    const QByteArray block(int(std::min<qint64>(needed, 64 * 1024)), '\0');
    qint64 written = 0;
    while (written < needed) {
        const qint64 chunk = std::min<qint64>(block.size(), needed - written);
        if (probe.write(block.constData(), chunk) != chunk)
            break;
        written += chunk;
    }
    if (written < needed || !probe.flush()) {
        qCDebug(skarnSettings) << "no room in" << folder.path() << "-" << probe.errorString() << "-" << path
                               << "kept as it was";
        return false;
    }
    return true;
}

qint64 textEstimate(const QString& key, const QVariant& value)
{
    // The stream form is at least as long as the value's text; the INI
    // escaping writes a character or byte in at most six characters.
    QByteArray streamed;
    QDataStream stream(&streamed, QIODevice::WriteOnly);
    stream << value;
    return 6 * (key.toUtf8().size() + streamed.size()) + 64;
}

bool writeBack(QSettings& store)
{
    removeAbandonedLock(store.fileName() + QStringLiteral(".lock"));
    store.sync();
    if (store.status() == QSettings::NoError)
        return true;
    qCDebug(skarnSettings) << "cannot write" << store.fileName() << "- the changes are not saved";
    return false;
}

bool removeAbandonedLock(const QString& lockPath)
{
    const QByteArray native = QFile::encodeName(lockPath);
    struct stat named = {};
    if (::lstat(native.constData(), &named) != 0 || !S_ISREG(named.st_mode) || named.st_size != 0)
        return false;
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false;
    bool removed = false;
    struct stat opened = {};
    // Still the same empty file, and no live holder: the flock is ours.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 && opened.st_size == 0 &&
        opened.st_ino == named.st_ino && opened.st_dev == named.st_dev) {
        removed = ::unlink(native.constData()) == 0;
        if (removed)
            qCDebug(skarnSettings) << "removed the empty lock" << lockPath << "that a stopped process left";
    }
    ::close(fd);
    return removed;
}

} // namespace SafeFile
