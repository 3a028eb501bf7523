#pragma once

#include <QString>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>

namespace widgets::tk {

class MappedFile;

// The FreeType library Xft renders with, for this thread.
FT_Library freeTypeLibrary();

// One face of a font file, opened by FreeType from the mapped file. Every size of the face is an
// FT_Size of its own on this one face, so the face's tables are parsed once.
class FreeTypeFace
{
public:
    // The face, opened once and shared while anyone holds it; null when FreeType cannot open it.
    static std::shared_ptr<FreeTypeFace> open(const QString &path, int index);

    ~FreeTypeFace();
    FreeTypeFace(const FreeTypeFace &) = delete;
    FreeTypeFace &operator=(const FreeTypeFace &) = delete;

    FT_Face face() const { return m_face; }

private:
    FreeTypeFace(std::shared_ptr<const MappedFile> file, FT_Face face);

    std::shared_ptr<const MappedFile> m_file; // FreeType reads the face from it
    FT_Face m_face;
};

} // namespace widgets::tk
