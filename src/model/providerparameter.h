#ifndef PROVIDERPARAMETER_H
#define PROVIDERPARAMETER_H

#include "corvexmodel_global.h"

#include <QList>
#include <QMap>
#include <QMetaType>
#include <QString>
#include <QVariant>
#include <QVariantMap>

// One input of a payment for a provider: a plain field, a drop-down (non-empty values) or a
// group of sub-parameters (non-empty items).
class CORVEXMODEL_EXPORT ProviderParameter
{
public:
    ProviderParameter() = default;

    qint64 id() const { return m_id; }
    void setId(const qint64 &id) { m_id = id; }
    qint64 providerId() const { return m_providerId; }
    void setProviderId(const qint64 &providerId) { m_providerId = providerId; }
    qint64 parentId() const { return m_parentId; }
    void setParentId(const qint64 &parentId) { m_parentId = parentId; }
    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    QString label() const { return m_label; }
    void setLabel(const QString &label) { m_label = label; }
    int pos() const { return m_pos; }
    void setPos(const int &pos) { m_pos = pos; }
    QString checkLabel() const { return m_checkLabel; }
    void setCheckLabel(const QString &checkLabel) { m_checkLabel = checkLabel; }
    QString regExp() const { return m_regExp; }
    void setRegExp(const QString &regExp) { m_regExp = regExp; }
    QString mask() const { return m_mask; }
    void setMask(const QString &mask) { m_mask = mask; }
    QString value() const { return m_value; }
    void setValue(const QString &value) { m_value = value; }
    QString keyboardType() const { return m_keyboardType; }
    void setKeyboardType(const QString &keyboardType) { m_keyboardType = keyboardType; }
    QString keyboardLanguage() const { return m_keyboardLanguage; }
    void setKeyboardLanguage(const QString &language) { m_keyboardLanguage = language; }
    QString keyboardLayout() const { return m_keyboardLayout; }
    void setKeyboardLayout(const QString &keyboardLayout) { m_keyboardLayout = keyboardLayout; }
    bool useInOnlineCheck() const { return m_useInOnlineCheck; }
    void setUseInOnlineCheck(bool useInOnlineCheck) { m_useInOnlineCheck = useInOnlineCheck; }
    qint64 kind() const { return m_kind; }
    void setKind(const qint64 &kind) { m_kind = kind; }
    QString data() const { return m_data; }
    void setData(const QString &data) { m_data = data; }

    int barcodeStart() const { return m_barcodeStart; }
    void setBarcodeStart(const int &barcodeStart) { m_barcodeStart = barcodeStart; }
    void setBarcodeStart(const QVariant &barcodeStart);
    int barcodeFinish() const { return m_barcodeFinish; }
    void setBarcodeFinish(const int &barcodeFinish) { m_barcodeFinish = barcodeFinish; }
    void setBarcodeFinish(const QVariant &barcodeFinish);

    QList<ProviderParameter> items() const { return m_items; }
    void setItems(const QList<ProviderParameter> &items) { m_items = items; }
    bool printable() const { return m_printable; }
    void setPrintable(bool printable) { m_printable = printable; }
    bool barcodeReadOnly() const { return m_barcodeReadOnly; }
    void setBarcodeReadOnly(bool barcodeReadOnly) { m_barcodeReadOnly = barcodeReadOnly; }
    QMap<QString, QVariant> values() const { return m_values; }
    void setValues(const QMap<QString, QVariant> &values) { m_values = values; }

    QVariantMap toDetail() const;

    bool operator==(const ProviderParameter &other) const;
    bool operator!=(const ProviderParameter &other) const { return !(*this == other); }

private:
    qint64 m_id = -1;
    qint64 m_providerId = -1;
    qint64 m_parentId = -1;
    QString m_name;
    QString m_label;
    int m_pos = -1;
    QString m_checkLabel;
    QString m_regExp;
    QString m_mask;
    QString m_value;
    QString m_keyboardType;
    QString m_keyboardLanguage;
    QString m_keyboardLayout;
    bool m_useInOnlineCheck = false;
    qint64 m_kind = -1;
    QString m_data;
    int m_barcodeStart = -1;
    int m_barcodeFinish = -1;
    QList<ProviderParameter> m_items;
    bool m_printable = true;
    bool m_barcodeReadOnly = false;
    QMap<QString, QVariant> m_values;
};

Q_DECLARE_METATYPE(ProviderParameter)

#endif // PROVIDERPARAMETER_H
