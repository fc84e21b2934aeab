#include "cxwpactionselect.h"
#include "ui_cxwpactionselect.h"

#include "corvexpaywizard.h"

#include <QButtonGroup>
#include <QEvent>

CXWPActionSelect::CXWPActionSelect(QWizard *wizard)
    : QWizardPage(wizard)
    , ui(new Ui_CXWPActionSelect)
    , m_actions(new QButtonGroup(this))
{
    ui->setupUi(this);
    m_actions->addButton(ui->rbRegistration, ActionRegistration);
    m_actions->addButton(ui->rbRequirementsCodes, ActionRequirementsCodes);
    m_actions->addButton(ui->rbPaymentByCode, ActionPaymentByCode);
    m_actions->setExclusive(true);
    // idToggled: the name of the id signal in Qt 5.15 and Qt 6 alike (Qt 6 dropped the overload
    // of buttonToggled with an id).
    connect(m_actions, &QButtonGroup::idToggled, this, &QWizardPage::completeChanged);
    setFinalPage(false);
}

CXWPActionSelect::~CXWPActionSelect()
{
    delete ui;
}

bool CXWPActionSelect::isComplete() const
{
    return QWizardPage::isComplete() && m_actions->checkedId() != -1;
}

int CXWPActionSelect::nextId() const
{
    CorvexPayWizard::EPages kind = CorvexPayWizard::PagePayment;
    switch (m_actions->checkedId()) {
    case ActionRegistration:
        kind = CorvexPayWizard::PageRegistrationBase;
        break;
    case ActionRequirementsCodes:
        kind = CorvexPayWizard::PagePrepareAllTemplatesRequest;
        break;
    default:
        break;
    }
    return CorvexPayWizard::pageIdFor(wizard(), kind);
}

QString CXWPActionSelect::preview() const
{
    return QString();
}

CorvexRequest CXWPActionSelect::outputData() const
{
    return CorvexRequest();
}

void CXWPActionSelect::changeEvent(QEvent *event)
{
    QWizardPage::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}
