#include <QTest>

class Test_dpilightops : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(Test_dpilightops)
#include "tst_dpilightops.moc"
