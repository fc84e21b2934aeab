#include "cxwpcheckparams.h"
#include "ui_cxwpcheckparams.h"

#include "corvexpaywizard.h"
#include "cxinputnote.h"
#include "cxwprequest.h"

#include "corvexprotocol.h"

#include <QEvent>

CXWPCheckParams::CXWPCheckParams(QWizard *wizard)
    : QWizardPage(wizard)
    , ui(new Ui_CXWPCheckParams)
{
    ui->setupUi(this);
    // Bullets show the operator how many digits are still missing.
    ui->leBik->setInputMask(QStringLiteral("999999999;") + QChar(0x2022));
    // With the mask, the mandatory field counts as filled only with all nine digits.
    registerField(
        CorvexPayWizard::fieldNameFor(wizard, QStringLiteral("checkparams.bik*")), ui->leBik);
    // Says in words what keeps Next grey: the nine digits of the mask.
    (new CXInputNote(this))->watch(ui->leBik, ui->lBIK, true);
}

CXWPCheckParams::~CXWPCheckParams()
{
    delete ui;
}

void CXWPCheckParams::initializePage()
{
    QWizardPage::initializePage();
    if (auto *payWizard = qobject_cast<CorvexPayWizard *>(wizard()))
        ui->leBik->setFont(payWizard->inputFont());
}

int CXWPCheckParams::nextId() const
{
    return CorvexPayWizard::pageIdFor(wizard(), CorvexPayWizard::PageMsgSender);
}

QString CXWPCheckParams::preview() const
{
    return QStringLiteral("<h3 align=\"center\">%1</h3>").arg(tr("Check params"))
        + QStringLiteral("<p><b>%1: </b>%2</p>").arg(tr("BIK"), ui->leBik->text().toHtmlEscaped());
}

CorvexRequest CXWPCheckParams::outputData() const
{
    const QVariantMap data = {{CorvexKey::Bik, ui->leBik->text()}};
    return CXWPRequest::make(
        wizard(), CorvexFunction::CheckParams, CorvexRequest::CheckParamsRequest, data);
}

void CXWPCheckParams::changeEvent(QEvent *event)
{
    QWizardPage::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        ui->retranslateUi(this);
}
