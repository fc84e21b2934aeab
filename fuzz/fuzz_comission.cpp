// Commission rules and profiles: no undefined behaviour, no negative commission on a
// non-negative amount under a non-negative rule, the upper limit respected.
#include "boxcomprofile.h"
#include "comission.h"
#include "fuzzinput.h"

#include <QDateTime>

namespace {

FixNumber amount(FuzzInput &input, bool nonNegative, unsigned int multiplier)
{
    const long long units = input.take<long long>();
    return FixNumber(multiplier, nonNegative && units < 0 ? -(units + 1) : units);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzInput input(data, size);
    const bool nonNegative = input.flag();
    const bool sameScale = input.flag();
    const unsigned int multiplier = sameScale ? 100u : input.take<unsigned int>();
    const auto scale = [&] { return sameScale ? 100u : input.take<unsigned int>(); };

    QList<ComissionItemCondition> conditions;
    const int count = input.take<uint8_t>() % 4 + 1;
    for (int i = 0; i < count; ++i) {
        ComissionItemCondition condition;
        condition.setSummRangeBottom(amount(input, nonNegative, scale()));
        condition.setSummRangeTop(amount(input, nonNegative, scale()));
        condition.setFixCommiss(amount(input, nonNegative, scale()));
        condition.setPercent(amount(input, nonNegative, scale()));
        condition.setMinPercentCommissResult(amount(input, nonNegative, scale()));
        condition.setMaxPercentCommissResult(amount(input, nonNegative, scale()));
        conditions << condition;
    }
    const FixNumber summ = amount(input, nonNegative, multiplier);
    const bool inner = input.flag();

    for (const ComissionItemCondition &condition : conditions) {
        const FixNumber result = condition.calcComission(summ, inner);
        if (nonNegative)
            FUZZ_CHECK(result.value() >= 0);
        const FixNumber max = condition.maxPercentCommissResult();
        const FixNumber min = condition.minPercentCommissResult();
        if (max.value() > 0 && (min.value() <= 0 || min <= max))
            FUZZ_CHECK(result <= max);
    }

    ComissionItem item;
    item.setConditions(conditions);
    Comission schedule;
    schedule.setId(1);
    schedule.setItems({item, item});
    const FixNumber total
        = schedule.calcComission(summ, inner, QDateTime(QDate(2024, 3, 11), QTime(12, 0)));
    if (nonNegative)
        FUZZ_CHECK(total.value() >= 0);

    BoxComProfileItem entry;
    entry.setProviderId(1586);
    entry.setCommission(schedule);
    BoxComProfile profile;
    profile.setItems({entry});
    profile.setDefaultCommission(schedule);
    const FixNumber viaProfile = profile.calcComission(summ, 7, input.flag() ? 1586 : 1, inner);
    if (nonNegative)
        FUZZ_CHECK(viaProfile.value() >= 0);
    (void)profile.getCheckFlags(7, 1586);
    return 0;
}
