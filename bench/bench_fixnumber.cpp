#include "benchmain.h"

#include "fixnumber.h"

#include <QString>
#include <QStringList>

#include <array>

// Amount text in and out, as the payment form reads and shows it, against Qt's own number
// conversions of the same texts and values.

namespace {

const std::array<long long, 4> UNITS = {12345, 678, 99999999, 5};

} // namespace

static const QStringList AMOUNT_TEXTS = {QStringLiteral("1234.56"), QStringLiteral("12,5"),
    QStringLiteral("007"), QStringLiteral("99999.99")};

static void BM_SetString_project(benchmark::State &state)
{
    FixNumber number;
    int i = 0;
    for (auto _ : state) {
        number.setString(AMOUNT_TEXTS.at(i++ & 3));
        benchmark::DoNotOptimize(number);
    }
}
BENCHMARK(BM_SetString_project)->Name("BM_SetString/project");

static void BM_SetString_baseline(benchmark::State &state)
{
    int i = 0;
    for (auto _ : state) {
        double value = AMOUNT_TEXTS.at(i++ & 3).toDouble();
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(BM_SetString_baseline)->Name("BM_SetString/baseline");

static void BM_ToString_project(benchmark::State &state)
{
    int i = 0;
    for (auto _ : state) {
        const QString text = FixNumber(100, UNITS[i++ & 3]).toString();
        benchmark::DoNotOptimize(text.constData());
    }
}
BENCHMARK(BM_ToString_project)->Name("BM_ToString/project");

static void BM_ToString_baseline(benchmark::State &state)
{
    int i = 0;
    for (auto _ : state) {
        const QString text = QString::number(UNITS[i++ & 3]);
        benchmark::DoNotOptimize(text.constData());
    }
}
BENCHMARK(BM_ToString_baseline)->Name("BM_ToString/baseline");

CORVEX_BENCHMARK_MAIN(false)
