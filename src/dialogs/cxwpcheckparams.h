#ifndef CXWPCHECKPARAMS_H
#define CXWPCHECKPARAMS_H

#include "icxwizardpage.h"

#include <QWizardPage>

// The bank's BIK to check. Its form comes later.
class CXWPCheckParams : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    explicit CXWPCheckParams(QWizard *wizard);

    int nextId() const override;
    QString preview() const override;
    CorvexRequest outputData() const override;

private:
    QWizard *m_wizard;
};

#endif // CXWPCHECKPARAMS_H
