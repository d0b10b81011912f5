#include "SafeFile.h"

#include "SettingsLog.h"

#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QSysInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include <fcntl.h>
#include <signal.h>
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

// A second name of path kept during a write, and put back when the write
// turns out incomplete.
constexpr char keptSuffix[] = ".keep";

// Makes kept a second name of file: a hard link costs no room; where links
// are not supported, a checked copy.
bool keep(const QString& file, const QString& kept)
{
    if (::link(QFile::encodeName(file).constData(), QFile::encodeName(kept).constData()) == 0)
        return true;
    const int linkError = errno;
    QFile in(file);
    if (in.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = in.readAll();
        if (in.error() == QFileDevice::NoError && writeAll(bytes, kept))
            return true;
    }
    qCDebug(skarnSettings) << "cannot keep" << file << "during the write -" << std::strerror(linkError)
                           << "- the changes are not saved";
    return false;
}

// A kept file beside file is left by a process stopped during a write. It
// goes back when file is missing or empty, and is removed otherwise (the
// file renamed into place is always complete).
void settleKept(const QString& file, const QString& kept)
{
    const QFileInfo leftover(kept);
    if (!leftover.exists() || !leftover.isFile() || leftover.isSymLink())
        return;
    const QFileInfo current(file);
    if (!current.exists() || (current.isFile() && current.size() == 0 && leftover.size() > 0)) {
        if (::rename(QFile::encodeName(kept).constData(), QFile::encodeName(file).constData()) == 0) {
            qCDebug(skarnSettings) << "restored" << file << "from" << kept << "left by a stopped write";
            return;
        }
    }
    if (QFile::remove(kept))
        qCDebug(skarnSettings) << "removed" << kept << "left by a stopped write";
}

// QSettings skips re-reading a file whose size and time (in milliseconds)
// are unchanged; a restored file that happens to match the incomplete one in
// both must still be read again.
void touchIfSame(const QString& file, qint64 size, const QDateTime& time)
{
    const QFileInfo now(file);
    if (now.size() != size || now.lastModified() != time)
        return;
    QFile touched(file);
    if (touched.open(QIODevice::ReadWrite))
        touched.setFileTime(time.addMSecs(1), QFileDevice::FileModificationTime);
}

// A value as the INI text gives it back: lists as their items' texts,
// anything else as its text.
QStringList flat(const QVariant& value)
{
    if (!value.isValid())
        return {};
    const int type = value.metaType().id();
    if (type != QMetaType::QStringList && type != QMetaType::QVariantList)
        return {value.toString()};
    QStringList items;
    for (const QVariant& item : value.toList())
        items << item.toString();
    return items;
}

// Whether file holds the store completely: a finished last line, and read
// on its own, every key of the store with the same value and no other key.
bool holdsStore(const QString& file, const QSettings& store)
{
    QFile written(file);
    if (!written.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = written.readAll();
    QStringList keys = store.allKeys();
    if (written.error() != QFileDevice::NoError || bytes.isEmpty() != keys.isEmpty() ||
        (!bytes.isEmpty() && !bytes.endsWith('\n')))
        return false;
    // Settings objects of one process share what they read of a file by its
    // name and trust it while size and time stay the same; the file is read
    // through a name of its own, one that changes from check to check.
    QString name = file;
#ifdef Q_OS_LINUX
    static int round = 0;
    round = (round + 1) % 64;
    const int fd = ::fcntl(written.handle(), F_DUPFD_CLOEXEC, 256 + round);
    if (fd >= 0)
        name = QStringLiteral("/proc/self/fd/%1").arg(fd);
#endif
    bool same = false;
    {
        const QSettings reader(name, QSettings::IniFormat);
        QStringList found = reader.allKeys();
        keys.sort();
        found.sort();
        same = reader.status() == QSettings::NoError && found == keys;
        for (qsizetype i = 0; same && i < keys.size(); ++i)
            same = flat(reader.value(keys.at(i))) == flat(store.value(keys.at(i)));
    }
#ifdef Q_OS_LINUX
    if (fd >= 0)
        ::close(fd);
#endif
    return same;
}

// QLockFile writes its owner as lines: process id, program name, host name,
// and on newer versions the machine id and the boot id.
constexpr qint64 maxLockBytes = 4096;

// Why a lock with this content that no one holds is a leftover, or empty
// when its owner may still be running or lives on another machine.
QString abandonReason(const QByteArray& content)
{
    if (content.isEmpty())
        return QStringLiteral("that a stopped process left empty");
    const QList<QByteArray> lines = content.split('\n');
    bool isNumber = false;
    const qint64 pid = lines.at(0).trimmed().toLongLong(&isNumber);
    if (!isNumber || pid <= 0)
        return QStringLiteral("that names no process");
    if (lines.size() < 3 || QString::fromUtf8(lines.at(2)) != QSysInfo::machineHostName())
        return {};
    if (lines.size() > 3 && !lines.at(3).isEmpty() && lines.at(3) != QSysInfo::machineUniqueId())
        return {};
    if (lines.size() > 4 && !lines.at(4).isEmpty() && lines.at(4) != QSysInfo::bootUniqueId())
        return QStringLiteral("of a process before the last restart");
    // This process would hold the flock on a lock of its own.
    if (pid == ::getpid())
        return QStringLiteral("of an earlier process with this one's id");
    if (pid > std::numeric_limits<pid_t>::max() || (::kill(pid_t(pid), 0) != 0 && errno == ESRCH))
        return QStringLiteral("of process %1, which is not running").arg(pid);
    return {};
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
    const QString file = store.fileName();
    const QString kept = file + QLatin1String(keptSuffix);
    removeAbandonedLock(file + QStringLiteral(".lock"));
    settleKept(file, kept);
    const bool existed = QFileInfo::exists(file);
    if (existed && !keep(file, kept))
        return false;

    // The status keeps the first error for ever; only a new one counts.
    const bool failedBefore = store.status() != QSettings::NoError;
    store.sync();
    const bool reported = !failedBefore && store.status() != QSettings::NoError;
    if (!reported && holdsStore(file, store)) {
        QFile::remove(kept);
        return true;
    }
    // The file on disk is not the store: the old file goes back (a rename
    // needs no free space), or the new one goes when there was none.
    const QFileInfo bad(file);
    const qint64 badSize = bad.size();
    const QDateTime badTime = bad.lastModified();
    bool restored = false;
    if (existed) {
        restored = ::rename(QFile::encodeName(kept).constData(), QFile::encodeName(file).constData()) == 0;
        // Two names of one file: the rename leaves both.
        if (restored && QFileInfo::exists(kept))
            QFile::remove(kept);
    } else {
        restored = !bad.exists() || QFile::remove(file);
    }
    qCDebug(skarnSettings) << "cannot write" << file
                           << (reported ? "- the settings library reports an error"
                                        : "- the written file is incomplete")
                           << (restored ? "- the file is kept as it was" : "- the old file could not be put back");
    if (restored && existed)
        touchIfSame(file, badSize, badTime);
    // A write the settings library took for done left the store believing
    // its changes are on disk; reading the restored file again makes it hold
    // what is there, so the unsaved values are dropped from it. After an
    // error it reports, the changes are still pending and a sync would write
    // them again unchecked, so the store is left alone.
    if (!failedBefore && !reported)
        store.sync();
    return false;
}

bool removeAbandonedLock(const QString& lockPath)
{
    const QByteArray native = QFile::encodeName(lockPath);
    struct stat named = {};
    if (::lstat(native.constData(), &named) != 0 || !S_ISREG(named.st_mode) || named.st_size > maxLockBytes)
        return false;
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false;
    bool removed = false;
    struct stat opened = {};
    // No live holder (the flock is ours), still the same file, and no
    // running owner written in it.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 && opened.st_ino == named.st_ino &&
        opened.st_dev == named.st_dev && opened.st_size <= maxLockBytes) {
        QByteArray owner(opened.st_size, '\0');
        const bool read = owner.isEmpty() || ::read(fd, owner.data(), owner.size()) == opened.st_size;
        const QString why = read ? abandonReason(owner) : QString();
        removed = !why.isEmpty() && ::unlink(native.constData()) == 0;
        if (removed)
            qCDebug(skarnSettings).noquote() << "removed the lock" << lockPath << why;
    }
    ::close(fd);
    return removed;
}

} // namespace SafeFile
