#include "corvexserviceserver.h"

#include "corvexsimulator.h"

#include <QPointer>
#include <QWebSocket>
#include <QWebSocketServer>

CorvexServiceServer::CorvexServiceServer(CorvexSimulator *simulator, QObject *parent)
    : QObject(parent)
    , m_simulator(simulator)
    , m_server(new QWebSocketServer(
          QStringLiteral("corvex-service"), QWebSocketServer::NonSecureMode, this))
{
    connect(m_server, SIGNAL(newConnection()), this, SLOT(acceptConnection()));
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

void CorvexServiceServer::acceptConnection()
{
    while (QWebSocket *socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, SIGNAL(textMessageReceived(QString)), this, SLOT(handleMessage(QString)));
        connect(socket, SIGNAL(disconnected()), this, SLOT(dropConnection()));
    }
}

void CorvexServiceServer::handleMessage(const QString &message)
{
    auto *socket = qobject_cast<QWebSocket *>(sender());
    if (!socket)
        return;
    // The socket is the context: a client that disconnects before its reply is due gets none.
    QPointer<QWebSocket> target(socket);
    m_simulator->submit(message, socket, [target](const QString &reply) {
        if (target && target->state() == QAbstractSocket::ConnectedState)
            target->sendTextMessage(reply);
    });
}

void CorvexServiceServer::dropConnection()
{
    if (auto *socket = qobject_cast<QWebSocket *>(sender()))
        socket->deleteLater();
}
