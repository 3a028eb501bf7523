#include "widgets/controls/codeeditorloader.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace widgets {

namespace {

// Where the library is looked for; QLibrary adds the platform's prefix and suffix to the name.
QStringList candidatePaths()
{
    const QString name = QLatin1String(CodeEditorLibrary);
    const QString programDir = QCoreApplication::applicationDirPath();
    QStringList paths;
    for (const QString &dir : {programDir, programDir + QStringLiteral("/" KESTRIGAN_CODE_EDITOR_FROM_PROGRAM),
                               QStringLiteral(KESTRIGAN_CODE_EDITOR_BUILT)})
        paths.append(QDir::cleanPath(dir + u'/' + name));
    paths.removeDuplicates();
    return paths;
}

QString load(CodeEditorModule &module)
{
    QStringList failures;
    for (const QString &path : candidatePaths()) {
        QLibrary library(path);
        // Never unloaded: editors made by it live until the program ends.
        if (!library.load()) {
            failures.append(library.errorString());
            continue;
        }
        module.make = reinterpret_cast<decltype(module.make)>(library.resolve(CodeEditorMake));
        module.send = reinterpret_cast<decltype(module.send)>(library.resolve(CodeEditorSend));
        module.sendText = reinterpret_cast<decltype(module.sendText)>(library.resolve(CodeEditorSendText));
        module.setPaper = reinterpret_cast<decltype(module.setPaper)>(library.resolve(CodeEditorSetPaper));
        if (module.make && module.send && module.sendText && module.setPaper)
            return {};
        failures.append(library.fileName() + QStringLiteral(": ") + library.errorString());
    }
    return failures.join(u'\n');
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
