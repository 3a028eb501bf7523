#include "widgets/tklook/fontfile.h"

#include <QFile>
#include <QHash>

namespace widgets::tk {

std::shared_ptr<const MappedFile> MappedFile::open(const QString &path)
{
    static QHash<QString, std::weak_ptr<const MappedFile>> opened;
    if (std::shared_ptr<const MappedFile> known = opened.value(path).lock())
        return known;

    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly) || file->size() <= 0)
        return nullptr;
    const qint64 size = file->size();
    const uchar *bytes = file->map(0, size);
    if (!bytes)
        return nullptr;
    std::shared_ptr<const MappedFile> mapped(new MappedFile(std::move(file), bytes, size));
    opened.removeIf([](const auto &entry) { return entry.value().expired(); });
    opened.insert(path, mapped);
    return mapped;
}

MappedFile::MappedFile(std::unique_ptr<QFile> file, const unsigned char *bytes, qint64 size)
    : m_file(std::move(file)), m_bytes(bytes), m_size(size)
{
}

MappedFile::~MappedFile() = default;

} // namespace widgets::tk
