#ifndef BARCODEPROVIDERINDEX_H
#define BARCODEPROVIDERINDEX_H

#include "corvexmodel_global.h"

#include <QtGlobal>

// An entry of the host's barcode table: a barcode whose characters fromSymbol to toSymbol
// (both included, counted from 0) read as a number from fromValue to toValue belongs to
// providerId.
class CORVEXMODEL_EXPORT BarcodeProviderIndex
{
public:
    BarcodeProviderIndex() = default;

    qint64 providerId() const { return m_providerId; }
    void setProviderId(const qint64 &providerId) { m_providerId = providerId; }
    int fromSymbol() const { return m_fromSymbol; }
    void setFromSymbol(const int &fromSymbol) { m_fromSymbol = fromSymbol; }
    int toSymbol() const { return m_toSymbol; }
    void setToSymbol(const int &toSymbol) { m_toSymbol = toSymbol; }
    quint64 fromValue() const { return m_fromValue; }
    void setFromValue(const quint64 &fromValue) { m_fromValue = fromValue; }
    quint64 toValue() const { return m_toValue; }
    void setToValue(const quint64 &toValue) { m_toValue = toValue; }

    int fieldSize() const;
    bool isValid() const;

    bool operator==(const BarcodeProviderIndex &other) const;
    bool operator!=(const BarcodeProviderIndex &other) const { return !(*this == other); }

private:
    qint64 m_providerId = -1;
    int m_fromSymbol = -1;
    int m_toSymbol = -1;
    quint64 m_fromValue = 0;
    quint64 m_toValue = 0;
};

#endif // BARCODEPROVIDERINDEX_H
