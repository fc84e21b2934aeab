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

    void conversions()
    {
        const Currency rouble = makeCurrency(643, QStringLiteral("RUB"), 100);
        QVERIFY(rouble.isValid());
        QVERIFY(!Currency().isValid());
        QVERIFY(!makeCurrency(643, QString(), 100).isValid());
        QVERIFY(!makeCurrency(643, QStringLiteral("RUB"), 0).isValid());
        QCOMPARE(rouble.decimals(), 2);
        QCOMPARE(rouble.valueToDouble(12345), 123.45);
        QCOMPARE(rouble.doubleToValue(0.125), 12LL);
        QCOMPARE(Currency().valueToDouble(12345), 12345.0);
        QCOMPARE(Currency().valueToString(12345), QStringLiteral("12345"));

        const Currency euro = makeCurrency(978, QStringLiteral("EUR"), 100, QStringLiteral("€"));
        QCOMPARE(euro.valueToString(12345), QStringLiteral("123.45"));
        QCOMPARE(euro.valueToString(-5, true), QStringLiteral("-0.05 EUR"));
        QCOMPARE(euro.valueToString(12345, false), QStringLiteral("123.45 €"));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(euro.valueToString(-5, true), QStringLiteral("-0,05 EUR"));
    }

    void symbolAndName_data()
    {
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("expectedSymbol");
        QTest::addColumn<QString>("expectedName");
        const QLocale russia(QStringLiteral("ru_RU"));
        const QString localeSymbol = russia.currencySymbol(QLocale::CurrencySymbol);
        const QString localeName = russia.currencySymbol(QLocale::CurrencyDisplayName);
        QVERIFY(!localeSymbol.isEmpty() && localeSymbol != QLatin1String("RUB"));
        QTest::newRow("nothing set") << QString() << QString() << "RUB"
                                     << "RUB";
        QTest::newRow("unknown locale") << QString() << "unknown"
                                        << "RUB"
                                        << "RUB";
        QTest::newRow("locale") << QString() << "ru_RU" << localeSymbol << localeName;
        QTest::newRow("explicit symbol wins") << "р."
                                              << "ru_RU"
                                              << "р." << localeName;
    }
    void symbolAndName()
    {
        QFETCH(QString, symbol);
        QFETCH(QString, locale);
        QFETCH(QString, expectedSymbol);
        QFETCH(QString, expectedName);
        const Currency rouble = makeCurrency(643, QStringLiteral("RUB"), 100, symbol, locale);
        QCOMPARE(rouble.currencySymbol(), expectedSymbol);
        QCOMPARE(rouble.currencyName(), expectedName);
        QCOMPARE(rouble.valueToString(100, false), QStringLiteral("1.00 ") + expectedSymbol);
    }

    void equalityAndOrder()
    {
        const Currency rouble = makeCurrency(643, QStringLiteral("RUB"), 100);
        QVERIFY(rouble == makeCurrency(643, QStringLiteral("RUB"), 100, {}, QStringLiteral("ru")));
        QVERIFY(rouble != makeCurrency(643, QStringLiteral("RUB"), 100, QStringLiteral("₽")));
        Currency marked = rouble;
        marked.setExtSymbol(QStringLiteral("rub"));
        QVERIFY(rouble != marked);
        const Currency dollar = makeCurrency(840, QStringLiteral("USD"), 100);
        QVERIFY(rouble < dollar && rouble <= dollar && dollar > rouble && dollar >= rouble);
        // The order sees the numeric code only.
        const Currency sameCode = makeCurrency(643, QStringLiteral("XXX"), 1);
        QVERIFY(rouble >= sameCode && rouble <= sameCode && !(rouble < sameCode));
        QCOMPARE(QVariant::fromValue(marked).value<Currency>(), marked);
    }
};

QTEST_GUILESS_MAIN(tst_Currency)
#include "tst_currency.moc"
