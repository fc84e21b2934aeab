#include "currency.h"

#include <QtTest>

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

class tst_Currency : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void valuesAndOrder()
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
        QCOMPARE(euro.valueToString(12345), QStringLiteral("123.45"));
        QCOMPARE(euro.valueToString(-5, true), QStringLiteral("-0.05 EUR"));
        QCOMPARE(euro.valueToString(12345, false), QStringLiteral("123.45 €"));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(euro.valueToString(-5, true), QStringLiteral("-0,05 EUR"));
        // Equality ignores the locale; the order sees the numeric code only.
        QVERIFY(rouble == makeCurrency(643, "RUB", 100, "", "ru"));
        QVERIFY(rouble != makeCurrency(643, "RUB", 100, "₽"));
        Currency marked = rouble;
        marked.setExtSymbol(QStringLiteral("rub"));
        QVERIFY(rouble != marked);
        const Currency dollar = makeCurrency(840, "USD", 100),
                       sameCode = makeCurrency(643, "XXX", 1);
        QVERIFY(rouble < dollar && rouble <= dollar && dollar > rouble && dollar >= rouble);
        QVERIFY(rouble >= sameCode && rouble <= sameCode && !(rouble < sameCode));
    }

    // An explicit symbol wins over the locale, the locale over the alphabetic code.
    void symbolAndName()
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
};

QTEST_GUILESS_MAIN(tst_Currency)
#include "tst_currency.moc"
