#ifndef CXWPACTIONSELECT_H
#define CXWPACTIONSELECT_H

#include "icxwizardpage.h"

#include <QWizardPage>

class QButtonGroup;
class Ui_CXWPActionSelect;

// The first page: registration, the template look-up or payment by code.
class CXWPActionSelect : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    explicit CXWPActionSelect(QWizard *wizard);
    ~CXWPActionSelect() override;

    bool isComplete() const override;
    int nextId() const override;
    QString preview() const override;
    CorvexRequest outputData() const override;

protected:
    void changeEvent(QEvent *event) override;

private:
    enum EAction { ActionRegistration = 0, ActionRequirementsCodes = 1, ActionPaymentByCode = 2 };

    Ui_CXWPActionSelect *ui;
    QButtonGroup *m_actions;
};

#endif // CXWPACTIONSELECT_H
