#include "terminalsettings.h"

#include "jsonconfig.h"

#include <QRegularExpression>

#include <climits>

namespace {

// Amounts are written as decimal text ("1000.00"), never as floating JSON numbers.
bool isAmount(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^\\d{1,15}(\\.\\d{1,9})?$"));
    return pattern.match(text).hasMatch();
}

} // namespace

const QList<EPayCheckFlag> &TerminalSettings::checkFlags()
{
    static const QList<EPayCheckFlag> flags
        = {PayCheckOnline, PayCheckBeforePost, PayCheckPrintCheck, PayCheckOperatorConfirm};
    return flags;
}

QString TerminalSettings::checkFlagName(EPayCheckFlag flag)
{
    switch (flag) {
    case PayCheckOnline:
        return QStringLiteral("online");
    case PayCheckBeforePost:
        return QStringLiteral("beforePost");
    case PayCheckPrintCheck:
        return QStringLiteral("printCheck");
    case PayCheckOperatorConfirm:
        return QStringLiteral("operatorConfirm");
    default:
        return QString();
    }
}

bool TerminalSettings::load(const QString &fileName, QString *error)
{
    JsonConfig config;
    if (!config.load(fileName, MaxFileSize)) {
        *error = config.error();
        return false;
    }
    JsonNode root = config.root();

    font = readFont(root.object(QStringLiteral("font")));
    hasInterfaceFont = root.has(QStringLiteral("interfaceFont"));
    if (hasInterfaceFont)
        interfaceFont = readFont(root.object(QStringLiteral("interfaceFont")));

    const JsonNode currencyNode = root.object(QStringLiteral("currency"));
    currency = Currency();
    currency.setNumber3(int(currencyNode.integer(QStringLiteral("number3"), 0, 999)));
    currency.setAlpha3(currencyNode.string(QStringLiteral("alpha3")));
    // Money keeps at most nine decimals: multipliers stop at 10^9.
    currency.setRealMultiplier(
        int(currencyNode.integer(QStringLiteral("realMultiplier"), 1, 1000000000)));
    currency.setLocale(currencyNode.string(QStringLiteral("locale"), QString()));
    currency.setCurrencySymbol(currencyNode.string(QStringLiteral("symbol"), QString()));

    const JsonNode boxNode = root.object(QStringLiteral("box"));
    box = BoxInfo();
    box.setBoxId(boxNode.integer(QStringLiteral("boxId")));
    box.setDealerId(boxNode.integer(QStringLiteral("dealerId")));
    box.setHwSwId(int(boxNode.integer(QStringLiteral("hwSwId"), -1, INT_MIN, INT_MAX)));
    box.setCurrency(currency);
    box.setDealerName(boxNode.string(QStringLiteral("dealerName"), QString()));
    box.setDealerAddress(boxNode.string(QStringLiteral("dealerAddress"), QString()));
    box.setDealerInn(boxNode.string(QStringLiteral("dealerInn"), QString()));
    box.setDealerPhone(boxNode.string(QStringLiteral("dealerPhone"), QString()));
    box.setBoxAddress(boxNode.string(QStringLiteral("boxAddress"), QString()));
    box.setBoxDescr(boxNode.string(QStringLiteral("boxDescr"), QString()));
    box.setSupportPhone(boxNode.string(QStringLiteral("supportPhone"), QString()));

    prepay = amount(root, QStringLiteral("prepay"));

    const JsonNode profileNode = root.object(QStringLiteral("comProfile"));
    comProfile = BoxComProfile();
    comProfile.setId(profileNode.integer(QStringLiteral("id")));
    comProfile.setDealerId(profileNode.integer(QStringLiteral("dealerId"), box.dealerId()));
    comProfile.setName(profileNode.string(QStringLiteral("name"), QString()));
    if (profileNode.has(QStringLiteral("default")))
        comProfile.setDefaultCommission(commission(profileNode.object(QStringLiteral("default"))));
    QList<BoxComProfileItem> items;
    for (const JsonNode &itemNode : profileNode.objects(QStringLiteral("items"))) {
        BoxComProfileItem item;
        item.setId(itemNode.integer(QStringLiteral("id"), -1));
        item.setProfileId(comProfile.id());
        item.setProviderId(itemNode.integer(QStringLiteral("providerId"), -1));
        item.setProviderGroupId(itemNode.integer(QStringLiteral("providerGroupId"), -1));
        item.setCommission(commission(itemNode.object(QStringLiteral("commission"))));
        EPayCheckFlags flags;
        for (const QString &name : itemNode.strings(QStringLiteral("checkFlags"))) {
            bool known = false;
            for (EPayCheckFlag flag : checkFlags()) {
                if (checkFlagName(flag) == name) {
                    flags |= flag;
                    known = true;
                }
            }
            if (!known && config.ok())
                config.fail(itemNode.path(QStringLiteral("checkFlags")),
                    QStringLiteral("holds the unknown flag \"%1\"").arg(name));
        }
        item.setPayCheckFlags(flags);
        items << item;
    }
    comProfile.setItems(items);

    const JsonNode providerNode = root.object(QStringLiteral("provider"));
    provider = Provider();
    provider.setId(providerNode.integer(QStringLiteral("id")));
    provider.setName(providerNode.string(QStringLiteral("name")));
    provider.setCheckName(providerNode.string(QStringLiteral("checkName"), QString()));
    provider.setLegalName(providerNode.string(QStringLiteral("legalName"), QString()));
    provider.setInn(providerNode.string(QStringLiteral("inn"), QString()));
    provider.setDescription(providerNode.string(QStringLiteral("description"), QString()));
    provider.setEnabled(true);
    if (providerNode.has(QStringLiteral("group"))) {
        const JsonNode groupNode = providerNode.object(QStringLiteral("group"));
        ProvidersGroup group;
        group.setId(groupNode.integer(QStringLiteral("id")));
        group.setName(groupNode.string(QStringLiteral("name"), QString()));
        provider.setGroup(group);
    }
    if (providerNode.has(QStringLiteral("fixedSumm")))
        provider.setFixedSumm(amount(providerNode, QStringLiteral("fixedSumm")));
    QList<ProviderParameter> parameters;
    for (const JsonNode &parameterNode : providerNode.objects(QStringLiteral("parameters")))
        parameters << parameter(parameterNode, provider.id());
    provider.setParameters(parameters);

    roads = root.map(QStringLiteral("roads"));

    if (!config.ok()) {
        *error = config.error();
        return false;
    }
    return true;
}

QFont TerminalSettings::readFont(const JsonNode &node)
{
    return QFont(node.string(QStringLiteral("family")),
        int(node.integer(QStringLiteral("pointSize"), 12, 1, 200)));
}

FixNumber TerminalSettings::amount(
    const JsonNode &node, const QString &key, bool required, unsigned int multiplier) const
{
    const QString text = required ? node.string(key) : node.string(key, QStringLiteral("0"));
    if (multiplier == 0)
        multiplier = unsigned(qMax(1, currency.realMultiplier()));
    if (!isAmount(text)) {
        if (node.has(key))
            node.fail(key, QStringLiteral("must be an amount such as \"1000.00\""));
        return FixNumber(multiplier);
    }
    return FixNumber(multiplier, text);
}

Comission TerminalSettings::commission(const JsonNode &node) const
{
    Comission result;
    result.setId(node.integer(QStringLiteral("id")));
    result.setName(node.string(QStringLiteral("name"), QString()));
    QList<ComissionItem> rules;
    for (const JsonNode &ruleNode : node.objects(QStringLiteral("rules"))) {
        ComissionItem rule;
        rule.setName(ruleNode.string(QStringLiteral("name"), QString()));
        QList<ComissionItemCondition> conditions;
        for (const JsonNode &conditionNode : ruleNode.objects(QStringLiteral("conditions"))) {
            ComissionItemCondition condition;
            condition.setSummRangeBottom(amount(conditionNode, QStringLiteral("from")));
            condition.setSummRangeTop(amount(conditionNode, QStringLiteral("to")));
            // Rates are hundredths of a per cent whatever the currency.
            condition.setPercent(amount(conditionNode, QStringLiteral("percent"), false, 100));
            condition.setFixCommiss(amount(conditionNode, QStringLiteral("fixed"), false));
            condition.setMinPercentCommissResult(
                amount(conditionNode, QStringLiteral("min"), false));
            condition.setMaxPercentCommissResult(
                amount(conditionNode, QStringLiteral("max"), false));
            conditions << condition;
        }
        rule.setConditions(conditions);
        rules << rule;
    }
    result.setItems(rules);
    return result;
}

ProviderParameter TerminalSettings::parameter(const JsonNode &node, qint64 providerId) const
{
    ProviderParameter parameter;
    parameter.setId(node.integer(QStringLiteral("id"), -1));
    parameter.setProviderId(providerId);
    parameter.setName(node.string(QStringLiteral("name")));
    parameter.setLabel(node.string(QStringLiteral("label")));
    parameter.setCheckLabel(node.string(QStringLiteral("checkLabel"), parameter.label()));
    parameter.setPos(int(node.integer(QStringLiteral("pos"), INT_MIN, INT_MAX)));
    parameter.setMask(node.string(QStringLiteral("mask"), QString()));
    parameter.setRegExp(node.string(QStringLiteral("regExp"), QString()));
    parameter.setValue(node.string(QStringLiteral("value"), QString()));
    parameter.setPrintable(node.flag(QStringLiteral("printable"), true));
    parameter.setBarcodeStart(int(node.integer(QStringLiteral("barcodeStart"), -1, -1, INT_MAX)));
    parameter.setBarcodeFinish(int(node.integer(QStringLiteral("barcodeFinish"), -1, -1, INT_MAX)));
    const QJsonObject values = node.map(QStringLiteral("values"));
    QMap<QString, QVariant> choices;
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        choices.insert(it.key(), it.value().toVariant().toString());
    parameter.setValues(choices);
    if (node.has(QStringLiteral("items"))) {
        QList<ProviderParameter> items;
        for (const JsonNode &itemNode : node.objects(QStringLiteral("items"))) {
            ProviderParameter item = this->parameter(itemNode, providerId);
            item.setParentId(parameter.id());
            items << item;
        }
        parameter.setItems(items);
    }
    return parameter;
}
