#include "corvexpaywizard.h"
#include "cxwppayment.h"
#include "fakehost.h"
#include "formfixtures.h"
#include "testutil.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>

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

// The detail maps as "group/name=value", nested items after their group.
static QStringList flatten(const QVariantList &details, const QString &prefix = QString())
{
    QStringList lines;
    for (const QVariant &detail : details) {
        const QVariantMap map = detail.toMap();
        const QString name = prefix + map.value("name").toString();
        lines << name + "=" + map.value("value").toString();
        lines << flatten(map.value("items").toList(), name + "/");
    }
    return lines;
}

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
