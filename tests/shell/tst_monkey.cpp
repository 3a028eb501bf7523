// A monkey at the real main window: thousands of random presses, drags, palette choices, grid edits
// with hostile texts, list choices, panel switches, scrolls and resizes, all through the events a
// user's mouse and keyboard make. Every 100 actions the design must still be consistent.
// It prints its seed; KESTRIGAN_MONKEY_SEED=n replays that run's actions.

#include "design/designtesting.h"
#include "model/griddriving.h"
#include "support/programcheck.h"

#include "codegen/tkintergenerator.h"
#include "model/propertyrows.h"
#include "widgets/fontvalue.h"
#include "widgets/inputdevice/inputdevicemonitor.h"
#include "widgets/textconversion.h"

#include <QComboBox>
#include <QRandomGenerator>
#include <QScrollBar>

using model::PropertyRow;
using shell::ids::ComponentList;
using shell::ids::PropertyGrid;
using widgets::Prop;

class tst_Monkey : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void survivesRandomActions();

private:
    shell::Designer &designer() { return *m_designer; }
    widgets::WidgetLayer &layer() { return m_designer->layer; }
    QWidget *widgetOf(const widgets::ControlRef &ref) { return layer().widget(ref); }
    int pick(int count) { return int(m_random.bounded(quint32(count))); }
    QPoint pointIn(QSize size, int margin);

    // A placed widget, the design window's client area, or (rarely) the main window itself.
    QWidget *pressTarget();
    bool reachable(const QWidget *widget) const;
    QString hostileText();

    void choosePalette();
    void clickSomewhere(Qt::MouseButton button);
    void doubleClick();
    void drag();
    void editGrid();
    void chooseListEntry();
    void switchPanel();
    void resizeDesignWindow();
    void moveScrollBar();
    void resizeMainWindow();

    // Empty when every invariant holds; otherwise the first one broken.
    QString brokenInvariant();

    std::unique_ptr<shell::Designer> m_designer;
    QRandomGenerator m_random;
};

namespace {

// A press on a widget that ignores it is a normal part of the game; Qt Test would warn about each.
QtMessageHandler testLogHandler = nullptr;

void dropUnacceptedEventWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.contains(QLatin1String("not accepted by receiving widget")))
        testLogHandler(type, context, message);
}

} // namespace

void tst_Monkey::init()
{
    if (!testLogHandler)
        testLogHandler = qInstallMessageHandler(dropUnacceptedEventWarnings);
    m_designer = designtesting::startDesigner();
    QWidget *window = widgetOf(shell::ids::MainWindow);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}

void tst_Monkey::cleanup()
{
    if (QGuiApplication::mouseButtons())
        QTest::mouseRelease(widgetOf(shell::ids::MainWindow), Qt::LeftButton, {}, QPoint(1, 1));
    m_designer.reset();
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QPoint tst_Monkey::pointIn(QSize size, int margin)
{
    return QPoint(pick(size.width() + 2 * margin + 1) - margin, pick(size.height() + 2 * margin + 1) - margin);
}

QWidget *tst_Monkey::pressTarget()
{
    const auto &components = designer().model.components;
    if (!components.empty() && pick(3) > 0)
        return widgetOf(components[size_t(pick(int(components.size())))].widget);
    return pick(20) ? designtesting::designClient(designer()) : widgetOf(shell::ids::MainWindow);
}

// Only what is on the screen can be pressed: a hidden panel's widgets get nothing from a real mouse.
bool tst_Monkey::reachable(const QWidget *widget) const
{
    return widget && widget->isVisible();
}

QString tst_Monkey::hostileText()
{
    // 100,000 characters now and then: once in a caption, every code view and program check after
    // carries them.
    if (pick(150) == 0)
        return QString(100000, QChar(char16_t(u'0' + pick(10))));
    switch (pick(14)) {
    case 0: return QString(200, QChar(char16_t(u'0' + pick(10))));
    case 1: return QStringLiteral("\x01\x02\t\r\n\x1f\x7f");
    case 2: return QStringLiteral("😀🐍𠀀");
    case 3: return QString(QChar(char16_t(0xD800 + pick(0x800))));   // a lone surrogate
    case 4: return QStringLiteral("１２３");
    case 5: return QStringLiteral("－４５");
    case 6: return pick(2) ? QStringLiteral("-") : QStringLiteral("+");
    case 7: return QStringLiteral("99999999999");
    case 8: return QStringLiteral("-2147483649");
    case 9: return QStringLiteral("It's 中文 \\ ok'''");
    case 10: return QString(pick(40), QChar(char16_t(0x4E00 + pick(0x5000))));
    case 11: {
        QString text;
        for (int i = pick(30); i > 0; --i)
            text += QChar(char16_t(pick(0x10000)));
        return text;
    }
    default: return QString::number(int(m_random.generate()) % 700 - 100);
    }
}

void tst_Monkey::choosePalette()
{
    designtesting::choose(designer(), pick(6));
}

void tst_Monkey::clickSomewhere(Qt::MouseButton button)
{
    QWidget *target = pressTarget();
    if (!reachable(target))
        return;
    const QPoint at = pointIn(target->size(), 4);
    QCursor::setPos(target->mapToGlobal(at));
    QTest::mouseClick(target, button, {}, at);
}

void tst_Monkey::doubleClick()
{
    QWidget *target = pressTarget();
    if (!reachable(target))
        return;
    const QPoint at = pointIn(target->size(), 0);
    QCursor::setPos(target->mapToGlobal(at));
    QTest::mouseClick(target, Qt::LeftButton, {}, at);
    QTest::mouseDClick(target, Qt::LeftButton, {}, at);
}

// Press, a few moves that the pointer device and the drag follow, and a release: inside the design
// window, across its edges, far out of it, or over the palette.
void tst_Monkey::drag()
{
    QWidget *target = pressTarget();
    if (!reachable(target))
        return;
    const QPoint at = pointIn(target->size(), 2);
    QPoint global = target->mapToGlobal(at);
    QCursor::setPos(global);
    QTest::mousePress(target, Qt::LeftButton, {}, at);
    QTest::qWait(widgets::InputDeviceMonitor::PollInterval + 2);
    for (int step = pick(3); step >= 0; --step) {
        if (pick(6) == 0) {
            QWidget *palette = widgetOf(shell::ids::Palette);
            global = palette->mapToGlobal(pointIn(palette->size(), 0));
        } else {
            global += QPoint(pick(161) - 80, pick(121) - 60) * (pick(8) ? 1 : 20);
        }
        QCursor::setPos(global);
        QTest::qWait(widgets::InputDeviceMonitor::PollInterval + 2);
    }
    QTest::mouseRelease(target, Qt::LeftButton, {}, target->mapFromGlobal(global));
    QTRY_VERIFY_WITH_TIMEOUT(!designer().drag.active, 2000);
}

// An edit in the grid: F2 or a double click, a hostile text, and Return, Tab (leaving the next
// editor open for whatever comes next), Escape, or a click on another cell.
void tst_Monkey::editGrid()
{
    widgets::PropertyGridView *grid = testing::propertyGrid(designer());
    const int rows = layer().readInteger(PropertyGrid, Prop::GridRows);
    if (rows < 3)
        return;
    const int row = 2 + pick(rows - 2);   // row 1, the class name, is read-only
    if (QWidget *open = grid->openEditor())
        testing::pressInEditor(open, Qt::Key_Return);
    QLineEdit *editor = nullptr;
    if (pick(2)) {
        editor = testing::openWithF2(grid, row);
    } else {
        testing::doubleClickValueCell(grid, row);
        editor = qobject_cast<QLineEdit *>(grid->openEditor());
    }
    if (!editor)
        return;
    testing::replaceText(editor, hostileText());
    switch (pick(6)) {
    case 0: testing::pressInEditor(editor, Qt::Key_Tab); break;
    case 1: testing::pressInEditor(editor, Qt::Key_Escape); break;
    case 2: QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, testing::valueCellCentre(grid, 1)); break;
    default: testing::pressInEditor(editor, Qt::Key_Return); break;
    }
}

void tst_Monkey::chooseListEntry()
{
    auto *combo = qobject_cast<QComboBox *>(widgetOf(ComponentList));
    QVERIFY(combo);
    combo->setFocus();
    static const Qt::Key keys[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_Home, Qt::Key_End, Qt::Key_PageDown};
    QTest::keyClick(combo, keys[pick(std::size(keys))]);
}

void tst_Monkey::switchPanel()
{
    // Mostly back to the window panel, where the design tools work.
    static const widgets::ControlRef buttons[] = {shell::ids::WindowPanelButton, shell::ids::WindowPanelButton,
                                                  shell::ids::CodePanelButton, shell::ids::AboutPanelButton};
    QWidget *button = widgetOf(buttons[pick(std::size(buttons))]);
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

// The design window's frame dragged by its bottom-right corner, to anywhere from inside out to
// far beyond the canvas.
void tst_Monkey::resizeDesignWindow()
{
    QWidget *frame = widgetOf(design::ids::DesignWindow);
    if (!reachable(frame))
        return;
    const QPoint corner(frame->width() - 2, frame->height() - 2);
    const QPoint to = corner + QPoint(pick(601) - 300, pick(401) - 200) * (pick(8) ? 1 : 10);
    // A real pointer passes over the frame before it presses there; the frame decides from that
    // hover whether a press sizes or moves.
    QTest::mouseMove(frame, corner);
    QTest::mousePress(frame, Qt::LeftButton, {}, corner);
    QTest::mouseMove(frame, to);
    QTest::mouseRelease(frame, Qt::LeftButton, {}, to);
}

void tst_Monkey::moveScrollBar()
{
    const widgets::ControlRef bar = pick(2) ? shell::ids::HorizontalScrollBar : shell::ids::VerticalScrollBar;
    auto *scrollBar = qobject_cast<QScrollBar *>(widgetOf(bar));
    QVERIFY(scrollBar);
    if (!reachable(scrollBar))
        return;
    scrollBar->triggerAction(QAbstractSlider::SliderAction(1 + pick(7)));
}

void tst_Monkey::resizeMainWindow()
{
    widgetOf(shell::ids::MainWindow)->resize(pick(2400), pick(1600));
}

QString tst_Monkey::brokenInvariant()
{
    const model::DesignModel &model = designer().model;
    const widgets::WidgetLayer &l = layer();
    const int count = int(model.components.size());
    if (l.listCount(ComponentList) != count + 1)
        return QStringLiteral("the list holds %1 entries for %2 components").arg(l.listCount(ComponentList)).arg(count);
    for (int n = 1; n <= count; ++n) {
        const model::Component &c = model.components[size_t(n - 1)];
        if (c.number != n || l.listItemText(ComponentList, n) != c.entryText())
            return QStringLiteral("entry %1 reads %2").arg(n).arg(l.listItemText(ComponentList, n));
        if (l.readText(c.widget, Prop::Tag) != QString::number(n))
            return QStringLiteral("widget %1 has the tag %2").arg(n).arg(l.readText(c.widget, Prop::Tag));
    }

    // The grid names the entry it shows, and shows that entry's values as they are now.
    const model::Component *shown = model.shown();
    const model::ComponentKind kind = shown ? shown->kind : model::ComponentKind::Window;
    const QList<PropertyRow> rows = model::propertyRows(kind);
    if (l.readInteger(PropertyGrid, Prop::GridRows) != rows.size() + 1)
        return QStringLiteral("the grid has %1 rows for %2").arg(l.readInteger(PropertyGrid, Prop::GridRows)).arg(kind == model::ComponentKind::Window);
    const widgets::ControlRef window = design::ids::DesignWindow;
    for (int i = 0; i < rows.size(); ++i) {
        QString real;
        const auto n = [](int value) { return widgets::integerToText(value); };
        switch (rows[i]) {
        case PropertyRow::ClassName: real = shown ? shown->className() : model::classWord(kind); break;
        case PropertyRow::Caption:
            real = shown ? l.readText(shown->widget, *model::captionProperty(kind)) : l.readText(window, Prop::WindowTitle);
            break;
        case PropertyRow::Top: real = n(shown ? l.readInteger(shown->widget, Prop::Top) : model.windowTop); break;
        case PropertyRow::Left: real = n(shown ? l.readInteger(shown->widget, Prop::Left) : model.windowLeft); break;
        case PropertyRow::Width: real = n(shown ? l.readInteger(shown->widget, Prop::Width) : l.clientWidth(window)); break;
        case PropertyRow::Height: real = n(shown ? l.readInteger(shown->widget, Prop::Height) : l.clientHeight(window)); break;
        case PropertyRow::FontFace: real = l.readText(shown->widget, *model::fontProperty(kind), int(widgets::FontMember::Face)); break;
        case PropertyRow::FontSize: real = n(l.readInteger(shown->widget, *model::fontProperty(kind), int(widgets::FontMember::Size))); break;
        }
        if (l.cellText(PropertyGrid, i + 1, 1) != real)
            return QStringLiteral("grid row %1 of %2 (list entry %3) shows \"%4\", the design holds \"%5\"")
                .arg(i + 1).arg(l.cellText(PropertyGrid, 1, 1)).arg(l.readInteger(ComponentList, Prop::ListSelection))
                .arg(l.cellText(PropertyGrid, i + 1, 1).left(60), real.left(60));
    }
    return testsupport::checkProgram(codegen::generate(model, l), model, l);
}

void tst_Monkey::survivesRandomActions()
{
    const quint32 seed = qEnvironmentVariableIsSet("KESTRIGAN_MONKEY_SEED")
                             ? quint32(qEnvironmentVariableIntValue("KESTRIGAN_MONKEY_SEED"))
                             : QRandomGenerator::system()->generate();
    const int actions = qEnvironmentVariableIsSet("KESTRIGAN_MONKEY_ACTIONS")
                            ? qEnvironmentVariableIntValue("KESTRIGAN_MONKEY_ACTIONS") : 20000;
    qInfo("monkey seed %u (replay with KESTRIGAN_MONKEY_SEED=%u)", seed, seed);
    m_random.seed(seed);

    // Weights: plenty of presses and edits, few placements, so that the design stays some hundred
    // widgets large and the run takes minutes, not hours.
    // KESTRIGAN_MONKEY_CHECK_EVERY=1 narrows a broken invariant down to the action that broke it.
    const int checkEvery = qMax(1, qEnvironmentVariableIsSet("KESTRIGAN_MONKEY_CHECK_EVERY")
                                       ? qEnvironmentVariableIntValue("KESTRIGAN_MONKEY_CHECK_EVERY") : 100);
    for (int done = 1; done <= actions; ++done) {
        const int roll = pick(100);
        const char *action = nullptr;
        if (roll < 2) action = "palette choice", choosePalette();
        else if (roll < 28) action = "left click", clickSomewhere(Qt::LeftButton);
        else if (roll < 34) action = "right or middle click", clickSomewhere(pick(2) ? Qt::RightButton : Qt::MiddleButton);
        else if (roll < 40) action = "double click", doubleClick();
        else if (roll < 48) action = "drag", drag();
        else if (roll < 72) action = "grid edit", editGrid();
        else if (roll < 82) action = "list choice", chooseListEntry();
        else if (roll < 88) action = "panel switch", switchPanel();
        else if (roll < 91) action = "design window resize", resizeDesignWindow();
        else if (roll < 96) action = "scroll", moveScrollBar();
        else action = "main window resize", resizeMainWindow();
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("action %1 (%2) of seed %3 failed").arg(done).arg(action).arg(seed)));
        if (done % checkEvery == 0) {
            const QString broken = brokenInvariant();
            if (!broken.isEmpty())
                QFAIL(qPrintable(QStringLiteral("after %1 actions of seed %2 (the last a %3): %4")
                                     .arg(done).arg(seed).arg(action, broken)));
        }
    }
    qInfo("monkey survived %d actions with %zu components", actions, designer().model.components.size());
}

QTEST_MAIN(tst_Monkey)
#include "tst_monkey.moc"
