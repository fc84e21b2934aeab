#include "paymentjson.h"

#include "terminalsettings.h"

#include <QJsonArray>

QJsonObject paymentToJson(const Payment &payment, bool immediatePost)
{
    QJsonArray flagNames;
    for (EPayCheckFlag flag : TerminalSettings::checkFlags()) {
        if (payment.checkFlags().testFlag(flag))
            flagNames << TerminalSettings::checkFlagName(flag);
    }
    const QChar point = QLatin1Char('.');
    return {
        {QStringLiteral("provider"),
            QJsonObject({{QStringLiteral("id"), payment.providerId()},
                {QStringLiteral("name"), payment.providerName()},
                {QStringLiteral("checkTitle"), payment.providerCheckTitle()}})},
        {QStringLiteral("currencyId"), payment.currencyId()},
        {QStringLiteral("account"), payment.account()},
        {QStringLiteral("summ"), payment.summ().toString(point)},
        {QStringLiteral("commission"), payment.comission().toString(point)},
        {QStringLiteral("total"), payment.total().toString(point)},
        {QStringLiteral("details"), QJsonArray::fromVariantList(payment.details())},
        {QStringLiteral("receipt"), payment.stringDetails()},
        {QStringLiteral("comment"), payment.comment()},
        {QStringLiteral("additional"), QJsonObject::fromVariantMap(payment.additionalMap())},
        {QStringLiteral("checkFlags"), flagNames},
        {QStringLiteral("immediatePost"), immediatePost},
        {QStringLiteral("created"), payment.created().toString(Qt::ISODate)},
    };
}
