#include "tkprobe.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtEndian>

#include <csignal>
#include <sys/prctl.h>

namespace tktest {

namespace {

constexpr int SingleProgramTimeoutMs = 20000;
// Handed to tkprobe.py: a program that runs longer than this is reported, and the next one runs.
constexpr int ProgramTimeoutSeconds = 10;
constexpr int PythonCheckTimeoutMs = 10000;
constexpr int FirstDisplay = 91;

// Runs in the child before exec: a test killed by its timeout must not leave Xvfb or Python behind.
void dieWithParent()
{
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
}

QString tkprobeScript()
{
    return QStringLiteral(KESTRIGAN_TKPROBE);
}

struct ProcessResult
{
    bool ran = false;           // started and exited on its own within the time
    int exitCode = -1;
    QByteArray out;
    QString err;
    QString failure;            // why it did not run, when !ran
};

// Runs /usr/bin/python3 in isolated UTF-8 mode, so neither the user's site packages nor the
// locale change what it reads or prints.
ProcessResult runPython(const QStringList &arguments, const QByteArray &input, int timeoutMs,
                        const QString &display = {})
{
    ProcessResult result;
    const QString python = pythonExecutable();
    if (!QFileInfo(python).isExecutable()) {
        result.failure = QStringLiteral("%1 not found: install the python3 and python3-tk packages "
                                        "(scripts/setup.sh --tests)").arg(python);
        return result;
    }
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!display.isEmpty())
        environment.insert(QStringLiteral("DISPLAY"), display);
    process.setProcessEnvironment(environment);
    process.setChildProcessModifier(dieWithParent);
    process.start(python, QStringList{QStringLiteral("-I"), QStringLiteral("-X"), QStringLiteral("utf8")}
                              + arguments);
    if (!process.waitForStarted(5000)) {
        result.failure = QStringLiteral("could not start %1: %2").arg(python, process.errorString());
        return result;
    }
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(2000);
        result.failure = QStringLiteral("%1 %2 did not finish within %3 s")
                             .arg(python, arguments.join(QLatin1Char(' '))).arg(timeoutMs / 1000);
        return result;
    }
    result.out = process.readAllStandardOutput();
    result.err = QString::fromUtf8(process.readAllStandardError()).trimmed();
    if (process.exitStatus() != QProcess::NormalExit) {
        result.failure = QStringLiteral("%1 crashed: %2").arg(python, result.err);
        return result;
    }
    result.ran = true;
    result.exitCode = process.exitCode();
    return result;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

TkWindowInfo windowFromJson(const QJsonObject &object)
{
    TkWindowInfo window;
    window.title = object.value(u"title").toString();
    window.width = object.value(u"width").toInt();
    window.height = object.value(u"height").toInt();
    window.geometry = object.value(u"geometry").toString();
    window.mainloopCalled = object.value(u"mainloopCalled").toBool();
    const QJsonArray widgets = object.value(u"widgets").toArray();
    for (const QJsonValue &value : widgets) {
        const QJsonObject w = value.toObject();
        TkWidgetInfo widget;
        widget.tkClass = w.value(u"tkClass").toString();
        widget.x = w.value(u"x").toInt();
        widget.y = w.value(u"y").toInt();
        widget.width = w.value(u"width").toInt();
        widget.height = w.value(u"height").toInt();
        if (!w.value(u"text").isNull())
            widget.text = w.value(u"text").toString();
        widget.font = w.value(u"font").toString();
        widget.fontFamily = w.value(u"fontFamily").toString();
        widget.fontSize = w.value(u"fontSize").toInt();
        widget.fontFace = w.value(u"fontFace").toString();
        if (w.value(u"fontPoints").isDouble())
            widget.fontPoints = w.value(u"fontPoints").toInt();
        widget.mapped = w.value(u"mapped").toBool();
        const QJsonObject place = w.value(u"place").toObject();
        if (!place.isEmpty())
            widget.placed = QRect(place.value(u"x").toInt(), place.value(u"y").toInt(),
                                  place.value(u"width").toInt(), place.value(u"height").toInt());
        widget.variable = w.value(u"variable").toString();
        window.widgets.append(widget);
    }
    return window;
}

TkRun failedRun(const QString &error)
{
    TkRun run;
    run.error = error;
    return run;
}

QString describeExit(const ProcessResult &result)
{
    return result.err.isEmpty() ? QStringLiteral("tkprobe.py exited with code %1").arg(result.exitCode)
                                : result.err;
}

} // namespace

// ---- XvfbServer ----

XvfbServer::XvfbServer(const ScreenSettings &screen) : m_screen(screen)
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
        m_error = QStringLiteral("Xvfb not found on PATH: install the xvfb package (scripts/setup.sh --tests)");
        return;
    }
    // Skip displays that look taken; -displayfd then tells us when ours is ready, and a
    // server that loses a race for a number exits at once, so we move on to the next one.
    QString failure;
    int attempts = 0;
    for (int number = FirstDisplay; number < FirstDisplay + 200 && attempts < 10; ++number) {
        if (QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number))
            || QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number)))
            continue;
        ++attempts;
        if (tryDisplay(number, &failure)) {
            QByteArray resources = m_screen.resources;
            if (m_screen.xftDotsPerInch)
                resources += QByteArray("Xft.dpi: ") + QByteArray::number(*m_screen.xftDotsPerInch) + '\n';
            const bool set = (m_screen.resourceProperty.isEmpty() || setResourceProperty(m_screen.resourceProperty, &m_error))
                             && (resources.isEmpty() || mergeResources(resources, &m_error));
            if (!set) {
                m_process->kill();
                m_process->waitForFinished(2000);
                m_display.clear();
            }
            return;
        }
    }
    m_error = QStringLiteral("could not start Xvfb: %1").arg(failure.isEmpty() ? QStringLiteral("no free display")
                                                                                : failure);
}

bool XvfbServer::tryDisplay(int number, QString *failure)
{
    m_log = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/kestrigan-xvfb-XXXXXX.log"));
    if (!m_log->open()) {
        *failure = QStringLiteral("cannot create a log file in %1").arg(QDir::tempPath());
        return false;
    }
    m_process = std::make_unique<QProcess>();
    m_process->setStandardErrorFile(m_log->fileName());
    m_process->setChildProcessModifier(dieWithParent);
    // -noreset: the server would otherwise reset when the last client leaves, and with it the
    // resources that xrdb set.
    QStringList arguments{QStringLiteral(":%1").arg(number), QStringLiteral("-displayfd"), QStringLiteral("1"),
                          QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1920x1080x24"),
                          QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset")};
    if (m_screen.dotsPerInch)
        arguments << QStringLiteral("-dpi") << QString::number(*m_screen.dotsPerInch);
    m_process->start(QStringLiteral("Xvfb"), arguments);
    if (!m_process->waitForStarted(5000)) {
        *failure = m_process->errorString();
        m_process.reset();
        return false;
    }
    QByteArray announced;
    const QDeadlineTimer deadline(10000);
    while (!announced.contains('\n') && !deadline.hasExpired()
           && m_process->state() == QProcess::Running) {
        m_process->waitForReadyRead(100);
        announced += m_process->readAllStandardOutput();
    }
    if (announced.contains('\n')) {
        m_display = QStringLiteral(":%1").arg(QString::fromLatin1(announced.trimmed()));
        m_error.clear();
        return true;
    }
    const bool timedOut = m_process->state() == QProcess::Running;
    if (timedOut) {
        m_process->kill();
        m_process->waitForFinished(2000);
    }
    const QString log = QString::fromLocal8Bit(m_log->readAll()).trimmed();
    *failure = QStringLiteral("Xvfb :%1 %2%3").arg(number)
                   .arg(timedOut ? QStringLiteral("did not become ready within 10 s")
                                 : QStringLiteral("exited with code %1").arg(m_process->exitCode()),
                        log.isEmpty() ? QString() : QStringLiteral(": ") + log.right(600));
    m_process.reset();
    return false;
}

bool XvfbServer::mergeResources(const QByteArray &resources, QString *failure)
{
    if (QStandardPaths::findExecutable(QStringLiteral("xrdb")).isEmpty()) {
        *failure = QStringLiteral("xrdb not found on PATH: install the x11-xserver-utils package (scripts/setup.sh --tests)");
        return false;
    }
    QProcess xrdb;
    xrdb.setChildProcessModifier(dieWithParent);
    xrdb.start(QStringLiteral("xrdb"), {QStringLiteral("-display"), m_display, QStringLiteral("-nocpp"), QStringLiteral("-merge")});
    xrdb.write(resources);
    xrdb.closeWriteChannel();
    if (!xrdb.waitForFinished(10000) || xrdb.exitStatus() != QProcess::NormalExit || xrdb.exitCode() != 0) {
        *failure = QStringLiteral("xrdb could not merge the resources: %1").arg(QString::fromLocal8Bit(xrdb.readAllStandardError()));
        return false;
    }
    return true;
}

// Through Xlib from Python: xprop takes its value on the command line, too short for a large one.
bool XvfbServer::setResourceProperty(const QByteArray &bytes, QString *failure)
{
    const QString script = QStringLiteral(
        "import ctypes, sys\n"
        "x = ctypes.CDLL('libX11.so.6')\n"
        "x.XOpenDisplay.restype = ctypes.c_void_p\n"
        "x.XOpenDisplay.argtypes = [ctypes.c_char_p]\n"
        "x.XDefaultRootWindow.restype = ctypes.c_ulong\n"
        "x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]\n"
        "x.XChangeProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong,\n"
        "                              ctypes.c_int, ctypes.c_int, ctypes.c_char_p, ctypes.c_int]\n"
        "x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]\n"
        "x.XCloseDisplay.argtypes = [ctypes.c_void_p]\n"
        "display = x.XOpenDisplay(sys.argv[1].encode())\n"
        "if not display:\n"
        "    sys.exit('cannot open ' + sys.argv[1])\n"
        "data = sys.stdin.buffer.read()\n"
        "# RESOURCE_MANAGER and STRING are the predefined atoms 23 and 31.\n"
        "x.XChangeProperty(display, x.XDefaultRootWindow(display), 23, 31, 8, 0, data, len(data))\n"
        "x.XSync(display, 0)\n"
        "x.XCloseDisplay(display)\n");
    QProcess python;
    python.setChildProcessModifier(dieWithParent);
    python.start(pythonExecutable(), {QStringLiteral("-c"), script, m_display});
    python.write(bytes);
    python.closeWriteChannel();
    if (!python.waitForFinished(10000) || python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
        *failure = QStringLiteral("could not set RESOURCE_MANAGER: %1").arg(QString::fromLocal8Bit(python.readAllStandardError()));
        return false;
    }
    return true;
}

XvfbServer::~XvfbServer()
{
    if (!m_process || m_process->state() == QProcess::NotRunning)
        return;
    m_process->terminate();
    if (!m_process->waitForFinished(5000)) {
        m_process->kill();
        m_process->waitForFinished(2000);
    }
}

bool XvfbServer::isRunning() const
{
    return m_process && m_process->state() == QProcess::Running && !m_display.isEmpty();
}

// ---- Python and Tk ----

QString pythonExecutable()
{
    // Not the python3 on PATH: that may be a build without tkinter.
    return QStringLiteral("/usr/bin/python3");
}

TkRun runInTk(const QString &programText, const QString &display)
{
    if (!QFileInfo::exists(tkprobeScript()))
        return failedRun(QStringLiteral("tkprobe.py not found at %1").arg(tkprobeScript()));
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("program.py"));
    if (!directory.isValid() || !writeBytes(path, programText.toUtf8()))
        return failedRun(QStringLiteral("cannot write the program to %1").arg(path));

    const ProcessResult result = runPython({tkprobeScript(), QStringLiteral("--timeout"),
                                            QString::number(ProgramTimeoutSeconds), path},
                                           {}, SingleProgramTimeoutMs, display);
    if (!result.ran)
        return failedRun(result.failure);
    if (result.exitCode != 0)
        return failedRun(describeExit(result));
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(result.out, &parseError);
    if (!document.isObject())
        return failedRun(QStringLiteral("tkprobe.py printed no JSON object (%1): %2")
                             .arg(parseError.errorString(), QString::fromUtf8(result.out.left(300))));
    TkRun run;
    run.ok = true;
    run.info = windowFromJson(document.object());
    return run;
}

QList<TkRun> runManyInTk(const QStringList &programs, const QString &display)
{
    if (programs.isEmpty())
        return {};
    QList<TkRun> runs(programs.size(), failedRun(QStringLiteral("tkprobe.py gave no result for this program")));
    auto failAll = [&runs](const QString &error) {
        for (TkRun &run : runs)
            run = failedRun(error);
        return runs;
    };
    if (!QFileInfo::exists(tkprobeScript()))
        return failAll(QStringLiteral("tkprobe.py not found at %1").arg(tkprobeScript()));

    QTemporaryDir directory;
    if (!directory.isValid())
        return failAll(QStringLiteral("cannot create a temporary directory"));
    QHash<QString, qsizetype> indexOfFile;
    for (qsizetype i = 0; i < programs.size(); ++i) {
        // Zero-padded, because tkprobe.py runs the files in name order.
        const QString name = QStringLiteral("%1.py").arg(i, 6, 10, QLatin1Char('0'));
        if (!writeBytes(directory.filePath(name), programs.at(i).toUtf8()))
            return failAll(QStringLiteral("cannot write %1").arg(directory.filePath(name)));
        indexOfFile.insert(name, i);
    }

    const int timeoutMs = SingleProgramTimeoutMs + 2000 * int(programs.size());
    const ProcessResult result = runPython({tkprobeScript(), QStringLiteral("--timeout"),
                                            QString::number(ProgramTimeoutSeconds), QStringLiteral("--batch"),
                                            directory.path()},
                                           {}, timeoutMs, display);
    if (!result.ran)
        return failAll(result.failure);

    for (const QByteArray &line : result.out.split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        const QJsonObject object = QJsonDocument::fromJson(line).object();
        const auto index = indexOfFile.constFind(object.value(u"file").toString());
        if (index == indexOfFile.cend())
            continue;
        TkRun &run = runs[*index];
        run.ok = object.value(u"ok").toBool();
        run.error = run.ok ? QString() : object.value(u"error").toString();
        if (run.ok)
            run.info = windowFromJson(object.value(u"window").toObject());
    }
    if (result.exitCode != 0) {
        // Stopped early (no display, or a fault of its own): say so on every program left without a result.
        for (TkRun &run : runs) {
            if (!run.ok && run.error.startsWith(QStringLiteral("tkprobe.py gave no result")))
                run.error += QStringLiteral(": ") + describeExit(result);
        }
    }
    return runs;
}

// ---- TkSession ----

TkSession::TkSession(const QString &display)
    : m_display(display)
{
}

TkSession::~TkSession()
{
    stop();
}

QString TkSession::start()
{
    if (!QFileInfo::exists(tkprobeScript()))
        return QStringLiteral("tkprobe.py not found at %1").arg(tkprobeScript());
    const QString python = pythonExecutable();
    if (!QFileInfo(python).isExecutable())
        return QStringLiteral("%1 not found: install the python3 and python3-tk packages "
                              "(scripts/setup.sh --tests)").arg(python);
    m_directory = std::make_unique<QTemporaryDir>();
    if (!m_directory->isValid())
        return QStringLiteral("cannot create a temporary directory");
    m_process = std::make_unique<QProcess>();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    m_process->setProcessEnvironment(environment);
    m_process->setChildProcessModifier(dieWithParent);
    m_process->start(python, {QStringLiteral("-I"), QStringLiteral("-X"), QStringLiteral("utf8"), tkprobeScript(),
                              QStringLiteral("--timeout"), QString::number(ProgramTimeoutSeconds),
                              QStringLiteral("--serve")});
    if (!m_process->waitForStarted(5000)) {
        const QString failure = QStringLiteral("could not start %1: %2").arg(python, m_process->errorString());
        m_process.reset();
        return failure;
    }
    m_received.clear();
    return {};
}

void TkSession::stop()
{
    if (!m_process)
        return;
    m_process->closeWriteChannel();
    if (!m_process->waitForFinished(3000)) {
        m_process->kill();
        m_process->waitForFinished(2000);
    }
    m_process.reset();
}

TkRun TkSession::run(const QString &programText)
{
    if (!m_process || m_process->state() != QProcess::Running) {
        stop();
        const QString failure = start();
        if (!failure.isEmpty())
            return failedRun(failure);
    }
    const QString name = QStringLiteral("%1.py").arg(++m_programs, 6, 10, QLatin1Char('0'));
    const QString path = m_directory->filePath(name);
    if (!writeBytes(path, programText.toUtf8()))
        return failedRun(QStringLiteral("cannot write the program to %1").arg(path));
    m_process->write(path.toUtf8() + '\n');

    const QDeadlineTimer deadline(SingleProgramTimeoutMs);
    while (!m_received.contains('\n') && !deadline.hasExpired() && m_process->state() == QProcess::Running) {
        m_process->waitForReadyRead(100);
        m_received += m_process->readAllStandardOutput();
    }
    m_received += m_process->readAllStandardOutput();
    const qsizetype end = m_received.indexOf('\n');
    if (end < 0) {
        const bool hung = m_process->state() == QProcess::Running;
        const QString err = QString::fromUtf8(m_process->readAllStandardError()).trimmed();
        stop();
        QFile::remove(path);
        return failedRun(hung ? QStringLiteral("tkprobe.py gave no answer within %1 s").arg(SingleProgramTimeoutMs / 1000)
                              : QStringLiteral("tkprobe.py ended: %1")
                                    .arg(err.isEmpty() ? QStringLiteral("without a message") : err.right(600)));
    }
    const QByteArray line = m_received.left(end);
    m_received.remove(0, end + 1);
    QFile::remove(path);
    m_process->readAllStandardError(); // what the programs printed; nobody reads it

    const QJsonObject object = QJsonDocument::fromJson(line).object();
    if (object.value(u"file").toString() != name)
        return failedRun(QStringLiteral("tkprobe.py answered for another program: %1")
                             .arg(QString::fromUtf8(line.left(300))));
    TkRun run;
    run.ok = object.value(u"ok").toBool();
    if (run.ok)
        run.info = windowFromJson(object.value(u"window").toObject());
    else
        run.error = object.value(u"error").toString();
    return run;
}

QString compilesInPython(const QString &programText)
{
    QTemporaryDir directory;
    const QString path = directory.filePath(QStringLiteral("program.py"));
    if (!directory.isValid() || !writeBytes(path, programText.toUtf8()))
        return QStringLiteral("cannot write the program to %1").arg(path);
    static const QString script = QStringLiteral(R"(import sys
path = sys.argv[1]
try:
    compile(open(path, 'rb').read(), path, 'exec', dont_inherit=True)
except SyntaxError as e:
    sys.stderr.write(f'{type(e).__name__} at line {e.lineno}, column {e.offset}: {e.msg}')
    sys.exit(2)
except ValueError as e:
    sys.stderr.write(f'{type(e).__name__}: {e}')
    sys.exit(2)
)");
    const ProcessResult result = runPython({QStringLiteral("-c"), script, path}, {}, PythonCheckTimeoutMs);
    if (!result.ran)
        return result.failure;
    if (result.exitCode != 0)
        return result.err.isEmpty() ? QStringLiteral("python exited with code %1").arg(result.exitCode) : result.err;
    return {};
}

QString evaluatePythonLiteral(const QString &literal, QString *error)
{
    // The literal goes in as the bytes of a source file would, so CR LF inside a triple-quoted
    // literal reads as LF, as it would in a program. The value comes back as hex UTF-16 with
    // surrogates passed through: no encoding on the way can lose a lone surrogate or a CR.
    static const QString script = QStringLiteral(R"(import ast, sys
data = sys.stdin.buffer.read().strip(b' \t\r\n\f')
try:
    value = ast.literal_eval(ast.parse(data, '<literal>', mode='eval'))
except (SyntaxError, ValueError) as e:
    sys.stderr.write(f'{type(e).__name__}: {e}')
    sys.exit(2)
if not isinstance(value, str):
    sys.stderr.write(f'the literal is a {type(value).__name__}, not a str')
    sys.exit(2)
sys.stdout.write(value.encode('utf-16-le', 'surrogatepass').hex())
)");
    const ProcessResult result = runPython({QStringLiteral("-c"), script}, literal.toUtf8(), PythonCheckTimeoutMs);
    const QString failure = !result.ran ? result.failure
                            : result.exitCode != 0 ? (result.err.isEmpty() ? QStringLiteral("python exited with code %1").arg(result.exitCode) : result.err)
                                                   : QString();
    if (!failure.isEmpty()) {
        if (error)
            *error = failure;
        return {};
    }
    const QByteArray units = QByteArray::fromHex(result.out.trimmed());
    QString text = QStringLiteral(""); // empty, not null: '' is a valid literal
    text.reserve(units.size() / 2);
    for (qsizetype i = 0; i + 1 < units.size(); i += 2)
        text.append(QChar(qFromLittleEndian<char16_t>(units.constData() + i)));
    if (error)
        error->clear();
    return text;
}

} // namespace tktest
