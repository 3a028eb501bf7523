#pragma once

#include <QString>

#include <memory>

class QFile;

namespace widgets::tk {

// A font file mapped into memory rather than read: every face and size of the file shares the
// mapping, and only the pages of the glyphs drawn become resident, so a large Chinese collection
// costs what its drawn glyphs cost.
class MappedFile
{
public:
    // The file, mapped once and shared while anyone holds it; null when it cannot be mapped.
    static std::shared_ptr<const MappedFile> open(const QString &path);

    ~MappedFile();
    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;

    const unsigned char *bytes() const { return m_bytes; }
    qint64 size() const { return m_size; }

private:
    MappedFile(std::unique_ptr<QFile> file, const unsigned char *bytes, qint64 size);

    std::unique_ptr<QFile> m_file; // closing it unmaps the bytes
    const unsigned char *m_bytes;
    qint64 m_size;
};

} // namespace widgets::tk
