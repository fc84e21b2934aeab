#ifndef FIXNUMBER_H
#define FIXNUMBER_H

#include "corvexmodel_global.h"

#include <QChar>
#include <QMetaType>
#include <QString>

#include <type_traits>

// A fixed-point number: a signed count of units and the number of units per whole.
// Money amounts, rates and limits all travel as this type, also across the host boundary.
class CORVEXMODEL_EXPORT FixNumber
{
public:
    FixNumber() = default;
    explicit FixNumber(unsigned int realMultiplier)
        : m_realMultiplier(realMultiplier)
    { }
    FixNumber(unsigned int realMultiplier, long long value)
        : m_realMultiplier(realMultiplier)
        , m_value(value)
    { }
    FixNumber(unsigned int realMultiplier, double value);
    FixNumber(unsigned int realMultiplier, const QString &value);
    // Lets a plain integer literal (FixNumber(100, 0)) pick the unit-count form rather than being
    // ambiguous between the unit-count and the floating forms.
    template<typename T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
    FixNumber(unsigned int realMultiplier, T value)
        : FixNumber(realMultiplier, static_cast<long long>(value))
    { }

    FixNumber(const FixNumber &) = default;
    FixNumber(FixNumber &&) = default;
    FixNumber &operator=(const FixNumber &) = default;
    FixNumber &operator=(FixNumber &&) = default;
    ~FixNumber() = default;

    unsigned int realMultiplier() const { return m_realMultiplier; }
    void setRealMultiplier(const unsigned int &realMultiplier)
    {
        m_realMultiplier = realMultiplier;
    }
    long long value() const { return m_value; }
    void setValue(const long long &value) { m_value = value; }

    double toDouble() const
    {
        const double units = static_cast<double>(m_value);
        return m_realMultiplier == 0 ? units : units / m_realMultiplier;
    }
    void setDouble(double value);
    void setString(const QString &text);

    int decimals() const;
    void setDecimal(int decimals);

    QString toString(const QChar &separator) const;
    QString toString() const;

    // Amounts at one multiplier compare as unit counts wherever the floating comparison that
    // the general case needs is sure to give the same answer.
    bool operator==(const FixNumber &other) const
    {
        return equalityIsExact(other) ? m_value == other.m_value : equals(other);
    }
    bool operator!=(const FixNumber &other) const { return !(*this == other); }
    bool operator>(const FixNumber &other) const
    {
        return orderIsExact(other) ? m_value > other.m_value : greater(other);
    }
    bool operator>=(const FixNumber &other) const
    {
        return bothExact(other) ? m_value >= other.m_value : equals(other) || greater(other);
    }
    bool operator<(const FixNumber &other) const
    {
        return orderIsExact(other) ? m_value < other.m_value : other.greater(*this);
    }
    bool operator<=(const FixNumber &other) const
    {
        return bothExact(other) ? m_value <= other.m_value : equals(other) || other.greater(*this);
    }

    FixNumber operator+(const FixNumber &other) const
    {
        return m_realMultiplier == other.m_realMultiplier
            ? FixNumber(m_realMultiplier, wrapped(m_value, other.m_value, false))
            : combine(other, false);
    }
    FixNumber operator-(const FixNumber &other) const
    {
        return m_realMultiplier == other.m_realMultiplier
            ? FixNumber(m_realMultiplier, wrapped(m_value, other.m_value, true))
            : combine(other, true);
    }
    FixNumber &operator+=(const FixNumber &other) { return *this = *this + other; }
    FixNumber &operator-=(const FixNumber &other) { return *this = *this - other; }

private:
    // Unit counts below 2^50 at one multiplier are more than two rounding steps apart once
    // divided by it, so their quotients keep their order. Unless both are 2^36 or more, two
    // different counts are also too far apart relative to the smaller one for the equality
    // tolerance of 1e-12 to call them equal.
    static bool below(long long value, long long limit)
    {
        // -limit < value < limit in one unsigned comparison.
        return static_cast<unsigned long long>(value) + static_cast<unsigned long long>(limit - 1)
            < static_cast<unsigned long long>(2 * limit - 1);
    }
    bool orderIsExact(const FixNumber &other) const
    {
        const long long limit = 1LL << 50;
        return m_realMultiplier == other.m_realMultiplier && below(m_value, limit)
            && below(other.m_value, limit);
    }
    // Both of the above, as <= and >= need.
    bool bothExact(const FixNumber &other) const
    {
        const long long equality = 1LL << 36;
        const long long order = 1LL << 50;
        return m_realMultiplier == other.m_realMultiplier
            && ((below(m_value, equality) && below(other.m_value, order))
                || (below(other.m_value, equality) && below(m_value, order)));
    }
    bool equalityIsExact(const FixNumber &other) const
    {
        const long long limit = 1LL << 36;
        return m_realMultiplier == other.m_realMultiplier
            && (m_value == other.m_value || below(m_value, limit) || below(other.m_value, limit));
    }
    // Sums of unit counts wrap around instead of invoking undefined signed overflow.
    static long long wrapped(long long a, long long b, bool subtract)
    {
        const auto ua = static_cast<unsigned long long>(a);
        const auto ub = static_cast<unsigned long long>(b);
        return static_cast<long long>(subtract ? ua - ub : ua + ub);
    }
    bool equals(const FixNumber &other) const;
    bool greater(const FixNumber &other) const;
    FixNumber combine(const FixNumber &other, bool subtract) const;

    unsigned int m_realMultiplier = 100;
    long long m_value = 0;
};

// Sums of money that decide a payment: totals, baskets, commissions. Amounts at different
// multipliers are brought to the larger one first. A result that does not fit into 64 bits
// sticks at the nearest limit instead of wrapping round to an amount of the other sign, so an
// overflow can never look like a small or a negative amount. FixNumber's own + and - wrap.
namespace Money {
CORVEXMODEL_EXPORT FixNumber sum(const FixNumber &a, const FixNumber &b);
CORVEXMODEL_EXPORT FixNumber difference(const FixNumber &a, const FixNumber &b);
} // namespace Money

Q_DECLARE_METATYPE(FixNumber)

#endif // FIXNUMBER_H
