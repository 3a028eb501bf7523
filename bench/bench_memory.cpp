// The designer's resident memory on a real X display, where widgets are drawn as Tk draws them: after
// start-up, after the first captioned widget (a label) and after 200 widgets; and with one label given
// 200 different font sizes, then 200 more. Read from /proc as from outside, after every change has
// been drawn. Each slot wants a process of its own, so that one's memory does not count in the next.
// (bench/startwatch measures the first label and the time of placements from outside.)
// Run on an X server: QT_QPA_PLATFORM=xcb build/bench/bench_memory <slot>. The font sizes also run
// in ctest, offscreen, where the 200 more sizes must stay within their bound.
#include "benchsupport.h"

#include "model/propertyediting.h"
#include "model/propertyrows.h"

#include <QThread>

using namespace bench;

namespace {

using widgets::Prop;

constexpr int Label = 1;  // the palette's item
// What 200 more font sizes may add to memory, in MiB.
constexpr double MemoryBoundMib = 1;

// Counts the paints of every widget, to tell when the designer has drawn all that changed.
class PaintCounter : public QObject
{
public:
    PaintCounter() { qApp->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
    int count = 0;
};

// Runs the event loop until nothing has been painted for quietMs: the designer has drawn all that
// changed, also what its 10 ms pointer poll redraws.
void untilDrawn(const PaintCounter &paints, int quietMs = 100)
{
    QElapsedTimer quiet;
    quiet.start();
    while (quiet.elapsed() < quietMs) {
        const int before = paints.count;
        QCoreApplication::processEvents();
        if (paints.count != before)
            quiet.restart();
        else
            QThread::usleep(200);
    }
}

// Places the first widget, a label, where it is in view, and lets it be drawn.
void placeFirstLabel(shell::Designer &designer, const PaintCounter &paints)
{
    placeOne(designer, 0, Label);
    untilDrawn(paints);
}

// The grid row of the shown component's font size.
int fontSizeRow(const shell::Designer &designer)
{
    const QString label = model::rowLabel(model::PropertyRow::FontSize);
    const int rows = designer.layer.readInteger(shell::ids::PropertyGrid, Prop::GridRows);
    for (int row = 1; row < rows; ++row) {
        if (designer.layer.cellText(shell::ids::PropertyGrid, row, 0) == label)
            return row;
    }
    return -1;
}

// Writes the size into the grid's size row of the shown label and ends the edit, as the grid does
// when the user has typed it.
void showFontSize(shell::Designer &designer, const PaintCounter &paints, int row, int points)
{
    designer.layer.setCellText(shell::ids::PropertyGrid, row, 1, QString::number(points));
    model::applyPropertyEdits(designer);
    untilDrawn(paints, 20);
}

void settle()
{
    QTest::qWait(500);
}

} // namespace

class bench_Memory : public QObject
{
    Q_OBJECT

private slots:
    void memoryOfWidgets();
    void memoryOfFontSizes();
};

void bench_Memory::memoryOfWidgets()
{
    PaintCounter paints;
    auto designer = startDesigner();
    QTest::qWait(1000);
    report("rss_xvfb_started_mib", residentMib());
    placeFirstLabel(*designer, paints);
    settle();
    report("rss_xvfb_first_label_mib", residentMib());
    placeMany(*designer, 199, nullptr, 1);
    QCOMPARE(designer->model.lastNumber, 200);
    untilDrawn(paints);
    settle();
    report("rss_xvfb_200_widgets_mib", residentMib());
}

// The sizes 10 to 209 in turn on one label, each drawn, then 210 to 409.
void bench_Memory::memoryOfFontSizes()
{
    PaintCounter paints;
    auto designer = startDesigner();
    placeFirstLabel(*designer, paints);
    const int row = fontSizeRow(*designer);
    QVERIFY(row > 0);
    settle();
    report("rss_xvfb_one_label_mib", residentMib());
    for (int points = 10; points < 210; ++points)
        showFontSize(*designer, paints, row, points);
    settle();
    const double after200 = residentMib();
    report("rss_xvfb_200_sizes_mib", after200);
    for (int points = 210; points < 410; ++points)
        showFontSize(*designer, paints, row, points);
    settle();
    const double after400 = residentMib();
    report("rss_xvfb_400_sizes_mib", after400);
    // The faces, sizes and glyphs kept are bounded: once the first 200 sizes have filled what is
    // kept, the next 200 take its place (a few hundred KiB of the allocator's own come and go).
    QVERIFY2(after400 - after200 < MemoryBoundMib,
             qPrintable(QStringLiteral("200 more sizes grew memory by %1 MiB").arg(after400 - after200, 0, 'f', 2)));
    // Read back from the label: the last size took.
    QCOMPARE(designer->layer.cellText(shell::ids::PropertyGrid, row, 1), QStringLiteral("409"));
}

QTEST_MAIN(bench_Memory)
#include "bench_memory.moc"
