#ifndef CORVEXREQUEST_H
#define CORVEXREQUEST_H

#include "corvexmodel_global.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

// One request to the payment service: built by a data page, sent by a sender page, and matched
// with its reply through the uid.
class CORVEXMODEL_EXPORT CorvexRequest
{
public:
    enum ERequestType : qint32 {
        NoRequest = 0,
        RegistrationRequest = 3,
        RegistreTemplateRequest = 4,
        AllTemplatesRequest = 8,
        CheckParamsRequest = 9
    };

    CorvexRequest() = default;

    ERequestType type() const { return m_type; }
    void setType(const ERequestType &type) { m_type = type; }
    QString function() const { return m_function; }
    void setFunction(const QString &function) { m_function = function; }
    qint64 uid() const { return m_uid; }
    void setUid(const qint64 &uid) { m_uid = uid; }
    QVariantMap data() const { return m_data; }
    void setData(const QVariantMap &data) { m_data = data; }
    int currencyId() const { return m_currencyId; }
    void setCurrencyId(const int &currencyId) { m_currencyId = currencyId; }

    bool isValid() const;
    void generateUid(qint64 boxId);
    void generateUid(qint64 boxId, const QDateTime &moment);
    QVariantMap toMap() const;

    bool operator==(const CorvexRequest &other) const;
    bool operator!=(const CorvexRequest &other) const { return !(*this == other); }

private:
    ERequestType m_type = NoRequest;
    QString m_function;
    qint64 m_uid = 0;
    QVariantMap m_data;
    int m_currencyId = 0;
};

Q_DECLARE_METATYPE(CorvexRequest)

#endif // CORVEXREQUEST_H
