#include "cxwppayment.h"

CXWPPayment::CXWPPayment(QWizard *wizard)
    : QWizardPage(wizard)
    , m_wizard(wizard)
{
    setFinalPage(true);
}

int CXWPPayment::nextId() const
{
    return -1;
}

QString CXWPPayment::preview() const
{
    return QString();
}

CorvexRequest CXWPPayment::outputData() const
{
    return CorvexRequest();
}

Payment CXWPPayment::payment() const
{
    return Payment();
}

bool CXWPPayment::immidiatlyPost() const
{
    return false;
}
