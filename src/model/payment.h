#ifndef PAYMENT_H
#define PAYMENT_H

#include "corvexmodel_global.h"
#include "fixnumber.h"
#include "paymentenums.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>

// One payment as the terminal keeps it. The details are the detail maps of the provider's
// parameters ("name", "checkLabel", "value", "pos", "printable", "items").
class CORVEXMODEL_EXPORT Payment
{
public:
    // Key of the additional map entry whose name/value pairs are printed after the details.
    static const QString PRINTABLE_ADDITIONAL_NAME;

    Payment() = default;

    qint64 id() const { return m_id; }
    void setId(const qint64 &id) { m_id = id; }
    qint64 operationId() const { return m_operationId; }
    void setOperationId(const qint64 &operationId) { m_operationId = operationId; }
    qint64 uid() const { return m_uid; }
    void setUid(const qint64 &uid) { m_uid = uid; }
    qint64 packId() const { return m_packId; }
    void setPackId(const qint64 &packId) { m_packId = packId; }
    qint64 providerId() const { return m_providerId; }
    void setProviderId(const qint64 &providerId) { m_providerId = providerId; }
    QString providerName() const { return m_providerName; }
    void setProviderName(const QString &providerName) { m_providerName = providerName; }
    QString providerCheckTitle() const { return m_providerCheckTitle; }
    void setProviderCheckTitle(const QString &providerCheckTitle)
    {
        m_providerCheckTitle = providerCheckTitle;
    }
    qint64 currencyId() const { return m_currencyId; }
    void setCurrencyId(const qint64 &currencyId) { m_currencyId = currencyId; }
    qint64 parentId() const { return m_parentId; }
    void setParentId(const qint64 &parentId) { m_parentId = parentId; }
    qint64 transactionId() const { return m_transactionId; }
    void setTransactionId(const qint64 &transactionId) { m_transactionId = transactionId; }
    qint64 cycleId() const { return m_cycleId; }
    void setCycleId(const qint64 &cycleId) { m_cycleId = cycleId; }
    QString account() const { return m_account; }
    void setAccount(const QString &account) { m_account = account; }
    FixNumber summ() const { return m_summ; }
    void setSumm(const FixNumber &summ) { m_summ = summ; }
    FixNumber comission() const { return m_comission; }
    void setComission(const FixNumber &comission) { m_comission = comission; }
    QDateTime created() const { return m_created; }
    void setCreated(const QDateTime &created) { m_created = created; }
    EPaymentState state() const { return m_state; }
    void setState(const EPaymentState &state) { m_state = state; }
    int substate() const { return m_substate; }
    void setSubstate(const int &substate) { m_substate = substate; }
    QString stateDescription() const { return m_stateDescription; }
    void setStateDescription(const QString &stateDescription)
    {
        m_stateDescription = stateDescription;
    }
    int result() const { return m_result; }
    void setResult(const int &result) { m_result = result; }
    QString resultDescription() const { return m_resultDescription; }
    void setResultDescription(const QString &resultDescription)
    {
        m_resultDescription = resultDescription;
    }
    QString comment() const { return m_comment; }
    void setComment(const QString &comment) { m_comment = comment; }
    int checkCopies() const { return m_checkCopies; }
    void setCheckCopies(const int &checkCopies) { m_checkCopies = checkCopies; }
    EPayCheckFlags checkFlags() const { return m_checkFlags; }
    void setCheckFlags(const EPayCheckFlags &checkFlags) { m_checkFlags = checkFlags; }
    EPayCheckStates checkState() const { return m_checkState; }
    void setCheckState(const EPayCheckStates &checkState) { m_checkState = checkState; }

    QList<QVariant> details() const { return m_details; }
    void setDetails(const QList<QVariant> &details) { m_details = details; }
    QString jsonDetails() const;
    void setJsonDetails(const QString &json);

    QMap<QString, QVariant> additionalMap() const { return m_additionalMap; }
    void setAdditionalMap(const QMap<QString, QVariant> &additionalMap)
    {
        m_additionalMap = additionalMap;
    }
    QString additionalData() const;
    void setAdditionalData(const QString &json);

    FixNumber total() const;
    bool isReposted() const { return m_parentId > 0; }

    QMap<QString, QVariant> detailValues() const;
    QString stringDetails() const;
    QStringList stringDetails(const QList<QVariant> &details, const QString &prefix) const;

    QByteArray paymentData() const;

    bool operator==(const Payment &other) const;
    bool operator!=(const Payment &other) const { return !(*this == other); }

private:
    qint64 m_id = 0;
    qint64 m_operationId = 0;
    qint64 m_uid = 0;
    qint64 m_packId = -1;
    qint64 m_providerId = 0;
    QString m_providerName;
    QString m_providerCheckTitle;
    qint64 m_currencyId = 0;
    qint64 m_parentId = 0;
    qint64 m_transactionId = 0;
    qint64 m_cycleId = 0;
    QString m_account;
    FixNumber m_summ {0u};
    FixNumber m_comission {0u};
    QDateTime m_created;
    EPaymentState m_state = static_cast<EPaymentState>(0);
    int m_substate = 0;
    QString m_stateDescription;
    int m_result = 0;
    QString m_resultDescription;
    QList<QVariant> m_details;
    QString m_comment;
    int m_checkCopies = 0;
    QMap<QString, QVariant> m_additionalMap;
    EPayCheckFlags m_checkFlags;
    EPayCheckStates m_checkState;
};

Q_DECLARE_METATYPE(Payment)

#endif // PAYMENT_H
