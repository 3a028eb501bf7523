#include "pythonprocess.h"

#include "tkprobe.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <csignal>
#include <sys/prctl.h>

namespace tktest {

void dieWithParent()
{
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
}

QString pythonExecutable()
{
    // Not the python3 on PATH: that may be a build without tkinter.
    return QStringLiteral("/usr/bin/python3");
}

ProcessResult runPython(const QStringList &arguments, const QByteArray &input, int timeoutMs,
                        const QString &display)
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

} // namespace tktest
