// The simulated Corvex service: its answers, the state its registrations change, its data file,
// and its WebSocket server shared by several terminals. The service program's refusals of a bad
// command line are rows of tst_demohost.
#include "corvexserviceserver.h"
#include "corvexsimulator.h"
#include "demoprocess.h"
#include "testutil.h"

#include <QTcpSocket>
#include <QWebSocket>

#include <memory>

namespace {

QJsonObject params(const QJsonObject &reply)
{
    return reply.value("params").toObject();
}

int code(const QJsonObject &reply)
{
    return params(reply).value("errorCode").toInt(-1);
}

// One masked client frame of a text message of 126 to 65535 bytes, its length in two bytes (the
// mask is zero: the payload goes as it is).
QByteArray textFrame(const QByteArray &payload)
{
    Q_ASSERT(payload.size() >= 126 && payload.size() < 65536);
    const char head[] = {char(0x81), char(0x80 | 126), char(payload.size() >> 8),
        char(payload.size() & 0xff), 0, 0, 0, 0};
    return QByteArray(head, sizeof head) + payload;
}

// Opens a WebSocket by hand on `socket`, which then reads only what the test asks for.
bool rawHandshake(QTcpSocket &socket, quint16 port)
{
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(5000))
        return false;
    socket.write(QString("GET / HTTP/1.1\r\nHost: 127.0.0.1:%1\r\nUpgrade: websocket\r\n"
                         "Connection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
                         "Sec-WebSocket-Version: 13\r\n\r\n")
                     .arg(port)
                     .toLatin1());
    return true;
}

// A template registration for `phone`: the kind of credit and the parameter values.
QString check(const QString &phone, int rCode, const QString &values)
{
    return QString(R"({"function":"check","phone":"%1","rCode":%2,"params":"%3"})")
        .arg(phone, QString::number(rCode), values);
}

// A request whose reply carries `size` bytes of uid back.
QString bulkyRequest(int size)
{
    return QString(R"({"function":"listtid","phone":"1","uid":"%1"})").arg(QString(size, 'u'));
}

} // namespace

class TestDemoService : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_service.load(CORVEX_DEMO_DATA_DIR "/service.json", nullptr)); }

    // Every request gets an answer the terminal can show, never silence, with the uid it came with;
    // a bank's parameters come back under their names, a hidden one as "***".
    void answers_data()
    {
        const QVariantMap bank {{"bank", "AO Alfa-Bank"}, {"pName1", "Contract number"},
            {"pName2", "***"}, {"pName3", "Last four digits of the card"}};
        addRows<QString, int, QVariantMap>({"request", "errorCode", "facts"},
            {{"known, with templates", R"({"function":"listtid","phone":"9161234567"})", 0, {}},
                {"known, no templates", R"({"function":"listtid","phone":"9167654321"})", 19, {}},
                {"unknown customer", R"({"function":"listtid","phone":"9035550101"})", 18, {}},
                {"phone too short", R"({"function":"listtid","phone":"916123"})", 2, {}},
                {"known bank", R"({"function":"check_params","bik":"044525593"})", 0, bank},
                {"unknown bank", R"({"function":"check_params","bik":"044525000"})", 4, {}},
                {"short BIK", R"({"function":"check_params","bik":"0445"})", 2, {}},
                {"already registered",
                    R"({"function":"reg","phone":"9161234567","lastName":"A","firstName":"B"})", 1,
                    {}},
                {"nameless", R"({"function":"reg","phone":"9035550101","lastName":""})", 2, {}},
                {"template for a stranger", check("9035550101", 601, "044525593;1;2"), 18, {}},
                {"template short of values", check("9161234567", 601, "044525593;1"), 2, {}},
                {"template with an empty value", check("9161234567", 601, "044525593;;2"), 2, {}},
                {"template of another kind", check("9161234567", 5, "044525225;1"), 2, {}},
                {"unknown function", R"({"function":"pay"})", -1,
                    {{"description", R"(Unknown function "pay")"}}},
                {"no function", "{}", -1, {{"description", "The request names no function"}}},
                {"failure for an input", R"({"function":"check_params","bik":"044525999"})", -1,
                    {{"description", "The bank directory is not available"}}},
                {"not an object", "[1,2]", -1,
                    {{"description", "The request is not a JSON object"}}},
                {"not JSON", "uid=77", -1, {{"description", "The request is not a JSON object"}}}});
    }

    void answers()
    {
        QFETCH(QString, request);
        QFETCH(int, errorCode);
        QFETCH(QVariantMap, facts);
        const QJsonDocument document = QJsonDocument::fromJson(request.toUtf8());
        QJsonObject json = document.object();
        json.insert("uid", "1234567");
        // What is not a JSON object goes as the text it is.
        const QJsonObject reply = document.isObject()
            ? m_service.answer(json)
            : QJsonDocument::fromJson(m_service.answer(request).toUtf8()).object();
        QCOMPARE(reply.value("uid").toString(), QString(document.isObject() ? "1234567" : ""));
        QCOMPARE(reply.value("error"), QJsonValue(errorCode < 0));
        QCOMPARE(code(reply), errorCode);
        // A fact is found in the reply or, if not there, in its parameters.
        for (auto it = facts.cbegin(); it != facts.cend(); ++it)
            QCOMPARE((reply.contains(it.key()) ? reply : params(reply)).value(it.key()).toVariant(),
                it.value());
    }

    void registrationsChangeState()
    {
        // A phone the service blocks by its code is free once its customer registers.
        const QString phone = "9260000022";
        auto ask = [this, phone](const QString &function, QJsonObject fields = {}) {
            fields.insert("function", function);
            fields.insert("phone", phone);
            return m_service.answer(fields);
        };
        QCOMPARE(code(ask("listtid")), 22);
        QCOMPARE(
            code(ask("reg",
                {{"lastName", "Smirnova"}, {"firstName", "Anna"}, {"secondName", "Olegovna"}})),
            0);
        const QJsonObject empty = ask("listtid");
        QCOMPARE(code(empty), 19);
        QCOMPARE(params(empty).value("fullName").toString(), QString("Smirnova Anna Olegovna"));
        QCOMPARE(code(ask("check",
                     {{"rCode", 601}, {"params", "044525593;PIL-7;4417"}, {"amount", 425000}})),
            0);
        const QJsonObject listed = ask("listtid");
        QCOMPARE(code(listed), 0);
        const QJsonObject added = params(listed).value("templateList").toArray().first().toObject();
        QCOMPARE(added.value("creditCode").toString(), QString("7000000001"));
        QCOMPARE(added.value("bankName").toString(), QString("AO Alfa-Bank"));
        QCOMPARE(toJson(added.value("addInfo").toObject().toVariantMap()),
            QString(R"({"Contract number":"PIL-7","Last four digits of the card":"4417",)"
                    R"("Planned amount":"4250.00"})"));
        // The next template gets the next code.
        ask("check", {{"rCode", 601}, {"params", "044525225;MG-1"}});
        QCOMPARE(m_service.templates(phone).last().toObject().value("creditCode").toString(),
            QString("7000000002"));
    }

    // Each row writes a service file, edited as editedCopy() does (the first writes none). A number
    // is checked as a double before it is converted: none is cut to fit.
    void dataFile_data()
    {
        addRows<QString, int, QString>({"edit", "delay", "message"},
            {{"missing", "", 0, "cannot read the file (No such file or directory)"},
                {"not JSON", "!{\"customers\": [", 0, "not JSON (unterminated array at offset 15)"},
                {"an array", "![]", 0, "the top level must be a JSON object"},
                {"no banks", "-banks", 0, "key \"banks\" is missing"},
                {"no customers", "-customers", 0, "key \"customers\" is missing"},
                {"customer without phone", "-customers[0].phone", 0,
                    "key \"customers[0].phone\" is missing"},
                {"bank without name", "-banks[1].bank", 0, "key \"banks[1].bank\" is missing"},
                {"delay", "replyDelayMs=42", 42, ""}, {"no delay", "replyDelayMs=0", 0, ""},
                {"delay below", "replyDelayMs=-1", 0,
                    "key \"replyDelayMs\" must be a whole number from 0 to 3600000"},
                {"1e300 for an int", "unknownCustomerCode=1e300", 0,
                    "key \"unknownCustomerCode\" must be a whole number from -2147483648 to "
                    "2147483647"},
                {"past 32 bits", "phoneCodes.9260000022=4294967297", 0,
                    "key \"phoneCodes.9260000022\" must be a whole number from -2147483648 to "
                    "2147483647"},
                {"fraction", "replyDelayMs=2.5", 0, "key \"replyDelayMs\" must be a whole number"},
                {"text", "replyDelayMs=\"7\"", 0, "key \"replyDelayMs\" must be a number"}});
    }

    void dataFile()
    {
        QFETCH(QString, edit);
        QFETCH(QString, message);
        const QString path = editedCopy(
            m_dir.filePath(QTest::currentDataTag() + QString(".json")), "service.json", edit);
        CorvexSimulator service;
        QString error;
        QCOMPARE(service.load(path, &error), message.isEmpty());
        QVERIFY2(message.isEmpty() ? error.isEmpty()
                                   : error.startsWith(path + ": ") && error.endsWith(message),
            qPrintable(error));
        QTEST(service.replyDelay(), "delay");
    }

    // Terminals on one server each hear their own replies, after the service's delay, and no
    // other; one that hangs up before its reply is due costs the service nothing, and a message
    // past the limit closes its own connection unread.
    void terminalsOnOneServer()
    {
        m_service.setReplyDelay(200);
        ServiceLimits limits;
        limits.maxMessageBytes = 4096;
        QWebSocket first, second, large;
        QSignalSpy firstReplies(&first, &QWebSocket::textMessageReceived);
        QSignalSpy secondReplies(&second, &QWebSocket::textMessageReceived);
        QSignalSpy largeReplies(&large, &QWebSocket::textMessageReceived);
        {
            QWebSocket leaving;
            QVERIFY(serve(limits, {&leaving, &first, &second, &large}));
            leaving.sendTextMessage(R"({"function":"listtid","phone":"9161234567","uid":"1"})");
            QTest::qWait(50);
        }
        large.sendTextMessage(bulkyRequest(5000));
        QTRY_COMPARE(large.state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(large.closeCode(), QWebSocketProtocol::CloseCodeTooMuchData);
        QElapsedTimer clock;
        clock.start();
        first.sendTextMessage(R"({"function":"listtid","phone":"9161234567","uid":"101"})");
        second.sendTextMessage(bulkyRequest(4000));
        first.sendTextMessage(R"({"function":"nosuch","uid":"103"})");
        QTRY_COMPARE(firstReplies.size() + secondReplies.size(), 3);
        QVERIFY(clock.elapsed() >= 150);
        QTest::qWait(250);
        QCOMPARE(firstReplies.size(), 2);
        QCOMPARE(secondReplies.size(), 1);
        QCOMPARE(largeReplies.size(), 0);
        QVERIFY(firstReplies.at(0).at(0).toString().contains(R"("uid":"101")"));
        QVERIFY(firstReplies.at(1).at(0).toString().contains(R"(Unknown function \"nosuch\")"));
        QVERIFY(secondReplies.at(0).at(0).toString().contains(QString(4000, 'u')));
    }

    // A silent connection is closed; one that waits for its reply gets it first.
    void idleConnections()
    {
        m_service.setReplyDelay(1500);
        ServiceLimits limits;
        limits.idleMs = 300;
        QWebSocket silent, waiting;
        QSignalSpy replies(&waiting, &QWebSocket::textMessageReceived);
        int repliesAtClose = -1, repliesAtSilentClose = -1;
        connect(&waiting, &QWebSocket::disconnected, [&] { repliesAtClose = replies.size(); });
        connect(&silent, &QWebSocket::disconnected, [&] { repliesAtSilentClose = replies.size(); });
        QVERIFY(serve(limits, {&silent, &waiting}));
        waiting.sendTextMessage(R"({"function":"listtid","phone":"9161234567","uid":"9"})");
        QTRY_COMPARE(silent.state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(silent.closeCode(), QWebSocketProtocol::CloseCodeGoingAway);
        QCOMPARE(repliesAtSilentClose, 0);
        QTRY_COMPARE(waiting.state(), QAbstractSocket::UnconnectedState);
        QCOMPARE(repliesAtClose, 1);
        QCOMPARE(waiting.closeCode(), QWebSocketProtocol::CloseCodeGoingAway);
        QTRY_COMPARE(m_server->connectionCount(), 0);
    }

    // A client that sends and never reads is dropped once its unread replies pass the limit; the
    // others are still served.
    void unreadReplies()
    {
        m_service.setReplyDelay(0);
        ServiceLimits limits;
        limits.maxUnsentBytes = 256 * 1024;
        QWebSocket reader;
        QSignalSpy replies(&reader, &QWebSocket::textMessageReceived);
        QVERIFY(serve(limits, {&reader}));
        QTcpSocket deaf;
        QVERIFY(rawHandshake(deaf, m_server->serverPort()));
        deaf.setReadBufferSize(1);
        QTRY_COMPARE(m_server->connectionCount(), 2);
        const QByteArray request = textFrame(bulkyRequest(60000).toUtf8());
        for (int i = 0; i < 300 && m_server->connectionCount() == 2; ++i) {
            deaf.write(request);
            QTest::qWait(5);
        }
        QTRY_COMPARE_WITH_TIMEOUT(m_server->connectionCount(), 1, 15000);
        reader.sendTextMessage(R"({"function":"listtid","phone":"9161234567","uid":"1"})");
        QTRY_COMPARE(replies.size(), 1);
    }

    // Once the service has closed a connection, a request that still arrives on it is not taken
    // (the client can send it again elsewhere), and a client that never answers the close does not
    // keep the connection.
    void requestAfterClose()
    {
        m_service.setReplyDelay(0);
        ServiceLimits limits;
        limits.idleMs = 200;
        QVERIFY(serve(limits));
        QTcpSocket late;
        QVERIFY(rawHandshake(late, m_server->serverPort()));
        QByteArray seen;
        QTRY_VERIFY((seen += late.readAll()).contains(char(0x88)));
        late.write(textFrame(bulkyRequest(200).toUtf8()));
        QTest::qWait(300);
        seen += late.readAll();
        QVERIFY(!seen.contains(QByteArray(200, 'u')));
        QTRY_COMPARE(m_server->connectionCount(), 0);
    }

    // The idle limit of the service program, from its command line.
    void idleOption()
    {
        ServiceProcess service;
        QVERIFY(service.start(CORVEX_DEMO_DATA_DIR "/service.json", {"--idle", "1"}));
        QWebSocket client;
        client.open(QUrl(service.url()));
        QTRY_COMPARE_WITH_TIMEOUT(client.state(), QAbstractSocket::UnconnectedState, 5000);
        QCOMPARE(client.closeCode(), QWebSocketProtocol::CloseCodeGoingAway);
    }

private:
    // Starts a server with `limits` on a free loopback port and connects `clients` to it.
    bool serve(const ServiceLimits &limits, std::initializer_list<QWebSocket *> clients = {})
    {
        m_server = std::make_unique<CorvexServiceServer>(&m_service, limits);
        if (!m_server->listen(QHostAddress::LocalHost, 0))
            return false;
        for (QWebSocket *client : clients)
            client->open(QUrl(QString("ws://127.0.0.1:%1").arg(m_server->serverPort())));
        return QTest::qWaitFor([clients] {
            return std::all_of(clients.begin(), clients.end(), [](QWebSocket *client) {
                return client->state() == QAbstractSocket::ConnectedState;
            });
        });
    }

    QTemporaryDir m_dir;
    CorvexSimulator m_service;
    std::unique_ptr<CorvexServiceServer> m_server;
};

QTEST_MAIN(TestDemoService)
#include "tst_demoservice.moc"
