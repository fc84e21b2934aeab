#include "cxwpregistrationaddress.h"

#include "corvexpaywizard.h"

CXWPRegistrationAddress::CXWPRegistrationAddress(QWizard *wizard)
    : QWizardPage(wizard)
    , m_wizard(wizard)
{ }

int CXWPRegistrationAddress::nextId() const
{
    return CorvexPayWizard::pageIdFor(m_wizard, CorvexPayWizard::PageMsgSender);
}

QString CXWPRegistrationAddress::preview() const
{
    return QString();
}

CorvexRequest CXWPRegistrationAddress::outputData() const
{
    return CorvexRequest();
}
