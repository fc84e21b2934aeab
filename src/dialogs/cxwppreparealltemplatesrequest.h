#ifndef CXWPPREPAREALLTEMPLATESREQUEST_H
#define CXWPPREPAREALLTEMPLATESREQUEST_H

#include "icxwizardpage.h"

#include <QWizardPage>

// The customer's phone for the template look-up. Its form comes later.
class CXWPPrepareAllTemplatesRequest : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    explicit CXWPPrepareAllTemplatesRequest(QWizard *wizard);

    int nextId() const override;
    QString preview() const override;
    CorvexRequest outputData() const override;

private:
    QWizard *m_wizard;
};

#endif // CXWPPREPAREALLTEMPLATESREQUEST_H
