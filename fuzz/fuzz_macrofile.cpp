// Macro files and macro names. The input is "name" 0x00 "file": the file is
// stored under one valid name and loaded; the name is checked against
// the rules (a valid name's file stays inside the folder) and, when valid,
// used to save and load a macro made from the file's lines.

#include "FuzzSupport.h"
#include "MacroLibrary.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString folder = QStringLiteral("./modules/macro");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray nameBytes;
    QByteArray file;
    FuzzSupport::split(FuzzSupport::bytes(data, size), &nameBytes, &file);

    const QString stored = QStringLiteral("m");
    FuzzSupport::writeInput(MacroLibrary::filePath(folder, stored), file);
    const QStringList loaded = MacroLibrary::loadMacroIni(folder, stored);
    FUZZ_CHECK(loaded.size() <= MacroLibrary::maxEntries + 1);
    MacroLibrary::deleteMacroIni(folder, stored);

    const QString name = QString::fromUtf8(nameBytes);
    const QString path = MacroLibrary::filePath(folder, name);
    FUZZ_CHECK(path.isEmpty() == !MacroLibrary::isValidName(name));
    if (path.isEmpty())
        return 0;
    const QFileInfo info(path);
    FUZZ_CHECK(info.absolutePath() == QFileInfo(folder).absoluteFilePath());
    FUZZ_CHECK(info.fileName() == name + QStringLiteral(".bin"));
    if (MacroLibrary::createMacroIni(folder, name, 3)) {
        const QStringList steps = QString::fromUtf8(file).split(QLatin1Char('\n')).mid(0, 16);
        if (MacroLibrary::saveMacroIni(folder, name, steps, 2)) {
            const QStringList back = MacroLibrary::loadMacroIni(folder, name);
            FUZZ_CHECK(back.size() == steps.size() + 1);
        }
        FUZZ_CHECK(MacroLibrary::deleteMacroIni(folder, name));
    }
    return 0;
}
