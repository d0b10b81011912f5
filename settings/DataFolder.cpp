#include "DataFolder.h"

#include "DataPaths.h"
#include "SettingsLog.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

namespace DataFolder {

namespace {

const QString modules = QStringLiteral("modules");
const QString appFolder = QStringLiteral("skarn-config");

bool isFolder(const QString& path)
{
    return QFileInfo(path).isDir();
}

// Present in any form: a dangling link is the user's too.
bool present(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

enum class Copy { made, present, failed };

// Makes target a copy of source unless something of that name exists, also
// one that appears while the copy is written: a second program seeding at
// the same start, or one that already changed its copy, is never
// overwritten. The bytes go to a temporary file beside target, are flushed
// and checked, and are then hard-linked to target's name, which fails
// rather than replaces. Where the file system has no hard links the
// temporary file is renamed instead.
Copy copyUnlessPresent(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return Copy::failed;
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return Copy::failed;
    QTemporaryFile temp(QFileInfo(target).absolutePath() + QStringLiteral("/.seed-XXXXXX"));
    if (!temp.open() || temp.write(bytes) != bytes.size() || !temp.flush())
        return Copy::failed;
    if (present(target))
        return Copy::present;
#ifdef Q_OS_UNIX
    if (::link(QFile::encodeName(temp.fileName()).constData(), QFile::encodeName(target).constData()) == 0)
        return Copy::made;
    if (errno == EEXIST)
        return Copy::present;
    if (errno != EPERM && errno != ENOTSUP && errno != EXDEV)
        return Copy::failed;
#endif
    if (!temp.rename(target))
        return Copy::failed;
    temp.setAutoRemove(false);
    return Copy::made;
}

QString firstFolder(const QStringList& candidates)
{
    for (const QString& c : candidates) {
        if (!c.isEmpty() && isFolder(c))
            return QDir::cleanPath(QFileInfo(c).absoluteFilePath());
    }
    return QString();
}

} // namespace

QString userDataHome(const QString& xdgDataHome, const QString& home)
{
    if (!xdgDataHome.isEmpty() && QDir::isAbsolutePath(xdgDataHome))
        return QDir::cleanPath(xdgDataHome);
    return QDir::cleanPath(home + QStringLiteral("/.local/share"));
}

Places systemPlaces(const QString& executableDir)
{
    Places places;
    places.executableDir = executableDir;
#ifdef SKARN_INSTALLED_MODULES_RELATIVE
    places.installedModules << QDir(executableDir).filePath(QStringLiteral(SKARN_INSTALLED_MODULES_RELATIVE));
#endif
#ifdef SKARN_INSTALLED_MODULES
    places.installedModules << QStringLiteral(SKARN_INSTALLED_MODULES);
#endif
    places.userDataHome =
        userDataHome(qEnvironmentVariable("XDG_DATA_HOME"), qEnvironmentVariable("HOME", QDir::homePath()));
    return places;
}

int seed(const QString& installed, const QString& user)
{
    const QDir from(installed);
    int copied = 0;
    bool failed = false;
    QDirIterator it(installed, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = from.relativeFilePath(source);
        const QString target = QDir(user).filePath(relative);
        if (present(target))
            continue;
        const Copy result =
            QDir().mkpath(QFileInfo(target).absolutePath()) ? copyUnlessPresent(source, target) : Copy::failed;
        if (result == Copy::failed) {
            qCDebug(skarnSettings) << "data folder: could not copy" << relative << "into" << user;
            failed = true;
        } else if (result == Copy::made) {
            ++copied;
        }
    }
    return failed ? -1 : copied;
}

QString choose(const Places& places)
{
    const QString exeDir = places.executableDir;
    if (isFolder(QDir(exeDir).filePath(modules)))
        return exeDir;

    const QString user = QDir(places.userDataHome).filePath(appFolder);
    const QString userModules = QDir(user).filePath(modules);
    const QString installed = firstFolder(places.installedModules);
    if (installed.isEmpty()) {
        if (isFolder(userModules)) {
            qCDebug(skarnSettings) << "data folder:" << user << "(no installed copy found)";
            return user;
        }
        qCDebug(skarnSettings) << "data folder: no data found beside" << exeDir << "nor installed";
        return exeDir;
    }

    // The installed copy's parent holds it as modules/, as the relative paths
    // expect.
    const QString readOnly = QFileInfo(installed).absolutePath();
    if (!QDir().mkpath(userModules)) {
        qCDebug(skarnSettings) << "data folder: cannot make" << userModules << "- using the installed copy" << readOnly
                               << "read-only";
        return readOnly;
    }
    const int copied = seed(installed, userModules);
    if (copied > 0)
        qCDebug(skarnSettings) << "data folder:" << user << "seeded with" << copied << "files from" << installed;
    // Without the device description nothing else works; the installed copy
    // is better than a folder whose seeding did not get that far.
    if (!QFileInfo(QDir(user).filePath(DataPath::apConfig)).isFile()) {
        qCDebug(skarnSettings) << "data folder:" << user << "lacks the device description - using the installed copy"
                               << readOnly << "read-only";
        return readOnly;
    }
    return user;
}

QString forExecutable(const QString& executableDir)
{
    return choose(systemPlaces(executableDir));
}

} // namespace DataFolder
