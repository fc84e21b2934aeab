#ifndef CXWPREQUEST_H
#define CXWPREQUEST_H

#include "corvexpaywizard.h"
#include "corvexrequest.h"
#include "icxwizardpage.h"

#include <QString>
#include <QVariantMap>

#include <QDateTime>

namespace CXWPRequest {

// The terminal's box id that seeds this wizard's uids; a default terminal's without a payment
// wizard.
inline qint64 boxId(QWizard *wizard)
{
    auto *payWizard = qobject_cast<CorvexPayWizard *>(wizard);
    return (payWizard ? payWizard->info() : BoxInfo()).boxId();
}

// The same request under a uid other than the one it had, so that a late reply to the one given
// up on is still told apart.
inline void renewUid(QWizard *wizard, CorvexRequest &request)
{
    const qint64 previous = request.uid();
    QDateTime moment = QDateTime::currentDateTime();
    do {
        request.generateUid(boxId(wizard), moment);
        moment = moment.addMSecs(1);
    } while (request.uid() == previous);
}

// A fresh request of a data page: the wizard's currency code and a uid seeded by the terminal's
// box id. Without a payment wizard the currency id is 0 and the uid comes from a default
// terminal.
inline CorvexRequest make(QWizard *wizard, const QString &function,
    CorvexRequest::ERequestType type, const QVariantMap &data)
{
    auto *payWizard = qobject_cast<CorvexPayWizard *>(wizard);
    const QSharedPointer<Currency> currency = payWizard ? payWizard->currency() : nullptr;

    CorvexRequest request;
    request.setFunction(function);
    request.setType(type);
    request.setCurrencyId(currency ? currency->number3() : 0);
    request.setData(data);
    request.generateUid(boxId(wizard));
    return request;
}

// The request of the page before, with `added` set over its data and a new uid: a page that
// extends what earlier pages collected. Without a previous page it starts from an empty request.
inline CorvexRequest extend(
    QWizard *wizard, const ICXWizardPage *previous, const QVariantMap &added)
{
    CorvexRequest request = previous ? previous->outputData() : CorvexRequest();
    QVariantMap data = request.data();
    for (auto it = added.constBegin(); it != added.constEnd(); ++it)
        data.insert(it.key(), it.value());
    request.setData(data);
    request.generateUid(boxId(wizard));
    return request;
}

} // namespace CXWPRequest

#endif // CXWPREQUEST_H
