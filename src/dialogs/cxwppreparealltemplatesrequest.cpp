#include "cxwppreparealltemplatesrequest.h"
#include "ui_cxwppreparealltemplatesrequest.h"

#include "corvexpaywizard.h"
#include "cxinputnote.h"
#include "cxwprequest.h"

#include "corvexprotocol.h"

#include <QEvent>

CXWPPrepareAllTemplatesRequest::CXWPPrepareAllTemplatesRequest(QWizard *wizard)
    : QWizardPage(wizard)
    , ui(new Ui_CXWPPrepareAllTemplatesRequest)
{
    ui->setupUi(this);
    registerField(
        CorvexPayWizard::fieldNameFor(wizard, QStringLiteral("alltemplatesrequest.phone*")),
        ui->wPhone, "phone", SIGNAL(textChanged(QString)));
    // Says in words which input keeps Next grey and what it expects.
    auto *note = new CXInputNote(this);
    note->watch(ui->wPhone);
    connect(this, &QWizardPage::completeChanged, this,
        &CXWPPrepareAllTemplatesRequest::onCompleteChanged);
    // A digit typed over another keeps the page complete, so no completeChanged() tells of the
    // new number: the wizard hears of every edit.
    connect(ui->wPhone, &CXPhoneWidget::textChanged, this,
        &CXWPPrepareAllTemplatesRequest::onCompleteChanged);
}

CXWPPrepareAllTemplatesRequest::~CXWPPrepareAllTemplatesRequest()
{
    delete ui;
}

void CXWPPrepareAllTemplatesRequest::initializePage()
{
    QWizardPage::initializePage();
    if (auto *payWizard = qobject_cast<CorvexPayWizard *>(wizard())) {
        ui->wPhone->setInputFont(payWizard->inputFont());
        ui->wPhone->setPhone(payWizard->phone());
    }
}

bool CXWPPrepareAllTemplatesRequest::isComplete() const
{
    return QWizardPage::isComplete() && ui->wPhone->isValid();
}

void CXWPPrepareAllTemplatesRequest::onCompleteChanged()
{
    auto *payWizard = qobject_cast<CorvexPayWizard *>(wizard());
    if (payWizard && isComplete())
        payWizard->setPhone(ui->wPhone->phone());
}

int CXWPPrepareAllTemplatesRequest::nextId() const
{
    return CorvexPayWizard::pageIdFor(wizard(), CorvexPayWizard::PageMsgSender);
}

QString CXWPPrepareAllTemplatesRequest::preview() const
{
    return QStringLiteral("<h3 align=\"center\">%1</h3>").arg(tr("AllTemplatesRequest"))
        + QStringLiteral("<p><b>%1: </b>%2</p>")
              .arg(tr("Mobile phone"), ui->wPhone->maskedPhone().toHtmlEscaped());
}

CorvexRequest CXWPPrepareAllTemplatesRequest::outputData() const
{
    const QVariantMap data
        = {{CorvexKey::Phone, ui->wPhone->phone()}, {CorvexKey::TemplateType, 0}};
    return CXWPRequest::make(
        wizard(), CorvexFunction::AllTemplates, CorvexRequest::AllTemplatesRequest, data);
}

void CXWPPrepareAllTemplatesRequest::changeEvent(QEvent *event)
{
    QWizardPage::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}
