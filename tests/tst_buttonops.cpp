#include "TestSupport.h"
#include "ViewRig.h"

#include <QTest>

// The button operations of the view against the virtual mouse: what goes over
// the wire, what the firmware holds afterwards, what the profile keeps.
namespace {

// The shipped assignment: buttons 5 and 6 DPI+ and DPI-, 7 double click.
const QByteArray shippedPage = "0000f0000000f1000000f2000000f4000000f300050001000500020000f01e02"
                               "000000000000000000000000000000000000000000000000ff000100ff000200";

// The shipped page with edits: "i=value" sets value i, ":n" keeps the first n
// values, "+values" appends.
QVariantList page(const QString& edits)
{
    QVariantList out;
    for (char b : QByteArray::fromHex(shippedPage))
        out << int(uchar(b));
    for (const QString& edit : edits.split(' ', Qt::SkipEmptyParts)) {
        if (edit.startsWith(':'))
            out = out.mid(0, edit.mid(1).toInt());
        else if (edit.startsWith('+'))
            out += rowValues(edit.mid(1));
        else
            out[edit.section('=', 0, 0).toInt()] = rowValues(edit.section('=', 1)).value(0);
    }
    return out;
}

} // namespace

class Test_buttonops : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void operations_data() { addDataRows("buttonops.rows"); }
    void operations();
    void keydefine_data() { addDataRows("buttonops-keydefine.rows"); }
    void keydefine();
    void withoutDevice();
};

void Test_buttonops::operations()
{
    ROW_FIELDS(f, 10);
    const QString icType = f[1], call = f[4], frames = f[7];
    ViewRig rig(ViewRig::withKeys({{"icType", icType}, {"isGun", f[2]}}, f[3].replace("\\n", "\n").toUtf8()));
    VirtualMouse::State state = rig.mouse->state();
    state.keyMatrix = state.profile = 3;
    rig.mouse->setState(state);
    if (icType == "560")
        rig.view().mouseReadProfile(0); // image 0 as the device holds it
    const QJsonObject before = rig.mouse->stateJson();
    rig.mouse->clearReceived();
    MessageLog log;

    const QVariantList src64 = page(f[5]);
    if (call == "save" || call == "keep")
        rig.view().mouseSetKeyMatrix(src64, call == "save", rowValues(f[6]));
    else if (call.startsWith("switch"))
        rig.view().mouseSwitchKeyMatrix(call.section(' ', 1).toInt());
    else
        rig.view().mouseResetKeyMatrix();

    QCOMPARE(receivedFrames(*rig.mouse, frames), frames);
    const QJsonObject after = rig.mouse->stateJson();
    // "m:e=bytes" names entry e of key matrix m; the rest of a named matrix is
    // not checked.
    QJsonObject expected = before;
    QJsonArray matrices = expected["keyMatrices"].toArray();
    QStringList changes;
    for (const QString& item : f[8].split(' ', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = QRegularExpression("^(\\d):(\\d+)=(\\w+)$").match(item);
        if (!m.hasMatch()) {
            changes << item;
            continue;
        }
        const int matrix = m.captured(1).toInt() - 1;
        matrices[matrix] = after["keyMatrices"].toArray().at(matrix);
        changes << QString("keyMatrices.%1@%2=x%3").arg(matrix).arg(4 * m.captured(2).toInt()).arg(m.captured(3));
    }
    expected["keyMatrices"] = matrices;
    const QString difference = stateDifference(changedState(expected, changes.join(' ')), after);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    QCOMPARE(!log.lines().filter("mouseSetKeyMatrix").isEmpty(), f[9] == "true");
    for (int i = 0; i < 16 && (call == "save" || call == "keep"); ++i) {
        QVariantList entry = src64.mid(4 * i, 4);
        while (entry.size() < 4)
            entry << 0;
        QCOMPARE(rig.view().store().getDataList(QString("mouseKeyMatrix/%1").arg(i), false), entry);
    }
}

void Test_buttonops::keydefine()
{
    ROW_FIELDS(f, 4);
    ViewRig rig(ViewRig::withKeys({{"icType", "553"}}, "[mouseKeyMatrix]\n3=4, 1, 3, 0\n5=5, 0\n"));
    QCOMPARE(rig.view().mouseGetKeydefine(rowValues(f[1]).value(0), f[2] == "true"), rowValues(f[3]));
}

// Without a mouse the operations send nothing but still update the held
// image and the profile.
void Test_buttonops::withoutDevice()
{
    ViewRig rig(ViewRig::MouseKeys{{"icType", "560"}, {"isGun", "true"}});
    rig.mouse->unplug();
    const QVariantList gun = page("4=8 6=3");
    rig.view().mouseSetKeyMatrix(gun, true, {1, 2, 3});
    rig.view().mouseResetKeyMatrix();
    rig.view().mouseSwitchKeyMatrix(2);
    QVERIFY(rig.mouse->receivedFrames().isEmpty());
    QCOMPARE((*rig.images())[0][2], uchar(0x1F));
    QCOMPARE(rig.view().mouseGetKeydefine(1, false), gun.mid(4, 4));
}

QTEST_GUILESS_MAIN(Test_buttonops)
#include "tst_buttonops.moc"
