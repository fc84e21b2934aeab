// FixNumber: text in and out, the rounding rule, comparisons and the money arithmetic, each
// checked against exact integer arithmetic in 128 bits.
#include "fixnumber.h"
#include "fuzzinput.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace {

using Wide = __int128;

const Wide Largest = std::numeric_limits<long long>::max();
const Wide Smallest = std::numeric_limits<long long>::min();

Wide magnitude(Wide v)
{
    return v < 0 ? -v : v;
}

// Multiplier 0 reads as whole units.
Wide scale(unsigned int multiplier)
{
    return multiplier == 0 ? 1 : multiplier;
}

enum class Rounded { Unknown, Unchanged, Value };

// The rounding rule on the exact binary value of multiplier x d. The rule reads the first two
// dropped decimal digits of the product: they are found here by integer arithmetic on the
// double's mantissa. Where the product and its digits need more than the 64 bits of a long
// double (more than 59 significant bits), only the neighbours are known: *low and *high.
Rounded exactRounding(unsigned int multiplier, double d, long long *low, long long *high)
{
    if (!std::isfinite(d))
        return Rounded::Unchanged;
    int exponent = 0;
    const double fraction = std::frexp(d, &exponent);
    long long mantissa = static_cast<long long>(std::ldexp(fraction, 53));
    exponent -= 53;
    const bool negative = mantissa < 0;
    Wide product = magnitude(mantissa) * scale(multiplier);
    while (product != 0 && product % 2 == 0) {
        product /= 2;
        ++exponent;
    }
    int bits = 0;
    for (Wide p = product; p != 0; p /= 2)
        ++bits;
    // Beyond 2^63 the value is left as it was; far below it, it is 0.
    if (product == 0 || exponent + bits <= -8) {
        *low = *high = 0;
        return Rounded::Value;
    }
    if (exponent + bits > 66)
        return Rounded::Unchanged;
    if (exponent + bits > 62)
        return Rounded::Unknown; // within a rounding of 2^63
    Wide whole = 0;
    bool up = false;
    if (exponent >= 0) {
        whole = product << exponent;
    } else {
        const int k = -exponent;
        whole = product >> k;
        const Wide rest = product - (whole << k);
        const Wide first = (rest * 10) >> k; // the first dropped digit
        const Wide two = (rest * 100) >> k; // the first two as one number
        up = first > 5 || (first == 5 && two % 2 != 0);
    }
    const long long t = static_cast<long long>(negative ? -whole : whole);
    if (bits <= 59) {
        *low = *high = negative ? t : t + (up ? 1 : 0);
    } else {
        // The long double product may round to a neighbouring integer: one either way.
        *low = t - 1;
        *high = t + 1;
    }
    return Rounded::Value;
}

void checkRounding(unsigned int multiplier, long long before, double d, long long after)
{
    long long low = 0, high = 0;
    switch (exactRounding(multiplier, d, &low, &high)) {
    case Rounded::Unchanged:
        FUZZ_CHECK(after == before);
        break;
    case Rounded::Value:
        FUZZ_CHECK(after >= low && after <= high);
        break;
    case Rounded::Unknown:
        break;
    }
}

bool isPowerOfTen(unsigned int m)
{
    unsigned long long p = 1;
    for (; p < m; p *= 10) { }
    return p == m;
}

// a + b (or a - b) exactly is n / d wholes, d = scale(a) x scale(b).
void checkArithmetic(const FixNumber &a, const FixNumber &b, bool subtract)
{
    const FixNumber result = subtract ? Money::difference(a, b) : Money::sum(a, b);
    FixNumber assigned = a;
    if (subtract)
        assigned -= b;
    else
        assigned += b;
    const FixNumber byOperator = subtract ? a - b : a + b;
    for (const FixNumber &same : {assigned, byOperator})
        FUZZ_CHECK(
            same.realMultiplier() == result.realMultiplier() && same.value() == result.value());

    const Wide sa = scale(a.realMultiplier()), sb = scale(b.realMultiplier());
    const Wide left = Wide(a.value()) * sb;
    const Wide right = Wide(b.value()) * sa;
    const Wide n = subtract ? left - right : left + right;
    const Wide d = sa * sb;

    // The result carries one of the two multipliers, the finer one unless it cannot hold it.
    const unsigned int m = result.realMultiplier();
    FUZZ_CHECK(m == a.realMultiplier() || m == b.realMultiplier());
    const unsigned int finer = std::max(a.realMultiplier(), b.realMultiplier());
    const Wide sm = scale(m);
    const Wide other = d / sm; // the exact units at m are n / other
    const Wide v = result.value();
    const bool nearest = 2 * magnitude(v * other - n) <= other;
    if (!nearest) {
        // Clamped: beyond the limit, and only at the coarser multiplier, which holds the most.
        FUZZ_CHECK(v == Largest ? 2 * n > (2 * Largest + 1) * other
                                : v == Smallest && 2 * n < (2 * Smallest - 1) * other);
        FUZZ_CHECK(sm == std::min(sa, sb));
    }
    if (sm < scale(finer)) {
        // Only when the finer multiplier cannot hold the nearest unit count.
        const Wide otherFiner = d / scale(finer);
        FUZZ_CHECK(2 * magnitude(n) >= (2 * Largest - 1) * otherFiner);
    }
    // Adding amounts of one sign never gives less than the larger of them (-b of the most
    // negative unit count is no amount).
    const Wide vb = subtract ? -Wide(b.value()) : Wide(b.value());
    if (a.value() > 0 && vb > 0 && vb <= Largest) {
        FUZZ_CHECK(v * sa >= Wide(a.value()) * sm);
        FUZZ_CHECK(v * sb >= vb * sm);
    }
    if (a.value() < 0 && vb < 0) {
        FUZZ_CHECK(v * sa <= Wide(a.value()) * sm);
        FUZZ_CHECK(v * sb <= vb * sm);
    }
}

// Equal within a relative 1e-12 of the smaller magnitude, ordered by value: decided where the
// exact difference is clearly inside or outside the tolerance.
void checkComparison(const FixNumber &a, const FixNumber &b)
{
    const Wide sa = scale(a.realMultiplier()), sb = scale(b.realMultiplier());
    const Wide x = Wide(a.value()) * sb, y = Wide(b.value()) * sa;
    const Wide gap = magnitude(x - y);
    const Wide smaller = std::min(magnitude(x), magnitude(y));
    if (gap == 0 || gap < smaller / 10000000000000) {
        FUZZ_CHECK(a == b && b == a && !(a != b) && a >= b && a <= b);
    } else if (gap > smaller / 100000000000 + 1) {
        const bool less = x < y;
        FUZZ_CHECK(!(a == b) && a != b);
        FUZZ_CHECK((a < b) == less && (a > b) == !less && (a <= b) == less && (a >= b) == !less);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const unsigned int multiplier = input.take<unsigned int>();
    const long long units = input.take<long long>();
    const unsigned int otherMultiplier = input.take<unsigned int>();
    const long long otherUnits = input.take<long long>();
    const double d = input.take<double>();
    const int places = input.take<int>();
    const QString text = input.rest();

    // Text that does not match leaves the number as it was; text that does is read as a double
    // and rounded by the rule.
    static const QRegularExpression pattern(QStringLiteral("\\A([0-9]+)([.,]?)([0-9]*)\\z"));
    FixNumber parsed(multiplier, units);
    parsed.setString(text);
    FUZZ_CHECK(parsed.realMultiplier() == multiplier);
    if (!pattern.match(text).hasMatch())
        FUZZ_CHECK(parsed.value() == units);
    else
        checkRounding(multiplier, units,
            QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(), parsed.value());

    FixNumber rounded(multiplier, units);
    rounded.setDouble(d);
    checkRounding(multiplier, units, d, rounded.value());

    // What toString writes, setString reads back, for every amount a double holds exactly.
    if (isPowerOfTen(multiplier) && units >= 0 && units < (1LL << 50)) {
        const FixNumber number(multiplier, units);
        for (const QChar separator : {QLatin1Char('.'), QLatin1Char(',')}) {
            FixNumber back(multiplier);
            back.setString(number.toString(separator));
            FUZZ_CHECK(back.value() == units);
        }
    }

    const FixNumber a(multiplier, units);
    const FixNumber b(otherMultiplier, otherUnits);
    checkArithmetic(a, b, false);
    checkArithmetic(a, b, true);
    checkComparison(a, b);
    // Neighbours at one scale, where shortcuts on the unit count would show.
    checkComparison(a, FixNumber(multiplier, units ^ 1));

    FixNumber decimals(multiplier, units);
    decimals.setDecimal(places % 64);
    FUZZ_CHECK(decimals.value() == units);
    FUZZ_CHECK(places % 64 < 0 ? decimals.realMultiplier() == multiplier
                               : isPowerOfTen(decimals.realMultiplier()));
    (void)a.toString();
    return 0;
}
