#ifndef FAKEHOST_H
#define FAKEHOST_H

#include "corvexprotocol.h"
#include "testutil.h"

#include <QMap>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

// The host's side of the message channel, handed to the plug-in as string signatures: a slot
// that takes the requests and a signal that carries the service's replies.
class FakeHost : public QObject
{
    Q_OBJECT

public:
    static const char *method() { return SLOT(deliver(QString, QVariant)); }
    static const char *signal() { return SIGNAL(reply(QVariantMap, QString)); }

    QStringList destinations;
    QList<QVariantMap> requests;

public slots:
    void deliver(const QString &destination, const QVariant &data)
    {
        destinations << destination;
        requests << data.toMap();
    }

signals:
    void reply(const QVariantMap &headers, const QString &message);
};

// A service behind the channel: answers each request on the next turn of the event loop with the
// next "params" queued for its function, or a plain success.
class AnsweringHost : public QObject
{
    Q_OBJECT

public:
    static const char *method() { return SLOT(deliver(QString, QVariant)); }
    static const char *signal() { return SIGNAL(reply(QVariantMap, QString)); }

    QMap<QString, QVariantList> answers;

public slots:
    void deliver(const QString &, const QVariant &data)
    {
        const QVariantMap request = data.toMap();
        const QString function = request.value(CorvexKey::Function).toString();
        const QVariantMap params = answers[function].isEmpty()
            ? QVariantMap {{CorvexKey::ErrorCode, 0}}
            : answers[function].takeFirst().toMap();
        const QString text = toJson({{CorvexKey::Uid, request.value(CorvexKey::Uid)},
            {CorvexKey::Error, false}, {CorvexKey::Params, params}});
        QTimer::singleShot(0, this, [this, text] { emit this->reply({}, text); });
    }

signals:
    void reply(const QVariantMap &headers, const QString &message);
};

#endif // FAKEHOST_H
