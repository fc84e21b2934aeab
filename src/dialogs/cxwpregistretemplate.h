#ifndef CXWPREGISTRETEMPLATE_H
#define CXWPREGISTRETEMPLATE_H

#include "icxwizardpage.h"

#include <QWizardPage>

// Registration of a new template. Its form comes later.
class CXWPRegistreTemplate : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    explicit CXWPRegistreTemplate(QWizard *wizard);

    int nextId() const override;
    QString preview() const override;
    CorvexRequest outputData() const override;

private:
    QWizard *m_wizard;
};

#endif // CXWPREGISTRETEMPLATE_H
