#ifndef PAYPACK_H
#define PAYPACK_H

#include "corvexmodel_global.h"
#include "fixnumber.h"
#include "payment.h"

#include <QDateTime>
#include <QList>
#include <QString>

// A basket of payments paid with one amount of cash. Payments not stored yet carry the
// temporary identifier -(position + 1), so ~id names their position; 0 marks a payment that
// is not in the pack yet.
class CORVEXMODEL_EXPORT PayPack
{
public:
    PayPack() = default;
    PayPack(const PayPack &) = default;
    PayPack(PayPack &&) = default;
    PayPack &operator=(const PayPack &) = default;
    PayPack &operator=(PayPack &&) = default;
    virtual ~PayPack();

    long long id() const { return m_id; }
    void setId(const long long &id) { m_id = id; }
    long long userId() const { return m_userId; }
    void setUserId(const long long &userId) { m_userId = userId; }
    QDateTime created() const { return m_created; }
    void setCreated(const QDateTime &created) { m_created = created; }
    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    FixNumber cashMoney() const { return m_cashMoney; }
    void setCashMoney(const FixNumber &cashMoney) { m_cashMoney = cashMoney; }
    QString comment() const { return m_comment; }
    void setComment(const QString &comment) { m_comment = comment; }
    QList<Payment> payments() const { return m_payments; }

    bool isNew() const;
    bool hasPayments() const { return !m_payments.isEmpty(); }
    bool isReady() const;

    FixNumber summ() const;
    FixNumber comission() const;
    FixNumber total() const;
    FixNumber oddMoney() const;

    void setPayments(const QList<Payment> &payments, bool renumber);
    void addPayment(const Payment &payment);
    void removePayment(int position);
    void removePayment(const Payment &payment);
    void setCurrencyForPayments(long long currencyId);

private:
    FixNumber sumOf(FixNumber (Payment::*amount)() const) const;
    bool hasMixedCurrencies() const;
    bool isPosition(long long position) const;

    long long m_id = 0;
    long long m_userId = 0;
    QDateTime m_created;
    QString m_name;
    QList<Payment> m_payments;
    FixNumber m_cashMoney;
    QString m_comment;
};

#endif // PAYPACK_H
