#include "support/placing.h"
#include "codeviewdriving.h"

#include "codegen/codeview.h"
#include "codegen/tkintergenerator.h"
#include "shell/designer.h"
#include "shell/mainwindowids.h"
#include "widgets/colour.h"
#include "widgets/codeeditor/codeeditorcontrol.h"
#include "widgets/codeeditor/codeeditorwidget.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QtTest>

#include <memory>

using model::ComponentKind;
using Sci = QsciScintillaBase;
using testsupport::documentBytes;
using testsupport::selectedBytes;
using widgets::ControlRef;
using widgets::Prop;
using widgets::rgb;

namespace {

// Python lexer styles, as Scintilla numbers them.
constexpr int PythonNumber = 2;
constexpr int PythonCharacter = 4;
constexpr int PythonOperator = 10;
constexpr int PythonIdentifier = 11;

// A key press for the editing table.
struct Keystroke
{
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};

} // namespace

Q_DECLARE_METATYPE(Keystroke)
Q_DECLARE_METATYPE(QList<Keystroke>)

class tst_CodeView : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void initialEditorState_data();
    void initialEditorState();
    void stateAfterSetUp_data();
    void stateAfterSetUp();
    void selectionColoursAndFaceAfterSetUp();
    void documentIsTheGeneratedTextByteForByte_data();
    void documentIsTheGeneratedTextByteForByte();
    void readOnlyAfterEveryPress();
    void editingChangesNothing_data();
    void editingChangesNothing();
    void inputMethodChangesNothing();
    void marginFollowsLineCount_data();
    void marginFollowsLineCount();
    void marginWidthRule_data();
    void marginWidthRule();
    void characterIsOneCaretStep_data();
    void characterIsOneCaretStep();
    void tokenColours_data();
    void tokenColours();

private:
    widgets::CodeEditorWidget *editor() const { return m_view.editor(); }
    void pressCodeButton() { m_view.pressCodeButton(); }

    testsupport::CodeViewDriving m_view;
};

void tst_CodeView::init()
{
    QVERIFY(m_view.start());
}

void tst_CodeView::cleanup()
{
    m_view.designer.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_CodeView::initialEditorState_data()
{
    QTest::addColumn<int>("message");
    QTest::addColumn<int>("wParam");
    QTest::addColumn<long>("expected");
    QTest::newRow("symbol margin hidden") << int(Sci::SCI_GETMARGINWIDTHN) << 1 << 0L;
    QTest::newRow("read-only") << int(Sci::SCI_GETREADONLY) << 0 << 1L;
    QTest::newRow("no horizontal scroll bar") << int(Sci::SCI_GETHSCROLLBAR) << 0 << 0L;
    QTest::newRow("no vertical scroll bar") << int(Sci::SCI_GETVSCROLLBAR) << 0 << 0L;
    QTest::newRow("white space not shown") << int(Sci::SCI_GETVIEWWS) << 0 << 0L;
    QTest::newRow("normal pointer") << int(Sci::SCI_GETCURSOR) << 0 << long(Sci::SC_CURSORNORMAL);
    QTest::newRow("CR LF line ends") << int(Sci::SCI_GETEOLMODE) << 0 << long(Sci::SC_EOL_CRLF);
    QTest::newRow("line ends not shown") << int(Sci::SCI_GETVIEWEOL) << 0 << 0L;
    QTest::newRow("black caret") << int(Sci::SCI_GETCARETFORE) << 0 << 0L;
    QTest::newRow("no current-line highlight") << int(Sci::SCI_GETCARETLINEVISIBLE) << 0 << 0L;
    QTest::newRow("white current-line colour") << int(Sci::SCI_GETCARETLINEBACK) << 0 << 0xFFFFFFL;
    QTest::newRow("no indentation guides") << int(Sci::SCI_GETINDENTATIONGUIDES) << 0 << 0L;
    QTest::newRow("wraps at words") << int(Sci::SCI_GETWRAPMODE) << 0 << long(Sci::SC_WRAP_WORD);
    QTest::newRow("caret blinks every 530 ms") << int(Sci::SCI_GETCARETPERIOD) << 0 << 530L;
    QTest::newRow("caret 1 pixel wide") << int(Sci::SCI_GETCARETWIDTH) << 0 << 1L;
    QTest::newRow("UTF-8") << int(Sci::SCI_GETCODEPAGE) << 0 << long(Sci::SC_CP_UTF8);
}

// The editor as the layout creates it, before the designer's set-up.
void tst_CodeView::initialEditorState()
{
    QFETCH(int, message);
    QFETCH(int, wParam);
    QFETCH(long, expected);
    QWidget parent;
    widgets::CodeEditorControl control(&parent);
    QCOMPARE(control.sendScintilla(unsigned(message), static_cast<unsigned long>(wParam)), expected);
    QCOMPARE(control.read(Prop::EditorSelectionText, -1).value<widgets::Colour>(), rgb(0, 0, 0));
    QCOMPARE(control.read(Prop::EditorSelectionBack, -1).value<widgets::Colour>(), rgb(192, 192, 192));
}

void tst_CodeView::stateAfterSetUp_data()
{
    QTest::addColumn<int>("message");
    QTest::addColumn<int>("wParam");
    QTest::addColumn<long>("expected");
    QTest::newRow("margin 0 numbers lines") << int(Sci::SCI_GETMARGINTYPEN) << 0 << long(Sci::SC_MARGIN_NUMBER);
    QTest::newRow("Python lexer") << int(Sci::SCI_GETLEXER) << 0 << long(Sci::SCLEX_PYTHON);
    QTest::newRow("line numbers grey") << int(Sci::SCI_STYLEGETFORE) << 33 << long(rgb(128, 128, 128));
    QTest::newRow("line numbers on white") << int(Sci::SCI_STYLEGETBACK) << 33 << long(rgb(255, 255, 255));
    QTest::newRow("matching brace green") << int(Sci::SCI_STYLEGETFORE) << 34 << long(rgb(0, 128, 0));
    QTest::newRow("bad brace black") << int(Sci::SCI_STYLEGETFORE) << 35 << long(rgb(0, 0, 0));
    QTest::newRow("default text blue") << int(Sci::SCI_STYLEGETFORE) << 0 << long(rgb(27, 57, 140));
    QTest::newRow("numbers green") << int(Sci::SCI_STYLEGETFORE) << PythonNumber << long(rgb(9, 136, 90));
    QTest::newRow("double-quoted strings blue") << int(Sci::SCI_STYLEGETFORE) << 3 << long(rgb(27, 57, 140));
    QTest::newRow("single-quoted strings blue")
        << int(Sci::SCI_STYLEGETFORE) << PythonCharacter << long(rgb(27, 57, 140));
    QTest::newRow("operators black") << int(Sci::SCI_STYLEGETFORE) << PythonOperator << long(rgb(0, 0, 0));
    QTest::newRow("identifiers brown")
        << int(Sci::SCI_STYLEGETFORE) << PythonIdentifier << long(rgb(164, 94, 38));
    QTest::newRow("class names cyan") << int(Sci::SCI_STYLEGETFORE) << 8 << long(rgb(0, 255, 255));
    QTest::newRow("tab width 4") << int(Sci::SCI_GETTABWIDTH) << 0 << 4L;
    QTest::newRow("backspace unindents") << int(Sci::SCI_GETBACKSPACEUNINDENTS) << 0 << 1L;
    QTest::newRow("default style 12 points") << int(Sci::SCI_STYLEGETSIZE) << int(Sci::STYLE_DEFAULT) << 12L;
    QTest::newRow("UTF-8, each character one step") << int(Sci::SCI_GETCODEPAGE) << 0 << long(Sci::SC_CP_UTF8);
    QTest::newRow("black caret") << int(Sci::SCI_GETCARETFORE) << 0 << 0L;
    QTest::newRow("still read-only") << int(Sci::SCI_GETREADONLY) << 0 << 1L;
}

void tst_CodeView::stateAfterSetUp()
{
    QFETCH(int, message);
    QFETCH(int, wParam);
    QFETCH(long, expected);
    QCOMPARE(m_view.designer->layer.sendScintilla(shell::ids::CodeView, unsigned(message),
                                             static_cast<unsigned long>(wParam)),
             expected);
}

void tst_CodeView::selectionColoursAndFaceAfterSetUp()
{
    const widgets::WidgetLayer &layer = m_view.designer->layer;
    QCOMPARE(layer.readProperty(shell::ids::CodeView, Prop::EditorSelectionText).value<widgets::Colour>(),
             rgb(0, 0, 0));
    QCOMPARE(layer.readProperty(shell::ids::CodeView, Prop::EditorSelectionBack).value<widgets::Colour>(),
             rgb(236, 236, 236));
    QCOMPARE(layer.readProperty(shell::ids::CodeView, Prop::EditorCaret).value<widgets::Colour>(), rgb(0, 0, 0));

    QByteArray face(64, '\0');
    editor()->SendScintilla(Sci::SCI_STYLEGETFONT, static_cast<unsigned long>(Sci::STYLE_DEFAULT), face.data());
    QCOMPARE(QString::fromUtf8(face.constData()), QStringLiteral("微软雅黑"));
}

void tst_CodeView::documentIsTheGeneratedTextByteForByte_data()
{
    QTest::addColumn<QString>("caption");
    QTest::newRow("Chinese, quotes, backslash, CR LF")
        << QStringLiteral("中文 'quote' \\ 😀\r\n");
    QTest::newRow("NUL inside") << QStringLiteral("a") + QChar(0) + QStringLiteral("b");
    QTest::newRow("lone surrogate") << QStringLiteral("a") + QChar(0xD800);
    QTest::newRow("100,000 characters") << QStringLiteral("长'").repeated(50000);
}

void tst_CodeView::documentIsTheGeneratedTextByteForByte()
{
    QFETCH(QString, caption);
    shell::Designer &d = *m_view.designer;
    QCOMPARE(documentBytes(editor()), QByteArray());
    const ControlRef w = testsupport::place(d, ComponentKind::Label, 16, 16);
    d.layer.writeProperty(w, Prop::LabelText, caption);
    pressCodeButton();
    const QByteArray document = documentBytes(editor());
    QCOMPARE(document, codegen::generate(d.model, d.layer).toUtf8());
    // Nothing cut the program short: a NUL ends only the caption's literal.
    QVERIFY(document.endsWith("Window.mainloop()"));
}

void tst_CodeView::readOnlyAfterEveryPress()
{
    for (int press = 0; press < 3; ++press) {
        pressCodeButton();
        QCOMPARE(m_view.designer->layer.readBoolean(shell::ids::CodeView, Prop::EditorReadOnly), true);
        // Earlier programs are not kept for an undo that the read-only view never allows.
        QCOMPARE(m_view.designer->layer.sendScintilla(shell::ids::CodeView, Sci::SCI_CANUNDO), 0L);
    }
}

void tst_CodeView::editingChangesNothing_data()
{
    QTest::addColumn<QList<Keystroke>>("keys");
    const Qt::KeyboardModifiers none;
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    QTest::newRow("typing a letter") << QList<Keystroke>{{Qt::Key_X, none}};
    QTest::newRow("Return") << QList<Keystroke>{{Qt::Key_Return, none}};
    QTest::newRow("Tab") << QList<Keystroke>{{Qt::Key_Tab, none}};
    QTest::newRow("Backspace at the end") << QList<Keystroke>{{Qt::Key_End, ctrl}, {Qt::Key_Backspace, none}};
    QTest::newRow("Delete at the start") << QList<Keystroke>{{Qt::Key_Home, ctrl}, {Qt::Key_Delete, none}};
    QTest::newRow("Delete on a selection") << QList<Keystroke>{{Qt::Key_A, ctrl}, {Qt::Key_Delete, none}};
    QTest::newRow("cutting everything") << QList<Keystroke>{{Qt::Key_A, ctrl}, {Qt::Key_X, ctrl}};
    QTest::newRow("pasting") << QList<Keystroke>{{Qt::Key_V, ctrl}};
    QTest::newRow("pasting over a selection") << QList<Keystroke>{{Qt::Key_A, ctrl}, {Qt::Key_V, ctrl}};
    QTest::newRow("undo") << QList<Keystroke>{{Qt::Key_Z, ctrl}, {Qt::Key_Z, ctrl}};
    QTest::newRow("redo") << QList<Keystroke>{{Qt::Key_Y, ctrl}};
    QTest::newRow("cutting a line") << QList<Keystroke>{{Qt::Key_L, ctrl}};
    QTest::newRow("duplicating a line") << QList<Keystroke>{{Qt::Key_D, ctrl}};
    QTest::newRow("swapping lines") << QList<Keystroke>{{Qt::Key_Down, none}, {Qt::Key_T, ctrl}};
}

// Keys that would change the text do nothing, whatever the clipboard holds.
void tst_CodeView::editingChangesNothing()
{
    QFETCH(QList<Keystroke>, keys);
    shell::Designer &d = *m_view.designer;
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted text\n"));
    pressCodeButton();
    // A second press with another design: undo must not bring back the first text either.
    testsupport::place(d, ComponentKind::Button, 8, 8);
    pressCodeButton();
    const QByteArray before = documentBytes(editor());
    QCOMPARE(before, codegen::generate(d.model, d.layer).toUtf8());
    editor()->setFocus();
    for (const Keystroke &stroke : keys)
        QTest::keyClick(editor(), stroke.key, stroke.modifiers);
    QCOMPARE(documentBytes(editor()), before);
}

void tst_CodeView::inputMethodChangesNothing()
{
    pressCodeButton();
    const QByteArray before = documentBytes(editor());
    QInputMethodEvent preedit(QStringLiteral("zhong"), {});
    QApplication::sendEvent(editor(), &preedit);
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("中文"));
    QApplication::sendEvent(editor(), &commit);
    QCOMPARE(documentBytes(editor()), before);
}

void tst_CodeView::marginFollowsLineCount_data()
{
    QTest::addColumn<int>("labels");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("width");
    // The empty design has 7 lines; the first label adds an empty line and its own.
    QTest::newRow("7 lines") << 0 << 7 << 20;
    QTest::newRow("9 lines") << 1 << 9 << 20;
    QTest::newRow("10 lines") << 2 << 10 << 30;
    QTest::newRow("99 lines") << 91 << 99 << 30;
    QTest::newRow("100 lines") << 92 << 100 << 40;
}

void tst_CodeView::marginFollowsLineCount()
{
    QFETCH(int, labels);
    QFETCH(int, lines);
    QFETCH(int, width);
    shell::Designer &d = *m_view.designer;
    for (int i = 0; i < labels; ++i)
        testsupport::place(d, ComponentKind::Label, i, i);
    pressCodeButton();
    QCOMPARE(d.layer.sendScintilla(shell::ids::CodeView, Sci::SCI_GETLINECOUNT), long(lines));
    QTRY_COMPARE(d.layer.sendScintilla(shell::ids::CodeView, Sci::SCI_GETMARGINWIDTHN, 0), long(width));
}

void tst_CodeView::marginWidthRule_data()
{
    QTest::addColumn<long>("lines");
    QTest::addColumn<int>("width");
    QTest::newRow("1 line") << 1L << 20;
    QTest::newRow("9 lines") << 9L << 20;
    QTest::newRow("10 lines") << 10L << 30;
    QTest::newRow("999 lines") << 999L << 40;
    QTest::newRow("1000 lines") << 1000L << 50;
    QTest::newRow("beyond 32 bits") << 10000000000L << 120;
}

void tst_CodeView::marginWidthRule()
{
    QFETCH(long, lines);
    QFETCH(int, width);
    QCOMPARE(codegen::lineNumberMarginWidth(lines), width);
}

void tst_CodeView::characterIsOneCaretStep_data()
{
    QTest::addColumn<QString>("character");
    QTest::newRow("Chinese of GB2312") << QStringLiteral("标");
    QTest::newRow("Chinese outside GB2312, beyond the BMP") << QStringLiteral("𠮷");
    QTest::newRow("emoji") << QStringLiteral("😀");
    QTest::newRow("accented Latin") << QStringLiteral("é");
    QTest::newRow("ASCII") << QStringLiteral("q");
}

void tst_CodeView::characterIsOneCaretStep()
{
    QFETCH(QString, character);
    shell::Designer &d = *m_view.designer;
    const ControlRef w = testsupport::place(d, ComponentKind::Label, 16, 16);
    d.layer.writeProperty(w, Prop::LabelText, QStringLiteral("<") + character + QStringLiteral(">"));
    pressCodeButton();
    const long before = long(documentBytes(editor()).indexOf("text='<")) + 7;
    QVERIFY(before > 7);
    editor()->SendScintilla(Sci::SCI_GOTOPOS, static_cast<unsigned long>(before));
    QTest::keyClick(editor(), Qt::Key_Right);
    QCOMPARE(editor()->SendScintilla(Sci::SCI_GETCURRENTPOS), before + long(character.toUtf8().size()));
    QTest::keyClick(editor(), Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(QString::fromUtf8(selectedBytes(editor())), character);
}

void tst_CodeView::tokenColours_data()
{
    QTest::addColumn<QByteArray>("context");
    QTest::addColumn<int>("offset");   // of the judged character within the context
    QTest::addColumn<int>("style");
    QTest::addColumn<long>("colour");
    const long green = long(rgb(9, 136, 90));
    const long blue = long(rgb(27, 57, 140));
    const long brown = long(rgb(164, 94, 38));
    const long black = long(rgb(0, 0, 0));
    QTest::newRow("number") << QByteArray("y=16") << 3 << PythonNumber << green;
    QTest::newRow("digits of a negative number") << QByteArray("x=-3") << 3 << PythonNumber << green;
    QTest::newRow("quoted caption") << QByteArray("'标签'") << 3 << PythonCharacter << blue;
    QTest::newRow("quoted face") << QByteArray("'微软雅黑'") << 0 << PythonCharacter << blue;
    QTest::newRow("variable name") << QByteArray("Label1") << 5 << PythonIdentifier << brown;
    QTest::newRow("method name") << QByteArray("place") << 0 << PythonIdentifier << brown;
    QTest::newRow("keyword without a keyword list") << QByteArray("from") << 0 << PythonIdentifier << brown;
    QTest::newRow("import") << QByteArray("import") << 2 << PythonIdentifier << brown;
    QTest::newRow("opening bracket") << QByteArray("(Window") << 0 << PythonOperator << black;
    QTest::newRow("comma") << QByteArray(", font") << 0 << PythonOperator << black;
    QTest::newRow("equals sign") << QByteArray("= Label") << 0 << PythonOperator << black;
    QTest::newRow("minus sign") << QByteArray("x=-3") << 2 << PythonOperator << black;
    QTest::newRow("star") << QByteArray("*") << 0 << PythonOperator << black;
}

// What the user sees: each token in its style, and the style in its colour.
void tst_CodeView::tokenColours()
{
    QFETCH(QByteArray, context);
    QFETCH(int, offset);
    QFETCH(int, style);
    QFETCH(long, colour);
    shell::Designer &d = *m_view.designer;
    testsupport::place(d, ComponentKind::Label, -3, 16);
    pressCodeButton();
    editor()->SendScintilla(Sci::SCI_COLOURISE, 0UL, -1L);
    const qsizetype at = documentBytes(editor()).indexOf(context);
    QVERIFY2(at >= 0, context.constData());
    const long styleAt = editor()->SendScintilla(Sci::SCI_GETSTYLEAT, static_cast<unsigned long>(at + offset));
    QCOMPARE(int(styleAt), style);
    QCOMPARE(editor()->SendScintilla(Sci::SCI_STYLEGETFORE, static_cast<unsigned long>(styleAt)), colour);
}

QTEST_MAIN(tst_CodeView)
#include "tst_codeview.moc"
