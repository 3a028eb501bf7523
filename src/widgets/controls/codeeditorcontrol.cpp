#include "widgets/controls/codeeditorcontrol.h"

#include "widgets/controls/codeeditorwidget.h"

namespace widgets {

CodeEditorControl::CodeEditorControl(QWidget *parent)
    : Control(ControlType::CodeEditor), m_editor(new CodeEditorWidget(parent))
{
    applyInitialState();
    connect(m_editor, &QsciScintillaBase::SCN_UPDATEUI, this, [this] { raise(Event::EditorUpdated); });
}

// The code view's state before the designer's own set-up. The code page must stay UTF-8:
// QsciScintilla converts QString text through UTF-8 only in that mode, Latin-1 otherwise.
void CodeEditorControl::applyInitialState()
{
    sendScintilla(QsciScintillaBase::SCI_SETMARGINWIDTHN, 1, 0L);
    sendScintilla(QsciScintillaBase::SCI_SETREADONLY, 1);
    sendScintilla(QsciScintillaBase::SCI_SETHSCROLLBAR, 0);
    sendScintilla(QsciScintillaBase::SCI_SETVSCROLLBAR, 0);
    sendScintilla(QsciScintillaBase::SCI_SETVIEWWS, QsciScintillaBase::SCWS_INVISIBLE);
    sendScintilla(QsciScintillaBase::SCI_SETWHITESPACEFORE, 1, 0x000000L);
    sendScintilla(QsciScintillaBase::SCI_SETWHITESPACEBACK, 1, 0xFFFFFFL);
    sendScintilla(QsciScintillaBase::SCI_SETCURSOR, static_cast<unsigned long>(QsciScintillaBase::SC_CURSORNORMAL));
    sendScintilla(QsciScintillaBase::SCI_SETEOLMODE, QsciScintillaBase::SC_EOL_CRLF);
    sendScintilla(QsciScintillaBase::SCI_SETVIEWEOL, 0);
    sendScintilla(QsciScintillaBase::SCI_SETSELFORE, 1, long(m_selectionText));
    sendScintilla(QsciScintillaBase::SCI_SETSELBACK, 1, long(m_selectionBack));
    sendScintilla(QsciScintillaBase::SCI_SETCARETFORE, 0x000000);
    sendScintilla(QsciScintillaBase::SCI_SETCARETLINEVISIBLE, 0);
    sendScintilla(QsciScintillaBase::SCI_SETCARETLINEBACK, 0xFFFFFF);
    sendScintilla(QsciScintillaBase::SCI_SETINDENTATIONGUIDES, QsciScintillaBase::SC_IV_NONE);
    sendScintilla(QsciScintillaBase::SCI_SETWRAPMODE, QsciScintillaBase::SC_WRAP_WORD);
    sendScintilla(QsciScintillaBase::SCI_SETCARETPERIOD, 530);
    sendScintilla(QsciScintillaBase::SCI_SETCARETWIDTH, 1);
    sendScintilla(QsciScintillaBase::SCI_SETCODEPAGE, QsciScintillaBase::SC_CP_UTF8);
}

QWidget *CodeEditorControl::widget() const
{
    return m_editor;
}

QVariant CodeEditorControl::read(Prop index, int member) const
{
    switch (index) {
    case Prop::EditorReadOnly:
        return sendScintilla(QsciScintillaBase::SCI_GETREADONLY) != 0;
    case Prop::EditorSelectionText:
        return m_selectionText;
    case Prop::EditorSelectionBack:
        return m_selectionBack;
    case Prop::EditorCaret:
        return Colour(sendScintilla(QsciScintillaBase::SCI_GETCARETFORE));
    default:
        return Control::read(index, member);
    }
}

bool CodeEditorControl::write(Prop index, int member, const QVariant &value)
{
    switch (index) {
    case Prop::EditorReadOnly:
        sendScintilla(QsciScintillaBase::SCI_SETREADONLY, value.toBool() ? 1 : 0);
        return true;
    case Prop::EditorSelectionText:
        m_selectionText = value.value<Colour>();
        sendScintilla(QsciScintillaBase::SCI_SETSELFORE, 1, long(m_selectionText));
        return true;
    case Prop::EditorSelectionBack:
        m_selectionBack = value.value<Colour>();
        sendScintilla(QsciScintillaBase::SCI_SETSELBACK, 1, long(m_selectionBack));
        return true;
    case Prop::EditorCaret:
        sendScintilla(QsciScintillaBase::SCI_SETCARETFORE, value.value<Colour>());
        return true;
    default:
        return Control::write(index, member, value);
    }
}

void CodeEditorControl::applyLook(const ControlLook &look)
{
    if (look.background != DefaultColour)
        m_editor->setPaper(toQColor(look.background));
}

long CodeEditorControl::sendScintilla(unsigned message, unsigned long wParam, long lParam) const
{
    return m_editor->SendScintilla(message, wParam, lParam);
}

long CodeEditorControl::sendScintilla(unsigned message, unsigned long wParam, const char *lParam) const
{
    return m_editor->SendScintilla(message, static_cast<uintptr_t>(wParam), lParam);
}

} // namespace widgets
