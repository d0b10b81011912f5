#include "Hid_Thread.h"
#include "TestSupport.h"
#include "Ui_Controler.h"
#include "ViewCore.h"
#include "myQQuickView.h"

#include <QMetaMethod>
#include <QTest>

// The contract with callers that go by name and meta-object place: the pages
// call ui_View (the ViewCore) and ui_Ctl by name; the command line lists and
// calls the ViewCore's and the HID worker's slots by name, in meta-object
// order, typing their arguments from the signatures. tests/data/contract.rows
// holds each class's public methods in that order.
class TestViewContract : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void publicMethodsInOrder_data();
    void publicMethodsInOrder();
};

void TestViewContract::publicMethodsInOrder_data()
{
    QTest::addColumn<const QMetaObject*>("metaObject");
    QTest::addColumn<int>("count");
    // saveFailed, the 58 operations as slots, then setEnabled(bool) for the
    // pages' input lock: invokable but not a slot, so the command line (which
    // lists and calls slots) does not offer it.
    QTest::addRow("ViewCore") << &ViewCore::staticMetaObject << 1 + 58 + 1;
    QTest::addRow("Hid_Thread") << &Hid_Thread::staticMetaObject << 29;
    QTest::addRow("Ui_Controler") << &Ui_Controler::staticMetaObject << 6;
    // The widget hosts the pages but declares no operation of its own: ui_View
    // is the ViewCore, and nothing can drift from it.
    QTest::addRow("myQQuickView") << &myQQuickView::staticMetaObject << 0;
}

void TestViewContract::publicMethodsInOrder()
{
    QFETCH(const QMetaObject*, metaObject);
    QFETCH(int, count);
    QByteArrayList expected;
    for (const DataRow& row : readDataRows(QStringLiteral("contract.rows")))
        if (row.field(0) == QLatin1String(QTest::currentDataTag()))
            expected << row.fields.mid(1).join(QStringLiteral(" | ")).toLatin1();
    QCOMPARE(expected.size(), count);

    static const char* const kinds[] = {"method", "signal", "slot", "constructor"};
    QByteArrayList actual;
    for (int i = metaObject->methodOffset(); i < metaObject->methodCount(); ++i) {
        const QMetaMethod m = metaObject->method(i);
        if (m.access() == QMetaMethod::Public)
            actual << QByteArray(kinds[m.methodType()]) + " | " + m.typeName() + " | " + m.methodSignature();
    }
    QCOMPARE(actual, expected);
}

QTEST_GUILESS_MAIN(TestViewContract)
#include "tst_viewcontract.moc"
