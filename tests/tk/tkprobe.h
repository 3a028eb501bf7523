#pragma once
#include <QByteArray>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QProcess;
class QTemporaryDir;
class QTemporaryFile;

// Test helpers that let the real Python interpreter and the real Tk judge generated programs.
// Everything runs Debian's /usr/bin/python3 (the one with tkinter) with timeouts, and reports a
// missing tool as an error naming it, so a test can fail with that message instead of skipping.
namespace tktest {

// The screen of an Xvfb server: 1920 x 1080 at a resolution (none: the server's own default), and
// the Xft.dpi resource that desktops set when the user picks a scale or a text size, if any, and a
// user's resource database.
struct ScreenSettings
{
    std::optional<int> dotsPerInch = 96;  // 96 makes 9 points 12 pixels, as on the screens the designer was made for
    std::optional<int> xftDotsPerInch;
    QByteArray resources;                 // merged as `xrdb -nocpp -merge` merges a ~/.Xresources
    QByteArray resourceProperty;          // the RESOURCE_MANAGER property's bytes, set as they are, as any client may
};

// An Xvfb server on a free display for as long as the object lives. Start-up waits until the
// server accepts connections (Xvfb tells us through -displayfd), for at most a few seconds.
class XvfbServer
{
public:
    explicit XvfbServer(const ScreenSettings &screen = {});
    ~XvfbServer();
    XvfbServer(const XvfbServer &) = delete;
    XvfbServer &operator=(const XvfbServer &) = delete;

    bool isRunning() const;
    // Why the server is not running; empty while it runs.
    QString error() const { return m_error; }
    // The display name to put into DISPLAY, e.g. ":91"; empty if the server did not start.
    QString display() const { return m_display; }

private:
    bool tryDisplay(int number, QString *failure);
    bool mergeResources(const QByteArray &resources, QString *failure);
    bool setResourceProperty(const QByteArray &bytes, QString *failure);

    ScreenSettings m_screen;

    std::unique_ptr<QProcess> m_process;
    std::unique_ptr<QTemporaryFile> m_log;
    QString m_display;
    QString m_error;
};

struct TkWidgetInfo
{
    QString tkClass;            // winfo_class(): Label, Entry, Button, Radiobutton, Checkbutton
    int x = 0;                  // relative to the root window's client area
    int y = 0;
    int width = 0;
    int height = 0;
    std::optional<QString> text; // no value for widgets without a text option (Entry)
    QString font;               // the font option as Tcl holds it, e.g. "微软雅黑 9"
    QString fontFamily;         // the family Tk actually chose for it
    int fontSize = 0;           // its size as Tk resolved it: points, or negative pixels
    QString fontFace;           // the face as the program wrote it, when the font is a (face, size) pair
    std::optional<int> fontPoints; // the size as the program wrote it, likewise
    bool mapped = false;        // on the screen; the placer leaves a widget of zero width or height off it
    std::optional<QRect> placed; // x, y, width and height as the placer was given them
    QString variable;           // the program variable assigned on the creating line, if any
};

struct TkWindowInfo
{
    QString title;
    int width = 0;              // client area
    int height = 0;
    QString geometry;           // wm geometry, e.g. "400x300+100+100"
    bool mainloopCalled = false; // the program asked for the main loop (which the probe skips)
    QList<TkWidgetInfo> widgets; // the root's children in creation order
};

struct TkRun
{
    bool ok = false;
    QString error;              // why not ok: the syntax error with its line, the exception, ...
    TkWindowInfo info;
};

// The interpreter every helper runs.
QString pythonExecutable();

// Runs the program (written out as UTF-8 bytes exactly as given, line ends kept) in Tk on the
// display, without its main loop, and reads back the window it built.
TkRun runInTk(const QString &programText, const QString &display);

// The same for many programs in one Python process, each in a fresh Tk root; one result per
// program, in order. Much faster than one process per program for large sweeps.
QList<TkRun> runManyInTk(const QStringList &programs, const QString &display);

// One Python with Tk that runs programs one at a time as they come, each in a fresh Tk root, for
// tests that make their programs one by one. Much faster than runInTk per program. A program
// that hangs or kills the interpreter is reported, and the next run starts a new interpreter.
class TkSession
{
public:
    explicit TkSession(const QString &display);
    ~TkSession();
    TkSession(const TkSession &) = delete;
    TkSession &operator=(const TkSession &) = delete;

    TkRun run(const QString &programText);

private:
    QString start();
    void stop();

    QString m_display;
    std::unique_ptr<QProcess> m_process;
    std::unique_ptr<QTemporaryDir> m_directory;
    QByteArray m_received;
    int m_programs = 0;
};

// Empty if the program compiles; otherwise the error, e.g.
// "SyntaxError at line 4, column 20: unterminated string literal ...".
QString compilesInPython(const QString &programText);

// The text that a Python string literal (as it would stand in a program file) evaluates to,
// exact to the UTF-16 unit, so CR, LF, lone surrogates and emoji survive. A null QString when
// the literal does not evaluate to a str; the reason then goes to *error.
QString evaluatePythonLiteral(const QString &literal, QString *error = nullptr);

} // namespace tktest
