#include "corvexpaywizard.h"
#include "cxwpmsgsender.h"
#include "fakehost.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QTextBrowser>
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
        // The sender page goes by the type; the function name only travels to the host.
        m_request.setType(CorvexRequest::ERequestType(type));
        m_request.setFunction("listtid");
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

// A wizard connected to a fake host and walked from a request page at 4 to the sender page at
// 14, which sends the request. Replies are written with single quotes for brevity.
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
        wizard->setStartId(4);
        wizard->show();
        wizard->next();
        sender = qobject_cast<CXWPMsgSender *>(wizard->currentPage());
    }
    void reply(QString message) { emit host->reply({}, message.replace('\'', '"')); }
    QString error() const { return sender->findChild<QLabel *>("lError")->text(); }
    QString shown() const { return sender->findChild<QTextBrowser *>("tbData")->toPlainText(); }
    QProgressBar *progress() const { return sender->findChild<QProgressBar *>("progressBar"); }

    std::unique_ptr<FakeHost> host;
    std::unique_ptr<CorvexPayWizard> wizard;
    RequestPage *request = nullptr;
    CXWPMsgSender *sender = nullptr;
};

static const QString OK = "{'uid': 123, 'error': false, 'params': {'errorCode': 0}}";
static const QString TIMEOUT = "<font color=\"red\"><b>Connection error: </b>timeout</font>";

class TestCXWPMsgSender : public QObject
{
    Q_OBJECT

private slots:
    void requests();
    void reply_data();
    void reply();
    void rendering_data();
    void rendering();
    void hostileReply_data();
    void hostileReply();
    void noRequestPending();
    void repliesOfOthers();
    void insideProgressTick_data();
    void insideProgressTick();
};

// The first request goes out as the host expects it. A kind entered again gets a sender page
// of its own, which sends its own request and takes only its own reply: 4 -> 14 -> 5 -> 30.
void TestCXWPMsgSender::requests()
{
    Exchange ex(8);
    QCOMPARE(ex.host->destinations, QStringList("/app/corvexRequest"));
    const QVariantMap sent
        = {{"currencyId", 643}, {"function", "listtid"}, {"phone", "9001234567"}, {"uid", "123"}};
    QCOMPARE(ex.host->requests, QList<QVariantMap> {sent});
    QCOMPARE(ex.host->requests.last().value("currencyId").userType(), int(QMetaType::Int));
    QCOMPARE(ex.shown(), QString("Request <1>"));
    QCOMPARE(ex.sender->findChild<QLabel *>("lError")->font().pointSize(), 13);

    ex.wizard->removePage(5);
    ex.wizard->setPage(5, new RequestPage(ex.wizard.get(), 9, 456));
    ex.reply("{'uid': 123, 'error': false, 'params': {'errorCode': 19}}");
    ex.wizard->next();
    // This host answers from inside the request.
    connect(ex.wizard.get(), &CorvexPayWizard::sendMessage, ex.host.get(),
        [&ex] { ex.reply(QString(OK).replace("123", "456")); });
    ex.wizard->next();
    QCOMPARE(ex.wizard->currentId(), 30);
    auto *second = qobject_cast<CXWPMsgSender *>(ex.wizard->currentPage());
    QCOMPARE(ex.host->requests.last().value("uid"), QVariant("456"));
    QVERIFY(second->isComplete());
    QCOMPARE(second->nextId(), 6);
    QCOMPARE(ex.sender->answer().value("uid"), QVariant(123));

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
    const auto row = [](const QByteArray &name, int type, const QString &message, bool complete,
                         const QString &error, int next) {
        QTest::newRow(name.constData()) << type << message << true << complete << error << next;
    };
    // Not this page's reply: nothing changes and the wait goes on.
    const auto ignored = [](const char *name, const QString &message) {
        QTest::newRow(name) << 8 << message << false << false << QString() << 15;
    };
    const auto line = [](const char *title, const QString &text, const char *color = "red") {
        return QString("<font color=\"%1\"><b>%2: </b>%3</font>").arg(color, title, text);
    };
    const auto dalmor = [&line](const QString &text) { return line("Dalmor error", text); };
    const auto corvex = [&line](const QString &text, const char *color = "red") {
        return line("Corvex error", text, color);
    };
    // OK with another uid, with more keys, or with other params.
    const auto uid = [](const char *uid) { return QString(OK).replace("'uid': 123", uid); };
    const auto with = [](const QString &keys) { return QString(OK).insert(1, keys + ", "); };
    const auto params
        = [](const QString &params) { return QString(OK).replace("{'errorCode': 0}", params); };
    const auto errorCode
        = [&params](int code) { return params(QString("{'errorCode': %1}").arg(code)); };
    row("uid number", 8, OK, true, "", 7);
    row("uid string", 8, uid("'uid': '123'"), true, "", 7);
    ignored("foreign uid", uid("'uid': 124"));
    ignored("missing uid", uid("'id': 123"));
    ignored("uid text", uid("'uid': '123abc'"));
    ignored("not JSON", "uid 123");
    ignored("JSON array", "[" + OK + "]");
    row("result 7", 8, with("'result': 7, 'resultDescription': '<b>Closed'"), false,
        dalmor("&lt;b&gt;Closed"), 7);
    row("result 0", 8, with("'result': 0"), true, "", 7);
    row("result null", 8, with("'result': null"), true, "", 7);
    row("error", 8, "{'uid': 123, 'error': true, 'description': 'No <i>'}", false,
        corvex("No &lt;i&gt;"), 15);
    row("no error key", 8, "{'uid': 123, 'params': {'errorCode': 0}}", false, "", 7);
    row("code text", 8, params("{'errorCode': '19', 'description': 'Add'}"), true,
        corvex("Add", "blue"), 5);
    row("code garbage", 8, params("{'errorCode': 'x'}"), false, corvex(""), 15);
    row("params array", 8, params("[1]"), false, corvex("Unknown error"), 15);
    row("params error", 8, params("{'result': 'ErRoR', 'description': 'Busy'}"), false,
        corvex("Busy"), 15);
    row("params other", 8, params("{'result': 'ok', 'description': 'Busy'}"), false,
        corvex("Unknown error"), 15);
    row("reg", 3, OK, true, "", 5);
    row("reg failed", 3, errorCode(19), false, corvex("", "blue"), 15);
    // Kind 4 was visited on the way here, so a second page of that kind follows.
    row("check", 4, OK, true, "", 20);
    row("check failed", 4, errorCode(1), false, corvex(""), 15);
    row("check_params", 9, OK, true, "", 6);
    row("check_params failed", 9, errorCode(2), false, corvex(""), 15);
    row("other type", 5, OK, false, "", 15);
    for (int code : {18, 22, 26, 27, 29})
        row("listtid " + QByteArray::number(code), 8, errorCode(code), true, corvex(""), 1);
    for (int code : {-1, 1, 20, 28, 30})
        row("listtid " + QByteArray::number(code), 8, errorCode(code), false, corvex(""), 15);
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
    // Keys of "params" next to an "errorCode" of 0.
    QTest::addColumn<QString>("params");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("shown");
    QTest::newRow("check_params")
        << ", 'bank': '<b>Sber', 'bik': '***', 'destination': 'Moscow', 'pName1': '', "
           "'pName2': '***', 'pName3': 'Contract'"
        << 9 << "Request <1>\nBank: <b>Sber\nDestination: Moscow\nFill next fields:\n- Contract";
    QTest::newRow("listtid") << ", 'lastName': 'Ivanov', 'firstName': '<i>Ivan'" << 8
                             << "Request <1>\nFull name: Ivanov <i>Ivan ";
    QTest::newRow("description") << ", 'description': 'First <br>\\n\\nThird'" << 4
                                 << "Request <1>\nDescription\nFirst <br>\nThird";
}

// Reply texts are shown as text: no markup of theirs reaches the operator's screen.
void TestCXWPMsgSender::rendering()
{
    QFETCH(QString, params);
    QFETCH(int, type);
    QFETCH(QString, shown);
    Exchange ex(type);
    ex.reply(QString(OK).replace("0}", "0" + params + "}"));
    QCOMPARE(ex.shown(), shown);
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
    ex.reply("{'error': false, 'params': {'errorCode': 0}}");
    QVERIFY(ex.sender->answer().isEmpty() && idle->answer().isEmpty());
    QVERIFY(!ex.sender->isComplete());
}

// Every wizard hears every reply and takes only its own, whatever its size.
void TestCXWPMsgSender::repliesOfOthers()
{
    Exchange first(8, 123);
    Exchange second(9, 456);
    second.wizard->setMessageReciever(first.host.get(), FakeHost::signal());
    QLoggingCategory::setFilterRules("corvex.exchange.debug=false");
    const QString padding = QString(", 'padding': '%1'}").arg(QString(10 << 20, 'x'));
    first.reply(QString(OK).replace("123", "456").replace("}}", "}" + padding));
    QLoggingCategory::setFilterRules(QString());
    QVERIFY(first.sender->answer().isEmpty());
    QCOMPARE(second.sender->answer().value("padding").toString().size(), 10 << 20);
    QCOMPARE(second.sender->nextId(), 6);
    first.reply(OK);
    QVERIFY(first.sender->isComplete());
    QCOMPARE(second.sender->answer().value("uid"), QVariant(456));
}

void TestCXWPMsgSender::insideProgressTick_data()
{
    QTest::addColumn<int>("current");
    QTest::newRow("reply") << 14;
    QTest::newRow("timeout") << 14;
    QTest::newRow("back") << 4;
    QTest::newRow("cancel") << -1;
    QTest::newRow("host gone") << 14;
    QTest::newRow("wizard gone") << -1;
}

// The progress tick lets events through; whatever they do, the page stays consistent and
// nothing touches a deleted object. A time-out after the answer changes nothing.
void TestCXWPMsgSender::insideProgressTick()
{
    QFETCH(int, current);
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
    if (sender.isNull()) {
        ex.reply(OK); // the host goes on replying after the wizard is gone
        return;
    }
    QCOMPARE(sender->isComplete(), action == "reply");
    QCOMPARE(ex.error() == TIMEOUT, action == "timeout");
    QCOMPARE(ex.wizard->currentId(), current);
    sender->timeout();
    QCOMPARE(sender->isComplete(), action == "reply");
    QCOMPARE(ex.error() == TIMEOUT, action != "reply");
}

// A reply of any size is shown within moments, cut to what an operator can read.
void TestCXWPMsgSender::hostileReply_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("note");
    QStringList lines;
    for (int i = 0; i < 100000; ++i)
        lines << QString("line %1").arg(i);
    const QString many = lines.join("\\n");
    QTest::newRow("100000 lines") << "{'uid': 123, 'error': false, 'params': {'errorCode': 0, "
                                     "'description': '"
            + many + "'}}"
                                  << "line 199"
                                  << "more characters of the description";
    QTest::newRow("one long line")
        << "{'uid': 123, 'error': false, 'params': {'errorCode': 0, 'description': '"
            + QString(300000, 'x') + "'}}"
        << QString(20000, 'x') << "280000 more characters";
    QTest::newRow("long error") << "{'uid': 123, 'result': 1, 'resultDescription': '"
            + QString(300000, 'y')
            + "'}" << QString() << QString(1000, 'y') + QChar(0x2026);
}

void TestCXWPMsgSender::hostileReply()
{
    QFETCH(QString, message);
    QFETCH(QString, last);
    QFETCH(QString, note);
    Exchange ex(8);
    QElapsedTimer timer;
    timer.start();
    ex.reply(message);
    QCoreApplication::processEvents();
    QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
    const QString shown = ex.shown() + ex.error();
    QVERIFY(shown.size() < 25000);
    QVERIFY(shown.contains(last));
    QVERIFY(!shown.contains(last == "line 199" ? "line 200" : "xxx" + last));
    QVERIFY(shown.contains(note));
}

QTEST_MAIN(TestCXWPMsgSender)
#include "tst_cxwpmsgsender.moc"
