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

CorvexReply CorvexReply::fromJson(const QString &text)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        CorvexReply reply;
        reply.m_errorString = parseError.errorString();
        return reply;
    }
    return CorvexReply(document.object().toVariantMap());
}

qint64 CorvexReply::uid() const
{
    const QVariant value = m_map.value(CorvexKey::Uid);
    qint64 uid = 0;
    if (value.userType() == QMetaType::Bool || !integerValue(value, &uid))
        return 0;
    return uid;
}

bool CorvexReply::resultFailed() const
{
    const QVariant result = m_map.value(CorvexKey::Result);
    if (!result.isValid() || result.userType() == QMetaType::Nullptr)
        return false;
    qint64 value = 0;
    return !integerValue(result, &value) || value != 0;
}

QString CorvexReply::resultDescription() const
{
    return m_map.value(CorvexKey::ResultDescription).toString();
}

bool CorvexReply::hasError() const
{
    return m_map.contains(CorvexKey::Error);
}

bool CorvexReply::error() const
{
    return m_map.value(CorvexKey::Error).toBool();
}

QString CorvexReply::description() const
{
    return m_map.value(CorvexKey::Description).toString();
}

QVariantMap CorvexReply::params() const
{
    return m_map.value(CorvexKey::Params).toMap();
}

bool CorvexReply::hasErrorCode(const QVariantMap &params)
{
    return params.contains(CorvexKey::ErrorCode);
}

int CorvexReply::errorCode(const QVariantMap &params)
{
    qint64 code = 0;
    if (!integerValue(params.value(CorvexKey::ErrorCode), &code)
        || code < std::numeric_limits<int>::min() || code > std::numeric_limits<int>::max())
        return -1;
    return int(code);
}

bool CorvexReply::integerValue(const QVariant &value, qint64 *result)
{
    bool ok = true;
    qint64 number = 0;
    switch (value.userType()) {
    case QMetaType::Bool:
        number = value.toBool() ? 1 : 0;
        break;
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
