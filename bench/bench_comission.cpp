#include "benchmain.h"

#include "boxcomprofile.h"
#include "comission.h"

#include <QDateTime>
#include <QMap>
#include <QStringList>

#include <cmath>
#include <ctime>
#include <vector>

// A commission through the terminal's profile and through one schedule, against a hand-written
// lookup and loop over plain structs that do the same arithmetic.

namespace {

const int PROFILE_ENTRIES = 10000;
const long long AMOUNT_UNITS = 1234567; // 12,345.67
const long long TOP_UNITS = 100000000000LL;

ComissionItemCondition condition(long long bottom, long long top, long long fixed, long long rate)
{
    ComissionItemCondition result;
    result.setSummRangeBottom(FixNumber(100, bottom));
    result.setSummRangeTop(FixNumber(100, top));
    result.setFixCommiss(FixNumber(100, fixed));
    result.setPercent(FixNumber(100, rate));
    return result;
}

QStringList repeated(const QString &text, int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << text;
    return list;
}

// A rule in force from 2020 to 2030 on every day and half-hour, with two amount ranges.
ComissionItem rule(const QDate &to, long long fixed)
{
    ComissionItem item;
    item.setDtFrom(QDate(2020, 1, 1));
    item.setDtTo(to);
    item.setDaysMatrix(repeated(QStringLiteral("FFFFFFFFFFFF"), 7));
    item.setMonthMatrix(repeated(QStringLiteral("7FFFFFFF"), 12));
    item.setConditions({condition(0, 100000, fixed, 150), condition(100001, TOP_UNITS, fixed, 90)});
    return item;
}

Comission schedule(int rules)
{
    Comission result;
    result.setId(1);
    QList<ComissionItem> items;
    for (int i = 0; i < rules; ++i)
        items << rule(i == 2 ? QDate(2021, 1, 1) : QDate(2030, 12, 31), 100 + i);
    result.setItems(items);
    return result;
}

// The same data as plain structs: masks instead of bit arrays, Julian days, unit counts.
struct PlainCondition
{
    long long bottom, top, fixed, rate;
};

struct PlainRule
{
    qint64 from, to;
    quint64 days[7];
    quint32 months[12];
    std::vector<PlainCondition> conditions;
};

std::vector<PlainRule> plainSchedule(int rules)
{
    std::vector<PlainRule> result;
    for (int i = 0; i < rules; ++i) {
        PlainRule plain;
        plain.from = QDate(2020, 1, 1).toJulianDay();
        plain.to = (i == 2 ? QDate(2021, 1, 1) : QDate(2030, 12, 31)).toJulianDay();
        std::fill(std::begin(plain.days), std::end(plain.days), 0xFFFFFFFFFFFFULL);
        std::fill(std::begin(plain.months), std::end(plain.months), 0x7FFFFFFFU);
        plain.conditions = {{0, 100000, 100 + i, 150}, {100001, TOP_UNITS, 100 + i, 90}};
        result.push_back(plain);
    }
    return result;
}

long long plainComission(
    const std::vector<PlainRule> &rules, long long units, const QDate &date, int hour, int minute)
{
    int year = 0, month = 0, day = 0;
    date.getDate(&year, &month, &day);
    const qint64 julianDay = date.toJulianDay();
    const int weekDay = date.dayOfWeek() - 1;
    const int slot = hour * 2 + minute / 30;
    long long total = 0;
    for (const PlainRule &rule : rules) {
        if (julianDay < rule.from || julianDay > rule.to)
            continue;
        if (!((rule.months[month - 1] >> (day - 1)) & 1) || !((rule.days[weekDay] >> slot) & 1))
            continue;
        for (const PlainCondition &condition : rule.conditions) {
            if (units < condition.bottom || units > condition.top)
                continue;
            const double rate = condition.rate / 100.0 / 100.0;
            total += condition.fixed + std::llround(rate * (units / 100.0) * 100.0);
        }
    }
    return total;
}

} // namespace

static void BM_ProfileComission_project(benchmark::State &state)
{
    BoxComProfile profile;
    profile.setId(1);
    profile.setDefaultCommission(schedule(1));
    QList<BoxComProfileItem> items;
    for (int i = 0; i < PROFILE_ENTRIES; ++i) {
        BoxComProfileItem item;
        item.setId(i + 1);
        item.setProviderId(1000 + i);
        item.setProviderGroupId(10 + i % 50);
        item.setCommission(schedule(1));
        items << item;
    }
    profile.setItems(items);
    const FixNumber amount(100, AMOUNT_UNITS);
    long long provider = 1000;
    for (auto _ : state) {
        FixNumber comission = profile.calcComission(amount, 12, provider, true);
        benchmark::DoNotOptimize(comission);
        provider = provider == 1000 + PROFILE_ENTRIES - 1 ? 1000 : provider + 7;
    }
}
BENCHMARK(BM_ProfileComission_project)->Name("BM_ProfileComission/10000/project");

// The profile as an index into plain rules, and the local time read from the C library.
static void BM_ProfileComission_baseline(benchmark::State &state)
{
    QMap<long long, int> index;
    std::vector<std::vector<PlainRule>> rules;
    for (int i = 0; i < PROFILE_ENTRIES; ++i) {
        index.insert(1000 + i, i);
        rules.push_back(plainSchedule(1));
    }
    long long provider = 1000;
    for (auto _ : state) {
        const std::time_t now = std::time(nullptr);
        std::tm local {};
        localtime_r(&now, &local);
        const QDate date(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
        const int position = index.value(provider, -1);
        long long comission = position < 0 ? 0
                                           : plainComission(rules[size_t(position)], AMOUNT_UNITS,
                                               date, local.tm_hour, local.tm_min);
        benchmark::DoNotOptimize(comission);
        provider = provider == 1000 + PROFILE_ENTRIES - 1 ? 1000 : provider + 7;
    }
}
BENCHMARK(BM_ProfileComission_baseline)->Name("BM_ProfileComission/10000/baseline");

static const QDateTime AT(QDate(2024, 3, 13), QTime(10, 15), Qt::OffsetFromUTC, 3 * 3600);

static void BM_ScheduleAtTime_project(benchmark::State &state)
{
    const Comission comission = schedule(5);
    const FixNumber amount(100, AMOUNT_UNITS);
    for (auto _ : state) {
        FixNumber result = comission.calcComission(amount, true, AT);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_ScheduleAtTime_project)->Name("BM_ScheduleAtTime/5/project");

static void BM_ScheduleAtTime_baseline(benchmark::State &state)
{
    const std::vector<PlainRule> rules = plainSchedule(5);
    for (auto _ : state) {
        const QTime time = AT.time();
        long long result
            = plainComission(rules, AMOUNT_UNITS, AT.date(), time.hour(), time.minute());
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_ScheduleAtTime_baseline)->Name("BM_ScheduleAtTime/5/baseline");

CORVEX_BENCHMARK_MAIN(false)
