#pragma once

#include <QRawFont>
#include <QString>

#include <memory>
#include <vector>

namespace widgets {

// A font as Tk's Xft back end builds it for a (face, points) pair: fontconfig's sorted list of
// faces for the name, each character drawn from the first face that has it, glyphs placed on whole
// pixels with their advances rounded, and the line height from the first face's hinted ascent and
// descent. Qt's own font matching picks other files for some names (a Type 1 face where fontconfig
// prefers its OpenType twin) and other faces for Chinese text.
class XftFont
{
public:
    struct Glyph
    {
        const QRawFont *font = nullptr; // null when no face has the character
        quint32 index = 0;
        int advance = 0;
    };

    // The font for the face at the pixel size, made once and kept: a design uses a few.
    static const XftFont &get(const QString &face, qreal pixelSize);

    int ascent() const { return m_ascent; }
    int lineSpacing() const { return m_ascent + m_descent; }
    Glyph glyph(char32_t character) const;

private:
    XftFont(const QString &face, qreal pixelSize);

    struct Face;
    std::vector<std::shared_ptr<Face>> m_faces;
    qreal m_pixelSize = 12;
    int m_ascent = 0;
    int m_descent = 0;
};

} // namespace widgets
