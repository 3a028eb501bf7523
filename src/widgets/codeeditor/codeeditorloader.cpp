#include "widgets/codeeditor/codeeditorloader.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace widgets {

namespace {

constexpr char CodeEditorDirVariable[] = "KESTRIGAN_CODE_EDITOR_DIR";

// Where the library is loaded from; QLibrary adds the platform's prefix and suffix to the name. There
// is no second place to fall back on: where the installed library is missing or broken, one found
// elsewhere (a build tree under /tmp, say, which anyone may write to) would run in the designer.
QString libraryPath()
{
    const QString dir = qEnvironmentVariableIsEmpty(CodeEditorDirVariable)
        ? QCoreApplication::applicationDirPath() + QStringLiteral("/" KESTRIGAN_CODE_EDITOR_FROM_PROGRAM)
        : qEnvironmentVariable(CodeEditorDirVariable);
    return QDir::cleanPath(dir + u'/' + QLatin1String(CodeEditorLibrary));
}

QString load(CodeEditorModule &module)
{
    QLibrary library(libraryPath());
    // Never unloaded: editors made by it live until the program ends.
    if (!library.load())
        return library.errorString();
    module.make = reinterpret_cast<decltype(module.make)>(library.resolve(CodeEditorMake));
    module.send = reinterpret_cast<decltype(module.send)>(library.resolve(CodeEditorSend));
    module.sendText = reinterpret_cast<decltype(module.sendText)>(library.resolve(CodeEditorSendText));
    module.setPaper = reinterpret_cast<decltype(module.setPaper)>(library.resolve(CodeEditorSetPaper));
    if (module.make && module.send && module.sendText && module.setPaper)
        return {};
    return library.fileName() + QStringLiteral(": ") + library.errorString();
}

} // namespace

const CodeEditorModule *codeEditorModule(QString &error)
{
    static CodeEditorModule module{};
    static const QString failure = load(module);
    error = failure;
    return failure.isEmpty() ? &module : nullptr;
}

} // namespace widgets
