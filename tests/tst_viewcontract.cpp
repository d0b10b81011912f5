#include "Hid_Thread.h"
#include "TestSupport.h"
#include "Ui_Controler.h"
#include "ViewCore.h"
#include "Widget.h"
#include "myQQuickView.h"

#include <QMetaMethod>
#include <QTest>

// The contract with callers that go by name and meta-object place: the pages
// call ui_View (the ViewCore) and ui_Ctl by name; the command line lists and
// calls the ViewCore's slots (and invokables marked SKARN_COMMAND) and the
// HID worker's slots by name, in meta-object order, typing their arguments
// from the signatures. tests/data/contract.rows holds each class's public
// methods in that order: the ViewCore's saveFailed, its 58 operations as
// slots, then its invokables (setEnabled for the pages' input lock, ...),
// which come after every slot in the meta-object and so move no operation.
// The widget that hosts the pages declares none of its own: ui_View is the
// ViewCore, and nothing can drift from it. The main window's slots are
// reached through its meta-object too (the tray, a second start).
class TestViewContract : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void publicMethodsInOrder();
};

void TestViewContract::publicMethodsInOrder()
{
    QStringList expected;
    for (const DataRow& row : readDataRows(QStringLiteral("contract.rows")))
        expected << row.fields.join(QStringLiteral(" | "));
    static const char* const kinds[] = {"method", "signal", "slot", "constructor"};
    QStringList actual;
    for (const QMetaObject* mo :
         {&ViewCore::staticMetaObject, &Hid_Thread::staticMetaObject, &Ui_Controler::staticMetaObject,
          &myQQuickView::staticMetaObject, &Widget::staticMetaObject})
        for (int i = mo->methodOffset(); i < mo->methodCount(); ++i) {
            const QMetaMethod m = mo->method(i);
            if (m.access() == QMetaMethod::Public)
                actual << QStringLiteral("%1 | %2 | %3 | %4")
                              .arg(mo->className(), kinds[m.methodType()], m.typeName(), m.methodSignature());
        }
    QCOMPARE(actual, expected);
}

QTEST_GUILESS_MAIN(TestViewContract)
#include "tst_viewcontract.moc"
