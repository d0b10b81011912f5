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
    void send_data();
    void send();
    void noDevice();
};

void TestMacroSend::send_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QVariantList>("payload");
    QTest::addColumn<QVariant>("slot");
    QTest::addColumn<int>("macroId");    // 0: nothing goes out
    QTest::addColumn<QString>("stored"); // the start of the stored block, zeros after

    const QVariantList example{0, 1, 5, 4, 0x81, 4, 0, 0};
    const QString stored = "0,1,5,4,129,4";
    for (const char* family : {"553", "560"}) {
        auto row = [family](const char* tag) -> QTestData& {
            return QTest::addRow("%s %s", family, tag) << QString(family);
        };
        row("slot 11") << example << QVariant(11) << 12 << stored;
        row("slot 0") << example << QVariant(0.0) << 1 << stored;
        row("slot 12") << example << QVariant(12) << 0 << "";
        row("slot 267 is 11") << example << QVariant(267) << 12 << stored;
        row("slot not a number") << example << QVariant("x") << 0 << "";
        row("200 values") << rowValues("1..200") << QVariant(3) << 4 << "1..128";
        row("non-numbers") << QVariantList{"x", QVariant(), 300, -1, 2.0, "7", true} << QVariant(5) << 6
                           << "0,0,44,255,2,7,1";
    }
}

void TestMacroSend::send()
{
    QFETCH(QString, family);
    QFETCH(QVariantList, payload);
    QFETCH(QVariant, slot);
    QFETCH(int, macroId);
    QFETCH(QString, stored);
    ViewRig rig(ViewRig::MouseKeys{{"icType", family}});
    VirtualMouse::State state = rig.mouse->state();
    for (auto& macro : state.macros)
        macro.fill(0x5a);
    rig.mouse->setState(state);
    const QJsonObject before = rig.mouse->stateJson();

    QCOMPARE(rig.view().mouseSendMacroData(payload, slot), QVariant(true));

    const QString frame =
        macroId ? (family == "560" ? "0f" : "13") + QString("%1").arg(macroId, 2, 16, QChar('0')) + "80" : "";
    QCOMPARE(receivedFrames(*rig.mouse, frame), frame);
    const QString changes = macroId ? QString("macros.%1=0*128 macros.%1@0=%2").arg(macroId - 1).arg(stored) : "";
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
