#include "SafeFile.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

// Replacing a file by a copy of another: byte for byte, all or nothing, and
// seen by the settings objects of the process.
class TestSafeFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { QVERIFY(m_dir.emplace().isValid()); }
    void copiesBytes();
    void failuresKeepTarget_data();
    void failuresKeepTarget();
    void settingsSeeSameSizeReplacement();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size());
    }
    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
    }
    std::optional<QTemporaryDir> m_dir;
};

void TestSafeFile::copiesBytes()
{
    static const char raw[] = "[common]\nname=x\n\0\xff\xfe binary tail";
    const QByteArray bytes(raw, sizeof raw - 1);
    write(path("factory.bin"), bytes);
    write(path("current.bin"), "old");
    QVERIFY(SafeFile::replaceWithCopy(path("factory.bin"), path("current.bin")));
    QCOMPARE(read(path("current.bin")), bytes);
    QCOMPARE(read(path("factory.bin")), bytes);
    // An absent target is created; no temporary files are left beside it.
    QVERIFY(SafeFile::replaceWithCopy(path("factory.bin"), path("fresh.bin")));
    QCOMPARE(read(path("fresh.bin")), bytes);
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
    const QString sub = path("setting"), target = sub + "/apConfig.bin";
    const QString source = path(kind == "folder" ? "adir" : "factory.bin");
    QVERIFY(QDir().mkpath(sub));
    write(target, "[common]\nname=kept\n");
    if (kind == "folder")
        QVERIFY(QDir().mkpath(source));
    if (kind == "readonly") {
        write(source, "new");
        QFile::setPermissions(sub, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (QFileInfo(sub).isWritable()) {
            QFile::setPermissions(sub, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            QSKIP("running as root: folder permissions are not enforced");
        }
    }
    QVERIFY(!SafeFile::replaceWithCopy(source, target));
    QFile::setPermissions(sub, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(read(target), QByteArray("[common]\nname=kept\n"));
    QCOMPARE(QDir(sub).entryList(QDir::Files), QStringList{"apConfig.bin"});
}

// QSettings objects of one process share a cache that is refreshed only when
// the file's size or time changed; a same-size copy must still be seen.
void TestSafeFile::settingsSeeSameSizeReplacement()
{
    write(path("factory.bin"), "[common]\nname=AAAA\n");
    write(path("current.bin"), "[common]\nname=BBBB\n");
    const QSettings before(path("current.bin"), QSettings::IniFormat);
    QCOMPARE(before.value("common/name").toString(), "BBBB");
    QVERIFY(SafeFile::replaceWithCopy(path("factory.bin"), path("current.bin")));
    QCOMPARE(QSettings(path("current.bin"), QSettings::IniFormat).value("common/name").toString(), "AAAA");
}

QTEST_GUILESS_MAIN(TestSafeFile)
#include "tst_safefile.moc"
