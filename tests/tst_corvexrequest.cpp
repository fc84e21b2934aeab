#include "corvexrequest.h"
#include "testutil.h"

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

class tst_CorvexRequest : public QObject
{
    Q_OBJECT

private slots:
    // The record's own uid and function win over data entries of the same name.
    void map()
    {
        QCOMPARE(toJson(listRequest(123).toMap()),
            R"({"currencyId":643,"function":"listtid","phone":"79001234567","uid":"123"})");
        CorvexRequest request = listRequest(std::numeric_limits<qint64>::min());
        request.setData({{"uid", "forged"}, {"function", "drop"}, {"sum", 5}});
        QCOMPARE(toJson(request.toMap()),
            R"({"currencyId":643,"function":"listtid","sum":5,"uid":"-9223372036854775808"})");
    }

    // Valid with a type, a function and a uid other than 0.
    void validityAndUid()
    {
        CorvexRequest noFunction = listRequest(5), noType = listRequest(5);
        noFunction.setFunction(QString());
        noType.setType(CorvexRequest::NoRequest);
        QCOMPARE(QVector<bool>({listRequest(0).isValid(), noFunction.isValid(), noType.isValid(),
                     listRequest(-5).isValid()}),
            QVector<bool>({false, false, false, true}));

        // The uid follows the low 32 bits of the box id, the contents and the moment.
        const QDateTime moment(QDate(2014, 7, 15), QTime(12, 30));
        CorvexRequest first = listRequest(), second = listRequest(), other = listRequest();
        first.generateUid(1001, moment);
        second.generateUid((qint64(7) << 32) | 1001, moment);
        QCOMPARE(second.uid(), first.uid());
        QCOMPARE(static_cast<quint64>(first.uid()) >> 24, 0x4003E91CEFull);
        second.generateUid(1001, moment.addSecs(1));
        other.setData({{"phone", "79001234568"}});
        other.generateUid(1001, moment);
        QVERIFY(second.uid() != first.uid() && other.uid() != first.uid());
    }
};

QTEST_GUILESS_MAIN(tst_CorvexRequest)
#include "tst_corvexrequest.moc"
