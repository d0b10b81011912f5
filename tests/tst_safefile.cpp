#include "SafeFile.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class TestSafeFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void copiesBytes();
    void failuresKeepTarget_data();
    void failuresKeepTarget();
    void settingsSeeSameSizeReplacement();

private:
    static void write(const QString& path, const QByteArray& bytes);
    static QByteArray read(const QString& path);
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSafeFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestSafeFile::write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray TestSafeFile::read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

void TestSafeFile::copiesBytes()
{
    const QString source = m_dir->filePath("factory.bin");
    const QString target = m_dir->filePath("current.bin");
    QByteArray bytes("[common]\nname=x\n");
    bytes.append('\0').append("\xff\xfe binary tail");
    write(source, bytes);
    write(target, "old");
    QVERIFY(SafeFile::replaceWithCopy(source, target));
    QCOMPARE(read(target), bytes);
    QCOMPARE(read(source), bytes);
    // An absent target is created.
    const QString fresh = m_dir->filePath("fresh.bin");
    QVERIFY(SafeFile::replaceWithCopy(source, fresh));
    QCOMPARE(read(fresh), bytes);
    // No temporary files are left beside the target.
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
    QString source = m_dir->filePath("factory.bin");
    const QString sub = m_dir->filePath("setting");
    QVERIFY(QDir().mkpath(sub));
    const QString target = sub + "/apConfig.bin";
    write(target, "[common]\nname=kept\n");
    if (kind == "missing") {
        // nothing to do: source is absent
    } else if (kind == "folder") {
        source = m_dir->filePath("adir");
        QVERIFY(QDir().mkpath(source));
    } else {
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
    const QString source = m_dir->filePath("factory.bin");
    const QString target = m_dir->filePath("current.bin");
    write(source, "[common]\nname=AAAA\n");
    write(target, "[common]\nname=BBBB\n");
    QSettings before(target, QSettings::IniFormat);
    QCOMPARE(before.value("common/name").toString(), QStringLiteral("BBBB"));
    QVERIFY(SafeFile::replaceWithCopy(source, target));
    QSettings after(target, QSettings::IniFormat);
    QCOMPARE(after.value("common/name").toString(), QStringLiteral("AAAA"));
}

QTEST_GUILESS_MAIN(TestSafeFile)
#include "tst_safefile.moc"
