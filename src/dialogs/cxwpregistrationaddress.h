#ifndef CXWPREGISTRATIONADDRESS_H
#define CXWPREGISTRATIONADDRESS_H

#include "icxwizardpage.h"

#include <QWizardPage>

// Customer registration: postal address. Its form comes later.
class CXWPRegistrationAddress : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    explicit CXWPRegistrationAddress(QWizard *wizard);

    int nextId() const override;
    QString preview() const override;
    CorvexRequest outputData() const override;

private:
    QWizard *m_wizard;
};

#endif // CXWPREGISTRATIONADDRESS_H
