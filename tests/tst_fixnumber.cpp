#include "fixnumber.h"

#include <QtTest>

#include <limits>

using Raw = QPair<unsigned int, long long>;
static Raw raw(const FixNumber &number)
{
    return {number.realMultiplier(), number.value()};
}
static const long long maxUnits = std::numeric_limits<long long>::max();
static const long long minUnits = std::numeric_limits<long long>::min();

class tst_FixNumber : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void setDouble_data()
    {
        QTest::addColumn<unsigned int>("multiplier");
        QTest::addColumn<double>("input");
        QTest::addColumn<long long>("expected");
        const long long kept = 777;
        QTest::newRow("half stays down") << 1u << 2.5 << 2LL;
        QTest::newRow("odd 51 goes up") << 1u << 2.515625 << 3LL;
        QTest::newRow("even 56 stays down") << 1u << 2.5625 << 2LL;
        QTest::newRow("7 goes up") << 1u << 2.75 << 3LL;
        QTest::newRow("negative truncates") << 1u << -2.75 << -2LL;
        QTest::newRow("cents half") << 100u << 0.125 << 12LL;
        QTest::newRow("zero multiplier") << 0u << 12.75 << 0LL;
        QTest::newRow("large") << 1u << 9.0e18 << 9000000000000000000LL;
        QTest::newRow("nan") << 100u << qQNaN() << kept;
        QTest::newRow("infinity") << 100u << qInf() << kept;
        QTest::newRow("2^63") << 1u << 9223372036854775808.0 << kept;
        QTest::newRow("product too small") << 100u << -1.0e17 << kept;
    }
    void setDouble()
    {
        QFETCH(unsigned int, multiplier);
        QFETCH(double, input);
        QFETCH(long long, expected);
        FixNumber number(multiplier, 777LL);
        number.setDouble(input);
        QCOMPARE(raw(number), Raw(multiplier, expected));
    }

    void setString_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<long long>("expected");
        const long long kept = 4242;
        QTest::newRow("comma") << "12,5" << 1250LL;
        QTest::newRow("leading zeros") << "007" << 700LL;
        QTest::newRow("extra digit up") << "1.239" << 124LL;
        QTest::newRow("extra digit down") << "1.234" << 123LL;
        QTest::newRow("trailing separator") << "3," << 300LL;
        QTest::newRow("minus") << "-1" << kept;
        QTest::newRow("no whole part") << ".5" << kept;
        QTest::newRow("blank inside") << "1 000" << kept;
        QTest::newRow("two separators") << "1.2.3" << kept;
        QTest::newRow("empty") << "" << kept;
        QTest::newRow("too large") << QString(30, QLatin1Char('9')) << kept;
    }
    void setString()
    {
        QFETCH(QString, text);
        QFETCH(long long, expected);
        FixNumber number(100, 4242LL);
        number.setString(text);
        QCOMPARE(raw(number), Raw(100, expected));
        if (expected == 4242)
            QCOMPARE(raw(FixNumber(100, text)), Raw(100, 0));
    }

    void decimals()
    {
        const QList<QPair<unsigned int, int>> table {
            {100, 2}, {1000, 3}, {10, 1}, {1, 0}, {0, 0}, {50, 2}, {150, 2}, {0x80000000u, 0}};
        for (const auto &row : table)
            QCOMPARE(FixNumber(row.first).decimals(), row.second);
        FixNumber number(100, 12345LL);
        number.setDecimal(-1);
        QCOMPARE(raw(number), Raw(100, 12345));
        number.setDecimal(0);
        QCOMPARE(raw(number), Raw(1, 12345));
        number.setDecimal(3);
        QCOMPARE(raw(number), Raw(1000, 12345));
        QCOMPARE(raw(FixNumber()), Raw(100, 0));
    }

    void toString_data()
    {
        QTest::addColumn<FixNumber>("number");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << FixNumber(100, 12345) << "123.45";
        QTest::newRow("default") << FixNumber() << "0.00";
        QTest::newRow("small negative") << FixNumber(100, -5) << "-0.05";
        QTest::newRow("thousandths") << FixNumber(1000, 7) << "0.007";
        QTest::newRow("whole numbers") << FixNumber(1, -42) << "-42";
        QTest::newRow("zero multiplier") << FixNumber(0, 17) << "17";
        QTest::newRow("odd multiplier") << FixNumber(150, 151) << "1.01";
        QTest::newRow("largest") << FixNumber(100, maxUnits) << "92233720368547758.07";
        QTest::newRow("most negative") << FixNumber(100, minUnits) << "-92233720368547758.08";
        QTest::newRow("most negative whole") << FixNumber(1, minUnits) << "-9223372036854775808";
    }
    void toString()
    {
        QFETCH(FixNumber, number);
        QFETCH(QString, expected);
        QCOMPARE(number.toString(QLatin1Char('.')), expected);
        QCOMPARE(number.toString(QLatin1Char(',')), QString(expected).replace('.', ','));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(number.toString(), QString(expected).replace('.', ','));
        QLocale::setDefault(QLocale::c());
        QCOMPARE(number.toString(), expected);
    }

    void comparison_data()
    {
        QTest::addColumn<FixNumber>("a");
        QTest::addColumn<FixNumber>("b");
        QTest::addColumn<bool>("equal");
        QTest::addColumn<bool>("greater");
        QTest::addColumn<bool>("less");
        QTest::newRow("zeros") << FixNumber(100, 0) << FixNumber(1000, 0) << true << false << false;
        QTest::newRow("one unit less")
            << FixNumber(100, 1) << FixNumber(100, 2) << false << false << true;
        QTest::newRow("same value")
            << FixNumber(100, 150) << FixNumber(1000, 1500) << true << false << false;
        QTest::newRow("greater") << FixNumber(100, 151) << FixNumber(1000, 1500) << false << true
                                 << false;
        QTest::newRow("zero and tiny")
            << FixNumber(100, 0) << FixNumber(1000000000u, 1) << false << false << true;
        // Inside the relative tolerance: equal, and yet strictly greater.
        QTest::newRow("tolerance") << FixNumber(1, 1000000000000001LL)
                                   << FixNumber(1, 1000000000000000LL) << true << true << false;
    }
    void comparison()
    {
        QFETCH(FixNumber, a);
        QFETCH(FixNumber, b);
        QFETCH(bool, equal);
        QFETCH(bool, greater);
        QFETCH(bool, less);
        QCOMPARE(a == b, equal);
        QCOMPARE(b == a, equal);
        QCOMPARE(a != b, !equal);
        QCOMPARE(a > b, greater);
        QCOMPARE(a < b, less);
        QCOMPARE(a >= b, equal || greater);
        QCOMPARE(a <= b, equal || less);
    }

    void arithmetic_data()
    {
        QTest::addColumn<FixNumber>("a");
        QTest::addColumn<FixNumber>("b");
        QTest::addColumn<FixNumber>("sum");
        QTest::addColumn<FixNumber>("difference");
        QTest::newRow("same multiplier") << FixNumber(100, 150) << FixNumber(100, 50)
                                         << FixNumber(100, 200) << FixNumber(100, 100);
        QTest::newRow("finer right") << FixNumber(100, 150) << FixNumber(1000, 1)
                                     << FixNumber(1000, 1501) << FixNumber(1000, 1499);
        QTest::newRow("integer ratio")
            << FixNumber(100, 5) << FixNumber(150, 1) << FixNumber(150, 6) << FixNumber(150, 4);
        // A multiplier of 0 counts as 1 in the ratio instead of dividing by zero.
        QTest::newRow("zero multiplier left")
            << FixNumber(0, 5) << FixNumber(100, 150) << FixNumber(100, 650) << FixNumber(100, 350);
        QTest::newRow("zero multiplier right") << FixNumber(100, 150) << FixNumber(0, 5)
                                               << FixNumber(100, 650) << FixNumber(100, -350);
        QTest::newRow("both zero")
            << FixNumber(0, 5) << FixNumber(0, 7) << FixNumber(0, 12) << FixNumber(0, -2);
        QTest::newRow("wraps around") << FixNumber(100, maxUnits) << FixNumber(100, 1)
                                      << FixNumber(100, minUnits) << FixNumber(100, maxUnits - 1);
    }
    void arithmetic()
    {
        QFETCH(const FixNumber, a);
        QFETCH(const FixNumber, b);
        QFETCH(FixNumber, sum);
        QFETCH(FixNumber, difference);
        const Raw a0 = raw(a);
        const Raw b0 = raw(b);
        QCOMPARE(raw(a + b), raw(sum));
        QCOMPARE(raw(a - b), raw(difference));
        QCOMPARE(raw(a), a0);
        QCOMPARE(raw(b), b0);
        FixNumber accumulated = a;
        QCOMPARE(&(accumulated += b), &accumulated);
        QCOMPARE(raw(accumulated), raw(sum));
        accumulated = a;
        QCOMPARE(&(accumulated -= b), &accumulated);
        QCOMPARE(raw(accumulated), raw(difference));
        QCOMPARE(raw(QVariant::fromValue(a).value<FixNumber>()), a0);
    }
};

QTEST_GUILESS_MAIN(tst_FixNumber)
#include "tst_fixnumber.moc"
