#include "paymenti64idgenerator.h"

#include <QStringList>

#include <array>

namespace {

constexpr quint32 Crc24Polynomial = 0x5D6DCB;
constexpr quint32 Crc24Init = 0xFFFFFF;
constexpr quint32 Crc24Mask = 0xFFFFFF;
constexpr quint64 NumberMask = 0x3FFFFF;

std::array<quint32, 256> makeCrc24Table()
{
    std::array<quint32, 256> table {};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 crc = i << 16;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x800000) ? ((crc << 1) ^ Crc24Polynomial) : (crc << 1);
        table[i] = crc & Crc24Mask;
    }
    return table;
}

quint32 reflect(quint32 value, int bits)
{
    quint32 result = 0;
    for (int i = 0; i < bits; ++i) {
        result = (result << 1) | (value & 1u);
        value >>= 1;
    }
    return result;
}

quint64 packedDate(const QDate &date)
{
    const quint64 year = static_cast<quint64>((date.year() % 100) & 0x7F);
    const quint64 month = static_cast<quint64>(date.month()) & 0xF;
    const quint64 day = static_cast<quint64>(date.day()) & 0x1F;
    return (year << 9) | (month << 5) | day;
}

} // namespace

PaymentI64IdGenerator::PaymentI64IdGenerator(unsigned int number, const QByteArray &data)
    : m_id(generate(number, data))
{ }

PaymentI64IdGenerator::PaymentI64IdGenerator(
    unsigned int number, const QByteArray &data, const QDate &date)
    : m_id(generate(number, data, date))
{ }

long long PaymentI64IdGenerator::generate(unsigned int number, const QByteArray &data)
{
    return generate(number, data, QDate::currentDate());
}

long long PaymentI64IdGenerator::generate(
    unsigned int number, const QByteArray &data, const QDate &date)
{
    const quint64 id = (quint64(1) << 62) | ((quint64(number) & NumberMask) << 40)
        | (packedDate(date) << 24) | crc24(data);
    return static_cast<long long>(id);
}

QString PaymentI64IdGenerator::generateString(unsigned int number, const QByteArray &data)
{
    return generateString(number, data, QDate::currentDate());
}

QString PaymentI64IdGenerator::generateString(
    unsigned int number, const QByteArray &data, const QDate &date)
{
    const QString hex = QStringLiteral("%1").arg(
        static_cast<quint64>(generate(number, data, date)), 16, 16, QLatin1Char('0'));
    QStringList groups;
    for (int i = 0; i < hex.size(); i += 4)
        groups.append(hex.mid(i, 4));
    return groups.join(QLatin1Char('-'));
}

quint32 PaymentI64IdGenerator::crc24(const QByteArray &data)
{
    static const std::array<quint32, 256> table = makeCrc24Table();
    quint32 crc = Crc24Init;
    for (const char byte : data) {
        const quint32 reflected = reflect(static_cast<quint8>(byte), 8);
        const quint32 index = (reflected ^ (crc >> 16)) & 0xFF;
        crc = ((crc << 8) ^ table[index]) & Crc24Mask;
    }
    return reflect(crc, 24);
}
