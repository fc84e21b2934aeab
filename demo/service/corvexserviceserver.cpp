#include "corvexserviceserver.h"

#include "corvexsimulator.h"

#include <QWebSocket>
#include <QWebSocketServer>

CorvexServiceServer::CorvexServiceServer(
    CorvexSimulator *simulator, const ServiceLimits &limits, QObject *parent)
    : QObject(parent)
    , m_simulator(simulator)
    , m_limits(limits)
    , m_server(new QWebSocketServer(
          QStringLiteral("corvex-service"), QWebSocketServer::NonSecureMode, this))
{
    // A client that connects and never finishes the opening handshake is dropped.
    m_server->setHandshakeTimeout(10000);
    connect(
        m_server, &QWebSocketServer::newConnection, this, &CorvexServiceServer::acceptConnection);
}

bool CorvexServiceServer::listen(const QHostAddress &address, quint16 port)
{
    return m_server->listen(address, port);
}

quint16 CorvexServiceServer::serverPort() const
{
    return m_server->serverPort();
}

QString CorvexServiceServer::errorString() const
{
    return m_server->errorString();
}

int CorvexServiceServer::connectionCount() const
{
    return findChildren<ServiceConnection *>(QString(), Qt::FindDirectChildrenOnly).size();
}

void CorvexServiceServer::acceptConnection()
{
    while (QWebSocket *socket = m_server->nextPendingConnection())
        new ServiceConnection(socket, m_simulator, m_limits, this);
}
