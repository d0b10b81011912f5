#include <QTest>

class Test_dpilight : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(Test_dpilight)
#include "tst_dpilight.moc"
