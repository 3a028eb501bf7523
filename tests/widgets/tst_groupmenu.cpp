#include "widgets/controls/groupmenu.h"
#include "widgets/controls/groupmenucontrol.h"

#include <QAccessible>
#include <QApplication>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

using namespace widgets;

namespace {

const QPoint Away(1900, 1060);

// The palette's look in the designer's main window.
ControlLook paletteLook()
{
    ControlLook look;
    look.groupTitle = QStringLiteral("窗口组件");
    look.items = {QStringLiteral("指针"), QStringLiteral("标签"), QStringLiteral("编辑框"),
                  QStringLiteral("按钮"), QStringLiteral("单选框"), QStringLiteral("复选框")};
    look.background = 0xFFFFFF;
    look.menuItemText = 0x000000;
    look.menuItemHotText = 0xC0C0C0;
    look.menuItemSelectedText = 0x808080;
    look.menuBorder = 0xECECEC;
    return look;
}

struct PaletteWindow
{
    QWidget window;
    GroupMenuControl control{&window};

    PaletteWindow()
    {
        control.applyLook(paletteLook());
        control.widget()->setGeometry(0, 0, 128, 300);
        window.resize(200, 320);
    }
    GroupMenu *menu() const { return control.menu(); }
    QListWidget *list() const { return control.menu()->itemList(); }
    int current() const { return control.read(Prop::MenuCurrentItem, -1).toInt(); }
    bool show()
    {
        window.show();
        return QTest::qWaitForWindowActive(&window);
    }
};

} // namespace

class tst_GroupMenu : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void currentItemWrites_data();
    void currentItemWrites();
    void currentItemSurvivesCollapsing();
    void headerTogglesTheItems_data();
    void headerTogglesTheItems();
    void userChoosesAnItem();
    void headerColoursFollowItsState_data();
    void headerColoursFollowItsState();
    void selectedItemKeepsTheMenuBackground();
    void headerIsAnAccessibleButtonNamedByTheTitle();
    void fontReachesHeaderAndItems();
    void hostileItemTexts();
};

void tst_GroupMenu::init()
{
    QCursor::setPos(Away);
}

void tst_GroupMenu::cleanup()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_GroupMenu::currentItemWrites_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("written");
    QTest::addColumn<int>("expected");

    // Six items: 0 to 5.
    QTest::newRow("first") << -1 << 0 << 0;
    QTest::newRow("last") << 0 << 5 << 5;
    QTest::newRow("one past the end clears") << 3 << 6 << -1;
    QTest::newRow("minus one clears") << 3 << -1 << -1;
    QTest::newRow("far below clears") << 3 << -100 << -1;
    QTest::newRow("same again stays") << 2 << 2 << 2;
}

void tst_GroupMenu::currentItemWrites()
{
    QFETCH(int, before);
    QFETCH(int, written);
    QFETCH(int, expected);

    PaletteWindow w;
    QCOMPARE(w.current(), -1);   // none until the layout writes one
    w.control.write(Prop::MenuCurrentItem, -1, before);
    QCOMPARE(w.current(), before);
    QVERIFY(w.control.write(Prop::MenuCurrentItem, -1, written));
    QCOMPARE(w.current(), expected);
    QCOMPARE(w.list()->selectedItems().size(), expected < 0 ? 0 : 1);
}

void tst_GroupMenu::currentItemSurvivesCollapsing()
{
    PaletteWindow w;
    QVERIFY(w.show());
    w.control.write(Prop::MenuCurrentItem, -1, 3);

    QTest::mouseClick(w.menu()->header(), Qt::LeftButton);
    QVERIFY(!w.menu()->isExpanded());
    QVERIFY(!w.list()->isVisible());
    QCOMPARE(w.current(), 3);

    // Written while collapsed, still there once open again.
    w.control.write(Prop::MenuCurrentItem, -1, 0);
    QCOMPARE(w.current(), 0);
    QTest::mouseClick(w.menu()->header(), Qt::LeftButton);
    QVERIFY(w.list()->isVisible());
    QCOMPARE(w.current(), 0);
    QVERIFY(w.list()->item(0)->isSelected());
}

void tst_GroupMenu::headerTogglesTheItems_data()
{
    QTest::addColumn<QString>("gesture");

    QTest::newRow("mouse click") << QStringLiteral("click");
    QTest::newRow("space") << QStringLiteral("space");
    QTest::newRow("return") << QStringLiteral("return");
    QTest::newRow("keypad enter") << QStringLiteral("enter");
}

void tst_GroupMenu::headerTogglesTheItems()
{
    QFETCH(QString, gesture);

    PaletteWindow w;
    QVERIFY(w.show());
    QSignalSpy toggled(w.menu(), &GroupMenu::expandedChanged);
    GroupHeader *header = w.menu()->header();
    const auto act = [&] {
        if (gesture == QLatin1String("click")) {
            QTest::mouseClick(header, Qt::LeftButton);
            return;
        }
        header->setFocus(Qt::TabFocusReason);
        const Qt::Key key = gesture == QLatin1String("space") ? Qt::Key_Space
                          : gesture == QLatin1String("return") ? Qt::Key_Return : Qt::Key_Enter;
        QTest::keyClick(header, key);
    };

    act();
    QVERIFY(!w.menu()->isExpanded());
    QVERIFY(!w.list()->isVisible());
    QCOMPARE(header->y(), 1);   // the header stays at the top, inside the border
    act();
    QVERIFY(w.menu()->isExpanded());
    QVERIFY(w.list()->isVisible());
    QCOMPARE(toggled.size(), 2);
}

void tst_GroupMenu::userChoosesAnItem()
{
    PaletteWindow w;
    QList<int> chosen;
    w.control.setEventSink([&](Event event, const EventArgs &) {
        if (event == Event::SelectionChanged)
            chosen.append(w.current());
        return true;
    });
    QVERIFY(w.show());
    w.control.write(Prop::MenuCurrentItem, -1, 0);

    QListWidget *list = w.list();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(3)).center());
    QCOMPARE(w.current(), 3);

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(w.current(), 4);
    QTest::keyClick(list, Qt::Key_Home);
    QCOMPARE(w.current(), 0);
    // The user's choices are told, the program's own write is not.
    QCOMPARE(chosen, QList<int>({3, 4, 0}));
}

void tst_GroupMenu::headerColoursFollowItsState_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<int>("state");

    QTest::newRow("open group is selected") << QStringLiteral("open") << int(GroupHeader::Selected);
    QTest::newRow("closed group is normal") << QStringLiteral("closed") << int(GroupHeader::Normal);
    QTest::newRow("pointer over is hot") << QStringLiteral("hover") << int(GroupHeader::Hot);
    QTest::newRow("held down is pressed") << QStringLiteral("press") << int(GroupHeader::Pressed);
    QTest::newRow("held down under the pointer is pressed") << QStringLiteral("hover press")
                                                            << int(GroupHeader::Pressed);
}

void tst_GroupMenu::headerColoursFollowItsState()
{
    QFETCH(QString, situation);
    QFETCH(int, state);

    PaletteWindow w;
    // Distinct colours for the four states, backgrounds (16-19) then texts (20-23).
    for (int s = 0; s < GroupHeader::StateCount; ++s) {
        QVERIFY(w.control.write(Prop(int(Prop::MenuHeaderBackNormal) + s), -1, rgb(50 * s, 0, 100)));
        QVERIFY(w.control.write(Prop(int(Prop::MenuHeaderTextNormal) + s), -1, rgb(0, 50 * s, 200)));
    }
    QVERIFY(w.show());
    GroupHeader *header = w.menu()->header();

    if (situation == QLatin1String("closed"))
        w.menu()->setExpanded(false);
    if (situation.contains(QLatin1String("hover"))) {
        QCursor::setPos(header->mapToGlobal(header->rect().center()));
        QCoreApplication::processEvents();
    }
    if (situation.contains(QLatin1String("press")))
        QTest::mousePress(header, Qt::LeftButton);

    QCOMPARE(int(header->state()), state);
    const QImage image = header->grab().toImage();
    QCOMPARE(image.pixelColor(2, 2), toQColor(rgb(50 * state, 0, 100)));
    QCOMPARE(header->textColour(GroupHeader::State(state)), toQColor(rgb(0, 50 * state, 200)));
    if (situation.contains(QLatin1String("press")))
        QTest::mouseRelease(header, Qt::LeftButton);
}

void tst_GroupMenu::selectedItemKeepsTheMenuBackground()
{
    PaletteWindow w;
    QVERIFY(w.show());
    w.control.write(Prop::MenuCurrentItem, -1, 2);
    w.list()->setFocus();   // a focused list is where a standard highlight would be darkest

    const QRect item = w.list()->visualItemRect(w.list()->item(2));
    const QImage image = w.list()->viewport()->grab().toImage();
    // Right of the short text and inside the outline: the white menu background, no fill.
    QCOMPARE(image.pixelColor(item.right() - 20, item.center().y()), QColor(Qt::white));
    // Somewhere on the item the selected-text grey marks it.
    bool grey = false;
    for (int y = item.top(); y <= item.bottom() && !grey; ++y) {
        for (int x = item.left(); x <= item.right() && !grey; ++x)
            grey = image.pixelColor(x, y) == QColor(0x80, 0x80, 0x80);
    }
    QVERIFY(grey);
}

void tst_GroupMenu::headerIsAnAccessibleButtonNamedByTheTitle()
{
    PaletteWindow w;
    QAccessibleInterface *header = QAccessible::queryAccessibleInterface(w.menu()->header());
    QVERIFY(header);
    QCOMPARE(header->role(), QAccessible::Button);
    QCOMPARE(header->text(QAccessible::Name), QStringLiteral("窗口组件"));
    QCOMPARE(w.menu()->items(), paletteLook().items);
    for (int row = 0; row < w.list()->count(); ++row)
        QVERIFY(w.list()->item(row)->icon().isNull());
}

void tst_GroupMenu::fontReachesHeaderAndItems()
{
    PaletteWindow w;
    QVERIFY(w.show());
    const int smallHeader = w.menu()->header()->height();
    const int smallItem = w.list()->visualItemRect(w.list()->item(0)).height();

    QFont large = w.menu()->font();
    large.setPixelSize(40);
    w.menu()->setFont(large);
    QCoreApplication::processEvents();   // the layout and the list lay out again when they get to it

    QCOMPARE(w.menu()->header()->font().pixelSize(), 40);
    QCOMPARE(w.list()->font().pixelSize(), 40);
    QVERIFY(w.menu()->header()->height() > smallHeader);
    QVERIFY(w.list()->visualItemRect(w.list()->item(0)).height() > smallItem);
}

void tst_GroupMenu::hostileItemTexts()
{
    PaletteWindow w;
    ControlLook look = paletteLook();
    look.groupTitle = QString(100000, QChar(0x7A97));
    look.items = {QString(100000, QLatin1Char('x')), QStringLiteral("a\tb\r\nc\x01\x7f"),
                  QStringLiteral("😀👍🏽"), QString()};
    w.control.applyLook(look);
    QVERIFY(w.show());
    w.control.write(Prop::MenuCurrentItem, -1, 0);
    w.menu()->grab();
    QCOMPARE(w.menu()->items(), look.items);
    QCOMPARE(w.menu()->title(), look.groupTitle);
    // New items: the old current item is gone.
    w.control.applyLook(paletteLook());
    QCOMPARE(w.current(), -1);
}

QTEST_MAIN(tst_GroupMenu)
#include "tst_groupmenu.moc"
