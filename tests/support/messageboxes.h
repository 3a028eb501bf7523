#pragma once

// For tests of paths that end the process: the test runs its own executable again in a mode that
// walks into the path, and the child reports each message box it meets on standard output.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>

#include <cstdio>

namespace testsupport {

// Every 20 ms: each visible message box is reported as one line "text|caption|icon|buttons" (the text
// as hex UTF-8, so line breaks survive) and dismissed with its OK button.
inline void reportAndDismissMessageBoxes(QTimer &watcher)
{
    QObject::connect(&watcher, &QTimer::timeout, [] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *box = qobject_cast<QMessageBox *>(widget);
            if (!box || !box->isVisible())
                continue;
            std::printf("%s|%s|%s|%d\n", box->text().toUtf8().toHex().constData(),
                        box->windowTitle().toUtf8().constData(),
                        box->icon() == QMessageBox::Critical ? "error" : "other", int(box->buttons().size()));
            std::fflush(stdout);
            if (QAbstractButton *ok = box->button(QMessageBox::Ok))
                ok->click();
        }
    });
    watcher.start(20);
}

struct ChildRun
{
    bool finished = false;
    QProcess::ExitStatus status = QProcess::CrashExit;
    int exitCode = -1;
    QList<QByteArray> lines;   // standard output, line by line
};

// Runs this test executable again with the variable set, and waits for it to end.
inline ChildRun runSelfWith(const char *variable)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(variable), QStringLiteral("1"));
    process.setProcessEnvironment(environment);
    process.start(QCoreApplication::applicationFilePath(), {});
    ChildRun run;
    run.finished = process.waitForFinished(30000);
    if (!run.finished)
        process.kill();
    run.status = process.exitStatus();
    run.exitCode = process.exitCode();
    run.lines = process.readAllStandardOutput().split('\n');
    return run;
}

// The text of a reported message box line.
inline QString reportedText(const QByteArray &line)
{
    return QString::fromUtf8(QByteArray::fromHex(line.split('|').value(0)));
}

} // namespace testsupport
