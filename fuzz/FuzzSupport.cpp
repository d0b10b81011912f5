#include "FuzzSupport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace FuzzSupport {

namespace {

QTemporaryDir* scratchDir = nullptr;
quint64 counter = 0;

void dropMessage(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "fatal: %s\n", qPrintable(message));
        std::abort();
    }
}

} // namespace

void init(int* argc, char*** argv)
{
    if (scratchDir)
        return;
    // The corpus folders and files named on the command line are read after
    // this, from the scratch folder: make them absolute first.
    for (int i = 1; i < *argc; ++i) {
        const QByteArray arg((*argv)[i]);
        const QByteArray prefix("-artifact_prefix=");
        if (arg.startsWith(prefix)) {
            const QByteArray value = arg.mid(prefix.size());
            const QByteArray absolute = QFile::encodeName(QDir::current().absoluteFilePath(QFile::decodeName(value)));
            (*argv)[i] = qstrdup((prefix + absolute + (value.endsWith('/') ? "/" : "")).constData());
        } else if (!arg.startsWith('-')) {
            (*argv)[i] = qstrdup(QFile::encodeName(QFileInfo(QFile::decodeName(arg)).absoluteFilePath()).constData());
        }
    }
    qInstallMessageHandler(dropMessage);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    new QCoreApplication(*argc, *argv); // lives for the process
    scratchDir = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/skarn-fuzz-XXXXXX"));
    if (!scratchDir->isValid()) {
        std::fprintf(stderr, "cannot make a scratch folder\n");
        std::abort();
    }
    QDir dir(scratchDir->path());
    for (const char* sub : {"modules/setting", "modules/macro", "modules/i18n", "modules/gun", "modules/img"})
        dir.mkpath(QString::fromLatin1(sub));
    QDir::setCurrent(scratchDir->path());
    std::atexit([] {
        QDir::setCurrent(QDir::tempPath());
        delete scratchDir;
        scratchDir = nullptr;
    });
}

QString scratch()
{
    return scratchDir ? scratchDir->path() : QString();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
}

void writeInput(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    // Whole seconds from a fixed start: distinct at any file system's
    // resolution, and never the time an earlier input was cached with.
    const QDateTime time = QDateTime::fromSecsSinceEpoch(qint64(1000000000) + qint64(++counter), Qt::UTC);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() || !file.flush() ||
        !file.setFileTime(time, QFileDevice::FileModificationTime)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
}

void split(const QByteArray& input, QByteArray* head, QByteArray* rest)
{
    const qsizetype zero = input.indexOf('\0');
    *head = zero < 0 ? QByteArray() : input.left(zero);
    *rest = zero < 0 ? input : input.mid(zero + 1);
}

void fail(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

} // namespace FuzzSupport

// The empty default; a target's own definition takes its place.
__attribute__((weak)) void FuzzSupport::prepare() {}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    FuzzSupport::init(argc, argv);
    FuzzSupport::prepare();
    return 0;
}
