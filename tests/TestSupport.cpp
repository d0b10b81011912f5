#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>

QString sourceModulesPath()
{
    return QStringLiteral(SKARN_SOURCE_DIR "/modules");
}

bool copyTree(const QString& from, const QString& to, const QStringList& skipRelative)
{
    const QDir source(from);
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString relative = source.relativeFilePath(file);
        bool skip = false;
        for (const QString& prefix : skipRelative)
            skip = skip || relative.startsWith(prefix);
        if (skip)
            continue;
        const QString target = to + QLatin1Char('/') + relative;
        if (!QDir().mkpath(QFileInfo(target).path()))
            return false;
        QFile::remove(target);
        if (!QFile::copy(file, target))
            return false;
        QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    return true;
}

TestDataFolder::TestDataFolder()
    : m_previous(QDir::currentPath())
{
    if (!m_dir.isValid())
        return;
    copyTree(sourceModulesPath(), m_dir.filePath(QStringLiteral("modules")), {QStringLiteral("qml/")});
    QDir::setCurrent(m_dir.path());
}

TestDataFolder::~TestDataFolder()
{
    QDir::setCurrent(m_previous);
}

void TestDataFolder::write(const QString& relative, const QByteArray& text) const
{
    const QString target = m_dir.filePath(relative);
    QDir().mkpath(QFileInfo(target).path());
    QFile f(target);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(text);
}

QByteArray TestDataFolder::read(const QString& relative) const
{
    QFile f(m_dir.filePath(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray DataRow::name() const
{
    return (fields.value(0) + QLatin1Char(':') + QString::number(line)).toUtf8();
}

QList<DataRow> readDataRows(const QString& name)
{
    QFile f(QStringLiteral(SKARN_SOURCE_DIR "/tests/data/") + name);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qWarning("cannot read the test table %s", qPrintable(f.fileName()));
        return {};
    }
    QList<DataRow> rows;
    int line = 0;
    while (!f.atEnd()) {
        ++line;
        const QString text = QString::fromUtf8(f.readLine()).trimmed();
        if (text.isEmpty() || text.startsWith(QLatin1Char('#')))
            continue;
        DataRow row{line, {}};
        for (const QString& field : text.split(QLatin1Char('|')))
            row.fields << field.trimmed();
        rows << row;
    }
    return rows;
}

void addDataRows(const QString& name, const QString& table)
{
    QTest::addColumn<DataRow>("row");
    QList<DataRow> rows = readDataRows(name);
    if (!table.isEmpty())
        rows.removeIf([&](const DataRow& row) { return row.field(0) != table; });
    for (const DataRow& row : rows)
        QTest::newRow(row.name().constData()) << row;
    if (rows.isEmpty())
        QTest::newRow(qPrintable(QStringLiteral("no rows in tests/data/") + name)) << DataRow{};
}

QByteArray hexBytes(const QString& text)
{
    return QByteArray::fromHex(text.toLatin1());
}

namespace {

QMutex logMutex;
QStringList logLines;
QtMessageHandler previousHandler = nullptr;

void collect(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    {
        QMutexLocker lock(&logMutex);
        logLines << message;
    }
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

MessageLog::MessageLog()
{
    clear();
    previousHandler = qInstallMessageHandler(collect);
}

MessageLog::~MessageLog()
{
    qInstallMessageHandler(previousHandler);
    previousHandler = nullptr;
}

QStringList MessageLog::lines() const
{
    QMutexLocker lock(&logMutex);
    return logLines;
}

int MessageLog::count(const QString& line) const
{
    QMutexLocker lock(&logMutex);
    return int(logLines.count(line));
}

void MessageLog::clear()
{
    QMutexLocker lock(&logMutex);
    logLines.clear();
}
