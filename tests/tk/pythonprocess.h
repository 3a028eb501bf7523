#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Running Debian's python3 for the Tk helpers: the child ends with the test that started it.
namespace tktest {

// Runs in the child before exec: a test killed by its timeout must not leave Xvfb or Python behind.
void dieWithParent();

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
                        const QString &display = {});

bool writeBytes(const QString &path, const QByteArray &bytes);

} // namespace tktest
