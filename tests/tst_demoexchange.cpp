// The payment wizard's server exchange through the demo terminal's channel: to the simulated
// service in process and over a WebSocket, and what the operator sees when that line fails.
#include "corvexpaywizard.h"
#include "corvexsimulator.h"
#include "demoprocess.h"
#include "icxwizardpage.h"
#include "servicelink.h"
#include "terminalchannel.h"
#include "testutil.h"

#include <QLabel>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextStream>
#include <QWebSocket>
#include <QWebSocketServer>

#include <memory>

// A first page that asks the service one thing and leads to the sender page.
class AskPage : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    AskPage(QWizard *wizard, const QString &function, const QVariantMap &data)
        : QWizardPage(wizard)
        , m_function(function)
        , m_data(data)
    { }
    int nextId() const override
    {
        return CorvexPayWizard::pageIdFor(wizard(), CorvexPayWizard::PageMsgSender);
    }
    QString preview() const override { return QString(); }
    CorvexRequest outputData() const override
    {
        CorvexRequest request;
        request.setType(CorvexRequest::AllTemplatesRequest);
        request.setFunction(m_function);
        request.setCurrencyId(643);
        request.setData(m_data);
        request.generateUid(10452);
        return request;
    }

private:
    QString m_function;
    QVariantMap m_data;
};

// One terminal: its line to the service, its channel and a payment wizard on that channel.
struct Terminal
{
    explicit Terminal(ServiceLink *serviceLink)
        : link(serviceLink)
        , channel(serviceLink)
        , wizard(QFont(), Currency(), FixNumber())
        , stream(&log)
    {
        channel.setLog(&stream);
        wizard.setMessageReciever(&channel, TerminalChannel::replySignal());
        wizard.setMessageSender(&channel, TerminalChannel::sendSlot());
    }

    // Asks the service and enters the sender page.
    void ask(const QString &function, const QVariantMap &data)
    {
        QWizardPage *start = wizard.page(CorvexPayWizard::PageActionSelect);
        wizard.removePage(CorvexPayWizard::PageActionSelect);
        delete start;
        wizard.setPage(CorvexPayWizard::PageActionSelect, new AskPage(&wizard, function, data));
        wizard.restart();
        wizard.next();
    }
    QWizardPage *sender() { return wizard.page(CorvexPayWizard::PageMsgSender); }
    QString status() { return sender()->findChild<QLabel *>("lError")->text(); }
    int lines(const QString &kind)
    {
        return log.count(QRegularExpression("^" + kind, QRegularExpression::MultilineOption));
    }

    std::unique_ptr<ServiceLink> link;
    TerminalChannel channel;
    CorvexPayWizard wizard;
    QString log;
    QTextStream stream;
};

static const QVariantMap KNOWN = {{"phone", "9161234567"}, {"templateType", 0}};

enum Far { ClosesFirstConnection, ClosesEveryConnection, BreaksOnRequest, AnswersTooMuch };

// A service on loopback that misbehaves in one way; it counts the requests it receives.
class FakeService : public QObject
{
public:
    FakeService(Far far, CorvexSimulator *simulator)
        : m_server("fake", QWebSocketServer::NonSecureMode)
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QWebSocketServer::newConnection, this, [this, far, simulator] {
            while (QWebSocket *socket = m_server.nextPendingConnection()) {
                socket->setParent(this);
                const bool first = ++connections == 1;
                connect(socket, &QWebSocket::textMessageReceived, socket, [=](const QString &text) {
                    ++requests;
                    if (far == ClosesEveryConnection || (far == ClosesFirstConnection && first))
                        socket->close(QWebSocketProtocol::CloseCodeGoingAway, "idle");
                    else if (far == BreaksOnRequest)
                        socket->abort();
                    else if (far == AnswersTooMuch)
                        socket->sendTextMessage(simulator->answer(text) + QString(5000, ' '));
                    else
                        socket->sendTextMessage(simulator->answer(text));
                });
            }
        });
    }
    QString url() const { return QString("ws://127.0.0.1:%1").arg(m_server.serverPort()); }

    int connections = 0;
    int requests = 0;

private:
    QWebSocketServer m_server;
};

class TestDemoExchange : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { qunsetenv("CORVEX_REPLY_TIMEOUT"); }
    void replies_data();
    void replies();
    void lineFails_data();
    void lineFails();
    void resend_data();
    void resend();

private:
    QTemporaryDir m_dir;
    QString m_data;
};

void TestDemoExchange::initTestCase()
{
    // Each wait for a reply ends after two seconds instead of a minute.
    qputenv("CORVEX_REPLY_TIMEOUT", "2");
    m_data = serviceFile(m_dir, 20);
}

// A reply that fails reaches the operator over either line; the roads show the replies that
// succeed.
void TestDemoExchange::replies_data()
{
    addRows<bool, QString, QVariantMap, QString>({"webSocket", "function", "data", "status"},
        {{"unknown function, in process", false, "pay", KNOWN,
             "Corvex error: </b>Unknown function"},
            {"service failure, websocket", true, "listtid", {{"phone", "9990000007"}},
                "Dalmor error: </b>The payment gateway is closed"}});
}

void TestDemoExchange::replies()
{
    QFETCH(bool, webSocket);
    QFETCH(QString, function);
    QFETCH(QVariantMap, data);
    QFETCH(QString, status);
    CorvexSimulator simulator;
    ServiceProcess service;
    std::unique_ptr<Terminal> terminal;
    if (webSocket) {
        QVERIFY(service.start(m_data));
        terminal = std::make_unique<Terminal>(new WebSocketServiceLink(QUrl(service.url())));
    } else {
        QString error;
        QVERIFY2(simulator.load(m_data, &error), qPrintable(error));
        terminal = std::make_unique<Terminal>(new LocalServiceLink(&simulator, m_data));
    }
    terminal->ask(function, data);
    QTRY_COMPARE_WITH_TIMEOUT(terminal->lines("reply"), 1, 10000);
    QVERIFY(!terminal->sender()->isComplete());
    QVERIFY2(terminal->status().contains(status), qPrintable(terminal->status()));
}

enum Line { NothingListens, HangsUpAtOnce, NeverAnswers };

// However the line fails, the operator sees the time-out and the page stays incomplete; the
// terminal's log reports the line's problem, if it had one.
void TestDemoExchange::lineFails_data()
{
    addRows<int, QString>({"line", "problem"},
        {{"nothing listens", NothingListens, "Connection refused"},
            {"hangs up at once", HangsUpAtOnce, "closed the connection"},
            {"never answers", NeverAnswers, ""}});
}

void TestDemoExchange::lineFails()
{
    QFETCH(int, line);
    QFETCH(QString, problem);
    ServiceProcess service;
    QTcpServer listener;
    QVERIFY(listener.listen(QHostAddress::LocalHost, 0));
    QString url = QString("ws://127.0.0.1:%1").arg(listener.serverPort());
    if (line == NothingListens) {
        listener.close();
    } else if (line == HangsUpAtOnce) {
        // Takes the connection and drops it before any handshake.
        connect(&listener, &QTcpServer::newConnection, [&listener] {
            while (QTcpSocket *socket = listener.nextPendingConnection()) {
                socket->abort();
                socket->deleteLater();
            }
        });
    } else {
        QVERIFY(service.start(m_data, {"--delay", "600000"}));
        url = service.url();
    }
    Terminal terminal(new WebSocketServiceLink(QUrl(url)));
    terminal.ask("listtid", KNOWN);
    QTRY_VERIFY_WITH_TIMEOUT(terminal.status().contains("Connection error"), 10000);
    QVERIFY(terminal.status().contains("timeout"));
    QVERIFY(!terminal.sender()->isComplete());
    QCOMPARE(terminal.lines("reply"), 0);
    QCOMPARE(terminal.lines("line") > 0, !problem.isEmpty());
    QVERIFY2(terminal.log.contains(problem), qPrintable(terminal.log));
}

// A request cut off by a clean close (the service had not taken it) is sent once more on a new
// connection; one cut off by a broken line is not, as the service may have acted on it.
void TestDemoExchange::resend_data()
{
    addRows<int, int, int, QString>({"far", "requests", "replies", "log"},
        {{"closed as the request came", ClosesFirstConnection, 2, 1,
             "closed (close code 1001, idle); 1 request(s) without a reply sent again"},
            {"closed every time", ClosesEveryConnection, 2, 0,
                "1 request(s) without a reply dropped"},
            {"broken after the request", BreaksOnRequest, 1, 0,
                "1 request(s) without a reply dropped"},
            {"reply past the size limit", AnswersTooMuch, 1, 0,
                "closed (close code 1009, Maximum framesize exceeded"}});
}

void TestDemoExchange::resend()
{
    QFETCH(int, far);
    QFETCH(int, requests);
    QFETCH(int, replies);
    QFETCH(QString, log);
    CorvexSimulator simulator;
    QString error;
    QVERIFY2(simulator.load(m_data, &error), qPrintable(error));
    FakeService service(Far(far), &simulator);
    // The size limit is lowered to a few kilobytes for the row that passes it.
    Terminal terminal(new WebSocketServiceLink(QUrl(service.url()), 4096));
    terminal.ask("listtid", KNOWN);
    QTRY_COMPARE(service.requests, requests);
    QTRY_COMPARE(terminal.lines("reply"), replies);
    QTest::qWait(300);
    QCOMPARE(service.requests, requests);
    QCOMPARE(terminal.sender()->isComplete(), replies == 1);
    QVERIFY2(terminal.log.contains(log), qPrintable(terminal.log));
}

QTEST_MAIN(TestDemoExchange)
#include "tst_demoexchange.moc"
