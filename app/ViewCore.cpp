#include "ViewCore.h"

#include "AppLog.h"
#include "FileChooser.h"
#include "Hid_Thread.h"
#include "IniValue.h"
#include "LanguageStrings.h"
#include "NameList.h"

#include <QSettings>
#include <QThread>

namespace {

// A list the pages pass where a single value is taken arrives as a script
// value, which a settings file cannot write (it would store an unreadable
// blob): it is stored as the list it holds. The QML engine provides the
// conversion.
QVariant storableValue(const QVariant& value)
{
    static const QMetaType scriptValue = QMetaType::fromName("QJSValue");
    if (scriptValue.isValid() && value.metaType() == scriptValue &&
        QMetaType::canConvert(scriptValue, QMetaType::fromType<QVariantList>()))
        return value.value<QVariantList>();
    return value;
}

} // namespace

ViewCore::ViewCore(QObject* parent)
    : QObject(parent)
{
    traits.isColorful = IniValue::boolean(getGlobalData(QStringLiteral("mouse/isColorful")));
    traits.isGun = IniValue::boolean(getGlobalData(QStringLiteral("mouse/isGun")));
    traits.commandSet = commandSetOf(IniValue::text(getGlobalData(QStringLiteral("mouse/icType"))));
    traits.is55328 = IniValue::boolean(getGlobalData(QStringLiteral("mouse/is55328")));
    traits.is571 = IniValue::boolean(getGlobalData(QStringLiteral("mouse/is571")));
    m_store.saveFailed = [this](const QString& file) { Q_EMIT saveFailed(file); };
}

ViewCore::~ViewCore() = default;

bool ViewCore::callRoot(const char* name, const QVariantList& args, Qt::ConnectionType type)
{
    return m_callRoot ? m_callRoot(name, args, type) : false;
}

FileChooser& ViewCore::chooser()
{
    static FixedFileChooser cancel;
    return m_chooser ? *m_chooser : cancel;
}

void ViewCore::send(const QString& key, UnitOperation operation)
{
    if (!device)
        return;
    DeviceCommands* unit = device;
    if (hid)
        hid->post(key, [unit, operation = std::move(operation)] { operation(*unit); });
    else
        operation(*unit);
}

void ViewCore::ask(const UnitOperation& operation)
{
    if (!device)
        return;
    DeviceCommands* unit = device;
    if (hid)
        hid->call([unit, &operation] { operation(*unit); });
    else
        operation(*unit);
}

void ViewCore::clearHidBusy()
{
    if (hid)
        hid->hidReady = true;
}

void ViewCore::initUI()
{
    callRoot("initUI", {}, Qt::QueuedConnection);
}

void ViewCore::runUI()
{
    callRoot("run", {}, Qt::QueuedConnection);
}

void ViewCore::resetApconfig()
{
    m_store.resetApconfig();
}

bool ViewCore::loadProfile(int profile)
{
    return m_store.loadProfile(profile, chooser());
}

void ViewCore::saveProfile(int profile)
{
    m_store.saveProfile(profile, chooser());
}

void ViewCore::resetProfile(int profile)
{
    m_store.resetProfile(profile);
}

void ViewCore::copyProfile(int destprofile, int srcprofile)
{
    m_store.copyProfile(destprofile, srcprofile);
}

QStringList ViewCore::getLangStrings(QString typeStr, QString langCode)
{
    return LanguageStrings::load(typeStr, langCode);
}

QVariant ViewCore::updataNameList(QVariant type, QStringList nameList)
{
    return NameList::update(NameList::defaultPath, type.toUInt(), nameList);
}

QVariantList ViewCore::getNameList(QVariant type)
{
    return NameList::get(NameList::defaultPath, type.toUInt());
}

QVariant ViewCore::getXYSensitive(QVariant index)
{
    return m_store.getXYSensitive(index);
}

QVariant ViewCore::getselectGun(QVariant index)
{
    return m_store.getSelectGun(index);
}

void ViewCore::setXYSensitive(QVariant index, QVariant xyData)
{
    m_store.setXYSensitive(index, xyData);
}

void ViewCore::setSelectGun(QVariant index, QVariant xyData)
{
    m_store.setSelectGun(index, xyData);
}

void ViewCore::setCurrentProfile(int profile)
{
    m_store.currentProfile = profile;
}

void ViewCore::openUpdateExe() {}

QVariant ViewCore::getData(QVariant key, bool isRecovery)
{
    return m_store.getData(key, isRecovery);
}

QVariant ViewCore::getGlobalData(QVariant key)
{
    return m_store.getGlobalData(key);
}

QVariantList ViewCore::getDataList(QVariant key, bool isRecovery)
{
    return m_store.getDataList(key, isRecovery);
}

void ViewCore::setData(QVariant key, QVariant data)
{
    m_store.setData(key, storableValue(data));
}

void ViewCore::setGlobalData(QVariant key, QVariant tmpdata)
{
    m_store.setGlobalData(key, storableValue(tmpdata));
}

void ViewCore::setDataList(QVariant key, QVariantList datalist)
{
    m_store.setDataList(key, datalist);
}

void ViewCore::setBusy(int busyTime)
{
    callRoot("setProtectUI", {busyTime}, Qt::DirectConnection);
}

void ViewCore::setCurrentDPI(int dpiValue)
{
    // The listener may call this from its pool thread; the QML engine lives
    // on the GUI thread, so the call is carried there.
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(
            this, [this, dpiValue] { callRoot("setCurrentDPI", {dpiValue}, Qt::DirectConnection); },
            Qt::QueuedConnection);
        return;
    }
    callRoot("setCurrentDPI", {dpiValue}, Qt::DirectConnection);
}
