#include "widgets/controls/gridcontrol.h"
#include "widgets/controls/propertygridview.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace widgets;

namespace {

const QString LongText(100000, QChar(0x5B57));
const QString ControlText = QStringLiteral("a\tb\r\nc\x01\x1b\x7f");
const QString EmojiText = QStringLiteral("😀👍🏽🇨🇳");

// The property grid of the main window, in a window with a line edit to click away to.
struct GridWindow
{
    QWidget window;
    GridControl control{&window};
    QLineEdit other{&window};
    QLabel inert{QStringLiteral("no focus here"), &window};

    GridWindow()
    {
        ControlLook look;
        look.gridLines = 0xECECEC;
        look.defaultRowHeight = 26;
        look.background = 0xFFFFFF;
        control.applyLook(look);
        grid()->setGeometry(10, 10, 178, 434);
        other.setGeometry(200, 10, 100, 24);
        inert.setGeometry(200, 50, 100, 24);
        window.resize(320, 460);
    }
    PropertyGridView *grid() const { return control.grid(); }
    bool show()
    {
        window.show();
        return QTest::qWaitForWindowActive(&window);
    }
    // Seven rows of two columns, as the window's properties are shown.
    void fill(const QString &suffix = QString())
    {
        grid()->setRowCount(7);
        grid()->setColumnCount(2);
        grid()->setColumnWidth(0, 60);
        grid()->setColumnWidth(1, 114);
        for (int row = 0; row < 7; ++row) {
            grid()->setCellText(row, 0, QStringLiteral("label%1").arg(row));
            grid()->setCellText(row, 1, QStringLiteral("value%1%2").arg(row).arg(suffix));
        }
    }
    // Makes grid cell (row, column) the current one without editing it.
    void select(int row, int column)
    {
        grid()->setFocus();
        grid()->setCurrentCell(row - 1, column - 1);
    }
    QLineEdit *editor() const { return qobject_cast<QLineEdit *>(grid()->openEditor()); }
};

// Qt's delegate commits a Return or Enter through a queued call, after the key has reached the editor.
void pressReturn(QWidget *editor, Qt::Key key = Qt::Key_Return)
{
    QTest::keyClick(editor, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QCoreApplication::processEvents();
}

} // namespace

class tst_PropertyGridView : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void counts_data();
    void counts();
    void textsSurviveCountChanges();
    void newHeaderCellsAreEmpty();
    void cellsOutsideTheGrid_data();
    void cellsOutsideTheGrid();
    void rowCountGivesDefaultHeights();
    void columnCountGivesDefaultWidths();
    void readOnlyMarksFollowTheirCells();
    void editingStarts_data();
    void editingStarts();
    void editEndedOnceWithFinalText_data();
    void editEndedOnceWithFinalText();
    void rebuildAfterTabRefreshesTheNextEditor();
    void rebuildDroppingTheNextEditorsRowLeavesGridEditable();
    void rebuildMakingTheNextCellReadOnlyClosesItsEditor();
    void hostileTexts_data();
    void hostileTexts();
    void cornerShowsItsText();
    void gridLinesInTheLookColour();
    void adapterCountsAndEvent();
    void adapterTakesItsGridAndAnOpenEditWithoutReport();
};

void tst_PropertyGridView::cleanup()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_PropertyGridView::counts_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("expectedRows");
    QTest::addColumn<int>("expectedColumns");

    QTest::newRow("window layout 7 x 2") << 7 << 2 << 7 << 2;
    QTest::newRow("widget layout 9 x 2") << 9 << 2 << 9 << 2;
    QTest::newRow("headers only 1 x 1") << 1 << 1 << 1 << 1;
    QTest::newRow("zero becomes one") << 0 << 0 << 1 << 1;
    QTest::newRow("negative becomes one") << -5 << -1 << 1 << 1;
}

void tst_PropertyGridView::counts()
{
    QFETCH(int, rows);
    QFETCH(int, columns);
    QFETCH(int, expectedRows);
    QFETCH(int, expectedColumns);

    PropertyGridView grid;
    grid.setRowCount(rows);
    grid.setColumnCount(columns);
    QCOMPARE(grid.rowCount(), expectedRows);
    QCOMPARE(grid.columnCount(), expectedColumns);
    // The header row and column are Qt's headers, not table cells.
    QCOMPARE(grid.QTableWidget::rowCount(), expectedRows - 1);
    QCOMPARE(grid.QTableWidget::columnCount(), expectedColumns - 1);
}

void tst_PropertyGridView::textsSurviveCountChanges()
{
    PropertyGridView grid;
    grid.setRowCount(9);
    grid.setColumnCount(3);
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 3; ++column)
            grid.setCellText(row, column, QStringLiteral("%1,%2").arg(row).arg(column));
    }

    grid.setRowCount(7);
    grid.setColumnCount(2);
    grid.setRowCount(9);
    grid.setColumnCount(3);
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 3; ++column) {
            const bool kept = row < 7 && column < 2;
            QCOMPARE(grid.cellText(row, column), kept ? QStringLiteral("%1,%2").arg(row).arg(column) : QString());
        }
    }
}

void tst_PropertyGridView::newHeaderCellsAreEmpty()
{
    // A Qt header section without an item shows its number; a grid's new fixed cells show nothing.
    PropertyGridView grid;
    grid.setRowCount(5);
    grid.setColumnCount(4);
    for (int section = 0; section < 4; ++section)
        QVERIFY(grid.model()->headerData(section, Qt::Vertical).toString().isEmpty());
    for (int section = 0; section < 3; ++section)
        QVERIFY(grid.model()->headerData(section, Qt::Horizontal).toString().isEmpty());
}

void tst_PropertyGridView::cellsOutsideTheGrid_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");

    // A 7 x 2 grid.
    QTest::newRow("row one past the end") << 7 << 1;
    QTest::newRow("column one past the end") << 1 << 2;
    QTest::newRow("negative row") << -1 << 0;
    QTest::newRow("negative column") << 0 << -1;
    QTest::newRow("far away") << 100000 << 100000;
}

void tst_PropertyGridView::cellsOutsideTheGrid()
{
    QFETCH(int, row);
    QFETCH(int, column);

    GridWindow w;
    w.fill();
    w.grid()->setCellText(row, column, QStringLiteral("lost"));
    QCOMPARE(w.grid()->cellText(row, column), QString());
    QCOMPARE(w.grid()->rowCount(), 7);
    QCOMPARE(w.grid()->columnCount(), 2);
    for (int r = 0; r < 7; ++r)
        QCOMPARE(w.grid()->cellText(r, 1), QStringLiteral("value%1").arg(r));
}

void tst_PropertyGridView::rowCountGivesDefaultHeights()
{
    GridWindow w;
    w.fill();
    w.grid()->QTableWidget::setRowHeight(2, 50);
    w.grid()->setRowCount(7);   // the same count
    for (int row = 0; row < 7; ++row)
        QCOMPARE(w.grid()->rowHeight(row), 26);

    ControlLook look;
    look.defaultRowHeight = 30;
    w.control.applyLook(look);
    w.grid()->setRowCount(9);
    for (int row = 0; row < 9; ++row)
        QCOMPARE(w.grid()->rowHeight(row), 30);
}

void tst_PropertyGridView::columnCountGivesDefaultWidths()
{
    GridWindow w;
    QVERIFY(w.show());
    w.fill();
    QCOMPARE(w.grid()->columnWidth(0), 60);
    QCOMPARE(w.grid()->columnWidth(1), 114);
    // The value column starts right after the 60 pixels of the label column.
    QCOMPARE(w.grid()->viewport()->x(), w.grid()->frameWidth() + 60);

    w.grid()->setColumnCount(2);   // the same count
    QCOMPARE(w.grid()->columnWidth(0), PropertyGridView::DefaultColumnWidth);
    QCOMPARE(w.grid()->columnWidth(1), PropertyGridView::DefaultColumnWidth);
    QCOMPARE(w.grid()->viewport()->x(), w.grid()->frameWidth() + PropertyGridView::DefaultColumnWidth);
}

void tst_PropertyGridView::readOnlyMarksFollowTheirCells()
{
    GridWindow w;
    w.fill();
    w.grid()->setCellsReadOnly(1, 1, 1, 1, true);
    w.grid()->setCellsReadOnly(5, 0, 100, 100, true);   // clipped; header cells are left alone
    QVERIFY(!w.grid()->isCellEditable(1, 1));
    QVERIFY(w.grid()->isCellEditable(2, 1));
    QVERIFY(!w.grid()->isCellEditable(6, 1));

    // Kept while their rows are kept, even across a growth and a rebuild.
    w.grid()->setRowCount(9);
    w.grid()->setColumnCount(2);
    w.grid()->setRowCount(6);
    QVERIFY(!w.grid()->isCellEditable(1, 1));
    QVERIFY(!w.grid()->isCellEditable(5, 1));
    QCOMPARE(w.grid()->cellText(1, 1), QStringLiteral("value1"));
    // Lost with them.
    w.grid()->setRowCount(7);
    QVERIFY(w.grid()->isCellEditable(6, 1));
    w.grid()->setCellsReadOnly(1, 1, 1, 1, false);
    QVERIFY(w.grid()->isCellEditable(1, 1));
}

void tst_PropertyGridView::editingStarts_data()
{
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("opens");

    for (const QString gesture : {QStringLiteral("F2"), QStringLiteral("double click"), QStringLiteral("typing"),
                                  QStringLiteral("click on the current cell"),
                                  QStringLiteral("click on the current cell and typing at once")}) {
        QTest::addRow("%s on a value cell", qPrintable(gesture)) << gesture << false << true;
        QTest::addRow("%s on a read-only cell", qPrintable(gesture)) << gesture << true << false;
    }
}

void tst_PropertyGridView::editingStarts()
{
    QFETCH(QString, gesture);
    QFETCH(bool, readOnly);
    QFETCH(bool, opens);

    GridWindow w;
    QVERIFY(w.show());
    w.fill();
    w.grid()->setCellsReadOnly(2, 1, 2, 1, readOnly);
    w.select(2, 1);
    const QPoint cell = w.grid()->visualRect(w.grid()->model()->index(1, 0)).center();

    if (gesture == QLatin1String("F2")) {
        QTest::keyClick(w.grid(), Qt::Key_F2);
    } else if (gesture == QLatin1String("double click")) {
        // The sequence a real double click makes: press, release, press, double click, release.
        w.grid()->setCurrentCell(0, 0);
        QTest::mouseClick(w.grid()->viewport(), Qt::LeftButton, {}, cell);
        QTest::mousePress(w.grid()->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(w.grid()->viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseRelease(w.grid()->viewport(), Qt::LeftButton, {}, cell);
    } else if (gesture == QLatin1String("typing")) {
        QTest::keyClick(w.grid(), Qt::Key_7);
    } else {
        QTest::mouseClick(w.grid()->viewport(), Qt::LeftButton, {}, cell);
        // What is typed right after the click belongs to the cell, also while a double click
        // could still come.
        if (gesture.endsWith(QLatin1String("at once"))) {
            QTest::keyClicks(w.editor() ? static_cast<QWidget *>(w.editor()) : w.grid(), QStringLiteral("42"));
            QTest::qWait(QApplication::doubleClickInterval() + 50);
        }
    }
    QCOMPARE(w.editor() != nullptr, opens);
    if (opens && gesture == QLatin1String("typing"))
        QCOMPARE(w.editor()->text(), QStringLiteral("7"));
    if (opens && gesture.endsWith(QLatin1String("at once")))
        QCOMPARE(w.editor()->text(), QStringLiteral("42"));
    // The header cells have no editor at all.
    QVERIFY(!w.grid()->isCellEditable(0, 1));
    QVERIFY(!w.grid()->isCellEditable(2, 0));
}

void tst_PropertyGridView::editEndedOnceWithFinalText_data()
{
    QTest::addColumn<QString>("ending");
    QTest::addColumn<QString>("finalText");

    QTest::newRow("return commits") << QStringLiteral("return") << QStringLiteral("150");
    QTest::newRow("keypad enter commits") << QStringLiteral("enter") << QStringLiteral("150");
    QTest::newRow("tab commits") << QStringLiteral("tab") << QStringLiteral("150");
    QTest::newRow("backtab commits") << QStringLiteral("backtab") << QStringLiteral("150");
    QTest::newRow("click on another cell commits") << QStringLiteral("click cell") << QStringLiteral("150");
    QTest::newRow("click outside the grid commits") << QStringLiteral("click outside") << QStringLiteral("150");
    QTest::newRow("click on something that takes no focus commits") << QStringLiteral("click inert")
                                                                     << QStringLiteral("150");
    QTest::newRow("escape keeps the old text") << QStringLiteral("escape") << QStringLiteral("value3");
}

void tst_PropertyGridView::editEndedOnceWithFinalText()
{
    QFETCH(QString, ending);
    QFETCH(QString, finalText);

    // Before the window: an edit still open when the window goes would end as it closes.
    QStringList seen;   // the cell's text at each notification
    QList<Event> raised;
    GridWindow w;
    QVERIFY(w.show());
    w.fill();
    connect(w.grid(), &PropertyGridView::editEnded, w.grid(), [&] { seen.append(w.grid()->cellText(3, 1)); });
    w.control.setEventSink([&raised](Event event, const EventArgs &) {
        raised.append(event);
        return true;
    });

    w.select(3, 1);
    QTest::keyClick(w.grid(), Qt::Key_F2);
    QLineEdit *editor = w.editor();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("150"));

    if (ending == QLatin1String("return"))
        pressReturn(editor);
    else if (ending == QLatin1String("enter"))
        pressReturn(editor, Qt::Key_Enter);
    else if (ending == QLatin1String("tab"))
        QTest::keyClick(editor, Qt::Key_Tab);
    else if (ending == QLatin1String("backtab"))
        QTest::keyClick(editor, Qt::Key_Backtab, Qt::ShiftModifier);
    else if (ending == QLatin1String("escape"))
        QTest::keyClick(editor, Qt::Key_Escape);
    else if (ending == QLatin1String("click cell"))
        QTest::mouseClick(w.grid()->viewport(), Qt::LeftButton, {},
                          w.grid()->visualRect(w.grid()->model()->index(5, 0)).center());
    else if (ending == QLatin1String("click inert"))
        QTest::mouseClick(&w.inert, Qt::LeftButton);
    else
        QTest::mouseClick(&w.other, Qt::LeftButton);

    QCOMPARE(seen, QStringList{finalText});
    QCOMPARE(w.grid()->cellText(3, 1), finalText);
    QCOMPARE(raised, QList<Event>{Event::EditEnded});
}

void tst_PropertyGridView::rebuildAfterTabRefreshesTheNextEditor()
{
    int rebuilds = 0;
    GridWindow w;
    QVERIFY(w.show());
    w.fill();
    // As the designer does: write back, then show the whole grid again with what the widget says.
    connect(w.grid(), &PropertyGridView::editEnded, w.grid(), [&] { w.fill(QStringLiteral("-shown%1").arg(++rebuilds)); });

    w.select(3, 1);
    QTest::keyClick(w.grid(), Qt::Key_F2);
    w.editor()->selectAll();
    QTest::keyClicks(w.editor(), QStringLiteral("150"));
    QTest::keyClick(w.editor(), Qt::Key_Tab);

    QCOMPARE(rebuilds, 1);
    // Tab moved on to row 4; its editor shows the rebuilt text, not the one it opened with.
    QLineEdit *next = w.editor();
    QVERIFY(next);
    QCOMPARE(w.grid()->currentRow() + 1, 4);
    QCOMPARE(next->text(), QStringLiteral("value4-shown1"));

    // And it edits as any editor does.
    next->selectAll();
    QTest::keyClicks(next, QStringLiteral("20"));
    QSignalSpy ended(w.grid(), &PropertyGridView::editEnded);
    pressReturn(next);
    QCOMPARE(ended.size(), 1);
    QCOMPARE(rebuilds, 2);
    QVERIFY(!w.editor());
}

void tst_PropertyGridView::rebuildDroppingTheNextEditorsRowLeavesGridEditable()
{
    GridWindow w;
    QVERIFY(w.show());
    w.fill();
    connect(w.grid(), &PropertyGridView::editEnded, w.grid(), [&] {
        w.grid()->setRowCount(3);   // drops row 4, where Tab has just opened an editor
        w.grid()->setRowCount(7);
    });

    w.select(3, 1);
    QTest::keyClick(w.grid(), Qt::Key_F2);
    QTest::keyClick(w.editor(), Qt::Key_Tab);
    QVERIFY(!w.editor());

    w.select(2, 1);
    QTest::keyClick(w.grid(), Qt::Key_F2);
    QVERIFY(w.editor());
    QCOMPARE(w.editor()->text(), QStringLiteral("value2"));
}

void tst_PropertyGridView::rebuildMakingTheNextCellReadOnlyClosesItsEditor()
{
    GridWindow w;
    QVERIFY(w.show());
    w.fill();
    QSignalSpy ended(w.grid(), &PropertyGridView::editEnded);
    connect(w.grid(), &PropertyGridView::editEnded, w.grid(), [&] { w.grid()->setCellsReadOnly(4, 1, 4, 1, true); });

    w.select(3, 1);
    QTest::keyClick(w.grid(), Qt::Key_F2);
    QTest::keyClick(w.editor(), Qt::Key_Tab);
    QVERIFY(!w.editor());
    QCOMPARE(ended.size(), 1);   // closing an editor no one typed into is no end of an edit

    QTest::keyClick(w.grid(), Qt::Key_F2);   // on the read-only cell
    QVERIFY(!w.editor());
    w.select(5, 1);
    QTest::keyClick(w.grid(), Qt::Key_F2);
    QVERIFY(w.editor());
}

void tst_PropertyGridView::hostileTexts_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("100,000 characters") << LongText;
    QTest::newRow("control characters") << ControlText;
    QTest::newRow("emoji") << EmojiText;
    QTest::newRow("empty") << QString();
}

void tst_PropertyGridView::hostileTexts()
{
    QFETCH(QString, text);

    GridWindow w;
    QVERIFY(w.show());
    w.fill();
    for (int column = 0; column < 2; ++column) {
        w.grid()->setCellText(0, column, text);
        w.grid()->setCellText(2, column, text);
    }
    w.grid()->grab();
    for (int column = 0; column < 2; ++column) {
        QCOMPARE(w.grid()->cellText(0, column), text);
        QCOMPARE(w.grid()->cellText(2, column), text);
    }

    // Opened and closed without a change, the text comes back whole.
    w.select(2, 1);
    QTest::keyClick(w.grid(), Qt::Key_F2);
    QVERIFY(w.editor());
    pressReturn(w.editor());
    QCOMPARE(w.grid()->cellText(2, 1), text);

    // Typed at the end, it keeps all it had.
    QTest::keyClick(w.grid(), Qt::Key_F2);
    w.editor()->end(false);
    QTest::keyClick(w.editor(), Qt::Key_Z);
    pressReturn(w.editor());
    if (text != ControlText)   // the line edit itself drops the line break of a typed-over text
        QCOMPARE(w.grid()->cellText(2, 1), text + QLatin1Char('z'));
}

void tst_PropertyGridView::cornerShowsItsText()
{
    GridWindow w;
    QVERIFY(w.show());
    w.fill();
    auto *corner = w.grid()->findChild<QAbstractButton *>();
    QVERIFY(corner);
    QCOMPARE(corner->width(), 60);
    QCOMPARE(corner->height(), 26);

    w.grid()->setCellText(0, 0, QString());
    const QImage empty = corner->grab().toImage();
    w.grid()->setCellText(0, 0, QStringLiteral("名称"));
    QCOMPARE(w.grid()->cellText(0, 0), QStringLiteral("名称"));
    QVERIFY(corner->grab().toImage() != empty);
}

void tst_PropertyGridView::gridLinesInTheLookColour()
{
    GridWindow w;
    ControlLook look;
    look.gridLines = rgb(255, 0, 0);
    w.control.applyLook(look);
    QVERIFY(w.show());
    w.fill();
    const QImage image = w.grid()->viewport()->grab().toImage();
    // The lines closing the first value cell on the right and at the bottom, just outside its
    // visual rectangle.
    const QRect cell = w.grid()->visualRect(w.grid()->model()->index(0, 0));
    QCOMPARE(image.pixelColor(cell.right() + 1, cell.center().y()), QColor(Qt::red));
    QCOMPARE(image.pixelColor(cell.center().x(), cell.bottom() + 1), QColor(Qt::red));
    QCOMPARE(image.pixelColor(cell.center().x() + 30, cell.center().y() - 5), QColor(Qt::white));
}

void tst_PropertyGridView::adapterCountsAndEvent()
{
    QWidget parent;
    GridControl control(&parent);
    QVERIFY(control.write(Prop::GridRows, -1, 9));
    QVERIFY(control.write(Prop::GridColumns, -1, 2));
    QCOMPARE(control.read(Prop::GridRows, -1).toInt(), 9);
    QCOMPARE(control.read(Prop::GridColumns, -1).toInt(), 2);
    QVERIFY(control.write(Prop::GridRows, -1, 0));
    QCOMPARE(control.read(Prop::GridRows, -1).toInt(), 1);
    QVERIFY(!control.write(Prop::NormalText, -1, 0));   // no such index on a grid
    QVERIFY(!control.read(Prop::MenuCurrentItem, -1).isValid());
}

// The control goes first and its window later, as the widget layer ends: the grid goes with the
// control, and nothing reports the open edit to handlers that may be gone.
void tst_PropertyGridView::adapterTakesItsGridAndAnOpenEditWithoutReport()
{
    QWidget window;
    auto control = std::make_unique<GridControl>(&window);
    PropertyGridView *grid = control->grid();
    grid->setRowCount(3);
    grid->setColumnCount(2);
    grid->setCellText(1, 1, QStringLiteral("value"));
    window.resize(320, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    grid->setFocus();
    grid->setCurrentCell(0, 0);
    QTest::keyClick(grid, Qt::Key_F2);
    QVERIFY(grid->openEditor());
    int reported = 0;
    connect(grid, &PropertyGridView::editEnded, this, [&reported] { ++reported; });
    const QPointer<PropertyGridView> alive = grid;

    control.reset();
    QVERIFY(alive.isNull());
    window.close();
    QCOMPARE(reported, 0);
}

QTEST_MAIN(tst_PropertyGridView)
#include "tst_propertygridview.moc"
