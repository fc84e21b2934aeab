#include "corvexpaywizard.h"
#include "cxwppayment.h"
#include "cxwpselecttemplate.h"
#include "fakehost.h"
#include "formfixtures.h"
#include "testutil.h"

#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>

#include <algorithm>
#include <functional>

using namespace Fixture;

// The customer's two templates, as the service lists them, the second with the given code.
static QVariantList templateList(const QString &code)
{
    return {QVariantMap {
                {"creditType", "Loan"}, {"bankName", "First Bank"}, {"creditCode", "1111111111"}},
        QVariantMap {{"creditType", "Mortgage"}, {"bankName", "Second <Bank>"},
            {"creditCode", code}, {"addInfo", QVariantMap {{"Contract", "C-7"}}}}};
}

// A wizard for one credit repayment (a ten-digit account, how the credit is paid, the payer's
// name in a group) with 3.00 commission, connected to a fake host.
struct Terminal
{
    Terminal()
        : wizard(QFont("Sans", 13), currency(643, "RUB", 100), FixNumber(100, 0LL))
    {
        wizard.setProvider(provider({field("account", 1, "5550001111", "0000000000", "^\\d{10}$"),
            choice("payType", 2, {{"Card", "2"}, {"Credit", "1"}}, "1"),
            group("payer", 3, {field("name", 0)})}));
        BoxComProfile rules = profile(100, 300);
        BoxComProfileItem entry;
        entry.setProviderId(1586);
        entry.setPayCheckFlags(PayCheckOnline | PayCheckPrintCheck);
        rules.setItems({entry});
        wizard.setComProfile(rules);
        wizard.setMessageSender(&host, FakeHost::method());
        wizard.setMessageReciever(&host, FakeHost::signal());
    }

    template<typename T = QWidget> T *find(const QString &name) const
    {
        return wizard.currentPage()->findChild<T *>(name);
    }
    CXWPSelectTemplate *templates() const
    {
        return qobject_cast<CXWPSelectTemplate *>(wizard.page(CorvexPayWizard::PageSelectTemplate));
    }

    void choose(const QString &action)
    {
        Operator::click(find(action));
        QVERIFY(Operator::next(&wizard));
    }

    // 0 -> 4 -> 14 -> 7 -> 15: the customer's phone, the service's list, the second template.
    void payTemplate(const QString &code = "7700112233")
    {
        choose("rbRequirementsCodes");
        auto *phone = find<QLineEdit>("lePhone");
        phone->setCursorPosition(2);
        Operator::type(phone, "9001234567");
        QVERIFY(Operator::next(&wizard));
        const QVariantMap params = {{"errorCode", 0}, {"phone", "9001234567"},
            {"fullName", "Ivanov Ivan"}, {"templateList", templateList(code)}};
        emit host.reply({},
            toJson({{"uid", host.requests.last().value("uid")}, {"error", false},
                {"params", params}}));
        QVERIFY(Operator::next(&wizard));
        auto *list = find<QListView>("lvTemplates");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
            list->visualRect(list->model()->index(1, 0)).center());
        QVERIFY(Operator::next(&wizard));
    }

    // The operator types the account digits, the payer's name and, key by key, an amount,
    // which the box keeps exactly as typed while the wizard re-judges the page.
    void fill(const QString &account, const QString &name, const QString &box, const QString &keys)
    {
        auto *edit = find<QLineEdit>("account");
        edit->setFocus(Qt::MouseFocusReason);
        edit->home(false);
        QTest::keyClicks(edit, account);
        Operator::type(find("name"), name);
        auto *amount = find<QDoubleSpinBox>(box);
        amount->setFocus(Qt::MouseFocusReason);
        QCoreApplication::processEvents();
        for (int i = 0; i < keys.size(); ++i) {
            QTest::keyClick(amount, keys.at(i).toLatin1());
            QCOMPARE(amount->cleanText(), keys.left(i + 1));
        }
    }

    FakeHost host;
    CorvexPayWizard wizard;
};

// Runs the wizard modally, as the host does, with the operator's steps inside the modal loop.
static bool execute(CorvexPayWizard &wizard, const std::function<void()> &steps)
{
    QTimer::singleShot(0, &wizard, [&wizard, steps] {
        steps();
        // A failed or unfinished road must not leave the modal loop running.
        if (wizard.isVisible())
            static_cast<QDialog &>(wizard).done(QDialog::Rejected);
    });
    return wizard.execute();
}

class TestCXWPPayment : public QObject
{
    Q_OBJECT

private slots:
    void pay_data()
    {
        addRows<QString, QString, QString, QString, bool, qlonglong>(
            {"road", "account", "box", "keys", "complete", "credited"},
            {
                {"amount without account", "code", "", "sbToAccount", "1", false, 0},
                {"account, amounts zero", "code", "1234567890", "sbSumm", "0", false, 0},
                {"by code, 1 to account", "code", "1234567890", "sbToAccount", "1", true, 100},
                {"by code, 12.50 typed to account, into the basket", "code, basket", "1234567890",
                    "sbToAccount", "12.50", true, 1250},
                {"by template", "template", "7700112233", "sbToAccount", "150", true, 15000},
                // The form refuses a code the account field cannot hold whole.
                {"by a template whose code does not fit", "long template", "", "sbToAccount", "150",
                    false, 0},
                {"back from a template, then by code", "template, back, code", "1234567890",
                    "sbToAccount", "150", true, 15000},
            });
    }

    // The host runs the wizard modally; Finish hands it the payment, Cancel nothing. By template,
    // the template's code is the account and its texts and data go with the payment; by code, the
    // catalogue's account is emptied for the operator and nothing of a template visited before
    // stays: not the code, not its texts, not the data its receipt would print.
    void pay()
    {
        QFETCH(QString, road);
        QFETCH(QString, account);
        QFETCH(QString, box);
        QFETCH(QString, keys);
        QFETCH(bool, complete);
        const bool byTemplate = road.endsWith("template");
        const bool basket = road.endsWith("basket");
        Terminal t;
        const QDateTime before = QDateTime::currentDateTime();
        const bool accepted = execute(t.wizard, [&] {
            QVERIFY(QTest::qWaitForWindowActive(&t.wizard));
            if (road.startsWith("template"))
                t.payTemplate();
            if (road == "long template")
                t.payTemplate("40817810019");
            if (road.startsWith("template, back")) {
                t.fill(QString(), "Ivanov", "sbToAccount", "150");
                while (t.wizard.currentId() != CorvexPayWizard::PageActionSelect)
                    t.wizard.back();
                // The form of the page left behind is gone; the page must not read it.
                QCOMPARE(t.wizard.payment(), Payment());
            }
            if (road.contains("code")) {
                t.choose("rbPaymentByCode");
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            }
            // A fresh form on every entry.
            QCOMPARE(t.find<QDoubleSpinBox>("sbToAccount")->value(), 0.0);
            QCOMPARE(t.wizard.currentPage()->findChildren<QCheckBox *>().count(), 1);
            QCOMPARE(QApplication::focusWidget(), t.find("account"));
            QCOMPARE(t.find<QLineEdit>("account")->text(), byTemplate ? account : QString());
            const auto *card = t.wizard.currentPage()->findChild<QLabel *>("lTemplate");
            QCOMPARE(card ? card->text() : QString(),
                byTemplate ? t.templates()->description() : QString());
            const QList<QLabel *> labels = t.wizard.currentPage()->findChildren<QLabel *>();
            QCOMPARE(std::any_of(labels.cbegin(), labels.cend(),
                         [&t](QLabel *label) { return label->text() == t.templates()->info(); }),
                byTemplate);
            t.fill(byTemplate ? QString() : account, "Ivanov", box, keys);
            if (basket)
                Operator::click(t.wizard.currentPage()->findChild<QCheckBox *>());
            QCOMPARE(Operator::finish(&t.wizard), complete);
        });
        QCOMPARE(accepted, complete);
        if (!complete)
            return;
        QCOMPARE(t.wizard.visitedIds(),
            byTemplate ? QList<int>({0, 4, 14, 7, 15}) : QList<int>({0, 15}));
        QCOMPARE(t.host.requests.count(), road.contains("template") ? 1 : 0);
        QCOMPARE(t.wizard.immidiatlyPost(), !basket);

        const Payment payment = t.wizard.payment();
        QCOMPARE(payment.providerId(), qint64(1586));
        QCOMPARE(payment.currencyId(), qint64(643));
        QCOMPARE(payment.providerName(), QString("Corvex"));
        QCOMPARE(payment.providerCheckTitle(), QString("Corvex credit repayment"));
        QTEST(payment.summ().value(), "credited");
        QCOMPARE(payment.comission(), FixNumber(100, 300LL));
        QCOMPARE(payment.account(), account);
        QCOMPARE(flatten(payment.details()),
            QStringList({"account=" + account, "payType=1", "payer=", "payer/name=Ivanov"}));
        QVERIFY(payment.created() >= before && payment.created() <= QDateTime::currentDateTime());
        QCOMPARE(payment.checkFlags(), EPayCheckFlags(PayCheckOnline | PayCheckPrintCheck));
        QCOMPARE(payment.comment(), byTemplate ? t.templates()->plainDescription() : QString());
        QCOMPARE(
            payment.additionalMap(), byTemplate ? t.templates()->additionalData() : QVariantMap());
    }

    void withoutProvider()
    {
        CorvexPayWizard wizard(QFont(), currency(643, "RUB", 100), FixNumber(100, 500LL));
        wizard.show();
        wizard.setStartId(CorvexPayWizard::PagePayment);
        wizard.restart();
        QVERIFY(!wizard.currentPage()->isComplete());
        QCOMPARE(wizard.payment(), Payment());
    }
};

QTEST_MAIN(TestCXWPPayment)
#include "tst_cxwppayment.moc"
