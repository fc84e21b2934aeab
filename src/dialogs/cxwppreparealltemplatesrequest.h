#ifndef CXWPPREPAREALLTEMPLATESREQUEST_H
#define CXWPPREPAREALLTEMPLATESREQUEST_H

#include "icxwizardpage.h"

#include <QWizardPage>

class Ui_CXWPPrepareAllTemplatesRequest;

// The customer's mobile phone whose templates the service is asked to list.
class CXWPPrepareAllTemplatesRequest : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    explicit CXWPPrepareAllTemplatesRequest(QWizard *wizard);
    ~CXWPPrepareAllTemplatesRequest() override;

    void initializePage() override;
    bool isComplete() const override;
    int nextId() const override;
    QString preview() const override;
    CorvexRequest outputData() const override;

public slots:
    void onCompleteChanged();

protected:
    void changeEvent(QEvent *event) override;

private:
    Ui_CXWPPrepareAllTemplatesRequest *ui;
};

#endif // CXWPPREPAREALLTEMPLATESREQUEST_H
