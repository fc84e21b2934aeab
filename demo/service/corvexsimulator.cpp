#include "corvexsimulator.h"

#include "jsonconfig.h"

#include <QJsonDocument>
#include <QRegularExpression>
#include <QTimer>

namespace {

const QString F_LIST_TEMPLATES = QStringLiteral("listtid");
const QString F_REGISTRATION = QStringLiteral("reg");
const QString F_CHECK_PARAMS = QStringLiteral("check_params");
const QString F_REGISTRE_TEMPLATE = QStringLiteral("check");

const QString K_FUNCTION = QStringLiteral("function");
const QString K_UID = QStringLiteral("uid");
const QString K_RESULT = QStringLiteral("result");
const QString K_ERROR = QStringLiteral("error");
const QString K_DESCRIPTION = QStringLiteral("description");
const QString K_PARAMS = QStringLiteral("params");
const QString K_ERROR_CODE = QStringLiteral("errorCode");
const QString K_PHONE = QStringLiteral("phone");
const QString K_LAST_NAME = QStringLiteral("lastName");
const QString K_FIRST_NAME = QStringLiteral("firstName");
const QString K_SECOND_NAME = QStringLiteral("secondName");
const QString K_FULL_NAME = QStringLiteral("fullName");
const QString K_TEMPLATE_LIST = QStringLiteral("templateList");
const QString K_CREDIT_TYPE = QStringLiteral("creditType");
const QString K_BANK_NAME = QStringLiteral("bankName");
const QString K_CREDIT_CODE = QStringLiteral("creditCode");
const QString K_ADD_INFO = QStringLiteral("addInfo");
const QString K_BIK = QStringLiteral("bik");
const QString K_BANK = QStringLiteral("bank");
const QString K_DESTINATION = QStringLiteral("destination");
const QString K_R_CODE = QStringLiteral("rCode");
const QString K_AMOUNT = QStringLiteral("amount");
const QStringList K_PARAMETER_NAMES
    = {QStringLiteral("pName1"), QStringLiteral("pName2"), QStringLiteral("pName3")};

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
    return {{K_UID, request.value(K_UID)}, {K_RESULT, 0}, {K_ERROR, false}, {K_PARAMS, params}};
}

QJsonObject coded(const QJsonObject &request, int code, const QString &description,
    QJsonObject params = QJsonObject())
{
    params.insert(K_ERROR_CODE, code);
    params.insert(K_DESCRIPTION, description);
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
    if (!config.load(fileName)) {
        *error = config.error();
        return false;
    }
    JsonNode root = config.root();

    QMap<QString, Customer> customers;
    for (const JsonNode &node : root.objects(QStringLiteral("customers"))) {
        Customer customer;
        const QString phone = node.string(K_PHONE);
        customer.lastName = node.string(K_LAST_NAME);
        customer.firstName = node.string(K_FIRST_NAME);
        customer.secondName = node.string(K_SECOND_NAME, QString());
        for (const JsonNode &item : node.objects(QStringLiteral("templates"))) {
            item.string(K_CREDIT_CODE);
            customer.templates.append(item.raw());
        }
        if (config.ok() && !isPhone(phone))
            config.fail(node.path(K_PHONE), QStringLiteral("must be ten digits"));
        customers.insert(phone, customer);
    }

    QMap<QString, QJsonObject> banks;
    for (const JsonNode &node : root.objects(QStringLiteral("banks"))) {
        const QString bik = node.string(K_BIK);
        node.string(K_BANK);
        if (config.ok() && !isBik(bik))
            config.fail(node.path(K_BIK), QStringLiteral("must be nine digits"));
        banks.insert(bik, node.raw());
    }

    QMap<QString, int> phoneCodes;
    const JsonNode codes(
        &config, root.map(QStringLiteral("phoneCodes")), root.path(QStringLiteral("phoneCodes")));
    for (const QString &phone : codes.raw().keys())
        phoneCodes.insert(phone, int(codes.integer(phone)));

    QList<QJsonObject> failures;
    if (root.has(QStringLiteral("failures"))) {
        for (const JsonNode &node : root.objects(QStringLiteral("failures"))) {
            node.object(QStringLiteral("when"));
            node.object(QStringLiteral("reply"));
            failures << node.raw();
        }
    }

    const int unknownCode = int(root.integer(QStringLiteral("unknownCustomerCode"), 18));
    const qint64 nextCode = root.integer(QStringLiteral("nextCreditCode"), 7000000001LL);
    const int delay = int(root.integer(QStringLiteral("replyDelayMs"), 300));
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

    const QString function = text(request, K_FUNCTION);
    if (function == F_LIST_TEMPLATES)
        return allTemplates(request);
    if (function == F_REGISTRATION)
        return registration(request);
    if (function == F_CHECK_PARAMS)
        return checkParams(request);
    if (function == F_REGISTRE_TEMPLATE)
        return registreTemplate(request);
    // Even a request the service does not know gets an answer: silence would only look like a
    // broken line to the terminal.
    return {{K_UID, request.value(K_UID)}, {K_ERROR, true},
        {K_DESCRIPTION,
            function.isEmpty() ? QStringLiteral("The request names no function")
                               : QStringLiteral("Unknown function \"%1\"").arg(function)}};
}

QString CorvexSimulator::answer(const QString &requestText)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(requestText.toUtf8(), &parseError);
    QJsonObject reply;
    if (parseError.error != QJsonParseError::NoError || !document.isObject()) {
        reply = {
            {K_ERROR, true}, {K_DESCRIPTION, QStringLiteral("The request is not a JSON object")}};
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
    const QString phone = text(request, K_PHONE);
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
    QJsonObject params = {{K_PHONE, phone}, {K_LAST_NAME, customer.lastName},
        {K_FIRST_NAME, customer.firstName}, {K_SECOND_NAME, customer.secondName},
        {K_FULL_NAME, fullName(customer.lastName, customer.firstName, customer.secondName)},
        {K_TEMPLATE_LIST, customer.templates}};
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
    const QString phone = text(request, K_PHONE);
    Customer customer;
    customer.lastName = text(request, K_LAST_NAME).trimmed();
    customer.firstName = text(request, K_FIRST_NAME).trimmed();
    customer.secondName = text(request, K_SECOND_NAME).trimmed();
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
    const QString bik = text(request, K_BIK);
    if (!isBik(bik))
        return coded(request, CODE_BAD_REQUEST, QStringLiteral("The BIK must be nine digits"));
    if (!m_banks.contains(bik)) {
        return coded(
            request, CODE_UNKNOWN_BANK, QStringLiteral("No bank with the BIK %1").arg(bik));
    }
    const QJsonObject bank = m_banks.value(bik);
    QJsonObject params = {{K_BANK, bank.value(K_BANK)}, {K_BIK, bik},
        {K_DESTINATION, bank.value(K_DESTINATION).toString()}};
    for (const QString &key : K_PARAMETER_NAMES)
        params.insert(key, bank.value(key).toString());
    return coded(request, CODE_OK, QString(), params);
}

QJsonObject CorvexSimulator::registreTemplate(const QJsonObject &request)
{
    const QString phone = text(request, K_PHONE);
    if (request.value(K_R_CODE).toVariant().toInt() != REPAYMENT_REQUEST_CODE) {
        return coded(request, CODE_BAD_REQUEST,
            QStringLiteral("Unknown template request code %1").arg(text(request, K_R_CODE)));
    }
    if (!m_customers.contains(phone)) {
        return coded(request, m_unknownCustomerCode,
            QStringLiteral("No customer with the phone %1; register the customer first")
                .arg(phone));
    }

    // "params" is the BIK followed by the value of every parameter the bank announced.
    QStringList values = text(request, K_PARAMS).split(QLatin1Char(';'));
    const QString bik = values.takeFirst();
    if (!m_banks.contains(bik)) {
        return coded(
            request, CODE_UNKNOWN_BANK, QStringLiteral("No bank with the BIK %1").arg(bik));
    }
    const QJsonObject bank = m_banks.value(bik);
    QStringList names;
    for (const QString &key : K_PARAMETER_NAMES) {
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
    if (request.contains(K_AMOUNT)) {
        const qint64 minor = request.value(K_AMOUNT).toVariant().toLongLong();
        addInfo.insert(QStringLiteral("Planned amount"),
            QStringLiteral("%1.%2")
                .arg(minor / 100)
                .arg(qAbs(minor % 100), 2, 10, QLatin1Char('0')));
    }
    const QString code = nextCreditCode();
    m_customers[phone].templates.append(
        QJsonObject({{K_CREDIT_TYPE, bank.value(K_CREDIT_TYPE).toString()},
            {K_BANK_NAME, bank.value(K_BANK)}, {K_CREDIT_CODE, code}, {K_ADD_INFO, addInfo}}));
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
            reply->insert(K_UID, request.value(K_UID));
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
                if (item.toObject().value(K_CREDIT_CODE).toString() == code)
                    return true;
            }
        }
        return false;
    }());
    return code;
}
