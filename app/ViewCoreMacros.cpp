// The macro library and macro transfer operations of the view.

#include "ViewCore.h"

#include "AppLog.h"
#include "DeviceCommands.h"
#include "LanguageStrings.h"
#include "MacroCodec.h"
#include "MacroLibrary.h"

#include <QSettings>

#include <algorithm>
#include <array>

namespace {

QList<QSettings*> profileStores(const ProfileStore& store)
{
    QList<QSettings*> profiles;
    for (int n = 0; n < ProfileStore::profileCount; ++n)
        profiles.append(store.profile(n));
    return profiles;
}

} // namespace

bool ViewCore::loadMacroFile(QVariant macroFileName)
{
    return MacroLibrary::importMacroFile(MacroLibrary::defaultFolder, macroFileName.toString(), chooser());
}

void ViewCore::saveMacroFile(QVariant macroFileName)
{
    const QString notWritten =
        MacroLibrary::exportMacroFile(MacroLibrary::defaultFolder, macroFileName.toString(), chooser());
    if (!notWritten.isEmpty())
        Q_EMIT saveFailed(notWritten);
}

QVariant ViewCore::createMacroIni(QVariant name, QVariant macroIndex)
{
    return MacroLibrary::createMacroIni(MacroLibrary::defaultFolder, name.toString(), macroIndex.toUInt());
}

QVariant ViewCore::modifyMacroNameUpdateProfile(QVariant oldname, QVariant newname)
{
    return MacroLibrary::modifyMacroNameUpdateProfile(MacroLibrary::defaultFolder, oldname.toString(),
                                                      newname.toString(), profileStores(m_store));
}

void ViewCore::deleteMacroUpdateProfile(QVariant macroName)
{
    const QStringList notSaved =
        MacroLibrary::deleteMacroUpdateProfile(macroName.toString(), profileStores(m_store), m_store.factory());
    // One notification per operation; the debug lines name every file.
    if (!notSaved.isEmpty())
        Q_EMIT saveFailed(notSaved.first());
}

QVariant ViewCore::deleteMacroIni(QVariant name)
{
    return MacroLibrary::deleteMacroIni(MacroLibrary::defaultFolder, name.toString());
}

QVariant ViewCore::saveMacroIni(QVariant name, QStringList macros, QVariant repeat)
{
    return MacroLibrary::saveMacroIni(MacroLibrary::defaultFolder, name.toString(), macros, repeat);
}

// The payload arrives encoded by the page and is copied into the device's
// 128-byte block, zero padded. Values beyond the block are ignored: the
// encoder already keeps a macro within 128 bytes, cut only where every key
// and button it pressed has been released and closed with the end pair, so
// only a payload made elsewhere can be longer. Slots 12 and above have no
// macro on the device: nothing is sent. The result is true whatever happened.
QVariant ViewCore::mouseSendMacroData(QVariantList macroData, QVariant macroIndex)
{
    bool isNumber = false;
    const uint slot = macroIndex.toUInt(&isNumber) & 0xff;
    if (!isNumber) {
        qCDebug(skarnApp) << "mouseSendMacroData: macro slot" << macroIndex << "is not a number - nothing sent";
        return true;
    }
    if (slot >= 12)
        return true;

    std::array<uchar, 128> block{};
    if (macroData.size() > qsizetype(block.size()))
        qCDebug(skarnApp) << "mouseSendMacroData:" << macroData.size() << "values - only the first" << block.size()
                          << "are sent";
    const qsizetype count = std::min(macroData.size(), qsizetype(block.size()));
    bool allNumbers = true;
    for (qsizetype i = 0; i < count; ++i) {
        bool ok = false;
        block[std::size_t(i)] = uchar(macroData.at(i).toInt(&ok));
        allNumbers = allNumbers && ok;
    }
    if (!allNumbers)
        qCDebug(skarnApp) << "mouseSendMacroData: values that are not numbers are sent as 0";

    send(QStringLiteral("macro %1").arg(slot),
         [slot = uchar(slot), block](DeviceCommands& d) { d.sendMacro(slot, block); });
    return true;
}

QStringList ViewCore::loadMacroIni(QVariant name)
{
    return MacroLibrary::loadMacroIni(MacroLibrary::defaultFolder, name.toString());
}

int ViewCore::macroLength(QVariantList steps) const
{
    return MacroCodec::encodedLength(MacroCodec::actionsFromVariants(steps));
}

// The stored repeat count (the last string) plays the macro; the pages'
// language is read as the shell reads it at start-up, so that the key names
// the editor stored the macro with are found.
bool ViewCore::sendStoredMacro(QVariant name, QVariant slot)
{
    bool isNumber = false;
    const uint macroSlot = slot.toUInt(&isNumber) & 0xff;
    if (!isNumber || macroSlot >= 12) {
        qCDebug(skarnApp) << "sendStoredMacro: macro slot" << slot << "has no macro on the device - nothing sent";
        return false;
    }
    const QStringList stored = MacroLibrary::loadMacroIni(MacroLibrary::defaultFolder, name.toString());
    if (stored.isEmpty())
        qCDebug(skarnApp).noquote() << "sendStoredMacro: no stored macro" << name.toString()
                                    << "- an empty macro is sent";
    const QVariant language = getGlobalData(QStringLiteral("common/language"));
    const MacroCodec::KeyLookup keys = MacroCodec::keyNameLookup(LanguageStrings::load(
        QStringLiteral("keyCode"), language.isNull() ? QStringLiteral("ChineseSimplified") : language.toString()));
    const QByteArray payload = MacroCodec::encode(MacroCodec::actionsFromStrings(stored),
                                                  stored.isEmpty() ? QVariant(0) : stored.last(), keys);
    QVariantList values;
    for (const char byte : payload)
        values.append(int(uchar(byte)));
    mouseSendMacroData(values, macroSlot);
    return !stored.isEmpty();
}
