#pragma once

#include <QRgb>

class QWidget;

namespace widgets {

// The code editor lives in a library of its own (Scintilla, with Qt's printing behind it), which the
// designer loads only when its code view is first needed: most sessions start without it. These are
// the library's plain entry points, looked up by name.
struct CodeEditorModule
{
    // A new editor in the parent; updated(context) is called on every Scintilla UI update.
    QWidget *(*make)(QWidget *parent, void (*updated)(void *context), void *context);
    long (*send)(QWidget *editor, unsigned message, unsigned long wParam, long lParam);
    long (*sendText)(QWidget *editor, unsigned message, unsigned long wParam, const char *lParam);
    void (*setPaper)(QWidget *editor, QRgb paper);
};

inline constexpr char CodeEditorLibrary[] = "kestrigan_codeeditor";
inline constexpr char CodeEditorMake[] = "kestrigan_codeeditor_make";
inline constexpr char CodeEditorSend[] = "kestrigan_codeeditor_send";
inline constexpr char CodeEditorSendText[] = "kestrigan_codeeditor_send_text";
inline constexpr char CodeEditorSetPaper[] = "kestrigan_codeeditor_set_paper";

} // namespace widgets
