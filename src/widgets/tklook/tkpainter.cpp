#include "widgets/tklook/tkpainter.h"

#include "widgets/screenmetrics.h"
#include "widgets/textconversion.h"
#include "widgets/tklook/glyphcompositing.h"
#include "widgets/tklook/textlayout.h"
#include "widgets/tklook/tkborder.h"
#include "widgets/tklook/tkoptions.h"
#include "widgets/tklook/xftfont.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

namespace widgets::tk {

namespace {

// Tk's indicator images (tkUnixButton.c): check boxes of 13 by 13 from row 0, radio dots of 12 by 12
// from row 13, off, on, disabled off and disabled on side by side every 13 columns. The letters name
// colours: A, B and F the widget's background, C and E its light and dark shadows, D the select
// colour, G the foreground, H the disabled foreground.
constexpr const char *IndicatorImages[] = {
    "AAAAAAAAAAAABAAAAAAAAAAAABAAAAAAAAAAAABAAAAAAAAAAAAB",
    "AEEEEEEEEEECBAEEEEEEEEEECBAEEEEEEEEEECBAEEEEEEEEEECB",
    "AEDDDDDDDDDCBAEDDDDDDDDDCBAEFFFFFFFFFCBAEFFFFFFFFFCB",
    "AEDDDDDDDDDCBAEDDDDDDDGDCBAEFFFFFFFFFCBAEFFFFFFFHFCB",
    "AEDDDDDDDDDCBAEDDDDDDGGDCBAEFFFFFFFFFCBAEFFFFFFHHFCB",
    "AEDDDDDDDDDCBAEDGDDDGGGDCBAEFFFFFFFFFCBAEFHFFFHHHFCB",
    "AEDDDDDDDDDCBAEDGGDGGGDDCBAEFFFFFFFFFCBAEFHHFHHHFFCB",
    "AEDDDDDDDDDCBAEDGGGGGDDDCBAEFFFFFFFFFCBAEFHHHHHFFFCB",
    "AEDDDDDDDDDCBAEDDGGGDDDDCBAEFFFFFFFFFCBAEFFHHHFFFFCB",
    "AEDDDDDDDDDCBAEDDDGDDDDDCBAEFFFFFFFFFCBAEFFFHFFFFFCB",
    "AEDDDDDDDDDCBAEDDDDDDDDDCBAEFFFFFFFFFCBAEFFFFFFFFFCB",
    "ACCCCCCCCCCCBACCCCCCCCCCCBACCCCCCCCCCCBACCCCCCCCCCCB",
    "BBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBBB",
    "FFFFAAAAFFFFFFFFFAAAAFFFFFFFFFAAAAFFFFFFFFFAAAAFFFFF",
    "FFAAEEEEAAFFFFFAAEEEEAAFFFFFAAEEEEAAFFFFFAAEEEEAAFFF",
    "FAEEDDDDEEBFFFAEEDDDDEEBFFFAEEFFFFEEBFFFAEEFFFFEEBFF",
    "FAEDDDDDDCBFFFAEDDDDDDCBFFFAEFFFFFFCBFFFAEFFFFFFCBFF",
    "AEDDDDDDDDCBFAEDDDGGDDDCBFAEFFFFFFFFCBFAEFFFHHFFFCBF",
    "AEDDDDDDDDCBFAEDDGGGGDDCBFAEFFFFFFFFCBFAEFFHHHHFFCBF",
    "AEDDDDDDDDCBFAEDDGGGGDDCBFAEFFFFFFFFCBFAEFFHHHHFFCBF",
    "AEDDDDDDDDCBFAEDDDGGDDDCBFAEFFFFFFFFCBFAEFFFHHFFFCBF",
    "FAEDDDDDDCBFFFAEDDDDDDCBFFFAEFFFFFFCBFFFAEFFFFFFCBFF",
    "FACCDDDDCCBFFFACCDDDDCCBFFFACCFFFFCCBFFFACCFFFFCCBFF",
    "FFBBCCCCBBFFFFFBBCCCCBBFFFFFBBCCCCBBFFFFFBBCCCCBBFFF",
    "FFFFBBBBFFFFFFFFFBBBBFFFFFFFFFBBBBFFFFFFFFFBBBBFFFFF",
    "FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF",
};

// TkpDrawCheckIndicator: the image for the state, centred where Tk centres it. A radio dot is a pixel
// narrower than its cell, and its centre rounds the same way.
void paintIndicator(QPainter &painter, QPoint centre, bool check, bool on, bool disabled,
                    const QColor (&colours)[8])
{
    const int size = check ? 13 : 12;
    const int firstRow = check ? 0 : 13;
    const int firstColumn = (on ? 13 : 0) + (disabled ? 26 : 0);
    const QPoint corner = centre - QPoint(size / 2, size / 2);
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) {
            const char letter = IndicatorImages[firstRow + row][firstColumn + column];
            painter.fillRect(corner.x() + column, corner.y() + row, 1, 1, colours[letter - 'A']);
        }
    }
}

// Tk's look of a disabled widget that has no disabled foreground: its background in the gray50
// stipple over all it drew, from the widget's corner, every pixel whose coordinates add up to an even number.
void stipple(QImage &canvas, QPoint origin, const QColor &colour)
{
    const QRgb pixel = colour.rgb();
    for (int y = 0; y < canvas.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(canvas.scanLine(y));
        for (int x = (origin.x() + origin.y() + y) & 1; x < canvas.width(); x += 2)
            line[x] = pixel;
    }
}

// Tk_UnderlineTextLayout: a bar under the character of the index, counting the line feeds and carriage
// returns that end lines (which show none), as wide as the character and cut at the block's right edge; half the
// descent below the baseline, and a tenth of the font's size in pixels thick, rounded (Tk sets that over what
// its Xft back end reckons, a third of an "I"), the size converted by the screen's width as Tk converts it.
void paintUnderline(QImage &canvas, QPoint origin, const XftFont &font, int points, const QList<Line> &lines,
                    QPoint block, int widest, Justify justify, int index, const QColor &colour)
{
    int position = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const Line &line = lines.at(i);
        if (index >= position + line.characters.size()) {
            position += line.characters.size() + (line.endedByBreak ? 1 : 0);
            if (index < position)
                return;  // the line's break
            continue;
        }
        int x = 0;
        for (int j = 0; j < index - position; ++j)
            x += advanceOf(font, line.characters.at(j), x, tabWidthOf(font));
        int width = advanceOf(font, line.characters.at(index - position), x, tabWidthOf(font));
        x = qMin(x + lineOffset(justify, line.width, widest), widest);
        width = qMin(width, widest - x);
        int below = font.descent() / 2;
        const ScreenWidth screen = programScreenWidth();
        const double pixels = points > 0 ? points * 25.4 / 72.0 * screen.pixels / qMax(1, screen.millimetres) : 0;
        int thickness = qMax(1, int(pixels / 10 + 0.5));
        if (thickness + below > font.descent()) {
            thickness = font.descent() - below;
            if (thickness == 0) {
                --below;
                thickness = 1;
            }
        }
        if (width <= 0)
            return;
        QPainter painter(&canvas);
        painter.fillRect(QRect(block.x() + x, block.y() + i * font.lineSpacing() + font.ascent() + below, width, thickness)
                             .translated(-origin),
                         colour);
        return;
    }
}

// TkpDisplayButton's last step: the default ring a button may have, the border, and the highlight ring,
// over what overflows into them.
void paintButtonFrame(QPainter &painter, QSize size, const WidgetOptions &options, const Border &border, Relief relief)
{
    const Border highlight = borderOf(options.highlightBackground);
    auto inset = [size](int by) { return QRect(by, by, size.width() - 2 * by, size.height() - 2 * by); };
    if (relief != Relief::Flat) {
        int at = options.highlightThickness;
        if (options.defaultRing == DefaultRing::Active) {
            draw3DRectangle(painter, highlight, inset(at), 2, Relief::Flat);
            at += 2;
            draw3DRectangle(painter, highlight, inset(at), 1, Relief::Sunken);
            ++at;
            draw3DRectangle(painter, highlight, inset(at), 2, Relief::Flat);
            at += 2;
        } else if (options.defaultRing == DefaultRing::Normal) {
            draw3DRectangle(painter, highlight, inset(0), 5, Relief::Flat);
            at += 5;
        }
        draw3DRectangle(painter, border, inset(at), options.borderWidth, relief);
    }
    drawHighlightRing(painter, size, options.highlightThickness, highlight.background,
                      options.defaultRing == DefaultRing::Normal ? 5 : 0);
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
    const WidgetOptions &options = optionsOf(m_class);
    const int ring = options.highlightThickness;
    const QRect inside(ring, ring, size.width() - 2 * ring, size.height() - 2 * ring);

    if (m_class == WidgetClass::Entry) {
        // The program creates its entries empty; what is typed into the design's copy is not shown.
        QRgba64 background = options.background;
        if (options.state == WidgetState::Disabled && options.disabledBackground)
            background = *options.disabledBackground;
        else if (options.state == WidgetState::Readonly && options.readonlyBackground)
            background = *options.readonlyBackground;
        const Border border = borderOf(background);
        canvas.fill(border.background);
        QPainter painter(&canvas);
        painter.translate(-area.topLeft());
        if (options.relief != Relief::Flat)
            draw3DRectangle(painter, border, inside, options.borderWidth, options.relief);
        drawHighlightRing(painter, size, ring, shownColour(options.highlightBackground));
    } else {
        const Content content = m_content();
        const ClassTraits traits = traitsOf(m_class);
        const bool disabled = options.state == WidgetState::Disabled;
        // A button held down in the design is what Tk shows while the pointer presses it.
        const bool pressed = m_class == WidgetClass::Button && content.pressed && !disabled;
        const bool active = pressed || options.state == WidgetState::Active;
        // The program's radio buttons all show as chosen (TkPainter's content).
        const bool selected = m_class == WidgetClass::Radiobutton || (m_class == WidgetClass::Checkbutton && content.checked);
        Relief relief = pressed ? Relief::Sunken : options.relief;
        QRgba64 background = active ? options.activeBackground : options.background;
        if (traits.indicator && !options.indicatorOn) {
            // Without an indicator the button itself shows its state; the over-relief the program
            // leaves empty never equals the relief.
            relief = selected ? Relief::Sunken : options.offRelief;
            if (selected && options.selectColor)
                background = *options.selectColor;
        }
        QRgba64 foreground = active ? options.activeForeground : options.foreground;
        if (disabled && options.disabledForeground)
            foreground = *options.disabledForeground;
        const Border border = borderOf(background);
        canvas.fill(border.background);
        const TextStyle style{shownColour(foreground), relief};
        const std::optional<QPoint> indicator = paintText(canvas, area.topLeft(), size, content, style);
        QPainter painter(&canvas);
        painter.translate(-area.topLeft());
        if (indicator) {
            const QColor colours[8] = {border.background, border.background, border.light,
                                       options.selectColor ? shownColour(*options.selectColor) : border.background,
                                       border.dark, border.background, shownColour(options.foreground),
                                       options.disabledForeground ? shownColour(*options.disabledForeground)
                                                                  : border.background};
            paintIndicator(painter, *indicator, traits.checkIndicator, selected, disabled, colours);
        }
        if (disabled && !options.disabledForeground) {
            painter.end();
            const bool selectShown = selected && !options.indicatorOn && options.selectColor;
            stipple(canvas, area.topLeft(), selectShown ? shownColour(*options.selectColor) : shownColour(options.background));
            painter.begin(&canvas);
            painter.translate(-area.topLeft());
        }
        paintButtonFrame(painter, size, options, border, relief);
    }
    QPainter(widget).drawImage(area.topLeft(), canvas);
}

std::optional<QPoint> TkPainter::paintText(QImage &canvas, QPoint origin, QSize size, const Content &content,
                                           const TextStyle &style) const
{
    const WidgetOptions &options = optionsOf(m_class);
    const ClassTraits traits = traitsOf(m_class);
    const bool indicatorShown = traits.indicator && options.indicatorOn;
    const int points = pointsForHeight(content.font.height, layoutDotsPerInch());
    const std::shared_ptr<const XftFont> font = XftFont::get(content.font.face, points);
    const int lineSpacing = font->lineSpacing();
    const int zeroWidth = font->advance(U'0');
    const int tabWidth = tabWidthOf(*font);

    const QList<Line> lines = layoutLines(*font, textBeforeNul(content.text), options.wrapLength);
    int widest = 0;
    for (const Line &line : lines)
        widest = qMax(widest, line.width);
    const int space = indicatorShown ? indicatorSpace(traits.checkIndicator, lineSpacing, zeroWidth) : 0;
    const QSize block(space + widest, int(lines.size()) * lineSpacing);
    // Tk leaves room for a button's default ring.
    const int inset = options.borderWidth + options.highlightThickness + (options.defaultRing != DefaultRing::Disabled ? 5 : 0);
    QPoint at = anchoredOrigin(options.anchor, size, inset, QSize(options.padX, options.padY), block);
    // Tk moves a button's text with its relief.
    if (m_class == WidgetClass::Button)
        at += buttonTextShift(style.relief, size);
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
        const int lineStart = textLeft + lineOffset(options.justify, lines.at(i).width, widest);
        int x = lineStart;
        for (char32_t character : lines.at(i).characters) {
            if (x > shown.right() + lineSpacing)
                break;
            if (character == Tab) {
                run.paint(style.foreground);
            } else {
                // A glyph is wider than its advance at most by about the line height.
                if (x + lineSpacing >= shown.left())
                    run.add(font->glyph(character), QPoint(x, baseline));
            }
            x += advanceOf(*font, character, x - lineStart, tabWidth);
        }
        run.paint(style.foreground);
    }
    if (options.underline >= 0)
        paintUnderline(canvas, origin, *font, points, lines, {textLeft, at.y()}, widest, options.justify,
                       options.underline, style.foreground);

    // Tk leaves out an indicator too small to show.
    const int diameter = space - zeroWidth;
    if (!indicatorShown || diameter <= 2 * options.borderWidth)
        return std::nullopt;
    return indicatorCentre(textLeft, space, size.height());
}

} // namespace widgets::tk
