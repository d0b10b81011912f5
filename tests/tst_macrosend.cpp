#include <QTest>

class Test_macrosend : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(Test_macrosend)
#include "tst_macrosend.moc"
