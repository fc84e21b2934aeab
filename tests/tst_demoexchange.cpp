// The payment wizard's server exchange through the demo terminal's channel: to the simulated
// service in process and over a WebSocket, and what the operator sees when that line fails.
#include "corvexpaywizard.h"
#include "corvexsimulator.h"
#include "demoprocess.h"
#include "icxwizardpage.h"
#include "servicelink.h"
#include "terminalchannel.h"

#include <QLabel>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextStream>

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

class TestDemoExchange : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { qunsetenv("CORVEX_REPLY_TIMEOUT"); }
    void replies_data();
    void replies();
    void serviceDown();
    void serviceNeverAnswers();
    void serviceKilledMidRequest();
    void connectionDropped();
    void twoTerminalsOneService();

private:
    std::unique_ptr<Terminal> overWebSocket(const QString &url);
    QTemporaryDir m_dir;
    QString m_data;
};

void TestDemoExchange::initTestCase()
{
    // Each wait for a reply ends after two seconds instead of a minute.
    qputenv("CORVEX_REPLY_TIMEOUT", "2");
    m_data = serviceFile(m_dir, 20);
}

std::unique_ptr<Terminal> TestDemoExchange::overWebSocket(const QString &url)
{
    return std::make_unique<Terminal>(new WebSocketServiceLink(QUrl(url)));
}

void TestDemoExchange::replies_data()
{
    QTest::addColumn<bool>("webSocket");
    QTest::addColumn<QString>("function");
    QTest::addColumn<QVariantMap>("data");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<QString>("status");
    for (bool webSocket : {false, true}) {
        const char *line = webSocket ? "websocket" : "in process";
        QTest::addRow("%s: templates", line) << webSocket << "listtid" << KNOWN << true << "";
        QTest::addRow("%s: unknown function", line)
            << webSocket << "pay" << KNOWN << false << "Corvex error: </b>Unknown function";
        QTest::addRow("%s: service failure", line)
            << webSocket << "listtid" << QVariantMap({{"phone", "9990000007"}}) << false
            << "Dalmor error: </b>The payment gateway is closed";
    }
}

void TestDemoExchange::replies()
{
    QFETCH(bool, webSocket);
    QFETCH(QString, function);
    QFETCH(QVariantMap, data);
    QFETCH(bool, complete);
    QFETCH(QString, status);

    CorvexSimulator simulator;
    ServiceProcess service;
    std::unique_ptr<Terminal> terminal;
    if (webSocket) {
        QVERIFY(service.start(m_data));
        terminal = overWebSocket(service.url());
    } else {
        QString error;
        QVERIFY2(simulator.load(m_data, &error), qPrintable(error));
        terminal = std::make_unique<Terminal>(new LocalServiceLink(&simulator, m_data));
    }
    terminal->ask(function, data);
    QTRY_COMPARE_WITH_TIMEOUT(terminal->lines("reply"), 1, 10000);
    QCOMPARE(terminal->sender()->isComplete(), complete);
    QVERIFY2(terminal->status().contains(status), qPrintable(terminal->status()));
}

// Nothing listens: the request is lost, and the operator sees the time-out.
void TestDemoExchange::serviceDown()
{
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();

    auto terminal = overWebSocket(QString("ws://127.0.0.1:%1").arg(port));
    terminal->ask("listtid", KNOWN);
    QTRY_VERIFY_WITH_TIMEOUT(terminal->lines("line") > 0, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(terminal->status().contains("Connection error"), 10000);
    QVERIFY(terminal->status().contains("timeout"));
    QVERIFY(!terminal->sender()->isComplete());
}

void TestDemoExchange::serviceNeverAnswers()
{
    ServiceProcess service;
    QVERIFY(service.start(m_data, {"--delay", "600000"}));
    auto terminal = overWebSocket(service.url());
    terminal->ask("listtid", KNOWN);
    QTRY_VERIFY_WITH_TIMEOUT(terminal->status().contains("Connection error"), 10000);
    QCOMPARE(terminal->lines("reply"), 0);
    QVERIFY(!terminal->sender()->isComplete());
}

void TestDemoExchange::serviceKilledMidRequest()
{
    ServiceProcess service;
    QVERIFY(service.start(m_data, {"--delay", "5000"}));
    auto terminal = overWebSocket(service.url());
    terminal->ask("listtid", KNOWN);
    QCOMPARE(terminal->lines("request"), 1);
    QTest::qWait(300);
    service.kill();
    QTRY_VERIFY_WITH_TIMEOUT(terminal->log.contains("closed"), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(terminal->status().contains("Connection error"), 10000);
    QVERIFY(!terminal->sender()->isComplete());
}

// A listener that takes the connection and hangs up at once, before any handshake.
void TestDemoExchange::connectionDropped()
{
    QTcpServer rude;
    QVERIFY(rude.listen(QHostAddress::LocalHost, 0));
    connect(&rude, &QTcpServer::newConnection, [&rude] {
        while (QTcpSocket *socket = rude.nextPendingConnection()) {
            socket->abort();
            socket->deleteLater();
        }
    });
    auto terminal = overWebSocket(QString("ws://127.0.0.1:%1").arg(rude.serverPort()));
    terminal->ask("listtid", KNOWN);
    QTRY_VERIFY_WITH_TIMEOUT(terminal->status().contains("Connection error"), 10000);
    QVERIFY(terminal->lines("line") > 0);
}

// Two terminals on one service process: each gets its own reply and never the other's.
void TestDemoExchange::twoTerminalsOneService()
{
    ServiceProcess service;
    QVERIFY(service.start(m_data, {"--delay", "200"}));
    auto first = overWebSocket(service.url());
    auto second = overWebSocket(service.url());
    first->ask("listtid", KNOWN);
    second->ask("listtid", QVariantMap({{"phone", "9167654321"}}));
    QTRY_VERIFY_WITH_TIMEOUT(
        first->sender()->isComplete() && second->sender()->isComplete(), 10000);
    QTest::qWait(300);
    QCOMPARE(first->lines("reply"), 1);
    QCOMPARE(second->lines("reply"), 1);
    QVERIFY(first->log.contains("Templates on record: 2"));
    QVERIFY(second->log.contains("no templates yet"));
}

QTEST_MAIN(TestDemoExchange)
#include "tst_demoexchange.moc"
