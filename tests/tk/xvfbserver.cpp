#include "pythonprocess.h"
#include "tkprobe.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace tktest {

namespace {

constexpr int FirstDisplay = 91;

} // namespace

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

} // namespace tktest
