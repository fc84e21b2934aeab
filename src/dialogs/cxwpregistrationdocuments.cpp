#include "cxwpregistrationdocuments.h"
#include "ui_cxwpregistrationdocuments.h"

#include "corvexpaywizard.h"
#include "corvexprotocol.h"
#include "cxinputnote.h"
#include "cxwpregistrationbase.h"
#include "cxwprequest.h"

#include <QEvent>
#include <QLocale>

namespace {
const QChar BULLET(0x2022);

QString line(const QString &title, const QString &value)
{
    return QStringLiteral("<p><b>%1: </b>%2</p>").arg(title, value.toHtmlEscaped());
}

// In the terminal's language: the default locale is the host's, the system's unless the host
// chose another, and it changes with a language switch.
QString shortDate(const QDate &date)
{
    return QLocale().toString(date, QLocale::ShortFormat);
}
} // namespace

CXWPRegistrationDocuments::CXWPRegistrationDocuments(QWizard *wizard)
    : QWizardPage(wizard)
    , ui(new Ui_CXWPRegistrationDocuments)
{
    ui->setupUi(this);
    // One required digit, the rest optional; blanks show as bullets.
    ui->leSeries->setInputMask(QStringLiteral("9000000000;") + BULLET);
    ui->leNumber->setInputMask(QStringLiteral("90000000000000000000;") + BULLET);

    retranslateDocumentTypes();

    limitDatesToToday();
    // A future date typed is refused key by key; the note says why the keys do not take.
    auto *note = new CXInputNote(this);
    note->watch(ui->deIssueDate, ui->lIssueDate);
    note->watch(ui->deBirthday, ui->lBirthday);
}

CXWPRegistrationDocuments::~CXWPRegistrationDocuments()
{
    delete ui;
}

void CXWPRegistrationDocuments::initializePage()
{
    QWizardPage::initializePage();
    // The wizard initialises a page before it records it as visited, so the last visited id
    // is the page that led here.
    const QList<int> visited = wizard() ? wizard()->visitedIds() : QList<int>();
    m_previousPageId = visited.isEmpty() ? -1 : visited.constLast();

    if (auto *base = qobject_cast<CXWPRegistrationBase *>(
            m_previousPageId == -1 ? nullptr : wizard()->page(m_previousPageId)))
        ui->cbSkipAddress->setChecked(base->skipAddress());

    limitDatesToToday();

    auto *payWizard = qobject_cast<CorvexPayWizard *>(wizard());
    if (!payWizard)
        return;
    const QFont font = payWizard->inputFont();
    for (QWidget *input :
        std::initializer_list<QWidget *> {ui->cbDocumentType, ui->leBirthplace, ui->leCitizenship,
            ui->leIssuer, ui->leNumber, ui->deBirthday, ui->deIssueDate, ui->leSeries})
        input->setFont(font);
}

int CXWPRegistrationDocuments::nextId() const
{
    return CorvexPayWizard::pageIdFor(wizard(),
        ui->cbSkipAddress->isChecked() ? CorvexPayWizard::PageMsgSender
                                       : CorvexPayWizard::PageRegistrationAddress);
}

QString CXWPRegistrationDocuments::preview() const
{
    QStringList lines;
    if (const ICXWizardPage *previous = previousPage())
        lines << previous->preview();
    lines << line(tr("Document"), ui->cbDocumentType->currentText())
          << QStringLiteral("<p><b>%1 / %3: </b>%2 / %4</p>")
                 .arg(tr("Series"), ui->leSeries->text().toHtmlEscaped(), tr("Number"),
                     ui->leNumber->text().toHtmlEscaped())
          << line(tr("Issuer"), ui->leIssuer->text())
          << line(tr("Issue date"), shortDate(ui->deIssueDate->date()))
          << line(tr("Citizenship"), ui->leCitizenship->text())
          << line(tr("Birthday"), shortDate(ui->deBirthday->date()))
          << line(tr("Birthplace"), ui->leBirthplace->text());
    return lines.join(QString());
}

CorvexRequest CXWPRegistrationDocuments::outputData() const
{
    return CXWPRequest::extend(wizard(), previousPage(),
        {
            {CorvexKey::DocType, ui->cbDocumentType->currentData().toInt()},
            {CorvexKey::DocSeries, ui->leSeries->text()},
            {CorvexKey::DocNumber, ui->leNumber->text()},
            {CorvexKey::DocIssuer, ui->leIssuer->text()},
            {CorvexKey::DocIssueDate, ui->deIssueDate->date().toString(Qt::ISODate)},
            {CorvexKey::Birthday, ui->deBirthday->date().toString(Qt::ISODate)},
            {CorvexKey::Birthplace, ui->leBirthplace->text()},
            {CorvexKey::Citizenship, ui->leCitizenship->text()},
        });
}

void CXWPRegistrationDocuments::changeEvent(QEvent *event)
{
    QWizardPage::changeEvent(event);
    // The masks are not part of the translated texts, so the typed series and number stay.
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        retranslateDocumentTypes();
    }
}

// The document types in the current language; their codes (the item data, 1 to 4) are what the
// service receives. Existing items are renamed in place, so the operator's choice stays.
void CXWPRegistrationDocuments::retranslateDocumentTypes()
{
    const QStringList names
        = {tr("Passport"), tr("Not passport"), tr("Foreign passport"), tr("Not foreign passport")};
    for (int i = 0; i < names.size(); ++i) {
        if (i < ui->cbDocumentType->count())
            ui->cbDocumentType->setItemText(i, names.at(i));
        else
            ui->cbDocumentType->addItem(names.at(i), i + 1);
    }
}

ICXWizardPage *CXWPRegistrationDocuments::previousPage() const
{
    if (m_previousPageId == -1 || !wizard())
        return nullptr;
    return ICXWizardPage::fromObject(wizard()->page(m_previousPageId));
}

// Neither a birth nor an issue can lie in the future; the edits cannot hold such a date, so no
// request carries one.
void CXWPRegistrationDocuments::limitDatesToToday()
{
    const QDate today = QDate::currentDate();
    ui->deIssueDate->setMaximumDate(today);
    ui->deBirthday->setMaximumDate(today);
}
