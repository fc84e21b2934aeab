#include "paypack.h"
#include "testutil.h"

#include <QtTest>

#include <limits>

using Raw = QPair<unsigned int, qint64>;
static const qint64 maxUnits = std::numeric_limits<qint64>::max();
static const qint64 minUnits = std::numeric_limits<qint64>::min();

static Payment payment(
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

class tst_PayPack : public QObject
{
    Q_OBJECT

    static Raw raw(const FixNumber &number) { return {number.realMultiplier(), number.value()}; }

private slots:
    void numbering()
    {
        PayPack pack;
        for (int i = 0; i < 3; ++i)
            pack.addPayment(payment(100, 0));
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
        pack.removePayment(pack.payments().at(1));
        QCOMPARE(values(pack), QList<qint64>({-1}));
        pack.setPayments({payment(1, 0, 0), payment(1, 0, 840)}, false);
        pack.setCurrencyForPayments(-1);
        QCOMPARE(values(pack, &Payment::currencyId), QList<qint64>({0, 840}));
        pack.setCurrencyForPayments(643);
        QCOMPARE(values(pack, &Payment::currencyId), QList<qint64>({643, 840}));
    }

    // Neither adding nor removing goes by an identifier that names no position of the pack.
    void foreignIdentifiers()
    {
        PayPack pack;
        pack.addPayment(payment(100, 0));
        pack.addPayment(payment(200, 0));
        const QList<Payment> before = pack.payments();
        // ~id of the last one is 2^32, which cut down to an int would name position 0.
        for (const qint64 id :
            {qint64(7), qint64(-3), minUnits, maxUnits, -(qint64(1) << 32) - 1}) {
            Payment stranger = payment(999, 0);
            stranger.setId(id);
            pack.addPayment(stranger);
            pack.removePayment(stranger);
            QCOMPARE(pack.payments(), before);
        }
    }

    // Payments in several currencies have no sums and are never covered; amounts at different
    // scales add up as amounts, and sums beyond 64 bits stick at the limit.
    void sums_data()
    {
        const QList<Payment> example {payment(10000, 100), payment(5000, 50)};
        const QList<Payment> huge {payment(maxUnits, 0), payment(1, 1)};
        Payment uneven = payment(10000, 0);
        uneven.setComission(FixNumber(1000, 100));
        const FixNumber cash(100, 20000);
        addRows<QList<Payment>, FixNumber, QList<Raw>, bool>({"payments", "cash", "sums", "ready"},
            {{"empty", {}, cash, {{100, 0}, {100, 0}, {100, 0}, {100, 20000}}, false},
                {"example", example, cash, {{100, 15000}, {100, 150}, {100, 15150}, {100, 4850}},
                    true},
                {"short", example, FixNumber(100, 15000),
                    {{100, 15000}, {100, 150}, {100, 15150}, {100, -150}}, false},
                {"cash x1000", example, FixNumber(1000, 151500),
                    {{100, 15000}, {100, 150}, {100, 15150}, {1000, 0}}, true},
                {"currencies", {payment(10000, 100), payment(5000, 50, 840)},
                    FixNumber(100, 1000000), {{2, 0}, {2, 0}, {2, 0}, {100, 0}}, false},
                {"uneven", {uneven}, cash,
                    {{100, 10000}, {1000, 100}, {1000, 100100}, {1000, 99900}}, true},
                {"scales", {payment(10000, 100), payment(1500, 0, 643, 1000)}, cash,
                    {{1000, 101500}, {1000, 1000}, {1000, 102500}, {1000, 97500}}, true},
                {"huge", huge, cash,
                    {{100, maxUnits}, {100, 1}, {100, maxUnits}, {100, 20000 - maxUnits}}, false},
                {"huge debt", huge, FixNumber(100, minUnits),
                    {{100, maxUnits}, {100, 1}, {100, maxUnits}, {100, minUnits}}, false}});
    }
    void sums()
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
        QCOMPARE(pack.isReady(), ready);
        pack.setId(5);
        pack.setCreated(QDateTime::currentDateTime());
        QVERIFY(!pack.isNew() && !pack.isReady());
    }

    // Neither a rejected payment nor one without a time moves the pack's time.
    void created()
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
        pack.addPayment(rejected);
        pack.addPayment(payment(1, 0));
        QCOMPARE(pack.created(), early);
        Payment replaced = pack.payments().at(0);
        replaced.setCreated(early.addSecs(-1));
        pack.addPayment(replaced);
        QCOMPARE(pack.created(), early.addSecs(-1));
        pack.setPayments({payment(1, 0), first, second}, false);
        QCOMPARE(pack.created(), early);
        pack.setPayments({}, false);
        QVERIFY(pack.created().isNull());
    }
};

QTEST_GUILESS_MAIN(tst_PayPack)
#include "tst_paypack.moc"
