#include "comission.h"

#include <QtTest>

static FixNumber cents(long long units)
{
    return FixNumber(100, units);
}

static ComissionItemCondition condition(long long fix, const FixNumber &percent,
    long long minimum = 0, long long maximum = 0, long long bottom = 0, long long top = 100000000)
{
    ComissionItemCondition result;
    result.setSummRangeBottom(cents(bottom));
    result.setSummRangeTop(cents(top));
    result.setFixCommiss(cents(fix));
    result.setPercent(percent);
    result.setMinPercentCommissResult(cents(minimum));
    result.setMaxPercentCommissResult(cents(maximum));
    return result;
}

static ComissionItem item(const QList<ComissionItemCondition> &conditions)
{
    ComissionItem result;
    result.setConditions(conditions);
    return result;
}

// 2024-03-10 is a Sunday, 2024-03-11 a Monday.
static QDateTime at(int month, int day, int hour, int minute)
{
    return QDateTime(QDate(2024, month, day), QTime(hour, minute));
}

static QStringList hexList(int count, const QString &fill, int index = 0, const QString &at = {})
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << (i == index && !at.isEmpty() ? at : fill);
    return list;
}

class tst_Comission : public QObject
{
    Q_OBJECT

private slots:
    void conditionCommission_data()
    {
        QTest::addColumn<ComissionItemCondition>("rule");
        QTest::addColumn<bool>("inner");
        QTest::addColumn<long long>("expected");
        const ComissionItemCondition example = condition(1000, cents(150));
        QTest::newRow("inner") << example << true << 1300LL;
        QTest::newRow("outer grossed up") << example << false << 1304LL;
        QTest::newRow("100 %") << condition(1000, cents(10000)) << false << 1000LL;
        QTest::newRow("minimum") << condition(100, cents(0), 500) << true << 500LL;
        QTest::newRow("maximum") << condition(100, cents(0), 0, 50) << true << 50LL;
        QTest::newRow("maximum bounds fixed part")
            << condition(1000, cents(150), 0, 1200) << true << 1200LL;
        QTest::newRow("1 % at 1000") << condition(0, FixNumber(1000, 1000)) << false << 202LL;
        QTest::newRow("10000 units at 1000") << condition(0, FixNumber(1000, 10000)) << true << 0LL;
        // Rates of 100 % or more add nothing instead of dividing by zero or going negative.
        QTest::newRow("100 % at 10 outer") << condition(7, FixNumber(10, 1000)) << false << 7LL;
        QTest::newRow("150 % at 1 outer") << condition(7, FixNumber(1, 150)) << false << 7LL;
        QTest::newRow("150 % at 1 inner") << condition(7, FixNumber(1, 150)) << true << 7LL;
        QTest::newRow("raw units at 0") << condition(7, FixNumber(0, 150)) << false << 7LL;
    }
    void conditionCommission()
    {
        QFETCH(ComissionItemCondition, rule);
        QFETCH(bool, inner);
        QFETCH(long long, expected);
        const FixNumber result = rule.calcComission(cents(20000), inner);
        QCOMPARE(result.realMultiplier(), 100u);
        QCOMPARE(result.value(), expected);
    }

    void coinBill()
    {
        ComissionItemCondition rule;
        rule.setCoinBill(QStringLiteral("9223372036854775813"));
        QCOMPARE(rule.coinBill().size(), 64);
        QCOMPARE(rule.coinBill().count(true), 3);
        QVERIFY(rule.coinBill().testBit(0) && rule.coinBill().testBit(2));
        QVERIFY(rule.coinBill().testBit(63));
        rule.setCoinBill(QStringLiteral("-1"));
        QCOMPARE(rule.coinBill(), QBitArray(64));
    }

    void ranges_data()
    {
        QTest::addColumn<ComissionItem>("rule");
        QTest::addColumn<long long>("summ");
        QTest::addColumn<bool>("inner");
        QTest::addColumn<long long>("expected");
        const ComissionItem single = item({condition(500, cents(0), 0, 0, 1000, 10000)});
        QTest::newRow("at top") << single << 10000LL << true << 500LL;
        QTest::newRow("above top") << single << 10001LL << true << 0LL;
        QTest::newRow("below bottom") << single << 999LL << true << 0LL;
        // Outward, the range sees the amount with the commission on top.
        QTest::newRow("outer gross at top") << single << 9500LL << false << 500LL;
        QTest::newRow("outer gross above") << single << 9501LL << false << 0LL;
        const ComissionItem overlapping = item(
            {condition(100, cents(0), 0, 0, 0, 10000), condition(20, cents(0), 0, 0, 5000, 20000)});
        QTest::newRow("overlap adds up") << overlapping << 6000LL << true << 120LL;
        // The second range also sees the first condition's commission.
        QTest::newRow("outer overlap") << overlapping << 4880LL << false << 120LL;
        QTest::newRow("outer overlap short") << overlapping << 4879LL << false << 100LL;
    }
    void ranges()
    {
        QFETCH(ComissionItem, rule);
        QFETCH(long long, summ);
        QFETCH(bool, inner);
        QFETCH(long long, expected);
        QCOMPARE(rule.calcComission(cents(summ), inner).value(), expected);
    }

    void checkDt_data()
    {
        QTest::addColumn<ComissionItem>("rule");
        QTest::addColumn<QDateTime>("dt");
        QTest::addColumn<bool>("expected");
        QTest::newRow("always") << ComissionItem() << at(3, 10, 12, 0) << true;
        ComissionItem today;
        today.setDtFrom(QDate(2024, 3, 10));
        today.setDtTo(QDate(2024, 3, 10));
        QTest::newRow("today 23:59") << today << at(3, 10, 23, 59) << true;
        QTest::newRow("tomorrow") << today << at(3, 11, 0, 0) << false;
        QTest::newRow("yesterday") << today << at(3, 9, 23, 59) << false;
        ComissionItem week;
        week.setDaysMatrix(hexList(7, QStringLiteral("0"), 6, QStringLiteral("800000000000")));
        QTest::newRow("sunday 23:45 bit 47") << week << at(3, 10, 23, 45) << true;
        QTest::newRow("sunday 23:15 bit 46") << week << at(3, 10, 23, 15) << false;
        QTest::newRow("monday 23:45") << week << at(3, 11, 23, 45) << false;
        QTest::newRow("null moment") << week << QDateTime() << false;
        week.setDaysMatrix(hexList(7, QStringLiteral("0"), 0, QStringLiteral("FFFFFF")));
        QTest::newRow("monday 11:59") << week << at(3, 11, 11, 59) << true;
        QTest::newRow("monday 12:00") << week << at(3, 11, 12, 0) << false;
        week.setDaysMatrix(hexList(7, QStringLiteral("not hex")));
        QTest::newRow("malformed") << week << at(3, 11, 10, 0) << false;
        ComissionItem month;
        QStringList months = hexList(12, QStringLiteral("0"), 2, QStringLiteral("200"));
        months[0] = QStringLiteral("40000000");
        month.setMonthMatrix(months);
        QTest::newRow("march 10") << month << at(3, 10, 8, 0) << true;
        QTest::newRow("march 11") << month << at(3, 11, 8, 0) << false;
        QTest::newRow("january 31") << month << at(1, 31, 8, 0) << true;
        QTest::newRow("month, null moment") << month << QDateTime() << false;
    }
    void checkDt()
    {
        QFETCH(ComissionItem, rule);
        QFETCH(QDateTime, dt);
        QFETCH(bool, expected);
        QCOMPARE(rule.checkDt(dt), expected);
        // Copies carry the loaded state of the matrices along.
        QCOMPARE(QVariant::fromValue(rule).value<ComissionItem>().checkDt(dt), expected);
    }

    void wrongLengthDropsRestriction()
    {
        const QDateTime mondayNoon = at(3, 11, 12, 0);
        ComissionItem rule;
        QCOMPARE(rule.monthMatrix(), QVector<QBitArray>(12, QBitArray(32)));
        rule.setDaysMatrix(hexList(7, QStringLiteral("0")));
        rule.setMonthMatrix(hexList(12, QStringLiteral("0")));
        QCOMPARE(rule.monthMatrix(), QVector<QBitArray>(12, QBitArray(31)));
        rule.setMonthMatrix(hexList(11, QStringLiteral("FFFFFFFF")));
        QCOMPARE(rule.monthMatrix(), QVector<QBitArray>(12, QBitArray(31)));
        QVERIFY(!rule.checkDt(mondayNoon));
        rule.setDaysMatrix(hexList(6, QStringLiteral("FFFFFFFFFFFF")));
        QCOMPARE(rule.daysMatrix(), QVector<QBitArray>(7, QBitArray(48)));
        QVERIFY(rule.checkDt(mondayNoon));
        ComissionItem loaded; // the loaded flags take no part in equality
        loaded.setDaysMatrix(hexList(7, QStringLiteral("0")));
        QVERIFY(loaded == ComissionItem() && !loaded.checkDt(mondayNoon));
    }

    void scheduleAddsRulesInForce()
    {
        ComissionItem expired = item({condition(5000, cents(0))});
        expired.setDtTo(QDate(2024, 3, 9));
        Comission schedule;
        QCOMPARE(schedule.prePay(), FixNumber());
        QCOMPARE(schedule.calcComission(FixNumber(1000, 5LL), true).realMultiplier(), 1000u);
        schedule.setItems({item({condition(100, cents(0))}), expired, item({condition(30, {})})});
        QVERIFY(!schedule.isValid());
        schedule.setId(9);
        QVERIFY(schedule.isValid());
        QCOMPARE(schedule.calcComission(cents(5000), false, at(3, 10, 12, 0)).value(), 130LL);
        QCOMPARE(schedule.calcComission(cents(5000), true, at(3, 9, 12, 0)).value(), 5130LL);
        QCOMPARE(schedule.calcComission(cents(5000), true).value(), 130LL);
        Comission copy = QVariant::fromValue(schedule).value<Comission>();
        copy.setPrePay(FixNumber(1000, 0LL));
        QVERIFY(copy == schedule);
        copy.setTruncCommission(2);
        QVERIFY(copy != schedule);
    }
};

QTEST_GUILESS_MAIN(tst_Comission)
#include "tst_comission.moc"
