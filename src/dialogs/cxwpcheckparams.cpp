#include "cxwpcheckparams.h"

#include "corvexpaywizard.h"

CXWPCheckParams::CXWPCheckParams(QWizard *wizard)
    : QWizardPage(wizard)
    , m_wizard(wizard)
{ }

int CXWPCheckParams::nextId() const
{
    return CorvexPayWizard::pageIdFor(m_wizard, CorvexPayWizard::PageMsgSender);
}

QString CXWPCheckParams::preview() const
{
    return QString();
}

CorvexRequest CXWPCheckParams::outputData() const
{
    return CorvexRequest();
}
