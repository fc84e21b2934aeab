#include "fixnumber.h"
#include "testutil.h"

#include <limits>

using F = FixNumber;
static const long long maxUnits = std::numeric_limits<long long>::max();
static const long long minUnits = std::numeric_limits<long long>::min();
using Raw = QPair<unsigned int, long long>;

// The exact unit count and multiplier; FixNumber's own == tolerates a different scale.
static Raw raw(const FixNumber &number)
{
    return {number.realMultiplier(), number.value()};
}

class tst_FixNumber : public QObject
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
};

QTEST_GUILESS_MAIN(tst_FixNumber)
#include "tst_fixnumber.moc"
