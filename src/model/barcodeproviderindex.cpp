#include "barcodeproviderindex.h"

#include <limits>

int BarcodeProviderIndex::fieldSize() const
{
    // Widened so that extreme symbol positions cannot overflow.
    const qint64 size = qint64(m_toSymbol) - qint64(m_fromSymbol) + 1;
    return int(qBound(
        qint64(std::numeric_limits<int>::min()), size, qint64(std::numeric_limits<int>::max())));
}

bool BarcodeProviderIndex::isValid() const
{
    return m_providerId > 0 && m_fromSymbol >= 0 && m_fromSymbol <= m_toSymbol
        && m_fromValue <= m_toValue;
}

bool BarcodeProviderIndex::operator==(const BarcodeProviderIndex &other) const
{
    return m_providerId == other.m_providerId && m_fromSymbol == other.m_fromSymbol
        && m_toSymbol == other.m_toSymbol && m_fromValue == other.m_fromValue
        && m_toValue == other.m_toValue;
}
