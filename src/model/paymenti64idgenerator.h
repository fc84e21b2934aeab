#ifndef PAYMENTI64IDGENERATOR_H
#define PAYMENTI64IDGENERATOR_H

#include "corvexmodel_global.h"

#include <QByteArray>
#include <QDate>
#include <QString>

// Builds positive 64-bit identifiers: bit 62 set, a 22-bit number in bits 40-61, the date in
// bits 24-39 (two-digit year, month, day) and a CRC-24 of the data in bits 0-23.
class CORVEXMODEL_EXPORT PaymentI64IdGenerator
{
public:
    PaymentI64IdGenerator(unsigned int number, const QByteArray &data);
    PaymentI64IdGenerator(unsigned int number, const QByteArray &data, const QDate &date);

    operator long long() const { return m_id; }

    static long long generate(unsigned int number, const QByteArray &data);
    static long long generate(unsigned int number, const QByteArray &data, const QDate &date);
    static QString generateString(unsigned int number, const QByteArray &data);
    static QString generateString(unsigned int number, const QByteArray &data, const QDate &date);

    static quint32 crc24(const QByteArray &data);

private:
    long long m_id;
};

#endif // PAYMENTI64IDGENERATOR_H
