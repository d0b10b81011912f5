#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <QRandomGenerator>
#include <QScopeGuard>

#include <csignal>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

// The real program, started as real processes from a copy of the build in a
// temporary folder, with a runtime folder of its own.
class TestSingleInstance : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void secondStartHandsOverAndExitsOne();
    void crashedInstanceDoesNotBlock();
    void startFromAnotherFolderFindsData();
    void distinctCopiesAreDistinctInstances();
    void instanceFolder_data();
    void instanceFolder();
    void anotherUserCannotBlockTheStart();

private:
    struct Instance
    {
        std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
        QByteArray output;
        bool waitFor(const QByteArray& line, int timeoutMs = 15000);
    };
    QString installCopy(const QString& name);
    std::unique_ptr<Instance> start(const QString& exe, const QString& workingDir = QString());
    std::unique_ptr<Instance> startAs(const QStringList& user, const QString& exe, const QProcessEnvironment& env);

    std::unique_ptr<QTemporaryDir> m_root;
    QString m_runtime;
    QString m_temp; // stands in for /tmp: anyone may write, sticky
    QString m_home;
    QProcessEnvironment m_env;
    std::vector<std::unique_ptr<Instance>> m_started;
};

bool TestSingleInstance::Instance::waitFor(const QByteArray& line, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!output.contains(line)) {
        if (t.elapsed() > timeoutMs || process->state() == QProcess::NotRunning) {
            output += process->readAll();
            return output.contains(line);
        }
        process->waitForReadyRead(100);
        output += process->readAll();
    }
    return true;
}

void TestSingleInstance::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    m_runtime = m_root->filePath("runtime");
    QVERIFY(QDir().mkpath(m_runtime));
    QFile::setPermissions(m_runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_temp = m_root->filePath("tmp");
    m_home = m_root->filePath("home");
    QVERIFY(QDir().mkpath(m_temp) && QDir().mkpath(m_home));
    QCOMPARE(::chmod(QFile::encodeName(m_temp).constData(), 01777), 0);

    m_env = QProcessEnvironment::systemEnvironment();
    m_env.insert("XDG_RUNTIME_DIR", m_runtime);
    m_env.insert("TMPDIR", m_temp);
    m_env.insert("HOME", m_home);
    m_env.remove("XDG_CACHE_HOME");
    m_env.insert("QT_QPA_PLATFORM", "offscreen");
    // Keep off any bus the machine has.
    m_env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + m_root->filePath("no-bus"));
}

void TestSingleInstance::cleanup()
{
    for (auto& instance : m_started) {
        if (instance->process->state() != QProcess::NotRunning) {
            instance->process->kill();
            instance->process->waitForFinished(5000);
        }
    }
    m_started.clear();
    m_root.reset();
}

// The executable and its data, as an installation would have them.
QString TestSingleInstance::installCopy(const QString& name)
{
    const QString folder = m_root->filePath(name);
    const QString exe = folder + "/skarn-config";
    if (!QDir().mkpath(folder) || !QFile::copy(QStringLiteral(SKARN_CONFIG_EXE), exe))
        return QString();
    QFile::setPermissions(exe, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!copyTree(sourceModulesPath(), folder + "/modules", {QStringLiteral("qml/")}))
        return QString();
    return exe;
}

std::unique_ptr<TestSingleInstance::Instance> TestSingleInstance::start(const QString& exe, const QString& workingDir)
{
    auto instance = std::make_unique<Instance>();
    instance->process->setProcessEnvironment(m_env);
    instance->process->setProcessChannelMode(QProcess::MergedChannels);
    instance->process->setWorkingDirectory(workingDir.isEmpty() ? m_root->path() : workingDir);
    instance->process->start(exe, {});
    return instance;
}

// The program run by another user (as root only). setpriv runs it in its own
// process, so that ending the process ends the program.
std::unique_ptr<TestSingleInstance::Instance> TestSingleInstance::startAs(const QStringList& user, const QString& exe,
                                                                          const QProcessEnvironment& env)
{
    auto instance = std::make_unique<Instance>();
    instance->process->setProcessEnvironment(env);
    instance->process->setProcessChannelMode(QProcess::MergedChannels);
    instance->process->setWorkingDirectory(QStringLiteral("/"));
    instance->process->start(QStringLiteral("setpriv"), user + QStringList{QStringLiteral("--"), exe});
    return instance;
}

void TestSingleInstance::secondStartHandsOverAndExitsOne()
{
    const QString exe = installCopy("app");
    QVERIFY(!exe.isEmpty());
    auto first = start(exe);
    QVERIFY2(first->waitFor("Device DisConnect"), first->output.constData());

    auto second = start(exe);
    QVERIFY(second->process->waitForFinished(15000));
    QCOMPARE(second->process->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->process->exitCode(), 1);
    second->output += second->process->readAll();
    // It made no window and read no data.
    QVERIFY2(!second->output.contains("device entries"), second->output.constData());
    QVERIFY2(!second->output.contains("Device DisConnect"), second->output.constData());

    QVERIFY2(first->waitFor("message from a second start: \"\""), first->output.constData());
    QCOMPARE(first->process->state(), QProcess::Running);
    m_started.push_back(std::move(first));
}

void TestSingleInstance::crashedInstanceDoesNotBlock()
{
    const QString exe = installCopy("app");
    QVERIFY(!exe.isEmpty());
    auto first = start(exe);
    QVERIFY2(first->waitFor("Device DisConnect"), first->output.constData());
    ::kill(pid_t(first->process->processId()), SIGKILL);
    QVERIFY(first->process->waitForFinished(5000));
    QCOMPARE(first->process->exitStatus(), QProcess::CrashExit);

    // The lock and socket it left behind do not stop the next start, which
    // then is the one a later start hands over to.
    auto next = start(exe);
    QVERIFY2(next->waitFor("Device DisConnect"), next->output.constData());
    auto third = start(exe);
    QVERIFY(third->process->waitForFinished(15000));
    QCOMPARE(third->process->exitCode(), 1);
    QVERIFY2(next->waitFor("message from a second start"), next->output.constData());
    m_started.push_back(std::move(next));
}

void TestSingleInstance::startFromAnotherFolderFindsData()
{
    const QString exe = installCopy("app");
    QVERIFY(!exe.isEmpty());
    const QString elsewhere = m_root->filePath("elsewhere");
    QVERIFY(QDir().mkpath(elsewhere));
    auto instance = start(exe, elsewhere);
    QVERIFY2(instance->waitFor("Device DisConnect"), instance->output.constData());
    QVERIFY2(instance->output.contains("device entries: 1"), instance->output.constData());
    m_started.push_back(std::move(instance));
}

void TestSingleInstance::distinctCopiesAreDistinctInstances()
{
    const QString a = installCopy("a");
    const QString b = installCopy("b");
    QVERIFY(!a.isEmpty() && !b.isEmpty());
    auto first = start(a);
    QVERIFY2(first->waitFor("Device DisConnect"), first->output.constData());
    auto other = start(b);
    QVERIFY2(other->waitFor("Device DisConnect"), other->output.constData());
    QCOMPARE(other->process->state(), QProcess::Running);
    m_started.push_back(std::move(first));
    m_started.push_back(std::move(other));
}

// Where the lock and the socket go when the runtime folder cannot be used: a
// private folder of ours, never one that others can write to.
void TestSingleInstance::instanceFolder_data()
{
    QTest::addColumn<QString>("runtime");  // XDG_RUNTIME_DIR: ok, unset, relative, file, or a mode
    QTest::addColumn<QString>("temp");     // <temp>/skarn-config-<uid> beforehand: none, 0755, link
    QTest::addColumn<QString>("expected"); // where the lock is: runtime, temp, cache

    QTest::addRow("runtime folder") << "ok"
                                    << "none"
                                    << "runtime";
    QTest::addRow("no runtime folder") << "unset"
                                       << "none"
                                       << "temp";
    QTest::addRow("relative runtime folder") << "relative"
                                             << "none"
                                             << "temp";
    QTest::addRow("runtime folder is a file") << "file"
                                              << "none"
                                              << "temp";
    QTest::addRow("runtime folder writable by others") << "0777"
                                                       << "none"
                                                       << "temp";
    QTest::addRow("runtime folder writable by the group") << "0770"
                                                          << "none"
                                                          << "temp";
    QTest::addRow("runtime folder readable by others") << "0755"
                                                       << "none"
                                                       << "runtime";
    QTest::addRow("temp folder of ours, open to others") << "unset"
                                                         << "0755"
                                                         << "cache";
    QTest::addRow("temp folder is a link") << "unset"
                                           << "link"
                                           << "cache";
}

void TestSingleInstance::instanceFolder()
{
    QFETCH(QString, runtime);
    QFETCH(QString, temp);
    QFETCH(QString, expected);
    const QString uid = QString::number(::getuid());
    const QString tempFolder = m_temp + "/skarn-config-" + uid;
    const QString cacheFolder = m_home + "/.cache/skarn-config-runtime-" + uid;

    if (runtime == "unset") {
        m_env.remove("XDG_RUNTIME_DIR");
    } else if (runtime == "relative") {
        m_env.insert("XDG_RUNTIME_DIR", "runtime");
    } else if (runtime == "file") {
        QFile::remove(m_runtime);
        QDir(m_runtime).removeRecursively();
        QFile file(m_runtime);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (runtime != "ok") {
        QCOMPARE(::chmod(QFile::encodeName(m_runtime).constData(), mode_t(runtime.toUInt(nullptr, 8))), 0);
    }
    if (temp == "0755") {
        QVERIFY(QDir().mkdir(tempFolder));
        QCOMPARE(::chmod(QFile::encodeName(tempFolder).constData(), 0755), 0);
    } else if (temp == "link") {
        QVERIFY(QDir().mkdir(m_root->filePath("mine")));
        QCOMPARE(::chmod(QFile::encodeName(m_root->filePath("mine")).constData(), 0700), 0);
        QVERIFY(QFile::link(m_root->filePath("mine"), tempFolder));
    }

    const QString exe = installCopy("app");
    QVERIFY(!exe.isEmpty());
    auto first = start(exe);
    QVERIFY2(first->waitFor("Device DisConnect"), first->output.constData());
    auto second = start(exe);
    QVERIFY(second->process->waitForFinished(15000));
    QCOMPARE(second->process->exitCode(), 1);
    QVERIFY(!second->process->readAll().contains("did not answer"));
    QVERIFY2(first->waitFor("message from a second start"), first->output.constData());
    m_started.push_back(std::move(first));

    const QString folder = expected == "runtime" ? m_runtime : expected == "temp" ? tempFolder : cacheFolder;
    QCOMPARE(QDir(folder).entryList({"skarn-config-*.lock"}, QDir::Files).size(), 1);
    if (expected != "runtime") {
        struct stat st = {};
        QCOMPARE(::lstat(QFile::encodeName(folder).constData(), &st), 0);
        QVERIFY(S_ISDIR(st.st_mode));
        QCOMPARE(st.st_mode & 0777, mode_t(0700));
    }
    // Nothing of ours in the shared folder itself.
    QCOMPARE(QDir(m_temp).entryList({"skarn-config-*.lock", "skarn-config-*.socket"}, QDir::AllEntries | QDir::System),
             QStringList());
}

// Another local user plants everything it can in the shared temporary folder
// (the names our lock and socket had, and the folder names we would make
// there) and runs the program itself. We still start, and a second start of ours
// still hands over to the first.
void TestSingleInstance::anotherUserCannotBlockTheStart()
{
    if (::getuid() != 0)
        QSKIP("needs root to create a second user for the test (as in CI)");
    const QString user = QStringLiteral("skt%1").arg(QRandomGenerator::global()->bounded(1u << 30), 0, 36);
    QCOMPARE(QProcess::execute("useradd", {"--system", "--no-create-home", "--shell", "/usr/sbin/nologin", user}), 0);
    auto removeUser = qScopeGuard([&] {
        cleanup(); // its processes first
        if (QProcess::execute("userdel", {user}) != 0)
            qWarning("could not remove the test user %s", qPrintable(user));
    });
    const passwd* pw = ::getpwnam(user.toLocal8Bit().constData());
    QVERIFY(pw);
    const QStringList asOther = {"--reuid=" + QString::number(pw->pw_uid), "--regid=" + QString::number(pw->pw_gid),
                                 "--clear-groups"};

    // The other user can reach the copy of the program, not our home.
    QCOMPARE(::chmod(QFile::encodeName(m_root->path()).constData(), 0755), 0);
    QCOMPARE(::chmod(QFile::encodeName(m_home).constData(), 0755), 0);
    const QString exe = installCopy("app");
    QVERIFY(!exe.isEmpty());
    QDirIterator it(m_root->filePath("app"), QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        ::chmod(QFile::encodeName(path).constData(), it.fileInfo().isDir() || path == exe ? 0755 : 0644);
    }

    // The names of our lock and socket, as anyone could see them while we ran.
    QStringList names;
    {
        auto probe = start(exe);
        QVERIFY2(probe->waitFor("Device DisConnect"), probe->output.constData());
        names = QDir(m_runtime).entryList({"skarn-config-*"}, QDir::AllEntries | QDir::System);
        probe->process->kill();
        probe->process->waitForFinished(5000);
    }
    QCOMPARE(names.size(), 2);

    QStringList planted = {"skarn-config-0", "runtime-root", "skarn-config-0/" + names.at(0),
                           "skarn-config-0/" + names.at(1)};
    planted += names;
    QString script;
    for (const QString& name : planted)
        script += QStringLiteral("mkdir -m 777 '%1/%2' && ").arg(m_temp, name);
    script += "true";
    QCOMPARE(QProcess::execute("setpriv", asOther + QStringList{"--", "/bin/sh", "-c", script}), 0);
    QVERIFY(QFileInfo(m_temp + "/skarn-config-0").ownerId() == pw->pw_uid);

    QProcessEnvironment otherEnv = m_env;
    otherEnv.remove("XDG_RUNTIME_DIR");
    otherEnv.insert("HOME", "/nonexistent");
    auto other = startAs(asOther, exe, otherEnv);
    QVERIFY2(other->waitFor("Device DisConnect"), other->output.constData());
    m_started.push_back(std::move(other));

    m_env.remove("XDG_RUNTIME_DIR");
    auto first = start(exe);
    QVERIFY2(first->waitFor("Device DisConnect"), first->output.constData());
    auto second = start(exe);
    QVERIFY(second->process->waitForFinished(15000));
    QCOMPARE(second->process->exitCode(), 1);
    QVERIFY(!second->process->readAll().contains("did not answer"));
    QVERIFY2(first->waitFor("message from a second start"), first->output.constData());
    QCOMPARE(m_started.front()->process->state(), QProcess::Running);
    m_started.push_back(std::move(first));
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
