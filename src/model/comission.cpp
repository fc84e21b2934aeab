#include "comission.h"

#include "saturating.h"

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
    return calcComission(summ, inner, QDateTime::currentDateTime());
}

FixNumber Comission::calcComission(const FixNumber &summ, bool inner, const QDateTime &now) const
{
    FixNumber total(summ.realMultiplier());
    for (const ComissionItem &item : m_items) {
        if (item.checkDt(now))
            total.setValue(Saturating::add(total.value(), item.calcComission(summ, inner).value()));
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
