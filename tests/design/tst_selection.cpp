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
    void checkButtonEndsUnchecked_data();
    void checkButtonEndsUnchecked();
    void doubleClickedCheckButtonEndsUnchecked();
    void radioButtonKeepsToolkitBehaviour();
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

void tst_Selection::checkButtonEndsUnchecked_data()
{
    QTest::addColumn<int>("clicks");
    QTest::newRow("once") << 1;
    QTest::newRow("twice") << 2;
    QTest::newRow("three times") << 3;
    QTest::newRow("eight times") << 8;
}

void tst_Selection::checkButtonEndsUnchecked()
{
    QFETCH(int, clicks);
    place(*m_designer, CheckButtonRow, QPoint(30, 30));
    auto *check = static_cast<QAbstractButton *>(widgetOf(1));
    QVERIFY(!check->isChecked());
    for (int i = 0; i < clicks; ++i) {
        QTest::mousePress(check, Qt::LeftButton, {}, QPoint(8, 10));
        QVERIFY2(check->isChecked(), "a held check button shows checked");
        QTest::mouseRelease(check, Qt::LeftButton, {}, QPoint(8, 10));
        QVERIFY(!check->isChecked());
    }
    QVERIFY(!m_designer->layer.readBoolean(m_designer->model.componentByNumber(1)->widget, Prop::Checked));
    QCOMPARE(selectedEntry(*m_designer), 1);
}

// The second press of a double click reaches the widget as a double click.
void tst_Selection::doubleClickedCheckButtonEndsUnchecked()
{
    place(*m_designer, CheckButtonRow, QPoint(30, 30));
    clickDesignWindow(*m_designer, QPoint(250, 180));
    auto *check = static_cast<QAbstractButton *>(widgetOf(1));
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, 10));
    QTest::mouseDClick(check, Qt::LeftButton, {}, QPoint(8, 10));
    QVERIFY(check->isChecked());
    QTest::mouseRelease(check, Qt::LeftButton, {}, QPoint(8, 10));
    QVERIFY(!check->isChecked());
    QCOMPARE(selectedEntry(*m_designer), 1);
}

// Radio buttons start out selected and keep the toolkit's own behaviour.
void tst_Selection::radioButtonKeepsToolkitBehaviour()
{
    place(*m_designer, RadioButtonRow, QPoint(30, 30));
    place(*m_designer, RadioButtonRow, QPoint(30, 80));
    auto *first = static_cast<QAbstractButton *>(widgetOf(1));
    auto *second = static_cast<QAbstractButton *>(widgetOf(2));
    QVERIFY(first->isChecked());
    QVERIFY(second->isChecked());
    QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(8, 10));
    QVERIFY(first->isChecked());
    QVERIFY(!second->isChecked());
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
