#include "corvexpaywizard.h"
#include "cxwppayment.h"
#include "cxwpselecttemplate.h"
#include "fakehost.h"
#include "formfixtures.h"
#include "testutil.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>

#include <algorithm>
#include <functional>
#include <memory>

using namespace Fixture;

// A credit repayment: a ten-digit account, how the credit is paid, the payer's name in a group.
static Provider payee()
{
    return provider({field("account", 1, "5550001111", "0000000000", "^\\d{10}$"),
        choice("payType", 2, {{"Card", "2"}, {"Credit", "1"}}, "1"),
        group("payer", 3, {field("name", 0)})});
}

// 3.00 on every payment; the provider's entry carries the check flags only.
static BoxComProfile rules()
{
    BoxComProfile result = profile(100, 300);
    BoxComProfileItem entry;
    entry.setProviderId(1586);
    entry.setPayCheckFlags(PayCheckOnline | PayCheckPrintCheck);
    result.setItems({entry});
    return result;
}

// The customer's two templates, as the service lists them.
static const QVariantList TEMPLATES = {
    QVariantMap {{"creditType", "Loan"}, {"bankName", "First Bank"}, {"creditCode", "1111111111"}},
    QVariantMap {{"creditType", "Mortgage"}, {"bankName", "Second <Bank>"},
        {"creditCode", "7700112233"},
        {"addInfo", QVariantMap {{"Contract", "C-7"}, {"Due", "15"}}}},
};

// A wizard for one payment as the host sets it up, connected to a fake host.
struct Terminal
{
    Terminal()
        : wizard(QFont("Sans", 13), currency(643, "RUB", 100), FixNumber(100, 0LL))
    {
        wizard.setProvider(payee());
        wizard.setComProfile(rules());
        wizard.setMessageSender(&host, FakeHost::method());
        wizard.setMessageReciever(&host, FakeHost::signal());
    }

    template<typename T = QWidget> T *find(const QString &name) const
    {
        return wizard.currentPage()->findChild<T *>(name);
    }
    QDoubleSpinBox *amount(const QString &name) const { return find<QDoubleSpinBox>(name); }

    // The first page: choose an action by its radio button and go on.
    void choose(QWizard *modal, const QString &action)
    {
        auto *button = modal->currentPage()->findChild<QAbstractButton *>(action);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
        QVERIFY(Operator::next(modal));
    }

    // 0 -> 4 -> 14 -> 7 -> 15: the customer's phone, the service's list, the second template.
    void payTemplate(QWizard *modal)
    {
        choose(modal, "rbRequirementsCodes");
        auto *phone = find<QLineEdit>("lePhone");
        phone->setCursorPosition(2);
        Operator::type(phone, "9001234567");
        QVERIFY(Operator::next(modal));
        const QVariantMap params = {{"errorCode", 0}, {"phone", "9001234567"},
            {"fullName", "Ivanov Ivan"}, {"templateList", TEMPLATES}};
        emit host.reply({},
            toJson({{"uid", host.requests.last().value("uid")}, {"error", false},
                {"params", params}}));
        QVERIFY(Operator::next(modal));
        auto *list = find<QListView>("lvTemplates");
        const QModelIndex second = list->model()->index(1, 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(second).center());
        QVERIFY(Operator::next(modal));
    }
    CXWPSelectTemplate *templates() const
    {
        return qobject_cast<CXWPSelectTemplate *>(wizard.page(CorvexPayWizard::PageSelectTemplate));
    }

    // The operator fills the form: account digits, payer's name, an amount to account.
    void fill(const QString &account, const QString &name, const QString &toAccount)
    {
        auto *edit = find<QLineEdit>("account");
        edit->setFocus(Qt::MouseFocusReason);
        edit->home(false);
        QTest::keyClicks(edit, account);
        Operator::type(find("name"), name);
        Operator::type(amount("sbToAccount"), toAccount);
    }

    FakeHost host;
    CorvexPayWizard wizard;
};

// Runs the wizard modally, as the host does, with the operator's steps inside the modal loop.
static bool execute(CorvexPayWizard &wizard, const std::function<void()> &steps)
{
    QTimer::singleShot(0, &wizard, [&wizard, steps] {
        steps();
        // A failed step must not leave the modal loop running.
        if (wizard.isVisible())
            wizard.reject();
    });
    return wizard.execute();
}

class TestCXWPPayment : public QObject
{
    Q_OBJECT

private slots:
    void completion_data();
    void completion();
    void byCode_data();
    void byCode();
    void byTemplate();
    void templateThenByCode();
    void enteredAgain();
    void withoutProvider();
    void languageChange();
};

void TestCXWPPayment::completion_data()
{
    addRows<QString, QString, QString, bool>({"account", "typedBox", "keys", "complete"},
        {
            {"nothing typed", "", "sbToAccount", "", false},
            {"amount without account", "", "sbToAccount", "1", false},
            {"account, amounts zero", "1234567890", "sbSumm", "0", false},
            {"account, 1 to account", "1234567890", "sbToAccount", "1", true},
            {"account, 12.50 typed as summ", "1234567890", "sbSumm", "12.50", true},
            {"account, 12.50 typed to account", "1234567890", "sbToAccount", "12.50", true},
        });
}

// An amount typed key by key stays as typed while the page and the wizard's buttons follow.
void TestCXWPPayment::completion()
{
    QFETCH(QString, account);
    QFETCH(QString, typedBox);
    QFETCH(QString, keys);
    Terminal t;
    t.wizard.show();
    QVERIFY(QTest::qWaitForWindowActive(&t.wizard));
    t.choose(&t.wizard, "rbPaymentByCode");
    QCOMPARE(t.wizard.currentId(), int(CorvexPayWizard::PagePayment));
    QCOMPARE(QApplication::focusWidget(), t.find("account"));

    auto *edit = t.find<QLineEdit>("account");
    edit->home(false);
    QTest::keyClicks(edit, account);
    QDoubleSpinBox *box = t.amount(typedBox);
    box->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    for (int i = 0; i < keys.size(); ++i) {
        QTest::keyClick(box, keys.at(i).toLatin1());
        QCOMPARE(box->cleanText(), keys.left(i + 1));
    }
    QTEST(t.wizard.currentPage()->isComplete(), "complete");
    QTEST(t.wizard.button(QWizard::FinishButton)->isEnabled(), "complete");
}

void TestCXWPPayment::byCode_data()
{
    addRows<bool>({"basket"}, {{"posted at once", false}, {"into the basket", true}});
}

// 0 -> 15: the account of the catalogue is emptied, the operator types it, and Finish hands the
// host the payment.
void TestCXWPPayment::byCode()
{
    QFETCH(bool, basket);
    Terminal t;
    const QDateTime before = QDateTime::currentDateTime();
    const bool accepted = execute(t.wizard, [&t, basket] {
        QVERIFY(QTest::qWaitForWindowActive(&t.wizard));
        t.choose(&t.wizard, "rbPaymentByCode");
        QCOMPARE(t.wizard.currentPage()->title(), QString("[Corvex]"));
        QCOMPARE(t.find<QLineEdit>("account")->text(), QString());
        t.fill("1234567890", "Ivanov", "150");
        QCOMPARE(t.amount("sbSumm")->cleanText(), QString("153.00"));
        if (basket)
            Operator::click(t.wizard.currentPage()->findChild<QCheckBox *>());
        QVERIFY(Operator::finish(&t.wizard));
    });
    QVERIFY(accepted);
    QCOMPARE(t.wizard.immidiatlyPost(), !basket);
    QVERIFY(t.host.requests.isEmpty());

    const Payment payment = t.wizard.payment();
    QCOMPARE(payment.providerId(), qint64(1586));
    QCOMPARE(payment.currencyId(), qint64(643));
    QCOMPARE(payment.providerName(), QString("Corvex"));
    QCOMPARE(payment.providerCheckTitle(), QString("Corvex credit repayment"));
    QCOMPARE(payment.summ(), FixNumber(100, 15000LL));
    QCOMPARE(payment.comission(), FixNumber(100, 300LL));
    QCOMPARE(payment.account(), QString("1234567890"));
    QCOMPARE(flatten(payment.details()),
        QStringList({"account=1234567890", "payType=1", "payer=", "payer/name=Ivanov"}));
    QVERIFY(payment.created() >= before && payment.created() <= QDateTime::currentDateTime());
    QCOMPARE(payment.checkFlags(), EPayCheckFlags(PayCheckOnline | PayCheckPrintCheck));
    QCOMPARE(payment.comment(), QString());
    QCOMPARE(payment.additionalMap(), QVariantMap());
    QCOMPARE(payment.uid(), qint64(0));
    QCOMPARE(payment.packId(), qint64(-1));
}

// 0 -> 4 -> 14 -> 7 -> 15: the template's code is the account, its texts and data go with the
// payment.
void TestCXWPPayment::byTemplate()
{
    Terminal t;
    const bool accepted = execute(t.wizard, [&t] {
        QVERIFY(QTest::qWaitForWindowActive(&t.wizard));
        t.payTemplate(&t.wizard);
        QCOMPARE(t.wizard.currentId(), int(CorvexPayWizard::PagePayment));
        QCOMPARE(t.find<QLineEdit>("account")->text(), QString("7700112233"));
        QCOMPARE(t.wizard.currentPage()->subTitle(), t.templates()->description());
        QVERIFY(t.wizard.currentPage()->subTitle().contains("Second &lt;Bank&gt;"));
        const QList<QLabel *> labels = t.wizard.currentPage()->findChildren<QLabel *>();
        QVERIFY(std::any_of(labels.cbegin(), labels.cend(),
            [&t](QLabel *label) { return label->text() == t.templates()->info(); }));
        Operator::type(t.find("name"), "Ivanov");
        Operator::type(t.amount("sbToAccount"), "150");
        QVERIFY(Operator::finish(&t.wizard));
    });
    QVERIFY(accepted);
    QCOMPARE(t.wizard.visitedIds(), QList<int>({0, 4, 14, 7, 15}));
    QCOMPARE(t.host.requests.count(), 1);

    const Payment payment = t.wizard.payment();
    QCOMPARE(payment.providerId(), qint64(1586));
    QCOMPARE(payment.account(), QString("7700112233"));
    QCOMPARE(payment.summ(), FixNumber(100, 15000LL));
    QCOMPARE(payment.comission(), FixNumber(100, 300LL));
    QCOMPARE(flatten(payment.details()),
        QStringList({"account=7700112233", "payType=1", "payer=", "payer/name=Ivanov"}));
    QCOMPARE(payment.comment(), t.templates()->plainDescription());
    QVERIFY(payment.comment().startsWith("Mortgage: Second <Bank>"));
    QCOMPARE(payment.additionalMap(), t.templates()->additionalData());
    QCOMPARE(payment.additionalMap().value("corvex").toMap().value("creditCode"),
        QVariant("7700112233"));
    QVERIFY(t.wizard.immidiatlyPost());
}

// Back from a template to the first page and on by code: nothing of the template stays, not
// the code, not its texts, not the data its receipt would print.
void TestCXWPPayment::templateThenByCode()
{
    Terminal t;
    t.wizard.show();
    QVERIFY(QTest::qWaitForWindowActive(&t.wizard));
    t.payTemplate(&t.wizard);
    QCOMPARE(t.wizard.currentId(), int(CorvexPayWizard::PagePayment));
    while (t.wizard.currentId() != CorvexPayWizard::PageActionSelect)
        t.wizard.back();
    t.choose(&t.wizard, "rbPaymentByCode");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(t.find<QLineEdit>("account")->text(), QString());
    QCOMPARE(t.wizard.currentPage()->subTitle(), QString());
    const QList<QLabel *> labels = t.wizard.currentPage()->findChildren<QLabel *>();
    QVERIFY(std::none_of(labels.cbegin(), labels.cend(),
        [&t](QLabel *label) { return label->text() == t.templates()->info(); }));
    t.fill("1234567890", "Ivanov", "150");
    const Payment payment = t.wizard.payment();
    QCOMPARE(payment.account(), QString("1234567890"));
    QCOMPARE(payment.comment(), QString());
    QCOMPARE(payment.additionalMap(), QVariantMap());
    QVERIFY(!payment.stringDetails().contains("Ivanov Ivan"));
}

// Back and forward again: a fresh form, the typed values gone.
void TestCXWPPayment::enteredAgain()
{
    Terminal t;
    t.wizard.show();
    t.choose(&t.wizard, "rbPaymentByCode");
    t.fill("1234567890", "Ivanov", "150");
    QVERIFY(t.wizard.currentPage()->isComplete());
    t.wizard.back();
    QVERIFY(!t.wizard.page(CorvexPayWizard::PagePayment)->isComplete());
    QCOMPARE(t.wizard.payment(), Payment());
    t.wizard.next();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(t.find<QLineEdit>("account")->text(), QString());
    QCOMPARE(t.amount("sbToAccount")->value(), 0.0);
    QCOMPARE(t.wizard.currentPage()->findChildren<QCheckBox *>().count(), 1);
}

void TestCXWPPayment::withoutProvider()
{
    CorvexPayWizard wizard(QFont(), currency(643, "RUB", 100), FixNumber(100, 500LL));
    wizard.show();
    wizard.setStartId(CorvexPayWizard::PagePayment);
    wizard.restart();
    QVERIFY(!wizard.currentPage()->isComplete());
    QVERIFY(!wizard.button(QWizard::FinishButton)->isEnabled());
    QCOMPARE(wizard.payment(), Payment());
    QVERIFY(!wizard.immidiatlyPost());
}

void TestCXWPPayment::languageChange()
{
    Terminal t;
    t.wizard.show();
    t.choose(&t.wizard, "rbPaymentByCode");
    QEvent event(QEvent::LanguageChange);
    QCoreApplication::sendEvent(t.wizard.currentPage(), &event);
    QCOMPARE(t.wizard.currentPage()->title(), QString("Payment"));
}

QTEST_MAIN(TestCXWPPayment)
#include "tst_cxwppayment.moc"
