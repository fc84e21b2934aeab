#ifndef CXWPREGISTRATIONADDRESS_H
#define CXWPREGISTRATIONADDRESS_H

#include "icxwizardpage.h"

#include <QWizardPage>

class Ui_CXWPRegistrationAddress;

// Customer registration, last page: the postal address. Its preview and request extend those
// of the page before it.
class CXWPRegistrationAddress : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    explicit CXWPRegistrationAddress(QWizard *wizard);
    ~CXWPRegistrationAddress() override;

    void initializePage() override;
    int nextId() const override;
    QString prepareAddress() const;
    QString preview() const override;
    CorvexRequest outputData() const override;

protected:
    void changeEvent(QEvent *event) override;

private:
    ICXWizardPage *previousPage() const;

    Ui_CXWPRegistrationAddress *ui;
    int m_previousPageId = -1;
};

#endif // CXWPREGISTRATIONADDRESS_H
