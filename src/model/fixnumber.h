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
    explicit FixNumber(unsigned int realMultiplier);
    FixNumber(unsigned int realMultiplier, long long value);
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

    double toDouble() const;
    void setDouble(double value);
    void setString(const QString &text);

    int decimals() const;
    void setDecimal(int decimals);

    QString toString(const QChar &separator) const;
    QString toString() const;

    bool operator==(const FixNumber &other) const;
    bool operator!=(const FixNumber &other) const;
    bool operator>(const FixNumber &other) const;
    bool operator>=(const FixNumber &other) const;
    bool operator<(const FixNumber &other) const;
    bool operator<=(const FixNumber &other) const;

    FixNumber operator+(const FixNumber &other) const;
    FixNumber operator-(const FixNumber &other) const;
    FixNumber &operator+=(const FixNumber &other);
    FixNumber &operator-=(const FixNumber &other);

private:
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
