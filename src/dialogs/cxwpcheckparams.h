#ifndef CXWPCHECKPARAMS_H
#define CXWPCHECKPARAMS_H

#include "icxwizardpage.h"

#include <QWizardPage>

class Ui_CXWPCheckParams;

// The bank identification code (BIK, nine digits) whose template parameters the service is asked
// for.
class CXWPCheckParams : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    explicit CXWPCheckParams(QWizard *wizard);
    ~CXWPCheckParams() override;

    void initializePage() override;
    int nextId() const override;
    QString preview() const override;
    CorvexRequest outputData() const override;

protected:
    void changeEvent(QEvent *event) override;

private:
    Ui_CXWPCheckParams *ui;
};

#endif // CXWPCHECKPARAMS_H
