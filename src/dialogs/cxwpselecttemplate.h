#ifndef CXWPSELECTTEMPLATE_H
#define CXWPSELECTTEMPLATE_H

#include "icxwizardpage.h"

#include <QWizardPage>

// The customer's templates. Its list, with the "Add new" row, comes later.
class CXWPSelectTemplate : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    explicit CXWPSelectTemplate(QWizard *wizard);

    int nextId() const override;
    QString preview() const override;
    CorvexRequest outputData() const override;

private:
    QWizard *m_wizard;
};

#endif // CXWPSELECTTEMPLATE_H
