#include "pythonprocess.h"
#include "tkprobe.h"

#include <QTemporaryDir>
#include <QtEndian>

namespace tktest {

namespace {

constexpr int PythonCheckTimeoutMs = 10000;

} // namespace

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
