#include "cxwpmsgsender.h"
#include "ui_cxwpmsgsender.h"

#include "corvexpaywizard.h"

#include "corvexlog.h"
#include "corvexprotocol.h"
#include "cxservicetext.h"
#include "cxwprequest.h"

#include <QCoreApplication>
#include <QEvent>
#include <QJsonArray>
#include <QTimer>

#include <algorithm>

namespace {

const QString RED = QStringLiteral("red");
const QString BLUE = QStringLiteral("blue");
const int CORVEX_TIMEOUT_SECONDS = 60;

// The wait for a reply in seconds. CORVEX_REPLY_TIMEOUT, read each time a wait begins, changes
// it for tests and demonstrations; anything but a whole number from 1 to a day keeps 60.
int replyTimeoutSeconds()
{
    bool ok = false;
    const int seconds = qEnvironmentVariableIntValue("CORVEX_REPLY_TIMEOUT", &ok);
    return ok && seconds > 0 && seconds <= 24 * 3600 ? seconds : CORVEX_TIMEOUT_SECONDS;
}

// A reply is shown to the operator, not archived: every text of it is bounded (the description
// by CXServiceText's own limits), so that no reply can hold the terminal's GUI thread for long.
const int MAX_ERROR_CHARS = 1000;

// The fragment of one reply value on the check-params rendering; the service writes "***" for
// a value it does not disclose.
QString fieldFragment(const QString &title, const QString &value)
{
    if (value.isEmpty() || value == QLatin1String("***"))
        return QString();
    if (title.isEmpty())
        return QStringLiteral("<font color=\"blue\">- %1</font>")
            .arg(CXServiceText::shown(value).toHtmlEscaped());
    return QStringLiteral("<b>%1: </b>%2").arg(title, CXServiceText::shown(value).toHtmlEscaped());
}

// A value of the reply read as text, as it reads once the reply is converted to a map.
QString textOf(const QJsonObject &object, QLatin1String key)
{
    return object.value(key).toVariant().toString();
}

// The same, bounded and escaped for the rich-text rendering.
QString shownOf(const QJsonObject &object, QLatin1String key)
{
    return CXServiceText::shown(textOf(object, key)).toHtmlEscaped();
}

// Log lines name a reply by its size; its text is logged only under the payload category.
const int MAX_LOGGED_CHARS = 200;

// Templates in a look-up's reply, counted as the template list shows them: objects only.
int templateCount(const QJsonObject &params)
{
    const QJsonArray list = params.value(CorvexKey::TemplateList).toArray();
    return int(std::count_if(
        list.begin(), list.end(), [](const QJsonValue &item) { return item.isObject(); }));
}

QString loggedText(const QString &message)
{
    if (message.size() <= MAX_LOGGED_CHARS)
        return message;
    return message.left(MAX_LOGGED_CHARS) + QChar(0x2026)
        + QStringLiteral(" (%1 characters)").arg(message.size());
}

} // namespace

const QString CXWPMsgSender::CORVEX_DESTINATION = QStringLiteral("/app/corvexRequest");
const QString CXWPMsgSender::CORVEX_REPLY = QStringLiteral("corvexReply");

CXWPMsgSender::CXWPMsgSender(QWizard *wizard)
    : QWizardPage(wizard)
    , ui(new Ui_CXWPMsgSender)
    , m_progressTimer(new QTimer(this))
    , m_timeoutTimer(new QTimer(this))
{
    ui->setupUi(this);
    // The bar paints its own background, so a tick repaints the bar alone and not the page and
    // the wizard behind it.
    ui->progressBar->setAutoFillBackground(true);
    connect(m_progressTimer, &QTimer::timeout, this, &CXWPMsgSender::setProgress);
    m_progressTimer->setInterval(1000);
    connect(m_timeoutTimer, &QTimer::timeout, this, &CXWPMsgSender::timeout);
    m_timeoutTimer->setInterval(replyTimeoutSeconds() * 1000);
    ui->pbRetry->hide();
    connect(ui->pbRetry, &QPushButton::clicked, this, &CXWPMsgSender::retry);
    // Every change of the exchange's state is announced by completeChanged().
    connect(this, &QWizardPage::completeChanged, this, &CXWPMsgSender::renderOutcome);
}

CXWPMsgSender::~CXWPMsgSender()
{
    delete ui;
}

void CXWPMsgSender::initializePage()
{
    QWizardPage::initializePage();
    m_previousPageId = -1;
    releaseProgress();
    m_error = ErrorLine();
    m_replyShown = false;
    ui->lError->clear();
    ui->tbData->clear();

    auto *payWizard = qobject_cast<CorvexPayWizard *>(wizard());
    if (payWizard) {
        ui->lError->setFont(payWizard->inputFont());
        ui->lOutcome->setFont(payWizard->inputFont());
    }

    m_request = CorvexRequest();
    m_unanswered = CorvexRequest();
    hideRetry();
    setCommitPage(false);
    m_answer = QJsonObject();
    m_replyComplete = false;
    initProgress(replyTimeoutSeconds());
    renderOutcome();

    // The wizard initialises a page before it records it as visited, so the last visited id
    // is the page that led here.
    if (!payWizard || payWizard->visitedIds().isEmpty())
        return;
    const int previousId = payWizard->visitedIds().constLast();
    ICXWizardPage *previous = ICXWizardPage::fromObject(payWizard->page(previousId));
    if (!previous)
        return;

    m_previousPageId = previousId;
    ui->tbData->setHtml(previous->preview());
    m_request = previous->outputData();
    // The host may answer from inside this emission, so the request is in place before it.
    emit sendMessage(CORVEX_DESTINATION, QVariant(m_request.toMap()));
}

bool CXWPMsgSender::isComplete() const
{
    return QWizardPage::isComplete() && m_request.isValid() && m_replyComplete;
}

bool CXWPMsgSender::mayGoBack() const
{
    return !isCommitPage() && !(waiting() && changesService());
}

bool CXWPMsgSender::waiting() const
{
    return m_timeoutTimer && m_timeoutTimer->isActive();
}

bool CXWPMsgSender::changesService() const
{
    return m_request.type() == CorvexRequest::RegistrationRequest
        || m_request.type() == CorvexRequest::RegistreTemplateRequest;
}

int CXWPMsgSender::nextId() const
{
    int kind = CorvexPayWizard::PagePayment;
    const QJsonObject params = this->params();
    if (CorvexReply::hasErrorCodeIn(params)) {
        const int code = CorvexReply::errorCodeIn(params);
        switch (m_request.type()) {
        case CorvexRequest::RegistrationRequest:
            kind = nextPageIdForRegistrationRequest(code);
            break;
        case CorvexRequest::RegistreTemplateRequest:
            kind = nextPageIdForRegistreTemplateRequest(code);
            break;
        case CorvexRequest::CheckParamsRequest:
            kind = nextPageIdForCheckParamsRequest(code);
            break;
        case CorvexRequest::AllTemplatesRequest:
            kind = nextPageIdForAllTemplatesRequest(code);
            break;
        default:
            break;
        }
    }
    return CorvexPayWizard::pageIdFor(wizard(), CorvexPayWizard::EPages(kind));
}

QString CXWPMsgSender::preview() const
{
    return QString();
}

CorvexRequest CXWPMsgSender::outputData() const
{
    return CorvexRequest();
}

bool CXWPMsgSender::replyIsComplete(int type, int errorCode) const
{
    switch (type) {
    case CorvexRequest::AllTemplatesRequest:
        return QList<int>({0, 18, 19, 22, 26, 27, 29}).contains(errorCode);
    case CorvexRequest::RegistrationRequest:
    case CorvexRequest::RegistreTemplateRequest:
    case CorvexRequest::CheckParamsRequest:
        return errorCode == 0;
    default:
        return false;
    }
}

int CXWPMsgSender::nextPageIdForRegistrationRequest(int errorCode) const
{
    return errorCode == 0 ? CorvexPayWizard::PageCheckParams : CorvexPayWizard::PagePayment;
}

int CXWPMsgSender::nextPageIdForRegistreTemplateRequest(int errorCode) const
{
    return errorCode == 0 ? CorvexPayWizard::PagePrepareAllTemplatesRequest
                          : CorvexPayWizard::PagePayment;
}

int CXWPMsgSender::nextPageIdForCheckParamsRequest(int errorCode) const
{
    return errorCode == 0 ? CorvexPayWizard::PageRegistreTemplate : CorvexPayWizard::PagePayment;
}

int CXWPMsgSender::nextPageIdForAllTemplatesRequest(int errorCode) const
{
    switch (errorCode) {
    case 0:
        return CorvexPayWizard::PageSelectTemplate;
    case 18:
    case 22:
    case 26:
    case 27:
    case 29:
        return CorvexPayWizard::PageRegistrationBase;
    case 19:
        return CorvexPayWizard::PageCheckParams;
    default:
        return CorvexPayWizard::PagePayment;
    }
}

void CXWPMsgSender::initProgress(int seconds)
{
    if (m_timeoutTimer)
        m_timeoutTimer->stop();
    ui->progressBar->setValue(0);
    ui->progressBar->setRange(0, seconds);
    ui->progressBar->show();
    if (m_progressTimer)
        m_progressTimer->start();
    if (m_timeoutTimer) {
        m_timeoutTimer->setInterval(seconds * 1000);
        m_timeoutTimer->start();
    }
}

void CXWPMsgSender::releaseProgress()
{
    // Not a bar at 0 % once the wait is over: the outcome line says how it ended.
    ui->progressBar->setValue(0);
    ui->progressBar->hide();
    if (m_progressTimer)
        m_progressTimer->stop();
    if (m_timeoutTimer)
        m_timeoutTimer->stop();
}

void CXWPMsgSender::incomingMessage(const QVariantMap &headers, const QString &message)
{
    Q_UNUSED(headers)
    qCDebug(lcCorvexExchange).noquote() << "Reply received:" << message.size() << "characters";
    qCDebug(lcCorvexExchangePayload).noquote() << message;

    // Every sender page of every open wizard hears every reply. One with nothing pending
    // (never entered, or timed out) has uid 0 and must not take a reply that lacks a uid.
    if (m_request.uid() == 0)
        return;

    // Too long to be read at all: whose reply it is cannot be known, so the page keeps waiting
    // for its own, and says why nothing came.
    if (message.size() > CorvexReply::MAX_TEXT_CHARS) {
        qCWarning(lcCorvexExchange).noquote() << "Reply too large to read:" << loggedText(message);
        showOwnError(QT_TR_NOOP("Connection error"),
            QT_TR_NOOP("a reply of %1 characters is too large to read"), message.size());
        emit completeChanged();
        return;
    }

    const CorvexReply reply = CorvexReply::fromJson(message);
    if (!reply.isValid()) {
        qCWarning(lcCorvexExchange).noquote()
            << "Reply is not JSON:" << reply.errorString() << loggedText(message);
        emit completeChanged();
        return;
    }

    if (reply.uid() != m_request.uid()) {
        qCDebug(lcCorvexExchange).noquote()
            << tr("Invalid uid: %1 != %2")
                   .arg(QString::number(reply.uid()), QString::number(m_request.uid()));
        emit completeChanged();
        return;
    }

    // The host's word that the request never reached the service; too late once answered.
    if (reply.undelivered()) {
        if (!m_answer.isEmpty())
            return;
        qCInfo(lcCorvexExchange).noquote()
            << "Request" << m_request.uid() << "not delivered:" << loggedText(reply.description());
        offerRetry(QT_TR_NOOP("the request could not be delivered"),
            QT_TR_NOOP("The request did not reach the service. Retry: send it again."));
        return;
    }

    releaseProgress();
    m_answer = reply.object();
    m_error = ErrorLine();
    renderError();

    if (reply.resultFailed()) {
        m_replyComplete = false;
        showError(QT_TR_NOOP("Dalmor error"), reply.resultDescription());
        emit completeChanged();
        return;
    }

    // Neither success nor failure: the operator must not be left without a word or a way on.
    if (!reply.hasError()) {
        offerRetry(QT_TR_NOOP("the reply cannot be read"),
            QT_TR_NOOP("The service's reply cannot be read. Retry: send the request again."));
        return;
    }
    if (reply.error()) {
        m_replyComplete = false;
        showError(QT_TR_NOOP("Corvex error"), reply.description());
    } else {
        showRequest();
        // A registration or a new template has changed the service: going back and on would
        // send it again, and the service would refuse it. QWizard offers no Back past a commit
        // page, and the wizard none on the page itself.
        setCommitPage(m_replyComplete && changesService());
    }
    emit completeChanged();
}

void CXWPMsgSender::timeout()
{
    releaseProgress();
    if (!m_answer.isEmpty())
        return;
    offerRetry(QT_TR_NOOP("timeout"),
        QT_TR_NOOP("The service did not reply in time. Retry: send the request again."));
}

void CXWPMsgSender::offerRetry(const char *text, const char *outcome)
{
    releaseProgress();
    m_replyComplete = false;
    if (m_request.isValid())
        m_unanswered = m_request;
    // A late reply to the request given up on must no longer match, and the page must not
    // complete.
    m_request = CorvexRequest();
    showOwnError(QT_TR_NOOP("Connection error"), text);
    m_retryOutcome = outcome;
    ui->pbRetry->setVisible(m_unanswered.isValid());
    if (ui->pbRetry->isVisible())
        ui->pbRetry->setFocus();
    emit completeChanged();
}

void CXWPMsgSender::retry()
{
    if (!m_unanswered.isValid())
        return;
    CorvexRequest request = m_unanswered;
    m_unanswered = CorvexRequest();
    hideRetry();

    CXWPRequest::renewUid(wizard(), request);

    m_request = request;
    m_answer = QJsonObject();
    m_replyComplete = false;
    m_error = ErrorLine();
    renderError();
    initProgress(replyTimeoutSeconds());
    emit completeChanged();
    // The host may answer from inside this emission, so everything is in place before it.
    emit sendMessage(CORVEX_DESTINATION, QVariant(m_request.toMap()));
}

void CXWPMsgSender::hideRetry()
{
    // The focus leaves the button before it hides, so that a key pressed next does not go to it.
    if (focusWidget() == ui->pbRetry)
        ui->tbData->setFocus();
    ui->pbRetry->hide();
}

void CXWPMsgSender::abandon()
{
    releaseProgress();
    if (m_answer.isEmpty())
        m_request = CorvexRequest();
    m_unanswered = CorvexRequest();
    hideRetry();
    renderOutcome();
}

void CXWPMsgSender::renderOutcome()
{
    const char *text = nullptr;
    int count = -1;
    if (waiting()) {
        text = QT_TR_NOOP("Waiting for the service's reply.");
    } else if (!ui->pbRetry->isHidden()) {
        text = m_retryOutcome;
    } else if (!m_answer.isEmpty() && !isComplete()) {
        text = QT_TR_NOOP("The service refused the request. Back: correct it and send again.");
    } else if (!m_answer.isEmpty()) {
        const QJsonObject params = this->params();
        const int code = CorvexReply::errorCodeIn(params);
        switch (m_request.type()) {
        case CorvexRequest::RegistrationRequest:
            text = QT_TR_NOOP("Customer registered. Next: add a template with the bank's BIK.");
            break;
        case CorvexRequest::RegistreTemplateRequest:
            text = QT_TR_NOOP("Template registered. Next: find the customer's templates.");
            break;
        case CorvexRequest::CheckParamsRequest:
            text = QT_TR_NOOP("Bank found. Next: fill in the template.");
            break;
        default: // the customer's templates: only a look-up's codes complete the page
            if (code == 0) {
                text = QT_TR_NOOP("Customer found. Templates: %1. Next: choose one.");
                count = templateCount(params);
            } else if (code == 19) {
                text = QT_TR_NOOP("Customer found, no templates yet. Next: add one with the "
                                  "bank's BIK.");
            } else {
                text = QT_TR_NOOP("The customer must be registered first. Next: registration.");
            }
        }
    }
    QString shown = text ? tr(text) : QString();
    ui->lOutcome->setText(count < 0 ? shown : shown.arg(count));
}

void CXWPMsgSender::setProgress()
{
    ui->progressBar->setValue(ui->progressBar->value() + 1);
    // Lets the reply, the time-out and the operator's buttons through while the page waits.
    // Any of them may even delete this page, so nothing is touched afterwards.
    QCoreApplication::processEvents();
}

void CXWPMsgSender::showRequest()
{
    renderReply();

    const QJsonObject params = this->params();
    const QString description = textOf(params, CorvexKey::Description);
    if (CorvexReply::hasErrorCodeIn(params)) {
        const int code = CorvexReply::errorCodeIn(params);
        m_replyComplete = replyIsComplete(m_request.type(), code);
        if (code != 0)
            showError(QT_TR_NOOP("Corvex error"), description, code == 19 ? BLUE : RED);
        return;
    }

    m_replyComplete = false;
    const bool described = textOf(params, CorvexKey::Result).toLower() == QLatin1String("error");
    if (described)
        showError(QT_TR_NOOP("Corvex error"), description);
    else
        showOwnError(QT_TR_NOOP("Corvex error"), QT_TR_NOOP("Unknown error"));
}

void CXWPMsgSender::showRegistrarionRequest()
{
    showReply(QStringList());
}

void CXWPMsgSender::showRegistreTemplateRequest()
{
    showReply(QStringList());
}

void CXWPMsgSender::showCheckParamsRequst()
{
    const QJsonObject params = this->params();
    auto field = [&params](QLatin1String key, const QString &title) {
        return params.contains(key) ? fieldFragment(title, textOf(params, key)) : QString();
    };

    const QStringList names {field(CorvexKey::PName1, QString()),
        field(CorvexKey::PName2, QString()), field(CorvexKey::PName3, QString())};
    // A bank that asks for nothing, or a refused check, gets no empty "fill in" heading.
    const bool asks = !names.join(QString()).isEmpty();
    QStringList own;
    own << QStringLiteral("<h3 align= \"center\">") << field(CorvexKey::Bank, tr("Bank"))
        << QStringLiteral("</h3><div align=\"center\">") << field(CorvexKey::Bik, tr("BIK"))
        << QStringLiteral("</div> <div align=\"left\">")
        << field(CorvexKey::Destination, tr("Destination"))
        << (asks ? QStringLiteral("</div><h4 align=\"left\"><font color=\"blue\"><b>%1:</b></font>"
                                  "</h4><div align=\"left\">")
                       .arg(tr("Fill next fields"))
                 : QStringLiteral("</div><div align=\"left\">"))
        << names[0] << QStringLiteral("</div> <div align=\"left\">") << names[1]
        << QStringLiteral("</div> <div align=\"left\">") << names[2] << QStringLiteral("</div>");
    showReply(own);
}

void CXWPMsgSender::showAllTemplatesRequst()
{
    const QJsonObject params = this->params();
    QStringList own;
    if (params.contains(CorvexKey::LastName)) {
        own << QStringLiteral("<p align=\"left\"><b>%1: </b> %2 %3 %4</p>")
                   .arg(tr("Full name"), shownOf(params, CorvexKey::LastName),
                       shownOf(params, CorvexKey::FirstName),
                       shownOf(params, CorvexKey::SecondName));
    }
    showReply(own);
}

void CXWPMsgSender::changeEvent(QEvent *event)
{
    QWizardPage::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    ui->retranslateUi(this);
    // What the page shows is rendered again in the new language; the service's texts stay as
    // they were sent, and the outcome of the exchange is not touched.
    if (m_replyShown) {
        renderReply();
    } else if (ICXWizardPage *previous = previousPage()) {
        ui->tbData->setHtml(previous->preview());
    }
    renderError();
    renderOutcome();
}

void CXWPMsgSender::renderReply()
{
    m_replyShown = true;
    switch (m_request.type()) {
    case CorvexRequest::RegistrationRequest:
        showRegistrarionRequest();
        break;
    case CorvexRequest::RegistreTemplateRequest:
        showRegistreTemplateRequest();
        break;
    case CorvexRequest::AllTemplatesRequest:
        showAllTemplatesRequst();
        break;
    case CorvexRequest::CheckParamsRequest:
        showCheckParamsRequst();
        break;
    default:
        break;
    }
}

ICXWizardPage *CXWPMsgSender::previousPage() const
{
    auto *payWizard = qobject_cast<CorvexPayWizard *>(wizard());
    if (!payWizard || m_previousPageId < 0)
        return nullptr;
    return ICXWizardPage::fromObject(payWizard->page(m_previousPageId));
}

QJsonObject CXWPMsgSender::params() const
{
    return CorvexReply(m_answer).paramsObject();
}

void CXWPMsgSender::showReply(const QStringList &ownFragments)
{
    QStringList fragments;
    if (ICXWizardPage *previous = previousPage())
        fragments << previous->preview();
    fragments << ownFragments;

    const QString description = textOf(params(), CorvexKey::Description);
    if (!description.isEmpty()) {
        fragments << QStringLiteral("<h4 align=\"left\">%1</h4>").arg(tr("Description"));
        const QString line = QStringLiteral("<div align=\"left\"><i>%1</i></div>");
        for (const QString &shown : CXServiceText::shownLines(description))
            fragments << line.arg(shown.toHtmlEscaped());
    }
    ui->tbData->setHtml(fragments.join(QString()));
}

void CXWPMsgSender::showError(const char *title, const QString &text, const QString &color)
{
    m_error = {title, nullptr, -1, text, color};
    renderError();
}

void CXWPMsgSender::showOwnError(const char *title, const char *text, qint64 count)
{
    m_error = {title, text, count, QString(), RED};
    renderError();
}

void CXWPMsgSender::renderError()
{
    if (!m_error.title) {
        ui->lError->clear();
        return;
    }
    QString shown = m_error.ownText ? tr(m_error.ownText)
                                    : CXServiceText::shown(m_error.serviceText, MAX_ERROR_CHARS);
    if (m_error.ownText && m_error.count >= 0)
        shown = shown.arg(m_error.count);
    ui->lError->setText(QStringLiteral("<font color=\"%1\"><b>%2: </b>%3</font>")
                            .arg(m_error.color, tr(m_error.title), shown.toHtmlEscaped()));
}
