// textToInteger against a plain reading of its rule: the code page 936 full-width fold, worked out
// from the code page itself, then the C library's strtoll, held to 32 bits as atoi is where long has 32 bits.

#include "fuzzinput.h"
#include "widgets/textconversion.h"

#include <QHash>
#include <QStringDecoder>

#include <cstdlib>
#include <limits>
#include <string>

namespace {

// What the fold makes of each character it changes, read by decoding the double-byte codes the rule names.
QHash<char16_t, char> buildFold()
{
    QHash<char16_t, char> fold;
    auto add = [&fold](uint8_t lead, uint8_t trail, char ascii) {
        const char bytes[] = {char(lead), char(trail)};
        QStringDecoder decoder("GBK");
        const QString decoded = decoder(QByteArray(bytes, 2));
        if (decoded.size() == 1 && !decoder.hasError())
            fold.insert(decoded.at(0).unicode(), ascii);
    };
    for (int trail = 0xA1; trail <= 0xFE; ++trail)
        add(0xA3, uint8_t(trail), char(trail - 0x80));
    add(0xA1, 0xA1, ' ');
    add(0xA1, 0xAB, '~');
    add(0xA1, 0xEE, '*');
    add(0xA1, 0xEF, '*');
    return fold;
}

int referenceTextToInteger(const QString &text)
{
    static const QHash<char16_t, char> fold = buildFold();
    std::string ascii;
    for (QChar ch : text) {
        const char16_t unit = ch.unicode();
        if (const auto it = fold.constFind(unit); it != fold.constEnd())
            ascii += *it;
        else if (unit < 0x80)
            ascii += unit == 0 ? '\x01' : char(unit);   // a NUL would end the C string early
        else
            ascii += '\x01';                             // any other character: neither blank, sign nor digit
    }
    const long long value = std::strtoll(ascii.c_str(), nullptr, 10);
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return int(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzing::FuzzInput input(data, size);
    // Texts of the characters that matter most: digits, blanks, signs and their full-width forms.
    static const char16_t alphabet[] = {u'0', u'7', u'9', u' ', u'\t', u'\n', u'\v', u'+', u'-', u'a',
                                        0xFF10, 0xFF19, 0xFF0B, 0xFF0D, 0x3000, 0xFF04, 0xFFE5, 0x2605,
                                        0xFF5E, 0xFFE3, 0x00A0, 0x2212, 0xD800, 0};
    QString text;
    if (input.byte() & 1) {
        while (!input.empty())
            text.append(QChar(alphabet[input.choice(std::size(alphabet))]));
    } else {
        text = input.text(4096);
    }
    const int got = widgets::textToInteger(text);
    const int expected = referenceTextToInteger(text);
    if (got != expected) {
        qFatal("textToInteger(\"%s\") gives %d, the rule %d", qPrintable(text.toHtmlEscaped()), got, expected);
    }
    return 0;
}
