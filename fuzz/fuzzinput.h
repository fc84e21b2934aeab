#ifndef FUZZINPUT_H
#define FUZZINPUT_H

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstring>

// Reads typed values off the fuzzer's bytes, front to back; what is left over is text.
class FuzzInput
{
public:
    FuzzInput(const uint8_t *data, size_t size)
        : m_data(data)
        , m_size(size)
    { }

    template<typename T> T take()
    {
        T value {};
        const size_t n = std::min(sizeof(T), m_size - m_pos);
        std::memcpy(&value, m_data + m_pos, n);
        m_pos += n;
        return value;
    }

    bool flag() { return take<uint8_t>() & 1; }

    QString rest() const
    {
        return QString::fromUtf8(
            reinterpret_cast<const char *>(m_data + m_pos), int(m_size - m_pos));
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// A failed invariant stops the fuzzer with a report, like a crash.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            fprintf(stderr, "invariant failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);     \
            abort();                                                                               \
        }                                                                                          \
    } while (false)

#endif // FUZZINPUT_H
