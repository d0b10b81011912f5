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
    void viewOperations_data();
    void viewOperations();
    void viewHasNothingElse();
    void inheritedSetEnabled();
    void controllerSlots();
};

void TestViewContract::viewOperations_data()
{
    QTest::addColumn<QString>("object");
    QTest::addRow("ui_View (myQQuickView)") << "view";
    QTest::addRow("ViewCore (command line)") << "core";
}

void TestViewContract::viewOperations()
{
    QFETCH(QString, object);
    const auto methods = ownMethods(object == "view" ? myQQuickView::staticMetaObject : ViewCore::staticMetaObject);
    QCOMPARE(methods.size(), qsizetype(std::size(expectedOperations)));
    QCOMPARE(methods.size(), 58);
    for (qsizetype i = 0; i < methods.size(); ++i) {
        QCOMPARE(methods.at(i).second, QString::fromLatin1(expectedOperations[i].signature));
        QCOMPARE(methods.at(i).first, QString::fromLatin1(expectedOperations[i].result));
    }
}

// Every one of them is a slot, so invokables cannot slip in between.
void TestViewContract::viewHasNothingElse()
{
    const QMetaObject& mo = myQQuickView::staticMetaObject;
    for (int i = mo.methodOffset(); i < mo.methodCount(); ++i)
        QCOMPARE(mo.method(i).methodType(), QMetaMethod::Slot);
}

void TestViewContract::inheritedSetEnabled()
{
    QVERIFY(myQQuickView::staticMetaObject.indexOfSlot("setEnabled(bool)") >= 0);
}

void TestViewContract::controllerSlots()
{
    const auto methods = ownMethods(Ui_Controler::staticMetaObject);
    const QList<QPair<QString, QString>> expected{{"void", "onMinimize()"},   {"void", "onClose()"},
                                                  {"void", "onXChanged(int)"}, {"void", "onYChanged(int)"},
                                                  {"void", "setBusy(int)"},   {"void", "setBusy()"}};
    QCOMPARE(methods, expected);
}

QTEST_GUILESS_MAIN(TestViewContract)
#include "tst_viewcontract.moc"
