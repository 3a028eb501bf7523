// Tk's option database as the program's Tk reads it: which entry wins for a widget of the program,
// how Tk reads the values, and what a database Tk would choke on leaves. The rules were seen in
// python3-tk 8.6 on an Xvfb with the same texts in RESOURCE_MANAGER.
#include "widgets/tklook/optiondatabase.h"
#include "widgets/tklook/tkoptions.h"

#include <QtTest>

#include <climits>

using namespace widgets::tk;

namespace {

// The X server's colour database, for the few names the tests use.
std::optional<QRgba64> serverColour(const QByteArray &name)
{
    if (name == "red")
        return QRgba64::fromRgba64(0xFFFF, 0, 0, 0xFFFF);
    if (name == "gray50")
        return QRgba64::fromRgba64(0x7F7F, 0x7F7F, 0x7F7F, 0xFFFF);
    if (name == "green")
        return QRgba64::fromRgba64(0, 0xFFFF, 0, 0xFFFF);  // X's green; Tk never asks for it
    return std::nullopt;
}

// 1920 pixels over 508 millimetres: 96 dots per inch.
constexpr ScreenWidth Screen{1920, 508};

OptionLookup lookupIn(const OptionDatabase &database, std::optional<WidgetClass> widgetClass)
{
    return [&database, path = pathOf(widgetClass)](QByteArrayView name, QByteArrayView optionClass) {
        return database.value(path, name, optionClass);
    };
}

} // namespace

Q_DECLARE_METATYPE(std::optional<WidgetClass>)

class tst_OptionDatabase : public QObject
{
    Q_OBJECT

private slots:
    void matching_data();
    void matching();
    void colours_data();
    void colours();
    void distances_data();
    void distances();
    void words();
    void widgetOptions_data();
    void widgetOptions();
    void rootOptions_data();
    void rootOptions();
    void fourHundredThousandBytesAreReadWhole();
};

void tst_OptionDatabase::matching_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<std::optional<WidgetClass>>("widget");  // none: the root window
    QTest::addColumn<QByteArray>("option");
    QTest::addColumn<QByteArray>("expected");                // "-": no entry applies

    const std::optional<WidgetClass> root;
    const std::optional<WidgetClass> button = WidgetClass::Button;
    const std::optional<WidgetClass> label = WidgetClass::Label;
    QTest::newRow("loose class pattern") << QByteArray("*Button.foreground: red\n") << button << QByteArray("foreground") << QByteArray("red");
    QTest::newRow("a later loose entry beats a tighter one") << QByteArray("*Button.foreground: red\n*foreground: blue\n") << button << QByteArray("foreground") << QByteArray("blue");
    QTest::newRow("a later tight entry beats a looser one") << QByteArray("*foreground: blue\n*Button.foreground: red\n") << button << QByteArray("foreground") << QByteArray("red");
    QTest::newRow("a later option class beats its name") << QByteArray("*foreground: blue\n*Foreground: green\n") << button << QByteArray("foreground") << QByteArray("green");
    QTest::newRow("the same pattern again replaces it") << QByteArray("*Button.foreground: red\n*Button.foreground: blue\n") << button << QByteArray("foreground") << QByteArray("blue");
    QTest::newRow("root by its class") << QByteArray("Tk.background: red\n") << root << QByteArray("background") << QByteArray("red");
    QTest::newRow("root's tight entry is not its children's") << QByteArray("Tk.background: red\n") << button << QByteArray("background") << QByteArray("-");
    QTest::newRow("root by tkinter's name for it") << QByteArray("tk.background: red\n") << root << QByteArray("background") << QByteArray("red");
    QTest::newRow("the script's name is not the root's") << QByteArray("myprogram.background: red\n") << root << QByteArray("background") << QByteArray("-");
    QTest::newRow("loose below the root's name") << QByteArray("tk*background: red\n") << button << QByteArray("background") << QByteArray("red");
    QTest::newRow("tight chain to the button") << QByteArray("Tk.Button.foreground: red\n") << button << QByteArray("foreground") << QByteArray("red");
    QTest::newRow("tight chain to another class") << QByteArray("Tk.Button.foreground: red\n") << label << QByteArray("foreground") << QByteArray("-");
    QTest::newRow("a loose option below its widget") << QByteArray("*Button*foreground: red\n") << button << QByteArray("foreground") << QByteArray("red");
    QTest::newRow("loose widget pattern reaches the root too") << QByteArray("*background: red\n") << root << QByteArray("background") << QByteArray("red");
    QTest::newRow("a lower-case class is a name") << QByteArray("*button.foreground: red\n") << button << QByteArray("foreground") << QByteArray("-");
    QTest::newRow("widgets' names are not known") << QByteArray("*!button.foreground: red\n") << button << QByteArray("foreground") << QByteArray("-");
    QTest::newRow("question mark is no wildcard") << QByteArray("*?.foreground: red\n?.foreground: red\n") << button << QByteArray("foreground") << QByteArray("-");
    QTest::newRow("star dot makes an empty field") << QByteArray("*.foreground: red\n**foreground: red\n") << button << QByteArray("foreground") << QByteArray("-");
    QTest::newRow("a bare option name matches nothing") << QByteArray("foreground: red\n") << root << QByteArray("foreground") << QByteArray("-");
    QTest::newRow("more fields than windows") << QByteArray("*a*b*Button.foreground: red\n") << button << QByteArray("foreground") << QByteArray("-");
    QTest::newRow("thousands of fields, and the next entry") << QByteArray("*" + QByteArray("a.").repeated(5000) + "Button.foreground: red\n*Button.foreground: blue\n") << button << QByteArray("foreground") << QByteArray("blue");
    QTest::newRow("overlong field") << QByteArray("*" + QByteArray(150, 'B') + ".foreground: red\n") << button << QByteArray("foreground") << QByteArray("-");
    QTest::newRow("comment continued over a line") << QByteArray("! note \\\n*Button.foreground: red\n") << button << QByteArray("foreground") << QByteArray("-");
    QTest::newRow("hash line is a comment") << QByteArray("#include <x>\n*Button.foreground: red\n") << button << QByteArray("foreground") << QByteArray("red");
    QTest::newRow("a line without colon ends the reading") << QByteArray("*Label.foreground: red\nbroken\n*Button.foreground: red\n") << button << QByteArray("foreground") << QByteArray("-");
    QTest::newRow("entries before that line stay") << QByteArray("*Label.foreground: red\nbroken\n*Button.foreground: red\n") << label << QByteArray("foreground") << QByteArray("red");
    QTest::newRow("unfinished last line is not added") << QByteArray("*Button.foreground: red") << button << QByteArray("foreground") << QByteArray("-");
    QTest::newRow("a NUL ends the text") << QByteArray("*Label.foreground: red\n") + '\0' + "*Button.foreground: red\n" << button << QByteArray("foreground") << QByteArray("-");
    QTest::newRow("value escapes") << QByteArray("*Button.text: a\\nb\\\\c\\101\n") << button << QByteArray("text") << QByteArray("a\nb\\cA");
    QTest::newRow("value joined over a line") << QByteArray("*Button.foreground: re\\\nd\n") << button << QByteArray("foreground") << QByteArray("red");
    QTest::newRow("a value's trailing blanks stay") << QByteArray("*Button.foreground: red  \n") << button << QByteArray("foreground") << QByteArray("red  ");
    QTest::newRow("control characters in a pattern") << QByteArray("\x01*\x1b[31m.foreground: red\n*Button.foreground: blue\n") << button << QByteArray("foreground") << QByteArray("blue");
}

void tst_OptionDatabase::matching()
{
    QFETCH(QByteArray, text);
    QFETCH(std::optional<WidgetClass>, widget);
    QFETCH(QByteArray, option);
    QFETCH(QByteArray, expected);
    const OptionDatabase database = OptionDatabase::fromText(text);
    QByteArray optionClass = option;
    optionClass[0] = char(std::toupper(optionClass[0]));
    QCOMPARE(database.value(pathOf(widget), option, optionClass).value_or("-"), expected);
}

void tst_OptionDatabase::colours_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QColor>("shown");  // invalid: Tk rejects it
    QTest::newRow("three digits are repeated") << QByteArray("#abc") << QColor(0xaa, 0xbb, 0xcc);
    QTest::newRow("six digits") << QByteArray("#e0e0ff") << QColor(0xe0, 0xe0, 0xff);
    QTest::newRow("nine digits") << QByteArray("#123456789") << QColor(0x12, 0x45, 0x78);
    QTest::newRow("twelve digits show their top byte") << QByteArray("#12ff80800000") << QColor(0x12, 0x80, 0x00);
    QTest::newRow("five digits") << QByteArray("#12345") << QColor();
    QTest::newRow("thirteen digits") << QByteArray("#1234567890abc") << QColor();
    QTest::newRow("not hex") << QByteArray("#ggg") << QColor();
    QTest::newRow("green is the web's") << QByteArray("green") << QColor(0x00, 0x80, 0x00);
    QTest::newRow("grey in any case") << QByteArray("GrEy") << QColor(0x80, 0x80, 0x80);
    QTest::newRow("web colour in capitals") << QByteArray("AQUA") << QColor(0x00, 0xff, 0xff);
    QTest::newRow("longer name goes to the server") << QByteArray("gray50") << QColor(0x7f, 0x7f, 0x7f);
    QTest::newRow("server's name") << QByteArray("red") << QColor(0xff, 0x00, 0x00);
    QTest::newRow("unknown name") << QByteArray("nosuchcolour") << QColor();
    QTest::newRow("trailing blank") << QByteArray("red ") << QColor();
    QTest::newRow("empty") << QByteArray() << QColor();
    QTest::newRow("a hundred characters are not asked for") << QByteArray(100, 'r') << QColor();
}

void tst_OptionDatabase::colours()
{
    QFETCH(QByteArray, text);
    QFETCH(QColor, shown);
    const std::optional<QRgba64> colour = parseColour(text, serverColour);
    QCOMPARE(colour ? shownColour(*colour) : QColor(), shown);
}

void tst_OptionDatabase::distances_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<std::optional<int>>("pixels");
    QTest::newRow("pixels") << QByteArray("2") << std::optional<int>(2);
    QTest::newRow("fraction rounds") << QByteArray("1.6") << std::optional<int>(2);
    QTest::newRow("negative fraction rounds away") << QByteArray("-1.5") << std::optional<int>(-2);
    QTest::newRow("points") << QByteArray("2p") << std::optional<int>(3);
    QTest::newRow("millimetres") << QByteArray("3m") << std::optional<int>(11);
    QTest::newRow("centimetres") << QByteArray("0.4c") << std::optional<int>(15);
    QTest::newRow("inches") << QByteArray("1i") << std::optional<int>(96);
    QTest::newRow("blank before the unit") << QByteArray("2 p") << std::optional<int>(3);
    QTest::newRow("what follows the unit is not read") << QByteArray("2px") << std::optional<int>(3);
    QTest::newRow("hex number") << QByteArray("0x10") << std::optional<int>(16);
    QTest::newRow("large") << QByteArray("100000") << std::optional<int>(100000);
    QTest::newRow("too large for an int") << QByteArray("1e300") << std::optional<int>(INT_MIN);
    QTest::newRow("not a number") << QByteArray("abc") << std::optional<int>();
    QTest::newRow("unknown unit") << QByteArray("2q") << std::optional<int>();
    QTest::newRow("empty") << QByteArray() << std::optional<int>();
}

void tst_OptionDatabase::distances()
{
    QFETCH(QByteArray, text);
    QFETCH(std::optional<int>, pixels);
    QCOMPARE(parseScreenDistance(text, Screen), pixels);
}

void tst_OptionDatabase::words()
{
    const QList<QByteArrayView> reliefs{"flat", "groove", "raised", "ridge", "solid", "sunken"};
    QCOMPARE(parseTableIndex("sunken", reliefs), std::optional<int>(5));
    QCOMPARE(parseTableIndex("su", reliefs), std::optional<int>(5));
    QCOMPARE(parseTableIndex("ri", reliefs), std::optional<int>(3));
    QCOMPARE(parseTableIndex("r", reliefs), std::optional<int>());      // raised or ridge
    QCOMPARE(parseTableIndex("", reliefs), std::optional<int>());
    QCOMPARE(parseTableIndex("Flat", reliefs), std::optional<int>());   // case counts
    QCOMPARE(parseBoolean("0"), std::optional<bool>(false));
    QCOMPARE(parseBoolean("2.5"), std::optional<bool>(true));
    QCOMPARE(parseBoolean("Yes"), std::optional<bool>(true));
    QCOMPARE(parseBoolean("of"), std::optional<bool>(false));
    QCOMPARE(parseBoolean("o"), std::optional<bool>());                 // on or off
    QCOMPARE(parseBoolean("nope"), std::optional<bool>());
    QCOMPARE(parseInteger(" 3 "), std::optional<int>(3));
    QCOMPARE(parseInteger("010"), std::optional<int>(8));                // Tcl 8.6 reads octal
    QCOMPARE(parseInteger("0x1f"), std::optional<int>(31));
    QCOMPARE(parseInteger("1.5"), std::optional<int>());
    QCOMPARE(parseInteger("99999999999"), std::optional<int>());
}

void tst_OptionDatabase::widgetOptions_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<WidgetClass>("widget");
    QTest::addColumn<QString>("expected");
    // Each row shows: foreground, active background, active foreground, border, highlight, padX, padY,
    // relief, anchor, select colour.
    QTest::newRow("button's defaults") << QByteArray() << WidgetClass::Button << "#000000 #ececec #000000 1 1 11 4 2 8 -";
    QTest::newRow("label's defaults") << QByteArray() << WidgetClass::Label << "#000000 #ececec #000000 1 0 1 1 0 6 -";
    QTest::newRow("check button's defaults") << QByteArray() << WidgetClass::Checkbutton << "#000000 #ececec #000000 1 1 1 1 0 6 #ffffff";
    QTest::newRow("*Foreground sets the active background too") << QByteArray("*Foreground: red\n") << WidgetClass::Button << "#ff0000 #ff0000 #000000 1 1 11 4 2 8 -";
    QTest::newRow("*Background sets the active foreground") << QByteArray("*Background: red\n") << WidgetClass::Label << "#000000 #ececec #ff0000 1 0 1 1 0 6 -";
    QTest::newRow("a rejected value keeps the default") << QByteArray("*Button.relief: bogus\n*Button.borderWidth: thick\n") << WidgetClass::Button << "#000000 #ececec #000000 1 1 11 4 2 8 -";
    QTest::newRow("negative distances are 0") << QByteArray("*Label.borderWidth: -3\n*Label.padX: -1m\n") << WidgetClass::Label << "#000000 #ececec #000000 0 0 0 1 0 6 -";
    QTest::newRow("the program's anchor wins") << QByteArray("*anchor: se\n") << WidgetClass::Label << "#000000 #ececec #000000 1 0 1 1 0 6 -";
    QTest::newRow("the button takes the anchor") << QByteArray("*anchor: se\n") << WidgetClass::Button << "#000000 #ececec #000000 1 1 11 4 2 3 -";
    QTest::newRow("an empty select colour is none") << QByteArray("*selectColor:\n") << WidgetClass::Radiobutton << "#000000 #ececec #000000 1 1 1 1 0 6 -";
}

void tst_OptionDatabase::widgetOptions()
{
    QFETCH(QByteArray, text);
    QFETCH(WidgetClass, widget);
    QFETCH(QString, expected);
    const OptionDatabase database = OptionDatabase::fromText(text);
    const WidgetOptions o = resolveOptions(widget, lookupIn(database, widget), Screen, serverColour);
    const QString shown = QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10")
                              .arg(shownColour(o.foreground).name(), shownColour(o.activeBackground).name(),
                                   shownColour(o.activeForeground).name())
                              .arg(o.borderWidth).arg(o.highlightThickness).arg(o.padX).arg(o.padY)
                              .arg(int(o.relief)).arg(int(o.anchor))
                              .arg(o.selectColor ? shownColour(*o.selectColor).name() : QStringLiteral("-"));
    QCOMPARE(shown, expected);
}

void tst_OptionDatabase::rootOptions_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("expected");
    // Each row shows: border, highlight, padX, padY, relief, highlight background; and where the root
    // places its children from, as Tk placed a label at x=10, y=10.
    QTest::newRow("Tk's defaults") << QByteArray() << "0 0 0 0 0 #d9d9d9 0,0";
    QTest::newRow("loose entries reach the root") << QByteArray("*borderWidth: 2\n*padX: 3\n*relief: sunken\n") << "2 0 3 0 5 #d9d9d9 5,2";
    QTest::newRow("ring, border and padding add up") << QByteArray("Tk.borderWidth: 4\nTk.highlightThickness: 3\n*padX: 3\n*padY: 5\n*highlightBackground: #ffa500\n") << "4 3 3 5 0 #ffa500 10,12";
    QTest::newRow("a negative border is kept") << QByteArray("Tk.borderWidth: -3\nTk.highlightThickness: 5\nTk.padX: 1\n") << "-3 5 1 0 0 #d9d9d9 3,2";
    QTest::newRow("a border more negative than the rest leaves 0") << QByteArray("Tk.borderWidth: -10\nTk.padX: 3\n") << "-10 0 3 0 0 #d9d9d9 0,0";
    QTest::newRow("negative ring and padding are 0") << QByteArray("Tk.padX: -5\nTk.padY: -1\nTk.highlightThickness: -2\n") << "0 0 0 0 0 #d9d9d9 0,0";
    QTest::newRow("points, centimetres, fractions") << QByteArray("Tk.borderWidth: 2p\nTk.padX: 0.4c\nTk.padY: 2.6\n") << "3 0 15 3 0 #d9d9d9 18,6";
    QTest::newRow("a ring too large for an int is 0") << QByteArray("Tk.highlightThickness: 1e300\n") << "0 0 0 0 0 #d9d9d9 0,0";
    QTest::newRow("a sum past an int's wraps, and is 0 below it") << QByteArray("Tk.borderWidth: 2147483647\nTk.padX: 1\n") << "2147483647 0 1 0 0 #d9d9d9 0,2147483647";
    QTest::newRow("padding past 16 bits is kept") << QByteArray("Tk.padX: 65536\n") << "0 0 65536 0 0 #d9d9d9 65536,0";
    // Tk() itself fails on these; the design shows Tk's defaults.
    QTest::newRow("rejected values keep the defaults") << QByteArray("Tk.relief: s\nTk.borderWidth: abc\nTk.highlightBackground: bogus\n") << "0 0 0 0 0 #d9d9d9 0,0";
}

void tst_OptionDatabase::rootOptions()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, expected);
    const OptionDatabase database = OptionDatabase::fromText(text);
    const RootOptions o = resolveRootOptions(lookupIn(database, std::nullopt), Screen, serverColour);
    const QPoint origin = childOriginOf(o);
    const QString shown = QStringLiteral("%1 %2 %3 %4 %5 %6 %7,%8")
                              .arg(o.borderWidth).arg(o.highlightThickness).arg(o.padX).arg(o.padY).arg(int(o.relief))
                              .arg(shownColour(o.highlightBackground).name()).arg(origin.x()).arg(origin.y());
    QCOMPARE(shown, expected);
}

// Tk reads up to 400,000 bytes of RESOURCE_MANAGER, and so many entries, to the last.
void tst_OptionDatabase::fourHundredThousandBytesAreReadWhole()
{
    QByteArray text;
    for (int i = 0; text.size() < 400000; ++i)
        text += "*Filler" + QByteArray::number(i) + "*Button.background: #123456\n";
    text += "*Button.background: #654321\n";
    const OptionDatabase database = OptionDatabase::fromText(text);
    QVERIFY(database.size() > 10000);
    QCOMPARE(database.value(pathOf(WidgetClass::Button), "background", "Background"), QByteArray("#654321"));
    QCOMPARE(database.value(pathOf(WidgetClass::Button), "foreground", "Foreground"), std::nullopt);
}

QTEST_APPLESS_MAIN(tst_OptionDatabase)
#include "tst_optiondatabase.moc"
