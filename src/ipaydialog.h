#ifndef IPAYDIALOG_H
#define IPAYDIALOG_H

#include "payment.h"

#include <QtGlobal>

class QObject;

// The payment dialog that IPayByProvider::start() returns. The host owns it and deletes it
// through this interface. The order of the virtual functions is part of the binary contract
// with the host: append, never reorder.
class IPayDialog
{
public:
    virtual ~IPayDialog() { }

    virtual Payment payment() const = 0;
    virtual bool immidiatlyPost() const = 0;
    virtual qint64 providerId() const = 0;
    virtual qint64 newProviderId() const = 0;
    virtual bool needChangeProvider() const = 0;
    // Runs the dialog modally; true when the operator finished it.
    virtual bool execute() = 0;
    virtual bool setTemplatesConnection(QObject *object, const char *member) = 0;
    virtual bool setMessageReciever(QObject *receiver, const char *signal) = 0;
    virtual bool setMessageSender(QObject *sender, const char *method) = 0;
};

#endif // IPAYDIALOG_H
