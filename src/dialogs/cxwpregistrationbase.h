#ifndef CXWPREGISTRATIONBASE_H
#define CXWPREGISTRATIONBASE_H

#include "icxwizardpage.h"

#include <QWizardPage>

class Ui_CXWPRegistrationBase;

// Customer registration, first page: the mobile phone and the full name, and whether the
// documents (and the address) pages are skipped.
class CXWPRegistrationBase : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    explicit CXWPRegistrationBase(QWizard *wizard);
    ~CXWPRegistrationBase() override;

    bool skipDocuments() const;
    bool skipAddress() const;

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
    Ui_CXWPRegistrationBase *ui;
};

#endif // CXWPREGISTRATIONBASE_H
