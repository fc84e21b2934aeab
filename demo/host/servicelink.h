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
    // Something went wrong on the line.
    void problem(const QString &what);
    // The request with this uid will get no reply from the service: it could not be sent, or
    // the line was lost before its reply came.
    void undelivered(const QString &uid, const QString &why);
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
//
// A request counts as delivered once its reply (the same "uid") has come back. When the service
// closes the connection cleanly (a close frame with code 1000 or 1001, as on its idle limit) it
// has answered everything it took and takes nothing after deciding to close, so a request still
// without reply then never reached it: it is sent once more on a new connection. A request that
// is cut off a second time, or by a connection that broke without a close (the service may have
// acted on it), is given up and reported as undelivered at once, and so is every request while
// the service cannot be reached: the operator sees the connection error and may try again.
class WebSocketServiceLink : public ServiceLink
{
    Q_OBJECT

public:
    // A reply larger than this closes the connection (code 1009) before it is read whole.
    static constexpr qint64 MaxReplyBytes = 64 << 20;

    explicit WebSocketServiceLink(
        const QUrl &url, qint64 maxReplyBytes = MaxReplyBytes, QObject *parent = nullptr);

    // ws://HOST:PORT only; false with a reason for anything else.
    static bool isUsable(const QUrl &url, QString *reason);

    void post(const QString &request) override;
    QString describe() const override;

private slots:
    void open();
    // Sends every waiting request, once connected.
    void sendWaiting();
    void closing();
    void disconnected();
    void failed();
    void message(const QString &text);

private:
    struct Request
    {
        QString text;
        QString uid;
        bool resent = false;
    };

    // Reports each of `requests` as undelivered.
    void giveUp(const QList<Request> &requests, const QString &why);

    QUrl m_url;
    QWebSocket *m_socket;
    // Not yet written: the connection is opening or closing.
    QList<Request> m_waiting;
    // Written on the open connection, no reply yet.
    QList<Request> m_written;
    bool m_closeReceived = false;
};

#endif // SERVICELINK_H
