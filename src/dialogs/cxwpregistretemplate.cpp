#include "cxwpregistretemplate.h"
#include "ui_cxwpregistretemplate.h"

#include "corvexpaywizard.h"
#include "cxinputnote.h"
#include "cxwpmsgsender.h"
#include "cxwprequest.h"

#include "corvexprotocol.h"
#include "cxregexpvalidator.h"
#include "cxservicetext.h"
#include "fixnumber.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegExp>
#include <QVector>

namespace {

// The template registration's return code for the service.
const int TEMPLATE_RCODE = 601;
// Units per whole when the wizard has no usable currency: the box's default two decimals.
const unsigned int DEFAULT_MULTIPLIER = 100;
const QLatin1String PARAM_SEPARATOR(";");
// A name holding "***" is one the service does not ask the operator to fill in.
const QLatin1String HIDDEN_PARAM("***");
// The reply keys of the template parameter names, in the order of their rows.
const QVector<QLatin1String> PARAM_KEYS = {CorvexKey::PName1, CorvexKey::PName2, CorvexKey::PName3};

// Titles and values may come from the service: bounded and shown as text.
QString line(const QString &title, const QString &value)
{
    return QStringLiteral("<div align=\"left\"><b>%1: </b>%2</div>")
        .arg(CXServiceText::shown(title).toHtmlEscaped(),
            CXServiceText::shown(value).toHtmlEscaped());
}

} // namespace

CXWPRegistreTemplate::CXWPRegistreTemplate(QWizard *wizard)
    : QWizardPage(wizard)
    , ui(new Ui_CXWPRegistreTemplate)
{
    ui->setupUi(this);
    registerField(
        CorvexPayWizard::fieldNameFor(wizard, QStringLiteral("templateRegistration.phone*")),
        ui->wPhone, "phone", SIGNAL(textChanged(QString)));
    m_note = new CXInputNote(this);
    m_note->watch(ui->wPhone);
    for (int row = 1; row <= PARAM_KEYS.size(); ++row) {
        m_paramFieldNames << CorvexPayWizard::fieldNameFor(
            wizard, QStringLiteral("templateRegistration.param %1*").arg(row));
    }
}

CXWPRegistreTemplate::~CXWPRegistreTemplate()
{
    delete ui;
}

void CXWPRegistreTemplate::initializePage()
{
    QWizardPage::initializePage();
    ui->lBank->clear();
    m_replyParams.clear();
    m_replied = false;

    ui->dsbAmount->setMinimum(0);
    ui->dsbAmount->setMaximum(1000000000);
    ui->dsbAmount->setDecimals(2);

    auto *payWizard = qobject_cast<CorvexPayWizard *>(wizard());
    if (payWizard) {
        ui->wPhone->setInputFont(payWizard->inputFont());
        ui->wPhone->setPhone(payWizard->phone());
        ui->dsbAmount->setFont(payWizard->inputFont());
        const QSharedPointer<Currency> currency = payWizard->currency();
        if (currency && currency->isValid()) {
            ui->dsbAmount->setDecimals(currency->decimals());
            ui->dsbAmount->setSuffix(QLatin1Char(' ') + currency->currencySymbol());
        }

        // The wizard initialises a page before it records it as visited, so the last visited
        // id is the page that led here.
        const QList<int> visited = payWizard->visitedIds();
        const auto *sender = visited.isEmpty()
            ? nullptr
            : qobject_cast<CXWPMsgSender *>(payWizard->page(visited.constLast()));
        if (sender) {
            m_replyParams = CorvexReply(sender->answer()).params();
            m_replied = true;
            showBank();
        }
    }

    clearParams();
    for (const QLatin1String &key : PARAM_KEYS) {
        const QString name = m_replyParams.value(key).toString();
        if (!name.isEmpty() && !name.contains(HIDDEN_PARAM))
            addParam(name);
    }
    // The phone may have made the page complete before the rows existed; the wizard keeps that
    // state until told otherwise, and a filled row would then never open Next.
    emit completeChanged();
}

void CXWPRegistreTemplate::cleanupPage()
{
    clearParams();
}

bool CXWPRegistreTemplate::isComplete() const
{
    return QWizardPage::isComplete() && ui->wPhone->isValid();
}

void CXWPRegistreTemplate::clearParams()
{
    // Deleted at once rather than later: a row still alive keeps its wizard field, so the rows
    // built next under the same field names would not be mandatory.
    const QList<QWidget *> rows
        = ui->gbParams->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget *row : rows) {
        if (qobject_cast<QLabel *>(row) || qobject_cast<QLineEdit *>(row)) {
            row->close();
            delete row;
        }
    }
    m_paramEdits.clear();
}

int CXWPRegistreTemplate::nextId() const
{
    return CorvexPayWizard::pageIdFor(wizard(), CorvexPayWizard::PageMsgSender);
}

QString CXWPRegistreTemplate::preview() const
{
    QString preview = QStringLiteral("<h3 align=\"center\">%1</h3>").arg(tr("Registre template"));
    preview += line(tr("Mobile phone"), ui->wPhone->maskedPhone());
    preview += line(tr("Bank"), m_replyParams.value(CorvexKey::Bank).toString());
    preview += line(tr("Bik"), m_replyParams.value(CorvexKey::Bik).toString());
    for (const QPointer<QLineEdit> &edit : m_paramEdits) {
        if (edit)
            preview += line(edit->objectName(), edit->text());
    }
    return preview;
}

CorvexRequest CXWPRegistreTemplate::outputData() const
{
    QStringList params(m_replyParams.value(CorvexKey::Bik).toString());
    for (const QPointer<QLineEdit> &edit : m_paramEdits) {
        if (edit)
            params << edit->text();
    }

    QVariantMap data = {{CorvexKey::Phone, ui->wPhone->phone()}, {CorvexKey::RCode, TEMPLATE_RCODE},
        {CorvexKey::Params, params.join(PARAM_SEPARATOR)}};
    if (ui->cbAmount->isChecked())
        data.insert(CorvexKey::Amount, plannedAmount());
    return CXWPRequest::make(
        wizard(), CorvexFunction::RegistreTemplate, CorvexRequest::RegistreTemplateRequest, data);
}

void CXWPRegistreTemplate::changeEvent(QEvent *event)
{
    QWizardPage::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        // The bank lines come from the reply, which is still at hand: shown again in the new
        // language rather than lost until the page is entered again.
        showBank();
    }
}

void CXWPRegistreTemplate::showBank()
{
    if (!m_replied) {
        ui->lBank->clear();
        return;
    }
    ui->lBank->setText(line(tr("Bank"), m_replyParams.value(CorvexKey::Bank).toString())
        + QLatin1Char('\n') + line(tr("Bik"), m_replyParams.value(CorvexKey::Bik).toString()));
}

void CXWPRegistreTemplate::addParam(const QString &name)
{
    auto *grid = qobject_cast<QGridLayout *>(ui->gbParams->layout());
    if (!grid) {
        grid = new QGridLayout;
        grid->setColumnStretch(1, 1);
    }

    // The name comes from the service: shown as plain text, never as markup, and with its "&"
    // doubled, since a label with a buddy takes a single "&" for the mark of a shortcut key.
    QString shown = CXServiceText::shown(name);
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    auto *label = new QLabel(shown, ui->gbParams);
    label->setTextFormat(Qt::PlainText);
    // A long name wraps rather than pushing the input out of the page.
    label->setWordWrap(true);
    auto *edit = new QLineEdit(ui->gbParams);
    edit->setObjectName(name);
    label->setBuddy(edit);
    // The values travel joined by ";", so a ";" in one would shift every value after it.
    edit->setValidator(new CXRegExpValidator(QRegExp(QStringLiteral("[^;]*")), edit));
    if (auto *payWizard = qobject_cast<CorvexPayWizard *>(wizard()))
        edit->setFont(payWizard->inputFont());

    // Rows made now would come last in the Tab order, after the planned amount below them.
    QWidget *before = m_paramEdits.isEmpty() ? ui->wPhone->findChild<QLineEdit *>()
                                             : m_paramEdits.constLast().data();
    if (before)
        setTabOrder(before, edit);
    m_paramEdits << edit;
    const int row = m_paramEdits.size();
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    registerField(m_paramFieldNames.value(row - 1), edit);
    connect(edit, &QLineEdit::textChanged, this, &QWizardPage::completeChanged);
    m_note->watch(edit, label, true);
    if (!ui->gbParams->layout())
        ui->gbParams->setLayout(grid);
}

qint64 CXWPRegistreTemplate::plannedAmount() const
{
    auto *payWizard = qobject_cast<CorvexPayWizard *>(wizard());
    const QSharedPointer<Currency> currency = payWizard ? payWizard->currency() : nullptr;
    // The box shows two decimals unless a valid currency gave it its own; the amount is counted
    // in the same units. setDouble rounds, so 0.29 is 29 units and not 28.
    FixNumber amount(currency && currency->isValid()
            ? static_cast<unsigned int>(currency->realMultiplier())
            : DEFAULT_MULTIPLIER);
    amount.setDouble(ui->dsbAmount->value());
    return amount.value();
}
