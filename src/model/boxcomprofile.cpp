#include "boxcomprofile.h"

void BoxComProfile::setDefaultCommission(const Comission &defaultCommission)
{
    m_defaultCommission = defaultCommission;
}

void BoxComProfile::setItems(const QList<BoxComProfileItem> &items)
{
    m_items = items;
    m_groupIndex.clear();
    m_providerIndex.clear();
    for (int i = 0; i < m_items.size(); ++i) {
        const BoxComProfileItem &item = m_items.at(i);
        if (item.providerGroupId() > 0)
            m_groupIndex.insert(item.providerGroupId(), i);
        if (item.providerId() > 0)
            m_providerIndex.insert(item.providerId(), i);
    }
}

bool BoxComProfile::isValid() const
{
    return m_id > 0 && (m_defaultCommission.isValid() || !m_items.isEmpty());
}

EPayCheckFlags BoxComProfile::getCheckFlags(long long providerGroupId, long long providerId) const
{
    int position = m_providerIndex.value(providerId, -1);
    if (position < 0)
        position = m_groupIndex.value(providerGroupId, -1);
    if (position < 0 || position >= m_items.size())
        return EPayCheckFlags();
    return m_items.at(position).payCheckFlags();
}

FixNumber BoxComProfile::calcComission(
    FixNumber summ, long long providerGroupId, long long providerId, bool inner) const
{
    if (const BoxComProfileItem *item = usableItem(m_providerIndex, providerId))
        return item->calcComission(summ, inner);
    if (const BoxComProfileItem *item = usableItem(m_groupIndex, providerGroupId))
        return item->calcComission(summ, inner);
    if (m_defaultCommission.isValid())
        return m_defaultCommission.calcComission(summ, inner);
    return FixNumber(summ.realMultiplier());
}

// An entry without a valid schedule is passed over, so the lookup falls back to the next level.
const BoxComProfileItem *BoxComProfile::usableItem(
    const QMap<long long, int> &index, long long key) const
{
    const auto found = index.constFind(key);
    if (found == index.constEnd() || found.value() < 0 || found.value() >= m_items.size())
        return nullptr;
    const BoxComProfileItem &item = m_items.at(found.value());
    return item.commission().isValid() ? &item : nullptr;
}

bool BoxComProfile::operator==(const BoxComProfile &other) const
{
    return m_id == other.m_id && m_dealerId == other.m_dealerId && m_name == other.m_name
        && m_defaultCommission == other.m_defaultCommission && m_items == other.m_items;
}

bool BoxComProfile::operator!=(const BoxComProfile &other) const
{
    return !(*this == other);
}
