#ifndef BOXCOMPROFILEITEM_H
#define BOXCOMPROFILEITEM_H

#include "comission.h"
#include "corvexmodel_global.h"
#include "fixnumber.h"
#include "paymentenums.h"

#include <QMetaType>

// An entry of a terminal commission profile: the schedule and check flags for one provider
// group or one provider.
class CORVEXMODEL_EXPORT BoxComProfileItem
{
public:
    BoxComProfileItem() = default;
    BoxComProfileItem(const BoxComProfileItem &) = default;
    BoxComProfileItem(BoxComProfileItem &&) = default;
    BoxComProfileItem &operator=(const BoxComProfileItem &) = default;
    BoxComProfileItem &operator=(BoxComProfileItem &&) = default;
    ~BoxComProfileItem() = default;

    long long id() const { return m_id; }
    void setId(const long long &id) { m_id = id; }
    long long profileId() const { return m_profileId; }
    void setProfileId(const long long &profileId) { m_profileId = profileId; }
    long long providerGroupId() const { return m_providerGroupId; }
    void setProviderGroupId(const long long &providerGroupId);
    long long providerId() const { return m_providerId; }
    void setProviderId(const long long &providerId) { m_providerId = providerId; }
    Comission commission() const { return m_commission; }
    void setCommission(const Comission &commission) { m_commission = commission; }
    Comission commissionChange() const { return m_commissionChange; }
    void setCommissionChange(const Comission &commissionChange);
    bool exclude() const { return m_exclude; }
    void setExclude(bool exclude) { m_exclude = exclude; }
    EPayCheckFlags payCheckFlags() const { return m_payCheckFlags; }
    void setPayCheckFlags(const EPayCheckFlags &payCheckFlags) { m_payCheckFlags = payCheckFlags; }

    FixNumber calcComission(FixNumber summ, bool inner) const;

    bool operator==(const BoxComProfileItem &other) const;
    bool operator!=(const BoxComProfileItem &other) const;

private:
    long long m_id = -1;
    long long m_profileId = -1;
    long long m_providerGroupId = -1;
    long long m_providerId = -1;
    Comission m_commission;
    Comission m_commissionChange;
    bool m_exclude = false;
    EPayCheckFlags m_payCheckFlags;
};

Q_DECLARE_METATYPE(BoxComProfileItem)

#endif // BOXCOMPROFILEITEM_H
