#include "widgets/codeeditor/codeeditorwidget.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

namespace widgets {

CodeEditorWidget::CodeEditorWidget(QWidget *parent) : QsciScintilla(parent)
{
}

bool CodeEditorWidget::hasSelection() const
{
    // Asked of Scintilla rather than of hasSelectedText(), which follows a notification.
    return SendScintilla(SCI_GETSELECTIONEMPTY) == 0;
}

QMenu *CodeEditorWidget::createContextMenu(QWidget *parent)
{
    const bool writable = !isReadOnly();
    const bool selection = hasSelection();
    const QMimeData *clip = QGuiApplication::clipboard()->mimeData();
    const bool clipboardText = clip && clip->hasText() && !clip->text().isEmpty();

    auto *menu = new QMenu(parent);
    menu->addAction(QStringLiteral("撤消"), this, &QsciScintilla::undo)->setEnabled(writable && isUndoAvailable());
    menu->addAction(QStringLiteral("重复"), this, &QsciScintilla::redo)->setEnabled(writable && isRedoAvailable());
    menu->addSeparator();
    menu->addAction(QStringLiteral("剪切"), this, &QsciScintilla::cut)->setEnabled(writable && selection);
    menu->addAction(QStringLiteral("复制"), this, &QsciScintilla::copy)->setEnabled(selection);
    menu->addAction(QStringLiteral("粘贴"), this, &QsciScintilla::paste)->setEnabled(writable && clipboardText);
    menu->addAction(QStringLiteral("删除"), this, &QsciScintilla::removeSelectedText)->setEnabled(writable && selection);
    menu->addSeparator();
    menu->addAction(QStringLiteral("选择全部"), this, [this] { selectAll(true); });
    return menu;
}

void CodeEditorWidget::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createContextMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
    event->accept();
}

} // namespace widgets
