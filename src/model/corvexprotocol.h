#ifndef CORVEXPROTOCOL_H
#define CORVEXPROTOCOL_H

#include "corvexmodel_global.h"

#include <QLatin1String>
#include <QString>
#include <QVariant>
#include <QVariantMap>

// The names the Corvex service uses on the wire: keys of the request maps, of its replies and of
// the "params" object inside a reply. Every page that builds a request or reads a reply names
// its keys through these constants.
namespace CorvexKey {
// Request map
constexpr QLatin1String Function("function");
constexpr QLatin1String Uid("uid");
constexpr QLatin1String CurrencyId("currencyId");
// Registration request
constexpr QLatin1String Phone("phone");
constexpr QLatin1String LastName("lastName");
constexpr QLatin1String FirstName("firstName");
constexpr QLatin1String SecondName("secondName");
constexpr QLatin1String DocType("docType");
constexpr QLatin1String DocSeries("docSeries");
constexpr QLatin1String DocNumber("docNumber");
constexpr QLatin1String DocIssuer("docIssuer");
constexpr QLatin1String DocIssueDate("docIssueDate");
constexpr QLatin1String Birthday("birthday");
constexpr QLatin1String Birthplace("birthplace");
constexpr QLatin1String Citizenship("citizenship");
constexpr QLatin1String Address("address");
// Template requests
constexpr QLatin1String TemplateType("templateType");
constexpr QLatin1String Bik("bik");
constexpr QLatin1String RCode("rCode");
constexpr QLatin1String Amount("amount");
// Reply, top level
constexpr QLatin1String Result("result");
constexpr QLatin1String ResultDescription("resultDescription");
constexpr QLatin1String Error("error");
constexpr QLatin1String Description("description");
constexpr QLatin1String Params("params");
// Inside "params" (also "description", "result", the names and "phone" above; "params" is also
// the key of the template registration's parameter string)
constexpr QLatin1String ErrorCode("errorCode");
constexpr QLatin1String Bank("bank");
constexpr QLatin1String Destination("destination");
constexpr QLatin1String PName1("pName1");
constexpr QLatin1String PName2("pName2");
constexpr QLatin1String PName3("pName3");
constexpr QLatin1String TemplateList("templateList");
constexpr QLatin1String FullName("fullName");
// One template of "templateList"
constexpr QLatin1String CreditType("creditType");
constexpr QLatin1String BankName("bankName");
constexpr QLatin1String CreditCode("creditCode");
constexpr QLatin1String AddInfo("addInfo");
} // namespace CorvexKey

// The service functions, the value of a request's "function".
namespace CorvexFunction {
constexpr QLatin1String Registration("reg");
constexpr QLatin1String RegistreTemplate("check");
constexpr QLatin1String AllTemplates("listtid");
constexpr QLatin1String CheckParams("check_params");
} // namespace CorvexFunction

// One reply of the service, parsed from its JSON text. Values are read defensively: the service
// (or a host relaying it) may send any JSON, and nothing it sends may pass for success by
// accident.
class CORVEXMODEL_EXPORT CorvexReply
{
public:
    CorvexReply() = default;
    explicit CorvexReply(const QVariantMap &map);

    // A text that is not a JSON document gives a reply that is not valid, with the parser's
    // message in errorString(). A JSON array is valid but has no keys.
    static CorvexReply fromJson(const QString &text);

    bool isValid() const { return m_valid; }
    QString errorString() const { return m_errorString; }
    QVariantMap toMap() const { return m_map; }

    // The uid the reply answers: a whole JSON number or a decimal string; 0 (which no request
    // carries) for anything else.
    qint64 uid() const;
    // True when "result" is present, not null, and anything but the whole number 0: a result
    // that cannot be read never confirms success.
    bool resultFailed() const;
    QString resultDescription() const;
    bool hasError() const;
    bool error() const;
    QString description() const;
    QVariantMap params() const;

    // The "errorCode" of a "params" map: -1 (a code no page accepts) when it is not a whole
    // number that fits into int.
    static bool hasErrorCode(const QVariantMap &params);
    static int errorCode(const QVariantMap &params);

    // Reads a whole number given as a JSON number, a decimal string or a boolean; false for
    // anything else, fractions and values beyond 64 bits included.
    static bool integerValue(const QVariant &value, qint64 *result);

private:
    QVariantMap m_map;
    QString m_errorString;
    bool m_valid = false;
};

#endif // CORVEXPROTOCOL_H
