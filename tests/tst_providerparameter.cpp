#include "providerparameter.h"
#include "testutil.h"

#include <QtTest>

class tst_ProviderParameter : public QObject
{
    Q_OBJECT

private slots:
    void detail()
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

    void equality()
    {
        ProviderParameter base, child;
        base.setValues({{"a", 1}});
        child.setValue("x");
        base.setItems({child, ProviderParameter()});
        ProviderParameter other = base;
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
};

QTEST_GUILESS_MAIN(tst_ProviderParameter)
#include "tst_providerparameter.moc"
