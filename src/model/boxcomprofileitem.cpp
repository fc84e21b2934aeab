#include "boxcomprofileitem.h"

void BoxComProfileItem::setProviderGroupId(const long long &providerGroupId)
{
    m_providerGroupId = providerGroupId;
}

void BoxComProfileItem::setCommissionChange(const Comission &commissionChange)
{
    m_commissionChange = commissionChange;
}

FixNumber BoxComProfileItem::calcComission(FixNumber summ, bool inner) const
{
    if (m_commission.isValid())
        return m_commission.calcComission(summ, inner);
    return FixNumber(summ.realMultiplier());
}

bool BoxComProfileItem::operator==(const BoxComProfileItem &other) const
{
    return m_id == other.m_id && m_profileId == other.m_profileId
        && m_providerGroupId == other.m_providerGroupId && m_providerId == other.m_providerId
        && m_commission == other.m_commission && m_commissionChange == other.m_commissionChange
        && m_exclude == other.m_exclude && m_payCheckFlags == other.m_payCheckFlags;
}

bool BoxComProfileItem::operator!=(const BoxComProfileItem &other) const
{
    return !(*this == other);
}
