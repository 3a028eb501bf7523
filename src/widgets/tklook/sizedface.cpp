#include "widgets/tklook/sizedface.h"

#include "widgets/tklook/freetypeface.h"

#include <fontconfig/fcfreetype.h>
#include FT_LCD_FILTER_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <cstdlib>

namespace widgets::tk {

namespace {

// A value of fontconfig's pattern for the face, or the default Xft takes when it has none.
template<typename Value>
Value patternValue(const FcPattern *pattern, const char *object, Value fallback)
{
    if constexpr (std::is_same_v<Value, double>) {
        double value = 0;
        return FcPatternGetDouble(pattern, object, 0, &value) == FcResultMatch ? value : fallback;
    } else {
        int value = 0;
        if (FcPatternGetInteger(pattern, object, 0, &value) == FcResultMatch)
            return Value(value);
        FcBool flag = FcFalse;
        return FcPatternGetBool(pattern, object, 0, &flag) == FcResultMatch ? Value(flag) : fallback;
    }
}

} // namespace

SizedFace::SizedFace(FcPattern *rendering, std::shared_ptr<FreeTypeFace> face) : m_face(std::move(face))
{
    const double pixels = patternValue(rendering, FC_PIXEL_SIZE, 12.0);
    const double aspect = patternValue(rendering, FC_ASPECT, 1.0);
    const bool antialias = patternValue(rendering, FC_ANTIALIAS, true);
    const int rgba = patternValue(rendering, FC_RGBA, int(FC_RGBA_UNKNOWN));
    const int hintStyle = patternValue(rendering, FC_HINT_STYLE, int(FC_HINT_FULL));
    m_lcdFilter = patternValue(rendering, FC_LCD_FILTER, int(FC_LCD_DEFAULT));
    m_embolden = patternValue(rendering, FC_EMBOLDEN, false);
    m_monospaced = patternValue(rendering, FC_SPACING, int(FC_PROPORTIONAL)) >= FC_MONO;
    m_bgr = rgba == FC_RGBA_BGR || rgba == FC_RGBA_VBGR;

    // The load flags and render mode as Xft works them out.
    m_loadFlags = FT_LOAD_DEFAULT | FT_LOAD_COLOR;
    if (!patternValue(rendering, "embeddedbitmap", false) && antialias)
        m_loadFlags |= FT_LOAD_NO_BITMAP;
    if (!patternValue(rendering, FC_HINTING, true) || hintStyle == FC_HINT_NONE)
        m_loadFlags |= FT_LOAD_NO_HINTING;
    m_mode = FT_RENDER_MODE_MONO;
    if (antialias) {
        m_mode = FT_RENDER_MODE_NORMAL;
        if (rgba == FC_RGBA_RGB || rgba == FC_RGBA_BGR)
            m_mode = FT_RENDER_MODE_LCD;
        else if (rgba == FC_RGBA_VRGB || rgba == FC_RGBA_VBGR)
            m_mode = FT_RENDER_MODE_LCD_V;
        if (FC_HINT_NONE < hintStyle && hintStyle < FC_HINT_FULL)
            m_loadFlags |= FT_LOAD_TARGET_LIGHT;
        else if (m_mode == FT_RENDER_MODE_LCD)
            m_loadFlags |= FT_LOAD_TARGET_LCD;
        else if (m_mode == FT_RENDER_MODE_LCD_V)
            m_loadFlags |= FT_LOAD_TARGET_LCD_V;
    } else {
        m_loadFlags |= FT_LOAD_TARGET_MONO;
    }
    if (patternValue(rendering, FC_AUTOHINT, false))
        m_loadFlags |= FT_LOAD_FORCE_AUTOHINT;
    if (!patternValue(rendering, FC_GLOBAL_ADVANCE, true))
        m_loadFlags |= FT_LOAD_IGNORE_GLOBAL_ADVANCE_WIDTH;

    FT_Face ft = m_face->face();
    if (FT_New_Size(ft, &m_size) != 0) {
        m_size = nullptr;
        return;
    }
    FT_Activate_Size(m_size);
    const auto ysize = FT_F26Dot6(pixels * 64.0);
    const auto xsize = FT_F26Dot6(pixels * aspect * 64.0);
    if (FT_IS_SCALABLE(ft)) {
        m_valid = FT_Set_Char_Size(ft, xsize, ysize, 0, 0) == 0;
    } else if (ft->num_fixed_sizes > 0) {
        // A bitmap face has fixed sizes: the nearest in height, then in width.
        int best = 0;
        for (int i = 1; i < ft->num_fixed_sizes; ++i) {
            const auto distance = [&](int k) {
                return std::pair(std::abs(ysize - ft->available_sizes[k].y_ppem),
                                 std::abs(xsize - ft->available_sizes[k].x_ppem));
            };
            if (distance(i) < distance(best))
                best = i;
        }
        m_valid = FT_Set_Char_Size(ft, ft->available_sizes[best].x_ppem, ft->available_sizes[best].y_ppem, 0, 0) == 0
                  || FT_Set_Char_Size(ft, ft->available_sizes[best].width << 6,
                                      ft->available_sizes[best].height << 6, 0, 0) == 0;
    }
    if (m_valid) {
        m_ascent = int(ft->size->metrics.ascender >> 6);
        m_descent = -int(ft->size->metrics.descender >> 6);
        m_maxAdvance = int(ft->size->metrics.max_advance >> 6);
    }
}

SizedFace::~SizedFace()
{
    if (m_size)
        FT_Done_Size(m_size);
}

bool SizedFace::load(char32_t character) const
{
    if (!m_valid)
        return false;
    FT_Face ft = m_face->face();
    FT_Activate_Size(m_size);
    const FT_UInt index = FcFreeTypeCharIndex(ft, character);
    if (FT_Load_Glyph(ft, index, m_loadFlags) != 0
        && (!(m_loadFlags & FT_LOAD_NO_BITMAP) || FT_Load_Glyph(ft, index, m_loadFlags & ~FT_LOAD_NO_BITMAP) != 0))
        return false;
    if (m_embolden)
        FT_GlyphSlot_Embolden(ft->glyph);
    return true;
}

int SizedFace::advance() const
{
    if (m_monospaced)
        return m_maxAdvance;
    return int(((m_face->face()->glyph->advance.x + 32) & -64) >> 6);
}

RenderedGlyph SizedFace::render() const
{
    RenderedGlyph made;
    made.advance = advance();
    FT_GlyphSlot slot = m_face->face()->glyph;
    FT_Library_SetLcdFilter(freeTypeLibrary(), FT_LcdFilter(m_lcdFilter));
    const bool rendered = slot->format == FT_GLYPH_FORMAT_BITMAP || FT_Render_Glyph(slot, m_mode) == 0;
    FT_Library_SetLcdFilter(freeTypeLibrary(), FT_LCD_FILTER_NONE);
    if (!rendered)
        return made;
    copyBitmap(slot, made);
    return made;
}

// The bitmap in one of our three coverages, as Xft converts it for the X server.
void SizedFace::copyBitmap(FT_GlyphSlot slot, RenderedGlyph &made) const
{
    const FT_Bitmap &bitmap = slot->bitmap;
    const bool subpixel = m_mode == FT_RENDER_MODE_LCD || m_mode == FT_RENDER_MODE_LCD_V;
    int width = int(bitmap.width);
    int height = int(bitmap.rows);
    switch (bitmap.pixel_mode) {
    case FT_PIXEL_MODE_LCD: width /= 3; break;
    case FT_PIXEL_MODE_LCD_V: height /= 3; break;
    case FT_PIXEL_MODE_MONO: case FT_PIXEL_MODE_GRAY: case FT_PIXEL_MODE_BGRA: break;
    default: return;
    }
    made.left = slot->bitmap_left;
    made.top = slot->bitmap_top;
    made.width = width;
    made.height = height;
    made.coverage = bitmap.pixel_mode == FT_PIXEL_MODE_BGRA ? RenderedGlyph::Coverage::Colour
                    : subpixel                              ? RenderedGlyph::Coverage::Subpixel
                                                            : RenderedGlyph::Coverage::Gray;
    const int channels = made.coverage == RenderedGlyph::Coverage::Colour ? 4
                         : made.coverage == RenderedGlyph::Coverage::Subpixel ? 3 : 1;
    made.pixels.assign(std::size_t(width) * height * channels, 0);
    const int pitch = bitmap.pitch;
    const unsigned char *first = pitch < 0 ? bitmap.buffer - pitch * (int(bitmap.rows) - 1) : bitmap.buffer;
    for (int y = 0; y < height; ++y) {
        unsigned char *out = made.pixels.data() + std::size_t(y) * width * channels;
        for (int x = 0; x < width; ++x, out += channels) {
            switch (bitmap.pixel_mode) {
            case FT_PIXEL_MODE_MONO: {
                const unsigned char on = (first[y * pitch + (x >> 3)] & (0x80 >> (x & 7))) ? 0xff : 0;
                std::fill(out, out + channels, on);
                break;
            }
            case FT_PIXEL_MODE_GRAY:
                std::fill(out, out + channels, first[y * pitch + x]);
                break;
            case FT_PIXEL_MODE_BGRA:
                std::copy_n(first + y * pitch + 4 * x, 4, out);
                break;
            case FT_PIXEL_MODE_LCD:
            case FT_PIXEL_MODE_LCD_V: {
                const bool horizontal = bitmap.pixel_mode == FT_PIXEL_MODE_LCD;
                unsigned char rgb[3];
                for (int c = 0; c < 3; ++c)
                    rgb[c] = horizontal ? first[y * pitch + 3 * x + c] : first[(3 * y + c) * pitch + x];
                out[0] = rgb[m_bgr ? 2 : 0];
                out[1] = rgb[1];
                out[2] = rgb[m_bgr ? 0 : 2];
                break;
            }
            default:
                break;
            }
        }
    }
}

} // namespace widgets::tk
