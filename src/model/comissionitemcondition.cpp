#include "comissionitemcondition.h"

#include "bitflags.h"

#include <algorithm>
#include <limits>

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

namespace {

// x (in wholes) as a unit count at the multiplier of summ, by the rounding of setDouble; a share
// beyond 64 bits sticks at the limit instead of being dropped.
FixNumber shareOf(const FixNumber &summ, double x)
{
    const long double units = static_cast<long double>(std::max(summ.realMultiplier(), 1u)) * x;
    const long double limit = 9223372036854775808.0L; // 2^63
    if (units >= limit)
        return FixNumber(summ.realMultiplier(), std::numeric_limits<long long>::max());
    if (units < -limit)
        return FixNumber(summ.realMultiplier(), std::numeric_limits<long long>::min());
    return FixNumber(summ.realMultiplier(), x);
}

} // namespace

// The fixed part, the share and the limits are amounts, each at its own multiplier: they are
// added and compared as such. The result carries the multiplier of summ or a finer one, unless
// it went beyond 64 bits there.
FixNumber ComissionItemCondition::calcComission(const FixNumber &summ, bool inner) const
{
    const FixNumber none(summ.realMultiplier());
    FixNumber share = none;
    const double rate = m_percent.toDouble() / 100;
    // A rate of 100 % or more would make the gross-up divide by zero or turn negative.
    if (m_percent.value() > 0 && m_percent.value() <= 9999 && rate < 1) {
        const double sum = summ.toDouble();
        share = shareOf(summ, inner ? rate * sum : sum * rate / (1 - rate));
    }
    const FixNumber result = Money::sum(m_fixCommiss, share);
    if (m_minPercentCommissResult.value() > 0 && result < m_minPercentCommissResult)
        return Money::sum(none, m_minPercentCommissResult);
    if (m_maxPercentCommissResult.value() > 0 && result > m_maxPercentCommissResult)
        return Money::sum(none, m_maxPercentCommissResult);
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
