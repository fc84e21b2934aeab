// The payment wizard's server exchange through the demo terminal's channel over a WebSocket, what
// the operator sees when that line fails, and how long the wizard waits for a reply.
#include "corvexpaywizard.h"
#include "corvexsimulator.h"
#include "corvextranslator.h"
#include "cxwpmsgsender.h"
#include "demoprocess.h"
#include "hostlanguage.h"
#include "requestpage.h"
#include "servicelink.h"
#include "terminalchannel.h"
#include "testutil.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextStream>
#include <QWebSocket>
#include <QWebSocketServer>

#include <memory>

// One terminal: its line to the service, its channel and a payment wizard on that channel.
struct Terminal
{
    explicit Terminal(ServiceLink *serviceLink)
        : link(serviceLink)
    {
        channel.setLog(&stream);
        wizard.setMessageReciever(&channel, TerminalChannel::replySignal());
        wizard.setMessageSender(&channel, TerminalChannel::sendSlot());
    }

    // Enters the sender page from a page at 4 that asks the service `request`.
    void ask(const QString &request)
    {
        const QMap<QString, int> types
            = {{"reg", 3}, {"check", 4}, {"listtid", 8}, {"check_params", 9}};
        wizard.removePage(4);
        wizard.setPage(4,
            new RequestPage(&wizard, types.value(request.section(' ', 0, 0)), 0,
                CorvexPayWizard::PageMsgSender, request));
        wizard.setStartId(4);
        wizard.restart();
        wizard.next();
    }
    QWizardPage *sender() { return wizard.page(CorvexPayWizard::PageMsgSender); }
    QString status() { return sender()->findChild<QLabel *>("lError")->text(); }
    QString outcome() { return sender()->findChild<QLabel *>("lOutcome")->text(); }
    QPushButton *retry() { return sender()->findChild<QPushButton *>("pbRetry"); }
    int lines(const QString &kind)
    {
        return log.count(QRegularExpression("^" + kind, QRegularExpression::MultilineOption));
    }

    std::unique_ptr<ServiceLink> link;
    TerminalChannel channel {link.get()};
    CorvexPayWizard wizard {QFont(), Currency(), FixNumber()};
    QString log;
    QTextStream stream {&log};
};

enum Way { Back = -1, Retry = -2 };

enum Far { Answers, ClosesFirst, ClosesEvery, Breaks, TooMuch, HangsUp, Absent };

// A service on loopback, answering from the shipped data file, that misbehaves in one way; it
// counts the requests it receives.
class FakeService : public QObject
{
public:
    explicit FakeService(Far far)
        : m_server("fake", QWebSocketServer::NonSecureMode)
    {
        QVERIFY(m_simulator.load(CORVEX_DEMO_DATA_DIR "/service.json", nullptr));
        m_listener.listen(QHostAddress::LocalHost, 0);
        url = QString("ws://127.0.0.1:%1").arg(m_listener.serverPort());
        if (far == Absent)
            m_listener.close();
        connect(&m_listener, &QTcpServer::newConnection, this, [this, far] {
            while (QTcpSocket *socket = m_listener.nextPendingConnection()) {
                // One that hangs up drops the connection before any handshake.
                if (far == HangsUp)
                    socket->abort();
                else
                    m_server.handleConnection(socket);
            }
        });
        connect(&m_server, &QWebSocketServer::newConnection, this, [this, far] {
            while (QWebSocket *socket = m_server.nextPendingConnection()) {
                socket->setParent(this);
                connect(socket, &QWebSocket::textMessageReceived, socket, [=](const QString &text) {
                    const bool first = ++requests == 1;
                    const QString reply = m_simulator.answer(text);
                    if (far == ClosesEvery || (far == ClosesFirst && first))
                        socket->close(QWebSocketProtocol::CloseCodeGoingAway, "idle");
                    else if (far == Breaks)
                        socket->abort();
                    else if (far == TooMuch)
                        socket->sendTextMessage(reply + QString(5000, ' '));
                    else
                        socket->sendTextMessage(reply);
                });
            }
        });
    }

    QString url;
    int requests = 0;

private:
    CorvexSimulator m_simulator;
    QTcpServer m_listener;
    QWebSocketServer m_server;
};

class TestDemoExchange : public QObject
{
    Q_OBJECT

private slots:
    // Each wait for a reply ends after two seconds instead of a minute.
    void init() { qputenv("CORVEX_REPLY_TIMEOUT", "2"); }

    // A request cut off by a clean close (the service had not taken it) is sent once more on a
    // new connection; one cut off by a broken line is not, as the service may have acted on it.
    // However the line fails, the operator sees a connection error: at once when the terminal
    // gives the request up, else at the time-out. The terminal's log reports the line's problem,
    // if it had one.
    void exchange_data()
    {
        const QString lost = "Connection error: </b>the request could not be delivered";
        addRows<int, QString, int, int, QString, QString>(
            {"far", "phone", "requests", "replies", "status", "log"},
            {{"service failure", Answers, "9990000007", 1, 1,
                 "Dalmor error: </b>The payment gateway is closed", ""},
                {"closed as the request came", ClosesFirst, "9161234567", 2, 1, "",
                    "closed (close code 1001, idle); 1 request(s) without a reply sent again"},
                {"closed every time", ClosesEvery, "9161234567", 2, 0, lost,
                    "1 request(s) without a reply dropped"},
                {"broken after the request", Breaks, "9161234567", 1, 0, lost,
                    "1 request(s) without a reply dropped"},
                {"reply past the size limit", TooMuch, "9161234567", 1, 0, lost,
                    "closed (close code 1009, Maximum framesize exceeded"},
                {"hangs up at once", HangsUp, "9161234567", 0, 0, lost, "closed the connection"},
                {"nothing listens", Absent, "9161234567", 0, 0, lost, "Connection refused"}});
    }

    void exchange()
    {
        QFETCH(int, far);
        QFETCH(QString, phone);
        QFETCH(int, requests);
        QFETCH(int, replies);
        QFETCH(QString, status);
        QFETCH(QString, log);
        FakeService service {Far(far)};
        // The size limit is lowered to a few kilobytes for the row that passes it.
        Terminal terminal(new WebSocketServiceLink(QUrl(service.url), 4096));
        terminal.ask("listtid phone=" + phone);
        QTRY_COMPARE(service.requests, requests);
        QTRY_COMPARE_WITH_TIMEOUT(terminal.lines("reply"), replies, 10000);
        QTRY_VERIFY2_WITH_TIMEOUT(
            terminal.status().contains(status), qPrintable(terminal.status()), 10000);
        QTest::qWait(300);
        QCOMPARE(service.requests, requests);
        QCOMPARE(terminal.sender()->isComplete(), status.isEmpty());
        QCOMPARE(terminal.lines("line") > 0, !log.isEmpty());
        QVERIFY2(terminal.log.contains(log), qPrintable(terminal.log));
    }

    // Whatever the simulated service answers, the operator is never stranded: the page leads on
    // to the next page kind (toward a payment), or offers Back to the page that sent, from which
    // Next sends again, or Retry; an accepted registration or new template offers no Back. A
    // service back between a time-out and Retry answers the request sent again. F12 while a
    // registration is in flight switches the language and leaves the exchange as it was.
    void everyReply_data()
    {
        const QString person = "reg phone=9160000001 lastName=Orlov firstName=Oleg";
        addRows<QString, int>({"request", "way"},
            {{"templates", "listtid phone=9161234567", 7},
                {"no templates", "listtid phone=9167654321", 5},
                {"unknown customer 18", "listtid phone=9160000000", 1},
                {"code 22", "listtid phone=9260000022", 1},
                {"code 26", "listtid phone=9260000026", 1},
                {"code 27", "listtid phone=9260000027", 1},
                {"code 29", "listtid phone=9260000029", 1},
                {"bad phone 2", "listtid phone=12", Back},
                {"result failure", "listtid phone=9990000007", Back}, {"registered", person, 5},
                {"registered, F12 in flight", person, 5},
                {"already registered 1", "reg phone=9161234567 lastName=P firstName=I", Back},
                {"no name 2", "reg phone=9160000001", Back},
                {"bank", "check_params bik=044525593", 6},
                {"unknown BIK 4", "check_params bik=044525000", Back},
                {"bad BIK 2", "check_params bik=12", Back},
                {"no error key", "check_params bik=044525999", Retry},
                {"template registered", "check phone=9161234567 rCode=601 params=044525593;C-1;1",
                    4},
                {"check for unknown customer 18",
                    "check phone=9160000000 rCode=601 params=044525593;C;1", Back},
                {"bad request code 2", "check phone=9161234567 rCode=5 params=044525593;C;1", Back},
                {"check with unknown bank 4", "check phone=9161234567 rCode=601 params=044525000;C",
                    Back},
                {"error failure", "pay phone=9161234567", Back},
                {"time-out", "listtid phone=9161234567", Retry}});
    }
    void everyReply()
    {
        QFETCH(QString, request);
        QFETCH(int, way);
        const QByteArray tag = QTest::currentDataTag();
        // The failure of one bank's look-up becomes a reply without "error".
        const QString file
            = editedCopy(m_dir.filePath("odd.json"), "service.json", "-failures[1].reply.error");
        CorvexSimulator simulator;
        QVERIFY(simulator.load(file, nullptr));
        simulator.setReplyDelay(tag == "time-out" ? 60000 : tag.contains("F12") ? 500 : 0);
        Terminal terminal(new LocalServiceLink(&simulator, file));
        QWizard &wizard = terminal.wizard;
        CorvexTranslator translator;
        QElapsedTimer clock;
        clock.start();
        terminal.ask(request);
        if (tag.contains("F12")) {
            m_language.switchOnKey();
            QTest::keyClick(&wizard, Qt::Key_F12);
            QTRY_COMPARE(terminal.outcome(), QString("Ждём ответа сервера."));
            QVERIFY(!wizard.button(QWizard::BackButton)->isEnabled());
        }
        QTRY_VERIFY_WITH_TIMEOUT(
            terminal.sender()->isComplete() || !terminal.status().isEmpty(), 10000);
        m_language.apply("en");
        // A coarse timer may end the two seconds' wait a little early, never a tenth of it.
        QVERIFY(tag != "time-out" || clock.elapsed() >= 1800);
        QCOMPARE(terminal.sender()->isComplete(), way >= 0);
        QCOMPARE(wizard.button(QWizard::BackButton)->isEnabled(),
            way < 0 || !QRegularExpression("^(reg|check) ").match(request).hasMatch());
        QCOMPARE(!terminal.retry()->isHidden(), way == Retry);
        QCOMPARE(terminal.sender()->nextId() % 16, way >= 0 ? way : 15);
        if (way == Back) {
            wizard.back();
            QCOMPARE(wizard.currentId(), 4);
            wizard.next();
        } else if (way == Retry) {
            simulator.setReplyDelay(0); // the service has come back since the time-out
            terminal.retry()->click();
        }
        QCOMPARE(terminal.lines("request"), way < 0 ? 2 : 1);
        QTRY_COMPARE(terminal.sender()->isComplete(), way >= 0 || tag == "time-out");
    }

    void replyTimeout_data()
    {
        addRows<QByteArray, int>({"value", "seconds"},
            {{"unset", {}, 60}, {"shorter", "1", 1}, {"longer", "90", 90}, {"zero", "0", 60},
                {"negative", "-3", 60}, {"fraction", "1.5", 60}, {"text", "soon", 60},
                {"beyond a day", "86401", 60}});
    }

    // The reply wait: 60 s, or the whole seconds from 1 to a day CORVEX_REPLY_TIMEOUT names, one
    // progress step a second (the wait's end is timed by everyReply's time-out).
    void replyTimeout()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, seconds);
        value.isNull() ? qunsetenv("CORVEX_REPLY_TIMEOUT") : qputenv("CORVEX_REPLY_TIMEOUT", value);
        QWizard wizard;
        auto *page = new CXWPMsgSender(&wizard);
        wizard.addPage(page);
        page->initializePage();
        QCOMPARE(page->findChild<QProgressBar *>("progressBar")->maximum(), seconds);
    }

private:
    QTemporaryDir m_dir;
    HostLanguage m_language;
};

QTEST_MAIN(TestDemoExchange)
#include "tst_demoexchange.moc"
