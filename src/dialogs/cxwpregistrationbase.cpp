#include "cxwpregistrationbase.h"

#include "corvexpaywizard.h"

CXWPRegistrationBase::CXWPRegistrationBase(QWizard *wizard)
    : QWizardPage(wizard)
    , m_wizard(wizard)
{ }

int CXWPRegistrationBase::nextId() const
{
    return CorvexPayWizard::pageIdFor(m_wizard, CorvexPayWizard::PageRegistrationDocuments);
}

QString CXWPRegistrationBase::preview() const
{
    return QString();
}

CorvexRequest CXWPRegistrationBase::outputData() const
{
    return CorvexRequest();
}
