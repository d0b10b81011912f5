#include "DataFolder.h"
#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

// Which data folder start-up chooses and how the user's copy is seeded, in a
// scratch tree: exe/ (the executable's folder), share/skarn-config/modules/
// (the installed copy) and home/ (the user's data home).
class TestDataFolderChoice : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void choose_data();
    void choose();
    void userDataHome();
    void twoStartsSeedEachFileOnce();
};

namespace {

const QStringList installedFiles{"setting/apConfig.bin", "setting/p1.bin", "i18n/en.ini", "macro/m1.bin"};

void write(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

} // namespace

// setup: what the tree holds besides exe/ and the installed copy, each entry
// "path" (a file with the text "user"), "path/" (a folder) or "path@" (a
// dangling link), "~/" for the user's modules/; "-installed" removes the
// installed copy. chosen: the folder expected, relative to the tree.
// userFiles: file=text expected in the user's modules/ afterwards
// ("=shipped" for the installed copy's text, "=(missing)" for none).
void TestDataFolderChoice::choose_data()
{
    using L = QStringList;
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QStringList>("userFiles");
    const QString user = QStringLiteral("home/skarn-config"), shipped = QStringLiteral("share/skarn-config");
    QTest::addRow("modules beside the executable") << L{"exe/modules/"} << "exe" << L{"setting/p1.bin=(missing)"};
    QTest::addRow("a file named modules there") << L{"exe/modules"} << user << L{"setting/p1.bin=shipped"};
    QTest::addRow("first start seeds every file")
        << L{} << user << L{"setting/apConfig.bin=shipped", "i18n/en.ini=shipped", "macro/m1.bin=shipped"};
    QTest::addRow("user's files kept, missing added")
        << L{"~/setting/p1.bin", "~/macro/mine.bin"} << user
        << L{"setting/p1.bin=user", "macro/mine.bin=user", "setting/apConfig.bin=shipped"};
    QTest::addRow("a link or folder of a file's name is the user's")
        << L{"~/setting/p1.bin@", "~/i18n/en.ini/"} << user
        << L{"setting/p1.bin=(missing)", "i18n/en.ini=(missing)", "macro/m1.bin=shipped"};
    QTest::addRow("user's folder cannot be made") << L{"home/skarn-config"} << shipped << L{};
    QTest::addRow("description not copied") << L{"~/setting"} << shipped << L{"i18n/en.ini=shipped"};
    QTest::addRow("no installed copy, user's folder")
        << L{"-installed", "~/setting/p1.bin"} << user << L{"setting/p1.bin=user"};
    QTest::addRow("no installed copy, no user's folder") << L{"-installed"} << "exe" << L{};
}

void TestDataFolderChoice::choose()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, chosen);
    QFETCH(QStringList, userFiles);
    QTemporaryDir tree;
    QVERIFY(tree.isValid());
    const QDir root(tree.path());
    QVERIFY(root.mkpath("exe"));
    QVERIFY(root.mkpath("home"));
    const QString installed = root.filePath("share/skarn-config/modules");
    for (const QString& f : installedFiles)
        write(installed + '/' + f, "shipped " + f.toUtf8());
    for (QString entry : setup) {
        entry.replace("~/", "home/skarn-config/modules/");
        if (entry == "-installed")
            QVERIFY(QDir(installed).removeRecursively());
        else if (entry.endsWith('/'))
            QVERIFY(root.mkpath(entry));
        else if (entry.endsWith('@')) {
            QVERIFY(root.mkpath(QFileInfo(root.filePath(entry)).path()));
            QVERIFY(QFile::link(root.filePath("nowhere"), root.filePath(entry.chopped(1))));
        } else
            write(root.filePath(entry), "user");
    }

    DataFolder::Places places;
    places.executableDir = root.filePath("exe");
    // The first candidate (a moved prefix) is missing here.
    places.installedModules = {root.filePath("elsewhere/modules"), installed};
    places.userDataHome = root.filePath("home");
    MessageLog log;
    QCOMPARE(DataFolder::choose(places), root.filePath(chosen));
    if (chosen != "exe")
        QVERIFY2(!log.lines().isEmpty(), "a choice other than the executable's folder says why");

    for (const QString& pair : userFiles) {
        const QString file = pair.section('=', 0, 0);
        const QString text = pair.section('=', 1);
        QCOMPARE(read(root.filePath("home/skarn-config/modules/" + file)),
                 (text == "shipped" ? "shipped " + file : text).toUtf8());
    }
    // No temporary copy is left behind.
    QDirIterator it(root.filePath("home"), {".seed-*"}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    QVERIFY2(!it.hasNext(), qPrintable(it.hasNext() ? it.next() : QString()));
    // The installed copy is never written.
    for (const QString& f : installedFiles) {
        if (QFileInfo::exists(installed))
            QCOMPARE(read(installed + '/' + f), "shipped " + f.toUtf8());
    }
}

// XDG_DATA_HOME when absolute, else ~/.local/share.
void TestDataFolderChoice::userDataHome()
{
    QCOMPARE(DataFolder::userDataHome("/data/x/", "/home/u"), QStringLiteral("/data/x"));
    QCOMPARE(DataFolder::userDataHome("", "/home/u"), QStringLiteral("/home/u/.local/share"));
    QCOMPARE(DataFolder::userDataHome("data", "/home/u"), QStringLiteral("/home/u/.local/share"));
}

// Two programs started at once (the tray program at login and a script's
// skarnctl) seed the same empty folder: each file is put in place exactly
// once, so neither can replace a copy the other already made and changed.
void TestDataFolderChoice::twoStartsSeedEachFileOnce()
{
    QTemporaryDir tree;
    const QString installed = tree.filePath("installed");
    QStringList files;
    for (int i = 0; i < 200; ++i)
        files << QStringLiteral("setting/p%1.bin").arg(i);
    for (const QString& f : files)
        write(installed + '/' + f, "shipped");
    for (int round = 0; round < 5; ++round) {
        const QString user = tree.filePath(QStringLiteral("user%1").arg(round));
        std::atomic<int> copied{0};
        std::atomic<bool> failed{false};
        std::atomic<int> ready{0};
        const auto start = [&] {
            // Both begin together, so that they meet on the same files.
            ++ready;
            while (ready.load() < 2)
                std::this_thread::yield();
            const int n = DataFolder::seed(installed, user);
            if (n < 0)
                failed = true;
            else
                copied += n;
        };
        std::thread a(start), b(start);
        a.join();
        b.join();
        QVERIFY(!failed);
        QCOMPARE(copied.load(), int(files.size()));
    }
}

QTEST_GUILESS_MAIN(TestDataFolderChoice)
#include "tst_datafolder.moc"
