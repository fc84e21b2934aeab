#include "servicelink.h"

#include "corvexsimulator.h"

#include <QJsonDocument>
#include <QJsonObject>
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

namespace {

// The "uid" of a request or reply as text (the service may echo it as a number); empty when
// there is none.
QString uidOf(const QString &text)
{
    const QJsonValue uid
        = QJsonDocument::fromJson(text.toUtf8()).object().value(QStringLiteral("uid"));
    if (uid.isString())
        return uid.toString();
    if (uid.isDouble())
        return QString::number(uid.toDouble(), 'f', 0);
    return QString();
}

} // namespace

WebSocketServiceLink::WebSocketServiceLink(const QUrl &url, qint64 maxReplyBytes, QObject *parent)
    : ServiceLink(parent)
    , m_url(url)
    , m_socket(new QWebSocket(QString(), QWebSocketProtocol::VersionLatest, this))
{
    m_socket->setMaxAllowedIncomingMessageSize(quint64(maxReplyBytes));
    m_socket->setMaxAllowedIncomingFrameSize(quint64(maxReplyBytes));
    connect(m_socket, &QWebSocket::connected, this, &WebSocketServiceLink::sendWaiting);
    connect(m_socket, &QWebSocket::aboutToClose, this, &WebSocketServiceLink::closing);
    connect(m_socket, &QWebSocket::disconnected, this, &WebSocketServiceLink::disconnected);
    // Qt 6.5 names the signal errorOccurred; error() is also the getter.
    connect(m_socket, QOverload<QAbstractSocket::SocketError>::of(&QWebSocket::error), this,
        &WebSocketServiceLink::failed);
    connect(m_socket, &QWebSocket::textMessageReceived, this, &WebSocketServiceLink::message);
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
    m_waiting << Request {request, uidOf(request)};
    if (m_socket->state() == QAbstractSocket::ConnectedState && !m_closeReceived)
        sendWaiting();
    else if (m_socket->state() == QAbstractSocket::UnconnectedState)
        open();
}

QString WebSocketServiceLink::describe() const
{
    return QStringLiteral("service at %1").arg(m_url.toString());
}

void WebSocketServiceLink::open()
{
    if (m_socket->state() != QAbstractSocket::UnconnectedState)
        return;
    m_closeReceived = false;
    m_socket->open(m_url);
}

void WebSocketServiceLink::sendWaiting()
{
    const QList<Request> waiting = m_waiting;
    m_waiting.clear();
    for (const Request &request : waiting) {
        m_socket->sendTextMessage(request.text);
        m_written << request;
    }
}

void WebSocketServiceLink::closing()
{
    // A close handshake began: the service's close frame, or the socket's own close of a reply
    // past the size limit (code 1009). The link itself never closes with 1000 or 1001.
    m_closeReceived = true;
}

void WebSocketServiceLink::disconnected()
{
    const QWebSocketProtocol::CloseCode code = m_socket->closeCode();
    const bool clean = m_closeReceived
        && (code == QWebSocketProtocol::CloseCodeNormal
            || code == QWebSocketProtocol::CloseCodeGoingAway);
    const QList<Request> undelivered = m_written + m_waiting;
    m_written.clear();
    m_waiting.clear();

    QString why = QStringLiteral("connection to %1 closed").arg(m_url.toString());
    if (m_closeReceived) {
        why += QStringLiteral(" (close code %1%2)")
                   .arg(int(code))
                   .arg(m_socket->closeReason().isEmpty()
                           ? QString()
                           : QStringLiteral(", ") + m_socket->closeReason());
    }
    int again = 0;
    QList<Request> lost;
    for (Request request : undelivered) {
        if (clean && !request.resent && !request.uid.isEmpty()) {
            request.resent = true;
            m_waiting << request;
            ++again;
        } else {
            lost << request;
        }
    }
    if (again > 0)
        why += QStringLiteral("; %1 request(s) without a reply sent again").arg(again);
    if (!lost.isEmpty())
        why += QStringLiteral("; %1 request(s) without a reply dropped").arg(lost.size());
    emit problem(why);
    giveUp(lost, why);
    // Not from inside the socket's own disconnect: once it has settled.
    if (!m_waiting.isEmpty())
        QMetaObject::invokeMethod(this, "open", Qt::QueuedConnection);
}

void WebSocketServiceLink::failed()
{
    // What went wrong; disconnected(), which follows even when no connection opened, settles
    // the requests.
    emit problem(QStringLiteral("%1: %2").arg(m_url.toString(), m_socket->errorString()));
}

void WebSocketServiceLink::giveUp(const QList<Request> &requests, const QString &why)
{
    for (const Request &request : requests) {
        if (!request.uid.isEmpty())
            emit undelivered(request.uid, why);
    }
}

void WebSocketServiceLink::message(const QString &text)
{
    // Only a request still waiting for its reply needs the reply's uid read.
    const QString uid = m_written.isEmpty() ? QString() : uidOf(text);
    for (int i = 0; !uid.isEmpty() && i < m_written.size(); ++i) {
        if (m_written.at(i).uid == uid) {
            m_written.removeAt(i);
            break;
        }
    }
    emit received(text);
}
