#include "codegen/codeview.h"

#include "codegen/tkintergenerator.h"
#include "design/designerstate.h"
#include "design/mainwindowids.h"
#include "widgets/colour.h"

#include <Qsci/qsciscintillabase.h>

namespace codegen {

using Sci = QsciScintillaBase;
using widgets::rgb;

namespace {

// Styles of Scintilla's Python lexer.
enum PythonStyle : unsigned long {
    SCE_P_DEFAULT = 0,
    SCE_P_NUMBER = 2,
    SCE_P_STRING = 3,
    SCE_P_CHARACTER = 4,
    SCE_P_CLASSNAME = 8,
    SCE_P_OPERATOR = 10,
    SCE_P_IDENTIFIER = 11,
};

struct StyleColour
{
    unsigned long style;
    widgets::Colour foreground;
};

// In this order; the line-number style also gets a white background right after its foreground.
constexpr StyleColour StyleColours[] = {
    {Sci::STYLE_LINENUMBER, rgb(128, 128, 128)},
    {Sci::STYLE_BRACELIGHT, rgb(0, 128, 0)},
    {Sci::STYLE_BRACEBAD, rgb(0, 0, 0)},
    {SCE_P_DEFAULT, rgb(27, 57, 140)},
    {SCE_P_NUMBER, rgb(9, 136, 90)},
    {SCE_P_STRING, rgb(27, 57, 140)},
    {SCE_P_CHARACTER, rgb(27, 57, 140)},
    {SCE_P_OPERATOR, rgb(0, 0, 0)},
    {SCE_P_IDENTIFIER, rgb(164, 94, 38)},
    {SCE_P_CLASSNAME, rgb(0, 255, 255)},
};

constexpr widgets::Colour LineNumberBack = rgb(255, 255, 255);
constexpr widgets::Colour SelectionText = rgb(0, 0, 0);
constexpr widgets::Colour SelectionBack = rgb(236, 236, 236);
constexpr widgets::Colour Caret = rgb(0, 0, 0);
constexpr int TabWidth = 4;
constexpr int DefaultPoints = 12;

long send(design::DesignerState &designer, unsigned message, unsigned long wParam = 0, long lParam = 0)
{
    return designer.layer.sendScintilla(design::mainwindow::CodeView, message, wParam, lParam);
}

} // namespace

int lineNumberMarginWidth(long lineCount)
{
    int digits = 1;
    for (long rest = lineCount; rest >= 10; rest /= 10)
        ++digits;
    return (digits + 1) * 10;
}

void setUpCodeView(design::DesignerState &designer)
{
    send(designer, Sci::SCI_SETMARGINTYPEN, 0, Sci::SC_MARGIN_NUMBER);
    // No keyword list: keywords are coloured like other identifiers.
    send(designer, Sci::SCI_SETLEXER, Sci::SCLEX_PYTHON);

    for (const StyleColour &style : StyleColours) {
        send(designer, Sci::SCI_STYLESETFORE, style.style, long(style.foreground));
        if (style.style == Sci::STYLE_LINENUMBER)
            send(designer, Sci::SCI_STYLESETBACK, style.style, long(LineNumberBack));
    }

    // Through the control's properties, so that the control reports the colours it shows.
    designer.layer.writeProperty(design::mainwindow::CodeView, widgets::Prop::EditorSelectionText, SelectionText);
    designer.layer.writeProperty(design::mainwindow::CodeView, widgets::Prop::EditorSelectionBack, SelectionBack);
    designer.layer.writeProperty(design::mainwindow::CodeView, widgets::Prop::EditorCaret, Caret);

    send(designer, Sci::SCI_USEPOPUP, Sci::SC_POPUP_ALL);
    send(designer, Sci::SCI_SETTABWIDTH, TabWidth);
    send(designer, Sci::SCI_SETBACKSPACEUNINDENTS, 1);
    // Style 32 alone: no STYLECLEARALL, so the Python styles keep the editor's own face and size.
    designer.layer.sendScintilla(design::mainwindow::CodeView, Sci::SCI_STYLESETFONT, Sci::STYLE_DEFAULT,
                                 QStringLiteral("微软雅黑").toUtf8().constData());
    send(designer, Sci::SCI_STYLESETSIZE, Sci::STYLE_DEFAULT, DefaultPoints);
    // The text is Unicode: in UTF-8 each Chinese character is one step for the caret and the
    // selection, and every character a caption may hold can be shown.
    send(designer, Sci::SCI_SETCODEPAGE, Sci::SC_CP_UTF8);
    designer.layer.redraw(design::mainwindow::CodeView);
}

void showGeneratedCode(design::DesignerState &designer)
{
    send(designer, Sci::SCI_SETREADONLY, 0);
    {
        const QByteArray text = generate(designer.model, designer.layer).toUtf8();
        designer.layer.sendScintilla(design::mainwindow::CodeView, Sci::SCI_SETTEXT, 0, text.constData());
    }
    // Nothing can be undone in a read-only view, so the history would only keep every earlier
    // program for the rest of the run.
    send(designer, Sci::SCI_EMPTYUNDOBUFFER);
    send(designer, Sci::SCI_SETREADONLY, 1);
}

void fitLineNumberMargin(design::DesignerState &designer)
{
    const long lines = send(designer, Sci::SCI_GETLINECOUNT);
    send(designer, Sci::SCI_SETMARGINWIDTHN, 0, lineNumberMarginWidth(lines));
}

} // namespace codegen
