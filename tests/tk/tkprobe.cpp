#include "tkprobe.h"

#include "pythonprocess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace tktest {

namespace {

constexpr int SingleProgramTimeoutMs = 20000;
// Handed to tkprobe.py: a program that runs longer than this is reported, and the next one runs.
constexpr int ProgramTimeoutSeconds = 10;

QString tkprobeScript()
{
    return QStringLiteral(KESTRIGAN_TKPROBE);
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

} // namespace tktest
