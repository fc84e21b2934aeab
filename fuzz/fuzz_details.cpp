// The payment's detail trees: JSON in, receipt lines, values, JSON and serialised data out.
#include "fuzzinput.h"
#include "payment.h"
#include "providerparameter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// A parameter built from whatever JSON object the input holds, its items included.
ProviderParameter parameterFrom(const QJsonObject &object, int depth)
{
    ProviderParameter parameter;
    parameter.setName(object.value(QLatin1String("name")).toString());
    parameter.setLabel(object.value(QLatin1String("label")).toString());
    parameter.setValue(object.value(QLatin1String("value")).toString());
    parameter.setPos(object.value(QLatin1String("pos")).toInt());
    parameter.setPrintable(object.value(QLatin1String("printable")).toBool(true));
    parameter.setBarcodeStart(object.value(QLatin1String("barcodeStart")).toVariant());
    parameter.setBarcodeFinish(object.value(QLatin1String("barcodeFinish")).toVariant());
    parameter.setValues(object.value(QLatin1String("values")).toObject().toVariantMap());
    QList<ProviderParameter> items;
    if (depth < 8) {
        for (const QJsonValue &item : object.value(QLatin1String("items")).toArray())
            items << parameterFrom(item.toObject(), depth + 1);
    }
    parameter.setItems(items);
    return parameter;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString json = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));

    Payment payment;
    payment.setJsonDetails(json);
    const QString lines = payment.stringDetails();
    (void)payment.detailValues();
    (void)payment.paymentData();

    // The JSON the payment writes reads back to the same details.
    const QString written = payment.jsonDetails();
    Payment copy;
    copy.setJsonDetails(written);
    FUZZ_CHECK(copy.jsonDetails() == written);
    FUZZ_CHECK(copy.stringDetails() == lines);

    payment.setAdditionalData(json);
    (void)payment.stringDetails();
    (void)payment.additionalData();

    // Parameters of any shape turn into detail maps the payment can print.
    const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8());
    QVariantList details;
    for (const QJsonValue &value : document.array())
        details << parameterFrom(value.toObject(), 0).toDetail();
    if (document.isObject())
        details << parameterFrom(document.object(), 0).toDetail();
    Payment built;
    built.setDetails(details);
    (void)built.stringDetails();
    (void)built.jsonDetails();
    return 0;
}
