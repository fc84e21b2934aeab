#ifndef CORVEXSERVICESERVER_H
#define CORVEXSERVICESERVER_H

#include "serviceconnection.h"

#include <QHostAddress>
#include <QObject>

class CorvexSimulator;
class QWebSocketServer;

// Serves a simulator over WebSocket text messages: every message is one request as JSON, and
// its reply goes back on the same connection only, so that any number of terminals can share
// one service.
class CorvexServiceServer : public QObject
{
    Q_OBJECT

public:
    explicit CorvexServiceServer(
        CorvexSimulator *simulator, const ServiceLimits &limits = {}, QObject *parent = nullptr);

    // Port 0 picks a free port; serverPort() tells which.
    bool listen(const QHostAddress &address, quint16 port);
    quint16 serverPort() const;
    QString errorString() const;
    int connectionCount() const;

private slots:
    void acceptConnection();

private:
    CorvexSimulator *m_simulator;
    ServiceLimits m_limits;
    QWebSocketServer *m_server;
};

#endif // CORVEXSERVICESERVER_H
