#ifndef CXWPREGISTRATIONDOCUMENTS_H
#define CXWPREGISTRATIONDOCUMENTS_H

#include "icxwizardpage.h"

#include <QWizardPage>

// Customer registration: identity document. Its form, and the choice to skip the address, come
// later.
class CXWPRegistrationDocuments : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    explicit CXWPRegistrationDocuments(QWizard *wizard);

    int nextId() const override;
    QString preview() const override;
    CorvexRequest outputData() const override;

private:
    QWizard *m_wizard;
};

#endif // CXWPREGISTRATIONDOCUMENTS_H
