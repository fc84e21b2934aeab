#include "serviceconnection.h"

#include "corvexsimulator.h"

#include <QPointer>
#include <QWebSocket>

ServiceConnection::ServiceConnection(
    QWebSocket *socket, CorvexSimulator *simulator, const ServiceLimits &limits, QObject *parent)
    : QObject(parent)
    , m_socket(socket)
    , m_simulator(simulator)
    , m_limits(limits)
{
    m_socket->setParent(this);
    m_socket->setMaxAllowedIncomingMessageSize(quint64(m_limits.maxMessageBytes));
    m_socket->setMaxAllowedIncomingFrameSize(quint64(m_limits.maxMessageBytes));
    connect(m_socket, &QWebSocket::textMessageReceived, this, &ServiceConnection::handleMessage);
    connect(m_socket, &QWebSocket::bytesWritten, this, &ServiceConnection::written);
    connect(m_socket, &QWebSocket::disconnected, this, &ServiceConnection::closed);
    m_idle.setSingleShot(true);
    m_idle.setInterval(m_limits.idleMs);
    connect(&m_idle, &QTimer::timeout, this, &ServiceConnection::idle);
    m_idle.start();
}

void ServiceConnection::handleMessage(const QString &message)
{
    // Once the service has decided to close, it takes no more requests: a client whose request
    // crossed the close can tell it was never acted on and send it again.
    if (m_closing || m_socket->state() != QAbstractSocket::ConnectedState)
        return;
    m_idle.start();
    ++m_due;
    // The connection is the context: a client that disconnects before its reply is due gets none.
    QPointer<ServiceConnection> self(this);
    m_simulator->submit(message, this, [self](const QString &text) {
        if (self)
            self->reply(text);
    });
}

void ServiceConnection::reply(const QString &text)
{
    --m_due;
    if (m_closing || m_socket->state() != QAbstractSocket::ConnectedState)
        return;
    m_idle.start();
    m_unsent += m_socket->sendTextMessage(text);
    if (m_unsent > m_limits.maxUnsentBytes) {
        qWarning("corvex-service: dropped %s: %lld bytes of replies not read", qPrintable(peer()),
            m_unsent);
        m_closing = true;
        m_socket->abort();
    }
}

void ServiceConnection::written(qint64 bytes)
{
    // The written bytes count frame headers (and the handshake) too: never below zero.
    m_unsent = qMax<qint64>(0, m_unsent - bytes);
}

void ServiceConnection::idle()
{
    if (m_closing)
        return;
    if (m_due > 0) {
        m_idle.start();
        return;
    }
    qInfo("corvex-service: closed %s: silent for %d ms", qPrintable(peer()), m_limits.idleMs);
    m_closing = true;
    m_socket->close(QWebSocketProtocol::CloseCodeGoingAway, QStringLiteral("idle"));
}

void ServiceConnection::closed()
{
    m_closing = true;
    m_idle.stop();
    deleteLater();
}

QString ServiceConnection::peer() const
{
    return QStringLiteral("%1:%2")
        .arg(m_socket->peerAddress().toString())
        .arg(m_socket->peerPort());
}
