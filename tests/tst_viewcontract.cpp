#include "TestSupport.h"
#include "Ui_Controler.h"
#include "ViewCore.h"
#include "myQQuickView.h"

#include <QMetaMethod>
#include <QTest>

// The contract with the pages: ui_View's operations, in their meta-object
// order, with their names, parameter types and result types; ui_Ctl's slots.
// The pages call them by name; the command line by index and name.
namespace {

struct Operation
{
    const char* result;
    const char* signature;
};

// Index = place in the meta-object.
const Operation expectedOperations[] = {
    {"void", "clearHidBusy()"},
    {"void", "initUI()"},
    {"void", "runUI()"},
    {"void", "resetApconfig()"},
    {"bool", "loadMacroFile(QVariant)"},
    {"void", "saveMacroFile(QVariant)"},
    {"bool", "loadProfile(int)"},
    {"void", "saveProfile(int)"},
    {"void", "resetProfile(int)"},
    {"void", "copyProfile(int,int)"},
    {"QStringList", "getLangStrings(QString,QString)"},
    {"QVariant", "createMacroIni(QVariant,QVariant)"},
    {"QVariant", "updataNameList(QVariant,QStringList)"},
    {"QVariant", "modifyMacroNameUpdateProfile(QVariant,QVariant)"},
    {"void", "deleteMacroUpdateProfile(QVariant)"},
    {"QVariant", "deleteMacroIni(QVariant)"},
    {"QVariantList", "getNameList(QVariant)"},
    {"QVariant", "saveMacroIni(QVariant,QStringList,QVariant)"},
    {"QVariant", "mouseSendMacroData(QVariantList,QVariant)"},
    {"QStringList", "loadMacroIni(QVariant)"},
    {"void", "mouseSaveGundata(QVariant,QVariantList)"},
    {"void", "mouseSendGundata(int,QVariantList)"},
    {"void", "modifyGundata(QVariant,QVariantList)"},
    {"QVariantList", "getGunData(QVariant)"},
    {"QStringList", "getGunDataKey()"},
    {"QVariant", "getXYSensitive(QVariant)"},
    {"QVariant", "getselectGun(QVariant)"},
    {"void", "setXYSensitive(QVariant,QVariant)"},
    {"void", "setSelectGun(QVariant,QVariant)"},
    {"void", "setCurrentProfile(int)"},
    {"void", "mouseSetKeyboardoption(uchar,uchar,uchar,uchar)"},
    {"void", "mouseSetReportRate(uchar)"},
    {"void", "mouseSetCurrentDPI(uchar)"},
    {"void", "mouseResetKeyMatrix()"},
    {"QVariant", "mouseGetCurrentDPI()"},
    {"void", "mouseSetKeyMatrix(QVariantList,bool,QVariantList)"},
    {"void", "mouseSetDpi(int,QString,QVariantList)"},
    {"void", "mouseSetRGBEffect(uchar,uchar,uchar)"},
    {"void", "mouseSetRGBColor(uchar,QVariantList)"},
    {"void", "mouseSetFixColor(QVariantList)"},
    {"void", "mouseSetProfile(uint)"},
    {"void", "mouseReadProfile(uint)"},
    {"QVariant", "mouseReadCurrentProfile()"},
    {"void", "mouseSwitchKeyMatrix(int)"},
    {"QVariantList", "GetKeyboardoption()"},
    {"void", "mouseSetCursorSpeed(uint)"},
    {"void", "mouseSetVerticalScrollLines(uint)"},
    {"void", "mouseSetDoubleClickSpeed(uint)"},
    {"QVariantList", "mouseGetKeydefine(QVariant,bool)"},
    {"void", "openUpdateExe()"},
    {"QVariant", "getData(QVariant,bool)"},
    {"QVariant", "getGlobalData(QVariant)"},
    {"QVariantList", "getDataList(QVariant,bool)"},
    {"void", "setData(QVariant,QVariant)"},
    {"void", "setGlobalData(QVariant,QVariant)"},
    {"void", "setDataList(QVariant,QVariantList)"},
    {"void", "setBusy(int)"},
    {"void", "setCurrentDPI(int)"},
};

QList<QPair<QString, QString>> ownMethods(const QMetaObject& mo)
{
    QList<QPair<QString, QString>> result;
    for (int i = mo.methodOffset(); i < mo.methodCount(); ++i) {
        const QMetaMethod m = mo.method(i);
        if (m.access() != QMetaMethod::Public || m.methodType() == QMetaMethod::Signal ||
            m.methodType() == QMetaMethod::Constructor)
            continue;
        result.append({QString::fromLatin1(m.typeName()), QString::fromLatin1(m.methodSignature())});
    }
    return result;
}

} // namespace

class TestViewContract : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void viewOperations();
    void operationsDeclaredOnce();
    void controllerSlots();
};

// ui_View is the ViewCore: the operations as slots, in order, then
// setEnabled(bool) for the pages' input lock. That one is invokable but not a
// slot, so the command line (which lists and calls slots) does not offer it.
void TestViewContract::viewOperations()
{
    const QMetaObject& mo = ViewCore::staticMetaObject;
    const auto methods = ownMethods(mo);
    QCOMPARE(qsizetype(std::size(expectedOperations)), 58);
    QCOMPARE(methods.size(), qsizetype(std::size(expectedOperations)) + 1);
    for (qsizetype i = 0; i < methods.size() - 1; ++i) {
        QCOMPARE(methods.at(i).second, QString::fromLatin1(expectedOperations[i].signature));
        QCOMPARE(methods.at(i).first, QString::fromLatin1(expectedOperations[i].result));
        QCOMPARE(mo.method(mo.indexOfMethod(expectedOperations[i].signature)).methodType(), QMetaMethod::Slot);
    }
    QCOMPARE(methods.last(), (QPair<QString, QString>{"void", "setEnabled(bool)"}));
    QCOMPARE(mo.method(mo.indexOfMethod("setEnabled(bool)")).methodType(), QMetaMethod::Method);
}

// The widget hosts the pages but declares no operation of its own, so none
// can drift from the ViewCore's.
void TestViewContract::operationsDeclaredOnce()
{
    const QMetaObject& mo = myQQuickView::staticMetaObject;
    QCOMPARE(mo.methodCount(), mo.methodOffset());
}

void TestViewContract::controllerSlots()
{
    const auto methods = ownMethods(Ui_Controler::staticMetaObject);
    const QList<QPair<QString, QString>> expected{{"void", "onMinimize()"},    {"void", "onClose()"},
                                                  {"void", "onXChanged(int)"}, {"void", "onYChanged(int)"},
                                                  {"void", "setBusy(int)"},    {"void", "setBusy()"}};
    QCOMPARE(methods, expected);
}

QTEST_GUILESS_MAIN(TestViewContract)
#include "tst_viewcontract.moc"
