#include "widgets/tklook/tkpainter.h"

#include "widgets/tklook/glyphcompositing.h"
#include "widgets/tklook/xftfont.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

namespace widgets::tk {

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
            case 'd': colour = DarkShadow; break;
            case 'w': colour = LightShadow; break;
            case 'k': colour = Foreground; break;
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
    painter.fillRect(0, 0, size.width(), thickness, Background);
    painter.fillRect(0, size.height() - thickness, size.width(), thickness, Background);
    painter.fillRect(0, 0, thickness, size.height(), Background);
    painter.fillRect(size.width() - thickness, 0, thickness, size.height(), Background);
}

// A line of Tk's text layout: its characters, and how wide Tk measures it.
struct Line
{
    QList<char32_t> characters;
    int width = 0;
};

constexpr char32_t Tab = U'\t';

// Tk draws widgets of any size; a line longer than this many pixels is not worth laying out further.
constexpr int LayoutLimit = 70000;

int advanceOf(const XftFont &font, char32_t character, int lineX, int tabWidth)
{
    if (character == Tab)
        return tabWidth > 0 ? tabWidth - lineX % tabWidth : 0;
    return font.advance(character);
}

// Tk's text layout: only a line feed breaks a line, tabs stop every eight zeros.
QList<Line> layoutLines(const XftFont &font, const QString &text, int tabWidth)
{
    QList<Line> lines;
    for (const QString &piece : text.split(QLatin1Char('\n'))) {
        Line line;
        for (uint code : piece.toUcs4())
            line.characters.append(char32_t(code));
        for (char32_t character : std::as_const(line.characters)) {
            line.width += advanceOf(font, character, line.width, tabWidth);
            if (line.width > LayoutLimit)
                break;
        }
        lines.append(line);
        if (lines.size() * font.lineSpacing() > LayoutLimit)
            break;
    }
    return lines;
}

} // namespace

void paintAsTk(QWidget *widget, WidgetClass widgetClass, ContentSource content)
{
    new TkPainter(widget, widgetClass, std::move(content));
}

TkPainter::TkPainter(QWidget *widget, WidgetClass widgetClass, ContentSource content)
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
    paint(static_cast<QWidget *>(watched), static_cast<QPaintEvent *>(event)->rect());
    return true;
}

// The widget is drawn into an image first, as Tk draws into a pixmap: the text goes in as the X
// server composites it, which Qt's painter cannot do.
void TkPainter::paint(QWidget *widget, const QRect &exposed) const
{
    const QSize size = widget->size();
    const QRect area = exposed.intersected(QRect(QPoint(), size));
    if (area.isEmpty())
        return;
    QImage canvas(area.size(), QImage::Format_RGB32);
    const WidgetDefaults defaults = defaultsOf(m_class);
    const int ring = defaults.highlightThickness;
    const QRect bevel(ring, ring, size.width() - 2 * ring, size.height() - 2 * ring);

    if (m_class == WidgetClass::Entry) {
        // The program creates its entries empty; what is typed into the design's copy is not shown.
        canvas.fill(EntryBackground);
        QPainter painter(&canvas);
        painter.translate(-area.topLeft());
        paintBevel(painter, bevel, EntryDarkShadow, EntryLightShadow);
        paintHighlightRing(painter, size, ring);
    } else {
        const Content content = m_content();
        const bool sunken = m_class == WidgetClass::Button && content.pressed;
        canvas.fill(sunken ? ActiveBackground : Background);
        const std::optional<QPoint> indicator = paintText(canvas, area.topLeft(), size, content);
        QPainter painter(&canvas);
        painter.translate(-area.topLeft());
        if (indicator) {
            if (defaults.checkIndicator)
                paintIndicator(painter, *indicator, content.checked ? CheckOn : CheckOff);
            else
                paintIndicator(painter, *indicator, RadioShown);
        }
        if (m_class == WidgetClass::Button) {
            if (sunken)
                paintBevel(painter, bevel, DarkShadow, LightShadow);
            else
                paintBevel(painter, bevel, LightShadow, DarkShadow);
        }
        paintHighlightRing(painter, size, ring);
    }
    QPainter(widget).drawImage(area.topLeft(), canvas);
}

std::optional<QPoint> TkPainter::paintText(QImage &canvas, QPoint origin, QSize size, const Content &content) const
{
    const WidgetDefaults defaults = defaultsOf(m_class);
    const std::shared_ptr<const XftFont> font =
        XftFont::get(content.font.face, pointsForHeight(content.font.height, screenDotsPerInchY()));
    const int lineSpacing = font->lineSpacing();
    const int zeroWidth = font->advance(U'0');
    const int tabWidth = 8 * zeroWidth;

    // The generated program's text ends at its first NUL, as both Pythons' Tk then show it.
    const QList<Line> lines = layoutLines(*font, content.text.left(content.text.indexOf(QChar(0))), tabWidth);
    int widest = 0;
    for (const Line &line : lines)
        widest = qMax(widest, line.width);
    const int space = defaults.indicator ? indicatorSpace(defaults.checkIndicator, lineSpacing, zeroWidth) : 0;
    const QSize block(space + widest, int(lines.size()) * lineSpacing);
    QPoint at = anchoredOrigin(defaults.anchorWest, size, defaults.borderWidth + defaults.highlightThickness,
                               defaults.padX, block);
    // Tk moves a pressed button's text with its sunken relief.
    if (m_class == WidgetClass::Button && content.pressed)
        at += QPoint(1, 1);
    const int textLeft = at.x() + space;
    const QRect shown(origin, canvas.size());

    GlyphRun run(canvas, origin);
    for (int i = 0; i < lines.size(); ++i) {
        const int top = at.y() + i * lineSpacing;
        if (top > shown.bottom())
            break;
        if (top + lineSpacing < shown.top())
            continue;
        const int baseline = top + font->ascent();
        // Tk centres each line of a block, whatever the anchor.
        const int lineStart = textLeft + (widest - lines.at(i).width) / 2;
        int x = lineStart;
        for (char32_t character : lines.at(i).characters) {
            if (x > shown.right() + lineSpacing)
                break;
            if (character == Tab) {
                run.paint(Foreground);
            } else {
                // A glyph is wider than its advance at most by about the line height.
                if (x + lineSpacing >= shown.left())
                    run.add(font->glyph(character), QPoint(x, baseline));
            }
            x += advanceOf(*font, character, x - lineStart, tabWidth);
        }
        run.paint(Foreground);
    }

    // Tk leaves out an indicator too small to show.
    const int diameter = space - zeroWidth;
    if (!defaults.indicator || diameter <= 2 * defaults.borderWidth)
        return std::nullopt;
    return indicatorCentre(textLeft, space, size.height());
}

} // namespace widgets::tk
