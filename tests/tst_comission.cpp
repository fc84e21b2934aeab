#include "comission.h"
#include "testutil.h"

#include <QtTest>

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
    QCOMPARE(qMakePair(result.realMultiplier(), result.value()),
        qMakePair(expected.realMultiplier(), expected.value()));
}

class tst_Comission : public QObject
{
    Q_OBJECT

private slots:
    // Rates of 100 % or more add nothing instead of dividing by zero or going negative. The
    // fixed part, the share and the limits count as amounts at their own multipliers; a fixed
    // part at multiplier 0 (the default) is whole units, and the result carries the amount's
    // multiplier or a finer one.
    void conditionCommission_data()
    {
        const Condition example = condition(1000, cents(150));
        const long long max = std::numeric_limits<long long>::max();
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
                    cents(1000000000000000LL), false, cents(max)}});
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

    // Loaded month arrays hold 31 days, the default ones 32; a list of the wrong length
    // leaves the bits as they were.
    void fromText()
    {
        ComissionItem rule;
        QCOMPARE(rule.monthMatrix(), QVector<QBitArray>(12, QBitArray(32)));
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
        const long long max = std::numeric_limits<long long>::max();
        Condition huge = condition(0, cents(100));
        huge.setFixCommiss(cents(max));
        Condition wide = huge;
        wide.setSummRangeTop(cents(max));
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
        QCOMPARE(result.value(), std::numeric_limits<long long>::max());
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
        for (int attempt = 0; attempt < 3; ++attempt) {
            const QDateTime now = QDateTime::currentDateTime();
            const QString bit = QString::number(1ULL << slot(now).second, 16);
            rules.setItems(
                {item({condition(7, {})}, hexList(7, "0", now.date().dayOfWeek() - 1, bit))});
            const FixNumber result = rules.calcComission(cents(5000), true);
            if (slot(QDateTime::currentDateTime()) == slot(now)) {
                QCOMPARE(result.value(), 7LL);
                return;
            }
        }
        QFAIL("no quiet moment to compare at");
    }
};

QTEST_GUILESS_MAIN(tst_Comission)
#include "tst_comission.moc"
