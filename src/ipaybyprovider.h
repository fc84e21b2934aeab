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
class IPayByProvider
{
public:
    virtual ~IPayByProvider() { }

    virtual QSet<qint64> supportedProviders() const = 0;
    virtual bool providerIsSupported(qint64 id) const = 0;
    virtual bool providerIsSupported(const Provider &provider) const = 0;
    virtual void setInputFont(const QFont &font) = 0;
    // Signatures are passed in Qt's string form, e.g. SIGNAL(reply(QVariantMap,QString)).
    virtual bool setMessageReciever(QObject *receiver, const char *signal) = 0;
    virtual bool setMessageSender(QObject *sender, const char *method) = 0;
    virtual void setBoxInfo(const BoxInfo &info) = 0;
    virtual IPayDialog *start(const Currency &currency, const FixNumber &prepay,
        const BoxComProfile &comProfile, const Provider &provider, QWidget *parent)
        = 0;
};

Q_DECLARE_INTERFACE(IPayByProvider, IPayByProvider_iid)

#endif // IPAYBYPROVIDER_H
