#include "myQQuickView.h"

#include "AppLog.h"
#include "Globals.h"
#include "DialogFileChooser.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QMetaMethod>
#include <QQmlError>
#include <QQuickItem>
#include <QQuickWindow>

myQQuickView::myQQuickView(QWidget* parent)
    : QQuickWidget(parent)
    , m_dialogs(std::make_unique<DialogFileChooser>(this))
{
    m_core.setRootCaller([this](const char* name, const QVariantList& args, Qt::ConnectionType type) {
        return callRoot(name, args, type);
    });
    m_core.setFileChooser(m_dialogs.get());
    connect(this, &QQuickWidget::statusChanged, this, &myQQuickView::onStatusChanged);
    // The first frame that shows the QML root (it starts invisible and
    // initUI() reveals it) marks the end of a cold start.
    m_firstFrame = connect(quickWindow(), &QQuickWindow::afterRendering, this, [this] {
        if (!rootObject() || !rootObject()->isVisible())
            return;
        disconnect(m_firstFrame);
        qCDebug(skarnApp) << "first frame rendered";
    });
}

myQQuickView::~myQQuickView() = default;

void myQQuickView::onStatusChanged(QQuickWidget::Status status)
{
    if (status != QQuickWidget::Error)
        return;
    for (const QQmlError& error : errors())
        qCWarning(skarnApp).noquote() << error.toString();
}

void myQQuickView::focusInEvent(QFocusEvent* event)
{
    update();
    event->accept();
}

bool myQQuickView::callRoot(const char* name, const QVariantList& args, Qt::ConnectionType type)
{
    QObject* root = rootObject();
    if (!root)
        return false;
    const QMetaObject* meta = root->metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        if (method.methodType() != QMetaMethod::Method && method.methodType() != QMetaMethod::Slot)
            continue;
        if (method.name() != name || method.parameterCount() != args.size())
            continue;
        // Untyped QML parameters are QVariant; typed ones get the value
        // converted to their type.
        QVariantList converted = args;
        QGenericArgument arguments[10];
        if (args.size() > 10)
            return false;
        for (qsizetype a = 0; a < converted.size(); ++a) {
            const QMetaType paramType = method.parameterMetaType(int(a));
            if (paramType.id() == QMetaType::QVariant) {
                arguments[a] = QGenericArgument("QVariant", &converted[a]);
            } else {
                if (!converted[a].convert(paramType))
                    converted[a] = QVariant(paramType);
                arguments[a] = QGenericArgument(paramType.name(), converted[a].constData());
            }
        }
        return method.invoke(root, type, arguments[0], arguments[1], arguments[2], arguments[3],
                             arguments[4], arguments[5], arguments[6], arguments[7], arguments[8],
                             arguments[9]);
    }
    return false;
}

void myQQuickView::clearHidBusy()
{
    m_core.clearHidBusy();
}

void myQQuickView::initUI()
{
    m_core.initUI();
}

void myQQuickView::runUI()
{
    m_core.runUI();
}

void myQQuickView::resetApconfig()
{
    m_core.resetApconfig();
}

bool myQQuickView::loadMacroFile(QVariant macroFileName)
{
    return m_core.loadMacroFile(macroFileName);
}

void myQQuickView::saveMacroFile(QVariant macroFileName)
{
    m_core.saveMacroFile(macroFileName);
}

bool myQQuickView::loadProfile(int profile)
{
    return m_core.loadProfile(profile);
}

void myQQuickView::saveProfile(int profile)
{
    m_core.saveProfile(profile);
}

void myQQuickView::resetProfile(int profile)
{
    m_core.resetProfile(profile);
}

void myQQuickView::copyProfile(int destprofile, int srcprofile)
{
    m_core.copyProfile(destprofile, srcprofile);
}

QStringList myQQuickView::getLangStrings(QString typeStr, QString langCode)
{
    return m_core.getLangStrings(typeStr, langCode);
}

QVariant myQQuickView::createMacroIni(QVariant name, QVariant macroIndex)
{
    return m_core.createMacroIni(name, macroIndex);
}

QVariant myQQuickView::updataNameList(QVariant type, QStringList nameList)
{
    return m_core.updataNameList(type, nameList);
}

QVariant myQQuickView::modifyMacroNameUpdateProfile(QVariant oldname, QVariant newname)
{
    return m_core.modifyMacroNameUpdateProfile(oldname, newname);
}

void myQQuickView::deleteMacroUpdateProfile(QVariant macroName)
{
    m_core.deleteMacroUpdateProfile(macroName);
}

QVariant myQQuickView::deleteMacroIni(QVariant name)
{
    return m_core.deleteMacroIni(name);
}

QVariantList myQQuickView::getNameList(QVariant type)
{
    return m_core.getNameList(type);
}

QVariant myQQuickView::saveMacroIni(QVariant name, QStringList macros, QVariant repeat)
{
    return m_core.saveMacroIni(name, macros, repeat);
}

QVariant myQQuickView::mouseSendMacroData(QVariantList macroData, QVariant macroIndex)
{
    return m_core.mouseSendMacroData(macroData, macroIndex);
}

QStringList myQQuickView::loadMacroIni(QVariant name)
{
    return m_core.loadMacroIni(name);
}

void myQQuickView::mouseSaveGundata(QVariant index, QVariantList src6)
{
    m_core.mouseSaveGundata(index, src6);
}

void myQQuickView::mouseSendGundata(int gunIndex, QVariantList src6)
{
    m_core.mouseSendGundata(gunIndex, src6);
}

void myQQuickView::modifyGundata(QVariant modifyType, QVariantList src6)
{
    m_core.modifyGundata(modifyType, src6);
}

QVariantList myQQuickView::getGunData(QVariant name)
{
    return m_core.getGunData(name);
}

QStringList myQQuickView::getGunDataKey()
{
    return m_core.getGunDataKey();
}

QVariant myQQuickView::getXYSensitive(QVariant index)
{
    return m_core.getXYSensitive(index);
}

QVariant myQQuickView::getselectGun(QVariant index)
{
    return m_core.getselectGun(index);
}

void myQQuickView::setXYSensitive(QVariant index, QVariant xyData)
{
    m_core.setXYSensitive(index, xyData);
}

void myQQuickView::setSelectGun(QVariant index, QVariant xyData)
{
    m_core.setSelectGun(index, xyData);
}

void myQQuickView::setCurrentProfile(int profile)
{
    m_core.setCurrentProfile(profile);
}

void myQQuickView::mouseSetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    m_core.mouseSetKeyboardoption(byte1, byte2, byte3, byte4);
}

void myQQuickView::mouseSetReportRate(uchar rate)
{
    m_core.mouseSetReportRate(rate);
}

void myQQuickView::mouseSetCurrentDPI(uchar currentDPI)
{
    m_core.mouseSetCurrentDPI(currentDPI);
}

void myQQuickView::mouseResetKeyMatrix()
{
    m_core.mouseResetKeyMatrix();
}

QVariant myQQuickView::mouseGetCurrentDPI()
{
    return m_core.mouseGetCurrentDPI();
}

void myQQuickView::mouseSetKeyMatrix(QVariantList src64, bool isSendData, QVariantList otherParam)
{
    m_core.mouseSetKeyMatrix(src64, isSendData, otherParam);
}

void myQQuickView::mouseSetDpi(int dpiCount, QString sensorType, QVariantList dpiValueArray)
{
    m_core.mouseSetDpi(dpiCount, sensorType, dpiValueArray);
}

void myQQuickView::mouseSetRGBEffect(uchar effect, uchar option1, uchar option2)
{
    m_core.mouseSetRGBEffect(effect, option1, option2);
}

void myQQuickView::mouseSetRGBColor(uchar type, QVariantList src24)
{
    m_core.mouseSetRGBColor(type, src24);
}

void myQQuickView::mouseSetFixColor(QVariantList src3)
{
    m_core.mouseSetFixColor(src3);
}

void myQQuickView::mouseSetProfile(uint profileNo)
{
    m_core.mouseSetProfile(profileNo);
}

void myQQuickView::mouseReadProfile(uint profileNo)
{
    m_core.mouseReadProfile(profileNo);
}

QVariant myQQuickView::mouseReadCurrentProfile()
{
    return m_core.mouseReadCurrentProfile();
}

void myQQuickView::mouseSwitchKeyMatrix(int indexNo)
{
    m_core.mouseSwitchKeyMatrix(indexNo);
}

QVariantList myQQuickView::GetKeyboardoption()
{
    return m_core.GetKeyboardoption();
}

void myQQuickView::mouseSetCursorSpeed(uint cursorSpeed)
{
    m_core.mouseSetCursorSpeed(cursorSpeed);
}

void myQQuickView::mouseSetVerticalScrollLines(uint lines)
{
    m_core.mouseSetVerticalScrollLines(lines);
}

void myQQuickView::mouseSetDoubleClickSpeed(uint speed)
{
    m_core.mouseSetDoubleClickSpeed(speed);
}

QVariantList myQQuickView::mouseGetKeydefine(QVariant index, bool isRecovery)
{
    return m_core.mouseGetKeydefine(index, isRecovery);
}

void myQQuickView::openUpdateExe()
{
    m_core.openUpdateExe();
}

QVariant myQQuickView::getData(QVariant key, bool isRecovery)
{
    return m_core.getData(key, isRecovery);
}

QVariant myQQuickView::getGlobalData(QVariant key)
{
    return m_core.getGlobalData(key);
}

QVariantList myQQuickView::getDataList(QVariant key, bool isRecovery)
{
    return m_core.getDataList(key, isRecovery);
}

void myQQuickView::setData(QVariant key, QVariant data)
{
    m_core.setData(key, data);
}

void myQQuickView::setGlobalData(QVariant key, QVariant tmpdata)
{
    m_core.setGlobalData(key, tmpdata);
}

void myQQuickView::setDataList(QVariant key, QVariantList datalist)
{
    m_core.setDataList(key, datalist);
}

void myQQuickView::setBusy(int busyTime)
{
    m_core.setBusy(busyTime);
}

void myQQuickView::setCurrentDPI(int dpiValue)
{
    m_core.setCurrentDPI(dpiValue);
}
