#include "corvexpaywizard.h"
#include "cxphonewidget.h"
#include "cxwpmsgsender.h"
#include "fakehost.h"
#include "testutil.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <memory>

namespace {

const QString PHONE = "9001234567";
const QString BIK = "044525225";
const QChar BULLET(0x2022);

// A reply to the BIK check announcing one parameter: the first name empty, the third one
// withheld.
const QVariantMap ONE_PARAM
    = {{"bank", "Sber"}, {"bik", BIK}, {"pName1", ""}, {"pName2", "Contract"}, {"pName3", "***"}};
const QVariantMap NO_PARAMS = {{"bank", "Sber"}, {"bik", BIK}};
const QVariantMap THREE_PARAMS
    = {{"bank", "Sber"}, {"bik", BIK}, {"pName1", "A"}, {"pName2", "B"}, {"pName3", "C"}};

// 0 makes the wizard's currency the invalid default one.
Currency currency(int multiplier)
{
    Currency currency;
    if (multiplier) {
        currency.setNumber3(643);
        currency.setAlpha3("RUB");
        currency.setRealMultiplier(multiplier);
        currency.setCurrencySymbol("RUB");
    }
    return currency;
}

QString typesOf(const QVariantMap &map)
{
    QStringList types;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        types << it.key() + ":" + it.value().typeName();
    return types.join(' ');
}

} // namespace

// A payment wizard on a fake host, driven by an operator along the template pages; the service's
// replies carry the uid of the request they answer.
struct Road
{
    explicit Road(int multiplier = 100)
        : wizard(new CorvexPayWizard(QFont("Sans", 13), currency(multiplier), FixNumber()))
    {
        wizard->setMessageSender(&host, FakeHost::method());
        wizard->setMessageReciever(&host, FakeHost::signal());
        wizard->show();
    }

    QWizardPage *page() const { return wizard->currentPage(); }
    template<typename T> T *find(const char *name) const { return page()->findChild<T *>(name); }
    bool canGoOn() const { return wizard->button(QWizard::NextButton)->isEnabled(); }
    bool next() { return Operator::next(wizard.get()); }
    bool back() { return Operator::press(wizard.get(), QWizard::BackButton); }
    QVariantMap sent() const { return host.requests.last(); }

    void answer(QVariantMap params)
    {
        params.insert("errorCode", params.value("errorCode", 0));
        emit host.reply(
            {}, toJson({{"uid", sent().value("uid")}, {"error", false}, {"params", params}}));
    }
    void typePhone(const QString &keys)
    {
        auto *edit = find<QLineEdit>("lePhone");
        edit->setCursorPosition(2);
        Operator::type(edit, keys);
    }
    void clearPhone()
    {
        auto *edit = find<QLineEdit>("lePhone");
        edit->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
    }

    // The parameter rows in grid order: the label texts by grid row, "" for an empty row.
    QGridLayout *paramGrid() const
    {
        return qobject_cast<QGridLayout *>(find<QGroupBox>("gbParams")->layout());
    }
    QLabel *rowLabel(int row) const
    {
        QLayoutItem *item = paramGrid()->itemAtPosition(row, 0);
        return item ? qobject_cast<QLabel *>(item->widget()) : nullptr;
    }
    QStringList rowLabels() const
    {
        QStringList labels;
        for (int row = 0; paramGrid() && row < paramGrid()->rowCount(); ++row)
            labels << (rowLabel(row) ? rowLabel(row)->text() : QString());
        return labels;
    }
    QList<QLineEdit *> paramEdits() const
    {
        return find<QGroupBox>("gbParams")->findChildren<QLineEdit *>();
    }

    // Radio and check boxes take clicks on their indicator and text, not across their row.
    void tick(const char *name)
    {
        auto *box = find<QAbstractButton>(name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    }

    // Ticks "Plan amount" and types the amount over the box's whole value.
    void planAmount(const QString &keys)
    {
        tick("cbAmount");
        auto *box = find<QDoubleSpinBox>("dsbAmount");
        box->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, keys);
    }

    bool toAllTemplates()
    {
        tick("rbRequirementsCodes");
        return next();
    }
    // The phone's look-up finds no template yet (19): the BIK page follows.
    bool lookUp()
    {
        typePhone(PHONE);
        if (!next())
            return false;
        answer({{"errorCode", 19}});
        return next();
    }
    bool checkBik(const QVariantMap &announced, const QString &keys = BIK)
    {
        Operator::type(find<QLineEdit>("leBik"), keys);
        if (!next())
            return false;
        answer(announced);
        return next();
    }
    bool toRegistreTemplate(const QVariantMap &announced)
    {
        return toAllTemplates() && lookUp() && checkBik(announced);
    }

    // What the operator sees, for a look while developing: CORVEX_GRAB_DIR=/tmp/...
    void grab(const QString &name) const
    {
        const QString dir = qEnvironmentVariable("CORVEX_GRAB_DIR");
        if (!dir.isEmpty())
            wizard->grab().save(dir + "/" + name + ".png");
    }

    FakeHost host;
    std::unique_ptr<CorvexPayWizard> wizard;
};

class TestTemplateRequests : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules("corvex.exchange.debug=false"); }
    void requests_data();
    void requests();
    void bikNeedsNineDigits_data();
    void bikNeedsNineDigits();
    void phoneTyped_data();
    void phoneTyped();
    void parameterRows_data();
    void parameterRows();
    void lastRowOpensNext_data();
    void lastRowOpensNext();
    void backAndNext();
    void secondInstances();
    void parameterValues_data();
    void parameterValues();
    void previews();
    void amount_data();
    void amount();
    void fonts();
    void languageChange();
};

void TestTemplateRequests::requests_data()
{
    addRows<int, QVariantMap, QStringList, QString, QVariantMap, QString, int>(
        {"page", "announced", "values", "amount", "sent", "types", "type"},
        {
            {"listtid", 4, {}, {}, {},
                {{"currencyId", 643}, {"function", "listtid"}, {"phone", PHONE},
                    {"templateType", 0}},
                "currencyId:int function:QString phone:QString templateType:int", 8},
            {"check_params", 5, {}, {}, {},
                {{"currencyId", 643}, {"function", "check_params"}, {"bik", BIK}},
                "bik:QString currencyId:int function:QString", 9},
            {"check, no parameters", 6, NO_PARAMS, {}, {},
                {{"currencyId", 643}, {"function", "check"}, {"phone", PHONE}, {"rCode", 601},
                    {"params", BIK}},
                "currencyId:int function:QString params:QString phone:QString rCode:int", 4},
            {"check, two parameters", 6,
                {{"bik", BIK}, {"pName1", "Contract"}, {"pName2", "Account"}}, {"12", "34"}, {},
                {{"currencyId", 643}, {"function", "check"}, {"phone", PHONE}, {"rCode", 601},
                    {"params", BIK + ";12;34"}},
                "currencyId:int function:QString params:QString phone:QString rCode:int", 4},
            {"check, planned amount", 6, NO_PARAMS, {}, "12.34",
                {{"currencyId", 643}, {"function", "check"}, {"phone", PHONE}, {"rCode", 601},
                    {"params", BIK}, {"amount", 1234}},
                "amount:qlonglong currencyId:int function:QString params:QString phone:QString "
                "rCode:int",
                4},
        });
}

void TestTemplateRequests::requests()
{
    QFETCH(int, page);
    QFETCH(QVariantMap, announced);
    QFETCH(QStringList, values);
    QFETCH(QString, amount);
    QFETCH(QVariantMap, sent);
    Road road;
    QVERIFY(road.toAllTemplates());
    if (page == 4)
        road.typePhone(PHONE);
    else
        QVERIFY(road.lookUp());
    if (page == 5)
        Operator::type(road.find<QLineEdit>("leBik"), BIK);
    if (page == 6)
        QVERIFY(road.checkBik(announced));
    for (int i = 0; i < values.size(); ++i)
        Operator::type(road.paramEdits().at(i), values.at(i));
    if (!amount.isEmpty())
        road.planAmount(amount);
    QCOMPARE(road.wizard->currentId(), page == 4 ? 4 : page == 5 ? 5 : 6);

    QVERIFY(road.next());
    QVariantMap request = road.sent();
    QVERIFY(request.take("uid").toString().toLongLong() != 0);
    QVERIFY2(request == sent, qPrintable(toJson(request)));
    QTEST(typesOf(request), "types");
    QTEST(int(qobject_cast<CXWPMsgSender *>(road.page())->request().type()), "type");
}

void TestTemplateRequests::bikNeedsNineDigits_data()
{
    addRows<QString, bool, QString>({"keys", "complete", "bik"},
        {
            {"nothing", "", false, ""},
            {"eight digits", "04452522", false, "04452522"},
            {"letters", "04ab4525", false, "044525"},
            {"nine digits", BIK, true, BIK},
            {"ten digits", BIK + "9", true, BIK},
        });
}

void TestTemplateRequests::bikNeedsNineDigits()
{
    QFETCH(QString, keys);
    Road road;
    QVERIFY(road.toAllTemplates() && road.lookUp());
    Operator::type(road.find<QLineEdit>("leBik"), keys);
    QTEST(road.canGoOn(), "complete");
    QTEST(road.next(), "complete");
    QTEST(road.wizard->field("checkparams.bik").toString(), "bik");
}

void TestTemplateRequests::phoneTyped_data()
{
    addRows<QString, bool, QString>({"keys", "complete", "handed"},
        {
            {"letters", "abc", false, ""},
            {"letters between digits", "9a00b12345c67", true, PHONE},
            {"nine digits", "900123456", false, ""},
        });
}

// The wizard learns the phone once it is complete, and every correction after that.
void TestTemplateRequests::phoneTyped()
{
    QFETCH(QString, keys);
    QFETCH(bool, complete);
    Road road;
    QVERIFY(road.toAllTemplates());
    road.typePhone(keys);
    QCOMPARE(road.canGoOn(), complete);
    QTEST(road.wizard->phone(), "handed");
    if (!complete)
        return;
    // A digit typed over another keeps the page complete.
    road.typePhone("8");
    QCOMPARE(road.wizard->phone(), QString("8001234567"));
    QVERIFY(road.next());
    QCOMPARE(road.sent().value("phone"), QVariant("8001234567"));
}

void TestTemplateRequests::parameterRows_data()
{
    addRows<QVariantMap, QStringList>({"announced", "labels"},
        {
            {"one of three", ONE_PARAM, {"", "Contract"}},
            {"none", NO_PARAMS, {}},
            {"three", THREE_PARAMS, {"", "A", "B", "C"}},
            {"withheld inside a name", {{"pName1", "A***"}, {"pName3", "C"}}, {"", "C"}},
            {"numbers", {{"pName1", 42}, {"pName2", 7.5}}, {"", "42", "7.5"}},
            {"null and missing", {{"pName1", QVariant()}, {"pName3", "C"}}, {"", "C"}},
            {"object", {{"pName1", QVariantMap {{"a", 1}}}, {"pName2", "B"}}, {"", "B"}},
            {"markup", {{"pName1", "<b>Account</b>"}}, {"", "<b>Account</b>"}},
        });
}

// One row per shown name, numbered from 1 by the names shown; each row is the wizard field
// "templateRegistration.param <row>" and its label shows the name as it was sent.
void TestTemplateRequests::parameterRows()
{
    QFETCH(QVariantMap, announced);
    QFETCH(QStringList, labels);
    Road road;
    QVERIFY(road.toRegistreTemplate(announced));
    road.grab(QString("rows, ") + QTest::currentDataTag());
    QCOMPARE(road.rowLabels(), labels);
    const QList<QLineEdit *> edits = road.paramEdits();
    QCOMPARE(edits.size(), qMax(0, labels.size() - 1));
    for (int row = 1; row < labels.size(); ++row) {
        QLineEdit *edit = edits.at(row - 1);
        QCOMPARE(edit->objectName(), labels.at(row));
        QCOMPARE(road.rowLabel(row)->textFormat(), Qt::PlainText);
        Operator::type(edit, QString::number(row));
        QCOMPARE(road.wizard->field(QString("templateRegistration.param %1").arg(row)),
            QVariant(QString::number(row)));
    }
}

void TestTemplateRequests::lastRowOpensNext_data()
{
    addRows<QVariantMap, QList<bool>>({"announced", "opened"},
        {
            {"none", NO_PARAMS, {true}},
            {"one", ONE_PARAM, {false, true}},
            {"three", THREE_PARAMS, {false, false, false, true}},
        });
}

// The phone is filled in before the rows exist; Next opens with the last row filled, not
// before.
void TestTemplateRequests::lastRowOpensNext()
{
    QFETCH(QVariantMap, announced);
    Road road;
    QVERIFY(road.toRegistreTemplate(announced));
    QVERIFY(road.find<CXPhoneWidget>("wPhone")->isValid());
    QList<bool> opened {road.canGoOn()};
    for (QLineEdit *edit : road.paramEdits()) {
        Operator::type(edit, "7");
        opened << road.canGoOn();
    }
    QTEST(opened, "opened");
}

// Going back drops the rows; coming forward builds them once more, empty and mandatory.
void TestTemplateRequests::backAndNext()
{
    Road road;
    QVERIFY(road.toRegistreTemplate(ONE_PARAM));
    for (int round = 0; round < 2; ++round) {
        Operator::type(road.paramEdits().value(0), "x");
        QVERIFY(road.back());
        QCOMPARE(road.wizard->currentId(), 30);
        QVERIFY(road.next());
        QCOMPARE(road.wizard->currentId(), 6);
        QCOMPARE(road.paramEdits().size(), 1);
        QCOMPARE(road.find<QGroupBox>("gbParams")->findChildren<QLabel *>().size(), 1);
        QCOMPARE(road.rowLabels(), QStringList({"", "Contract"}));
        QVERIFY(!road.canGoOn());
    }
}

// Every page kind entered a second time keeps its inputs mandatory:
// 0 -> 4 -> 14 -> 5 -> 30 -> 6 -> 46 -> 20 -> 62 -> 21 -> 78 -> 22.
void TestTemplateRequests::secondInstances()
{
    Road road;
    QVERIFY(road.toRegistreTemplate(ONE_PARAM));
    Operator::type(road.paramEdits().value(0), "first");
    QVERIFY(road.next());
    road.answer({});
    QVERIFY(road.next());

    QCOMPARE(road.wizard->currentId(), 20);
    QVERIFY(road.canGoOn());
    road.clearPhone();
    QVERIFY(!road.canGoOn());
    QVERIFY(road.lookUp());

    QCOMPARE(road.wizard->currentId(), 21);
    QVERIFY(!road.canGoOn());
    Operator::type(road.find<QLineEdit>("leBik"), BIK.left(8));
    QVERIFY(!road.canGoOn());
    QVERIFY(road.checkBik(ONE_PARAM, BIK.right(1)));

    QCOMPARE(road.wizard->currentId(), 22);
    QCOMPARE(road.paramEdits().size(), 1);
    QVERIFY(!road.canGoOn());
    Operator::type(road.paramEdits().value(0), "second");
    QVERIFY(road.canGoOn());
    QCOMPARE(road.wizard->field("templateRegistration.param 1#2"), QVariant("second"));
    QCOMPARE(road.wizard->field("templateRegistration.param 1"), QVariant("first"));
    QCOMPARE(road.wizard->field("checkparams.bik#2"), QVariant(BIK));
    QCOMPARE(road.wizard->field("alltemplatesrequest.phone#2"), QVariant(PHONE));
}

void TestTemplateRequests::parameterValues_data()
{
    addRows<QString, QString, QString>({"keys", "value", "shown"},
        {
            {"markup", "<b>x</b> & y", "<b>x</b> & y", "&lt;b&gt;x&lt;/b&gt; &amp; y"},
            {"placeholders", "%1 %2", "%1 %2", "%1 %2"},
            // The values travel joined by ";": the separator cannot be typed into one.
            {"separator", "a;b", "ab", "ab"},
        });
}

// What the operator types reaches the service unchanged and the preview as text.
void TestTemplateRequests::parameterValues()
{
    QFETCH(QString, keys);
    QFETCH(QString, value);
    QFETCH(QString, shown);
    Road road;
    QVERIFY(road.toRegistreTemplate(ONE_PARAM));
    Operator::type(road.paramEdits().value(0), keys);
    const QString preview = ICXWizardPage::fromObject(road.page())->preview();
    QVERIFY2(preview.endsWith("<div align=\"left\"><b>Contract: </b>" + shown + "</div>"),
        qPrintable(preview));
    QVERIFY(road.next());
    QCOMPARE(road.sent().value("params"), QVariant(BIK + ";" + value));
}

void TestTemplateRequests::previews()
{
    Road road;
    QVERIFY(road.toAllTemplates());
    road.typePhone(PHONE);
    road.grab("alltemplatesrequest");
    QVERIFY(road.lookUp());
    Operator::type(road.find<QLineEdit>("leBik"), BIK);
    road.grab("checkparams");
    QVERIFY(road.checkBik(
        {{"bank", "<i>Sber</i> & Co, public joint-stock company of Russia, head office in Moscow"},
            {"bik", BIK},
            {"pName1", "Contract <number> as printed on the first page of the credit agreement"},
            {"pName2", "Account of the customer at the bank"}}));
    Operator::type(road.paramEdits().value(0), "42");
    road.planAmount("12.34");
    road.grab("registretemplate");

    const auto preview
        = [&road](int id) { return ICXWizardPage::fromObject(road.wizard->page(id))->preview(); };
    QCOMPARE(preview(4),
        "<h3 align=\"center\">AllTemplatesRequest</h3>"
        "<p><b>Mobile phone: </b>8(900)123-45-67</p>");
    QCOMPARE(preview(5), "<h3 align=\"center\">Check params</h3><p><b>BIK: </b>" + BIK + "</p>");
    const QString bank = "<div align=\"left\"><b>Bank: </b>&lt;i&gt;Sber&lt;/i&gt; &amp; Co"
                         ", public joint-stock company of Russia, head office in Moscow</div>";
    const QString bik = "<div align=\"left\"><b>Bik: </b>" + BIK + "</div>";
    QCOMPARE(road.find<QLabel>("lBank")->text(), bank + "\n" + bik);
    QCOMPARE(preview(6),
        "<h3 align=\"center\">Registre template</h3>"
        "<div align=\"left\"><b>Mobile phone: </b>8(900)123-45-67</div>"
            + bank + bik
            + "<div align=\"left\"><b>Contract &lt;number&gt; as printed on the first page of the "
              "credit agreement: </b>42</div>"
              "<div align=\"left\"><b>Account of the customer at the bank: </b></div>");
}

void TestTemplateRequests::amount_data()
{
    addRows<int, QString, qlonglong>({"multiplier", "typed", "units"},
        {
            {"100: 12.34", 100, "12.34", 1234},
            {"100: 0.29", 100, "0.29", 29},
            {"1000: 12.34", 1000, "12.34", 12340},
            {"1000: 0.29", 1000, "0.29", 290},
            {"no currency: 12.34", 0, "12.34", 1234},
            {"no currency: 0.29", 0, "0.29", 29},
        });
}

// The planned amount goes in the units of the box's decimals, rounded, not truncated.
void TestTemplateRequests::amount()
{
    QFETCH(int, multiplier);
    QFETCH(QString, typed);
    Road road(multiplier);
    QVERIFY(road.toRegistreTemplate(NO_PARAMS));
    auto *box = road.find<QDoubleSpinBox>("dsbAmount");
    QVERIFY(!box->isEnabled());
    road.planAmount(typed);
    QVERIFY(box->isEnabled());
    QCOMPARE(box->suffix(), QString(multiplier ? " RUB" : ""));
    QVERIFY(road.next());
    QTEST(road.sent().value("amount").toLongLong(), "units");
}

void TestTemplateRequests::fonts()
{
    Road road;
    QVERIFY(road.toAllTemplates());
    QCOMPARE(road.find<QLineEdit>("lePhone")->font().pointSize(), 13);
    QVERIFY(road.lookUp());
    QCOMPARE(road.find<QLineEdit>("leBik")->font().pointSize(), 13);
    QVERIFY(road.checkBik(ONE_PARAM));
    QCOMPARE(road.find<QLineEdit>("lePhone")->font().pointSize(), 13);
    QCOMPARE(road.find<QDoubleSpinBox>("dsbAmount")->font().pointSize(), 13);
    QCOMPARE(road.paramEdits().value(0)->font().pointSize(), 13);
}

// Texts come back in the new language; typed input, masks and the reply's bank stay.
void TestTemplateRequests::languageChange()
{
    Road road;
    QVERIFY(road.toAllTemplates() && road.lookUp());
    Operator::type(road.find<QLineEdit>("leBik"), "04452");
    QEvent event(QEvent::LanguageChange);
    road.find<QLabel>("lBIK")->setText("changed");
    QCoreApplication::sendEvent(road.page(), &event);
    QCOMPARE(road.find<QLabel>("lBIK")->text(), QString("BIK"));
    QCOMPARE(road.find<QLineEdit>("leBik")->displayText(), "04452" + QString(4, BULLET));

    QVERIFY(road.checkBik(ONE_PARAM));
    const QString bank = road.find<QLabel>("lBank")->text();
    road.find<QGroupBox>("gbParams")->setTitle("changed");
    QCoreApplication::sendEvent(road.page(), &event);
    QCOMPARE(road.find<QGroupBox>("gbParams")->title(), QString("Template parametres"));
    QCOMPARE(road.find<QLabel>("lBank")->text(), bank);
    QCOMPARE(road.rowLabels(), QStringList({"", "Contract"}));

    QVERIFY(road.back() && road.back() && road.back() && road.back());
    QCOMPARE(road.wizard->currentId(), 4);
    road.page()->setTitle("changed");
    QCoreApplication::sendEvent(road.page(), &event);
    QCOMPARE(road.page()->title(), QString("All templates request"));
    QCOMPARE(road.page()->subTitle(), QString("Input the phone number"));
}

QTEST_MAIN(TestTemplateRequests)
#include "tst_templaterequests.moc"
