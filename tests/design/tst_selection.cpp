#include "design/designtesting.h"

#include <QAbstractButton>
#include <QLineEdit>

using namespace designtesting;

class tst_Selection : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void pressSelects_data();
    void pressSelects();
    void buttonSelectsOnClickNotPress();
    void buttonPressedAwayDoesNotSelect();
    void labelThenButton();
    void pressingKeepsTksLook_data();
    void pressingKeepsTksLook();
    void entryKeepsItsOwnReaction();
    void pressingSelectedWidgetAgain();
    void rightButtonDoesNotSelect();

private:
    QWidget *widgetOf(int number) const
    {
        return m_designer->layer.widget(m_designer->model.componentByNumber(number)->widget);
    }

    std::unique_ptr<shell::Designer> m_designer;
};

void tst_Selection::init()
{
    m_designer = startDesigner();
    QVERIFY(QTest::qWaitForWindowExposed(m_designer->layer.widget(shell::ids::MainWindow)));
}

void tst_Selection::cleanup()
{
    m_designer.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_Selection::pressSelects_data()
{
    QTest::addColumn<int>("row");
    QTest::newRow("label") << int(LabelRow);
    QTest::newRow("entry") << int(EntryRow);
    QTest::newRow("radio button") << int(RadioButtonRow);
    QTest::newRow("check button") << int(CheckButtonRow);
}

// Every kind but the button is selected by the press itself, before any release.
void tst_Selection::pressSelects()
{
    QFETCH(int, row);
    place(*m_designer, row, QPoint(20, 20));
    place(*m_designer, LabelRow, QPoint(20, 120));
    QCOMPARE(selectedEntry(*m_designer), 2);

    QWidget *widget = widgetOf(1);
    QTest::mousePress(widget, Qt::LeftButton, {}, QPoint(30, 10));
    QCOMPARE(selectedEntry(*m_designer), 1);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(30, 10));
    QCOMPARE(selectedEntry(*m_designer), 1);
    QCOMPARE(m_designer->model.lastNumber, 2);
}

void tst_Selection::buttonSelectsOnClickNotPress()
{
    place(*m_designer, ButtonRow, QPoint(20, 20));
    place(*m_designer, LabelRow, QPoint(20, 120));
    QCOMPARE(selectedEntry(*m_designer), 2);

    auto *button = static_cast<QAbstractButton *>(widgetOf(1));
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(44, 16));
    QCOMPARE(selectedEntry(*m_designer), 2);
    QVERIFY(button->isDown());   // its own reaction goes on
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(44, 16));
    QCOMPARE(selectedEntry(*m_designer), 1);
}

// Press on the button, release away from it: no click, so no selection.
void tst_Selection::buttonPressedAwayDoesNotSelect()
{
    place(*m_designer, ButtonRow, QPoint(20, 20));
    clickDesignWindow(*m_designer, QPoint(250, 180));
    QCOMPARE(selectedEntry(*m_designer), 0);
    QWidget *button = widgetOf(1);
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(44, 16));
    QTest::mouseMove(button, QPoint(200, 100));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(200, 100));
    QCOMPARE(selectedEntry(*m_designer), 0);
}

void tst_Selection::labelThenButton()
{
    place(*m_designer, LabelRow, QPoint(10, 10));
    place(*m_designer, ButtonRow, QPoint(10, 60));
    QTest::mouseClick(widgetOf(1), Qt::LeftButton, {}, QPoint(60, 10));
    QCOMPARE(selectedEntry(*m_designer), 1);
    QTest::mouseClick(widgetOf(2), Qt::LeftButton, {}, QPoint(44, 16));
    QCOMPARE(selectedEntry(*m_designer), 2);
    QTest::mouseClick(widgetOf(1), Qt::LeftButton, {}, QPoint(60, 10));
    QCOMPARE(selectedEntry(*m_designer), 1);
}

void tst_Selection::pressingKeepsTksLook_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("presses");
    // "c" a click, "d" a click and then a double click; every letter one gesture.
    QTest::newRow("check button, indicator, once") << int(CheckButtonRow) << QPoint(8, 10) << "c";
    QTest::newRow("check button, indicator, three times") << int(CheckButtonRow) << QPoint(8, 10) << "ccc";
    QTest::newRow("check button, right of its caption, twice") << int(CheckButtonRow) << QPoint(110, 10) << "cc";
    QTest::newRow("check button, double click") << int(CheckButtonRow) << QPoint(8, 10) << "d";
    QTest::newRow("check button, eight times over") << int(CheckButtonRow) << QPoint(60, 10) << "cccccccc";
    QTest::newRow("radio button, indicator") << int(RadioButtonRow) << QPoint(8, 10) << "cc";
    QTest::newRow("radio button, right of its caption") << int(RadioButtonRow) << QPoint(110, 10) << "d";
}

// A check or radio button in the design shows what Tk shows for the program (unchecked, selected),
// while held and after, wherever it is pressed; a radio button leaves the others alone.
void tst_Selection::pressingKeepsTksLook()
{
    QFETCH(int, row);
    QFETCH(QPoint, at);
    QFETCH(QString, presses);
    place(*m_designer, row, QPoint(30, 30));
    place(*m_designer, row, QPoint(30, 80));
    clickDesignWindow(*m_designer, QPoint(250, 180));
    const bool shown = row == RadioButtonRow;
    auto *pressed = static_cast<QAbstractButton *>(widgetOf(1));
    auto *other = static_cast<QAbstractButton *>(widgetOf(2));
    QCOMPARE(pressed->isChecked(), shown);
    for (QChar gesture : presses) {
        QTest::mousePress(pressed, Qt::LeftButton, {}, at);
        QCOMPARE(pressed->isChecked(), shown);
        QTest::mouseRelease(pressed, Qt::LeftButton, {}, at);
        if (gesture == QLatin1Char('d')) {
            QTest::mouseDClick(pressed, Qt::LeftButton, {}, at);
            QTest::mouseRelease(pressed, Qt::LeftButton, {}, at);
        }
        QCOMPARE(pressed->isChecked(), shown);
        QCOMPARE(other->isChecked(), shown);
    }
    QCOMPARE(m_designer->layer.readBoolean(m_designer->model.componentByNumber(1)->widget, Prop::Checked), shown);
    QCOMPARE(selectedEntry(*m_designer), 1);
}

void tst_Selection::entryKeepsItsOwnReaction()
{
    place(*m_designer, EntryRow, QPoint(30, 30));
    auto *entry = static_cast<QLineEdit *>(widgetOf(1));
    entry->setText(QStringLiteral("abcdefghijkl"));
    entry->setCursorPosition(0);
    QTest::mouseClick(entry, Qt::LeftButton, {}, QPoint(entry->width() - 4, 10));
    QCOMPARE(entry->cursorPosition(), 12);
    QCOMPARE(selectedEntry(*m_designer), 1);
}

void tst_Selection::pressingSelectedWidgetAgain()
{
    place(*m_designer, LabelRow, QPoint(30, 30));
    QCOMPARE(selectedEntry(*m_designer), 1);
    for (int i = 0; i < 3; ++i) {
        QTest::mouseClick(widgetOf(1), Qt::LeftButton, {}, QPoint(30, 10));
        QCOMPARE(selectedEntry(*m_designer), 1);
    }
    QCOMPARE(m_designer->layer.listCount(shell::ids::ComponentList), 2);
}

void tst_Selection::rightButtonDoesNotSelect()
{
    place(*m_designer, LabelRow, QPoint(30, 30));
    clickDesignWindow(*m_designer, QPoint(250, 180));
    QCOMPARE(selectedEntry(*m_designer), 0);
    QTest::mouseClick(widgetOf(1), Qt::RightButton, {}, QPoint(30, 10));
    QCOMPARE(selectedEntry(*m_designer), 0);
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    tst_Selection test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_selection.moc"
