#ifndef SATURATING_H
#define SATURATING_H

#include <QtGlobal>

#include <limits>

// Sums of money in unit counts: an overflow sticks at the nearest limit instead of wrapping
// round to an amount of the other sign. Internal to the model library.
namespace Saturating {

inline qint64 limit(bool positive)
{
    return positive ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
}

inline qint64 add(qint64 a, qint64 b)
{
    qint64 sum = 0;
    return __builtin_add_overflow(a, b, &sum) ? limit(b > 0) : sum;
}

inline qint64 subtract(qint64 a, qint64 b)
{
    qint64 difference = 0;
    return __builtin_sub_overflow(a, b, &difference) ? limit(b < 0) : difference;
}

} // namespace Saturating

#endif // SATURATING_H
