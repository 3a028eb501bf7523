#include "widgets/tklook/xftfont.h"

#include "widgets/screenmetrics.h"
#include "widgets/tklook/facelist.h"
#include "widgets/tklook/freetypeface.h"
#include "widgets/tklook/recentcache.h"
#include "widgets/tklook/sizedface.h"
#include "widgets/tklook/tklook.h"

#include <cmath>
#include <unordered_map>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace widgets::tk {

namespace {

// A design uses a few faces and sizes at a time; a user trying sizes one after another needs only
// the last few again.
constexpr std::size_t KeptFaceNames = 8;
constexpr std::size_t KeptSizes = 8;
// Rendered glyphs all fonts keep together, in bytes, and characters whose advance a font keeps: a
// caption of a hundred thousand different characters, or glyphs a thousand pixels tall, or every
// size a user tries must not grow memory.
constexpr std::size_t GlyphBudget = 512 * 1024;
constexpr std::size_t KeptAdvances = 1 << 16;

// Tk's default size, in points, for a font that gives none.
constexpr int DefaultPoints = 12;

} // namespace

// What a font has measured and rendered. The rendered glyphs of all fonts share one budget: when it
// is spent, every font lets its glyphs go.
struct XftFont::Kept
{
    Kept() { all().push_back(this); }
    ~Kept()
    {
        spent() -= bytes;
        std::erase(all(), this);
    }
    Kept(const Kept &) = delete;
    Kept &operator=(const Kept &) = delete;

    static std::vector<Kept *> &all()
    {
        // Never destroyed: fonts kept in the caches' statics go at exit, after a static list would.
        static auto *fonts = new std::vector<Kept *>;
        return *fonts;
    }
    static std::size_t &spent()
    {
        static std::size_t bytes = 0;
        return bytes;
    }
    void keep(std::size_t more)
    {
        if (spent() + more > GlyphBudget) {
            for (Kept *font : all()) {
                font->glyphs.clear();
                font->bytes = 0;
            }
            spent() = 0;
#if defined(__GLIBC__)
            // The glyphs were large blocks; the allocator would otherwise keep their pages.
            malloc_trim(0);
#endif
        }
        bytes += more;
        spent() += more;
    }

    std::unordered_map<char32_t, int> advances;
    std::unordered_map<char32_t, RenderedGlyph> glyphs;
    std::size_t bytes = 0;
};

std::shared_ptr<const XftFont> XftFont::get(const QString &face, int points)
{
    static RecentCache<QString, FaceList> lists(KeptFaceNames);
    static RecentCache<std::pair<QString, int>, XftFont> fonts(KeptSizes);
    const int shown = points <= 0 ? DefaultPoints : drawableTextPoints(points);
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
        if (rendering) {
            entry = std::make_unique<SizedFace>(rendering, std::move(opened));
            FcPatternDestroy(rendering);
        }
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
        // Larger than the whole budget: held only until the next glyph is asked for.
        static RenderedGlyph uncached;
        uncached = std::move(made);
        return uncached;
    }
    kept.keep(bytes);
    return kept.glyphs.emplace(character, std::move(made)).first->second;
}

} // namespace widgets::tk
