#include "cxwpregistrationdocuments.h"

#include "corvexpaywizard.h"

CXWPRegistrationDocuments::CXWPRegistrationDocuments(QWizard *wizard)
    : QWizardPage(wizard)
    , m_wizard(wizard)
{ }

int CXWPRegistrationDocuments::nextId() const
{
    return CorvexPayWizard::pageIdFor(m_wizard, CorvexPayWizard::PageRegistrationAddress);
}

QString CXWPRegistrationDocuments::preview() const
{
    return QString();
}

CorvexRequest CXWPRegistrationDocuments::outputData() const
{
    return CorvexRequest();
}
