// Golden traces: every transfer that goes over the wire when a profile's
// settings are applied to the mouse (key matrix with a gun entry, report rate,
// DPI stages, lighting effect and, with the gun flag, the gun-matrix reset),
// recorded through the trace decorator against the virtual mouse. The time
// column comes from the virtual clock, so the delays the link keeps are part
// of the comparison. Each trace is compared byte for byte with its file in
// tests/data/.
//
// After an intended change of the traffic, rewrite the files and review the
// diff:
//   SKARN_UPDATE_GOLDEN=1 ctest --preset dev -R tst_goldentraces

#include "TestSupport.h"
#include "VirtualRig.h"

#include "TracingHidBackend.h"
#include "ViewCore.h"

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>

class TestGoldenTraces : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void profileApply_data();
    void profileApply();
};

namespace {

// What the shell does after a profile change, with fixed page values.
void applyProfile(ViewCore& view)
{
    QVariantList page;
    for (int button = 0; button < 16; ++button) {
        if (button == 1)
            page << 8 << 0 << 2 << 0; // a gun function with two guns
        else
            page << 0 << 0 << (0xF0 + (button % 3)) << 0;
    }
    view.mouseSetKeyMatrix(page, true, QVariantList{10, 20, 30});
    view.mouseSetReportRate(3);
    view.mouseSetDpi(4, QStringLiteral("3360"), QVariantList{400, 800, 1600, 3200, 6000, 6000, 6000, 6000});
    view.mouseSetRGBEffect(1, 2, 3);
    if (view.traits.isGun) {
        view.mouseSwitchKeyMatrix(1);
        view.mouseResetKeyMatrix();
    }
}

QByteArray withKey(QByteArray config, const char* key, const QByteArray& value)
{
    const QRegularExpression line(QStringLiteral("^%1=.*$").arg(QLatin1String(key)),
                                  QRegularExpression::MultilineOption);
    return QString::fromUtf8(config).replace(line, QLatin1String(key) + QLatin1Char('=') + value).toUtf8();
}

} // namespace

void TestGoldenTraces::profileApply_data()
{
    QTest::addColumn<QByteArray>("icType");
    QTest::addColumn<bool>("isGun");
    QTest::addColumn<QString>("file");
    QTest::addRow("553") << QByteArray("553") << false << "golden-553.trace";
    QTest::addRow("553, gun") << QByteArray("553") << true << "golden-553-gun.trace";
    QTest::addRow("560") << QByteArray("560") << false << "golden-560.trace";
    QTest::addRow("560, gun") << QByteArray("560") << true << "golden-560-gun.trace";
}

void TestGoldenTraces::profileApply()
{
    QFETCH(QByteArray, icType);
    QFETCH(bool, isGun);
    QFETCH(QString, file);

    TestDataFolder data;
    QVERIFY(data.isValid());
    const QString config = QStringLiteral("modules/setting/apConfig.bin");
    data.write(config, withKey(withKey(data.read(config), "icType", icType), "isGun", isGun ? "true" : "false"));

    VirtualClock clock;
    VirtualMouse mouse(testMouseRecord(), QString::fromLatin1(icType));
    VirtualHidBackend backend({&mouse}, clock);
    QBuffer trace;
    trace.open(QIODevice::WriteOnly);
    TracingHidBackend tracing(backend, &trace, [&clock] { return double(clock.nowMs()); });
    Hid_Thread hid;
    hid.setBackend(&tracing);
    hid.setClock(&clock);
    DeviceRecord entry = testMouseRecord();
    entry.primaryPath = QString::fromLatin1(mouse.commandPath());
    entry.secondaryPath = QString::fromLatin1(mouse.eventPath());
    hid.deviceList = {entry};
    hid.currentIndex = 0;
    ViewCore view;
    QVERIFY(view.traits.commandSet == commandSetOf(QString::fromLatin1(icType)));
    QCOMPARE(view.traits.isGun, isGun);
    view.hid = &hid;
    hid.setTraits(view.traits);

    applyProfile(view);
    QVERIFY2(mouse.protocolErrors() == 0, qPrintable(mouse.protocolErrorMessages().join(QStringLiteral("; "))));

    const QString path = QStringLiteral(SKARN_SOURCE_DIR "/tests/data/") + file;
    if (qEnvironmentVariableIntValue("SKARN_UPDATE_GOLDEN")) {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(out.write(trace.data()), trace.data().size());
        return;
    }
    QFile golden(path);
    QVERIFY2(golden.open(QIODevice::ReadOnly), qPrintable(path));
    const QByteArray expected = golden.readAll();
    if (trace.data() == expected)
        return;
    // Name the first line that differs rather than dumping both traces.
    const QList<QByteArray> want = expected.split('\n');
    const QList<QByteArray> got = trace.data().split('\n');
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
