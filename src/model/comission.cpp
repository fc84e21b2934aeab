#include "comission.h"

#include <atomic>

namespace {

// The current local time, as QDateTime::currentDateTime() gives it. Qt looks the time zone up
// again on every call (a file system access when TZ is unset), which would cost far more than
// the commission itself. Local time changes its offset from UTC only at a whole second, so the
// offset found for one second serves every call within it.
QDateTime currentLocalTime()
{
    // The second since the epoch in the high bits, the offset from UTC (biased) in the low 20.
    static std::atomic<quint64> cache {0};
    const int offsetBits = 20;
    const qint64 offsetBias = 1 << (offsetBits - 1);

    const qint64 msecs = QDateTime::currentMSecsSinceEpoch();
    const qint64 second = msecs / 1000;
    const bool cacheable = msecs > 0 && second < (qint64(1) << (64 - offsetBits));
    const quint64 cached = cache.load(std::memory_order_relaxed);
    if (cacheable && cached != 0 && qint64(cached >> offsetBits) == second) {
        const int offset = int(qint64(cached & ((quint64(1) << offsetBits) - 1)) - offsetBias);
        return QDateTime::fromMSecsSinceEpoch(msecs, Qt::OffsetFromUTC, offset);
    }
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(msecs, Qt::LocalTime);
    const qint64 offset = local.offsetFromUtc();
    if (cacheable && offset > -offsetBias && offset < offsetBias)
        cache.store((quint64(second) << offsetBits) | quint64(offset + offsetBias),
            std::memory_order_relaxed);
    return local;
}

} // namespace

void Comission::setItems(const QList<ComissionItem> &items)
{
    m_items = items;
}

bool Comission::isValid() const
{
    return m_id > 0 && !m_items.isEmpty();
}

FixNumber Comission::calcComission(const FixNumber &summ, bool inner) const
{
    return calcComission(summ, inner, currentLocalTime());
}

FixNumber Comission::calcComission(const FixNumber &summ, bool inner, const QDateTime &now) const
{
    FixNumber total(summ.realMultiplier());
    const ComissionItem::Moment moment = ComissionItem::momentOf(now);
    for (const ComissionItem &item : m_items) {
        if (item.inForce(moment))
            total = Money::sum(total, item.calcComission(summ, inner));
    }
    return total;
}

bool Comission::operator==(const Comission &other) const
{
    return m_id == other.m_id && m_name == other.m_name
        && m_terminalUsingPay == other.m_terminalUsingPay
        && m_truncCommission == other.m_truncCommission && m_prePay == other.m_prePay
        && m_dividePrePay == other.m_dividePrePay && m_items == other.m_items;
}

bool Comission::operator!=(const Comission &other) const
{
    return !(*this == other);
}
