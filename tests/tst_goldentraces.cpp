// Golden traces: every transfer that goes over the wire when a profile's
// settings are applied to the mouse (key matrix with a gun entry, report rate,
// DPI stages, lighting effect and, with the gun flag, the gun-matrix reset),
// recorded through the trace decorator against the virtual mouse, sent by the
// HID worker's writer thread. The time
// column comes from the virtual clock, so the delays the link keeps are part
// of the comparison. Each trace is compared byte for byte with its file in
// tests/data/.
//
// After an intended change of the traffic, rewrite the files and review the
// diff:
//   SKARN_UPDATE_GOLDEN=1 ctest --preset dev -R tst_goldentraces

#include "ProfileChange.h"
#include "TestSupport.h"
#include "ViewRig.h"

#include <QFile>
#include <QTest>

#include <algorithm>

class TestGoldenTraces : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void profileApply_data();
    void profileApply();
};

void TestGoldenTraces::profileApply_data()
{
    QTest::addColumn<QByteArray>("icType");
    QTest::addColumn<bool>("isGun");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("profile");
    QTest::addRow("553") << QByteArray("553") << false << "golden-553.trace" << QByteArray();
    QTest::addRow("553, gun") << QByteArray("553") << true << "golden-553-gun.trace" << QByteArray();
    QTest::addRow("560") << QByteArray("560") << false << "golden-560.trace" << QByteArray();
    QTest::addRow("560, gun") << QByteArray("560") << true << "golden-560-gun.trace" << QByteArray();
    // A profile whose firmware matrix is broken (every entry -1, once 64 bytes
    // of 0xFF) resets the gun matrices to the factory one, which the shipped
    // profile holds: the traffic is that of the shipped profile.
    QByteArray broken = "[mouseFwKeyMatrix]\n";
    for (int i = 0; i < 16; ++i)
        broken += QByteArray::number(i) + "=-1, -1, -1, -1\n";
    QTest::addRow("553, gun, broken firmware matrix") << QByteArray("553") << true << "golden-553-gun.trace" << broken;
    QTest::addRow("560, gun, broken firmware matrix") << QByteArray("560") << true << "golden-560-gun.trace" << broken;
}

void TestGoldenTraces::profileApply()
{
    QFETCH(QByteArray, icType);
    QFETCH(bool, isGun);
    QFETCH(QString, file);
    QFETCH(QByteArray, profile);

    ViewRig rig(
        ViewRig::withKeys({{"icType", QString::fromLatin1(icType)}, {"isGun", isGun ? "true" : "false"}}, profile));
    QVERIFY(rig.session->traits().commandSet == commandSetOf(QString::fromLatin1(icType)));
    QCOMPARE(rig.session->traits().isGun, isGun);

    // Through the writer thread, as the tray program sends it.
    rig.hid().startWriter();
    applyProfileChange(rig.view());
    rig.hid().call([] {});
    QVERIFY2(rig.mouse->protocolErrors() == 0,
             qPrintable(rig.mouse->protocolErrorMessages().join(QStringLiteral("; "))));
    const QByteArray trace = rig.trace.data();

    const QString path = QStringLiteral(SKARN_SOURCE_DIR "/tests/data/") + file;
    if (qEnvironmentVariableIntValue("SKARN_UPDATE_GOLDEN") && profile.isEmpty()) {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(out.write(trace), trace.size());
        return;
    }
    QFile golden(path);
    QVERIFY2(golden.open(QIODevice::ReadOnly), qPrintable(path));
    const QByteArray expected = golden.readAll();
    if (trace == expected)
        return;
    // Name the first line that differs rather than dumping both traces.
    const QList<QByteArray> want = expected.split('\n');
    const QList<QByteArray> got = trace.split('\n');
    for (qsizetype i = 0; i < std::max(want.size(), got.size()); ++i) {
        if (want.value(i) != got.value(i))
            QFAIL(qPrintable(QStringLiteral("%1 line %2: expected \"%3\", got \"%4\"")
                                 .arg(file)
                                 .arg(i + 1)
                                 .arg(QString::fromLatin1(want.value(i)), QString::fromLatin1(got.value(i)))));
    }
}

QTEST_GUILESS_MAIN(TestGoldenTraces)
#include "tst_goldentraces.moc"
