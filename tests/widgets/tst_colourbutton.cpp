#include "widgets/controls/colourbutton.h"
#include "widgets/controls/colourbuttoncontrol.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace widgets;

namespace {

// Far from every test window, so that nothing starts out hovered.
const QPoint Away(1900, 1060);

// A window with the colour button under test and a line edit to take the focus elsewhere.
struct ButtonWindow
{
    QWidget window;
    ColourButtonControl control{&window};
    QLineEdit other{&window};

    ButtonWindow()
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(control.widget());
        layout->addWidget(&other);
        window.resize(200, 120);
    }
    ColourButton *button() const { return control.button(); }
};

QColor backgroundShown(QWidget *widget)
{
    return widget->grab().toImage().pixelColor(1, 1);
}

bool showsColour(QWidget *widget, const QColor &colour)
{
    const QImage image = widget->grab().toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour)
                return true;
        }
    }
    return false;
}

} // namespace

class tst_ColourButton : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void drawingState_data();
    void drawingState();
    void leavingEndsTheHotLook();
    void colourPropertiesReadBack_data();
    void colourPropertiesReadBack();
    void captionIsAccessibleAndReadsBackAsWritten_data();
    void captionIsAccessibleAndReadsBackAsWritten();
    void clickRaisesClicked_data();
    void clickRaisesClicked();
    void tabReachesTheButton();
};

void tst_ColourButton::init()
{
    QCursor::setPos(Away);
}

void tst_ColourButton::cleanup()
{
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void tst_ColourButton::drawingState_data()
{
    QTest::addColumn<bool>("hovered");
    QTest::addColumn<bool>("pressed");
    QTest::addColumn<bool>("focused");
    QTest::addColumn<int>("state");

    QTest::newRow("resting is normal") << false << false << false << int(ColourButton::Normal);
    QTest::newRow("pointer over is hot") << true << false << false << int(ColourButton::Hot);
    QTest::newRow("held down is hot") << false << true << false << int(ColourButton::Hot);
    QTest::newRow("focus alone is focused") << false << false << true << int(ColourButton::Focused);
    QTest::newRow("focus under the pointer is hot") << true << false << true << int(ColourButton::Hot);
    QTest::newRow("focus and held down is hot") << false << true << true << int(ColourButton::Hot);
}

void tst_ColourButton::drawingState()
{
    QFETCH(bool, hovered);
    QFETCH(bool, pressed);
    QFETCH(bool, focused);
    QFETCH(int, state);

    ButtonWindow w;
    // One colour pair per state, all different, each written through its property.
    const Colour pairs[3][2] = {{rgb(10, 20, 30), rgb(200, 0, 0)},
                                {rgb(40, 50, 60), rgb(0, 200, 0)},
                                {rgb(70, 80, 90), rgb(0, 0, 200)}};
    for (int s = 0; s < 3; ++s) {
        QVERIFY(w.control.write(Prop(int(Prop::NormalText) + 2 * s), -1, pairs[s][0]));
        QVERIFY(w.control.write(Prop(int(Prop::NormalBack) + 2 * s), -1, pairs[s][1]));
    }
    QVERIFY(w.control.write(Prop::ButtonCaption, -1, QStringLiteral("WWWW")));
    w.button()->setFont(QFont(w.button()->font().family(), 20));
    w.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    w.other.setFocus();

    if (focused)
        w.button()->setFocus(Qt::TabFocusReason);
    if (hovered) {
        QCursor::setPos(w.button()->mapToGlobal(w.button()->rect().center()));
        QCoreApplication::processEvents();
    }
    if (pressed)
        QTest::mousePress(w.button(), Qt::LeftButton);

    QCOMPARE(int(w.button()->drawingState()), state);
    QCOMPARE(backgroundShown(w.button()), toQColor(pairs[state][1]));
    QVERIFY(showsColour(w.button(), toQColor(pairs[state][0])));
    if (pressed)
        QTest::mouseRelease(w.button(), Qt::LeftButton);
}

void tst_ColourButton::leavingEndsTheHotLook()
{
    ButtonWindow w;
    w.control.write(Prop::NormalBack, -1, rgb(1, 2, 3));
    w.control.write(Prop::HotBack, -1, rgb(4, 5, 6));
    w.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    w.other.setFocus();

    QCursor::setPos(w.button()->mapToGlobal(w.button()->rect().center()));
    QCoreApplication::processEvents();
    QCOMPARE(backgroundShown(w.button()), toQColor(rgb(4, 5, 6)));
    QCursor::setPos(w.other.mapToGlobal(w.other.rect().center()));
    QCoreApplication::processEvents();
    QCOMPARE(backgroundShown(w.button()), toQColor(rgb(1, 2, 3)));
}

void tst_ColourButton::colourPropertiesReadBack_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<Colour>("colour");

    QTest::newRow("normal text") << int(Prop::NormalText) << rgb(128, 128, 128);
    QTest::newRow("normal background") << int(Prop::NormalBack) << rgb(240, 240, 240);
    QTest::newRow("hot text white") << int(Prop::HotText) << rgb(255, 255, 255);
    QTest::newRow("hot background blue accent") << int(Prop::HotBack) << Colour(0xCC7A00);
    QTest::newRow("focus text black") << int(Prop::FocusText) << Colour(0);
    QTest::newRow("focus background default") << int(Prop::FocusBack) << DefaultColour;
}

void tst_ColourButton::colourPropertiesReadBack()
{
    QFETCH(int, index);
    QFETCH(Colour, colour);

    QWidget parent;
    ColourButtonControl control(&parent);
    QVERIFY(control.write(Prop(index), -1, colour));
    QCOMPARE(control.read(Prop(index), -1).value<Colour>(), colour);
    // Red is the low byte: 0xCC7A00 is (0, 122, 204).
    const auto state = ColourButton::DrawingState((index - int(Prop::NormalText)) / 2);
    const QColor shown = index % 2 == 0 ? control.button()->textColour(state)
                                        : control.button()->backgroundColour(state);
    if (colour != DefaultColour)
        QCOMPARE(shown, toQColor(colour));
    else
        QCOMPARE(shown, control.button()->palette().color(QPalette::Button));
}

void tst_ColourButton::captionIsAccessibleAndReadsBackAsWritten_data()
{
    QTest::addColumn<QString>("caption");

    QTest::newRow("chinese") << QStringLiteral("代码");
    QTest::newRow("ampersand is no mnemonic") << QStringLiteral("A&B");
    QTest::newRow("empty") << QString();
    QTest::newRow("control characters") << QStringLiteral("a\tb\r\nc\x01");
    QTest::newRow("emoji") << QStringLiteral("😀👍🏽");
    QTest::newRow("very long") << QString(100000, QLatin1Char('x'));
}

void tst_ColourButton::captionIsAccessibleAndReadsBackAsWritten()
{
    QFETCH(QString, caption);

    QWidget parent;
    ColourButtonControl control(&parent);
    QVERIFY(control.write(Prop::ButtonCaption, -1, caption));
    QCOMPARE(control.read(Prop::ButtonCaption, -1).toString(), caption);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    control.button()->grab();   // paints without trouble

    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control.button());
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::Button);
    QCOMPARE(accessible->text(QAccessible::Name), caption);
}

void tst_ColourButton::clickRaisesClicked_data()
{
    QTest::addColumn<QString>("gesture");

    QTest::newRow("mouse click") << QStringLiteral("mouse");
    QTest::newRow("space key") << QStringLiteral("space");
}

void tst_ColourButton::clickRaisesClicked()
{
    QFETCH(QString, gesture);

    ButtonWindow w;
    QList<Event> raised;
    w.control.setEventSink([&raised](Event event, const EventArgs &args) {
        raised.append(event);
        return args.values.isEmpty();
    });
    w.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));

    if (gesture == QLatin1String("mouse")) {
        QTest::mouseClick(w.button(), Qt::LeftButton);
    } else {
        w.button()->setFocus();
        QTest::keyClick(w.button(), Qt::Key_Space);
    }
    QCOMPARE(raised, QList<Event>{Event::Clicked});
}

void tst_ColourButton::tabReachesTheButton()
{
    ButtonWindow w;
    w.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    w.other.setFocus();
    QTest::keyClick(&w.other, Qt::Key_Tab);
    QVERIFY(w.button()->hasFocus());
    QCOMPARE(w.button()->drawingState(), ColourButton::Focused);
}

QTEST_MAIN(tst_ColourButton)
#include "tst_colourbutton.moc"
