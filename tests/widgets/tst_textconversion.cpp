#include "widgets/fontvalue.h"
#include "widgets/textconversion.h"

#include <QtTest>

using namespace widgets;

class tst_TextConversion : public QObject
{
    Q_OBJECT

private slots:
    void textToInteger_data();
    void textToInteger();
    void integerToText_data();
    void integerToText();
    void fontSizes_data();
    void fontSizes();
    void mulDivRoundsHalvesAwayFromZero_data();
    void mulDivRoundsHalvesAwayFromZero();
    void acceptedFace_data();
    void acceptedFace();
};

void tst_TextConversion::textToInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("full-width one two three") << QStringLiteral("１２３") << 123;
    QTest::newRow("blank, 42, letters") << QStringLiteral(" 42abc") << 42;
    QTest::newRow("letters only") << QStringLiteral("abc") << 0;
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("unit after number") << QStringLiteral("12px") << 12;
    QTest::newRow("negative") << QStringLiteral("-5") << -5;
    QTest::newRow("plus sign") << QStringLiteral("+7") << 7;
    QTest::newRow("sign alone") << QStringLiteral("-") << 0;
    QTest::newRow("two signs") << QStringLiteral("--3") << 0;
    QTest::newRow("full-width minus") << QStringLiteral("－２０") << -20;
    QTest::newRow("ideographic space before digits") << QStringLiteral("\u3000１５０") << 150;
    QTest::newRow("tabs and line ends are blanks") << QStringLiteral("\t\r\n 9") << 9;
    QTest::newRow("blank between sign and digits") << QStringLiteral("- 9") << 0;
    QTest::newRow("chinese digits are not digits") << QStringLiteral("一二三") << 0;
    QTest::newRow("emoji after digits") << QStringLiteral("8😀") << 8;
    QTest::newRow("beyond 32 bits saturates high") << QStringLiteral("99999999999999999999") << 2147483647;
    QTest::newRow("beyond 32 bits saturates low") << QStringLiteral("-99999999999999999999") << (-2147483647 - 1);
    QTest::newRow("largest int") << QStringLiteral("2147483647") << 2147483647;
    QTest::newRow("smallest int") << QStringLiteral("-2147483648") << (-2147483647 - 1);
    QTest::newRow("leading zeros") << QStringLiteral("007") << 7;
    QTest::newRow("number after dot is not read") << QStringLiteral("12.按钮") << 12;
}

void tst_TextConversion::textToInteger()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(widgets::textToInteger(text), value);
}

void tst_TextConversion::integerToText_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0 << QStringLiteral("0");
    QTest::newRow("negative") << -32627 << QStringLiteral("-32627");
    QTest::newRow("positive") << 120 << QStringLiteral("120");
}

void tst_TextConversion::integerToText()
{
    QFETCH(int, value);
    QFETCH(QString, text);
    QCOMPARE(widgets::integerToText(value), text);
}

void tst_TextConversion::fontSizes_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("pointsBack");
    QTest::newRow("9 pt at 96 dpi") << 9 << 96 << -12 << 9;
    QTest::newRow("12 pt at 96 dpi") << 12 << 96 << -16 << 12;
    QTest::newRow("0 pt") << 0 << 96 << 0 << 0;
    QTest::newRow("negative size is 0") << -3 << 96 << 0 << 0;
    QTest::newRow("11 pt rounds height up") << 11 << 96 << -15 << 11;
    QTest::newRow("9 pt at 120 dpi") << 9 << 120 << -15 << 9;
    QTest::newRow("10 pt at 144 dpi") << 10 << 144 << -20 << 10;
    QTest::newRow("too large for a height saturates") << 2000000000 << 96 << -2147483647 << 1610612735;
}

void tst_TextConversion::fontSizes()
{
    QFETCH(int, points);
    QFETCH(int, dpi);
    QFETCH(int, height);
    QFETCH(int, pointsBack);
    QCOMPARE(heightForPoints(points, dpi), height);
    QCOMPARE(pointsForHeight(height, dpi), pointsBack);
}

void tst_TextConversion::mulDivRoundsHalvesAwayFromZero_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("c");
    QTest::addColumn<int>("result");
    QTest::newRow("exact") << 12 << 72 << 96 << 9;
    QTest::newRow("half rounds up") << 1 << 3 << 2 << 2;
    QTest::newRow("negative half rounds down") << -1 << 3 << 2 << -2;
    QTest::newRow("below half rounds down") << 13 << 72 << 96 << 10;
    QTest::newRow("division by zero") << 1 << 1 << 0 << -1;
    QTest::newRow("overflowing result") << 2147483647 << 2147483647 << 1 << -1;
}

void tst_TextConversion::mulDivRoundsHalvesAwayFromZero()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, c);
    QFETCH(int, result);
    QCOMPARE(mulDiv(a, b, c), result);
}

void tst_TextConversion::acceptedFace_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("accepted");
    QTest::newRow("ordinary") << QStringLiteral("Arial") << QStringLiteral("Arial");
    QTest::newRow("empty") << QString() << QStringLiteral("宋体");
    QTest::newRow("31 bytes kept") << QString(31, QLatin1Char('a')) << QString(31, QLatin1Char('a'));
    QTest::newRow("32 bytes refused") << QString(32, QLatin1Char('a')) << QStringLiteral("宋体");
    QTest::newRow("15 Chinese characters are 30 bytes") << QString(15, QChar(0x5B8B)) << QString(15, QChar(0x5B8B));
    QTest::newRow("16 Chinese characters are 32 bytes") << QString(16, QChar(0x5B8B)) << QStringLiteral("宋体");
    // An emoji takes four bytes in GB18030: seven of them and a letter are 29 bytes, eight are 32.
    QTest::newRow("emoji counted by their bytes") << QString(QStringLiteral("😀")).repeated(7) + QLatin1Char('a')
                                                  << QString(QStringLiteral("😀")).repeated(7) + QLatin1Char('a');
    QTest::newRow("eight emoji refused") << QString(QStringLiteral("😀")).repeated(8) << QStringLiteral("宋体");
    // GB18030 cannot encode a lone surrogate; one at the very end is held back as the start of a pair.
    QTest::newRow("lone surrogate refused") << QStringLiteral("a") + QChar(0xD83D) + QStringLiteral("b") << QStringLiteral("宋体");
    QTest::newRow("lone surrogate at the end") << QStringLiteral("ab") + QChar(0xD83D) << QStringLiteral("ab") + QChar(0xD83D);
    QTest::newRow("very long") << QString(100000, QLatin1Char('x')) << QStringLiteral("宋体");
    QTest::newRow("a minus alone") << QStringLiteral("-") << QStringLiteral("宋体");
    QTest::newRow("reads as a font option") << QStringLiteral("-weight") << QStringLiteral("宋体");
    QTest::newRow("minus inside is fine") << QStringLiteral("Noto-Sans") << QStringLiteral("Noto-Sans");
}

void tst_TextConversion::acceptedFace()
{
    QFETCH(QString, face);
    QFETCH(QString, accepted);
    QCOMPARE(widgets::acceptedFace(face), accepted);
}

QTEST_GUILESS_MAIN(tst_TextConversion)
#include "tst_textconversion.moc"
