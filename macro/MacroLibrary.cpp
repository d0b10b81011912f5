#include "MacroLibrary.h"

#include "FileChooser.h"
#include "IniValue.h"
#include "ProfileStore.h"
#include "SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSettings>

namespace MacroLibrary {

namespace {

Q_LOGGING_CATEGORY(skarnMacro, "skarn.macro")

const char* const macroFilter = "Macro(*.mc)";

QString tr(const char* text)
{
    return QCoreApplication::translate("myQQuickView", text);
}

// The macro's file, or empty (with a debug line naming the operation) when
// the name is refused.
QString checkedPath(const char* operation, const QString& folder, const QString& name)
{
    const QString path = filePath(folder, name);
    if (path.isEmpty())
        qCDebug(skarnMacro).nospace() << operation << ": refused macro name " << name << " - nothing done";
    return path;
}

// The same for a macro file that is created or written: the name must leave
// room for the files made beside it.
QString writablePath(const char* operation, const QString& folder, const QString& name)
{
    const QString path = checkedPath(operation, folder, name);
    if (path.isEmpty() || name.toUtf8().size() <= maxNameBytes)
        return path;
    qCDebug(skarnMacro).nospace() << operation << ": refused macro name " << name << " - longer than " << maxNameBytes
                                  << " bytes, nothing written";
    return {};
}

bool writeBack(const char* operation, QSettings& settings)
{
    if (SafeFile::writeBack(settings))
        return true;
    qCDebug(skarnMacro).nospace() << operation << ": cannot write " << settings.fileName();
    return false;
}

// Whether the store's file can take changes of about addedBytes; the store
// must not be changed otherwise (see SafeFile::hasRoomFor).
bool hasRoom(const char* operation, const QString& path, qint64 addedBytes)
{
    if (SafeFile::hasRoomFor(path, addedBytes))
        return true;
    qCDebug(skarnMacro).nospace() << operation << ": no room to write " << path << " - nothing changed";
    return false;
}

bool isRefusedCharacter(char32_t c)
{
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x2028 || c == 0x2029 ||
           QChar::category(c) == QChar::Other_Control;
}

#ifdef Q_OS_WIN
bool isReservedOnWindows(const QString& name)
{
    for (QChar c : QStringLiteral(":*?\"<>|"))
        if (name.contains(c))
            return true;
    // The device names are reserved with any extension, in any case.
    const QString base = name.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QStringList devices{QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                     QStringLiteral("NUL")};
    if (devices.contains(base))
        return true;
    return base.size() == 4 && (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT"))) &&
           base.at(3) >= QLatin1Char('1') && base.at(3) <= QLatin1Char('9');
}
#endif

// An action string as stored. The editor's strings are written quoted, but a
// hand-made or imported file may hold "1,A" unquoted, which reads back as a
// list: joined with the bare comma it is the original text again.
QString actionText(const QVariant& value)
{
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return IniValue::text(value);
}

QList<QSettings*> usedProfiles(const QList<QSettings*>& profiles)
{
    QList<QSettings*> used;
    for (QSettings* p : profiles.mid(0, profilesUsed))
        if (p)
            used.append(p);
    return used;
}

} // namespace

bool isValidName(const QString& name)
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return false;
    // A lone surrogate would be written as "?" and name another macro's file.
    const QByteArray utf8 = name.toUtf8();
    if (utf8.size() > maxStoredNameBytes || QString::fromUtf8(utf8) != name)
        return false;
    for (char32_t c : name.toUcs4())
        if (isRefusedCharacter(c))
            return false;
#ifdef Q_OS_WIN
    if (isReservedOnWindows(name))
        return false;
#endif
    return true;
}

QString filePath(const QString& folder, const QString& name)
{
    return isValidName(name) ? folder + QLatin1Char('/') + name + QLatin1String(".bin") : QString();
}

bool createMacroIni(const QString& folder, const QString& name, uint macroIndex)
{
    const QString path = writablePath("createMacroIni", folder, name);
    if (path.isEmpty())
        return false;
    QDir().mkpath(folder);
    if (!hasRoom("createMacroIni", path, 256))
        return false;
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(QStringLiteral("config/index"), macroIndex);
    settings.setValue(QStringLiteral("config/total"), 0);
    settings.setValue(QStringLiteral("config/repeat"), 1);
    settings.setValue(QStringLiteral("config/did"), -1);
    return writeBack("createMacroIni", settings);
}

bool saveMacroIni(const QString& folder, const QString& name, const QStringList& macros, const QVariant& repeat)
{
    const QString path = writablePath("saveMacroIni", folder, name);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    QVariant count = repeat;
    if (!count.isValid()) {
        qCDebug(skarnMacro) << "saveMacroIni: no repeat count for" << name << "- 0 stored";
        count = 0;
    }
    qint64 added = SafeFile::textEstimate(QStringLiteral("config/repeat"), count);
    for (const QString& m : macros)
        added += SafeFile::textEstimate(QStringLiteral("macro/0000"), m);
    if (!hasRoom("saveMacroIni", path, added))
        return false;
    QSettings settings(path, QSettings::IniFormat);
    settings.remove(QStringLiteral("macro"));
    settings.setValue(QStringLiteral("config/total"), int(macros.size()));
    settings.setValue(QStringLiteral("config/repeat"), count);
    for (int i = 0; i < macros.size(); ++i)
        settings.setValue(QStringLiteral("macro/%1").arg(i), macros.at(i));
    return writeBack("saveMacroIni", settings);
}

QStringList loadMacroIni(const QString& folder, const QString& name)
{
    const QString path = checkedPath("loadMacroIni", folder, name);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return {};
    const QSettings settings(path, QSettings::IniFormat);
    int total = IniValue::decimal(settings.value(QStringLiteral("config/total")));
    if (total > maxEntries) {
        qCDebug(skarnMacro) << "loadMacroIni:" << name << "claims" << total << "entries - reading" << maxEntries;
        total = maxEntries;
    }
    QStringList result;
    for (int i = 0; i < total; ++i) {
        const QVariant entry = settings.value(QStringLiteral("macro/%1").arg(i));
        result << (entry.isValid() ? actionText(entry) : QStringLiteral("0"));
    }
    const QVariant repeat = settings.value(QStringLiteral("config/repeat"));
    result << (repeat.isValid() ? IniValue::text(repeat) : QStringLiteral("0"));
    return result;
}

bool deleteMacroIni(const QString& folder, const QString& name)
{
    const QString path = checkedPath("deleteMacroIni", folder, name);
    return !path.isEmpty() && QFileInfo::exists(path) && QFile::remove(path);
}

namespace {

// The mouseMacroKey entries of store that name name.
QStringList keysNaming(QSettings& store, const QString& name)
{
    QStringList keys;
    store.beginGroup(QStringLiteral("mouseMacroKey"));
    for (const QString& key : store.childKeys())
        if (IniValue::text(store.value(key)) == name)
            keys << QStringLiteral("mouseMacroKey/") + key;
    store.endGroup();
    return keys;
}

void setAll(QSettings& store, const QStringList& keys, const QString& value)
{
    for (const QString& key : keys)
        store.setValue(key, value);
}

} // namespace

bool modifyMacroNameUpdateProfile(const QString& folder, const QString& oldName, const QString& newName,
                                  const QList<QSettings*>& profiles)
{
    const char* const operation = "modifyMacroNameUpdateProfile";
    const QString from = checkedPath(operation, folder, oldName);
    const QString to = writablePath(operation, folder, newName);
    if (from.isEmpty() || to.isEmpty() || !QFileInfo(from).isFile())
        return false;
    // Checked here as well as by the rename itself: the profiles must never
    // be pointed at a file that belongs to another macro.
    if (QFileInfo::exists(to)) {
        qCDebug(skarnMacro) << "modifyMacroNameUpdateProfile: a macro" << newName << "exists -" << oldName << "kept";
        return false;
    }
    const QList<QSettings*> used = usedProfiles(profiles);
    QList<QStringList> changes;
    for (QSettings* p : used) {
        changes.append(keysNaming(*p, oldName));
        const qint64 added =
            changes.last().size() * SafeFile::textEstimate(QStringLiteral("mouseMacroKey/00"), newName);
        if (!changes.last().isEmpty() && !hasRoom(operation, p->fileName(), added))
            return false;
    }
    if (!QFile::rename(from, to)) {
        qCDebug(skarnMacro) << "modifyMacroNameUpdateProfile: cannot rename" << from << "to" << to;
        return false;
    }
    for (qsizetype i = 0; i < used.size(); ++i) {
        if (changes.at(i).isEmpty())
            continue;
        setAll(*used.at(i), changes.at(i), newName);
        if (writeBack(operation, *used.at(i)))
            continue;
        // The profiles and the file must never disagree: every profile goes
        // back to the old name, and so does the file.
        for (qsizetype k = 0; k <= i; ++k) {
            setAll(*used.at(k), changes.at(k), oldName);
            writeBack(operation, *used.at(k));
        }
        if (!QFile::rename(to, from))
            qCDebug(skarnMacro) << "modifyMacroNameUpdateProfile: cannot rename" << to << "back to" << from;
        qCDebug(skarnMacro) << "modifyMacroNameUpdateProfile:" << used.at(i)->fileName() << "not saved -" << oldName
                            << "kept";
        return false;
    }
    return true;
}

QStringList deleteMacroUpdateProfile(const QString& name, const QList<QSettings*>& profiles, const QSettings& factory)
{
    // An empty name would match every slot that has no name at all.
    if (!isValidName(name)) {
        qCDebug(skarnMacro) << "deleteMacroUpdateProfile: refused macro name" << name << "- nothing done";
        return {};
    }
    QStringList notSaved;
    for (QSettings* p : usedProfiles(profiles)) {
        QList<std::pair<QString, QVariantList>> rows;
        for (int k = 0; k < buttonCount; ++k) {
            const QString rowKey = QStringLiteral("mouseKeyMatrix/%1").arg(k);
            const QVariantList row = IniValue::list(p->value(rowKey));
            if (row.isEmpty() || IniValue::decimal(row.at(0)) != 4)
                continue;
            if (row.size() < 3) {
                qCDebug(skarnMacro) << "deleteMacroUpdateProfile:" << p->fileName() << rowKey << "is malformed - kept";
                continue;
            }
            const QString slotKey = QStringLiteral("mouseMacroKey/%1").arg(IniValue::decimal(row.at(2)));
            if (IniValue::text(p->value(slotKey)) != name)
                continue;
            const QVariantList factoryRow = IniValue::list(factory.value(rowKey));
            if (factoryRow.isEmpty()) {
                qCDebug(skarnMacro) << "deleteMacroUpdateProfile: no factory row" << rowKey << "-" << p->fileName()
                                    << "keeps its row";
                continue;
            }
            rows.append({rowKey, factoryRow});
        }
        if (rows.isEmpty())
            continue;
        qint64 added = 0;
        for (const auto& [key, row] : rows)
            added += SafeFile::textEstimate(key, row);
        if (!hasRoom("deleteMacroUpdateProfile", p->fileName(), added)) {
            notSaved << p->fileName();
            continue;
        }
        for (const auto& [key, row] : rows)
            p->setValue(key, row);
        if (!writeBack("deleteMacroUpdateProfile", *p))
            notSaved << p->fileName();
    }
    return notSaved;
}

QString exportMacroFile(const QString& folder, const QString& name, FileChooser& chooser)
{
    const QString path = checkedPath("saveMacroFile", folder, name);
    if (path.isEmpty())
        return {};
    const QString target = chooser.saveFileName(
        tr("Save File"),
        ExportFile::suggestedPath(ExportFile::startFolder(), name, QStringLiteral("macro"), QStringLiteral(".mc")),
        tr(macroFilter));
    if (target.isEmpty() || SafeFile::replaceWithCopy(path, target))
        return {};
    return target;
}

bool importMacroFile(const QString& folder, const QString& name, FileChooser& chooser)
{
    const QString path = writablePath("loadMacroFile", folder, name);
    if (path.isEmpty())
        return false;
    const QString source = chooser.openFileName(tr("Open File"), ExportFile::startFolder(), tr(macroFilter));
    if (source.isEmpty())
        return false;
    if (QFileInfo::exists(path)) {
        qCDebug(skarnMacro) << "loadMacroFile: a macro" << name << "exists - kept, nothing imported";
        return true;
    }
    QDir().mkpath(folder);
    // A copy that fails leaves no file, and the false result lets the page
    // create an empty macro instead of listing one that has no file.
    if (!SafeFile::replaceWithCopy(source, path)) {
        qCDebug(skarnMacro) << "loadMacroFile: nothing imported from" << source;
        return false;
    }
    return true;
}

} // namespace MacroLibrary
