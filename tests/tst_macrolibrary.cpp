#include <QTest>

class Test_macrolibrary : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(Test_macrolibrary)
#include "tst_macrolibrary.moc"
