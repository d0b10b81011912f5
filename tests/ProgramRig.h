#pragma once

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <memory>

// The built tray program as real processes: copies of it with their data in
// a temporary folder, as an installation has them, and X servers of a test's
// own. Waiting always runs the event loop, so the output of every program
// started is read meanwhile, as a terminal would; a program whose output is
// not read blocks once the pipe is full.

// A started program and what it has printed so far; killed when destroyed.
struct Program
{
    QProcess process;
    QByteArray output;

    Program(const QProcessEnvironment& env, const QString& exe, const QStringList& arguments = {},
            const QString& workingDir = {})
    {
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.setWorkingDirectory(workingDir.isEmpty() ? QDir::tempPath() : workingDir);
        process.start(exe, arguments);
    }
    ~Program()
    {
        process.kill();
        process.waitForFinished(5000);
    }
    bool running() const { return process.state() == QProcess::Running; }
    // Until the output holds text (times times); false when the program ends
    // or time runs out first.
    bool waitFor(const QByteArray& text, int timeoutMs = 15000, qsizetype times = 1)
    {
        const auto seen = [&] {
            output += process.readAll();
            return output.count(text) >= times;
        };
        if (QTest::qWaitFor([&] { return seen() || process.state() == QProcess::NotRunning; }, timeoutMs) && seen())
            return true;
        qWarning("no \"%s\" in the program's output:\n%s", text.constData(), output.constData());
        return false;
    }
};

#ifdef SKARN_CONFIG_EXE
// Copies the program and its data into folder; the executable's path, or
// nothing on failure.
inline QString installProgram(const QString& folder)
{
    const QString exe = folder + QStringLiteral("/skarn-config");
    if (!QDir().mkpath(folder) || !QFile::copy(QStringLiteral(SKARN_CONFIG_EXE), exe) ||
        !copyTree(sourceModulesPath(), folder + QStringLiteral("/modules"), {QStringLiteral("qml/")}))
        return QString();
    QFile::setPermissions(exe, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return exe;
}
#endif

// The environment of this process with a runtime folder of the program's own
// (mode 0700, made if needed) and the given platform plugin.
inline QProcessEnvironment programEnvironment(const QString& runtime, const QString& platform)
{
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    return env;
}

// A second start of exe hands its message to the running first one and ends
// with exit code 1, having made no window and read no data. The running copy
// answers from its event loop, which a loaded machine may hold up past the
// second start's 5 s: a start that reports no answer is tried once more, as
// a user would; one that makes a window or reads data fails at once.
inline bool handsOver(Program& first, const QProcessEnvironment& env, const QString& exe)
{
    const QByteArray message("message from a second start: \"\"");
    first.output += first.process.readAll();
    const qsizetype before = first.output.count(message);
    for (int attempt = 1;; ++attempt) {
        Program second(env, exe);
        const bool ended = QTest::qWaitFor([&] { return second.process.state() == QProcess::NotRunning; }, 30000);
        second.output += second.process.readAll();
        const bool unanswered = second.output.contains("did not answer");
        if (!ended || second.process.exitStatus() != QProcess::NormalExit || second.process.exitCode() != 1 ||
            (unanswered && attempt == 2) || second.output.contains("device entries") ||
            second.output.contains("Device DisConnect")) {
            first.output += first.process.readAll();
            qWarning("the second start did not hand over:\n%s\nthe running copy said:\n%s", second.output.constData(),
                     first.output.constData());
            return false;
        }
        if (!unanswered)
            break;
        qWarning("the running copy did not answer in time; starting again");
    }
    return first.waitFor(message, 15000, before + 1);
}

// An X server of the caller's own while the object lives; display is empty
// when it did not start.
struct XServer
{
    QProcess process;
    QString display;

    static bool available() { return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty(); }
    XServer()
    {
        process.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-nolisten", "tcp"});
        if (QTest::qWaitFor([&] { return process.canReadLine(); }, 10000))
            display = QLatin1Char(':') + QString::fromLatin1(process.readLine().trimmed());
    }
    ~XServer()
    {
        process.terminate();
        process.waitForFinished(5000);
    }
};
