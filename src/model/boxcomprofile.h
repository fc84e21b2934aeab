#ifndef BOXCOMPROFILE_H
#define BOXCOMPROFILE_H

#include "boxcomprofileitem.h"
#include "comission.h"
#include "corvexmodel_global.h"
#include "fixnumber.h"
#include "paymentenums.h"

#include <QList>
#include <QMap>
#include <QMetaType>
#include <QString>

// The commission profile of a terminal: a default schedule, overridden per provider group and
// per provider by its entries.
class CORVEXMODEL_EXPORT BoxComProfile
{
public:
    BoxComProfile() = default;
    BoxComProfile(const BoxComProfile &) = default;
    BoxComProfile(BoxComProfile &&) = default;
    BoxComProfile &operator=(const BoxComProfile &) = default;
    BoxComProfile &operator=(BoxComProfile &&) = default;
    ~BoxComProfile() = default;

    long long id() const { return m_id; }
    void setId(const long long &id) { m_id = id; }
    long long dealerId() const { return m_dealerId; }
    void setDealerId(const long long &dealerId) { m_dealerId = dealerId; }
    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    Comission defaultCommission() const { return m_defaultCommission; }
    void setDefaultCommission(const Comission &defaultCommission);
    QList<BoxComProfileItem> items() const { return m_items; }
    void setItems(const QList<BoxComProfileItem> &items);

    bool isValid() const;
    EPayCheckFlags getCheckFlags(long long providerGroupId, long long providerId) const;
    FixNumber calcComission(
        FixNumber summ, long long providerGroupId, long long providerId, bool inner) const;

    bool operator==(const BoxComProfile &other) const;
    bool operator!=(const BoxComProfile &other) const;

private:
    const BoxComProfileItem *usableItem(const QMap<long long, int> &index, long long key) const;

    long long m_id = -1;
    long long m_dealerId = -1;
    QString m_name;
    Comission m_defaultCommission;
    QList<BoxComProfileItem> m_items;
    QMap<long long, int> m_groupIndex;
    QMap<long long, int> m_providerIndex;
};

Q_DECLARE_METATYPE(BoxComProfile)

#endif // BOXCOMPROFILE_H
