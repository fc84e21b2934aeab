#include "cxwpregistrationbase.h"
#include "ui_cxwpregistrationbase.h"

#include "corvexpaywizard.h"
#include "corvexprotocol.h"
#include "cxinputnote.h"
#include "cxwprequest.h"

#include <QEvent>

CXWPRegistrationBase::CXWPRegistrationBase(QWizard *wizard)
    : QWizardPage(wizard)
    , ui(new Ui_CXWPRegistrationBase)
{
    ui->setupUi(this);

    // A second page of this kind registers names of its own, so that its inputs stay mandatory.
    registerField(CorvexPayWizard::fieldNameFor(wizard, QStringLiteral("registration.base.phone*")),
        ui->wPhone, "phone", SIGNAL(textChanged(QString)));
    registerField(
        CorvexPayWizard::fieldNameFor(wizard, QStringLiteral("registration.base.lastName*")),
        ui->leLastName);
    registerField(
        CorvexPayWizard::fieldNameFor(wizard, QStringLiteral("registration.base.firstName*")),
        ui->leFirstName);
    registerField(
        CorvexPayWizard::fieldNameFor(wizard, QStringLiteral("registration.base.secondName*")),
        ui->leSecondName);

    // Says in words which input keeps Next grey and what it expects.
    auto *note = new CXInputNote(this);
    note->watch(ui->wPhone);
    note->watch(ui->leLastName, ui->lLastName, true);
    note->watch(ui->leFirstName, ui->lFirstName, true);
    note->watch(ui->leSecondName, ui->lSecondName, true);

    setFinalPage(false);
    connect(this, &QWizardPage::completeChanged, this, &CXWPRegistrationBase::onCompleteChanged);
    // The wizard signals only a change between complete and incomplete; a digit typed over a
    // complete number changes the number without one, and the wizard must see that too.
    connect(
        ui->wPhone, &CXPhoneWidget::textChanged, this, &CXWPRegistrationBase::onCompleteChanged);
}

CXWPRegistrationBase::~CXWPRegistrationBase()
{
    delete ui;
}

bool CXWPRegistrationBase::skipDocuments() const
{
    return ui->cbSkipDocuments->isChecked();
}

bool CXWPRegistrationBase::skipAddress() const
{
    return ui->cbSkipAddress->isChecked();
}

void CXWPRegistrationBase::initializePage()
{
    QWizardPage::initializePage();
    auto *payWizard = qobject_cast<CorvexPayWizard *>(wizard());
    if (!payWizard)
        return;
    const QFont font = payWizard->inputFont();
    ui->wPhone->setInputFont(font);
    ui->leLastName->setFont(font);
    ui->leFirstName->setFont(font);
    ui->leSecondName->setFont(font);
    ui->wPhone->setPhone(payWizard->phone());
}

bool CXWPRegistrationBase::isComplete() const
{
    return QWizardPage::isComplete() && ui->wPhone->isValid();
}

void CXWPRegistrationBase::onCompleteChanged()
{
    auto *payWizard = qobject_cast<CorvexPayWizard *>(wizard());
    if (payWizard && isComplete())
        payWizard->setPhone(ui->wPhone->phone());
}

int CXWPRegistrationBase::nextId() const
{
    return CorvexPayWizard::pageIdFor(wizard(),
        skipDocuments() ? CorvexPayWizard::PageMsgSender
                        : CorvexPayWizard::PageRegistrationDocuments);
}

QString CXWPRegistrationBase::preview() const
{
    return QStringLiteral("<h3 align=\"center\">%1</h3>").arg(tr("Registration"))
        + QStringLiteral("<p><b>%1: </b>%2</p>")
              .arg(tr("Mobile phone"), ui->wPhone->maskedPhone().toHtmlEscaped())
        + QStringLiteral("<p><b>%1: </b>%2 %3 %4</p>")
              .arg(tr("Full name"), ui->leLastName->text().toHtmlEscaped(),
                  ui->leFirstName->text().toHtmlEscaped(),
                  ui->leSecondName->text().toHtmlEscaped());
}

CorvexRequest CXWPRegistrationBase::outputData() const
{
    return CXWPRequest::make(wizard(), CorvexFunction::Registration,
        CorvexRequest::RegistrationRequest,
        {
            {CorvexKey::Phone, ui->wPhone->phone()},
            {CorvexKey::LastName, ui->leLastName->text()},
            {CorvexKey::FirstName, ui->leFirstName->text()},
            {CorvexKey::SecondName, ui->leSecondName->text()},
        });
}

void CXWPRegistrationBase::changeEvent(QEvent *event)
{
    QWizardPage::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}
