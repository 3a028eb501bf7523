#include "widgets/codeeditor/codeeditorcontrol.h"

#include "widgets/codeeditor/codeeditorloader.h"

#include <Qsci/qsciscintillabase.h>

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace widgets {

namespace {

using Sci = QsciScintillaBase;

// Messages that only set something and answer 0: these may wait for the editor. Any other message
// makes the editor, since its answer may matter.
constexpr unsigned EditorSettings[] = {
    Sci::SCI_SETREADONLY, Sci::SCI_SETHSCROLLBAR, Sci::SCI_SETVSCROLLBAR, Sci::SCI_SETVIEWWS,
    Sci::SCI_SETWHITESPACEFORE, Sci::SCI_SETWHITESPACEBACK, Sci::SCI_SETCURSOR, Sci::SCI_SETEOLMODE,
    Sci::SCI_SETVIEWEOL, Sci::SCI_SETSELFORE, Sci::SCI_SETSELBACK, Sci::SCI_SETCARETFORE,
    Sci::SCI_SETCARETLINEVISIBLE, Sci::SCI_SETCARETLINEBACK, Sci::SCI_SETINDENTATIONGUIDES,
    Sci::SCI_SETWRAPMODE, Sci::SCI_SETCARETPERIOD, Sci::SCI_SETCARETWIDTH, Sci::SCI_SETCODEPAGE,
    Sci::SCI_SETLEXER, Sci::SCI_USEPOPUP, Sci::SCI_SETTABWIDTH, Sci::SCI_SETBACKSPACEUNINDENTS};
// Settings whose first argument names the margin or style that they set.
constexpr unsigned TargetSettings[] = {Sci::SCI_SETMARGINWIDTHN, Sci::SCI_SETMARGINTYPEN, Sci::SCI_STYLESETFORE,
                                       Sci::SCI_STYLESETBACK, Sci::SCI_STYLESETFONT, Sci::SCI_STYLESETSIZE};
// Not a Scintilla message: the paper colour, which the editor's palette carries.
constexpr unsigned PaperSetting = 0;

bool contains(const auto &table, unsigned message)
{
    return std::find(std::begin(table), std::end(table), message) != std::end(table);
}

bool isSetting(unsigned message)
{
    return contains(EditorSettings, message) || contains(TargetSettings, message);
}

} // namespace

CodeEditorControl::CodeEditorControl(QWidget *parent) : Control(ControlType::CodeEditor), m_host(new QWidget(parent))
{
    auto *layout = new QVBoxLayout(m_host);
    layout->setContentsMargins(0, 0, 0, 0);
    m_host->installEventFilter(this);
    applyInitialState();
}

QWidget *CodeEditorControl::editor() const
{
    if (m_editor || m_unavailable)
        return m_editor;
    QString error;
    m_module = codeEditorModule(error);
    if (!m_module) {
        m_unavailable = true;
        m_pending.clear();
        showFailure(error);
        return nullptr;
    }
    auto *self = const_cast<CodeEditorControl *>(this);
    m_editor = m_module->make(
        m_host, [](void *control) { static_cast<CodeEditorControl *>(control)->raise(Event::EditorUpdated); }, self);
    m_host->layout()->addWidget(m_editor);
    // Keyboard focus and the tab order reach the editor where they reached the control.
    m_host->setFocusProxy(m_editor);
    QWidget::setTabOrder(m_host, m_editor);
    for (const PendingSetting &setting : std::exchange(m_pending, {}))
        setting.apply();
    return m_editor;
}

void CodeEditorControl::showFailure(const QString &reason) const
{
    qWarning("The code editor library cannot be loaded:\n%s", qPrintable(reason));
    auto *notice = new QLabel(QStringLiteral("代码编辑器无法载入。\n") + reason, m_host);
    notice->setWordWrap(true);
    notice->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    notice->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_host->layout()->addWidget(notice);
    if (m_host->isVisible())
        notice->show();
}

bool CodeEditorControl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_host && event->type() == QEvent::Show && !m_editor) {
        if (QWidget *made = editor())
            made->show();
    }
    return false;
}

void CodeEditorControl::whenMade(unsigned message, unsigned long wParam, std::function<void()> step) const
{
    if (m_editor) {
        step();
        return;
    }
    if (m_unavailable)
        return;
    // Only the latest value of a setting is kept, and it goes to the end: the editor gets the settings
    // in the order they were last made. None of them depends on another, so the editor ends as it
    // would after every message in turn, and the list is no longer than the things there are to set.
    const unsigned long target = contains(TargetSettings, message) ? wParam : 0;
    std::erase_if(m_pending, [&](const PendingSetting &s) { return s.message == message && s.target == target; });
    m_pending.push_back({message, target, std::move(step)});
}

std::size_t CodeEditorControl::pendingSettings() const
{
    return m_pending.size();
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
    return m_host;
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
        whenMade(PaperSetting, 0,
                 [this, paper = toQColor(look.background).rgb()] { m_module->setPaper(m_editor, paper); });
}

long CodeEditorControl::sendScintilla(unsigned message, unsigned long wParam, long lParam) const
{
    if (!m_editor && isSetting(message)) {
        whenMade(message, wParam, [=, this] { m_module->send(m_editor, message, wParam, lParam); });
        return 0;
    }
    QWidget *made = editor();
    return made ? m_module->send(made, message, wParam, lParam) : 0;
}

long CodeEditorControl::sendScintilla(unsigned message, unsigned long wParam, const char *lParam) const
{
    if (!m_editor && isSetting(message)) {
        whenMade(message, wParam, [=, this, text = QByteArray(lParam)] {
            m_module->sendText(m_editor, message, wParam, text.constData());
        });
        return 0;
    }
    QWidget *made = editor();
    return made ? m_module->sendText(made, message, wParam, lParam) : 0;
}

} // namespace widgets
