#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

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

private:
    struct Instance
    {
        std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
        QByteArray output;
        bool waitFor(const QByteArray& line, int timeoutMs = 15000);
    };
    QString installCopy(const QString& name);
    std::unique_ptr<Instance> start(const QString& exe, const QString& workingDir = QString());

    std::unique_ptr<QTemporaryDir> m_root;
    QString m_runtime;
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
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", m_runtime);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.remove("DBUS_SESSION_BUS_ADDRESS"); // keep off any bus the machine has
    env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + m_root->filePath("no-bus"));
    instance->process->setProcessEnvironment(env);
    instance->process->setProcessChannelMode(QProcess::MergedChannels);
    instance->process->setWorkingDirectory(workingDir.isEmpty() ? m_root->path() : workingDir);
    instance->process->start(exe, {});
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

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
