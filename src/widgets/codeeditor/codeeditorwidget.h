#pragma once

#include <Qsci/qsciscintilla.h>

class QMenu;

namespace widgets {

// A Scintilla editor whose context menu has Chinese items and honours the read-only state:
// 撤消, 重复 | 剪切, 复制, 粘贴, 删除 | 选择全部.
class CodeEditorWidget : public QsciScintilla
{
    Q_OBJECT
public:
    explicit CodeEditorWidget(QWidget *parent = nullptr);

    // The context menu as it would open now, enabled to match the editor's state; the caller
    // owns it. Its actions act on this editor.
    QMenu *createContextMenu(QWidget *parent = nullptr);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    bool hasSelection() const;
};

} // namespace widgets
