#include "codegen/tkintergenerator.h"

#include "design/designwindowids.h"
#include "model/designmodel.h"
#include "model/propertyrows.h"
#include "widgets/fontvalue.h"
#include "widgets/propertyindex.h"
#include "widgets/textconversion.h"
#include "widgets/widgetlayer.h"

namespace codegen {

using widgets::Prop;

namespace {

// Fixed texts are UTF-16 literals: appended as they are, where a Latin-1 one is widened one character
// at a time.
const QStringView LineEnd(u"\r\n");

// How one kind's line is written. The variable prefix is the kind's class word (RadioButton), the
// Tkinter class its own (Radiobutton).
struct KindFormat
{
    QStringView constructor;  // up to the opening quote of the caption, or of the face for Entry
    QStringView closing;       // after the font size, up to "y="
};

KindFormat formatOf(model::ComponentKind kind)
{
    using model::ComponentKind;
    switch (kind) {
    case ComponentKind::Label:
        return {QStringView(u" = Label(Window, text='"), QStringView(u"), anchor=W).place(y=")};
    case ComponentKind::Entry:
        return {QStringView(u" = Entry(Window, font=('"), QStringView(u")).place(y=")};
    case ComponentKind::Button:
        return {QStringView(u" = Button(Window, text='"), QStringView(u")).place(y=")};
    case ComponentKind::RadioButton:
        return {QStringView(u" = Radiobutton(Window, text='"), QStringView(u"), anchor=W).place(y=")};
    case ComponentKind::CheckButton:
    case ComponentKind::Window:
        break;
    }
    return {QStringView(u" = Checkbutton(Window, text='"), QStringView(u"), anchor=W).place(y=")};
}

// A number written straight into the text: the generator writes six of them a component, and a
// string of its own for each was the bulk of the work for a large design. Same digits as
// integerToText: decimal, a minus sign for negatives, no padding.
void appendInteger(QString &out, int value)
{
    char16_t digits[12];
    char16_t *end = digits + std::size(digits);
    char16_t *at = end;
    // Unsigned, so that the most negative int has its digits too.
    unsigned magnitude = value < 0 ? 0u - unsigned(value) : unsigned(value);
    do {
        *--at = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--at = u'-';
    out += QStringView(at, end - at);
}

void appendEscapedCharacter(QString &out, char16_t unit)
{
    switch (unit) {
    case u'\\': out += QLatin1StringView("\\\\"); return;
    case u'\'': out += QLatin1StringView("\\'"); return;
    case u'\r': out += QLatin1StringView("\\r"); return;
    case u'\n': out += QLatin1StringView("\\n"); return;
    case u'\t': out += QLatin1StringView("\\t"); return;
    default: break;
    }
    if (unit < 0x20 || unit == 0x7F) {
        static const char hex[] = "0123456789abcdef";
        out += QLatin1StringView("\\x");
        out += QLatin1Char(hex[unit >> 4]);
        out += QLatin1Char(hex[unit & 0xF]);
        return;
    }
    out += QChar(unit);
}

void appendComponentLine(QString &out, const model::Component &component, const widgets::WidgetLayer &layer,
                         int dotsPerInch)
{
    const KindFormat format = formatOf(component.kind);
    // The control is looked up once and its geometry read in one go: six lookups a component were
    // most of the cost of a large design.
    const widgets::ControlReader widget = layer.reader(component.widget);
    const std::optional<Prop> caption = model::captionProperty(component.kind);
    const auto font = widget.read(*model::fontProperty(component.kind)).value<widgets::FontValue>();
    const QRect geometry = widget.geometry();

    out += LineEnd;
    out += model::classWord(component.kind);
    appendInteger(out, component.number);
    out += format.constructor;
    if (caption) {
        appendPythonQuoted(out, widget.read(*caption).toString());
        out += u"', font=('";
    }
    appendPythonQuoted(out, font.face);
    out += u"', ";
    appendInteger(out, fontPoints(font.height, dotsPerInch));
    out += format.closing;
    appendInteger(out, geometry.top());
    out += u", x=";
    appendInteger(out, geometry.left());
    out += u", width=";
    appendInteger(out, geometry.width());
    out += u", height=";
    appendInteger(out, geometry.height());
    out += u')';
}

} // namespace

QString pythonQuotedText(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8 + 8);
    appendPythonQuoted(out, text);
    return out;
}

void appendPythonQuoted(QString &out, const QString &text)
{
    const qsizetype size = text.size();
    qsizetype plainFrom = 0;  // start of the run of characters that are copied as they are
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = text.at(i).unicode();
        const bool plain = unit >= 0x20 && unit != 0x7F && unit != u'\\' && unit != u'\''
                           && !QChar::isSurrogate(unit);
        if (plain)
            continue;
        if (QChar::isHighSurrogate(unit) && i + 1 < size && QChar::isLowSurrogate(text.at(i + 1).unicode())) {
            ++i;  // a whole pair stays in the run
            continue;
        }
        // One append per run rather than per character.
        out += QStringView(text).sliced(plainFrom, i - plainFrom);
        if (QChar::isSurrogate(unit))
            out += QChar(QChar::ReplacementCharacter);
        else
            appendEscapedCharacter(out, unit);
        plainFrom = i + 1;
    }
    out += QStringView(text).sliced(plainFrom, size - plainFrom);
}

int fontPoints(int height, int dotsPerInch)
{
    return widgets::pointsForHeight(height, dotsPerInch);
}

QString generate(const model::DesignModel &model, const widgets::WidgetLayer &layer)
{
    const widgets::ControlRef window = design::ids::DesignWindow;

    // Room for the usual line of each component, so the text is not copied again and again as it grows.
    QString out;
    out.reserve(1024 + qsizetype(model.components.size()) * 112);
    const int dotsPerInch = widgets::screenDotsPerInchY();
    out += QLatin1StringView("from tkinter import *");
    out += QLatin1StringView("\r\n\r\nWindow = Tk()");
    out += QLatin1StringView("\r\nWindow.title('");
    out += pythonQuotedText(layer.readText(window, Prop::WindowTitle));
    out += QLatin1StringView("')\r\nWindow.geometry('");
    out += widgets::integerToText(layer.clientWidth(window));
    out += QLatin1Char('x');
    out += widgets::integerToText(layer.clientHeight(window));
    out += QLatin1Char('+');
    out += widgets::integerToText(model.windowLeft);
    out += QLatin1Char('+');
    out += widgets::integerToText(model.windowTop);
    out += QLatin1StringView("')");

    for (model::ComponentKind kind : model::WidgetKinds) {
        const QList<int> numbers = model.numbersOfKind(kind);
        if (numbers.isEmpty())
            continue;
        out += LineEnd;
        for (int number : numbers) {
            // Components are never removed, so every number names a live one; a gap is skipped
            // rather than trusted.
            if (const model::Component *component = model.componentByNumber(number))
                appendComponentLine(out, *component, layer, dotsPerInch);
        }
    }

    out += QLatin1StringView("\r\n\r\nWindow.mainloop()");
    return out;
}

} // namespace codegen
