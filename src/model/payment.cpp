#include "payment.h"

#include <QDataStream>
#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <algorithm>
#include <vector>

const QString Payment::PRINTABLE_ADDITIONAL_NAME = QStringLiteral("detailsForPrint");

namespace {

// Receipts nest two or three levels; the cap only keeps hostile detail trees from exhausting
// the stack. Members below it are left out.
constexpr int MaxDetailDepth = 64;

const QString NameKey = QStringLiteral("name");
const QString CheckLabelKey = QStringLiteral("checkLabel");
const QString ValueKey = QStringLiteral("value");
const QString PosKey = QStringLiteral("pos");
const QString PrintableKey = QStringLiteral("printable");
const QString ItemsKey = QStringLiteral("items");

// A copy of a detail tree cut at the same depth as the receipt: the list of details and each
// detail map are one container each, so 64 detail levels are 130 containers. Deeper containers
// are left out.
constexpr int MaxContainerDepth = 2 * (MaxDetailDepth + 1);

// A detail's "items" as a list. A string is no list of items: Qt 5 converts it to an empty list,
// Qt 6 would read it as the list of its characters.
QVariantList itemsOf(const QVariant &items)
{
    const int type = items.userType();
    if (type == QMetaType::QString || type == QMetaType::QByteArray)
        return QVariantList();
    return items.toList();
}

QVariant limitedTree(const QVariant &value, int depth)
{
    const int type = value.userType();
    if (type != QMetaType::QVariantMap && type != QMetaType::QVariantList)
        return value;
    if (depth >= MaxContainerDepth)
        return QVariant();
    if (type == QMetaType::QVariantList) {
        QVariantList list;
        for (const QVariant &item : value.toList()) {
            const QVariant kept = limitedTree(item, depth + 1);
            if (kept.isValid() || !item.isValid())
                list << kept;
        }
        return list;
    }
    QVariantMap map;
    const QVariantMap source = value.toMap();
    for (auto it = source.constBegin(); it != source.constEnd(); ++it) {
        const QVariant kept = limitedTree(it.value(), depth + 1);
        if (kept.isValid() || !it.value().isValid())
            map.insert(it.key(), kept);
    }
    return map;
}

QString printLine(const QString &label, const QString &value)
{
    // Both at once, so that a "%1" inside the label is never taken for a placeholder.
    return QStringLiteral("%1=%2").arg(label, value);
}

// The fields of one detail that its receipt line needs, read in one walk over its map.
struct DetailFields
{
    QString checkLabel;
    QString value;
    QVariantList items;
    int pos = 0;
    bool printable = true;
};

DetailFields detailFields(const QVariantMap &map)
{
    DetailFields fields;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const QString &key = it.key();
        if (key == CheckLabelKey)
            fields.checkLabel = it.value().toString();
        else if (key == ValueKey)
            fields.value = it.value().toString();
        else if (key == PosKey)
            fields.pos = it.value().toInt();
        else if (key == PrintableKey)
            fields.printable = it.value().toBool();
        else if (key == ItemsKey)
            fields.items = itemsOf(it.value());
    }
    return fields;
}

QStringList detailLines(const QList<QVariant> &details, const QString &prefix, int depth)
{
    struct Line
    {
        int pos;
        int order;
        QString text;
    };
    std::vector<Line> lines;
    lines.reserve(size_t(details.size()));
    int order = 0;
    for (const QVariant &detail : details) {
        const DetailFields fields = detailFields(detail.toMap());
        bool printable = fields.printable;
        QString line = prefix + fields.checkLabel + QLatin1Char('=') + fields.value;
        if (!fields.items.isEmpty() && depth < MaxDetailDepth) {
            const QStringList members
                = detailLines(fields.items, prefix + QLatin1Char(' '), depth + 1);
            if (!printable)
                printable = !members.isEmpty();
            line += QLatin1Char('\t') + members.join(QLatin1Char('\t'));
        }
        if (printable)
            lines.push_back({fields.pos, order--, line});
    }
    // Ascending positions; within one position the later detail first.
    std::sort(lines.begin(), lines.end(), [](const Line &a, const Line &b) {
        return a.pos != b.pos ? a.pos < b.pos : a.order < b.order;
    });
    QStringList texts;
    texts.reserve(int(lines.size()));
    for (Line &line : lines)
        texts << std::move(line.text);
    return texts;
}

void collectValues(const QVariantMap &detail, QVariantMap &target, int depth)
{
    const QVariantList items = itemsOf(detail.value(ItemsKey));
    const QString name = detail.value(NameKey).toString();
    if (items.isEmpty()) {
        target.insert(name, detail.value(ValueKey));
        return;
    }
    QVariantMap members;
    if (depth < MaxDetailDepth) {
        for (const QVariant &item : items)
            collectValues(item.toMap(), members, depth + 1);
    }
    target.insert(name, members);
}

} // namespace

QString Payment::jsonDetails() const
{
    const QJsonDocument document = QJsonDocument::fromVariant(limitedTree(m_details, 0));
    return QString::fromUtf8(document.toJson(QJsonDocument::Compact));
}

void Payment::setJsonDetails(const QString &json)
{
    m_details.clear();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8(), &error);
    if (error.error == QJsonParseError::NoError && document.isArray())
        m_details = document.array().toVariantList();
}

QString Payment::additionalData() const
{
    const QJsonDocument document = QJsonDocument::fromVariant(QVariant(m_additionalMap));
    return QString::fromUtf8(document.toJson(QJsonDocument::Indented));
}

void Payment::setAdditionalData(const QString &json)
{
    const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8());
    m_additionalMap = document.isObject() ? document.object().toVariantMap() : QVariantMap();
}

FixNumber Payment::total() const
{
    return Money::sum(m_summ, m_comission);
}

QMap<QString, QVariant> Payment::detailValues() const
{
    QVariantMap values;
    for (const QVariant &detail : m_details)
        collectValues(detail.toMap(), values, 0);
    return values;
}

QString Payment::stringDetails() const
{
    QStringList lines = stringDetails(m_details, QString());
    const QVariantMap printable = m_additionalMap.value(PRINTABLE_ADDITIONAL_NAME).toMap();
    for (auto it = printable.constBegin(); it != printable.constEnd(); ++it)
        lines.append(printLine(it.key(), it.value().toString()));
    return lines.join(QLatin1Char('\t'));
}

QStringList Payment::stringDetails(const QList<QVariant> &details, const QString &prefix) const
{
    return detailLines(details, prefix, 0);
}

QByteArray Payment::paymentData() const
{
    QByteArray data;
    QDataStream stream(&data, QIODevice::WriteOnly);
    stream << qint64(m_operationId) << qint64(m_packId) << qint64(m_providerId)
           << m_providerName.toUtf8() << qint64(m_currencyId) << m_account.toUtf8()
           << qint64(m_summ.value()) << qint64(m_comission.value())
           << m_created.toString(Qt::ISODate).toUtf8() << qint32(m_details.size());
    for (const QVariant &detail : m_details)
        stream << limitedTree(detail, 1);
    stream << m_comment;
    return data;
}

bool Payment::operator==(const Payment &other) const
{
    // Names, titles, descriptions and the comment are texts for people, not identity.
    return m_id == other.m_id && m_operationId == other.m_operationId && m_uid == other.m_uid
        && m_packId == other.m_packId && m_providerId == other.m_providerId
        && m_currencyId == other.m_currencyId && m_parentId == other.m_parentId
        && m_transactionId == other.m_transactionId && m_cycleId == other.m_cycleId
        && m_account == other.m_account && m_summ == other.m_summ
        && m_comission == other.m_comission && m_created == other.m_created
        && m_state == other.m_state && m_substate == other.m_substate && m_result == other.m_result
        && m_details == other.m_details && m_checkCopies == other.m_checkCopies
        && m_additionalMap == other.m_additionalMap && m_checkFlags == other.m_checkFlags
        && m_checkState == other.m_checkState;
}
