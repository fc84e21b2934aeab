// The sender page's handling of a service reply, for every request type: whatever the reply,
// the page stays consistent, shows a bounded amount of text and completes only on a success.
// Inputs run up to 64 KB unless -max_len says otherwise, so that texts reach their bounds; one
// input in 32 is padded past the length of a reply that is read at all.
#include "corvexpaywizard.h"
#include "corvexprotocol.h"
#include "cxwpmsgsender.h"
#include "fuzzinput.h"

#include <QApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QTextBrowser>
#include <QTextDocumentFragment>

#include <cmath>
#include <cstring>
#include <vector>

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

// The error code as the service may write it: a whole JSON number or a decimal text, in the
// range of int. Anything else (a flag, a fraction, a word, an object) is no code.
bool codeOf(const QJsonValue &value, int *code)
{
    if (value.isDouble()) {
        const double d = value.toDouble();
        if (std::floor(d) != d || d < -2147483648.0 || d > 2147483647.0)
            return false;
        *code = int(d);
        return true;
    }
    if (!value.isString())
        return false;
    const QString text = value.toString().trimmed();
    int i = 0;
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (negative || text.startsWith(QLatin1Char('+')))
        i = 1;
    if (i == text.size())
        return false;
    qint64 number = 0;
    for (; i < text.size(); ++i) {
        const ushort c = text.at(i).unicode();
        if (c < '0' || c > '9')
            return false;
        number = number * 10 + (c - '0');
        if (number > Q_INT64_C(2147483648))
            return false;
    }
    number = negative ? -number : number;
    if (number > 2147483647)
        return false;
    *code = int(number);
    return true;
}

QString plain(const QString &html)
{
    return QTextDocumentFragment::fromHtml(html).toPlainText();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    bool maxLenGiven = false;
    for (int i = 1; i < *argc; ++i)
        maxLenGiven = maxLenGiven || std::strncmp((*argv)[i], "-max_len=", 9) == 0;
    if (!maxLenGiven) {
        static std::vector<char *> args((*argv), (*argv) + *argc);
        static char maxLen[] = "-max_len=65536";
        args.insert(args.begin() + 1, maxLen);
        args.push_back(nullptr);
        *argc += 1;
        *argv = args.data();
    }
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
    const bool oversized = (mode & 0xF8) == 0xF8;
    if (oversized)
        message.append(QString(CorvexReply::MAX_TEXT_CHARS + 1 - message.size(), ' '));

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
    const QString error = plain(sender->findChild<QLabel *>(QStringLiteral("lError"))->text());
    const QString shown
        = sender->findChild<QTextBrowser *>(QStringLiteral("tbData"))->toPlainText();
    FUZZ_CHECK(sender->nextId() >= 0);
    // The error line: 1,000 characters of the service's text with their break points, the
    // title and the note of the rest. The rendering: 20,000 characters of the description,
    // 500 of each other value, with theirs.
    FUZZ_CHECK(error.size() < 1200);
    FUZZ_CHECK(shown.size() < 25000);
    if (oversized) {
        FUZZ_CHECK(answer.isEmpty() && !sender->isComplete());
        FUZZ_CHECK(error.contains(QStringLiteral("too large")));
        return 0;
    }

    // The same reply, read here on its own.
    const QJsonObject reply = QJsonDocument::fromJson(message.toUtf8()).object();
    const QJsonObject params = reply.value(QStringLiteral("params")).toObject();
    int code = -1;
    const bool hasCode = codeOf(params.value(QStringLiteral("errorCode")), &code);
    if (sender->isComplete()) {
        FUZZ_CHECK(reply.contains(QStringLiteral("error")));
        FUZZ_CHECK(hasCode && completes(type, code));
        FUZZ_CHECK(sender->nextId() != CorvexPayWizard::PagePayment);
    }
    // A rendered reply shows its description after every other text, whatever those hold (a
    // NUL in a name once hid the rest).
    const QJsonValue description = params.value(QStringLiteral("description"));
    if (!answer.isEmpty() && !reply.contains(QStringLiteral("result"))
        && reply.value(QStringLiteral("error")) == QJsonValue(false) && description.isString()
        && !description.toString().isEmpty()) {
        FUZZ_CHECK(shown.contains(QStringLiteral("Description")));
    }
    return 0;
}

#include "fuzz_reply.moc"
