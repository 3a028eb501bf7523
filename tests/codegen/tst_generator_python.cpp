// The generated programs judged by Debian's python3 and real Tk: they compile, every text literal
// evaluates to exactly the text of the design, and the window Tk builds is the designed one.
#include "support/placing.h"
#include "tkprobe.h"

#include "codegen/tkintergenerator.h"
#include "design/designwindowids.h"
#include "shell/designer.h"
#include "widgets/fontvalue.h"

#include <QApplication>
#include <QtTest>

#include <memory>

using model::ComponentKind;
using widgets::ControlRef;
using widgets::FontMember;
using widgets::Prop;

namespace {


// The 31 others, then a NUL, where the text ends, and more.
QString allControlCharacters()
{
    QString text;
    for (char16_t c = 1; c < 0x20; ++c)
        text += QChar(c);
    text += QChar(0x7F);
    return text + QChar(0) + QStringLiteral("after the NUL");
}

// A design with the text as window title, label caption and button caption, and, when the
// platform accepts it as a face name, as the entry's font face.
struct HostileDesign
{
    QString program;
    bool faceAccepted = false;
};

} // namespace

class tst_GeneratorPython : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void workedExampleBuildsTheDesignedWindow();
    void hostileTexts_data();
    void hostileTexts();
    void hostileTextsInTk_data();
    void hostileTextsInTk();
    void injectionStaysText();

private:
    HostileDesign hostileDesign(const QString &text, bool forTk);

    std::unique_ptr<tktest::XvfbServer> m_xvfb;
    std::unique_ptr<shell::Designer> m_designer;
};

void tst_GeneratorPython::initTestCase()
{
    // Fail with the missing tool's name rather than skip: a skipped check never runs in CI.
    const QString python = tktest::compilesInPython(QStringLiteral("pass"));
    QVERIFY2(python.isEmpty(), qPrintable(python));
    m_xvfb = std::make_unique<tktest::XvfbServer>();
    QVERIFY2(m_xvfb->isRunning(), qPrintable(m_xvfb->error()));
}

void tst_GeneratorPython::init()
{
    m_designer = std::make_unique<shell::Designer>([] { return shell::PlatformVersion{6, 1}; });
    m_designer->start();
}

void tst_GeneratorPython::cleanup()
{
    m_designer.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

HostileDesign tst_GeneratorPython::hostileDesign(const QString &text, bool forTk)
{
    shell::Designer &d = *m_designer;
    d.layer.writeProperty(design::ids::DesignWindow, Prop::WindowTitle, text);
    const ControlRef label = testsupport::place(d, ComponentKind::Label, 16, 16);
    d.layer.writeProperty(label, Prop::LabelText, text);
    const ControlRef entry = testsupport::place(d, ComponentKind::Entry, 16, 48);
    // Tk reads a font description that begins with "-" as a list of options, so such a face (no
    // family has one) is left to the Tk-free checks: hostileTexts writes it, hostileTextsInTk not.
    const bool faceAccepted = widgets::acceptedFace(text) == text && (!forTk || !text.startsWith(QLatin1Char('-')));
    if (faceAccepted)
        d.layer.writeProperty(entry, Prop::EntryFont, text, int(FontMember::Face));
    const ControlRef button = testsupport::place(d, ComponentKind::Button, 16, 80);
    d.layer.writeProperty(button, Prop::ButtonCaption, text);
    return {codegen::generate(d.model, d.layer), faceAccepted};
}

void tst_GeneratorPython::workedExampleBuildsTheDesignedWindow()
{
    shell::Designer &d = *m_designer;
    testsupport::setDesignClientSize(d, 400, 300);
    testsupport::place(d, ComponentKind::Label, 16, 16);
    testsupport::place(d, ComponentKind::Entry, 16, 48);
    testsupport::place(d, ComponentKind::Button, 16, 80);
    testsupport::place(d, ComponentKind::RadioButton, 160, 16);
    testsupport::place(d, ComponentKind::CheckButton, 160, 48);
    const tktest::TkRun run = tktest::runInTk(codegen::generate(d.model, d.layer), m_xvfb->display());
    QVERIFY2(run.ok, qPrintable(run.error));

    const tktest::TkWindowInfo &window = run.info;
    QCOMPARE(window.title, QString());
    QCOMPARE(window.width, 400);
    QCOMPARE(window.height, 300);
    QCOMPARE(window.geometry, QStringLiteral("400x300+100+100"));
    QVERIFY(window.mainloopCalled);

    struct Expected
    {
        const char *tkClass;
        const char *variable;
        QRect rect;
        std::optional<QString> text;
    };
    const Expected expected[] = {
        {"Label", "Label1", {16, 16, 120, 20}, QStringLiteral("标签")},
        {"Entry", "Entry2", {16, 48, 120, 20}, std::nullopt},
        {"Button", "Button3", {16, 80, 88, 32}, QStringLiteral("按钮")},
        {"Radiobutton", "RadioButton4", {160, 16, 120, 20}, QStringLiteral("单选框")},
        {"Checkbutton", "CheckButton5", {160, 48, 120, 20}, QStringLiteral("复选框")},
    };
    QCOMPARE(window.widgets.size(), qsizetype(std::size(expected)));
    for (qsizetype i = 0; i < window.widgets.size(); ++i) {
        const tktest::TkWidgetInfo &widget = window.widgets.at(i);
        const Expected &want = expected[i];
        QCOMPARE(widget.tkClass, QString::fromLatin1(want.tkClass));
        QCOMPARE(widget.variable, QString::fromLatin1(want.variable));
        QCOMPARE(QRect(widget.x, widget.y, widget.width, widget.height), want.rect);
        QCOMPARE(widget.text, want.text);
        QCOMPARE(widget.font, QStringLiteral("微软雅黑 9"));
    }
}

void tst_GeneratorPython::hostileTexts_data()
{
    // What the literal evaluates to and Tk shows: the text itself but where a row says otherwise.
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    auto row = [](const char *name, const QString &text, const std::optional<QString> &shown = std::nullopt) {
        QTest::newRow(name) << text << shown.value_or(text);
    };
    row("empty", QString());
    row("single quote", QStringLiteral("it's"));
    row("three single quotes", QStringLiteral("'''"));
    row("three double quotes", QStringLiteral("\"\"\""));
    row("backslash at the end", QStringLiteral("C:\\"));
    row("backslash before a quote", QStringLiteral("\\'"));
    row("escape sequences as plain text", QStringLiteral("\\n \\x41 \\N{DASH} \\u4e2d"));
    row("CR LF line break", QStringLiteral("第一行\r\n第二行"));
    row("lone LF and lone CR", QStringLiteral("a\nb\rc"));
    row("tab", QStringLiteral("a\tb"));
    row("every control character", allControlCharacters(), allControlCharacters().first(32));
    row("NUL alone", QString(QChar(0)), QString());
    row("NUL ends the text", QStringLiteral("前") + QChar(0) + QStringLiteral("后"), QStringLiteral("前"));
    row("emoji outside the BMP", QStringLiteral("😀👍🏽"));
    row("CJK outside GB2312", QStringLiteral("𠮷喆镕"));
    row("format braces and percent", QStringLiteral("{0} %s {}"));
    row("a sign alone", QStringLiteral("-"));
    row("hash starts no comment", QStringLiteral("# not a comment"));
    row("lone high surrogate", QStringLiteral("a") + QChar(0xD83D) + QStringLiteral("b"), QStringLiteral("a\uFFFDb"));
    row("lone low surrogate at the end", QStringLiteral("z") + QChar(0xDE00), QStringLiteral("z\uFFFD"));
    row("line and paragraph separators", QStringLiteral("a\u2028b\u2029c\u0085d"));
    row("byte order mark", QStringLiteral("\uFEFFx"));
    const QString hostile = (QStringLiteral("'\\\r\n\t") + QChar(1) + QStringLiteral("中😀")).repeated(100000 / 8);
    row("100,000 hostile characters", hostile + QChar(0) + QStringLiteral("'\\"), hostile);
}

// Every literal the program holds compiles and evaluates to exactly the design's text.
void tst_GeneratorPython::hostileTexts()
{
    QFETCH(QString, text);
    const HostileDesign design = hostileDesign(text, false);
    const QString compiled = tktest::compilesInPython(design.program);
    QVERIFY2(compiled.isEmpty(), qPrintable(compiled));

    const QString literal = QLatin1Char('\'') + codegen::pythonQuotedText(text) + QLatin1Char('\'');
    QVERIFY(design.program.contains(QStringLiteral("Window.title(") + literal + QStringLiteral(")\r\n")));
    QVERIFY(design.program.contains(QStringLiteral("Label(Window, text=") + literal + QStringLiteral(", font=")));
    QVERIFY(design.program.contains(QStringLiteral("Button(Window, text=") + literal + QStringLiteral(", font=")));
    if (design.faceAccepted)
        QVERIFY(design.program.contains(QStringLiteral("Entry(Window, font=(") + literal + QStringLiteral(", 9))")));

    QString error;
    const QString value = tktest::evaluatePythonLiteral(literal, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QFETCH(QString, shown);
    QVERIFY2(value == shown, "the literal does not evaluate to the text");
}

void tst_GeneratorPython::hostileTextsInTk_data()
{
    hostileTexts_data();
}

// The program runs in Tk, and its window shows exactly the title, captions and face of the design.
void tst_GeneratorPython::hostileTextsInTk()
{
    QFETCH(QString, text);
    const HostileDesign design = hostileDesign(text, true);
    const tktest::TkRun run = tktest::runInTk(design.program, m_xvfb->display());
    QVERIFY2(run.ok, qPrintable(run.error));
    QCOMPARE(run.info.widgets.size(), 3);
    QFETCH(QString, shown);
    QVERIFY2(run.info.title == shown, "the window shows another title");
    QVERIFY2(run.info.widgets.at(0).text == shown, "the label shows another text");
    QVERIFY2(run.info.widgets.at(2).text == shown, "the button shows another text");
    if (design.faceAccepted) {
        const tktest::TkWidgetInfo &entry = run.info.widgets.at(1);
        QVERIFY2(entry.fontFace == shown, "the entry asks for another face");
        QCOMPARE(entry.fontPoints, std::optional<int>(9));
    }
}

// A caption that tries to end the string and run code stays a caption.
void tst_GeneratorPython::injectionStaysText()
{
    const QString attack = QStringLiteral("')\r\nimport os\r\nos.system('false')\r\nx=('");
    const HostileDesign design = hostileDesign(attack, true);
    QVERIFY(!design.program.contains(QStringLiteral("\r\nimport os")));
    const tktest::TkRun run = tktest::runInTk(design.program, m_xvfb->display());
    QVERIFY2(run.ok, qPrintable(run.error));
    QCOMPARE(run.info.widgets.at(0).text, std::optional<QString>(attack));
    QCOMPARE(run.info.title, attack);
}

QTEST_MAIN(tst_GeneratorPython)
#include "tst_generator_python.moc"
