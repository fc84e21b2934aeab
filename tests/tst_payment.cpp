#include "checkpaymentdata.h"
#include "payment.h"

#include <QtTest>

class tst_Payment : public QObject
{
    Q_OBJECT

private slots:
    void defaultsAndTotal();
    void jsonRoundTrip();
    void badJson_data();
    void badJson();
    void receiptExample();
    void receiptLines_data();
    void receiptLines();
    void deepNesting();
    void detailValues();
    void paymentData();
    void equality();
};

static QVariantMap detail(const QString &label, const QVariant &value, int pos,
    const QVariantList &items = {}, bool printable = true)
{
    QVariantMap map {{"name", label.toLower()}, {"checkLabel", label}, {"value", value},
        {"pos", pos}, {"items", items}};
    if (!printable)
        map.insert("printable", false);
    return map;
}

void tst_Payment::defaultsAndTotal()
{
    Payment payment;
    QCOMPARE(payment.packId(), qint64(-1));
    QCOMPARE(payment.id() | payment.uid() | payment.providerId() | payment.parentId(), qint64(0));
    QVERIFY(!payment.isReposted());
    QVERIFY(payment.stringDetails().isEmpty());

    payment.setSumm(FixNumber(100, 10000));
    payment.setComission(FixNumber(100, 150));
    QCOMPARE(payment.total().value(), 10150LL);
    // 100.00 + 1.500: raw unit counts would give 115.00.
    payment.setComission(FixNumber(1000, 1500));
    QCOMPARE(payment.total(), FixNumber(1000, 101500));
    payment.setSumm(FixNumber(1000, std::numeric_limits<qint64>::max()));
    QCOMPARE(payment.total().value(), std::numeric_limits<qint64>::max());
}

void tst_Payment::jsonRoundTrip()
{
    const QString json
        = R"([ {"name": "account", "value": "a b", "pos": 1}, {"items": [ {"value": 5} ]} ])";
    Payment payment;
    payment.setJsonDetails(json);
    const QString compact = payment.jsonDetails();
    QCOMPARE(compact,
        QStringLiteral(R"([{"name":"account","pos":1,"value":"a b"},)"
                       R"({"items":[{"value":5}]}])"));
    Payment copy;
    copy.setJsonDetails(compact);
    QCOMPARE(copy.details(), payment.details());

    payment.setAdditionalMap({{"detailsForPrint", QVariantMap {{"Shift", 5}}}});
    QVERIFY(payment.additionalData().contains("\n    \"detailsForPrint\": {\n"));
    copy.setAdditionalData(payment.additionalData());
    QCOMPARE(copy.additionalMap(), payment.additionalMap());
}

void tst_Payment::badJson_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<int>("details");
    QTest::addColumn<int>("additional");
    QTest::newRow("empty array") << "[]" << 0 << 0;
    QTest::newRow("array") << R"([{"a": 1}])" << 1 << 0;
    QTest::newRow("object") << R"({"a": 1})" << 0 << 1;
    QTest::newRow("not JSON") << "account=123" << 0 << 0;
    QTest::newRow("truncated") << R"([{"name": "account")" << 0 << 0;
    QTest::newRow("too deep") << QString(5000, '[') + QString(5000, ']') << 0 << 0;
    const QString item = QStringLiteral(R"({"name":"n","value":"%1"},)").arg(QString(200, 'v'));
    QTest::newRow("huge, broken at the end") << "[" + item.repeated(20000) << 0 << 0;
}

void tst_Payment::badJson()
{
    QFETCH(QString, json);
    QFETCH(int, details);
    QFETCH(int, additional);
    Payment payment;
    payment.setDetails({detail("Old", "1", 0)});
    payment.setAdditionalMap({{"old", 1}});
    payment.setJsonDetails(json);
    payment.setAdditionalData(json);
    QCOMPARE(payment.details().size(), details);
    QCOMPARE(payment.additionalMap().size(), additional);
    if (details == 0)
        QCOMPARE(payment.jsonDetails(), QStringLiteral("[]"));
}

void tst_Payment::receiptExample()
{
    Payment payment;
    payment.setDetails({detail("Account", "123", 1), detail("Phone", "7900", 0, {}, false),
        detail("Address", "", 2, {detail("City", "Omsk", 0), detail("Street", "Lenina", 1)})});
    payment.setAdditionalMap({{"detailsForPrint", QVariantMap {{"Shift", 5}}}});
    QCOMPARE(payment.stringDetails(),
        QStringLiteral("Account=123\tAddress=\t City=Omsk\t Street=Lenina\tShift=5"));
}

void tst_Payment::receiptLines_data()
{
    QTest::addColumn<QVariantList>("details");
    QTest::addColumn<QStringList>("lines");
    const QVariantMap hiddenLeaf = detail("In", "1", 0, {}, false);
    QTest::newRow("equal positions, later first") << QVariantList {detail("A", "1", 3),
        detail("B", "2", 3), detail("C", "3", 1)} << QStringList {"C=3", "B=2", "A=1"};
    QTest::newRow("hidden group, printing member")
        << QVariantList {detail("G", "", 0, {detail("In", "1", 0)}, false)}
        << QStringList {"G=\t In=1"};
    QTest::newRow("hidden group, hidden member")
        << QVariantList {detail("G", "", 0, {hiddenLeaf}, false)} << QStringList {};
    QTest::newRow("group, hidden member")
        << QVariantList {detail("G", "v", 0, {hiddenLeaf})} << QStringList {"G=v\t"};
    QTest::newRow("two levels") << QVariantList {detail(
        "A", "", 0, {detail("B", "", 0, {detail("C", "1", 0)})})}
                                << QStringList {"A=\t B=\t  C=1"};
    QTest::newRow("placeholders are text")
        << QVariantList {detail("Rate %1", "%2", 0)} << QStringList {"Rate %1=%2"};
    QTest::newRow("missing keys, not maps") << QVariantList {QVariantMap {{"pos", 1}}, QVariant(42),
        QVariant()} << QStringList {"=", "=", "="};
    QTest::newRow("wrong types") << QVariantList {QVariantMap {{"checkLabel", QVariantList {1}},
                                                      {"value", QVariantMap()}, {"pos", "first"},
                                                      {"items", "none"}},
        QVariantMap {{"checkLabel", "N"}, {"value", 7}, {"pos", 2.0}}}
                                 << QStringList {"=", "N=7"};
}

void tst_Payment::receiptLines()
{
    QFETCH(QVariantList, details);
    QFETCH(QStringList, lines);
    Payment payment;
    payment.setDetails(details);
    QCOMPARE(payment.stringDetails(details, QString()), lines);
    QCOMPARE(payment.stringDetails(), lines.join('\t'));
}

void tst_Payment::deepNesting()
{
    QVariantMap tree = detail("Leaf", "x", 0);
    for (int i = 0; i < 5000; ++i)
        tree = detail("Level", "", 0, {tree});
    Payment payment;
    payment.setDetails({tree});
    // The depth is capped: the innermost levels are left out rather than overflow the stack.
    const QStringList lines = payment.stringDetails().split('\t');
    QVERIFY(lines.size() > 10 && lines.size() < 5000);
    QVERIFY(lines.last().startsWith(QString(lines.size() - 1, ' ') + "Level="));
    QVERIFY(!payment.detailValues().isEmpty());
}

void tst_Payment::detailValues()
{
    Payment payment;
    payment.setDetails({detail("Account", "1", 0), detail("Account", "2", 0),
        detail("Addr", "", 1, {detail("City", "Omsk", 0), detail("Street", 5, 1)}), QVariant(3)});
    const QVariantMap values = payment.detailValues();
    QCOMPARE(values.value("account"), QVariant("2"));
    QCOMPARE(values.value("addr").toMap(), QVariantMap({{"city", "Omsk"}, {"street", 5}}));
    QCOMPARE(values.keys(), QStringList({"", "account", "addr"}));
    QVERIFY(!values.value("").isValid());
}

void tst_Payment::paymentData()
{
    Payment payment;
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
    payment.setId(99);

    QByteArray expected;
    QDataStream out(&expected, QIODevice::WriteOnly);
    out << qint64(1) << qint64(2) << qint64(3) << QString("Корвекс").toUtf8() << qint64(643)
        << QByteArray("40817") << qint64(10000) << qint64(150) << QByteArray("2014-07-15T12:30:05")
        << qint32(1) << payment.details().first() << QString("note");
    QCOMPARE(payment.paymentData(), expected);
}

void tst_Payment::equality()
{
    Payment base;
    base.setDetails({detail("Account", "1", 0)});
    Payment other = base;
    other.setComment("other");
    other.setProviderName("other");
    other.setResultDescription("other");
    QVERIFY(base == other);
    QVERIFY(QVariant::fromValue(other).value<Payment>() == base);
    Payment changed[] = {base, base, base, base};
    changed[0].setSumm(FixNumber(100, 1));
    changed[1].setDetails({});
    changed[2].setAdditionalMap({{"k", 1}});
    changed[3].setCheckFlags(PayCheckOnline);
    for (const Payment &payment : changed)
        QVERIFY(payment != base);

    CheckPaymentData check, checkCopy;
    checkCopy.setFlags(PayCheckOnline);
    QVERIFY(check != checkCopy && check == CheckPaymentData());
}

QTEST_GUILESS_MAIN(tst_Payment)

#include "tst_payment.moc"
