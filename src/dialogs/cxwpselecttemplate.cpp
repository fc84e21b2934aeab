#include "cxwpselecttemplate.h"

#include "corvexpaywizard.h"

CXWPSelectTemplate::CXWPSelectTemplate(QWizard *wizard)
    : QWizardPage(wizard)
    , m_wizard(wizard)
{ }

int CXWPSelectTemplate::nextId() const
{
    return CorvexPayWizard::pageIdFor(m_wizard, CorvexPayWizard::PagePayment);
}

QString CXWPSelectTemplate::preview() const
{
    return QString();
}

CorvexRequest CXWPSelectTemplate::outputData() const
{
    return CorvexRequest();
}
