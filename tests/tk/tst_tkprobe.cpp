#include "support/programtexts.h"
#include "tkprobe.h"

#include <QFile>
#include <QRect>
#include <QTest>

#include <memory>

using namespace tktest;

namespace {

const QString &OneOfEachKind = testsupport::OneOfEachKindProgram;

// A window with the given title, geometry and body lines, in the generator's layout.
QString program(const QString &title, const QString &geometry, const QStringList &body = {},
                bool withMainloop = true)
{
    QString text = QStringLiteral("from tkinter import *\r\n\r\nWindow = Tk()\r\nWindow.title('%1')\r\n"
                                  "Window.geometry('%2')")
                       .arg(title, geometry);
    if (!body.isEmpty())
        text += QStringLiteral("\r\n\r\n") + body.join(QStringLiteral("\r\n"));
    if (withMainloop)
        text += QStringLiteral("\r\n\r\nWindow.mainloop()");
    return text;
}

QString labelLine(const QString &caption)
{
    return QStringLiteral("Label1 = Label(Window, text='%1', font=('微软雅黑', 9), anchor=W)"
                          ".place(y=16, x=16, width=120, height=20)")
        .arg(caption);
}

// A display number that nothing serves, for the no-display case.
QString unservedDisplay()
{
    for (int number = 600;; ++number) {
        if (!QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number))
            && !QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
            return QStringLiteral(":%1").arg(number);
    }
}

} // namespace

class tst_TkProbe : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void oneOfEachKindWindow();
    void oneOfEachKindWidgets_data();
    void oneOfEachKindWidgets();

    void windowGeometry_data();
    void windowGeometry();
    void unicodeTextsSurviveTheRoundTrip();
    void missingMainloopIsNoticed();

    void brokenPrograms_data();
    void brokenPrograms();
    void noDisplayIsReported();

    void batchKeepsProgramsApart();
    void batchKeepsOrder();
    void emptyBatch();

    void placementAsTkHoldsIt_data();
    void placementAsTkHoldsIt();
    void fontAsWritten_data();
    void fontAsWritten();
    void sessionRunsProgramsInTurn();

    void literals_data();
    void literals();
    void nonTextLiterals_data();
    void nonTextLiterals();

private:
    QString display() const { return m_xvfb->display(); }

    std::unique_ptr<XvfbServer> m_xvfb;
    TkRun m_example;
};

void tst_TkProbe::initTestCase()
{
    m_xvfb = std::make_unique<XvfbServer>();
    QVERIFY2(m_xvfb->isRunning(), qPrintable(m_xvfb->error()));
    m_example = runInTk(OneOfEachKind, display());
    QVERIFY2(m_example.ok, qPrintable(m_example.error));
}

void tst_TkProbe::oneOfEachKindWindow()
{
    const TkWindowInfo &window = m_example.info;
    QCOMPARE(window.title, QString(""));
    QCOMPARE(window.width, 400);
    QCOMPARE(window.height, 300);
    // No window manager runs on a bare Xvfb, so nothing moves the window: Tk reports the
    // position exactly as asked.
    QCOMPARE(window.geometry, QStringLiteral("400x300+100+100"));
    QVERIFY(window.mainloopCalled);
    QCOMPARE(window.widgets.size(), 5);
    QVERIFY2(compilesInPython(OneOfEachKind).isEmpty(), qPrintable(compilesInPython(OneOfEachKind)));
}

void tst_TkProbe::oneOfEachKindWidgets_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("tkClass");
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("hasText");
    QTest::addColumn<QString>("text");

    QTest::newRow("label") << 0 << "Label" << "Label1" << QRect(16, 16, 120, 20) << true << "标签";
    QTest::newRow("entry has no text") << 1 << "Entry" << "Entry2" << QRect(16, 48, 120, 20) << false << "";
    QTest::newRow("button") << 2 << "Button" << "Button3" << QRect(16, 80, 88, 32) << true << "按钮";
    QTest::newRow("radio button") << 3 << "Radiobutton" << "RadioButton4" << QRect(160, 16, 120, 20) << true
                                  << "单选框";
    QTest::newRow("check button") << 4 << "Checkbutton" << "CheckButton5" << QRect(160, 48, 120, 20) << true
                                  << "复选框";
}

void tst_TkProbe::oneOfEachKindWidgets()
{
    QFETCH(int, index);
    QFETCH(QString, tkClass);
    QFETCH(QString, variable);
    QFETCH(QRect, geometry);
    QFETCH(bool, hasText);
    QFETCH(QString, text);

    QVERIFY(index < m_example.info.widgets.size());
    const TkWidgetInfo &widget = m_example.info.widgets.at(index);
    QCOMPARE(widget.tkClass, tkClass);
    QCOMPARE(widget.variable, variable);
    QCOMPARE(QRect(widget.x, widget.y, widget.width, widget.height), geometry);
    QCOMPARE(widget.text.has_value(), hasText);
    if (hasText)
        QCOMPARE(*widget.text, text);
    QCOMPARE(widget.font, QStringLiteral("微软雅黑 9"));
    // The face is not installed here; Tk falls back to another family but keeps the size.
    QVERIFY(!widget.fontFamily.isEmpty());
    QCOMPARE(widget.fontSize, 9);
}

void tst_TkProbe::windowGeometry_data()
{
    QTest::addColumn<QString>("requested");
    QTest::addColumn<QString>("reported");
    QTest::addColumn<QSize>("clientSize");

    QTest::newRow("designer default") << "400x300+100+100" << "400x300+100+100" << QSize(400, 300);
    QTest::newRow("negative left and top") << "400x300+-10+-20" << "400x300+-10+-20" << QSize(400, 300);
    QTest::newRow("at the origin") << "300x200+0+0" << "300x200+0+0" << QSize(300, 200);
    QTest::newRow("zero size becomes one pixel") << "0x0+5+5" << "1x1+5+5" << QSize(1, 1);
    QTest::newRow("larger than the screen") << "2500x1500+0+0" << "2500x1500+0+0" << QSize(2500, 1500);
}

void tst_TkProbe::windowGeometry()
{
    QFETCH(QString, requested);
    QFETCH(QString, reported);
    QFETCH(QSize, clientSize);

    const TkRun run = runInTk(program(QString(), requested), display());
    QVERIFY2(run.ok, qPrintable(run.error));
    QCOMPARE(run.info.geometry, reported);
    QCOMPARE(QSize(run.info.width, run.info.height), clientSize);
    QVERIFY(run.info.widgets.isEmpty());
}

void tst_TkProbe::unicodeTextsSurviveTheRoundTrip()
{
    // Python escapes inside the caption: Tk must hold a real tab and a real line break.
    const QString title = QStringLiteral("中文标题 😀 ÿ \"q\"");
    const TkRun run = runInTk(program(title, QStringLiteral("200x100+0+0"),
                                      {labelLine(QStringLiteral("a\\tb\\r\\nc 😀"))}),
                              display());
    QVERIFY2(run.ok, qPrintable(run.error));
    QCOMPARE(run.info.title, title);
    QCOMPARE(run.info.widgets.size(), 1);
    QCOMPARE(run.info.widgets.at(0).text, std::optional<QString>(QStringLiteral("a\tb\r\nc 😀")));
}

void tst_TkProbe::missingMainloopIsNoticed()
{
    const TkRun run = runInTk(program(QString(), QStringLiteral("200x100+0+0"), {}, false), display());
    QVERIFY2(run.ok, qPrintable(run.error));
    QVERIFY(!run.info.mainloopCalled);
}

void tst_TkProbe::brokenPrograms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("compiles");
    QTest::addColumn<QString>("expectedError");

    QTest::newRow("quote in caption")
        << program(QString(), QStringLiteral("400x300+100+100"), {labelLine(QStringLiteral("it's"))}) << false
        << "SyntaxError at line 7";
    QTest::newRow("line break in caption")
        << program(QString(), QStringLiteral("400x300+100+100"), {labelLine(QStringLiteral("a\r\nb"))}) << false
        << "unterminated string literal";
    QTest::newRow("backslash before the closing quote")
        << program(QString(), QStringLiteral("400x300+100+100"), {labelLine(QStringLiteral("a\\"))}) << false
        << "SyntaxError at line 7";
    QTest::newRow("quote in title")
        << program(QStringLiteral("Tom's"), QStringLiteral("400x300+100+100")) << false << "SyntaxError at line 4";
    QTest::newRow("unknown option fails in Tk")
        << program(QString(), QStringLiteral("400x300+100+100"),
                   {QStringLiteral("Label1 = Label(Window, txt='x').place(y=1, x=1)")})
        << true << "TclError at line 7: unknown option \"-txt\"";
    QTest::newRow("bad geometry fails in Tk")
        << program(QString(), QStringLiteral("400x300+1O0+100")) << true << "TclError at line 5";
    QTest::newRow("undefined name") << QStringLiteral("from tkinter import *\r\nWindow = Tk()\r\nLabel9.place()")
                                    << true << "NameError at line 3";
    QTest::newRow("no root window") << QStringLiteral("import tkinter\r\n") << true
                                    << "the program created no Tk root window";
}

void tst_TkProbe::brokenPrograms()
{
    QFETCH(QString, text);
    QFETCH(bool, compiles);
    QFETCH(QString, expectedError);

    const TkRun run = runInTk(text, display());
    QVERIFY(!run.ok);
    QVERIFY2(run.error.contains(expectedError), qPrintable(run.error));

    const QString compileError = compilesInPython(text);
    QCOMPARE(compileError.isEmpty(), compiles);
    if (!compiles)
        QVERIFY2(compileError.contains(expectedError), qPrintable(compileError));
}

void tst_TkProbe::noDisplayIsReported()
{
    const TkRun run = runInTk(OneOfEachKind, unservedDisplay());
    QVERIFY(!run.ok);
    QVERIFY2(run.error.contains(QStringLiteral("no display")), qPrintable(run.error));
}

void tst_TkProbe::batchKeepsProgramsApart()
{
    const QStringList programs{
        OneOfEachKind,
        program(QString(), QStringLiteral("400x300+100+100"), {labelLine(QStringLiteral("it's"))}),
        program(QStringLiteral("second"), QStringLiteral("200x100+5+6"),
                {QStringLiteral("Button1 = Button(Window, text='b', font=('微软雅黑', 12)).place(y=1, x=2, width=30, height=40)")}),
        QStringLiteral("from tkinter import *\r\nWindow = Tk()\r\nraise RuntimeError('boom')"),
        OneOfEachKind,
    };
    const QList<TkRun> runs = runManyInTk(programs, display());
    QCOMPARE(runs.size(), programs.size());

    QVERIFY2(runs.at(0).ok, qPrintable(runs.at(0).error));
    QCOMPARE(runs.at(0).info.widgets.size(), 5);

    QVERIFY(!runs.at(1).ok);
    QVERIFY2(runs.at(1).error.contains(QStringLiteral("SyntaxError at line 7")), qPrintable(runs.at(1).error));

    // A fresh root: the first program's five widgets are gone.
    QVERIFY2(runs.at(2).ok, qPrintable(runs.at(2).error));
    QCOMPARE(runs.at(2).info.title, QStringLiteral("second"));
    QCOMPARE(runs.at(2).info.geometry, QStringLiteral("200x100+5+6"));
    QCOMPARE(runs.at(2).info.widgets.size(), 1);
    const TkWidgetInfo &button = runs.at(2).info.widgets.at(0);
    QCOMPARE(QRect(button.x, button.y, button.width, button.height), QRect(2, 1, 30, 40));
    QCOMPARE(button.fontSize, 12);

    QVERIFY(!runs.at(3).ok);
    QVERIFY2(runs.at(3).error.contains(QStringLiteral("RuntimeError at line 3: boom")), qPrintable(runs.at(3).error));

    // A program that failed at run time leaves nothing behind for the next one.
    QVERIFY2(runs.at(4).ok, qPrintable(runs.at(4).error));
    QCOMPARE(runs.at(4).info.geometry, QStringLiteral("400x300+100+100"));
    QCOMPARE(runs.at(4).info.widgets.size(), 5);
}

void tst_TkProbe::batchKeepsOrder()
{
    // More than ten programs, so that file names sorting as text would put 10 before 2.
    QStringList programs;
    for (int i = 0; i < 25; ++i)
        programs << program(QString::number(i), QStringLiteral("%1x50+0+0").arg(100 + i));
    const QList<TkRun> runs = runManyInTk(programs, display());
    QCOMPARE(runs.size(), programs.size());
    for (int i = 0; i < runs.size(); ++i) {
        QVERIFY2(runs.at(i).ok, qPrintable(runs.at(i).error));
        QCOMPARE(runs.at(i).info.title, QString::number(i));
        QCOMPARE(runs.at(i).info.width, 100 + i);
    }
}

void tst_TkProbe::emptyBatch()
{
    QVERIFY(runManyInTk({}, display()).isEmpty());
}

void tst_TkProbe::placementAsTkHoldsIt_data()
{
    QTest::addColumn<QString>("place");
    QTest::addColumn<QRect>("placed");
    QTest::addColumn<QRect>("shown");

    QTest::newRow("inside the window") << "y=16, x=16, width=120, height=20" << QRect(16, 16, 120, 20)
                                       << QRect(16, 16, 120, 20);
    QTest::newRow("negative position") << "y=-15, x=-30, width=120, height=20" << QRect(-30, -15, 120, 20)
                                       << QRect(-30, -15, 120, 20);
    // X has no empty windows: Tk keeps the widget on the screen, one pixel wide or high.
    QTest::newRow("zero width") << "y=5, x=6, width=0, height=20" << QRect(6, 5, 0, 20) << QRect(6, 5, 1, 20);
    QTest::newRow("zero height") << "y=5, x=6, width=30, height=0" << QRect(6, 5, 30, 0) << QRect(6, 5, 30, 1);
    QTest::newRow("far outside") << "y=32627, x=-32627, width=32627, height=20" << QRect(-32627, 32627, 32627, 20)
                                 << QRect(-32627, 32627, 32627, 20);
}

void tst_TkProbe::placementAsTkHoldsIt()
{
    QFETCH(QString, place);
    QFETCH(QRect, placed);
    QFETCH(QRect, shown);

    const TkRun run = runInTk(program(QString(), QStringLiteral("300x200+0+0"),
                                      {QStringLiteral("Label1 = Label(Window, text='x').place(%1)").arg(place)}),
                              display());
    QVERIFY2(run.ok, qPrintable(run.error));
    QCOMPARE(run.info.widgets.size(), 1);
    const TkWidgetInfo &label = run.info.widgets.at(0);
    QCOMPARE(label.placed, std::optional<QRect>(placed));
    QVERIFY(label.mapped);
    QCOMPARE(QRect(label.x, label.y, label.width, label.height), shown);
}

void tst_TkProbe::fontAsWritten_data()
{
    QTest::addColumn<QString>("font");
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("points");

    QTest::newRow("Chinese face") << "('微软雅黑', 9)" << "微软雅黑" << 9;
    QTest::newRow("face with blanks") << "('Times New Roman', 12)" << "Times New Roman" << 12;
    QTest::newRow("face with a brace") << "('{x', 9)" << "{x" << 9;
    QTest::newRow("face with a quote and a backslash") << "(\"a'b\\\\\", 9)" << "a'b\\" << 9;
    QTest::newRow("size 0") << "('宋体', 0)" << "宋体" << 0;
    QTest::newRow("large size") << "('宋体', 99999)" << "宋体" << 99999;
}

void tst_TkProbe::fontAsWritten()
{
    QFETCH(QString, font);
    QFETCH(QString, face);
    QFETCH(int, points);

    const TkRun run = runInTk(program(QString(), QStringLiteral("300x200+0+0"),
                                      {QStringLiteral("Entry1 = Entry(Window, font=%1).place(y=1, x=1, width=50, height=20)")
                                           .arg(font)}),
                              display());
    QVERIFY2(run.ok, qPrintable(run.error));
    QCOMPARE(run.info.widgets.size(), 1);
    QCOMPARE(run.info.widgets.at(0).fontFace, face);
    QCOMPARE(run.info.widgets.at(0).fontPoints, std::optional<int>(points));
}

void tst_TkProbe::sessionRunsProgramsInTurn()
{
    TkSession session(display());
    const TkRun first = session.run(OneOfEachKind);
    QVERIFY2(first.ok, qPrintable(first.error));
    QCOMPARE(first.info.widgets.size(), 5);

    const TkRun broken = session.run(program(QString(), QStringLiteral("400x300+100+100"), {labelLine(QStringLiteral("it's"))}));
    QVERIFY(!broken.ok);
    QVERIFY2(broken.error.contains(QStringLiteral("SyntaxError at line 7")), qPrintable(broken.error));

    const TkRun second = session.run(program(QStringLiteral("second"), QStringLiteral("200x100+5+6")));
    QVERIFY2(second.ok, qPrintable(second.error));
    QCOMPARE(second.info.title, QStringLiteral("second"));
    QVERIFY(second.info.widgets.isEmpty());

    // A program that ends the interpreter is reported; the next one gets a new interpreter.
    const TkRun ended = session.run(QStringLiteral("import os\r\nos._exit(3)"));
    QVERIFY(!ended.ok);
    QVERIFY2(ended.error.contains(QStringLiteral("tkprobe.py ended")), qPrintable(ended.error));
    const TkRun after = session.run(OneOfEachKind);
    QVERIFY2(after.ok, qPrintable(after.error));
    QCOMPARE(after.info.geometry, QStringLiteral("400x300+100+100"));
}

void tst_TkProbe::literals_data()
{
    QTest::addColumn<QString>("literal");
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << "''" << "";
    QTest::newRow("escaped quote") << "'a\\'b'" << "a'b";
    QTest::newRow("double quotes around a quote") << "\"it's\"" << "it's";
    QTest::newRow("escaped backslash") << "'a\\\\b'" << "a\\b";
    QTest::newRow("CR") << "'\\r'" << "\r";
    QTest::newRow("LF") << "'\\n'" << "\n";
    QTest::newRow("CR LF kept apart") << "'a\\r\\nb'" << "a\r\nb";
    QTest::newRow("tab") << "'\\t'" << "\t";
    QTest::newRow("control character") << "'\\x01'" << QStringLiteral("\x01");
    QTest::newRow("Chinese as is") << "'微软雅黑'" << "微软雅黑";
    QTest::newRow("Chinese escaped") << "'\\u4e2d'" << "中";
    QTest::newRow("emoji as is") << "'😀'" << "😀";
    QTest::newRow("emoji escaped") << "'\\U0001F600'" << "😀";
    QTest::newRow("lone surrogate") << "'\\ud800'" << QString(QChar(0xD800));
    QTest::newRow("raw string keeps backslash") << "r'a\\nb'" << "a\\nb";
    QTest::newRow("adjacent literals join") << "'a' \"b\"" << "ab";
    QTest::newRow("surrounding blanks") << "  'x'\r\n" << "x";
    // A file's CR LF reads as LF inside a triple-quoted literal.
    QTest::newRow("raw line end in triple quotes") << "'''a\r\nb'''" << "a\nb";
    QTest::newRow("hostile mix") << "'\\'\\\\\\r\\n\\t\\x01中😀'" << "'\\\r\n\t\x01中😀";
}

void tst_TkProbe::literals()
{
    QFETCH(QString, literal);
    QFETCH(QString, text);

    QString error;
    const QString value = evaluatePythonLiteral(literal, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(!value.isNull());
    QCOMPARE(value, text);
}

void tst_TkProbe::nonTextLiterals_data()
{
    QTest::addColumn<QString>("literal");
    QTest::addColumn<QString>("expectedError");

    QTest::newRow("unterminated") << "'abc" << "SyntaxError";
    QTest::newRow("raw line break") << "'a\nb'" << "SyntaxError";
    QTest::newRow("bytes") << "b'x'" << "not a str";
    QTest::newRow("number") << "42" << "not a str";
    QTest::newRow("name") << "Window" << "ValueError";
    QTest::newRow("f-string") << "f'{1}'" << "ValueError";
    QTest::newRow("nothing") << "" << "SyntaxError";
}

void tst_TkProbe::nonTextLiterals()
{
    QFETCH(QString, literal);
    QFETCH(QString, expectedError);

    QString error;
    QVERIFY(evaluatePythonLiteral(literal, &error).isNull());
    QVERIFY2(error.contains(expectedError), qPrintable(error));
}

QTEST_GUILESS_MAIN(tst_TkProbe)
#include "tst_tkprobe.moc"
