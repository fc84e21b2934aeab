#include "corvexppv.h"
#include "formfixtures.h"
#include "testutil.h"

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QRandomGenerator>

#include <algorithm>
#include <memory>

using namespace Fixture;
using Parameters = QList<ProviderParameter>;

static const QString INVALID = "background-color: rgb(207, 173, 203)";
static const QString BULLET(QChar(0x2022));

// A form for the provider; a fixed commission below 0 means no commission profile.
static std::unique_ptr<CorvexPpv> makeForm(const Provider &provider, long long fixed = -1,
    long long percent = 0, const QSharedPointer<Currency> &currency = {},
    const QSharedPointer<FixNumber> &prepay = {})
{
    const unsigned int multiplier = currency ? currency->realMultiplier() : 100;
    QSharedPointer<BoxComProfile> profile;
    if (fixed >= 0)
        profile.reset(new BoxComProfile(Fixture::profile(multiplier, fixed, percent)));
    return std::make_unique<CorvexPpv>(
        QSharedPointer<Provider>::create(provider), currency, prepay, profile, QFont(), nullptr);
}

static QDoubleSpinBox *box(const CorvexPpv &form, const QString &name)
{
    return form.findChild<QDoubleSpinBox *>(name);
}

// "name:row" for every input and group of the form's grid, in the order they were placed.
static QStringList gridRows(const CorvexPpv &form)
{
    auto *grid = qobject_cast<QGridLayout *>(form.layout());
    QStringList rows;
    for (int i = 0; i < grid->count(); ++i) {
        int row, column, rowSpan, columnSpan;
        grid->getItemPosition(i, &row, &column, &rowSpan, &columnSpan);
        if (column == 1 || columnSpan == 2)
            rows << QString("%1:%2").arg(grid->itemAt(i)->widget()->objectName()).arg(row);
    }
    return rows;
}

// Closes the next modal message box and keeps its text.
static void closeNextMessageBox(QString *text)
{
    QTimer::singleShot(0, [text] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            *text = box->text();
            box->close();
        }
    });
}

class TestCorvexPpv : public QObject
{
    Q_OBJECT

private slots:
    void layout_data();
    void layout();
    void comboBox_data();
    void comboBox();
    void translateMask_data();
    void translateMask();
    void typing_data();
    void typing();
    void firstField_data();
    void firstField();
    void details_data();
    void details();
    void barcode_data();
    void barcode();
    void scannedAmount_data();
    void scannedAmount();
    void typedAmount_data();
    void typedAmount();
    void hostAmounts_data();
    void hostAmounts();
    void moneyInvariant_data();
    void moneyInvariant();
};

void TestCorvexPpv::layout_data()
{
    QTest::addColumn<Parameters>("parameters");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("stretchRow");
    QTest::addColumn<bool>("tightSpacing");
    const auto amountRows = [](int first) {
        return QStringList {QString("sbSumm:%1").arg(first),
            QString("sbComission:%1").arg(first + 1), QString("sbToAccount:%1").arg(first + 2)};
    };
    // Fields p00, p01... at the positions 0, 1...
    const auto numbered = [](int count, QStringList *rows) {
        Parameters parameters;
        for (int i = 0; i < count; ++i) {
            parameters << field(QString("p%1").arg(i, 2, 10, QChar('0')), i);
            *rows << parameters.last().name() + ":" + QString::number(i);
        }
        return parameters;
    };
    QTest::newRow("no parameters") << Parameters() << amountRows(2) << 1 << false;
    QTest::newRow("positions 5 and 2") << Parameters {field("a", 5), field("b", 2)}
                                       << QStringList {"b:2", "a:5"} + amountRows(7) << 6 << false;
    QTest::newRow("group and empty name")
        << Parameters {field("", 1), group("g", 3, {field("x", 0), field("y", 1)})}
        << QStringList {"g:3"} + amountRows(5) << 4 << false;
    QStringList eightRows, nineRows, fiftyRows;
    const Parameters eight = numbered(8, &eightRows);
    const Parameters nine = numbered(9, &nineRows);
    const Parameters fifty = numbered(50, &fiftyRows);
    QTest::newRow("eight parameters") << eight << eightRows + amountRows(9) << 8 << false;
    QTest::newRow("nine parameters") << nine << nineRows + amountRows(10) << 9 << true;
    QTest::newRow("fifty parameters") << fifty << fiftyRows + amountRows(51) << 50 << true;
}

void TestCorvexPpv::layout()
{
    QFETCH(Parameters, parameters);
    QFETCH(int, stretchRow);
    const auto form = makeForm(provider(parameters));
    QTEST(gridRows(*form), "rows");
    auto *grid = qobject_cast<QGridLayout *>(form->layout());
    QCOMPARE(grid->rowStretch(stretchRow), 1);
    QTEST(grid->spacing() == 3, "tightSpacing");
    QCOMPARE(grid->contentsMargins(), QMargins(3, 3, 3, 3));
}

void TestCorvexPpv::comboBox_data()
{
    addRows<QString, QStringList, int, bool>({"value", "items", "current", "valid"},
        {
            {"value of the second text", "2", {"A", "B"}, 0, true},
            {"value of no item", "3", {"A", "B"}, -1, false},
        });
}

// The texts come in ascending order; the item whose data is the value is selected.
void TestCorvexPpv::comboBox()
{
    QFETCH(QString, value);
    QFETCH(bool, valid);
    const auto form = makeForm(provider({choice("bank", 1, {{"B", "1"}, {"A", "2"}}, value)}));
    auto *combo = form->findChild<QComboBox *>("bank");
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    QTEST(items, "items");
    QTEST(combo->currentIndex(), "current");
    QCOMPARE(combo->styleSheet(), valid ? QString() : INVALID);

    QSignalSpy changed(form.get(), SIGNAL(changed(bool)));
    combo->setCurrentIndex(1);
    QCOMPARE(changed.last().at(0).toBool(), true);
    QCOMPARE(form->account(), QString("1"));
}

void TestCorvexPpv::translateMask_data()
{
    addRows<QString, QString>({"mask", "translated"},
        {
            {"phone", "8(999)999-99-99", "8(000)000-00-00;" + BULLET},
            {"letters and digits", "LL-0000", "AA-9999;" + BULLET},
            {"every provider letter", "CcAaLl90", "XxNnAa09;" + BULLET},
            {"own blank character", "00;_", "99;_"},
            {"escaped semicolon", "00\\;_", "99\\;_;" + BULLET},
            {"too short to name a blank", ";_", ";_;" + BULLET},
            {"no mask", "", ";" + BULLET},
        });
}

void TestCorvexPpv::translateMask()
{
    QFETCH(QString, mask);
    QTEST(CorvexPpv::translateMask(mask), "translated");
}

void TestCorvexPpv::typing_data()
{
    addRows<QString, QString, QString, QString, bool>(
        {"mask", "regExp", "keys", "entered", "valid"},
        {
            {"phone partly typed", "8(000)000-00-00", "^\\d{10}$", "912345678", "912345678", false},
            {"phone typed", "8(000)000-00-00", "^\\d{10}$", "9123456789", "9123456789", true},
            {"letters refused by the mask", "8(000)000-00-00", "^\\d{10}$", "abc", "", false},
            {"key refused by the pattern", "", "^[A-Z]{3}$", "AB1C", "ABC", true},
            {"pattern that does not compile", "LLL", "([A-", "abc", "abc", false},
            {"nothing asked, nothing typed", "", "", "", "", true},
        });
}

// The field is judged after every key; only a complete entry makes the form valid.
void TestCorvexPpv::typing()
{
    QFETCH(QString, mask);
    QFETCH(QString, regExp);
    QFETCH(QString, keys);
    QFETCH(bool, valid);
    if (!QRegExp(regExp).isValid())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Parameter \"account\".*"));
    const auto form = makeForm(provider({field("account", 1, QString(), mask, regExp)}));
    auto *edit = form->findChild<QLineEdit *>("account");
    QSignalSpy changed(form.get(), SIGNAL(changed(bool)));
    edit->home(false);
    QTest::keyClicks(edit, keys);
    QTEST(form->account(), "entered");
    form->check();
    QCOMPARE(changed.last().at(0).toBool(), valid);
    QCOMPARE(edit->styleSheet(), valid ? QString() : INVALID);
}

void TestCorvexPpv::firstField_data()
{
    QTest::addColumn<Parameters>("parameters");
    QTest::addColumn<QString>("barcode");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("account");
    const QMap<QString, QVariant> banks = {{"First", "1"}, {"Second", "2"}};
    QTest::newRow("no parameters") << Parameters() << "123"
                                   << "sbSumm"
                                   << "";
    QTest::newRow("lowest position, filled from the code")
        << Parameters {field("a", 3), field("b", 1)} << "123"
        << "b"
        << "123";
    QTest::newRow("value kept") << Parameters {field("a", 1, "777")} << "123"
                                << "a"
                                << "777";
    QTest::newRow("drop-down filled from the code")
        << Parameters {choice("bank", 1, banks, "")} << "2"
        << "bank"
        << "2";
    QTest::newRow("every input in a group") << Parameters {group("g", 1, {field("x", 0)})} << "123"
                                            << "sbSumm"
                                            << "";
    QTest::newRow("barcode fields: no focus") << Parameters {barcodeField("a", 1, 0, 2)} << "123"
                                              << ""
                                              << "";
}

void TestCorvexPpv::firstField()
{
    QFETCH(Parameters, parameters);
    QFETCH(QString, barcode);
    Provider payee = provider(parameters);
    payee.setBarcode(barcode);
    const auto form = makeForm(payee);
    QTEST(form->focusWidget() ? form->focusWidget()->objectName() : QString(), "focus");
    QTEST(form->account(), "account");
}

void TestCorvexPpv::details_data()
{
    QTest::addColumn<Parameters>("parameters");
    QTest::addColumn<QVariantMap>("typed");
    QTest::addColumn<int>("fields");
    QTest::addColumn<QStringList>("details");
    const QVariantMap none;
    QTest::newRow("ordered by name") << Parameters {field("b", 1, "x"), field("a", 2, "y")} << none
                                     << 2 << QStringList {"a=y", "b=x"};
    QTest::newRow("typed value") << Parameters {field("a", 1, "y")} << QVariantMap {{"a", "z"}} << 1
                                 << QStringList {"a=yz"};
    QTest::newRow("empty name keeps its value") << Parameters {field("", 1, "keep"),
        field("a", 2, "y")} << none << 1 << QStringList {"=keep", "a=y"};
    QTest::newRow("name given twice: one field, the later") << Parameters {field("x", 1, "first"),
        field("x", 2, "second")} << none << 1 << QStringList {"x=second"};
    QTest::newRow("groups three deep")
        << Parameters {group("g1", 1, {group("g2", 0, {group("g3", 0, {field("f", 0)})})})}
        << QVariantMap {{"f", "deep"}} << 1
        << QStringList {"g1=", "g1/g2=", "g1/g2/g3=", "g1/g2/g3/f=deep"};
    // The amount field stands for the amount to account unless it holds an amount of its own.
    const auto amount
        = [](const QString &value) { return Parameters {field("SummToPay", 1, value)}; };
    QTest::newRow("amount field empty")
        << amount("") << none << 1 << QStringList {"SummToPay=25.00"};
    QTest::newRow("amount field below a cent")
        << amount("0.005") << none << 1 << QStringList {"SummToPay=25.00"};
    QTest::newRow("amount field") << amount("12.5") << none << 1 << QStringList {"SummToPay=12.50"};
    QTest::newRow("amount field not an amount")
        << amount("1e3") << none << 1 << QStringList {"SummToPay=25.00"};
}

void TestCorvexPpv::details()
{
    QFETCH(Parameters, parameters);
    QFETCH(QVariantMap, typed);
    const auto form
        = makeForm(provider(parameters), -1, 0, {}, QSharedPointer<FixNumber>::create(100, 2500LL));
    const QList<QLineEdit *> edits = form->findChildren<QLineEdit *>();
    // The amount boxes hold line edits of their own, without a position.
    QTEST(int(std::count_if(edits.cbegin(), edits.cend(),
              [](QLineEdit *edit) { return edit->property("position").isValid(); })),
        "fields");
    for (auto it = typed.cbegin(); it != typed.cend(); ++it) {
        auto *edit = form->findChild<QLineEdit *>(it.key());
        edit->end(false);
        QTest::keyClicks(edit, it.value().toString());
    }
    QTEST(flatten(form->details()), "details");
}

void TestCorvexPpv::barcode_data()
{
    QTest::addColumn<Parameters>("parameters");
    QTest::addColumn<QString>("scan");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QStringList>("fields");
    const Parameters two = {barcodeField("a", 1, 0, 9), barcodeField("b", 2, 10, 15)};
    QTest::newRow("no barcode fields") << Parameters {field("a", 1)} << "123"
                                       << "valid" << QStringList {"a="};
    QTest::newRow("two fields") << two << "0123456789ABCDEF"
                                << "valid" << QStringList {"a=0123456789", "b=ABCDEF"};
    QTest::newRow("one character short: nothing written") << two << "0123456789ABCDE"
                                                          << "error" << QStringList {"a=", "b="};
    QTest::newRow("too short") << two << "01"
                               << "error" << QStringList {"a=", "b="};
    QTest::newRow("empty scan") << two << ""
                                << "ignored" << QStringList {"a=", "b="};
    QTest::newRow("one position") << Parameters {barcodeField("c", 1, 4, 4)} << "0123456"
                                  << "valid" << QStringList {"c=4"};
    QTest::newRow("reversed positions") << Parameters {barcodeField("r", 1, 5, 2)} << "0123456789"
                                        << "error" << QStringList {"r="};
    QTest::newRow("negative position: no barcode field")
        << Parameters {barcodeField("n", 1, 3, -1)} << "0123456789"
        << "valid" << QStringList {"n="};
}

void TestCorvexPpv::barcode()
{
    QFETCH(Parameters, parameters);
    QFETCH(QString, scan);
    QFETCH(QString, outcome);
    const auto form = makeForm(provider(parameters));
    QSignalSpy valid(form.get(), SIGNAL(barcodeValid()));
    QSignalSpy error(form.get(), SIGNAL(barcodeError(QString)));
    QSignalSpy changed(form.get(), SIGNAL(changed(bool)));
    form->barcodeChanged(scan);
    QCOMPARE(valid.count(), outcome == "valid" ? 1 : 0);
    QCOMPARE(changed.count(), outcome == "valid" ? 1 : 0);
    QCOMPARE(error.count(), outcome == "error" ? 1 : 0);
    if (outcome == "error")
        QCOMPARE(error.first().at(0).toString(), QString("Incorrect barcode"));
    QStringList fields;
    for (const ProviderParameter &parameter : parameters)
        fields << parameter.name() + "=" + form->findChild<QLineEdit *>(parameter.name())->text();
    QTEST(fields, "fields");
}

void TestCorvexPpv::scannedAmount_data()
{
    addRows<QString, QString, bool, QString, QString, QString>(
        {"scan", "message", "locked", "toAccount", "comission", "summ"},
        {
            // 1.5 % on top of 150.00: 150 * 0.015 / 0.985 = 2.284..., so 2.28.
            {"amount", "ACC1150.00", "", false, "150.00", "2.28", "152.28"},
            {"locked amount", "ACC1150.00", "", true, "150.00", "2.28", "152.28"},
            {"letter in the amount", "ACC11O0.00", "Invalid summ format: 1O0.00", false, "0.00",
                "0.00", "0.00"},
            {"negative amount", "ACC1-50.00", "Invalid summ format: -50.00", false, "0.00", "0.00",
                "0.00"},
        });
}

void TestCorvexPpv::scannedAmount()
{
    QFETCH(QString, scan);
    QFETCH(bool, locked);
    ProviderParameter amount = barcodeField("SummToPay", 2, 4, 9);
    amount.setBarcodeReadOnly(locked);
    const auto form = makeForm(provider({barcodeField("account", 1, 0, 3), amount}), 0, 150);
    QString message;
    closeNextMessageBox(&message);
    form->barcodeChanged(scan);
    QTEST(message, "message");
    QTEST(box(*form, "sbToAccount")->cleanText(), "toAccount");
    QTEST(box(*form, "sbComission")->cleanText(), "comission");
    QTEST(box(*form, "sbSumm")->cleanText(), "summ");
    QCOMPARE(box(*form, "sbSumm")->isReadOnly(), locked);
    QCOMPARE(box(*form, "sbToAccount")->isReadOnly(), locked);
}

void TestCorvexPpv::typedAmount_data()
{
    addRows<QString, qlonglong, qlonglong, QString, QString, QString>(
        {"typedBox", "fixed", "percent", "keys", "comission", "other"},
        {
            {"summ, fixed 3.00", "sbSumm", 300, 0, "12.50", "3.00", "9.50"},
            {"summ, no profile", "sbSumm", -1, 0, "12.50", "0.00", "12.50"},
            {"summ below the commission: cut", "sbSumm", 300, 0, "1", "1.00", "0.00"},
            {"summ at the maximum", "sbSumm", 300, 0, "1000000000", "3.00", "999999997.00"},
            {"to account, fixed 3.00", "sbToAccount", 300, 0, "12.50", "3.00", "15.50"},
            {"to account, no profile", "sbToAccount", -1, 0, "12.50", "0.00", "12.50"},
            {"to account below the commission: in full", "sbToAccount", 300, 0, "1", "3.00",
                "4.00"},
            {"to account, 99.99 % on top", "sbToAccount", 0, 9999, "10", "99990.00", "100000.00"},
            {"to account at the maximum", "sbToAccount", 300, 0, "1000000000", "3.00",
                "1000000003.00"},
        });
}

// Typed key by key, the box keeps exactly what the operator typed; the other boxes follow.
void TestCorvexPpv::typedAmount()
{
    QFETCH(QString, typedBox);
    QFETCH(qlonglong, fixed);
    QFETCH(qlonglong, percent);
    QFETCH(QString, keys);
    const auto form = makeForm(provider({}), fixed, percent);
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    QDoubleSpinBox *typed = box(*form, typedBox);
    QDoubleSpinBox *other = box(*form, typedBox == "sbSumm" ? "sbToAccount" : "sbSumm");
    typed->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    QSignalSpy amountChanged(form.get(), SIGNAL(amountChanged()));
    for (int i = 0; i < keys.size(); ++i) {
        QTest::keyClick(typed, keys.at(i).toLatin1());
        QCOMPARE(typed->cleanText(), keys.left(i + 1));
    }
    QVERIFY(amountChanged.count() > 0);
    QTEST(box(*form, "sbComission")->cleanText(), "comission");
    QTEST(other->cleanText(), "other");
    QCOMPARE(form->summ() + form->comission(), FixNumber(100, box(*form, "sbSumm")->value()));
}

void TestCorvexPpv::hostAmounts_data()
{
    addRows<qlonglong, qlonglong, QString, QString>({"prepay", "fixedSumm", "toAccount", "summ"},
        {
            {"prepay", 2500, 0, "25.00", "28.00"},
            {"fixed sum over the prepay", 2500, 4000, "40.00", "43.00"},
            {"no prepay", -1, 0, "0.00", "0.00"},
            {"prepay beyond the box maximum", 200000000000LL, 0, "2000000000.00", "2000000003.00"},
        });
}

void TestCorvexPpv::hostAmounts()
{
    QFETCH(qlonglong, prepay);
    QFETCH(qlonglong, fixedSumm);
    Provider payee = provider({});
    payee.setFixedSumm(FixNumber(100, fixedSumm));
    const auto form = makeForm(payee, 300, 0, {},
        prepay < 0 ? QSharedPointer<FixNumber>() : QSharedPointer<FixNumber>::create(100, prepay));
    QTEST(box(*form, "sbToAccount")->cleanText(), "toAccount");
    QTEST(box(*form, "sbSumm")->cleanText(), "summ");
}

void TestCorvexPpv::moneyInvariant_data()
{
    QTest::addColumn<int>("decimals");
    QTest::addColumn<qlonglong>("fixed");
    QTest::addColumn<qlonglong>("percent");
    QTest::addColumn<qlonglong>("minimum");
    QTest::addColumn<qlonglong>("maximum");
    for (int decimals : {0, 2, 3}) {
        const qlonglong unit = decimals == 0 ? 1 : decimals == 2 ? 100 : 1000;
        QTest::addRow("%d decimals, 2.5 %%", decimals) << decimals << 0LL << 250LL << 0LL << 0LL;
        QTest::addRow("%d decimals, fixed", decimals) << decimals << 3 * unit << 0LL << 0LL << 0LL;
        QTest::addRow("%d decimals, 1 %% and 0.5 within 1 to 40", decimals)
            << decimals << unit / 2 << 100LL << unit << 40 * unit;
    }
}

// Whatever the amount and whichever box it is typed in: summ = to account + commission in
// units; the commission is the profile's in full on top, and at most the summ out of it.
void TestCorvexPpv::moneyInvariant()
{
    QFETCH(int, decimals);
    QFETCH(qlonglong, fixed);
    QFETCH(qlonglong, percent);
    QFETCH(qlonglong, minimum);
    QFETCH(qlonglong, maximum);
    const unsigned int multiplier = decimals == 0 ? 1 : decimals == 2 ? 100 : 1000;
    const auto currency
        = QSharedPointer<Currency>::create(Fixture::currency(999, "XTS", int(multiplier)));
    const BoxComProfile rules = profile(multiplier, fixed, percent, minimum, maximum);
    const Provider payee = provider({});
    const auto form = std::make_unique<CorvexPpv>(QSharedPointer<Provider>::create(payee), currency,
        QSharedPointer<FixNumber>(), QSharedPointer<BoxComProfile>::create(rules), QFont(),
        nullptr);
    QDoubleSpinBox *summBox = box(*form, "sbSumm");
    QDoubleSpinBox *toAccountBox = box(*form, "sbToAccount");
    QCOMPARE(summBox->decimals(), decimals);
    QCOMPARE(summBox->suffix(), QString(" XTS"));

    QRandomGenerator random(20240611);
    const qint64 top = 1000000000LL * multiplier;
    for (int i = 0; i < 2000; ++i) {
        // Every third amount is a small one, where the rules' limits and rounding matter.
        const quint64 range = quint64(i % 3 ? top : top / 100000);
        const qint64 units = i == 0 ? 0 : i == 1 ? top : qint64(random.generate64() % range);
        const FixNumber amount(multiplier, units);
        const bool onTop = i % 2;
        (onTop ? toAccountBox : summBox)->setValue(amount.toDouble());
        const FixNumber paid(multiplier, summBox->value());
        const FixNumber credited = form->summ();
        const FixNumber comission = form->comission();
        QCOMPARE((onTop ? credited : paid).value(), units);
        QCOMPARE(paid.value(), credited.value() + comission.value());
        FixNumber expected = rules.calcComission(amount, payee.groupId(), payee.id(), !onTop);
        if (!onTop && expected.value() > units)
            expected = amount;
        QCOMPARE(comission.value(), expected.value());
    }
}

QTEST_MAIN(TestCorvexPpv)
#include "tst_corvexppv.moc"
