#include "fixnumber.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

// The host copies and passes this type by value across the library boundary.
static_assert(std::is_trivially_copyable<FixNumber>::value, "FixNumber must stay a plain value");
static_assert(sizeof(FixNumber) == 16, "FixNumber must stay two fields wide");

namespace {

using Wide = __int128;

const Wide Largest = std::numeric_limits<long long>::max();
const Wide Smallest = std::numeric_limits<long long>::min();

// A multiplier of 0 counts as 1, as toDouble() reads it.
unsigned int effective(unsigned int multiplier)
{
    return std::max(multiplier, 1u);
}

// The unit count of value/from at the multiplier to, to the nearest unit (a half away from zero).
// Exact whenever to is a multiple of from. |value * to| < 2^95, well inside 128 bits.
Wide rescaled(long long value, unsigned int from, unsigned int to)
{
    const Wide units = Wide(value) * to;
    Wide whole = units / from;
    const Wide rest = units % from;
    if (2 * (rest < 0 ? -rest : rest) >= from)
        whole += units < 0 ? -1 : 1;
    return whole;
}

// a ± b at the multiplier `to`, one of the two operands' own: that operand is exact there, so
// rounding the other alone rounds the result.
Wide combineAt(const FixNumber &a, const FixNumber &b, bool subtract, unsigned int to)
{
    const unsigned int target = effective(to);
    const Wide left = rescaled(a.value(), effective(a.realMultiplier()), target);
    const Wide right = rescaled(b.value(), effective(b.realMultiplier()), target);
    return subtract ? left - right : left + right;
}

bool fits(Wide units)
{
    return units >= Smallest && units <= Largest;
}

FixNumber combine(const FixNumber &a, const FixNumber &b, bool subtract)
{
    const unsigned int finer = std::max(a.realMultiplier(), b.realMultiplier());
    const Wide atFiner = combineAt(a, b, subtract, finer);
    if (fits(atFiner))
        return FixNumber(finer, static_cast<long long>(atFiner));
    // Multipliers 0 and 1 are one scale; the clamp then keeps the larger one too.
    const unsigned int lower = std::min(a.realMultiplier(), b.realMultiplier());
    const unsigned int coarser = effective(lower) < effective(finer) ? lower : finer;
    const Wide atCoarser = combineAt(a, b, subtract, coarser);
    return FixNumber(coarser, static_cast<long long>(std::clamp(atCoarser, Smallest, Largest)));
}

} // namespace

FixNumber Money::sum(const FixNumber &a, const FixNumber &b)
{
    return combine(a, b, false);
}

FixNumber Money::difference(const FixNumber &a, const FixNumber &b)
{
    return combine(a, b, true);
}

FixNumber FixNumber::operator+(const FixNumber &other) const
{
    return Money::sum(*this, other);
}

FixNumber FixNumber::operator-(const FixNumber &other) const
{
    return Money::difference(*this, other);
}

bool FixNumber::operator==(const FixNumber &other) const
{
    if (m_realMultiplier == other.m_realMultiplier && m_value == other.m_value)
        return true;
    const double a = other.toDouble();
    const double b = toDouble();
    return std::fabs(b - a) * 1e12 <= std::min(std::fabs(a), std::fabs(b));
}

FixNumber::FixNumber(unsigned int realMultiplier, double value)
    : m_realMultiplier(realMultiplier)
{
    setDouble(value);
}

FixNumber::FixNumber(unsigned int realMultiplier, const QString &value)
    : m_realMultiplier(realMultiplier)
{
    setString(value);
}

void FixNumber::setDouble(double value)
{
    if (!std::isfinite(value))
        return;
    // A multiplier of 0 counts as 1, so that the value read back by toDouble() is the one set.
    const long double product = static_cast<long double>(std::max(m_realMultiplier, 1u)) * value;
    const long double limit = 9223372036854775808.0L; // 2^63
    if (product < -limit || product >= limit)
        return;
    const long long whole = static_cast<long long>(product);
    const long double fraction = product - whole;
    // The first dropped digit is above 5 exactly when ten times the fraction reaches 6, and is 5
    // when it lies in [5, 6); the digits are only truncated to integers in that rare case. A
    // negative fraction never rounds up. A dropped 5 rounds up only when the two-digit reading
    // is odd: 2.5 stays 2, 2.51 gives 3.
    const long double tenths = fraction * 10;
    const bool roundUp
        = tenths >= 6 || (tenths >= 5 && static_cast<long long>(fraction * 100) % 2 != 0);
    if (!roundUp) {
        m_value = whole;
    } else if (whole < std::numeric_limits<long long>::max()) {
        m_value = whole + 1;
    }
}

// The whole text is one or more ASCII digits, at most one point or comma, then any digits.
static bool isAmountText(const QString &text)
{
    const QChar *c = text.constData();
    const QChar *end = c + text.size();
    const auto digit = [](QChar ch) { return ch.unicode() >= '0' && ch.unicode() <= '9'; };
    if (c == end || !digit(*c))
        return false;
    while (c != end && digit(*c))
        ++c;
    if (c != end && (*c == QLatin1Char('.') || *c == QLatin1Char(',')))
        ++c;
    while (c != end && digit(*c))
        ++c;
    return c == end;
}

void FixNumber::setString(const QString &text)
{
    if (!isAmountText(text))
        return;
    if (!text.contains(QLatin1Char(','))) {
        setDouble(text.toDouble());
        return;
    }
    QString normalized = text;
    normalized.replace(QLatin1Char(','), QLatin1Char('.'));
    setDouble(normalized.toDouble());
}

int FixNumber::decimals() const
{
    int multiplier = static_cast<int>(m_realMultiplier);
    if (multiplier <= 1)
        return 0;
    int count = 0;
    do {
        ++count;
        multiplier /= 10;
    } while (multiplier > 1);
    return count;
}

void FixNumber::setDecimal(int decimals)
{
    if (decimals < 0)
        return;
    // 10^9 is the largest power of ten a 32-bit multiplier holds.
    decimals = std::min(decimals, 9);
    unsigned int multiplier = 1;
    for (int i = 0; i < decimals; ++i)
        multiplier *= 10;
    m_realMultiplier = multiplier;
}

// Writes the decimal digits of n backwards, ending just before `end`, at least `width` of them
// (padded with zeros); returns where the digits begin.
static QChar *writeDigits(QChar *end, unsigned long long n, int width)
{
    do {
        *--end = QLatin1Char(char('0' + n % 10));
        n /= 10;
        --width;
    } while (n != 0);
    for (; width > 0; --width)
        *--end = QLatin1Char('0');
    return end;
}

QString FixNumber::toString(const QChar &separator) const
{
    if (m_realMultiplier <= 1)
        return QString::number(m_value);
    // Unsigned magnitude, so that the most negative value has an absolute value too.
    const unsigned long long magnitude = m_value < 0
        ? 0ULL - static_cast<unsigned long long>(m_value)
        : static_cast<unsigned long long>(m_value);
    const unsigned long long whole = magnitude / m_realMultiplier;
    const unsigned long long part = magnitude % m_realMultiplier;
    // Sign, 20 digits, separator, and a fraction of at most 10 digits (or decimals() of them).
    QChar buffer[64];
    QChar *const end = buffer + 64;
    QChar *begin = writeDigits(end, part, decimals());
    *--begin = separator;
    begin = writeDigits(begin, whole, 0);
    if (m_value < 0)
        *--begin = QLatin1Char('-');
    return QString(begin, int(end - begin));
}

QString FixNumber::toString() const
{
    // Qt 6 gives the separator as a string; every locale Qt knows writes it as one character.
    return toString(QString(QLocale().decimalPoint()).at(0));
}
