#ifndef CXWPSELECTTEMPLATE_H
#define CXWPSELECTTEMPLATE_H

#include "icxwizardpage.h"

#include <QModelIndex>
#include <QPointer>
#include <QVariantMap>
#include <QWizardPage>

class CXPayTemplatesModel;
class Ui_CXWPSelectTemplate;

// The customer's templates from the look-up reply, each as a card, and a last row for adding
// a new one. A template leads to the payment, "Add new" to the bank check.
class CXWPSelectTemplate : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    explicit CXWPSelectTemplate(QWizard *wizard);
    ~CXWPSelectTemplate() override;

    void initializePage() override;
    bool isComplete() const override;
    int nextId() const override;
    QString preview() const override;
    CorvexRequest outputData() const override;

    bool prevPageIsSender() const;

    // What the payment takes from the chosen row; empty while no template is chosen.
    QString requestCode() const;
    QString description() const;
    QString info() const;
    QString plainDescription() const;
    QVariantMap additionalData() const;

public slots:
    void itemSelected(const QModelIndex &index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    Ui_CXWPSelectTemplate *ui;
    int m_previousPageId = -1;
    QPointer<CXPayTemplatesModel> m_model;
    QVariantMap m_replyParams;
    int m_selectedRow = -1;
};

#endif // CXWPSELECTTEMPLATE_H
