#include "providerparameter.h"

#include <QtTest>

class tst_ProviderParameter : public QObject
{
    Q_OBJECT

private slots:
    void detail();
    void barcodePositions();
    void equality();
};

void tst_ProviderParameter::detail()
{
    const QVariantMap empty = ProviderParameter().toDetail();
    QCOMPARE(empty.keys(),
        QStringList({"checkLabel", "data", "items", "kind", "label", "mask", "name", "pos",
            "printable", "readonly", "regexp", "value", "values"}));
    QCOMPARE(empty.value("kind"), QVariant(qint64(-1)));
    QCOMPARE(empty.value("pos"), QVariant(-1));
    QCOMPARE(empty.value("printable"), QVariant(true));
    QCOMPARE(empty.value("items"), QVariant(QVariantList()));

    ProviderParameter city, street, house, address;
    city.setName("city");
    house.setRegExp("\\d+");
    street.setItems({house});
    address.setItems({city, street});
    const QVariantList items = address.toDetail().value("items").toList();
    QCOMPARE(items, QVariantList({city.toDetail(), street.toDetail()}));
    QCOMPARE(items.at(1).toMap().value("items"), QVariant(QVariantList {house.toDetail()}));
}

void tst_ProviderParameter::barcodePositions()
{
    ProviderParameter parameter;
    parameter.setBarcodeStart(0);
    QVERIFY(!parameter.toDetail().contains("barcodeStart"));
    parameter.setBarcodeFinish(QVariant("5"));
    QCOMPARE(parameter.toDetail().value("barcodeStart"), QVariant(0));
    QCOMPARE(parameter.toDetail().value("barcodeFinish"), QVariant(5));

    parameter.setBarcodeStart(QVariant());
    QCOMPARE(parameter.barcodeStart(), -1);
    parameter.setBarcodeFinish(QVariant(QString()));
    QCOMPARE(parameter.barcodeFinish(), -1);
    parameter.setBarcodeStart(QVariant("abc")); // garbage must not become position 0
    QCOMPARE(parameter.barcodeStart(), -1);
}

void tst_ProviderParameter::equality()
{
    ProviderParameter base, other, child;
    base.setValues({{"a", 1}});
    child.setValue("x");
    base.setItems({child, ProviderParameter()});
    other = base;
    other.setBarcodeStart(1);
    other.setBarcodeFinish(9);
    QVERIFY(base == other);
    ProviderParameter changed[] = {base, base, base, base, base};
    changed[0].setPrintable(false);
    changed[1].setBarcodeReadOnly(true);
    changed[2].setValues({{"a", 2}});
    changed[3].setItems({ProviderParameter(), child});
    changed[4].setItems({child});
    for (const ProviderParameter &parameter : changed)
        QVERIFY(parameter != base);
}

QTEST_GUILESS_MAIN(tst_ProviderParameter)

#include "tst_providerparameter.moc"
