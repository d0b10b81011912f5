// skarnctl's arguments: the input's lines are an operation name and its
// arguments as typed on the command line. Each argument goes through the
// command line's parser and the call through the dispatcher's type checks
// to the real operations, on a copy of the shipped data and a virtual mouse
// (delays on a virtual clock, no listener thread, file dialogs cancel).

#include "Clock.h"
#include "CommandDispatcher.h"
#include "DeviceSession.h"
#include "FileChooser.h"
#include "FuzzSupport.h"
#include "VirtualHidBackend.h"
#include "VirtualMouse.h"
#include "VirtualMouseSetup.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <memory>

namespace {

struct Rig
{
    VirtualClock clock;
    std::unique_ptr<VirtualMouse> mouse;
    std::unique_ptr<VirtualHidBackend> backend;
    DeviceSession session;
    FixedFileChooser chooser;
    std::unique_ptr<CommandDispatcher> dispatcher;
};

Rig* rig = nullptr;

void copyShippedData()
{
    const QString source = QStringLiteral(SKARN_SOURCE_DIR "/modules");
    QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString relative = QDir(source).relativeFilePath(file);
        if (relative.startsWith(QLatin1String("qml/")))
            continue;
        const QString target = QStringLiteral("modules/") + relative;
        QDir().mkpath(QFileInfo(target).path());
        QFile::remove(target);
        QFile::copy(file, target);
        QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
}

} // namespace

void FuzzSupport::prepare()
{
    copyShippedData();
    rig = new Rig;
    rig->mouse = VirtualMouseSetup::fromConfig();
    FUZZ_CHECK(rig->mouse != nullptr);
    rig->backend =
        std::make_unique<VirtualHidBackend>(std::initializer_list<VirtualMouse*>{rig->mouse.get()}, rig->clock);
    rig->session.setClock(&rig->clock);
    rig->session.setTransport(rig->backend.get());
    DeviceRecord entry = rig->mouse->record();
    entry.primaryPath = QString::fromLatin1(rig->mouse->commandPath());
    entry.secondaryPath = QString::fromLatin1(rig->mouse->eventPath());
    rig->session.useDevice(entry);
    rig->session.view().setFileChooser(&rig->chooser);
    // No "virtual." operations: they wait in real time for the listener,
    // which does not run here.
    rig->dispatcher = std::make_unique<CommandDispatcher>(rig->session.view(), rig->session.hid());
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QStringList lines =
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(QLatin1Char('\n'));
    const QString operation = lines.value(0);
    QJsonArray arguments;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QJsonValue value;
        QString error;
        if (!CommandDispatcher::parseArgument(lines.at(i), &value, &error)) {
            FUZZ_CHECK(!error.isEmpty());
            return 0;
        }
        arguments.append(value);
    }
    // A device entry that a failed exchange emptied is found again, as the
    // next device check would.
    rig->session.hid().deviceList[0].primaryPath = QString::fromLatin1(rig->mouse->commandPath());
    QJsonValue result;
    QString error;
    if (!rig->dispatcher->call(operation, arguments, &result, &error))
        FUZZ_CHECK(!error.isEmpty());
    return 0;
}
