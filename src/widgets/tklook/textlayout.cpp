#include "widgets/tklook/textlayout.h"

#include "widgets/tklook/xftfont.h"

namespace widgets::tk {

namespace {

// Tk draws widgets of any size; a line longer than this many pixels is not worth measuring further.
constexpr int LayoutLimit = 70000;

bool isBreak(char32_t c)
{
    return c == U'\n' || c == U'\r';
}

// C's isspace in the program's UTF-8 locale: ASCII white space only.
bool isSpace(char32_t c)
{
    return c == U' ' || (c >= U'\t' && c <= U'\r');
}

// Tk_MeasureChars with whole words: how many of the characters from `from` to `to` fit in `room`
// pixels (a negative room: all), and how wide they are. Where a word passes the room the line ends after the
// last whole word; where there is none, as many characters as fit, and with `atLeastOne` never none.
int measure(const XftFont &font, const QList<char32_t> &text, qsizetype from, qsizetype to, int room,
            bool atLeastOne, int *width)
{
    int x = 0;
    qsizetype at = from;
    int wordEndX = 0;
    qsizetype wordEnd = from;
    bool sawNonSpace = false;
    for (; at < to; ++at) {
        const char32_t c = text.at(at);
        if (isSpace(c)) {
            if (sawNonSpace) {
                wordEnd = at;
                wordEndX = x;
                sawNonSpace = false;
            }
        } else {
            sawNonSpace = true;
        }
        const int next = x + font.advance(c);
        if (room >= 0 && next > room) {
            if (atLeastOne && at == from) {
                x = next;
                ++at;
            } else if (!(atLeastOne && wordEndX == 0)) {
                x = wordEndX;
                at = wordEnd;
            }
            break;
        }
        x = next;
        if (x > LayoutLimit) {
            at = to;  // the rest is far out of sight
            break;
        }
    }
    *width = x;
    return int(at - from);
}

} // namespace

int tabWidthOf(const XftFont &font)
{
    return 8 * font.advance(U'0');
}

int advanceOf(const XftFont &font, char32_t character, int lineX, int tabWidth)
{
    if (character == Tab)
        return tabWidth > 0 ? tabWidth - lineX % tabWidth : 0;
    return font.advance(character);
}

QList<Line> layoutLines(const XftFont &font, QStringView text, int wrapLength)
{
    QList<char32_t> chars;
    for (uint code : text.toUcs4())
        chars.append(char32_t(code));
    const int wrap = wrapLength == 0 ? -1 : wrapLength;
    const int tabWidth = tabWidthOf(font);
    QList<Line> lines;
    Line line;
    bool atLeastOne = true;
    bool lastWasLineFeed = false;
    qsizetype at = 0;
    while (at < chars.size()) {
        qsizetype special = at;
        while (special < chars.size() && !isBreak(chars.at(special)) && chars.at(special) != Tab)
            ++special;
        bool inChunk = false;  // the spaces after a measured run join it
        if (at < special) {
            int width = 0;
            // Tk measures against the wrap length less the line so far; without one, against nothing.
            const int room = wrap < 0 ? -1 : wrap - line.width;
            const int count = measure(font, chars, at, special, room, atLeastOne, &width);
            atLeastOne = false;
            if (count > 0) {
                line.characters.append(chars.mid(at, count));
                line.width += width;
                at += count;
                inChunk = true;
                lastWasLineFeed = false;
            }
        }
        bool ended = false;
        if (at == special && special < chars.size()) {
            inChunk = false;
            lastWasLineFeed = chars.at(special) == U'\n';
            if (chars.at(special) == Tab) {
                line.characters.append(Tab);
                line.width += advanceOf(font, Tab, line.width, tabWidth);
                ++at;
                atLeastOne = false;
                if (at < chars.size() && (wrap <= 0 || line.width <= wrap))
                    continue;
            } else {
                line.endedByBreak = true;
                ++at;
                ended = true;
            }
        }
        if (!ended) {
            while (at < chars.size() && isSpace(chars.at(at)) && !isBreak(chars.at(at)) && chars.at(at) != Tab) {
                if (inChunk)
                    line.characters.append(chars.at(at));
                ++at;
            }
        }
        atLeastOne = true;
        lines.append(std::exchange(line, Line()));
        if (lines.size() * font.lineSpacing() > LayoutLimit)
            return lines;
    }
    if (lastWasLineFeed || lines.isEmpty())
        lines.append(Line());
    return lines;
}

int lineOffset(Justify justify, int lineWidth, int widest)
{
    const int spare = widest - lineWidth;
    return justify == Justify::Left ? 0 : justify == Justify::Right ? spare : spare / 2;
}

} // namespace widgets::tk
