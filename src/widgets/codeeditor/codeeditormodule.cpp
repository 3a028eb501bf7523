// The entry points of the code editor library (see codeeditormodule.h).
#include "widgets/codeeditor/codeeditorwidget.h"

#include <QColor>

using widgets::CodeEditorWidget;

namespace {

CodeEditorWidget *editorOf(QWidget *widget)
{
    return static_cast<CodeEditorWidget *>(widget);
}

} // namespace

extern "C" {

Q_DECL_EXPORT QWidget *kestrigan_codeeditor_make(QWidget *parent, void (*updated)(void *context), void *context)
{
    auto *editor = new CodeEditorWidget(parent);
    QObject::connect(editor, &QsciScintillaBase::SCN_UPDATEUI, editor, [updated, context] { updated(context); });
    return editor;
}

Q_DECL_EXPORT long kestrigan_codeeditor_send(QWidget *editor, unsigned message, unsigned long wParam, long lParam)
{
    return editorOf(editor)->SendScintilla(message, wParam, lParam);
}

Q_DECL_EXPORT long kestrigan_codeeditor_send_text(QWidget *editor, unsigned message, unsigned long wParam,
                                                  const char *lParam)
{
    return editorOf(editor)->SendScintilla(message, static_cast<uintptr_t>(wParam), lParam);
}

Q_DECL_EXPORT void kestrigan_codeeditor_set_paper(QWidget *editor, QRgb paper)
{
    editorOf(editor)->setPaper(QColor::fromRgb(paper));
}

} // extern "C"
