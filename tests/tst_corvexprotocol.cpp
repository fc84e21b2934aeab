#include "corvexprotocol.h"
#include "testutil.h"

// How the service's JSON replies are read: a parser, tested as one.
class TestCorvexProtocol : public QObject
{
    Q_OBJECT

private slots:
    void reply_data()
    {
        addRows<QString, bool, qint64, bool, bool, bool>(
            {"json", "valid", "uid", "resultFailed", "hasError", "error"},
            {{"uid number", "{'uid': 123}", true, 123, false, false, false},
                {"uid string", "{'uid': '123'}", true, 123, false, false, false},
                {"uid negative", "{'uid': '-5'}", true, -5, false, false, false},
                {"uid largest", "{'uid': '9223372036854775807'}", true,
                    Q_INT64_C(9223372036854775807), false, false, false},
                {"uid beyond 64 bits", "{'uid': '9223372036854775808'}", true, 0, false, false,
                    false},
                {"uid fraction", "{'uid': 123.5}", true, 0, false, false, false},
                {"uid text", "{'uid': '123abc'}", true, 0, false, false, false},
                {"uid flag", "{'uid': true}", true, 0, false, false, false},
                {"uid object", "{'uid': {'v': 123}}", true, 0, false, false, false},
                {"result 0", "{'result': 0}", true, 0, false, false, false},
                {"result '0'", "{'result': '0'}", true, 0, false, false, false},
                {"result null", "{'result': null}", true, 0, false, false, false},
                {"result 7", "{'result': 7}", true, 0, true, false, false},
                {"result word", "{'result': 'fail'}", true, 0, true, false, false},
                {"result fraction", "{'result': 0.5}", true, 0, true, false, false},
                {"result false", "{'result': false}", true, 0, true, false, false},
                {"error true", "{'error': true}", true, 0, false, true, true},
                {"error false", "{'error': false}", true, 0, false, true, false},
                {"error null", "{'error': null}", true, 0, false, true, false},
                {"array", "[{'uid': 123}]", true, 0, false, false, false},
                {"not JSON", "uid 123", false, 0, false, false, false},
                {"empty", "", false, 0, false, false, false}});
    }
    void reply()
    {
        QFETCH(QString, json);
        const CorvexReply reply = CorvexReply::fromJson(json.replace('\'', '"'));
        QTEST(reply.isValid(), "valid");
        QCOMPARE(reply.errorString().isEmpty(), reply.isValid());
        QTEST(reply.uid(), "uid");
        QTEST(reply.resultFailed(), "resultFailed");
        QTEST(reply.hasError(), "hasError");
        QTEST(reply.error(), "error");
    }

    // A code that is not a whole number of the int range counts as -1, which completes nothing.
    void errorCode_data()
    {
        addRows<QVariant, int>({"code", "expected"},
            {{"number", 19, 19}, {"whole double", 18.0, 18}, {"decimal text", "22", 22},
                {"negative", -3, -3}, {"fraction", 18.5, -1}, {"word", "x", -1},
                {"beyond int", Q_INT64_C(4294967315), -1},
                {"null", QVariant::fromValue(nullptr), -1}, {"list", QVariantList {1}, -1},
                {"flag false", false, -1}, {"flag true", true, -1}});
    }
    void errorCode()
    {
        QFETCH(QVariant, code);
        const QVariantMap params {{CorvexKey::ErrorCode, code}};
        QVERIFY(CorvexReply::hasErrorCode(params));
        QTEST(CorvexReply::errorCode(params), "expected");
        QVERIFY(!CorvexReply::hasErrorCode({}));
    }
};

QTEST_APPLESS_MAIN(TestCorvexProtocol)
#include "tst_corvexprotocol.moc"
