#include "servicelink.h"

#include "corvexsimulator.h"

#include <QWebSocket>

LocalServiceLink::LocalServiceLink(
    CorvexSimulator *simulator, const QString &dataFile, QObject *parent)
    : ServiceLink(parent)
    , m_simulator(simulator)
    , m_dataFile(dataFile)
{ }

void LocalServiceLink::post(const QString &request)
{
    m_simulator->submit(request, this, [this](const QString &reply) { emit received(reply); });
}

QString LocalServiceLink::describe() const
{
    return QStringLiteral("simulated service in this process (%1, replies after %2 ms)")
        .arg(m_dataFile)
        .arg(m_simulator->replyDelay());
}

WebSocketServiceLink::WebSocketServiceLink(const QUrl &url, QObject *parent)
    : ServiceLink(parent)
    , m_url(url)
    , m_socket(new QWebSocket(QString(), QWebSocketProtocol::VersionLatest, this))
{
    connect(m_socket, SIGNAL(connected()), this, SLOT(connected()));
    connect(m_socket, SIGNAL(disconnected()), this, SLOT(disconnected()));
    connect(m_socket, SIGNAL(error(QAbstractSocket::SocketError)), this, SLOT(failed()));
    connect(m_socket, SIGNAL(textMessageReceived(QString)), this, SLOT(message(QString)));
}

bool WebSocketServiceLink::isUsable(const QUrl &url, QString *reason)
{
    if (!url.isValid() || url.scheme() != QLatin1String("ws") || url.host().isEmpty()
        || url.port() <= 0) {
        *reason = QStringLiteral("--service needs ws://HOST:PORT, not \"%1\"").arg(url.toString());
        return false;
    }
    return true;
}

void WebSocketServiceLink::post(const QString &request)
{
    if (m_socket->state() == QAbstractSocket::ConnectedState) {
        m_socket->sendTextMessage(request);
        return;
    }
    m_waiting << request;
    if (m_socket->state() == QAbstractSocket::UnconnectedState)
        m_socket->open(m_url);
}

QString WebSocketServiceLink::describe() const
{
    return QStringLiteral("service at %1").arg(m_url.toString());
}

void WebSocketServiceLink::connected()
{
    const QList<QString> waiting = m_waiting;
    m_waiting.clear();
    for (const QString &request : waiting)
        m_socket->sendTextMessage(request);
}

void WebSocketServiceLink::disconnected()
{
    dropWaiting(QStringLiteral("connection to %1 closed").arg(m_url.toString()));
}

void WebSocketServiceLink::failed()
{
    dropWaiting(QStringLiteral("%1: %2").arg(m_url.toString(), m_socket->errorString()));
}

void WebSocketServiceLink::message(const QString &text)
{
    emit received(text);
}

void WebSocketServiceLink::dropWaiting(const QString &why)
{
    // The wizard's own time-out tells the operator; the line only reports what happened.
    m_waiting.clear();
    emit problem(why);
}
