#include "ProgramRig.h"
#include "TestSupport.h"

#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <csignal>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

// One running program per installation and user: the real program, started
// as real processes from a copy in a temporary folder (from a working folder
// other than its own), with a runtime folder of its own.
class TestSingleInstance : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup() { m_root.reset(); }
    void instanceFolder_data() { addDataRows("singleinstance.rows"); }
    void instanceFolder();
    void killedOrOtherCopyDoesNotBlock();
    void anotherUserCannotBlockTheStart();

private:
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_exe;
    QString m_runtime;
    QString m_temp; // stands in for /tmp: anyone may write, sticky
    QString m_home;
    QProcessEnvironment m_env;
};

void TestSingleInstance::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    m_exe = installProgram(m_root->filePath("app"));
    QVERIFY(!m_exe.isEmpty());
    m_runtime = m_root->filePath("runtime");
    m_temp = m_root->filePath("tmp");
    m_home = m_root->filePath("home");
    QVERIFY(QDir().mkpath(m_temp) && QDir().mkpath(m_home));
    QCOMPARE(::chmod(QFile::encodeName(m_temp).constData(), 01777), 0);
    m_env = programEnvironment(m_runtime, "offscreen");
    m_env.insert("TMPDIR", m_temp);
    m_env.insert("HOME", m_home);
    m_env.remove("XDG_CACHE_HOME");
    // Keep off any bus the machine has.
    m_env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + m_root->filePath("no-bus"));
}

// A first start finds its data and takes the lock where the row says; a second
// start hands over to it. Nothing of ours lands in the shared folder itself.
void TestSingleInstance::instanceFolder()
{
    FETCH_DATA_ROW(row);
    const QString runtime = row.field(1);
    const QString temp = row.field(2);
    const QString uid = QString::number(::getuid());
    const QString tempFolder = m_temp + "/skarn-config-" + uid;
    if (runtime == "unset") {
        m_env.remove("XDG_RUNTIME_DIR");
    } else if (runtime == "relative") {
        m_env.insert("XDG_RUNTIME_DIR", "runtime");
    } else if (runtime == "file") {
        QVERIFY(QDir(m_runtime).removeRecursively());
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

    Program first(m_env, m_exe);
    QVERIFY(first.waitFor("Device DisConnect"));
    QVERIFY(first.output.contains("device entries: 1"));
    QVERIFY(handsOver(first, m_env, m_exe));

    const QString folder = row.field(3) == "runtime" ? m_runtime
                           : row.field(3) == "temp"  ? tempFolder
                                                     : m_home + "/.cache/skarn-config-runtime-" + uid;
    QCOMPARE(QDir(folder).entryList({"skarn-config-*.lock"}, QDir::Files).size(), 1);
    if (folder != m_runtime) {
        struct stat st = {};
        QCOMPARE(::lstat(QFile::encodeName(folder).constData(), &st), 0);
        QVERIFY(S_ISDIR(st.st_mode));
        QCOMPARE(st.st_mode & 0777, mode_t(0700));
    }
    QCOMPARE(QDir(m_temp).entryList({"skarn-config-*.lock", "skarn-config-*.socket"}, QDir::AllEntries | QDir::System),
             QStringList());
}

// The locks and socket a killed instance leaves behind do not stop the next
// start, which then is the one a later start hands over to. Another
// installation of the program is another instance.
void TestSingleInstance::killedOrOtherCopyDoesNotBlock()
{
    {
        Program first(m_env, m_exe);
        QVERIFY(first.waitFor("Device DisConnect"));
        ::kill(pid_t(first.process.processId()), SIGKILL);
        QVERIFY(first.process.waitForFinished(5000));
        QCOMPARE(first.process.exitStatus(), QProcess::CrashExit);
    }
    // As if it died between making a lock and writing its id into it: empty
    // locks of the instance and of a store stop neither the start nor the
    // event loop.
    const QStringList locks = QDir(m_runtime).entryList({"skarn-config-*.lock"}, QDir::Files);
    QCOMPARE(locks.size(), 1);
    for (const QString& lock : {m_runtime + "/" + locks.at(0), m_root->filePath("app/modules/setting/name.bin.lock")}) {
        QFile file(lock);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    }
    Program next(m_env, m_exe);
    QVERIFY(next.waitFor("Device DisConnect"));
    QVERIFY(handsOver(next, m_env, m_exe));
    Program other(m_env, installProgram(m_root->filePath("b")));
    QVERIFY(other.waitFor("Device DisConnect"));
    QVERIFY(next.running() && other.running());
}

// Another local user plants everything it can in the shared temporary folder
// (the names our lock and socket had, and the folder names we would make
// there) and runs the program itself. We still start, and a second start of
// ours still hands over to the first.
void TestSingleInstance::anotherUserCannotBlockTheStart()
{
    if (::getuid() != 0)
        QSKIP("needs root to create a second user for the test (as in CI)");
    const QString user = QStringLiteral("skt%1").arg(QRandomGenerator::global()->bounded(1u << 30), 0, 36);
    QCOMPARE(QProcess::execute("useradd", {"--system", "--no-create-home", "--shell", "/usr/sbin/nologin", user}), 0);
    auto removeUser = qScopeGuard([&] {
        if (QProcess::execute("userdel", {user}) != 0)
            qWarning("could not remove the test user %s", qPrintable(user));
    });
    const passwd* pw = ::getpwnam(user.toLocal8Bit().constData());
    QVERIFY(pw);
    const QStringList asOther = {"--reuid=" + QString::number(pw->pw_uid), "--regid=" + QString::number(pw->pw_gid),
                                 "--clear-groups", "--"};

    // The other user can reach the copy of the program, not our home.
    QCOMPARE(QProcess::execute("chmod", {"0755", m_root->path(), m_home}), 0);
    QCOMPARE(QProcess::execute("chmod", {"-R", "a+rX", m_root->filePath("app")}), 0);

    // The names of our lock and socket, as anyone could see them while we ran.
    QStringList names;
    {
        Program probe(m_env, m_exe);
        QVERIFY(probe.waitFor("Device DisConnect"));
        names = QDir(m_runtime).entryList({"skarn-config-*"}, QDir::AllEntries | QDir::System);
    }
    QCOMPARE(names.size(), 2);
    QString script;
    for (const QString& name : names + QStringList{"skarn-config-0", "runtime-root", "skarn-config-0/" + names.at(0),
                                                   "skarn-config-0/" + names.at(1)})
        script += QStringLiteral("mkdir -m 777 '%1/%2' && ").arg(m_temp, name);
    QCOMPARE(QProcess::execute("setpriv", asOther + QStringList{"/bin/sh", "-c", script + "true"}), 0);
    QVERIFY(QFileInfo(m_temp + "/skarn-config-0").ownerId() == pw->pw_uid);

    // setpriv runs the program in its own process, so ending it ends the program.
    QProcessEnvironment otherEnv = m_env;
    otherEnv.remove("XDG_RUNTIME_DIR");
    otherEnv.insert("HOME", "/nonexistent");
    Program other(otherEnv, "setpriv", asOther + QStringList{m_exe}, "/");
    QVERIFY(other.waitFor("Device DisConnect"));

    m_env.remove("XDG_RUNTIME_DIR");
    Program first(m_env, m_exe);
    QVERIFY(first.waitFor("Device DisConnect"));
    QVERIFY(handsOver(first, m_env, m_exe));
    QVERIFY(other.running());
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
