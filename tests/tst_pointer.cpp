#include <QTest>

class Test_pointer : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(Test_pointer)
#include "tst_pointer.moc"
