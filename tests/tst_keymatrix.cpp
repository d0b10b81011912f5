#include <QTest>

class Test_keymatrix : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(Test_keymatrix)
#include "tst_keymatrix.moc"
