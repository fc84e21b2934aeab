#include "benchmain.h"

#include "fixnumber.h"

#include <QString>
#include <QStringList>

#include <array>

// Money arithmetic and comparisons against the bare 64-bit arithmetic underneath; text in and out
// against Qt's own number conversions of the same texts and values.

namespace {

const std::array<long long, 4> UNITS = {12345, 678, 99999999, 5};

} // namespace

// Both operands are read from memory on every round, as amounts are in the plug-in.
#define CORVEX_BINARY_PAIR(name, op)                                                               \
    static void name##_project(benchmark::State &state)                                            \
    {                                                                                              \
        FixNumber operands[2] = {FixNumber(100, UNITS[0]), FixNumber(100, UNITS[1])};              \
        for (auto _ : state) {                                                                     \
            benchmark::DoNotOptimize(operands);                                                    \
            auto result = operands[0] op operands[1];                                              \
            benchmark::DoNotOptimize(result);                                                      \
        }                                                                                          \
    }                                                                                              \
    static void name##_baseline(benchmark::State &state)                                           \
    {                                                                                              \
        long long operands[2] = {UNITS[0], UNITS[1]};                                              \
        for (auto _ : state) {                                                                     \
            benchmark::DoNotOptimize(operands);                                                    \
            auto result = operands[0] op operands[1];                                              \
            benchmark::DoNotOptimize(result);                                                      \
        }                                                                                          \
    }                                                                                              \
    BENCHMARK(name##_project)->Name(#name "/project");                                             \
    BENCHMARK(name##_baseline)->Name(#name "/baseline");

CORVEX_BINARY_PAIR(BM_Add, +)
CORVEX_BINARY_PAIR(BM_Less, <)
CORVEX_BINARY_PAIR(BM_GreaterEqual, >=)

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
