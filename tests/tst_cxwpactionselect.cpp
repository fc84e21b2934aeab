#include "corvexpaywizard.h"
#include "cxwpactionselect.h"

#include <QAbstractButton>
#include <QApplication>
#include <QtTest>

class TestCXWPActionSelect : public QObject
{
    Q_OBJECT

private slots:
    void choice_data();
    void choice();
};

void TestCXWPActionSelect::choice_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("next");
    QTest::addColumn<QString>("text");
    QTest::newRow("registration") << "rbRegistration" << 1 << "Registration";
    QTest::newRow("templates") << "rbRequirementsCodes" << 4 << "Request all codes requirements";
    QTest::newRow("by code") << "rbPaymentByCode" << 15 << "Payment by code";
}

void TestCXWPActionSelect::choice()
{
    QFETCH(QString, button);
    QFETCH(int, next);
    QFETCH(QString, text);
    CorvexPayWizard wizard {QFont(), Currency(), FixNumber()};
    wizard.show();
    QWizardPage *page = wizard.currentPage();
    QVERIFY(!page->isComplete());
    QCOMPARE(page->nextId(), 15);
    auto *radio = page->findChild<QAbstractButton *>(button);
    QSignalSpy complete(page, SIGNAL(completeChanged()));
    // A radio button takes clicks on its indicator and text only.
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(8, radio->height() / 2));
    QVERIFY(!complete.isEmpty());
    QVERIFY(page->isComplete());
    wizard.next();
    QCOMPARE(wizard.currentId(), next);

    radio->setText("changed");
    page->setTitle("changed");
    page->setSubTitle("changed");
    QEvent event(QEvent::LanguageChange);
    QApplication::sendEvent(page, &event);
    QCOMPARE(radio->text(), text);
    QCOMPARE(page->title(), QString("Corvex payment"));
    QCOMPARE(page->subTitle(), QString("Select your first action"));

    // Outside a payment wizard the page names the kind itself.
    QWizard plain;
    auto *alone = new CXWPActionSelect(&plain);
    alone->findChild<QAbstractButton *>(button)->setChecked(true);
    QCOMPARE(alone->nextId(), next);
}

QTEST_MAIN(TestCXWPActionSelect)
#include "tst_cxwpactionselect.moc"
