#include "codegen/tkintergenerator.h"

#include "codegen/textwriter.h"

#include "design/designwindowids.h"
#include "model/designmodel.h"
#include "model/propertyrows.h"
#include "widgets/fontvalue.h"
#include "widgets/propertyindex.h"
#include "widgets/screenmetrics.h"
#include "widgets/textconversion.h"
#include "widgets/widgetlayer.h"

namespace codegen {

using widgets::Prop;

namespace {

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
void appendInteger(TextWriter &out, int value)
{
    // Unsigned, so that the most negative int has its digits too.
    unsigned magnitude = value < 0 ? 0u - unsigned(value) : unsigned(value);
    int length = value < 0 ? 2 : 1;
    for (unsigned rest = magnitude; rest >= 10; rest /= 10)
        ++length;
    char16_t *at = out.room(length) + length;
    do {
        *--at = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--at = u'-';
}

void appendEscapedCharacter(TextWriter &out, char16_t unit)
{
    switch (unit) {
    case u'\\': out.append(u"\\\\"); return;
    case u'\'': out.append(u"\\'"); return;
    case u'\r': out.append(u"\\r"); return;
    case u'\n': out.append(u"\\n"); return;
    case u'\t': out.append(u"\\t"); return;
    default: break;
    }
    if (unit < 0x20 || unit == 0x7F) {
        static const char hex[] = "0123456789abcdef";
        out.append(u"\\x");
        out.append(char16_t(hex[unit >> 4]));
        out.append(char16_t(hex[unit & 0xF]));
        return;
    }
    out.append(unit);
}

void appendPythonQuoted(TextWriter &out, const QString &whole)
{
    const QStringView text = widgets::textBeforeNul(whole);
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
        out.append(text.sliced(plainFrom, i - plainFrom));
        if (QChar::isSurrogate(unit))
            out.append(char16_t(QChar::ReplacementCharacter));
        else
            appendEscapedCharacter(out, unit);
        plainFrom = i + 1;
    }
    out.append(text.sliced(plainFrom, size - plainFrom));
}

void appendComponentLine(TextWriter &out, const model::Component &component, const widgets::WidgetLayer &layer,
                         int dotsPerInch)
{
    const KindFormat format = formatOf(component.kind);
    // The control is looked up once and its geometry read in one go: six lookups a component were
    // most of the cost of a large design.
    const widgets::ControlReader widget = layer.reader(component.widget);
    const std::optional<Prop> caption = model::captionProperty(component.kind);
    const auto font = widget.read(*model::fontProperty(component.kind)).value<widgets::FontValue>();
    const QRect geometry = widget.geometry();

    out.append(LineEnd);
    out.append(model::classWord(component.kind));
    appendInteger(out, component.number);
    out.append(format.constructor);
    if (caption) {
        appendPythonQuoted(out, widget.read(*caption).toString());
        out.append(u"', font=('");
    }
    appendPythonQuoted(out, font.face);
    out.append(u"', ");
    appendInteger(out, fontPoints(font.height, dotsPerInch));
    out.append(format.closing);
    appendInteger(out, geometry.top());
    out.append(u", x=");
    appendInteger(out, geometry.left());
    out.append(u", width=");
    appendInteger(out, geometry.width());
    out.append(u", height=");
    appendInteger(out, geometry.height());
    out.append(u')');
}

} // namespace

QString pythonQuotedText(const QString &text)
{
    TextWriter out(text.size() + text.size() / 8 + 8);
    appendPythonQuoted(out, text);
    return out.take();
}

int fontPoints(int height, int dotsPerInch)
{
    return widgets::pointsForHeight(height, dotsPerInch);
}

QString generate(const model::DesignModel &model, const widgets::WidgetLayer &layer)
{
    const widgets::ControlRef window = design::ids::DesignWindow;

    // Room for the usual line of each component, so the text is not copied again and again as it grows.
    TextWriter out(1024 + qsizetype(model.components.size()) * 112);
    const int dotsPerInch = widgets::layoutDotsPerInch();
    out.append(u"from tkinter import *");
    out.append(u"\r\n\r\nWindow = Tk()");
    out.append(u"\r\nWindow.title('");
    appendPythonQuoted(out, layer.readText(window, Prop::WindowTitle));
    out.append(u"')\r\nWindow.geometry('");
    appendInteger(out, layer.clientWidth(window));
    out.append(u'x');
    appendInteger(out, layer.clientHeight(window));
    out.append(u'+');
    appendInteger(out, model.windowLeft);
    out.append(u'+');
    appendInteger(out, model.windowTop);
    out.append(u"')");

    for (model::ComponentKind kind : model::WidgetKinds) {
        const QList<int> numbers = model.numbersOfKind(kind);
        if (numbers.isEmpty())
            continue;
        out.append(LineEnd);
        for (int number : numbers) {
            // Components are never removed, so every number names a live one; a gap is skipped
            // rather than trusted.
            if (const model::Component *component = model.componentByNumber(number))
                appendComponentLine(out, *component, layer, dotsPerInch);
        }
    }

    out.append(u"\r\n\r\nWindow.mainloop()");
    return out.take();
}

} // namespace codegen
