#include "barcodeproviderindex.h"
#include "provider.h"

#include <QtTest>

static Provider withParameters(const QStringList &names)
{
    Provider provider;
    for (const QString &name : names) {
        provider.parameters().append(ProviderParameter());
        provider.parameters().last().setName(name);
    }
    return provider;
}

class tst_Provider : public QObject
{
    Q_OBJECT

private slots:
    void provider()
    {
        const Provider base = withParameters({"a", "b"});
        Provider other = base;
        other.setIcon("icon.png");
        other.setBarcode("4600000000");
        QVERIFY(base == other);
        QVERIFY(base != withParameters({"b", "a"}) && base != withParameters({"a"}));
        other.setPhones("+7");
        QVERIFY(base != other);
        ProvidersGroup group;
        group.setId(15);
        group.setName("Banks");
        other = base;
        other.setGroup(group);
        QVERIFY(base != other);
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
};

QTEST_GUILESS_MAIN(tst_Provider)
#include "tst_provider.moc"
