#include "corvexpaywizard.h"
#include "corvexprotocol.h"
#include "cxwpmsgsender.h"
#include "fakehost.h"
#include "testutil.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBrowser>

#include <functional>
#include <memory>

// Stands in for the data pages: a fixed request of the given type. The sender page goes by the
// type; the function name only travels to the host.
class RequestPage : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    RequestPage(QWizard *wizard, int type, qint64 uid)
        : QWizardPage(wizard)
    {
        request.setType(CorvexRequest::ERequestType(type));
        request.setFunction("listtid");
        request.setUid(uid);
        request.setCurrencyId(643);
        request.setData({{"phone", "9001234567"}});
    }
    int nextId() const override
    {
        return CorvexPayWizard::pageIdFor(wizard(), CorvexPayWizard::PageMsgSender);
    }
    QString preview() const override { return "<p>Request &lt;1&gt;</p>"; }
    CorvexRequest outputData() const override { return request; }

    CorvexRequest request;
};

// A wizard on a fake host walked from a request page at 4 to the sender page at 14, which sends
// the request. Replies are written with single quotes for brevity.
struct Exchange
{
    explicit Exchange(int type)
        : host(new FakeHost)
        , wizard(new CorvexPayWizard(QFont("Sans", 13), Currency(), FixNumber()))
    {
        wizard->setMessageSender(host.get(), FakeHost::method());
        wizard->setMessageReciever(host.get(), FakeHost::signal());
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
    // The request goes out as the host expects it. A kind entered again gets a sender page of
    // its own, which takes only its own reply, even one the host sends from inside the request:
    // 4 -> 14 -> 5 -> 30.
    void requests()
    {
        Exchange ex(8);
        QCOMPARE(ex.host->destinations, QStringList("/app/corvexRequest"));
        QCOMPARE(toJson(ex.host->requests.last()),
            R"({"currencyId":643,"function":"listtid","phone":"9001234567","uid":"123"})");
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
        const QString unknown = line("Corvex error", "Unknown error");
        // OK with other keys first, or with other params.
        const auto with = [](const QString &keys) { return QString(OK).insert(1, keys + ", "); };
        const auto params
            = [](const QString &params) { return QString(OK).replace("{'errorCode': 0}", params); };
        const auto code
            = [&params](int code) { return params(QString("{'errorCode': %1}").arg(code)); };
        const QString bank
            = params("{'errorCode': 0, 'bank': '<b>Sber', 'bik': '***', 'destination': "
                     "'Moscow', 'pName1': '', 'pName2': '***', 'pName3': 'Contract'}");
        addRows<int, QString, bool, bool, QString, int, QString>(
            {"type", "message", "answered", "complete", "error", "next", "shown"},
            {
                {"uid number", 8,
                    params("{'errorCode': 0, 'lastName': 'Ivanov', 'firstName': '<i>Ivan'}"), true,
                    true, "", 7, "Request <1>\nFull name: Ivanov <i>Ivan "},
                {"uid string", 8, QString(OK).replace("123", "'123'"), true, true, "", 7, ""},
                {"foreign uid", 8, QString(OK).replace("123", "124"), false, false, "", 15, ""},
                {"not JSON", 8, "uid 123", false, false, "", 15, ""},
                {"result 7", 8, with("'result': 7, 'resultDescription': '<b>Closed'"), true, false,
                    line("Dalmor error", "&lt;b&gt;Closed"), 7, ""},
                {"error", 8, "{'uid': 123, 'error': true, 'description': 'No <i>'}", true, false,
                    line("Corvex error", "No &lt;i&gt;"), 15, ""},
                {"code text", 8, params("{'errorCode': '19', 'description': 'Add'}"), true, true,
                    line("Corvex error", "Add", "blue"), 5, ""},
                {"code garbage", 8, params("{'errorCode': 'x'}"), true, false, corvex, 15, ""},
                {"code false", 8, params("{'errorCode': false}"), true, false, corvex, 15, ""},
                // Whatever follows a NUL is shown too.
                {"NUL in a name", 8, params("{'errorCode': 0, 'lastName': 'Iva\\u0000nov'}"), true,
                    true, "", 7, QString("Request <1>\nFull name: Iva%1nov ").arg(QChar(0xFFFD))},
                {"params error", 8, params("{'result': 'ErRoR', 'description': 'Busy'}"), true,
                    false, line("Corvex error", "Busy"), 15, ""},
                {"params other", 8, params("{'result': 'ok', 'description': 'Busy'}"), true, false,
                    unknown, 15, ""},
                {"listtid 26", 8, code(26), true, true, corvex, 1, ""},
                {"listtid 28", 8, code(28), true, false, corvex, 15, ""},
                {"reg", 3, OK, true, true, "", 5, ""},
                {"reg failed", 3, code(19), true, false, line("Corvex error", "", "blue"), 15, ""},
                // Kind 4 was visited on the way here, so a second page of that kind follows.
                {"check", 4, params("{'errorCode': 0, 'description': 'First <br>\\n\\nThird'}"),
                    true, true, "", 20, "Request <1>\nDescription\nFirst <br>\nThird"},
                {"check failed", 4, code(1), true, false, corvex, 15, ""},
                {"check_params", 9, bank, true, true, "", 6,
                    "Request <1>\nBank: <b>Sber\nDestination: Moscow\nFill next fields:\n- "
                    "Contract"},
                {"check_params failed", 9, code(2), true, false, corvex, 15, ""},
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
        // Only the accepted reply stops the wait; the request stays for the pages after.
        QCOMPARE(progress->value(), answered ? 0 : 5);
        QCOMPARE(ex.sender->request(), ex.request->request);
        QVERIFY(!completeChanged.isEmpty());
    }

    void insideProgressTick_data()
    {
        addRows<int>({"current"},
            {{"reply", 14}, {"timeout", 14}, {"back", 4}, {"cancel", -1}, {"host gone", 14},
                {"wizard gone", -1}});
    }
    // The progress tick lets events through; whatever they do, the page stays consistent and
    // nothing touches a deleted object. A time-out after the answer changes nothing; a page
    // that timed out has nothing pending: no reply is its own, not even one without a uid.
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

    // While the page waits, a tick repaints the progress bar and nothing behind it.
    void waitingTickPaintsTheBar()
    {
        PaintSpy spy;
        CXWPMsgSender page(nullptr);
        page.resize(600, 400);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.initProgress(60);
        QCoreApplication::processEvents();
        qApp->installEventFilter(&spy);
        page.setProgress();
        QCoreApplication::processEvents();
        qApp->removeEventFilter(&spy);
        QCOMPARE(page.findChild<QProgressBar *>("progressBar")->value(), 1);
        QCOMPARE(spy.painted, QList<QObject *>({page.findChild<QProgressBar *>("progressBar")}));
        page.releaseProgress();
    }

    // A reply of any size is shown within moments, cut to what an operator can read: so many
    // of the repeated text and a note of the rest.
    void hostileReply_data()
    {
        const QString reply = "{'uid': 123, 'error': false, 'params': {'errorCode': 0, "
                              "'description': '%1'}}";
        const QString names = "{'uid': 123, 'error': false, 'params': {'errorCode': 0, "
                              "'lastName': '%1', 'bank': '%1'}}";
        const QString huge = QString(OK).append(QString(CorvexReply::MAX_TEXT_CHARS, ' '));
        addRows<int, QString, QString, int, QString>({"type", "message", "text", "shown", "note"},
            {{"100000 lines", 8, reply.arg(QString("ab\\n").repeated(100000)), "ab", 200,
                 "299400 more characters not shown"},
                {"one long line", 8, reply.arg(QString(300000, 'x')), "x", 20000,
                    "280000 more characters not shown"},
                {"long error", 8,
                    QString("{'uid': 123, 'result': 1, 'resultDescription': '%1'}")
                        .arg(QString(300000, 'y')),
                    "y", 1000, QChar(0x2026) + QString(" (299000 more characters not shown)")},
                {"long name", 8, names.arg(QString(1000000, 'z')), "z", 500,
                    "999500 more characters not shown"},
                {"long bank", 9, names.arg(QString(1000000, 'z')), "z", 500,
                    "999500 more characters not shown"},
                {"too large to read", 8, huge, "uid", 0,
                    QString("Connection error: </b>a reply of %1 characters is too large")
                        .arg(huge.size())}});
    }
    void hostileReply()
    {
        QFETCH(int, type);
        QFETCH(QString, message);
        QFETCH(QString, text);
        Exchange ex(type);
        const bool unread = message.size() > CorvexReply::MAX_TEXT_CHARS;
        if (unread)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Reply too large to read"));
        QElapsedTimer timer;
        timer.start();
        ex.reply(message);
        QCoreApplication::processEvents();
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        const QString shown = ex.shown() + ex.error();
        QTEST(int(shown.count(text)), "shown");
        QFETCH(QString, note);
        QVERIFY2(shown.contains(note), qPrintable(shown.right(100)));
        // Unread, the reply leaves the page waiting for its own.
        QCOMPARE(ex.sender->answer().isEmpty(), unread);
    }

    // A connection error, a time-out or a reply that cannot be read offers Retry, which sends the
    // same request once under a fresh uid however often it is pressed; a late reply to the old
    // uid is ignored, the reply to the new one is taken. A reply with the wrong uid, or one of the
    // service, offers nothing.
    void retry_data()
    {
        const auto line = [](const char *text) {
            return QString("<font color=\"red\"><b>Connection error: </b>%1</font>").arg(text);
        };
        addRows<QString, QString, bool>({"failure", "error", "offered"},
            {{"time-out", "timeout", TIMEOUT, true},
                {"undelivered", "{'uid': '123', 'undelivered': true, 'description': 'refused'}",
                    line("the request could not be delivered"), true},
                {"no error key", "{'uid': 123, 'params': {'errorCode': 0}}",
                    line("the reply cannot be read"), true},
                {"undelivered, other uid", "{'uid': 124, 'undelivered': true}", "", false},
                {"service refusal", "{'uid': 123, 'error': true, 'description': 'No'}",
                    "<font color=\"red\"><b>Corvex error: </b>No</font>", false}});
    }
    void retry()
    {
        QFETCH(QString, failure);
        QFETCH(bool, offered);
        Exchange ex(8);
        auto *retry = ex.sender->findChild<QPushButton *>("pbRetry");
        QVERIFY(retry->isHidden());
        if (failure == "timeout")
            ex.sender->timeout();
        else
            ex.reply(failure);
        QTEST(ex.error(), "error");
        QCOMPARE(retry->isVisible(), offered);
        QCOMPARE(ex.wizard->focusWidget() == retry, offered);
        QVERIFY(!ex.sender->isComplete());
        QTest::keyClick(retry, Qt::Key_Space);
        QTest::keyClick(retry, Qt::Key_Space);
        QCOMPARE(ex.host->requests.size(), offered ? 2 : 1);
        if (!offered)
            return;
        QVariantMap first = ex.host->requests.first();
        QVariantMap again = ex.host->requests.last();
        const QString uid = again.take("uid").toString();
        QVERIFY(uid != first.take("uid").toString());
        QCOMPARE(again, first);
        QVERIFY(retry->isHidden());
        QCOMPARE(ex.error(), QString());
        ex.reply(OK);
        QVERIFY(ex.sender->answer().isEmpty());
        ex.reply(QString(OK).replace("123", "'" + uid + "'"));
        QVERIFY(ex.sender->isComplete());
        QCOMPARE(ex.sender->request().uid(), uid.toLongLong());
    }

    // Esc while a request is in flight, or while Retry is offered: the page stops waiting,
    // ignores the reply that comes later, and offers and sends nothing more.
    void escape_data()
    {
        addRows<bool>({"timedOut"}, {{"in flight", false}, {"retry offered", true}});
    }
    void escape()
    {
        QFETCH(bool, timedOut);
        Exchange ex(8);
        if (timedOut)
            ex.sender->timeout();
        QTest::keyClick(ex.wizard.get(), Qt::Key_Escape);
        QVERIFY(!ex.wizard->isVisible());
        for (QTimer *timer : ex.sender->findChildren<QTimer *>())
            QVERIFY(!timer->isActive());
        ex.reply(OK);
        QVERIFY(ex.sender->answer().isEmpty());
        ex.sender->timeout();
        ex.sender->retry();
        QCOMPARE(ex.host->requests.size(), 1);
        QVERIFY(ex.sender->findChild<QPushButton *>("pbRetry")->isHidden());
    }

    // A registration or a new template accepted by the service cannot be sent again by going
    // back: no Back on its sender page nor on the page after it, whose Next keeps its name.
    // The look-ups and a refused request leave Back as it was.
    void commitPages_data()
    {
        addRows<int, QString, bool>({"type", "message", "commit"},
            {{"reg", 3, OK, true}, {"check", 4, OK, true},
                {"reg refused", 3, QString(OK).replace("'errorCode': 0", "'errorCode': 1"), false},
                {"listtid", 8, OK, false}, {"check_params", 9, OK, false}});
    }
    void commitPages()
    {
        QFETCH(bool, commit);
        QFETCH(int, type);
        QFETCH(QString, message);
        Exchange ex(type);
        QAbstractButton *back = ex.wizard->button(QWizard::BackButton);
        ex.reply(message);
        QCOMPARE(ex.sender->isCommitPage(), commit);
        QCOMPARE(back->isEnabled(), !commit);
        QCOMPARE(ex.wizard->button(QWizard::CommitButton)->isVisible(), commit);
        QCOMPARE(ex.wizard->button(QWizard::CommitButton)->text(),
            ex.wizard->button(QWizard::NextButton)->text());
        if (!ex.sender->isComplete())
            return;
        QVERIFY(Operator::next(ex.wizard.get()));
        QCOMPARE(back->isEnabled(), !commit);
    }
};

QTEST_MAIN(TestCXWPMsgSender)
#include "tst_cxwpmsgsender.moc"
