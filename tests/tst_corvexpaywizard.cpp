#include "corvexpaywizard.h"
#include "cxpaytemplatesmodel.h"
#include "cxwpmsgsender.h"
#include "cxwpselecttemplate.h"
#include "fakehost.h"
#include "icxwizardpage.h"
#include "requestpage.h"
#include "testutil.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QTimer>

#include <functional>
#include <memory>

static const QString PHONE = "9001234567";
static const QString BIK = "044525225";
// A BIK check's reply announcing one parameter: the first name empty, the third withheld.
static const QVariantMap ONE_PARAM
    = {{"bank", "Sber"}, {"bik", BIK}, {"pName1", ""}, {"pName2", "Contract"}, {"pName3", "***"}};
static const char *const BASE_EDITS[] = {"lePhone", "leLastName", "leFirstName", "leSecondName"};
// A tab in a date edit moves on to its next section: two reach the year.
static const char *const DOCUMENT_EDITS[] = {"leSeries", "leNumber", "leIssuer", "leBirthplace",
    "leCitizenship", "deIssueDate", "deBirthday"};
static const char *const ADDRESS_EDITS[] = {"leCountrry", "leRegion", "leDistrict", "leCity",
    "leStreet", "leHouse", "leBuilding", "leApartment"};

// A payment wizard on a fake host, walked by an operator from the action page through the given
// choice, if any; replies carry the uid of the request they answer. Multiplier 0: no currency.
struct Road
{
    explicit Road(const char *action, int multiplier = 100)
    {
        Currency rub;
        if (multiplier) {
            rub.setNumber3(643);
            rub.setAlpha3("RUB");
            rub.setRealMultiplier(multiplier);
        }
        wizard.reset(new CorvexPayWizard(QFont("Sans", 13), rub, FixNumber()));
        wizard->setMessageSender(host.get(), FakeHost::method());
        wizard->setMessageReciever(host.get(), FakeHost::signal());
        if (!action)
            return;
        wizard->show();
        Operator::click(find(action));
        next();
    }

    template<typename T = QWidget> T *find(const char *name) const
    {
        return wizard->currentPage()->findChild<T *>(name);
    }
    bool canGoOn() const { return wizard->button(QWizard::NextButton)->isEnabled(); }
    bool next() { return Operator::next(wizard.get()); }
    QVariantMap sent() const { return host->requests.last(); }
    auto params() const { return find("gbParams")->findChildren<QLineEdit *>(); }
    bool answer(QVariantMap params)
    {
        params.insert("errorCode", params.value("errorCode", 0));
        emit host->reply(
            {}, toJson({{"uid", sent().value("uid")}, {"error", false}, {"params", params}}));
        return true;
    }
    void typeInto(const char *const *names, const QStringList &texts) const
    {
        for (int i = 0; i < texts.size(); ++i)
            Operator::type(find(names[i]), texts.at(i));
    }
    // Picks the document type at the given index, then types into the document edits.
    void fillDocuments(int type, const QStringList &texts) const
    {
        find<QComboBox>("cbDocumentType")->setCurrentIndex(type);
        typeInto(DOCUMENT_EDITS, texts);
    }
    // Types over the number from its first digit on.
    void typePhone(const QString &keys)
    {
        find<QLineEdit>("lePhone")->setCursorPosition(2);
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

    std::unique_ptr<FakeHost> host {new FakeHost};
    std::unique_ptr<CorvexPayWizard> wizard;
};

// Templates looked up (the reply's "templateList" JSON, if any), then listed unless told not to.
struct Selection : Road
{
    explicit Selection(const QString &templateList, bool enterList = true)
        : Road("rbRequirementsCodes")
    {
        typePhone(PHONE);
        next();
        const QString list = templateList.isEmpty() ? "" : ", \"templateList\": " + templateList;
        emit host->reply({},
            QString("{\"uid\": %1, \"error\": false, \"params\": {\"errorCode\": 0, \"phone\": "
                    "\"%2\", \"fullName\": \"Ivanov <Ivan>\"%3}}")
                .arg(sent().value("uid").toString(), PHONE, list));
        if (enterList)
            enter();
    }
    void enter()
    {
        Operator::next(wizard.get());
        page = qobject_cast<CXWPSelectTemplate *>(wizard->currentPage());
        view = page->findChild<QListView *>("lvTemplates");
        model = qobject_cast<CXPayTemplatesModel *>(view->model());
    }
    void click(int row)
    {
        view->scrollTo(model->index(row, 0));
        QTest::mouseClick(
            view->viewport(), Qt::LeftButton, {}, view->visualRect(model->index(row, 0)).center());
    }

    CXWPSelectTemplate *page = nullptr;
    QListView *view = nullptr;
    CXPayTemplatesModel *model = nullptr;
};

// Walked from a request page at 4 to the sender page at 14; replies in single quotes for brevity.
struct Exchange : Road
{
    explicit Exchange(int type)
        : Road(nullptr, 0)
    {
        wizard->removePage(4);
        wizard->setPage(4, request = new RequestPage(wizard.get(), type, 123));
        wizard->setStartId(4);
        wizard->show();
        wizard->next();
        sender = qobject_cast<CXWPMsgSender *>(wizard->currentPage());
    }
    void reply(QString message) { emit host->reply({}, message.replace('\'', '"')); }
    QString error() const { return sender->findChild<QLabel *>("lError")->text(); }
    QString shown() const { return sender->findChild<QTextBrowser *>("tbData")->toPlainText(); }

    RequestPage *request = nullptr;
    CXWPMsgSender *sender = nullptr;
};

static const QString OK = "{'uid': 123, 'error': false, 'params': {'errorCode': 0}}";
static const QString TIMEOUT = "<font color=\"red\"><b>Connection error: </b>timeout</font>";
static const QString WAITING = "Waiting for the service's reply.";

static QString templates(int count)
{
    QStringList items;
    for (int i = 0; i < count; ++i)
        items << QString("{\"creditType\": \"Loan\", \"bankName\": \"Bank %1\", \"creditCode\": "
                         "\"%1\", \"addInfo\": {\"Contract\": \"C-%1\"}}")
                     .arg(i);
    return "[" + items.join(", ") + "]";
}

static const QMap<int, QByteArray> PAGE_CLASSES = {{1, "CXWPRegistrationBase"},
    {2, "CXWPRegistrationDocuments"}, {3, "CXWPRegistrationAddress"},
    {4, "CXWPPrepareAllTemplatesRequest"}, {5, "CXWPCheckParams"}, {6, "CXWPRegistreTemplate"},
    {7, "CXWPSelectTemplate"}, {14, "CXWPMsgSender"}};

class TestCorvexPayWizard : public QObject
{
    Q_OBJECT

private slots:
    // The sender page logs every reply; the long ones would flood the output.
    void initTestCase() { QLoggingCategory::setFilterRules("corvex.exchange.debug=false"); }

    void hostAnswers()
    {
        CorvexPayWizard wizard {QFont(), Currency(), FixNumber()};
        // The wizard keeps its own copy: a provider handed out stays as it was.
        Provider provider;
        provider.setId(1586);
        wizard.setProvider(provider);
        const QSharedPointer<Provider> shared = wizard.provider();
        provider.setId(1587);
        wizard.setProvider(provider);
        QCOMPARE(shared->id(), qint64(1586));
        QCOMPARE(wizard.newProviderId(), qint64(1587));

        QVERIFY(!wizard.setMessageReciever(nullptr, SIGNAL(destroyed())));
        QVERIFY(!wizard.setMessageSender(nullptr, SLOT(deleteLater())));
    }

    // Esc on a payment the operator has typed into asks first, and the answer is No unless the
    // operator says Yes; with nothing typed the wizard closes at once.
    void cancelAsks_data()
    {
        addRows<bool, int, int>({"typed", "answer", "rejected"},
            {{"nothing typed", false, 0, 1}, {"typed, Enter", true, Qt::Key_Return, 0},
                {"typed, Esc", true, Qt::Key_Escape, 0}, {"typed, Y", true, Qt::Key_Y, 1}});
    }
    void cancelAsks()
    {
        QFETCH(bool, typed);
        QFETCH(int, answer);
        Road reg("rbRegistration");
        if (typed)
            Operator::type(reg.find("leLastName"), "Ivanov");
        QSignalSpy rejected(reg.wizard.get(), &QDialog::rejected);
        int asked = 0;
        QTimer::singleShot(0, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                ++asked;
                QTest::keyClick(box, Qt::Key(answer));
            }
        });
        QTest::keyClick(reg.wizard.get(), Qt::Key_Escape);
        QCOMPARE(asked, int(typed));
        QTEST(int(rejected.count()), "rejected");
    }

    void checkAndAddPage_data()
    {
        addRows<QList<int>, int, int, bool>({"route", "kind", "expected", "created"},
            {
                {"not visited", {}, 5, 5, false},
                {"no page kind", {}, 9, 9, false},
                {"visited twice", {5, 5}, 5, 37, true},
                {"start page", {4}, 0, 0, false},
                {"payment page", {15}, 15, 15, false},
                {"beyond kinds", {4, 4}, 20, 36, false},
            });
        for (int kind : {1, 2, 3, 4, 5, 6, 7, 14})
            QTest::addRow("visited %d", kind) << QList<int> {kind} << kind << kind + 16 << true;
    }

    void checkAndAddPage()
    {
        CorvexPayWizard wizard {QFont(), Currency(), FixNumber()};
        QFETCH(QList<int>, route);
        QFETCH(int, kind);
        QFETCH(int, expected);
        QFETCH(bool, created);
        // Walk 0 -> route[0] -> route[1] ...: the start page and the first visit of each kind on
        // the way lead on to the next kind of the route.
        for (int i = 0; i < route.count(); ++i) {
            const int id = i == 0 ? 0 : route.at(i - 1);
            wizard.removePage(id);
            wizard.setPage(id, new RequestPage(&wizard, 0, 0, route.at(i)));
        }
        wizard.restart();
        for (int step = 0; step < route.count(); ++step)
            wizard.next();
        QCOMPARE(wizard.visitedIds().count(), route.count() + 1);
        const int pages = wizard.pageIds().count();
        QCOMPARE(wizard.checkAndAddPage(CorvexPayWizard::EPages(kind)), expected);
        QCOMPARE(wizard.checkAndAddPage(CorvexPayWizard::EPages(kind)), expected);
        QCOMPARE(wizard.pageIds().count(), pages + (created ? 1 : 0));
        if (created)
            QCOMPARE(wizard.page(expected)->metaObject()->className(), PAGE_CLASSES[kind].data());
    }

    void registrationRoads_data()
    {
        // Boxes the operator clicks: "d" skip documents and "a" skip address on the base page,
        // "A" skip address on the documents page; years typed as issue date and birthday, where
        // a future one is refused; the request as the host receives it, without the uid.
        const QVariantMap base = {{"currencyId", 643}, {"firstName", "Ivan"}, {"function", "reg"},
            {"lastName", "Ivanov"}, {"phone", "9123456789"}, {"secondName", "Ivanovich"}};
        QVariantMap docs = base;
        docs.insert({{"birthday", "2000-01-01"}, {"birthplace", "Moscow"}, {"citizenship", "RU"},
            {"docIssueDate", "2010-01-01"}, {"docIssuer", "OVD"}, {"docNumber", "567890"},
            {"docSeries", "1234"}, {"docType", 4}});
        QVariantMap all = docs, issued = docs;
        all.insert("address", "Country, , City, 1");
        issued.insert("docIssueDate", "2000-01-01");
        const QString nextYear = QString::number(QDate::currentDate().year() + 1);
        addRows<QString, QString, QString, QList<int>, QString>(
            {"clicks", "issued", "born", "route", "sent"},
            {
                {"all pages", "", "2010", "", {0, 1, 2, 3, 14}, toJson(all)},
                {"documents skipped", "d", "", "", {0, 1, 14}, toJson(base)},
                {"address skipped on the base page", "a", "2010", "", {0, 1, 2, 14}, toJson(docs)},
                {"address skipped, taken back", "aA", "2010", "", {0, 1, 2, 3, 14}, toJson(all)},
                {"address skipped later", "A", "2010", "", {0, 1, 2, 14}, toJson(docs)},
                {"birthday next year", "A", "2010", nextYear, {0, 1, 2, 14}, toJson(docs)},
                {"issued next year", "A", nextYear, "", {0, 1, 2, 14}, toJson(issued)},
            });
    }

    // The documents page's "Skip address" starts from the base page's; whichever registration
    // page comes last sends one request with everything entered so far.
    void registrationRoads()
    {
        QFETCH(QString, clicks);
        QFETCH(QString, issued);
        QFETCH(QString, born);
        Road reg("rbRegistration");
        reg.typeInto(BASE_EDITS, {"9123456789", "Ivanov", "Ivan", "Ivanovich"});
        if (clicks.contains('d'))
            Operator::click(reg.find("cbSkipDocuments"));
        if (clicks.contains('a'))
            Operator::click(reg.find("cbSkipAddress"));
        QVERIFY(reg.next());
        if (reg.wizard->currentId() == 2) {
            // The window grew to the taller page: it does not scroll.
            QTRY_VERIFY(!reg.find<QAbstractScrollArea>("saPage")->verticalScrollBar()->isVisible());
            QCOMPARE(reg.find<QCheckBox>("cbSkipAddress")->isChecked(), clicks.contains('a'));
            if (clicks.contains('A'))
                Operator::click(reg.find("cbSkipAddress"));
            reg.fillDocuments(
                3, {"1234", "567890", "OVD", "Moscow", "RU", "\t\t" + issued, "\t\t" + born});
            QCOMPARE(Operator::note(reg.wizard->currentPage()).count("today or earlier"),
                int(issued > "2011") + int(born > "2011"));
            QVERIFY(reg.next());
        }
        if (reg.wizard->currentId() == 3) {
            reg.typeInto(ADDRESS_EDITS, {"Country", "", "", "City", "", "1"});
            QVERIFY(reg.next());
        }
        QTEST(reg.wizard->visitedIds(), "route");
        QVariantMap sent = reg.sent();
        sent.remove("uid");
        QTEST(toJson(sent), "sent");
    }

    // Each preview starts with the one before; what the operator typed, markup and placeholders
    // too, is shown as typed and sent unchanged. A language change keeps the bullet masks.
    void previews()
    {
        Road reg("rbRegistration");
        reg.typeInto(BASE_EDITS, {"9123456789", "<b>%1</b>", "%2 & Co", "<i>%3"});
        QVERIFY(reg.next());
        reg.fillDocuments(1, {"12<%1>", "34", "<a href=x>%1", "%1<br>", "&lt;%2"});
        QEvent event(QEvent::LanguageChange);
        QCoreApplication::sendEvent(reg.wizard->currentPage(), &event);
        const QString bullets(25, QChar(0x2022));
        QCOMPARE(reg.find<QLineEdit>("leSeries")->displayText()
                + reg.find<QLineEdit>("leNumber")->displayText(),
            "121" + bullets.left(7) + "34" + bullets.left(18));
        QVERIFY(reg.next());
        reg.typeInto(ADDRESS_EDITS, {"<C>%1", "%2", "%3\"", "%4 City", "'%1'", "<1>", "%5", "%6"});
        const QString date = QLocale::system().toString(QDate(2000, 1, 1), QLocale::ShortFormat);
        QCOMPARE(ICXWizardPage::fromObject(reg.wizard->currentPage())->preview(),
            "<h3 align=\"center\">Registration</h3><p><b>Mobile phone: </b>8(912)345-67-89</p>"
            "<p><b>Full name: </b>&lt;b&gt;%1&lt;/b&gt; %2 &amp; Co &lt;i&gt;%3</p>"
            "<p><b>Document: </b>Not passport</p><p><b>Series / Number: </b>121 / 34</p>"
            "<p><b>Issuer: </b>&lt;a href=x&gt;%1</p><p><b>Issue date: </b>"
                + date + "</p><p><b>Citizenship: </b>&amp;lt;%2</p><p><b>Birthday: </b>" + date
                + "</p><p><b>Birthplace: </b>%1&lt;br&gt;</p><p><b>Address: </b>"
                  "&lt;C&gt;%1, %2, %3&quot;, %4 City, '%1', &lt;1&gt;, %5, %6</p>");
        QVERIFY(reg.next());
        QCOMPARE(reg.sent().value("lastName"), QVariant("<b>%1</b>"));
    }
    // What the pages hand on from what the operator types, in order into the page's edits: the
    // wizard's phone, from a complete page only (the base page needs a valid phone and something
    // in every name), and the BIK field; under the inputs, the words that say what keeps Next grey.
    void input_data()
    {
        const QString phone = "Mobile phone: 10 digits", bik = "BIK: 9 digits";
        addRows<int, QStringList, bool, QString, QString>(
            {"page", "keys", "complete", "value", "words"},
            {
                {"base, second name empty", 1, {"9123456789", "Ivanov", "Ivan", ""}, false, "",
                    "Second Name: required"},
                {"base, spaces", 1, {"9123456789", " ", "  ", "   "}, true, "9123456789", ""},
                {"base, nine digits", 1, {"912345678", "I", "I", ""}, false, "", phone},
                {"phone, nine digits", 4, {"900123456"}, false, "", phone},
                // Still complete, so no completeChanged() tells the wizard.
                {"phone, digit typed over", 4, {PHONE, "8"}, true, "8001234567", ""},
                {"bik, nothing", 5, {""}, false, "", bik},
                {"bik, eight digits", 5, {"04452522"}, false, "04452522", bik},
                {"bik, the ninth digit", 5, {"04452522", "5"}, true, BIK, ""},
                {"bik, letters", 5, {"04ab4525"}, false, "044525", bik},
                {"bik, ten digits", 5, {BIK + "9"}, true, BIK, ""},
            });
    }
    void input()
    {
        QFETCH(int, page);
        QFETCH(QStringList, keys);
        Road road(page == 1 ? "rbRegistration" : "rbRequirementsCodes");
        QVERIFY(page != 5 || road.lookUp());
        if (page == 1)
            road.typeInto(BASE_EDITS, keys);
        for (const QString &chunk : page == 1 ? QStringList() : keys)
            page == 4 ? road.typePhone(chunk) : Operator::type(road.find("leBik"), chunk);
        QTEST(page == 5 ? road.wizard->field("checkparams.bik").toString() : road.wizard->phone(),
            "value");
        QTEST(Operator::note(road.wizard->currentPage()), "words");
        QTEST(road.next(), "complete");
    }

    void templateRegistration_data()
    {
        // Row n of the shown names gets n typed, then "a;b" whose separator cannot be typed. A
        // planned amount goes in units of the box's decimals, rounded.
        const QVariantMap none = {{"bik", BIK}};
        addRows<QVariantMap, QStringList, int, QString, QString, QVariant>(
            {"announced", "labels", "multiplier", "amount", "params", "units"},
            {
                {"one of three", ONE_PARAM, {"Contract"}, 100, "", BIK + ";1ab", {}},
                {"none", none, {}, 100, "", BIK, {}},
                {"three", {{"pName1", "A"}, {"pName2", "B"}, {"pName3", "C"}}, {"A", "B", "C"}, 100,
                    "", ";1ab;2ab;3ab", {}},
                {"withheld inside a name", {{"pName1", "A***"}, {"pName3", "C"}}, {"C"}, 100, "",
                    ";1ab", {}},
                {"numbers", {{"pName1", 42}, {"pName2", 7.5}}, {"42", "7.5"}, 100, "", ";1ab;2ab",
                    {}},
                {"null and missing", {{"pName1", QVariant()}, {"pName3", "C"}}, {"C"}, 100, "",
                    ";1ab", {}},
                {"object", {{"pName1", QVariantMap {{"a", 1}}}, {"pName2", "B"}}, {"B"}, 100, "",
                    ";1ab", {}},
                {"markup", {{"pName1", "<b>Account</b>"}}, {"<b>Account</b>"}, 100, "", ";1ab", {}},
                // Shown as "R&D &amp;", with no shortcut key.
                {"ampersand", {{"pName1", "R&D &amp;"}}, {"R&&D &&amp;"}, 100, "", ";1ab", {}},
                {"100: 0.29", none, {}, 100, "0.29", BIK, qlonglong(29)},
                {"1000: 12.34", none, {}, 1000, "12.34", BIK, qlonglong(12340)},
                {"no currency: 0.29", none, {}, 0, "0.29", BIK, qlonglong(29)},
            });
    }

    // Each shown name gets a row, labelled in plain text, whose input is the mandatory field
    // "templateRegistration.param n": the phone is valid before the rows exist, yet Next opens
    // only with the last row filled. Back and Next build the same rows once more, empty.
    void templateRegistration()
    {
        QFETCH(QVariantMap, announced);
        QFETCH(QStringList, labels);
        QFETCH(QString, amount);
        QFETCH(int, multiplier);
        Road road("rbRequirementsCodes", multiplier);
        QVERIFY(road.lookUp() && road.checkBik(announced));
        for (int round = 0; round < 2; ++round) {
            QStringList shown;
            for (QLabel *label : road.find("gbParams")->findChildren<QLabel *>()) {
                shown << label->text();
                QCOMPARE(label->textFormat(), Qt::PlainText);
            }
            QCOMPARE(shown, labels);
            QCOMPARE(Operator::note(road.wizard->currentPage()).section('\n', 0, 0),
                labels.isEmpty() ? "" : QString(labels.first()).replace("&&", "&") + ": required");
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
            Operator::click(road.find("cbAmount"));
            road.find<QDoubleSpinBox>("dsbAmount")->clear();
            Operator::type(road.find<QDoubleSpinBox>("dsbAmount"), amount);
        }
        QVERIFY(road.next());
        QTEST(road.sent().value("params").toString(), "params");
        QTEST(road.sent().value("amount"), "units");
    }

    // Markup and placeholders typed or announced are sent raw and shown as text; a language
    // change keeps the typed BIK with its bullets.
    void templateRoad()
    {
        Road road("rbRequirementsCodes");
        QVERIFY(road.lookUp());
        Operator::type(road.find("leBik"), "04452");
        QEvent event(QEvent::LanguageChange);
        QCoreApplication::sendEvent(road.wizard->currentPage(), &event);
        QCOMPARE(road.find<QLineEdit>("leBik")->displayText(), "04452" + QString(4, QChar(0x2022)));
        QVERIFY(road.checkBik(
            {{"bank", "<i>Sber</i> & Co"}, {"bik", BIK}, {"pName2", "Contract <no>"}}, "5225"));
        Operator::type(road.params().value(0), "<b>%1</b>");
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
        for (QVariantMap request : road.host->requests)
            sent << (request.take("uid").toLongLong() ? toJson(request) : QString());
        QCOMPARE(sent,
            QStringList({
                toJson({{"currencyId", 643}, {"function", "listtid"}, {"phone", PHONE},
                    {"templateType", 0}}),
                toJson({{"currencyId", 643}, {"function", "check_params"}, {"bik", BIK}}),
                toJson({{"currencyId", 643}, {"function", "check"}, {"phone", PHONE},
                    {"rCode", 601}, {"params", BIK + ";<b>%1</b>"}}),
            }));

        // Every page kind entered a second time keeps its inputs mandatory, and the first instance
        // its value: 6 -> 46 -> 20 -> 62 -> 21 -> 78 -> 22.
        QVERIFY(road.answer({}) && road.next());
        road.find<QLineEdit>("lePhone")->clear();
        QVERIFY(!road.canGoOn());
        QVERIFY(road.lookUp() && road.checkBik(ONE_PARAM));
        QVERIFY(!road.canGoOn());
        QCOMPARE(road.wizard->field("templateRegistration.param 1"), QVariant("<b>%1</b>"));
    }
    void rows_data()
    {
        addRows<QString, QStringList, int>({"templateList", "codes", "warnings"},
            {{"empty", "[]", {}, 0}, {"missing", "", {}, 0},
                {"three", templates(3), {"0", "1", "2"}, 0}, {"text", "\"[{}]\"", {}, 1},
                {"object", "{\"creditCode\": \"1\"}", {}, 1}, {"number", "5", {}, 1},
                {"not objects", "[1, \"x\", {\"creditCode\": \"7\"}, [{}], null, {}]", {"7", ""},
                    4}});
    }
    // Only entries that are objects become rows; the last row is always "Add new", which leads
    // to the bank check. A click chooses and highlights a row.
    void rows()
    {
        QFETCH(QString, templateList);
        QFETCH(QStringList, codes);
        QFETCH(int, warnings);
        for (int i = 0; i < warnings; ++i)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Template"));
        Selection s(templateList);
        QStringList shown;
        for (int row = 0; row + 1 < s.model->rowCount(); ++row)
            shown << s.model->requestCode(row);
        QCOMPARE(shown, codes);
        const QString last = s.model->index(codes.size(), 0).data().toString();
        QCOMPARE(QTextDocumentFragment::fromHtml(last).toPlainText(), QString("Add new"));
        s.click(codes.size());
        QCOMPARE(s.view->selectionModel()->selectedIndexes(), {s.model->index(codes.size(), 0)});
        QCOMPARE(s.page->additionalData(), QVariantMap());
        QVERIFY(Operator::next(s.wizard.get()));
        QCOMPARE(s.wizard->currentId(), 5);
    }

    // Further details as label and value, in the order they are shown.
    void chosen_data()
    {
        addRows<QString, QString, QStringList>({"addInfo", "code", "details"},
            {{"B then A", "{\"B\": \"2\", \"phone\": \"555\", \"A <x>\": \"1 & <i>\"}", "<i>12",
                 {"A <x>", "1 & <i>", "B", "2", "phone", "555"}},
                {"empty", "{}", "12", {}}, {"text", "\"A: 1\"", "12", {}},
                {"list", "[{\"A\": 1}]", "12", {}}, {"number", "5", "12", {}},
                {"no code", "{}", "", {}}});
    }
    // The chosen template, as the payment page reads it: service texts are escaped in the rich
    // text and kept as they are in the plain text and the additional data.
    void chosen()
    {
        QFETCH(QString, addInfo);
        QFETCH(QString, code);
        QFETCH(QStringList, details);
        const QString item = "{\"creditType\": \"<i>Loan\", \"bankName\": \"Sber <b>\", "
            + (code.isEmpty() ? "" : "\"creditCode\": \"" + code + "\", ")
            + "\"addInfo\": " + addInfo + "}";
        Selection s("[{\"creditCode\": \"x\"}, " + item + ", {}]");
        s.click(1);
        QVERIFY(Operator::next(s.wizard.get()));
        QCOMPARE(s.wizard->currentId(), 15);
        QCOMPARE(s.page->requestCode(), code);

        // A rich text table shows each label and value on lines of their own. The details join
        // the template's fields and the customer's; a bank detail named "phone" is printed but
        // never stands for the customer's phone in the service's data.
        QString cells;
        QString plain = "<i>Loan: Sber <b>\nCredit code: " + code;
        QVariantMap corvex {
            {"creditType", "<i>Loan"}, {"bankName", "Sber <b>"}, {"creditCode", code}};
        QMultiMap<QString, QVariant> printable {{"phone", PHONE}, {"fullName", "Ivanov <Ivan>"}};
        for (int i = 0; i < details.size(); i += 2) {
            cells += "\n" + details[i] + "\n" + details[i + 1];
            plain += "\n\t" + details[i] + " " + details[i + 1];
            corvex.insert(details[i], details[i + 1]);
            printable.insert(details[i], details[i + 1]);
        }
        cells += details.isEmpty() ? "" : "\n";
        corvex.insert("phone", PHONE);
        corvex.insert("fullName", "Ivanov <Ivan>");
        const auto shown = [](const QString &html) {
            return QTextDocumentFragment::fromHtml(html).toPlainText();
        };
        QCOMPARE(shown(s.page->description()), "<i>Loan: Sber <b>\nCredit code: " + code + cells);
        QCOMPARE(s.model->index(1, 0).data().toString(), s.page->description());
        QCOMPARE(shown(s.page->info()), cells);
        QCOMPARE(s.page->plainDescription(), plain);

        const QVariantMap data = s.page->additionalData();
        QCOMPARE(data.keys(), QStringList({"corvex", "detailsForPrint"}));
        QCOMPARE(data.value("corvex").toMap(), corvex);
        const QVariantMap printed = data.value("detailsForPrint").toMap();
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
        QCOMPARE(printed, QVariantMap(printable));
#else
        // One value per key: the one a reader of single values gets from the multi-map.
        QCOMPARE(printed.keys(), printable.uniqueKeys());
        for (const QString &key : printed.keys())
            QCOMPARE(printed.value(key), printable.value(key));
#endif
        const QJsonObject json = QJsonObject::fromVariantMap(data);
        QCOMPARE(json.value("corvex")["phone"], QJsonValue(PHONE));
    }

    // A long list shows its first cards at once and is laid out to its end in short steps, so
    // the screen stays live; then, left alone, it does not keep painting itself.
    void manyTemplates()
    {
        Selection s(templates(5000), false);
        PaintSpy counter;
        s.wizard->page(7)->findChild<QListView *>()->viewport()->installEventFilter(&counter);
        QElapsedTimer clock;
        clock.start();
        s.enter();
        qint64 longestPause = clock.elapsed(), lastTick = longestPause;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&] {
            longestPause = qMax(longestPause, clock.elapsed() - lastTick);
            lastTick = clock.elapsed();
        });
        ticker.start(5);
        QTRY_VERIFY_WITH_TIMEOUT(!counter.painted.isEmpty(), 5000);
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        QTRY_VERIFY_WITH_TIMEOUT(s.view->visualRect(s.model->index(5000, 0)).isValid(), 30000);
        QVERIFY2(longestPause < 1000, qPrintable(QString::number(longestPause)));
        counter.painted.clear();
        QTest::qWait(1000);
        QVERIFY2(counter.painted.size() <= 2, qPrintable(QString::number(counter.painted.size())));
        s.click(4999);
        QCOMPARE(s.page->requestCode(), QString("4999"));
    }
    // A kind entered again (4 -> 14 -> 5 -> 30) gets a sender page of its own, which takes only its
    // own reply, even one sent inside the request.
    void requests()
    {
        Exchange ex(8);
        ex.wizard->removePage(5);
        ex.wizard->setPage(5, new RequestPage(ex.wizard.get(), 9, 456));
        ex.reply("{'uid': 123, 'error': false, 'params': {'errorCode': 19}}");
        ex.wizard->next();
        connect(ex.wizard.get(), &CorvexPayWizard::sendMessage, ex.host.get(),
            [&ex] { ex.reply(QString(OK).replace("123", "456")); });
        ex.wizard->next();
        QCOMPARE(ex.wizard->currentId(), 30);
        QVERIFY(ex.wizard->currentPage()->isComplete());
        QCOMPARE(ex.wizard->currentPage()->nextId(), 6);
        QCOMPARE(ex.sender->answer().value("uid"), QVariant(123));
    }

    // A reply not taken ("answered" false) changes nothing and the wait goes on. Texts of the
    // reply reach the operator's screen as text.
    void reply_data()
    {
        const auto line = [](const char *title, const QString &text, const char *color = "red") {
            return QString("<font color=\"%1\"><b>%2: </b>%3</font>").arg(color, title, text);
        };
        const QString corvex = line("Corvex error", "");
        // OK with other params.
        const auto params
            = [](const QString &params) { return QString(OK).replace("{'errorCode': 0}", params); };
        const auto code
            = [&params](int code) { return params(QString("{'errorCode': %1}").arg(code)); };
        const QString bank
            = params("{'errorCode': 0, 'bank': '<b>Sber', 'bik': '***', 'destination': "
                     "'M', 'pName1': '', 'pName2': '***', 'pName3': 'Contract'}");
        addRows<int, QString, bool, bool, QString, int, QString>(
            {"type", "message", "answered", "complete", "error", "next", "shown"},
            {
                {"uid number", 8, params("{'errorCode': 0, 'lastName': 'Iv', 'firstName': '<i>I'}"),
                    true, true, "", 7, "Request <1>\nFull name: Iv <i>I "},
                {"foreign uid", 8, QString(OK).replace("123", "124"), false, false, "", 15, ""},
                {"not JSON", 8, "uid 123", false, false, "", 15, ""},
                {"result 7", 8,
                    QString(OK).insert(1, "'result': 7, 'resultDescription': '<b>Closed', "), true,
                    false, line("Dalmor error", "&lt;b&gt;Closed"), 7, ""},
                {"error", 8, "{'uid': 123, 'error': true, 'description': 'No <i>'}", true, false,
                    line("Corvex error", "No &lt;i&gt;"), 15, ""},
                {"no error key", 8, "{'uid': 123, 'params': {'errorCode': 0}}", true, false,
                    line("Connection error", "the reply cannot be read"), 15, ""},
                {"code text", 8, params("{'errorCode': '19', 'description': 'Add'}"), true, true,
                    line("Corvex error", "Add", "blue"), 5, ""},
                {"code garbage", 8, params("{'errorCode': 'x'}"), true, false, corvex, 15, ""},
                // Whatever follows a NUL is shown too.
                {"NUL in a name", 8, params("{'errorCode': 0, 'lastName': 'Iva\\u0000nov'}"), true,
                    true, "", 7, QString("Request <1>\nFull name: Iva%1nov ").arg(QChar(0xFFFD))},
                {"params error", 8, params("{'result': 'ErRoR', 'description': 'Busy'}"), true,
                    false, line("Corvex error", "Busy"), 15, ""},
                {"params other", 8, params("{'result': 'ok', 'description': 'Busy'}"), true, false,
                    line("Corvex error", "Unknown error"), 15, ""},
                {"listtid 28", 8, code(28), true, false, corvex, 15, ""},

                {"reg failed", 3, code(19), true, false, line("Corvex error", "", "blue"), 15, ""},
                // Kind 4 was visited on the way here, so a second page of that kind follows.
                {"check", 4, params("{'errorCode': 0, 'description': 'First <br>\\n\\nThird'}"),
                    true, true, "", 20, "Request <1>\nDescription\nFirst <br>\nThird"},
                {"check_params", 9, bank, true, true, "", 6,
                    "Request <1>\nBank: <b>Sber\nDestination: M\nFill next fields:\n- Contract"},
                {"check_params, nothing asked", 9, params("{'errorCode': 0, 'bank': 'Sber'}"), true,
                    true, "", 6, "Request <1>\nBank: Sber\n"},
                {"other type", 5, OK, true, false, "", 15, ""},
            });
    }
    void reply()
    {
        QFETCH(int, type);
        QFETCH(QString, message);
        QFETCH(bool, answered);
        QFETCH(QString, shown);
        Exchange ex(type);
        QSignalSpy completeChanged(ex.sender, SIGNAL(completeChanged()));
        if (message == "uid 123")
            QTest::ignoreMessage(
                QtWarningMsg, QRegularExpression("^Reply is not JSON: .* uid 123$"));
        auto *progress = ex.sender->findChild<QProgressBar *>("progressBar");
        progress->setValue(5);
        ex.reply(message);
        QCOMPARE(!ex.sender->answer().isEmpty(), answered);
        QTEST(ex.sender->isComplete(), "complete");
        QTEST(ex.error(), "error");
        QTEST(ex.sender->nextId(), "next");
        if (!shown.isEmpty())
            QCOMPARE(ex.shown(), shown);
        // Only the accepted reply stops the wait and the bar; the request stays for the pages
        // after, unless Retry is to send it again.
        QCOMPARE(progress->value(), answered ? 0 : 5);
        QCOMPARE(progress->isHidden(), answered);
        const bool retry = QByteArray(QTest::currentDataTag()) == "no error key";
        QCOMPARE(ex.sender->request() == ex.request->request, !retry);
        QVERIFY(!completeChanged.isEmpty());
    }

    void insideProgressTick_data()
    {
        addRows<int>({"current"},
            {{"reply", 14}, {"timeout", 14}, {"back", 4}, {"cancel", -1}, {"host gone", 14},
                {"wizard gone", -1}});
    }
    // Whatever the events let through by the progress tick do, the page stays consistent and
    // touches no deleted object. A time-out after the answer changes nothing; after a time-out no
    // reply is the page's own, not even one without a uid.
    void insideProgressTick()
    {
        const QByteArray action = QTest::currentDataTag();
        Exchange ex(8);
        QPointer<CXWPMsgSender> sender = ex.sender;
        const QMap<QByteArray, std::function<void()>> actions = {{"reply", [&] { ex.reply(OK); }},
            {"timeout", [&] { ex.sender->timeout(); }}, {"back", [&] { ex.wizard->back(); }},
            {"cancel", [&] { ex.wizard->reject(); }}, {"wizard gone", [&] { ex.wizard.reset(); }},
            // The page sends again while the host's objects are gone.
            {"host gone", [&] {
                 ex.host.reset();
                 ex.wizard->back();
                 ex.wizard->next();
             }}};
        QTimer::singleShot(0, this, actions.value(action));
        sender->setProgress();
        QCOMPARE(sender.isNull(), action == "wizard gone");
        if (sender.isNull())
            return ex.reply(OK); // the host goes on replying after the wizard is gone
        QCOMPARE(sender->isComplete(), action == "reply");
        QCOMPARE(ex.error() == TIMEOUT, action == "timeout");
        QTEST(ex.wizard->currentId(), "current");
        sender->timeout();
        if (ex.host) {
            ex.reply(OK);
            ex.reply("{'error': false, 'params': {'errorCode': 0}}");
        }
        QCOMPARE(sender->answer().isEmpty(), action != "reply");
        QCOMPARE(sender->isComplete(), action == "reply");
        QCOMPARE(ex.error() == TIMEOUT, action != "reply");
    }

    // What the operator and the host do on a sender page, one step after another: the host's
    // replies (to the last request's uid, or "old" to the first), a time-out, Retry, Back, a
    // double-click on Next, Esc. Retry sends the same request under a new uid once however often
    // it is pressed; a registration or a new template offers no Back while it is in flight nor
    // once accepted; a closed dialog takes no reply and sends nothing.
    void steps_data()
    {
        const QString timedOut
            = "The service did not reply in time. Retry: send the request again.";
        const QString registered = "Customer registered. Next: add a template with the bank's BIK.";
        addRows<int, QString, int, int, bool, bool, bool, QString>(
            {"type", "steps", "requests", "page", "complete", "retry", "back", "outcome"},
            {{"time-out", 8, "timeout", 1, 14, false, true, true, timedOut},
                {"undelivered", 8, "undelivered", 1, 14, false, true, true,
                    "The request did not reach the service. Retry: send it again."},
                {"unreadable", 8, "unreadable", 1, 14, false, true, true,
                    "The service's reply cannot be read. Retry: send the request again."},
                {"undelivered after the answer", 8, "answer undelivered", 1, 14, true, false, true,
                    "Customer found. Templates: 0. Next: choose one."},
                {"refused", 8, "refused", 1, 14, false, false, true,
                    "The service refused the request. Back: correct it and send again."},
                {"late reply", 8, "timeout answer", 1, 14, false, true, true, timedOut},
                {"Retry twice", 8, "timeout retry retry", 2, 14, false, false, true, WAITING},
                {"Retry, the old uid's reply", 8, "undelivered retry old", 2, 14, false, false,
                    true, WAITING},
                {"Retry, the reply", 8, "unreadable retry two", 2, 14, true, false, true,
                    "Customer found. Templates: 2. Next: choose one."},
                {"Esc in flight", 8, "esc answer timeout retry", 1, -1, false, false, false, ""},
                {"Esc, Retry offered", 8, "timeout esc retry answer", 1, -1, false, false, true,
                    ""},
                {"no templates", 8, "19", 1, 14, true, false, true,
                    "Customer found, no templates yet. Next: add one with the bank's BIK."},
                {"not registered", 8, "26", 1, 14, true, false, true,
                    "The customer must be registered first. Next: registration."},
                {"bank", 9, "answer", 1, 14, true, false, true,
                    "Bank found. Next: fill in the template."},
                {"reg in flight: no Back", 3, "back", 1, 14, false, false, false, WAITING},
                {"reg: double-click on Next", 3, "answer next", 1, 5, true, false, false,
                    registered},
                {"check: double-click on Next", 4, "answer next", 1, 20, true, false, false,
                    "Template registered. Next: find the customer's templates."},
                {"reg timed out: Back", 3, "timeout back", 1, 4, false, true, false, timedOut},
                {"reg retried: no Back", 3, "timeout retry back", 2, 14, false, false, false,
                    WAITING}});
    }
    void steps()
    {
        QFETCH(QString, steps);
        QFETCH(QString, outcome);
        QFETCH(int, type);
        Exchange ex(type);
        auto *retry = ex.sender->findChild<QPushButton *>("pbRetry");
        const QMap<QString, QString> replies = {{"answer", OK}, {"old", OK},
            {"undelivered", "{'uid': 123, 'undelivered': true, 'description': 'refused'}"},
            {"other", "{'uid': 124, 'undelivered': true}"},
            {"unreadable", "{'uid': 123, 'params': {'errorCode': 0}}"},
            {"refused", "{'uid': 123, 'error': true, 'description': 'No'}"},
            {"19", QString(OK).replace("0}", "19}")}, {"26", QString(OK).replace("0}", "26}")},
            {"two", QString(OK).replace("0}", "0, 'templateList': [{}, 1, {}]}")}};
        QWizard *wizard = ex.wizard.get();
        for (const QString &step : steps.split(' ')) {
            const QString uid = ex.host->requests.last().value("uid").toString();
            const bool commit = wizard->button(QWizard::CommitButton)->isVisible();
            if (step == "timeout")
                ex.sender->timeout();
            else if (step == "retry")
                QTest::keyClick(retry, Qt::Key_Space);
            else if (step == "back")
                Operator::press(wizard, QWizard::BackButton);
            else if (step == "next")
                Operator::doubleClick(
                    wizard->button(commit ? QWizard::CommitButton : QWizard::NextButton));
            else if (step == "esc")
                QTest::keyClick(wizard, Qt::Key_Escape);
            else
                ex.reply(QString(replies[step]).replace("123", step == "old" ? "123" : uid));
        }
        QTEST(int(ex.host->requests.size()), "requests");
        QTEST(wizard->currentId(), "page");
        QTEST(ex.sender->isComplete(), "complete");
        QTEST(!retry->isHidden(), "retry");
        QCOMPARE(wizard->focusWidget() == retry, !retry->isHidden() && ex.sender->isVisible());
        QTEST(wizard->button(QWizard::BackButton)->isEnabled(), "back");
        QCOMPARE(ex.sender->findChild<QLabel *>("lOutcome")->text(), outcome);
        QCOMPARE(ex.sender->findChild<QProgressBar *>()->isHidden(), outcome != WAITING);
        // Sent again: the same request under another uid.
        QVariantMap first = ex.host->requests.first(), last = ex.host->requests.last();
        QCOMPARE(first.take("uid") == last.take("uid"),
            !steps.contains("retry") || steps.contains("esc"));
        QCOMPARE(first, last);
    }

    // A reply of any size is shown within moments on the sender page or a template's card (7),
    // cut to what an operator can read: so many of the repeated text and a note of the rest.
    void hostileReply_data()
    {
        const QString reply = QString(OK).replace("0}", "0, 'description': '%1'}");
        const QString names = QString(OK)
                                  .replace("0}", "0, 'lastName': '%1', 'bank': '%1'}")
                                  .arg(QString(1000000, 'z'));
        const QString huge = QString(OK).append(QString(CorvexReply::MAX_TEXT_CHARS, ' '));
        QStringList details;
        for (int i = 0; i < 60; ++i)
            details << QString("\"D%1\": \"%1\"").arg(i, 2, 10, QChar('0'));
        addRows<int, QString, QString, int, QString>({"type", "message", "text", "shown", "note"},
            {{"100000 lines", 8, reply.arg(QString("ab\\n").repeated(100000)), "ab", 200,
                 "299400 more characters not shown"},
                {"one long line", 8, reply.arg(QString(300000, 'x')), "x", 20000,
                    "280000 more characters not shown"},
                {"long error", 8,
                    QString("{'uid': 123, 'result': 1, 'resultDescription': '%1'}")
                        .arg(QString(300000, 'y')),
                    "y", 1000, QChar(0x2026) + QString(" (299000 more characters not shown)")},
                {"long name", 8, names, "z", 500, "999500 more characters not shown"},
                {"long bank", 9, names, "z", 500, "999500 more characters not shown"},
                {"too large to read", 8, huge, "uid", 0,
                    QString("Connection error: </b>a reply of %1 characters is too large")
                        .arg(huge.size())},
                {"card, long bank", 7, QString("{\"bankName\": \"%1\"}").arg(QString(1000000, 'z')),
                    "z", 500, "999500 more characters not shown"},
                {"card, long detail", 7,
                    QString("{\"addInfo\": {\"%1\": 1}}").arg(QString(100000, 'z')), "z", 500,
                    "99500 more characters not shown"},
                {"card, NUL", 7, "{\"bankName\": \"Sber\\u0000Bank\"}", "Bank", 1,
                    QString("Sber%1Bank").arg(QChar(0xFFFD))},
                {"card, many details", 7, "{\"addInfo\": {" + details.join(", ") + "}}", "D", 50,
                    "(10 more details not shown)"}});
    }
    void hostileReply()
    {
        QFETCH(int, type);
        QFETCH(QString, message);
        const bool unread = message.size() > CorvexReply::MAX_TEXT_CHARS;
        if (unread)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Reply too large to read"));
        QElapsedTimer timer;
        QString shown;
        if (type == CorvexPayWizard::PageSelectTemplate) {
            timer.start();
            Selection s("[" + message + "]");
            QTRY_VERIFY(s.view->visualRect(s.model->index(1, 0)).isValid());
            QCoreApplication::processEvents();
            shown = QTextDocumentFragment::fromHtml(s.model->index(0, 0).data().toString())
                        .toPlainText();
        } else {
            Exchange ex(type);
            timer.start();
            ex.reply(message);
            QCoreApplication::processEvents();
            shown = ex.shown() + ex.error();
            // Unread, the reply leaves the page waiting for its own.
            QCOMPARE(ex.sender->answer().isEmpty(), unread);
        }
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        QFETCH(QString, text);
        QTEST(int(shown.count(text)), "shown");
        QFETCH(QString, note);
        QVERIFY2(shown.contains(note), qPrintable(shown.right(100)));
    }
};

QTEST_MAIN(TestCorvexPayWizard)
#include "tst_corvexpaywizard.moc"
