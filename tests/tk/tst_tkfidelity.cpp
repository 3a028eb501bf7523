// Designs made through the designer's own widgets, as a user makes them, must come out of the
// generated program exactly as designed: Debian's python3 runs the program that the code view
// shows in real Tk on a private Xvfb, and every widget's class, place, size, text and font, and
// the window's title, client size and geometry, are compared with what the user did.
#include "designdriving.h"
#include "designexpectation.h"
#include "tkprobe.h"

#include "codegen/tkintergenerator.h"
#include "shell/mainwindowids.h"

#include <QApplication>
#include <QtTest>

#include <memory>

using namespace designdriving;
using namespace designexpectation;
using model::ComponentKind;

Q_DECLARE_METATYPE(model::ComponentKind)

namespace {

// Applies a typed value to the design the way the designer must take it.
void applyToWidget(WidgetDesign &widget, const QString &row, const QVariant &value)
{
    if (row == TitleRow)
        widget.caption = value.toString();
    else if (row == TopRow)
        widget.rect.moveTop(value.toInt());
    else if (row == LeftRow)
        widget.rect.moveLeft(value.toInt());
    else if (row == WidthRow)
        widget.rect.setWidth(value.toInt());
    else if (row == HeightRow)
        widget.rect.setHeight(value.toInt());
    else if (row == FaceRow)
        widget.face = value.toString();
    else if (row == SizeRow)
        widget.points = value.toInt();
}

void applyToWindow(WindowDesign &window, const QString &row, const QVariant &value)
{
    if (row == TitleRow)
        window.title = value.toString();
    else if (row == TopRow)
        window.top = value.toInt();
    else if (row == LeftRow)
        window.left = value.toInt();
    else if (row == WidthRow)
        window.client.setWidth(value.toInt());
    else if (row == HeightRow)
        window.client.setHeight(value.toInt());
}

// For an input whose outcome is the designer's choice: the value the grid shows after the edit,
// which Tk must then show too. A number row must show a number.
bool takenByTheGrid(const shell::Designer &designer, const QString &row, QVariant *taken)
{
    const QString text = gridValue(designer, row);
    if (row == TitleRow || row == FaceRow) {
        *taken = text;
        return true;
    }
    bool number = false;
    *taken = text.toInt(&number);
    if (!number)
        QTest::qFail(qPrintable(QStringLiteral("the grid shows %1 in \"%2\" after the edit").arg(shown(text), row)),
                     __FILE__, __LINE__);
    return number;
}

const ComponentKind AllKinds[] = {ComponentKind::Label, ComponentKind::Entry, ComponentKind::Button,
                                  ComponentKind::RadioButton, ComponentKind::CheckButton};

} // namespace

class tst_TkFidelity : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void everyKindSeveralTimes();
    void widgetEdits_data();
    void widgetEdits();
    void windowEdits_data();
    void windowEdits();
    void hostileTexts_data();
    void hostileTexts();
    void editAfterSelectingByClick();
    void codeViewShowsTheGeneratedProgram();

private:
    // Runs the design's program in Tk and compares; fails naming each difference.
    void verifyInTk(shell::Designer &designer, const WindowDesign &want);

    std::unique_ptr<tktest::XvfbServer> m_xvfb;
    std::unique_ptr<tktest::TkSession> m_tk;
    std::unique_ptr<shell::Designer> m_designer;
};

void tst_TkFidelity::initTestCase()
{
    // Fail with the missing tool's name rather than skip: a skipped check never runs in CI.
    const QString python = tktest::compilesInPython(QStringLiteral("import tkinter"));
    QVERIFY2(python.isEmpty(), qPrintable(python));
    m_xvfb = std::make_unique<tktest::XvfbServer>();
    QVERIFY2(m_xvfb->isRunning(), qPrintable(m_xvfb->error()));
    m_tk = std::make_unique<tktest::TkSession>(m_xvfb->display());
    // Python, tkinter and the display together: a missing one fails here, named.
    const tktest::TkRun first = m_tk->run(QStringLiteral("from tkinter import *\nWindow = Tk()\n"));
    QVERIFY2(first.ok, qPrintable(first.error));
}

void tst_TkFidelity::init()
{
    m_designer = startDesigner();
}

void tst_TkFidelity::cleanup()
{
    m_designer.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_TkFidelity::verifyInTk(shell::Designer &designer, const WindowDesign &want)
{
    const QStringList inDesigner = differencesInDesigner(want, designer);
    const QString program = programInCodeView(designer);
    const tktest::TkRun run = m_tk->run(program);
    QVERIFY2(run.ok, qPrintable(QStringLiteral("the generated program failed in Tk: %1\n%2")
                                    .arg(run.error, shown(program))));
    QStringList problems = differencesInTk(want, run.info);
    if (!problems.isEmpty() && !inDesigner.isEmpty())
        problems << inDesigner;
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    // A design the designer did not take is a fault even when Tk agrees with the designer.
    QVERIFY2(inDesigner.isEmpty(), qPrintable(inDesigner.join(QLatin1Char('\n'))));
}

void tst_TkFidelity::everyKindSeveralTimes()
{
    shell::Designer &d = *m_designer;
    WindowDesign want;
    // Mixed kinds, so that the program's grouping by kind and the shared numbering both show.
    const struct
    {
        ComponentKind kind;
        QPoint at;
    } placements[] = {
        {ComponentKind::Button, {10, 150}},      {ComponentKind::Label, {5, 5}},
        {ComponentKind::CheckButton, {170, 170}}, {ComponentKind::Entry, {5, 40}},
        {ComponentKind::RadioButton, {160, 5}},   {ComponentKind::Label, {5, 75}},
        {ComponentKind::Entry, {160, 40}},        {ComponentKind::Button, {110, 150}},
        {ComponentKind::RadioButton, {160, 75}},  {ComponentKind::CheckButton, {160, 110}},
        {ComponentKind::Label, {290, 190}},       {ComponentKind::Entry, {0, 0}},
    };
    for (const auto &p : placements) {
        const model::Component *placed = placeByMouse(d, p.kind, p.at);
        QVERIFY(placed);
        want.widgets << placedWidget(p.kind, placed->number, p.at);
    }
    verifyInTk(d, want);
}

void tst_TkFidelity::widgetEdits_data()
{
    QTest::addColumn<ComponentKind>("kind");
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("typed");
    // What the design holds afterwards; an invalid value means "whatever the grid then shows",
    // for inputs whose exact outcome is the designer's choice: Tk must still show that.
    QTest::addColumn<QVariant>("value");

    const auto L = ComponentKind::Label, E = ComponentKind::Entry, B = ComponentKind::Button,
               R = ComponentKind::RadioButton, C = ComponentKind::CheckButton;
    QTest::newRow("label moved left of the window") << L << LeftRow << "-30" << QVariant(-30);
    QTest::newRow("entry moved above the window") << E << TopRow << "-15" << QVariant(-15);
    QTest::newRow("button moved far right") << B << LeftRow << "1500" << QVariant(1500);
    QTest::newRow("button width") << B << WidthRow << "150" << QVariant(150);
    QTest::newRow("radio button height") << R << HeightRow << "45" << QVariant(45);
    QTest::newRow("check button width in full-width digits") << C << WidthRow << "１６０" << QVariant(160);
    QTest::newRow("ideographic space and full-width minus") << L << TopRow << "　－８" << QVariant(-8);
    QTest::newRow("width with a unit") << B << WidthRow << "12px" << QVariant(12);
    QTest::newRow("plus sign") << E << TopRow << "+7" << QVariant(7);
    QTest::newRow("leading blanks") << C << LeftRow << "  25" << QVariant(25);
    QTest::newRow("a sign alone") << L << LeftRow << "-" << QVariant(0);
    QTest::newRow("letters give no width") << L << WidthRow << "abc" << QVariant(0);
    QTest::newRow("empty height") << B << HeightRow << "" << QVariant(0);
    QTest::newRow("negative height") << E << HeightRow << "-20" << QVariant(0);
    QTest::newRow("top beyond the limit") << L << TopRow << "99999" << QVariant(PositionLimit);
    QTest::newRow("left beyond the negative limit") << B << LeftRow << "-99999" << QVariant(-PositionLimit);
    QTest::newRow("width beyond the limit") << C << WidthRow << "99999" << QVariant(SizeLimit);
    QTest::newRow("left beyond 32 bits") << R << LeftRow << "99999999999" << QVariant(PositionLimit);
    QTest::newRow("top beyond 32 bits negative") << R << TopRow << "-99999999999" << QVariant(-PositionLimit);
    QTest::newRow("height beyond 32 bits") << E << HeightRow << "4294967297" << QVariant(SizeLimit);
    QTest::newRow("font size 12") << C << SizeRow << "12" << QVariant(12);
    QTest::newRow("font size 1") << L << SizeRow << "1" << QVariant(1);
    QTest::newRow("font size 0") << L << SizeRow << "0" << QVariant(0);
    QTest::newRow("negative font size") << B << SizeRow << "-3" << QVariant(0);
    QTest::newRow("font size 72 on an entry") << E << SizeRow << "72" << QVariant(72);
    // Tk draws text up to 1,500 pixels tall on any screen; at 96 dots per inch that is 1,125 points.
    QTest::newRow("largest font size Tk draws") << C << SizeRow << "1125" << QVariant(1125);
    QTest::newRow("font size one past the largest") << L << SizeRow << "1126" << QVariant(1125);
    QTest::newRow("font size 99999") << R << SizeRow << "99999" << QVariant(1125);
    QTest::newRow("font size beyond 32 bits") << L << SizeRow << "99999999999" << QVariant();
    QTest::newRow("face with blanks") << R << FaceRow << "Times New Roman" << QVariant("Times New Roman");
    QTest::newRow("Chinese face") << B << FaceRow << "黑体" << QVariant("黑体");
    QTest::newRow("face with a quote") << E << FaceRow << "Tom's" << QVariant("Tom's");
    QTest::newRow("face with a backslash at the end") << L << FaceRow << "Fonts\\" << QVariant("Fonts\\");
    QTest::newRow("face with an open brace") << C << FaceRow << "{x" << QVariant("{x");
    QTest::newRow("face of emoji") << B << FaceRow << "😀" << QVariant("😀");
    QTest::newRow("empty face") << L << FaceRow << "" << QVariant(QStringLiteral("宋体"));
    // Tk reads a font whose first word begins with "-" as a list of options.
    QTest::newRow("face of a minus alone") << B << FaceRow << "-" << QVariant();
    QTest::newRow("face that reads as a font option") << L << FaceRow << "-weight" << QVariant();
    QTest::newRow("face of 31 bytes is kept") << E << FaceRow << "a" + QStringLiteral("字").repeated(15)
                                              << QVariant("a" + QStringLiteral("字").repeated(15));
    QTest::newRow("face of 32 bytes falls back") << E << FaceRow << QStringLiteral("字").repeated(16)
                                                 << QVariant(QStringLiteral("宋体"));
}

void tst_TkFidelity::widgetEdits()
{
    QFETCH(ComponentKind, kind);
    QFETCH(QString, row);
    QFETCH(QString, typed);
    QFETCH(QVariant, value);

    shell::Designer &d = *m_designer;
    WindowDesign want;
    // A neighbour of the same kind that no edit may touch.
    const model::Component *neighbour = placeByMouse(d, kind, QPoint(150, 150));
    QVERIFY(neighbour);
    want.widgets << placedWidget(kind, neighbour->number, QPoint(150, 150));
    const model::Component *edited = placeByMouse(d, kind, QPoint(40, 30));
    QVERIFY(edited);
    want.widgets << placedWidget(kind, edited->number, QPoint(40, 30));

    const QString failure = editGridValue(d, row, typed);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    if (value.isValid()) {
        applyToWidget(want.widget(edited->number), row, value);
    } else {
        QVariant taken;
        QVERIFY(takenByTheGrid(d, row, &taken));
        applyToWidget(want.widget(edited->number), row, taken);
    }
    verifyInTk(d, want);
}

void tst_TkFidelity::windowEdits_data()
{
    QTest::addColumn<QString>("row");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QVariant>("value");

    QTest::newRow("Chinese title") << TitleRow << "我的第一个窗口" << QVariant("我的第一个窗口");
    QTest::newRow("width 400") << WidthRow << "400" << QVariant(400);
    QTest::newRow("height 300") << HeightRow << "300" << QVariant(300);
    QTest::newRow("larger than the screen") << WidthRow << "2500" << QVariant(2500);
    QTest::newRow("left negative") << LeftRow << "-10" << QVariant(-10);
    QTest::newRow("top negative") << TopRow << "-20" << QVariant(-20);
    QTest::newRow("left at the origin") << LeftRow << "0" << QVariant(0);
    QTest::newRow("top far down") << TopRow << "3000" << QVariant(3000);
    QTest::newRow("left in full-width digits") << LeftRow << "２５０" << QVariant(250);
    QTest::newRow("width 1") << WidthRow << "1" << QVariant(1);
    // Tk makes a window asked to be 0 wide or high one pixel so, and the design window takes that too.
    QTest::newRow("width 0") << WidthRow << "0" << QVariant(1);
    QTest::newRow("height as letters") << HeightRow << "abc" << QVariant(1);
    QTest::newRow("width beyond the limit") << WidthRow << "99999" << QVariant();
    // Tk, on X, holds a window's position in 16 bits: the designer must not promise more.
    QTest::newRow("left beyond what a screen holds") << LeftRow << "99999" << QVariant();
    QTest::newRow("top beyond 32 bits negative") << TopRow << "-99999999999" << QVariant();
}

void tst_TkFidelity::windowEdits()
{
    QFETCH(QString, row);
    QFETCH(QString, typed);
    QFETCH(QVariant, value);

    shell::Designer &d = *m_designer;
    WindowDesign want;
    const model::Component *label = placeByMouse(d, ComponentKind::Label, QPoint(20, 20));
    QVERIFY(label);
    want.widgets << placedWidget(ComponentKind::Label, label->number, QPoint(20, 20));

    selectWindowEntry(d);
    QCOMPARE(selectedEntry(d), 0);
    const QString failure = editGridValue(d, row, typed);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    if (value.isValid()) {
        applyToWindow(want, row, value);
    } else {
        QVariant taken;
        QVERIFY(takenByTheGrid(d, row, &taken));
        applyToWindow(want, row, taken);
    }
    verifyInTk(d, want);
}

void tst_TkFidelity::hostileTexts_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("single quote") << QStringLiteral("it's");
    QTest::newRow("double quotes") << QStringLiteral("say \"hi\"");
    QTest::newRow("three single quotes") << QStringLiteral("'''");
    QTest::newRow("backslash at the end") << QStringLiteral("C:\\");
    QTest::newRow("backslash before a quote") << QStringLiteral("\\'");
    QTest::newRow("escape sequences as plain text") << QStringLiteral("\\n \\t \\x41 \\u4e2d");
    QTest::newRow("CR LF line break") << QStringLiteral("第一行\r\n第二行");
    QTest::newRow("lone LF and lone CR") << QStringLiteral("a\nb\rc");
    QTest::newRow("tabs") << QStringLiteral("\ta\tb\t");
    QTest::newRow("control characters") << QStringLiteral("\x01\x02\x1b[0m\x7f");
    QTest::newRow("Chinese") << QStringLiteral("适用于 Python 3 的 Tkinter 窗口设计工具");
    QTest::newRow("emoji") << QStringLiteral("😀👍🏽");
    QTest::newRow("CJK outside GB2312") << QStringLiteral("𠮷喆镕");
    QTest::newRow("braces and percent") << QStringLiteral("{0} %s %1 {}");
    QTest::newRow("only blanks") << QStringLiteral("   ");
    QTest::newRow("a sign alone") << QStringLiteral("-");
    QTest::newRow("empty") << QString();
    QTest::newRow("100,000 hostile characters")
        << (QStringLiteral("'\\\r\n\t\"中😀") + QChar(1)).repeated(100000 / 9);
}

void tst_TkFidelity::hostileTexts()
{
    QFETCH(QString, text);

    shell::Designer &d = *m_designer;
    WindowDesign want;
    for (const ComponentKind kind : AllKinds) {
        const QPoint at(10, 10 + 40 * int(want.widgets.size()));
        const model::Component *placed = placeByMouse(d, kind, at);
        QVERIFY(placed);
        WidgetDesign widget = placedWidget(kind, placed->number, at);
        if (widget.hasCaption()) {
            const QString failure = editGridValue(d, TitleRow, text);
            QVERIFY2(failure.isEmpty(), qPrintable(failure));
            widget.caption = text;
        }
        const QString failure = editGridValue(d, FaceRow, text);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        widget.face = widgets::acceptedFace(text);
        want.widgets << widget;
    }
    selectWindowEntry(d);
    const QString failure = editGridValue(d, TitleRow, text);
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    want.title = text;
    verifyInTk(d, want);
}

void tst_TkFidelity::editAfterSelectingByClick()
{
    shell::Designer &d = *m_designer;
    WindowDesign want;
    const model::Component *first = placeByMouse(d, ComponentKind::Button, QPoint(10, 10));
    QVERIFY(first);
    want.widgets << placedWidget(ComponentKind::Button, first->number, QPoint(10, 10));
    const model::Component *second = placeByMouse(d, ComponentKind::Button, QPoint(10, 100));
    QVERIFY(second);
    want.widgets << placedWidget(ComponentKind::Button, second->number, QPoint(10, 100));

    QVERIFY(selectByMouse(d, *first));
    QCOMPARE(gridValue(d, QStringLiteral("类名")), QStringLiteral("Button1"));
    QVERIFY(editGridValue(d, WidthRow, QStringLiteral("200")).isEmpty());
    QVERIFY(editGridValue(d, TitleRow, QStringLiteral("第一个")).isEmpty());
    want.widget(first->number).rect.setWidth(200);
    want.widget(first->number).caption = QStringLiteral("第一个");

    // Going through the code panel and back must not change which widget the grid edits.
    programInCodeView(d);
    QVERIFY(editGridValue(d, SizeRow, QStringLiteral("14")).isEmpty());
    want.widget(first->number).points = 14;
    verifyInTk(d, want);
}

void tst_TkFidelity::codeViewShowsTheGeneratedProgram()
{
    shell::Designer &d = *m_designer;
    QVERIFY(placeByMouse(d, ComponentKind::Label, QPoint(16, 16)));
    QVERIFY(editGridValue(d, TitleRow, QStringLiteral("中文 'q' \\ 😀")).isEmpty());
    const QString expected = codegen::generate(d.model, d.layer);
    QCOMPARE(programInCodeView(d), expected);
    QVERIFY2(tktest::compilesInPython(expected).isEmpty(), qPrintable(tktest::compilesInPython(expected)));
}

QTEST_MAIN(tst_TkFidelity)
#include "tst_tkfidelity.moc"
