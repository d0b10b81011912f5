#include "TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTest>

// The command line end to end: the built skarnctl on a temporary data folder.
// What the operations do is for the view suites; here is the command line's
// own contract: argument typing, results as JSON, exit codes, the hid. and
// virtual. operations and the options.
class TestSkarnctl : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_data = std::make_unique<TestDataFolder>();
        m_data->write("modules/setting/p3.bin", "[mouse]\nreportRate=2\n");
    }
    void cleanup() { m_data.reset(); }
    void commandLine_data() { addDataRows("skarnctl.rows"); }
    void commandLine();
    void session();
    void profiles560();

private:
    struct Result
    {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };
    Result skarnctl(const QStringList& arguments, const QByteArray& input = QByteArray());
    std::unique_ptr<TestDataFolder> m_data;
};

TestSkarnctl::Result TestSkarnctl::skarnctl(const QStringList& arguments, const QByteArray& input)
{
    QProcess p;
    p.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    p.start(QStringLiteral(SKARNCTL_EXE), QStringList{"--data", m_data->path()} + arguments);
    if (!p.waitForStarted(5000))
        return {};
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

void TestSkarnctl::commandLine()
{
    FETCH_DATA_ROW(row);
    auto text = [&](qsizetype i) {
        QString field = row.field(i);
        return field.replace(QLatin1String("$DATA"), m_data->path()).replace(QLatin1String("\\n"), QLatin1String("\n"));
    };
    const QString out = text(2);
    const QString input = text(5);
    const Result r = skarnctl(text(4).split(QLatin1Char(' '), Qt::SkipEmptyParts),
                              input.isEmpty() ? QByteArray() : (input + '\n').toUtf8());
    const QString err = text(3);
    if (err.startsWith(QLatin1Char('!')))
        QVERIFY2(!r.err.contains(err.mid(1).toUtf8()), r.err.constData());
    else
        QVERIFY2(r.err.contains(err.toUtf8()), r.err.constData());
    QCOMPARE(r.exitCode, row.field(1).toInt());
    if (out.startsWith(QLatin1Char('~')))
        QVERIFY2(r.out.contains(out.mid(1).toUtf8()), r.out.constData());
    else
        QCOMPARE(r.out, out.isEmpty() ? QByteArray() : (out + '\n').toUtf8());
}

// One process, many lines (tests/data/skarnctl-run.rows), the trace of what
// went over the wire, and the change in the profile file when the process has
// ended.
void TestSkarnctl::session()
{
    QByteArray input;
    QByteArrayList expected;
    for (const DataRow& row : readDataRows("skarnctl-run.rows")) {
        input += row.field(0).toUtf8() + '\n';
        if (!row.field(0).isEmpty())
            expected << row.field(1).toUtf8();
    }
    const Result r = skarnctl({"-v", "--virtual-mouse", "--hid-trace", m_data->filePath("trace.txt"), "run"}, input);
    QVERIFY2(r.exitCode == 0, r.err.constData());
    QByteArrayList lines = r.out.split('\n');
    QVERIFY(!expected.isEmpty() && lines.size() == expected.size() + 1);
    const QJsonObject state = QJsonDocument::fromJson(lines.takeAt(expected.size() - 1)).object();
    const QJsonObject fields = QJsonDocument::fromJson(expected.takeLast()).object();
    for (auto it = fields.begin(); it != fields.end(); ++it)
        QCOMPARE(state.value(it.key()), it.value());
    QCOMPARE(lines, expected << "");
    QVERIFY(!r.err.contains("not implemented"));
    QCOMPARE(r.err.count("Device Connect"), 2); // at start and after the plug
    QVERIFY(r.err.contains("Device removed"));

    const QByteArray text = m_data->read("trace.txt");
    for (const char* line : {" cmd set_feature 00 00 ", " cmd set_feature 00 0b 02 00 00 00 00 00 f2",
                             " evt read 06 07 00 03", " evt open-fail"})
        QVERIFY2(text.contains(line), line);

    QSettings p3(m_data->filePath("modules/setting/p3.bin"), QSettings::IniFormat);
    QCOMPARE(p3.value("mouse/reportRate").toInt(), 1);
}

// A command set 560 mouse: the current profile read from it, and a profile
// image sent to it.
void TestSkarnctl::profiles560()
{
    QByteArray config = m_data->read("modules/setting/apConfig.bin");
    m_data->write("modules/setting/apConfig.bin", config.replace("icType=553", "icType=560"));
    const Result r = skarnctl({"--virtual-mouse", "run"},
                              "[\"mouseReadCurrentProfile\"]\n[\"mouseSetProfile\", 1]\n[\"virtual.state\"]\n");
    QVERIFY2(r.exitCode == 0, r.err.constData());
    const QList<QByteArray> lines = r.out.split('\n');
    const QJsonObject state = QJsonDocument::fromJson(lines.value(2)).object();
    // The device check (handshake, option read and write, blocks 0..4 as the
    // shipped mouse has the gun flag), then 82H and one 0CH.
    QCOMPARE(QJsonArray({state["family"], state["protocolErrors"], state["commandCount"]}),
             QJsonArray({"560", 0, 1 + 2 + 5 + 1 + 1}));
    QCOMPARE(lines.at(0), QByteArray::number(state.value("profile").toInt()));
}

QTEST_GUILESS_MAIN(TestSkarnctl)
#include "tst_skarnctl.moc"
