#include "ProfileStore.h"

#include "FileChooser.h"
#include "IniValue.h"
#include "SafeFile.h"
#include "SettingsLog.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString globalPath = QStringLiteral("./modules/setting/apConfig.bin");
const QString globalFactoryPath = QStringLiteral("./modules/setting/apConfigD.bin");
const QString factoryPath = QStringLiteral("./modules/setting/pD.bin");
const char* const profileFilter = "Profile(*.pf)";

QString tr(const char* text)
{
    return QCoreApplication::translate("myQQuickView", text);
}

QString desktopFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

} // namespace

ProfileStore::ProfileStore()
    : m_global(std::make_unique<QSettings>(globalPath, QSettings::IniFormat))
    , m_factory(std::make_unique<QSettings>(factoryPath, QSettings::IniFormat))
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
    return QStringLiteral("./modules/setting/p%1.bin").arg(profile + 1);
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

void ProfileStore::setData(const QVariant& key, const QVariant& data)
{
    if (QSettings* store = current("setData"))
        store->setValue(key.toString(), data);
}

void ProfileStore::setDataList(const QVariant& key, const QVariantList& list)
{
    if (QSettings* store = current("setDataList"))
        store->setValue(key.toString(), list);
}

QVariant ProfileStore::getGlobalData(const QVariant& key) const
{
    return m_global->value(key.toString());
}

void ProfileStore::setGlobalData(const QVariant& key, const QVariant& data)
{
    m_global->setValue(key.toString(), data);
}

QVariant ProfileStore::getXYSensitive(const QVariant& index) const
{
    QSettings* store = current("getXYSensitive");
    return store ? store->value(QStringLiteral("XYSensitive/") + index.toString(), 4) : QVariant(4);
}

void ProfileStore::setXYSensitive(const QVariant& index, const QVariant& value)
{
    if (QSettings* store = current("setXYSensitive"))
        store->setValue(QStringLiteral("XYSensitive/") + index.toString(), value);
}

QVariant ProfileStore::getSelectGun(const QVariant& index) const
{
    QSettings* store = current("getselectGun");
    return store ? store->value(QStringLiteral("selectGun/") + index.toString(), QString()) : QVariant(QString());
}

void ProfileStore::setSelectGun(const QVariant& index, const QVariant& value)
{
    if (QSettings* store = current("setSelectGun"))
        store->setValue(QStringLiteral("selectGun/") + index.toString(), value);
}

void ProfileStore::resetApconfig()
{
    // Pending writes of the old store go to the old file first, so none of
    // them lands on the restored file later.
    const QString fileName = m_global->fileName();
    m_global->sync();
    SafeFile::replaceWithCopy(globalFactoryPath, fileName);
    m_global = std::make_unique<QSettings>(globalPath, QSettings::IniFormat);
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
    old->sync();
    if (!SafeFile::replaceWithCopy(source, fileName))
        return false;
    delete old;
    m_profiles[n] = new QSettings(fileName, QSettings::IniFormat);
    return true;
}

bool ProfileStore::loadProfile(int profile, FileChooser& chooser)
{
    const QString file = chooser.openFileName(tr("Open File"), desktopFolder(), tr(profileFilter));
    if (file.isEmpty())
        return false;
    replaceProfile(profile, file);
    return true;
}

void ProfileStore::saveProfile(int profile, FileChooser& chooser)
{
    const QString file = chooser.saveFileName(tr("Save File"), desktopFolder(), tr(profileFilter));
    if (file.isEmpty())
        return;
    // The export holds what the user set a moment ago, not what the store
    // happened to have written so far.
    if (QSettings* store = this->profile(profile))
        store->sync();
    SafeFile::replaceWithCopy(profilePath(profile), file);
}

void ProfileStore::resetProfile(int profile)
{
    replaceProfile(profile, factoryPath);
}

void ProfileStore::copyProfile(int destination, int source)
{
    if (destination == source)
        return;
    QSettings* from = profile(source);
    if (!from) {
        qCDebug(skarnSettings) << "copyProfile: no profile" << source;
        return;
    }
    from->sync();
    replaceProfile(destination, from->fileName());
}
