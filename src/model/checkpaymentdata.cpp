#include "checkpaymentdata.h"

bool CheckPaymentData::operator==(const CheckPaymentData &other) const
{
    return m_uid == other.m_uid && m_flags == other.m_flags && m_state == other.m_state
        && m_description == other.m_description && m_result == other.m_result
        && m_resultDescription == other.m_resultDescription;
}
