// The sender page's handling of a service reply, for every request type: whatever the reply,
// the page stays consistent, shows a bounded amount of text and completes only on a success.
#include "corvexpaywizard.h"
#include "cxwpmsgsender.h"
#include "fuzzinput.h"

#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QTextBrowser>

namespace {

const qint64 UID = 123;

// The page before the sender: it describes a request of the type under test.
class RequestPage : public QWizardPage, public ICXWizardPage
{
    Q_OBJECT

public:
    explicit RequestPage(QWizard *wizard)
        : QWizardPage(wizard)
    { }
    int nextId() const override
    {
        return CorvexPayWizard::pageIdFor(wizard(), CorvexPayWizard::PageMsgSender);
    }
    QString preview() const override { return QStringLiteral("<p>request</p>"); }
    CorvexRequest outputData() const override { return request; }

    CorvexRequest request;
};

// The reply channel of a host.
class Host : public QObject
{
    Q_OBJECT

signals:
    void reply(const QVariantMap &headers, const QString &message);
};

bool completes(int type, int code)
{
    if (type == CorvexRequest::AllTemplatesRequest)
        return QList<int>({0, 18, 19, 22, 26, 27, 29}).contains(code);
    return code == 0;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qSetMessagePattern(QStringLiteral("%{if-warning}%{message}%{endif}"));
    static QApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const int TYPES[]
        = {CorvexRequest::RegistrationRequest, CorvexRequest::RegistreTemplateRequest,
            CorvexRequest::AllTemplatesRequest, CorvexRequest::CheckParamsRequest};
    FuzzInput input(data, size);
    const uint8_t mode = input.take<uint8_t>();
    const int type = TYPES[mode % 4];
    QString message = input.rest();
    // Half of the inputs answer the pending request, so that the rendering is reached.
    if (mode & 4) {
        QJsonObject object = QJsonDocument::fromJson(message.toUtf8()).object();
        object.insert(QStringLiteral("uid"), QString::number(UID));
        message = QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
    }

    // One wizard for the whole run: each input restarts it and walks to the sender page again.
    static CorvexPayWizard wizard {QFont(), Currency(), FixNumber()};
    static Host host;
    static RequestPage *page = nullptr;
    if (!page) {
        wizard.setMessageReciever(&host, SIGNAL(reply(QVariantMap, QString)));
        page = new RequestPage(&wizard);
        wizard.removePage(CorvexPayWizard::PagePrepareAllTemplatesRequest);
        wizard.setPage(CorvexPayWizard::PagePrepareAllTemplatesRequest, page);
        wizard.setStartId(CorvexPayWizard::PagePrepareAllTemplatesRequest);
    }
    page->request.setType(CorvexRequest::ERequestType(type));
    page->request.setFunction(QStringLiteral("f"));
    page->request.setUid(UID);
    wizard.restart();
    wizard.next();
    auto *sender = qobject_cast<CXWPMsgSender *>(wizard.currentPage());
    FUZZ_CHECK(sender);

    emit host.reply(QVariantMap(), message);

    const QVariantMap answer = sender->answer();
    const QVariantMap params = answer.value(QStringLiteral("params")).toMap();
    if (sender->isComplete()) {
        FUZZ_CHECK(answer.value(QStringLiteral("error")).userType() != QMetaType::UnknownType);
        FUZZ_CHECK(params.contains(QStringLiteral("errorCode")));
        const QVariant code = params.value(QStringLiteral("errorCode"));
        FUZZ_CHECK(completes(type, int(code.toDouble())) || code.toString().toInt() == 0
            || completes(type, code.toString().toInt()));
        FUZZ_CHECK(sender->nextId() != CorvexPayWizard::PagePayment);
    }
    FUZZ_CHECK(sender->nextId() >= 0);
    FUZZ_CHECK(sender->findChild<QLabel *>(QStringLiteral("lError"))->text().size() < 1300);
    FUZZ_CHECK(
        sender->findChild<QTextBrowser *>(QStringLiteral("tbData"))->toPlainText().size() < 40000);
    return 0;
}

#include "fuzz_reply.moc"
