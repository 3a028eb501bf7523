#include "widgets/tklook/glyphcompositing.h"

#include "widgets/tklook/xftfont.h"

#include <algorithm>

namespace widgets::tk {

namespace {

// pixman's MUL_UN8: a * b / 255, rounded as the X server rounds it.
inline unsigned multiply(unsigned a, unsigned b)
{
    const unsigned t = a * b + 0x80;
    return ((t >> 8) + t) >> 8;
}

// A colour glyph is an image of its own, laid over what is there at once.
void paintColourGlyph(QImage &image, QPoint at, const RenderedGlyph &glyph)
{
    for (int y = qMax(0, -at.y()); y < glyph.height && at.y() + y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(at.y() + y));
        const unsigned char *source = glyph.pixels.data() + std::size_t(y) * glyph.width * 4;
        for (int x = qMax(0, -at.x()); x < glyph.width && at.x() + x < image.width(); ++x) {
            const unsigned char *bgra = source + 4 * x;
            const QRgb under = line[at.x() + x];
            const unsigned keep = 255 - bgra[3];
            line[at.x() + x] = qRgb(int(bgra[2] + multiply(unsigned(qRed(under)), keep)),
                                    int(bgra[1] + multiply(unsigned(qGreen(under)), keep)),
                                    int(bgra[0] + multiply(unsigned(qBlue(under)), keep)));
        }
    }
}

} // namespace

GlyphRun::GlyphRun(QImage &image, QPoint origin) : m_image(image), m_origin(origin)
{
}

void GlyphRun::add(const RenderedGlyph &glyph, QPoint pen)
{
    const QPoint at = pen + QPoint(glyph.left, -glyph.top) - m_origin;
    if (glyph.coverage == RenderedGlyph::Coverage::Colour) {
        paintColourGlyph(m_image, at, glyph);
        return;
    }
    const QRect onImage = QRect(at, QSize(glyph.width, glyph.height)).intersected(m_image.rect());
    if (onImage.isEmpty())
        return;
    if (m_mask.empty())
        m_mask.assign(std::size_t(m_image.width()) * m_image.height() * 3, 0);
    const int channels = glyph.coverage == RenderedGlyph::Coverage::Subpixel ? 3 : 1;
    for (int y = onImage.top(); y <= onImage.bottom(); ++y) {
        const unsigned char *source = glyph.pixels.data()
                                      + (std::size_t(y - at.y()) * glyph.width + (onImage.left() - at.x())) * channels;
        unsigned char *mask = m_mask.data() + (std::size_t(y) * m_image.width() + onImage.left()) * 3;
        for (int x = onImage.left(); x <= onImage.right(); ++x, source += channels, mask += 3) {
            for (int c = 0; c < 3; ++c)
                mask[c] = std::uint8_t(qMin(255, mask[c] + source[channels == 3 ? c : 0]));
        }
    }
    m_touched |= onImage;
}

void GlyphRun::paint(QColor colour)
{
    if (m_touched.isEmpty())
        return;
    const unsigned over[3] = {unsigned(colour.red()), unsigned(colour.green()), unsigned(colour.blue())};
    for (int y = m_touched.top(); y <= m_touched.bottom(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(m_image.scanLine(y));
        unsigned char *mask = m_mask.data() + (std::size_t(y) * m_image.width() + m_touched.left()) * 3;
        for (int x = m_touched.left(); x <= m_touched.right(); ++x, mask += 3) {
            if (!(mask[0] | mask[1] | mask[2]))
                continue;
            const QRgb under = line[x];
            const unsigned was[3] = {unsigned(qRed(under)), unsigned(qGreen(under)), unsigned(qBlue(under))};
            unsigned now[3];
            for (int c = 0; c < 3; ++c)
                now[c] = multiply(over[c], mask[c]) + multiply(was[c], 255 - mask[c]);
            line[x] = qRgb(int(now[0]), int(now[1]), int(now[2]));
            std::fill(mask, mask + 3, 0);
        }
    }
    m_touched = QRect();
}

} // namespace widgets::tk
