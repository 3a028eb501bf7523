#include "widgets/tklook/xftfont.h"

#include "widgets/tklook/freetypeface.h"
#include "widgets/tklook/recentcache.h"
#include "widgets/tklook/tklook.h"

#include <QGuiApplication>

#include <fontconfig/fontconfig.h>
#include <fontconfig/fcfreetype.h>
#include FT_LCD_FILTER_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H

#include <X11/Xft/Xft.h>

#include <cmath>
#include <unordered_map>

namespace widgets::tk {

namespace {

// A design uses a few faces and sizes at a time; a user trying sizes one after another needs only
// the last few again.
constexpr std::size_t KeptFaceNames = 8;
constexpr std::size_t KeptSizes = 8;
// Rendered glyphs a font keeps, in bytes, and characters whose advance it keeps: a caption of a
// hundred thousand different characters, or glyphs a thousand pixels tall, must not grow memory.
constexpr std::size_t GlyphBudget = 1 << 20;
constexpr std::size_t KeptAdvances = 1 << 16;

// Tk's default size, in points, for a font that gives none.
constexpr int DefaultPoints = 12;

// The pattern Tk asks fontconfig with for a (face, points) font, with the defaults Xft adds: the X
// resources (Xft.dpi, Xft.antialias, Xft.hintstyle, Xft.rgba ...) and fontconfig's own. Away from X11
// there are no resources; the text resolution stands in for Xft.dpi.
FcPattern *tkPattern(const QString &face, int points)
{
    FcPattern *pattern = FcPatternCreate();
    if (!pattern)
        return nullptr;
    const QByteArray name = face.toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(name.constData()));
    FcPatternAddDouble(pattern, FC_SIZE, points);
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_MEDIUM);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (Display *display = x11 ? x11->display() : nullptr) {
        XftDefaultSubstitute(display, DefaultScreen(display), pattern);
    } else {
        FcPatternAddDouble(pattern, FC_DPI, textDotsPerInch());
        FcDefaultSubstitute(pattern);
    }
    return pattern;
}

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

// MUL_UN8 of pixman, which the X server composites glyphs with: a * b / 255, rounded its way.
inline unsigned multiply(unsigned a, unsigned b)
{
    const unsigned t = a * b + 0x80;
    return ((t >> 8) + t) >> 8;
}

} // namespace

// Fontconfig's faces for a name, best first, as Tk's Xft back end asks for them.
class FaceList
{
public:
    FaceList(const QString &face, int points) : m_face(face)
    {
        FcPattern *pattern = tkPattern(face, points);
        if (!pattern)
            return;
        FcResult result = FcResultNoMatch;
        m_sorted = FcFontSort(nullptr, pattern, FcTrue, nullptr, &result);
        FcPatternDestroy(pattern);
    }
    ~FaceList()
    {
        if (m_sorted)
            FcFontSetDestroy(m_sorted);
    }
    FaceList(const FaceList &) = delete;
    FaceList &operator=(const FaceList &) = delete;

    const QString &face() const { return m_face; }
    std::size_t count() const { return m_sorted ? std::size_t(m_sorted->nfont) : 0; }
    FcPattern *font(std::size_t i) const { return m_sorted->fonts[i]; }

    // Like Tk: the first face that has the character, or the first face when none has it.
    std::size_t faceFor(char32_t character) const
    {
        for (std::size_t i = 0; i < count(); ++i) {
            FcCharSet *charset = nullptr;
            if (FcPatternGetCharSet(font(i), FC_CHARSET, 0, &charset) == FcResultMatch
                && FcCharSetHasChar(charset, character))
                return i;
        }
        return 0;
    }

private:
    QString m_face;
    FcFontSet *m_sorted = nullptr;
};

// One face of a font's list at the font's size, with the settings Xft renders it with.
class SizedFace
{
public:
    SizedFace(FcPattern *rendering, std::shared_ptr<FreeTypeFace> face) : m_face(std::move(face))
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

    ~SizedFace()
    {
        if (m_size)
            FT_Done_Size(m_size);
    }
    SizedFace(const SizedFace &) = delete;
    SizedFace &operator=(const SizedFace &) = delete;

    bool isValid() const { return m_valid; }
    int ascent() const { return m_ascent; }
    int descent() const { return m_descent; }

    // Loads the character's glyph at this size; false when the face cannot.
    bool load(char32_t character) const
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

    // The advance of the glyph last loaded, as Xft rounds it.
    int advance() const
    {
        if (m_monospaced)
            return m_maxAdvance;
        return int(((m_face->face()->glyph->advance.x + 32) & -64) >> 6);
    }

    // Renders the glyph last loaded.
    RenderedGlyph render() const
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

private:
    // The bitmap in one of our three coverages, as Xft converts it for the X server.
    void copyBitmap(FT_GlyphSlot slot, RenderedGlyph &made) const
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

// What a font has measured and rendered, within its budgets.
struct XftFont::Kept
{
    std::unordered_map<char32_t, int> advances;
    std::unordered_map<char32_t, RenderedGlyph> glyphs;
    std::size_t bytes = 0;
    RenderedGlyph uncached;     // a glyph larger than the whole budget
};

std::shared_ptr<const XftFont> XftFont::get(const QString &face, int points)
{
    static RecentCache<QString, FaceList> lists(KeptFaceNames);
    static RecentCache<std::pair<QString, int>, XftFont> fonts(KeptSizes);
    const int shown = points <= 0 ? DefaultPoints : qMin(points, largestTextPoints());
    return fonts.get({face, shown}, [&] {
        return std::make_shared<const XftFont>(
            lists.get(face, [&] { return std::make_shared<const FaceList>(face, shown); }), shown);
    });
}

XftFont::XftFont(std::shared_ptr<const FaceList> faces, int points)
    : m_faces(std::move(faces)), m_points(points), m_sized(m_faces->count()), m_kept(std::make_unique<Kept>())
{
    // Tk takes the line height from the first face.
    if (const SizedFace *primary = m_faces->count() ? sized(0) : nullptr) {
        m_ascent = primary->ascent();
        m_descent = primary->descent();
    }
    if (m_ascent + m_descent <= 0) {
        const qreal pixels = points * textDotsPerInch() / 72;
        m_ascent = int(std::ceil(pixels * 0.9));
        m_descent = int(std::ceil(pixels * 0.25));
    }
}

XftFont::~XftFont() = default;

SizedFace *XftFont::sized(std::size_t face) const
{
    std::unique_ptr<SizedFace> &entry = m_sized[face];
    if (!entry) {
        FcPattern *font = m_faces->font(face);
        FcChar8 *file = nullptr;
        int index = 0;
        std::shared_ptr<FreeTypeFace> opened;
        if (FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch && file) {
            FcPatternGetInteger(font, FC_INDEX, 0, &index);
            opened = FreeTypeFace::open(QString::fromUtf8(reinterpret_cast<const char *>(file)), index);
        }
        if (!opened)
            return nullptr;
        FcPattern *pattern = tkPattern(m_faces->face(), m_points);
        FcPattern *rendering = pattern ? FcFontRenderPrepare(nullptr, pattern, font) : nullptr;
        if (rendering)
            entry = std::make_unique<SizedFace>(rendering, std::move(opened));
        if (rendering)
            FcPatternDestroy(rendering);
        if (pattern)
            FcPatternDestroy(pattern);
    }
    return entry && entry->isValid() ? entry.get() : nullptr;
}

const SizedFace *XftFont::loaded(char32_t character) const
{
    const SizedFace *face = m_faces->count() ? sized(m_faces->faceFor(character)) : nullptr;
    return face && face->load(character) ? face : nullptr;
}

int XftFont::advance(char32_t character) const
{
    const auto known = m_kept->advances.find(character);
    if (known != m_kept->advances.end())
        return known->second;
    const SizedFace *face = loaded(character);
    const int advance = face ? face->advance() : 0;
    if (m_kept->advances.size() >= KeptAdvances)
        m_kept->advances.clear();
    m_kept->advances.emplace(character, advance);
    return advance;
}

const RenderedGlyph &XftFont::glyph(char32_t character) const
{
    Kept &kept = *m_kept;
    const auto known = kept.glyphs.find(character);
    if (known != kept.glyphs.end())
        return known->second;
    const SizedFace *face = loaded(character);
    RenderedGlyph made = face ? face->render() : RenderedGlyph();
    const std::size_t bytes = made.pixels.size() + sizeof(RenderedGlyph);
    if (bytes > GlyphBudget) {
        kept.uncached = std::move(made);
        return kept.uncached;
    }
    if (kept.bytes + bytes > GlyphBudget) {
        kept.glyphs.clear();
        kept.bytes = 0;
    }
    kept.bytes += bytes;
    return kept.glyphs.emplace(character, std::move(made)).first->second;
}

} // namespace widgets::tk
