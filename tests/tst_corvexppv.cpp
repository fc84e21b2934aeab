#include "corvexpaywizard.h"
#include "corvexppv.h"
#include "cxinputnote.h"
#include "cxmaskeditvalidator.h"
#include "cxphonewidget.h"
#include "cxwpselecttemplate.h"
#include "fakehost.h"
#include "formfixtures.h"
#include "summdoublespinbox.h"
#include "testutil.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QRegExp>
#include <QScrollArea>

#include <algorithm>
#include <functional>
#include <memory>

using namespace Fixture;
using Parameters = QList<ProviderParameter>;

static const QString BULLET(QChar(0x2022));
static const QString PHONE_BLANK = "8(" + BULLET.repeated(3) + ")" + BULLET.repeated(3) + "-"
    + BULLET.repeated(2) + "-" + BULLET.repeated(2);

// A form for the provider; a fixed commission below 0 means no commission profile, a currency
// multiplier of 0 no currency.
static std::unique_ptr<CorvexPpv> makeForm(const Provider &provider, long long fixed = -1,
    long long percent = 0, const QSharedPointer<FixNumber> &prepay = {}, int multiplier = 0)
{
    QSharedPointer<BoxComProfile> rules;
    if (fixed >= 0)
        rules.reset(new BoxComProfile(profile(100, fixed, percent)));
    QSharedPointer<Currency> money;
    if (multiplier > 0)
        money.reset(new Currency(currency(999, "XTS", multiplier)));
    return std::make_unique<CorvexPpv>(
        QSharedPointer<Provider>::create(provider), money, prepay, rules, QFont(), nullptr);
}

// The amount boxes as the operator reads them: summ, commission, to account; "locked" after a
// box the operator cannot change.
static QString amounts(const CorvexPpv &form)
{
    QStringList texts;
    for (const char *name : {"sbSumm", "sbComission", "sbToAccount"}) {
        const auto *box = form.findChild<QDoubleSpinBox *>(name);
        texts << box->cleanText();
        if (box->isReadOnly() && qstrcmp(name, "sbComission") != 0)
            texts << "locked";
    }
    return texts.join(' ');
}

// Clicks into the amount box and types the keys one by one; the box keeps exactly what was typed.
static void typeAmount(QDoubleSpinBox *amount, const QString &keys)
{
    amount->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    for (int i = 0; i < keys.size(); ++i) {
        QTest::keyClick(amount, keys.at(i).toLatin1());
        QCOMPARE(amount->cleanText(), keys.left(i + 1));
    }
}

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
        wizard.setComProfile(profile(100, 300));
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
        typeAmount(find<QDoubleSpinBox>(box), keys);
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

// The input widgets, the payment form built from a provider's parameters, and the wizard's
// payment page that holds the form.
class TestCorvexPpv : public QObject
{
    Q_OBJECT

private slots:
    void validator_data()
    {
        // A refused input puts the cursor at the end of the masked text, not of the typed one.
        const QString partial = "8(91" + PHONE_BLANK.mid(4), three = "^\\d{3}$";
        const int invalid = QValidator::Invalid, intermediate = QValidator::Intermediate,
                  acceptable = QValidator::Acceptable;
        addRows<QString, QString, QString, QString, int, int>(
            {"mask", "pattern", "text", "unmasked", "state", "pos"},
            {{"no mask", "", three, "8(912)", "8(912)", invalid, 6},
                {"full phone", PHONE_BLANK, three, "8(912)345-67-89", "9123456789", invalid, 15},
                {"partial phone", PHONE_BLANK, three, partial, "91", intermediate, 1},
                {"empty phone", PHONE_BLANK, three, PHONE_BLANK, "", intermediate, 1},
                {"text beyond the mask", "__", three, "1234", "12", intermediate, 1},
                {"typed char equal to the blank", "a_b", three, "x_y", "xy", invalid, 3},
                {"acceptable", "(___)", three, "(123)", "123", acceptable, 1},
                {"intermediate", "(___)", three, "(12_)", "12", intermediate, 1},
                {"invalid", "(___)", three, "(1x_)", "1x", invalid, 5},
                {"letter among digits", "", "\\d{3}", "1a", "1a", invalid, 2},
                {"empty input, empty pattern", "", "", "", "", acceptable, 1},
                {"text, empty pattern", "", "", "x", "x", invalid, 1},
                {"alternation prefix", "", "abc|de", "d", "d", intermediate, 1},
                {"broken pattern, empty input", "", "(", "", "", intermediate, 1},
                {"broken pattern, text", "", "(", "(", "(", invalid, 1}});
    }

    // Judged on the typed characters only; the text stays. A whole match is Acceptable, a match
    // cut short by the end of the input Intermediate, else Invalid, as Qt 5's QRegExpValidator
    // judges, under both Qt majors.
    void validator()
    {
        QFETCH(QString, mask);
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        CXMaskEditValidator validator(mask, nullptr);
        validator.setRegExp(QRegExp(pattern));
        QTEST(validator.unmaskText(text), "unmasked");
        const QString before = text;
        int pos = 1;
        QTEST(int(validator.validate(text, pos)), "state");
        QTEST(pos, "pos");
        QCOMPARE(text, before);
    }

    void phone_data()
    {
        const QString full = "8(912)345-67-89";
        addRows<QString, QString, QString, QString, bool>(
            {"how", "input", "phone", "masked", "valid"},
            {{"nothing typed", "type", "", "", "8()--", false},
                {"letters typed", "type", "abc", "", "8()--", false},
                {"nine digits typed", "type", "912345678", "912345678", "8(912)345-67-8", false},
                {"ten digits typed", "type", "9123456789", "9123456789", full, true},
                {"letters between digits", "type", "91a23b4567c89", "9123456789", full, true},
                {"eleven digits typed", "type", "91234567890", "9123456789", full, true},
                {"pasted with country code", "paste", "+7 912 345-67-89", "9123456789", full, true},
                {"pasted written with 8", "paste", "8 (912) 345 67 89", "9123456789", full, true},
                {"pasted part of a number", "paste", "91 2", "912", "8(912)--", false},
                {"pasted without digits", "paste", "call me", "", "8()--", false},
                {"set", "set", "9123456789", "9123456789", full, true},
                {"set, starting with 8", "set", "8123456789", "8123456789", "8(812)345-67-89",
                    true}});
    }

    // Typed, pasted or set by the host; the number survives a language change, the mask being
    // no translatable text.
    void phone()
    {
        QFETCH(QString, how);
        QFETCH(QString, input);
        CXPhoneWidget widget;
        auto *edit = widget.findChild<QLineEdit *>("lePhone");
        QSignalSpy changed(&widget, SIGNAL(textChanged(QString)));
        edit->setCursorPosition(2);
        if (how == "set") {
            widget.setPhone(input);
            QCOMPARE(edit->cursorPosition(), 2);
            QCOMPARE(changed.count(), 1);
        } else if (how == "paste") {
            QApplication::clipboard()->setText(input);
            QTest::keySequence(edit, QKeySequence::Paste);
        } else {
            QTest::keyClicks(edit, input);
        }
        QEvent languageChange(QEvent::LanguageChange);
        QApplication::sendEvent(&widget, &languageChange);
        QTEST(widget.phone(), "phone");
        QTEST(widget.maskedPhone(), "masked");
        QTEST(widget.isValid(), "valid");
        if (!changed.isEmpty())
            QCOMPARE(changed.last().at(0).toString(), widget.maskedPhone());
    }

    void spinBoxSelectsAllOnFocus_data()
    {
        addRows<bool>({"byMouse"}, {{"mouse", true}, {"set, typed at once", false}});
    }

    // An amount box taking the focus selects its text at once, so typing replaces the amount;
    // the click that gave the focus must not undo the selection.
    void spinBoxSelectsAllOnFocus()
    {
        QFETCH(bool, byMouse);
        QWidget window;
        auto *before = new QLineEdit(&window);
        auto *box = new SummDoubleSpinBox(&window);
        box->setGeometry(0, 30, 120, 24);
        box->setValue(42.5);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        before->setFocus();
        if (byMouse) {
            QTest::mouseClick(box->findChild<QLineEdit *>(), Qt::LeftButton, {}, QPoint(5, 5));
            QTRY_VERIFY(box->hasFocus());
            QCoreApplication::processEvents();
        } else {
            box->setFocus(Qt::OtherFocusReason);
        }
        QTest::keyClicks(box, "7");
        QCOMPARE(box->value(), 7.0);
    }
    void build_data()
    {
        const QMap<QString, QVariant> banks = {{"First", "1"}, {"Second", "2"}};
        // The inputs and groups from the top down, the amount boxes below them. The provider's
        // barcode is "2": it goes into an empty first field.
        addRows<Parameters, QStringList, QString, QString>(
            {"parameters", "inputs", "focus", "account"},
            {{"no parameters", {}, {}, "sbSumm", ""},
                {"positions 5 and 2", {field("a", 5), field("b", 2)}, {"b", "a"}, "b", "2"},
                {"group and empty name: no first field",
                    {field("", 1), group("g", 3, {field("x", 0), field("y", 1)})}, {"g"}, "sbSumm",
                    ""},
                {"name given twice: one field, the later",
                    {field("x", 1, "first"), field("x", 2, "second")}, {"x"}, "x", "second"},
                {"drop-down", {choice("bank", 1, banks, "")}, {"bank"}, "bank", "2"},
                {"barcode field: no focus", {barcodeField("a", 1, 0, 2)}, {"a"}, "", ""}});
    }

    void build()
    {
        QFETCH(Parameters, parameters);
        QFETCH(QStringList, inputs);
        Provider payee = provider(parameters);
        payee.setBarcode("2");
        const auto form = makeForm(payee);
        const auto placed = [](QLayout *layout) {
            auto *grid = qobject_cast<QGridLayout *>(layout);
            QMap<int, QString> names;
            for (int i = 0; i < grid->count(); ++i) {
                int row, column, rowSpan, columnSpan;
                grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
                if (column == 1 || columnSpan == 2)
                    names.insert(row, grid->itemAt(i)->widget()->objectName());
            }
            return names.values();
        };
        // The parameters in their scroll area, the amounts below it.
        auto *area = form->findChild<QScrollArea *>("saParameters");
        QCOMPARE(placed(area->widget()->layout()->itemAt(0)->layout()), inputs);
        QCOMPARE(placed(form->layout()->itemAt(1)->layout()),
            QStringList({"sbSumm", "sbComission", "sbToAccount"}));
        QTEST(form->focusWidget() ? form->focusWidget()->objectName() : QString(), "focus");
        QTEST(form->account(), "account");
    }

    void translateMask_data()
    {
        addRows<QString, QString>({"mask", "translated"},
            {{"phone", "8(999)999-99-99", "8(000)000-00-00;" + BULLET},
                {"every provider letter", "CcAaLl90", "XxNnAa09;" + BULLET},
                {"own blank character", "00;_", "99;_"},
                {"escaped semicolon", "00\\;_", "99\\;_;" + BULLET},
                {"too short to name a blank", ";_", ";_;" + BULLET},
                {"no mask", "", ";" + BULLET}});
    }

    void translateMask()
    {
        QFETCH(QString, mask);
        QTEST(CorvexPpv::translateMask(mask), "translated");
    }

    // What a field expects: from a simple pattern, else from its mask's places by kind.
    void expects_data()
    {
        addRows<QString, QString, QString>({"mask", "pattern", "words"},
            {{"phone mask", "8(999)999-99-99", "", "up to 10 digits"},
                {"all letters", "CcAaLl90", ".*",
                    "2 to 4 characters, 1 to 2 letters, 1 to 2 digits"},
                {"escaped, own blank", "00\\;0;_", "", "3 digits"},
                {"first digit required", "0999", "", "1 to 4 digits"},
                {"pattern before mask", "999", "^\\d{3}$", "3 digits"},
                {"range", "", "[0-9]{2,4}", "2 to 4 digits"},
                {"at least", "", "^.{3,}$", "at least 3 characters"},
                {"letters", "", "[A-Za-z]{2}", "2 letters"},
                {"not simple", "", "^$|^\\d+$", "a valid value"}});
    }
    void expects()
    {
        QFETCH(QString, mask);
        QFETCH(QString, pattern);
        QLineEdit edit;
        edit.setInputMask(CorvexPpv::translateMask(mask));
        auto *validator = new CXMaskEditValidator(edit.displayText(), &edit);
        validator->setRegExp(QRegExp(pattern));
        edit.setValidator(validator);
        QTEST(CXInputNote::expects(&edit), "words");
    }

    void entry_data()
    {
        const QMap<QString, QVariant> ba = {{"B", "1"}, {"A", "2"}};
        const auto phone = field("account", 1, "", "8(000)000-00-00", "^\\d{10}$");
        // The amount field stands for the amount to account unless it holds an amount of its own.
        const auto amount
            = [](const char *value) { return Parameters {field("SummToPay", 1, value)}; };
        addRows<Parameters, QVariantMap, QStringList, bool, QString>(
            {"parameters", "typed", "details", "valid", "refused"},
            {{"phone partly typed", {phone}, {{"account", "912345678"}}, {"account=912345678"},
                 false, ""},
                {"phone typed", {phone}, {{"account", "9123456789"}}, {"account=9123456789"}, true,
                    ""},
                {"letters refused by the mask", {phone}, {{"account", "abc"}}, {"account="}, false,
                    ""},
                {"key refused by the pattern", {field("account", 1, "", "", "^[A-Z]{3}$")},
                    {{"account", "AB1C"}}, {"account=ABC"}, true, ""},
                {"pattern that does not compile", {field("account", 1, "", "LLL", "([A-")},
                    {{"account", "abc"}}, {"account=abc"}, false, ""},
                {"nothing asked, nothing typed", {field("account", 1)}, {}, {"account="}, true, ""},
                {"drop-down: value of the second text", {choice("account", 1, ba, "2")}, {},
                    {"account=2"}, true, ""},
                {"drop-down: value of no item", {choice("account", 1, ba, "3")}, {}, {"account="},
                    false, ""},
                {"drop-down: operator picks B", {choice("account", 1, ba, "3")}, {{"account", "B"}},
                    {"account=1"}, true, ""},
                {"ordered by name", {field("b", 1, "x"), field("a", 2, "y")}, {}, {"a=y", "b=x"},
                    true, ""},
                {"empty name keeps its value", {field("", 1, "keep"), field("a", 2, "y")}, {},
                    {"=keep", "a=y"}, true, ""},
                {"groups three deep",
                    {group("g1", 1, {group("g2", 0, {group("g3", 0, {field("f", 0)})})})},
                    {{"f", "deep"}}, {"g1=", "g1/g2=", "g1/g2/g3=", "g1/g2/g3/f=deep"}, true, ""},
                {"amount field empty", amount(""), {}, {"SummToPay=25.00"}, true, ""},
                {"amount field below a cent", amount("0.005"), {}, {"SummToPay=25.00"}, true, ""},
                {"amount field", amount("12.5"), {}, {"SummToPay=12.50"}, true, ""},
                {"amount field not an amount", amount("1e3"), {}, {"SummToPay=25.00"}, true, ""},
                // A value the mask would cut is not entered at all until the operator types.
                {"value does not fit: 11 digits",
                    {field("account", 1, "40817810019", "0000000000")}, {}, {"account="}, false,
                    "40817810019"},
                {"value does not fit: check digit",
                    {field("account", 1, "4081781001-5", "0000000000")}, {}, {"account="}, false,
                    "4081781001-5"},
                {"value does not fit, then typed",
                    {field("account", 1, "40817810019", "0000000000")}, {{"account", "4081781001"}},
                    {"account=4081781001"}, true, ""},
                {"value does not fit the pattern", {field("account", 1, "abc", "", "^$|^\\d+$")},
                    {}, {"account="}, false, "abc"},
                {"value fits the mask", {field("account", 1, "4081781001", "00000-00000")}, {},
                    {"account=4081781001"}, true, ""}});
    }

    // Fields are judged as the operator types; only complete entries make the form valid. The
    // payment's details carry every entry by name, at every depth.
    void entry()
    {
        QFETCH(Parameters, parameters);
        QFETCH(QVariantMap, typed);
        QFETCH(bool, valid);
        if (!QRegExp(parameters.first().regExp()).isValid())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Parameter \"account\".*"));
        const auto form
            = makeForm(provider(parameters), -1, 0, QSharedPointer<FixNumber>::create(100, 2500LL));
        if (auto *combo = form->findChild<QComboBox *>("account"))
            QCOMPARE(combo->itemText(0), QString("A")); // texts in ascending order
        QSignalSpy changed(form.get(), SIGNAL(changed(bool)));
        for (auto it = typed.cbegin(); it != typed.cend(); ++it) {
            auto *widget = form->findChild<QWidget *>(it.key());
            if (auto *edit = qobject_cast<QLineEdit *>(widget))
                edit->home(false);
            QTest::keyClicks(widget, it.value().toString());
        }
        // Keys that change nothing are judged on request.
        if (changed.isEmpty())
            form->check();
        QTEST(flatten(form->details()), "details");
        QCOMPARE(changed.last().at(0).toBool(), valid);
        // The note names a given value the field refused, until the operator types.
        QFETCH(QString, refused);
        const auto *note = form->findChild<QLabel *>("lRefused");
        QCOMPARE(note && !note->isHidden() ? note->text() : QString(),
            refused.isEmpty()
                ? QString()
                : QString("account: \"%1\" does not fit this field and was not entered")
                      .arg(refused));
        if (auto *account = form->findChild<QWidget *>("account"))
            QCOMPARE(account->styleSheet().isEmpty(), valid);
    }

    void barcode_data()
    {
        const Parameters two = {barcodeField("a", 1, 0, 9), barcodeField("b", 2, 10, 15)};
        const auto withAmount = [](bool locked) {
            ProviderParameter amount = barcodeField("SummToPay", 2, 4, 9);
            amount.setBarcodeReadOnly(locked);
            return Parameters {barcodeField("account", 1, 0, 3), amount};
        };
        const QStringList valid = {"valid"}, bad = {"Incorrect barcode"};
        const QString zero = "0.00 0.00 0.00";
        // 1.5 % on top of 150.00: 150 * 0.015 / 0.985 = 2.284..., so 2.28.
        addRows<Parameters, QString, QStringList, QStringList, QString>(
            {"parameters", "scan", "heard", "fields", "amounts"},
            {{"no barcode fields", {field("a", 1)}, "123", valid, {"a="}, zero},
                {"two fields", two, "0123456789ABCDEF", valid, {"a=0123456789", "b=ABCDEF"}, zero},
                {"one character short: nothing written", two, "0123456789ABCDE", bad, {"a=", "b="},
                    zero},
                {"empty scan", two, "", {}, {"a=", "b="}, zero},
                {"one position", {barcodeField("c", 1, 4, 4)}, "0123456", valid, {"c=4"}, zero},
                {"reversed positions", {barcodeField("r", 1, 5, 2)}, "0123456789", bad, {"r="},
                    zero},
                {"negative position: no barcode field", {barcodeField("n", 1, 3, -1)}, "0123456789",
                    valid, {"n="}, zero},
                {"amount", withAmount(false), "ACC1150.00", valid,
                    {"account=ACC1", "SummToPay=150.00"}, "152.28 2.28 150.00"},
                {"locked amount", withAmount(true), "ACC1150.00", valid,
                    {"account=ACC1", "SummToPay=150.00"}, "152.28 locked 2.28 150.00 locked"},
                {"letter in the amount", withAmount(false), "ACC11O0.00",
                    {"Invalid summ format: 1O0.00", "valid"}, {"account=ACC1", "SummToPay=1O0.00"},
                    zero},
                {"piece does not fit its mask", {barcodeField("m", 1, 0, 4, "0000")}, "123456",
                    valid, {"m="}, zero},
                {"negative amount", withAmount(false), "ACC1-50.00",
                    {"Invalid summ format: -50.00", "valid"}, {"account=ACC1", "SummToPay=-50.00"},
                    zero}});
    }

    void barcode()
    {
        QFETCH(Parameters, parameters);
        const auto form = makeForm(provider(parameters), 0, 150);
        QSignalSpy valid(form.get(), SIGNAL(barcodeValid()));
        QSignalSpy error(form.get(), SIGNAL(barcodeError(QString)));
        QSignalSpy changed(form.get(), SIGNAL(changed(bool)));
        // What the scanner side and the operator hear: the signals, and the error box's text.
        QStringList heard;
        QTimer::singleShot(0, form.get(), [&heard] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                heard << box->text();
                box->close();
            }
        });
        QFETCH(QString, scan);
        form->barcodeChanged(scan);
        for (int i = 0; i < valid.count(); ++i)
            heard << "valid";
        for (const QList<QVariant> &arguments : qAsConst(error))
            heard << arguments.at(0).toString();
        QTEST(heard, "heard");
        QCOMPARE(changed.count(), valid.count());
        QStringList fields;
        for (const ProviderParameter &parameter : parameters)
            fields << parameter.name() + "="
                    + form->findChild<QLineEdit *>(parameter.name())->text();
        QTEST(fields, "fields");
        QTEST(amounts(*form), "amounts");
    }

    void typedAmount_data()
    {
        // The typed box keeps the operator's text; the others show the amounts with decimals.
        addRows<QString, qlonglong, qlonglong, QString, QString, qlonglong>(
            {"box", "fixed", "percent", "keys", "amounts", "credited"},
            {{"summ, fixed 3.00", "sbSumm", 300, 0, "12.50", "12.50 3.00 9.50", 950},
                {"summ, no profile", "sbSumm", -1, 0, "12.50", "12.50 0.00 12.50", 1250},
                {"summ below the commission: cut", "sbSumm", 300, 0, "1", "1 1.00 0.00", 0},
                {"summ at the maximum", "sbSumm", 300, 0, "1000000000",
                    "1000000000 3.00 999999997.00", 99999999700},
                {"to account, fixed 3.00", "sbToAccount", 300, 0, "12.50", "15.50 3.00 12.50",
                    1250},
                {"to account, no profile", "sbToAccount", -1, 0, "0.29", "0.29 0.00 0.29", 29},
                {"to account below the commission: in full", "sbToAccount", 300, 0, "1",
                    "4.00 3.00 1", 100},
                {"to account, 99.99 % on top", "sbToAccount", 0, 9999, "10",
                    "100000.00 99990.00 10", 1000},
                {"to account at the maximum", "sbToAccount", 300, 0, "1000000000",
                    "1000000003.00 3.00 1000000000", 100000000000}});
    }

    void typedAmount()
    {
        QFETCH(qlonglong, fixed);
        QFETCH(qlonglong, percent);
        QFETCH(QString, keys);
        const auto form = makeForm(provider({}), fixed, percent);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QFETCH(QString, box);
        QSignalSpy amountChanged(form.get(), SIGNAL(amountChanged()));
        typeAmount(form->findChild<QDoubleSpinBox *>(box), keys);
        QVERIFY(amountChanged.count() > 0);
        QTEST(amounts(*form), "amounts");
        QTEST(form->summ().value(), "credited");
    }

    // The host's prepay, or the provider's fixed sum above it, in units of `unit`, is the amount to
    // account; the boxes show the currency's decimals, two without a currency, and round a finer
    // amount as if typed.
    void hostAmounts_data()
    {
        addRows<int, int, qlonglong, qlonglong, QString>(
            {"multiplier", "unit", "prepay", "fixedSumm", "amounts"},
            {{"prepay", 0, 100, 2500, 0, "28.00 3.00 25.00"},
                {"fixed sum over the prepay", 0, 100, 2500, 4000, "43.00 3.00 40.00"},
                {"prepay beyond the box maximum", 0, 100, 200000000000, 0,
                    "2000000003.00 3.00 2000000000.00"},
                {"whole units", 1, 1, 25, 0, "28 3 25"},
                {"thousandths", 1000, 1000, 25001, 0, "28.001 3.000 25.001"},
                {"prepay finer than the currency", 100, 1000, 12355, 0, "15.36 3.00 12.36"},
                {"fixed sum finer than the currency", 100, 1000, 0, 125, "3.13 3.00 0.13"}});
    }

    void hostAmounts()
    {
        QFETCH(int, multiplier);
        QFETCH(int, unit);
        QFETCH(qlonglong, prepay);
        QFETCH(qlonglong, fixedSumm);
        Provider payee = provider({});
        payee.setFixedSumm(FixNumber(unit, fixedSumm));
        const auto form
            = makeForm(payee, 300, 0, QSharedPointer<FixNumber>::create(unit, prepay), multiplier);
        QTEST(amounts(*form), "amounts");
    }
    void pay_data()
    {
        addRows<QString, QString, QString, QString, bool, qlonglong>(
            {"road", "account", "box", "keys", "complete", "credited"},
            {{"amount without account", "code", "", "sbToAccount", "1", false, 0},
                {"account, amounts zero", "code", "1234567890", "sbSumm", "0", false, 0},
                {"by code, 12.50 typed to account, into the basket", "code, basket", "1234567890",
                    "sbToAccount", "12.50", true, 1250},
                {"by template", "template", "7700112233", "sbToAccount", "150", true, 15000},
                // The form refuses a code the account field cannot hold whole.
                {"by a template whose code does not fit", "long template", "", "sbToAccount", "150",
                    false, 0},
                {"back from a template, then by code", "template, back, code", "1234567890",
                    "sbToAccount", "150", true, 15000}});
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
        QSignalSpy finished(&t.wizard, &QDialog::accepted);
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
            // A double-click on Finish hands over one payment.
            QAbstractButton *finish = t.wizard.button(QWizard::FinishButton);
            QCOMPARE(finish->isEnabled(), complete);
            Operator::doubleClick(finish);
        });
        QCOMPARE(accepted, complete);
        QCOMPARE(finished.count(), int(complete));
        if (!complete)
            return;
        QCOMPARE(t.wizard.visitedIds(),
            byTemplate ? QList<int>({0, 4, 14, 7, 15}) : QList<int>({0, 15}));
        QCOMPARE(t.host.requests.count(), road.contains("template") ? 1 : 0);
        QCOMPARE(t.wizard.immidiatlyPost(), !basket);

        const Payment payment = t.wizard.payment();
        QTEST(payment.summ().value(), "credited");
        QCOMPARE(payment.account(), account);
        QCOMPARE(flatten(payment.details()),
            QStringList({"account=" + account, "payType=1", "payer=", "payer/name=Ivanov"}));
        QVERIFY(payment.created() >= before && payment.created() <= QDateTime::currentDateTime());
        QCOMPARE(payment.comment(), byTemplate ? t.templates()->plainDescription() : QString());
        QCOMPARE(
            payment.additionalMap(), byTemplate ? t.templates()->additionalData() : QVariantMap());
    }

    // Finish is never grey without words: the field typed wrong alone, else what is missing.
    void words_data()
    {
        addRows<QString, QString, QString>({"payType", "account", "shown"},
            {{"nine digits", "1", "912345678", "account: 10 digits"},
                {"nothing chosen, no amount", "3", "9123456789",
                    "payType: choose one\nSumm: more than zero"}});
    }
    void words()
    {
        QFETCH(QString, payType);
        QFETCH(QString, account);
        Terminal t;
        t.wizard.provider()->parameters()[1].setValue(payType);
        t.wizard.show();
        t.choose("rbPaymentByCode");
        t.fill(account, "", "sbToAccount", "0");
        QTEST(Operator::note(t.wizard.currentPage()), "shown");
        QVERIFY(!t.wizard.button(QWizard::FinishButton)->isEnabled());
        Operator::type(t.find("account"), "0");
        Operator::type(t.find("payType"), "C");
        typeAmount(t.find<QDoubleSpinBox>("sbToAccount"), "5");
        QCOMPARE(Operator::note(t.wizard.currentPage()), QString());
        QVERIFY(t.wizard.button(QWizard::FinishButton)->isEnabled());
        auto *note = t.find<CXInputNote>("lInputNote");
        note->setSource([] { return QVector<CXInputNote::Problem>(5, {"f", "x"}).toList(); });
        note->refresh();
        QCOMPARE(note->text(), "f: x\nf: x\nf: x\nand 2 more");
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

QTEST_MAIN(TestCorvexPpv)
#include "tst_corvexppv.moc"
