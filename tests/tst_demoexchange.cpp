// The payment wizard's server exchange through the demo terminal's channel over a WebSocket, what
// the operator sees when that line fails, and how long the wizard waits for a reply.
#include "corvexpaywizard.h"
#include "corvexsimulator.h"
#include "cxwpmsgsender.h"
#include "servicelink.h"
#include "terminalchannel.h"
#include "testutil.h"

#include <QLabel>
#include <QProgressBar>
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

    // Asks the service for the templates of `phone` and enters the sender page.
    void ask(const QString &phone)
    {
        wizard.setPhone(phone);
        wizard.setStartId(CorvexPayWizard::PagePrepareAllTemplatesRequest);
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
    TerminalChannel channel {link.get()};
    CorvexPayWizard wizard {QFont(), Currency(), FixNumber()};
    QString log;
    QTextStream stream {&log};
};

enum Far { Answers, AnswersLate, ClosesFirst, ClosesEvery, Breaks, TooMuch, HangsUp, Absent };

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
                    else if (far == AnswersLate)
                        QTimer::singleShot(3000, socket, [=] { socket->sendTextMessage(reply); });
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
    // However the line fails, the operator sees the time-out, a reply too late does not complete
    // the page, and the terminal's log reports the line's problem, if it had one.
    void exchange_data()
    {
        const QString timeout = "Connection error: </b>timeout";
        addRows<int, QString, int, int, QString, QString>(
            {"far", "phone", "requests", "replies", "status", "log"},
            {{"service failure", Answers, "9990000007", 1, 1,
                 "Dalmor error: </b>The payment gateway is closed", ""},
                {"closed as the request came", ClosesFirst, "9161234567", 2, 1, "",
                    "closed (close code 1001, idle); 1 request(s) without a reply sent again"},
                {"closed every time", ClosesEvery, "9161234567", 2, 0, timeout,
                    "1 request(s) without a reply dropped"},
                {"broken after the request", Breaks, "9161234567", 1, 0, timeout,
                    "1 request(s) without a reply dropped"},
                {"reply past the size limit", TooMuch, "9161234567", 1, 0, timeout,
                    "closed (close code 1009, Maximum framesize exceeded"},
                {"answers too late", AnswersLate, "9161234567", 1, 1, timeout, ""},
                {"hangs up at once", HangsUp, "9161234567", 0, 0, timeout, "closed the connection"},
                {"nothing listens", Absent, "9161234567", 0, 0, timeout, "Connection refused"}});
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
        terminal.ask(phone);
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

    void replyTimeout_data()
    {
        addRows<QByteArray, int>({"value", "seconds"},
            {{"unset", {}, 60}, {"shorter", "1", 1}, {"longer", "90", 90}, {"zero", "0", 60},
                {"negative", "-3", 60}, {"fraction", "1.5", 60}, {"text", "soon", 60},
                {"beyond a day", "86401", 60}});
    }

    // The reply wait: 60 s, or the whole seconds from 1 to a day CORVEX_REPLY_TIMEOUT names; one
    // progress step a second; a page that times out is not complete.
    void replyTimeout()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, seconds);
        value.isNull() ? qunsetenv("CORVEX_REPLY_TIMEOUT") : qputenv("CORVEX_REPLY_TIMEOUT", value);
        QWizard wizard;
        auto *page = new CXWPMsgSender(&wizard);
        wizard.addPage(page);
        QElapsedTimer clock;
        clock.start();
        page->initializePage();
        QCOMPARE(page->findChild<QProgressBar *>("progressBar")->maximum(), seconds);
        if (seconds == 1) {
            QTRY_VERIFY_WITH_TIMEOUT(
                page->findChild<QLabel *>("lError")->text().contains("Connection error"), 5000);
            // A coarse timer may fire a little early, never a tenth of the time.
            QVERIFY(clock.elapsed() >= 900);
            QVERIFY(!page->isComplete());
        }
    }
};

QTEST_MAIN(TestDemoExchange)
#include "tst_demoexchange.moc"
