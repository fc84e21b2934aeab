#include "corvexprotocol.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>
#include <limits>

CorvexReply::CorvexReply(const QVariantMap &map)
    : m_map(map)
    , m_valid(true)
{ }

CorvexReply::CorvexReply(const QJsonObject &object)
    : m_object(object)
    , m_fromObject(true)
    , m_valid(true)
{ }

QVariant CorvexReply::value(QLatin1String key) const
{
    return m_fromObject ? m_object.value(key).toVariant() : m_map.value(key);
}

QVariantMap CorvexReply::toMap() const
{
    return m_fromObject ? m_object.toVariantMap() : m_map;
}

CorvexReply CorvexReply::fromJson(const QString &text)
{
    if (text.size() > MAX_TEXT_CHARS) {
        CorvexReply reply;
        reply.m_errorString = QStringLiteral("reply too large to read");
        return reply;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        CorvexReply reply;
        reply.m_errorString = parseError.errorString();
        return reply;
    }
    return CorvexReply(document.object());
}

qint64 CorvexReply::uid() const
{
    const QVariant given = value(CorvexKey::Uid);
    qint64 uid = 0;
    if (!integerValue(given, &uid))
        return 0;
    return uid;
}

bool CorvexReply::resultFailed() const
{
    const QVariant result = value(CorvexKey::Result);
    if (!result.isValid() || result.userType() == QMetaType::Nullptr)
        return false;
    qint64 value = 0;
    return !integerValue(result, &value) || value != 0;
}

QString CorvexReply::resultDescription() const
{
    return value(CorvexKey::ResultDescription).toString();
}

bool CorvexReply::undelivered() const
{
    return value(CorvexKey::Undelivered).toBool();
}

bool CorvexReply::hasError() const
{
    return m_fromObject ? m_object.contains(CorvexKey::Error) : m_map.contains(CorvexKey::Error);
}

bool CorvexReply::error() const
{
    return value(CorvexKey::Error).toBool();
}

QString CorvexReply::description() const
{
    return value(CorvexKey::Description).toString();
}

QVariantMap CorvexReply::params() const
{
    return value(CorvexKey::Params).toMap();
}

QJsonObject CorvexReply::paramsObject() const
{
    if (m_fromObject)
        return m_object.value(CorvexKey::Params).toObject();
    return QJsonObject::fromVariantMap(params());
}

bool CorvexReply::hasErrorCodeIn(const QJsonObject &params)
{
    return params.contains(CorvexKey::ErrorCode);
}

int CorvexReply::errorCodeIn(const QJsonObject &params)
{
    return codeOf(params.value(CorvexKey::ErrorCode).toVariant());
}

bool CorvexReply::hasErrorCode(const QVariantMap &params)
{
    return params.contains(CorvexKey::ErrorCode);
}

int CorvexReply::errorCode(const QVariantMap &params)
{
    return codeOf(params.value(CorvexKey::ErrorCode));
}

int CorvexReply::codeOf(const QVariant &given)
{
    qint64 code = 0;
    if (!integerValue(given, &code) || code < std::numeric_limits<int>::min()
        || code > std::numeric_limits<int>::max())
        return -1;
    return int(code);
}

bool CorvexReply::integerValue(const QVariant &value, qint64 *result)
{
    bool ok = true;
    qint64 number = 0;
    // true and false are no numbers: a flag where a code belongs is a reply we cannot read.
    switch (value.userType()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
        number = value.toLongLong();
        break;
    case QMetaType::ULongLong:
        ok = value.toULongLong() <= quint64(std::numeric_limits<qint64>::max());
        number = ok ? value.toLongLong() : 0;
        break;
    case QMetaType::Double: {
        // 2^63 is exact as a double; every whole double below it fits into 64 bits.
        const double d = value.toDouble();
        ok = std::isfinite(d) && std::trunc(d) == d && d >= -0x1p63 && d < 0x1p63;
        number = ok ? qint64(d) : 0;
        break;
    }
    case QMetaType::QString:
        number = value.toString().toLongLong(&ok, 10);
        break;
    default:
        ok = false;
        break;
    }
    *result = ok ? number : 0;
    return ok;
}
