#include "widgets/codeeditor/codeeditorcontrol.h"
#include "widgets/codeeditor/codeeditorwidget.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

using namespace widgets;

namespace {

// "撤消=0 重复=0 | 剪切=0 ..." for a menu: its items in order with their enabled state.
QString describe(const QMenu *menu)
{
    QStringList parts;
    for (const QAction *action : menu->actions())
        parts.append(action->isSeparator() ? QStringLiteral("|")
                                           : action->text() + (action->isEnabled() ? "=1" : "=0"));
    return parts.join(QLatin1Char(' '));
}

QString numberedLines(int count)
{
    QStringList lines;
    for (int line = 1; line <= count; ++line)
        lines.append(QStringLiteral("line %1 = Label(Window, text=\"第%1行\")").arg(line));
    return lines.join(QStringLiteral("\r\n"));
}

struct EditorWindow
{
    QWidget window;
    CodeEditorControl control{&window};

    EditorWindow()
    {
        control.widget()->setGeometry(0, 0, 470, 200);
        window.resize(480, 210);
    }
    CodeEditorWidget *editor() const { return qobject_cast<CodeEditorWidget *>(control.editor()); }
    bool show()
    {
        window.show();
        return QTest::qWaitForWindowActive(&window);
    }
    void setText(const QString &text)
    {
        control.write(Prop::EditorReadOnly, -1, false);
        editor()->setText(text);
        control.write(Prop::EditorReadOnly, -1, true);
    }
};

// One Scintilla message with its arguments.
struct Message
{
    unsigned message;
    unsigned long wParam;
    long lParam;
};

} // namespace

Q_DECLARE_METATYPE(Message)
Q_DECLARE_METATYPE(QList<Message>)

class tst_CodeEditorWidget : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void initialState_data();
    void initialState();
    void contextMenuEnabling_data();
    void contextMenuEnabling();
    void contextMenuActsOnTheEditor();
    void readOnlyStillSelectsAndCopiesByKeyboard();
    void readOnlyIgnoresTyping();
    void textRoundTripsThroughUtf8_data();
    void textRoundTripsThroughUtf8();
    void colourPropertiesReadBack_data();
    void colourPropertiesReadBack();
    void settingsBeforeTheEditorKeepTheLatest_data();
    void settingsBeforeTheEditorKeepTheLatest();
    void messagesTakeLiteralZero();
    void updateUiRaisesEditorUpdated();
    void scrollsWithoutScrollBars_data();
    void scrollsWithoutScrollBars();
};

void tst_CodeEditorWidget::cleanup()
{
    QGuiApplication::clipboard()->clear();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_CodeEditorWidget::initialState_data()
{
    QTest::addColumn<unsigned>("message");
    QTest::addColumn<unsigned long>("wParam");
    QTest::addColumn<long>("expected");

    using S = QsciScintillaBase;
    QTest::newRow("symbol margin hidden") << unsigned(S::SCI_GETMARGINWIDTHN) << 1ul << 0l;
    QTest::newRow("read-only") << unsigned(S::SCI_GETREADONLY) << 0ul << 1l;
    QTest::newRow("no horizontal scroll bar") << unsigned(S::SCI_GETHSCROLLBAR) << 0ul << 0l;
    QTest::newRow("no vertical scroll bar") << unsigned(S::SCI_GETVSCROLLBAR) << 0ul << 0l;
    QTest::newRow("white space not shown") << unsigned(S::SCI_GETVIEWWS) << 0ul << 0l;
    QTest::newRow("normal pointer") << unsigned(S::SCI_GETCURSOR) << 0ul << long(S::SC_CURSORNORMAL);
    QTest::newRow("CR LF line ends") << unsigned(S::SCI_GETEOLMODE) << 0ul << long(S::SC_EOL_CRLF);
    QTest::newRow("line ends not shown") << unsigned(S::SCI_GETVIEWEOL) << 0ul << 0l;
    QTest::newRow("black caret") << unsigned(S::SCI_GETCARETFORE) << 0ul << 0l;
    QTest::newRow("no current-line highlight") << unsigned(S::SCI_GETCARETLINEVISIBLE) << 0ul << 0l;
    QTest::newRow("white current-line colour") << unsigned(S::SCI_GETCARETLINEBACK) << 0ul << 0xFFFFFFl;
    QTest::newRow("no indentation guides") << unsigned(S::SCI_GETINDENTATIONGUIDES) << 0ul << 0l;
    QTest::newRow("word wrap") << unsigned(S::SCI_GETWRAPMODE) << 0ul << 1l;
    QTest::newRow("caret blinks at 530 ms") << unsigned(S::SCI_GETCARETPERIOD) << 0ul << 530l;
    QTest::newRow("caret 1 pixel wide") << unsigned(S::SCI_GETCARETWIDTH) << 0ul << 1l;
    QTest::newRow("UTF-8") << unsigned(S::SCI_GETCODEPAGE) << 0ul << 65001l;
}

void tst_CodeEditorWidget::initialState()
{
    QFETCH(unsigned, message);
    QFETCH(unsigned long, wParam);
    QFETCH(long, expected);

    QWidget parent;
    CodeEditorControl control(&parent);
    QCOMPARE(control.sendScintilla(message, wParam), expected);
}

void tst_CodeEditorWidget::contextMenuEnabling_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("history");   // what was done to the text before
    QTest::addColumn<bool>("selection");
    QTest::addColumn<bool>("clipboard");
    QTest::addColumn<QString>("menu");

    QTest::newRow("read-only, nothing selected")
        << true << QString() << false << true
        << QStringLiteral("撤消=0 重复=0 | 剪切=0 复制=0 粘贴=0 删除=0 | 选择全部=1");
    QTest::newRow("read-only with a selection")
        << true << QString() << true << true
        << QStringLiteral("撤消=0 重复=0 | 剪切=0 复制=1 粘贴=0 删除=0 | 选择全部=1");
    QTest::newRow("read-only after an edit still offers no undo")
        << true << QStringLiteral("typed") << false << false
        << QStringLiteral("撤消=0 重复=0 | 剪切=0 复制=0 粘贴=0 删除=0 | 选择全部=1");
    QTest::newRow("writable, fresh, empty clipboard")
        << false << QString() << false << false
        << QStringLiteral("撤消=0 重复=0 | 剪切=0 复制=0 粘贴=0 删除=0 | 选择全部=1");
    QTest::newRow("writable with a selection and clipboard text")
        << false << QString() << true << true
        << QStringLiteral("撤消=0 重复=0 | 剪切=1 复制=1 粘贴=1 删除=1 | 选择全部=1");
    QTest::newRow("writable after typing can undo")
        << false << QStringLiteral("typed") << false << false
        << QStringLiteral("撤消=1 重复=0 | 剪切=0 复制=0 粘贴=0 删除=0 | 选择全部=1");
    QTest::newRow("writable after undoing everything can only redo")
        << false << QStringLiteral("typed undone") << false << false
        << QStringLiteral("撤消=0 重复=1 | 剪切=0 复制=0 粘贴=0 删除=0 | 选择全部=1");
}

void tst_CodeEditorWidget::contextMenuEnabling()
{
    QFETCH(bool, readOnly);
    QFETCH(QString, history);
    QFETCH(bool, selection);
    QFETCH(bool, clipboard);
    QFETCH(QString, menu);

    EditorWindow w;
    w.setText(QStringLiteral("from tkinter import *"));
    QVERIFY(w.show());
    if (clipboard)
        QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    else
        QGuiApplication::clipboard()->clear();
    if (!history.isEmpty()) {
        w.control.write(Prop::EditorReadOnly, -1, false);
        QTest::keyClicks(w.editor(), QStringLiteral("xy"));
        if (history.contains(QLatin1String("undone"))) {
            while (w.editor()->isUndoAvailable())
                w.editor()->undo();
        }
    }
    w.control.write(Prop::EditorReadOnly, -1, readOnly);
    if (selection)
        w.editor()->setSelection(0, 0, 0, 4);
    else
        w.editor()->setCursorPosition(0, 2);

    std::unique_ptr<QMenu> shown(w.editor()->createContextMenu());
    QCOMPARE(describe(shown.get()), menu);
}

void tst_CodeEditorWidget::contextMenuActsOnTheEditor()
{
    EditorWindow w;
    w.setText(QStringLiteral("Window = Tk()"));
    QVERIFY(w.show());
    const auto trigger = [&w](const QString &item) {
        std::unique_ptr<QMenu> menu(w.editor()->createContextMenu());
        for (QAction *action : menu->actions()) {
            if (action->text() == item)
                action->trigger();
        }
    };

    trigger(QStringLiteral("选择全部"));
    QCOMPARE(w.editor()->selectedText(), QStringLiteral("Window = Tk()"));
    trigger(QStringLiteral("复制"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Window = Tk()"));

    w.control.write(Prop::EditorReadOnly, -1, false);
    w.editor()->setSelection(0, 6, 0, 13);
    trigger(QStringLiteral("删除"));
    QCOMPARE(w.editor()->text(), QStringLiteral("Window"));
    trigger(QStringLiteral("撤消"));
    QCOMPARE(w.editor()->text(), QStringLiteral("Window = Tk()"));
}

void tst_CodeEditorWidget::readOnlyStillSelectsAndCopiesByKeyboard()
{
    const QString text = QStringLiteral("from tkinter import *\r\nWindow = Tk()\r\nLabel1 = Label(text=\"标签😀\")");
    EditorWindow w;
    w.setText(text);
    QVERIFY(w.show());
    w.editor()->setFocus();
    QCOMPARE(w.control.read(Prop::EditorReadOnly, -1).toBool(), true);

    QTest::keyClick(w.editor(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(w.editor()->selectedText(), text);
    QTest::keyClick(w.editor(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), text);
}

void tst_CodeEditorWidget::readOnlyIgnoresTyping()
{
    const QString text = QStringLiteral("Window.mainloop()");
    EditorWindow w;
    w.setText(text);
    QVERIFY(w.show());
    w.editor()->setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));

    QTest::keyClicks(w.editor(), QStringLiteral("abc"));
    QTest::keyClick(w.editor(), Qt::Key_Return);
    QTest::keyClick(w.editor(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w.editor(), Qt::Key_Delete);
    QTest::keyClick(w.editor(), Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(w.editor(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w.editor()->text(), text);
}

void tst_CodeEditorWidget::textRoundTripsThroughUtf8_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("chinese captions") << QStringLiteral("Button1 = Button(Window, text=\"按钮\")");
    QTest::newRow("emoji") << QStringLiteral("😀👍🏽🇨🇳");
    QTest::newRow("control characters") << QStringLiteral("a\tb\x01\x1b\x7f\r\nc");
    QTest::newRow("100,000 characters") << QString(100000, QChar(0x5B57));
}

void tst_CodeEditorWidget::textRoundTripsThroughUtf8()
{
    QFETCH(QString, text);

    EditorWindow w;
    QVERIFY(w.show());
    w.control.write(Prop::EditorReadOnly, -1, false);
    // Through the message, as the designer sets the text, and back through QsciScintilla.
    w.control.sendScintilla(QsciScintillaBase::SCI_SETTEXT, 0, text.toUtf8().constData());
    w.control.write(Prop::EditorReadOnly, -1, true);
    QCOMPARE(w.editor()->text(), text);
    w.editor()->grab();
}

void tst_CodeEditorWidget::colourPropertiesReadBack_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<Colour>("initial");
    QTest::addColumn<Colour>("written");

    QTest::newRow("selection text") << int(Prop::EditorSelectionText) << Colour(0x000000) << Colour(0x123456);
    QTest::newRow("selection background") << int(Prop::EditorSelectionBack) << Colour(0xC0C0C0) << Colour(0xECECEC);
    QTest::newRow("caret") << int(Prop::EditorCaret) << Colour(0x000000) << Colour(0x0000FF);
}

void tst_CodeEditorWidget::colourPropertiesReadBack()
{
    QFETCH(int, index);
    QFETCH(Colour, initial);
    QFETCH(Colour, written);

    QWidget parent;
    CodeEditorControl control(&parent);
    QCOMPARE(control.read(Prop(index), -1).value<Colour>(), initial);
    QVERIFY(control.write(Prop(index), -1, written));
    QCOMPARE(control.read(Prop(index), -1).value<Colour>(), written);
}

void tst_CodeEditorWidget::settingsBeforeTheEditorKeepTheLatest_data()
{
    QTest::addColumn<QList<Message>>("sent");
    QTest::addColumn<Message>("query");
    QTest::addColumn<long>("expected");
    QTest::addColumn<int>("moreWaiting");

    using S = QsciScintillaBase;
    constexpr long Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000;
    QTest::newRow("read-only off, then on")
        << QList<Message>{{S::SCI_SETREADONLY, 0, 0}, {S::SCI_SETREADONLY, 1, 0}}
        << Message{S::SCI_GETREADONLY, 0, 0} << 1L << 0;
    QTest::newRow("read-only on, then off")
        << QList<Message>{{S::SCI_SETREADONLY, 1, 0}, {S::SCI_SETREADONLY, 0, 0}}
        << Message{S::SCI_GETREADONLY, 0, 0} << 0L << 0;
    QTest::newRow("one style twice")
        << QList<Message>{{S::SCI_STYLESETFORE, 11, Red}, {S::SCI_STYLESETFORE, 11, Blue}}
        << Message{S::SCI_STYLEGETFORE, 11, 0} << Blue << 1;
    QTest::newRow("another style keeps its own")
        << QList<Message>{{S::SCI_STYLESETFORE, 11, Red}, {S::SCI_STYLESETFORE, 2, Blue},
                          {S::SCI_STYLESETFORE, 11, Green}}
        << Message{S::SCI_STYLEGETFORE, 2, 0} << Blue << 2;
    QTest::newRow("a margin set again")
        << QList<Message>{{S::SCI_SETMARGINWIDTHN, 0, 30}, {S::SCI_SETMARGINWIDTHN, 0, 40}}
        << Message{S::SCI_GETMARGINWIDTHN, 0, 0} << 40L << 1;
    QTest::newRow("the margin set at creation, set again")
        << QList<Message>{{S::SCI_SETMARGINWIDTHN, 1, 16}} << Message{S::SCI_GETMARGINWIDTHN, 1, 0} << 16L << 0;
}

// Before the editor is made, a setting sent again replaces the one that waits; the editor made then
// shows the last value of each.
void tst_CodeEditorWidget::settingsBeforeTheEditorKeepTheLatest()
{
    QFETCH(QList<Message>, sent);
    QFETCH(Message, query);
    QFETCH(long, expected);
    QFETCH(int, moreWaiting);

    QWidget parent;
    CodeEditorControl control(&parent);
    const std::size_t initial = control.pendingSettings();
    for (int round = 0; round < 50; ++round) {
        for (const Message &m : sent)
            control.sendScintilla(m.message, m.wParam, m.lParam);
    }
    QCOMPARE(control.pendingSettings(), initial + moreWaiting);
    QCOMPARE(control.sendScintilla(query.message, query.wParam, query.lParam), expected);
    QCOMPARE(control.pendingSettings(), std::size_t(0));
}

void tst_CodeEditorWidget::messagesTakeLiteralZero()
{
    // A literal 0 is also a null pointer; these calls must still pick the integer form.
    QWidget parent;
    CodeEditorControl control(&parent);
    control.sendScintilla(QsciScintillaBase::SCI_SETMARGINWIDTHN, 0, 0);
    control.sendScintilla(QsciScintillaBase::SCI_SETMARGINWIDTHN, 2, 0x000000);
    QCOMPARE(control.sendScintilla(QsciScintillaBase::SCI_GETMARGINWIDTHN, 0), 0);
    QCOMPARE(control.sendScintilla(QsciScintillaBase::SCI_GETMARGINWIDTHN, 2), 0);
    control.sendScintilla(QsciScintillaBase::SCI_SETMARGINWIDTHN, 0, 30u);
    QCOMPARE(control.sendScintilla(QsciScintillaBase::SCI_GETMARGINWIDTHN, 0), 30);
}

void tst_CodeEditorWidget::updateUiRaisesEditorUpdated()
{
    EditorWindow w;
    QList<Event> raised;
    w.control.setEventSink([&raised](Event event, const EventArgs &args) {
        raised.append(event);
        return args.values.isEmpty();
    });
    QVERIFY(w.show());
    // Scintilla reports UI updates when it paints.
    w.setText(numberedLines(3));
    w.editor()->repaint();
    QVERIFY(raised.contains(Event::EditorUpdated));
    QVERIFY(!raised.contains(Event(1)));
}

void tst_CodeEditorWidget::scrollsWithoutScrollBars_data()
{
    QTest::addColumn<QString>("gesture");

    QTest::newRow("mouse wheel") << QStringLiteral("wheel");
    QTest::newRow("page down") << QStringLiteral("page down");
    QTest::newRow("ctrl+end") << QStringLiteral("ctrl end");
}

void tst_CodeEditorWidget::scrollsWithoutScrollBars()
{
    QFETCH(QString, gesture);

    EditorWindow w;
    w.setText(numberedLines(300));
    QVERIFY(w.show());
    QVERIFY(!w.editor()->verticalScrollBar()->isVisible());
    QVERIFY(!w.editor()->horizontalScrollBar()->isVisible());
    w.editor()->setFocus();
    QCOMPARE(w.control.sendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE), 0);

    if (gesture == QLatin1String("wheel")) {
        const QPointF at(100, 100);
        QWheelEvent wheel(at, w.editor()->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w.editor()->viewport(), &wheel);
    } else if (gesture == QLatin1String("page down")) {
        QTest::keyClick(w.editor(), Qt::Key_PageDown);
    } else {
        QTest::keyClick(w.editor(), Qt::Key_End, Qt::ControlModifier);
    }
    QVERIFY(w.control.sendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE) > 0);
}

QTEST_MAIN(tst_CodeEditorWidget)
#include "tst_codeeditorwidget.moc"
