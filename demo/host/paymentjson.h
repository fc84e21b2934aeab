#ifndef PAYMENTJSON_H
#define PAYMENTJSON_H

#include "payment.h"

#include <QJsonObject>

// The payment a plug-in handed back, as the terminal would pass it on for posting: amounts as
// decimal text, the details as the plug-in built them and the receipt lines.
QJsonObject paymentToJson(const Payment &payment, bool immediatePost);

#endif // PAYMENTJSON_H
