#include "widgets/tklook/freetypeface.h"

#include "widgets/tklook/fontfile.h"

#include <QHash>

#include <limits>

namespace widgets::tk {

FT_Library freeTypeLibrary()
{
    static const FT_Library library = [] {
        FT_Library made = nullptr;
        return FT_Init_FreeType(&made) == 0 ? made : nullptr;
    }();
    return library;
}

std::shared_ptr<FreeTypeFace> FreeTypeFace::open(const QString &path, int index)
{
    static QHash<QPair<QString, int>, std::weak_ptr<FreeTypeFace>> opened;
    const QPair<QString, int> key(path, index);
    if (std::shared_ptr<FreeTypeFace> known = opened.value(key).lock())
        return known;

    std::shared_ptr<const MappedFile> file = MappedFile::open(path);
    FT_Face face = nullptr;
    if (!file || !freeTypeLibrary() || file->size() > qint64(std::numeric_limits<FT_Long>::max())
        || FT_New_Memory_Face(freeTypeLibrary(), file->bytes(), FT_Long(file->size()), index, &face) != 0)
        return nullptr;
    std::shared_ptr<FreeTypeFace> made(new FreeTypeFace(std::move(file), face));
    opened.removeIf([](const auto &entry) { return entry.value().expired(); });
    opened.insert(key, made);
    return made;
}

FreeTypeFace::FreeTypeFace(std::shared_ptr<const MappedFile> file, FT_Face face)
    : m_file(std::move(file)), m_face(face)
{
}

FreeTypeFace::~FreeTypeFace()
{
    // Its sizes went with the fonts that made them, which hold the face.
    FT_Done_Face(m_face);
}

} // namespace widgets::tk
