#include "corvexrequest.h"

#include <QtTest>

class tst_CorvexRequest : public QObject
{
    Q_OBJECT

private slots:
    void validity();
    void map();
    void uid();
};

static CorvexRequest listRequest(qint64 uid = 0)
{
    CorvexRequest request;
    request.setType(CorvexRequest::AllTemplatesRequest);
    request.setFunction(QStringLiteral("listtid"));
    request.setCurrencyId(643);
    request.setData({{QStringLiteral("phone"), QStringLiteral("79001234567")}});
    request.setUid(uid);
    return request;
}

void tst_CorvexRequest::validity()
{
    QVERIFY(!CorvexRequest().isValid());
    QVERIFY(listRequest(-5).isValid());
    QVERIFY(!listRequest(0).isValid());
    CorvexRequest request = listRequest(5);
    request.setFunction(QString());
    QVERIFY(!request.isValid());
    request = listRequest(5);
    request.setType(CorvexRequest::NoRequest);
    QVERIFY(!request.isValid() && request != listRequest(5));
    QCOMPARE(QVariant::fromValue(listRequest(5)).value<CorvexRequest>(), listRequest(5));
}

void tst_CorvexRequest::map()
{
    CorvexRequest request = listRequest(123);
    QVariantMap map = request.toMap();
    QCOMPARE(map.keys(), QStringList({"currencyId", "function", "phone", "uid"}));
    QCOMPARE(map.value("currencyId"), QVariant(643));
    QCOMPARE(map.value("uid"), QVariant("123"));
    QCOMPARE(map.value("function"), QVariant("listtid"));

    request.setUid(std::numeric_limits<qint64>::min());
    request.setData({{"uid", "forged"}, {"function", "drop"}, {"sum", 5}});
    map = request.toMap();
    QCOMPARE(map.size(), 4);
    QCOMPARE(map.value("uid"), QVariant("-9223372036854775808"));
    QCOMPARE(map.value("function"), QVariant("listtid"));
}

void tst_CorvexRequest::uid()
{
    const QDateTime moment(QDate(2014, 7, 15), QTime(12, 30));
    CorvexRequest first = listRequest(), second = listRequest();
    first.generateUid(1001, moment);
    second.generateUid((qint64(7) << 32) | 1001, moment); // the low 32 bits seed it
    QCOMPARE(second.uid(), first.uid());
    QCOMPARE(static_cast<quint64>(first.uid()) >> 24, 0x4003E91CEFull);

    second.generateUid(1001, moment.addSecs(1));
    QVERIFY(second.uid() != first.uid());
    second = listRequest();
    second.setData({{"phone", "79001234568"}});
    second.generateUid(1001, moment);
    QVERIFY(second.uid() != first.uid());
    second.generateUid(1001);
    QVERIFY(second.isValid());
}

QTEST_GUILESS_MAIN(tst_CorvexRequest)

#include "tst_corvexrequest.moc"
