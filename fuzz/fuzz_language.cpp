// Language files: every section of any file, and language codes that are
// not names. The input is "code" 0x00 "file"; the file is stored under a
// name of its own in modules/i18n and read through it, then removed, and the
// code itself is tried as a language, which must never read outside
// modules/i18n.

#include "FuzzSupport.h"
#include "LanguageStrings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const char* const sections[] = {"main",         "keyMatrix",   "keyAssigment",  "dpiSetting",
                                "lightControl", "macroEditor", "systemSetting", "gunControl",
                                "profile",      "keyCode",     "other",         "missing"};

} // namespace

void FuzzSupport::prepare()
{
    // A file outside modules/i18n that a code escaping the folder would reach.
    FuzzSupport::writeFile(QStringLiteral("modules/outside.ini"), "[main]\ntotal=1\n0=outside\n");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray code;
    QByteArray file;
    FuzzSupport::split(FuzzSupport::bytes(data, size), &code, &file);
    const QString language = QStringLiteral("lang");
    const QString path = LanguageStrings::filePath(language);
    FuzzSupport::writeInput(path, file);
    for (const char* section : sections) {
        const QStringList texts = LanguageStrings::load(QString::fromLatin1(section), language);
        FUZZ_CHECK(texts.size() <= LanguageStrings::maxTotal);
    }
    // Gone before the code is tried: a code that names it may not find it.
    QFile::remove(path);
    const QString codeText = QString::fromUtf8(code);
    const QStringList other = LanguageStrings::load(QStringLiteral("main"), codeText);
    FUZZ_CHECK(!other.contains(QStringLiteral("outside")));
    return 0;
}
