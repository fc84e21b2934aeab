#include "cxwppayment.h"
#include "ui_cxwppayment.h"

#include "corvexpaywizard.h"
#include "corvexppv.h"
#include "cxinputnote.h"
#include "cxrichtextlabel.h"
#include "cxwpselecttemplate.h"

#include <QCheckBox>
#include <QDateTime>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
const QString ACCOUNT = QStringLiteral("account");
}

CXWPPayment::CXWPPayment(QWizard *wizard)
    : QWizardPage(wizard)
    , ui(new Ui_CXWPPayment)
{
    ui->setupUi(this);
    setFinalPage(true);
    m_note = new CXInputNote(this);
    m_note->setSource([this] {
        QList<CXInputNote::Problem> problems;
        if (!m_form)
            return problems;
        problems = m_form->problems();
        if (m_form->summ().value() + m_form->comission().value() <= 0)
            problems.append({CorvexPpv::tr("Summ"), tr("more than zero"), false});
        return problems;
    });
    connect(this, &QWizardPage::completeChanged, m_note, &CXInputNote::refresh);
    // Each visit lays out its own form in here; the page's layout stays, so that the wizard can
    // put the page into a scroll area once.
    m_visit = new QWidget(this);
    auto *pageLayout = new QVBoxLayout(this);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(m_visit);
    if (wizard)
        connect(wizard, &QWizard::currentIdChanged, this, &CXWPPayment::focusForm);
}

CXWPPayment::~CXWPPayment()
{
    delete ui;
}

CorvexPayWizard *CXWPPayment::payWizard() const
{
    return qobject_cast<CorvexPayWizard *>(wizard());
}

QSharedPointer<Provider> CXWPPayment::provider() const
{
    return payWizard() ? payWizard()->provider() : QSharedPointer<Provider>();
}

QSharedPointer<Currency> CXWPPayment::currency() const
{
    return payWizard() ? payWizard()->currency() : QSharedPointer<Currency>();
}

QSharedPointer<FixNumber> CXWPPayment::prepay() const
{
    return payWizard() ? payWizard()->prepay() : QSharedPointer<FixNumber>();
}

QSharedPointer<BoxComProfile> CXWPPayment::comProfile() const
{
    return payWizard() ? payWizard()->comProfile() : QSharedPointer<BoxComProfile>();
}

void CXWPPayment::initializePage()
{
    QWizardPage::initializePage();
    clearWidgets();

    const QSharedPointer<Provider> payee = provider();
    if (!payee)
        return;

    m_basket = new QCheckBox(this);
    m_basket->setObjectName(QStringLiteral("cbBasket"));
    auto *layout = new QVBoxLayout;
    const QFont font = payWizard() ? payWizard()->inputFont() : QFont();
    m_basket->setFont(font);

    // The page this one was entered from: the template list when the customer pays a template.
    CXWPSelectTemplate *templates = nullptr;
    if (payWizard() && !payWizard()->visitedIds().isEmpty())
        templates = qobject_cast<CXWPSelectTemplate *>(
            payWizard()->page(payWizard()->visitedIds().last()));

    m_template = templates;
    QWidget *header = nullptr;
    if (templates) {
        // The card and the template's details scroll with the form's inputs, so that the amounts
        // below stay in view.
        header = new QWidget(this);
        m_header = header;
        header->installEventFilter(this);
        m_card = new CXRichTextLabel(QString(), header);
        m_card->setObjectName(QStringLiteral("lTemplate"));
        auto *templateRow = new QHBoxLayout(header);
        templateRow->setContentsMargins(0, 0, 0, 0);
        templateRow->setSpacing(9);
        templateRow->addWidget(m_card, 3);
        const QString info = templates->info();
        if (!info.isEmpty()) {
            m_info = new CXRichTextLabel(info, header);
            templateRow->addWidget(m_info, 2, Qt::AlignTop);
        }
        m_comment = templates->plainDescription();
        m_additionalData = templates->additionalData();
    } else {
        // A payment by code carries nothing of a template visited before going back.
        m_additionalData.clear();
    }

    const QString code = templates ? templates->requestCode() : QString();
    for (ProviderParameter &parameter : payee->parameters()) {
        if (parameter.name() == ACCOUNT)
            parameter.setValue(code);
    }

    m_form = new CorvexPpv(payee, currency(), prepay(), comProfile(), font, m_visit);
    if (header)
        m_form->setHeader(header);
    retranslateVisit();
    m_focusField = m_form->focusWidget();
    connect(m_form, &CorvexPpv::changed, this, &CXWPPayment::changed);
    connect(m_form, &CorvexPpv::amountChanged, this, &QWizardPage::completeChanged);
    m_form->check();

    // The basket box, made before the form, would otherwise come in the Tab order after the
    // wizard's buttons rather than after the form's last input.
    QWidget *last = nullptr;
    for (QWidget *next = m_form->nextInFocusChain(); m_form->isAncestorOf(next);
         next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) && !next->focusProxy())
            last = next;
    }
    if (last)
        setTabOrder(last, m_basket);

    delete m_visit->layout();
    layout->addWidget(m_form, 1);
    layout->addWidget(m_basket, 0, Qt::AlignRight);
    layout->addWidget(m_note);
    layout->setSpacing(9);
    layout->setContentsMargins(3, 3, 3, 3);
    m_visit->setLayout(layout);
}

bool CXWPPayment::eventFilter(QObject *watched, QEvent *event)
{
    // Side by side on a page narrower than about 85 characters, the details would wrap a word a
    // line.
    if (watched == m_header && event->type() == QEvent::Resize) {
        auto *row = qobject_cast<QBoxLayout *>(m_header->layout());
        const bool wide = m_header->width() > m_header->fontMetrics().averageCharWidth() * 85;
        if (row)
            row->setDirection(wide ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
    }
    return QWizardPage::eventFilter(watched, event);
}

void CXWPPayment::cleanupPage()
{
    QWizardPage::cleanupPage();
    clearWidgets();
}

void CXWPPayment::clearWidgets()
{
    if (m_form)
        m_form->disconnect(this);
    for (QWidget *widget :
        {static_cast<QWidget *>(m_form.data()), static_cast<QWidget *>(m_basket.data()),
            static_cast<QWidget *>(m_card.data()), static_cast<QWidget *>(m_info.data())}) {
        if (widget) {
            widget->close();
            widget->deleteLater();
        }
    }
    m_form.clear();
    m_basket.clear();
    m_card.clear();
    m_info.clear();
    m_template.clear();
    m_focusField.clear();
    m_formValid = false;
    m_comment.clear();
    m_note->refresh();
}

void CXWPPayment::focusForm()
{
    if (wizard() && wizard()->currentPage() == this && m_focusField)
        m_focusField->setFocus(Qt::OtherFocusReason);
}

void CXWPPayment::changed(bool valid)
{
    m_formValid = valid;
    emit completeChanged();
}

bool CXWPPayment::isComplete() const
{
    return QWizardPage::isComplete() && m_form && m_formValid
        && m_form->summ().value() + m_form->comission().value() > 0;
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
    const QSharedPointer<Provider> payee = provider();
    const QSharedPointer<Currency> money = currency();
    const QSharedPointer<BoxComProfile> profile = comProfile();
    if (!payee || !money || !profile || !m_form)
        return Payment();

    Payment result;
    result.setProviderId(payee->id());
    result.setCurrencyId(qint64(money->number3()));
    result.setProviderName(payee->name());
    result.setProviderCheckTitle(payee->checkName());
    result.setSumm(m_form->summ());
    result.setComission(m_form->comission());
    result.setAccount(m_form->account());
    result.setDetails(m_form->details());
    result.setCreated(QDateTime::currentDateTime());
    result.setCheckFlags(profile->getCheckFlags(payee->groupId(), payee->id()));
    result.setComment(m_comment);
    result.setAdditionalMap(m_additionalData);
    return result;
}

bool CXWPPayment::immidiatlyPost() const
{
    return m_basket && !m_basket->isChecked();
}

void CXWPPayment::changeEvent(QEvent *event)
{
    QWizardPage::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        retranslateVisit();
    }
}

// The texts of a visit under way: the provider's name as the title, whatever the language, and
// the chosen template's description, which the template page renders in the current language.
void CXWPPayment::retranslateVisit()
{
    const QSharedPointer<Provider> payee = provider();
    if (!m_form || !payee)
        return;
    setTitle(QStringLiteral("[%1]").arg(payee->name()));
    if (m_card)
        m_card->setText(m_template ? m_template->description() : QString());
    if (m_basket)
        m_basket->setText(tr("Add to the basket"));
}
