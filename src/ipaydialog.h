#ifndef IPAYDIALOG_H
#define IPAYDIALOG_H

#include "payment.h"

#include <QtGlobal>

class QObject;

// The payment dialog that IPayByProvider::start() returns. The host owns it and deletes it
// through this interface. The order of the virtual functions is part of the binary contract
// with the host: append, never reorder.
//
// Use: call execute(); when it returns true, read payment() and immidiatlyPost() before the
// dialog is deleted. payment() is meaningful only then, after the operator finished the
// payment: the record is built from the payment page's form, which exists only while the
// dialog does. Before that, or after a cancel, it is a default Payment (or the state of a form
// the operator never finished) and must not be posted.
class IPayDialog
{
public:
    virtual ~IPayDialog() { }

    virtual Payment payment() const = 0;
    // True: post the payment now; false: the operator put it into the basket.
    virtual bool immidiatlyPost() const = 0;
    virtual qint64 providerId() const = 0;
    virtual qint64 newProviderId() const = 0;
    virtual bool needChangeProvider() const = 0;
    // Runs the dialog modally; true when the operator finished it.
    virtual bool execute() = 0;
    // Accepted for compatibility; connects nothing and returns false.
    virtual bool setTemplatesConnection(QObject *object, const char *member) = 0;
    // Each call adds one more connection to the host's channel (IPayByProvider::start() already
    // made one): calling these again delivers every message twice.
    virtual bool setMessageReciever(QObject *receiver, const char *signal) = 0;
    virtual bool setMessageSender(QObject *sender, const char *method) = 0;
};

#endif // IPAYDIALOG_H
