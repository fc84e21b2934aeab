#ifndef BITFLAGS_H
#define BITFLAGS_H

#include <QBitArray>

// The low `size` bits of a 64-bit word as a bit array, bit 0 first: the form in which commission
// rules carry their coin, weekday and month flags. Internal to the model library.
inline QBitArray bitArrayFromWord(quint64 word, int size)
{
    QBitArray bits(size);
    for (int i = 0; i < size && i < 64; ++i)
        bits.setBit(i, (word >> i) & 1ULL);
    return bits;
}

#endif // BITFLAGS_H
