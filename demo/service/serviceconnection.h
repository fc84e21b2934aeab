#ifndef SERVICECONNECTION_H
#define SERVICECONNECTION_H

#include <QObject>
#include <QTimer>

class CorvexSimulator;
class QWebSocket;

// What one connection may cost the service before it is closed.
struct ServiceLimits
{
    // A request is a few hundred bytes; a larger message closes the connection (code 1009)
    // before it is read whole.
    qint64 maxMessageBytes = 1 << 20;
    // Replies queued for a client that does not read them; past this the connection is dropped.
    qint64 maxUnsentBytes = 8 << 20;
    // A connection with no message either way and no reply due for this long is closed.
    int idleMs = 300000;
};

// One client of the server, with its limits.
class ServiceConnection : public QObject
{
    Q_OBJECT

public:
    ServiceConnection(QWebSocket *socket, CorvexSimulator *simulator, const ServiceLimits &limits,
        QObject *parent);

private slots:
    void handleMessage(const QString &message);
    void written(qint64 bytes);
    void idle();
    void closed();

private:
    void reply(const QString &text);
    QString peer() const;

    QWebSocket *m_socket;
    CorvexSimulator *m_simulator;
    ServiceLimits m_limits;
    QTimer m_idle;
    // Reply bytes handed to the socket and not yet reported written. The count leaves out
    // the frame headers, so it never exceeds what the socket really holds.
    qint64 m_unsent = 0;
    int m_due = 0;
    bool m_closing = false;
};

#endif // SERVICECONNECTION_H
