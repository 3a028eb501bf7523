#pragma once

// Reads a fuzzer's bytes as the values a target needs. Once the bytes run out every read gives zero
// or an empty text, so any input, even an empty one, decodes to something.

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace fuzzing {

class FuzzInput
{
public:
    FuzzInput(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}

    bool empty() const { return m_at >= m_size; }

    uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }

    // A value in 0 .. count - 1.
    int choice(int count) { return count <= 0 ? 0 : byte() % count; }

    int32_t integer()
    {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value = value << 8 | byte();
        int32_t result;
        std::memcpy(&result, &value, sizeof result);
        return result;
    }

    // A text of up to maxUnits UTF-16 code units, two bytes each: any unit can arrive, lone
    // surrogates and control characters included. The first byte gives the length.
    QString text(int maxUnits = 255)
    {
        const int units = qMin(int(byte()), maxUnits);
        QString text;
        text.reserve(units);
        for (int i = 0; i < units && !empty(); ++i) {
            const char16_t high = byte();
            text.append(QChar(char16_t(high << 8 | byte())));
        }
        return text;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_at = 0;
};

} // namespace fuzzing
