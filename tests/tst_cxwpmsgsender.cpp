#include "corvexpaywizard.h"
#include "cxwpmsgsender.h"
#include "fakehost.h"
#include "testutil.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QTextBrowser>
#include <QtTest>

#include <functional>
#include <memory>

// A data page that describes a fixed request, standing in for the real pages. The sender page
// goes by the type; the function name only travels to the host.
class RequestPage : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    RequestPage(QWizard *wizard, int type, qint64 uid)
        : QWizardPage(wizard)
    {
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
    // The first request goes out as the host expects it. A kind entered again gets a sender
    // page of its own, which sends its own request and takes only its own reply:
    // 4 -> 14 -> 5 -> 30.
    void requests()
    {
        Exchange ex(8);
        QCOMPARE(ex.host->destinations, QStringList("/app/corvexRequest"));
        QCOMPARE(toJson(ex.host->requests.last()),
            QString("{\"currencyId\":643,\"function\":\"listtid\",\"phone\":\"9001234567\",\"uid\":"
                    "\"123\"}"));
        QCOMPARE(ex.host->requests.last().value("currencyId").userType(), int(QMetaType::Int));

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
    }

    // A reply that is not taken ("answered" false) changes nothing and the wait goes on.
    void reply_data()
    {
        const auto line = [](const char *title, const QString &text, const char *color = "red") {
            return QString("<font color=\"%1\"><b>%2: </b>%3</font>").arg(color, title, text);
        };
        const QString corvex = line("Corvex error", "");
        const QString unknown = line("Corvex error", "Unknown error");
        // OK with another uid, with more keys, or with other params.
        const auto uid = [](const char *uid) { return QString(OK).replace("'uid': 123", uid); };
        const auto with = [](const QString &keys) { return QString(OK).insert(1, keys + ", "); };
        const auto params
            = [](const char *params) { return QString(OK).replace("{'errorCode': 0}", params); };
        const auto code
            = [](int code) { return QString(OK).replace("0}", QString("%1}").arg(code)); };
        addRows<int, QString, bool, bool, QString, int>(
            {"type", "message", "answered", "complete", "error", "next"},
            {{"uid number", 8, OK, true, true, "", 7},
                {"uid string", 8, uid("'uid': '123'"), true, true, "", 7},
                {"foreign uid", 8, uid("'uid': 124"), false, false, "", 15},
                {"missing uid", 8, uid("'id': 123"), false, false, "", 15},
                {"uid text", 8, uid("'uid': '123abc'"), false, false, "", 15},
                {"not JSON", 8, "uid 123", false, false, "", 15},
                {"JSON array", 8, "[" + OK + "]", false, false, "", 15},
                {"result 7", 8, with("'result': 7, 'resultDescription': '<b>Closed'"), true, false,
                    line("Dalmor error", "&lt;b&gt;Closed"), 7},
                {"result 0", 8, with("'result': 0"), true, true, "", 7},
                {"result null", 8, with("'result': null"), true, true, "", 7},
                {"error", 8, "{'uid': 123, 'error': true, 'description': 'No <i>'}", true, false,
                    line("Corvex error", "No &lt;i&gt;"), 15},
                {"no error key", 8, "{'uid': 123, 'params': {'errorCode': 0}}", true, false, "", 7},
                {"code text", 8, params("{'errorCode': '19', 'description': 'Add'}"), true, true,
                    line("Corvex error", "Add", "blue"), 5},
                {"code garbage", 8, params("{'errorCode': 'x'}"), true, false, corvex, 15},
                {"params array", 8, params("[1]"), true, false, unknown, 15},
                {"params error", 8, params("{'result': 'ErRoR', 'description': 'Busy'}"), true,
                    false, line("Corvex error", "Busy"), 15},
                {"params other", 8, params("{'result': 'ok', 'description': 'Busy'}"), true, false,
                    unknown, 15},
                {"reg", 3, OK, true, true, "", 5},
                {"reg failed", 3, code(19), true, false, line("Corvex error", "", "blue"), 15},
                // Kind 4 was visited on the way here, so a second page of that kind follows.
                {"check", 4, OK, true, true, "", 20},
                {"check failed", 4, code(1), true, false, corvex, 15},
                {"check_params", 9, OK, true, true, "", 6},
                {"check_params failed", 9, code(2), true, false, corvex, 15},
                {"other type", 5, OK, true, false, "", 15}});
        for (int c : {18, 22, 26, 27, 29})
            QTest::newRow(qPrintable(QString("listtid %1").arg(c)))
                << 8 << code(c) << true << true << corvex << 1;
        for (int c : {-1, 1, 20, 28, 30})
            QTest::newRow(qPrintable(QString("listtid %1").arg(c)))
                << 8 << code(c) << true << false << corvex << 15;
    }
    void reply()
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
            QTest::ignoreMessage(
                QtWarningMsg, QRegularExpression("^Reply is not JSON: .* uid 123$"));
        ex.progress()->setValue(5);
        ex.reply(message);
        QCOMPARE(!ex.sender->answer().isEmpty(), answered);
        QCOMPARE(ex.sender->isComplete(), complete);
        QCOMPARE(ex.error(), error);
        QCOMPARE(ex.sender->nextId(), next);
        // Only the accepted reply stops the wait; the request stays for the pages after.
        QCOMPARE(ex.progress()->value(), answered ? 0 : 5);
        QCOMPARE(ex.sender->request(), ex.request->m_request);
        QCOMPARE(completeChanged.isEmpty(), QByteArray(QTest::currentDataTag()) == "no error key");
    }

    // Keys of "params" next to an "errorCode" of 0, shown as text: no markup of theirs reaches
    // the operator's screen.
    void rendering_data()
    {
        addRows<QString, int, QString>({"params", "type", "shown"},
            {{"check_params",
                 ", 'bank': '<b>Sber', 'bik': '***', 'destination': 'Moscow', 'pName1': '', "
                 "'pName2': '***', 'pName3': 'Contract'",
                 9,
                 "Request <1>\nBank: <b>Sber\nDestination: Moscow\nFill next fields:\n- Contract"},
                {"listtid", ", 'lastName': 'Ivanov', 'firstName': '<i>Ivan'", 8,
                    "Request <1>\nFull name: Ivanov <i>Ivan "},
                {"description", ", 'description': 'First <br>\\n\\nThird'", 4,
                    "Request <1>\nDescription\nFirst <br>\nThird"}});
    }
    void rendering()
    {
        QFETCH(QString, params);
        QFETCH(int, type);
        QFETCH(QString, shown);
        Exchange ex(type);
        ex.reply(QString(OK).replace("0}", "0" + params + "}"));
        QCOMPARE(ex.shown(), shown);
    }

    // A page whose wait timed out, or that never sent, has nothing pending: no reply is its
    // own, not even one without a uid.
    void noRequestPending()
    {
        Exchange ex(8);
        ex.sender->initProgress(1);
        QTRY_COMPARE_WITH_TIMEOUT(ex.error(), TIMEOUT, 5000);
        auto *idle = qobject_cast<CXWPMsgSender *>(
            ex.wizard->page(ex.wizard->checkAndAddPage(CorvexPayWizard::PageMsgSender)));
        ex.reply(OK);
        ex.reply("{'error': false, 'params': {'errorCode': 0}}");
        QVERIFY(ex.sender->answer().isEmpty());
        QVERIFY(idle->answer().isEmpty());
        QVERIFY(!ex.sender->isComplete());
    }

    // Every wizard hears every reply and takes only its own, whatever its size.
    void repliesOfOthers()
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
        first.reply(OK);
        QVERIFY(first.sender->isComplete());
        QCOMPARE(second.sender->answer().value("uid"), QVariant(456));
    }

    void insideProgressTick_data()
    {
        addRows<int>({"current"},
            {{"reply", 14}, {"timeout", 14}, {"back", 4}, {"cancel", -1}, {"host gone", 14},
                {"wizard gone", -1}});
    }
    // The progress tick lets events through; whatever they do, the page stays consistent and
    // nothing touches a deleted object. A time-out after the answer changes nothing.
    void insideProgressTick()
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
    void hostileReply_data()
    {
        QStringList lines;
        for (int i = 0; i < 100000; ++i)
            lines << QString("line %1").arg(i);
        const QString reply = "{'uid': 123, 'error': false, 'params': {'errorCode': 0, "
                              "'description': '%1'}}";
        addRows<QString, QString, QString, QString>({"message", "last", "beyond", "note"},
            {{"100000 lines", reply.arg(lines.join("\\n")), "line 199", "line 200",
                 "more characters of the description"},
                {"one long line", reply.arg(QString(300000, 'x')), QString(20000, 'x'),
                    QString(20001, 'x'), "280000 more characters"},
                {"long error",
                    "{'uid': 123, 'result': 1, 'resultDescription': '" + QString(300000, 'y')
                        + "'}",
                    "", QString(1001, 'y'), QString(1000, 'y') + QChar(0x2026)}});
    }
    void hostileReply()
    {
        QFETCH(QString, message);
        QFETCH(QString, last);
        QFETCH(QString, beyond);
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
        QVERIFY(!shown.contains(beyond));
        QVERIFY(shown.contains(note));
    }
};

QTEST_MAIN(TestCXWPMsgSender)
#include "tst_cxwpmsgsender.moc"
