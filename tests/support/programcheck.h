#pragma once

// Checks a generated program against the design it was made from: the exact lines, and every string
// literal read back (as Python reads a single-quoted literal) to the text that went in.

#include "design/designwindowids.h"
#include "model/designmodel.h"
#include "model/propertyrows.h"
#include "support/programtexts.h"
#include "widgets/fontvalue.h"
#include "widgets/screenmetrics.h"
#include "widgets/widgetlayer.h"

#include <QStringList>

namespace testsupport {

// Reads a single-quoted Python literal whose opening quote is at text[at]; on success `at` is just
// past the closing quote. Only the escapes the generator writes are accepted, and no raw control
// character, line break or lone surrogate.
inline bool readPythonLiteral(QStringView text, qsizetype &at, QString &value)
{
    if (at >= text.size() || text[at] != u'\'')
        return false;
    value.clear();
    for (qsizetype i = at + 1; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\'') {
            at = i + 1;
            return true;
        }
        if (c < 0x20 || c == 0x7F)
            return false;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 >= text.size() || !text[i + 1].isLowSurrogate())
                return false;
            value += text[i];
            value += text[++i];
            continue;
        }
        if (QChar::isSurrogate(c))
            return false;
        if (c != u'\\') {
            value += QChar(c);
            continue;
        }
        if (++i >= text.size())
            return false;
        switch (text[i].unicode()) {
        case u'\\': value += u'\\'; break;
        case u'\'': value += u'\''; break;
        case u'r': value += u'\r'; break;
        case u'n': value += u'\n'; break;
        case u't': value += u'\t'; break;
        case u'x': {
            bool ok = false;
            const int code = i + 2 < text.size() ? text.mid(i + 1, 2).toInt(&ok, 16) : 0;
            if (!ok)
                return false;
            value += QChar(char16_t(code));
            i += 2;
            break;
        }
        default: return false;
        }
    }
    return false;
}

// One line: fixed pieces with literals between them (pieces.size() == literals.size() + 1).
struct ExpectedLine
{
    QStringList pieces;
    QStringList literals;
};

inline QString matchLine(QStringView line, const ExpectedLine &expected)
{
    qsizetype at = 0;
    for (qsizetype i = 0; i < expected.pieces.size(); ++i) {
        const QString &piece = expected.pieces[i];
        if (line.mid(at, piece.size()) != piece)
            return QStringLiteral("expected \"%1\" at column %2 of: %3").arg(piece).arg(at).arg(line.left(200));
        at += piece.size();
        if (i == expected.literals.size())
            break;
        QString value;
        const qsizetype start = at;
        if (!readPythonLiteral(line, at, value))
            return QStringLiteral("no sound literal at column %1 of: %2").arg(start).arg(line.left(200));
        if (value != programText(expected.literals[i]))
            return QStringLiteral("literal reads back as \"%1\", not \"%2\"").arg(value.left(80), expected.literals[i].left(80));
    }
    return at == line.size() ? QString() : QStringLiteral("text after the end of: %1").arg(line.left(200));
}

// The Tkinter class a kind's line constructs.
inline QString tkinterClass(model::ComponentKind kind)
{
    switch (kind) {
    case model::ComponentKind::Label: return QStringLiteral("Label");
    case model::ComponentKind::Entry: return QStringLiteral("Entry");
    case model::ComponentKind::Button: return QStringLiteral("Button");
    case model::ComponentKind::RadioButton: return QStringLiteral("Radiobutton");
    default: return QStringLiteral("Checkbutton");
    }
}

// The lines the design must give, literal texts still unquoted.
inline QList<ExpectedLine> expectedProgram(const model::DesignModel &model, const widgets::WidgetLayer &layer)
{
    using widgets::Prop;
    const widgets::ControlRef window = design::ids::DesignWindow;
    const auto n = [](int value) { return QString::number(value); };
    QList<ExpectedLine> lines;
    lines.append({{"from tkinter import *"}, {}});
    lines.append({{""}, {}});
    lines.append({{"Window = Tk()"}, {}});
    lines.append({{"Window.title(", ")"}, {layer.readText(window, Prop::WindowTitle)}});
    lines.append({{"Window.geometry('" + n(layer.clientWidth(window)) + "x" + n(layer.clientHeight(window)) + "+"
                   + n(model.windowLeft) + "+" + n(model.windowTop) + "')"}, {}});
    for (model::ComponentKind kind : model::WidgetKinds) {
        const QList<int> numbers = model.numbersOfKind(kind);
        if (numbers.isEmpty())
            continue;
        lines.append({{""}, {}});
        for (int number : numbers) {
            const model::Component &c = *model.componentByNumber(number);
            const widgets::ControlRef &w = c.widget;
            const auto font = layer.readProperty(w, *model::fontProperty(kind)).value<widgets::FontValue>();
            const QString points = n(widgets::pointsForHeight(font.height, widgets::layoutDotsPerInch()));
            const QString place = ".place(y=" + n(layer.readInteger(w, Prop::Top)) + ", x=" + n(layer.readInteger(w, Prop::Left))
                                  + ", width=" + n(layer.readInteger(w, Prop::Width)) + ", height="
                                  + n(layer.readInteger(w, Prop::Height)) + ")";
            const QString head = c.className() + " = " + tkinterClass(kind) + "(Window, ";
            const QString anchor = kind == model::ComponentKind::Entry || kind == model::ComponentKind::Button ? "" : ", anchor=W";
            if (const auto caption = model::captionProperty(kind))
                lines.append({{head + "text=", ", font=(", ", " + points + ")" + anchor + ")" + place},
                              {layer.readText(w, *caption), font.face}});
            else
                lines.append({{head + "font=(", ", " + points + ")" + anchor + ")" + place}, {font.face}});
        }
    }
    lines.append({{""}, {}});
    lines.append({{"Window.mainloop()"}, {}});
    return lines;
}

// Empty when the program is exactly the design's; otherwise what is wrong.
inline QString checkProgram(const QString &program, const model::DesignModel &model, const widgets::WidgetLayer &layer)
{
    const QStringList lines = program.split(QStringLiteral("\r\n"));
    const QList<ExpectedLine> expected = expectedProgram(model, layer);
    if (lines.size() != expected.size())
        return QStringLiteral("%1 lines, expected %2").arg(lines.size()).arg(expected.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].contains(u'\r') || lines[i].contains(u'\n'))
            return QStringLiteral("a lone line break in line %1").arg(i + 1);
        const QString fault = matchLine(lines[i], expected[i]);
        if (!fault.isEmpty())
            return QStringLiteral("line %1: %2").arg(i + 1).arg(fault);
    }
    return {};
}

} // namespace testsupport
