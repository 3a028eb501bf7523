#include "support/placing.h"
#include "codeviewdriving.h"

#include "codegen/tkintergenerator.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QtTest>

// The code view's Chinese context menu, and what select-all and copy put on the clipboard.
using model::ComponentKind;
using Sci = QsciScintillaBase;
using testsupport::documentBytes;
using testsupport::selectedBytes;

namespace {

QStringList actionTexts(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("|") : action->text());
    return texts;
}

QStringList enabledActions(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions()) {
        if (!action->isSeparator() && action->isEnabled())
            texts << action->text();
    }
    return texts;
}

} // namespace

class tst_CodeViewMenu : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void contextMenuEnabling_data();
    void contextMenuEnabling();
    void rightClickOpensTheChineseMenu();
    void selectAllAndCopyTakeTheWholeProgram();

private:
    widgets::CodeEditorWidget *editor() const { return m_view.editor(); }
    void pressCodeButton() { m_view.pressCodeButton(); }

    testsupport::CodeViewDriving m_view;
};

void tst_CodeViewMenu::init()
{
    QVERIFY(m_view.start());
}

void tst_CodeViewMenu::cleanup()
{
    m_view.designer.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_CodeViewMenu::contextMenuEnabling_data()
{
    QTest::addColumn<QString>("selection");
    QTest::addColumn<bool>("clipboardText");
    QTest::addColumn<QStringList>("enabled");
    const QStringList copyAndAll{QStringLiteral("复制"), QStringLiteral("选择全部")};
    const QStringList allOnly{QStringLiteral("选择全部")};
    QTest::newRow("nothing selected") << QString() << false << allOnly;
    QTest::newRow("nothing selected, text on the clipboard") << QString() << true << allOnly;
    QTest::newRow("one word selected") << QStringLiteral("word") << false << copyAndAll;
    QTest::newRow("all selected, text on the clipboard") << QStringLiteral("all") << true << copyAndAll;
}

void tst_CodeViewMenu::contextMenuEnabling()
{
    QFETCH(QString, selection);
    QFETCH(bool, clipboardText);
    QFETCH(QStringList, enabled);
    if (clipboardText)
        QGuiApplication::clipboard()->setText(QStringLiteral("something to paste"));
    else
        QGuiApplication::clipboard()->clear();
    pressCodeButton();
    if (selection == QLatin1String("word"))
        editor()->SendScintilla(Sci::SCI_SETSEL, 0UL, 4L);
    else if (selection == QLatin1String("all"))
        QTest::keyClick(editor(), Qt::Key_A, Qt::ControlModifier);

    std::unique_ptr<QMenu> menu(editor()->createContextMenu());
    QCOMPARE(actionTexts(menu.get()),
             (QStringList{QStringLiteral("撤消"), QStringLiteral("重复"), QStringLiteral("|"), QStringLiteral("剪切"),
                          QStringLiteral("复制"), QStringLiteral("粘贴"), QStringLiteral("删除"), QStringLiteral("|"),
                          QStringLiteral("选择全部")}));
    QCOMPARE(enabledActions(menu.get()), enabled);
}

void tst_CodeViewMenu::rightClickOpensTheChineseMenu()
{
    pressCodeButton();
    QWidget *viewport = editor()->viewport();
    const QPoint at = viewport->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    QApplication::sendEvent(viewport, &event);
    QMenu *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QVERIFY2(menu, "no menu opened");
    QCOMPARE(enabledActions(menu), QStringList{QStringLiteral("选择全部")});
    // 选择全部 from the menu selects the whole program.
    const QList<QAction *> actions = menu->actions();
    actions.last()->trigger();
    menu->close();
    QCOMPARE(selectedBytes(editor()), documentBytes(editor()));
}

void tst_CodeViewMenu::selectAllAndCopyTakeTheWholeProgram()
{
    shell::Designer &d = *m_view.designer;
    testsupport::place(d, ComponentKind::CheckButton, 5, 6);
    pressCodeButton();
    QGuiApplication::clipboard()->clear();
    editor()->setFocus();
    QTest::keyClick(editor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(editor(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), codegen::generate(d.model, d.layer));
}

QTEST_MAIN(tst_CodeViewMenu)
#include "tst_codeviewmenu.moc"
