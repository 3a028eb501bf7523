#pragma once

// What a design should look like in Tk, kept by a test from the user's own actions, and the
// comparison that names every widget and property where Tk (or the designer itself) differs.

#include "support/programtexts.h"
#include "designdriving.h"
#include "tkprobe.h"

#include "model/componentkind.h"
#include "model/designmodel.h"
#include "shell/designer.h"
#include "widgets/fontvalue.h"
#include "widgets/screenmetrics.h"

#include <QHash>
#include <QRect>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace designexpectation {

using model::ComponentKind;

// The limits the designer puts on what is typed for a widget's position and size.
inline constexpr int PositionLimit = 32627;
inline constexpr int SizeLimit = 32627;

inline int clampedPosition(long long value)
{
    return int(std::clamp<long long>(value, -PositionLimit, PositionLimit));
}

inline int clampedSize(long long value)
{
    return int(std::clamp<long long>(value, 0, SizeLimit));
}

// The Tk class the generated program makes for a kind.
inline QString tkClass(ComponentKind kind)
{
    switch (kind) {
    case ComponentKind::Label: return QStringLiteral("Label");
    case ComponentKind::Entry: return QStringLiteral("Entry");
    case ComponentKind::Button: return QStringLiteral("Button");
    case ComponentKind::RadioButton: return QStringLiteral("Radiobutton");
    case ComponentKind::CheckButton: return QStringLiteral("Checkbutton");
    case ComponentKind::Window: break;
    }
    return {};
}

// One placed widget as the user made it.
struct WidgetDesign
{
    ComponentKind kind = ComponentKind::Label;
    int number = 0;
    QRect rect;
    QString caption;                  // unused for the entry field
    QString face = QStringLiteral("微软雅黑");
    int points = 9;

    QString variable() const { return model::classWord(kind) + QString::number(number); }
    bool hasCaption() const { return kind != ComponentKind::Entry; }
};

// The default caption of a freshly placed widget of the kind.
inline QString templateCaption(ComponentKind kind)
{
    switch (kind) {
    case ComponentKind::Label: return QStringLiteral("标签");
    case ComponentKind::Button: return QStringLiteral("按钮");
    case ComponentKind::RadioButton: return QStringLiteral("单选框");
    case ComponentKind::CheckButton: return QStringLiteral("复选框");
    case ComponentKind::Entry:
    case ComponentKind::Window: break;
    }
    return {};
}

inline QSize templateSize(ComponentKind kind)
{
    return kind == ComponentKind::Button ? QSize(88, 32) : QSize(120, 20);
}

// A widget as a press at the point places it.
inline WidgetDesign placedWidget(ComponentKind kind, int number, QPoint at)
{
    WidgetDesign widget;
    widget.kind = kind;
    widget.number = number;
    widget.rect = QRect(at, templateSize(kind));
    widget.caption = templateCaption(kind);
    return widget;
}

// The whole design: the window and its widgets in placement order.
struct WindowDesign
{
    QString title;
    QSize client{300, 200};
    int left = 100;
    int top = 100;
    QList<WidgetDesign> widgets;

    WidgetDesign &widget(int number) { return widgets[number - 1]; }
};

// A text made readable for a failure message: control characters escaped, long texts cut.
inline QString shown(const QString &text)
{
    QString out;
    qsizetype i = 0;
    for (; i < text.size() && out.size() < 80; ++i) {
        const char16_t c = text.at(i).unicode();
        const bool pair = QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\t')
            out += QStringLiteral("\\t");
        else if (pair)
            out += text.mid(i++, 2);
        else if (c < 0x20 || c == 0x7F || QChar::isSurrogate(c))
            out += QStringLiteral("\\u%1").arg(int(c), 4, 16, QLatin1Char('0'));
        else
            out += text.at(i);
    }
    if (i < text.size())
        return QStringLiteral("\"%1...\" (%2 characters)").arg(out).arg(text.size());
    return QLatin1Char('"') + out + QLatin1Char('"');
}

using testsupport::programText;

namespace detail {

// Texts are compared whole; the message shows them shortened, with the first differing place.
inline void differ(QStringList &out, const QString &who, const char *property, const QString &expected,
                   const QString &actual, const char *where)
{
    if (expected == actual)
        return;
    qsizetype at = 0;
    while (at < expected.size() && at < actual.size() && expected.at(at) == actual.at(at))
        ++at;
    out << QStringLiteral("%1: %2: expected %3, %4 %5 (first difference at character %6)")
               .arg(who, QLatin1String(property), shown(expected), QLatin1String(where), shown(actual),
                    QString::number(at + 1));
}

inline void differ(QStringList &out, const QString &who, const char *property, int expected, int actual,
                   const char *where)
{
    if (expected != actual)
        out << QStringLiteral("%1: %2: expected %3, %4 %5").arg(who, QLatin1String(property)).arg(expected)
                   .arg(QLatin1String(where)).arg(actual);
}

} // namespace detail

// Every difference between the design and the window Tk built from the generated program, one
// line each: "Button3: width: expected 150, Tk shows 88".
inline QStringList differencesInTk(const WindowDesign &want, const tktest::TkWindowInfo &tk)
{
    using detail::differ;
    QStringList out;
    const char *tkShows = "Tk shows";
    const QString window = QStringLiteral("Window");
    differ(out, window, "title", programText(want.title), tk.title, tkShows);
    // X has no windows of zero width or height: Tk makes such a window one pixel wide or high.
    const QSize client(qMax(1, want.client.width()), qMax(1, want.client.height()));
    differ(out, window, "client width", client.width(), tk.width, tkShows);
    differ(out, window, "client height", client.height(), tk.height, tkShows);
    differ(out, window, "geometry",
           QStringLiteral("%1x%2+%3+%4").arg(client.width()).arg(client.height()).arg(want.left).arg(want.top),
           tk.geometry, tkShows);
    if (!tk.mainloopCalled)
        out << QStringLiteral("Window: the program never enters the main loop");

    // Tk holds the widgets in creation order: by kind in the palette's order, then by number.
    QList<WidgetDesign> expected = want.widgets;
    std::stable_sort(expected.begin(), expected.end(), [](const WidgetDesign &a, const WidgetDesign &b) {
        return designdriving::paletteRow(a.kind) < designdriving::paletteRow(b.kind);
    });
    QHash<QString, qsizetype> tkIndex;
    for (qsizetype i = 0; i < tk.widgets.size(); ++i)
        tkIndex.insert(tk.widgets.at(i).variable, i);

    for (qsizetype i = 0; i < expected.size(); ++i) {
        const WidgetDesign &w = expected.at(i);
        const QString who = w.variable();
        const auto found = tkIndex.constFind(who);
        if (found == tkIndex.cend()) {
            out << QStringLiteral("%1: missing: Tk has no widget made by a line assigning %1").arg(who);
            continue;
        }
        if (*found != i)
            out << QStringLiteral("%1: order: expected as widget %2 of the window, Tk has it as widget %3")
                       .arg(who).arg(i + 1).arg(*found + 1);
        const tktest::TkWidgetInfo &t = tk.widgets.at(*found);
        differ(out, who, "class", tkClass(w.kind), t.tkClass, tkShows);
        if (!t.placed) {
            out << QStringLiteral("%1: placement: expected placed at (%2, %3), Tk shows it not placed")
                       .arg(who).arg(w.rect.x()).arg(w.rect.y());
        } else {
            differ(out, who, "placed x", w.rect.x(), t.placed->x(), tkShows);
            differ(out, who, "placed y", w.rect.y(), t.placed->y(), tkShows);
            differ(out, who, "placed width", w.rect.width(), t.placed->width(), tkShows);
            differ(out, who, "placed height", w.rect.height(), t.placed->height(), tkShows);
        }
        // X has no windows of zero width or height: Tk shows such a widget one pixel wide or high.
        if (!t.mapped)
            out << QStringLiteral("%1: on screen: expected yes, Tk shows no").arg(who);
        differ(out, who, "x", w.rect.x(), t.x, tkShows);
        differ(out, who, "y", w.rect.y(), t.y, tkShows);
        differ(out, who, "width", qMax(1, w.rect.width()), t.width, tkShows);
        differ(out, who, "height", qMax(1, w.rect.height()), t.height, tkShows);
        if (w.hasCaption()) {
            if (t.text)
                differ(out, who, "text", programText(w.caption), *t.text, tkShows);
            else
                out << QStringLiteral("%1: text: expected %2, Tk shows no text option").arg(who, shown(w.caption));
        } else if (t.text) {
            out << QStringLiteral("%1: text: expected no text option, Tk shows %2").arg(who, shown(*t.text));
        }
        differ(out, who, "font face", programText(w.face), t.fontFace, tkShows);
        if (t.fontPoints)
            differ(out, who, "font size", w.points, *t.fontPoints, tkShows);
        else
            out << QStringLiteral("%1: font size: expected %2, Tk shows the font %3").arg(who).arg(w.points).arg(shown(t.font));
    }
    for (const tktest::TkWidgetInfo &t : tk.widgets) {
        const bool known = std::any_of(expected.cbegin(), expected.cend(),
                                       [&t](const WidgetDesign &w) { return w.variable() == t.variable; });
        if (!known)
            out << QStringLiteral("%1: unexpected: Tk shows a %2 that the design does not have")
                       .arg(t.variable.isEmpty() ? t.tkClass : t.variable, t.tkClass);
    }
    return out;
}

// Every difference between the design the user made and what the designer holds: when Tk
// differs too, this tells whether the designer took the edit or the program was written wrong.
inline QStringList differencesInDesigner(const WindowDesign &want, const shell::Designer &designer)
{
    using detail::differ;
    QStringList out;
    const char *holds = "the designer holds";
    const widgets::WidgetLayer &layer = designer.layer;
    const QString window = QStringLiteral("Window");
    differ(out, window, "title", want.title, layer.readText(design::ids::DesignWindow, widgets::Prop::WindowTitle), holds);
    differ(out, window, "client width", want.client.width(), layer.clientWidth(design::ids::DesignWindow), holds);
    differ(out, window, "client height", want.client.height(), layer.clientHeight(design::ids::DesignWindow), holds);
    differ(out, window, "left", want.left, designer.model.windowLeft, holds);
    differ(out, window, "top", want.top, designer.model.windowTop, holds);
    differ(out, window, "number of widgets", int(want.widgets.size()), designer.model.lastNumber, holds);
    for (const WidgetDesign &w : want.widgets) {
        const model::Component *component = designer.model.componentByNumber(w.number);
        if (!component) {
            out << QStringLiteral("%1: the designer has no component %2").arg(w.variable()).arg(w.number);
            continue;
        }
        const QString who = w.variable();
        differ(out, who, "kind", model::classWord(w.kind), model::classWord(component->kind), holds);
        const QRect rect = designdriving::rectOf(designer, component->widget);
        differ(out, who, "x", w.rect.x(), rect.x(), holds);
        differ(out, who, "y", w.rect.y(), rect.y(), holds);
        differ(out, who, "width", w.rect.width(), rect.width(), holds);
        differ(out, who, "height", w.rect.height(), rect.height(), holds);
        if (const auto caption = model::captionProperty(w.kind))
            differ(out, who, "text", w.caption, layer.readText(component->widget, *caption), holds);
        const auto font = layer.readProperty(component->widget, *model::fontProperty(w.kind))
                              .value<widgets::FontValue>();
        differ(out, who, "font face", w.face, font.face, holds);
        differ(out, who, "font size", w.points, widgets::pointsForHeight(font.height, widgets::layoutDotsPerInch()),
               holds);
    }
    return out;
}

} // namespace designexpectation
