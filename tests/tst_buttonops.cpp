#include <QTest>

class Test_buttonops : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(Test_buttonops)
#include "tst_buttonops.moc"
