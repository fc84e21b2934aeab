#include "cxwpregistrationaddress.h"
#include "ui_cxwpregistrationaddress.h"

#include "corvexpaywizard.h"
#include "corvexprotocol.h"
#include "cxwprequest.h"

#include <QEvent>

CXWPRegistrationAddress::CXWPRegistrationAddress(QWizard *wizard)
    : QWizardPage(wizard)
    , ui(new Ui_CXWPRegistrationAddress)
{
    ui->setupUi(this);
}

CXWPRegistrationAddress::~CXWPRegistrationAddress()
{
    delete ui;
}

void CXWPRegistrationAddress::initializePage()
{
    QWizardPage::initializePage();
    // The wizard initialises a page before it records it as visited, so the last visited id
    // is the page that led here.
    const QList<int> visited = wizard() ? wizard()->visitedIds() : QList<int>();
    m_previousPageId = visited.isEmpty() ? -1 : visited.constLast();

    auto *payWizard = qobject_cast<CorvexPayWizard *>(wizard());
    if (!payWizard)
        return;
    const QFont font = payWizard->inputFont();
    for (QLineEdit *edit : {ui->leCountrry, ui->leRegion, ui->leDistrict, ui->leCity, ui->leStreet,
             ui->leHouse, ui->leBuilding, ui->leApartment})
        edit->setFont(font);
}

int CXWPRegistrationAddress::nextId() const
{
    return CorvexPayWizard::pageIdFor(wizard(), CorvexPayWizard::PageMsgSender);
}

// The service reads the parts by position: country, region, city and house always have their
// place, the other parts only when given.
QString CXWPRegistrationAddress::prepareAddress() const
{
    QStringList parts;
    parts << ui->leCountrry->text() << ui->leRegion->text();
    if (!ui->leDistrict->text().isEmpty())
        parts << ui->leDistrict->text();
    parts << ui->leCity->text();
    if (!ui->leStreet->text().isEmpty())
        parts << ui->leStreet->text();
    parts << ui->leHouse->text();
    if (!ui->leBuilding->text().isEmpty())
        parts << ui->leBuilding->text();
    if (!ui->leApartment->text().isEmpty())
        parts << ui->leApartment->text();
    return parts.join(QStringLiteral(", "));
}

QString CXWPRegistrationAddress::preview() const
{
    const ICXWizardPage *previous = previousPage();
    return (previous ? previous->preview() : QString())
        + QStringLiteral("<p><b>%1: </b>%2</p>")
              .arg(tr("Address"), prepareAddress().toHtmlEscaped());
}

CorvexRequest CXWPRegistrationAddress::outputData() const
{
    return CXWPRequest::extend(wizard(), previousPage(), {{CorvexKey::Address, prepareAddress()}});
}

void CXWPRegistrationAddress::changeEvent(QEvent *event)
{
    QWizardPage::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}

ICXWizardPage *CXWPRegistrationAddress::previousPage() const
{
    if (m_previousPageId == -1 || !wizard())
        return nullptr;
    return ICXWizardPage::fromObject(wizard()->page(m_previousPageId));
}
