// The design window must look like the window Tk shows for the generated program. Both are shown
// on the same Xvfb screen (the designer through Qt's xcb platform, as a user sees it, not the
// offscreen one), grabbed from the screen and compared pixel by pixel.
#include "designdriving.h"
#include "tkprobe.h"

#include "codegen/tkintergenerator.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QScreen>
#include <QTemporaryFile>
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

// How far apart two images are: the shares of pixels whose largest channel difference exceeds 40
// and 12, and an image that shows where.
struct Difference
{
    double coarse = 1.0;
    double fine = 1.0;
    QImage map;
};

Difference compare(const QImage &a, const QImage &b)
{
    Difference result;
    if (a.size() != b.size() || a.isNull())
        return result;
    result.map = QImage(a.size(), QImage::Format_RGB32);
    qint64 coarse = 0;
    qint64 fine = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            const int most = qMax(qAbs(qRed(p) - qRed(q)), qMax(qAbs(qGreen(p) - qGreen(q)), qAbs(qBlue(p) - qBlue(q))));
            coarse += most > 40;
            fine += most > 12;
            result.map.setPixel(x, y, most > 40 ? qRgb(255, 0, 0) : most > 12 ? qRgb(255, 200, 0) : qRgb(255, 255, 255));
        }
    }
    const double total = double(a.width()) * a.height();
    result.coarse = coarse / total;
    result.fine = fine / total;
    return result;
}

constexpr double CoarseTarget = 0.01;
constexpr double FineTarget = 0.05;

// Runs the program with its main loop, shows its window, and reads the window from the screen once
// Tk has drawn it. A null image, with the reason in *error, when it cannot.
QImage tkWindowImage(const QString &program, QString *error)
{
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/kestrigan-look-XXXXXX.py"));
    if (!file.open()) {
        *error = QStringLiteral("cannot write the program file");
        return {};
    }
    file.write(program.toUtf8());
    file.close();
    // The window reports where it is once Tk has drawn it, and stays until told to go.
    const QString runner = QStringLiteral(
        "import sys, tkinter\n"
        "tkinter.Misc.mainloop = lambda *a, **k: None\n"
        "tkinter.mainloop = lambda *a, **k: None\n"
        "exec(compile(open(sys.argv[1], encoding='utf-8').read(), sys.argv[1], 'exec'), {})\n"
        "root = tkinter._default_root\n"
        "root.update()\n"
        "root.after(200)\n"
        "root.update()\n"
        "print(root.winfo_rootx(), root.winfo_rooty(), root.winfo_width(), root.winfo_height(), flush=True)\n"
        "sys.stdin.readline()\n");
    QProcess python;
    python.start(tktest::pythonExecutable(), {QStringLiteral("-c"), runner, file.fileName()});
    if (!python.waitForStarted(5000)) {
        *error = QStringLiteral("cannot start %1").arg(tktest::pythonExecutable());
        return {};
    }
    QByteArray answer;
    for (int waited = 0; !answer.contains('\n') && waited < 150 && python.state() == QProcess::Running; ++waited) {
        python.waitForReadyRead(100);
        answer += python.readAllStandardOutput();
    }
    const QStringList where = QString::fromUtf8(answer).simplified().split(QLatin1Char(' '));
    QImage image;
    if (where.size() == 4) {
        image = QGuiApplication::primaryScreen()
                    ->grabWindow(0, where[0].toInt(), where[1].toInt(), where[2].toInt(), where[3].toInt())
                    .toImage()
                    .convertToFormat(QImage::Format_RGB32);
    } else {
        python.waitForFinished(1000);
        *error = QStringLiteral("Tk did not show the window (%1): %2")
                     .arg(QString::fromUtf8(answer), QString::fromUtf8(python.readAllStandardError()));
    }
    python.write("\n");
    python.closeWriteChannel();
    if (!python.waitForFinished(5000))
        python.kill();
    return image;
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
                   {ComponentKind::Label, {5, 150}, {{caption, "第一行\n第二行 two"}, {height, "40"}}}}};
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
    QString error;
    const QImage shown = tkWindowImage(codegen::generate(d.model, d.layer), &error);
    QVERIFY2(!shown.isNull(), qPrintable(error));
    QCOMPARE(shown.size(), designed.size());

    const Difference difference = compare(designed, shown);
    qInfo("%s: %.2f %% of pixels differ by more than 40, %.2f %% by more than 12", QTest::currentDataTag(),
          100 * difference.coarse, 100 * difference.fine);
    // KESTRIGAN_LOOK_IMAGES names a directory that gets the images of every design, not only of failures.
    const QString keep = qEnvironmentVariable("KESTRIGAN_LOOK_IMAGES");
    const bool failed = difference.coarse > CoarseTarget || difference.fine > FineTarget;
    if (failed || !keep.isEmpty()) {
        const QString tag = QString::fromUtf8(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('-'));
        const QString base = QDir(keep.isEmpty() ? QDir::tempPath() : keep).filePath(QStringLiteral("kestrigan-look-") + tag);
        designed.save(base + QStringLiteral("-design.png"));
        shown.save(base + QStringLiteral("-tk.png"));
        difference.map.save(base + QStringLiteral("-difference.png"));
        QVERIFY2(!failed, qPrintable(QStringLiteral("the design differs from Tk's window; see %1-{design,tk,difference}.png").arg(base)));
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
    QCOMPARE(editGridValue(d, QStringLiteral("左边"), QStringLiteral("30")), QString());
    QCOMPARE(editGridValue(d, QStringLiteral("顶边"), QStringLiteral("25")), QString());
    QWidget *client = designClient(d);
    QCOMPARE(client->childAt(QPoint(60, 30)), d.layer.widget(check->widget));
    QCOMPARE(client->childAt(QPoint(145, 30)), d.layer.widget(label->widget));
}

int main(int argc, char **argv)
{
    // The designer must draw on the same screen as Tk, through the platform a user has.
    tktest::XvfbServer xvfb;
    if (!xvfb.isRunning()) {
        qCritical("%s", qPrintable(xvfb.error()));
        return 1;
    }
    qputenv("DISPLAY", xvfb.display().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    tst_TkLook test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_tklook.moc"
