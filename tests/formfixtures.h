#ifndef FORMFIXTURES_H
#define FORMFIXTURES_H

#include "boxcomprofile.h"
#include "currency.h"
#include "provider.h"
#include "providerparameter.h"

// Builders of the provider data that payment forms are generated from.
namespace Fixture {

inline ProviderParameter field(const QString &name, int pos, const QString &value = QString(),
    const QString &mask = QString(), const QString &regExp = QString())
{
    ProviderParameter parameter;
    parameter.setName(name);
    parameter.setLabel(name);
    parameter.setPos(pos);
    parameter.setValue(value);
    parameter.setMask(mask);
    parameter.setRegExp(regExp);
    return parameter;
}

inline ProviderParameter choice(
    const QString &name, int pos, const QMap<QString, QVariant> &values, const QString &value)
{
    ProviderParameter parameter = field(name, pos, value);
    parameter.setValues(values);
    return parameter;
}

inline ProviderParameter group(const QString &name, int pos, const QList<ProviderParameter> &items)
{
    ProviderParameter parameter = field(name, pos);
    parameter.setItems(items);
    return parameter;
}

inline ProviderParameter barcodeField(
    const QString &name, int pos, int start, int finish, const QString &mask = QString())
{
    ProviderParameter parameter = field(name, pos, QString(), mask);
    parameter.setBarcodeStart(start);
    parameter.setBarcodeFinish(finish);
    return parameter;
}

// Provider 1586 of group 12.
inline Provider provider(const QList<ProviderParameter> &parameters)
{
    Provider result;
    result.setId(1586);
    ProvidersGroup group;
    group.setId(12);
    result.setGroup(group);
    result.setName("Corvex");
    result.setCheckName("Corvex credit repayment");
    result.setParameters(parameters);
    return result;
}

inline Currency currency(int number3, const QString &alpha3, int multiplier)
{
    Currency result;
    result.setNumber3(number3);
    result.setAlpha3(alpha3);
    result.setRealMultiplier(multiplier);
    result.setCurrencySymbol(alpha3);
    return result;
}

// One condition for every amount, in units of the given multiplier; percent in hundredths of
// a percent (150 is 1.5 %); limits of 0 are inactive.
inline BoxComProfile profile(unsigned int multiplier, long long fixed, long long percent = 0,
    long long minimum = 0, long long maximum = 0)
{
    ComissionItemCondition condition;
    condition.setSummRangeBottom(FixNumber(multiplier, 0LL));
    condition.setSummRangeTop(FixNumber(multiplier, 1000000000000000LL));
    condition.setFixCommiss(FixNumber(multiplier, fixed));
    condition.setPercent(FixNumber(100, percent));
    condition.setMinPercentCommissResult(FixNumber(multiplier, minimum));
    condition.setMaxPercentCommissResult(FixNumber(multiplier, maximum));
    ComissionItem item;
    item.setConditions({condition});
    Comission schedule;
    schedule.setId(1);
    schedule.setItems({item});
    BoxComProfile result;
    result.setId(7);
    result.setDefaultCommission(schedule);
    return result;
}

// The detail maps of a payment as "group/name=value", nested items after their group.
inline QStringList flatten(const QVariantList &details, const QString &prefix = QString())
{
    QStringList lines;
    for (const QVariant &detail : details) {
        const QVariantMap map = detail.toMap();
        const QString name = prefix + map.value("name").toString();
        lines << name + "=" + map.value("value").toString()
              << flatten(map.value("items").toList(), name + "/");
    }
    return lines;
}

} // namespace Fixture

#endif // FORMFIXTURES_H
