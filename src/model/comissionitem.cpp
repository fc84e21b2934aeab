#include "comissionitem.h"

#include "bitflags.h"

namespace {

const int weekDays = 7;
const int halfHoursPerDay = 48;
const int months = 12;
const int defaultMonthDays = 32;
const int loadedMonthDays = 31;

bool loadMatrix(const QStringList &texts, int count, int bitCount, QVector<QBitArray> *matrix)
{
    if (texts.size() != count)
        return false;
    matrix->clear();
    for (const QString &text : texts)
        matrix->append(bitArrayFromWord(text.toULongLong(nullptr, 16), bitCount));
    return true;
}

// Negative indices come from a null date or time and never name a set bit.
bool matrixBit(const QVector<QBitArray> &matrix, int row, int bit)
{
    return row >= 0 && row < matrix.size() && bit >= 0 && bit < matrix.at(row).size()
        && matrix.at(row).testBit(bit);
}

} // namespace

ComissionItem::ComissionItem()
    : m_daysMatrix(weekDays, QBitArray(halfHoursPerDay))
    , m_monthMatrix(months, QBitArray(defaultMonthDays))
{ }

void ComissionItem::setConditions(const QList<ComissionItemCondition> &conditions)
{
    m_conditions = conditions;
}

void ComissionItem::setDaysMatrix(const QStringList &daysMatrix)
{
    m_daysMatrixLoaded = loadMatrix(daysMatrix, weekDays, halfHoursPerDay, &m_daysMatrix);
}

void ComissionItem::setMonthMatrix(const QStringList &monthMatrix)
{
    m_monthMatrixLoaded = loadMatrix(monthMatrix, months, loadedMonthDays, &m_monthMatrix);
}

bool ComissionItem::checkDt(const QDateTime &dt) const
{
    return inForce(momentOf(dt));
}

// Fields of a null date or time are 0, so their indices are negative and never name a set bit.
ComissionItem::Moment ComissionItem::momentOf(const QDateTime &dt)
{
    const QDate date = dt.date();
    const QTime time = dt.time();
    Moment moment {date.toJulianDay(), 0, 0, date.dayOfWeek(), -1};
    int year = 0;
    date.getDate(&year, &moment.month, &moment.day);
    if (time.isValid())
        moment.slot = time.hour() * 2 + time.minute() / 30;
    return moment;
}

bool ComissionItem::inForce(const Moment &moment) const
{
    if (m_dtFrom.isValid() && moment.julianDay < m_dtFrom.toJulianDay())
        return false;
    if (m_dtTo.isValid() && moment.julianDay > m_dtTo.toJulianDay())
        return false;
    if (m_monthMatrixLoaded && !matrixBit(m_monthMatrix, moment.month - 1, moment.day - 1))
        return false;
    if (!m_daysMatrixLoaded)
        return true;
    return matrixBit(m_daysMatrix, moment.weekDay - 1, moment.slot);
}

FixNumber ComissionItem::calcComission(const FixNumber &summ, bool inner) const
{
    FixNumber total(summ.realMultiplier());
    for (const ComissionItemCondition &condition : m_conditions) {
        if (inner) {
            if (summ >= condition.summRangeBottom() && summ <= condition.summRangeTop())
                total = Money::sum(total, condition.calcComission(summ, true));
            continue;
        }
        // The range of an outer condition applies to what the customer pays in the end.
        const FixNumber share = condition.calcComission(summ, false);
        const FixNumber gross = Money::sum(Money::sum(summ, total), share);
        if (gross >= condition.summRangeBottom() && gross <= condition.summRangeTop())
            total = Money::sum(total, share);
    }
    return total;
}

bool ComissionItem::operator==(const ComissionItem &other) const
{
    return m_name == other.m_name && m_summ == other.m_summ && m_dtFrom == other.m_dtFrom
        && m_dtTo == other.m_dtTo && m_daysMatrix == other.m_daysMatrix
        && m_monthMatrix == other.m_monthMatrix && m_conditions == other.m_conditions;
}

bool ComissionItem::operator!=(const ComissionItem &other) const
{
    return !(*this == other);
}
