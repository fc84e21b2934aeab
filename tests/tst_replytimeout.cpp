// The sender page's wait for a reply: 60 s, unless CORVEX_REPLY_TIMEOUT names other seconds.
#include "cxwpmsgsender.h"
#include "testutil.h"

#include <QLabel>
#include <QProgressBar>

class TestReplyTimeout : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { qunsetenv("CORVEX_REPLY_TIMEOUT"); }

    void seconds_data()
    {
        // Anything but a whole number from 1 to a day keeps 60.
        addRows<QByteArray, int>({"value", "seconds"},
            {{"unset", {}, 60}, {"shorter", "1", 1}, {"longer", "90", 90}, {"zero", "0", 60},
                {"negative", "-3", 60}, {"fraction", "1.5", 60}, {"text", "soon", 60},
                {"beyond a day", "86401", 60}});
    }
    // One progress step a second up to the time-out; a page that times out is not complete.
    void seconds()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, seconds);
        if (!value.isNull())
            qputenv("CORVEX_REPLY_TIMEOUT", value);
        QWizard wizard;
        auto *page = new CXWPMsgSender(&wizard);
        wizard.addPage(page);
        page->initializePage();
        QCOMPARE(page->findChild<QProgressBar *>("progressBar")->maximum(), seconds);
        if (seconds == 1) {
            auto *error = page->findChild<QLabel *>("lError");
            QTRY_VERIFY_WITH_TIMEOUT(error->text().contains("Connection error"), 5000);
            QVERIFY(!page->isComplete());
        }
    }
};

QTEST_MAIN(TestReplyTimeout)
#include "tst_replytimeout.moc"
