#include <QTest>

class Test_capture : public QObject
{
    Q_OBJECT
};

QTEST_GUILESS_MAIN(Test_capture)
#include "tst_capture.moc"
