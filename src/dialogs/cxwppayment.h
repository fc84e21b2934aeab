#ifndef CXWPPAYMENT_H
#define CXWPPAYMENT_H

#include "icxwizardpage.h"

#include "payment.h"

#include <QWizardPage>

// The last page: the provider form and the payment record. The form comes later; until then
// the page yields a default payment.
class CXWPPayment : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    explicit CXWPPayment(QWizard *wizard);

    int nextId() const override;
    QString preview() const override;
    CorvexRequest outputData() const override;

    Payment payment() const;
    bool immidiatlyPost() const;

private:
    QWizard *m_wizard;
};

#endif // CXWPPAYMENT_H
