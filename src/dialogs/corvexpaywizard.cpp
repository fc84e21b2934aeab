#include "corvexpaywizard.h"
#include "ui_corvexpaywizard.h"

#include "cxwpactionselect.h"
#include "cxwpcheckparams.h"
#include "cxwpmsgsender.h"
#include "cxwppayment.h"
#include "cxwppreparealltemplatesrequest.h"
#include "cxwpregistrationaddress.h"
#include "cxwpregistrationbase.h"
#include "cxwpregistrationdocuments.h"
#include "cxwpregistretemplate.h"
#include "cxwpselecttemplate.h"

#include "cxfitscrollarea.h"

#include <QAbstractButton>
#include <QEvent>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>

CorvexPayWizard::CorvexPayWizard(
    const QFont &inputFont, const Currency &currency, const FixNumber &prepay, QWidget *parent)
    : QWizard(parent)
    , ui(new Ui_CorvexPayWizard)
    , m_currency(new Currency(currency))
    , m_prepay(new FixNumber(prepay))
    , m_inputFont(inputFont)
{
    ui->setupUi(this);

    setPage(PageActionSelect, new CXWPActionSelect(this));
    for (EPages kind : {PageRegistrationBase, PageRegistrationDocuments, PageRegistrationAddress,
             PagePrepareAllTemplatesRequest, PageCheckParams, PageRegistreTemplate,
             PageSelectTemplate, PageMsgSender})
        setPage(kind, createPage(kind));
    setPage(PagePayment, new CXWPPayment(this));
    setStartId(PageActionSelect);
    connect(this, &QWizard::currentIdChanged, this, &CorvexPayWizard::fitCurrentPage);
    nameCommitButton();
    connect(this, &QWizard::currentIdChanged, this, &CorvexPayWizard::keepBack);
    // After QWizard's own connection, which enables Back again.
    connect(page(PageMsgSender), &QWizardPage::completeChanged, this, &CorvexPayWizard::keepBack);
}

CorvexPayWizard::~CorvexPayWizard()
{
    delete ui;
}

Payment CorvexPayWizard::payment() const
{
    const auto *page = qobject_cast<CXWPPayment *>(this->page(PagePayment));
    return page ? page->payment() : Payment();
}

bool CorvexPayWizard::immidiatlyPost() const
{
    const auto *page = qobject_cast<CXWPPayment *>(this->page(PagePayment));
    return page && page->immidiatlyPost();
}

qint64 CorvexPayWizard::providerId() const
{
    return m_provider ? m_provider->id() : -1;
}

qint64 CorvexPayWizard::newProviderId() const
{
    return providerId();
}

bool CorvexPayWizard::needChangeProvider() const
{
    return false;
}

void CorvexPayWizard::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        m_fitsPages = !testAttribute(Qt::WA_Resized)
            && !(windowState() & (Qt::WindowFullScreen | Qt::WindowMaximized));
        if (currentId() < 0)
            restart();
        fitCurrentPage();
    }
    QWizard::setVisible(visible);
}

// Every page scrolls rather than squeezing its rows over each other in a window smaller than it;
// a window the wizard sizes itself grows, within the screen, until the page needs no scrolling.
void CorvexPayWizard::initializePage(int id)
{
    QWizard::initializePage(id);
    CXFitScrollArea::wrap(page(id));
}

void CorvexPayWizard::fitCurrentPage()
{
    if (!m_fitsPages || !currentPage()
        || (windowState() & (Qt::WindowFullScreen | Qt::WindowMaximized)))
        return;
    if (layout())
        layout()->activate();
    QScreen *shown = screen();
    if (!shown)
        return;
    // What the window frame and a task bar leave of the screen, roughly: the frame's size is
    // known only once the window is shown.
    const QRect room = shown->availableGeometry();
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(0, 32);
    // Grows only once shown: a page that needs less leaves the window as the operator had it.
    const QSize wanted
        = sizeHint().expandedTo(isVisible() ? size() : QSize()).boundedTo(room.size() - frame);
    if (wanted == size())
        return;
    resize(wanted);
    if (isVisible()) {
        // Kept on the screen as it grows.
        QRect placed = frameGeometry();
        placed.moveRight(qMin(placed.right(), room.right()));
        placed.moveBottom(qMin(placed.bottom(), room.bottom()));
        move(qMax(placed.left(), room.left()), qMax(placed.top(), room.top()));
    }
}

bool CorvexPayWizard::execute()
{
    return exec() == QDialog::Accepted;
}

bool CorvexPayWizard::setTemplatesConnection(QObject *object, const char *member)
{
    Q_UNUSED(object)
    Q_UNUSED(member)
    return false;
}

bool CorvexPayWizard::setMessageReciever(QObject *receiver, const char *signal)
{
    if (!receiver)
        return false;
    return connect(receiver, signal, this, SIGNAL(incomingMessage(QVariantMap, QString)));
}

bool CorvexPayWizard::setMessageSender(QObject *sender, const char *method)
{
    if (!sender)
        return false;
    return connect(this, SIGNAL(sendMessage(QString, QVariant)), sender, method);
}

int CorvexPayWizard::checkAndAddPage(EPages id)
{
    const QList<int> visited = visitedIds();
    if (!visited.contains(id))
        return id;

    int n = id;
    while (visited.contains(n))
        n += 16;
    if (page(n) || id > PagePayment)
        return n;
    if (id == PageActionSelect || id == PagePayment)
        return id;
    if (QWizardPage *added = createPage(id)) {
        setPage(n, added);
        // After QWizard's own connection, which enables Back again.
        if (id == PageMsgSender)
            connect(added, &QWizardPage::completeChanged, this, &CorvexPayWizard::keepBack);
    }
    return n;
}

int CorvexPayWizard::pageIdFor(QWizard *wizard, EPages kind)
{
    auto *payWizard = qobject_cast<CorvexPayWizard *>(wizard);
    return payWizard ? payWizard->checkAndAddPage(kind) : kind;
}

QString CorvexPayWizard::uniqueFieldName(const QString &name)
{
    const int use = ++m_fieldNameUses[name];
    if (use == 1)
        return name;
    const bool mandatory = name.endsWith(QLatin1Char('*'));
    QString unique = mandatory ? name.chopped(1) : name;
    unique += QLatin1Char('#') + QString::number(use);
    return mandatory ? unique + QLatin1Char('*') : unique;
}

QString CorvexPayWizard::fieldNameFor(QWizard *wizard, const QString &name)
{
    auto *payWizard = qobject_cast<CorvexPayWizard *>(wizard);
    return payWizard ? payWizard->uniqueFieldName(name) : name;
}

void CorvexPayWizard::setProvider(const Provider &provider)
{
    m_provider.reset(new Provider(provider));
}

void CorvexPayWizard::setComProfile(const BoxComProfile &comProfile)
{
    m_comProfile.reset(new BoxComProfile(comProfile));
}

void CorvexPayWizard::changeEvent(QEvent *event)
{
    QWizard::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    setWindowTitle(tr("Corvex payment"));
    // QWizard names its buttons when its style is set, not on a language change: set again,
    // the style names them in the new language (Qt's own translation, which the host installs).
    const WizardStyle style = wizardStyle();
    setWizardStyle(style == ClassicStyle ? ModernStyle : ClassicStyle);
    setWizardStyle(style);
    nameCommitButton();
    keepBack();
}

void CorvexPayWizard::keepBack()
{
    const auto *sender = qobject_cast<CXWPMsgSender *>(currentPage());
    if (sender && !sender->mayGoBack())
        button(BackButton)->setEnabled(false);
}

void CorvexPayWizard::nameCommitButton()
{
    setButtonText(CommitButton, buttonText(NextButton));
}

// Pages of the kinds that may be entered more than once; the action and payment pages exist
// only once.
QWizardPage *CorvexPayWizard::createPage(EPages kind)
{
    switch (kind) {
    case PageRegistrationBase:
        return new CXWPRegistrationBase(this);
    case PageRegistrationDocuments:
        return new CXWPRegistrationDocuments(this);
    case PageRegistrationAddress:
        return new CXWPRegistrationAddress(this);
    case PagePrepareAllTemplatesRequest:
        return new CXWPPrepareAllTemplatesRequest(this);
    case PageCheckParams:
        return new CXWPCheckParams(this);
    case PageRegistreTemplate:
        return new CXWPRegistreTemplate(this);
    case PageSelectTemplate:
        return new CXWPSelectTemplate(this);
    case PageMsgSender: {
        auto *sender = new CXWPMsgSender(this);
        connectSender(sender);
        return sender;
    }
    default:
        return nullptr;
    }
}

void CorvexPayWizard::connectSender(CXWPMsgSender *sender)
{
    connect(this, &CorvexPayWizard::incomingMessage, sender, &CXWPMsgSender::incomingMessage);
    connect(sender, &CXWPMsgSender::sendMessage, this, &CorvexPayWizard::sendMessage);
    connect(this, &QDialog::rejected, sender, &CXWPMsgSender::abandon);
}

void CorvexPayWizard::done(int result)
{
    if (isHidden())
        return;
    QWizard::done(result);
}

void CorvexPayWizard::reject()
{
    if (hasTypedInput()
        && QMessageBox::question(this, tr("Discard the payment?"),
               tr("What has been entered so far will be lost."), QMessageBox::Yes | QMessageBox::No,
               QMessageBox::No)
            != QMessageBox::Yes)
        return;
    QWizard::reject();
}

// Typed by the operator, on any page of this payment (the visited ones include the current
// page): a line edit's modified flag is set by typing only, never by the text a page or a
// template puts there.
bool CorvexPayWizard::hasTypedInput() const
{
    const QList<int> ids = visitedIds();
    for (int id : ids) {
        const QList<QLineEdit *> edits = page(id)->findChildren<QLineEdit *>();
        for (const QLineEdit *edit : edits) {
            if (edit->isModified())
                return true;
        }
    }
    return false;
}
