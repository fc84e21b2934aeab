#ifndef SERVICELINK_H
#define SERVICELINK_H

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

class CorvexSimulator;
class QWebSocket;

// The terminal's line to the payment service: request texts go out, reply texts come back.
// The terminal talks to every kind of line the same way.
class ServiceLink : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual void post(const QString &request) = 0;
    virtual QString describe() const = 0;

signals:
    void received(const QString &reply);
    // Something went wrong on the line; the requests in flight get no reply.
    void problem(const QString &what);
};

// A simulated service inside the terminal's own process.
class LocalServiceLink : public ServiceLink
{
    Q_OBJECT

public:
    LocalServiceLink(
        CorvexSimulator *simulator, const QString &dataFile, QObject *parent = nullptr);

    void post(const QString &request) override;
    QString describe() const override;

private:
    CorvexSimulator *m_simulator;
    QString m_dataFile;
};

// A service reached over a WebSocket. The connection is opened on the first request and again
// after it was lost; requests written while it opens wait for it.
class WebSocketServiceLink : public ServiceLink
{
    Q_OBJECT

public:
    explicit WebSocketServiceLink(const QUrl &url, QObject *parent = nullptr);

    // ws://HOST:PORT only; false with a reason for anything else.
    static bool isUsable(const QUrl &url, QString *reason);

    void post(const QString &request) override;
    QString describe() const override;

private slots:
    void connected();
    void disconnected();
    void failed();
    void message(const QString &text);

private:
    void dropWaiting(const QString &why);

    QUrl m_url;
    QWebSocket *m_socket;
    QList<QString> m_waiting;
};

#endif // SERVICELINK_H
