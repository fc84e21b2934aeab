#ifndef FAKEHOST_H
#define FAKEHOST_H

#include "corvexprotocol.h"
#include "testutil.h"

#include <QObject>
#include <QStringList>
#include <QVariantMap>

// The host's side of the message channel, handed to the plug-in as string signatures: a slot
// that takes the requests and a signal that carries the service's replies.
class FakeHost : public QObject
{
    Q_OBJECT

public:
    static const char *method() { return SLOT(deliver(QString, QVariant)); }
    static const char *signal() { return SIGNAL(reply(QVariantMap, QString)); }

    QList<QVariantMap> requests;

public slots:
    void deliver(const QString &, const QVariant &data) { requests << data.toMap(); }

signals:
    void reply(const QVariantMap &headers, const QString &message);
};

#endif // FAKEHOST_H
