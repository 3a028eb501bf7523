#include "widgets/tklook/optionvalues.h"

#include <QByteArray>

#include <climits>
#include <cstdlib>
#include <cstring>

#include <locale.h>

namespace widgets::tk {

namespace {

// Tk 8.6's own colours, after their first letter (tkColor.c): the name's rest and the value.
constexpr const char *WebColours[20] = {
    "qua\0#0000ffffffff", nullptr, "rimson\0#dcdc14143c3c", nullptr, nullptr,
    "uchsia\0#ffff0000ffff", "reen\0#000080800000", nullptr, "ndigo\0#4b4b00008282", nullptr,
    nullptr, "ime\0#0000ffff0000", "aroon\0#808000000000", nullptr, "live\0#808080800000",
    "urple\0#808000008080", nullptr, nullptr, "ilver\0#c0c0c0c0c0c0", "eal\0#000080808080",
};

// Tk's web colour match, with its arithmetic: letters compare without case, and so do a few bytes
// that differ by 0x20 (signed chars, as on x86).
const char *webColour(const char *name)
{
    if (((*name - 'A') & 0xDF) >= 20)
        return nullptr;
    if (!((name[0] - 'G') & 0xDF) && !((name[1] - 'R') & 0xDF) && !((name[2] - 'A') & 0xDB)
        && !((name[3] - 'Y') & 0xDF) && !name[4])
        return "#808080808080";
    const char *p = WebColours[(*name - 'A') & 0x1F];
    if (!p)
        return nullptr;
    const char *q = name;
    while (!((*p - *(++q)) & 0xDF)) {
        if (!*p++)
            return p;
    }
    return nullptr;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Xlib's reading of "#" and 3, 6, 9 or 12 hex digits, after Tk has widened the shorter forms by
// repeating digits: "#abc" is #aaaabbbbcccc (Xlib alone would make it #a000b000c000).
std::optional<QRgba64> parseHexColour(QByteArrayView digits)
{
    const qsizetype size = digits.size();
    if (size != 3 && size != 6 && size != 9 && size != 12)
        return std::nullopt;
    const qsizetype per = size / 3;
    quint16 channel[3];
    for (int c = 0; c < 3; ++c) {
        QByteArray wide;
        const QByteArrayView part = digits.sliced(c * per, per);
        switch (per) {
        case 1: wide = QByteArray(4, part[0]); break;
        case 2: wide = part.toByteArray() + part.toByteArray(); break;
        case 3: wide = part.toByteArray() + part.first(1).toByteArray(); break;
        default: wide = part.toByteArray(); break;
        }
        int value = 0;
        for (char digit : std::as_const(wide)) {
            const int d = hexDigit(digit);
            if (d < 0)
                return std::nullopt;
            value = value * 16 + d;
        }
        channel[c] = quint16(value);
    }
    return QRgba64::fromRgba64(channel[0], channel[1], channel[2], 0xFFFF);
}

// C's double reading, whatever locale the designer runs in.
double readDouble(const QByteArray &text, const char **rest)
{
    static const locale_t c = newlocale(LC_NUMERIC_MASK, "C", locale_t(nullptr));
    char *end = nullptr;
    const double d = strtod_l(text.constData(), &end, c);
    *rest = end;
    return d;
}

// C's conversion of a double to int, as x86 does it where C leaves it undefined.
int toInt(double d)
{
    if (!(d > double(INT_MIN) - 1.0 && d < double(INT_MAX) + 1.0))
        return INT_MIN;
    return int(d);
}

bool isCSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

} // namespace

std::optional<QRgba64> parseColour(QByteArrayView text, const ColourNameLookup &lookupName)
{
    const QByteArray name = text.toByteArray();
    if (name.startsWith('#'))
        return parseHexColour(QByteArrayView(name).sliced(1));
    if (const char *web = webColour(name.constData()))
        return parseHexColour(QByteArrayView(web).sliced(1));
    // Tk does not ask the server about a name this long.
    if (name.isEmpty() || std::strlen(name.constData()) > 99 || !lookupName)
        return std::nullopt;
    return lookupName(name);
}

std::optional<int> parseScreenDistance(QByteArrayView text, ScreenWidth screen)
{
    const QByteArray copy = text.toByteArray();
    const char *rest = nullptr;
    double d = readDouble(copy, &rest);
    if (rest == copy.constData())
        return std::nullopt;
    while (*rest && isCSpace(*rest))
        ++rest;
    static constexpr double Bias[] = {1.0, 10.0, 25.4, 0.35278};
    int units = -1;
    switch (*rest) {
    case '\0': break;
    case 'm': units = 0; break;
    case 'c': units = 1; break;
    case 'i': units = 2; break;
    case 'p': units = 3; break;
    default: return std::nullopt;  // what follows the unit is not looked at
    }
    if (units < 0 && toInt(d) == d)
        return toInt(d);
    if (units >= 0 && screen.millimetres > 0) {
        d *= Bias[units] * screen.pixels;
        d /= screen.millimetres;
    }
    return toInt(d < 0 ? d - 0.5 : d + 0.5);
}

std::optional<int> parseTableIndex(QByteArrayView text, const QList<QByteArrayView> &table)
{
    if (text.isEmpty())
        return std::nullopt;
    std::optional<int> abbreviated;
    int abbreviations = 0;
    for (int i = 0; i < table.size(); ++i) {
        if (table.at(i) == text)
            return i;
        if (table.at(i).startsWith(text)) {
            abbreviated = i;
            ++abbreviations;
        }
    }
    return abbreviations == 1 ? abbreviated : std::nullopt;
}

std::optional<int> parseInteger(QByteArrayView text)
{
    bool ok = false;
    const qlonglong value = text.toByteArray().trimmed().toLongLong(&ok, 0);
    if (!ok || value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return int(value);
}

std::optional<bool> parseBoolean(QByteArrayView text)
{
    const QByteArray copy = text.toByteArray();
    const char *rest = nullptr;
    const double d = readDouble(copy, &rest);
    if (rest != copy.constData()) {
        while (*rest && isCSpace(*rest))
            ++rest;
        if (!*rest && d == d)
            return d != 0;
    }
    bool ok = false;
    const qlonglong integer = QByteArray(copy.trimmed()).toLongLong(&ok, 0);
    if (ok)
        return integer != 0;
    const QByteArray lower = copy.toLower();
    if (lower.isEmpty())
        return std::nullopt;
    for (const char *word : {"yes", "true"}) {
        if (QByteArrayView(word).startsWith(lower))
            return true;
    }
    for (const char *word : {"no", "false"}) {
        if (QByteArrayView(word).startsWith(lower))
            return false;
    }
    if (lower.size() >= 2 && QByteArrayView("on").startsWith(lower))
        return true;
    if (lower.size() >= 2 && QByteArrayView("off").startsWith(lower))
        return false;
    return std::nullopt;
}

QColor shownColour(QRgba64 colour)
{
    return QColor(colour.red() >> 8, colour.green() >> 8, colour.blue() >> 8);
}

} // namespace widgets::tk
