#include "paypack.h"

#include <QtTest>

class tst_PayPack : public QObject
{
    Q_OBJECT

private slots:
    void numbering();
    void foreignIdentifiers();
    void sums();
    void uncountableTotals();
    void created();
};

static Payment payment(
    qint64 summ, qint64 comission, qint64 currencyId = 643, unsigned int multiplier = 100)
{
    Payment result;
    result.setSumm(FixNumber(multiplier, summ));
    result.setComission(FixNumber(multiplier, comission));
    result.setCurrencyId(currencyId);
    return result;
}

static QList<qint64> ids(const PayPack &pack)
{
    QList<qint64> result;
    for (const Payment &p : pack.payments())
        result.append(p.id());
    return result;
}

#define COMPARE_NUMBER(actual, multiplier, units)                                                  \
    QCOMPARE((actual).realMultiplier(), (multiplier));                                             \
    QCOMPARE((actual).value(), qint64(units))

void tst_PayPack::numbering()
{
    PayPack pack;
    for (int i = 0; i < 3; ++i)
        pack.addPayment(payment(100, 0));
    QCOMPARE(ids(pack), QList<qint64>({-1, -2, -3}));
    Payment second = pack.payments().at(1);
    second.setAccount("changed");
    pack.addPayment(second);
    QCOMPARE(pack.payments().at(1).account(), QStringLiteral("changed"));
    QCOMPARE(pack.payments().size(), 3);

    pack.removePayment(0);
    pack.removePayment(5);
    QCOMPARE(ids(pack), QList<qint64>({-2, -3}));
    pack.setPayments(pack.payments(), true);
    QCOMPARE(ids(pack), QList<qint64>({-1, -2}));
    pack.removePayment(pack.payments().at(1));
    QCOMPARE(ids(pack), QList<qint64>({-1}));

    pack.setPayments({payment(1, 0, 0), payment(1, 0, 840)}, false);
    pack.setCurrencyForPayments(-1);
    QCOMPARE(pack.payments().at(0).currencyId(), qint64(0));
    pack.setCurrencyForPayments(643);
    QCOMPARE(pack.payments().at(0).currencyId() + pack.payments().at(1).currencyId(), 643 + 840);
}

void tst_PayPack::foreignIdentifiers()
{
    PayPack pack;
    pack.addPayment(payment(100, 0));
    pack.addPayment(payment(200, 0));
    const QList<Payment> before = pack.payments();
    // ~id of the last one is 2^32, which cut down to an int would name position 0.
    for (const qint64 id : {qint64(7), qint64(-3), std::numeric_limits<qint64>::min(),
             std::numeric_limits<qint64>::max(), -(qint64(1) << 32) - 1}) {
        Payment stranger = payment(999, 0);
        stranger.setId(id);
        pack.addPayment(stranger);
        pack.removePayment(stranger);
        QCOMPARE(pack.payments(), before);
    }
}

void tst_PayPack::sums()
{
    PayPack pack;
    QVERIFY(pack.isNew() && !pack.hasPayments() && !pack.isReady());
    COMPARE_NUMBER(pack.total(), 100u, 0);
    COMPARE_NUMBER(pack.oddMoney(), 100u, 0);

    pack.addPayment(payment(10000, 100));
    pack.addPayment(payment(5000, 50));
    pack.setCashMoney(FixNumber(100, 20000));
    COMPARE_NUMBER(pack.summ(), 100u, 15000);
    COMPARE_NUMBER(pack.comission(), 100u, 150);
    COMPARE_NUMBER(pack.total(), 100u, 15150);
    COMPARE_NUMBER(pack.oddMoney(), 100u, 4850);
    QVERIFY(pack.isReady());
    pack.setCashMoney(FixNumber(100, 15000));
    COMPARE_NUMBER(pack.oddMoney(), 100u, -150);
    QVERIFY(!pack.isReady());
    pack.setCashMoney(FixNumber(1000, 151500));
    COMPARE_NUMBER(pack.oddMoney(), 100u, 0);
    QVERIFY(pack.isReady());
    pack.setId(5);
    pack.setCreated(QDateTime::currentDateTime());
    QVERIFY(!pack.isNew() && !pack.isReady());

    // Unit counts at different scales are rescaled, not added raw.
    pack.setPayments({payment(10000, 100), payment(1500, 0, 643, 1000)}, true);
    COMPARE_NUMBER(pack.summ(), 1000u, 101500);
    COMPARE_NUMBER(pack.total(), 1000u, 102500);
    // Saturated, not wrapped into a small or negative total.
    pack.setCashMoney(FixNumber(100, 20000));
    pack.setPayments({payment(std::numeric_limits<qint64>::max(), 0), payment(1, 1)}, true);
    COMPARE_NUMBER(pack.total(), 100u, std::numeric_limits<qint64>::max());
    COMPARE_NUMBER(pack.oddMoney(), 100u, 20000 - std::numeric_limits<qint64>::max());
    pack.setCashMoney(FixNumber(100, std::numeric_limits<qint64>::min()));
    COMPARE_NUMBER(pack.oddMoney(), 100u, std::numeric_limits<qint64>::min());
}

void tst_PayPack::uncountableTotals()
{
    PayPack pack;
    pack.addPayment(payment(10000, 100, 643));
    pack.addPayment(payment(5000, 50, 840));
    pack.setCashMoney(FixNumber(100, 1000000));
    COMPARE_NUMBER(pack.summ(), 2u, 0);
    COMPARE_NUMBER(pack.comission(), 2u, 0);
    COMPARE_NUMBER(pack.total(), 2u, 0);
    COMPARE_NUMBER(pack.oddMoney(), 100u, 0);
    QVERIFY(!pack.isReady()); // the 0 stands for "unknown", not for "covered"

    Payment uneven = payment(10000, 0);
    uneven.setComission(FixNumber(1000, 100));
    pack.setPayments({uneven}, true);
    COMPARE_NUMBER(pack.total(), 100u, 0);
    QVERIFY(!pack.isReady());
}

void tst_PayPack::created()
{
    const QDateTime early(QDate(2024, 1, 1), QTime(9, 0)), late = early.addSecs(60);
    Payment first = payment(1, 0), second = payment(1, 0), rejected = payment(1, 0);
    first.setCreated(late);
    second.setCreated(early);
    rejected.setId(9);
    rejected.setCreated(early.addDays(-1));

    PayPack pack;
    pack.addPayment(first);
    QCOMPARE(pack.created(), late);
    pack.addPayment(second);
    QCOMPARE(pack.created(), early);
    // Neither a rejected payment nor one without a time moves the pack's time.
    pack.addPayment(rejected);
    pack.addPayment(payment(1, 0));
    QCOMPARE(pack.created(), early);
    pack.setPayments({payment(1, 0), first, second}, false);
    QCOMPARE(pack.created(), early);
    pack.setPayments({}, false);
    QVERIFY(pack.created().isNull());
}

QTEST_GUILESS_MAIN(tst_PayPack)

#include "tst_paypack.moc"
