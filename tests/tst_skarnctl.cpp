#include "TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QTest>

// The command line end to end: the built skarnctl on a temporary data
// folder, against the virtual mouse.
class TestSkarnctl : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void callPrintsOneJsonValue_data();
    void callPrintsOneJsonValue();
    void runSession();
    void profileBlocks560();
    void deviceSettings();
    void macros();
    void fileDialogs();
    void errors_data();
    void errors();
    void failedLineStopsTheRun();
    void help();

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

void TestSkarnctl::init()
{
    m_data = std::make_unique<TestDataFolder>();
    m_data->write("modules/setting/p3.bin", "[mouse]\nreportRate=2\n");
}

void TestSkarnctl::cleanup()
{
    m_data.reset();
}

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

void TestSkarnctl::callPrintsOneJsonValue_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("output");
    QTest::addRow("global key") << QStringList{"call", "getGlobalData", "mouse/keyCount"} << QByteArray("\"8\"\n");
    QTest::addRow("absent key") << QStringList{"call", "getGlobalData", "mouse/none"} << QByteArray("null\n");
    QTest::addRow("no result") << QStringList{"call", "setCurrentProfile", "3"} << QByteArray("null\n");
    QTest::addRow("default") << QStringList{"call", "getXYSensitive", "0"} << QByteArray("4\n");
    QTest::addRow("list") << QStringList{"call", "getLangStrings", "\"none\"", "\"English\""} << QByteArray("[]\n");
    QTest::addRow("bool result") << QStringList{"call", "updataNameList", "0", "[\"a\",\"b\"]"} << QByteArray("true\n");
    QTest::addRow("hid references")
        << QStringList{"--virtual-mouse", "call", "hid.hid553_83H_GetKeyboardoption", "0", "0", "0", "0"}
        << QByteArray("[1,2,3,76]\n");
    QTest::addRow("hid result") << QStringList{"call", "hid.hidCS", "[1,2]"} << QByteArray("252\n");
    QTest::addRow("no device: current profile 0")
        << QStringList{"call", "mouseReadCurrentProfile"} << QByteArray("0\n");
    // Any number goes where the parameter takes any value; whole numbers
    // within int's range become ints, others stay as they were.
    QTest::addRow("any value: 1e32") << QStringList{"call", "setData", "mouse/x", "1e32"} << QByteArray("null\n");
    QTest::addRow("any value: -1e32") << QStringList{"call", "setData", "mouse/x", "[-1e32, 2]"}
                                      << QByteArray("null\n");
    QTest::addRow("no device: references kept")
        << QStringList{"call", "hid.hid553_8BH_GetCurrentDPI", "7"} << QByteArray("[7]\n");
}

void TestSkarnctl::callPrintsOneJsonValue()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, output);
    const Result r = skarnctl(arguments);
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.out, output);
}

// One process, many calls: profile data, the device, the virtual mouse, and
// the trace of what went over the wire.
void TestSkarnctl::runSession()
{
    const QString trace = m_data->filePath("trace.txt");
    const QByteArray input = R"(["setCurrentProfile", 2]
["getData", "mouse/reportRate", false]
["setData", "mouse/reportRate", 1]
["getData", "mouse/reportRate", false]
["virtual.pressDpiButton", 3]
["hid.hid553_8BH_GetCurrentDPI", 0]
["hid.hid553_0BH_SetCurrentDPI", 2]
["virtual.unplug"]
["hid.hid553_8BH_GetCurrentDPI", 9]
["virtual.plug"]
["hid.hid553_8BH_GetCurrentDPI", 0]

["virtual.state"]
)";
    const Result r = skarnctl({"--virtual-mouse", "--hid-trace", trace, "run"}, input);
    QVERIFY2(r.exitCode == 0, r.err.constData());
    QList<QByteArray> lines = r.out.split('\n');
    QCOMPARE(lines.takeLast(), QByteArray());
    QCOMPARE(lines.size(), 12);
    QCOMPARE(lines.mid(0, 11),
             (QList<QByteArray>{"null", "\"2\"", "null", "1", "true", "[3]", "null", "null", "[9]", "null", "[2]"}));
    const QJsonObject state = QJsonDocument::fromJson(lines.at(11)).object();
    QCOMPARE(state.value("dpiStage").toInt(), 2);
    QCOMPARE(state.value("protocolErrors").toInt(), 0);
    QCOMPARE(state.value("plugged").toBool(), true);
    QVERIFY(r.err.count("Device Connect") == 2); // at start and after the plug
    QVERIFY(r.err.contains("Device removed"));

    QFile f(trace);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    QVERIFY(text.contains(" cmd set_feature 00 00 ")); // the handshake
    QVERIFY(text.contains(" cmd set_feature 00 0b 02 00 00 00 00 00 f2"));
    QVERIFY(text.contains(" evt read 06 07 00 03"));
    QVERIFY(text.contains(" evt open-fail"));

    // The write reached the profile file when the process ended.
    QSettings p3(m_data->filePath("modules/setting/p3.bin"), QSettings::IniFormat);
    QCOMPARE(p3.value("mouse/reportRate").toInt(), 1);
}

// A command set 560 mouse: the profile blocks the device check read, and
// the device's current profile.
void TestSkarnctl::profileBlocks560()
{
    QByteArray config = m_data->read("modules/setting/apConfig.bin");
    config.replace("icType=553", "icType=560");
    m_data->write("modules/setting/apConfig.bin", config);
    const Result r = skarnctl({"--virtual-mouse", "run"}, "[\"mouseReadCurrentProfile\"]\n[\"mouseSetProfile\", 1]\n"
                                                          "[\"mouseSetProfile\", 7]\n[\"virtual.state\"]\n");
    QVERIFY2(r.exitCode == 0, r.err.constData());
    const QList<QByteArray> lines = r.out.split('\n');
    QCOMPARE(lines.at(1), QByteArray("null"));
    QCOMPARE(lines.at(2), QByteArray("null")); // no image 7: nothing sent
    QVERIFY(r.err.contains("no profile image 7"));
    const QJsonObject state = QJsonDocument::fromJson(lines.at(3)).object();
    QCOMPARE(state.value("family").toString(), QStringLiteral("560"));
    QCOMPARE(state.value("protocolErrors").toInt(), 0);
    QCOMPARE(lines.at(0), QByteArray::number(state.value("profile").toInt()));
    // The handshake, the option read and write, blocks 0..4 (the shipped
    // mouse has the gun flag), 82H, and one 0CH.
    QCOMPARE(state.value("commandCount").toInt(), 1 + 2 + 5 + 1 + 1);
}

// The device-settings operations are reached by name like any other.
void TestSkarnctl::deviceSettings()
{
    const QByteArray input = R"(["mouseSetDpi", 3, "3360", [400, 800, 1600, 3200, 6000, 6000, 6000, 6000]]
["mouseSetReportRate", 2]
["GetKeyboardoption"]
["mouseSetRGBEffect", 1, 2, 3]
["virtual.state"]
)";
    const Result r = skarnctl({"--virtual-mouse", "run"}, input);
    QVERIFY2(r.exitCode == 0, r.err.constData());
    const QList<QByteArray> lines = r.out.split('\n');
    QCOMPARE(lines.at(2), QByteArray("[1,2,3,76]"));
    const QJsonObject state = QJsonDocument::fromJson(lines.at(4)).object();
    QCOMPARE(state.value("dpiCount").toInt(), 3);
    QCOMPARE(state.value("protocolErrors").toInt(), 0);
    QVERIFY(r.err.indexOf("not implemented") < 0);
}

// The macro library and transfer, by name.
void TestSkarnctl::macros()
{
    const QByteArray input = R"(["createMacroIni", "Macro_0", 0]
["saveMacroIni", "Macro_0", ["1,A", "0,50", "2,A"], 1]
["loadMacroIni", "Macro_0"]
["createMacroIni", "../escape", 0]
["mouseSendMacroData", [0, 1, 5, 4, 129, 4, 0, 0], 2]
["virtual.state"]
)";
    const Result r = skarnctl({"--virtual-mouse", "run"}, input);
    QVERIFY2(r.exitCode == 0, r.err.constData());
    const QList<QByteArray> lines = r.out.split('\n');
    QCOMPARE(lines.mid(0, 5), (QList<QByteArray>{"true", "true", "[\"1,A\",\"0,50\",\"2,A\",\"1\"]", "false", "true"}));
    QVERIFY(QFile::exists(m_data->filePath("modules/macro/Macro_0.bin")));
    QVERIFY(!QFile::exists(m_data->filePath("modules/escape.bin")));
    const QJsonArray macro3 = QJsonDocument::fromJson(lines.at(5)).object().value("macros").toArray().at(2).toArray();
    QCOMPARE(macro3.at(2).toInt(), 5);
    QCOMPARE(macro3.at(4).toInt(), 0x81);
}

void TestSkarnctl::fileDialogs()
{
    m_data->write("in.pf", "[mouse]\nreportRate=0\nname=imported\n");
    Result r = skarnctl({"call", "loadProfile", "4"});
    QCOMPARE(r.out, QByteArray("false\n")); // no --choose: the dialog cancels
    r = skarnctl({"--choose", m_data->filePath("in.pf"), "call", "loadProfile", "4"});
    QCOMPARE(r.out, QByteArray("true\n"));
    QCOMPARE(m_data->read("modules/setting/p5.bin"), m_data->read("in.pf"));
    r = skarnctl({"--choose", m_data->filePath("out.pf"), "call", "saveProfile", "2"});
    QCOMPARE(r.out, QByteArray("null\n"));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(m_data->read("out.pf"), QByteArray("[mouse]\nreportRate=2\n"));
    // An export that cannot be written (its folder is a file) is not a
    // success: a message, exit code 1, and the later calls still run.
    r = skarnctl({"--choose", m_data->filePath("out.pf/inside.pf"), "run"},
                 "[\"saveProfile\", 2]\n[\"setCurrentProfile\", 2]\n[\"getData\", \"mouse/reportRate\", false]\n");
    QCOMPARE(r.out, QByteArray("null\nnull\n\"2\"\n"));
    QVERIFY2(r.err.contains("could not save") && r.err.contains("inside.pf"), r.err.constData());
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(m_data->read("out.pf"), QByteArray("[mouse]\nreportRate=2\n"));
}

void TestSkarnctl::errors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("message");
    QTest::addRow("no command") << QStringList{} << QByteArray() << QByteArray("nothing to do");
    QTest::addRow("unknown command") << QStringList{"frobnicate"} << QByteArray() << QByteArray("unknown command");
    QTest::addRow("unknown option") << QStringList{"--frob", "run"} << QByteArray()
                                    << QByteArray("Unknown option 'frob'");
    QTest::addRow("call without operation") << QStringList{"call"} << QByteArray() << QByteArray("needs an operation");
    QTest::addRow("unknown operation") << QStringList{"call", "noSuchThing"} << QByteArray()
                                       << QByteArray("unknown operation noSuchThing");
    QTest::addRow("view-widget call") << QStringList{"call", "setEnabled", "false"} << QByteArray()
                                      << QByteArray("unknown operation setEnabled");
    QTest::addRow("unknown hid slot") << QStringList{"call", "hid.nothing"} << QByteArray()
                                      << QByteArray("unknown operation hid.nothing");
    QTest::addRow("too few arguments") << QStringList{"call", "getData", "mouse/x"} << QByteArray()
                                       << QByteArray("takes 2 argument(s), 1 given");
    QTest::addRow("too many arguments") << QStringList{"call", "openUpdateExe", "1"} << QByteArray()
                                        << QByteArray("takes 0 argument(s), 1 given");
    QTest::addRow("wrong type: bool") << QStringList{"call", "getData", "k", "1"} << QByteArray()
                                      << QByteArray("must be true or false");
    QTest::addRow("wrong type: int") << QStringList{"call", "setCurrentProfile", "1.5"} << QByteArray()
                                     << QByteArray("must be an integer");
    QTest::addRow("byte out of range") << QStringList{"call", "hid.hid553_01H_SetReportRate", "256"} << QByteArray()
                                       << QByteArray("0..255");
    QTest::addRow("buffer too long") << QStringList{"call", "hid.hidCS", "[" + QString("1,").repeated(300) + "1]"}
                                     << QByteArray() << QByteArray("at most 256");
    QTest::addRow("string list") << QStringList{"call", "updataNameList", "0", "[1,2]"} << QByteArray()
                                 << QByteArray("array of strings");
    QTest::addRow("bad JSON argument") << QStringList{"call", "setCurrentProfile", "[1,"} << QByteArray()
                                       << QByteArray("not valid JSON");
    QTest::addRow("virtual without the mouse")
        << QStringList{"call", "virtual.state"} << QByteArray() << QByteArray("needs --virtual-mouse");
    QTest::addRow("virtual unknown") << QStringList{"--virtual-mouse", "call", "virtual.explode"} << QByteArray()
                                     << QByteArray("unknown operation virtual.explode");
    QTest::addRow("bad stage") << QStringList{"--virtual-mouse", "call", "virtual.pressDpiButton", "9"} << QByteArray()
                               << QByteArray("stage 1..8");
    QTest::addRow("run: not JSON") << QStringList{"run"} << QByteArray("getData\n") << QByteArray("line 1");
    QTest::addRow("run: not an array") << QStringList{"run"} << QByteArray("{\"a\":1}\n") << QByteArray("line 1");
    QTest::addRow("run: empty array") << QStringList{"run"} << QByteArray("[]\n") << QByteArray("line 1");
    QTest::addRow("run: no name") << QStringList{"run"} << QByteArray("[1, 2]\n") << QByteArray("line 1");
    QTest::addRow("bad data folder") << QStringList{"--data", "/no/such/folder", "run"} << QByteArray()
                                     << QByteArray("data folder");
    // Numbers far outside a parameter's range are refused before any
    // conversion, with the range in the message.
    const QByteArray intRange("must be an integer -2147483648..2147483647");
    QTest::addRow("int: 1e32") << QStringList{"call", "setCurrentProfile", "1e32"} << QByteArray() << intRange;
    QTest::addRow("int: -1e32") << QStringList{"call", "setCurrentProfile", "-1e32"} << QByteArray() << intRange;
    QTest::addRow("int: just over") << QStringList{"call", "setCurrentProfile", "2147483648"} << QByteArray()
                                    << intRange;
    QTest::addRow("int: huge integer") << QStringList{"call", "setCurrentProfile", "99999999999999999999"}
                                       << QByteArray() << intRange;
    QTest::addRow("int: nan") << QStringList{"call", "setCurrentProfile", "nan"} << QByteArray() << intRange;
    QTest::addRow("int: inf") << QStringList{"call", "setCurrentProfile", "inf"} << QByteArray() << intRange;
    QTest::addRow("int: -inf") << QStringList{"call", "setCurrentProfile", "-inf"} << QByteArray()
                               << QByteArray("not valid JSON");
    QTest::addRow("int: 1e400") << QStringList{"call", "setCurrentProfile", "1e400"} << QByteArray()
                                << QByteArray("not valid JSON");
    QTest::addRow("uint: 1e32") << QStringList{"call", "mouseSetProfile", "1e32"} << QByteArray()
                                << QByteArray("must be an integer 0..4294967295");
    QTest::addRow("uint: -1") << QStringList{"call", "mouseSetProfile", "-1"} << QByteArray()
                              << QByteArray("must be an integer 0..4294967295");
    QTest::addRow("byte: 1e32") << QStringList{"call", "hid.hid553_01H_SetReportRate", "1e32"} << QByteArray()
                                << QByteArray("0..255");
    QTest::addRow("byte reference: -1e32")
        << QStringList{"call", "hid.hid553_8BH_GetCurrentDPI", "-1e32"} << QByteArray() << QByteArray("0..255");
    QTest::addRow("buffer element: 1e32") << QStringList{"call", "hid.hidCS", "[1, 1e32]"} << QByteArray()
                                          << QByteArray("element 1 must be an integer 0..255");
    QTest::addRow("stage: 1e32") << QStringList{"--virtual-mouse", "call", "virtual.pressDpiButton", "1e32"}
                                 << QByteArray() << QByteArray("stage 1..8");
    QTest::addRow("run: int 1e32") << QStringList{"run"} << QByteArray("[\"setCurrentProfile\", 1e32]\n") << intRange;
}

void TestSkarnctl::errors()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, message);
    const Result r = skarnctl(arguments, input);
    QCOMPARE(r.exitCode, 2);
    QVERIFY2(r.err.contains(message), r.err.constData());
    QCOMPARE(r.out, QByteArray());
}

// A bad line ends the run: what came before it is done, nothing after it.
void TestSkarnctl::failedLineStopsTheRun()
{
    const QByteArray input = "[\"setCurrentProfile\", 2]\n[\"setData\", \"mouse/reportRate\"]\n"
                             "[\"setData\", \"mouse/reportRate\", 3]\n";
    const Result r = skarnctl({"run"}, input);
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.out, QByteArray("null\n"));
    QVERIFY(r.err.contains("takes 2 argument(s)"));
    QSettings p3(m_data->filePath("modules/setting/p3.bin"), QSettings::IniFormat);
    QCOMPARE(p3.value("mouse/reportRate").toInt(), 2);
}

void TestSkarnctl::help()
{
    const Result r = skarnctl({"--help"});
    QCOMPARE(r.exitCode, 0);
    for (const char* word : {"call OPERATION", "run", "--data", "--virtual-mouse", "--hid-trace", "--choose", "hid.",
                             "virtual.state", "exit code 2"})
        QVERIFY2(r.out.contains(word), word);
    const Result list = skarnctl({"--list"});
    QCOMPARE(list.exitCode, 0);
    QVERIFY(list.out.contains("getData(QVariant key, bool isRecovery)"));
    QVERIFY(list.out.contains("hid.hid560_8CH_readProfile(uchar* src128, uchar profileNo)"));
}

QTEST_GUILESS_MAIN(TestSkarnctl)
#include "tst_skarnctl.moc"
