#ifndef CXWPSELECTTEMPLATE_H
#define CXWPSELECTTEMPLATE_H

#include "icxwizardpage.h"

#include <QString>
#include <QVariantMap>
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

    // The selected template, as the payment page takes it. Empty until the list exists.
    QString requestCode() const { return QString(); }
    QString description() const { return QString(); }
    QString info() const { return QString(); }
    QString plainDescription() const { return QString(); }
    QVariantMap additionalData() const { return QVariantMap(); }

private:
    QWizard *m_wizard;
};

#endif // CXWPSELECTTEMPLATE_H
