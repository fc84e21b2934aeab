#include "provider.h"

bool Provider::operator==(const Provider &other) const
{
    // The icon and the hand-over barcode do not tell one payee from another.
    return m_id == other.m_id && m_baseProviderId == other.m_baseProviderId
        && m_group == other.m_group && m_dealerId == other.m_dealerId && m_name == other.m_name
        && m_aliases == other.m_aliases && m_services == other.m_services
        && m_region == other.m_region && m_legalName == other.m_legalName
        && m_checkName == other.m_checkName && m_description == other.m_description
        && m_inn == other.m_inn && m_address == other.m_address && m_site == other.m_site
        && m_imageHash == other.m_imageHash && m_imageFileName == other.m_imageFileName
        && m_phones == other.m_phones && m_noFiscalDoc == other.m_noFiscalDoc
        && m_noBonus == other.m_noBonus && m_splitByCommission == other.m_splitByCommission
        && m_printTwoSplittedDoc == other.m_printTwoSplittedDoc && m_blocked == other.m_blocked
        && m_enabled == other.m_enabled && m_parameters == other.m_parameters
        && m_fixedSumm == other.m_fixedSumm && m_relevance == other.m_relevance;
}
