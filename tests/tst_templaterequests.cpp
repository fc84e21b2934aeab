#include "corvexpaywizard.h"
#include "fakehost.h"
#include "icxwizardpage.h"
#include "testutil.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <memory>

static const QString PHONE = "9001234567";
static const QString BIK = "044525225";
// A BIK check's reply announcing one parameter: the first name empty, the third withheld.
static const QVariantMap ONE_PARAM
    = {{"bank", "Sber"}, {"bik", BIK}, {"pName1", ""}, {"pName2", "Contract"}, {"pName3", "***"}};

// A payment wizard on a fake host, driven by an operator along the template pages; the service's
// replies carry the uid of the request they answer. A multiplier of 0 leaves the currency invalid.
struct Road
{
    explicit Road(int multiplier = 100)
    {
        Currency rub;
        if (multiplier) {
            rub.setNumber3(643);
            rub.setAlpha3("RUB");
            rub.setRealMultiplier(multiplier);
        }
        wizard.reset(new CorvexPayWizard(QFont("Sans", 13), rub, FixNumber()));
        wizard->setMessageSender(&host, FakeHost::method());
        wizard->setMessageReciever(&host, FakeHost::signal());
        wizard->show();
        Operator::click(find<QWidget>("rbRequirementsCodes"));
        next();
    }

    template<typename T = QLineEdit> T *find(const char *name) const
    {
        return wizard->currentPage()->findChild<T *>(name);
    }
    bool canGoOn() const { return wizard->button(QWizard::NextButton)->isEnabled(); }
    bool next() { return Operator::next(wizard.get()); }
    QVariantMap sent() const { return host.requests.last(); }
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
        find("lePhone")->setCursorPosition(2);
        Operator::type(find("lePhone"), keys);
    }
    // The look-up finds no template yet (19): the BIK page follows.
    bool lookUp()
    {
        typePhone(PHONE);
        return next() && answer({{"errorCode", 19}}) && next();
    }
    bool checkBik(const QVariantMap &announced, const QString &keys = BIK)
    {
        Operator::type(find("leBik"), keys);
        return next() && answer(announced) && next();
    }

    FakeHost host;
    std::unique_ptr<CorvexPayWizard> wizard;
};

class TestTemplateRequests : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules("corvex.exchange.debug=false"); }

    // What the pages hand on from what the operator types: the wizard's phone, the BIK field.
    void input_data()
    {
        addRows<int, QStringList, bool, QString>({"page", "keys", "complete", "value"},
            {
                {"phone, letters", 4, {"abc"}, false, ""},
                {"phone, nine digits", 4, {"900123456"}, false, ""},
                // Still complete, so no completeChanged() tells the wizard.
                {"phone, digit typed over", 4, {PHONE, "8"}, true, "8001234567"},
                {"bik, nothing", 5, {""}, false, ""},
                {"bik, eight digits", 5, {"04452522"}, false, "04452522"},
                {"bik, letters", 5, {"04ab4525"}, false, "044525"},
                {"bik, ten digits", 5, {BIK + "9"}, true, BIK},
            });
    }
    void input()
    {
        QFETCH(int, page);
        QFETCH(QStringList, keys);
        Road road;
        QVERIFY(page == 4 || road.lookUp());
        for (const QString &chunk : keys)
            page == 4 ? road.typePhone(chunk) : Operator::type(road.find("leBik"), chunk);
        QTEST(page == 4 ? road.wizard->phone() : road.wizard->field("checkparams.bik").toString(),
            "value");
        QTEST(road.next(), "complete");
    }

    void registration_data()
    {
        // Row n of the shown names, from grid row 1, gets n typed and then "a;b"; the
        // separator of the values cannot be typed into one. A planned amount is sent in units
        // of the box's decimals, rounded; without a currency in hundredths.
        const QVariantMap none = {{"bik", BIK}};
        addRows<QVariantMap, QStringList, int, QString, QString, QVariant>(
            {"announced", "labels", "multiplier", "amount", "params", "units"},
            {
                {"one of three", ONE_PARAM, {"1 Contract"}, 100, "", BIK + ";1ab", {}},
                {"none", none, {}, 100, "", BIK, {}},
                {"three", {{"pName1", "A"}, {"pName2", "B"}, {"pName3", "C"}},
                    {"1 A", "2 B", "3 C"}, 100, "", ";1ab;2ab;3ab", {}},
                {"withheld inside a name", {{"pName1", "A***"}, {"pName3", "C"}}, {"1 C"}, 100, "",
                    ";1ab", {}},
                {"numbers", {{"pName1", 42}, {"pName2", 7.5}}, {"1 42", "2 7.5"}, 100, "",
                    ";1ab;2ab", {}},
                {"null and missing", {{"pName1", QVariant()}, {"pName3", "C"}}, {"1 C"}, 100, "",
                    ";1ab", {}},
                {"object", {{"pName1", QVariantMap {{"a", 1}}}, {"pName2", "B"}}, {"1 B"}, 100, "",
                    ";1ab", {}},
                {"markup", {{"pName1", "<b>Account</b>"}}, {"1 <b>Account</b>"}, 100, "", ";1ab",
                    {}},
                // Shown as "R&D &amp;", with no shortcut key.
                {"ampersand", {{"pName1", "R&D &amp;"}}, {"1 R&&D &&amp;"}, 100, "", ";1ab", {}},
                {"100: 0.29", none, {}, 100, "0.29", BIK, qlonglong(29)},
                {"1000: 12.34", none, {}, 1000, "12.34", BIK, qlonglong(12340)},
                {"no currency: 0.29", none, {}, 0, "0.29", BIK, qlonglong(29)},
            });
    }

    // Each shown name gets a row, labelled in plain text, whose input is the mandatory field
    // "templateRegistration.param n": the phone is valid before the rows exist, yet Next opens
    // only with the last row filled. Back and Next build the same rows once more, empty.
    void registration()
    {
        QFETCH(QVariantMap, announced);
        QFETCH(QStringList, labels);
        QFETCH(QString, amount);
        QFETCH(int, multiplier);
        Road road(multiplier);
        QVERIFY(road.lookUp() && road.checkBik(announced));
        for (int round = 0; round < 2; ++round) {
            auto *grid = qobject_cast<QGridLayout *>(road.find<QWidget>("gbParams")->layout());
            QStringList shown;
            for (QLabel *label : road.find<QWidget>("gbParams")->findChildren<QLabel *>()) {
                int row = -1, column, rows, columns;
                grid->getItemPosition(grid->indexOf(label), &row, &column, &rows, &columns);
                shown << QString("%1 %2").arg(row).arg(label->text());
                QCOMPARE(label->textFormat(), Qt::PlainText);
            }
            QCOMPARE(shown, labels);
            QVector<bool> opened {road.canGoOn()};
            for (int row = 1; row <= labels.size(); ++row) {
                Operator::type(road.params().value(row - 1), QString::number(row) + "a;b");
                opened << road.canGoOn();
                QCOMPARE(road.wizard->field(QString("templateRegistration.param %1").arg(row)),
                    QVariant(QString::number(row) + "ab"));
            }
            QCOMPARE(opened, QVector<bool>(labels.size(), false) << true);
            QVERIFY(
                round || (Operator::press(road.wizard.get(), QWizard::BackButton) && road.next()));
        }
        if (!amount.isEmpty()) {
            Operator::click(road.find<QWidget>("cbAmount"));
            road.find<QDoubleSpinBox>("dsbAmount")->clear();
            Operator::type(road.find<QDoubleSpinBox>("dsbAmount"), amount);
        }
        QVERIFY(road.next());
        QTEST(road.sent().value("params").toString(), "params");
        QTEST(road.sent().value("amount"), "units");
    }

    // Every page kind entered a second time keeps its inputs mandatory, and the first instance
    // its value: 0 -> 4 -> 14 -> 5 -> 30 -> 6 -> 46 -> 20 -> 62 -> 21 -> 78 -> 22.
    void secondInstances()
    {
        Road road;
        QVERIFY(road.lookUp() && road.checkBik(ONE_PARAM));
        Operator::type(road.params().value(0), "first");
        QVERIFY(road.next() && road.answer({}) && road.next());
        road.find("lePhone")->clear();
        QVERIFY(!road.canGoOn());
        QVERIFY(road.lookUp() && road.checkBik(ONE_PARAM));
        QVERIFY(!road.canGoOn());
        QCOMPARE(road.wizard->field("templateRegistration.param 1"), QVariant("first"));
    }

    // One road through the three pages: markup and placeholders typed or announced are sent raw
    // and shown as text; a language change keeps the typed BIK with its bullets and the reply's
    // bank.
    void road()
    {
        Road road;
        QVERIFY(road.lookUp());
        Operator::type(road.find("leBik"), "04452");
        QEvent event(QEvent::LanguageChange);
        QCoreApplication::sendEvent(road.wizard->currentPage(), &event);
        QCOMPARE(road.find("leBik")->displayText(), "04452" + QString(4, QChar(0x2022)));
        QVERIFY(road.checkBik(
            {{"bank", "<i>Sber</i> & Co"}, {"bik", BIK}, {"pName2", "Contract <no>"}}, "5225"));
        Operator::type(road.params().value(0), "<b>%1</b>");
        QCoreApplication::sendEvent(road.wizard->currentPage(), &event);
        QStringList previews;
        for (int id : {4, 5, 6})
            previews << ICXWizardPage::fromObject(road.wizard->page(id))->preview();
        const QString bank
            = "<div align=\"left\"><b>Bank: </b>&lt;i&gt;Sber&lt;/i&gt; &amp; Co</div>";
        const QString bik = "<div align=\"left\"><b>Bik: </b>" + BIK + "</div>";
        QCOMPARE(road.find<QLabel>("lBank")->text(), bank + "\n" + bik);
        QCOMPARE(previews,
            QStringList({"<h3 align=\"center\">AllTemplatesRequest</h3>"
                         "<p><b>Mobile phone: </b>8(900)123-45-67</p>",
                "<h3 align=\"center\">Check params</h3><p><b>BIK: </b>" + BIK + "</p>",
                "<h3 align=\"center\">Registre template</h3>"
                "<div align=\"left\"><b>Mobile phone: </b>8(900)123-45-67</div>"
                    + bank + bik
                    + "<div align=\"left\"><b>Contract &lt;no&gt;: "
                      "</b>&lt;b&gt;%1&lt;/b&gt;</div>"}));

        // The requests as the host receives them, without their uids; JSON shows the kinds.
        QVERIFY(road.next());
        QStringList sent;
        for (QVariantMap request : road.host.requests)
            sent << (request.take("uid").toLongLong() ? toJson(request) : QString());
        QCOMPARE(sent,
            QStringList({
                toJson({{"currencyId", 643}, {"function", "listtid"}, {"phone", PHONE},
                    {"templateType", 0}}),
                toJson({{"currencyId", 643}, {"function", "check_params"}, {"bik", BIK}}),
                toJson({{"currencyId", 643}, {"function", "check"}, {"phone", PHONE},
                    {"rCode", 601}, {"params", BIK + ";<b>%1</b>"}}),
            }));
    }
};

QTEST_MAIN(TestTemplateRequests)
#include "tst_templaterequests.moc"
