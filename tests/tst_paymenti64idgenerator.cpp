#include "paymenti64idgenerator.h"

#include <QtTest>

using Generator = PaymentI64IdGenerator;

class tst_PaymentI64IdGenerator : public QObject
{
    Q_OBJECT

private slots:
    void identifier()
    {
        QCOMPARE(Generator::crc24("123456789"), 0xD0D811u);
        QCOMPARE(Generator::crc24("abc"), 0xB7BA40u);
        QCOMPARE(Generator::crc24(QByteArray()), 0xFFFFFFu);
        const QDate date(2014, 7, 15), last(2123, 12, 31);
        QCOMPARE(Generator::generate(1, "abc", date), 0x4000011CEFB7BA40LL);
        QCOMPARE(Generator::generateString(1, "abc", date), QStringLiteral("4000-011c-efb7-ba40"));
        // Only the low 22 bits of the number count; the date field holds the two-digit year.
        QCOMPARE(Generator::generateString(0xFFFFFFFF, "abc", last),
            QStringLiteral("7fff-ff2f-9fb7-ba40"));
        QCOMPARE(Generator::generate(0x400000, "x", last), Generator::generate(0, "x", last));
        QVERIFY(Generator::generate(0, "x", last.addDays(1)) != Generator::generate(0, "x", last));
        const QDate today = QDate::currentDate();
        const long long clock = Generator(1, "abc");
        if (today == QDate::currentDate()) // unless the day turned over meanwhile
            QCOMPARE(clock, Generator::generate(1, "abc", today));
    }
};

QTEST_GUILESS_MAIN(tst_PaymentI64IdGenerator)
#include "tst_paymenti64idgenerator.moc"
