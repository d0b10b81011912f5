#include <QTest>

class Test_gundata : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(Test_gundata)
#include "tst_gundata.moc"
