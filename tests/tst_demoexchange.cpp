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
#include <QPushButton>
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
        static const QMap<QString, CorvexRequest::ERequestType> types
            = {{"reg", CorvexRequest::RegistrationRequest},
                {"check", CorvexRequest::RegistreTemplateRequest},
                {"check_params", CorvexRequest::CheckParamsRequest}};
        CorvexRequest request;
        request.setType(types.value(m_function, CorvexRequest::AllTemplatesRequest));
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
    void everyReply_data();
    void everyReply();
    void killAndRestart();

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

// However the line fails, the operator sees a connection error and the page stays incomplete:
// at once when the request could not be delivered, else at the time-out. The terminal's log
// reports the line's problem, if it had one.
void TestDemoExchange::lineFails_data()
{
    addRows<int, QString, QString>({"line", "problem", "status"},
        {{"nothing listens", NothingListens, "Connection refused",
             "the request could not be delivered"},
            {"hangs up at once", HangsUpAtOnce, "closed the connection",
                "the request could not be delivered"},
            {"never answers", NeverAnswers, "", "timeout"}});
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
    QFETCH(QString, status);
    QVERIFY2(terminal.status().contains(status), qPrintable(terminal.status()));
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

enum Way { Back = -1, Retry = -2 };

// Whatever the simulated service answers, the operator is never stranded: the page leads on to
// the next page kind (and on to a payment), or offers Back to the page that sent, from which
// Next sends again, or offers Retry. An accepted registration or new template offers no Back. A
// service that comes back between a time-out and Retry answers the request sent again.
void TestDemoExchange::everyReply_data()
{
    const QVariantMap person
        = {{"phone", "9160000001"}, {"lastName", "Orlov"}, {"firstName", "Oleg"}};
    const auto phone = [](const QString &phone) { return QVariantMap {{"phone", phone}}; };
    const auto bik = [](const QString &bik) { return QVariantMap {{"bik", bik}}; };
    const auto check = [](const QString &phone, int rCode, const QString &params) {
        return QVariantMap {{"phone", phone}, {"rCode", rCode}, {"params", params}};
    };
    addRows<QString, QVariantMap, int>({"function", "data", "way"},
        {{"templates", "listtid", KNOWN, 7}, {"no templates", "listtid", phone("9167654321"), 5},
            {"unknown customer 18", "listtid", phone("9160000000"), 1},
            {"code 22", "listtid", phone("9260000022"), 1},
            {"code 26", "listtid", phone("9260000026"), 1},
            {"code 27", "listtid", phone("9260000027"), 1},
            {"code 29", "listtid", phone("9260000029"), 1},
            {"bad phone 2", "listtid", phone("12"), Back},
            {"result failure", "listtid", phone("9990000007"), Back},
            {"registered", "reg", person, 5},
            {"already registered 1", "reg",
                QVariantMap {{"phone", "9161234567"}, {"lastName", "P"}, {"firstName", "I"}}, Back},
            {"no name 2", "reg", phone("9160000001"), Back},
            {"bank", "check_params", bik("044525593"), 6},
            {"unknown BIK 4", "check_params", bik("044525000"), Back},
            {"bad BIK 2", "check_params", bik("12"), Back},
            {"no error key", "check_params", bik("044525999"), Retry},
            {"template registered", "check", check("9161234567", 601, "044525593;C-1;1234"), 4},
            {"check for unknown customer 18", "check", check("9160000000", 601, "044525593;C;1"),
                Back},
            {"bad request code 2", "check", check("9161234567", 5, "044525593;C;1"), Back},
            {"check with unknown bank 4", "check", check("9161234567", 601, "044525000;C"), Back},
            {"error failure", "pay", KNOWN, Back}, {"time-out", "listtid", KNOWN, Retry}});
}

void TestDemoExchange::everyReply()
{
    QFETCH(QString, function);
    QFETCH(QVariantMap, data);
    QFETCH(int, way);
    // The service file, with the failure of one bank's look-up turned into a reply without
    // "error".
    const QString file
        = editedCopy(m_dir.filePath("odd.json"), "service.json", "-failures[1].reply.error");
    CorvexSimulator simulator;
    QString error;
    QVERIFY2(simulator.load(file, &error), qPrintable(error));
    simulator.setReplyDelay(QByteArray(QTest::currentDataTag()) == "time-out" ? 60000 : 0);
    Terminal terminal(new LocalServiceLink(&simulator, file));
    QWizard &wizard = terminal.wizard;
    terminal.ask(function, data);
    QTRY_VERIFY_WITH_TIMEOUT(
        terminal.sender()->isComplete() || !terminal.status().isEmpty(), 10000);
    QCOMPARE(terminal.sender()->isComplete(), way >= 0);
    QCOMPARE(wizard.button(QWizard::BackButton)->isEnabled(),
        way < 0 || (function != "reg" && function != "check"));
    QCOMPARE(!terminal.sender()->findChild<QWidget *>("pbRetry")->isHidden(), way == Retry);
    if (way >= 0) {
        QCOMPARE(terminal.sender()->nextId() % 16, way);
        return;
    }
    if (way == Back) {
        wizard.back();
        QCOMPARE(wizard.currentId(), int(CorvexPayWizard::PageActionSelect));
        wizard.next();
    } else {
        simulator.setReplyDelay(0); // the service has come back since the time-out
        terminal.sender()->findChild<QPushButton *>("pbRetry")->click();
    }
    QCOMPARE(terminal.lines("request"), 2);
    if (QByteArray(QTest::currentDataTag()) == "time-out")
        QTRY_VERIFY(terminal.sender()->isComplete());
}

// The service is killed while a request waits for its reply: the terminal answers it as
// undelivered within a second, and once the service runs again the scripted operator finishes
// the payment by pressing Retry.
void TestDemoExchange::killAndRestart()
{
    ServiceProcess first;
    QVERIFY(first.start(m_data, {"--delay", "5000"}));
    QProcess road;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("CORVEX_REPLY_TIMEOUT", "10");
    road.setProcessEnvironment(env);
    road.start(CORVEX_ROADS_PROGRAM,
        {"--road", "template", "--plugin", CORVEX_PLUGIN_PATH, "--service", first.url()});
    QVERIFY(road.waitForStarted(10000));
    QString out;
    const auto waitFor = [&road, &out](const QString &text) {
        QElapsedTimer clock;
        clock.start();
        while (
            !out.contains(text) && clock.elapsed() < 20000 && road.state() == QProcess::Running) {
            road.waitForReadyRead(20);
            out += QString::fromUtf8(road.readAllStandardOutput());
        }
        return out.contains(text);
    };
    QVERIFY2(waitFor("request  "), qPrintable(out));
    first.kill();
    QElapsedTimer sinceKill;
    sinceKill.start();
    QVERIFY2(waitFor("undelivered "), qPrintable(out));
    QVERIFY2(sinceKill.elapsed() < 1000, qPrintable(QString::number(sinceKill.elapsed())));
    ServiceProcess second;
    QVERIFY(second.start(m_data, {"--listen", QString::number(first.port())}));
    QVERIFY(road.waitForFinished(60000));
    out += QString::fromUtf8(road.readAllStandardOutput());
    QVERIFY2(road.exitCode() == 0, qPrintable(out + road.readAllStandardError()));
    QVERIFY2(out.contains("retry    page 14"), qPrintable(out));
    QVERIFY2(out.contains("\"account\": \"4081781001\""), qPrintable(out));
}

QTEST_MAIN(TestDemoExchange)
#include "tst_demoexchange.moc"
