#include "corvexpaywizard.h"
#include "cxwpactionselect.h"
#include "testutil.h"

class TestCXWPActionSelect : public QObject
{
    Q_OBJECT

private slots:
    void choice_data()
    {
        addRows<QString, int, QString>({"button", "next", "text"},
            {{"registration", "rbRegistration", 1, "Registration"},
                {"templates", "rbRequirementsCodes", 4, "Request all codes requirements"},
                {"by code", "rbPaymentByCode", 15, "Payment by code"}});
    }
    // Next opens once an action is chosen and leads to its page; a language change gives the
    // buttons their texts back. Outside a payment wizard the page names the kind itself.
    void choice()
    {
        QFETCH(QString, button);
        QFETCH(int, next);
        CorvexPayWizard wizard {QFont(), Currency(), FixNumber()};
        wizard.show();
        QWizardPage *page = wizard.currentPage();
        QVERIFY(!page->isComplete());
        auto *radio = page->findChild<QAbstractButton *>(button);
        QSignalSpy complete(page, SIGNAL(completeChanged()));
        Operator::click(radio);
        QVERIFY(!complete.isEmpty());
        QVERIFY(Operator::next(&wizard));
        QCOMPARE(wizard.currentId(), next);

        radio->setText("changed");
        QEvent event(QEvent::LanguageChange);
        QApplication::sendEvent(page, &event);
        QTEST(radio->text(), "text");

        QWizard plain;
        auto *alone = new CXWPActionSelect(&plain);
        alone->findChild<QAbstractButton *>(button)->setChecked(true);
        QCOMPARE(alone->nextId(), next);
    }
};

QTEST_MAIN(TestCXWPActionSelect)
#include "tst_cxwpactionselect.moc"
