#pragma once

#include "widgets/colour.h"
#include "widgets/control.h"

#include <QObject>

#include <concepts>
#include <functional>
#include <vector>

namespace widgets {

struct CodeEditorModule;

// A code editor of a layout table, driven by Scintilla messages. It starts in the editor state of
// the designer's code view (read-only, no scroll bars, word wrap, UTF-8, ...) and raises
// EditorUpdated on every Scintilla UI update.
//
// The editor itself is made, from the code editor library, when it is first shown or asked something:
// the designer starts with its code panel hidden, and loading Scintilla and making the editor were a
// large part of the start-up's time and memory. Until then the control is an empty widget the editor
// will fill; the settings sent to it meanwhile (they answer nothing) are kept, the latest of each, and
// given to the editor when it is made. Where the library cannot be loaded, the control says so in its place and
// answers every message with 0; the design is not touched.
class CodeEditorControl : public QObject, public Control
{
    Q_OBJECT
public:
    explicit CodeEditorControl(QWidget *parent);

    QWidget *widget() const override;
    QVariant read(Prop index, int member) const override;
    bool write(Prop index, int member, const QVariant &value) override;
    void applyLook(const ControlLook &look) override;

    // The editor, made now if it was not yet; nullptr where the library cannot be loaded.
    QWidget *editor() const;

    long sendScintilla(unsigned message, unsigned long wParam = 0, long lParam = 0) const;
    long sendScintilla(unsigned message, unsigned long wParam, const char *lParam) const;
    // Any other integer as lParam, so that a literal 0 (a null pointer too) is not ambiguous.
    template <typename Integer>
        requires std::integral<Integer> && (!std::same_as<Integer, long>)
    long sendScintilla(unsigned message, unsigned long wParam, Integer lParam) const
    {
        return sendScintilla(message, wParam, static_cast<long>(lParam));
    }

    bool eventFilter(QObject *watched, QEvent *event) override;

    // How many settings wait for the editor; bounded by the things there are to set, however often
    // the designer repeats one.
    std::size_t pendingSettings() const;

private:
    void applyInitialState();
    // Runs the step now that the editor is there, or keeps it for the editor to come in place of an
    // earlier step for the same setting (the message, with the margin or style it sets).
    void whenMade(unsigned message, unsigned long wParam, std::function<void()> step) const;
    void showFailure(const QString &reason) const;

    QWidget *m_host;
    mutable const CodeEditorModule *m_module = nullptr;
    mutable QWidget *m_editor = nullptr;
    mutable bool m_unavailable = false;
    struct PendingSetting
    {
        unsigned message;
        unsigned long target;  // the margin or style it sets; 0 for a setting of the whole editor
        std::function<void()> apply;
    };
    mutable std::vector<PendingSetting> m_pending;
    // Scintilla cannot report them, so the last written values are read back.
    Colour m_selectionText = 0x000000;
    Colour m_selectionBack = 0xC0C0C0;
};

} // namespace widgets
