#include "widgets/propertygrid/gridcontrol.h"
#include "widgets/propertygrid/propertygridview.h"
#include "gridwindow.h"

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
using namespace widgets::testing;

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
