#include "MacroCodec.h"
#include "TestSupport.h"
#include "ViewRig.h"

#include <QRegularExpression>
#include <QTest>

// The macro payload encoder over the rows of macrocodec.rows, and
// mouseSendMacroData and sendStoredMacro through the worker to the virtual
// mouse of either command family: which macro id goes on the wire, what the
// device stores, and that the firmware sees nothing it would reject.
class TestMacroSend : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void encode_data() { addDataRows("macrocodec.rows"); }
    void encode();
    void send_data() { addDataRows("macrosend.rows"); }
    void send();
    void noDevice();
};

namespace {

// The actions a row of macrocodec.rows writes (see the data file).
QList<MacroCodec::Action> rowActions(QString text)
{
    if (text.startsWith("stored "))
        return MacroCodec::actionsFromStrings(text.split(' ').mid(1));
    static const QRegularExpression group(R"(\(([^)]*)\)x(\d+))"), key(R"(^(M?)([+-])(.+)$)"), typed("^([^:]+):(.*)$");
    for (QRegularExpressionMatch m; (m = group.match(text)).hasMatch();)
        text.replace(m.capturedStart(), m.capturedLength(),
                     QStringList(m.capturedView(2).toInt(), m.captured(1)).join(' '));
    QList<MacroCodec::Action> actions;
    bool isNumber = false;
    for (const QString& word : text.split(' ', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch k = key.match(word), t = typed.match(word);
        if (k.hasMatch())
            actions.append({(k.captured(1).isEmpty() ? 1 : 3) + (k.captured(2) == "-" ? 1 : 0), k.captured(3)});
        else if (t.hasMatch()) {
            const int type = t.captured(1).toInt(&isNumber);
            actions.append({isNumber ? type : -1, t.captured(2)});
        } else
            actions.append({MacroCodec::Delay, word});
    }
    return actions;
}

} // namespace

void TestMacroSend::encode()
{
    ROW_FIELDS(f, 6);
    const QList<MacroCodec::Action> actions = rowActions(f[3]);
    const QByteArray bytes =
        MacroCodec::encode(actions, f[2], MacroCodec::keyNameLookup(MacroCodec::builtInKeyNames()));
    if (f[0] == "encode") {
        QCOMPARE(bytes.toHex(' '), hexBytes(f[4]).toHex(' '));
        QCOMPARE(MacroCodec::encodedLength(actions), bytes.size());
    } else {
        QCOMPARE(bytes.size(), f[4].toInt());
        QCOMPARE(MacroCodec::encodedLength(actions), f[5].toInt());
        if (bytes.size() > 2)
            QCOMPARE(bytes.right(4).toHex(' '), QByteArray("81 04 00 00"));
    }
}

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

    if (f[2].startsWith("stored ")) {
        // stored LANGUAGE STRINGS...: the macro M stored with these strings
        // (none: no file), sent by name in that language.
        const QStringList words = f[2].split(' ', Qt::SkipEmptyParts);
        rig.view().setGlobalData("common/language", words[1]);
        if (words.size() > 2)
            QVERIFY(rig.view().createMacroIni("M", 0).toBool() &&
                    rig.view().saveMacroIni("M", words.mid(2, words.size() - 3), words.last()).toBool());
        QCOMPARE(rig.view().sendStoredMacro("M", rowValues(f[3]).value(0)), macroId != 0 && words.size() > 2);
    } else {
        QCOMPARE(rig.view().mouseSendMacroData(rowValues(f[2]), rowValues(f[3]).value(0)), QVariant(true));
    }

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
