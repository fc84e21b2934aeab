#ifndef COMISSIONITEM_H
#define COMISSIONITEM_H

#include "comissionitemcondition.h"
#include "corvexmodel_global.h"
#include "fixnumber.h"

#include <QBitArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVector>

// A dated commission rule: the days, weekday half-hours and month days it is in force, and the
// amount-range conditions that make up its commission.
class CORVEXMODEL_EXPORT ComissionItem
{
public:
    ComissionItem();
    ComissionItem(const ComissionItem &) = default;
    ComissionItem(ComissionItem &&) = default;
    ComissionItem &operator=(const ComissionItem &) = default;
    ComissionItem &operator=(ComissionItem &&) = default;
    ~ComissionItem() = default;

    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    FixNumber summ() const { return m_summ; }
    void setSumm(const FixNumber &summ) { m_summ = summ; }
    QDate dtFrom() const { return m_dtFrom; }
    void setDtFrom(const QDate &dtFrom) { m_dtFrom = dtFrom; }
    QDate dtTo() const { return m_dtTo; }
    void setDtTo(const QDate &dtTo) { m_dtTo = dtTo; }
    QList<ComissionItemCondition> conditions() const { return m_conditions; }
    void setConditions(const QList<ComissionItemCondition> &conditions);

    QVector<QBitArray> daysMatrix() const { return m_daysMatrix; }
    void setDaysMatrix(const QVector<QBitArray> &daysMatrix) { m_daysMatrix = daysMatrix; }
    void setDaysMatrix(const QStringList &daysMatrix);
    QVector<QBitArray> monthMatrix() const { return m_monthMatrix; }
    void setMonthMatrix(const QVector<QBitArray> &monthMatrix) { m_monthMatrix = monthMatrix; }
    void setMonthMatrix(const QStringList &monthMatrix);

    bool checkDt(const QDateTime &dt) const;
    FixNumber calcComission(const FixNumber &summ, bool inner) const;

    bool operator==(const ComissionItem &other) const;
    bool operator!=(const ComissionItem &other) const;

private:
    friend class Comission;
    // The calendar fields of one moment, worked out once for every rule of a schedule.
    struct Moment
    {
        qint64 julianDay;
        int month;
        int day;
        int weekDay;
        int slot;
    };
    static Moment momentOf(const QDateTime &dt);
    bool inForce(const Moment &moment) const;

    QString m_name;
    FixNumber m_summ {0u, 0LL};
    QDate m_dtFrom;
    QDate m_dtTo;
    QVector<QBitArray> m_daysMatrix;
    QVector<QBitArray> m_monthMatrix;
    QList<ComissionItemCondition> m_conditions;
    bool m_daysMatrixLoaded = false;
    bool m_monthMatrixLoaded = false;
};

Q_DECLARE_METATYPE(ComissionItem)

#endif // COMISSIONITEM_H
