#include "widgets/textconversion.h"

#include <algorithm>
#include <limits>

namespace widgets {

QStringView textBeforeNul(QStringView text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.first(nul);
}

QString foldFullWidth(const QString &text)
{
    QString folded = text;
    for (QChar &ch : folded) {
        const char16_t code = ch.unicode();
        if (code >= 0xFF01 && code <= 0xFF5D && code != 0xFF04)
            ch = QChar(char16_t(code - 0xFF01 + 0x21));
        else if (code == 0xFFE5)
            ch = QLatin1Char('$');
        else if (code == 0xFFE3 || code == 0xFF5E)
            ch = QLatin1Char('~');
        else if (code == 0x3000)
            ch = QLatin1Char(' ');
        else if (code == 0x2605 || code == 0x2606)
            ch = QLatin1Char('*');
    }
    return folded;
}

int textToInteger(const QString &text)
{
    const QString folded = foldFullWidth(text);
    qsizetype i = 0;
    const qsizetype n = folded.size();
    // atoi skips what isspace() calls blank: space, tab, line feed, vertical tab, form feed, return.
    while (i < n && (folded[i] == u' ' || (folded[i] >= u'\t' && folded[i] <= u'\r')))
        ++i;
    bool negative = false;
    if (i < n && (folded[i] == u'+' || folded[i] == u'-')) {
        negative = folded[i] == u'-';
        ++i;
    }
    // Too many digits saturate at the 32-bit limits, as atoi does where long has 32 bits.
    long long value = 0;
    for (; i < n && folded[i] >= u'0' && folded[i] <= u'9'; ++i) {
        value = value * 10 + (folded[i].unicode() - u'0');
        if (value > 1LL + std::numeric_limits<int>::max())
            value = 1LL + std::numeric_limits<int>::max();
    }
    if (negative)
        value = -value;
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

QString integerToText(int value)
{
    return QString::number(value);
}

int findText(const QString &text, const QString &what)
{
    const qsizetype at = text.indexOf(what);
    return at < 0 ? -1 : int(at) + 1;
}

QStringList splitText(const QString &text, const QString &delimiter)
{
    if (delimiter.isEmpty())
        return {text};
    return text.split(delimiter);
}

} // namespace widgets
