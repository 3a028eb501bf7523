#include "widgets/tklook/tkpainter.h"

#include "widgets/tklook/xftfont.h"

#include <QEvent>
#include <QHash>
#include <QGlyphRun>
#include <QFontMetricsF>
#include <QPainter>
#include <QWidget>
#include <QtMath>

#include <fontconfig/fontconfig.h>

namespace widgets {

namespace {

// Tk's indicator images, 11 by 11, as Tk 8.6 draws them on a #d9d9d9 widget: d dark shadow,
// w white, k the foreground, anything else left as the background.
constexpr int IndicatorSize = 11;
constexpr const char *CheckOff[IndicatorSize] = {
    "ddddddddddw", "dwwwwwwwwww", "dwwwwwwwwww", "dwwwwwwwwww", "dwwwwwwwwww", "dwwwwwwwwww",
    "dwwwwwwwwww", "dwwwwwwwwww", "dwwwwwwwwww", "dwwwwwwwwww", "wwwwwwwwwww",
};
constexpr const char *CheckOn[IndicatorSize] = {
    "ddddddddddw", "dwwwwwwwwww", "dwwwwwwwkww", "dwwwwwwkkww", "dwkwwwkkkww", "dwkkwkkkwww",
    "dwkkkkkwwww", "dwwkkkwwwww", "dwwwkwwwwww", "dwwwwwwwwww", "wwwwwwwwwww",
};
// A radio button created as the program creates it shares Tk's default variable, whose value
// equals the button's own empty value: Tk shows every one of them with the dot.
constexpr const char *RadioShown[IndicatorSize] = {
    "...dddd....", ".ddwwwwdd..", ".dwwwwwww..", "dwwwkkwwww.", "dwwkkkkwww.", "dwwkkkkwww.",
    "dwwwkkwwww.", ".dwwwwwww..", ".wwwwwwww..", "...wwww....", "...........",
};

void paintIndicator(QPainter &painter, QPoint centre, const char *const *image)
{
    const QPoint corner = centre - QPoint(IndicatorSize / 2, IndicatorSize / 2);
    for (int row = 0; row < IndicatorSize; ++row) {
        for (int column = 0; column < IndicatorSize; ++column) {
            QColor colour;
            switch (image[row][column]) {
            case 'd': colour = tk::DarkShadow; break;
            case 'w': colour = tk::LightShadow; break;
            case 'k': colour = tk::Foreground; break;
            default: continue;
            }
            painter.fillRect(corner.x() + column, corner.y() + row, 1, 1, colour);
        }
    }
}

// Tk's 3D rectangle one pixel wide: the top row and left column, corners included, in the first
// colour; the rest of the bottom row and right column in the second.
void paintBevel(QPainter &painter, const QRect &rect, const QColor &topLeft, const QColor &bottomRight)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    painter.fillRect(rect.left() + 1, rect.bottom(), rect.width() - 1, 1, bottomRight);
    painter.fillRect(rect.right(), rect.top() + 1, 1, rect.height() - 1, bottomRight);
    painter.fillRect(rect.left(), rect.top(), rect.width(), 1, topLeft);
    painter.fillRect(rect.left(), rect.top(), 1, rect.height(), topLeft);
}

// The ring Tk draws in the highlight background while the widget does not have the focus.
void paintHighlightRing(QPainter &painter, QSize size, int thickness)
{
    if (thickness <= 0)
        return;
    painter.fillRect(0, 0, size.width(), thickness, tk::Background);
    painter.fillRect(0, size.height() - thickness, size.width(), thickness, tk::Background);
    painter.fillRect(0, 0, thickness, size.height(), tk::Background);
    painter.fillRect(size.width() - thickness, 0, thickness, size.height(), tk::Background);
}

// A line split into what Tk draws glyph by glyph: one character, a surrogate pair kept whole.
QStringList characters(const QString &line)
{
    QStringList pieces;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const qsizetype length = line.at(i).isHighSurrogate() && i + 1 < line.size() ? 2 : 1;
        pieces.append(line.mid(i, length));
        i += length - 1;
    }
    return pieces;
}

// A font measured as Xft measures it for Tk; characters that Xft would take from a face Qt cannot
// load on its own are measured and drawn by Qt's font.
class XftMeasure
{
public:
    XftMeasure(const QFont &font, const FontValue &record, QWidget *widget)
        : m_metrics(font, widget), m_xft(XftFont::get(record.face, tkPixelSize(record)))
    {
    }

    int ascent() const { return m_xft.ascent(); }
    int lineSpacing() const { return m_xft.lineSpacing(); }
    XftFont::Glyph glyph(const QString &piece) const
    {
        const QList<uint> code = piece.toUcs4();
        return code.size() == 1 ? m_xft.glyph(code.first()) : XftFont::Glyph{};
    }
    // Xft advances by the glyph's width rounded to whole pixels; Qt's own layout would place Latin
    // glyphs at fractions of a pixel and drift from Tk along a line.
    int advance(const QString &piece) const
    {
        const XftFont::Glyph found = glyph(piece);
        return found.font ? found.advance : qRound(m_metrics.horizontalAdvance(piece));
    }

private:
    QFontMetricsF m_metrics;
    const XftFont &m_xft;
};

int advanceOf(const XftMeasure &metrics, const QString &piece, int lineX, int tabWidth)
{
    if (piece == QLatin1String("\t"))
        return tabWidth > 0 ? tabWidth - lineX % tabWidth : 0;
    return metrics.advance(piece);
}

// Tk draws widgets of any size; a line longer than this many pixels is not worth laying out further.
constexpr int LayoutLimit = 70000;

int lineWidth(const XftMeasure &metrics, const QString &line, int tabWidth)
{
    int x = 0;
    for (const QString &piece : characters(line)) {
        x += advanceOf(metrics, piece, x, tabWidth);
        if (x > LayoutLimit)
            break;
    }
    return x;
}

// The family fontconfig gives Tk for the face the program names: Tk asks for it unchanged and takes
// the best match, where Qt would make its own choice among the faces it knows (and, for a face that
// is not installed, often another one than fontconfig's alias).
QString matchedFamily(const QString &face)
{
    static QHash<QString, QString> known;
    const auto found = known.constFind(face);
    if (found != known.constEnd())
        return *found;
    QString family = face;
    if (FcPattern *pattern = FcPatternCreate()) {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(face.toUtf8().constData()));
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        if (FcPattern *match = FcFontMatch(nullptr, pattern, &result)) {
            FcChar8 *name = nullptr;
            if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch && name)
                family = QString::fromUtf8(reinterpret_cast<const char *>(name));
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
    }
    known.insert(face, family);
    return family;
}

} // namespace

qreal tkPixelSize(const FontValue &font)
{
    const int points = pointsForHeight(font.height, screenDotsPerInchY());
    // Tk takes size 0 as its default size, 12 pixels here.
    return points <= 0 ? 12.0 : qMin(points, 3000) * screenDotsPerInchY() / 72.0;
}

QFont tkFont(const FontValue &font)
{
    QFont qfont;
    // The face as named comes second, so that Qt's fallback for other scripts starts from it as Tk's does.
    qfont.setFamilies({matchedFamily(font.face), font.face});
    const int points = pointsForHeight(font.height, screenDotsPerInchY());
    // Tk takes size 0 as its default size, 12 pixels here.
    if (points <= 0)
        qfont.setPixelSize(12);
    else
        qfont.setPointSizeF(qMin(points, 3000));
    return qfont;
}

TkPainter::TkPainter(QWidget *widget, tk::WidgetClass widgetClass, ContentSource content)
    : QObject(widget), m_class(widgetClass), m_content(std::move(content))
{
    // Tk fills the whole rectangle of every widget, yet the widget is not marked opaque: Qt would then
    // work out the region of every opaque sibling after each move, and a drag over a design of 1,000
    // widgets would spend most of its step there. The parent's background under it costs less.
    widget->installEventFilter(this);
}

bool TkPainter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Paint || !watched->isWidgetType())
        return false;
    paint(static_cast<QWidget *>(watched));
    return true;
}

void TkPainter::paint(QWidget *widget) const
{
    QPainter painter(widget);
    const QSize size = widget->size();
    const tk::WidgetDefaults defaults = tk::defaultsOf(m_class);
    const int ring = defaults.highlightThickness;
    const QRect bevel(ring, ring, size.width() - 2 * ring, size.height() - 2 * ring);

    if (m_class == tk::WidgetClass::Entry) {
        // The program creates its entries empty; what is typed into the design's copy is not shown.
        painter.fillRect(QRect(QPoint(), size), tk::EntryBackground);
        paintBevel(painter, bevel, tk::EntryDarkShadow, tk::EntryLightShadow);
        paintHighlightRing(painter, size, ring);
        return;
    }

    const TkContent content = m_content();
    const bool sunken = m_class == tk::WidgetClass::Button && content.pressed;
    painter.fillRect(QRect(QPoint(), size), sunken ? tk::ActiveBackground : tk::Background);
    paintText(painter, widget, content);
    if (m_class == tk::WidgetClass::Button) {
        if (sunken)
            paintBevel(painter, bevel, tk::DarkShadow, tk::LightShadow);
        else
            paintBevel(painter, bevel, tk::LightShadow, tk::DarkShadow);
    }
    paintHighlightRing(painter, size, ring);
}

void TkPainter::paintText(QPainter &painter, QWidget *widget, const TkContent &content) const
{
    const tk::WidgetDefaults defaults = tk::defaultsOf(m_class);
    const QFont font = tkFont(content.font);
    const XftMeasure metrics(font, content.font, widget);
    const int ascent = metrics.ascent();
    const int lineSpacing = metrics.lineSpacing();
    const int zeroWidth = metrics.advance(QStringLiteral("0"));
    const int tabWidth = 8 * zeroWidth;

    // Only a line feed breaks a line in Tk.
    const QStringList lines = content.text.split(QLatin1Char('\n'));
    QList<int> widths;
    int widest = 0;
    for (const QString &line : lines) {
        widths.append(lineWidth(metrics, line, tabWidth));
        widest = qMax(widest, widths.last());
    }
    const int space = defaults.indicator ? tk::indicatorSpace(defaults.checkIndicator, lineSpacing, zeroWidth) : 0;
    const QSize block(space + widest, int(qMin<qsizetype>(lines.size(), LayoutLimit)) * lineSpacing);
    QPoint origin = tk::anchoredOrigin(defaults.anchorWest, widget->size(),
                                       defaults.borderWidth + defaults.highlightThickness, defaults.padX, block);
    // Tk moves a pressed button's text with its sunken relief.
    if (m_class == tk::WidgetClass::Button && content.pressed)
        origin += QPoint(1, 1);
    const int textLeft = origin.x() + space;

    painter.setFont(font);
    painter.setPen(tk::Foreground);
    for (int i = 0; i < lines.size(); ++i) {
        const int top = origin.y() + i * lineSpacing;
        if (top > widget->height())
            break;
        if (top + lineSpacing < 0)
            continue;
        // Tk centres each line of a block, whatever the anchor.
        int x = textLeft + (widest - widths.at(i)) / 2;
        const int lineStart = x;
        for (const QString &piece : characters(lines.at(i))) {
            if (x > widget->width())
                break;
            const int advance = advanceOf(metrics, piece, x - lineStart, tabWidth);
            if (piece != QLatin1String("\t")) {
                const XftFont::Glyph glyph = metrics.glyph(piece);
                if (glyph.font) {
                    QGlyphRun run;
                    run.setRawFont(*glyph.font);
                    run.setGlyphIndexes({glyph.index});
                    run.setPositions({QPointF(0, 0)});
                    painter.drawGlyphRun(QPointF(x, top + ascent), run);
                } else {
                    painter.drawText(QPoint(x, top + ascent), piece);
                }
            }
            x += advance;
        }
    }

    // Tk leaves out an indicator too small to show.
    const int diameter = space - zeroWidth;
    if (defaults.indicator && diameter > 2 * defaults.borderWidth) {
        const QPoint centre = tk::indicatorCentre(textLeft, space, widget->height());
        if (defaults.checkIndicator)
            paintIndicator(painter, centre, content.checked ? CheckOn : CheckOff);
        else
            paintIndicator(painter, centre, RadioShown);
    }
}

} // namespace widgets
