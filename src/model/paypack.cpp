#include "paypack.h"

namespace {

// Payments in different currencies cannot be summed; the multiplier 2, which no currency
// uses, marks such a result.
constexpr unsigned int MixedCurrencyMultiplier = 2;

// A payment without a valid time never counts as the earliest one.
bool isEarlier(const QDateTime &candidate, const QDateTime &current)
{
    return candidate.isValid() && (!current.isValid() || candidate < current);
}

} // namespace

PayPack::~PayPack() = default;

bool PayPack::isNew() const
{
    return m_id <= 0 || !m_created.isValid();
}

bool PayPack::isReady() const
{
    // A total that could not be formed reads as 0 and must not pass for covered.
    return isNew() && hasPayments() && !hasMixedCurrencies() && total() <= m_cashMoney;
}

FixNumber PayPack::summ() const
{
    return sumOf(&Payment::summ);
}

FixNumber PayPack::comission() const
{
    return sumOf(&Payment::comission);
}

FixNumber PayPack::total() const
{
    return Money::sum(summ(), comission());
}

// Payments in several currencies have no total, so no change is due for them.
FixNumber PayPack::oddMoney() const
{
    if (hasMixedCurrencies())
        return FixNumber();
    return Money::difference(m_cashMoney, total());
}

void PayPack::setPayments(const QList<Payment> &payments, bool renumber)
{
    m_payments = payments;
    m_created = QDateTime();
    for (const Payment &payment : qAsConst(m_payments)) {
        if (isEarlier(payment.created(), m_created))
            m_created = payment.created();
    }
    if (renumber) {
        for (int i = 0; i < m_payments.size(); ++i)
            m_payments[i].setId(-(qint64(i) + 1));
    }
}

void PayPack::addPayment(const Payment &payment)
{
    const bool wasEmpty = m_payments.isEmpty();
    if (payment.id() == 0) {
        m_payments.append(payment);
        m_payments.last().setId(-qint64(m_payments.size()));
    } else {
        const long long position = ~payment.id();
        if (!isPosition(position))
            return;
        m_payments[int(position)] = payment;
    }
    if (wasEmpty || isEarlier(payment.created(), m_created))
        m_created = payment.created();
}

void PayPack::removePayment(int position)
{
    if (isPosition(position))
        m_payments.removeAt(position);
}

void PayPack::removePayment(const Payment &payment)
{
    const long long position = ~payment.id();
    if (isPosition(position))
        m_payments.removeAt(int(position));
}

void PayPack::setCurrencyForPayments(long long currencyId)
{
    if (currencyId <= 0)
        return;
    for (Payment &payment : m_payments) {
        if (payment.currencyId() <= 0)
            payment.setCurrencyId(currencyId);
    }
}

FixNumber PayPack::sumOf(FixNumber (Payment::*amount)() const) const
{
    if (m_payments.isEmpty())
        return FixNumber();
    const FixNumber first = (m_payments.first().*amount)();
    if (m_payments.size() == 1)
        return first;
    if (hasMixedCurrencies())
        return FixNumber(MixedCurrencyMultiplier);

    FixNumber sum = first;
    for (int i = 1; i < m_payments.size(); ++i)
        sum = Money::sum(sum, (m_payments.at(i).*amount)());
    return sum;
}

bool PayPack::hasMixedCurrencies() const
{
    for (const Payment &payment : m_payments) {
        if (payment.currencyId() != m_payments.first().currencyId())
            return true;
    }
    return false;
}

bool PayPack::isPosition(long long position) const
{
    return position >= 0 && position < m_payments.size();
}
