#include "corvexpaywizard.h"
#include "cxwpmsgsender.h"
#include "fakehost.h"

#include <QLabel>
#include <QLoggingCategory>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

// A data page that describes a fixed request, standing in for the real pages.
class RequestPage : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    RequestPage(QWizard *wizard, int type, qint64 uid)
        : QWizardPage(wizard)
    {
        static const QMap<int, QString> functions
            = {{3, "reg"}, {4, "check"}, {8, "listtid"}, {9, "check_params"}};
        m_request.setType(CorvexRequest::ERequestType(type));
        m_request.setFunction(functions.value(type, "other"));
        m_request.setUid(uid);
        m_request.setCurrencyId(643);
        m_request.setData({{"phone", "9001234567"}});
    }
    int nextId() const override
    {
        return CorvexPayWizard::pageIdFor(wizard(), CorvexPayWizard::PageMsgSender);
    }
    QString preview() const override { return "<p>Request &lt;1&gt;</p>"; }
    CorvexRequest outputData() const override { return m_request; }

    CorvexRequest m_request;
};

// A wizard connected to a fake host and walked 0 -> 4 (a request page) -> 14, the sender page,
// which sends the request.
struct Exchange
{
    explicit Exchange(int type, qint64 uid = 123)
        : host(new FakeHost)
        , wizard(new CorvexPayWizard(QFont("Sans", 13), Currency(), FixNumber()))
    {
        wizard->setMessageSender(host.get(), FakeHost::method());
        wizard->setMessageReciever(host.get(), FakeHost::signal());
        wizard->removePage(4);
        wizard->setPage(4, request = new RequestPage(wizard.get(), type, uid));
        wizard->show();
        auto *choice = wizard->currentPage()->findChild<QRadioButton *>("rbRequirementsCodes");
        QTest::mouseClick(choice, Qt::LeftButton, {}, QPoint(8, choice->height() / 2));
        wizard->next();
        wizard->next();
        sender = qobject_cast<CXWPMsgSender *>(wizard->currentPage());
    }
    void reply(const QString &message) { emit host->reply(QVariantMap(), message); }
    QString error() const { return sender->findChild<QLabel *>("lError")->text(); }
    QString shown() const { return sender->findChild<QTextBrowser *>("tbData")->toPlainText(); }
    QProgressBar *progress() const { return sender->findChild<QProgressBar *>("progressBar"); }

    std::unique_ptr<FakeHost> host;
    std::unique_ptr<CorvexPayWizard> wizard;
    RequestPage *request = nullptr;
    CXWPMsgSender *sender = nullptr;
};

static const QString OK = R"({"uid": 123, "error": false, "params": {"errorCode": 0}})";
static const QString TIMEOUT = "<font color=\"red\"><b>Connection error: </b>timeout</font>";

class TestCXWPMsgSender : public QObject
{
    Q_OBJECT

private slots:
    void sendsRequest();
    void reply_data();
    void reply();
    void rendering_data();
    void rendering();
    void noRequestPending();
    void repliesOfOthers();
    void hostAndWizardGone();
    void insideProgressTick_data();
    void insideProgressTick();
    void secondSenderPage();
};

void TestCXWPMsgSender::sendsRequest()
{
    Exchange ex(8);
    QCOMPARE(ex.host->destinations, QStringList("/app/corvexRequest"));
    const QVariantMap sent
        = {{"currencyId", 643}, {"function", "listtid"}, {"phone", "9001234567"}, {"uid", "123"}};
    QCOMPARE(ex.host->requests, QList<QVariantMap> {sent});
    QCOMPARE(ex.host->requests.last().value("currencyId").userType(), int(QMetaType::Int));
    QCOMPARE(ex.sender->request(), ex.request->m_request);
    QCOMPARE(ex.shown(), QString("Request <1>"));
    QCOMPARE(ex.progress()->maximum(), 60);
    QCOMPARE(ex.sender->findChild<QLabel *>("lError")->font().pointSize(), 13);
    QVERIFY(!ex.wizard->button(QWizard::NextButton)->isEnabled());

    QEvent event(QEvent::LanguageChange);
    ex.sender->setTitle("changed");
    QCoreApplication::sendEvent(ex.sender, &event);
    QCOMPARE(ex.sender->title(), QString("Server exchange"));
}

void TestCXWPMsgSender::reply_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("answered");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("next");
    const auto line = [](const QString &title, const QString &text, const char *color = "red") {
        return QString("<font color=\"%1\"><b>%2: </b>%3</font>").arg(color, title, text);
    };
    const auto with = [](const QString &uid, const QString &rest) {
        return "{\"uid\": " + uid + ", " + rest + "}";
    };
    const QString ok = R"("error": false, "params": {"errorCode": 0})";
    const QString params = R"("error": false, "params": )";
    QTest::newRow("uid number") << 8 << with("123", ok) << true << true << "" << 7;
    QTest::newRow("uid string") << 8 << with("\"123\"", ok) << true << true << "" << 7;
    QTest::newRow("foreign uid") << 8 << with("124", ok) << false << false << "" << 15;
    QTest::newRow("missing uid") << 8 << "{" + ok + "}" << false << false << "" << 15;
    QTest::newRow("uid fraction") << 8 << with("123.5", ok) << false << false << "" << 15;
    QTest::newRow("uid object") << 8 << with("{\"v\": 123}", ok) << false << false << "" << 15;
    QTest::newRow("uid text") << 8 << with("\"123abc\"", ok) << false << false << "" << 15;
    QTest::newRow("not JSON") << 8 << "uid 123" << false << false << "" << 15;
    QTest::newRow("JSON array") << 8 << "[" + OK + "]" << false << false << "" << 15;
    QTest::newRow("result 7") << 8
                              << with("123",
                                     R"("result": 7, "resultDescription": "<b>Closed", )" + ok)
                              << true << false << line("Dalmor error", "&lt;b&gt;Closed") << 7;
    QTest::newRow("result text") << 8 << with("123", R"("result": "7", )" + ok) << true << false
                                 << line("Dalmor error", "") << 7;
    QTest::newRow("result 0") << 8 << with("123", R"("result": 0, )" + ok) << true << true << ""
                              << 7;
    QTest::newRow("result null") << 8 << with("123", R"("result": null, )" + ok) << true << true
                                 << "" << 7;
    QTest::newRow("result word") << 8 << with("123", R"("result": "fail", )" + ok) << true << false
                                 << line("Dalmor error", "") << 7;
    QTest::newRow("error") << 8 << with("123", R"("error": true, "description": "No <i>")") << true
                           << false << line("Corvex error", "No &lt;i&gt;") << 15;
    QTest::newRow("no error key") << 8 << with("123", R"("params": {"errorCode": 0})") << true
                                  << false << "" << 7;
    QTest::newRow("code text") << 8
                               << with("123",
                                      params + R"({"errorCode": "19", "description": "Add"})")
                               << true << true << line("Corvex error", "Add", "blue") << 5;
    QTest::newRow("code garbage") << 8 << with("123", params + R"({"errorCode": "x"})") << true
                                  << false << line("Corvex error", "") << 15;
    QTest::newRow("code huge") << 8 << with("123", params + R"({"errorCode": 4294967315})") << true
                               << false << line("Corvex error", "") << 15;
    QTest::newRow("params array") << 8 << with("123", params + "[1]") << true << false
                                  << line("Corvex error", "Unknown error") << 15;
    QTest::newRow("params error") << 8
                                  << with("123",
                                         params + R"({"result": "ErRoR", "description": "Busy"})")
                                  << true << false << line("Corvex error", "Busy") << 15;
    QTest::newRow("params other") << 8
                                  << with("123",
                                         params + R"({"result": "ok", "description": "Busy"})")
                                  << true << false << line("Corvex error", "Unknown error") << 15;
    QTest::newRow("reg") << 3 << OK << true << true << "" << 5;
    QTest::newRow("reg failed") << 3 << with("123", params + R"({"errorCode": 19})") << true
                                << false << line("Corvex error", "", "blue") << 15;
    // Kind 4 was visited on the way here, so a second page of that kind follows.
    QTest::newRow("check") << 4 << OK << true << true << "" << 20;
    QTest::newRow("check failed") << 4 << with("123", params + R"({"errorCode": 1})") << true
                                  << false << line("Corvex error", "") << 15;
    QTest::newRow("check_params") << 9 << OK << true << true << "" << 6;
    QTest::newRow("other type") << 5 << OK << true << false << "" << 15;
    for (int code : {18, 22, 26, 27, 29})
        QTest::addRow("listtid %d", code)
            << 8 << with("123", params + QString(R"({"errorCode": %1})").arg(code)) << true << true
            << line("Corvex error", "") << 1;
    for (int code : {-1, 1, 20, 28, 30})
        QTest::addRow("listtid %d", code)
            << 8 << with("123", params + QString(R"({"errorCode": %1})").arg(code)) << true << false
            << line("Corvex error", "") << 15;
}

void TestCXWPMsgSender::reply()
{
    QFETCH(int, type);
    QFETCH(QString, message);
    QFETCH(bool, answered);
    QFETCH(bool, complete);
    QFETCH(QString, error);
    QFETCH(int, next);
    Exchange ex(type);
    QSignalSpy completeChanged(ex.sender, SIGNAL(completeChanged()));
    if (message == "uid 123")
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Reply is not JSON: .* uid 123$"));
    ex.progress()->setValue(5);
    ex.reply(message);
    QCOMPARE(!ex.sender->answer().isEmpty(), answered);
    QCOMPARE(ex.sender->isComplete(), complete);
    QCOMPARE(ex.wizard->button(QWizard::NextButton)->isEnabled(), complete);
    QCOMPARE(ex.error(), error);
    QCOMPARE(ex.sender->nextId(), next);
    // Only the accepted reply stops the wait; the request stays for the pages after.
    QCOMPARE(ex.progress()->value(), answered ? 0 : 5);
    QCOMPARE(ex.sender->request(), ex.request->m_request);
    QCOMPARE(completeChanged.isEmpty(), QByteArray(QTest::currentDataTag()) == "no error key");
    // The same reply again leaves the same state.
    ex.reply(message);
    QCOMPARE(ex.sender->isComplete(), complete);
    QCOMPARE(ex.error(), error);
}

void TestCXWPMsgSender::rendering_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("params");
    QTest::addColumn<QString>("shown");
    QTest::newRow("reg") << 3 << "{}"
                         << "Request <1>";
    QTest::newRow("check_params")
        << 9
        << R"({"bank": "<b>Sber", "bik": "***", "destination": "Moscow", "pName1": "", "pName2": "***", "pName3": "Contract"})"
        << "Request <1>\nBank: <b>Sber\nDestination: Moscow\nFill next fields:\n- Contract";
    QTest::newRow("listtid") << 8 << R"({"lastName": "Ivanov", "firstName": "<i>Ivan"})"
                             << "Request <1>\nFull name: Ivanov <i>Ivan ";
    QTest::newRow("description") << 4 << R"({"description": "First <br>\n\nThird"})"
                                 << "Request <1>\nDescription\nFirst <br>\nThird";
}

// Reply texts are shown as text: no markup of theirs reaches the operator's screen.
void TestCXWPMsgSender::rendering()
{
    QFETCH(int, type);
    QFETCH(QString, params);
    QFETCH(QString, shown);
    Exchange ex(type);
    params.insert(1, "\"errorCode\": 0" + QString(params == "{}" ? "" : ", "));
    ex.reply(R"({"uid": 123, "error": false, "params": )" + params + "}");
    QCOMPARE(ex.shown(), shown);
    QCOMPARE(ex.error(), QString());
}

// A page that never sent, or whose wait timed out, has nothing pending: no reply is its own,
// not even one without a uid.
void TestCXWPMsgSender::noRequestPending()
{
    Exchange ex(8);
    for (int step = 0; step < 61; ++step)
        ex.sender->setProgress();
    QCOMPARE(ex.progress()->value(), 60);
    ex.sender->initProgress(1);
    QTRY_COMPARE_WITH_TIMEOUT(ex.error(), TIMEOUT, 5000);
    QCOMPARE(ex.sender->request(), CorvexRequest());
    auto *idle = qobject_cast<CXWPMsgSender *>(
        ex.wizard->page(ex.wizard->checkAndAddPage(CorvexPayWizard::PageMsgSender)));
    ex.reply(OK);
    ex.reply(R"({"error": false, "params": {"errorCode": 0}})");
    QVERIFY(ex.sender->answer().isEmpty() && idle->answer().isEmpty());
    QVERIFY(!ex.sender->isComplete());

    // A time-out after the answer changes nothing.
    Exchange answered(8);
    answered.reply(OK);
    answered.sender->timeout();
    QCOMPARE(answered.error(), QString());
    QVERIFY(answered.sender->isComplete());
}

// Every wizard hears every reply and takes only its own, whatever its size.
void TestCXWPMsgSender::repliesOfOthers()
{
    Exchange first(8, 123);
    Exchange second(9, 456);
    second.wizard->setMessageReciever(first.host.get(), FakeHost::signal());
    QLoggingCategory::setFilterRules("corvex.exchange.debug=false");
    const QString padding = QString(",\"padding\": \"%1\"}").arg(QString(10 << 20, 'x'));
    first.reply(QString(OK).replace("123", "456").replace("}}", "}" + padding));
    QLoggingCategory::setFilterRules(QString());
    QVERIFY(first.sender->answer().isEmpty());
    QCOMPARE(second.sender->answer().value("padding").toString().size(), 10 << 20);
    QCOMPARE(second.sender->nextId(), 6);
    first.reply(OK);
    QVERIFY(first.sender->isComplete());
    QCOMPARE(second.sender->answer().value("uid"), QVariant(456));
}

void TestCXWPMsgSender::hostAndWizardGone()
{
    Exchange ex(8);
    ex.host.reset();
    ex.wizard->back();
    ex.wizard->next();
    ex.sender->timeout();
    QCOMPARE(ex.error(), TIMEOUT);

    Exchange deleted(8);
    deleted.wizard.reset();
    deleted.reply(OK);
    QCOMPARE(deleted.host->requests.count(), 1);
}

void TestCXWPMsgSender::insideProgressTick_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("current");
    QTest::newRow("reply") << "reply" << 14;
    QTest::newRow("time-out") << "timeout" << 14;
    QTest::newRow("back") << "back" << 4;
    QTest::newRow("cancel") << "cancel" << -1;
    QTest::newRow("wizard deleted") << "delete" << -1;
}

// The progress tick lets events through; whatever they do, the page stays consistent and
// nothing touches a deleted object.
void TestCXWPMsgSender::insideProgressTick()
{
    QFETCH(QString, action);
    QFETCH(int, current);
    Exchange ex(8);
    QPointer<CXWPMsgSender> sender = ex.sender;
    const QMap<QString, std::function<void()>> actions = {{"reply", [&] { ex.reply(OK); }},
        {"timeout", [&] { ex.sender->timeout(); }}, {"back", [&] { ex.wizard->back(); }},
        {"cancel", [&] { ex.wizard->reject(); }}, {"delete", [&] { ex.wizard.reset(); }}};
    QTimer::singleShot(0, this, actions.value(action));
    sender->setProgress();
    QCOMPARE(sender.isNull(), action == "delete");
    if (sender.isNull())
        return;
    QCOMPARE(sender->isComplete(), action == "reply");
    QCOMPARE(ex.error() == TIMEOUT, action == "timeout");
    QCOMPARE(ex.wizard->currentId(), current);
}

// A kind entered again gets a sender page of its own, which sends its own request and takes
// only its own reply: 0 -> 4 -> 14 -> 5 -> 30. This host answers from inside the request.
void TestCXWPMsgSender::secondSenderPage()
{
    Exchange ex(8);
    ex.wizard->removePage(5);
    ex.wizard->setPage(5, new RequestPage(ex.wizard.get(), 9, 456));
    ex.reply(R"({"uid": 123, "error": false, "params": {"errorCode": 19}})");
    ex.wizard->next();
    connect(ex.wizard.get(), &CorvexPayWizard::sendMessage, ex.host.get(),
        [&ex] { ex.reply(QString(OK).replace("123", "456")); });
    ex.wizard->next();
    QCOMPARE(ex.wizard->currentId(), 30);
    auto *second = qobject_cast<CXWPMsgSender *>(ex.wizard->currentPage());
    QCOMPARE(ex.host->requests.last().value("uid"), QVariant("456"));
    QVERIFY(second->isComplete());
    QVERIFY(ex.wizard->button(QWizard::NextButton)->isEnabled());
    QCOMPARE(second->nextId(), 6);
    QCOMPARE(ex.sender->answer().value("uid"), QVariant(123));
}

QTEST_MAIN(TestCXWPMsgSender)
#include "tst_cxwpmsgsender.moc"
