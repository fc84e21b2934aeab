// FixNumber: text in and out, the rounding rule and money sums.
#include "fixnumber.h"
#include "fuzzinput.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace {

// The rounding rule written out step by step, as the oracle for setDouble.
bool roundedUnits(unsigned int multiplier, double d, long long *units)
{
    const long double p = static_cast<long double>(multiplier) * d;
    if (!std::isfinite(d) || p < -9223372036854775808.0L || p >= 9223372036854775808.0L)
        return false;
    const long long t = static_cast<long long>(p);
    const long double f = p - t;
    const long long d1 = static_cast<long long>(f * 10);
    const long long d2 = static_cast<long long>(f * 100);
    *units = (d1 > 5 || (d1 == 5 && d2 % 2 != 0)) ? t + 1 : t;
    return true;
}

bool isPowerOfTen(unsigned int m)
{
    for (unsigned int p = 1; p <= 1000000000u; p *= 10) {
        if (m == p)
            return true;
        if (p == 1000000000u)
            break;
    }
    return false;
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
    const QString text = input.rest();

    // Text that does not match leaves the number as it was; text that does gives the rule's
    // rounding of its value.
    static const QRegularExpression pattern(QStringLiteral("\\A([0-9]+)([.,]?)([0-9]*)\\z"));
    FixNumber parsed(multiplier, units);
    parsed.setString(text);
    if (!pattern.match(text).hasMatch()) {
        FUZZ_CHECK(parsed.value() == units);
    } else {
        long long expected = units;
        const double value = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
        if (roundedUnits(multiplier, value, &expected))
            FUZZ_CHECK(parsed.value() == expected);
        FUZZ_CHECK(parsed.value() >= 0 || parsed.value() == units);
    }
    FUZZ_CHECK(parsed.realMultiplier() == multiplier);

    // setDouble follows the rule exactly, or leaves the value when it cannot hold it.
    FixNumber rounded(multiplier, units);
    rounded.setDouble(d);
    long long expected = units;
    roundedUnits(multiplier, d, &expected);
    FUZZ_CHECK(rounded.value() == expected);

    // What toString writes, setString reads back, for every amount a double holds exactly.
    if (isPowerOfTen(multiplier) && units >= 0 && units < (1LL << 50)) {
        const FixNumber number(multiplier, units);
        FixNumber back(multiplier);
        back.setString(number.toString(QLatin1Char('.')));
        FUZZ_CHECK(back.value() == units);
        FixNumber comma(multiplier);
        comma.setString(number.toString(QLatin1Char(',')));
        FUZZ_CHECK(comma.value() == units);
    }

    // Money sums are exact, or stick at a limit; never of the wrong sign.
    const FixNumber a(multiplier, units);
    const FixNumber b(otherMultiplier, otherUnits);
    const FixNumber sum = Money::sum(a, b);
    const FixNumber difference = Money::difference(a, b);
    const unsigned int m = std::max(multiplier, otherMultiplier);
    FUZZ_CHECK(sum.realMultiplier() == m && difference.realMultiplier() == m);
    const __int128 left = __int128(units) * (m / std::max(multiplier, 1u));
    const __int128 right = __int128(otherUnits) * (m / std::max(otherMultiplier, 1u));
    const auto clamp = [](__int128 v) {
        return static_cast<long long>(std::clamp<__int128>(
            v, std::numeric_limits<long long>::min(), std::numeric_limits<long long>::max()));
    };
    FUZZ_CHECK(sum.value() == clamp(left + right));
    FUZZ_CHECK(difference.value() == clamp(left - right));

    FixNumber places(multiplier, units);
    places.setDecimal(input.take<int>() % 64);
    FUZZ_CHECK(places.realMultiplier() == multiplier || isPowerOfTen(places.realMultiplier()));
    (void)a.toString();
    (void)(a < b);
    (void)(a == b);
    return 0;
}
