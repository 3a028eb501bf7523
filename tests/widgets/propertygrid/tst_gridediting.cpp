#include "widgets/propertygrid/propertygridview.h"
#include "gridwindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

// Editing a cell in place: which gestures open the editor, what the edit reports when it ends, and
// how a rebuild of the grid while an editor is open leaves it.
using namespace widgets;
using namespace widgets::testing;

class tst_GridEditing : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void editingStarts_data();
    void editingStarts();
    void editEndedOnceWithFinalText_data();
    void editEndedOnceWithFinalText();
    void rebuildAfterTabRefreshesTheNextEditor();
    void rebuildDroppingTheNextEditorsRowLeavesGridEditable();
    void rebuildMakingTheNextCellReadOnlyClosesItsEditor();
};

void tst_GridEditing::cleanup()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_GridEditing::editingStarts_data()
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

void tst_GridEditing::editingStarts()
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

void tst_GridEditing::editEndedOnceWithFinalText_data()
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

void tst_GridEditing::editEndedOnceWithFinalText()
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

void tst_GridEditing::rebuildAfterTabRefreshesTheNextEditor()
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

void tst_GridEditing::rebuildDroppingTheNextEditorsRowLeavesGridEditable()
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

void tst_GridEditing::rebuildMakingTheNextCellReadOnlyClosesItsEditor()
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

QTEST_MAIN(tst_GridEditing)
#include "tst_gridediting.moc"
