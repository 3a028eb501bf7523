#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>

#include <vector>

namespace widgets::tk {

struct RenderedGlyph;

// Draws a run of glyphs in one colour as the X server draws the glyphs Xft sends it in one request:
// their coverages are added up (saturating) into one mask, and the colour is laid over the image
// through that mask, with pixman's rounding. Glyphs that overlap therefore show as the server shows
// them, not as two layers.
class GlyphRun
{
public:
    // A run drawn into `image` (RGB32), whose pixel (0, 0) is at `origin` in the widget.
    GlyphRun(QImage &image, QPoint origin);

    // Adds a glyph whose pen position on the baseline is `pen`, in the widget's coordinates.
    void add(const RenderedGlyph &glyph, QPoint pen);
    // Lays the colour over the image through the run's mask and starts an empty run.
    void paint(QColor colour);

private:
    QImage &m_image;
    QPoint m_origin;
    std::vector<unsigned char> m_mask;  // three channels a pixel, as large as the image once a glyph comes
    QRect m_touched;                    // in the image
};

} // namespace widgets::tk
