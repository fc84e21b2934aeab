#ifndef CHECKPAYMENTDATA_H
#define CHECKPAYMENTDATA_H

#include "corvexmodel_global.h"
#include "paymentenums.h"

#include <QString>

// The check data of a payment: its uid, check flags and state, and the check's outcome.
class CORVEXMODEL_EXPORT CheckPaymentData
{
public:
    CheckPaymentData() = default;

    qint64 uid() const { return m_uid; }
    void setUid(const qint64 &uid) { m_uid = uid; }
    EPayCheckFlags flags() const { return m_flags; }
    void setFlags(const EPayCheckFlags &flags) { m_flags = flags; }
    EPayCheckStates state() const { return m_state; }
    void setState(const EPayCheckStates &state) { m_state = state; }
    QString description() const { return m_description; }
    void setDescription(const QString &description) { m_description = description; }
    int result() const { return m_result; }
    void setResult(const int &result) { m_result = result; }
    QString resultDescription() const { return m_resultDescription; }
    void setResultDescription(const QString &resultDescription)
    {
        m_resultDescription = resultDescription;
    }

    bool operator==(const CheckPaymentData &other) const;
    bool operator!=(const CheckPaymentData &other) const { return !(*this == other); }

private:
    qint64 m_uid = 0;
    EPayCheckFlags m_flags;
    EPayCheckStates m_state;
    QString m_description;
    int m_result = 0;
    QString m_resultDescription;
};

#endif // CHECKPAYMENTDATA_H
