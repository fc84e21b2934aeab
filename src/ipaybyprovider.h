#ifndef IPAYBYPROVIDER_H
#define IPAYBYPROVIDER_H

#include "boxcomprofile.h"
#include "boxinfo.h"
#include "currency.h"
#include "fixnumber.h"
#include "provider.h"

#include <QFont>
#include <QObject>
#include <QSet>
#include <QtPlugin>

class IPayDialog;
class QWidget;

// Interface identifier of a payment plug-in; the same string is the plug-in metadata's "IID".
#define IPayByProvider_iid "com.dalmor.terminal.plugins.paybyprovider"

// The root object of a payment plug-in as the host sees it. The order of the virtual functions
// is part of the binary contract with the host: append, never reorder.
//
// Call order:
//   1. Load the module with QPluginLoader, check that its metadata's "IID" is IPayByProvider_iid,
//      and cast instance() with qobject_cast<IPayByProvider *>.
//   2. Optionally ask supportedProviders() or providerIsSupported().
//   3. setInputFont(), setMessageReciever(), setMessageSender() and setBoxInfo(). Each start()
//      copies what is stored at that moment, so later calls affect only later payments.
//   4. start() for each payment; then run the dialog it returns (see IPayDialog).
//
// Ownership: the root object belongs to the plug-in loader; the host may delete it, and the
// next instance() makes a new one. The plug-in keeps guarded pointers to the host's channel
// objects and never deletes them; a channel object destroyed before start() simply leaves the
// new wizard unconnected. Every value argument is copied.
//
// The message channel: the host's sender object takes every request as
// (QString destination, QVariant data) with the destination "/app/corvexRequest" and a
// QVariantMap as data; the receiver object's signal carries (QVariantMap headers, QString
// message), where message is the service's JSON reply with the request's "uid". Every open
// wizard is connected to the same signal and hears every reply; each keeps only the reply with
// its own uid, so the host needs no bookkeeping of its own. A reply must come within 60 seconds
// (the environment variable CORVEX_REPLY_TIMEOUT, in whole seconds, changes that for tests and
// demonstrations); after that the wizard shows a connection error.
class IPayByProvider
{
public:
    virtual ~IPayByProvider() { }

    virtual QSet<qint64> supportedProviders() const = 0;
    virtual bool providerIsSupported(qint64 id) const = 0;
    virtual bool providerIsSupported(const Provider &provider) const = 0;
    virtual void setInputFont(const QFont &font) = 0;
    // Signatures are passed in Qt's string form, e.g. SIGNAL(reply(QVariantMap,QString)) and
    // SLOT(send(QString,QVariant)); the plug-in copies the strings.
    virtual bool setMessageReciever(QObject *receiver, const char *signal) = 0;
    virtual bool setMessageSender(QObject *sender, const char *method) = 0;
    virtual void setBoxInfo(const BoxInfo &info) = 0;
    // A new payment wizard for `provider`, with the money already paid in (`prepay`). The host
    // owns the returned dialog: it is a child of `parent` when one is given, and the host
    // deletes it (through IPayDialog) otherwise.
    virtual IPayDialog *start(const Currency &currency, const FixNumber &prepay,
        const BoxComProfile &comProfile, const Provider &provider, QWidget *parent)
        = 0;
};

Q_DECLARE_INTERFACE(IPayByProvider, IPayByProvider_iid)

#endif // IPAYBYPROVIDER_H
