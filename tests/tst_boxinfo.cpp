#include "boxinfo.h"

#include <QtTest>

class tst_BoxInfo : public QObject
{
    Q_OBJECT

private slots:
    void validityAndCopy()
    {
        QVERIFY(!BoxInfo().isValid());
        const QList<std::tuple<long long, long long, bool>> table {
            {1, 1, true}, {0, 5, false}, {5, 0, false}, {5, -7, false}};
        for (const auto &[dealerId, boxId, valid] : table) {
            BoxInfo box;
            box.setDealerId(dealerId);
            box.setBoxId(boxId);
            QCOMPARE(box.isValid(), valid);
        }
        // A copy owns its data.
        Currency rouble;
        rouble.setAlpha3(QStringLiteral("RUB"));
        BoxInfo source;
        source.setCurrency(rouble);
        source.setDealerName(QStringLiteral("Dealer"));
        source.setLastCheckNumber(100);
        BoxInfo copy = source;
        copy.setLastCheckNumber(101);
        QCOMPARE(source.lastCheckNumber(), 100LL);
        QCOMPARE(copy.currency(), rouble);
        QCOMPARE(copy.dealerName(), QStringLiteral("Dealer"));
    }
};

QTEST_GUILESS_MAIN(tst_BoxInfo)
#include "tst_boxinfo.moc"
