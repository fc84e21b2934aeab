#include "barcodeproviderindex.h"
#include "corvexprotocol.h"
#include "corvexrequest.h"
#include "paymenti64idgenerator.h"
#include "paypack.h"
#include "provider.h"
#include "testutil.h"

#include <QtTest>

#include <limits>

static QVariantMap detail(const QString &label, const QVariant &value, int pos,
    const QVariantList &items = {}, bool printable = true)
{
    QVariantMap map {{"name", label.toLower()}, {"checkLabel", label}, {"value", value},
        {"pos", pos}, {"items", items}};
    if (!printable)
        map.insert("printable", false);
    return map;
}

static Payment priced(
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

// What the plug-in hands a host and the service: payments and their baskets, providers, the
// requests with their uids, and how the service's JSON replies are read.
class tst_Records : public QObject
{
    Q_OBJECT

private slots:
    // The same text goes to both setters; what is not an array or an object leaves nothing.
    // What is read comes out compact and reads back the same.
    void detailsJson_data()
    {
        const QString item = QStringLiteral(R"({"name":"n","value":"%1"},)").arg(QString(200, 'v'));
        addRows<QString, int, int, QString>({"json", "details", "additional", "text"},
            {{"empty array", "[]", 0, 0, "[]"},
                {"array", R"([ {"name": "account", "value": "a b"}, {"items": [ {"value": 5} ]} ])",
                    2, 0, R"([{"name":"account","value":"a b"},{"items":[{"value":5}]}])"},
                {"object", R"({"a": {"b": 1}})", 0, 1, "[]"},
                {"not JSON", "account=123", 0, 0, "[]"},
                {"truncated", R"([{"name": "account")", 0, 0, "[]"},
                {"too deep", QString(5000, '[') + QString(5000, ']'), 0, 0, "[]"},
                {"huge, broken at the end", "[" + item.repeated(20000), 0, 0, "[]"}});
    }
    void detailsJson()
    {
        QFETCH(QString, json);
        Payment payment, copy;
        payment.setDetails({detail("Old", "1", 0)});
        payment.setAdditionalMap({{"old", 1}});
        payment.setJsonDetails(json);
        payment.setAdditionalData(json);
        QTEST(int(payment.details().size()), "details");
        QTEST(int(payment.additionalMap().size()), "additional");
        QTEST(payment.jsonDetails(), "text");
        copy.setJsonDetails(payment.jsonDetails());
        copy.setAdditionalData(payment.additionalData());
        QCOMPARE(copy.details(), payment.details());
        QCOMPARE(copy.additionalMap(), payment.additionalMap());
    }

    // Lines of the printable additional data follow those of the details.
    void receiptLines_data()
    {
        const QVariantMap hiddenLeaf = detail("In", "1", 0, {}, false);
        const QVariantMap wrongTypes {{"checkLabel", QVariantList {1}}, {"value", QVariantMap()},
            {"pos", "first"}, {"items", "none"}};
        addRows<QVariantList, QStringList>({"details", "lines"},
            {{"example",
                 {detail("Account", "123", 1), detail("Phone", "7900", 0, {}, false),
                     detail("Address", "", 2,
                         {detail("City", "Omsk", 0), detail("Street", "Lenina", 1)})},
                 {"Account=123", "Address=\t City=Omsk\t Street=Lenina"}},
                {"equal positions, later first",
                    {detail("A", "1", 3), detail("B", "2", 3), detail("C", "3", 1)},
                    {"C=3", "B=2", "A=1"}},
                {"hidden group, printing member",
                    {detail("G", "", 0, {detail("In", "1", 0)}, false)}, {"G=\t In=1"}},
                {"hidden group, hidden member", {detail("G", "", 0, {hiddenLeaf}, false)}, {}},
                {"group, hidden member", {detail("G", "v", 0, {hiddenLeaf})}, {"G=v\t"}},
                {"two levels", {detail("A", "", 0, {detail("B", "", 0, {detail("C", "1", 0)})})},
                    {"A=\t B=\t  C=1"}},
                {"placeholders are text", {detail("Rate %1", "%2", 0)}, {"Rate %1=%2"}},
                {"missing keys, not maps", {QVariantMap {{"pos", 1}}, 42, QVariant()},
                    {"=", "=", "="}},
                {"wrong types",
                    {wrongTypes, QVariantMap {{"checkLabel", "N"}, {"value", 7}, {"pos", 2.0}}},
                    {"=", "N=7"}}});
    }
    void receiptLines()
    {
        QFETCH(QVariantList, details);
        QFETCH(QStringList, lines);
        Payment payment;
        payment.setDetails(details);
        payment.setAdditionalMap({{"detailsForPrint", QVariantMap {{"Shift", 5}}}});
        QCOMPARE(payment.stringDetails(details, QString()), lines);
        QCOMPARE(payment.stringDetails(), (lines << "Shift=5").join('\t'));
    }

    // The depth is capped: the innermost levels are left out rather than overflow the stack.
    void deepNesting()
    {
        QVariantMap tree = detail("Leaf", "x", 0);
        for (int i = 0; i < 5000; ++i)
            tree = detail("Level", "", 0, {tree});
        Payment payment;
        payment.setDetails({tree});
        const QStringList lines = payment.stringDetails().split('\t');
        QVERIFY(lines.size() > 10 && lines.size() < 5000);
        QVERIFY(lines.last().startsWith(QString(lines.size() - 1, ' ') + "Level="));
        QVERIFY(!payment.detailValues().isEmpty());
        // The JSON and the serialised data stop at the same depth as the receipt.
        const QString json = payment.jsonDetails();
        QCOMPARE(json.count("\"items\""), lines.size() - 1);
        QVERIFY(!payment.paymentData().isEmpty());
    }

    void detailValues()
    {
        Payment payment;
        payment.setDetails({detail("Account", "1", 0), detail("Account", "2", 0),
            detail("Addr", "", 1, {detail("City", "Omsk", 0), detail("Street", 5, 1)}),
            QVariant(3)});
        const QVariantMap values = payment.detailValues();
        QCOMPARE(values.keys(), QStringList({"", "account", "addr"}));
        QCOMPARE(values.value("account"), QVariant("2"));
        QCOMPARE(values.value("addr").toMap(), QVariantMap({{"city", "Omsk"}, {"street", 5}}));
        QVERIFY(!values.value("").isValid());
    }

    void paymentData()
    {
        Payment payment;
        payment.setId(99);
        payment.setOperationId(1);
        payment.setPackId(2);
        payment.setProviderId(3);
        payment.setProviderName("Корвекс");
        payment.setCurrencyId(643);
        payment.setAccount("40817");
        payment.setSumm(FixNumber(100, 10000));
        payment.setComission(FixNumber(1000, 150));
        payment.setCreated(QDateTime(QDate(2014, 7, 15), QTime(12, 30, 5)));
        payment.setDetails({detail("Account", "40817", 0)});
        payment.setComment("note");
        QByteArray expected;
        QDataStream out(&expected, QIODevice::WriteOnly);
        out << qint64(1) << qint64(2) << qint64(3) << QString("Корвекс").toUtf8() << qint64(643)
            << QByteArray("40817") << qint64(10000) << qint64(150)
            << QByteArray("2014-07-15T12:30:05") << qint32(1) << payment.details().first()
            << QString("note");
        QCOMPARE(payment.paymentData(), expected);
    }

    void numbering()
    {
        PayPack pack;
        for (int i = 0; i < 3; ++i)
            pack.addPayment(priced(100, 0));
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
        pack.setPayments({priced(1, 0, 0), priced(1, 0, 840)}, false);
        pack.setCurrencyForPayments(-1);
        QCOMPARE(values(pack, &Payment::currencyId), QList<qint64>({0, 840}));
        pack.setCurrencyForPayments(643);
        QCOMPARE(values(pack, &Payment::currencyId), QList<qint64>({643, 840}));
    }

    // Neither adding nor removing goes by an identifier that names no position of the pack.
    void foreignIdentifiers()
    {
        PayPack pack;
        pack.addPayment(priced(100, 0));
        pack.addPayment(priced(200, 0));
        const QList<Payment> before = pack.payments();
        // ~id of the last one is 2^32, which cut down to an int would name position 0.
        for (const qint64 id :
            {qint64(7), qint64(-3), minUnits, maxUnits, -(qint64(1) << 32) - 1}) {
            Payment stranger = priced(999, 0);
            stranger.setId(id);
            pack.addPayment(stranger);
            pack.removePayment(stranger);
            QCOMPARE(pack.payments(), before);
        }
    }

    // Payments in several currencies have no sums and are never covered; amounts at different
    // scales add up as amounts, and sums beyond 64 bits stick at the limit, at the coarser scale
    // when the finer one cannot hold them. A basket of one payment totals as the payment does.
    void sums_data()
    {
        const QList<Payment> example {priced(10000, 100), priced(5000, 50)};
        const QList<Payment> huge {priced(maxUnits, 0), priced(1, 1)};
        Payment uneven = priced(10000, 0);
        uneven.setComission(FixNumber(1000, 100));
        Payment hugeUneven = priced(maxUnits, 0);
        hugeUneven.setComission(FixNumber(1000, 1));
        const FixNumber cash(100, 20000);
        addRows<QList<Payment>, FixNumber, QList<Raw>, bool>({"payments", "cash", "sums", "ready"},
            {{"empty", {}, cash, {{100, 0}, {100, 0}, {100, 0}, {100, 20000}}, false},
                {"example", example, cash, {{100, 15000}, {100, 150}, {100, 15150}, {100, 4850}},
                    true},
                {"short", example, FixNumber(100, 15000),
                    {{100, 15000}, {100, 150}, {100, 15150}, {100, -150}}, false},
                {"cash x1000", example, FixNumber(1000, 151500),
                    {{100, 15000}, {100, 150}, {100, 15150}, {1000, 0}}, true},
                {"currencies", {priced(10000, 100), priced(5000, 50, 840)}, FixNumber(100, 1000000),
                    {{2, 0}, {2, 0}, {2, 0}, {100, 0}}, false},
                {"uneven", {uneven}, cash,
                    {{100, 10000}, {1000, 100}, {1000, 100100}, {1000, 99900}}, true},
                {"scales", {priced(10000, 100), priced(1500, 0, 643, 1000)}, cash,
                    {{1000, 101500}, {1000, 1000}, {1000, 102500}, {1000, 97500}}, true},
                {"huge", huge, cash,
                    {{100, maxUnits}, {100, 1}, {100, maxUnits}, {100, 20000 - maxUnits}}, false},
                {"huge debt", huge, FixNumber(100, minUnits),
                    {{100, maxUnits}, {100, 1}, {100, maxUnits}, {100, minUnits}}, false},
                {"huge payment", {priced(maxUnits, 1)}, cash,
                    {{100, maxUnits}, {100, 1}, {100, maxUnits}, {100, 20000 - maxUnits}}, false},
                {"huge payment, uneven", {hugeUneven}, cash,
                    {{100, maxUnits}, {1000, 1}, {100, maxUnits}, {100, 20000 - maxUnits}},
                    false}});
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
        if (payments.size() == 1)
            QCOMPARE(raw(payments.first().total()), sums.at(2));
        QCOMPARE(pack.isReady(), ready);
        pack.setId(5);
        pack.setCreated(QDateTime::currentDateTime());
        QVERIFY(!pack.isNew() && !pack.isReady());
    }

    // Neither a rejected payment nor one without a time moves the pack's time.
    void created()
    {
        const QDateTime early(QDate(2024, 1, 1), QTime(9, 0)), late = early.addSecs(60);
        Payment first = priced(1, 0), second = priced(1, 0), rejected = priced(1, 0);
        first.setCreated(late);
        second.setCreated(early);
        rejected.setId(9);
        rejected.setCreated(early.addDays(-1));
        PayPack pack;
        pack.addPayment(first);
        pack.addPayment(second);
        pack.addPayment(rejected);
        pack.addPayment(priced(1, 0));
        QCOMPARE(pack.created(), early);
        Payment replaced = pack.payments().at(0);
        replaced.setCreated(early.addSecs(-1));
        pack.addPayment(replaced);
        QCOMPARE(pack.created(), early.addSecs(-1));
        pack.setPayments({priced(1, 0), first, second}, false);
        QCOMPARE(pack.created(), early);
        pack.setPayments({}, false);
        QVERIFY(pack.created().isNull());
    }

    void barcodeIndex()
    {
        QVERIFY(!BarcodeProviderIndex().isValid());
        const int intMin = std::numeric_limits<int>::min(),
                  intMax = std::numeric_limits<int>::max();
        // {providerId, fromSymbol, toSymbol, fromValue (toValue is 9), valid, fieldSize}
        const std::tuple<qint64, int, int, quint64, bool, int> rows[] = {{5, 3, 3, 1, true, 1},
            {5, 0, 4, 9, true, 5}, {0, 0, 4, 1, false, 5}, {5, -1, 4, 1, false, 6},
            {5, 5, 4, 1, false, 0}, {5, 0, 4, 10, false, 5}, {5, intMin, intMax, 1, false, intMax}};
        for (const auto &[providerId, from, to, low, valid, size] : rows) {
            BarcodeProviderIndex index;
            index.setProviderId(providerId);
            index.setFromSymbol(from);
            index.setToSymbol(to);
            index.setFromValue(low);
            index.setToValue(9);
            QCOMPARE(qMakePair(index.isValid(), index.fieldSize()), qMakePair(valid, size));
        }
    }

    void parameterDetail()
    {
        QCOMPARE(toJson(ProviderParameter().toDetail()),
            R"({"checkLabel":"","data":"","items":[],"kind":-1,"label":"","mask":"","name":"",)"
            R"("pos":-1,"printable":true,"readonly":false,"regexp":"","value":"","values":{}})");
        ProviderParameter city, street, house, address;
        city.setName("city");
        house.setRegExp("\\d+");
        street.setItems({house});
        address.setItems({city, street});
        const QVariantList items = address.toDetail().value("items").toList();
        QCOMPARE(items, QVariantList({city.toDetail(), street.toDetail()}));
        QCOMPARE(items.at(1).toMap().value("items"), QVariant(QVariantList {house.toDetail()}));
        // Both positions must be set for the barcode keys; text that is no number means "unset".
        ProviderParameter parameter;
        parameter.setBarcodeStart(0);
        QVERIFY(!parameter.toDetail().contains("barcodeStart"));
        parameter.setBarcodeFinish(QVariant("5"));
        QCOMPARE(parameter.toDetail().value("barcodeStart"), QVariant(0));
        QCOMPARE(parameter.toDetail().value("barcodeFinish"), QVariant(5));
        parameter.setBarcodeStart(QVariant());
        parameter.setBarcodeFinish(QVariant(QString()));
        QCOMPARE(qMakePair(parameter.barcodeStart(), parameter.barcodeFinish()), qMakePair(-1, -1));
        parameter.setBarcodeStart(QVariant("abc"));
        QCOMPARE(parameter.barcodeStart(), -1);
    }

    void reply_data()
    {
        addRows<QString, bool, qint64, bool, bool, bool>(
            {"json", "valid", "uid", "resultFailed", "hasError", "error"},
            {{"uid number", "{'uid': 123}", true, 123, false, false, false},
                {"uid string", "{'uid': '123'}", true, 123, false, false, false},
                {"uid negative", "{'uid': '-5'}", true, -5, false, false, false},
                {"uid largest", "{'uid': '9223372036854775807'}", true, maxUnits, false, false,
                    false},
                {"uid 2^63", "{'uid': 9223372036854775808}", true, 0, false, false, false},
                {"uid 2^63 text", "{'uid': '9223372036854775808'}", true, 0, false, false, false},
                {"uid fraction", "{'uid': 123.5}", true, 0, false, false, false},
                {"uid text", "{'uid': '123abc'}", true, 0, false, false, false},
                {"uid flag", "{'uid': true}", true, 0, false, false, false},
                {"uid object", "{'uid': {'v': 123}}", true, 0, false, false, false},
                {"result 0", "{'result': 0}", true, 0, false, false, false},
                {"result '0'", "{'result': '0'}", true, 0, false, false, false},
                {"result null", "{'result': null}", true, 0, false, false, false},
                {"result 7", "{'result': 7}", true, 0, true, false, false},
                {"result -1", "{'result': -1}", true, 0, true, false, false},
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

    void identifier()
    {
        using Generator = PaymentI64IdGenerator;
        QCOMPARE(Generator::crc24("123456789"), 0xD0D811u);
        QCOMPARE(Generator::crc24(QByteArray()), 0xFFFFFFu);
        const QDate date(2014, 7, 15), last(2123, 12, 31);
        QCOMPARE(Generator::generate(1, "abc", date), 0x4000011CEFB7BA40LL);
        QCOMPARE(Generator::generateString(1, "abc", date), QStringLiteral("4000-011c-efb7-ba40"));
        // Only the low 22 bits of the number count; the date field holds the two-digit year.
        QCOMPARE(Generator::generateString(0xFFFFFFFF, "abc", last),
            QStringLiteral("7fff-ff2f-9fb7-ba40"));
        const QDate today = QDate::currentDate();
        const long long clock = Generator(1, "abc");
        if (today == QDate::currentDate()) // unless the day turned over meanwhile
            QCOMPARE(clock, Generator::generate(1, "abc", today));
    }
};

QTEST_GUILESS_MAIN(tst_Records)
#include "tst_records.moc"
