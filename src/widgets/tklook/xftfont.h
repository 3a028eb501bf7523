#pragma once

#include <QString>

#include <memory>
#include <vector>

namespace widgets::tk {

class FaceList;
class SizedFace;

// A glyph as Xft hands it to the X server: its image, where the image sits against the pen position
// on the baseline, and how far the pen then moves.
struct RenderedGlyph
{
    enum class Coverage {
        Gray,       // one byte of coverage a pixel
        Subpixel,   // three, red, green and blue, for a screen with subpixels (Xft.rgba)
        Colour,     // four, premultiplied blue, green, red and alpha: a colour glyph (emoji)
    };
    Coverage coverage = Coverage::Gray;
    int left = 0;               // the image's left edge, right of the pen
    int top = 0;                // its top row, above the baseline
    int width = 0;
    int height = 0;
    int advance = 0;
    std::vector<unsigned char> pixels;
};

// A font as Tk's Xft back end builds it for a (face, points) pair: fontconfig's sorted list of faces
// for the name, each character drawn from the first face that has it (or from the first face, when
// none has it), rendered by FreeType with the settings fontconfig and the X resources give Xft for
// that face, its advance rounded to whole pixels, and the line height from the first face.
class XftFont
{
public:
    // The font for the face at the size in points (0: Tk's default of 12). The fonts of the last few
    // sizes asked for are kept; every size shares the parsed faces, so memory does not grow with the
    // sizes a user tries.
    static std::shared_ptr<const XftFont> get(const QString &face, int points);

    XftFont(std::shared_ptr<const FaceList> faces, int points);
    ~XftFont();
    XftFont(const XftFont &) = delete;
    XftFont &operator=(const XftFont &) = delete;

    int ascent() const { return m_ascent; }
    int descent() const { return m_descent; }
    int lineSpacing() const { return m_ascent + m_descent; }
    // How far the pen moves past the character, as Tk measures and draws text.
    int advance(char32_t character) const;
    // The glyph for the character, rendered once and kept within a budget; the reference holds
    // until the next call.
    const RenderedGlyph &glyph(char32_t character) const;

private:
    struct Kept;
    SizedFace *sized(std::size_t face) const;
    const SizedFace *loaded(char32_t character) const;

    std::shared_ptr<const FaceList> m_faces;
    int m_points = 12;
    mutable std::vector<std::unique_ptr<SizedFace>> m_sized; // per face, made when a character first needs it
    std::unique_ptr<Kept> m_kept;
    int m_ascent = 0;
    int m_descent = 0;
};

} // namespace widgets::tk
