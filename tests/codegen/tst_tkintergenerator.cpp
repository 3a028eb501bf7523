#include "support/programtexts.h"
#include "support/placing.h"

#include "codegen/tkintergenerator.h"
#include "model/propertyrows.h"
#include "design/designwindowids.h"
#include "shell/designer.h"
#include "shell/mainwindowids.h"
#include "widgets/fontvalue.h"

#include <QApplication>
#include <QtTest>

#include <memory>

using model::ComponentKind;
using widgets::ControlRef;
using widgets::FontMember;
using widgets::Prop;

Q_DECLARE_METATYPE(ComponentKind)

namespace {

const QString &WorkedExample = testsupport::OneOfEachKindProgram;

// The first lines of every program for the start-up window: empty title, 300 x 200 at (100, 100).
const QString StartHead = QStringLiteral(
    "from tkinter import *\r\n"
    "\r\n"
    "Window = Tk()\r\n"
    "Window.title('')\r\n"
    "Window.geometry('300x200+100+100')");

const QString MainloopTail = QStringLiteral("\r\n\r\nWindow.mainloop()");

} // namespace

class tst_TkinterGenerator : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void workedExample();
    void emptyDesignHasSixLineEnds();
    void oneButtonOnly();
    void buttonPlacedBeforeLabel();
    void blocksFollowKindOrderNotPlacementOrder();
    void geometry_data();
    void geometry();
    void widgetPosition_data();
    void widgetPosition();
    void fontSizeFromGrid_data();
    void fontSizeFromGrid();
    void fontPoints_data();
    void fontPoints();
    void captionPerKind_data();
    void captionPerKind();
    void entryHasNoCaption();
    void texts_data();
    void texts();
    void escaping_data();
    void escaping();
    void hugeTitleAndCaption();
    void twoPressesGiveIdenticalTexts();
    void changeShowsInTheNextText();
    void generatingChangesNothing();

private:
    std::unique_ptr<shell::Designer> m_designer;
};

void tst_TkinterGenerator::init()
{
    m_designer = std::make_unique<shell::Designer>([] { return shell::PlatformVersion{6, 1}; });
    m_designer->start();
    QVERIFY(m_designer->layer.isLoaded(design::ids::DesignWindowId));
}

void tst_TkinterGenerator::cleanup()
{
    m_designer.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_TkinterGenerator::workedExample()
{
    shell::Designer &d = *m_designer;
    testsupport::setDesignClientSize(d, 400, 300);
    testsupport::place(d, ComponentKind::Label, 16, 16);
    testsupport::place(d, ComponentKind::Entry, 16, 48);
    testsupport::place(d, ComponentKind::Button, 16, 80);
    testsupport::place(d, ComponentKind::RadioButton, 160, 16);
    testsupport::place(d, ComponentKind::CheckButton, 160, 48);
    QCOMPARE(codegen::generate(d.model, d.layer), WorkedExample);
}

void tst_TkinterGenerator::emptyDesignHasSixLineEnds()
{
    const QString text = codegen::generate(m_designer->model, m_designer->layer);
    QCOMPARE(text, StartHead + MainloopTail);
    QCOMPARE(text.count(QStringLiteral("\r\n")), 6);
    // No lone CR or LF anywhere, and nothing after the main loop.
    QCOMPARE(text.count(QLatin1Char('\r')), 6);
    QCOMPARE(text.count(QLatin1Char('\n')), 6);
    QVERIFY(text.endsWith(QStringLiteral("Window.mainloop()")));
}

void tst_TkinterGenerator::oneButtonOnly()
{
    shell::Designer &d = *m_designer;
    testsupport::place(d, ComponentKind::Button, 16, 48);
    QCOMPARE(codegen::generate(d.model, d.layer),
             StartHead
                 + QStringLiteral("\r\n\r\nButton1 = Button(Window, text='按钮', font=('微软雅黑', 9))"
                                  ".place(y=48, x=16, width=88, height=32)")
                 + MainloopTail);
}

void tst_TkinterGenerator::buttonPlacedBeforeLabel()
{
    shell::Designer &d = *m_designer;
    testsupport::place(d, ComponentKind::Button, 30, 40);
    testsupport::place(d, ComponentKind::Label, 50, 60);
    QCOMPARE(codegen::generate(d.model, d.layer),
             StartHead
                 + QStringLiteral("\r\n\r\nLabel2 = Label(Window, text='标签', font=('微软雅黑', 9), anchor=W)"
                                  ".place(y=60, x=50, width=120, height=20)"
                                  "\r\n\r\nButton1 = Button(Window, text='按钮', font=('微软雅黑', 9))"
                                  ".place(y=40, x=30, width=88, height=32)")
                 + MainloopTail);
}

void tst_TkinterGenerator::blocksFollowKindOrderNotPlacementOrder()
{
    shell::Designer &d = *m_designer;
    // Check, label, check, entry, label: labels 2 and 5 first, then entry 4, then checks 1 and 3,
    // with no empty line inside a block.
    testsupport::place(d, ComponentKind::CheckButton, 0, 0);
    testsupport::place(d, ComponentKind::Label, 0, 0);
    testsupport::place(d, ComponentKind::CheckButton, 0, 0);
    testsupport::place(d, ComponentKind::Entry, 0, 0);
    testsupport::place(d, ComponentKind::Label, 0, 0);
    const QStringList lines = codegen::generate(d.model, d.layer).split(QStringLiteral("\r\n"));
    QStringList starts;
    for (const QString &line : lines)
        starts << line.section(QLatin1Char(' '), 0, 0);
    QCOMPARE(starts, (QStringList{QStringLiteral("from"), QString(), QStringLiteral("Window"),
                                  QStringLiteral("Window.title('')"), QStringLiteral("Window.geometry('300x200+100+100')"),
                                  QString(), QStringLiteral("Label2"), QStringLiteral("Label5"), QString(),
                                  QStringLiteral("Entry4"), QString(), QStringLiteral("CheckButton1"),
                                  QStringLiteral("CheckButton3"), QString(), QStringLiteral("Window.mainloop()")}));
}

void tst_TkinterGenerator::geometry_data()
{
    QTest::addColumn<int>("clientWidth");
    QTest::addColumn<int>("clientHeight");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<QString>("expected");
    QTest::newRow("start-up values") << 300 << 200 << 100 << 100 << QStringLiteral("300x200+100+100");
    QTest::newRow("negative left and top keep their sign after the plus")
        << 400 << 300 << -5 << -2147483647 - 1 << QStringLiteral("400x300+-5+-2147483648");
    QTest::newRow("zero position") << 400 << 300 << 0 << 0 << QStringLiteral("400x300+0+0");
    QTest::newRow("largest 32-bit position") << 640 << 480 << 2147483647 << 7
                                             << QStringLiteral("640x480+2147483647+7");
}

void tst_TkinterGenerator::geometry()
{
    QFETCH(int, clientWidth);
    QFETCH(int, clientHeight);
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(QString, expected);
    shell::Designer &d = *m_designer;
    testsupport::setDesignClientSize(d, clientWidth, clientHeight);
    d.model.windowLeft = left;
    d.model.windowTop = top;
    const QString text = codegen::generate(d.model, d.layer);
    QVERIFY2(text.contains(QStringLiteral("\r\nWindow.geometry('") + expected + QStringLiteral("')\r\n")),
             qPrintable(text));
}

void tst_TkinterGenerator::widgetPosition_data()
{
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("placement");
    QTest::newRow("inside") << 16 << 16 << 120 << 20 << QStringLiteral(".place(y=16, x=16, width=120, height=20)");
    QTest::newRow("partly outside to the top left")
        << -40 << -7 << 120 << 20 << QStringLiteral(".place(y=-7, x=-40, width=120, height=20)");
    QTest::newRow("zero size") << 0 << 0 << 0 << 0 << QStringLiteral(".place(y=0, x=0, width=0, height=0)");
    QTest::newRow("far outside") << 32627 << -32627 << 500 << 1
                                 << QStringLiteral(".place(y=-32627, x=32627, width=500, height=1)");
}

void tst_TkinterGenerator::widgetPosition()
{
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QString, placement);
    shell::Designer &d = *m_designer;
    const ControlRef w = testsupport::place(d, ComponentKind::Label, 16, 16);
    d.layer.writeProperty(w, Prop::Left, left);
    d.layer.writeProperty(w, Prop::Top, top);
    d.layer.writeProperty(w, Prop::Width, width);
    d.layer.writeProperty(w, Prop::Height, height);
    QVERIFY2(codegen::generate(d.model, d.layer).contains(QStringLiteral("anchor=W)") + placement + MainloopTail),
             qPrintable(codegen::generate(d.model, d.layer)));
}

void tst_TkinterGenerator::fontSizeFromGrid_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("written");
    QTest::newRow("12 points") << 12 << QStringLiteral("12");
    QTest::newRow("9 points, the template's") << 9 << QStringLiteral("9");
    QTest::newRow("1 point") << 1 << QStringLiteral("1");
    QTest::newRow("0 points") << 0 << QStringLiteral("0");
    QTest::newRow("a negative size counts as 0") << -5 << QStringLiteral("0");
    QTest::newRow("72 points") << 72 << QStringLiteral("72");
}

void tst_TkinterGenerator::fontSizeFromGrid()
{
    QFETCH(int, points);
    QFETCH(QString, written);
    shell::Designer &d = *m_designer;
    const ControlRef w = testsupport::place(d, ComponentKind::Button, 16, 16);
    d.layer.writeProperty(w, Prop::ButtonFont, points, int(FontMember::Size));
    const QString text = codegen::generate(d.model, d.layer);
    QVERIFY2(text.contains(QStringLiteral("font=('微软雅黑', ") + written + QStringLiteral(")).place(")),
             qPrintable(text));
}

void tst_TkinterGenerator::fontPoints_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("dotsPerInch");
    QTest::addColumn<int>("points");
    QTest::newRow("-12 px at 96 dpi is 9") << -12 << 96 << 9;
    QTest::newRow("-16 px at 96 dpi is 12") << -16 << 96 << 12;
    QTest::newRow("a positive height counts the same") << 16 << 96 << 12;
    QTest::newRow("-13 px: 9.75 rounds up") << -13 << 96 << 10;
    QTest::newRow("-14 px: 10.5 rounds away from zero") << -14 << 96 << 11;
    QTest::newRow("-2 px: 1.5 rounds away from zero") << -2 << 96 << 2;
    QTest::newRow("-1 px: 0.75 rounds to 1") << -1 << 96 << 1;
    QTest::newRow("0 px is 0") << 0 << 96 << 0;
    QTest::newRow("-12 px at 120 dpi is 7.2, so 7") << -12 << 120 << 7;
    QTest::newRow("-25 px at 144 dpi is 12.5, so 13") << -25 << 144 << 13;
    QTest::newRow("huge height does not overflow") << -2147483647 << 96 << 1610612735;
}

void tst_TkinterGenerator::fontPoints()
{
    QFETCH(int, height);
    QFETCH(int, dotsPerInch);
    QFETCH(int, points);
    QCOMPARE(codegen::fontPoints(height, dotsPerInch), points);
}

void tst_TkinterGenerator::captionPerKind_data()
{
    QTest::addColumn<ComponentKind>("kind");
    QTest::addColumn<QString>("expected");
    QTest::newRow("label") << ComponentKind::Label
                           << QStringLiteral("Label1 = Label(Window, text='新的', font=('黑体', 12), anchor=W).place(");
    QTest::newRow("button") << ComponentKind::Button
                            << QStringLiteral("Button1 = Button(Window, text='新的', font=('黑体', 12)).place(");
    QTest::newRow("radio button")
        << ComponentKind::RadioButton
        << QStringLiteral("RadioButton1 = Radiobutton(Window, text='新的', font=('黑体', 12), anchor=W).place(");
    QTest::newRow("check button")
        << ComponentKind::CheckButton
        << QStringLiteral("CheckButton1 = Checkbutton(Window, text='新的', font=('黑体', 12), anchor=W).place(");
}

void tst_TkinterGenerator::captionPerKind()
{
    QFETCH(ComponentKind, kind);
    QFETCH(QString, expected);
    shell::Designer &d = *m_designer;
    const ControlRef w = testsupport::place(d, kind, 16, 16);
    d.layer.writeProperty(w, *model::captionProperty(kind), QStringLiteral("新的"));
    d.layer.writeProperty(w, *model::fontProperty(kind), QStringLiteral("黑体"), int(FontMember::Face));
    d.layer.writeProperty(w, *model::fontProperty(kind), 12, int(FontMember::Size));
    const QString text = codegen::generate(d.model, d.layer);
    QVERIFY2(text.contains(QStringLiteral("\r\n\r\n") + expected), qPrintable(text));
}

void tst_TkinterGenerator::entryHasNoCaption()
{
    shell::Designer &d = *m_designer;
    const ControlRef w = testsupport::place(d, ComponentKind::Entry, 16, 16);
    // What the user typed into the entry on the design is not part of the program.
    d.layer.writeProperty(w, Prop::EntryText, QStringLiteral("typed"));
    const QString text = codegen::generate(d.model, d.layer);
    QVERIFY2(text.contains(QStringLiteral("\r\n\r\nEntry1 = Entry(Window, font=('微软雅黑', 9)).place(y=16, x=16, ")),
             qPrintable(text));
    QVERIFY(!text.contains(QStringLiteral("typed")));
    QVERIFY(!text.contains(QStringLiteral("text=")));
}

void tst_TkinterGenerator::texts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain Chinese") << QStringLiteral("你好，世界") << QStringLiteral("你好，世界");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("single quote") << QStringLiteral("it's") << QStringLiteral("it\\'s");
    QTest::newRow("double quote stays") << QStringLiteral("say \"hi\"") << QStringLiteral("say \"hi\"");
    QTest::newRow("backslash") << QStringLiteral("C:\\new") << QStringLiteral("C:\\\\new");
    QTest::newRow("CR LF") << QStringLiteral("a\r\nb") << QStringLiteral("a\\r\\nb");
    QTest::newRow("tab") << QStringLiteral("a\tb") << QStringLiteral("a\\tb");
    QTest::newRow("emoji outside the BMP") << QStringLiteral("笑😀") << QStringLiteral("笑😀");
    QTest::newRow("NUL ends the text") << QStringLiteral("标题") + QChar(0) + QStringLiteral("后") << QStringLiteral("标题");
}

// The window title and a caption go through the same rule.
void tst_TkinterGenerator::texts()
{
    QFETCH(QString, text);
    QFETCH(QString, written);
    shell::Designer &d = *m_designer;
    const ControlRef w = testsupport::place(d, ComponentKind::Label, 16, 16);
    d.layer.writeProperty(w, Prop::LabelText, text);
    d.layer.writeProperty(design::ids::DesignWindow, Prop::WindowTitle, text);
    const QString generated = codegen::generate(d.model, d.layer);
    QVERIFY2(generated.contains(QStringLiteral("\r\nWindow.title('") + written + QStringLiteral("')\r\n")),
             qPrintable(generated));
    QVERIFY2(generated.contains(QStringLiteral("Label(Window, text='") + written + QStringLiteral("', font=")),
             qPrintable(generated));
}

void tst_TkinterGenerator::escaping_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written");
    QTest::newRow("nothing to escape") << QStringLiteral("标签 Label 1") << QStringLiteral("标签 Label 1");
    QTest::newRow("quote and backslash") << QStringLiteral("\\'") << QStringLiteral("\\\\\\'");
    QTest::newRow("backslash at the end") << QStringLiteral("end\\") << QStringLiteral("end\\\\");
    QTest::newRow("NUL alone") << QString(QChar(0)) << QString();
    QTest::newRow("NUL ends the text") << QStringLiteral("a\\'") + QChar(0) + QStringLiteral("b\\") + QChar(0)
                                       << QStringLiteral("a\\\\\\'");
    QTest::newRow("bell and escape") << QStringLiteral("\a\x1b") << QStringLiteral("\\x07\\x1b");
    QTest::newRow("lone LF and lone CR") << QStringLiteral("\n|\r") << QStringLiteral("\\n|\\r");
    QTest::newRow("form feed and vertical tab") << QStringLiteral("\f\v") << QStringLiteral("\\x0c\\x0b");
    QTest::newRow("unit separator") << QStringLiteral("\x1f") << QStringLiteral("\\x1f");
    QTest::newRow("DEL") << QStringLiteral("\x7f") << QStringLiteral("\\x7f");
    QTest::newRow("space and tilde stay") << QStringLiteral(" ~") << QStringLiteral(" ~");
    QTest::newRow("surrogate pair stays") << QStringLiteral("😀") << QStringLiteral("😀");
    QTest::newRow("lone high surrogate") << QString(QChar(0xD800)) + QStringLiteral("x")
                                         << QString(QChar(0xFFFD)) + QStringLiteral("x");
    QTest::newRow("lone low surrogate") << QString(QChar(0xDC00)) << QString(QChar(0xFFFD));
    QTest::newRow("high surrogate at the end") << QStringLiteral("a") + QChar(0xDBFF)
                                               << QStringLiteral("a") + QChar(0xFFFD);
    QTest::newRow("reversed pair") << QString(QChar(0xDC00)) + QChar(0xD800)
                                   << QString(QChar(0xFFFD)) + QChar(0xFFFD);
    QTest::newRow("a sign alone") << QStringLiteral("-") << QStringLiteral("-");
    QTest::newRow("plain runs between escapes") << QStringLiteral("ab'标签\n😀c") + QChar(0xDC00) + QStringLiteral("d")
                                                << QStringLiteral("ab\\'标签\\n😀c") + QChar(0xFFFD) + QStringLiteral("d");
}

void tst_TkinterGenerator::escaping()
{
    QFETCH(QString, text);
    QFETCH(QString, written);
    QCOMPARE(codegen::pythonQuotedText(text), written);
}

void tst_TkinterGenerator::hugeTitleAndCaption()
{
    shell::Designer &d = *m_designer;
    const ControlRef w = testsupport::place(d, ComponentKind::Button, 16, 16);
    const QString caption = QStringLiteral("按").repeated(100000);
    const QString title = QStringLiteral("'").repeated(100000);
    d.layer.writeProperty(w, Prop::ButtonCaption, caption);
    d.layer.writeProperty(design::ids::DesignWindow, Prop::WindowTitle, title);
    const QString text = codegen::generate(d.model, d.layer);
    QVERIFY(text.contains(QStringLiteral("Window.title('") + QStringLiteral("\\'").repeated(100000)
                          + QStringLiteral("')\r\n")));
    QVERIFY(text.contains(QStringLiteral("text='") + caption + QStringLiteral("', font=")));
    QVERIFY(text.endsWith(MainloopTail));
}

void tst_TkinterGenerator::twoPressesGiveIdenticalTexts()
{
    shell::Designer &d = *m_designer;
    testsupport::place(d, ComponentKind::Label, 1, 2);
    testsupport::place(d, ComponentKind::RadioButton, 3, 4);
    QCOMPARE(codegen::generate(d.model, d.layer), codegen::generate(d.model, d.layer));
}

void tst_TkinterGenerator::changeShowsInTheNextText()
{
    shell::Designer &d = *m_designer;
    const ControlRef w = testsupport::place(d, ComponentKind::Label, 16, 16);
    const QString before = codegen::generate(d.model, d.layer);
    d.layer.writeProperty(w, Prop::Left, 33);
    d.layer.writeProperty(w, Prop::LabelText, QStringLiteral("改"));
    d.model.windowTop = 7;
    const QString after = codegen::generate(d.model, d.layer);
    QVERIFY(after != before);
    QVERIFY(after.contains(QStringLiteral("+100+7')")));
    QVERIFY(after.contains(QStringLiteral("text='改'")));
    QVERIFY(after.contains(QStringLiteral(".place(y=16, x=33, ")));
}

void tst_TkinterGenerator::generatingChangesNothing()
{
    shell::Designer &d = *m_designer;
    const ControlRef label = testsupport::place(d, ComponentKind::Label, 16, 16);
    testsupport::place(d, ComponentKind::Button, 40, 40);
    // The grid shows the label while the code is generated; a later edit must still reach it.
    model::selectListEntry(d, 1);
    d.model.shownComponent = 1;
    const int lastNumber = d.model.lastNumber;
    const QSet<quintptr> handles = d.model.shownHandles;
    const QString status = d.layer.readText(shell::ids::StatusBar, Prop::LabelText);
    const auto font = d.layer.readProperty(label, Prop::LabelFont).value<widgets::FontValue>();
    const QString tag = d.layer.readText(label, Prop::Tag);

    codegen::generate(d.model, d.layer);

    QCOMPARE(d.model.shownComponent, std::optional<int>(1));
    QCOMPARE(d.model.lastNumber, lastNumber);
    QCOMPARE(d.model.components.size(), size_t(2));
    QCOMPARE(d.model.shownHandles, handles);
    QCOMPARE(d.model.windowLeft, 100);
    QCOMPARE(d.model.windowTop, 100);
    QCOMPARE(d.layer.readText(shell::ids::StatusBar, Prop::LabelText), status);
    QVERIFY(d.layer.readProperty(label, Prop::LabelFont).value<widgets::FontValue>() == font);
    QCOMPARE(d.layer.readText(label, Prop::Tag), tag);
    QCOMPARE(d.layer.readInteger(shell::ids::ComponentList, Prop::ListSelection), 1);
}

QTEST_MAIN(tst_TkinterGenerator)
#include "tst_tkintergenerator.moc"
