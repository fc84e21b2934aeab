#include "providersgroup.h"

bool ProvidersGroup::operator==(const ProvidersGroup &other) const
{
    return m_id == other.m_id && m_name == other.m_name && m_relevance == other.m_relevance
        && m_description == other.m_description;
}
