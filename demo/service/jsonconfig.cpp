#include "jsonconfig.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>

#include <cmath>

namespace {

QString kindName(QJsonValue::Type type)
{
    switch (type) {
    case QJsonValue::String:
        return QStringLiteral("a string");
    case QJsonValue::Double:
        return QStringLiteral("a number");
    case QJsonValue::Bool:
        return QStringLiteral("true or false");
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    default:
        return QStringLiteral("a value");
    }
}

} // namespace

JsonNode::JsonNode(JsonConfig *config, const QJsonObject &object, const QString &path)
    : m_config(config)
    , m_object(object)
    , m_path(path)
{ }

QString JsonNode::path(const QString &key) const
{
    return m_path.isEmpty() ? key : m_path + QLatin1Char('.') + key;
}

QJsonValue JsonNode::value(const QString &key, QJsonValue::Type type, bool required) const
{
    const QJsonValue value = m_object.value(key);
    if (value.isUndefined()) {
        if (required && m_config)
            m_config->fail(path(key), QStringLiteral("is missing"));
        return QJsonValue(QJsonValue::Undefined);
    }
    if (value.type() != type) {
        if (m_config)
            m_config->fail(path(key), QStringLiteral("must be %1").arg(kindName(type)));
        return QJsonValue(QJsonValue::Undefined);
    }
    return value;
}

QString JsonNode::string(const QString &key) const
{
    return value(key, QJsonValue::String, true).toString();
}

QString JsonNode::string(const QString &key, const QString &fallback) const
{
    const QJsonValue found = value(key, QJsonValue::String, false);
    return found.isUndefined() ? fallback : found.toString();
}

qint64 JsonNode::integer(const QString &key, qint64 min, qint64 max) const
{
    const QJsonValue found = value(key, QJsonValue::Double, true);
    if (found.isUndefined())
        return 0;
    // Checked as a double before any conversion: 1e300 has no qint64, and a value cut to fit
    // (4294967297 into an int) would be another setting than the one written.
    const double number = found.toDouble();
    if (std::floor(number) != number) {
        fail(key, QStringLiteral("must be a whole number"));
        return 0;
    }
    if (!(number >= double(min) && number <= double(max))) {
        fail(key, QStringLiteral("must be a whole number from %1 to %2").arg(min).arg(max));
        return 0;
    }
    return qint64(number);
}

qint64 JsonNode::integer(const QString &key, qint64 fallback, qint64 min, qint64 max) const
{
    return has(key) ? integer(key, min, max) : fallback;
}

bool JsonNode::flag(const QString &key, bool fallback) const
{
    const QJsonValue found = value(key, QJsonValue::Bool, false);
    return found.isUndefined() ? fallback : found.toBool();
}

JsonNode JsonNode::object(const QString &key) const
{
    return JsonNode(m_config, value(key, QJsonValue::Object, true).toObject(), path(key));
}

QJsonObject JsonNode::map(const QString &key) const
{
    return value(key, QJsonValue::Object, false).toObject();
}

QList<JsonNode> JsonNode::objects(const QString &key) const
{
    QList<JsonNode> nodes;
    const QJsonArray array = value(key, QJsonValue::Array, true).toArray();
    for (int i = 0; i < array.size(); ++i) {
        const QString itemPath = QStringLiteral("%1[%2]").arg(path(key)).arg(i);
        if (!array.at(i).isObject()) {
            if (m_config)
                m_config->fail(itemPath, QStringLiteral("must be an object"));
            continue;
        }
        nodes << JsonNode(m_config, array.at(i).toObject(), itemPath);
    }
    return nodes;
}

QStringList JsonNode::strings(const QString &key) const
{
    QStringList list;
    const QJsonArray array = value(key, QJsonValue::Array, false).toArray();
    for (int i = 0; i < array.size(); ++i) {
        if (!array.at(i).isString()) {
            if (m_config)
                m_config->fail(QStringLiteral("%1[%2]").arg(path(key)).arg(i),
                    QStringLiteral("must be a string"));
            continue;
        }
        list << array.at(i).toString();
    }
    return list;
}

void JsonNode::fail(const QString &key, const QString &problem) const
{
    if (m_config)
        m_config->fail(path(key), problem);
}

bool JsonConfig::load(const QString &fileName, qint64 maxBytes)
{
    m_fileName = fileName;
    m_root = QJsonObject();
    m_error.clear();

    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("%1: cannot read the file (%2)").arg(fileName, file.errorString());
        return false;
    }
    const QByteArray text = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        m_error = QStringLiteral("%1: cannot read the file (%2)").arg(fileName, file.errorString());
        return false;
    }
    if (text.size() > maxBytes) {
        m_error
            = QStringLiteral("%1: the file is larger than %2 bytes").arg(fileName).arg(maxBytes);
        return false;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        m_error = QStringLiteral("%1: not JSON (%2 at offset %3)")
                      .arg(fileName, parseError.errorString())
                      .arg(parseError.offset);
        return false;
    }
    if (!document.isObject()) {
        m_error = QStringLiteral("%1: the top level must be a JSON object").arg(fileName);
        return false;
    }
    m_root = document.object();
    return true;
}

void JsonConfig::fail(const QString &path, const QString &problem)
{
    if (m_error.isEmpty())
        m_error = QStringLiteral("%1: key \"%2\" %3").arg(m_fileName, path, problem);
}
