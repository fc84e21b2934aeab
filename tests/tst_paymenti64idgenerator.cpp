#include "paymenti64idgenerator.h"

#include <QtTest>

class tst_PaymentI64IdGenerator : public QObject
{
    Q_OBJECT

private slots:
    void crc24();
    void identifier();
};

void tst_PaymentI64IdGenerator::crc24()
{
    QCOMPARE(PaymentI64IdGenerator::crc24("123456789"), 0xD0D811u);
    QCOMPARE(PaymentI64IdGenerator::crc24("abc"), 0xB7BA40u);
    QCOMPARE(PaymentI64IdGenerator::crc24(QByteArray()), 0xFFFFFFu);
}

void tst_PaymentI64IdGenerator::identifier()
{
    const QDate date(2014, 7, 15);
    QCOMPARE(PaymentI64IdGenerator::generate(1, "abc", date), 0x4000011CEFB7BA40LL);
    QCOMPARE(PaymentI64IdGenerator::generateString(1, "abc", date),
        QStringLiteral("4000-011c-efb7-ba40"));

    // Only the low 22 bits of the number count; the date field holds the two-digit year.
    const QDate last(2123, 12, 31);
    QCOMPARE(PaymentI64IdGenerator::generateString(0xFFFFFFFF, "abc", last),
        QStringLiteral("7fff-ff2f-9fb7-ba40"));
    QCOMPARE(PaymentI64IdGenerator::generate(0x400000, "x", last),
        PaymentI64IdGenerator::generate(0, "x", last));
    QVERIFY(PaymentI64IdGenerator::generate(0, "x", last.addDays(1))
        != PaymentI64IdGenerator::generate(0, "x", last));

    const QDate today = QDate::currentDate();
    const long long clock = PaymentI64IdGenerator(1, "abc");
    if (today == QDate::currentDate()) // unless the day turned over meanwhile
        QCOMPARE(clock, PaymentI64IdGenerator::generate(1, "abc", today));
}

QTEST_GUILESS_MAIN(tst_PaymentI64IdGenerator)

#include "tst_paymenti64idgenerator.moc"
