#include "SafeFile.h"

#include "SettingsLog.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace SafeFile {

bool replaceWithCopy(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        qCDebug(skarnSettings) << "cannot read" << source << "-" << in.errorString() << "-"
                               << target << "kept as it was";
        return false;
    }
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        qCDebug(skarnSettings) << "cannot read" << source << "-" << in.errorString() << "-"
                               << target << "kept as it was";
        return false;
    }
    const QFileInfo before(target);
    const bool existed = before.exists();
    const QDateTime oldTime = before.lastModified();
    const qint64 oldSize = before.size();

    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        qCDebug(skarnSettings) << "cannot write" << target << "-" << out.errorString()
                               << "- the file is kept as it was";
        return false;
    }
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

} // namespace SafeFile
