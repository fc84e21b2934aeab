#ifndef TERMINALCHANNEL_H
#define TERMINALCHANNEL_H

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantMap>

class ServiceLink;
class QTextStream;

// The terminal's message channel as a payment plug-in sees it: a slot that takes the plug-in's
// requests and a signal that carries the service's replies. Requests travel to the service as
// JSON text; every reply goes to every open payment dialog, which keeps its own.
class TerminalChannel : public QObject
{
    Q_OBJECT

public:
    // The destination of the service's requests and the name the replies travel under.
    static const QString REQUEST_DESTINATION;
    static const QString REPLY_NAME;

    explicit TerminalChannel(ServiceLink *link, QObject *parent = nullptr);

    // Writes every request, reply and line problem to `log` (null: no log).
    void setLog(QTextStream *log) { m_log = log; }

    static const char *sendSlot() { return SLOT(send(QString, QVariant)); }
    static const char *replySignal() { return SIGNAL(reply(QVariantMap, QString)); }

public slots:
    void send(const QString &destination, const QVariant &data);

signals:
    void reply(const QVariantMap &headers, const QString &message);

private slots:
    void received(const QString &text);
    void problem(const QString &what);
    // Answers a request that will get no reply from the service on its behalf, at once.
    void undelivered(const QString &uid, const QString &why);

private:
    void write(const QString &line);
    // A reply's text to the plug-in, logged after `kind`.
    void pass(const QString &kind, const QString &text);

    ServiceLink *m_link;
    QTextStream *m_log = nullptr;
};

#endif // TERMINALCHANNEL_H
