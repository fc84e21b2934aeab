#ifndef CORVEXPROTOCOL_H
#define CORVEXPROTOCOL_H

#include "corvexmodel_global.h"

#include <QJsonObject>
#include <QLatin1String>
#include <QString>
#include <QVariant>
#include <QVariantMap>

// A compile-time Latin-1 string of a literal (QLatin1String's own constructor measures the
// length at run time).
template<int N> constexpr QLatin1String latin1(const char (&text)[N])
{
    return QLatin1String(text, N - 1);
}

// The names the Corvex service uses on the wire: keys of the request maps, of its replies and of
// the "params" object inside a reply. Every page that builds a request or reads a reply names
// its keys through these constants.
namespace CorvexKey {
// Request map
constexpr QLatin1String Function = latin1("function");
constexpr QLatin1String Uid = latin1("uid");
constexpr QLatin1String CurrencyId = latin1("currencyId");
// Registration request
constexpr QLatin1String Phone = latin1("phone");
constexpr QLatin1String LastName = latin1("lastName");
constexpr QLatin1String FirstName = latin1("firstName");
constexpr QLatin1String SecondName = latin1("secondName");
constexpr QLatin1String DocType = latin1("docType");
constexpr QLatin1String DocSeries = latin1("docSeries");
constexpr QLatin1String DocNumber = latin1("docNumber");
constexpr QLatin1String DocIssuer = latin1("docIssuer");
constexpr QLatin1String DocIssueDate = latin1("docIssueDate");
constexpr QLatin1String Birthday = latin1("birthday");
constexpr QLatin1String Birthplace = latin1("birthplace");
constexpr QLatin1String Citizenship = latin1("citizenship");
constexpr QLatin1String Address = latin1("address");
// Template requests
constexpr QLatin1String TemplateType = latin1("templateType");
constexpr QLatin1String Bik = latin1("bik");
constexpr QLatin1String RCode = latin1("rCode");
constexpr QLatin1String Amount = latin1("amount");
// Reply, top level
constexpr QLatin1String Result = latin1("result");
constexpr QLatin1String ResultDescription = latin1("resultDescription");
constexpr QLatin1String Error = latin1("error");
constexpr QLatin1String Description = latin1("description");
constexpr QLatin1String Params = latin1("params");
// Set (true) by the host, not the service, on a reply it makes itself for a request it could not
// deliver; "description" then says why.
constexpr QLatin1String Undelivered = latin1("undelivered");
// Inside "params" (also "description", "result", the names and "phone" above; "params" is also
// the key of the template registration's parameter string)
constexpr QLatin1String ErrorCode = latin1("errorCode");
constexpr QLatin1String Bank = latin1("bank");
constexpr QLatin1String Destination = latin1("destination");
constexpr QLatin1String PName1 = latin1("pName1");
constexpr QLatin1String PName2 = latin1("pName2");
constexpr QLatin1String PName3 = latin1("pName3");
constexpr QLatin1String TemplateList = latin1("templateList");
constexpr QLatin1String FullName = latin1("fullName");
// One template of "templateList"
constexpr QLatin1String CreditType = latin1("creditType");
constexpr QLatin1String BankName = latin1("bankName");
constexpr QLatin1String CreditCode = latin1("creditCode");
constexpr QLatin1String AddInfo = latin1("addInfo");
} // namespace CorvexKey

// The service functions, the value of a request's "function".
namespace CorvexFunction {
constexpr QLatin1String Registration = latin1("reg");
constexpr QLatin1String RegistreTemplate = latin1("check");
constexpr QLatin1String AllTemplates = latin1("listtid");
constexpr QLatin1String CheckParams = latin1("check_params");
} // namespace CorvexFunction

// One reply of the service, parsed from its JSON text. Values are read defensively: the service
// (or a host relaying it) may send any JSON, and nothing it sends may pass for success by
// accident.
class CORVEXMODEL_EXPORT CorvexReply
{
public:
    CorvexReply() = default;
    explicit CorvexReply(const QVariantMap &map);
    // Reads the keys straight from the parsed object: each value is converted only when asked
    // for, exactly as the conversion of the whole object would convert it.
    explicit CorvexReply(const QJsonObject &object);

    // Far above any real reply (a few kilobytes; a long template list some hundreds). Parsing
    // takes about ten times a text's size in memory, so a longer text is not parsed at all.
    static const int MAX_TEXT_CHARS = 8 * 1024 * 1024;

    // A text that is not a JSON document, or is longer than MAX_TEXT_CHARS, gives a reply that
    // is not valid, with the reason in errorString(). A JSON array is valid but has no keys.
    static CorvexReply fromJson(const QString &text);

    bool isValid() const { return m_valid; }
    QString errorString() const { return m_errorString; }
    QVariantMap toMap() const;
    // The parsed object; empty for a reply made from a map.
    QJsonObject object() const { return m_object; }

    // The uid the reply answers: a whole JSON number or a decimal string; 0 (which no request
    // carries) for anything else.
    qint64 uid() const;
    // True when "result" is present, not null, and anything but the whole number 0: a result
    // that cannot be read never confirms success.
    bool resultFailed() const;
    QString resultDescription() const;
    // The host's word that the request never reached the service: "undelivered" is true.
    bool undelivered() const;
    bool hasError() const;
    bool error() const;
    QString description() const;
    QVariantMap params() const;
    QJsonObject paramsObject() const;

    // The "errorCode" of a "params" map: -1 (a code no page accepts) when it is not a whole
    // number that fits into int; a flag (true, false) is no number.
    static bool hasErrorCode(const QVariantMap &params);
    static int errorCode(const QVariantMap &params);
    static bool hasErrorCodeIn(const QJsonObject &params);
    static int errorCodeIn(const QJsonObject &params);

    // Reads a whole number given as a JSON number, a decimal string or a boolean; false for
    // anything else, fractions and values beyond 64 bits included.
    static bool integerValue(const QVariant &value, qint64 *result);

private:
    QVariant value(QLatin1String key) const;
    static int codeOf(const QVariant &code);

    QVariantMap m_map;
    QJsonObject m_object;
    bool m_fromObject = false;
    QString m_errorString;
    bool m_valid = false;
};

#endif // CORVEXPROTOCOL_H
