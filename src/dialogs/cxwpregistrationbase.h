#ifndef CXWPREGISTRATIONBASE_H
#define CXWPREGISTRATIONBASE_H

#include "icxwizardpage.h"

#include <QWizardPage>

// Customer registration: phone and name. Its form, and the choice to skip the documents, come
// later.
class CXWPRegistrationBase : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    explicit CXWPRegistrationBase(QWizard *wizard);

    int nextId() const override;
    QString preview() const override;
    CorvexRequest outputData() const override;

private:
    QWizard *m_wizard;
};

#endif // CXWPREGISTRATIONBASE_H
