// skarnctl: the tray program's operations from a command line, without any
// window. It runs the same device check at start, then one call or a stream
// of calls, and prints each result as one JSON value.

#include "CommandDispatcher.h"
#include "DataFolder.h"
#include "DataPaths.h"
#include "DeviceSession.h"
#include "FileChooser.h"
#include "VirtualHidBackend.h"
#include "VirtualMouse.h"
#include "VirtualMouseCommands.h"
#include "VirtualMouseSetup.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QTextStream>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

namespace {

constexpr int saveError = 1;
constexpr int usageError = 2;

int fail(const QString& message)
{
    std::fprintf(stderr, "skarnctl: %s\n", qPrintable(message));
    return usageError;
}

// Without --verbose the debug lines (qDebug and the skarn.* categories) are
// dropped; warnings and worse still reach standard error. The handler, not
// only the filter rules, decides: QT_LOGGING_RULES cannot turn them back on.
QtMessageHandler defaultHandler = nullptr;

void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        defaultHandler(type, context, message);
}

void print(const QJsonValue& value)
{
    const QByteArray text = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    // The value without the surrounding brackets of the one-element array.
    std::fwrite(text.constData() + 1, 1, std::size_t(text.size() - 2), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

const char* const helpText = R"(Usage: skarnctl [options] call OPERATION [ARG ...]
       skarnctl [options] run

Calls the operations the tray program's pages call, from a command line. At
start it runs the same device check as the tray program (handshake, listener
start, profile reads), then:

  call OPERATION [ARG ...]  calls one operation and prints its result as one
                            JSON value (null when it has none)
  run                       reads one JSON array per line from standard input,
                            such as ["setCurrentProfile", 3], calls each in
                            turn and prints one JSON result per line

Arguments are JSON: numbers, "strings", true/false, [arrays]. A word that is
not JSON is taken as a string (setData mouse/reportRate 2). Bytes (uchar) are
0..255; a byte buffer (uchar*) is an array of at most 256 bytes.

Operations:
  the view's operations by name (getData, setCurrentProfile, sendStoredMacro, ...);
  hid.<slot>           a slot of the HID worker; get commands print their
                       reference values as an array, hid560_8CH_readProfile
                       the 128 bytes read;
  virtual.pressDpiButton [stage], virtual.unplug, virtual.plug, virtual.state
                       the virtual mouse (with --virtual-mouse).

An unknown operation, a wrong argument count or type, or bad JSON: a message
on standard error, exit code 2, and nothing is called. A change that could
not be saved (full disk, read-only file): a message on standard error and
exit code 1.

Options:
  --data DIR        work on the data folder DIR (it holds modules/) instead of
                    the tray program's: the executable's folder when it
                    holds modules/, else $XDG_DATA_HOME/skarn-config (by
                    default ~/.local/share/skarn-config)
  --virtual-mouse   drive the virtual mouse instead of a real device
  --hid-trace FILE  write every HID transfer to FILE
  --choose FILE     the file a file dialog returns (without it, dialogs cancel)
  --list            print every operation with its parameters
  -v, --verbose     show the program's debug lines on standard error
  -h, --help        this text
)";

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption dataOption(QStringLiteral("data"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption virtualOption(QStringLiteral("virtual-mouse"));
    const QCommandLineOption traceOption(QStringLiteral("hid-trace"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption chooseOption(QStringLiteral("choose"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption listOption(QStringLiteral("list"));
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption verboseOption(QStringList{QStringLiteral("v"), QStringLiteral("verbose")});
    parser.addOptions({dataOption, virtualOption, traceOption, chooseOption, listOption, helpOption, verboseOption});
    if (!parser.parse(app.arguments()))
        return fail(parser.errorText() + QStringLiteral(" (see --help)"));
    if (!parser.isSet(verboseOption)) {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false\n*.info=false"));
        defaultHandler = qInstallMessageHandler(quietHandler);
    }
    if (parser.isSet(helpOption)) {
        std::fputs(helpText, stdout);
        return 0;
    }
    const QStringList positional = parser.positionalArguments();
    const QString command = positional.value(0);
    if (!parser.isSet(listOption) && command != QLatin1String("call") && command != QLatin1String("run"))
        return fail(command.isEmpty() ? QStringLiteral("nothing to do (see --help)")
                                      : QStringLiteral("unknown command %1 (see --help)").arg(command));
    if (command == QLatin1String("call") && positional.size() < 2)
        return fail(QStringLiteral("call needs an operation (see --help)"));

    // Files named on the command line are relative to where we were started.
    const QString chosen =
        parser.isSet(chooseOption) ? QFileInfo(parser.value(chooseOption)).absoluteFilePath() : QString();
    std::unique_ptr<QFile> trace;
    if (parser.isSet(traceOption)) {
        trace = std::make_unique<QFile>(QFileInfo(parser.value(traceOption)).absoluteFilePath());
        if (!trace->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
            return fail(QStringLiteral("cannot write %1: %2").arg(trace->fileName(), trace->errorString()));
    }
    // Without --data: the same folder as the tray program's.
    const QString dataDir = parser.isSet(dataOption)
                                ? parser.value(dataOption)
                                : DataFolder::forExecutable(QCoreApplication::applicationDirPath());
    if (!QDir::setCurrent(dataDir))
        return fail(QStringLiteral("cannot use the data folder %1").arg(dataDir));

    std::unique_ptr<VirtualMouse> mouse;
    std::unique_ptr<VirtualHidBackend> virtualBackend;
    HidBackend* device = nullptr; // hidapi
    if (parser.isSet(virtualOption)) {
        mouse = VirtualMouseSetup::fromConfig();
        if (!mouse)
            return fail(QStringLiteral("%1 has no mouse entry for the virtual mouse")
                            .arg(QDir::current().filePath(QDir::cleanPath(DataPath::apConfig))));
        virtualBackend = std::make_unique<VirtualHidBackend>(std::initializer_list<VirtualMouse*>{mouse.get()});
        device = virtualBackend.get();
    }
    DeviceSession session;
    session.setTransport(device, trace.get());
    Hid_Thread& hid = session.hid();
    ViewCore& view = session.view();
    FixedFileChooser chooser(chosen);
    view.setFileChooser(&chooser);
    // A change that could not be saved is never reported as success.
    bool saveFailed = false;
    QObject::connect(&view, &ViewCore::saveFailed, [&saveFailed](const QString& file) {
        saveFailed = true;
        std::fprintf(stderr, "skarnctl: could not save %s\n", qPrintable(file));
    });

    auto check = [&] { session.check(); };
    CommandDispatcher dispatcher(view, hid);
    // Without the virtual mouse its operations are still listed, and calling
    // them says what is missing.
    dispatcher.addPrefixHandler(QStringLiteral("virtual."), mouse ? VirtualMouseCommands::handler(*mouse, hid, check)
                                                                  : VirtualMouseCommands::unavailable());
    if (parser.isSet(listOption)) {
        for (const QString& op : dispatcher.operations())
            std::printf("%s\n", qPrintable(op));
        return 0;
    }
    check();

    auto runOne = [&](const QString& operation, const QJsonArray& arguments) -> bool {
        QJsonValue result;
        QString error;
        if (!dispatcher.call(operation, arguments, &result, &error)) {
            fail(error);
            return false;
        }
        QCoreApplication::processEvents();
        print(result);
        return true;
    };

    int status = 0;
    if (command == QLatin1String("call")) {
        QJsonArray arguments;
        for (qsizetype i = 2; i < positional.size(); ++i) {
            QJsonValue v;
            QString error;
            if (!CommandDispatcher::parseArgument(positional.at(i), &v, &error)) {
                status = fail(error);
                break;
            }
            arguments.append(v);
        }
        if (status == 0 && !runOne(positional.at(1), arguments))
            status = usageError;
    } else {
        std::string line;
        int lineNumber = 0;
        while (status == 0 && std::getline(std::cin, line)) {
            ++lineNumber;
            const QByteArray text = QByteArray::fromStdString(line).trimmed();
            if (text.isEmpty())
                continue;
            QJsonParseError parse{};
            const QJsonDocument doc = QJsonDocument::fromJson(text, &parse);
            if (parse.error != QJsonParseError::NoError || !doc.isArray() || doc.array().isEmpty() ||
                !doc.array().first().isString()) {
                status = fail(QStringLiteral("line %1: expected a JSON array [\"operation\", arguments...], got %2")
                                  .arg(lineNumber)
                                  .arg(QString::fromUtf8(text)));
                break;
            }
            QJsonArray arguments = doc.array();
            const QString operation = arguments.takeAt(0).toString();
            if (!runOne(operation, arguments))
                status = usageError;
        }
    }
    hid.stopListener();
    if (status == 0 && saveFailed)
        status = saveError;
    return status;
}
