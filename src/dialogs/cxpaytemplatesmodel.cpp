#include "cxpaytemplatesmodel.h"

#include "corvexlog.h"
#include "corvexprotocol.h"
#include "cxservicetext.h"
#include "payment.h"

#include <QColor>
#include <QMultiMap>
#include <QStringList>

namespace {

const QString HTML_HEAD = QStringLiteral(
    "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\"></head>"
    "<body>");
const QString HTML_TAIL = QStringLiteral("</body></html>");

bool isObject(const QVariant &value)
{
    return value.userType() == QMetaType::QVariantMap
        || value.userType() == QMetaType::QVariantHash;
}

// The service sends objects; anything else in their place reads as an empty object.
QVariantMap objectOf(const QVariant &value)
{
    return isObject(value) ? value.toMap() : QVariantMap();
}

QString text(const QVariantMap &item, QLatin1String key)
{
    return item.value(key).toString();
}

// The further details of a template, labels in ascending order.
QVariantMap addInfoOf(const QVariantMap &item)
{
    return objectOf(item.value(CorvexKey::AddInfo));
}

// A card shows so many details; the rest are counted in a last row.
const int MAX_SHOWN_DETAILS = 50;

// A text of the template as a card shows it: bounded and escaped.
QString shown(const QString &text)
{
    return CXServiceText::shown(text).toHtmlEscaped();
}

// The rows of the details in a table, each row `row` filled with label and value.
QStringList detailRows(const QVariantMap &addInfo, const QString &row)
{
    QStringList rows;
    int count = 0;
    for (auto it = addInfo.cbegin(); it != addInfo.cend() && count < MAX_SHOWN_DETAILS;
         ++it, ++count)
        rows << row.arg(shown(it.key()), shown(it.value().toString()));
    if (addInfo.size() > count) {
        rows << QStringLiteral("<tr><td colspan=\"2\">%1</td></tr>")
                    .arg(CXPayTemplatesModel::tr("(%1 more details not shown)")
                             .arg(addInfo.size() - count)
                             .toHtmlEscaped());
    }
    return rows;
}

// A Qt 5 QVariantMap holds every value of a repeated key. A Qt 6 one holds one value per key:
// there each key keeps the value a reader of single values gets from the Qt 5 map, the one
// added last.
QVariantMap variantMapOf(const QMultiMap<QString, QVariant> &multi)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    QVariantMap map;
    for (const QString &key : multi.uniqueKeys())
        map.insert(key, multi.value(key));
    return map;
#else
    return QVariantMap(multi);
#endif
}

} // namespace

const QString CXPayTemplatesModel::CORVEX_ADDITIONAL_NAME = QStringLiteral("corvex");

CXPayTemplatesModel::CXPayTemplatesModel(QObject *parent)
    : QAbstractListModel(parent)
{ }

int CXPayTemplatesModel::rowCount(const QModelIndex &parent) const
{
    Q_UNUSED(parent)
    return m_templates.size() + 1;
}

QVariant CXPayTemplatesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        if (addNew(index))
            return QString(HTML_HEAD + QStringLiteral("<h3 align=\"center\">%1</h3>") + HTML_TAIL)
                .arg(tr("Add new"));
        return prepareItem(m_templates.at(index.row()).toMap());
    case Qt::BackgroundRole:
        return QColor(Qt::white);
    default:
        return QVariant();
    }
}

void CXPayTemplatesModel::setTemplates(const QList<QVariant> &templates)
{
    QList<QVariant> objects;
    objects.reserve(templates.size());
    for (const QVariant &item : templates) {
        if (isObject(item))
            objects << QVariant(item.toMap());
        else
            qCWarning(lcCorvexExchange) << "Template that is not an object left out:" << item;
    }
    if (objects == m_templates)
        return;
    beginResetModel();
    m_templates = objects;
    endResetModel();
}

bool CXPayTemplatesModel::addNew(const QModelIndex &index) const
{
    return index.isValid() && index.model() && index.row() == m_templates.size();
}

QString CXPayTemplatesModel::prepareItem(const QVariantMap &item) const
{
    QStringList lines;
    lines << HTML_HEAD
          << QStringLiteral("<h3 align=\"center\"><b>%1: </b>%2</h3>")
                 .arg(shown(text(item, CorvexKey::CreditType)),
                     shown(text(item, CorvexKey::BankName)))
          << QStringLiteral("<div align=\"center\"><b>%1: </b>%2</div>")
                 .arg(tr("Credit code"), shown(text(item, CorvexKey::CreditCode)));
    const QVariantMap addInfo = addInfoOf(item);
    if (!addInfo.isEmpty()) {
        lines << QStringLiteral("<table align=\"center\" width = \"80%\">");
        lines << detailRows(addInfo, QStringLiteral("<tr><td>%1</td><td>%2</td></tr>"));
        lines << QStringLiteral("</table>");
    }
    lines << HTML_TAIL;
    return lines.join(QLatin1Char('\n'));
}

QString CXPayTemplatesModel::description(const QModelIndex &index) const
{
    QVariantMap item;
    return templateAt(index, &item) ? prepareItem(item) : QString();
}

QString CXPayTemplatesModel::plainDescription(const QModelIndex &index) const
{
    QVariantMap item;
    if (!templateAt(index, &item))
        return QString();
    QStringList lines;
    lines << QStringLiteral("%1: %2").arg(
        text(item, CorvexKey::CreditType), text(item, CorvexKey::BankName))
          << QStringLiteral("%1: %2").arg(tr("Credit code"), text(item, CorvexKey::CreditCode));
    const QVariantMap addInfo = addInfoOf(item);
    for (auto it = addInfo.cbegin(); it != addInfo.cend(); ++it)
        lines << QStringLiteral("\t%1 %2").arg(it.key(), it.value().toString());
    return lines.join(QLatin1Char('\n'));
}

QString CXPayTemplatesModel::requestCode(const QModelIndex &index) const
{
    QVariantMap item;
    return templateAt(index, &item) ? text(item, CorvexKey::CreditCode) : QString();
}

QString CXPayTemplatesModel::info(const QModelIndex &index) const
{
    QVariantMap item;
    if (!templateAt(index, &item))
        return QString();
    const QVariantMap addInfo = addInfoOf(item);
    if (addInfo.isEmpty())
        return QString();
    QStringList lines;
    lines << HTML_HEAD + QStringLiteral("<table align=\"left\" width = \"80%\">");
    lines << detailRows(addInfo, QStringLiteral("<tr><th align=\"left\">%1</th><td>%2</td></tr>"));
    lines << QStringLiteral("</table>") + HTML_TAIL;
    return lines.join(QLatin1Char('\n'));
}

QVariantMap CXPayTemplatesModel::additionalData(const QModelIndex &index) const
{
    QVariantMap item;
    if (!templateAt(index, &item))
        return QVariantMap();
    // A detail label may repeat a name already present; both values are kept.
    const QMultiMap<QString, QVariant> addInfo(addInfoOf(item));

    QMultiMap<QString, QVariant> corvex;
    for (QLatin1String key : {CorvexKey::CreditType, CorvexKey::BankName, CorvexKey::CreditCode})
        corvex.insert(key, item.contains(key) ? item.value(key) : QVariant(QString()));
    corvex.unite(addInfo);
    // The customer's own phone and name, whatever a bank detail of the same name says: the
    // detail stays on the printed list.
    corvex.remove(CorvexKey::Phone);
    corvex.remove(CorvexKey::FullName);
    corvex.insert(CorvexKey::Phone, m_phone);
    corvex.insert(CorvexKey::FullName, m_fullName);

    QMultiMap<QString, QVariant> printable;
    printable.insert(tr("phone"), m_phone);
    printable.insert(tr("fullName"), m_fullName);
    printable.unite(addInfo);

    QVariantMap data;
    data.insert(CORVEX_ADDITIONAL_NAME, variantMapOf(corvex));
    data.insert(Payment::PRINTABLE_ADDITIONAL_NAME, variantMapOf(printable));
    return data;
}

bool CXPayTemplatesModel::templateAt(const QModelIndex &index, QVariantMap *item) const
{
    if (!index.isValid() || index.model() != this || index.row() >= m_templates.size())
        return false;
    *item = m_templates.at(index.row()).toMap();
    return true;
}
