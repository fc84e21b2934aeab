#include "corvexpaywizard.h"
#include "cxwpactionselect.h"

#include <QAbstractButton>
#include <QApplication>
#include <QSignalSpy>
#include <QtTest>

class TestCXWPActionSelect : public QObject
{
    Q_OBJECT

private slots:
    void choice_data();
    void choice();
    void languageChange();
};

void TestCXWPActionSelect::choice_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("next");
    QTest::newRow("registration") << "rbRegistration"
                                  << "Registration" << 1;
    QTest::newRow("templates") << "rbRequirementsCodes"
                               << "Request all codes requirements" << 4;
    QTest::newRow("payment by code") << "rbPaymentByCode"
                                     << "Payment by code" << 15;
}

void TestCXWPActionSelect::choice()
{
    QFETCH(QString, button);
    QFETCH(QString, text);
    QFETCH(int, next);
    CorvexPayWizard wizard {QFont(), Currency(), FixNumber()};
    wizard.show();
    QWizardPage *page = wizard.currentPage();
    QCOMPARE(page->subTitle(), QString("Select your first action"));
    QVERIFY(!page->isComplete());
    QCOMPARE(page->nextId(), 15);

    auto *radio = page->findChild<QAbstractButton *>(button);
    QCOMPARE(radio->text(), text);
    QSignalSpy complete(page, SIGNAL(completeChanged()));
    // A radio button takes clicks on its indicator and text only.
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(8, radio->height() / 2));
    QVERIFY(!complete.isEmpty());
    QVERIFY(page->isComplete());
    wizard.next();
    QCOMPARE(wizard.currentId(), next);

    // Outside a payment wizard the page names the kind itself.
    QWizard plain;
    auto *alone = new CXWPActionSelect(&plain);
    plain.setPage(0, alone);
    alone->findChild<QAbstractButton *>(button)->setChecked(true);
    QCOMPARE(alone->nextId(), next);
}

void TestCXWPActionSelect::languageChange()
{
    QWizard wizard;
    CXWPActionSelect page(&wizard);
    auto *radio = page.findChild<QAbstractButton *>("rbRegistration");
    radio->setText("changed");
    page.setTitle("changed");
    QEvent event(QEvent::LanguageChange);
    QApplication::sendEvent(&page, &event);
    QCOMPARE(radio->text(), QString("Registration"));
    QCOMPARE(page.title(), QString("Corvex payment"));
}

QTEST_MAIN(TestCXWPActionSelect)
#include "tst_cxwpactionselect.moc"
