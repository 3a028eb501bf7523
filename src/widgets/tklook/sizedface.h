#pragma once

#include "widgets/tklook/xftfont.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <fontconfig/fontconfig.h>

#include <memory>

namespace widgets::tk {

class FreeTypeFace;

// One face of a font's list at the font's size, with the settings Xft renders it with: the load
// flags and render mode Xft works out from fontconfig's pattern for the face.
class SizedFace
{
public:
    SizedFace(FcPattern *rendering, std::shared_ptr<FreeTypeFace> face);
    ~SizedFace();
    SizedFace(const SizedFace &) = delete;
    SizedFace &operator=(const SizedFace &) = delete;

    bool isValid() const { return m_valid; }
    int ascent() const { return m_ascent; }
    int descent() const { return m_descent; }

    // Loads the character's glyph at this size; false when the face cannot.
    bool load(char32_t character) const;
    // The advance of the glyph last loaded, as Xft rounds it.
    int advance() const;
    // Renders the glyph last loaded.
    RenderedGlyph render() const;

private:
    void copyBitmap(FT_GlyphSlot slot, RenderedGlyph &made) const;

    std::shared_ptr<FreeTypeFace> m_face;
    FT_Size m_size = nullptr;
    bool m_valid = false;
    FT_Int32 m_loadFlags = FT_LOAD_DEFAULT;
    FT_Render_Mode m_mode = FT_RENDER_MODE_NORMAL;
    int m_lcdFilter = FC_LCD_DEFAULT;
    bool m_bgr = false;
    bool m_embolden = false;
    bool m_monospaced = false;
    int m_ascent = 0;
    int m_descent = 0;
    int m_maxAdvance = 0;
};

} // namespace widgets::tk
