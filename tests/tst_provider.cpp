#include "barcodeproviderindex.h"
#include "provider.h"

#include <QtTest>

class tst_Provider : public QObject
{
    Q_OBJECT

private slots:
    void provider();
    void barcodeIndex();
};

static Provider withParameters(const QStringList &names)
{
    Provider provider;
    for (const QString &name : names) {
        provider.parameters().append(ProviderParameter());
        provider.parameters().last().setName(name);
    }
    return provider;
}

void tst_Provider::provider()
{
    QVERIFY(Provider().id() == -1 && Provider().dealerId() == -1 && !Provider().enabled());
    const Provider base = withParameters({"a", "b"});
    Provider other = base;
    other.setIcon("icon.png");
    other.setBarcode("4600000000");
    QVERIFY(base == other);
    QVERIFY(base != withParameters({"b", "a"}));
    QVERIFY(base != withParameters({"a"}));
    other.setPhones("+7");
    QVERIFY(base != other);
    QCOMPARE(QVariant::fromValue(other).value<Provider>(), other);

    ProvidersGroup group;
    group.setId(15);
    group.setName("Banks");
    other = base;
    other.setGroup(group);
    QVERIFY(base != other);
    QCOMPARE(other.groupId(), qint64(15));
    QCOMPARE(other.groupName(), QStringLiteral("Banks"));
}

void tst_Provider::barcodeIndex()
{
    QVERIFY(!BarcodeProviderIndex().isValid());
    const int intMin = std::numeric_limits<int>::min(), intMax = std::numeric_limits<int>::max();
    const struct
    {
        qint64 providerId;
        int from, to;
        quint64 low;
        bool valid;
        int size;
    } rows[] = {{5, 3, 3, 1, true, 1}, {5, 0, 4, 9, true, 5}, {0, 0, 4, 1, false, 5},
        {5, -1, 4, 1, false, 6}, {5, 5, 4, 1, false, 0}, {5, 0, 4, 10, false, 5},
        {5, intMin, intMax, 1, false, intMax}};
    for (const auto &row : rows) {
        BarcodeProviderIndex index;
        index.setProviderId(row.providerId);
        index.setFromSymbol(row.from);
        index.setToSymbol(row.to);
        index.setFromValue(row.low);
        index.setToValue(9);
        QCOMPARE(index.isValid(), row.valid);
        QCOMPARE(index.fieldSize(), row.size);
        BarcodeProviderIndex copy = index;
        copy.setToValue(10);
        QVERIFY(copy != index);
    }
}

QTEST_GUILESS_MAIN(tst_Provider)

#include "tst_provider.moc"
