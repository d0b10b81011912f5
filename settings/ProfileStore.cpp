#include "ProfileStore.h"

#include "DataPaths.h"
#include "FileChooser.h"
#include "IniValue.h"
#include "SafeFile.h"
#include "SettingsLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

const char* const profileFilter = "Profile(*.pf)";

QString tr(const char* text)
{
    return QCoreApplication::translate("myQQuickView", text);
}

// The profile list in name.bin (the name list of type 2).
const char* const profileNamesKey = "profile/profileName";

bool unsafeInFileName(QChar c)
{
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate: // a lone half of a pair
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return c == QLatin1Char('/') || c == QLatin1Char('\\');
    }
}

} // namespace

QString ExportFile::startFolder(const QString& desktop, const QString& home)
{
    return !desktop.isEmpty() && QFileInfo(desktop).isDir() ? desktop : home;
}

QString ExportFile::startFolder()
{
    return startFolder(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation), QDir::homePath());
}

QString ExportFile::suggestedPath(const QString& folder, const QString& name, const QString& fallback,
                                  const QString& extension)
{
    QString base;
    for (qsizetype i = 0; i < name.size(); ++i) {
        // A valid pair stays whole; the category of either half alone says
        // surrogate.
        if (name.at(i).isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            base += name.mid(i, 2);
            ++i;
            continue;
        }
        base += unsafeInFileName(name.at(i)) ? QLatin1Char('_') : name.at(i);
    }
    base = base.trimmed();
    while (base.startsWith(QLatin1Char('.')))
        base.remove(0, 1);
    base = base.trimmed();
    if (base.isEmpty())
        base = fallback;
    // Whole characters come off the end until the name fits.
    const qsizetype room = 255 - extension.toUtf8().size();
    while (base.toUtf8().size() > room)
        base.chop(base.size() > 1 && base.back().isLowSurrogate() ? 2 : 1);
    return QDir(folder).filePath(base + extension);
}

ProfileStore::ProfileStore()
    : m_global(std::make_unique<QSettings>(DataPath::apConfig, QSettings::IniFormat))
    , m_factory(std::make_unique<QSettings>(DataPath::factoryProfile, QSettings::IniFormat))
{
    for (int n = 0; n < profileCount; ++n)
        m_profiles.append(new QSettings(profilePath(n), QSettings::IniFormat));
}

ProfileStore::~ProfileStore()
{
    qDeleteAll(m_profiles);
}

QString ProfileStore::profilePath(int profile)
{
    return DataPath::profile(profile);
}

QString ProfileStore::exportName(const QVariantList& profileNames, int profile)
{
    if (profile < 0 || profile > 9)
        return QString();
    const QChar digit(QLatin1Char(char('0' + profile)));
    for (const QVariant& entry : profileNames) {
        const QString text = entry.toString();
        if (text.size() > 1 && text.back() == digit)
            return text.chopped(1);
    }
    return QString();
}

QSettings* ProfileStore::profile(int n) const
{
    return n >= 0 && n < m_profiles.size() ? m_profiles.at(n) : nullptr;
}

QSettings* ProfileStore::current(const char* operation) const
{
    QSettings* store = profile(currentProfile);
    if (!store)
        qCDebug(skarnSettings) << operation << ": current profile" << currentProfile
                               << "is not 0..9 - nothing read or written";
    return store;
}

QVariant ProfileStore::getData(const QVariant& key, bool isRecovery) const
{
    if (isRecovery)
        return m_factory->value(key.toString());
    QSettings* store = current("getData");
    return store ? store->value(key.toString()) : QVariant();
}

QVariantList ProfileStore::getDataList(const QVariant& key, bool isRecovery) const
{
    if (isRecovery)
        return IniValue::list(m_factory->value(key.toString()));
    QSettings* store = current("getDataList");
    return store ? IniValue::list(store->value(key.toString())) : QVariantList();
}

bool ProfileStore::write(QSettings* store, const QString& key, const QVariant& value)
{
    // The store is changed only when the file can take the change, and the
    // change is written back at once: a store that holds an unsaved change
    // would write it later on its own, and on a full disk that write empties
    // the file without an error.
    if (SafeFile::hasRoomFor(store->fileName(), SafeFile::textEstimate(key, value))) {
        store->setValue(key, value);
        if (SafeFile::writeBack(*store))
            return true;
    }
    report(store->fileName());
    return false;
}

void ProfileStore::report(const QString& file) const
{
    qCDebug(skarnSettings) << "not saved:" << file;
    if (saveFailed)
        saveFailed(file);
}

bool ProfileStore::setData(const QVariant& key, const QVariant& data)
{
    QSettings* store = current("setData");
    return store && write(store, key.toString(), data);
}

bool ProfileStore::setDataList(const QVariant& key, const QVariantList& list)
{
    QSettings* store = current("setDataList");
    return store && write(store, key.toString(), list);
}

QVariant ProfileStore::getGlobalData(const QVariant& key) const
{
    return m_global->value(key.toString());
}

bool ProfileStore::setGlobalData(const QVariant& key, const QVariant& data)
{
    return write(m_global.get(), key.toString(), data);
}

QVariant ProfileStore::getXYSensitive(const QVariant& index) const
{
    QSettings* store = current("getXYSensitive");
    return store ? store->value(QStringLiteral("XYSensitive/") + index.toString(), 4) : QVariant(4);
}

bool ProfileStore::setXYSensitive(const QVariant& index, const QVariant& value)
{
    QSettings* store = current("setXYSensitive");
    return store && write(store, QStringLiteral("XYSensitive/") + index.toString(), value);
}

QVariant ProfileStore::getSelectGun(const QVariant& index) const
{
    QSettings* store = current("getselectGun");
    return store ? store->value(QStringLiteral("selectGun/") + index.toString(), QString()) : QVariant(QString());
}

bool ProfileStore::setSelectGun(const QVariant& index, const QVariant& value)
{
    QSettings* store = current("setSelectGun");
    return store && write(store, QStringLiteral("selectGun/") + index.toString(), value);
}

bool ProfileStore::resetApconfig()
{
    // Pending writes of the old store go to the old file first, so none of
    // them lands on the restored file later.
    const QString fileName = m_global->fileName();
    SafeFile::writeBack(*m_global);
    if (!SafeFile::replaceWithCopy(DataPath::apConfigFactory, fileName)) {
        report(fileName);
        return false;
    }
    m_global = std::make_unique<QSettings>(DataPath::apConfig, QSettings::IniFormat);
    return true;
}

bool ProfileStore::replaceProfile(int n, const QString& source)
{
    QSettings* old = profile(n);
    if (!old) {
        qCDebug(skarnSettings) << "no profile" << n << "to replace";
        return false;
    }
    const QString fileName = old->fileName();
    // Whatever the old store still holds is written to the old file now, so
    // it cannot be flushed over the new content when the store goes.
    SafeFile::writeBack(*old);
    if (!SafeFile::replaceWithCopy(source, fileName))
        return false;
    delete old;
    m_profiles[n] = new QSettings(fileName, QSettings::IniFormat);
    return true;
}

bool ProfileStore::loadProfile(int profile, FileChooser& chooser)
{
    const QString file = chooser.openFileName(tr("Open File"), ExportFile::startFolder(), tr(profileFilter));
    if (file.isEmpty())
        return false;
    // Only a regular file of a sensible size is read at all: a device or a
    // pipe could block or never end, and no profile comes near a megabyte.
    const QFileInfo info(file);
    if (!info.isFile() || info.size() > maxImportBytes) {
        qCDebug(skarnSettings) << "loadProfile:" << file << "is not a file of at most" << maxImportBytes
                               << "bytes - profile" << profile << "kept";
        return false;
    }
    const QSettings chosen(file, QSettings::IniFormat);
    if (chosen.status() != QSettings::NoError || !chosen.childGroups().contains(QStringLiteral("mouse"))) {
        qCDebug(skarnSettings) << "loadProfile:" << file << "is not a profile (no mouse group) - profile" << profile
                               << "kept";
        return false;
    }
    return replaceProfile(profile, file);
}

bool ProfileStore::saveProfile(int profile, FileChooser& chooser)
{
    const QSettings names(DataPath::nameList, QSettings::IniFormat);
    const QString name = exportName(IniValue::list(names.value(QLatin1String(profileNamesKey))), profile);
    const QString fallback =
        profile >= 0 && profile < profileCount ? QStringLiteral("p%1").arg(profile + 1) : QStringLiteral("profile");
    const QString file = chooser.saveFileName(
        tr("Save File"), ExportFile::suggestedPath(ExportFile::startFolder(), name, fallback, QStringLiteral(".pf")),
        tr(profileFilter));
    if (file.isEmpty())
        return true;
    // The export holds what the user set a moment ago, not what the store
    // happened to have written so far.
    if (QSettings* store = this->profile(profile))
        SafeFile::writeBack(*store);
    if (!SafeFile::replaceWithCopy(profilePath(profile), file)) {
        report(file);
        return false;
    }
    if (exported)
        exported(file);
    return true;
}

bool ProfileStore::resetProfile(int profile)
{
    if (replaceProfile(profile, DataPath::factoryProfile))
        return true;
    if (this->profile(profile))
        report(profilePath(profile));
    return false;
}

bool ProfileStore::copyProfile(int destination, int source)
{
    if (destination == source)
        return true;
    QSettings* from = profile(source);
    if (!from) {
        qCDebug(skarnSettings) << "copyProfile: no profile" << source;
        return false;
    }
    SafeFile::writeBack(*from);
    if (replaceProfile(destination, from->fileName()))
        return true;
    if (profile(destination))
        report(profilePath(destination));
    return false;
}
