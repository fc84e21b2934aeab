#ifndef COMISSIONITEMCONDITION_H
#define COMISSIONITEMCONDITION_H

#include "corvexmodel_global.h"
#include "fixnumber.h"

#include <QBitArray>
#include <QMetaType>
#include <QString>

// One amount range of a commission rule: a fixed part, a percentage and limits on the result.
class CORVEXMODEL_EXPORT ComissionItemCondition
{
public:
    ComissionItemCondition() = default;
    ComissionItemCondition(const ComissionItemCondition &) = default;
    ComissionItemCondition(ComissionItemCondition &&) = default;
    ComissionItemCondition &operator=(const ComissionItemCondition &) = default;
    ComissionItemCondition &operator=(ComissionItemCondition &&) = default;
    ~ComissionItemCondition() = default;

    FixNumber summRangeBottom() const { return m_summRangeBottom; }
    void setSummRangeBottom(const FixNumber &summRangeBottom)
    {
        m_summRangeBottom = summRangeBottom;
    }
    FixNumber summRangeTop() const { return m_summRangeTop; }
    void setSummRangeTop(const FixNumber &summRangeTop) { m_summRangeTop = summRangeTop; }
    FixNumber percent() const { return m_percent; }
    void setPercent(const FixNumber &percent) { m_percent = percent; }
    FixNumber minPercentCommissResult() const { return m_minPercentCommissResult; }
    void setMinPercentCommissResult(const FixNumber &minPercentCommissResult);
    FixNumber maxPercentCommissResult() const { return m_maxPercentCommissResult; }
    void setMaxPercentCommissResult(const FixNumber &maxPercentCommissResult);
    FixNumber fixCommiss() const { return m_fixCommiss; }
    void setFixCommiss(const FixNumber &fixCommiss) { m_fixCommiss = fixCommiss; }
    QBitArray coinBill() const { return m_coinBill; }
    void setCoinBill(const QBitArray &coinBill) { m_coinBill = coinBill; }
    void setCoinBill(const QString &coinBill);

    FixNumber calcComission(const FixNumber &summ, bool inner) const;

    bool operator==(const ComissionItemCondition &other) const;
    bool operator!=(const ComissionItemCondition &other) const;

private:
    FixNumber m_summRangeBottom {0u, 0LL};
    FixNumber m_summRangeTop {0u, 0LL};
    FixNumber m_percent {0u, 0LL};
    FixNumber m_minPercentCommissResult {0u, 0LL};
    FixNumber m_maxPercentCommissResult {0u, 0LL};
    FixNumber m_fixCommiss {0u, 0LL};
    QBitArray m_coinBill;
};

Q_DECLARE_METATYPE(ComissionItemCondition)

#endif // COMISSIONITEMCONDITION_H
