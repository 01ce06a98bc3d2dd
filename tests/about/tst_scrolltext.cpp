#include <QtTest>
class TestScrollText : public QObject { Q_OBJECT private slots: void dummy() {} };
QTEST_MAIN(TestScrollText)
#include "tst_scrolltext.moc"
