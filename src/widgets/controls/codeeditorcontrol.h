#pragma once

#include "widgets/colour.h"
#include "widgets/control.h"

#include <QObject>

#include <concepts>

namespace widgets {

class CodeEditorWidget;

// A code editor of a layout table, driven by Scintilla messages. It starts in the editor state of
// the designer's code view (read-only, no scroll bars, word wrap, UTF-8, ...) and raises
// EditorUpdated on every Scintilla UI update.
class CodeEditorControl : public QObject, public Control
{
    Q_OBJECT
public:
    explicit CodeEditorControl(QWidget *parent);

    QWidget *widget() const override;
    QVariant read(Prop index, int member) const override;
    bool write(Prop index, int member, const QVariant &value) override;
    void applyLook(const ControlLook &look) override;

    CodeEditorWidget *editor() const { return m_editor; }

    long sendScintilla(unsigned message, unsigned long wParam = 0, long lParam = 0) const;
    long sendScintilla(unsigned message, unsigned long wParam, const char *lParam) const;
    // Any other integer as lParam, so that a literal 0 (a null pointer too) is not ambiguous.
    template <typename Integer>
        requires std::integral<Integer> && (!std::same_as<Integer, long>)
    long sendScintilla(unsigned message, unsigned long wParam, Integer lParam) const
    {
        return sendScintilla(message, wParam, static_cast<long>(lParam));
    }

private:
    void applyInitialState();

    CodeEditorWidget *m_editor;
    // Scintilla cannot report them, so the last written values are read back.
    Colour m_selectionText = 0x000000;
    Colour m_selectionBack = 0xC0C0C0;
};

} // namespace widgets
