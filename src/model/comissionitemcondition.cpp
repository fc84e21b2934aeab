#include "comissionitemcondition.h"

#include "saturating.h"

#include "bitflags.h"

void ComissionItemCondition::setMinPercentCommissResult(const FixNumber &minPercentCommissResult)
{
    m_minPercentCommissResult = minPercentCommissResult;
}

void ComissionItemCondition::setMaxPercentCommissResult(const FixNumber &maxPercentCommissResult)
{
    m_maxPercentCommissResult = maxPercentCommissResult;
}

void ComissionItemCondition::setCoinBill(const QString &coinBill)
{
    m_coinBill = bitArrayFromWord(coinBill.toULongLong(), 64);
}

FixNumber ComissionItemCondition::calcComission(const FixNumber &summ, bool inner) const
{
    FixNumber result = m_fixCommiss;
    const double rate = m_percent.toDouble() / 100;
    // A rate of 100 % or more would make the gross-up divide by zero or turn negative.
    if (m_percent.value() > 0 && m_percent.value() <= 9999 && rate < 1) {
        const double sum = summ.toDouble();
        const double share = inner ? rate * sum : sum * rate / (1 - rate);
        result.setValue(
            Saturating::add(result.value(), FixNumber(summ.realMultiplier(), share).value()));
    }
    if (m_minPercentCommissResult.value() > 0 && result < m_minPercentCommissResult)
        return m_minPercentCommissResult;
    if (m_maxPercentCommissResult.value() > 0 && result > m_maxPercentCommissResult)
        return m_maxPercentCommissResult;
    return result;
}

bool ComissionItemCondition::operator==(const ComissionItemCondition &other) const
{
    return m_summRangeBottom == other.m_summRangeBottom && m_summRangeTop == other.m_summRangeTop
        && m_percent == other.m_percent
        && m_minPercentCommissResult == other.m_minPercentCommissResult
        && m_maxPercentCommissResult == other.m_maxPercentCommissResult
        && m_fixCommiss == other.m_fixCommiss && m_coinBill == other.m_coinBill;
}

bool ComissionItemCondition::operator!=(const ComissionItemCondition &other) const
{
    return !(*this == other);
}
