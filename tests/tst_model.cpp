#include "barcodeproviderindex.h"
#include "boxcomprofile.h"
#include "boxinfo.h"
#include "comission.h"
#include "corvexprotocol.h"
#include "corvexrequest.h"
#include "currency.h"
#include "fixnumber.h"
#include "formfixtures.h"
#include "paymenti64idgenerator.h"
#include "paypack.h"
#include "testutil.h"

#include <QtTest>

#include <limits>

using F = FixNumber;

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

static QVariantMap detail(const QString &label, const QVariant &value, int pos,
    const QVariantList &items = {}, bool printable = true)
{
    QVariantMap map {{"name", label.toLower()}, {"checkLabel", label}, {"value", value},
        {"pos", pos}, {"items", items}};
    if (!printable)
        map.insert("printable", false);
    return map;
}

static Payment priced(
    qint64 summ, qint64 comission, qint64 currencyId = 643, unsigned int multiplier = 100)
{
    Payment result;
    result.setSumm(FixNumber(multiplier, summ));
    result.setComission(FixNumber(multiplier, comission));
    result.setCurrencyId(currencyId);
    return result;
}

static QList<qint64> values(const PayPack &pack, qint64 (Payment::*field)() const = &Payment::id)
{
    QList<qint64> result;
    for (const Payment &p : pack.payments())
        result.append((p.*field)());
    return result;
}

static CorvexRequest listRequest(qint64 uid = 0)
{
    CorvexRequest request;
    request.setType(CorvexRequest::AllTemplatesRequest);
    request.setFunction(QStringLiteral("listtid"));
    request.setCurrencyId(643);
    request.setData({{QStringLiteral("phone"), QStringLiteral("79001234567")}});
    request.setUid(uid);
    return request;
}

// The data model: amounts and their arithmetic, currencies, the terminal's record, the commission
// rules, schedules and profiles that charge on amounts; what the plug-in hands a host and the
// service: payments and their baskets, providers, the requests with their uids, and how the
// service's JSON replies are read.
class tst_Model : public QObject
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
        const Currency rouble = Fixture::currency(643, "RUB", 100);
        QVERIFY(rouble.isValid() && !Currency().isValid());
        QVERIFY(!Fixture::currency(643, "", 100).isValid());
        QVERIFY(!Fixture::currency(643, "RUB", 0).isValid());
        QCOMPARE(rouble.decimals(), 2);
        QCOMPARE(rouble.valueToDouble(12345), 123.45);
        QCOMPARE(rouble.doubleToValue(0.125), 12LL);
        QCOMPARE(Currency().valueToDouble(12345), 12345.0);
        QCOMPARE(Currency().valueToString(12345), QStringLiteral("12345"));
        Currency euro = Fixture::currency(978, "EUR", 100);
        euro.setCurrencySymbol("€");
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
        const QStringList rows[] = {{"", "", "RUB", "RUB"}, {"", "unknown", "RUB", "RUB"},
            {"", "ru_RU", symbol, name}, {"р.", "ru_RU", "р.", name}};
        for (const QStringList &row : rows) {
            Currency rouble = Fixture::currency(643, "RUB", 100);
            rouble.setCurrencySymbol(row[0]);
            rouble.setLocale(row[1]);
            const QStringList actual {
                rouble.currencySymbol(), rouble.currencyName(), rouble.valueToString(100, false)};
            QCOMPARE(actual, QStringList({row[2], row[3], "1.00 " + row[2]}));
        }
    }

    // A terminal counts only with a dealer and a box.
    void boxValidity()
    {
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
    // The same text goes to both setters; what is not an array or an object leaves nothing.
    // What is read comes out compact and reads back the same.
    void detailsJson_data()
    {
        const QString item = QStringLiteral(R"({"name":"n","value":"%1"},)").arg(QString(200, 'v'));
        addRows<QString, int, int, QString>({"json", "details", "additional", "text"},
            {{"empty array", "[]", 0, 0, "[]"},
                {"array", R"([ {"name": "account", "value": "a b"}, {"items": [ {"value": 5} ]} ])",
                    2, 0, R"([{"name":"account","value":"a b"},{"items":[{"value":5}]}])"},
                {"object", R"({"a": {"b": 1}})", 0, 1, "[]"},
                {"not JSON", "account=123", 0, 0, "[]"},
                {"truncated", R"([{"name": "account")", 0, 0, "[]"},
                {"too deep", QString(5000, '[') + QString(5000, ']'), 0, 0, "[]"},
                {"huge, broken at the end", "[" + item.repeated(20000), 0, 0, "[]"}});
    }
    void detailsJson()
    {
        QFETCH(QString, json);
        Payment payment, copy;
        payment.setDetails({detail("Old", "1", 0)});
        payment.setAdditionalMap({{"old", 1}});
        payment.setJsonDetails(json);
        payment.setAdditionalData(json);
        QTEST(int(payment.details().size()), "details");
        QTEST(int(payment.additionalMap().size()), "additional");
        QTEST(payment.jsonDetails(), "text");
        copy.setJsonDetails(payment.jsonDetails());
        copy.setAdditionalData(payment.additionalData());
        QCOMPARE(copy.details(), payment.details());
        QCOMPARE(copy.additionalMap(), payment.additionalMap());
    }

    // Lines of the printable additional data follow those of the details.
    void receiptLines_data()
    {
        const QVariantMap hiddenLeaf = detail("In", "1", 0, {}, false);
        const QVariantMap wrongTypes {{"checkLabel", QVariantList {1}}, {"value", QVariantMap()},
            {"pos", "first"}, {"items", "none"}};
        addRows<QVariantList, QStringList>({"details", "lines"},
            {{"example",
                 {detail("Account", "123", 1), detail("Phone", "7900", 0, {}, false),
                     detail("Address", "", 2,
                         {detail("City", "Omsk", 0), detail("Street", "Lenina", 1)})},
                 {"Account=123", "Address=\t City=Omsk\t Street=Lenina"}},
                {"equal positions, later first",
                    {detail("A", "1", 3), detail("B", "2", 3), detail("C", "3", 1)},
                    {"C=3", "B=2", "A=1"}},
                {"hidden group, printing member",
                    {detail("G", "", 0, {detail("In", "1", 0)}, false)}, {"G=\t In=1"}},
                {"hidden group, hidden member", {detail("G", "", 0, {hiddenLeaf}, false)}, {}},
                {"group, hidden member", {detail("G", "v", 0, {hiddenLeaf})}, {"G=v\t"}},
                {"two levels", {detail("A", "", 0, {detail("B", "", 0, {detail("C", "1", 0)})})},
                    {"A=\t B=\t  C=1"}},
                {"placeholders are text", {detail("Rate %1", "%2", 0)}, {"Rate %1=%2"}},
                {"missing keys, not maps", {QVariantMap {{"pos", 1}}, 42, QVariant()},
                    {"=", "=", "="}},
                {"wrong types",
                    {wrongTypes, QVariantMap {{"checkLabel", "N"}, {"value", 7}, {"pos", 2.0}}},
                    {"=", "N=7"}}});
    }
    void receiptLines()
    {
        QFETCH(QVariantList, details);
        QFETCH(QStringList, lines);
        Payment payment;
        payment.setDetails(details);
        payment.setAdditionalMap({{"detailsForPrint", QVariantMap {{"Shift", 5}}}});
        QCOMPARE(payment.stringDetails(details, QString()), lines);
        QCOMPARE(payment.stringDetails(), (lines << "Shift=5").join('\t'));
    }

    // The depth is capped: the innermost levels are left out rather than overflow the stack.
    void deepNesting()
    {
        QVariantMap tree = detail("Leaf", "x", 0);
        for (int i = 0; i < 5000; ++i)
            tree = detail("Level", "", 0, {tree});
        Payment payment;
        payment.setDetails({tree});
        const QStringList lines = payment.stringDetails().split('\t');
        QVERIFY(lines.size() > 10 && lines.size() < 5000);
        QVERIFY(lines.last().startsWith(QString(lines.size() - 1, ' ') + "Level="));
        QVERIFY(!payment.detailValues().isEmpty());
        // The JSON and the serialised data stop at the same depth as the receipt.
        QCOMPARE(payment.jsonDetails().count("\"items\""), lines.size() - 1);
        QVERIFY(!payment.paymentData().isEmpty());
    }

    void detailValues()
    {
        Payment payment;
        payment.setDetails({detail("Account", "1", 0), detail("Account", "2", 0),
            detail("Addr", "", 1, {detail("City", "Omsk", 0), detail("Street", 5, 1)}),
            QVariant(3)});
        const QVariantMap values = payment.detailValues();
        QCOMPARE(values.keys(), QStringList({"", "account", "addr"}));
        QCOMPARE(values.value("account"), QVariant("2"));
        QCOMPARE(values.value("addr").toMap(), QVariantMap({{"city", "Omsk"}, {"street", 5}}));
        QVERIFY(!values.value("").isValid());
    }

    // The serialised image: numbers big-endian, the texts as UTF-8 bytes after their length, the
    // details each as a variant, the comment in UTF-16; the id is no part of it.
    void paymentData()
    {
        Payment payment = priced(10000, 150, 643, 1000);
        payment.setId(99);
        payment.setOperationId(1);
        payment.setPackId(2);
        payment.setProviderId(3);
        payment.setProviderName("Ж");
        payment.setAccount("40817");
        payment.setCreated(QDateTime(QDate(2014, 7, 15), QTime(12, 30, 5)));
        payment.setDetails({QVariantMap {{"v", 1}}});
        payment.setComment("note");
        const QByteArrayList fields {"0000000000000001", "0000000000000002", "0000000000000003",
            "00000002d096", "0000000000000283", "000000053430383137", "0000000000002710",
            "0000000000000096", "00000013" + QByteArray("2014-07-15T12:30:05").toHex(), "00000001",
            "000000080000000001000000020076000000020000000001", "00000008006e006f00740065"};
        QCOMPARE(payment.paymentData().toHex(), fields.join());
    }

    void numbering()
    {
        PayPack pack;
        for (int i = 0; i < 3; ++i)
            pack.addPayment(priced(100, 0));
        QCOMPARE(values(pack), QList<qint64>({-1, -2, -3}));
        Payment second = pack.payments().at(1);
        second.setAccount("changed");
        pack.addPayment(second);
        QCOMPARE(pack.payments().size(), 3);
        QCOMPARE(pack.payments().at(1).account(), QStringLiteral("changed"));
        for (const int position : {0, -1, 3})
            pack.removePayment(position);
        QCOMPARE(values(pack), QList<qint64>({-2, -3}));
        pack.setPayments(pack.payments(), true);
        QCOMPARE(values(pack), QList<qint64>({-1, -2}));
        // Neither adding nor removing goes by an identifier that names no position of the pack;
        // ~id of the last one is 2^32, which cut down to an int would name position 0.
        const QList<Payment> before = pack.payments();
        for (const qint64 id :
            {qint64(7), qint64(-3), minUnits, maxUnits, -(qint64(1) << 32) - 1}) {
            Payment stranger = priced(999, 0);
            stranger.setId(id);
            pack.addPayment(stranger);
            pack.removePayment(stranger);
            QCOMPARE(pack.payments(), before);
        }
        pack.removePayment(pack.payments().at(1));
        QCOMPARE(values(pack), QList<qint64>({-1}));
        pack.setPayments({priced(1, 0, 0), priced(1, 0, 840)}, false);
        pack.setCurrencyForPayments(-1);
        QCOMPARE(values(pack, &Payment::currencyId), QList<qint64>({0, 840}));
        pack.setCurrencyForPayments(643);
        QCOMPARE(values(pack, &Payment::currencyId), QList<qint64>({643, 840}));
    }

    // Payments in several currencies have no sums and are never covered; amounts at different
    // scales add up as amounts, and sums beyond 64 bits stick at the limit, at the coarser scale
    // when the finer one cannot hold them. A basket of one payment totals as the payment does.
    void packSums_data()
    {
        const QList<Payment> example {priced(10000, 100), priced(5000, 50)};
        const QList<Payment> huge {priced(maxUnits, 0), priced(1, 1)};
        Payment uneven = priced(10000, 0);
        uneven.setComission(FixNumber(1000, 100));
        Payment hugeUneven = priced(maxUnits, 0);
        hugeUneven.setComission(FixNumber(1000, 1));
        const FixNumber cash(100, 20000);
        addRows<QList<Payment>, FixNumber, QList<Raw>, bool>({"payments", "cash", "sums", "ready"},
            {{"empty", {}, cash, {{100, 0}, {100, 0}, {100, 0}, {100, 20000}}, false},
                {"example", example, cash, {{100, 15000}, {100, 150}, {100, 15150}, {100, 4850}},
                    true},
                {"short", example, FixNumber(100, 15000),
                    {{100, 15000}, {100, 150}, {100, 15150}, {100, -150}}, false},
                {"cash x1000", example, FixNumber(1000, 151500),
                    {{100, 15000}, {100, 150}, {100, 15150}, {1000, 0}}, true},
                {"currencies", {priced(10000, 100), priced(5000, 50, 840)}, FixNumber(100, 1000000),
                    {{2, 0}, {2, 0}, {2, 0}, {100, 0}}, false},
                {"uneven", {uneven}, cash,
                    {{100, 10000}, {1000, 100}, {1000, 100100}, {1000, 99900}}, true},
                {"scales", {priced(10000, 100), priced(1500, 0, 643, 1000)}, cash,
                    {{1000, 101500}, {1000, 1000}, {1000, 102500}, {1000, 97500}}, true},
                {"huge", huge, cash,
                    {{100, maxUnits}, {100, 1}, {100, maxUnits}, {100, 20000 - maxUnits}}, false},
                {"huge debt", huge, FixNumber(100, minUnits),
                    {{100, maxUnits}, {100, 1}, {100, maxUnits}, {100, minUnits}}, false},
                {"huge payment", {priced(maxUnits, 1)}, cash,
                    {{100, maxUnits}, {100, 1}, {100, maxUnits}, {100, 20000 - maxUnits}}, false},
                {"huge payment, uneven", {hugeUneven}, cash,
                    {{100, maxUnits}, {1000, 1}, {100, maxUnits}, {100, 20000 - maxUnits}},
                    false}});
    }
    void packSums()
    {
        QFETCH(QList<Payment>, payments);
        QFETCH(FixNumber, cash);
        QFETCH(QList<Raw>, sums);
        QFETCH(bool, ready);
        PayPack pack;
        pack.setPayments(payments, true);
        pack.setCashMoney(cash);
        QCOMPARE(QList<Raw>({raw(pack.summ()), raw(pack.comission()), raw(pack.total()),
                     raw(pack.oddMoney())}),
            sums);
        if (payments.size() == 1)
            QCOMPARE(raw(payments.first().total()), sums.at(2));
        QCOMPARE(pack.isReady(), ready);
        pack.setId(5);
        pack.setCreated(QDateTime::currentDateTime());
        QVERIFY(!pack.isNew() && !pack.isReady());
    }

    // Neither a rejected payment nor one without a time moves the pack's time.
    void created()
    {
        const QDateTime early(QDate(2024, 1, 1), QTime(9, 0)), late = early.addSecs(60);
        Payment first = priced(1, 0), second = priced(1, 0), rejected = priced(1, 0);
        first.setCreated(late);
        second.setCreated(early);
        rejected.setId(9);
        rejected.setCreated(early.addDays(-1));
        PayPack pack;
        pack.addPayment(first);
        pack.addPayment(second);
        pack.addPayment(rejected);
        pack.addPayment(priced(1, 0));
        QCOMPARE(pack.created(), early);
        Payment replaced = pack.payments().at(0);
        replaced.setCreated(early.addSecs(-1));
        pack.addPayment(replaced);
        QCOMPARE(pack.created(), early.addSecs(-1));
        pack.setPayments({priced(1, 0), first, second}, false);
        QCOMPARE(pack.created(), early);
        pack.setPayments({}, false);
        QVERIFY(pack.created().isNull());
    }

    void barcodeIndex()
    {
        QVERIFY(!BarcodeProviderIndex().isValid());
        const int intMin = std::numeric_limits<int>::min(),
                  intMax = std::numeric_limits<int>::max();
        // {providerId, fromSymbol, toSymbol, fromValue (toValue is 9), valid, fieldSize}
        const std::tuple<qint64, int, int, quint64, bool, int> rows[] = {{5, 3, 3, 1, true, 1},
            {5, 0, 4, 9, true, 5}, {0, 0, 4, 1, false, 5}, {5, -1, 4, 1, false, 6},
            {5, 5, 4, 1, false, 0}, {5, 0, 4, 10, false, 5}, {5, intMin, intMax, 1, false, intMax}};
        for (const auto &[providerId, from, to, low, valid, size] : rows) {
            BarcodeProviderIndex index;
            index.setProviderId(providerId);
            index.setFromSymbol(from);
            index.setToSymbol(to);
            index.setFromValue(low);
            index.setToValue(9);
            QCOMPARE(qMakePair(index.isValid(), index.fieldSize()), qMakePair(valid, size));
        }
    }

    void parameterDetail()
    {
        QCOMPARE(toJson(ProviderParameter().toDetail()),
            R"({"checkLabel":"","data":"","items":[],"kind":-1,"label":"","mask":"","name":"",)"
            R"("pos":-1,"printable":true,"readonly":false,"regexp":"","value":"","values":{}})");
        ProviderParameter city, street, house, address;
        city.setName("city");
        house.setRegExp("\\d+");
        street.setItems({house});
        address.setItems({city, street});
        const QVariantList items = address.toDetail().value("items").toList();
        QCOMPARE(items, QVariantList({city.toDetail(), street.toDetail()}));
        QCOMPARE(items.at(1).toMap().value("items"), QVariant(QVariantList {house.toDetail()}));
        // Both positions must be set for the barcode keys; text that is no number means "unset".
        ProviderParameter parameter;
        parameter.setBarcodeStart(0);
        QVERIFY(!parameter.toDetail().contains("barcodeStart"));
        parameter.setBarcodeFinish(QVariant("5"));
        QCOMPARE(parameter.toDetail().value("barcodeStart"), QVariant(0));
        QCOMPARE(parameter.toDetail().value("barcodeFinish"), QVariant(5));
        parameter.setBarcodeStart(QVariant());
        parameter.setBarcodeFinish(QVariant(QString()));
        QCOMPARE(qMakePair(parameter.barcodeStart(), parameter.barcodeFinish()), qMakePair(-1, -1));
        parameter.setBarcodeStart(QVariant("abc"));
        QCOMPARE(parameter.barcodeStart(), -1);
    }

    // The state lists what the reply reports: "invalid", "failed", "error" (the key is there) and
    // "true" (its value).
    void reply_data()
    {
        addRows<QString, qint64, QString>({"json", "uid", "state"},
            {{"uid number", "{'uid': 123}", 123, ""}, {"uid string", "{'uid': '123'}", 123, ""},
                {"uid negative", "{'uid': '-5'}", -5, ""},
                {"uid largest", "{'uid': '9223372036854775807'}", maxUnits, ""},
                {"uid 2^63", "{'uid': 9223372036854775808}", 0, ""},
                {"uid 2^63 text", "{'uid': '9223372036854775808'}", 0, ""},
                {"uid fraction", "{'uid': 123.5}", 0, ""}, {"uid text", "{'uid': '123abc'}", 0, ""},
                {"uid flag", "{'uid': true}", 0, ""}, {"uid object", "{'uid': {'v': 123}}", 0, ""},
                {"result 0", "{'result': 0}", 0, ""}, {"result '0'", "{'result': '0'}", 0, ""},
                {"result null", "{'result': null}", 0, ""},
                {"result 7", "{'result': 7}", 0, "failed"},
                {"result -1", "{'result': -1}", 0, "failed"},
                {"result word", "{'result': 'fail'}", 0, "failed"},
                {"result fraction", "{'result': 0.5}", 0, "failed"},
                {"result false", "{'result': false}", 0, "failed"},
                {"error true", "{'error': true}", 0, "error true"},
                {"error false", "{'error': false}", 0, "error"},
                {"error null", "{'error': null}", 0, "error"}, {"array", "[{'uid': 123}]", 0, ""},
                {"not JSON", "uid 123", 0, "invalid"}, {"empty", "", 0, "invalid"}});
    }
    void reply()
    {
        QFETCH(QString, json);
        QFETCH(QString, state);
        const CorvexReply reply = CorvexReply::fromJson(json.replace('\'', '"'));
        QCOMPARE(reply.isValid(), !state.contains("invalid"));
        QCOMPARE(reply.errorString().isEmpty(), reply.isValid());
        QTEST(reply.uid(), "uid");
        QCOMPARE(reply.resultFailed(), state.contains("failed"));
        QCOMPARE(reply.hasError(), state.contains("error"));
        QCOMPARE(reply.error(), state.contains("true"));
    }

    // A code that is not a whole number of the int range counts as -1, which completes nothing.
    void errorCode_data()
    {
        addRows<QVariant, int>({"code", "expected"},
            {{"number", 19, 19}, {"whole double", 18.0, 18}, {"decimal text", "22", 22},
                {"negative", -3, -3}, {"fraction", 18.5, -1}, {"word", "x", -1},
                {"beyond int", Q_INT64_C(4294967315), -1},
                {"null", QVariant::fromValue(nullptr), -1}, {"list", QVariantList {1}, -1},
                {"flag false", false, -1}, {"flag true", true, -1}});
    }
    void errorCode()
    {
        QFETCH(QVariant, code);
        const QVariantMap params {{CorvexKey::ErrorCode, code}};
        QVERIFY(CorvexReply::hasErrorCode(params));
        QTEST(CorvexReply::errorCode(params), "expected");
        QVERIFY(!CorvexReply::hasErrorCode({}));
    }

    // The record's own uid and function win over data entries of the same name.
    void map()
    {
        CorvexRequest request = listRequest(std::numeric_limits<qint64>::min());
        request.setData({{"uid", "forged"}, {"function", "drop"}, {"sum", 5}});
        QCOMPARE(toJson(request.toMap()),
            R"({"currencyId":643,"function":"listtid","sum":5,"uid":"-9223372036854775808"})");
    }

    // Valid with a type, a function and a uid other than 0.
    void validityAndUid()
    {
        CorvexRequest noFunction = listRequest(5), noType = listRequest(5);
        noFunction.setFunction(QString());
        noType.setType(CorvexRequest::NoRequest);
        QCOMPARE(QVector<bool>({listRequest(0).isValid(), noFunction.isValid(), noType.isValid(),
                     listRequest(-5).isValid()}),
            QVector<bool>({false, false, false, true}));

        // The uid follows the low 32 bits of the box id, the contents and the moment.
        const QDateTime moment(QDate(2014, 7, 15), QTime(12, 30));
        CorvexRequest first = listRequest(), second = listRequest(), other = listRequest();
        first.generateUid(1001, moment);
        second.generateUid((qint64(7) << 32) | 1001, moment);
        QCOMPARE(second.uid(), first.uid());
        QCOMPARE(static_cast<quint64>(first.uid()) >> 24, 0x4003E91CEFull);
        second.generateUid(1001, moment.addSecs(1));
        other.setData({{"phone", "79001234568"}});
        other.generateUid(1001, moment);
        QVERIFY(second.uid() != first.uid() && other.uid() != first.uid());
    }

    void identifier()
    {
        using Generator = PaymentI64IdGenerator;
        QCOMPARE(Generator::crc24("123456789"), 0xD0D811u);
        QCOMPARE(Generator::crc24(QByteArray()), 0xFFFFFFu);
        const QDate date(2014, 7, 15), last(2123, 12, 31);
        QCOMPARE(Generator::generateString(1, "abc", date), QStringLiteral("4000-011c-efb7-ba40"));
        // Only the low 22 bits of the number count; the date field holds the two-digit year.
        QCOMPARE(Generator::generateString(0xFFFFFFFF, "abc", last),
            QStringLiteral("7fff-ff2f-9fb7-ba40"));
    }
};

QTEST_GUILESS_MAIN(tst_Model)
#include "tst_model.moc"
