#include "TestSupport.h"
#include "ViewRig.h"

#include <QTest>

// mouseSendMacroData through the worker to the virtual mouse of either
// command family: which macro id goes on the wire, what the device stores,
// and that the firmware sees nothing it would reject.
namespace {

QVariantList numbers(int count)
{
    QVariantList list;
    for (int i = 1; i <= count; ++i)
        list << i;
    return list;
}

QByteArray block(const QVariantList& head)
{
    QByteArray b(128, '\0');
    for (int i = 0; i < head.size(); ++i)
        b[i] = char(head.at(i).toInt());
    return b;
}

} // namespace

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
    QTest::addColumn<int>("macroId"); // 0: nothing goes out
    QTest::addColumn<QByteArray>("stored");

    const QVariantList example{0, 1, 5, 4, 0x81, 4, 0, 0};
    for (const char* family : {"553", "560"}) {
        auto row = [family](const char* tag) -> QTestData& {
            return QTest::addRow("%s %s", family, tag) << QString(family);
        };
        row("slot 11") << example << QVariant(11) << 12 << block(example);
        row("slot 0") << example << QVariant(0.0) << 1 << block(example);
        row("slot 12") << example << QVariant(12) << 0 << QByteArray();
        row("slot 267 is 11") << example << QVariant(267) << 12 << block(example);
        row("slot not a number") << example << QVariant("x") << 0 << QByteArray();
        row("200 values") << numbers(200) << QVariant(3) << 4 << block(numbers(128));
        row("non-numbers") << QVariantList{"x", QVariant(), 300, -1, 2.0, "7", true} << QVariant(5) << 6
                           << block({0, 0, 44, 255, 2, 7, 1});
    }
}

void TestMacroSend::send()
{
    QFETCH(QString, family);
    QFETCH(QVariantList, payload);
    QFETCH(QVariant, slot);
    QFETCH(int, macroId);
    QFETCH(QByteArray, stored);
    ViewRig rig(ViewRig::MouseKeys{{"icType", family}});
    VirtualMouse::State expected = rig.mouse->state();
    for (auto& macro : expected.macros)
        macro.fill(0x5a);
    rig.mouse->setState(expected);

    QCOMPARE(rig.view().mouseSendMacroData(payload, slot), QVariant(true));

    const QList<QByteArray> frames = rig.mouse->receivedFrames();
    if (macroId == 0) {
        QVERIFY(frames.isEmpty());
    } else {
        QCOMPARE(frames.size(), 1);
        QCOMPARE(frames.at(0).left(3), QByteArray::fromHex(family == "560" ? "0f" : "13") + char(macroId) + '\x80');
        std::copy(stored.cbegin(), stored.cend(), expected.macros[std::size_t(macroId - 1)].begin());
    }
    QVERIFY(rig.mouse->state() == expected);
    QCOMPARE(rig.mouse->protocolErrors(), 0);
}

void TestMacroSend::noDevice()
{
    TestDataFolder data;
    ViewCore view;
    QCOMPARE(view.mouseSendMacroData({0, 1}, 0), QVariant(true));
}

QTEST_GUILESS_MAIN(TestMacroSend)
#include "tst_macrosend.moc"
