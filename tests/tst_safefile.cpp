#include "SafeFile.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QScopeGuard>
#include <QSettings>
#include <QSysInfo>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

// Replacing a file by a copy of another: byte for byte, all or nothing, and
// seen by the settings objects of the process.
class TestSafeFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { m_dir = std::make_unique<TestDataFolder>(); }
    void cleanup() { m_dir.reset(); }
    void copiesBytes();
    void failuresKeepTarget_data();
    void failuresKeepTarget();
    void settingsSeeSameSizeReplacement();
    void abandonedLocks_data();
    void abandonedLocks();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const { m_dir->write(name, bytes); }
    QByteArray read(const QString& name) const { return m_dir->read(name); }
    std::unique_ptr<TestDataFolder> m_dir;
};

void TestSafeFile::copiesBytes()
{
    static const char raw[] = "[common]\nname=x\n\0\xff\xfe binary tail";
    const QByteArray bytes(raw, sizeof raw - 1);
    write("factory.bin", bytes);
    write("current.bin", "old");
    QVERIFY(SafeFile::replaceWithCopy(path("factory.bin"), path("current.bin")));
    QCOMPARE(read("current.bin"), bytes);
    QCOMPARE(read("factory.bin"), bytes);
    // An absent target is created; no temporary files are left beside it.
    QVERIFY(SafeFile::replaceWithCopy(path("factory.bin"), path("fresh.bin")));
    QCOMPARE(read("fresh.bin"), bytes);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 3);
}

void TestSafeFile::failuresKeepTarget_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addRow("missing source") << QStringLiteral("missing");
    QTest::addRow("source is a folder") << QStringLiteral("folder");
    QTest::addRow("unwritable folder") << QStringLiteral("readonly");
}

void TestSafeFile::failuresKeepTarget()
{
    QFETCH(QString, kind);
    const QString sub = path("setting"), target = path("setting/apConfig.bin");
    const QString source = kind == "folder" ? "adir" : "factory.bin";
    write("setting/apConfig.bin", "[common]\nname=kept\n");
    if (kind == "folder")
        QVERIFY(QDir().mkpath(path(source)));
    if (kind == "readonly") {
        write(source, "new");
        QFile::setPermissions(sub, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (QFileInfo(sub).isWritable()) {
            QFile::setPermissions(sub, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            QSKIP("running as root: folder permissions are not enforced");
        }
    }
    QVERIFY(!SafeFile::replaceWithCopy(path(source), target));
    QFile::setPermissions(sub, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(read("setting/apConfig.bin"), QByteArray("[common]\nname=kept\n"));
    QCOMPARE(QDir(sub).entryList(QDir::Files), QStringList{"apConfig.bin"});
}

// QSettings objects of one process share a cache that is refreshed only when
// the file's size or time changed; a same-size copy must still be seen.
void TestSafeFile::settingsSeeSameSizeReplacement()
{
    write("factory.bin", "[common]\nname=AAAA\n");
    write("current.bin", "[common]\nname=BBBB\n");
    const QSettings before(path("current.bin"), QSettings::IniFormat);
    QCOMPARE(before.value("common/name").toString(), "BBBB");
    QVERIFY(SafeFile::replaceWithCopy(path("factory.bin"), path("current.bin")));
    QCOMPARE(QSettings(path("current.bin"), QSettings::IniFormat).value("common/name").toString(), "AAAA");
}

// Only a lock file that no one holds and whose owner is empty or not running
// on this machine is a leftover of a stopped process; a store written back
// beside one is written at once instead of after the settings library's 30 s
// stale time, or never where the name of its second lock is too long.
void TestSafeFile::abandonedLocks_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("removed");
    QTest::addRow("empty, no holder") << QStringLiteral("empty") << true;
    QTest::addRow("empty, held by a live lock") << QStringLiteral("held") << false;
    QTest::addRow("owner written in it") << QStringLiteral("owned") << false;
    QTest::addRow("owner not running") << QStringLiteral("dead") << true;
    QTest::addRow("owner running, no holder") << QStringLiteral("alive") << false;
    QTest::addRow("owner on another machine") << QStringLiteral("elsewhere") << false;
    QTest::addRow("a folder of that name") << QStringLiteral("folder") << false;
    QTest::addRow("a link to an empty file") << QStringLiteral("link") << false;
    QTest::addRow("no lock") << QStringLiteral("missing") << false;
}

void TestSafeFile::abandonedLocks()
{
    QFETCH(QString, kind);
    QFETCH(bool, removed);
    const QString store = path("setting/name.bin"), lock = store + ".lock";
    write("setting/name.bin", "[common]\nname=kept\n");
    int holder = -1;
    std::unique_ptr<QLockFile> owner;
    // QLockFile's lines: process id, program, host.
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    const QHash<QString, QByteArray> owners{{"empty", {}},
                                            {"held", {}},
                                            {"dead", "2147483646\nskarn\n" + host + "\n"},
                                            {"alive", QByteArray::number(getppid()) + "\nsh\n" + host + "\n"},
                                            {"elsewhere", "2147483646\nskarn\nelsewhere\n"}};
    if (owners.contains(kind))
        write("setting/name.bin.lock", owners.value(kind));
    if (kind == "held") {
        holder = ::open(QFile::encodeName(lock).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(holder >= 0 && ::flock(holder, LOCK_EX | LOCK_NB) == 0);
    } else if (kind == "owned") {
        owner = std::make_unique<QLockFile>(lock);
        QVERIFY(owner->tryLock(0));
    } else if (kind == "folder") {
        QVERIFY(QDir().mkpath(lock));
    } else if (kind == "link") {
        write("empty", {});
        QVERIFY(QFile::link(path("empty"), lock));
    }
    auto release = qScopeGuard([&] {
        if (holder >= 0)
            ::close(holder);
    });

    QCOMPARE(SafeFile::removeAbandonedLock(lock), removed);
    QCOMPARE(QFileInfo::exists(lock) || QFileInfo(lock).isSymLink(), kind != "missing" && !removed);
    // A store written back beside such a lock is written at once. A kept
    // file left by a stopped write is dropped, or put back when the store
    // was emptied.
    if (kind == "empty" || kind == "missing" || kind == "dead") {
        const bool emptied = kind == "dead";
        write("setting/name.bin.lock", owners.value(kind));
        write("setting/name.bin.keep", "[common]\nname=older\nother=1\n");
        if (emptied)
            write("setting/name.bin", {});
        QSettings settings(store, QSettings::IniFormat);
        settings.setValue("common/name", "new");
        QVERIFY(SafeFile::writeBack(settings));
        QVERIFY(!QFileInfo::exists(lock));
        QCOMPARE(read("setting/name.bin"), emptied ? "[common]\nname=new\nother=1\n" : "[common]\nname=new\n");
        QCOMPARE(QDir(path("setting")).entryList(QDir::Files), QStringList{"name.bin"});
    }
}

QTEST_GUILESS_MAIN(TestSafeFile)
#include "tst_safefile.moc"
