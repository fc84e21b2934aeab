#ifndef CXWPMSGSENDER_H
#define CXWPMSGSENDER_H

#include "icxwizardpage.h"

#include <QJsonObject>
#include <QPointer>
#include <QVariant>
#include <QVariantMap>
#include <QWizardPage>

class QTimer;
class Ui_CXWPMsgSender;

// Sends the request of the page before it to the payment service, waits for the reply with the
// same uid, shows it and picks the next page from it.
class CXWPMsgSender : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    static const QString CORVEX_DESTINATION;
    static const QString CORVEX_REPLY;

    explicit CXWPMsgSender(QWizard *wizard);
    ~CXWPMsgSender() override;

    void initializePage() override;
    bool isComplete() const override;
    int nextId() const override;
    QString preview() const override;
    CorvexRequest outputData() const override;

    CorvexRequest request() const { return m_request; }
    // False while a request that changes the service (a registration, a new template) waits
    // for its reply, and once it has been accepted: going back and on would send it again.
    bool mayGoBack() const;
    // The accepted reply as a map; every call converts it whole.
    QVariantMap answer() const { return m_answer.toVariantMap(); }

    bool replyIsComplete(int type, int errorCode) const;
    int nextPageIdForRegistrationRequest(int errorCode) const;
    int nextPageIdForRegistreTemplateRequest(int errorCode) const;
    int nextPageIdForCheckParamsRequest(int errorCode) const;
    int nextPageIdForAllTemplatesRequest(int errorCode) const;

    void initProgress(int seconds);
    void releaseProgress();

    void showRequest();
    void showRegistrarionRequest();
    void showRegistreTemplateRequest();
    void showCheckParamsRequst();
    void showAllTemplatesRequst();

signals:
    void sendMessage(const QString &destination, const QVariant &data);

public slots:
    void incomingMessage(const QVariantMap &headers, const QString &message);
    void timeout();
    void setProgress();
    // Sends the request that got no usable answer (a time-out, an undelivered request, a reply
    // that cannot be read) once more under a fresh uid; nothing when there is none.
    void retry();
    // The dialog was closed: nothing is awaited or sent any more, and a late reply is ignored.
    void abandon();

protected:
    void changeEvent(QEvent *event) override;

private:
    ICXWizardPage *previousPage() const;
    QJsonObject params() const;
    void showReply(const QStringList &ownFragments);
    void renderReply();
    // The error line: a title and either the service's own text (shown as sent) or one of the
    // page's texts. Both titles and own texts are untranslated sources, so that a language
    // change can render the line again.
    void showError(
        const char *title, const QString &text, const QString &color = QStringLiteral("red"));
    // An own text with "%1" gets the number `count`.
    void showOwnError(const char *title, const char *text, qint64 count = -1);
    void renderError();
    // Ends the wait without a usable answer: the request may be sent again with Retry.
    // `text` says why on the error line, `outcome` on the outcome line.
    void offerRetry(const char *text, const char *outcome);
    void hideRetry();
    bool waiting() const;
    bool changesService() const;
    // The outcome line: in the operator's words what happened and what the next step is.
    void renderOutcome();

    struct ErrorLine
    {
        const char *title = nullptr;
        const char *ownText = nullptr;
        qint64 count = -1;
        QString serviceText;
        QString color;
    };

    Ui_CXWPMsgSender *ui;
    CorvexRequest m_request;
    // The request that Retry sends again; invalid while there is nothing to retry.
    CorvexRequest m_unanswered;
    // The outcome line's text while Retry is offered.
    const char *m_retryOutcome = nullptr;
    QJsonObject m_answer;
    bool m_replyComplete = false;
    QPointer<QTimer> m_progressTimer;
    QPointer<QTimer> m_timeoutTimer;
    int m_previousPageId = -1;
    ErrorLine m_error;
    // The reply has been rendered into "tbData"; before that it holds the request's preview.
    bool m_replyShown = false;
};

#endif // CXWPMSGSENDER_H
