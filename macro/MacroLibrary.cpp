#include "MacroLibrary.h"

#include "FileChooser.h"
#include "IniValue.h"
#include "SafeFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSettings>
#include <QStandardPaths>

namespace MacroLibrary {

namespace {

Q_LOGGING_CATEGORY(skarnMacro, "skarn.macro")

const char* const macroFilter = "Macro(*.mc)";

QString tr(const char* text)
{
    return QCoreApplication::translate("myQQuickView", text);
}

QString desktopFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
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

bool writeBack(const char* operation, QSettings& settings)
{
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    qCDebug(skarnMacro).nospace() << operation << ": cannot write " << settings.fileName();
    return false;
}

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
    if (name.isEmpty() || name.size() > maxNameLength || name.startsWith(QLatin1Char('.')) ||
        name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')) || name.contains(QLatin1String("..")))
        return false;
    for (QChar c : name)
        if (c.category() == QChar::Other_Control)
            return false;
    return true;
}

QString filePath(const QString& folder, const QString& name)
{
    return isValidName(name) ? folder + QLatin1Char('/') + name + QLatin1String(".bin") : QString();
}

bool createMacroIni(const QString& folder, const QString& name, uint macroIndex)
{
    const QString path = checkedPath("createMacroIni", folder, name);
    if (path.isEmpty())
        return false;
    QDir().mkpath(folder);
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(QStringLiteral("config/index"), macroIndex);
    settings.setValue(QStringLiteral("config/total"), 0);
    settings.setValue(QStringLiteral("config/repeat"), 1);
    settings.setValue(QStringLiteral("config/did"), -1);
    return writeBack("createMacroIni", settings);
}

bool saveMacroIni(const QString& folder, const QString& name, const QStringList& macros, const QVariant& repeat)
{
    const QString path = checkedPath("saveMacroIni", folder, name);
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    QVariant count = repeat;
    if (!count.isValid()) {
        qCDebug(skarnMacro) << "saveMacroIni: no repeat count for" << name << "- 0 stored";
        count = 0;
    }
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

bool modifyMacroNameUpdateProfile(const QString& folder, const QString& oldName, const QString& newName,
                                  const QList<QSettings*>& profiles)
{
    const QString from = checkedPath("modifyMacroNameUpdateProfile", folder, oldName);
    const QString to = checkedPath("modifyMacroNameUpdateProfile", folder, newName);
    if (from.isEmpty() || to.isEmpty() || !QFileInfo(from).isFile())
        return false;
    // Checked here as well as by the rename itself: the profiles must never
    // be pointed at a file that belongs to another macro.
    if (QFileInfo::exists(to)) {
        qCDebug(skarnMacro) << "modifyMacroNameUpdateProfile: a macro" << newName << "exists -" << oldName
                            << "kept";
        return false;
    }
    if (!QFile::rename(from, to)) {
        qCDebug(skarnMacro) << "modifyMacroNameUpdateProfile: cannot rename" << from << "to" << to;
        return false;
    }
    for (QSettings* p : usedProfiles(profiles)) {
        p->beginGroup(QStringLiteral("mouseMacroKey"));
        for (const QString& key : p->childKeys())
            if (IniValue::text(p->value(key)) == oldName)
                p->setValue(key, newName);
        p->endGroup();
    }
    return true;
}

void deleteMacroUpdateProfile(const QString& name, const QList<QSettings*>& profiles, const QSettings& factory)
{
    // An empty name would match every slot that has no name at all.
    if (!isValidName(name)) {
        qCDebug(skarnMacro) << "deleteMacroUpdateProfile: refused macro name" << name << "- nothing done";
        return;
    }
    for (QSettings* p : usedProfiles(profiles)) {
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
            p->setValue(rowKey, factoryRow);
        }
    }
}

void exportMacroFile(const QString& folder, const QString& name, FileChooser& chooser)
{
    const QString path = checkedPath("saveMacroFile", folder, name);
    if (path.isEmpty())
        return;
    const QString target = chooser.saveFileName(tr("Save File"), desktopFolder(), tr(macroFilter));
    if (target.isEmpty())
        return;
    SafeFile::replaceWithCopy(path, target);
}

bool importMacroFile(const QString& folder, const QString& name, FileChooser& chooser)
{
    const QString path = checkedPath("loadMacroFile", folder, name);
    if (path.isEmpty())
        return false;
    const QString source = chooser.openFileName(tr("Open File"), desktopFolder(), tr(macroFilter));
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
