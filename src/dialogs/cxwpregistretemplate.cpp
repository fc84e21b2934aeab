#include "cxwpregistretemplate.h"

#include "corvexpaywizard.h"

CXWPRegistreTemplate::CXWPRegistreTemplate(QWizard *wizard)
    : QWizardPage(wizard)
    , m_wizard(wizard)
{ }

int CXWPRegistreTemplate::nextId() const
{
    return CorvexPayWizard::pageIdFor(m_wizard, CorvexPayWizard::PageMsgSender);
}

QString CXWPRegistreTemplate::preview() const
{
    return QString();
}

CorvexRequest CXWPRegistreTemplate::outputData() const
{
    return CorvexRequest();
}
