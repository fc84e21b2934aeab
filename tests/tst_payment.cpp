#include "payment.h"
#include "testutil.h"

#include <QtTest>

static QVariantMap detail(const QString &label, const QVariant &value, int pos,
    const QVariantList &items = {}, bool printable = true)
{
    QVariantMap map {{"name", label.toLower()}, {"checkLabel", label}, {"value", value},
        {"pos", pos}, {"items", items}};
    if (!printable)
        map.insert("printable", false);
    return map;
}

using Raw = QPair<unsigned int, qint64>;
static Raw totalOf(const FixNumber &summ, const FixNumber &comission)
{
    Payment payment;
    payment.setSumm(summ);
    payment.setComission(comission);
    return {payment.total().realMultiplier(), payment.total().value()};
}

class tst_Payment : public QObject
{
    Q_OBJECT

private slots:
    // Amounts at different scales add up as amounts; a total beyond 64 bits at the finer scale
    // stays at the coarser one, at its limit.
    void total()
    {
        const qint64 max = std::numeric_limits<qint64>::max();
        QCOMPARE(totalOf(FixNumber(100, 10000), FixNumber(100, 150)), Raw(100, 10150));
        QCOMPARE(totalOf(FixNumber(100, 10000), FixNumber(1000, 1500)), Raw(1000, 101500));
        QCOMPARE(totalOf(FixNumber(1000, max), FixNumber(1000, 1500)), Raw(1000, max));
        QCOMPARE(totalOf(FixNumber(100, max), FixNumber(1000, 1)), Raw(100, max));
    }

    void jsonRoundTrip()
    {
        Payment payment, copy;
        payment.setJsonDetails(
            R"([ {"name": "account", "value": "a b", "pos": 1}, {"items": [ {"value": 5} ]} ])");
        QCOMPARE(payment.jsonDetails(),
            R"([{"name":"account","pos":1,"value":"a b"},{"items":[{"value":5}]}])");
        copy.setJsonDetails(payment.jsonDetails());
        QCOMPARE(copy.details(), payment.details());
        payment.setAdditionalMap({{"detailsForPrint", QVariantMap {{"Shift", 5}}}});
        QVERIFY(payment.additionalData().contains("\n    \"detailsForPrint\": {\n"));
        copy.setAdditionalData(payment.additionalData());
        QCOMPARE(copy.additionalMap(), payment.additionalMap());
    }

    // The same text goes to both setters; what is not an array or an object leaves nothing.
    void badJson_data()
    {
        const QString item = QStringLiteral(R"({"name":"n","value":"%1"},)").arg(QString(200, 'v'));
        addRows<QString, int, int>({"json", "details", "additional"},
            {{"empty array", "[]", 0, 0}, {"array", R"([{"a": 1}])", 1, 0},
                {"object", R"({"a": 1})", 0, 1}, {"not JSON", "account=123", 0, 0},
                {"truncated", R"([{"name": "account")", 0, 0},
                {"too deep", QString(5000, '[') + QString(5000, ']'), 0, 0},
                {"huge, broken at the end", "[" + item.repeated(20000), 0, 0}});
    }
    void badJson()
    {
        QFETCH(QString, json);
        QFETCH(int, details);
        Payment payment;
        payment.setDetails({detail("Old", "1", 0)});
        payment.setAdditionalMap({{"old", 1}});
        payment.setJsonDetails(json);
        payment.setAdditionalData(json);
        QCOMPARE(payment.details().size(), details);
        QTEST(int(payment.additionalMap().size()), "additional");
        if (details == 0)
            QCOMPARE(payment.jsonDetails(), QStringLiteral("[]"));
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

    void equality()
    {
        Payment base;
        base.setDetails({detail("Account", "1", 0)});
        Payment other = base;
        other.setComment("other");
        other.setProviderName("other");
        other.setResultDescription("other");
        QVERIFY(base == other);
        Payment changed[] = {base, base, base, base};
        changed[0].setSumm(FixNumber(100, 1));
        changed[1].setDetails({});
        changed[2].setAdditionalMap({{"k", 1}});
        changed[3].setCheckFlags(PayCheckOnline);
        for (const Payment &payment : changed)
            QVERIFY(payment != base);
    }
};

QTEST_GUILESS_MAIN(tst_Payment)
#include "tst_payment.moc"
