#include "widgets/displaychoice.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using widgets::DisplayEnvironment;

class tst_DisplayChoice : public QObject
{
    Q_OBJECT

private slots:
    void choosePlatform_data();
    void choosePlatform();
    void startWithoutDisplayExitsWithMessage_data();
    void startWithoutDisplayExitsWithMessage();
};

void tst_DisplayChoice::choosePlatform_data()
{
    QTest::addColumn<QByteArray>("requested");
    QTest::addColumn<bool>("x");
    QTest::addColumn<bool>("wayland");
    QTest::addColumn<bool>("plugin");
    QTest::addColumn<QByteArray>("chosen");   // empty: no start
    // Tk draws on the X server: so does the design, also in a Wayland session.
    QTest::newRow("X only") << QByteArray() << true << false << true << QByteArray("xcb");
    QTest::newRow("Wayland session with XWayland") << QByteArray() << true << true << true << QByteArray("xcb");
    QTest::newRow("Wayland without X") << QByteArray() << false << true << true << QByteArray("wayland");
    QTest::newRow("Wayland without Qt's plugin") << QByteArray() << false << true << false << QByteArray();
    QTest::newRow("nothing answers") << QByteArray() << false << false << true << QByteArray();
    QTest::newRow("the user's wayland is kept") << QByteArray("wayland") << true << true << true << QByteArray("wayland");
    QTest::newRow("requested xcb without X") << QByteArray("xcb") << false << true << true << QByteArray();
    QTest::newRow("a list: the first that can start") << QByteArray("wayland;xcb") << true << false << true
                                                        << QByteArray("wayland;xcb");
    QTest::newRow("options after the name") << QByteArray("xcb:foo=1") << true << false << true << QByteArray("xcb:foo=1");
    QTest::newRow("offscreen needs no display") << QByteArray("offscreen") << false << false << false
                                                << QByteArray("offscreen");
    QTest::newRow("an empty entry is nothing") << QByteArray(";;") << false << false << false << QByteArray();
}

void tst_DisplayChoice::choosePlatform()
{
    QFETCH(QByteArray, requested);
    QFETCH(bool, x);
    QFETCH(bool, wayland);
    QFETCH(bool, plugin);
    QFETCH(QByteArray, chosen);
    const std::optional<QByteArray> choice = widgets::choosePlatform(DisplayEnvironment{requested, x, wayland, plugin});
    QCOMPARE(choice.value_or(QByteArray()), chosen);
}

void tst_DisplayChoice::startWithoutDisplayExitsWithMessage_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("waylandDisplay");
    QTest::addColumn<QString>("platform");
    QTest::newRow("no display at all") << QString() << QString() << QString();
    QTest::newRow("DISPLAY names no server") << QStringLiteral(":9987") << QString() << QString();
    QTest::newRow("WAYLAND_DISPLAY names no compositor") << QString() << QStringLiteral("wayland-none") << QString();
    QTest::newRow("xcb asked for, no server") << QString() << QString() << QStringLiteral("xcb");
}

// The program itself, as a user starts it from a text console.
void tst_DisplayChoice::startWithoutDisplayExitsWithMessage()
{
    QFETCH(QString, display);
    QFETCH(QString, waylandDisplay);
    QFETCH(QString, platform);
    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    if (!display.isEmpty())
        environment.insert(QStringLiteral("DISPLAY"), display);
    if (!waylandDisplay.isEmpty())
        environment.insert(QStringLiteral("WAYLAND_DISPLAY"), waylandDisplay);
    if (!platform.isEmpty())
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    QProcess designer;
    designer.setProcessEnvironment(environment);
    designer.start(QStringLiteral(KESTRIGAN_BINARY), {});
    QVERIFY(designer.waitForFinished(20000));
    QCOMPARE(designer.exitStatus(), QProcess::NormalExit);
    QCOMPARE(designer.exitCode(), 1);
    const QString said = QString::fromUtf8(designer.readAllStandardError());
    QVERIFY2(said.startsWith(QStringLiteral("Kestrigan 无法启动: 没有可用的显示。")), qPrintable(said));
    if (!display.isEmpty())
        QVERIFY2(said.contains(display), qPrintable(said));
}

QTEST_GUILESS_MAIN(tst_DisplayChoice)
#include "tst_displaychoice.moc"
