#include "boxcomprofile.h"
#include "boxinfo.h"
#include "comission.h"
#include "currency.h"
#include "fixnumber.h"
#include "testutil.h"

#include <QtTest>

#include <limits>

using F = FixNumber;

static Currency makeCurrency(int number3, const QString &alpha3, int multiplier,
    const QString &symbol = QString(), const QString &locale = QString())
{
    Currency currency;
    currency.setNumber3(number3);
    currency.setAlpha3(alpha3);
    currency.setRealMultiplier(multiplier);
    currency.setCurrencySymbol(symbol);
    currency.setLocale(locale);
    return currency;
}

using Condition = ComissionItemCondition;

static FixNumber cents(long long units)
{
    return FixNumber(100, units);
}

// A fixed part given as a number replaces the one in cents.
static Condition condition(long long fix, const FixNumber &percent, long long minimum = 0,
    long long maximum = 0, const FixNumber &fixed = {}, long long bottom = 0,
    long long top = 100000000)
{
    Condition result;
    result.setSummRangeBottom(cents(bottom));
    result.setSummRangeTop(cents(top));
    result.setFixCommiss(fixed.value() != 0 || fixed.realMultiplier() != 100 ? fixed : cents(fix));
    result.setPercent(percent);
    result.setMinPercentCommissResult(cents(minimum));
    result.setMaxPercentCommissResult(cents(maximum));
    return result;
}

static ComissionItem item(const QList<Condition> &conditions, const QStringList &days = {})
{
    ComissionItem result;
    result.setConditions(conditions);
    if (!days.isEmpty())
        result.setDaysMatrix(days);
    return result;
}

static Comission schedule(const QList<ComissionItem> &items)
{
    Comission result;
    result.setItems(items);
    return result;
}

// A schedule, numbered by its charge, that always charges the given number of cents.
static Comission fixed(long long units)
{
    Comission result = schedule({item({condition(units, {})})});
    result.setId(units);
    return result;
}

static BoxComProfileItem entry(
    long long group, long long provider, const Comission &rules, EPayCheckFlags flags = {})
{
    BoxComProfileItem result;
    result.setProviderGroupId(group);
    result.setProviderId(provider);
    result.setCommission(rules);
    result.setPayCheckFlags(flags);
    return result;
}

static BoxComProfile profile(const QList<BoxComProfileItem> &items, const Comission &fallback)
{
    BoxComProfile result;
    result.setId(5);
    result.setDefaultCommission(fallback);
    result.setItems(items);
    return result;
}

// In March 2024 unless told otherwise; the 10th is a Sunday, the 11th a Monday.
static QDateTime at(int day, int hour, int minute, int month = 3)
{
    return QDateTime(QDate(2024, month, day), QTime(hour, minute));
}

// count texts of fill, with the text at in place of the one at index.
static QStringList hexList(int count, const QString &fill, int index = 0, const QString &at = {})
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << (i == index && !at.isEmpty() ? at : fill);
    return list;
}

// The commission of the row's rule for its summ, exact in units and multiplier.
template<typename Rule> static void compareCommission()
{
    QFETCH(Rule, rule);
    QFETCH(FixNumber, summ);
    QFETCH(bool, inner);
    QFETCH(FixNumber, expected);
    const FixNumber result = rule.calcComission(summ, inner);
    QCOMPARE(raw(result), raw(expected));
}

// Amounts and their arithmetic, currencies, the terminal's record, and the commission rules,
// schedules and profiles that charge on amounts.
class tst_Money : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    // Doubles go through setDouble, texts through setString; 777 means "left unchanged".
    void conversion_data()
    {
        addRows<unsigned int, QVariant, long long>({"multiplier", "input", "expected"},
            {{"2.5", 1, 2.5, 2}, {"2.515625", 1, 2.515625, 3}, {"2.5625", 1, 2.5625, 2},
                {"2.75", 1, 2.75, 3}, {"-2.75", 1, -2.75, -2}, {"0.125", 100, 0.125, 12},
                {"x0 is whole", 0, 12.75, 13}, {"9e18", 1, 9.0e18, 9000000000000000000},
                {"nan", 100, qQNaN(), 777}, {"inf", 100, qInf(), 777},
                {"2^63", 1, 9223372036854775808.0, 777}, {"-1e17", 100, -1.0e17, 777},
                {"12,5", 100, "12,5", 1250}, {"007", 100, "007", 700}, {"1.239", 100, "1.239", 124},
                {"1.234", 100, "1.234", 123}, {"3,", 100, "3,", 300}, {"-1", 100, "-1", 777},
                {".5", 100, ".5", 777}, {"1 000", 100, "1 000", 777}, {"1.2.3", 100, "1.2.3", 777},
                {"empty", 100, "", 777}, {"30 nines", 100, QString(30, '9'), 777}});
    }
    void conversion()
    {
        QFETCH(unsigned int, multiplier);
        QFETCH(QVariant, input);
        QFETCH(long long, expected);
        const bool text = input.userType() == QMetaType::QString;
        FixNumber number(multiplier, 777LL);
        if (text)
            number.setString(input.toString());
        else
            number.setDouble(input.toDouble());
        QCOMPARE(raw(number), Raw(multiplier, expected));
        const F built = text ? F(multiplier, input.toString()) : F(multiplier, input.toDouble());
        QCOMPARE(raw(built), Raw(multiplier, expected == 777 ? 0 : expected));
    }

    // Ten places and more do not fit into 32 bits: 10^9 is as far as it goes.
    void decimals()
    {
        for (const auto &[multiplier, places] : {std::pair {100u, 2}, {1000u, 3}, {10u, 1}, {1u, 0},
                 {0u, 0}, {50u, 2}, {150u, 2}, {0x80000000u, 0}})
            QCOMPARE(FixNumber(multiplier).decimals(), places);
        for (const auto &[places, multiplier] :
            {std::pair {-1, 100u}, {0, 1u}, {3, 1000u}, {9, 1000000000u}, {10, 1000000000u},
                {std::numeric_limits<int>::max(), 1000000000u}}) {
            FixNumber number(100, 12345LL);
            number.setDecimal(places);
            QCOMPARE(raw(number), Raw(multiplier, 12345));
        }
    }

    void toString_data()
    {
        addRows<FixNumber, QString>({"number", "expected"},
            {{"plain", F(100, 12345), "123.45"}, {"default", F(), "0.00"},
                {"-0.05", F(100, -5), "-0.05"}, {"0.007", F(1000, 7), "0.007"},
                {"-42", F(1, -42), "-42"}, {"x0", F(0, 17), "17"}, {"x150", F(150, 151), "1.01"},
                {"min", F(100, minUnits), "-92233720368547758.08"},
                {"min x1", F(1, minUnits), "-9223372036854775808"}});
    }
    void toString()
    {
        QFETCH(FixNumber, number);
        QFETCH(QString, expected);
        QCOMPARE(number.toString(QLatin1Char('.')), expected);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(number.toString(), expected.replace('.', ','));
    }

    // The relation lists the operators that hold: '=', '<', '>' or, inside the tolerance, "=>".
    // Doubles of 2^53 and 2^53 + 1 units are the same, and within the tolerance; 2^36 units of
    // cents apart by one are not.
    void comparison_data()
    {
        addRows<FixNumber, FixNumber, QString>({"a", "b", "relation"},
            {{"zeros", F(100, 0), F(1000, 0), "="}, {"1<2", F(100, 1), F(100, 2), "<"},
                {"1.5", F(100, 150), F(1000, 1500), "="}, {"1.51", F(100, 151), F(1000, 1500), ">"},
                {"0<tiny", F(100, 0), F(1000000000u, 1), "<"},
                {"tolerance", F(1, 1000000000000001LL), F(1, 1000000000000000LL), "=>"},
                {"2^36 + 1", F(100, (1LL << 36) + 1), F(100, 1LL << 36), ">"},
                {"2^53 + 1", F(100, (1LL << 53) + 1), F(100, 1LL << 53), "="},
                {"extremes", F(100, minUnits), F(100, maxUnits), "<"},
                {"x0 is whole", F(0, 5), F(100, 500), "="}, {"x0 < x1", F(0, 7), F(1, 8), "<"}});
    }
    void comparison()
    {
        QFETCH(FixNumber, a);
        QFETCH(FixNumber, b);
        QFETCH(QString, relation);
        const bool eq = relation.contains('='), gt = relation.contains('>');
        const bool lt = relation.contains('<');
        QCOMPARE(QList<bool>({a == b, b == a, a != b, a > b, a < b, a >= b, a <= b}),
            QList<bool>({eq, eq, !eq, gt, lt, eq || gt, eq || lt}));
    }

    // One arithmetic for the operators and the money sums: exact at the larger multiplier where
    // that fits, else at the smaller one (to the nearest unit), else clamped there. A multiplier
    // of 0 counts as 1.
    void sums_data()
    {
        const long long fifth = maxUnits / 5; // 1844674407370955161
        addRows<FixNumber, FixNumber, FixNumber, FixNumber>({"a", "b", "sum", "difference"},
            {{"same", F(100, 150), F(100, 50), F(100, 200), F(100, 100)},
                {"finer", F(100, 150), F(1000, 1), F(1000, 1501), F(1000, 1499)},
                // 0.05 is 7.5 units of 1/150: rounded to 8 before the other operand counts.
                {"ratio", F(100, 5), F(150, 1), F(150, 9), F(150, 7)},
                {"x0 left", F(0, 5), F(100, 150), F(100, 650), F(100, 350)},
                {"x0 right", F(100, 150), F(0, 5), F(100, 650), F(100, -350)},
                {"x0 both", F(0, 5), F(0, 7), F(0, 12), F(0, -2)},
                {"limit", F(1, maxUnits), F(1, 1), F(1, maxUnits), F(1, maxUnits - 1)},
                {"x0 and x1 at the limit", F(0, maxUnits), F(1, 1), F(1, maxUnits),
                    F(1, maxUnits - 1)},
                // Ten times too fine to hold the sum: it stays in cents, the 0.001 rounded off.
                {"rescaled limit", F(100, maxUnits), F(1000, 1), F(100, maxUnits),
                    F(100, maxUnits)},
                {"rescaled low limit", F(100, minUnits), F(1000, 1), F(100, minUnits),
                    F(100, minUnits)},
                {"rescaled other side", F(1000, 1), F(100, minUnits), F(100, minUnits),
                    F(100, maxUnits)},
                {"back within range", F(100, fifth), F(1000, maxUnits),
                    F(100, fifth + maxUnits / 10 + 1), F(1000, maxUnits - 4)}});
    }
    void sums()
    {
        QFETCH(FixNumber, a);
        QFETCH(FixNumber, b);
        QFETCH(FixNumber, sum);
        QFETCH(FixNumber, difference);
        FixNumber plus = a, minus = a;
        plus += b;
        minus -= b;
        QCOMPARE(QList<Raw>({raw(a + b), raw(a - b), raw(plus), raw(minus), raw(Money::sum(a, b)),
                     raw(Money::difference(a, b))}),
            QList<Raw>(
                {raw(sum), raw(difference), raw(sum), raw(difference), raw(sum), raw(difference)}));
    }

    void currencyValues()
    {
        const Currency rouble = makeCurrency(643, "RUB", 100);
        QVERIFY(rouble.isValid() && !Currency().isValid());
        QVERIFY(!makeCurrency(643, "", 100).isValid() && !makeCurrency(643, "RUB", 0).isValid());
        QCOMPARE(rouble.decimals(), 2);
        QCOMPARE(rouble.valueToDouble(12345), 123.45);
        QCOMPARE(rouble.doubleToValue(0.125), 12LL);
        QCOMPARE(Currency().valueToDouble(12345), 12345.0);
        QCOMPARE(Currency().valueToString(12345), QStringLiteral("12345"));
        const Currency euro = makeCurrency(978, "EUR", 100, "€");
        QCOMPARE(euro.valueToString(-5, true), QStringLiteral("-0.05 EUR"));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(euro.valueToString(-5, true), QStringLiteral("-0,05 EUR"));
    }

    // An explicit symbol wins over the locale, the locale over the alphabetic code.
    void currencySymbolAndName()
    {
        const QLocale russia(QStringLiteral("ru_RU"));
        const QString symbol = russia.currencySymbol(QLocale::CurrencySymbol);
        const QString name = russia.currencySymbol(QLocale::CurrencyDisplayName);
        QVERIFY(!symbol.isEmpty() && symbol != "RUB" && !name.isEmpty() && name != "RUB");
        const QStringList rows[] = {{"", "", "RUB", "RUB"}, {"", "unknown", "RUB", "RUB"},
            {"", "ru_RU", symbol, name}, {"р.", "ru_RU", "р.", name}};
        for (const QStringList &row : rows) {
            const Currency rouble = makeCurrency(643, "RUB", 100, row[0], row[1]);
            const QStringList actual {
                rouble.currencySymbol(), rouble.currencyName(), rouble.valueToString(100, false)};
            QCOMPARE(actual, QStringList({row[2], row[3], "1.00 " + row[2]}));
        }
    }

    // A terminal counts only with a dealer and a box.
    void boxValidity()
    {
        QVERIFY(!BoxInfo().isValid());
        const QList<std::tuple<long long, long long, bool>> table {
            {1, 1, true}, {0, 5, false}, {5, 0, false}, {5, -7, false}};
        for (const auto &[dealerId, boxId, valid] : table) {
            BoxInfo box;
            box.setDealerId(dealerId);
            box.setBoxId(boxId);
            QCOMPARE(box.isValid(), valid);
        }
    }

    // Rates of 100 % or more add nothing instead of dividing by zero or going negative. The
    // fixed part, the share and the limits count as amounts at their own multipliers; a fixed
    // part at multiplier 0 (the default) is whole units, and the result carries the amount's
    // multiplier or a finer one.
    void conditionCommission_data()
    {
        const Condition example = condition(1000, cents(150));
        const FixNumber none(0u, 0LL);
        const FixNumber mills(1000, 50000LL);
        addRows<Condition, FixNumber, bool, FixNumber>({"rule", "summ", "inner", "expected"},
            {{"inner", example, cents(20000), true, cents(1300)},
                {"outer", example, cents(20000), false, cents(1304)},
                {"0 %", condition(1000, cents(0)), cents(20000), false, cents(1000)},
                {"100 %", condition(1000, cents(10000)), cents(20000), false, cents(1000)},
                {"minimum", condition(100, cents(0), 500), cents(20000), true, cents(500)},
                {"maximum", condition(100, cents(0), 0, 50), cents(20000), true, cents(50)},
                {"maximum bounds fixed part", condition(1000, cents(150), 0, 1200), cents(20000),
                    true, cents(1200)},
                {"1 % at x1000", condition(0, FixNumber(1000, 1000)), cents(20000), false,
                    cents(202)},
                {"10000 units at x1000", condition(0, FixNumber(1000, 10000)), cents(20000), true,
                    cents(0)},
                {"100 % at x10", condition(7, FixNumber(10, 1000)), cents(20000), false, cents(7)},
                {"150 % outer", condition(7, FixNumber(1, 150)), cents(20000), false, cents(7)},
                {"150 % inner", condition(7, FixNumber(1, 150)), cents(20000), true, cents(7)},
                {"150 at x0", condition(7, FixNumber(0, 150)), cents(20000), false, cents(7)},
                {"no fixed part, under maximum", condition(0, cents(100), 0, 500, none),
                    cents(10000), true, cents(100)},
                {"no fixed part, under minimum", condition(0, cents(100), 3000, 0, none),
                    cents(10000), true, cents(3000)},
                {"fixed part x0 is whole", condition(0, cents(0), 0, 0, FixNumber(0, 5LL)),
                    cents(20000), true, cents(500)},
                {"fixed part x100, amount x1000", condition(100, cents(100)), mills, true,
                    FixNumber(1000, 1500LL)},
                {"amount x0", condition(1000, cents(150)), FixNumber(0, 200LL), true, cents(1300)},
                {"99.99 % outer beyond 64 bits", condition(0, cents(9999)),
                    cents(1000000000000000LL), false, cents(maxUnits)}});
    }
    void conditionCommission() { compareCommission<Condition>(); }

    // Outward, a range sees the amount with the commission so far on top. A rule adds its
    // conditions as amounts, at the amount's multiplier or a finer one.
    void ranges_data()
    {
        const ComissionItem single = item({condition(500, {}, 0, 0, {}, 1000, 10000)});
        const ComissionItem overlapping = item(
            {condition(100, {}, 0, 0, {}, 0, 10000), condition(20, {}, 0, 0, {}, 5000, 20000)});
        const ComissionItem coarse = item({condition(100, {}), condition(5, {})});
        addRows<ComissionItem, FixNumber, bool, FixNumber>({"rule", "summ", "inner", "expected"},
            {{"at top", single, cents(10000), true, cents(500)},
                {"above top", single, cents(10001), true, cents(0)},
                {"below bottom", single, cents(999), true, cents(0)},
                {"outer at top", single, cents(9500), false, cents(500)},
                {"outer above", single, cents(9501), false, cents(0)},
                {"overlap adds up", overlapping, cents(6000), true, cents(120)},
                {"outer overlap", overlapping, cents(4880), false, cents(120)},
                {"outer overlap short", overlapping, cents(4879), false, cents(100)},
                {"cents into mills", coarse, FixNumber(1000, 20000LL), true,
                    FixNumber(1000, 1050LL)},
                {"cents into mills, outer", coarse, FixNumber(1000, 20000LL), false,
                    FixNumber(1000, 1050LL)}});
    }
    void ranges() { compareCommission<ComissionItem>(); }

    // A list of the wrong length drops the restriction, also after a list of the right length.
    void checkDt_data()
    {
        ComissionItem today, days;
        today.setDtFrom(QDate(2024, 3, 10));
        today.setDtTo(QDate(2024, 3, 10));
        const ComissionItem sunday = item({}, hexList(7, "0", 6, "800000000000")); // bit 47 only
        const ComissionItem mondayAm = item({}, hexList(7, "0", 0, "FFFFFF"));
        const ComissionItem malformed = item({}, hexList(7, "not hex"));
        QStringList months = hexList(12, "0", 2, "200"); // March 10th
        months[0] = QStringLiteral("40000000"); // January 31st
        days.setMonthMatrix(months);
        const auto reloaded = [](const QStringList &weekdays, const QStringList &months) {
            ComissionItem result = item({}, hexList(7, "0"));
            result.setMonthMatrix(hexList(12, "0"));
            result.setDaysMatrix(weekdays);
            result.setMonthMatrix(months);
            return result;
        };
        const QStringList allMonths = hexList(12, "FFFFFFFF");
        addRows<ComissionItem, QDateTime, bool>({"rule", "dt", "expected"},
            {{"today 23:59", today, at(10, 23, 59), true}, {"tomorrow", today, at(11, 0, 0), false},
                {"yesterday", today, at(9, 23, 59), false},
                {"sun 23:45", sunday, at(10, 23, 45), true},
                {"sun 23:15", sunday, at(10, 23, 15), false},
                {"mon 23:45", sunday, at(11, 23, 45), false},
                {"week, null", sunday, QDateTime(), false},
                {"mon 11:59", mondayAm, at(11, 11, 59), true},
                {"mon 12:00", mondayAm, at(11, 12, 0), false},
                {"malformed", malformed, at(11, 10, 0), false},
                {"mar 10", days, at(10, 8, 0), true}, {"mar 11", days, at(11, 8, 0), false},
                {"jan 31", days, at(31, 8, 0, 1), true}, {"month, null", days, QDateTime(), false},
                {"8 weekdays", reloaded(hexList(8, "0"), allMonths), at(11, 12, 0), true},
                {"6 weekdays", reloaded(hexList(6, "0"), allMonths), at(11, 12, 0), true},
                {"11 months", reloaded(hexList(7, "FFFFFFFFFFFF"), hexList(11, "0")), at(11, 12, 0),
                    true}});
    }
    void checkDt()
    {
        QFETCH(ComissionItem, rule);
        QFETCH(QDateTime, dt);
        QTEST(rule.checkDt(dt), "expected");
    }

    // Loaded month arrays hold 31 days; a list of the wrong length leaves the bits as they were.
    void fromText()
    {
        ComissionItem rule;
        rule.setMonthMatrix(hexList(12, "0"));
        rule.setMonthMatrix(hexList(11, "FFFFFFFF"));
        QCOMPARE(rule.monthMatrix(), QVector<QBitArray>(12, QBitArray(31)));
        rule.setDaysMatrix(hexList(8, "FFFFFFFFFFFF"));
        QCOMPARE(rule.daysMatrix(), QVector<QBitArray>(7, QBitArray(48)));
        Condition coins;
        coins.setCoinBill(QStringLiteral("9223372036854775813"));
        QBitArray bits(64);
        for (const int bit : {0, 2, 63})
            bits.setBit(bit);
        QCOMPARE(coins.coinBill(), bits);
        coins.setCoinBill(QStringLiteral("-1"));
        QCOMPARE(coins.coinBill(), QBitArray(64));
    }

    // Commission sums that pass 64 bits stick at the limit instead of wrapping round.
    void overflowSaturates_data()
    {
        const Condition huge = condition(maxUnits, cents(100));
        Condition wide = huge;
        wide.setSummRangeTop(cents(maxUnits));
        addRows<Comission, bool>({"schedule", "inner"},
            {{"fixed plus rate", schedule({item({huge})}), true},
                {"two conditions", schedule({item({huge, huge})}), true},
                {"two conditions outward", schedule({item({wide, wide})}), false},
                {"two rules", schedule({item({huge}), item({huge})}), true}});
    }
    void overflowSaturates()
    {
        QFETCH(Comission, schedule);
        QFETCH(bool, inner);
        const FixNumber result = schedule.calcComission(cents(20000), inner, at(11, 12, 0));
        QCOMPARE(result.value(), maxUnits);
    }

    // A schedule adds the rules in force at the moment; it counts only with an id.
    void scheduleAddsRulesInForce()
    {
        Comission rules;
        QCOMPARE(rules.calcComission(FixNumber(1000, 5LL), true).realMultiplier(), 1000u);
        ComissionItem expired = item({condition(5000, cents(0))});
        expired.setDtTo(QDate(2024, 3, 9));
        rules.setItems({item({condition(100, cents(0))}), expired, item({condition(30, {})})});
        QVERIFY(!rules.isValid());
        rules.setId(9);
        QVERIFY(rules.isValid());
        QCOMPARE(rules.calcComission(cents(5000), false, at(10, 12, 0)).value(), 130LL);
        QCOMPARE(rules.calcComission(cents(5000), true, at(9, 12, 0)).value(), 5130LL);
        QCOMPARE(rules.calcComission(cents(5000), true).value(), 130LL);
        // Read at this moment: a rule in force only in the current half-hour counts.
        const auto slot = [](const QDateTime &dt) {
            return qMakePair(dt.date(), dt.time().hour() * 2 + dt.time().minute() / 30);
        };
        QDateTime now;
        FixNumber result;
        do { // again if the half-hour turned over meanwhile
            now = QDateTime::currentDateTime();
            const QString bit = QString::number(1ULL << slot(now).second, 16);
            rules.setItems(
                {item({condition(7, {})}, hexList(7, "0", now.date().dayOfWeek() - 1, bit))});
            result = rules.calcComission(cents(5000), true);
        } while (slot(QDateTime::currentDateTime()) != slot(now));
        QCOMPARE(result.value(), 7LL);
    }

    // Invalid schedules are passed over for the commission, not for the flags. A profile counts
    // with entries or a valid default schedule.
    void lookup_data()
    {
        const Comission none;
        // The provider's entry comes first: the one at position 0 is as good as any other.
        const BoxComProfile standard = profile(
            {entry(-1, 42, fixed(200)), entry(7, -1, fixed(100), PayCheckBeforePost)}, fixed(300));
        const BoxComProfile badProvider
            = profile({entry(7, -1, fixed(100)), entry(-1, 42, none, PayCheckOnline)}, fixed(300));
        const BoxComProfile badBoth
            = profile({entry(7, -1, none), entry(-1, 42, none, PayCheckOnline)}, fixed(300));
        const BoxComProfile repeated
            = profile({entry(-1, 8, fixed(1)), entry(-1, 42, fixed(100)), entry(-1, 8, fixed(2)),
                          entry(-1, 42, fixed(200), PayCheckPrintCheck)},
                none);
        const BoxComProfile both = profile({entry(7, 42, fixed(200), PayCheckOnline)}, none);
        const BoxComProfile zeroIds
            = profile({entry(0, 0, fixed(100), PayCheckOnline)}, fixed(300));
        BoxComProfile emptied = standard;
        emptied.setItems({});
        addRows<BoxComProfile, long long, long long, long long, int, bool>(
            {"subject", "group", "provider", "commission", "flags", "valid"},
            {{"provider", standard, 7, 42, 200, PayCheckNone, true},
                {"group", standard, 7, 43, 100, PayCheckBeforePost, true},
                {"default", standard, 9, 50, 300, PayCheckNone, true},
                {"nothing", profile({}, none), 9, 50, 0, PayCheckNone, false},
                {"bad provider", badProvider, 7, 42, 100, PayCheckOnline, true},
                {"bad both", badBoth, 7, 42, 300, PayCheckOnline, true},
                {"bad group", badBoth, 7, 43, 300, PayCheckNone, true},
                {"later wins", repeated, 1, 42, 200, PayCheckPrintCheck, true},
                {"one entry by group", both, 7, 43, 200, PayCheckOnline, true},
                {"zero ids name nothing", zeroIds, 0, 0, 300, PayCheckNone, true},
                {"bad entry, no default", profile({entry(7, 42, none, PayCheckOnline)}, none), 7,
                    42, 0, PayCheckOnline, true},
                {"items dropped", emptied, 7, 42, 300, PayCheckNone, true}});
    }
    void lookup()
    {
        QFETCH(BoxComProfile, subject);
        QFETCH(long long, group);
        QFETCH(long long, provider);
        QFETCH(long long, commission);
        QFETCH(int, flags);
        const FixNumber result = subject.calcComission(FixNumber(100, 50LL), group, provider, true);
        QCOMPARE(raw(result), Raw(100, commission));
        QCOMPARE(int(subject.getCheckFlags(group, provider)), flags);
        QTEST(subject.isValid(), "valid");
    }
};

QTEST_GUILESS_MAIN(tst_Money)
#include "tst_money.moc"
