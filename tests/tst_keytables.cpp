#include <QTest>

class Test_keytables : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(Test_keytables)
#include "tst_keytables.moc"
