#ifndef CXWPREGISTRATIONDOCUMENTS_H
#define CXWPREGISTRATIONDOCUMENTS_H

#include "icxwizardpage.h"

#include <QWizardPage>

class Ui_CXWPRegistrationDocuments;

// Customer registration, second page: the identity document, birth data and citizenship. Its
// preview and request extend those of the page before it.
class CXWPRegistrationDocuments : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    explicit CXWPRegistrationDocuments(QWizard *wizard);
    ~CXWPRegistrationDocuments() override;

    void initializePage() override;
    int nextId() const override;
    QString preview() const override;
    CorvexRequest outputData() const override;

protected:
    void changeEvent(QEvent *event) override;

private:
    ICXWizardPage *previousPage() const;
    void limitDatesToToday();
    void retranslateDocumentTypes();

    Ui_CXWPRegistrationDocuments *ui;
    int m_previousPageId = -1;
};

#endif // CXWPREGISTRATIONDOCUMENTS_H
