#include "corvexpaywizard.h"
#include "cxwpmsgsender.h"
#include "fakehost.h"
#include "testutil.h"

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

// A BIK check's reply announcing one parameter: the first name empty, the third withheld.
const QVariantMap ONE_PARAM
    = {{"bank", "Sber"}, {"bik", BIK}, {"pName1", ""}, {"pName2", "Contract"}, {"pName3", "***"}};
const QVariantMap NO_PARAMS = {{"bank", "Sber"}, {"bik", BIK}};

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

// Keys, value types and values at once: the service tells 643 from "643".
QString describe(const QVariantMap &map)
{
    QStringList items;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        items << it.key() + ":" + it.value().typeName() + "=" + it.value().toString();
    return items.join(' ');
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
    QLineEdit *edit(const char *name) const { return find<QLineEdit>(name); }
    bool canGoOn() const { return wizard->button(QWizard::NextButton)->isEnabled(); }
    bool next() { return Operator::next(wizard.get()); }
    QVariantMap sent() const { return host.requests.last(); }
    QString preview(int id) const { return ICXWizardPage::fromObject(wizard->page(id))->preview(); }
    auto params() const { return find<QWidget>("gbParams")->findChildren<QLineEdit *>(); }

    bool answer(QVariantMap params)
    {
        params.insert("errorCode", params.value("errorCode", 0));
        emit host.reply(
            {}, toJson({{"uid", sent().value("uid")}, {"error", false}, {"params", params}}));
        return true;
    }
    // Types over the number from its first digit on.
    void typePhone(const QString &keys)
    {
        edit("lePhone")->setCursorPosition(2);
        Operator::type(edit("lePhone"), keys);
    }
    void planAmount(const QString &keys)
    {
        Operator::click(find<QCheckBox>("cbAmount"));
        find<QDoubleSpinBox>("dsbAmount")->clear();
        Operator::type(find<QDoubleSpinBox>("dsbAmount"), keys);
    }

    bool toAllTemplates()
    {
        Operator::click(find<QRadioButton>("rbRequirementsCodes"));
        return next();
    }
    // The phone's look-up finds no template yet (19): the BIK page follows.
    bool lookUp()
    {
        typePhone(PHONE);
        return next() && answer({{"errorCode", 19}}) && next();
    }
    bool checkBik(const QVariantMap &announced, const QString &keys = BIK)
    {
        Operator::type(edit("leBik"), keys);
        return next() && answer(announced) && next();
    }
    bool toRegistreTemplate(const QVariantMap &announced)
    {
        return toAllTemplates() && lookUp() && checkBik(announced);
    }

    FakeHost host;
    std::unique_ptr<CorvexPayWizard> wizard;
};

class TestTemplateRequests : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules("corvex.exchange.debug=false"); }
    void road();
    void registration_data();
    void registration();
    void input_data();
    void input();
    void parameterRows_data();
    void parameterRows();
    void secondInstances();
};

void TestTemplateRequests::registration_data()
{
    const QVariantMap two = {{"bik", BIK}, {"pName1", "Contract"}, {"pName2", "Account"}};
    // "amount" is there only with "Plan amount" ticked, in units of the box's decimals, rounded.
    addRows<QVariantMap, QStringList, int, QString, QString, QVariant>(
        {"announced", "values", "multiplier", "typed", "params", "amount"},
        {
            {"two parameters", two, {"12", "34"}, 100, {}, BIK + ";12;34", {}},
            // The values travel joined by ";": the separator cannot be typed into one.
            {"separator", ONE_PARAM, {"a;b"}, 100, {}, BIK + ";ab", {}},
            {"100: 0.29", NO_PARAMS, {}, 100, "0.29", BIK, qlonglong(29)},
            {"1000: 12.34", NO_PARAMS, {}, 1000, "12.34", BIK, qlonglong(12340)},
            {"1000: 0.29", NO_PARAMS, {}, 1000, "0.29", BIK, qlonglong(290)},
            {"no currency: 12.34", NO_PARAMS, {}, 0, "12.34", BIK, qlonglong(1234)},
            {"no currency: 0.29", NO_PARAMS, {}, 0, "0.29", BIK, qlonglong(29)},
        });
}

void TestTemplateRequests::registration()
{
    QFETCH(QVariantMap, announced);
    QFETCH(QStringList, values);
    QFETCH(int, multiplier);
    QFETCH(QString, typed);
    Road road(multiplier);
    QVERIFY(road.toRegistreTemplate(announced));
    for (int i = 0; i < values.size(); ++i)
        Operator::type(road.params().value(i), values.at(i));
    if (!typed.isEmpty())
        road.planAmount(typed);
    QCOMPARE(road.find<QDoubleSpinBox>("dsbAmount")->suffix(), QString(multiplier ? " RUB" : ""));
    QVERIFY(road.next());
    QTEST(road.sent().value("params").toString(), "params");
    QTEST(road.sent().value("amount"), "amount");
}

// What the pages hand on from what the operator types: the wizard's phone, the BIK field.
void TestTemplateRequests::input_data()
{
    addRows<int, QStringList, bool, QString>({"page", "keys", "complete", "value"},
        {
            {"phone, letters", 4, {"abc"}, false, ""},
            {"phone, letters between digits", 4, {"9a00b12345c67"}, true, PHONE},
            {"phone, nine digits", 4, {"900123456"}, false, ""},
            // Still complete, so no completeChanged() tells the wizard.
            {"phone, digit typed over", 4, {PHONE, "8"}, true, "8001234567"},
            {"bik, nothing", 5, {""}, false, ""},
            {"bik, eight digits", 5, {"04452522"}, false, "04452522"},
            {"bik, letters", 5, {"04ab4525"}, false, "044525"},
            {"bik, nine digits", 5, {BIK}, true, BIK},
            {"bik, ten digits", 5, {BIK + "9"}, true, BIK},
        });
}

void TestTemplateRequests::input()
{
    QFETCH(int, page);
    QFETCH(QStringList, keys);
    Road road;
    QVERIFY(road.toAllTemplates() && (page == 4 || road.lookUp()));
    for (const QString &chunk : keys)
        page == 4 ? road.typePhone(chunk) : Operator::type(road.edit("leBik"), chunk);
    QTEST(page == 4 ? road.wizard->phone() : road.wizard->field("checkparams.bik").toString(),
        "value");
    QTEST(road.next(), "complete");
}

void TestTemplateRequests::parameterRows_data()
{
    addRows<QVariantMap, QStringList>({"announced", "labels"},
        {
            {"one of three", ONE_PARAM, {"1 Contract"}},
            {"none", NO_PARAMS, {}},
            {"three", {{"pName1", "A"}, {"pName2", "B"}, {"pName3", "C"}}, {"1 A", "2 B", "3 C"}},
            {"withheld inside a name", {{"pName1", "A***"}, {"pName3", "C"}}, {"1 C"}},
            {"numbers", {{"pName1", 42}, {"pName2", 7.5}}, {"1 42", "2 7.5"}},
            {"null and missing", {{"pName1", QVariant()}, {"pName3", "C"}}, {"1 C"}},
            {"object", {{"pName1", QVariantMap {{"a", 1}}}, {"pName2", "B"}}, {"1 B"}},
            {"markup", {{"pName1", "<b>Account</b>"}}, {"1 <b>Account</b>"}},
        });
}

// One row per shown name from grid row 1, labelled in plain text; row n is the mandatory field
// "templateRegistration.param n". The phone is valid before the rows exist, yet Next opens only
// with the last row filled. Back and Next again build the same rows once more, empty.
void TestTemplateRequests::parameterRows()
{
    QFETCH(QVariantMap, announced);
    QFETCH(QStringList, labels);
    Road road;
    QVERIFY(road.toRegistreTemplate(announced));
    for (int round = 0; round < 2; ++round) {
        auto *grid = qobject_cast<QGridLayout *>(road.find<QWidget>("gbParams")->layout());
        QStringList shown;
        for (QLabel *label : road.find<QWidget>("gbParams")->findChildren<QLabel *>()) {
            int row = -1, column = -1, rows = -1, columns = -1;
            grid->getItemPosition(grid->indexOf(label), &row, &column, &rows, &columns);
            shown << QString("%1 %2").arg(row).arg(label->text());
            QCOMPARE(label->textFormat(), Qt::PlainText);
        }
        QCOMPARE(shown, labels);

        const QList<QLineEdit *> edits = road.params();
        QVector<bool> opened {road.canGoOn()};
        for (int row = 1; row <= edits.size(); ++row) {
            Operator::type(edits.at(row - 1), QString::number(row));
            opened << road.canGoOn();
            QCOMPARE(road.wizard->field(QString("templateRegistration.param %1").arg(row)),
                QVariant(QString::number(row)));
        }
        QCOMPARE(opened, QVector<bool>(labels.size(), false) << true);
        QVERIFY(Operator::press(road.wizard.get(), QWizard::BackButton) && road.next());
    }
}

// Every page kind entered a second time keeps its inputs mandatory:
// 0 -> 4 -> 14 -> 5 -> 30 -> 6 -> 46 -> 20 -> 62 -> 21 -> 78 -> 22.
void TestTemplateRequests::secondInstances()
{
    Road road;
    QVERIFY(road.toRegistreTemplate(ONE_PARAM));
    Operator::type(road.params().value(0), "first");
    QVERIFY(road.next() && road.answer({}) && road.next());

    QCOMPARE(road.wizard->currentId(), 20);
    road.edit("lePhone")->clear();
    QVERIFY(!road.canGoOn());
    QVERIFY(road.lookUp());

    QCOMPARE(road.wizard->currentId(), 21);
    Operator::type(road.edit("leBik"), BIK.left(8));
    QVERIFY(!road.canGoOn());
    QVERIFY(road.checkBik(ONE_PARAM, BIK.right(1)));

    QCOMPARE(road.wizard->currentId(), 22);
    QVERIFY(!road.canGoOn());
    Operator::type(road.params().value(0), "second");
    QVERIFY(road.canGoOn());
    QCOMPARE(road.wizard->field("templateRegistration.param 1"), QVariant("first"));
}

// One road through the three pages: markup and placeholders typed or announced are sent raw and
// shown as text; a language change keeps the typed BIK with its bullets and the reply's bank.
void TestTemplateRequests::road()
{
    Road road;
    QEvent event(QEvent::LanguageChange);
    QVERIFY(road.toAllTemplates() && road.lookUp());
    Operator::type(road.edit("leBik"), "04452");
    QCoreApplication::sendEvent(road.page(), &event);
    QCOMPARE(road.edit("leBik")->displayText(), "04452" + QString(4, QChar(0x2022)));
    QVERIFY(road.checkBik(
        {{"bank", "<i>Sber</i> & Co"}, {"bik", BIK}, {"pName2", "Contract <no>"}}, "5225"));
    Operator::type(road.params().value(0), "<b>%1</b>");
    road.planAmount("12.34");
    road.find<QGroupBox>("gbParams")->setTitle("changed");
    QCoreApplication::sendEvent(road.page(), &event);
    QCOMPARE(road.find<QGroupBox>("gbParams")->title(), QString("Template parametres"));

    QCOMPARE(road.preview(4),
        "<h3 align=\"center\">AllTemplatesRequest</h3>"
        "<p><b>Mobile phone: </b>8(900)123-45-67</p>");
    QCOMPARE(
        road.preview(5), "<h3 align=\"center\">Check params</h3><p><b>BIK: </b>" + BIK + "</p>");
    const QString bank = "<div align=\"left\"><b>Bank: </b>&lt;i&gt;Sber&lt;/i&gt; &amp; Co</div>";
    const QString bik = "<div align=\"left\"><b>Bik: </b>" + BIK + "</div>";
    QCOMPARE(road.find<QLabel>("lBank")->text(), bank + "\n" + bik);
    QCOMPARE(road.preview(6),
        "<h3 align=\"center\">Registre template</h3>"
        "<div align=\"left\"><b>Mobile phone: </b>8(900)123-45-67</div>"
            + bank + bik
            + "<div align=\"left\"><b>Contract &lt;no&gt;: </b>&lt;b&gt;%1&lt;/b&gt;</div>");

    QVERIFY(road.next());
    const auto sent = [&road](int i) {
        QVariantMap request = road.host.requests.value(i);
        return request.take("uid").toString().toLongLong() ? describe(request) : QString();
    };
    const auto kind = [&road](int id) {
        return int(qobject_cast<CXWPMsgSender *>(road.wizard->page(id))->request().type());
    };
    QCOMPARE(QList<int>({kind(14), kind(30), kind(46)}),
        QList<int>({CorvexRequest::AllTemplatesRequest, CorvexRequest::CheckParamsRequest,
            CorvexRequest::RegistreTemplateRequest}));
    QCOMPARE(sent(0),
        describe(
            {{"currencyId", 643}, {"function", "listtid"}, {"phone", PHONE}, {"templateType", 0}}));
    QCOMPARE(sent(1), describe({{"currencyId", 643}, {"function", "check_params"}, {"bik", BIK}}));
    QCOMPARE(sent(2),
        describe({{"currencyId", 643}, {"function", "check"}, {"phone", PHONE}, {"rCode", 601},
            {"params", BIK + ";<b>%1</b>"}, {"amount", qlonglong(1234)}}));
}

QTEST_MAIN(TestTemplateRequests)
#include "tst_templaterequests.moc"
