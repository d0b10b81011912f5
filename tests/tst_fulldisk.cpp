#include "CommandDispatcher.h"
#include "DeviceSession.h"
#include "FileChooser.h"
#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QMap>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <memory>

#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

// Every saving operation of the view on a data folder that cannot take the
// write: a small tmpfs filled to the last page, or remounted read-only. Every
// file must keep its content (also after the stores are destroyed, which
// writes whatever they still hold), no temporary file may stay, and the
// failure must be reported: a false result, or saveFailed for operations
// without one. Mounting needs root; elsewhere the tests skip.
class TestFullDisk : public QObject
{
    static constexpr int pageSize = 4096;

    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QVERIFY(!readDataRows("fulldisk.rows").isEmpty()); }
    void init();
    void cleanup();
    void savesKeepEveryFile_data();
    void savesKeepEveryFile();

private:
    using Snapshot = QMap<QString, QByteArray>;
    Snapshot snapshot() const;
    void fill(int pagesLeft);
    void fillDuringSaves(const DataRow& row);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_mount;
    QStringList m_mounted; // innermost last
    QString m_previous;
};

void TestFullDisk::init()
{
    if (geteuid() != 0)
        QSKIP("mounting a small tmpfs needs root - full-disk and read-only cases not run");
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_mount = m_dir->filePath("data");
    QVERIFY(QDir().mkpath(m_mount));
    if (::mount("tmpfs", QFile::encodeName(m_mount).constData(), "tmpfs", 0, "size=512k,mode=0755") != 0)
        QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs (%1) - full-disk and read-only cases not run")
                             .arg(QString::fromLocal8Bit(std::strerror(errno)))));
    m_mounted << m_mount;

    // Every file is longer than a page: with one page left, a copy cannot be
    // made, while the settings library's lock file still fits and its
    // write-back fails only at the flush (the case where it empties a store).
    const QByteArray pad = "\n[pad]\nx=" + QByteArray(pageSize + 100, 'p') + "\n";
    const QList<DataRow> files = readDataRows("fulldisk-files.rows");
    QVERIFY(!files.isEmpty());
    for (const DataRow& file : files) {
        const QString path = QDir(m_mount).filePath(file.field(0).replace("$OUTSIDE", m_dir->path()));
        QFile f(path);
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()) && f.open(QIODevice::WriteOnly));
        QVERIFY(f.write(file.field(1).replace("\\n", "\n").toUtf8() + "\n" + pad) > pageSize);
    }
    m_previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_mount));
}

void TestFullDisk::cleanup()
{
    if (!m_previous.isEmpty())
        QDir::setCurrent(m_previous);
    m_previous.clear();
    while (!m_mounted.isEmpty()) {
        const QByteArray path = QFile::encodeName(m_mounted.takeLast());
        if (::umount2(path.constData(), MNT_DETACH) != 0)
            qWarning("cannot unmount %s: %s", path.constData(), std::strerror(errno));
    }
    m_dir.reset();
}

// Fills the tmpfs to its last byte, then frees pagesLeft pages again.
void TestFullDisk::fill(int pagesLeft)
{
    QFile filler(QDir(m_mount).filePath("filler"));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    for (const int chunk : {64 * 1024, 4096, 1}) {
        const QByteArray bytes(chunk, 'f');
        while (filler.write(bytes) == chunk) {
        }
    }
    QCOMPARE(filler.error(), QFileDevice::ResourceError);
    QVERIFY(filler.resize(filler.size() - qint64(pagesLeft) * pageSize));
}

TestFullDisk::Snapshot TestFullDisk::snapshot() const
{
    Snapshot files;
    QDirIterator it(m_mount, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (it.fileName() == QLatin1String("filler"))
            continue;
        QFile f(path);
        files.insert(QDir(m_mount).relativeFilePath(path), f.open(QIODevice::ReadOnly) ? f.readAll() : "<unreadable>");
    }
    return files;
}

void TestFullDisk::savesKeepEveryFile_data()
{
    QTest::addColumn<QString>("condition");
    QTest::addColumn<DataRow>("row");
    const QList<DataRow> rows = readDataRows("fulldisk.rows");
    for (const char* condition : {"full disk", "one page left", "read-only folder"})
        for (const DataRow& row : rows)
            QTest::addRow("%s, %s", condition, row.name().constData()) << QString::fromLatin1(condition) << row;
    // The disk fills the moment a store's lock appears, between the room
    // check and the settings library's write, in the operations that write
    // through it: repeated, since the moment varies.
    const QStringList raced{"setData",
                            "setDataList",
                            "saveMacroIni",
                            "modifyMacroNameUpdateProfile",
                            "deleteMacroUpdateProfile",
                            "createMacroIni",
                            "setGlobalData",
                            "updataNameList",
                            "setXYSensitive"};
    for (const DataRow& row : rows)
        if (raced.contains(row.field(1)))
            QTest::addRow("filled during the save, %s", row.name().constData()) << QStringLiteral("race") << row;
    // A profile file that cannot be written although its folder can: the
    // macro file is renamed, p1 follows, p2 cannot, and all is undone.
    for (const DataRow& row : rows)
        if (row.field(1) == "modifyMacroNameUpdateProfile")
            QTest::addRow("read-only p2, %s", row.name().constData()) << QStringLiteral("read-only p2") << row;
}

void TestFullDisk::savesKeepEveryFile()
{
    QFETCH(QString, condition);
    QFETCH(DataRow, row);
    if (condition == QLatin1String("race"))
        return fillDuringSaves(row);
    auto session = std::make_unique<DeviceSession>(); // no mouse: the files are what counts
    ViewCore* view = &session->view();
    CommandDispatcher dispatcher(*view, session->hid());
    FixedFileChooser chooser(QDir::current().filePath(row.field(3).replace("$OUTSIDE", m_dir->path())));
    view->setFileChooser(&chooser);
    QSignalSpy failed(view, &ViewCore::saveFailed);
    const Snapshot before = snapshot();

    if (condition == QLatin1String("full disk"))
        fill(0);
    else if (condition == QLatin1String("one page left"))
        fill(1);
    else if (condition == QLatin1String("read-only folder"))
        QVERIFY2(::mount("tmpfs", QFile::encodeName(m_mount).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) ==
                     0,
                 std::strerror(errno));
    else { // p2.bin bound read-only on itself
        const QByteArray p2 = QFile::encodeName(QDir(m_mount).filePath("modules/setting/p2.bin"));
        QVERIFY2(::mount(p2.constData(), p2.constData(), nullptr, MS_BIND, nullptr) == 0, std::strerror(errno));
        m_mounted << QFile::decodeName(p2);
        QVERIFY2(::mount(nullptr, p2.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0,
                 std::strerror(errno));
    }

    QJsonValue result;
    QString error;
    QVERIFY2(dispatcher.call(row.field(1), QJsonDocument::fromJson(row.field(2).toUtf8()).array(), &result, &error),
             qPrintable(error));
    QCoreApplication::processEvents();
    // A false result, or saveFailed for an operation without one.
    if (result.isNull()) {
        QCOMPARE(failed.size(), 1);
        QCOMPARE(session->status().unsavedFile(), failed.first().first().toString()); // the frame's line
    } else
        QCOMPARE(result, QJsonValue(false));
    if (condition == QLatin1String("read-only p2")) { // the view's own copy is undone too
        view->setCurrentProfile(0);
        QCOMPARE(view->getData("mouseMacroKey/0", false).toString(), QStringLiteral("m1"));
    }
    // Stores still holding a change would write it now.
    session.reset();
    QCOMPARE(snapshot(), before);
}

// Each trial either succeeds or is reported, and leaves every file complete
// (its last line, the pad, whole) and nothing beside it.
void TestFullDisk::fillDuringSaves(const DataRow& row)
{
    const QByteArray padLine = "x=" + QByteArray(pageSize + 100, 'p') + "\n";
    const Snapshot before = snapshot();
    const int watch = ::inotify_init1(IN_CLOEXEC);
    QVERIFY(watch >= 0);
    auto closeWatch = qScopeGuard([watch] { ::close(watch); });
    for (const char* folder : {"modules/setting", "modules/macro"})
        QVERIFY(::inotify_add_watch(watch, QFile::encodeName(QDir(m_mount).filePath(folder)).constData(), IN_CREATE) >=
                0);
    int failures = 0;
    for (int trial = 0; trial < 25; ++trial) {
        // Takes all free space at the first lock.
        std::thread filler([&] {
            alignas(inotify_event) char events[4096];
            for (pollfd p{watch, POLLIN, 0}; ::poll(&p, 1, 2000) > 0;) {
                const ssize_t n = ::read(watch, events, sizeof events);
                for (ssize_t at = 0; at < n;) {
                    const auto* e = reinterpret_cast<const inotify_event*>(events + at);
                    at += ssize_t(sizeof(inotify_event) + e->len);
                    if (e->len && QByteArray(e->name).endsWith(".lock")) {
                        const int fd = ::open(QFile::encodeName(QDir(m_mount).filePath("filler")).constData(),
                                              O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
                        struct statvfs room = {};
                        if (::fstatvfs(fd, &room) == 0)
                            ::posix_fallocate(fd, 0, off_t(room.f_bavail * room.f_frsize));
                        while (::write(fd, "f", 1) == 1) {
                        }
                        ::close(fd);
                        return;
                    }
                }
            }
        });
        auto session = std::make_unique<DeviceSession>();
        CommandDispatcher dispatcher(session->view(), session->hid());
        QSignalSpy failed(&session->view(), &ViewCore::saveFailed);
        QJsonValue result;
        QString error;
        const bool called =
            dispatcher.call(row.field(1), QJsonDocument::fromJson(row.field(2).toUtf8()).array(), &result, &error);
        QCoreApplication::processEvents();
        session.reset();
        filler.join();
        QVERIFY2(called, qPrintable(error));
        const bool saved = result.isNull() ? failed.isEmpty() : result == QJsonValue(true);
        const Snapshot after = snapshot();
        // A failure may leave other stores of the operation saved (or, on a
        // disk too full to undo them, still changed); never a cut file.
        failures += saved ? 0 : 1;
        QVERIFY(!saved || after != before);
        QCOMPARE(after.keys().size() - before.keys().size(), saved && row.field(1) == "createMacroIni" ? 1 : 0);
        for (auto it = after.cbegin(); it != after.cend(); ++it)
            QVERIFY2(it.value().endsWith('\n') && (!before.contains(it.key()) || it.value().contains(padLine)),
                     qPrintable(it.key()));
        // The next trial starts from the same files.
        QFile::remove(QDir(m_mount).filePath("filler"));
        for (auto it = after.cbegin(); it != after.cend(); ++it)
            if (!before.contains(it.key()))
                QFile::remove(QDir(m_mount).filePath(it.key()));
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            QFile f(QDir(m_mount).filePath(it.key()));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(it.value()) == it.value().size());
        }
        QByteArray drained(4096, '\0');
        for (pollfd p{watch, POLLIN, 0}; ::poll(&p, 1, 0) > 0 && ::read(watch, drained.data(), drained.size()) > 0;) {
        }
    }
    qInfo("%d of 25 saves failed and were reported", failures);
}

QTEST_GUILESS_MAIN(TestFullDisk)
#include "tst_fulldisk.moc"
