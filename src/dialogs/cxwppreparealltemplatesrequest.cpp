#include "cxwppreparealltemplatesrequest.h"

#include "corvexpaywizard.h"

CXWPPrepareAllTemplatesRequest::CXWPPrepareAllTemplatesRequest(QWizard *wizard)
    : QWizardPage(wizard)
    , m_wizard(wizard)
{ }

int CXWPPrepareAllTemplatesRequest::nextId() const
{
    return CorvexPayWizard::pageIdFor(m_wizard, CorvexPayWizard::PageMsgSender);
}

QString CXWPPrepareAllTemplatesRequest::preview() const
{
    return QString();
}

CorvexRequest CXWPPrepareAllTemplatesRequest::outputData() const
{
    return CorvexRequest();
}
