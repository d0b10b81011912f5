#include "TestSupport.h"
#include "ViewRig.h"

#include <QTest>

// mouseSendMacroData through the worker to the virtual mouse of either
// command family: which macro id goes on the wire, what the device stores,
// and that the firmware sees nothing it would reject.
class TestMacroSend : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void send_data() { addDataRows("macrosend.rows"); }
    void send();
    void noDevice();
};

void TestMacroSend::send()
{
    ROW_FIELDS(f, 6);
    const QString family = f[1];
    const int macroId = f[4].toInt();
    ViewRig rig(ViewRig::MouseKeys{{"icType", family}});
    VirtualMouse::State state = rig.mouse->state();
    for (auto& macro : state.macros)
        macro.fill(0x5a);
    rig.mouse->setState(state);
    const QJsonObject before = rig.mouse->stateJson();

    QCOMPARE(rig.view().mouseSendMacroData(rowValues(f[2]), rowValues(f[3]).value(0)), QVariant(true));

    const QString frame =
        macroId ? (family == "560" ? "0f" : "13") + QString("%1").arg(macroId, 2, 16, QChar('0')) + "80" : "";
    QCOMPARE(receivedFrames(*rig.mouse, frame), frame);
    const QString changes = macroId ? QString("macros.%1=0*128 macros.%1@0=%2").arg(macroId - 1).arg(f[5]) : "";
    const QString difference = stateDifference(changedState(before, changes), rig.mouse->stateJson());
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestMacroSend::noDevice()
{
    TestDataFolder data;
    ViewCore view;
    QCOMPARE(view.mouseSendMacroData({0, 1}, 0), QVariant(true));
}

QTEST_GUILESS_MAIN(TestMacroSend)
#include "tst_macrosend.moc"
