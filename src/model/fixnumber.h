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

    // A multiplier of 0 counts as 1: the unit count is then a count of wholes.
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

    // Real values compared: equal within a relative 1e-12, ordered as doubles.
    bool operator==(const FixNumber &other) const;
    bool operator!=(const FixNumber &other) const { return !(*this == other); }
    bool operator>(const FixNumber &other) const { return toDouble() > other.toDouble(); }
    bool operator>=(const FixNumber &other) const { return *this == other || *this > other; }
    bool operator<(const FixNumber &other) const { return toDouble() < other.toDouble(); }
    bool operator<=(const FixNumber &other) const { return *this == other || *this < other; }

    // Money::sum and Money::difference.
    FixNumber operator+(const FixNumber &other) const;
    FixNumber operator-(const FixNumber &other) const;
    FixNumber &operator+=(const FixNumber &other) { return *this = *this + other; }
    FixNumber &operator-=(const FixNumber &other) { return *this = *this - other; }

private:
    unsigned int m_realMultiplier = 100;
    long long m_value = 0;
};

// The one money arithmetic; FixNumber's operators, payment and basket totals and commissions all
// use it. A multiplier of 0 counts as 1 (whole units).
// - The result carries the larger of the two multipliers and the exact sum or difference, when
//   that fits into 64 bits. (Between multipliers that are not multiples of one another the exact
//   value may fall between two units; it is then rounded to a nearest one.)
// - When it does not fit there, the result carries the smaller multiplier and the value rounded
//   to the nearest unit of it: an amount that only overflows at the finer scale stays whole.
// - When it fits at neither, it is clamped at the 64-bit limit of its sign at the smaller
//   multiplier, the largest amount either multiplier can hold. So a sum of positive amounts is
//   never below its largest part, and an overflow never wraps round to the other sign.
namespace Money {
CORVEXMODEL_EXPORT FixNumber sum(const FixNumber &a, const FixNumber &b);
CORVEXMODEL_EXPORT FixNumber difference(const FixNumber &a, const FixNumber &b);
} // namespace Money

Q_DECLARE_METATYPE(FixNumber)

#endif // FIXNUMBER_H
