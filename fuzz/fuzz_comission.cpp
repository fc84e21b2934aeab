// Commission rules and profiles at every multiplier, 0 and mixed scales included: each
// condition's commission against the exact share in 128-bit integers, the limits, and the
// sums of a rule and a schedule against the conditions' commissions.
#include "boxcomprofile.h"
#include "comission.h"
#include "fuzzinput.h"

#include <QDateTime>

#include <cmath>
#include <limits>

namespace {

using Wide = __int128;
using Real = long double;

const Real Limit = 9223372036854775807.0L;

Wide magnitude(Wide v)
{
    return v < 0 ? -v : v;
}

unsigned int scale(unsigned int multiplier)
{
    return multiplier == 0 ? 1 : multiplier;
}

Real wholes(const FixNumber &n)
{
    return Real(n.value()) / scale(n.realMultiplier());
}

// Mostly the multipliers money uses, 0 and scales that are not multiples of one another too.
unsigned int multiplier(FuzzInput &input)
{
    static const unsigned int usual[] = {0, 1, 2, 10, 100, 1000, 150, 10000, 1000000, 1000000000u};
    const uint8_t pick = input.take<uint8_t>();
    return pick < 200 ? usual[pick % 10] : input.take<unsigned int>();
}

FixNumber amount(FuzzInput &input, bool nonNegative)
{
    const unsigned int m = multiplier(input);
    long long units = input.flag() ? input.take<int32_t>() : input.take<long long>();
    if (nonNegative && units < 0)
        units = -(units + 1);
    return FixNumber(m, units);
}

// The share in units of summ's multiplier, exactly, as num / den; false when the rate adds
// nothing (0 or less, more than 9999 units, 100 % or more).
bool exactShare(
    const ComissionItemCondition &c, const FixNumber &summ, bool inner, Wide *num, Wide *den)
{
    const Wide p = c.percent().value();
    const Wide hundred = Wide(100) * scale(c.percent().realMultiplier());
    if (p <= 0 || p > 9999 || p >= hundred)
        return false;
    // summ x p / 100 (inner) or summ x p / (100 - p) (outer), p a percentage.
    *num = Wide(summ.value()) * p;
    *den = inner ? hundred : hundred - p;
    return true;
}

// The commission a condition charges, checked where the exact values decide it: its value and
// multiplier. Returns false when the case is too close to a limit or a bound to decide.
bool checkCondition(const ComissionItemCondition &c, const FixNumber &summ, bool inner)
{
    const FixNumber result = c.calcComission(summ, inner);
    const Real es = scale(summ.realMultiplier());
    Wide num = 0, den = 1;
    const bool rated = exactShare(c, summ, inner, &num, &den);
    const Real units = Real(num) / Real(den);
    // The share goes through doubles and the rounding rule: a unit either way, and the relative
    // error of a few double operations.
    const Real shareSlack = rated ? (1 + std::fabs(units) * 0x1p-30L) / es : 0;
    const Real share = units / es;
    const Real fixed = wholes(c.fixCommiss());
    const Real expected = fixed + share;
    const Real resultScale = scale(result.realMultiplier());
    const Real slack = shareSlack + 1 / resultScale;
    const Real got = wholes(result);

    // Nothing near 64 bits at any multiplier involved: every sum is exact or a rounding.
    const Real room = Limit / 8 / 4294967296.0L;
    const FixNumber low = c.minPercentCommissResult(), high = c.maxPercentCommissResult();
    const bool small = std::fabs(units) < room && std::fabs(fixed) < room
        && std::fabs(wholes(low)) < room && std::fabs(wholes(high)) < room;
    if (!small)
        return false;

    // The result carries at least the amount's multiplier.
    FUZZ_CHECK(resultScale >= es);
    const auto near = [&](Real target, Real tolerance) {
        return std::fabs(got - target) <= tolerance + std::fabs(target) * 0x1p-50L;
    };
    const auto margin = [&](Real bound) { return slack + std::fabs(bound) * 0x1p-30L; };
    if (low.value() > 0) {
        const Real bound = wholes(low);
        if (expected < bound - margin(bound)) {
            FUZZ_CHECK(near(bound, 0.5L / resultScale));
            return true;
        }
        if (expected <= bound + margin(bound))
            return false;
    }
    if (high.value() > 0) {
        const Real bound = wholes(high);
        if (expected > bound + margin(bound)) {
            FUZZ_CHECK(near(bound, 0.5L / resultScale));
            return true;
        }
        if (expected >= bound - margin(bound))
            return false;
    }
    FUZZ_CHECK(near(expected, slack));
    return true;
}

// -1 below, 1 above, 0 inside [bottom, top]; 2 when x, known within slack, is too close to a
// bound to tell.
int placeIn(Real x, Real slack, const FixNumber &bottom, const FixNumber &top)
{
    const Real b = wholes(bottom), t = wholes(top);
    const Real near = (std::fabs(x) + std::fabs(b) + std::fabs(t)) * 0x1p-36L + slack + 0x1p-36L;
    if (x < b - near)
        return -1;
    if (x > t + near)
        return 1;
    if (x >= b + near && x <= t - near)
        return 0;
    return 2;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const bool nonNegative = input.flag();

    QList<ComissionItemCondition> conditions;
    const int count = input.take<uint8_t>() % 4 + 1;
    for (int i = 0; i < count; ++i) {
        ComissionItemCondition condition;
        condition.setSummRangeBottom(amount(input, nonNegative));
        condition.setSummRangeTop(amount(input, nonNegative));
        condition.setFixCommiss(amount(input, nonNegative));
        condition.setPercent(amount(input, nonNegative));
        condition.setMinPercentCommissResult(amount(input, nonNegative));
        condition.setMaxPercentCommissResult(amount(input, nonNegative));
        conditions << condition;
    }
    const FixNumber summ = amount(input, nonNegative);
    const bool inner = input.flag();

    bool decided = true;
    for (const ComissionItemCondition &condition : conditions) {
        decided = checkCondition(condition, summ, inner) && decided;
        if (nonNegative)
            FUZZ_CHECK(condition.calcComission(summ, inner).value() >= 0);
    }

    // A rule adds the commissions of the conditions whose range holds the amount (outward: the
    // amount with the commission so far and this one on top), as amounts.
    ComissionItem item;
    item.setConditions(conditions);
    const FixNumber total = item.calcComission(summ, inner);
    // At the amount's multiplier or a finer one, unless a condition's commission itself went
    // beyond 64 bits there.
    bool fine = true;
    for (const ComissionItemCondition &condition : conditions)
        fine = fine
            && scale(condition.calcComission(summ, inner).realMultiplier())
                >= scale(summ.realMultiplier());
    if (fine)
        FUZZ_CHECK(scale(total.realMultiplier()) >= scale(summ.realMultiplier()));
    // Amounts at multipliers that are not multiples of one another add up to the nearest unit
    // of the finer one, never coarser than the amount's.
    const Real unit = 1.0L / scale(summ.realMultiplier());
    Real expected = 0;
    Real slack = 0;
    for (const ComissionItemCondition &condition : conditions) {
        const FixNumber share = condition.calcComission(summ, inner);
        const Real x = inner ? wholes(summ) : wholes(summ) + expected + wholes(share);
        const int place = placeIn(
            x, inner ? 0 : slack + unit, condition.summRangeBottom(), condition.summRangeTop());
        decided = decided && place != 2;
        if (place == 0) {
            expected += wholes(share);
            slack += unit;
        }
    }
    if (decided && std::fabs(expected) < Limit / 8 / 4294967296.0L)
        FUZZ_CHECK(std::fabs(wholes(total) - expected) <= slack + std::fabs(expected) * 0x1p-50L);

    // A schedule adds the rules in force; the profile hands its schedule's result over.
    Comission schedule;
    schedule.setId(1);
    schedule.setItems({item, item});
    const FixNumber both
        = schedule.calcComission(summ, inner, QDateTime(QDate(2024, 3, 11), QTime(12, 0)));
    const FixNumber doubled = Money::sum(total, total);
    // The same amount, though the schedule's sum may start at the amount's multiplier (within a
    // unit of it: two roundings, where a rule's commission went beyond 64 bits there and came
    // back).
    const auto atLimit = [](const FixNumber &n) {
        return n.value() == std::numeric_limits<long long>::max()
            || n.value() == std::numeric_limits<long long>::min();
    };
    if (!atLimit(both) && !atLimit(doubled))
        FUZZ_CHECK(magnitude(Wide(both.value()) * scale(doubled.realMultiplier())
                       - Wide(doubled.value()) * scale(both.realMultiplier()))
            <= Wide(scale(doubled.realMultiplier())));
    if (nonNegative)
        FUZZ_CHECK(both.value() >= 0);

    BoxComProfileItem entry;
    entry.setProviderId(1586);
    entry.setCommission(schedule);
    BoxComProfile profile;
    profile.setItems({entry});
    profile.setDefaultCommission(schedule);
    const FixNumber viaProfile = profile.calcComission(summ, 7, input.flag() ? 1586 : 1, inner);
    FUZZ_CHECK(
        viaProfile.realMultiplier() == both.realMultiplier() && viaProfile.value() == both.value());
    (void)profile.getCheckFlags(7, 1586);
    return 0;
}
