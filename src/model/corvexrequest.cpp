#include "corvexrequest.h"

#include "corvexprotocol.h"

#include "paymenti64idgenerator.h"

#include <QDataStream>
#include <QIODevice>

bool CorvexRequest::isValid() const
{
    return m_type != NoRequest && !m_function.isEmpty() && m_uid != 0;
}

void CorvexRequest::generateUid(qint64 boxId)
{
    generateUid(boxId, QDateTime::currentDateTime());
}

void CorvexRequest::generateUid(qint64 boxId, const QDateTime &moment)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << m_function.toUtf8() << static_cast<qint32>(m_type)
           << static_cast<qint32>(m_data.size());
    for (auto it = m_data.constEnd(); it != m_data.constBegin();) {
        --it;
        stream << it.key() << it.value();
    }
    stream << moment;
    // Only the low 32 bits of the box id seed the identifier.
    const auto seed = static_cast<unsigned int>(static_cast<quint64>(boxId) & 0xFFFFFFFFu);
    m_uid = PaymentI64IdGenerator::generate(seed, bytes, moment.date());
}

QVariantMap CorvexRequest::toMap() const
{
    QVariantMap map = m_data;
    map.insert(CorvexKey::Function, m_function);
    map.insert(CorvexKey::Uid, QString::number(m_uid));
    map.insert(CorvexKey::CurrencyId, m_currencyId);
    return map;
}

bool CorvexRequest::operator==(const CorvexRequest &other) const
{
    return m_type == other.m_type && m_function == other.m_function && m_uid == other.m_uid
        && m_data == other.m_data && m_currencyId == other.m_currencyId;
}
