#pragma once

#include <QString>

#include <algorithm>

namespace codegen {

// A text written piece by piece into room made ahead of it. The generator writes some twenty pieces
// a component; QString's append checks sharing and capacity each time and was most of the work for
// a large design. Here a piece is one check and a copy.
class TextWriter
{
public:
    explicit TextWriter(qsizetype expectedSize)
        : m_text(std::max<qsizetype>(expectedSize, 16), Qt::Uninitialized)
        , m_data(reinterpret_cast<char16_t *>(m_text.data()))
        , m_capacity(m_text.size())
    {
    }

    void append(QStringView piece) { std::copy_n(piece.utf16(), piece.size(), room(piece.size())); }
    void append(char16_t unit) { *room(1) = unit; }

    // Room for the next count characters, for a piece the caller writes itself.
    char16_t *room(qsizetype count)
    {
        if (count > m_capacity - m_size)
            grow(count);
        char16_t *at = m_data + m_size;
        m_size += count;
        return at;
    }

    // Written pieces as one text; the writer is empty afterwards.
    QString take()
    {
        m_text.truncate(m_size);
        m_size = m_capacity = 0;
        m_data = nullptr;
        return std::move(m_text);
    }

private:
    void grow(qsizetype count)
    {
        m_text.resize(std::max(m_capacity * 2, m_size + count));
        m_data = reinterpret_cast<char16_t *>(m_text.data());
        m_capacity = m_text.size();
    }

    QString m_text;
    char16_t *m_data;
    qsizetype m_size = 0;
    qsizetype m_capacity;
};

} // namespace codegen
