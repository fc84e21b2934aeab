#ifndef COMISSION_H
#define COMISSION_H

#include "comissionitem.h"
#include "corvexmodel_global.h"
#include "fixnumber.h"

#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>

// A commission schedule: every rule in force at the moment of payment adds its commission.
class CORVEXMODEL_EXPORT Comission
{
public:
    Comission() = default;
    Comission(const Comission &) = default;
    Comission(Comission &&) = default;
    Comission &operator=(const Comission &) = default;
    Comission &operator=(Comission &&) = default;
    ~Comission() = default;

    long long id() const { return m_id; }
    void setId(const long long &id) { m_id = id; }
    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    bool terminalUsingPay() const { return m_terminalUsingPay; }
    void setTerminalUsingPay(bool terminalUsingPay) { m_terminalUsingPay = terminalUsingPay; }
    int truncCommission() const { return m_truncCommission; }
    void setTruncCommission(const int &truncCommission) { m_truncCommission = truncCommission; }
    FixNumber prePay() const { return m_prePay; }
    void setPrePay(const FixNumber &prePay) { m_prePay = prePay; }
    bool dividePrePay() const { return m_dividePrePay; }
    void setDividePrePay(bool dividePrePay) { m_dividePrePay = dividePrePay; }
    QList<ComissionItem> items() const { return m_items; }
    void setItems(const QList<ComissionItem> &items);

    bool isValid() const;
    FixNumber calcComission(const FixNumber &summ, bool inner) const;
    FixNumber calcComission(const FixNumber &summ, bool inner, const QDateTime &now) const;

    bool operator==(const Comission &other) const;
    bool operator!=(const Comission &other) const;

private:
    long long m_id = -1;
    QString m_name;
    bool m_terminalUsingPay = false;
    int m_truncCommission = -1;
    FixNumber m_prePay;
    bool m_dividePrePay = false;
    QList<ComissionItem> m_items;
};

Q_DECLARE_METATYPE(Comission)

#endif // COMISSION_H
