#include "corvexsimulator.h"

#include "corvexprotocol.h"
#include "jsonconfig.h"

#include <QJsonDocument>
#include <QRegularExpression>
#include <QTimer>

#include <climits>

namespace {

const QStringList PARAMETER_NAMES = {CorvexKey::PName1, CorvexKey::PName2, CorvexKey::PName3};

const int CODE_OK = 0;
const int CODE_ALREADY_REGISTERED = 1;
const int CODE_BAD_REQUEST = 2;
const int CODE_UNKNOWN_BANK = 4;
const int CODE_NO_TEMPLATES = 19;
// The only template request code the service knows: credit repayment.
const int REPAYMENT_REQUEST_CODE = 601;

bool isPhone(const QString &phone)
{
    static const QRegularExpression pattern(QStringLiteral("^\\d{10}$"));
    return pattern.match(phone).hasMatch();
}

bool isBik(const QString &bik)
{
    static const QRegularExpression pattern(QStringLiteral("^\\d{9}$"));
    return pattern.match(bik).hasMatch();
}

// A parameter name the service announces but keeps to itself.
bool isHidden(const QString &name)
{
    return name.isEmpty() || name.contains(QLatin1String("***"));
}

QString text(const QJsonObject &request, const QString &key)
{
    return request.value(key).toVariant().toString();
}

QJsonObject reply(const QJsonObject &request, const QJsonObject &params)
{
    return {{CorvexKey::Uid, request.value(CorvexKey::Uid)}, {CorvexKey::Result, 0},
        {CorvexKey::Error, false}, {CorvexKey::Params, params}};
}

QJsonObject coded(const QJsonObject &request, int code, const QString &description,
    QJsonObject params = QJsonObject())
{
    params.insert(CorvexKey::ErrorCode, code);
    params.insert(CorvexKey::Description, description);
    return reply(request, params);
}

QString fullName(const QString &last, const QString &first, const QString &second)
{
    return QStringList({last, first, second}).join(QLatin1Char(' ')).simplified();
}

} // namespace

CorvexSimulator::CorvexSimulator(QObject *parent)
    : QObject(parent)
{ }

bool CorvexSimulator::load(const QString &fileName, QString *error)
{
    JsonConfig config;
    if (!config.load(fileName, MaxFileSize)) {
        *error = config.error();
        return false;
    }
    JsonNode root = config.root();

    QMap<QString, Customer> customers;
    for (const JsonNode &node : root.objects(QStringLiteral("customers"))) {
        Customer customer;
        const QString phone = node.string(CorvexKey::Phone);
        customer.lastName = node.string(CorvexKey::LastName);
        customer.firstName = node.string(CorvexKey::FirstName);
        customer.secondName = node.string(CorvexKey::SecondName, QString());
        for (const JsonNode &item : node.objects(QStringLiteral("templates"))) {
            item.string(CorvexKey::CreditCode);
            customer.templates.append(item.raw());
        }
        if (config.ok() && !isPhone(phone))
            config.fail(node.path(CorvexKey::Phone), QStringLiteral("must be ten digits"));
        customers.insert(phone, customer);
    }

    QMap<QString, QJsonObject> banks;
    for (const JsonNode &node : root.objects(QStringLiteral("banks"))) {
        const QString bik = node.string(CorvexKey::Bik);
        node.string(CorvexKey::Bank);
        if (config.ok() && !isBik(bik))
            config.fail(node.path(CorvexKey::Bik), QStringLiteral("must be nine digits"));
        banks.insert(bik, node.raw());
    }

    QMap<QString, int> phoneCodes;
    const JsonNode codes(
        &config, root.map(QStringLiteral("phoneCodes")), root.path(QStringLiteral("phoneCodes")));
    for (const QString &phone : codes.raw().keys())
        phoneCodes.insert(phone, int(codes.integer(phone, INT_MIN, INT_MAX)));

    QList<QJsonObject> failures;
    if (root.has(QStringLiteral("failures"))) {
        for (const JsonNode &node : root.objects(QStringLiteral("failures"))) {
            node.object(QStringLiteral("when"));
            node.object(QStringLiteral("reply"));
            failures << node.raw();
        }
    }

    const int unknownCode
        = int(root.integer(QStringLiteral("unknownCustomerCode"), 18, INT_MIN, INT_MAX));
    const qint64 nextCode
        = root.integer(QStringLiteral("nextCreditCode"), 7000000001LL, 0, JsonNode::MaxInteger);
    const int delay = int(root.integer(QStringLiteral("replyDelayMs"), 300, 0, MaxReplyDelay));
    if (!config.ok()) {
        *error = config.error();
        return false;
    }

    m_customers = customers;
    m_banks = banks;
    m_phoneCodes = phoneCodes;
    m_failures = failures;
    m_unknownCustomerCode = unknownCode;
    m_nextCreditCode = nextCode;
    setReplyDelay(delay);
    return true;
}

QJsonObject CorvexSimulator::answer(const QJsonObject &request)
{
    QJsonObject failure;
    if (injectedFailure(request, &failure))
        return failure;

    const QString function = text(request, CorvexKey::Function);
    if (function == CorvexFunction::AllTemplates)
        return allTemplates(request);
    if (function == CorvexFunction::Registration)
        return registration(request);
    if (function == CorvexFunction::CheckParams)
        return checkParams(request);
    if (function == CorvexFunction::RegistreTemplate)
        return registreTemplate(request);
    // Even a request the service does not know gets an answer: silence would only look like a
    // broken line to the terminal.
    return {{CorvexKey::Uid, request.value(CorvexKey::Uid)}, {CorvexKey::Error, true},
        {CorvexKey::Description,
            function.isEmpty() ? QStringLiteral("The request names no function")
                               : QStringLiteral("Unknown function \"%1\"").arg(function)}};
}

QString CorvexSimulator::answer(const QString &requestText)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(requestText.toUtf8(), &parseError);
    QJsonObject reply;
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        reply = {{CorvexKey::Error, true},
            {CorvexKey::Description, QStringLiteral("The request is not a JSON object")}};
    } else {
        reply = answer(document.object());
    }
    return QString::fromUtf8(QJsonDocument(reply).toJson(QJsonDocument::Compact));
}

void CorvexSimulator::submit(
    const QString &requestText, QObject *context, std::function<void(const QString &)> deliver)
{
    const QString reply = answer(requestText);
    QTimer::singleShot(m_replyDelay, context, [deliver, reply] { deliver(reply); });
}

QJsonArray CorvexSimulator::templates(const QString &phone) const
{
    return m_customers.value(phone).templates;
}

QJsonObject CorvexSimulator::allTemplates(const QJsonObject &request)
{
    const QString phone = text(request, CorvexKey::Phone);
    if (!isPhone(phone))
        return coded(request, CODE_BAD_REQUEST, QStringLiteral("The phone must be ten digits"));
    if (m_phoneCodes.contains(phone)) {
        const int code = m_phoneCodes.value(phone);
        return coded(request, code,
            QStringLiteral("The customer cannot use templates until registered again (code %1)")
                .arg(code));
    }
    if (!m_customers.contains(phone)) {
        return coded(request, m_unknownCustomerCode,
            QStringLiteral("No customer with the phone %1; register the customer first")
                .arg(phone));
    }

    const Customer &customer = m_customers[phone];
    QJsonObject params = {{CorvexKey::Phone, phone}, {CorvexKey::LastName, customer.lastName},
        {CorvexKey::FirstName, customer.firstName}, {CorvexKey::SecondName, customer.secondName},
        {CorvexKey::FullName, fullName(customer.lastName, customer.firstName, customer.secondName)},
        {CorvexKey::TemplateList, customer.templates}};
    if (customer.templates.isEmpty()) {
        return coded(request, CODE_NO_TEMPLATES,
            QStringLiteral("The customer has no templates yet; add one with the bank's BIK"),
            params);
    }
    return coded(request, CODE_OK,
        QStringLiteral("Templates on record: %1").arg(customer.templates.size()), params);
}

QJsonObject CorvexSimulator::registration(const QJsonObject &request)
{
    const QString phone = text(request, CorvexKey::Phone);
    Customer customer;
    customer.lastName = text(request, CorvexKey::LastName).trimmed();
    customer.firstName = text(request, CorvexKey::FirstName).trimmed();
    customer.secondName = text(request, CorvexKey::SecondName).trimmed();
    if (!isPhone(phone))
        return coded(request, CODE_BAD_REQUEST, QStringLiteral("The phone must be ten digits"));
    if (customer.lastName.isEmpty() || customer.firstName.isEmpty())
        return coded(request, CODE_BAD_REQUEST, QStringLiteral("The customer's name is missing"));
    if (m_customers.contains(phone)) {
        return coded(request, CODE_ALREADY_REGISTERED,
            QStringLiteral("The customer with the phone %1 is already registered").arg(phone));
    }
    m_customers.insert(phone, customer);
    m_phoneCodes.remove(phone);
    return coded(request, CODE_OK,
        QStringLiteral("Registered: %1")
            .arg(fullName(customer.lastName, customer.firstName, customer.secondName)));
}

QJsonObject CorvexSimulator::checkParams(const QJsonObject &request)
{
    const QString bik = text(request, CorvexKey::Bik);
    if (!isBik(bik))
        return coded(request, CODE_BAD_REQUEST, QStringLiteral("The BIK must be nine digits"));
    if (!m_banks.contains(bik)) {
        return coded(
            request, CODE_UNKNOWN_BANK, QStringLiteral("No bank with the BIK %1").arg(bik));
    }
    const QJsonObject bank = m_banks.value(bik);
    QJsonObject params = {{CorvexKey::Bank, bank.value(CorvexKey::Bank)}, {CorvexKey::Bik, bik},
        {CorvexKey::Destination, bank.value(CorvexKey::Destination).toString()}};
    for (const QString &key : PARAMETER_NAMES)
        params.insert(key, bank.value(key).toString());
    return coded(request, CODE_OK, QString(), params);
}

QJsonObject CorvexSimulator::registreTemplate(const QJsonObject &request)
{
    const QString phone = text(request, CorvexKey::Phone);
    if (request.value(CorvexKey::RCode).toVariant().toInt() != REPAYMENT_REQUEST_CODE) {
        return coded(request, CODE_BAD_REQUEST,
            QStringLiteral("Unknown template request code %1")
                .arg(text(request, CorvexKey::RCode)));
    }
    if (!m_customers.contains(phone)) {
        return coded(request, m_unknownCustomerCode,
            QStringLiteral("No customer with the phone %1; register the customer first")
                .arg(phone));
    }

    // "params" is the BIK followed by the value of every parameter the bank announced.
    QStringList values = text(request, CorvexKey::Params).split(QLatin1Char(';'));
    const QString bik = values.takeFirst();
    if (!m_banks.contains(bik)) {
        return coded(
            request, CODE_UNKNOWN_BANK, QStringLiteral("No bank with the BIK %1").arg(bik));
    }
    const QJsonObject bank = m_banks.value(bik);
    QStringList names;
    for (const QString &key : PARAMETER_NAMES) {
        if (!isHidden(bank.value(key).toString()))
            names << bank.value(key).toString();
    }
    if (values.size() != names.size() || values.contains(QString())) {
        return coded(request, CODE_BAD_REQUEST,
            QStringLiteral("The bank expects %1 parameter values: %2")
                .arg(names.size())
                .arg(names.join(QStringLiteral(", "))));
    }

    QJsonObject addInfo;
    for (int i = 0; i < names.size(); ++i)
        addInfo.insert(names.at(i), values.at(i));
    if (request.contains(CorvexKey::Amount)) {
        const qint64 minor = request.value(CorvexKey::Amount).toVariant().toLongLong();
        addInfo.insert(QStringLiteral("Planned amount"),
            QStringLiteral("%1.%2")
                .arg(minor / 100)
                .arg(qAbs(minor % 100), 2, 10, QLatin1Char('0')));
    }
    const QString code = nextCreditCode();
    m_customers[phone].templates.append(
        QJsonObject({{CorvexKey::CreditType, bank.value(CorvexKey::CreditType).toString()},
            {CorvexKey::BankName, bank.value(CorvexKey::Bank)}, {CorvexKey::CreditCode, code},
            {CorvexKey::AddInfo, addInfo}}));
    return coded(request, CODE_OK, QStringLiteral("Template registered, credit code %1").arg(code));
}

bool CorvexSimulator::injectedFailure(const QJsonObject &request, QJsonObject *reply) const
{
    for (const QJsonObject &failure : m_failures) {
        const QJsonObject when = failure.value(QStringLiteral("when")).toObject();
        bool matches = true;
        for (auto it = when.constBegin(); matches && it != when.constEnd(); ++it)
            matches = text(request, it.key()) == it.value().toVariant().toString();
        if (matches) {
            *reply = failure.value(QStringLiteral("reply")).toObject();
            reply->insert(CorvexKey::Uid, request.value(CorvexKey::Uid));
            return true;
        }
    }
    return false;
}

QString CorvexSimulator::nextCreditCode()
{
    QString code;
    // Never hand out a code that a template already carries.
    do {
        code = QString::number(m_nextCreditCode++);
    } while ([this, &code] {
        for (const Customer &customer : qAsConst(m_customers)) {
            for (const QJsonValue &item : customer.templates) {
                if (item.toObject().value(CorvexKey::CreditCode).toString() == code)
                    return true;
            }
        }
        return false;
    }());
    return code;
}
