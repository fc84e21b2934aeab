#include "providerparameter.h"

namespace {

// A value that does not read as a number means "not taken from barcodes", never position 0.
int barcodePosition(const QVariant &position)
{
    if (!position.isValid() || position.isNull())
        return -1;
    bool ok = false;
    const int result = position.toInt(&ok);
    return ok ? result : -1;
}

} // namespace

void ProviderParameter::setBarcodeStart(const QVariant &barcodeStart)
{
    m_barcodeStart = barcodePosition(barcodeStart);
}

void ProviderParameter::setBarcodeFinish(const QVariant &barcodeFinish)
{
    m_barcodeFinish = barcodePosition(barcodeFinish);
}

QVariantMap ProviderParameter::toDetail() const
{
    QVariantMap detail;
    detail.insert(QStringLiteral("name"), m_name);
    detail.insert(QStringLiteral("label"), m_label);
    detail.insert(QStringLiteral("pos"), m_pos);
    detail.insert(QStringLiteral("checkLabel"), m_checkLabel);
    detail.insert(QStringLiteral("regexp"), m_regExp);
    detail.insert(QStringLiteral("mask"), m_mask);
    detail.insert(QStringLiteral("data"), m_data);
    detail.insert(QStringLiteral("kind"), m_kind);
    detail.insert(QStringLiteral("value"), m_value);
    detail.insert(QStringLiteral("printable"), m_printable);
    if (m_barcodeStart >= 0 && m_barcodeFinish >= 0) {
        detail.insert(QStringLiteral("barcodeStart"), m_barcodeStart);
        detail.insert(QStringLiteral("barcodeFinish"), m_barcodeFinish);
    }
    QVariantList items;
    items.reserve(m_items.size());
    for (const ProviderParameter &item : m_items)
        items.append(item.toDetail());
    detail.insert(QStringLiteral("items"), items);
    detail.insert(QStringLiteral("readonly"), m_barcodeReadOnly);
    detail.insert(QStringLiteral("values"), m_values);
    return detail;
}

bool ProviderParameter::operator==(const ProviderParameter &other) const
{
    // The barcode positions describe where a value comes from, not the parameter itself.
    return m_id == other.m_id && m_providerId == other.m_providerId
        && m_parentId == other.m_parentId && m_name == other.m_name && m_label == other.m_label
        && m_pos == other.m_pos && m_checkLabel == other.m_checkLabel && m_regExp == other.m_regExp
        && m_mask == other.m_mask && m_value == other.m_value
        && m_keyboardType == other.m_keyboardType && m_keyboardLanguage == other.m_keyboardLanguage
        && m_keyboardLayout == other.m_keyboardLayout
        && m_useInOnlineCheck == other.m_useInOnlineCheck && m_kind == other.m_kind
        && m_data == other.m_data && m_items == other.m_items && m_printable == other.m_printable
        && m_barcodeReadOnly == other.m_barcodeReadOnly && m_values == other.m_values;
}
