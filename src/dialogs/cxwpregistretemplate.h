#ifndef CXWPREGISTRETEMPLATE_H
#define CXWPREGISTRETEMPLATE_H

#include "icxwizardpage.h"

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QVariantMap>
#include <QWizardPage>

class CXInputNote;
class QLineEdit;
class Ui_CXWPRegistreTemplate;

// Registration of a new template: the bank that the parameter check named, one input per
// template parameter it announced, the customer's phone and an optional planned amount.
class CXWPRegistreTemplate : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    explicit CXWPRegistreTemplate(QWizard *wizard);
    ~CXWPRegistreTemplate() override;

    void initializePage() override;
    void cleanupPage() override;
    bool isComplete() const override;
    int nextId() const override;
    QString preview() const override;
    CorvexRequest outputData() const override;

    void clearParams();

protected:
    void changeEvent(QEvent *event) override;

private:
    void showBank();
    void addParam(const QString &name);
    qint64 plannedAmount() const;

    Ui_CXWPRegistreTemplate *ui;
    QList<QPointer<QLineEdit>> m_paramEdits;
    QVariantMap m_replyParams;
    // The reply's bank is shown only when this page was entered from a sender page.
    bool m_replied = false;
    // One field name per possible parameter row, unique to this page instance.
    QStringList m_paramFieldNames;
    // Says in words which input keeps Next grey: the phone or an empty parameter.
    CXInputNote *m_note = nullptr;
};

#endif // CXWPREGISTRETEMPLATE_H
