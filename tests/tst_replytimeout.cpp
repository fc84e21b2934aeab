// The sender page's wait for a reply: 60 s, unless CORVEX_REPLY_TIMEOUT names other seconds.
#include "cxwpmsgsender.h"

#include <QLabel>
#include <QProgressBar>
#include <QWizard>
#include <QtTest>

class TestReplyTimeout : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { qunsetenv("CORVEX_REPLY_TIMEOUT"); }
    void seconds_data();
    void seconds();
    void timesOut();
};

void TestReplyTimeout::seconds_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("seconds");
    QTest::newRow("unset") << QByteArray() << 60;
    QTest::newRow("shorter") << QByteArray("5") << 5;
    QTest::newRow("longer") << QByteArray("90") << 90;
    QTest::newRow("zero") << QByteArray("0") << 60;
    QTest::newRow("negative") << QByteArray("-3") << 60;
    QTest::newRow("fraction") << QByteArray("1.5") << 60;
    QTest::newRow("text") << QByteArray("soon") << 60;
    QTest::newRow("beyond a day") << QByteArray("86401") << 60;
}

void TestReplyTimeout::seconds()
{
    QFETCH(QByteArray, value);
    QFETCH(int, seconds);
    if (!value.isNull())
        qputenv("CORVEX_REPLY_TIMEOUT", value);
    QWizard wizard;
    auto *page = new CXWPMsgSender(&wizard);
    wizard.addPage(page);
    page->initializePage();
    // One progress step a second, up to the time-out.
    QCOMPARE(page->findChild<QProgressBar *>("progressBar")->maximum(), seconds);
}

void TestReplyTimeout::timesOut()
{
    qputenv("CORVEX_REPLY_TIMEOUT", "1");
    QWizard wizard;
    auto *page = new CXWPMsgSender(&wizard);
    wizard.addPage(page);
    page->initializePage();
    auto *error = page->findChild<QLabel *>("lError");
    QTRY_VERIFY_WITH_TIMEOUT(error->text().contains("Connection error"), 5000);
    QVERIFY(!page->isComplete());
}

QTEST_MAIN(TestReplyTimeout)
#include "tst_replytimeout.moc"
