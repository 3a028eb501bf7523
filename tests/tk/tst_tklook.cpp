// The design window must look like the window Tk shows for the generated program. Both are shown
// on the same Xvfb screen (the designer through Qt's xcb platform, as a user sees it, not the
// offscreen one), grabbed from the screen and compared pixel by pixel.
#include "designdriving.h"
#include "tkprobe.h"

#include "codegen/tkintergenerator.h"
#include "lookcomparison.h"
#include "lookscreen.h"
#include "support/screenscale.h"
#include "widgets/screenscaling.h"
#include "widgets/tklook/tklook.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScreen>
#include <QTemporaryFile>
#include <QTextLayout>
#include <QtTest>

#include <memory>

using namespace designdriving;
using model::ComponentKind;

namespace {

// One step of a design: place a kind at a point, then type values into the grid's rows.
struct Step
{
    ComponentKind kind;
    QPoint at;
    QList<QPair<QString, QString>> edits;
};
using Steps = QList<Step>;

// The window's own edits come first, with the window selected.
struct Design
{
    QList<QPair<QString, QString>> window;
    Steps steps;
};

constexpr double CoarseTarget = 0.01;
constexpr double FineTarget = 0.05;
// A widget's own rectangle is mostly text where the window is mostly background: text a pixel off
// shows as 7 % or more of a small widget's pixels.
constexpr double WidgetCoarseTarget = 0.02;
constexpr double WidgetFineTarget = 0.04;

// A widget of Tk's window as Tk reports it: where it is, its border and highlight ring.
struct TkWidget
{
    QString tkClass;
    QRect rect;
    int border = 0;
    bool flat = false;          // a flat border is not drawn: text that overflows shows in it
    int highlight = 0;
};

struct TkWindow
{
    QImage image;
    QImage selected;           // the same with every indicator selected in a colour of its own
    QList<TkWidget> widgets;   // in stacking order, the lowest first
};

QImage grabbed(const QJsonArray &where)
{
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, where[0].toInt(), where[1].toInt(), where[2].toInt(), where[3].toInt())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// Runs the program with its main loop, shows its window, and reads the window from the screen once
// Tk has drawn it, with what Tk tells of its widgets. A null image, with the reason in *error, when
// it cannot.
TkWindow tkWindow(const QString &program, QString *error)
{
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/kestrigan-look-XXXXXX.py"));
    if (!file.open()) {
        *error = QStringLiteral("cannot write the program file");
        return {};
    }
    file.write(program.toUtf8());
    file.close();
    QProcess python;
    // The window reports where it is once Tk has drawn it, and stays until told to go.
    python.start(tktest::pythonExecutable(), {QStringLiteral(KESTRIGAN_TESTS_DIR "/tklookwindow.py"), file.fileName()});
    if (!python.waitForStarted(5000)) {
        *error = QStringLiteral("cannot start %1").arg(tktest::pythonExecutable());
        return {};
    }
    QByteArray answer;
    for (int waited = 0; !answer.contains('\n') && waited < 150 && python.state() == QProcess::Running; ++waited) {
        python.waitForReadyRead(100);
        answer += python.readAllStandardOutput();
    }
    TkWindow shown;
    const QJsonObject told = QJsonDocument::fromJson(answer).object();
    const QJsonArray where = told.value(u"window").toArray();
    if (told.value(u"focused").toBool()) {
        // The root's highlight ring takes another colour then; the design shows the window without focus.
        *error = QStringLiteral("Tk's window has the keyboard focus");
    } else if (where.size() == 4) {
        shown.image = grabbed(where);
        for (const QJsonValue &value : told.value(u"widgets").toArray()) {
            const QJsonObject w = value.toObject();
            // Tk tells the position it asked for; X shows the window at it in 16 bits.
            shown.widgets.append({w.value(u"class").toString(),
                                  QRect(qint16(w.value(u"x").toInteger()), qint16(w.value(u"y").toInteger()),
                                        w.value(u"width").toInt(), w.value(u"height").toInt()),
                                  w.value(u"border").toInt(), w.value(u"relief").toString() == QLatin1String("flat"),
                                  w.value(u"highlight").toInt()});
        }
        python.write("\n");
        for (int waited = 0; !answer.contains("selected") && waited < 50 && python.state() == QProcess::Running; ++waited) {
            python.waitForReadyRead(100);
            answer += python.readAllStandardOutput();
        }
        shown.selected = grabbed(where);
    } else if (error->isEmpty()) {
        python.waitForFinished(1000);
        *error = QStringLiteral("Tk did not show the window (%1): %2")
                     .arg(QString::fromUtf8(answer), QString::fromUtf8(python.readAllStandardError()));
    }
    python.write("\n");
    python.closeWriteChannel();
    if (!python.waitForFinished(5000))
        python.kill();
    return shown;
}

// A radio or check button's indicator as Tk's own pixels tell it: those that change when it is
// selected, and the ring round them where its border begins. Empty where nothing changes: other
// widgets, and where Tk leaves the indicator out.
QRect indicatorOf(const TkWindow &tk, const QRegion &shown)
{
    QRect changed;
    for (const QRect &part : shown) {
        for (int y = part.top(); y <= part.bottom(); ++y) {
            for (int x = part.left(); x <= part.right(); ++x) {
                if (tk.image.pixel(x, y) != tk.selected.pixel(x, y))
                    changed |= QRect(x, y, 1, 1);
            }
        }
    }
    return changed.isEmpty() ? QRect() : changed.adjusted(-1, -1, 1, 1);
}

// Judges every widget on its own: the share of differing pixels of what shows of it, and its frame
// (highlight ring and a border with relief, which Tk draws over the text) and indicator exactly. Empty when all is well;
// *worst gets the largest shares of any widget.
QStringList widgetFaults(const QImage &designed, const TkWindow &tk, look::Difference *worst)
{
    QStringList faults;
    worst->coarse = worst->fine = 0;
    for (qsizetype i = 0; i < tk.widgets.size(); ++i) {
        const TkWidget &widget = tk.widgets.at(i);
        QRegion shown = QRegion(widget.rect).intersected(designed.rect());
        for (qsizetype above = i + 1; above < tk.widgets.size(); ++above)
            shown -= tk.widgets.at(above).rect;
        if (shown.isEmpty())
            continue;
        const QString who = QStringLiteral("%1 %2 at %3,%4 %5 x %6")
                                .arg(widget.tkClass).arg(i + 1).arg(widget.rect.x()).arg(widget.rect.y())
                                .arg(widget.rect.width()).arg(widget.rect.height());
        const int frameWidth = widget.highlight + (widget.flat ? 0 : widget.border);
        const QRegion frame = look::frameOf(widget.rect, frameWidth).intersected(shown);
        if (const auto at = look::firstMismatch(designed, tk.image, frame))
            faults << QStringLiteral("%1: its frame differs at %2,%3").arg(who).arg(at->x()).arg(at->y());
        const QRegion indicator = QRegion(indicatorOf(tk, shown)).intersected(shown) - frame;
        if (const auto at = look::firstMismatch(designed, tk.image, indicator))
            faults << QStringLiteral("%1: its indicator differs at %2,%3").arg(who).arg(at->x()).arg(at->y());
        const look::Difference difference = look::compare(designed, tk.image, shown);
        worst->coarse = qMax(worst->coarse, difference.coarse);
        worst->fine = qMax(worst->fine, difference.fine);
        if (difference.coarse > WidgetCoarseTarget || difference.fine > WidgetFineTarget)
            faults << QStringLiteral("%1: %2 %% of its pixels differ by more than 40, %3 %% by more than 12")
                          .arg(who).arg(100 * difference.coarse, 0, 'f', 2).arg(100 * difference.fine, 0, 'f', 2);
    }
    return faults;
}

QImage designWindowImage(shell::Designer &designer)
{
    QWidget *client = designClient(designer);
    QApplication::processEvents();
    QTest::qWait(100);
    const QPoint corner = client->mapToGlobal(QPoint(0, 0));
    return QGuiApplication::primaryScreen()
        ->grabWindow(0, corner.x(), corner.y(), client->width(), client->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

Q_DECLARE_METATYPE(Design)

class tst_TkLook : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void designLooksLikeTk_data();
    void designLooksLikeTk();
    void overlappingWidgetsStackAsInTk();
    void largestFontSizeIsTks();
    void interfaceChineseKeepsTheUsersLanguage();

private:
    std::unique_ptr<shell::Designer> m_designer;
};

void tst_TkLook::initTestCase()
{
    QVERIFY2(QGuiApplication::platformName() == QLatin1String("xcb"),
             "the look test needs Qt's xcb platform on the test's own Xvfb");
    const QString python = tktest::compilesInPython(QStringLiteral("import tkinter"));
    QVERIFY2(python.isEmpty(), qPrintable(python));
}

void tst_TkLook::cleanup()
{
    m_designer.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_TkLook::designLooksLikeTk_data()
{
    QTest::addColumn<Design>("design");
    using E = QList<QPair<QString, QString>>;
    const QString face = QStringLiteral("字体");
    const QString size = QStringLiteral("大小");
    const QString caption = QStringLiteral("标题");
    const QString left = QStringLiteral("左边");
    const QString top = QStringLiteral("顶边");
    const QString width = QStringLiteral("宽度");
    const QString height = QStringLiteral("高度");

    QTest::newRow("every kind") << Design{{{width, "400"}, {height, "300"}},
                                          {{ComponentKind::Label, {16, 16}, {}},
                                           {ComponentKind::Entry, {16, 48}, {}},
                                           {ComponentKind::Button, {16, 80}, {}},
                                           {ComponentKind::RadioButton, {160, 16}, {}},
                                           {ComponentKind::CheckButton, {160, 48}, {}}}};
    // Placed against the program's order, so that only the stacking decides what shows on top.
    QTest::newRow("overlapping widgets")
        << Design{{},
                  {{ComponentKind::CheckButton, {20, 20}, {}},
                   {ComponentKind::Button, {150, 20}, {}},
                   {ComponentKind::Label, {150, 100}, {{left, "60"}, {top, "30"}}},
                   {ComponentKind::Entry, {20, 150}, {{left, "40"}, {top, "40"}}},
                   {ComponentKind::RadioButton, {150, 150}, {{left, "100"}, {top, "25"}}}}};
    QTest::newRow("long and Chinese captions")
        << Design{{{width, "420"}},
                  {{ComponentKind::Label, {5, 5}, {{caption, "一个很长的中文标签，后面还有 English words and more"}, {width, "410"}}},
                   {ComponentKind::Button, {5, 40}, {{caption, "按钮上的文字比按钮宽得多 Wider than the button"}}},
                   {ComponentKind::CheckButton, {5, 90}, {{caption, "我同意以上条款 I agree"}, {width, "300"}}},
                   {ComponentKind::RadioButton, {5, 120}, {{caption, "选项甲 Option A"}, {width, "200"}}},
                   {ComponentKind::Label, {5, 150}, {{caption, "第一行\n第二行 two"}, {height, "40"}}},
                   {ComponentKind::Label, {200, 150}, {{caption, QStringLiteral("前\u0000后")}}},
                   // Tk ends a line at a carriage return too, and a line feed after it makes an empty one.
                   {ComponentKind::Label, {310, 60}, {{caption, "回车\r换行\r\n三行"}, {width, "100"}, {height, "60"}}}}};
    QTest::newRow("several fonts and sizes")
        << Design{{{width, "400"}, {height, "260"}},
                  {{ComponentKind::Label, {5, 5}, {{face, "宋体"}, {size, "12"}, {width, "200"}, {height, "30"}}},
                   {ComponentKind::Button, {5, 45}, {{face, "DejaVu Serif"}, {size, "14"}, {width, "180"}, {height, "40"}}},
                   {ComponentKind::CheckButton, {5, 95}, {{face, "Times New Roman"}, {size, "16"}, {width, "220"}, {height, "36"}}},
                   {ComponentKind::RadioButton, {5, 140}, {{size, "7"}}},
                   {ComponentKind::Label, {5, 170}, {{face, "DejaVu Sans Mono"}, {size, "20"}, {caption, "Mono 20"}, {width, "250"}, {height, "40"}}},
                   {ComponentKind::Entry, {5, 220}, {{size, "24"}}}}};
    QTest::newRow("negative positions")
        << Design{{},
                  {{ComponentKind::Label, {50, 50}, {{left, "-30"}, {top, "-8"}}},
                   {ComponentKind::Button, {50, 100}, {{left, "-40"}}},
                   {ComponentKind::CheckButton, {150, 150}, {{top, "-12"}, {left, "200"}}},
                   {ComponentKind::Entry, {100, 150}, {{left, "-60"}, {top, "185"}}}}};
    // Tk's children show over the root window's own ring and border, wherever the database puts it.
    QTest::newRow("over the window's edges")
        << Design{{},
                  {{ComponentKind::Label, {30, 30}, {{left, "-4"}, {top, "-3"}}},
                   {ComponentKind::Button, {150, 100}, {{left, "250"}, {top, "160"}}},
                   {ComponentKind::CheckButton, {30, 100}, {{left, "200"}, {top, "-15"}}},
                   {ComponentKind::Entry, {150, 30}, {{left, "-100"}, {top, "120"}}},
                   {ComponentKind::RadioButton, {30, 150}, {{left, "120"}, {top, "185"}}}}};
    QTest::newRow("a widget larger than the window")
        << Design{{},
                  {{ComponentKind::Button, {10, 10}, {{left, "-20"}, {top, "-30"}, {width, "500"}, {height, "400"}}}}};
}

void tst_TkLook::designLooksLikeTk()
{
    QFETCH(Design, design);
    m_designer = startDesigner();
    shell::Designer &d = *m_designer;
    QVERIFY(QTest::qWaitForWindowExposed(d.layer.widget(shell::ids::MainWindow)));
    // Where the screen scales the interface, the rest of it grows: the palette is 128 layout units wide.
    if (qEnvironmentVariableIsSet("KESTRIGAN_TEST_INTERFACE_SCALE"))
        QCOMPARE(d.layer.widget(shell::ids::Palette)->width(), testsupport::multiplied(128));
    for (const auto &edit : design.window)
        QCOMPARE(editGridValue(d, edit.first, edit.second), QString());
    for (const Step &step : design.steps) {
        QVERIFY(placeByMouse(d, step.kind, step.at));
        for (const auto &edit : step.edits)
            QCOMPARE(editGridValue(d, edit.first, edit.second), QString());
    }
    // No selection or focus marks of the designer's own on the design when it is grabbed.
    d.layer.widget(shell::ids::ComponentList)->setFocus();
    const QImage designed = designWindowImage(d);
    // Away from Tk's window, which would take the focus from a pointer over it, as X gives it without
    // a window manager.
    QCursor::setPos(QGuiApplication::primaryScreen()->geometry().bottomRight());
    QString error;
    const TkWindow tk = tkWindow(codegen::generate(d.model, d.layer), &error);
    const QImage &shown = tk.image;
    QVERIFY2(!shown.isNull(), qPrintable(error));
    QCOMPARE(shown.size(), designed.size());

    const look::Difference difference = look::compare(designed, shown, QRegion(shown.rect()));
    look::Difference worst;
    const QStringList faults = widgetFaults(designed, tk, &worst);
    const QString screen = qEnvironmentVariable("KESTRIGAN_LOOK_SCREEN", QStringLiteral("96dpi"));
    qInfo("%s, %s: %.2f %% of pixels differ by more than 40, %.2f %% by more than 12; "
          "in the worst widget %.2f %% and %.2f %%", qPrintable(screen), QTest::currentDataTag(),
          100 * difference.coarse, 100 * difference.fine, 100 * worst.coarse, 100 * worst.fine);
    // KESTRIGAN_LOOK_IMAGES names a directory that gets the images of every design, not only of failures.
    const QString keep = qEnvironmentVariable("KESTRIGAN_LOOK_IMAGES");
    const bool failed = difference.coarse > CoarseTarget || difference.fine > FineTarget || !faults.isEmpty();
    if (failed || !keep.isEmpty()) {
        const QString tag = QString::fromUtf8(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('-'));
        const QString base = QDir(keep.isEmpty() ? QDir::tempPath() : keep)
                                 .filePath(QStringLiteral("kestrigan-look-%1-%2").arg(screen, tag));
        designed.save(base + QStringLiteral("-design.png"));
        shown.save(base + QStringLiteral("-tk.png"));
        difference.map.save(base + QStringLiteral("-difference.png"));
        QVERIFY2(!failed, qPrintable(QStringLiteral("the design differs from Tk's window; see %1-{design,tk,difference}.png\n%2")
                                         .arg(base, faults.join(QLatin1Char('\n')))));
    }
}

void tst_TkLook::overlappingWidgetsStackAsInTk()
{
    m_designer = startDesigner();
    shell::Designer &d = *m_designer;
    // A check button placed first and a label placed over it: Tk creates labels first, so the check
    // button shows on top and gets the press.
    const model::Component *check = placeByMouse(d, ComponentKind::CheckButton, {20, 20});
    QVERIFY(check);
    const model::Component *label = placeByMouse(d, ComponentKind::Label, {150, 150});
    QVERIFY(label);
    // 10 and 5 pixels from the check button, which the press put under the pointer wherever the root
    // window places its widgets from.
    const QPoint checkAt = rectOf(d, check->widget).topLeft();
    QCOMPARE(editGridValue(d, QStringLiteral("左边"), QString::number(checkAt.x() + 10)), QString());
    QCOMPARE(editGridValue(d, QStringLiteral("顶边"), QString::number(checkAt.y() + 5)), QString());
    QWidget *client = designClient(d);
    QCOMPARE(client->childAt(QPoint(60, 30)), d.layer.widget(check->widget));
    QCOMPARE(client->childAt(QPoint(145, 30)), d.layer.widget(label->widget));
}

// A font size past what Tk can draw on this screen is taken as the largest it can (LARGEST_POINTS,
// worked out by hand for each screen).
void tst_TkLook::largestFontSizeIsTks()
{
    m_designer = startDesigner();
    shell::Designer &d = *m_designer;
    QVERIFY(placeByMouse(d, ComponentKind::Label, {20, 20}));
    const QString size = QStringLiteral("大小");
    QCOMPARE(editGridValue(d, size, QStringLiteral("99999")), QString());
    QCOMPARE(gridValue(d, size), qEnvironmentVariable("KESTRIGAN_LOOK_LARGEST_POINTS"));
}

// The interface's Chinese shows in the face fontconfig gives the user's language (INTERFACE_CHINESE),
// whatever language the Tk look asks fontconfig with for the program's.
void tst_TkLook::interfaceChineseKeepsTheUsersLanguage()
{
    m_designer = startDesigner();
    QTextLayout layout(QStringLiteral("窗口组件"), m_designer->layer.widget(shell::ids::Palette)->font());
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    QCOMPARE(runs.size(), 1);
    QCOMPARE(runs.first().rawFont().familyName(), qEnvironmentVariable("KESTRIGAN_LOOK_INTERFACE_CHINESE"));
}

int main(int argc, char **argv)
{
    // The designer must draw on the same screen as Tk, through the platform a user has, scaled as the
    // designer scales itself.
    tktest::XvfbServer xvfb(lookscreen::screenFromEnvironment());
    if (!xvfb.isRunning()) {
        qCritical("%s", qPrintable(xvfb.error()));
        return 1;
    }
    qputenv("DISPLAY", xvfb.display().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    widgets::prepareScreenScaling();
    QApplication app(argc, argv);
    tst_TkLook test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tklook.moc"
