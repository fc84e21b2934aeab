#ifndef CXWPREQUEST_H
#define CXWPREQUEST_H

#include "corvexpaywizard.h"
#include "corvexrequest.h"
#include "icxwizardpage.h"

#include <QString>
#include <QVariantMap>

namespace CXWPRequest {

// A fresh request of a data page: the wizard's currency code and a uid seeded by the terminal's
// box id. Without a payment wizard the currency id is 0 and the uid comes from a default
// terminal.
inline CorvexRequest make(QWizard *wizard, const QString &function,
    CorvexRequest::ERequestType type, const QVariantMap &data)
{
    auto *payWizard = qobject_cast<CorvexPayWizard *>(wizard);
    const BoxInfo info = payWizard ? payWizard->info() : BoxInfo();
    const QSharedPointer<Currency> currency = payWizard ? payWizard->currency() : nullptr;

    CorvexRequest request;
    request.setFunction(function);
    request.setType(type);
    request.setCurrencyId(currency ? currency->number3() : 0);
    request.setData(data);
    request.generateUid(info.boxId());
    return request;
}

// The request of the page before, with `added` set over its data and a new uid: a page that
// extends what earlier pages collected. Without a previous page it starts from an empty request.
inline CorvexRequest extend(
    QWizard *wizard, const ICXWizardPage *previous, const QVariantMap &added)
{
    auto *payWizard = qobject_cast<CorvexPayWizard *>(wizard);
    const BoxInfo info = payWizard ? payWizard->info() : BoxInfo();

    CorvexRequest request = previous ? previous->outputData() : CorvexRequest();
    QVariantMap data = request.data();
    for (auto it = added.constBegin(); it != added.constEnd(); ++it)
        data.insert(it.key(), it.value());
    request.setData(data);
    request.generateUid(info.boxId());
    return request;
}

} // namespace CXWPRequest

#endif // CXWPREQUEST_H
